#include "grid/model/DropdownAppearance.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

// Stands in for the string grid: records what the option objects ask of it.
class FakeOptionsGrid : public IQrlOptionsGrid
{
public:
    void OptionsInvalidate() override { ++invalidates; }
    void OptionsRepaintCell(int ACol, int ARow) override { repaintedCells.push_back({ACol, ARow}); }
    void OptionsRepaintRow(int ARow) override { repaintedRows.push_back(ARow); }
    int OptionsFixedRows() const override { return fixedRows; }
    TSortIndexList &OptionsSortIndexes() override { return sortIndexes; }
    void OptionsQSort() override { ++sorts; }
    void OptionsQSortIndexed() override { ++indexedSorts; }
    void OptionsSetQuorlGradient(TQuorlGradientRole Role, TColor Value) override
    {
        gradients[Role] = Value;
    }

    int fixedRows = 1;
    int invalidates = 0;
    int sorts = 0;
    int indexedSorts = 0;
    std::vector<std::pair<int, int>> repaintedCells;
    std::vector<int> repaintedRows;
    TSortIndexList sortIndexes;
    std::map<TQuorlGradientRole, TColor> gradients;
};

// --- Sort settings --------------------------------------------------------------------------

TEST(SortSettings, Defaults)
{
    TSortSettings s;
    EXPECT_TRUE(s.AutoSortForGrouping());
    EXPECT_EQ(s.Column(), -1);
    EXPECT_FALSE(s.Show());
    EXPECT_EQ(s.IndexColor(), clYellow);
    EXPECT_EQ(s.IndexSortKey(), TIndexSortKey::ikShift);
    EXPECT_TRUE(s.Full());
    EXPECT_EQ(s.BlankPos(), TSortBlankPosition::blFirst);
    EXPECT_TRUE(s.AutoFormat());
    EXPECT_EQ(s.Direction(), TSortDirection::sdAscending);
    EXPECT_TRUE(s.UpGlyph().Empty());
    EXPECT_EQ(s.Row(), 0);
    EXPECT_TRUE(s.SortOnVirtualCells());
    EXPECT_EQ(s.HeaderColor(), clNone);
    EXPECT_EQ(s.HeaderMirrorColorTo(), clNone);
}

TEST(SortSettings, SaveToString)
{
    FakeOptionsGrid grid;
    TSortSettings s(&grid);
    EXPECT_EQ(s.SaveToString(), QStringLiteral("u-1"));
    s.SetColumn(3);
    s.SetDirection(TSortDirection::sdDescending);
    EXPECT_EQ(s.SaveToString(), QStringLiteral("d3"));
    s.SetIndexShow(true);
    grid.sortIndexes.AddIndex(3, true);
    grid.sortIndexes.AddIndex(1, false);
    EXPECT_EQ(s.SaveToString(), QStringLiteral("i;u3;d1"));
}

