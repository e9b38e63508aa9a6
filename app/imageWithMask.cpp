#include "app/imageWithMask.h"

#include <string>

#include <wx/image.h>

#include "app/dataFiles.h"

wxBitmap loadPng(const char* path)
{
    return wxBitmap(wxString::FromUTF8(dataFile(path)), wxBITMAP_TYPE_PNG);
}

wxIconBundle programIcons()
{
    wxIconBundle icons;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const wxBitmap picture = loadPng(("bmps/brennix." + std::to_string(size) + ".png").c_str());
        if (picture.IsOk()) {
            wxIcon icon;
            icon.CopyFromBitmap(picture);
            icons.AddIcon(icon);
        }
    }
    return icons;
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
