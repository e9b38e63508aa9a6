#include "tests/gui/freshSettings.h"

#include <windows.h>

namespace {

// Where the toolkit keeps the program's configuration on Windows (vendor and application name).
void removeProgramKey() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quendrix\\Brennix"); }

}  // namespace

void useFreshSettings() { removeProgramKey(); }

void removeFreshSettings() { removeProgramKey(); }
