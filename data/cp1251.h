// Windows-1251, the code page of every crane text and of the data file, to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

// Every byte has a meaning except 0x98, which becomes U+FFFD.
std::string cp1251ToUtf8(std::string_view bytes);

// False when the text is not valid UTF-8 or holds a character Windows-1251 cannot encode;
// out is then left empty.
bool utf8ToCp1251(std::string_view utf8, std::string& out);

// A crane text as the pages show it: one longer than any device holds (a data file may hold
// megabytes) is cut after shownTextLimit bytes and ends in "…", so that no page lays out more.
constexpr std::size_t shownTextLimit = 64;
std::string shownText(const std::string& cp1251);
