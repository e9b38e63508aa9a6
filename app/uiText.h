// Texts at the edge between the program and the toolkit.
#pragma once

#include <string>

#include <wx/string.h>

// The program's own texts are UTF-8 literals in the source.
inline wxString ui(const char* utf8) { return wxString::FromUTF8(utf8); }

// Crane texts are raw Windows-1251 bytes in the model.
wxString craneText(const std::string& cp1251Bytes);

// A message's bytes: the program's own texts are UTF-8, a device's or a file's text inside it may
// be Windows-1251. Well-formed UTF-8 sequences are taken as such, every other byte as Windows-1251.
wxString readableText(const std::string& bytes);

// A path the user chose, as the core's file functions take it: in the file names' encoding on
// POSIX systems, UTF-8 on Windows (the core makes wide names of it there).
std::string fileSystemPath(const wxString& path);
