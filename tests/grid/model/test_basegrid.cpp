#include "grid/model/QrlBaseGrid.h"

#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

// Records every repaint the grid starts and opens the protected state the tests look at.
class TestGrid : public TBaseGrid
{
public:
    using TBaseGrid::DoMouseWheelDown;
    using TBaseGrid::DoMouseWheelUp;
    using TBaseGrid::EditorRect;
    using TBaseGrid::FHasCellProps;
    using TBaseGrid::FMergeCount;
    using TBaseGrid::FNormalRowCount;
    using TBaseGrid::FPaintID;
    using TBaseGrid::KeyDown;

    explicit TestGrid(int cols = 6, int rows = 6)
    {
        SetColCount(cols);
        SetRowCount(rows);
    }
    void InvalidateRect(const TRect &R) override
    {
        invalidated.push_back(R);
        TBaseGrid::InvalidateRect(R);
    }
    void showSized()
    {
        resize(600, 400);
        show();
        invalidated.clear();
    }
    int propsCount() const
    {
        int n = 0;
        for (int c = 0; c < ColCount(); ++c)
            for (int r = 0; r < RowCount(); ++r)
                n += GetGridObject(c, r) != nullptr;
        return n;
    }
    // Every cell's mirrored merge fields agree with the merged areas.
    void expectMirrored() const
    {
        EXPECT_EQ(MergedSpans().checkInvariants(), QString());
        for (int c = 0; c < ColCount(); ++c)
            for (int r = 0; r < RowCount(); ++r)
                if (const TCellProperties *p = GetGridObject(c, r)) {
                    EXPECT_EQ(p->IsBaseCell(), MergedSpans().isBaseCell(c, r)) << c << "," << r;
                    EXPECT_EQ(p->CellSpanX(), MergedSpans().spansX(c, r)) << c << "," << r;
                    EXPECT_EQ(p->CellSpanY(), MergedSpans().spansY(c, r)) << c << "," << r;
                }
    }
    bool covered(const TRect &area) const
    {
        for (const TRect &r : invalidated)
            if (r.Left <= area.Left && r.Top <= area.Top && r.Right >= area.Right &&
                r.Bottom >= area.Bottom)
                return true;
        return false;
    }

    std::vector<TRect> invalidated;
};

