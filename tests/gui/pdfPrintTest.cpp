// The PDF page the printout tests rely on: true page size, real Cyrillic text, one page a call.
#include <gtest/gtest.h>

#include <cstdio>

#include <wx/image.h>
#include <wx/print.h>

#include "tests/gui/pdfPrint.h"

namespace {

class twoPagePrintout : public wxPrintout {
public:
    twoPagePrintout() : wxPrintout("test") {}
    void GetPageInfo(int* minPage, int* maxPage, int* from, int* to) override
    {
        *minPage = *from = 1;
        *maxPage = *to = 2;
    }
    bool HasPage(int page) override { return page == 1 || page == 2; }
    bool OnPrintPage(int page) override
    {
        GetDC()->GetSize(&width, &height);
        GetDC()->SetFont(wxFontInfo(12));
        GetDC()->DrawText(wxString::FromUTF8("Страница ") << page, 72, 72);
        GetDC()->SetBrush(*wxBLACK_BRUSH);
        GetDC()->DrawRectangle(0, height / 2, width, height / 2);
        return true;
    }
    int width = 0, height = 0;
};

TEST(pdfPrint, PrintsEveryPageWithItsTextOnPaperOfTheGivenSize)
{
    const std::string pdf = testing::TempDir() + "pdfPrint.pdf";
    const std::string png = testing::TempDir() + "pdfPrint.png";
    twoPagePrintout printout;
    ASSERT_EQ(printToPdf(printout, pdf, wxSize(297, 210)), 2);
    EXPECT_EQ(printout.width, 842);
    EXPECT_EQ(printout.height, 595);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("Страница 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Страница 2"), std::string::npos) << text;

    ASSERT_TRUE(pdfPageToPng(pdf, 2, png, 72));
    wxImage page(wxString::FromUTF8(png.c_str()), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(page.IsOk());
    EXPECT_EQ(page.GetWidth(), 842);
    EXPECT_EQ(page.GetRed(10, 10), 255) << "the top half stays white";
    EXPECT_EQ(page.GetRed(10, 590), 0) << "the bottom half is black";
    std::remove(pdf.c_str());
    std::remove(png.c_str());
}

}  // namespace
