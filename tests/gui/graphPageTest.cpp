// The graphs page in a real main window: the drawing on a real bitmap, the cursor readout with
// its lamps, the printout on a PDF page, the preview and the print dialogs.
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/menu.h>
#include <wx/dcmemory.h>
#include <wx/cmndata.h>
#include <wx/image.h>
#include <wx/notebook.h>
#include <wx/prntbase.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "tests/gui/guiSupport.h"
#include "tests/gui/pdfPrint.h"
#include "tests/support/inProcessSim.h"
#include "tests/support/timeZone.h"
#include "view/GraphDraw.h"
#include "view/GraphPrintout.h"
#include "view/GraphWindow.h"
#include "view/protocolText.h"

namespace {

constexpr uint8_t load(int percent) { return static_cast<uint8_t>(0x80 | percent); }

// Loads between 3 and 127 s; mechanism 1 runs from 10 to 30 s, mechanism 2 from 100 s to the
// end, the limiter trips at 30 s and resets at 100 s.
cycLink* sampleGraph()
{
    return makeGraph(1230768000, {{3, load(10)}, {5, load(20)}, {8, load(60)}, {10, 0x01},
                                  {30, 0x40}, {40, load(50)}, {50, load(40)}, {100, 0x02},
                                  {127, load(30)}});
}

const wxColour curveGreen(64, 255, 64);
const wxColour mechanismGreen(128, 255, 128);
const wxColour limiterRed(255, 64, 64);
const wxColour titleRed(255, 0, 0);

// The rows from the top of the first red title letter to the bottom of the last.
int titleHeight(const wxImage& image)
{
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.GetHeight() / 4; ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 60 && image.GetBlue(x, y) < 60) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    return bottom - top;
}

// Pixels of exactly one colour in a rectangle of the image.
int count(const wxImage& image, const wxColour& colour, wxRect within)
{
    within.Intersect(wxRect(image.GetSize()));
    int n = 0;
    for (int y = within.GetTop(); y <= within.GetBottom(); ++y)
        for (int x = within.GetLeft(); x <= within.GetRight(); ++x)
            n += image.GetRed(x, y) == colour.Red() && image.GetGreen(x, y) == colour.Green() &&
                 image.GetBlue(x, y) == colour.Blue();
    return n;
}
int count(const wxImage& image, const wxColour& colour)
{
    return count(image, colour, wxRect(image.GetSize()));
}

// Pixels that are not white in the band of the given width along the image's four edges.
int inkAlongTheEdges(const wxImage& image, int band)
{
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int white = count(image, *wxWHITE, wxRect(0, 0, band, height)) +
                      count(image, *wxWHITE, wxRect(width - band, 0, band, height)) +
                      count(image, *wxWHITE, wxRect(0, 0, width, band)) +
                      count(image, *wxWHITE, wxRect(0, height - band, width, band));
    return 2 * band * (width + height) - white;
}

class GraphPage : public FrameTest {
protected:
    // The page's drawing on a white bitmap of the area's size.
    wxImage drawn(const drawingArea& area)
    {
        wxBitmap bitmap(area.width, area.height, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            page()->graphDrawing()->drawSurface(dc, area);
        }
        return bitmap.ConvertToImage();
    }
    wxImage drawn(int width, int height) { return drawn(drawingArea{width, height}); }

    GraphWindow* page() const { return frame->graphPage; }

    static BrennixApp& app() { return wxGetApp(); }

    ScopedTimeZone zone{"UTC"};
};

TEST_F(GraphPage, DrawsCurveBandsTitleAndFooterInTheirColours)
{
    devLink* crane = makeCrane("crane", {sampleGraph()});
    crane->invNo = "17";
    holdCranes({crane});
    const wxImage image = drawn(800, 600);

    EXPECT_GT(count(image, curveGreen), 500) << "the load curve";
    EXPECT_GT(count(image, wxColour(32, 32, 128)), 100) << "the sample markers";
    EXPECT_GT(count(image, titleRed, wxRect(0, 0, 800, 30)), 50) << "the title";
    EXPECT_GT(count(image, titleRed, wxRect(0, 570, 800, 30)), 20) << "the footer";
    EXPECT_GT(count(image, limiterRed, wxRect(0, 40, 800, 530)), 500) << "limiter band, axes, ticks";

    // The bands lie below the plot (the curve's antialiased edge may match a stray pixel).
    EXPECT_GT(count(image, mechanismGreen, wxRect(0, 400, 800, 200)), 500);
    EXPECT_LT(count(image, mechanismGreen, wxRect(0, 0, 800, 400)), 10);
    // Mechanism 2 still runs at the last sample: its bar reaches the end of the time axis.
    EXPECT_GT(count(image, mechanismGreen, wxRect(794, 400, 4, 200)), 0);
}

