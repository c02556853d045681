#include "grid/model/QrlBaseGrid.h"

#include <gtest/gtest.h>

#include <QImage>

#include <optional>
#include <vector>

using Kind = TCanvasOp::Kind;
using plat::TGridDrawState;
using plat::TGridOption;
using plat::TGridRect;
using enum plat::TGridDrawStateItem;

namespace {

class PaintGrid : public TBaseGrid
{
public:
    using TBaseGrid::FHideLastRow;
    using TBaseGrid::FHoverRowIdx;
    using TBaseGrid::FPaintID;

    PaintGrid()
    {
        SetColCount(8);
        SetRowCount(6);
        for (int c = 0; c < ColCount(); ++c)
            for (int r = 0; r < RowCount(); ++r)
                SetCellEx(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
        resize(600, 400);
        show();
    }
    // The cell's background: the first filled rectangle drawn for it.
    TColor background(int c, int r, TGridDrawState state)
    {
        TRecordingCanvas cv;
        PaintCell(&cv, c, r, CellRect(c, r), state);
        const auto rects = cv.OpsOf(Kind::Rectangle);
        return rects.empty() ? clNone : rects[0].brushColor;
    }
};

std::vector<TCanvasOp> pixelsOf(const TRecordingCanvas &cv, TColor color)
{
    std::vector<TCanvasOp> out;
    for (const TCanvasOp &op : cv.OpsOf(Kind::Pixel))
        if (op.color1 == color)
            out.push_back(op);
    return out;
}

} // namespace

TEST(BasePaint, HiddenLastRowIsAPlainRectangle)
{
    PaintGrid g;
    g.FHideLastRow = true;
    TRecordingCanvas cv;
    const TRect r = g.CellRect(2, 5);
    g.PaintCell(&cv, 2, 5, r, {});
    ASSERT_EQ(cv.Ops().size(), 1u);
    EXPECT_EQ(cv.Ops()[0].kind, Kind::Rectangle);
    EXPECT_EQ(cv.Ops()[0].rect, r);
    EXPECT_EQ(cv.Ops()[0].brushColor, g.Color());
    EXPECT_EQ(cv.Ops()[0].penColor, g.Color());
}

TEST(BasePaint, MergedAreaPaintedOnceAndClippedUnderFixedCells)
{
    PaintGrid g;
    g.MergeCells(1, 1, 3, 2);
    g.SetLeftCol(2); // the base cell lies under the fixed column now
    const TRect area = g.CellRect(1, 1);
    ASSERT_LT(area.Left, g.FixedColsWidth());
    const TRect clip{g.FixedColsWidth(), g.FixedRowsHeight(), g.viewport()->width(),
                     g.viewport()->height()};
    for (int pass = 1; pass <= 2; ++pass) {
        TRecordingCanvas cv;
        g.PaintTo(cv);
        std::vector<TCanvasOp> baseTexts;
        for (const TCanvasOp &op : cv.OpsOf(Kind::DrawText))
            if (op.text == QStringLiteral("1:1"))
                baseTexts.push_back(op);
        ASSERT_EQ(baseTexts.size(), 1u) << pass;
        EXPECT_EQ(baseTexts[0].clip, clip);
        // The area's background covers the whole area, clipped too.
        bool whole = false;
        for (const TCanvasOp &op : cv.OpsOf(Kind::Rectangle))
            whole = whole || (op.rect == area && op.clip == clip);
        EXPECT_TRUE(whole);
    }
}

TEST(BasePaint, PlatformDrawsNoLinesOrCellsOfItsOwn)
{
    PaintGrid g;
    TRecordingCanvas cv;
    g.PaintTo(cv);
    // Only the platform's background fill; lines are the cells' own Line calls.
    EXPECT_EQ(cv.OpsOf(Kind::FillRect).size(), 1u);
    EXPECT_FALSE(cv.OpsOf(Kind::Line).empty());
    EXPECT_TRUE(cv.OpsOf(Kind::TextRect).empty());

    // The lines are the cells' last column and row of pixels: the platform keeps no room for
    // them, so the next cell starts right after and every cell is as wide as its column.
    g.SetGridLineColor(0x0000FF);
    QImage img(g.viewport()->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        TCanvas pc(&img);
        g.PaintTo(pc);
        pc.Flush();
    }
    const TRect cell = g.CellRect(2, 2);
    EXPECT_EQ(cell.Width(), g.ColWidths(2));
    EXPECT_EQ(cell.Height(), g.RowHeights(2));
    EXPECT_EQ(g.CellRect(3, 2).Left, cell.Right);
    EXPECT_EQ(g.CellRect(2, 3).Top, cell.Bottom);
    EXPECT_EQ(img.pixelColor(cell.Right - 1, cell.Top + 5), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(cell.Left + 5, cell.Bottom - 1), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(cell.Right - 2, cell.Top + 5), ToQColor(g.Color()));
    EXPECT_EQ(img.pixelColor(cell.Right, cell.Top + 5), ToQColor(g.Color()));
}

TEST(BasePaint, SelectionBoxPiecesAndColourSets)
{
    struct Case
    {
        TGridRect sel;
        bool focused;
        std::vector<int> cols;
        std::vector<int> ends; // 1 left end rounded, 2 right end rounded, 3 both, 0 none
        TColor border;
    };
    const Case cases[] = {
        {{1, 1, 3, 1}, true, {1, 2, 3}, {1, 0, 2}, 0xFDDE99},
        {{2, 1, 2, 1}, true, {2}, {3}, 0xFDDE99},
        {{1, 1, 3, 1}, false, {2}, {0}, 0xD9D9D9},
    };
    for (const Case &c : cases) {
        PaintGrid g;
        g.SetSelectionStyle(TGridSelectionStyle::ssVista);
        plat::TGridOptions o = g.Options();
        o.Set(TGridOption::goDrawFocusSelected, c.focused);
        g.SetOptions(o);
        g.SetSelection(c.sel);
        for (size_t i = 0; i < c.cols.size(); ++i) {
            SCOPED_TRACE(c.cols[i]);
            TRecordingCanvas cv;
            const TRect r = g.CellRect(c.cols[i], 1);
            g.PaintCell(&cv, c.cols[i], 1, r, {gdSelected});
            int ends = 0;
            for (const TCanvasOp &op : pixelsOf(cv, g.Color())) {
                ends |= op.rect.Left == r.Left ? 1 : 0;
                ends |= op.rect.Left == r.Right - 2 ? 2 : 0;
            }
            EXPECT_EQ(ends, c.ends[i]);
            bool border = false;
            for (const TCanvasOp &op : cv.OpsOf(Kind::Line))
                border = border || op.penColor == c.border;
            EXPECT_TRUE(border);
        }
    }
}

TEST(BasePaint, HoverAndActiveRowColours)
{
    const TColor hover = 0x123456;
    const TColor active = 0x654321;
    struct Case
    {
        std::optional<THoverRowCells> cells; // none: the grid's default
        int col;
        TGridDrawState state;
        bool takesHover;
    };
    const Case cases[] = {
        {{}, 0, {gdFixed}, false},
        {{}, 2, {gdSelected}, true},
        {{}, 3, {}, true},
        {THoverRowCells{THoverRowCell::hcFixed}, 0, {gdFixed}, true},
        {THoverRowCells{}, 2, {gdSelected}, false},
        {THoverRowCells{}, 3, {}, true}, // normal cells always take it
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.col);
        PaintGrid g;
        g.SetHoverRow(true);
        g.SetHoverRowColor(hover);
        if (c.cells)
            g.SetHoverRowCells(*c.cells);
        g.FHoverRowIdx = 2;
        const TColor own = c.state.Contains(gdFixed) ? g.FixedColor() : g.Color();
        EXPECT_EQ(g.background(c.col, 2, c.state), c.takesHover ? hover : own);
    }

