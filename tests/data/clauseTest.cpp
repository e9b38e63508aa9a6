#include "data/clause.h"
#include "data/clauseReader.h"
#include "data/clauseWriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The clause of a text that must parse to exactly one clause.
Clause only(std::string_view text)
{
    const auto clauses = readClauses(text);
    EXPECT_TRUE(clauses) << text;
    EXPECT_EQ(clauses ? clauses->size() : 0u, 1u) << text;
    return clauses && !clauses->empty() ? clauses->front() : Clause();
}

std::string written(const Clause& clause)
{
    std::string out;
    appendClause(out, clause);
    return out;
}

double realOf(std::string_view valueText)
{
    return only("f(v = " + std::string(valueText) + ").").real("v").value_or(-12345);
}

TEST(clauseReader, NumberForms)
{
    const std::pair<std::string, double> reals[] = {
        {"+7", 7.0}, {"-12.7", -12.7}, {"3.000125", 3.000125}, {"1e+06", 1e6}, {"1e-05", 1e-5},
        {"-1.5 e 3", -1500.0}, {"1.40129846e-45", 1.40129846e-45}, {"1e+999", HUGE_VAL},
        {"-1.5e+999999999999999999", -HUGE_VAL}, {"1e-999", 0.0}, {"0." + std::string(400, '0') + "1", 0.0},
        {"0.0001e+400", HUGE_VAL}};
    for (const auto& [text, value] : reals)
        EXPECT_EQ(realOf(text), value) << text;
    EXPECT_EQ(only("f(v = 3000000000).").integer("v"), 3000000000);
}

