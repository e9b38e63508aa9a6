#include "data/clauseReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

enum class Token {
    end, word, exponent, string, integer, open, close, openList, closeList, comma, equals, period,
    invalid
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits the text into tokens. A word is [A-Za-z_][A-Za-z0-9_]* or anything between single
// quotes (with \' and \\ for ' and \); a lone bare `e` is the exponent mark between numbers.
// An integer is an optional sign and digits, kept as text. A string is in double quotes, where
// \" and \\ stand for " and \ and any other \ stands for itself.
// In a file whose lines end in CR LF, a CR LF inside a quoted word or a string is a line feed, as
// the files' Windows writer meant it; a file with LF line ends keeps every byte of its texts.
class Lexer {
public:
    explicit Lexer(std::string_view text) : input(text), crlfLines(endsLinesWithCrLf(text)) { advance(); }

    Token kind() const { return token; }
    const std::string& text() const { return tokenText; }
    // The token's text handed over, for the long ones: advance() starts the next one afresh.
    std::string takeText() { return std::move(tokenText); }
    std::size_t begin() const { return tokenBegin; }
    std::size_t previousEnd() const { return lastEnd; }
    std::string_view source(std::size_t from, std::size_t to) const { return input.substr(from, to - from); }

    void advance()
    {
        lastEnd = pos;
        tokenText.clear();
        if (!skipBlanksAndComments()) {
            token = Token::invalid;
            return;
        }
        tokenBegin = pos;
        token = scan();
    }

private:
    // Judged by the file's first line end.
    static bool endsLinesWithCrLf(std::string_view text)
    {
        const std::size_t lineFeed = text.find('\n');
        return lineFeed != std::string_view::npos && lineFeed > 0 && text[lineFeed - 1] == '\r';
    }

    // At a CR LF of a CR LF file: the CR is passed over, so that the LF alone is taken.
    bool atStoredLineBreak() const
    {
        return crlfLines && input[pos] == '\r' && pos + 1 < input.size() && input[pos + 1] == '\n';
    }

    bool skipBlanksAndComments()
    {
        while (pos < input.size()) {
            const char c = input[pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++pos;
            } else if (input.compare(pos, 2, "/*") == 0) {
                const std::size_t close = input.find("*/", pos + 2);
                if (close == std::string_view::npos)
                    return false;
                pos = close + 2;
            } else {
                break;
            }
        }
        return true;
    }

    Token scan()
    {
        if (pos == input.size())
            return Token::end;
        const char c = input[pos];
        if (isLetter(c)) {
            while (pos < input.size() && (isLetter(input[pos]) || isDigit(input[pos])))
                tokenText += input[pos++];
            return tokenText == "e" ? Token::exponent : Token::word;
        }
        if (isDigit(c) || ((c == '+' || c == '-') && pos + 1 < input.size() && isDigit(input[pos + 1]))) {
            tokenText += input[pos++];
            while (pos < input.size() && isDigit(input[pos]))
                tokenText += input[pos++];
            return Token::integer;
        }
        ++pos;
        switch (c) {
        case '\'': return quotedWord();
        case '"': return quotedString();
        case '(': return Token::open;
        case ')': return Token::close;
        case '[': return Token::openList;
        case ']': return Token::closeList;
        case ',': return Token::comma;
        case '=': return Token::equals;
        case '.': return Token::period;
        default: return Token::invalid;
        }
    }

    Token quotedWord()
    {
        while (pos < input.size()) {
            if (atStoredLineBreak())
                ++pos;
            const char c = input[pos++];
            if (c == '\'')
                return Token::word;
            if (c == '\\') {
                if (pos == input.size() || (input[pos] != '\'' && input[pos] != '\\'))
                    return Token::invalid;
                tokenText += input[pos++];
            } else {
                tokenText += c;
            }
        }
        return Token::invalid;
    }

    // The bytes between escapes and CRs are taken over in one piece: a graph's points are kilobytes
    // long.
    Token quotedString()
    {
        while (pos < input.size()) {
            std::size_t special = pos;
            while (special < input.size() && input[special] != '"' && input[special] != '\\' &&
                   input[special] != '\r')
                ++special;
            tokenText.append(input, pos, special - pos);
            pos = special;
            if (pos == input.size())
                break;
            if (atStoredLineBreak())
                ++pos;
            const char c = input[pos++];
            if (c == '"')
                return Token::string;
            if (c == '\\' && pos < input.size() && (input[pos] == '"' || input[pos] == '\\'))
                tokenText += input[pos++];
            else
                tokenText += c;
        }
        return Token::invalid;
    }

