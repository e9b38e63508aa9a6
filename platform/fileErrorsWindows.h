// What the Windows files of the core share: wide file names from UTF-8 paths, and errno values
// for the system's error codes.
#pragma once

#include <windows.h>

#include <string>

std::wstring widePath(const std::string& utf8Path);

// The errno value of a Windows error code, as the texts of file errors know them (EIO for any
// other).
int errorNumber(DWORD code);