    PaintGrid g;
    g.SetActiveRowShow(true);
    g.SetActiveRowColor(active);
    g.SetRow(2);
    g.SetCol(1);
    EXPECT_EQ(g.background(3, 2, {}), active);
    EXPECT_EQ(g.background(1, 2, {gdFocused}), g.Color()); // the current cell itself
    EXPECT_EQ(g.background(0, 2, {gdFixed}), g.FixedColor());
    EXPECT_EQ(g.background(3, 3, {}), g.Color());
    // A background-only paint of a selected cell takes the active colours anywhere.
    TRecordingCanvas cv;
    g.PaintCellExt(&cv, 4, 4, g.CellRect(4, 4), {gdSelected});
    ASSERT_FALSE(cv.OpsOf(Kind::Rectangle).empty());
    EXPECT_EQ(cv.OpsOf(Kind::Rectangle)[0].brushColor, active);
    EXPECT_TRUE(cv.OpsOf(Kind::DrawText).empty());
}

TEST(BasePaint, GridLinesInsideTheCellAndContentRectangle)
{
    struct Case
    {
        int lineWidth;
        int col;
        TGridDrawState state;
        int inset; // lines drawn this far inside the bottom and right edges
        int penWidth;
    };
    const Case cases[] = {
        {3, 2, {}, 2, 3},
        {1, 2, {}, 1, 1},
        {3, 0, {gdFixed}, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lineWidth * 10 + c.col);
        PaintGrid g;
        g.SetGridLineWidth(c.lineWidth);
        g.SetGridLineColor(0x0000AA);
        g.SetGridFixedLineColor(0x00AA00);
        TRecordingCanvas cv;
        g.PaintCell(&cv, c.col, 2, g.CellRect(c.col, 2), c.state);
        // The lines lie inside the cell, which is exactly as wide as its column.
        const TRect r = g.CellRect(c.col, 2);
        EXPECT_EQ(r.Width(), g.ColWidths(c.col));
        const auto lines = cv.OpsOf(Kind::Line);
        ASSERT_EQ(lines.size(), 2u);
        const int lw = c.inset;
        EXPECT_EQ(lines[0].rect,
                  Rect(r.Left - lw + 1, r.Bottom - lw, r.Right - lw + 1, r.Bottom - lw));
        EXPECT_EQ(lines[1].rect, Rect(r.Right - lw, r.Bottom - lw, r.Right - lw, r.Top - lw));
        EXPECT_EQ(lines[0].penWidth, c.penWidth);
        EXPECT_EQ(lines[0].penColor, c.state.Contains(gdFixed) ? 0x00AA00u : 0x0000AAu);
        const auto text = cv.OpsOf(Kind::DrawText);
        ASSERT_EQ(text.size(), 1u);
        TRect content = r;
        if (c.state.Contains(gdFixed)) {
            content.Right -= 1;
            content.Bottom -= 2;
        } else {
            InflateRect(content, -c.lineWidth, -c.lineWidth);
        }
        EXPECT_EQ(text[0].rect, content);
    }
}
