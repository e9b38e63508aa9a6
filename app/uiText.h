// Texts at the edge between the program and the toolkit.
#pragma once

#include <string>

#include <wx/string.h>

// The program's own texts are UTF-8 literals in the source.
inline wxString ui(const char* utf8) { return wxString::FromUTF8(utf8); }

// Crane texts are raw Windows-1251 bytes in the model.
wxString craneText(const std::string& cp1251Bytes);

// Bytes of unknown origin (a device's or a file's text inside a message): UTF-8 when they are
// valid UTF-8, else Windows-1251.
wxString readableText(const std::string& bytes);
