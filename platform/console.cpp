#include "platform/console.h"

void writeLine(std::FILE* stream, const char* prefix, const char* format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    writeText(stream, prefix + std::string(text) + "\n");
}
