// Clauses of the data file's syntax: `functor(name = value, ...).` with integer, real, string,
// word or nested-expression values. Words and strings hold raw bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ClauseValue {
    enum class Kind { integer, real, string, word, expression };
    Kind kind = Kind::integer;
    int64_t integer = 0;
    double real = 0;
    std::string text;   // a string's or word's bytes; an expression's source text
};

struct ClauseAttribute {
    std::string name;
    ClauseValue value;
};

class Clause {
public:
    Clause() = default;
    explicit Clause(std::string functor) : functor(std::move(functor)) {}

    // Lookups find the first attribute of that name. An integer and a real answer both numeric
    // requests (a real asked as an integer is cut toward zero); a string and a word answer a
    // text request. Any other kind counts as missing.
    std::optional<int64_t> integer(std::string_view name) const;
    std::optional<double> real(std::string_view name) const;
    std::optional<std::string_view> text(std::string_view name) const;

    void addInteger(std::string name, int64_t value);
    void addReal(std::string name, double value);
    void addString(std::string name, std::string value);

    std::string functor;
    std::vector<ClauseAttribute> attributes;

private:
    const ClauseValue* find(std::string_view name) const;
};