void fillTexts(TBaseGrid &g)
{
    for (int c = 0; c < g.ColCount(); ++c)
        for (int r = 0; r < g.RowCount(); ++r)
            g.SetGridCell(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
}

TRect unite(const TRect &a, const TRect &b)
{
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

struct Counted : TPersistent
{
    explicit Counted(int &n) : deaths(n) {}
    ~Counted() override { ++deaths; }
    int &deaths;
};

struct DerivedGraphic : TCellGraphic
{
    explicit DerivedGraphic(int &n) : deaths(n) {}
    ~DerivedGraphic() override { ++deaths; }
    int &deaths;
};

// A plain TCellGraphic whose freeing shows through a value it holds.
TCellGraphic *trackedGraphic(std::weak_ptr<int> &alive)
{
    auto token = std::make_shared<int>(1);
    alive = token;
    auto *g = new TCellGraphic;
    g->SetCellVar(QVariant::fromValue(token));
    return g;
}

TEST(BaseGrid, DefaultsAndPlatformLooks)
{
    TestGrid g;
    EXPECT_FALSE(g.DefaultDrawing());
    EXPECT_FALSE(g.plat::TPlatformStringGrid::DefaultDrawing());
    g.SetDefaultDrawing(true);
    EXPECT_TRUE(g.DefaultDrawing());
    EXPECT_FALSE(g.plat::TPlatformStringGrid::DefaultDrawing());
    EXPECT_EQ(g.GridLineWidth(), 1);
    EXPECT_FALSE(g.PlatformGridLines());
    // The grid draws its lines inside its cells: the platform's own width stays 0, whatever
    // the grid's, and the geometry has no room between the lines.
    EXPECT_EQ(g.plat::TPlatformStringGrid::GridLineWidth(), 0);
    g.SetGridLineWidth(3);
    EXPECT_EQ(g.GridLineWidth(), 3);
    EXPECT_EQ(g.plat::TPlatformStringGrid::GridLineWidth(), 0);
    EXPECT_EQ(g.UnclippedCellRect(2, 1).Left, g.ColWidths(0) + g.ColWidths(1));
    EXPECT_EQ(g.GridWidth(), g.ColCount() * g.DefaultColWidth());
    g.SetGridLineWidth(1);
    EXPECT_EQ(g.GridLineColor(), 0xC0C0C0u);
    EXPECT_EQ(g.GridFixedLineColor(), 0x808080u);
    EXPECT_EQ(g.ActiveRowColor(), 0xFF000018u);
    EXPECT_EQ(g.HoverRowColor(), 0xFF000018u);
    EXPECT_EQ(g.ActiveRowColorTo(), clNone);
    EXPECT_TRUE(g.WordWrap());
    EXPECT_TRUE(g.HoverRowCells().Contains(THoverRowCell::hcNormal));
    EXPECT_TRUE(g.HoverRowCells().Contains(THoverRowCell::hcSelected));
    EXPECT_FALSE(g.HoverRowCells().Contains(THoverRowCell::hcFixed));
    EXPECT_EQ(g.SelectionStyle(), TGridSelectionStyle::ssDefault);
}

TEST(BaseGrid, NewGridQueriesCreateNoProperties)
{
    TestGrid g(4, 4);
    for (int c = -1; c <= 4; ++c)
        for (int r = -1; r <= 4; ++r) {
            EXPECT_TRUE(g.IsBaseCell(c, r));
            EXPECT_EQ(g.BaseCell(c, r), (TGridCoord{c, r}));
            EXPECT_EQ(g.CellSpan(c, r), (TGridCoord{0, 0}));
            EXPECT_EQ(g.CellExt(c, r), (TGridCoord{0, 0}));
            EXPECT_EQ(g.GetObjectEx(c, r), nullptr);
            EXPECT_EQ(g.GetGraphicObjectEx(c, r), nullptr);
            EXPECT_FALSE(g.IsMergedCell(c, r));
            EXPECT_FALSE(g.HasCellProperties(c, r));
            int bc = -9, br = -9;
            EXPECT_TRUE(g.FindBaseCell(c, r, bc, br));
            EXPECT_EQ(TGridCoord(bc, br), (TGridCoord{c, r}));
        }
    (void)g.GetCellEx(1, 1);
    EXPECT_EQ(g.propsCount(), 0);
    EXPECT_FALSE(g.FHasCellProps);
}

TEST(BaseGrid, MergedAreaRedirectsTextAndAnswersQueries)
{
    TestGrid g;
    fillTexts(g);
    g.MergeCells(1, 1, 3, 2);
    EXPECT_EQ(g.FMergeCount, 1);
    EXPECT_EQ(g.propsCount(), 6);
    g.expectMirrored();

    EXPECT_EQ(g.GetCellEx(3, 2), "1:1");
    g.SetCellEx(2, 2, "joined");
    EXPECT_EQ(g.GetGridCell(1, 1), "joined");
    EXPECT_EQ(g.GetGridCell(2, 2), "2:2");
    EXPECT_EQ(g.CellSpan(2, 2), (TGridCoord{2, 1}));
    EXPECT_EQ(g.CellExt(2, 2), (TGridCoord{1, 0}));
    EXPECT_EQ(g.FullCell(3, 2), (TGridRect{1, 1, 3, 2}));
    EXPECT_FALSE(g.IsMergedNonBaseCell(1, 1));
    EXPECT_TRUE(g.IsMergedNonBaseCell(3, 2));

    struct Case
    {
        int c, r;
        bool base;
        int spanX, spanY;
    };
    const Case cases[] = {{1, 1, true, 2, 1},  {2, 1, false, 1, 0}, {3, 1, false, 2, 0},
                          {1, 2, false, 0, 1}, {2, 2, false, 1, 1}, {3, 2, false, 2, 1}};
    for (const Case &k : cases) {
        const TCellProperties *p = g.GetGridObject(k.c, k.r);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->IsBaseCell(), k.base) << k.c << "," << k.r;
        EXPECT_EQ(p->CellSpanX(), k.spanX) << k.c << "," << k.r;
        EXPECT_EQ(p->CellSpanY(), k.spanY) << k.c << "," << k.r;
        EXPECT_EQ(p->GetBaseCell(k.c, k.r), (TGridCoord{1, 1}));
        EXPECT_EQ(g.BaseCell(k.c, k.r), (TGridCoord{1, 1}));
        EXPECT_TRUE(g.IsXMergedCell(k.c, k.r));
        EXPECT_TRUE(g.IsYMergedCell(k.c, k.r));
    }
    EXPECT_EQ(g.MinRowSpan(1), 1);
    EXPECT_EQ(g.MaxRowSpan(2), 1);
    EXPECT_EQ(g.MinRowSpan(4), g.RowCount());
    EXPECT_TRUE(g.RowSpanIdentical(1, 2));
}

class SplitFromEveryCell : public ::testing::TestWithParam<TGridCoord>
{
};

TEST_P(SplitFromEveryCell, RestoresCellsAndTheirTexts)
{
    TestGrid g;
    fillTexts(g);
    g.MergeCells(1, 1, 3, 2);
    g.SplitCells(GetParam().X, GetParam().Y);
    EXPECT_EQ(g.FMergeCount, 0);
    EXPECT_EQ(g.MergedSpans().count(), 0);
    g.expectMirrored();
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            const TCellProperties *p = g.GetGridObject(c, r);
            ASSERT_NE(p, nullptr);
            EXPECT_TRUE(p->IsBaseCell());
            EXPECT_EQ(p->CellSpanX(), -1);
            EXPECT_EQ(p->CellSpanY(), -1);
            EXPECT_EQ(g.GetCellEx(c, r), QStringLiteral("%1:%2").arg(c).arg(r));
        }
}