// A recorder's graphs as the readout brings them from the simulator: the longest one is drawn
// whole, with its bands.
TEST_F(GraphPage, DrawsARecordersGraphReadFromTheSimulator)
{
    inProcessSim sim({"--seed", "7", "--clock", "2024-03-15 10:00:00"});
    comm link(logStatus, logError, sim.transports);
    ASSERT_TRUE(link.openSerial("COM1", {}));
    ASSERT_TRUE(readDevice(link, frame->cranes, computeRecorderEpoch(), logStatus, logError));
    frame->showCranes();

    wxComboBox* graphs = page()->graphList();
    ASSERT_GT(graphs->GetCount(), 1u);
    const auto samples = [graphs](unsigned n) {
        return static_cast<const cycLink*>(graphs->GetClientData(n))->loadPoints.size();
    };
    unsigned longest = 0;
    for (unsigned n = 1; n < graphs->GetCount(); ++n)
        if (samples(n) > samples(longest))
            longest = n;
    page()->ShowGraph(static_cast<int>(longest));
    const cycLink& graph = *page()->selectedGraph();
    ASSERT_GT(graph.loadPoints.size(), 3u);
    ASSERT_FALSE(graph.eventPoints.empty());

    const wxImage image = drawn(1000, 700);
    EXPECT_GT(count(image, curveGreen), 300);
    EXPECT_GT(count(image, wxColour(32, 32, 128)), 100);
    EXPECT_GT(count(image, mechanismGreen, wxRect(0, 450, 1000, 250)), 100);
}

TEST_F(GraphPage, ABarEndsWhereItsMechanismStops)
{
    holdCranes({makeCrane("crane", {makeGraph(0, {{0, load(10)}, {10, 0x01}, {20, 0x00},
                                                  {100, load(20)}})})});
    const wxImage image = drawn(800, 600);
    EXPECT_GT(count(image, mechanismGreen), 100);
    EXPECT_EQ(count(image, mechanismGreen, wxRect(400, 0, 400, 600)), 0);
}

TEST_F(GraphPage, NothingIsDrawnWithoutAGraphToDraw)
{
    const int white = 320 * 240;
    EXPECT_EQ(count(drawn(320, 240), *wxWHITE), white) << "no crane at all";

    holdCranes({makeCrane("no graphs")});
    EXPECT_EQ(count(drawn(320, 240), *wxWHITE), white) << "an empty graph list";

    frame->clearCranes();
    holdCranes({makeCrane("states only", {makeGraph(0, {{0, 0x01}, {5, 0x00}})})});
    ASSERT_EQ(page()->graphList()->GetSelection(), 0);
    EXPECT_EQ(count(drawn(320, 240), *wxWHITE), white) << "a graph without load samples";
}

TEST_F(GraphPage, DrawsOnAreasTooSmallForOneIntervalWithoutComplaint)
{
    holdCranes({makeCrane("crane", {sampleGraph()})});
    RecordingLog::messages().clear();
    for (const wxSize size : {wxSize(1, 1), wxSize(40, 30), wxSize(120, 60), wxSize(2000, 50)})
        drawn(size.x, size.y);
    for (const auto& [level, text] : RecordingLog::messages())
        EXPECT_NE(level, wxLOG_Error) << text;
}

// The print settings the program creates at start-up, for the page's print commands.
class GraphPrinting : public GraphPage {
protected:
    void SetUp() override
    {
        BrennixApp& app = wxGetApp();
        app.pageSetupData->SetPaperSize(wxSize(210, 297));
        app.pageSetupData->SetMarginTopLeft(wxPoint(10, 10));
        app.pageSetupData->SetMarginBottomRight(wxPoint(10, 10));
        devLink* crane = makeCrane("crane", {sampleGraph()});
        crane->regNo = "42";
        holdCranes({crane});
    }

    FreshPrintSettings settings;
};

