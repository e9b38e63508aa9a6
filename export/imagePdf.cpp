#include "export/imagePdf.h"

#include <cstdio>
#include <limits>

#include <zlib.h>

namespace {

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The objects of the file, numbered from 1 in the order they are added, with their offsets.
class objectWriter {
public:
    explicit objectWriter(std::string& out) : out(out) {}
    void add(int number, const std::string& body)
    {
        if (offsets.size() < static_cast<std::size_t>(number))
            offsets.resize(static_cast<std::size_t>(number));
        offsets[static_cast<std::size_t>(number) - 1] = out.size();
        out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    void finish()
    {
        const std::size_t xref = out.size();
        out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
        for (const std::size_t offset : offsets) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            out += entry;
        }
        out += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
               std::to_string(xref) + "\n%%EOF\n";
    }

private:
    std::string& out;
    std::vector<std::size_t> offsets;
};

std::string stream(const std::string& dictionary, const std::string& data)
{
    return "<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
           "\nendstream";
}

}  // namespace

bool imagePdf::addPage(double widthPt, double heightPt, int width, int height, const unsigned char* rgb,
                       std::size_t size)
{
    if (width <= 0 || height <= 0 || !(widthPt > 0) || !(heightPt > 0) ||
        size / 3 / static_cast<std::size_t>(width) < static_cast<std::size_t>(height))
        return false;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    if (bytes > std::numeric_limits<uLong>::max())   // zlib's count of bytes (32 bits on Windows)
        return false;
    const uLong raw = static_cast<uLong>(bytes);
    std::string compressed(compressBound(raw), '\0');
    uLongf length = static_cast<uLongf>(compressed.size());
    if (compress2(reinterpret_cast<Bytef*>(&compressed[0]), &length, rgb, raw, Z_DEFAULT_COMPRESSION) != Z_OK)
        return false;
    compressed.resize(length);
    pages.push_back({widthPt, heightPt, width, height, std::move(compressed)});
    return true;
}

std::string imagePdf::bytes() const
{
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    objectWriter objects(out);
    // 1 the catalog, 2 the page tree, then three objects a page: the page, its contents, its image.
    const auto pageObject = [](std::size_t index) { return static_cast<int>(3 + 3 * index); };
    objects.add(1, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i)
        kids += (i ? " " : "") + std::to_string(pageObject(i)) + " 0 R";
    objects.add(2, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const page& p = pages[i];
        const int object = pageObject(i);
        const std::string w = number(p.widthPt), h = number(p.heightPt);
        objects.add(object, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h +
                                "] /Resources << /XObject << /Page " + std::to_string(object + 2) +
                                " 0 R >> >> /Contents " + std::to_string(object + 1) + " 0 R >>");
        objects.add(object + 1, stream("", "q " + w + " 0 0 " + h + " 0 0 cm /Page Do Q"));
        objects.add(object + 2, stream("/Type /XObject /Subtype /Image /Width " + std::to_string(p.width) +
                                           " /Height " + std::to_string(p.height) +
                                           " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode",
                                       p.compressed));
    }
    objects.finish();
    return out;
}