INSTANTIATE_TEST_SUITE_P(BaseGrid,
                         SplitFromEveryCell,
                         ::testing::Values(TGridCoord{1, 1},
                                           TGridCoord{2, 1},
                                           TGridCoord{3, 1},
                                           TGridCoord{1, 2},
                                           TGridCoord{2, 2},
                                           TGridCoord{3, 2}));

TEST(BaseGrid, OneByOneMergeIsABaseCellWithZeroSpans)
{
    TestGrid g;
    g.showSized();
    g.SetColWidths(2, 0);
    const TRect plain = g.CellRect(2, 2);
    g.MergeCells(2, 2, 1, 1);
    const TCellProperties *p = g.GetGridObject(2, 2);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(p->CellSpanX(), 0);
    EXPECT_EQ(p->CellSpanY(), 0);
    EXPECT_FALSE(g.IsMergedCell(2, 2));
    EXPECT_EQ(g.CellSpan(2, 2), (TGridCoord{0, 0}));
    // The merged path widens a zero-width cell on both sides; the plain one leaves it empty.
    EXPECT_TRUE(plain.IsEmpty());
    EXPECT_EQ(g.CellRect(2, 2).Width(), 2);
}

TEST(BaseGrid, MergeOverAnAreaSplitsItFirstAndClipsAtTheEdge)
{
    TestGrid g(5, 5);
    g.MergeCells(1, 1, 2, 2);
    g.MergeCells(2, 2, 2, 2);
    g.expectMirrored();
    EXPECT_EQ(g.MergedSpans().count(), 1);
    EXPECT_TRUE(g.IsBaseCell(1, 1));
    EXPECT_EQ(g.GetGridObject(1, 1)->CellSpanX(), -1);
    EXPECT_EQ(g.BaseCell(3, 3), (TGridCoord{2, 2}));

    g.MergeCells(3, 3, 10, 10);
    EXPECT_EQ(g.FullCell(3, 3), (TGridRect{3, 3, 4, 4}));
    EXPECT_EQ(g.GetGridObject(5, 5), nullptr);
    g.expectMirrored();

    // A span below 1 counts but merges nothing.
    const int before = g.FMergeCount;
    g.MergeCells(0, 0, 0, 3);
    EXPECT_EQ(g.FMergeCount, before + 1);
    EXPECT_FALSE(g.HasCellProperties(0, 0));
}

