#include <cstdio>
#include <memory>

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/image.h>
#include <wx/html/htmlwin.h>
#include <wx/notebook.h>
#include <wx/prntbase.h>

#include "app/MainFrame.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "tests/gui/guiSupport.h"
#include "tests/gui/pdfPrint.h"
#include "tests/support/timeZone.h"
#include "view/ReportWindow.h"
#include "view/protocolText.h"

namespace {

devLink* craneWithPassport(const std::string& name, const std::string& regNo)
{
    devLink* crane = makeCrane(name, {makeGraph(1706756000, {{0, 0x81}, {1, 0x01}, {1801, 0x00}, {1802, 0x82}})});
    crane->regNo = regNo;
    crane->serNo = "\xC7-5";   // Windows-1251 "З"
    crane->timeStamp = 1706756645;
    crane->regiSince = 1706756645 - 31536000;
    crane->workMaxSeconds = 10 * 31536000;
    crane->workMaxYears = 10;
    crane->workMaxGrp = 5;
    crane->maxWeight = 12.7f;
    crane->cyclesTotal = 1000;
    crane->cubeSum = 300;
    return crane;
}

class ReportPage : public FrameTest {
protected:
    void SetUp() override { holdCranes({craneWithPassport("first", "123"), craneWithPassport("second", "456")}); }

    wxHtmlWindow* view() const { return wxDynamicCast(page->FindWindow("htmlWindow"), wxHtmlWindow); }

    ScopedTimeZone zone{"Europe/Moscow"};
    ReportWindow* page = frame->reportPage;
};

TEST_F(ReportPage, ShowsTheProtocolOfTheSelectedCrane)
{
    EXPECT_EQ(page->protocolHtml(), wxString::FromUTF8(protocolText(*firstCrane(frame->cranes))));
    ASSERT_NE(view(), nullptr);
    const wxString shown = view()->ToText();
    EXPECT_NE(shown.Find(ui("Протокол условий эксплуатации крана")), wxNOT_FOUND);
    EXPECT_NE(shown.Find(ui("З-5")), wxNOT_FOUND) << "crane texts are Windows-1251";
    EXPECT_NE(page->protocolHtml().Find(ui("ЧВ:     1 ПВ: 1800 с ( 50%)")), wxNOT_FOUND);
    EXPECT_EQ(view()->GetOpenedPageTitle(), ui("Протокол условий эксплуатации крана"));

    command(frame, ID_NEXT_CRANE);
    EXPECT_NE(page->protocolHtml().Find("<B>456</B>"), wxNOT_FOUND);
    EXPECT_NE(view()->ToText().Find("456"), wxNOT_FOUND);
}

TEST_F(ReportPage, WithoutASelectionTheProtocolStays)
{
    const wxString shown = page->protocolHtml();
    frame->craneSelector->SetSelection(wxNOT_FOUND);
    page->MakeReport();
    EXPECT_EQ(page->protocolHtml(), shown);
    EXPECT_NE(view()->ToText().Find("123"), wxNOT_FOUND);
}

// The preview opens beside the main window, titled after the printing's name, and the
// protocol takes one page.
TEST_F(ReportPage, PreviewShowsTheProtocolOnOnePage)
{
    wxPreviewFrame* preview = openPreview(frame);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->GetTitle().StartsWith(ui("Отчет")));
    EXPECT_EQ(preview->GetControlBar()->GetPrintPreview()->GetMaxPage(), 1);
    preview->Close(true);
    settle();
}

// It opens tall enough to read a page, with its buttons at full size, and zoomed so that the
// whole page shows without scrolling.
TEST_F(ReportPage, PreviewShowsTheWholePageReadably)
{
    wxPreviewFrame* preview = openPreview(frame);
    ASSERT_NE(preview, nullptr);
    settle();
    EXPECT_GE(preview->GetSize().y, wxGetClientDisplayRect().height * 3 / 4);
    const wxPreviewControlBar* buttons = preview->GetControlBar();
    EXPECT_GE(buttons->GetSize().x, buttons->GetBestSize().x);
    EXPECT_GE(buttons->GetSize().y, buttons->GetBestSize().y);
    const wxPreviewCanvas* canvas = buttons->GetPrintPreview()->GetCanvas();
    EXPECT_GE(canvas->GetClientSize().x, canvas->GetVirtualSize().x);
    EXPECT_GE(canvas->GetClientSize().y, canvas->GetVirtualSize().y);
    EXPECT_GE(buttons->GetPrintPreview()->GetZoom(), 50);
    preview->Close(true);
    settle();
}

// Printed as Print prints it: the whole protocol on one A4 page, its last line the red note.
TEST_F(ReportPage, PrintsTheProtocolOnOnePage)
{
    const std::string pdf = testing::TempDir() + "protocol.pdf";
    const std::string png = testing::TempDir() + "protocol.png";
    std::unique_ptr<wxHtmlPrintout> printout(page->printout());
    ASSERT_EQ(printToPdf(*printout, pdf), 1);
    const std::string text = pdfText(pdf);
    for (const char* line : {"Протокол условий эксплуатации крана", "от 01/02/2024", "З-5", "A1",
                             "Группа классификации механизма №6", printedByLine})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in\n" << text;

    ASSERT_TRUE(pdfPageToPng(pdf, 1, png, 72));
    const wxImage image(wxString::FromUTF8(png.c_str()), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    int lowestRed = -1;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 80 && image.GetBlue(x, y) < 80)
                lowestRed = y;
    EXPECT_GT(lowestRed, image.GetHeight() / 2) << "the red note ends the protocol, low on the page";
    EXPECT_LT(lowestRed, image.GetHeight() - 20 * 72 / 25) << "and stays above the bottom margin";
    std::remove(pdf.c_str());
    std::remove(png.c_str());
}

// The widest values the recorder's fields can hold still leave the protocol on one page.
TEST_F(ReportPage, TheWidestProtocolStillTakesOnePage)
{
    devLink* wide = craneWithPassport("wide", std::string(12, '\xC6'));   // twelve "Ж"
    wide->serNo = wide->invNo = std::string(8, '\xC6');
    wide->maxWeight = 1e9f;
    wide->cyclesTotal = 0xFFFFFFFFu;
    wide->cubeSum = 4e9f;
    wide->weightTotal = 3.4e38f;
    for (uint32_t& cycles : wide->cycles)
        cycles = 0xFFFFFFFFu;
    for (float& hours : wide->hourCounter)
        hours = 1e9f;
    frame->cranes.pushBack(wide);
    frame->showCranes();
    frame->craneSelector->SetSelection(2);
    page->MakeReport();
    std::unique_ptr<wxHtmlPrintout> printout(page->printout());
    const std::string pdf = testing::TempDir() + "wide.pdf";
    EXPECT_EQ(printToPdf(*printout, pdf), 1);
    std::remove(pdf.c_str());
}

}  // namespace
