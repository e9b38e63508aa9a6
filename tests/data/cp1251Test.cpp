#include "data/cp1251.h"

#include <gtest/gtest.h>

namespace {

TEST(cp1251, RussianTextBothWays)
{
    const std::string utf8 = "Рег. № Ёлка ёж – «Кран»";
    std::string bytes;
    ASSERT_TRUE(utf8ToCp1251(utf8, bytes));
    EXPECT_EQ(bytes, "\xD0\xE5\xE3. \xB9 \xA8\xEB\xEA\xE0 \xB8\xE6 \x96 \xAB\xCA\xF0\xE0\xED\xBB");
    EXPECT_EQ(cp1251ToUtf8(bytes), utf8);
}

TEST(cp1251, EveryDefinedByteRoundTrips)
{
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const std::string byte(1, static_cast<char>(b));
        std::string back;
        ASSERT_TRUE(utf8ToCp1251(cp1251ToUtf8(byte), back)) << b;
        EXPECT_EQ(back, byte) << b;
    }
    EXPECT_EQ(cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

TEST(cp1251, UnencodableOrMalformedTextIsRefused)
{
    std::string out = "old";
    EXPECT_FALSE(utf8ToCp1251("Kr\xC3\xA4n", out));  // a-umlaut has no Windows-1251 form
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(utf8ToCp1251("\xEF\xBF\xBD", out));  // U+FFFD is not 0x98
    EXPECT_FALSE(utf8ToCp1251("\xD0", out));          // cut sequence
    EXPECT_FALSE(utf8ToCp1251("\xC0\x80", out));      // overlong
    EXPECT_FALSE(utf8ToCp1251("\xF0\x9F\x98\x80", out));
}

}  // namespace