TEST(BaseGrid, LoweringTheRowCountCutsAreasAndFreesDroppedProperties)
{
    std::weak_ptr<int> droppedAlive;
    TestGrid g(5, 8);
    g.MergeCells(1, 2, 2, 4); // rows 2..5
    g.MergeCells(0, 6, 2, 2); // rows 6..7
    g.SetGraphicObjectEx(4, 7, trackedGraphic(droppedAlive));
    g.SetRowCount(4);
    EXPECT_TRUE(droppedAlive.expired());
    EXPECT_EQ(g.MergedSpans().count(), 1);
    EXPECT_EQ(g.FullCell(2, 3), (TGridRect{1, 2, 2, 3}));
    g.expectMirrored();
    EXPECT_EQ(g.GetGridObject(1, 2)->CellSpanY(), 1);
    g.SetRowCount(8);
    EXPECT_FALSE(g.HasCellProperties(0, 6));
    EXPECT_FALSE(g.IsMergedCell(1, 5));
}

TEST(BaseGrid, CellsOutsideTheGridAreRefusedBeforeAnyChange)
{
    TestGrid g(3, 3);
    auto expectRefused = [&](auto &&call) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const EQrlGridError &e) {
            EXPECT_STREQ(e.what(), "Grid index out of range");
        }
    };
    expectRefused([&] { g.GetCellProperties(3, 0); });
    expectRefused([&] { g.GetCellProperties(0, -1); });
    expectRefused([&] { g.SetCellProperties(0, 3, nullptr); });
    expectRefused([&] { g.MergeCells(-1, 0, 2, 2); });
    expectRefused([&] { g.SplitCells(0, 5); });
    expectRefused([&] { g.SetCellEx(-1, 0, "x"); });
    EXPECT_EQ(g.FMergeCount, 0);
    EXPECT_EQ(g.propsCount(), 0);
}

TEST(BaseGrid, SetObjectExKeepsEmptyTextAndUsesTheCellsOwnProperties)
{
    TestGrid g;
    int token = 0;
    g.SetObjectEx(4, 4, &token);
    EXPECT_EQ(g.GetObjectEx(4, 4), &token);
    EXPECT_EQ(g.GetGridCell(4, 4), QString());

    g.MergeCells(1, 1, 3, 2);
    g.SetObjectEx(3, 2, &token);
    EXPECT_EQ(g.GetGridObject(3, 2)->CellObject(), &token);
    EXPECT_EQ(g.GetGridObject(1, 1)->CellObject(), nullptr);
    EXPECT_EQ(g.GetGridCell(1, 1), QString());
    EXPECT_EQ(g.GetGridCell(3, 2), QString());
}

TEST(BaseGrid, DisplayTextHooksRunOnlyBelowTheNormalRowCount)
{
    struct Case
    {
        int normalRows, row;
        bool fires;
    };
    const Case cases[] = {{0, 0, false}, {0, 3, false}, {2, 1, true}, {2, 2, false}, {6, 5, true}};
    for (const Case &k : cases) {
        TestGrid g;
        g.SetGridCell(1, k.row, "v");
        g.FNormalRowCount = k.normalRows;
        int fired = 0;
        g.OnGetDisplText = [&](QObject *sender, int c, int r, QString &value) {
            EXPECT_EQ(sender, &g);
            EXPECT_EQ(c, 1);
            EXPECT_EQ(r, k.row);
            ++fired;
            value += "!";
        };
        g.OnGetDisplWideText = [&](QObject *, int, int, QString &value) { value += "?"; };
        // The wide hook's result comes back in the wide cell-text form.
        const QString expected = k.fires ? EncodeWideCellText("v!?") : QStringLiteral("v");
        EXPECT_EQ(g.GetCellEx(1, k.row), expected) << k.normalRows << " " << k.row;
        EXPECT_EQ(fired, k.fires ? 1 : 0);
    }
}