TEST_F(GraphPrinting, PrintsTheGraphOnOnePageInsideTheMargins)
{
    const std::string pdf = testing::TempDir() + "graph.pdf";
    const std::string png = testing::TempDir() + "graph.png";
    GraphPrintout printout(page()->graphDrawing());
    EXPECT_EQ(printout.GetTitle(), ui("График"));
    ASSERT_EQ(printToPdf(printout, pdf), 1);
    const std::string text = pdfText(pdf);
    for (const char* line : {"График нагружения крана рег. № 42.", "Начало отсчета: 01/01/2009 00:00:00.",
                             "Мех 6", "ОГП", "Время, c", "Нагрузка, %", "120", printedByLine})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in\n" << text;

    ASSERT_TRUE(pdfPageToPng(pdf, 1, png, pdfDotsPerInch));
    const wxImage image(wxString::FromUTF8(png.c_str()), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    ASSERT_EQ(image.GetWidth(), 595);   // A4 at 72 dpi
    EXPECT_GT(count(image, curveGreen), 100);
    EXPECT_GT(count(image, mechanismGreen), 100);
    // 10 mm margins are 28 pixels: nothing is drawn in them.
    EXPECT_EQ(inkAlongTheEdges(image, 28), 0);

    // Text keeps the proportion to the page that it has on a screen of the page's size.
    const drawingArea screen = printedArea(image.GetWidth(), image.GetHeight(), 210, 297, 10, 10, 10, 10);
    EXPECT_NEAR(titleHeight(image), titleHeight(drawn(screen)), 2);
    std::remove(pdf.c_str());
    std::remove(png.c_str());
}

// Pixels of the markers' blue, in whatever shade the rendering gives them.
int markerInk(const wxImage& image)
{
    int n = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            n += image.GetBlue(x, y) > image.GetRed(x, y) + 40 && image.GetBlue(x, y) > image.GetGreen(x, y) + 40;
    return n;
}

// Printed as the print dialog prints to a file, with the page setup as the program starts with
// it (no paper size, no margins): the graph lies inside margins of 15 mm all round and reaches
// them; its markers print as on any other page, not joined by bands.
TEST_F(GraphPrinting, PrintedThroughTheSystemsPrintingInsideDefaultMargins)
{
    *app().pageSetupData = wxPageSetupDialogData();
    const std::string pdf = testing::TempDir() + "system.pdf";
    const std::string png = testing::TempDir() + "system.png";
    GraphPrintout printout(page()->graphDrawing());
    ASSERT_TRUE(printThroughGtkToPdf(printout, pdf));
    ASSERT_TRUE(pdfPageToPng(pdf, 1, png, pdfDotsPerInch));
    const wxImage image(wxString::FromUTF8(png.c_str()), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk());
    ASSERT_NEAR(image.GetWidth(), 595, 1);   // A4 at 72 dpi
    EXPECT_EQ(inkAlongTheEdges(image, 42), 0);   // 15 mm
    EXPECT_GT(inkAlongTheEdges(image, 48), 0);

    ASSERT_EQ(printToPdf(printout, pdf), 1);
    ASSERT_TRUE(pdfPageToPng(pdf, 1, png, pdfDotsPerInch));
    const wxImage reference(wxString::FromUTF8(png.c_str()), wxBITMAP_TYPE_PNG);
    EXPECT_LT(markerInk(image), markerInk(reference) * 3 / 2);
    std::remove(pdf.c_str());
    std::remove(png.c_str());
}

TEST_F(GraphPrinting, AnEmptyGraphListPrintsOneBlankPage)
{
    frame->clearCranes();
    const std::string pdf = testing::TempDir() + "blank.pdf";
    GraphPrintout printout(page()->graphDrawing());
    EXPECT_EQ(printToPdf(printout, pdf), 1);
    EXPECT_EQ(pdfText(pdf).find_first_not_of(" \n\f"), std::string::npos);
    std::remove(pdf.c_str());
}

// The preview opens beside the main window with the graph on one page, and shows the graph
// selected when it renders again.
TEST_F(GraphPrinting, PreviewShowsTheSelectedGraphOnOnePage)
{
    frame->notebook->SetSelection(1);
    wxPreviewFrame* preview = openPreview(frame);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetTitle(), ui("Предварительный просмотр перед распечаткой графиков"));
    EXPECT_TRUE(preview->IsShown());
    wxPrintPreviewBase* pages = preview->GetControlBar()->GetPrintPreview();
    EXPECT_EQ(pages->GetMinPage(), 1);
    EXPECT_EQ(pages->GetMaxPage(), 1);

    const std::string pdf = testing::TempDir() + "preview.pdf";
    ASSERT_EQ(printToPdf(*pages->GetPrintout(), pdf), 1);
    EXPECT_NE(pdfText(pdf).find("рег. № 42"), std::string::npos);
    holdCranes({makeCrane("other", {sampleGraph()})});
    frame->craneSelector->SetSelection(1);
    frame->selectCrane(1);
    ASSERT_EQ(printToPdf(*pages->GetPrintout(), pdf), 1);
    EXPECT_EQ(pdfText(pdf).find("рег. № 42"), std::string::npos) << "the crane selected now";
    std::remove(pdf.c_str());
    preview->Close(true);
    settle();
}

