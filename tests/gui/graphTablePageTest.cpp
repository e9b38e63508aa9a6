// The graph table page in a real main window: its rows, the overloads standing out, sorting by a
// column's header and choosing a row.
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/notebook.h>

#include "app/MainFrame.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "tests/gui/guiSupport.h"
#include "tests/support/timeZone.h"
#include "view/GraphTableWindow.h"
#include "view/GraphWindow.h"

namespace {

constexpr uint8_t load(int percent) { return static_cast<uint8_t>(0x80 | percent); }

class GraphTablePage : public FrameTest {
protected:
    void SetUp() override
    {
        // Two ordinary lifts and an overload that trips the limiter; the recorder held 2 + 1.
        devLink* crane = makeCrane("crane", {makeGraph(1230768000, {{0, load(40)}, {60, load(70)}, {90, 0x01}}),
                                             makeGraph(1230771600, {{0, load(30)}, {30, load(95)}, {40, 0x02}}),
                                             makeGraph(1230775200, {{0, load(60)}, {10, 0x41}, {20, load(118)},
                                                                    {50, load(20)}, {70, 0x00}})});
        crane->maxWeight = 10;
        crane->cntN = 2;
        crane->cntE = 1;
        holdCranes({crane});
    }

    GraphTable* table() const { return frame->graphTablePage->table(); }
    wxString cell(long item, graphColumn column) const
    {
        return table()->OnGetItemText(item, static_cast<long>(column));
    }
    void send(wxEventType type, long item, int column = -1)
    {
        wxListEvent event(type, table()->GetId());
        event.m_itemIndex = item;
        event.m_col = column;
        event.SetEventObject(table());
        table()->ProcessWindowEvent(event);
    }

    ScopedTimeZone zone{"UTC"};
};

TEST_F(GraphTablePage, OneRowPerGraphWithItsFiguresAndOverloadsStandingOut)
{
    EXPECT_EQ(frame->notebook->GetPageCount(), 4u);
    EXPECT_EQ(frame->notebook->GetPageText(3), ui("Таблица графиков"));
    ASSERT_EQ(table()->GetItemCount(), 3);
    EXPECT_EQ(table()->GetColumnCount(), graphColumnCount);
    EXPECT_EQ(cell(2, graphColumn::start), "01/01/2009 02:00:00");
    EXPECT_EQ(cell(2, graphColumn::store), ui("перегрузки"));
    EXPECT_EQ(cell(2, graphColumn::peakPercent), "118");
    EXPECT_EQ(cell(2, graphColumn::peakTonnes), "11.80");
    EXPECT_EQ(cell(2, graphColumn::above100), "30.0");
    EXPECT_EQ(cell(2, graphColumn::limiter), ui("да"));
    EXPECT_EQ(cell(0, graphColumn::mechanisms), "1");

    EXPECT_EQ(table()->OnGetItemAttr(0), nullptr);
    EXPECT_EQ(table()->OnGetItemAttr(1), nullptr);
    const wxItemAttr* overload = table()->OnGetItemAttr(2);
    ASSERT_NE(overload, nullptr);
    EXPECT_GT(overload->GetBackgroundColour().Red(), overload->GetBackgroundColour().Green() + 30);

    frame->clearCranes();
    EXPECT_EQ(table()->GetItemCount(), 0);
}

TEST_F(GraphTablePage, SortsByTheColumnClickedAndBackOnTheSecondClick)
{
    send(wxEVT_LIST_COL_CLICK, -1, static_cast<int>(graphColumn::peakPercent));
    EXPECT_EQ(cell(0, graphColumn::peakPercent), "70");
    EXPECT_EQ(cell(2, graphColumn::peakPercent), "118");
    EXPECT_NE(table()->OnGetItemAttr(2), nullptr) << "the colours go with the row";
    send(wxEVT_LIST_COL_CLICK, -1, static_cast<int>(graphColumn::peakPercent));
    EXPECT_EQ(cell(0, graphColumn::peakPercent), "118");
    EXPECT_EQ(cell(0, graphColumn::number), "3");
    EXPECT_EQ(table()->GetSortIndicator(), static_cast<int>(graphColumn::peakPercent));
    EXPECT_FALSE(table()->IsAscendingSortIndicator());
}

// Choosing a row shows its graph on the graphs page; opening it (a double click, Enter) also
// turns to that page.
TEST_F(GraphTablePage, ChoosingARowShowsThatGraph)
{
    send(wxEVT_LIST_COL_CLICK, -1, static_cast<int>(graphColumn::start));
    send(wxEVT_LIST_COL_CLICK, -1, static_cast<int>(graphColumn::start));   // latest first
    frame->notebook->SetSelection(3);
    send(wxEVT_LIST_ITEM_SELECTED, 1);
    EXPECT_EQ(frame->graphPage->graphList()->GetSelection(), 1);
    EXPECT_EQ(frame->notebook->GetSelection(), 3);
    send(wxEVT_LIST_ITEM_ACTIVATED, 0);
    EXPECT_EQ(frame->graphPage->graphList()->GetSelection(), 2);
    EXPECT_EQ(frame->notebook->GetCurrentPage(), frame->graphPage);
}

}  // namespace