TEST(BaseGrid, SeedingTakesTheCellDefaults)
{
    struct SeedGrid : TestGrid
    {
        void GetCellDefaults(int ACol,
                             int ARow,
                             TFont &AFont,
                             TBrush &ABrush,
                             TColor &ColorTo,
                             TColor &MirrorColor,
                             TColor &MirrorColorTo,
                             TAlignment &HAlign,
                             TVAlignment &VAlign,
                             bool &WW,
                             TCellGradientDirection &GD) override
        {
            EXPECT_TRUE(WW); // starts as the grid's WordWrap
            AFont = TFont("Tahoma", 13, TFontStyle::fsBold, 0x123456);
            ABrush.SetColor(0x00AA00 + ACol + ARow);
            ColorTo = 0x0000BB;
            MirrorColor = MirrorColorTo = 0x1;
            HAlign = TAlignment::taRightJustify;
            VAlign = TVAlignment::vtaBottom;
            WW = false;
            GD = TCellGradientDirection::GradientHorizontal;
        }
    } g;
    const TCellProperties *p = g.GetCellProperties(1, 2);
    EXPECT_TRUE(g.FHasCellProps);
    EXPECT_EQ(p->OwnerCol(), 1);
    EXPECT_EQ(p->OwnerRow(), 2);
    EXPECT_EQ(p->FontName(), "Tahoma");
    EXPECT_EQ(p->FontSize(), TFont("Tahoma", 13).Size());
    EXPECT_TRUE(p->FontStyle().Contains(TFontStyle::fsBold));
    EXPECT_EQ(p->FontColor(), 0x123456u);
    EXPECT_EQ(p->BrushColor(), 0x00AA03u);
    EXPECT_EQ(p->BrushColorTo(), 0x0000BBu);
    EXPECT_EQ(p->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(p->VAlignment(), TVAlignment::vtaBottom);
    EXPECT_FALSE(p->WordWrap());
    EXPECT_EQ(p->GradientDirection(), TCellGradientDirection::GradientHorizontal);
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(g.GetCellProperties(1, 2), p);
}

TEST(BaseGrid, AssignCopiesExactlyTheListedFields)
{
    TestGrid g;
    TCellProperties src(&g, 3, 4), dst(&g, 0, 0);
    int obj = 0, calc = 0;
    src.SetIsBaseCell(false);
    src.SetCellSpanX(2);
    src.SetCellSpanY(1);
    src.SetCellObject(&obj);
    src.SetAlignment(TAlignment::taCenter);
    src.SetBorderColor(7);
    src.SetBorderWidth(3);
    src.SetBrushColor(0x111111);
    src.SetBrushStyle(TBrushStyle::bsCross);
    src.SetFontColor(0x222222);
    src.SetFontStyle(TFontStyle::fsItalic);
    src.SetFontName("Verdana");
    src.SetFontSize(14);
    src.SetReadOnly(true);
    src.SetEditor(TEditorType::edComboList);
    src.SetVAlignment(TVAlignment::vtaCenter);
    src.SetWordWrap(false);
    src.SetNodeLevel(5);
    src.SetControl(&g);
    // Not copied:
    src.SetBrushColorTo(0x333333);
    src.SetCalcType(TColumnCalcType::acSUM);
    src.SetCalcObject(&calc);
    src.SetGradientDirection(TCellGradientDirection::GradientHorizontal);
    src.SetPaintID(9);
    TCellGraphic graphic;
    src.SetGraphicObject(&graphic);

    dst.Assign(src);
    EXPECT_FALSE(dst.IsBaseCell());
    EXPECT_EQ(dst.CellSpanX(), 2);
    EXPECT_EQ(dst.CellSpanY(), 1);
    EXPECT_EQ(dst.OwnerCol(), 3);
    EXPECT_EQ(dst.OwnerRow(), 4);
    EXPECT_EQ(dst.CellObject(), &obj);
    EXPECT_EQ(dst.Alignment(), TAlignment::taCenter);
    EXPECT_EQ(dst.BorderColor(), 7u);
    EXPECT_EQ(dst.BorderWidth(), 3);
    EXPECT_EQ(dst.BrushColor(), 0x111111u);
    EXPECT_EQ(dst.BrushStyle(), TBrushStyle::bsCross);
    EXPECT_EQ(dst.FontColor(), 0x222222u);
    EXPECT_EQ(dst.FontStyle(), TFontStyles(TFontStyle::fsItalic));
    EXPECT_EQ(dst.FontName(), "Verdana");
    EXPECT_EQ(dst.FontSize(), 14);
    EXPECT_TRUE(dst.ReadOnly());
    EXPECT_EQ(dst.Editor(), TEditorType::edComboList);
    EXPECT_EQ(dst.VAlignment(), TVAlignment::vtaCenter);
    EXPECT_FALSE(dst.WordWrap());
    EXPECT_EQ(dst.NodeLevel(), 5);
    EXPECT_EQ(dst.Control(), &g);

    EXPECT_EQ(dst.OwnerGrid(), &g);
    EXPECT_EQ(dst.BrushColorTo(), clNone);
    EXPECT_EQ(dst.CalcType(), TColumnCalcType::acNONE);
    EXPECT_EQ(dst.CalcObject(), nullptr);
    EXPECT_EQ(dst.GradientDirection(), TCellGradientDirection::GradientVertical);
    EXPECT_EQ(dst.PaintID(), 0);
    EXPECT_EQ(dst.GraphicObject(), nullptr);
}

TEST(BaseGrid, FreeingReleasesOnlyPlainCellGraphics)
{
    TestGrid g;
    int derivedDeaths = 0, otherDeaths = 0;
    std::weak_ptr<int> plainAlive, keptAlive;
    auto *derived = new DerivedGraphic(derivedDeaths);
    auto *other = new Counted(otherDeaths);
    g.SetGraphicObjectEx(1, 1, trackedGraphic(plainAlive));
    g.SetGraphicObjectEx(2, 1, derived);
    g.SetGraphicObjectEx(3, 1, other);
    TCellGraphic *kept = trackedGraphic(keptAlive);
    g.SetGraphicObjectEx(4, 1, kept);
    EXPECT_EQ(g.GetGridCell(1, 1), QString());

    // One cell's properties go without their graphic.
    g.FreeCellPropertiesAt(4, 1);
    EXPECT_FALSE(g.HasCellProperties(4, 1));
    EXPECT_FALSE(keptAlive.expired());

    g.FreeCellProperties(0, 0, 5, 5);
    EXPECT_TRUE(plainAlive.expired());
    EXPECT_EQ(derivedDeaths, 0);
    EXPECT_EQ(otherDeaths, 0);
    EXPECT_EQ(g.propsCount(), 0);

    delete derived;
    delete other;
    delete kept;
    EXPECT_EQ(derivedDeaths, 1);
    EXPECT_EQ(otherDeaths, 1);
}

// Replacing or taking out a cell graphic frees the old one exactly when it belongs to the cell.
TEST(BaseGrid, ReplacingAGraphicFreesOnlyTheCellsOwn)
{
    struct Case
    {
        const char *what;
        TCellType type; // the old graphic's kind
        bool replaceWithItself;
        bool freed;
    };
    const Case cases[] = {
        {"own graphic", TCellType::ctCheckBox, false, true},
        {"own graphic set again", TCellType::ctCheckBox, true, false},
        {"lent check box", TCellType::ctVirtCheckBox, false, false},
        {"lent row check box", TCellType::ctRowCheckBox, false, false},
    };
    for (const Case &c : cases) {
        for (const bool takeOut : {false, true}) {
            TestGrid g;
            std::weak_ptr<int> alive;
            TCellGraphic *old = trackedGraphic(alive);
            old->SetCellType(c.type);
            g.SetGraphicObjectEx(2, 3, old);
            TPersistent *next = c.replaceWithItself ? old : (takeOut ? nullptr : new TCellGraphic);
            EXPECT_TRUE(g.ReplaceGraphicObject(2, 3, next)) << c.what;
            EXPECT_EQ(g.GetGraphicObjectEx(2, 3), next) << c.what;
            EXPECT_EQ(alive.expired(), c.freed) << c.what << (takeOut ? ", taken out" : "");
            // The grid frees what the cell holds now; what it gave up is the caller's.
            if (!c.freed && old != next)
                delete old;
        }
    }

    // Another kind of object is not a cell graphic: it is never freed, and the cell reads as
    // having had none.
    TestGrid g;
    int deaths = 0;
    auto *other = new Counted(deaths);
    g.SetGraphicObjectEx(1, 1, other);
    EXPECT_FALSE(g.ReplaceGraphicObject(1, 1, nullptr));
    EXPECT_EQ(deaths, 0);
    delete other;
    EXPECT_FALSE(g.ReplaceGraphicObject(4, 4, nullptr));
}

TEST(BaseGrid, ColSpanIdentical)
{
    struct Case
    {
        const char *name;
        std::vector<TGridRect> merges; // Left, Top = base; Right, Bottom = width, height
        bool identical;
    };
    const Case cases[] = {
        {"same areas in some rows, unmerged in the others", {{1, 1, 2, 1}, {0, 3, 4, 1}}, true},
        {"unmerged everywhere", {}, false},
        {"different areas side by side", {{0, 2, 2, 1}, {2, 2, 2, 1}}, false},
        {"one column merged, the other not", {{0, 2, 2, 1}}, false},
        {"vertical merge only", {{1, 1, 1, 3}, {2, 1, 1, 3}}, false},
    };
    for (const Case &k : cases) {
        TestGrid g;
        for (const TGridRect &m : k.merges)
            g.MergeCells(m.Left, m.Top, m.Right, m.Bottom);
        EXPECT_EQ(g.ColSpanIdentical(1, 2), k.identical) << k.name;
    }
}

TEST(BaseGrid, MergedCellRectAndEditorCoverTheArea)
{
    TestGrid g;
    g.showSized();
    g.SetColWidths(2, 40);
    g.SetRowHeights(2, 30);
    g.MergeCells(1, 1, 3, 2);
    const TRect area = unite(g.UnclippedCellRect(1, 1), g.UnclippedCellRect(3, 2));
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_EQ(g.CellRect(c, r), area);
            EXPECT_EQ(g.EditorRect(c, r), area);
        }
    EXPECT_EQ(g.CellSize(2, 2), (TPoint{area.Width(), area.Height()}));
    EXPECT_EQ(g.CellRect(4, 4), g.UnclippedCellRect(4, 4));
    EXPECT_EQ(g.CalcCellRect(0, 0), (TRect{0, 0, g.ColWidths(0), g.RowHeights(0)}));
    EXPECT_EQ(g.FixedColsWidth(), g.ColWidths(0));
    EXPECT_EQ(g.FixedRowsHeight(), g.RowHeights(0));
}