// The colour of a lamp's picture at its centre.
wxColour lampColour(const wxStaticBitmap* lamp)
{
    const wxImage image = lamp->GetBitmap().ConvertToImage();
    const int x = image.GetWidth() / 2;
    const int y = image.GetHeight() / 2;
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}
bool isBlue(const wxColour& c) { return c.Blue() > c.Red() + 40 && c.Blue() > c.Green(); }
bool isGreen(const wxColour& c) { return c.Green() > c.Red() + 40 && c.Green() > c.Blue() + 40; }
bool isRed(const wxColour& c) { return c.Red() > c.Green() + 40 && c.Red() > c.Blue() + 40; }
bool isGray(const wxColour& c) { return std::abs(c.Red() - c.Blue()) < 30 && std::abs(c.Red() - c.Green()) < 30; }

// The graph options: switched from the Вид menu, remembered in the configuration store, drawn on
// the screen and on paper.
class GraphOptions : public GraphPage {
protected:
    void TearDown() override
    {
        page()->setOptions(graphOptions{});   // the next window starts with the plain page
        GraphPage::TearDown();
    }
    // The menu command as the user's click on the check item sends it.
    void toggle(int id)
    {
        wxMenu* menu = nullptr;
        wxMenuItem* item = frame->menuBar->FindItem(id, &menu);
        ASSERT_NE(item, nullptr);
        item->Check(!item->IsChecked());
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetInt(item->IsChecked());
        event.SetEventObject(menu);
        menu->ProcessEvent(event);
    }
};

TEST_F(GraphOptions, OffByDefaultSwitchedFromTheMenuAndRemembered)
{
    EXPECT_FALSE(page()->options().fixedLoadScale);
    EXPECT_FALSE(page()->options().levelLines);
    EXPECT_FALSE(page()->options().cursorDetail);
    EXPECT_EQ(frame->menuBar->GetMenuLabelText(1), ui("Вид"));

    toggle(ID_FIXED_LOAD_SCALE);
    toggle(ID_LEVEL_LINES);
    EXPECT_TRUE(page()->options().fixedLoadScale);
    EXPECT_TRUE(page()->options().levelLines);
    EXPECT_FALSE(page()->options().cursorDetail);
    EXPECT_TRUE(wxConfigBase::Get()->ReadBool("/Graphs/FixedLoadScale", false));
    EXPECT_TRUE(wxConfigBase::Get()->ReadBool("/Graphs/LevelLines", false));

    // A new main window starts with the options remembered, its menu checked alike.
    frame->Destroy();
    settle();
    frame = new MainFrame;
    EXPECT_TRUE(page()->options().fixedLoadScale);
    EXPECT_TRUE(frame->menuBar->IsChecked(ID_LEVEL_LINES));
    EXPECT_FALSE(frame->menuBar->IsChecked(ID_CURSOR_DETAIL));
    toggle(ID_LEVEL_LINES);
    EXPECT_FALSE(wxConfigBase::Get()->ReadBool("/Graphs/LevelLines", true));
}

