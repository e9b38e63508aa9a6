#include "platform/console.h"

std::vector<std::string> programArguments(int argc, char** argv) { return {argv, argv + argc}; }

void writeText(std::FILE* stream, const std::string& utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}
