#include "data/clauseWriter.h"

#include <charconv>
#include <cmath>

namespace {

bool isLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Bare when the reader takes the word back unquoted as the same word: it starts with a
// lower-case letter or `_` (capitals are quoted as they always were), holds only ASCII letters,
// digits and `_`, and is not the exponent mark `e`.
bool isBareWord(std::string_view word)
{
    if (word.empty() || word == "e" || !((word[0] >= 'a' && word[0] <= 'z') || word[0] == '_'))
        return false;
    for (const char c : word)
        if (!isLetterOrDigit(c))
            return false;
    return true;
}

// The bytes between escapes go out in one piece: a graph's points are kilobytes long.
void appendEscaped(std::string& out, std::string_view text, char quote)
{
    out += quote;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t special = from;
        while (special < text.size() && text[special] != quote && text[special] != '\\')
            ++special;
        out.append(text, from, special - from);
        if (special < text.size()) {
            out += '\\';
            out += text[special];
        }
        from = special + 1;
    }
    out += quote;
}

void appendWord(std::string& out, std::string_view word)
{
    if (isBareWord(word))
        out += word;
    else
        appendEscaped(out, word, '\'');
}

void appendInteger(std::string& out, int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// printf's "%.9g" in the C locale: nine significant digits bring every 32-bit float back
// bit-exact. The forms printf has for the other values would not read back: infinities are
// written as a number beyond every range, which reads back as infinity; a negative zero keeps
// its sign as "-0.0"; not-a-number becomes the word nan, which reads as a missing value.
void appendReal(std::string& out, double value)
{
    if (std::isnan(value)) {
        out += "nan";
    } else if (std::isinf(value)) {
        out += value > 0 ? "1e+999" : "-1e+999";
    } else if (value == 0 && std::signbit(value)) {
        out += "-0.0";
    } else {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
        out.append(buffer, result.ptr);
    }
}

void appendValue(std::string& out, const ClauseValue& value)
{
    switch (value.kind) {
    case ClauseValue::Kind::integer: appendInteger(out, value.integer); break;
    case ClauseValue::Kind::real: appendReal(out, value.real); break;
    case ClauseValue::Kind::string: appendEscaped(out, value.text, '"'); break;
    case ClauseValue::Kind::word: appendWord(out, value.text); break;
    case ClauseValue::Kind::expression: out += value.text; break;
    }
}

}  // namespace

void appendClause(std::string& out, const Clause& clause)
{
    appendWord(out, clause.functor);
    out += '(';
    const char* separator = "";
    for (const ClauseAttribute& attribute : clause.attributes) {
        out += separator;
        separator = ",\n  ";
        appendWord(out, attribute.name);
        out += " = ";
        appendValue(out, attribute.value);
    }
    out += ").\n\n";
}