// Lines at 100 % and at the limiter's levels, on one load axis of 0 to 125 %, however low the
// graph's own loads; on paper as on the screen.
TEST_F(GraphOptions, FixedScaleAndLevelLinesOnScreenAndPaper)
{
    devLink* crane = makeCrane("crane", {sampleGraph()});   // loads up to 60 %
    crane->ogpH = 110;
    crane->ogpL = 90;
    holdCranes({crane});
    const wxColour ratedBlue(0, 0, 255);
    const wxColour tripPurple(160, 0, 160);
    const wxImage plain = drawn(800, 600);
    EXPECT_EQ(count(plain, ratedBlue), 0);

    page()->setOptions({false, true, false});
    EXPECT_EQ(count(drawn(800, 600), ratedBlue), 0) << "100 % lies above this graph's own axis";
    page()->setOptions({true, true, false});
    const wxImage fixed = drawn(800, 600);
    EXPECT_GT(count(fixed, ratedBlue), 700);
    EXPECT_GT(count(fixed, tripPurple), 300);
    EXPECT_GT(count(fixed, wxColour(230, 120, 0)), 300);
    // The curve lies in the lower half now: its peak of 60 % is under half of 125 %.
    EXPECT_GT(count(plain, curveGreen, wxRect(0, 0, 800, 200)), 50);
    EXPECT_EQ(count(fixed, curveGreen, wxRect(0, 0, 800, 200)), 0);

    const std::string pdf = testing::TempDir() + "options.pdf";
    GraphPrintout printout(page()->graphDrawing());
    ASSERT_EQ(printToPdf(printout, pdf), 1);
    const std::string text = pdfText(pdf);
    for (const char* label : {"100 %", "срабатывание ОГП 110 %", "сброс ОГП 90 %"})
        EXPECT_NE(text.find(label), std::string::npos) << label << " not in\n" << text;
    std::remove(pdf.c_str());
}

class CursorReadout : public GraphPage {
protected:
    void SetUp() override
    {
        holdCranes({makeCrane("crane", {sampleGraph()})});
        frame->notebook->SetSelection(1);
        frame->SetClientSize(900, 700);
        for (int i = 0; i < 50 && !drawing()->drawnScale(); ++i) {
            wxTheApp->Yield();
            drawing()->Update();
        }
        ASSERT_TRUE(drawing()->drawnScale()) << "the page was painted";
    }

    GraphDraw* drawing() const { return page()->graphDrawing(); }

    void pointAt(float t)
    {
        const graphScale& scale = *drawing()->drawnScale();
        send(wxEVT_MOTION, scale.X(t));
    }
    void send(wxEventType type, int x = 0)
    {
        wxMouseEvent event(type);
        event.m_x = x;
        event.m_y = 10;
        event.SetEventObject(drawing());
        drawing()->ProcessWindowEvent(event);
    }
    // The control that follows its label in the status panel.
    wxWindow* after(const char* label) const
    {
        for (wxWindow* child : page()->GetChildren()) {
            if (child->GetLabel() != ui(label) || !child->GetContainingSizer())
                continue;
            const wxSizerItemList& cells = child->GetContainingSizer()->GetChildren();
            for (auto it = cells.begin(); it != cells.end(); ++it)
                if ((*it)->GetWindow() == child && std::next(it) != cells.end())
                    return (*std::next(it))->GetWindow();
        }
        ADD_FAILURE() << "no label " << label;
        return nullptr;
    }
    wxString text(const char* label) const { return after(label)->GetLabel(); }
    const wxStaticBitmap* lamp(const char* label) const
    {
        return dynamic_cast<const wxStaticBitmap*>(after(label));
    }
};

TEST_F(CursorReadout, ShowsLoadTimeAndLampsUnderThePointer)
{
    send(wxEVT_ENTER_WINDOW);
    EXPECT_EQ(text("Нагрузка:"), "");
    EXPECT_EQ(text("Время:"), "");
    EXPECT_TRUE(isGreen(lampColour(lamp("ОГП:"))));

    pointAt(20);   // mechanism 1 runs, the load of 8 s is held until 40 s
    EXPECT_EQ(text("Нагрузка:"), "60%");
    EXPECT_EQ(text("Время:"), ui("20с"));
    EXPECT_TRUE(isBlue(lampColour(lamp("Механизм 1:"))));
    EXPECT_TRUE(isGray(lampColour(lamp("Механизм 2:"))));
    EXPECT_TRUE(isGreen(lampColour(lamp("ОГП:"))));

    pointAt(60);   // the limiter tripped at 30 s and mechanism 1 stopped
    EXPECT_EQ(text("Нагрузка:"), "40%");
    EXPECT_TRUE(isGray(lampColour(lamp("Механизм 1:"))));
    EXPECT_TRUE(isRed(lampColour(lamp("ОГП:"))));

    pointAt(110);
    EXPECT_TRUE(isBlue(lampColour(lamp("Механизм 2:"))));
    EXPECT_TRUE(isGreen(lampColour(lamp("ОГП:"))));

    send(wxEVT_LEAVE_WINDOW);
    EXPECT_EQ(text("Нагрузка:"), "");
    EXPECT_TRUE(isGray(lampColour(lamp("ОГП:"))));
    EXPECT_TRUE(isGray(lampColour(lamp("Механизм 2:"))));
}

