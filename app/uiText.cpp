#include "app/uiText.h"

#include "data/cp1251.h"

wxString craneText(const std::string& cp1251Bytes)
{
    return wxString::FromUTF8(cp1251ToUtf8(cp1251Bytes));
}

wxString readableText(const std::string& bytes)
{
    const wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    if (!text.empty() || bytes.empty())
        return text;
    return craneText(bytes);
}
