#include "data/clause.h"

#include <cmath>
#include <limits>

namespace {

// Truncation toward zero that stays defined for reals beyond the 64-bit range.
int64_t truncated(double r)
{
    constexpr double limit = 9223372036854775808.0;  // 2^63
    if (std::isnan(r))
        return 0;
    if (r >= limit)
        return std::numeric_limits<int64_t>::max();
    if (r < -limit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

}  // namespace

const ClauseValue* Clause::find(std::string_view name) const
{
    for (const ClauseAttribute& attribute : attributes)
        if (attribute.name == name)
            return &attribute.value;
    return nullptr;
}

std::optional<int64_t> Clause::integer(std::string_view name) const
{
    const ClauseValue* value = find(name);
    if (value && value->kind == ClauseValue::Kind::integer)
        return value->integer;
    if (value && value->kind == ClauseValue::Kind::real)
        return truncated(value->real);
    return std::nullopt;
}

std::optional<double> Clause::real(std::string_view name) const
{
    const ClauseValue* value = find(name);
    if (value && value->kind == ClauseValue::Kind::real)
        return value->real;
    if (value && value->kind == ClauseValue::Kind::integer)
        return static_cast<double>(value->integer);
    return std::nullopt;
}

std::optional<std::string_view> Clause::text(std::string_view name) const
{
    const ClauseValue* value = find(name);
    if (value && (value->kind == ClauseValue::Kind::string || value->kind == ClauseValue::Kind::word))
        return value->text;
    return std::nullopt;
}

void Clause::addInteger(std::string name, int64_t value)
{
    ClauseValue v;
    v.kind = ClauseValue::Kind::integer;
    v.integer = value;
    attributes.push_back({std::move(name), std::move(v)});
}

void Clause::addReal(std::string name, double value)
{
    ClauseValue v;
    v.kind = ClauseValue::Kind::real;
    v.real = value;
    attributes.push_back({std::move(name), std::move(v)});
}

void Clause::addString(std::string name, std::string value)
{
    ClauseValue v;
    v.kind = ClauseValue::Kind::string;
    v.text = std::move(value);
    attributes.push_back({std::move(name), std::move(v)});
}
