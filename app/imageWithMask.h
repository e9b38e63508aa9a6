// Pictures of the user interface: PNG files under "bmps/" in the run directory or the installed
// data folder (app/dataFiles.h).
#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

// The picture at path (relative to the run directory); an empty bitmap when it is missing.
wxBitmap loadPng(const char* path);

// The program's icon, the logo in the sizes desktops use ("bmps/brennix.<size>.png").
wxIconBundle programIcons();

// A new bitmap whose alpha channel has become a mask (opaque from alpha 128 up).
wxBitmap imageWithMask(const wxBitmap& bitmap);