TEST(SortSettings, LoadFromString)
{
    struct Case
    {
        const char *text;
        TSortDirection direction;
        int column;
        bool indexShow;
        int sorts;
        int indexedSorts;
    };
    const auto asc = TSortDirection::sdAscending, desc = TSortDirection::sdDescending;
    const Case cases[] = {
        {"u2", asc, 2, false, 1, 0},
        {"d2", desc, 2, false, 1, 0},
        {"x2", desc, 2, false, 1, 0},
        {"u-1", asc, -1, false, 1, 0},
        // Not a number: the direction changes, the column and the rows do not.
        {"dz", desc, 7, false, 0, 0},
        {"i;", asc, 7, true, 0, 0},
        {"i;u3;d1", asc, 7, true, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        FakeOptionsGrid grid;
        TSortSettings s(&grid);
        s.SetColumn(7);
        s.LoadFromString(QString::fromUtf8(c.text));
        EXPECT_TRUE(s.Show());
        EXPECT_EQ(grid.invalidates, 1);
        EXPECT_EQ(s.Direction(), c.direction);
        EXPECT_EQ(s.Column(), c.column);
        EXPECT_EQ(s.IndexShow(), c.indexShow);
        EXPECT_EQ(grid.sorts, c.sorts);
        EXPECT_EQ(grid.indexedSorts, c.indexedSorts);
    }
}

TEST(SortSettings, TextFormReadsBack)
{
    const char *texts[] = {"u0", "d12", "u-1", "i;u3;d1", "i;d0"};
    for (const char *text : texts) {
        SCOPED_TRACE(text);
        FakeOptionsGrid grid;
        TSortSettings s(&grid);
        s.LoadFromString(QString::fromUtf8(text));
        EXPECT_EQ(s.SaveToString(), QString::fromUtf8(text));
    }
}

TEST(SortSettings, LoadFaults)
{
    FakeOptionsGrid grid;
    TSortSettings s(&grid);
    s.LoadFromString(QString());
    EXPECT_FALSE(s.Show()) << "an empty text does nothing";
    try {
        s.LoadFromString(QStringLiteral("u"));
        FAIL() << "no error";
    } catch (const EQrlGridError &e) {
        EXPECT_STREQ(e.what(), "Invalid sort settings specifier");
    }
    EXPECT_TRUE(s.Show()) << "Show is set before the check";
}

TEST(SortSettings, RowMustBeAFixedRow)
{
    FakeOptionsGrid grid;
    TSortSettings s(&grid);
    s.SetRow(0);
    EXPECT_EQ(s.Row(), 0);
    try {
        s.SetRow(1);
        FAIL() << "no error";
    } catch (const EQrlGridError &e) {
        EXPECT_STREQ(e.what(), "Sort row should be smaller than number of fixed rows");
    }
    EXPECT_EQ(s.Row(), 0);
    grid.fixedRows = 3;
    s.SetRow(2);
    EXPECT_EQ(s.Row(), 2);
}

TEST(SortSettings, RemoveToggleAndHeaderRepaint)
{
    FakeOptionsGrid grid;
    grid.fixedRows = 2;
    TSortSettings s(&grid);
    s.SetColumn(4);
    grid.sortIndexes.AddIndex(4, true);
    s.Remove();
    EXPECT_EQ(s.Column(), -1);
    EXPECT_EQ(grid.sortIndexes.Count(), 0);
    EXPECT_EQ(grid.repaintedRows, std::vector<int>{1});

    s.ToggleDirection();
    EXPECT_EQ(s.Direction(), TSortDirection::sdDescending);
    s.ToggleDirection();
    EXPECT_EQ(s.Direction(), TSortDirection::sdAscending);
    EXPECT_EQ(grid.sorts + grid.invalidates, 0);

    grid.repaintedRows.clear();
    s.SetHeaderColor(clNone);
    s.SetHeaderColor(clRed);
    s.SetHeaderMirrorColorTo(clBlue);
    EXPECT_EQ(grid.repaintedRows, (std::vector<int>{1, 1}));
    grid.fixedRows = 0;
    s.SetHeaderColorTo(clRed);
    EXPECT_EQ(grid.repaintedRows.size(), 2u) << "no header row to repaint";
}

TEST(SortSettings, AssignSkipsIgnoreCaseAndVirtualCells)
{
    TSortSettings src, dst;
    src.SetColumn(5);
    src.SetDirection(TSortDirection::sdDescending);
    src.SetIgnoreCase(true);
    src.SetSortOnVirtualCells(false);
    src.SetUndoSort(true);
    src.SetHeaderColor(clRed);
    TBitmap glyph(4, 3);
    src.SetUpGlyph(glyph);
    dst.Assign(src);
    EXPECT_EQ(dst.Column(), 5);
    EXPECT_EQ(dst.Direction(), TSortDirection::sdDescending);
    EXPECT_TRUE(dst.UndoSort());
    EXPECT_EQ(dst.HeaderColor(), clRed);
    EXPECT_EQ(dst.UpGlyph().Width(), 4);
    EXPECT_FALSE(dst.IgnoreCase());
    EXPECT_TRUE(dst.SortOnVirtualCells());
}

// --- Control look ---------------------------------------------------------------------------

TEST(ControlLook, DefaultsAndDropDownBars)
{
    TControlLook l;
    EXPECT_EQ(l.Color(), 0u);
    EXPECT_EQ(l.CommentColor(), clRed);
    EXPECT_EQ(l.CheckSize(), 15);
    EXPECT_EQ(l.RadioSize(), 10);
    EXPECT_EQ(l.ControlStyle(), TControlStyle::csTheme);
    EXPECT_EQ(l.DropDownCount(), 8);
    EXPECT_EQ(l.ProgressBorderColor(), clGray);
    EXPECT_EQ(l.ProgressMarginX(), 2);
    EXPECT_EQ(l.ProgressMarginY(), 2);
    EXPECT_EQ(l.FixedGradientFrom(), clNone);
    EXPECT_EQ(l.FixedGradientHoverFrom(), clWhite);
    EXPECT_EQ(l.FixedGradientHoverTo(), clGray);
    EXPECT_EQ(l.FixedGradientHoverBorder(), clSilver);
    EXPECT_EQ(l.FixedGradientDownFrom(), clSilver);
    EXPECT_EQ(l.FixedGradientDownTo(), clGray);
    EXPECT_EQ(l.FixedGradientDownBorder(), clGray);
    EXPECT_EQ(l.DropDownHeader().Height(), 22);
    EXPECT_EQ(l.DropDownFooter().Height(), 22);
}

TEST(ControlLook, ConstructionClearsTheGridsMirrorColours)
{
    FakeOptionsGrid grid;
    TControlLook l(&grid);
    using R = TQuorlGradientRole;
    const std::map<R, TColor> expected = {{R::QuorlGradientHoverMirrorFrom, clNone},
                                          {R::QuorlGradientHoverMirrorTo, clNone},
                                          {R::QuorlGradientDownMirrorFrom, clNone},
                                          {R::QuorlGradientDownMirrorTo, clNone}};
    EXPECT_EQ(grid.gradients, expected);
}

TEST(ControlLook, GradientColoursForwardToTheGrid)
{
    using R = TQuorlGradientRole;
    using Setter = void (TControlLook::*)(TColor);
    struct Case
    {
        const char *name;
        Setter set;
        R role;
        bool forwardsNone;
    };
    const Case cases[] = {
        {"From", &TControlLook::SetFixedGradientFrom, R::QuorlGradientFrom, false},
        {"To", &TControlLook::SetFixedGradientTo, R::QuorlGradientTo, false},
        {"MirrorFrom", &TControlLook::SetFixedGradientMirrorFrom, R::QuorlGradientMirrorFrom, true},
        {"MirrorTo", &TControlLook::SetFixedGradientMirrorTo, R::QuorlGradientMirrorTo, true},
        {"HoverFrom", &TControlLook::SetFixedGradientHoverFrom, R::QuorlGradientHoverFrom, false},
        {"HoverTo", &TControlLook::SetFixedGradientHoverTo, R::QuorlGradientHoverTo, false},
        {"HoverMirrorFrom", &TControlLook::SetFixedGradientHoverMirrorFrom,
         R::QuorlGradientHoverMirrorFrom, true},
        {"HoverMirrorTo", &TControlLook::SetFixedGradientHoverMirrorTo,
         R::QuorlGradientHoverMirrorTo, true},
        {"HoverBorder", &TControlLook::SetFixedGradientHoverBorder, R::QuorlGradientHoverBorder,
         false},
        {"DownFrom", &TControlLook::SetFixedGradientDownFrom, R::QuorlGradientDownFrom, false},
        {"DownTo", &TControlLook::SetFixedGradientDownTo, R::QuorlGradientDownTo, false},
        {"DownMirrorFrom", &TControlLook::SetFixedGradientDownMirrorFrom,
         R::QuorlGradientDownMirrorFrom, true},
        {"DownMirrorTo", &TControlLook::SetFixedGradientDownMirrorTo, R::QuorlGradientDownMirrorTo,
         true},
        {"DownBorder", &TControlLook::SetFixedGradientDownBorder, R::QuorlGradientDownBorder,
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeOptionsGrid grid;
        TControlLook l(&grid);
        (l.*c.set)(0x123456);
        EXPECT_EQ(grid.gradients.at(c.role), 0x123456u);
        (l.*c.set)(clNone);
        EXPECT_EQ(grid.gradients.at(c.role), c.forwardsNone ? clNone : 0x123456u);
        EXPECT_EQ(grid.invalidates, 0) << "the grid's colour setters repaint";
    }
}

TEST(ControlLook, InvalidatingAndStoredProperties)
{
    struct Case
    {
        const char *name;
        std::function<void(TControlLook &)> change;
        bool invalidates;
    };
    const TBitmap glyph(3, 3);
    const Case cases[] = {
        {"Color", [](TControlLook &l) { l.SetColor(l.Color()); }, true},
        {"CheckSize", [](TControlLook &l) { l.SetCheckSize(20); }, true},
        {"CheckedGlyph", [&](TControlLook &l) { l.SetCheckedGlyph(glyph); }, true},
        {"ControlStyle", [](TControlLook &l) { l.SetControlStyle(TControlStyle::csFlat); }, true},
        {"ProgressMarginY", [](TControlLook &l) { l.SetProgressMarginY(4); }, true},
        {"FlatButton", [](TControlLook &l) { l.SetFlatButton(true); }, true},
        {"CheckAlwaysActive", [](TControlLook &l) { l.SetCheckAlwaysActive(true); }, false},
        {"DropDownCount", [](TControlLook &l) { l.SetDropDownCount(3); }, false},
        {"ProgressBorderColor", [](TControlLook &l) { l.SetProgressBorderColor(clRed); }, false},
        {"HintMaxWidth", [](TControlLook &l) { l.SetHintMaxWidth(100); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeOptionsGrid grid;
        TControlLook l(&grid);
        c.change(l);
        EXPECT_EQ(grid.invalidates, c.invalidates ? 1 : 0);
    }
}

TEST(ControlLook, AssignCopiesFieldsWithoutForwarding)
{
    TControlLook src;
    src.SetFixedGradientFrom(0x010101);
    src.SetFixedGradientDownMirrorTo(0x020202);
    src.SetCheckSize(21);
    src.SetFlatButton(true);
    src.SetProgressXP(true);
    src.SetHintMaxWidth(250);
    src.DropDownHeader().SetCaption(QStringLiteral("head"));
    src.DropDownFooter().SetSizeGrip(false);

    FakeOptionsGrid grid;
    TControlLook dst(&grid);
    grid.gradients.clear();
    dst.Assign(src);
    EXPECT_EQ(dst.FixedGradientFrom(), 0x010101u);
    EXPECT_EQ(dst.FixedGradientDownMirrorTo(), 0x020202u);
    EXPECT_EQ(dst.FixedGradientHoverTo(), clGray);
    EXPECT_TRUE(grid.gradients.empty());
    EXPECT_EQ(dst.CheckSize(), 21);
    EXPECT_EQ(dst.HintMaxWidth(), 250);
    EXPECT_FALSE(dst.FlatButton());
    EXPECT_FALSE(dst.ProgressXP());
    EXPECT_EQ(dst.DropDownHeader().Caption(), QStringLiteral("head"));
    EXPECT_FALSE(dst.DropDownFooter().SizeGrip());
    EXPECT_EQ(grid.invalidates, 0);
}

TEST(ControlLook, InitRestoresTheDefaultColours)
{
    FakeOptionsGrid grid;
    TControlLook l(&grid);
    l.SetColor(clRed);
    l.SetFixedGradientHoverFrom(clRed);
    l.SetFixedGradientHoverMirrorFrom(clRed);
    l.SetCheckSize(30);
    l.Init();
    EXPECT_EQ(l.Color(), 0u);
    EXPECT_EQ(l.FixedGradientHoverFrom(), clWhite);
    EXPECT_EQ(grid.gradients.at(TQuorlGradientRole::QuorlGradientHoverFrom), clRed)
        << "only the look is reset";
    EXPECT_EQ(grid.gradients.at(TQuorlGradientRole::QuorlGradientHoverMirrorFrom), clNone);
    EXPECT_EQ(l.CheckSize(), 30);
}

// --- Other option objects -------------------------------------------------------------------

TEST(BackGround, DefaultsAndRepaintOnEverySet)
{
    FakeOptionsGrid grid;
    TBackGround b(&grid);
    EXPECT_EQ(b.Display(), TBackGroundDisplay::bdTile);
    EXPECT_EQ(b.Cells(), TBackGroundCells::bcNormal);
    EXPECT_EQ(b.Color(), clWindow);
    EXPECT_EQ(b.ColorTo(), clBtnFace);
    b.SetTop(0);
    b.SetColor(b.Color());
    b.SetBitmap(TBitmap(2, 2));
    EXPECT_EQ(grid.invalidates, 3);
    EXPECT_EQ(b.Bitmap().Width(), 2);
}

TEST(Grouping, DefaultsAndAssign)
{
    TGrouping src, dst;
    EXPECT_EQ(src.HeaderLineColor(), clBlue);
    EXPECT_EQ(src.HeaderLineWidth(), 2);
    EXPECT_EQ(src.SummaryLineWidth(), 2);
    EXPECT_EQ(src.HeaderColor(), clNone);
    src.SetGroupCountFormat(QStringLiteral("(%d)"));
    src.SetSummaryLine(true);
    src.SetHeaderLineColor(clRed);
    src.SetHeaderLineWidth(5);
    src.SetSummary(true);
    src.SetSummaryLineColor(clRed);
    src.SetSummaryLineWidth(5);
    dst.Assign(src);
    EXPECT_EQ(dst.GroupCountFormat(), QStringLiteral("(%d)"));
    EXPECT_TRUE(dst.SummaryLine());
    EXPECT_EQ(dst.HeaderLineColor(), clBlue);
    EXPECT_EQ(dst.HeaderLineWidth(), 2);
    EXPECT_FALSE(dst.Summary());
    EXPECT_EQ(dst.SummaryLineColor(), clBlue);
    EXPECT_EQ(dst.SummaryLineWidth(), 2);
}

TEST(BalloonAndShowModified, EventsAndAssign)
{
    TBalloonSettings b;
    EXPECT_EQ(b.AutoHideDelay(), -1);
    EXPECT_EQ(b.BackgroundColor(), clNone);
    int enableEvents = 0;
    b.OnEnableChange = [&](TPersistent *) { ++enableEvents; };
    b.SetEnable(false);
    b.SetEnable(true);
    EXPECT_EQ(enableEvents, 2);
    TBalloonSettings copy;
    b.SetTransparency(100);
    b.SetReshowDelay(7);
    copy.OnEnableChange = [&](TPersistent *) { ++enableEvents; };
    copy.Assign(b);
    EXPECT_TRUE(copy.Enable());
    EXPECT_EQ(copy.ReshowDelay(), 7);
    EXPECT_EQ(copy.Transparency(), 0);
    EXPECT_EQ(enableEvents, 2);

    TShowModified m;
    EXPECT_EQ(m.Color(), clYellow);
    int changes = 0;
    m.OnChange = [&](TPersistent *) { ++changes; };
    m.SetColor(clYellow);
    m.SetEnabled(true);
    EXPECT_EQ(changes, 1);
    TShowModified mc;
    mc.Assign(m);
    EXPECT_TRUE(mc.Enabled());
}

TEST(DragScrollOptions, DefaultsAndDeepCopy)
{
    TDragScrollOptions src, dst;
    EXPECT_EQ(src.Delays().InitialDelay(), 1000);
    EXPECT_EQ(src.Delays().RepeatDelay(), 250);
    EXPECT_EQ(src.Margins().LeftMargin(), 50);
    src.SetActive(true);
    src.Delays().SetRepeatDelay(10);
    src.Margins().SetBottomMargin(9);
    dst.Assign(src);
    src.Delays().SetRepeatDelay(20);
    EXPECT_TRUE(dst.Active());
    EXPECT_EQ(dst.Delays().RepeatDelay(), 10);
    EXPECT_EQ(dst.Margins().BottomMargin(), 9);
}

TEST(ProgressAppearance, ChangeEventsAndAssign)
{
    TGridProgressAppearance p;
    EXPECT_EQ(p.CompleteColor(), clRed);
    EXPECT_EQ(p.UnCompleteColor(), clNone);
    EXPECT_EQ(p.UnCompleteFontColor(), clWindowText);
    EXPECT_EQ(p.Level2Color(), 0x53A9FFu);
    EXPECT_EQ(p.Level1Perc(), 70);
    EXPECT_EQ(p.Steps(), 11);
    EXPECT_EQ(p.Style(), TProgressStyle::psXP);
    int events = 0;
    p.OnChange = [&](TPersistent *) { ++events; };
    p.SetSteps(11);
    p.SetShowGradient(true);
    EXPECT_EQ(events, 0);
    p.SetSteps(5);
    EXPECT_EQ(events, 1);

    TGridProgressAppearance src;
    src.SetLevel3ColorTo(0x0A0B0C);
    src.SetStyle(TProgressStyle::psClassic);
    events = 0;
    p.Assign(src);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(p.Level3ColorTo(), 0x0A0B0Cu);
    EXPECT_EQ(p.Steps(), 11);
    EXPECT_EQ(p.Style(), TProgressStyle::psClassic);
}

TEST(FilterDropDown, DefaultsGlyphEventsAndAssign)
{
    TFilterDropDown f;
    EXPECT_EQ(f.Height(), 150);
    EXPECT_EQ(f.Width(), 150);
    EXPECT_EQ(f.Color(), clWindow);
    int events = 0;
    f.OnChange = [&](TPersistent *) { ++events; };
    f.SetGlyph(TBitmap(5, 5));
    f.SetGlyphActive(TBitmap(6, 6));
    f.SetWidth(10);
    EXPECT_EQ(events, 2);
    f.SetAutoSize(true);
    TFilterDropDown copy;
    int copyEvents = 0;
    copy.OnChange = [&](TPersistent *sender) {
        EXPECT_EQ(sender, &copy);
        ++copyEvents;
    };
    copy.Assign(f);
    EXPECT_EQ(copyEvents, 2) << "each copied glyph is a change of it";
    EXPECT_EQ(copy.Glyph().Width(), 5);
    EXPECT_EQ(copy.GlyphActive().Width(), 6);
    EXPECT_EQ(copy.Width(), 10);
    EXPECT_FALSE(copy.AutoSize());
}

TEST(Filter, ConditionsPerColumn)
{
    FakeOptionsGrid grid;
    TFilter filter(&grid);
    TFilterData *first = filter.GetColFilter(2);
    EXPECT_EQ(first->Operation(), TFilterOperation::foNONE);
    EXPECT_EQ(first->Column(), 2);
    EXPECT_TRUE(first->CaseSensitive());
    EXPECT_EQ(first->Data(), TFilterCells::fcVirtual);
    EXPECT_EQ(first->Method(), TFilterMethod::fmExpression);
    EXPECT_EQ(filter.GetColFilter(5)->Operation(), TFilterOperation::foAND);
    EXPECT_EQ(filter.GetColFilter(2), first);
    EXPECT_EQ(filter.Count(), 2);
    EXPECT_EQ(filter.Insert()->Operation(), TFilterOperation::foSHORT);

    filter.Add()->SetColumn(2);
    filter.Items(2)->SetColumn(2);
    EXPECT_TRUE(filter.HasFilter(2));
    filter.RemoveColumnFilter(2);
    EXPECT_FALSE(filter.HasFilter(2));
    EXPECT_EQ(filter.Count(), 1);
    EXPECT_EQ(filter.Items(0)->Column(), 5);
    EXPECT_EQ(grid.repaintedCells, (std::vector<std::pair<int, int>>{{2, 0}}));
}

TEST(Filter, ItemWriteAndCollectionCopy)
{
    TFilter filter;
    filter.Add();
    TFilterData d;
    d.SetColumn(3);
    d.SetCondition(QStringLiteral(">5"));
    d.SetMethod(TFilterMethod::fmLiteral);
    d.SetOperation(TFilterOperation::foOR);
    filter.SetItems(0, d);
    EXPECT_EQ(filter.Items(0)->Condition(), QStringLiteral(">5"));
    EXPECT_EQ(filter.Items(0)->Operation(), TFilterOperation::foOR);
    EXPECT_EQ(filter.Items(0)->Method(), TFilterMethod::fmExpression) << "Method not copied";

    TFilter copy;
    copy.Assign(filter);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Items(0)->Column(), 3);
    EXPECT_THROW(copy.Items(1), std::out_of_range);
}

TEST(ChangeNotifier, DescendantsReceiveTheRectangle)
{
    struct Recorder : TGridChangeNotifier
    {
        void CellsChanged(const plat::TGridRect &R) override { last = R; }
        plat::TGridRect last;
    };
    Recorder r;
    TGridChangeNotifier &base = r;
    base.CellsChanged({1, 2, 3, 4});
    EXPECT_EQ(r.last, (plat::TGridRect{1, 2, 3, 4}));
}

// --- Dropdown bar settings ------------------------------------------------------------------

TEST(DropDownAppearance, Defaults)
{
    THeaderAppearance h;
    TFooterAppearance f;
    EXPECT_TRUE(h.Visible());
    EXPECT_EQ(h.Height(), 22);
    EXPECT_EQ(h.BorderWidth(), 1);
    EXPECT_EQ(h.ImageIndex(), -1);
    EXPECT_TRUE(h.Caption().isEmpty());
    EXPECT_EQ(h.ColorTo(), clWhite);
    EXPECT_EQ(h.Color(), clSilver);
    EXPECT_EQ(h.BorderColor(), 0u);
    EXPECT_EQ(h.GradientDirection(), TGradientDirection::gdVertical);
    EXPECT_EQ(h.ButtonAlignment(), TButtonAlignment::baRight);
    EXPECT_EQ(h.Font().Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(f.Font().Name(), TFont().Name());
    EXPECT_TRUE(f.SizeGrip());
    EXPECT_EQ(f.Buttons().Count(), 0);
}

TEST(DropDownAppearance, AssignByContentAndOnlyFromItsOwnKind)
{
    THeaderAppearance src;
    src.SetColor(clRed);
    src.SetCaption(QStringLiteral("Pick"));
    src.SetVisible(false);
    src.Buttons().Add()->SetCaption(QStringLiteral("OK"));
    src.SetFont(TFont(QStringLiteral("Tahoma"), 15));

    THeaderAppearance dst;
    int changes = 0;
    dst.OnChange = [&](TPersistent *) { ++changes; };
    dst.Assign(src);
    EXPECT_EQ(dst.Color(), clRed);
    EXPECT_EQ(dst.Caption(), QStringLiteral("Pick"));
    EXPECT_FALSE(dst.Visible());
    EXPECT_EQ(changes, 1) << "Visible goes through its writer";
    ASSERT_EQ(dst.Buttons().Count(), 1);
    EXPECT_NE(dst.Buttons().Items(0), src.Buttons().Items(0));
    EXPECT_EQ(dst.Buttons().Items(0)->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(dst.Font(), src.Font());

    TFooterAppearance footer;
    footer.SetHeight(40);
    THeaderAppearance untouched;
    untouched.Assign(footer);
    EXPECT_EQ(untouched.Height(), 22);
}

TEST(DropDownAppearance, ButtonWritersNotifyExceptHeight)
{
    TFooterAppearance f;
    int events = 0;
    f.OnButtonsChanged = [&](TPersistent *sender) {
        EXPECT_EQ(sender, &f);
        ++events;
    };
    TFooterButton *b = f.Buttons().Add();
    EXPECT_EQ(events, 0) << "adding is no change";
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->ImageIndex(), -1);
    b->SetHeight(30);
    EXPECT_EQ(events, 0);
    b->SetWidth(30);
    b->SetWidth(30);
    b->SetCaption(QStringLiteral("x"));
    b->SetEnabled(false);
    EXPECT_EQ(events, 3);

    TFooterButton other;
    other.SetModalResult(2);
    other.SetCaption(QStringLiteral("y"));
    f.Buttons().SetItems(0, other);
    EXPECT_EQ(b->ModalResult(), 2);
    EXPECT_EQ(b->Caption(), QStringLiteral("y"));
}

} // namespace