TEST(clauseReader, LookupTakesTheFirstAttributeAndConvertsBetweenNumbers)
{
    const Clause clause = only("f(a = 1, a = 2, r = -2.7, big = 1e+30, s = \"\\\"\\\\\\n\\x\", w = abc, "
                               "n = g(x = 1, [2]), l = [], 5, \"bare\").");
    EXPECT_EQ(clause.integer("a"), 1);
    EXPECT_EQ(clause.real("a"), 1.0);
    EXPECT_EQ(clause.integer("r"), -2);  // cut toward zero
    EXPECT_EQ(clause.integer("big"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(clause.integer("s"), std::nullopt);  // a string is no number
    EXPECT_EQ(clause.text("s"), "\"\\\\n\\x");     // only \" and \\ are escapes
    EXPECT_EQ(clause.text("w"), "abc");
    EXPECT_EQ(clause.text("a"), std::nullopt);
    EXPECT_EQ(clause.real("n"), std::nullopt);     // nested expressions count as missing
    EXPECT_EQ(clause.text("l"), std::nullopt);
    EXPECT_EQ(clause.integer("missing"), std::nullopt);
    EXPECT_EQ(clause.attributes.size(), 8u);       // bare values have no name to be found by
}

TEST(clauseReader, AcceptedShapes)
{
    const auto clauses = readClauses("a. b(). c(x = 1,). [1, y = 2]. d(v = 'q\\'s\\\\',\t'' = [a(b)],)\r.");
    ASSERT_TRUE(clauses);
    ASSERT_EQ(clauses->size(), 4u);  // the list command is dropped
    EXPECT_EQ((*clauses)[2].integer("x"), 1);
    EXPECT_EQ((*clauses)[3].text("v"), "q's\\");
    EXPECT_TRUE(readClauses(""));
    EXPECT_TRUE(readClauses(" \r\n/**/\t"));
}

TEST(clauseReader, AnySyntaxErrorFailsTheWholeText)
{
    const std::string deep = "f(v = " + std::string(300, '[') + std::string(300, ']') + ").";
    for (const std::string& bad : std::vector<std::string>{"f(a = 1)", "f(a = 1).g", "f(a = \"open).", "f(a = 1)./* open", "'open(a = 1).", "f(a = 'x\\y').",
          "e.", "f(e = 1).", "f(a = ).", "f(,).", "f(a,,b).", "f(a = 1.x).", "f(a = 1.-5).", "f(a = 1e).",
          "f(\"s\" = 1).", "f(g(x) = 1).", "f(a = 1 2).", "f(a = b = c).", "f(a = 1]).", "f(a = - 1).", "5.",
          "f(a = 1e5).", "f(a = @).", "f(a = \xE0).", "ok(a = 1). f(x = 1) .. ", deep}) {
        EXPECT_FALSE(readClauses(bad)) << bad;
    }
}

TEST(clauseWriter, OldLayoutWithItsQuotingRules)
{
    Clause clause("\xCA\xF0\xE0\xED 1/2 08/03/2024 10:15:00");
    clause.addString("type", "RAM");
    clause.addString("regNo", "a\"b\\c\xFF\n");
    clause.addInteger("Ncycles", -1294967296);
    clause.addInteger("cycles#1", 0);
    clause.addReal("cubeSum", 0.5);
    clause.addReal("_x1", 1234567);
    EXPECT_EQ(written(clause), "'\xCA\xF0\xE0\xED 1/2 08/03/2024 10:15:00'(type = \"RAM\",\n"
                               "  regNo = \"a\\\"b\\\\c\xFF\n\",\n"
                               "  'Ncycles' = -1294967296,\n"
                               "  'cycles#1' = 0,\n"
                               "  cubeSum = 0.5,\n"
                               "  _x1 = 1234567).\n\n");
    // Words the reader would not take back bare are quoted: the exponent mark, a leading digit.
    EXPECT_EQ(written(Clause("e")), "'e'().\n\n");
    EXPECT_EQ(written(Clause("1abc")), "'1abc'().\n\n");
    EXPECT_EQ(written(Clause("")), "''().\n\n");
    EXPECT_EQ(written(Clause("it's \\")), "'it\\'s \\\\'().\n\n");
}

// printf's "%.9g", except for the values whose printf form would not read back.
TEST(clauseWriter, RealsComeBackBitExact)
{
    const std::pair<float, std::string> reals[] = {
        {1, "1"}, {0.1f, "0.100000001"}, {1e-5f, "9.99999975e-06"}, {123456.789f, "123456.789"}, {1e9f, "1e+09"},
        {std::numeric_limits<float>::max(), "3.40282347e+38"}, {-7e-40f, "-7.00000431e-40"}, {-0.0f, "-0.0"},
        {HUGE_VALF, "1e+999"}, {-HUGE_VALF, "-1e+999"}, {std::nanf(""), "nan"}};
    for (const auto& [value, text] : reals) {
        Clause clause("f");
        clause.addReal("v", value);
        ASSERT_EQ(written(clause), "f(v = " + text + ").\n\n");
        const float back = static_cast<float>(only(written(clause)).real("v").value_or(std::nanf("")));
        EXPECT_EQ(std::memcmp(&back, &value, sizeof back), 0) << text;  // nan: missing, the default applies
    }
}

TEST(clauseWriter, EveryWordAndStringReadsBackAsWritten)
{
    Clause clause("f");
    const std::vector<std::string> names = {"plain", "Capital", "e", "9", "", "it's \\ \"", "\xC0\xFF\r\n"};
    for (const std::string& name : names)
        clause.addString(name, name);
    clause.addInteger("i", std::numeric_limits<int64_t>::min());
    const Clause back = only(written(clause));
    for (const std::string& name : names)
        EXPECT_EQ(back.text(name), name);
    EXPECT_EQ(back.integer("i"), std::numeric_limits<int64_t>::min());
}

// The numbers of the file are the same under a locale whose decimal mark is a comma. The locale
// is generated by tools/install-deps.sh; without it there is nothing to check.
TEST(clauseSyntax, NumbersIgnoreTheNumericLocale)
{
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8"))
        GTEST_SKIP() << "locale ru_RU.UTF-8 is not installed";
    const bool comma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    Clause clause("f");
    clause.addReal("v", 12.5f);
    const std::string text = written(clause);
    const double back = only("f(v = 0.25e+01).").real("v").value_or(0);
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(comma);
    EXPECT_EQ(text, "f(v = 12.5).\n\n");
    EXPECT_EQ(back, 2.5);
}

}  // namespace