TEST(BaseGrid, ChangingAMergedCellRepaintsTheWholeArea)
{
    struct Case
    {
        const char *name;
        void (*change)(TestGrid &);
    };
    const Case cases[] = {
        {"text of the base cell", [](TestGrid &g) { g.SetCellEx(1, 1, "x"); }},
        {"text through a covered cell", [](TestGrid &g) { g.SetCellEx(3, 2, "y"); }},
        {"brush colour", [](TestGrid &g) { g.GetCellProperties(1, 1)->SetBrushColor(0xFF); }},
        {"vertical alignment",
         [](TestGrid &g) { g.GetCellProperties(2, 2)->SetVAlignment(TVAlignment::vtaBottom); }},
        {"split", [](TestGrid &g) { g.SplitCells(2, 2); }},
    };
    for (const Case &k : cases) {
        TestGrid g;
        g.showSized();
        g.MergeCells(1, 1, 3, 2);
        const TRect area = unite(g.UnclippedCellRect(1, 1), g.UnclippedCellRect(3, 2));
        g.invalidated.clear();
        k.change(g);
        EXPECT_TRUE(g.covered(area)) << k.name;
    }
}

TEST(BaseGrid, AreaReachingPastTheViewStillRepaintsFromItsFarCells)
{
    TestGrid g(30, 30);
    g.showSized();
    const int lastInView = g.LeftCol() + g.VisibleColCount() - 1;
    g.MergeCells(lastInView, 2, 6, 1);
    const TRect area =
        unite(g.UnclippedCellRect(lastInView, 2), g.UnclippedCellRect(lastInView + 5, 2));
    g.invalidated.clear();
    g.GetCellProperties(lastInView + 4, 2)->SetBrushColor(0x00FF00);
    EXPECT_TRUE(g.covered(area));

    g.SplitCells(lastInView, 2);
    EXPECT_TRUE(g.DropOffscreenRepaints());
}

