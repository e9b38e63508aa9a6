#include "app/uiText.h"

#include "data/cp1251.h"

namespace {

// Length of the well-formed UTF-8 sequence at the start of text, 0 when there is none.
std::size_t utf8SequenceLength(const unsigned char* text, std::size_t available)
{
    const unsigned char lead = text[0];
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;   // range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else
        return 0;
    if (available < length || text[1] < low || text[1] > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (text[i] < 0x80 || text[i] > 0xBF)
            return 0;
    return length;
}

}  // namespace

wxString craneText(const std::string& cp1251Bytes)
{
    return wxString::FromUTF8(cp1251ToUtf8(cp1251Bytes));
}

wxString readableText(const std::string& bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8SequenceLength(text + at, bytes.size() - at);
        if (length > 0) {
            utf8.append(bytes, at, length);
            at += length;
        } else {
            utf8 += cp1251ToUtf8(std::string_view(bytes.data() + at, 1));
            ++at;
        }
    }
    return wxString::FromUTF8(utf8);
}

std::string fileSystemPath(const wxString& path)
{
#ifdef __WXMSW__
    return path.utf8_string();
#else
    return std::string(path.fn_str());
#endif
}
