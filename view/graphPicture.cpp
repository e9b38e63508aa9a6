#include "view/graphPicture.h"

#include <algorithm>
#include <string>
#include <vector>

#include <wx/cmndata.h>
#include <wx/dc.h>
#include <wx/dcprint.h>
#include <wx/dcscreen.h>
#include <wx/graphics.h>
#include <wx/print.h>

#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/cp1251.h"
#include "data/timeText.h"
#include "view/graphOptions.h"
#include "view/graphLayout.h"
#include "view/numberText.h"
#include "view/protocolText.h"

namespace {

const wxColour titleRed(255, 0, 0);
const wxColour axisRed(255, 64, 64);
const wxColour curveGreen(64, 255, 64);
const wxColour markerBlue(32, 32, 128);
const wxColour mechanismGreen(128, 255, 128);
const wxColour ratedBlue(0, 0, 255);
const wxColour tripPurple(160, 0, 160);
const wxColour resetOrange(230, 120, 0);

wxFont graphFont(int pointSize, wxFontWeight weight)
{
    return wxFont(pointSize, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, weight, false, "Times",
                  wxFONTENCODING_CP1251);
}

struct graphFonts {
    wxFont light;
    wxFont normal;
    wxFont bold;
    wxFont title;
};

// Fonts of `size` and 4/3 `size` dc pixels. Point sizes are taken such that text on dc is as
// large, in dc pixels, as text of those points is in screen pixels: the sizes derive from the
// surface in pixels, so text keeps its proportion to the surface on a printer that converts
// points at its own resolution. The ratio is measured on a large probe.
graphFonts fontsFor(wxDC& dc, int size)
{
    const wxFont probe = graphFont(100, wxFONTWEIGHT_NORMAL);
    wxScreenDC screen;
    screen.SetFont(probe);
    dc.SetFont(probe);
    const int screenHeight = screen.GetCharHeight();
    const int dcHeight = dc.GetCharHeight();
    const int points = fontPointSize(size, screenHeight, dcHeight);
    const int titlePoints = fontPointSize(4 * size / 3, screenHeight, dcHeight);
    return {graphFont(points, wxFONTWEIGHT_LIGHT), graphFont(points, wxFONTWEIGHT_NORMAL),
            graphFont(points, wxFONTWEIGHT_BOLD), graphFont(titlePoints, wxFONTWEIGHT_BOLD)};
}

// Shapes drawn with whole-pixel edges while it lives, as the screen drew them before smoothing.
// A graph of thousands of samples draws several times faster so; text is not affected.
class withoutAntialiasing {
public:
    explicit withoutAntialiasing(wxDC& dc) : gc(dc.GetGraphicsContext())
    {
        if (gc) {
            previous = gc->GetAntialiasMode();
            gc->SetAntialiasMode(wxANTIALIAS_NONE);
        }
    }
    ~withoutAntialiasing()
    {
        if (gc)
            gc->SetAntialiasMode(previous);
    }
    withoutAntialiasing(const withoutAntialiasing&) = delete;
    withoutAntialiasing& operator=(const withoutAntialiasing&) = delete;

private:
    wxGraphicsContext* gc;
    wxAntialiasMode previous = wxANTIALIAS_DEFAULT;
};

int textWidth(wxDC& dc, const wxString& text) { return dc.GetTextExtent(text).GetWidth(); }

wxPoint at(pixelPoint p) { return {p.x, p.y}; }

void drawLine(wxDC& dc, const pixelLine& line) { dc.DrawLine(at(line.from), at(line.to)); }

// "инв. ", "рег. " or "зав. " with the first of the crane's numbers that is not empty.
wxString craneNumber(const devLink& crane)
{
    if (!crane.invNo.empty())
        return ui("инв. № ") + craneText(shownText(crane.invNo));
    if (!crane.regNo.empty())
        return ui("рег. № ") + craneText(shownText(crane.regNo));
    return ui("зав. № ") + craneText(shownText(crane.serNo));
}

// Title and subtitle in red; returns the height they take.
int drawTitle(wxDC& dc, const drawingArea& area, const textMetrics& metrics, const wxFont& font,
              const devLink& crane, const cycLink& graph)
{
    dc.SetFont(font);
    const wxString title = ui("График нагружения крана ") + craneNumber(crane) + ".";
    const wxString subtitle = ui("Начало отсчета: ") + ui(dateTimeText(graph.timeStamp).c_str()) + ".";
    const titlePlacement place =
        placeTitle(area, metrics, textWidth(dc, title), textWidth(dc, subtitle));
    dc.SetTextForeground(titleRed);
    dc.DrawText(title, at(place.title));
    dc.DrawText(subtitle, at(place.subtitle));
    return place.reserve;
}

// The note of the program in red, centred at the bottom. On a surface too narrow for it (a
// portrait page, a small window) its font shrinks so that it stays whole between the margins.
void drawFooter(wxDC& dc, const drawingArea& area, const textMetrics& metrics, wxFont font)
{
    const wxString footer = ui(printedByLine);
    const int room = area.width - area.marginLeft - area.marginRight;
    dc.SetTextForeground(titleRed);
    dc.SetFont(font);
    const int width = textWidth(dc, footer);
    if (width > room && room > 0) {
        font.SetPointSize(std::max(1, font.GetPointSize() * room / width));
        dc.SetFont(font);
    }
    dc.DrawText(footer, at(footerPosition(area, metrics, textWidth(dc, footer))));
}

// The marks of the time and the load axis, for the grid and the ticks.
struct axisMarks {
    std::vector<gridMark> time;
    std::vector<gridMark> load;
};

void drawGrid(wxDC& dc, const axisMarks& marks)
{
    dc.SetPen(wxPen(titleRed, 1, wxPENSTYLE_DOT_DASH));
    for (const gridMark& mark : marks.time)
        drawLine(dc, mark.gridLine);
    for (const gridMark& mark : marks.load)
        drawLine(dc, mark.gridLine);
}

// A polyline as a series of shorter ones sharing their end points: round joins and round caps
// draw the same, and the toolkit's stroker slows down sharply on long self-crossing paths.
void drawPolyline(wxDC& dc, const std::vector<pixelPoint>& corners)
{
    std::vector<wxPoint> points;
    points.reserve(corners.size());
    for (const pixelPoint corner : corners)
        points.push_back(at(corner));
    constexpr std::size_t run = 256;
    for (std::size_t start = 0; start + 1 < points.size(); start += run - 1)
        dc.DrawLines(static_cast<int>(std::min(run, points.size() - start)), &points[start]);
}

void drawCurve(wxDC& dc, const cycLink& graph, const graphScale& scale, const graphSizes& sizes)
{
    dc.SetPen(wxPen(curveGreen, sizes.markSize, wxPENSTYLE_SOLID));
    drawPolyline(dc, curvePolyline(loadCurve(graph, scale)));
}

// The diamonds at the load samples, each centre once. They are filled without an outline: the
// one-pixel outline of the marker's own colour is folded into the fill by reaching one pixel
// further, as stroking thousands of outlines would cost most of a long graph's drawing time.
// Batches share one filled path; the diamonds all wind the same way, so the winding rule fills
// overlapping ones as each alone is filled. A printer's device context joins the polygons of one
// call into a single outline, which fills a band from each diamond to the next: there each
// diamond is a polygon of its own.
void drawMarkers(wxDC& dc, const cycLink& graph, const graphScale& scale, const graphSizes& sizes)
{
    const std::vector<pixelPoint> centres = markerCentres(graph, scale);

    const graphSizes reach{sizes.fontSize, sizes.markSize + 1, sizes.tickSize};
    std::vector<wxPoint> corners;
    corners.reserve(4 * centres.size());
    for (const pixelPoint centre : centres)
        for (const pixelPoint corner : sampleMarker(centre, reach))
            corners.push_back(at(corner));

    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(markerBlue, wxBRUSHSTYLE_SOLID));
    const std::size_t batch = dc.IsKindOf(wxCLASSINFO(wxPrinterDC)) ? 1 : 512;
    const std::vector<int> fours(batch, 4);
    for (std::size_t start = 0; start < centres.size(); start += batch) {
        const std::size_t n = std::min(batch, centres.size() - start);
        if (n == 1)   // the toolkit takes two polygons or more in one path
            dc.DrawPolygon(4, &corners[4 * start], 0, 0, wxODDEVEN_RULE);
        else
            dc.DrawPolyPolygon(static_cast<int>(n), fours.data(), &corners[4 * start], 0, 0,
                               wxWINDING_RULE);
    }
}