TEST(BaseGrid, PlaceholderPaintDrawsAnAreasTextOnceAndCountsPasses)
{
    TestGrid g(4, 4);
    g.showSized();
    fillTexts(g);
    g.MergeCells(1, 1, 2, 2);
    TRecordingCanvas canvas;
    const int pass = g.FPaintID;
    g.PaintTo(canvas);
    EXPECT_EQ(g.FPaintID, pass + 1);
    const QStringList texts = canvas.Texts();
    EXPECT_EQ(texts.count("1:1"), 1);
    EXPECT_EQ(texts.count("3:3"), 1);
    EXPECT_EQ(texts.size(), 16 - 3);
}

TEST(BaseGrid, KeysAndWheelLeaveTheCursorOnBaseCells)
{
    // Area of columns 2..3, rows 2..3; key 0 is the wheel down, 1 the wheel up.
    struct Case
    {
        TGridCoord from;
        int key;
        TGridCoord to;
    };
    const Case cases[] = {
        {{2, 2}, Qt::Key_Right, {4, 2}},
        {{2, 2}, Qt::Key_Down, {2, 4}},
        {{4, 2}, Qt::Key_Left, {2, 2}},
        {{2, 4}, Qt::Key_Up, {2, 2}},
        {{3, 3}, Qt::Key_Left, {1, 3}},
        {{3, 3}, Qt::Key_Up, {3, 1}},
        {{3, 3}, Qt::Key_Right, {4, 3}},
        {{3, 1}, 0, {2, 2}},
        {{3, 4}, 1, {2, 2}},
    };
    for (const Case &k : cases) {
        TestGrid g;
        g.showSized();
        g.SetCol(k.from.X);
        g.SetRow(k.from.Y);
        g.MergeCells(2, 2, 2, 2);
        if (k.key == 0) {
            g.DoMouseWheelDown({}, {});
        } else if (k.key == 1) {
            g.DoMouseWheelUp({}, {});
        } else {
            int key = k.key;
            g.KeyDown(key, {});
        }
        EXPECT_EQ(TGridCoord(g.Col(), g.Row()), k.to)
            << k.from.X << "," << k.from.Y << " key " << k.key;
    }
}

