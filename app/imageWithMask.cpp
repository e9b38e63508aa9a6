#include "app/imageWithMask.h"

#include <wx/image.h>

wxBitmap loadPng(const char* path)
{
    return wxBitmap(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

wxBitmap imageWithMask(const wxBitmap& bitmap)
{
    if (!bitmap.IsOk())
        return bitmap;
    wxImage image = bitmap.ConvertToImage();
    if (image.HasAlpha())
        image.ConvertAlphaToMask(128);
    return wxBitmap(image);
}
