// A PDF file whose pages are pictures: each page one RGB image filling it, compressed with zlib.
// Where the toolkit can draw pages only onto a picture (Windows), this is how they become a PDF.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class imagePdf {
public:
    // Adds a page of widthPt × heightPt PDF points showing the picture: width × height pixels,
    // rows from the top, three bytes (red, green, blue) per pixel. False (and no page) when the
    // pixels are fewer than the size says or the page has no area.
    bool addPage(double widthPt, double heightPt, int width, int height, const unsigned char* rgb,
                 std::size_t size);
    std::size_t pageCount() const { return pages.size(); }
    // The whole file.
    std::string bytes() const;

private:
    struct page {
        double widthPt, heightPt;
        int width, height;
        std::string compressed;
    };
    std::vector<page> pages;
};