TEST(BaseGrid, DestructionFreesEverythingItOwns)
{
    std::weak_ptr<int> plainAlive, detachedGraphicAlive, hiddenAlive;
    {
        TestGrid g;
        fillTexts(g);
        g.MergeCells(1, 1, 3, 2);
        g.MergeCells(0, 4, 2, 2);
        g.GetCellProperties(5, 5)->SetFontName("Tahoma");
        g.SetGraphicObjectEx(2, 1, trackedGraphic(plainAlive));
        // Detached from its slot as the line operations do: still the grid's.
        g.SetGraphicObjectEx(4, 3, trackedGraphic(detachedGraphicAlive));
        g.ClearCell(4, 3);
        // Kept beyond a lowered column count.
        g.SetGraphicObjectEx(5, 0, trackedGraphic(hiddenAlive));
        g.SetColCount(5);
        EXPECT_FALSE(plainAlive.expired());
    }
    EXPECT_TRUE(plainAlive.expired());
    EXPECT_TRUE(detachedGraphicAlive.expired());
    EXPECT_TRUE(hiddenAlive.expired());
}

TEST(BaseGrid, UndoComponentTargetsTheGrid)
{
    TQrlGridUndoRedo undo;
    {
        TestGrid g;
        g.MergeCells(1, 1, 2, 1);
        g.SetUndoRedo(&undo);
        ASSERT_NE(undo.Grid(), nullptr);
        undo.Grid()->UndoSetCell(2, 1, "via undo");
        EXPECT_EQ(g.GetGridCell(1, 1), "via undo");
    }
    EXPECT_EQ(undo.Grid(), nullptr);
}

} // namespace