TEST_F(CursorReadout, AlsoInClockTimeAndTonnesWithTheOption)
{
    static_cast<devLink*>(frame->craneSelector->GetClientData(0))->maxWeight = 12.5f;
    EXPECT_EQ(page()->FindWindowByLabel(ui("Груз:"))->IsShown(), false);
    page()->setOptions({false, false, true});
    EXPECT_TRUE(page()->FindWindowByLabel(ui("Груз:"))->IsShown());
    pointAt(20);   // 60 % of 12.5 t, 20 s after midnight of 1 January 2009
    EXPECT_EQ(text("Груз:"), ui("7.50 т"));
    EXPECT_EQ(text("Время суток:"), "00:00:20");
    EXPECT_EQ(text("Нагрузка:"), "60%");
    send(wxEVT_LEAVE_WINDOW);
    EXPECT_EQ(text("Груз:"), "");
    page()->setOptions(graphOptions{});
    EXPECT_FALSE(page()->FindWindowByLabel(ui("Груз:"))->IsShown());
}

TEST_F(CursorReadout, NextGraphIsReadOnItsOwnScaleAtOnce)
{
    holdCranes({makeCrane("long graphs", {sampleGraph(), makeGraph(0, {{0, load(10)}, {1000, load(90)}})})});
    frame->selectCrane(1);
    click(page(), ID_NEXT_GRAPH);
    pointAt(500);   // beyond the first graph's axis; the load of 0 s is held
    EXPECT_EQ(text("Нагрузка:"), "10%");
    EXPECT_EQ(text("Время:"), ui("500с"));
}

TEST_F(CursorReadout, PointerOutsideTheTimeAxisOrWithoutAGraphChangesNothing)
{
    pointAt(20);
    const graphScale scale = *drawing()->drawnScale();
    send(wxEVT_MOTION, scale.plotLeft - 5);
    EXPECT_EQ(text("Время:"), ui("20с"));
    send(wxEVT_MOTION, scale.plotRight + 5);
    EXPECT_EQ(text("Время:"), ui("20с"));

    frame->clearCranes();
    send(wxEVT_MOTION, (scale.plotLeft + scale.plotRight) / 2);
    EXPECT_EQ(text("Время:"), ui("20с"));
}

TEST_F(CursorReadout, PrintingLeavesTheReadoutOnTheScreensScale)
{
    const graphScale before = *drawing()->drawnScale();
    drawn(4000, 3000);
    const graphScale after = *drawing()->drawnScale();
    EXPECT_EQ(after.plotRight, before.plotRight);
    EXPECT_EQ(after.plotBottom, before.plotBottom);
}


// Answers every modal dialog with a cancel before it shows, as a user closing it at once.
class CancelDialogs : public wxModalDialogHook {
public:
    CancelDialogs() { Register(); }
    ~CancelDialogs() override { Unregister(); }
    int entered = 0;

protected:
    int Enter(wxDialog*) override
    {
        ++entered;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// A cancelled page setup leaves the shared settings as they were, in both copies.
TEST_F(GraphPrinting, CancelledPageSetupKeepsTheSharedSettings)
{
    frame->notebook->SetSelection(1);
    app().printData->SetOrientation(wxLANDSCAPE);
    CancelDialogs cancel;
    command(frame, ID_PAGE_SETUP);
    EXPECT_EQ(cancel.entered, 1);
    EXPECT_EQ(app().printData->GetOrientation(), wxLANDSCAPE);
    EXPECT_EQ(app().pageSetupData->GetPrintData().GetOrientation(), wxLANDSCAPE);
}

TEST_F(GraphPrinting, CancelledPrintKeepsTheSharedSettings)
{
    frame->notebook->SetSelection(1);
    app().printData->SetOrientation(wxLANDSCAPE);
    CancelDialogs cancel;
    command(frame, ID_PRINT);
    EXPECT_EQ(cancel.entered, 1);
    EXPECT_EQ(app().printData->GetOrientation(), wxLANDSCAPE);
}

}  // namespace