    std::string_view input;
    const bool crlfLines;
    std::size_t pos = 0;
    std::size_t tokenBegin = 0;
    std::size_t lastEnd = 0;
    Token token = Token::end;
    std::string tokenText;
};

std::string_view withoutSign(std::string_view digits)
{
    return (digits[0] == '+' || digits[0] == '-') ? digits.substr(1) : digits;
}

// The integer's value modulo 2^64: the fields keep only their low bits anyway.
int64_t wrappedInteger(std::string_view text)
{
    uint64_t value = 0;
    for (const char c : withoutSign(text))
        value = value * 10 + static_cast<uint64_t>(c - '0');
    return static_cast<int64_t>(text[0] == '-' ? 0 - value : value);
}

// Decimal power of ten of the number's leading digit, the exponent saturated far beyond the
// range of double.
long long decimalMagnitude(std::string_view whole, std::string_view fraction, std::string_view exponent)
{
    long long power = 0;
    for (const char c : withoutSign(exponent))
        power = std::min(power * 10 + (c - '0'), 1000000000LL);
    if (!exponent.empty() && exponent[0] == '-')
        power = -power;
    const std::string digits = std::string(whole) + std::string(fraction);
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    return static_cast<long long>(whole.size()) - static_cast<long long>(firstNonZero) + power;
}

// The real `whole.fraction` times ten to `exponent`, correctly rounded; numbers beyond the
// range of double become infinity or zero with their sign.
double realNumber(std::string_view whole, std::string_view fraction, std::string_view exponent)
{
    const bool negative = whole[0] == '-';
    whole = withoutSign(whole);
    std::string text = negative ? "-" : "";
    text.append(whole).append(".").append(fraction);
    if (!exponent.empty())
        text.append("e").append(exponent);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = decimalMagnitude(whole, fraction, exponent) > 0 ? HUGE_VAL : 0.0;
        return negative ? -value : value;
    }
    return value;
}

class Parser {
public:
    explicit Parser(std::string_view text) : lexer(text) {}

    bool file(const ClauseSink& take)
    {
        while (lexer.kind() != Token::end)
            if (!command(take))
                return false;
        return true;
    }

private:
    // Nesting of expressions inside values is bounded so that no input can exhaust the stack.
    static constexpr int maxDepth = 200;

    bool accept(Token t)
    {
        if (lexer.kind() != t)
            return false;
        lexer.advance();
        return true;
    }

    bool command(const ClauseSink& take)
    {
        if (lexer.kind() == Token::word) {
            Clause clause(lexer.text());
            lexer.advance();
            if (accept(Token::open) && !arguments(Token::close, &clause, 1))
                return false;
            if (!accept(Token::period))
                return false;
            take(std::move(clause));
            return true;
        }
        return accept(Token::openList) && arguments(Token::closeList, nullptr, 1) && accept(Token::period);
    }

    // The arguments after an opening bracket up to its closer; a trailing comma is allowed.
    // Named ones go into the clause, if any.
    bool arguments(Token closer, Clause* clause, int depth)
    {
        if (depth > maxDepth)
            return false;
        if (accept(closer))
            return true;
        for (;;) {
            ClauseValue first;
            if (!value(first, depth))
                return false;
            if (accept(Token::equals)) {
                ClauseValue attribute;
                if (first.kind != ClauseValue::Kind::word || !value(attribute, depth))
                    return false;
                if (clause)
                    clause->attributes.push_back({std::move(first.text), std::move(attribute)});
            }
            if (!accept(Token::comma))
                return accept(closer);
            if (accept(closer))
                return true;
        }
    }

    bool value(ClauseValue& v, int depth)
    {
        const std::size_t begin = lexer.begin();
        switch (lexer.kind()) {
        case Token::word:
            v.kind = ClauseValue::Kind::word;
            v.text = lexer.text();
            lexer.advance();
            if (accept(Token::open))
                return expression(v, Token::close, begin, depth);
            return true;
        case Token::openList:
            lexer.advance();
            return expression(v, Token::closeList, begin, depth);
        case Token::string:
            v.kind = ClauseValue::Kind::string;
            v.text = lexer.takeText();
            lexer.advance();
            return true;
        case Token::integer:
            return number(v);
        default:
            return false;
        }
    }

    bool expression(ClauseValue& v, Token closer, std::size_t begin, int depth)
    {
        if (!arguments(closer, nullptr, depth + 1))
            return false;
        v.kind = ClauseValue::Kind::expression;
        v.text = lexer.source(begin, lexer.previousEnd());
        return true;
    }

    // INT, INT.INT, INT e INT or INT.INT e INT; the digits after the point carry no sign.
    bool number(ClauseValue& v)
    {
        const std::string whole = lexer.text();
        std::string fraction;
        std::string exponent;
        lexer.advance();
        const bool pointed = accept(Token::period);
        if (pointed) {
            if (lexer.kind() != Token::integer || !isDigit(lexer.text()[0]))
                return false;
            fraction = lexer.text();
            lexer.advance();
        }
        const bool scaled = accept(Token::exponent);
        if (scaled) {
            if (lexer.kind() != Token::integer)
                return false;
            exponent = lexer.text();
            lexer.advance();
        }
        if (pointed || scaled) {
            v.kind = ClauseValue::Kind::real;
            v.real = realNumber(whole, fraction, exponent);
        } else {
            v.kind = ClauseValue::Kind::integer;
            v.integer = wrappedInteger(whole);
        }
        return true;
    }

    Lexer lexer;
};

}  // namespace

bool readClauses(std::string_view text, const ClauseSink& take) { return Parser(text).file(take); }

std::optional<std::vector<Clause>> readClauses(std::string_view text)
{
    std::vector<Clause> clauses;
    if (!readClauses(text, [&clauses](Clause&& clause) { clauses.push_back(std::move(clause)); }))
        return std::nullopt;
    return clauses;
}
