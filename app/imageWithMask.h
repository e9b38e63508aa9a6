// Pictures of the user interface: PNG files under "bmps/" in the working directory.
#pragma once

#include <wx/bitmap.h>

// The picture at path (relative to the working directory); an empty bitmap when it is missing.
wxBitmap loadPng(const char* path);

// A new bitmap whose alpha channel has become a mask (opaque from alpha 128 up).
wxBitmap imageWithMask(const wxBitmap& bitmap);