void drawBands(wxDC& dc, const cycLink& graph, const graphScale& scale, const textMetrics& metrics,
               const graphSizes& sizes, const graphFonts& fonts)
{
    dc.SetTextForeground(axisRed);
    for (int band = 0; band < bandCount; ++band) {
        const bool limiter = band == bandCount - 1;
        const wxString label = limiter ? ui("ОГП") : ui(printfText("Мех %d", band + 1).c_str());
        dc.SetFont(limiter ? fonts.bold : fonts.normal);
        dc.DrawText(label, at(bandLabelPosition(scale, band, textWidth(dc, label), metrics, sizes)));
        const wxColour colour = limiter ? axisRed : mechanismGreen;
        dc.SetPen(wxPen(colour, 1, wxPENSTYLE_SOLID));
        dc.SetBrush(wxBrush(colour, wxBRUSHSTYLE_SOLID));
        for (const pixelRect& bar : bandBars(graph, scale, band, metrics, sizes))
            dc.DrawRectangle(bar.x, bar.y, bar.width, bar.height);
    }
}

void drawTicks(wxDC& dc, const graphScale& scale, const axisMarks& marks, const textMetrics& metrics,
               const graphSizes& sizes, const graphFonts& fonts)
{
    dc.SetPen(wxPen(axisRed, 1, wxPENSTYLE_SOLID));
    dc.SetTextForeground(axisRed);
    dc.SetFont(fonts.light);
    for (const gridMark& mark : marks.time) {
        drawLine(dc, mark.tick);
        dc.DrawText(fixedText(mark.value, 0), at(timeMarkLabel(scale, mark.value, sizes)));
    }
    for (const gridMark& mark : marks.load) {
        drawLine(dc, mark.tick);
        const wxString number = fixedText(mark.value, 0);
        dc.DrawText(number,
                    at(loadMarkLabel(scale, mark.value, textWidth(dc, number), metrics, sizes)));
    }
}

