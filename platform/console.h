// What the console programs exchange with their console: arguments and texts, in UTF-8.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

// The program's arguments in UTF-8, the program's name first: argv itself on POSIX; on Windows,
// whose argv is in the local code page, the arguments as the command line holds them.
std::vector<std::string> programArguments(int argc, char** argv);

// Writes the text to the stream: as UTF-8 bytes into a file, a pipe or a POSIX terminal, and
// as characters of its own on a Windows console, whatever its code page.
void writeText(std::FILE* stream, const std::string& utf8);

// Writes one line to the stream as writeText does: the prefix, then the printf format filled
// with the arguments (cut at 1023 bytes).
void writeLine(std::FILE* stream, const char* prefix, const char* format, va_list args);
