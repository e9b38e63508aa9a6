#include "view/numberText.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

std::string printfText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (n > 0) {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(n));
    }
    va_end(again);
    return text;
}

namespace {

// std::to_chars formats as printf does in the "C" locale.
std::string charsText(double value, std::chars_format format, int precision)
{
    char text[400];   // "%.3f" of the largest double needs 313 characters
    const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
    if (result.ec != std::errc())
        return std::string();
    return std::string(text, result.ptr);
}

}  // namespace

std::string fixedText(double value, int decimals)
{
    return charsText(value, std::chars_format::fixed, decimals);
}

std::string generalText(double value) { return charsText(value, std::chars_format::general, 6); }