void drawAxes(wxDC& dc, const graphScale& scale, const drawingArea& area,
              const textMetrics& metrics, const graphSizes& sizes, const graphFonts& fonts)
{
    dc.SetPen(wxPen(axisRed, 1, wxPENSTYLE_SOLID));
    dc.SetTextForeground(axisRed);
    dc.SetFont(fonts.bold);
    const wxString timeTitle = ui("Время, c");   // the Latin c of the seconds
    dc.DrawText(timeTitle,
                at(timeAxisTitlePosition(scale, textWidth(dc, timeTitle), metrics, sizes)));
    const wxString loadTitle = ui("Нагрузка, %");
    dc.DrawRotatedText(loadTitle, at(loadAxisTitlePosition(scale, area, textWidth(dc, loadTitle))),
                       90);
    for (const pixelLine& line : axisLines(scale, sizes))
        drawLine(dc, line);
}

// Level lines across the plot, each labelled near its right end: the rated load and the
// limiter's trip level above their lines, its reset level (below the trip level) under its line.
// The labels stand side by side from the right, so that close levels do not print over each other.
void drawLevelLines(wxDC& dc, const graphScale& scale, const devLink& crane, const graphFonts& fonts)
{
    dc.SetFont(fonts.bold);
    int labelsRight = scale.plotRight - dc.GetCharWidth();
    for (const levelLine& level : levelLinesOf(crane)) {
        const std::optional<pixelLine> line = levelLineAt(scale, static_cast<float>(level.percent));
        if (!line)
            continue;
        wxString label;
        wxColour colour;
        wxPenStyle style = wxPENSTYLE_LONG_DASH;
        switch (level.kind) {
        case levelKind::rated:
            label = ui("100 %");
            colour = ratedBlue;
            style = wxPENSTYLE_SOLID;
            break;
        case levelKind::limiterTrip:
            label = ui(printfText("срабатывание ОГП %d %%", level.percent).c_str());
            colour = tripPurple;
            break;
        case levelKind::limiterReset:
            label = ui(printfText("сброс ОГП %d %%", level.percent).c_str());
            colour = resetOrange;
            break;
        }
        dc.SetPen(wxPen(colour, 2, style));
        drawLine(dc, *line);
        const wxSize extent = dc.GetTextExtent(label);
        const bool under = level.kind == levelKind::limiterReset;
        dc.SetTextForeground(colour);
        dc.DrawText(label, labelsRight - extent.GetWidth(),
                    under ? line->to.y + 2 : line->to.y - extent.GetHeight());
        labelsRight -= extent.GetWidth() + 2 * dc.GetCharWidth();
    }
}

}  // namespace

