#include "export/imagePdf.h"

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

std::vector<unsigned char> picture(int width, int height, unsigned char shade)
{
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3, shade);
    rgb[0] = 255;   // a red first pixel, so that the rows' order shows
    rgb[1] = rgb[2] = 0;
    return rgb;
}

// The text of object n, from the offset the cross-reference table gives it.
std::string objectAt(const std::string& pdf, int n)
{
    const std::size_t xref = std::stoul(pdf.substr(pdf.rfind("startxref\n") + 10));
    EXPECT_EQ(pdf.compare(xref, 5, "xref\n"), 0) << "startxref points at the table";
    const std::size_t entry = pdf.find('\n', pdf.find('\n', xref + 5) + 1) + 1 + 20 * static_cast<std::size_t>(n - 1);
    const std::size_t offset = std::stoul(pdf.substr(entry, 10));
    const std::string header = std::to_string(n) + " 0 obj\n";
    EXPECT_EQ(pdf.compare(offset, header.size(), header), 0) << "object " << n << " at its offset";
    return pdf.substr(offset, pdf.find("endobj", offset) - offset);
}

std::string streamOf(const std::string& object)
{
    const std::size_t start = object.find("stream\n") + 7;
    const std::size_t length = std::stoul(object.substr(object.find("/Length ") + 8));
    return object.substr(start, length);
}

// Two pages of their own sizes: every object where the table says, the page tree in order, and
// each picture's pixels as given, filling its page.
TEST(imagePdf, PagesOfPicturesWithAWellFormedTable)
{
    imagePdf pdf;
    const std::vector<unsigned char> portrait = picture(4, 6, 200), landscape = picture(6, 4, 30);
    ASSERT_TRUE(pdf.addPage(595.28, 841.89, 4, 6, portrait.data(), portrait.size()));
    ASSERT_TRUE(pdf.addPage(841.89, 595.28, 6, 4, landscape.data(), landscape.size()));
    const std::string file = pdf.bytes();

    EXPECT_EQ(file.compare(0, 9, "%PDF-1.4\n"), 0);
    EXPECT_EQ(file.substr(file.size() - 6), "%%EOF\n");
    EXPECT_NE(file.find("trailer\n<< /Size 9 /Root 1 0 R >>"), std::string::npos);
    EXPECT_NE(objectAt(file, 1).find("/Type /Catalog /Pages 2 0 R"), std::string::npos);
    EXPECT_NE(objectAt(file, 2).find("/Kids [3 0 R 6 0 R] /Count 2"), std::string::npos);

    EXPECT_NE(objectAt(file, 3).find("/MediaBox [0 0 595.28 841.89]"), std::string::npos);
    EXPECT_NE(objectAt(file, 6).find("/MediaBox [0 0 841.89 595.28]"), std::string::npos);
    EXPECT_EQ(streamOf(objectAt(file, 7)), "q 841.89 0 0 595.28 0 0 cm /Page Do Q");
    for (const auto& [object, pixels, size] : {std::tuple{5, &portrait, "/Width 4 /Height 6"},
                                              std::tuple{8, &landscape, "/Width 6 /Height 4"}}) {
        const std::string image = objectAt(file, object);
        EXPECT_NE(image.find(size), std::string::npos);
        const std::string compressed = streamOf(image);
        std::vector<unsigned char> raw(pixels->size() + 1);
        uLongf length = static_cast<uLongf>(raw.size());
        ASSERT_EQ(uncompress(raw.data(), &length, reinterpret_cast<const Bytef*>(compressed.data()),
                             static_cast<uLong>(compressed.size())), Z_OK);
        raw.resize(length);
        EXPECT_EQ(raw, *pixels);
    }
}

TEST(imagePdf, PicturesSmallerThanTheirSizeOrWithoutAreaAreRefused)
{
    imagePdf pdf;
    const std::vector<unsigned char> pixels = picture(4, 4, 0);
    EXPECT_FALSE(pdf.addPage(100, 100, 4, 5, pixels.data(), pixels.size())) << "a row short";
    EXPECT_FALSE(pdf.addPage(100, 100, 0, 4, pixels.data(), pixels.size()));
    EXPECT_FALSE(pdf.addPage(100, 100, -4, -4, pixels.data(), pixels.size()));
    EXPECT_FALSE(pdf.addPage(0, 100, 4, 4, pixels.data(), pixels.size()));
    EXPECT_FALSE(pdf.addPage(100, 100, 1 << 20, 1 << 20, pixels.data(), pixels.size())) << "no overflow";
    EXPECT_EQ(pdf.pageCount(), 0u);
    EXPECT_TRUE(pdf.addPage(100, 100, 4, 4, pixels.data(), pixels.size()));
    EXPECT_EQ(pdf.pageCount(), 1u);
}

}  // namespace