void giveDefaultMargins(wxPageSetupDialogData& setup)
{
    if (setup.GetMarginTopLeft() != wxPoint() || setup.GetMarginBottomRight() != wxPoint())
        return;
    setup.SetMarginTopLeft(wxPoint(defaultMarginMm, defaultMarginMm));
    setup.SetMarginBottomRight(wxPoint(defaultMarginMm, defaultMarginMm));
}

std::optional<graphScale> drawGraph(wxDC& dc, const drawingArea& area, const devLink& crane,
                                    const cycLink& graph, const graphOptions& options)
{
    if (graph.loadPoints.empty())
        return std::nullopt;

    const graphSizes sizes = graphSizesFor(area);
    const graphFonts fonts = fontsFor(dc, sizes.fontSize);
    textMetrics metrics{};
    dc.SetFont(fonts.bold);
    const wxSize digit = dc.GetTextExtent("0");
    metrics.digitWidth = digit.GetWidth();
    metrics.lineHeight = digit.GetHeight();
    dc.SetFont(fonts.title);
    metrics.titleLineHeight = dc.GetTextExtent("0").GetHeight();

    const int titleReserve = drawTitle(dc, area, metrics, fonts.title, crane, graph);
    drawFooter(dc, area, metrics, fonts.light);

    const std::optional<graphScale> scale =
        scaleGraph(graph, area, metrics, sizes, titleReserve, logError, options.fixedLoadScale);
    if (!scale)
        return scale;
    const axisMarks marks{timeMarks(*scale, sizes), loadMarks(*scale, sizes)};
    drawGrid(dc, marks);
    if (options.levelLines)
        drawLevelLines(dc, *scale, crane, fonts);
    {
        const withoutAntialiasing plain(dc);
        drawCurve(dc, graph, *scale, sizes);
        drawMarkers(dc, graph, *scale, sizes);
    }
    drawBands(dc, graph, *scale, metrics, sizes, fonts);
    drawTicks(dc, *scale, marks, metrics, sizes, fonts);
    drawAxes(dc, *scale, area, metrics, sizes, fonts);
    return scale;
}

drawingArea printedPageArea(wxPrintout& printout, wxDC& dc, wxPageSetupDialogData* setup)
{
    int width = 0;
    int height = 0;
    dc.GetSize(&width, &height);
    if (!setup)
        return drawingArea{width, height};
    giveDefaultMargins(*setup);
    wxSize paper = setup->GetPaperSize();
    if (paper.x <= 0 || paper.y <= 0)   // before any page setup: the paper printed on
        printout.GetPageSizeMM(&paper.x, &paper.y);
    const wxPoint topLeft = setup->GetMarginTopLeft();
    const wxPoint bottomRight = setup->GetMarginBottomRight();
    return printedArea(width, height, paper.GetWidth(), paper.GetHeight(), topLeft.x, topLeft.y,
                       bottomRight.x, bottomRight.y);
}
