#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridTypes.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Stored by ordinal (cell graphics, settings streams): the positions must not drift.
TEST(GridTypes, OrdinalsThatStoredDataRelyOn)
{
    EXPECT_EQ(static_cast<int>(TCellType::ctNone), 2);
    EXPECT_EQ(static_cast<int>(TCellType::ctExpand), CellTypeCount - 1);
    EXPECT_EQ(static_cast<int>(TCellType::ctTriStateCheckBox), 31);
    EXPECT_EQ(static_cast<int>(TEditorType::edDataCheckBox), 10);
    EXPECT_EQ(static_cast<int>(TEditorType::edMaskEditBtn), EditorTypeCount - 1);
    EXPECT_EQ(static_cast<int>(TSortStyle::ssAlphaNumericNoCase), 19);
    EXPECT_EQ(static_cast<int>(TGridLook::glCustom), 9);
    EXPECT_EQ(static_cast<int>(TStretchMode::ShrinkWithAspectRatio), 4);
    EXPECT_EQ(static_cast<int>(TWheelAction::waScroll), 1);
}

TEST(GridTypes, SetsOfEnumerations)
{
    THoverRowCells hover{THoverRowCell::hcNormal, THoverRowCell::hcSelected};
    EXPECT_TRUE(hover.Contains(THoverRowCell::hcSelected));
    EXPECT_FALSE(hover.Contains(THoverRowCell::hcFixed));
    TCellBorders borders{TCellBorder::cbTop, TCellBorder::cbBottom};
    borders -= TCellBorders{TCellBorder::cbTop};
    EXPECT_EQ(borders, TCellBorders{TCellBorder::cbBottom});
}

// Boolean properties of one settings class with their default and change behaviour.
enum class Notify { None, Always, WhenChanged };

template <class Obj> struct BoolProp
{
    const char *name;
    bool (Obj::*get)() const;
    void (Obj::*set)(bool);
    bool def;
    Notify notify;
};

template <class Obj> void checkBoolProps(const std::vector<BoolProp<Obj>> &props)
{
    for (const auto &p : props) {
        SCOPED_TRACE(p.name);
        Obj o;
        int events = 0;
        o.OnChange = [&](TPersistent *sender) {
            EXPECT_EQ(sender, &o);
            ++events;
        };
        EXPECT_EQ((o.*p.get)(), p.def);
        (o.*p.set)(p.def);
        EXPECT_EQ(events, p.notify == Notify::Always ? 1 : 0) << "same value";
        events = 0;
        (o.*p.set)(!p.def);
        EXPECT_EQ((o.*p.get)(), !p.def);
        EXPECT_EQ(events, p.notify == Notify::None ? 0 : 1) << "new value";
    }
}

// Flips every property of a source, assigns, and checks which ones arrived.
template <class Obj>
void checkBoolAssign(const std::vector<BoolProp<Obj>> &props,
                     const std::vector<std::string> &notCopied)
{
    Obj src, dst;
    for (const auto &p : props)
        (src.*p.set)(!p.def);
    int events = 0;
    dst.OnChange = [&](TPersistent *) { ++events; };
    dst.Assign(src);
    for (const auto &p : props) {
        SCOPED_TRACE(p.name);
        const bool skipped =
            std::find(notCopied.begin(), notCopied.end(), p.name) != notCopied.end();
        EXPECT_EQ((dst.*p.get)(), skipped ? p.def : (src.*p.get)());
    }
    EXPECT_EQ(events, 0);
}

using SF = TSearchFooter;
const std::vector<BoolProp<SF>> searchFooterBools = {
    {"ShowFindPrev", &SF::ShowFindPrev, &SF::SetShowFindPrev, true, Notify::WhenChanged},
    {"ShowFindNext", &SF::ShowFindNext, &SF::SetShowFindNext, true, Notify::WhenChanged},
    {"Visible", &SF::Visible, &SF::SetVisible, false, Notify::WhenChanged},
    {"AutoThemeAdapt", &SF::AutoThemeAdapt, &SF::SetAutoThemeAdapt, false, Notify::Always},
    {"ShowClose", &SF::ShowClose, &SF::SetShowClose, true, Notify::Always},
    {"ShowHighLight", &SF::ShowHighLight, &SF::SetShowHighLight, true, Notify::WhenChanged},
    {"ShowMatchCase", &SF::ShowMatchCase, &SF::SetShowMatchCase, true, Notify::WhenChanged},
    {"AutoSearch", &SF::AutoSearch, &SF::SetAutoSearch, true, Notify::None},
    {"SearchActiveColumnOnly", &SF::SearchActiveColumnOnly, &SF::SetSearchActiveColumnOnly, false,
     Notify::None},
    {"SearchMatchStart", &SF::SearchMatchStart, &SF::SetSearchMatchStart, false, Notify::None},
    {"SearchFixedCells", &SF::SearchFixedCells, &SF::SetSearchFixedCells, false, Notify::None},
    {"SearchHiddenRows", &SF::SearchHiddenRows, &SF::SetSearchHiddenRows, false, Notify::None},
    {"AlwaysHighLight", &SF::AlwaysHighLight, &SF::SetAlwaysHighLight, false, Notify::None},
};

TEST(SearchFooter, BooleanDefaultsAndEvents)
{
    checkBoolProps(searchFooterBools);
}

TEST(SearchFooter, CaptionsOnlyForADesignerGrid)
{
    using Getter = QString (SF::*)() const;
    struct Text
    {
        Getter get;
        const char *designText;
    };
    const Text texts[] = {
        {&SF::FindNextCaption, "Find &next"},
        {&SF::FindPrevCaption, "Find &previous"},
        {&SF::MatchCaseCaption, "Match case"},
        {&SF::HighLightCaption, "Highlight"},
        {&SF::HintClose, "Close"},
        {&SF::HintFindPrev, "Find previous occurrence"},
        {&SF::HintHighlight, "Highlight occurrences"},
        {&SF::HintFindNext, "Find next occurrence"},
    };
    SF runtime(false), designed(true);
    for (const Text &t : texts) {
        SCOPED_TRACE(t.designText);
        EXPECT_TRUE((runtime.*t.get)().isEmpty());
        EXPECT_EQ((designed.*t.get)(), QString::fromUtf8(t.designText));
    }
    EXPECT_EQ(runtime.Color(), clWhite);
    EXPECT_EQ(runtime.ColorTo(), 0xFF00000Fu);
    EXPECT_EQ(runtime.SearchColumn(), -1);
    EXPECT_EQ(runtime.SearchDirection(), TSearchDirection::sdTopBottom);
}

TEST(SearchFooter, ColourAndFontFireEvenWhenUnchanged)
{
    SF f;
    int events = 0;
    f.OnChange = [&](TPersistent *) { ++events; };
    f.SetColor(f.Color());
    f.SetFindNextCaption(f.FindNextCaption());
    TFont font(QStringLiteral("Tahoma"), 13);
    f.SetFont(font);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(f.Font(), font);
}

TEST(SearchFooter, AssignCopiesTheDocumentedSubset)
{
    checkBoolAssign(searchFooterBools, {"AutoSearch", "SearchFixedCells", "AutoThemeAdapt"});
    SF src(true), dst;
    src.SetLastSearch(QStringLiteral("abc"));
    src.SetSearchColumn(4);
    src.SetSearchDirection(TSearchDirection::sdLeftRight);
    src.SetColorTo(clRed);
    src.SetFont(TFont(QStringLiteral("Tahoma"), 14));
    dst.Assign(src);
    EXPECT_EQ(dst.HintFindNext(), src.HintFindNext());
    EXPECT_EQ(dst.HighLightCaption(), src.HighLightCaption());
    EXPECT_EQ(dst.SearchColumn(), 4);
    EXPECT_EQ(dst.SearchDirection(), TSearchDirection::sdLeftRight);
    EXPECT_EQ(dst.ColorTo(), clRed);
    EXPECT_EQ(dst.Font(), src.Font());
    EXPECT_TRUE(dst.LastSearch().isEmpty());
}

TEST(SettingsObjects, AssignFromAnotherClassChangesNothing)
{
    TNavigation nav;
    TSearchFooter footer(true);
    footer.Assign(nav);
    EXPECT_EQ(footer.FindNextCaption(), QStringLiteral("Find &next"));
    TBands bands;
    bands.SetPrimaryLength(5);
    bands.Assign(footer);
    EXPECT_EQ(bands.TotalLength(), 6);
}

using NV = TNavigation;
const std::vector<BoolProp<NV>> navigationBools = {
    {"AllowInsertRow", &NV::AllowInsertRow, &NV::SetAllowInsertRow, false, Notify::None},
    {"AllowDeleteRow", &NV::AllowDeleteRow, &NV::SetAllowDeleteRow, false, Notify::None},
    {"AdvanceOnEnter", &NV::AdvanceOnEnter, &NV::SetAdvanceOnEnter, false, Notify::None},
    {"AdvanceInsert", &NV::AdvanceInsert, &NV::SetAdvanceInsert, false, Notify::WhenChanged},
    {"AutoGotoWhenSorted", &NV::AutoGotoWhenSorted, &NV::SetAutoGotoWhenSorted, false,
     Notify::None},
    {"AutoGotoIncremental", &NV::AutoGotoIncremental, &NV::SetAutoGotoIncremental, false,
     Notify::None},
    {"AutoComboDropSize", &NV::AutoComboDropSize, &NV::SetAutoComboDropSize, false, Notify::None},
    {"AllowClipboardShortCuts", &NV::AllowClipboardShortCuts, &NV::SetAllowClipboardShortCuts,
     false, Notify::None},
    {"AllowRTFClipboard", &NV::AllowRTFClipboard, &NV::SetAllowRTFClipboard, false, Notify::None},
    {"AllowSmartClipboard", &NV::AllowSmartClipboard, &NV::SetAllowSmartClipboard, false,
     Notify::None},
    {"AllowClipboardAlways", &NV::AllowClipboardAlways, &NV::SetAllowClipboardAlways, false,
     Notify::None},
    {"AllowClipboardColGrow", &NV::AllowClipboardColGrow, &NV::SetAllowClipboardColGrow, true,
     Notify::None},
    {"AllowClipboardRowGrow", &NV::AllowClipboardRowGrow, &NV::SetAllowClipboardRowGrow, true,
     Notify::None},
    {"CopyHTMLTagsToClipboard", &NV::CopyHTMLTagsToClipboard, &NV::SetCopyHTMLTagsToClipboard, true,
     Notify::None},
    {"AdvanceAuto", &NV::AdvanceAuto, &NV::SetAdvanceAuto, false, Notify::None},
    {"AdvanceAutoEdit", &NV::AdvanceAutoEdit, &NV::SetAdvanceAutoEdit, true, Notify::None},
    {"LeftRightRowSelect", &NV::LeftRightRowSelect, &NV::SetLeftRightRowSelect, true, Notify::None},
    {"ComboGetUpDown", &NV::ComboGetUpDown, &NV::SetComboGetUpDown, true, Notify::None},
    {"CursorMoveRows", &NV::CursorMoveRows, &NV::SetCursorMoveRows, false, Notify::None},
    {"CursorWalkEditor", &NV::CursorWalkEditor, &NV::SetCursorWalkEditor, false, Notify::None},
    {"CursorWalkAlwaysEdit", &NV::CursorWalkAlwaysEdit, &NV::SetCursorWalkAlwaysEdit, true,
     Notify::None},
    {"MoveRowOnSort", &NV::MoveRowOnSort, &NV::SetMoveRowOnSort, false, Notify::None},
    {"KeepScrollOnSort", &NV::KeepScrollOnSort, &NV::SetKeepScrollOnSort, false, Notify::None},
    {"ImproveMaskSel", &NV::ImproveMaskSel, &NV::SetImproveMaskSel, false, Notify::None},
    {"AlwaysEdit", &NV::AlwaysEdit, &NV::SetAlwaysEdit, false, Notify::None},
    {"LineFeedOnEnter", &NV::LineFeedOnEnter, &NV::SetLineFeedOnEnter, false, Notify::None},
    {"KeepHorizScroll", &NV::KeepHorizScroll, &NV::SetKeepHorizScroll, false, Notify::None},
    {"AllowFmtClipboard", &NV::AllowFmtClipboard, &NV::SetAllowFmtClipboard, false, Notify::None},
    {"TabToNextAtEnd", &NV::TabToNextAtEnd, &NV::SetTabToNextAtEnd, false, Notify::None},
    {"EditSelectAll", &NV::EditSelectAll, &NV::SetEditSelectAll, true, Notify::None},
    {"SkipFixedCells", &NV::SkipFixedCells, &NV::SetSkipFixedCells, true, Notify::None},
    {"SkipDisabledRows", &NV::SkipDisabledRows, &NV::SetSkipDisabledRows, true, Notify::None},
    {"AllowCtrlEnter", &NV::AllowCtrlEnter, &NV::SetAllowCtrlEnter, true, Notify::None},
    {"AppendOnArrowDown", &NV::AppendOnArrowDown, &NV::SetAppendOnArrowDown, false, Notify::None},
    {"MoveScrollOnly", &NV::MoveScrollOnly, &NV::SetMoveScrollOnly, false, Notify::None},
    {"AdvanceOnEnterLoop", &NV::AdvanceOnEnterLoop, &NV::SetAdvanceOnEnterLoop, true, Notify::None},
    {"AdvanceSkipReadOnlyCells", &NV::AdvanceSkipReadOnlyCells, &NV::SetAdvanceSkipReadOnlyCells,
     true, Notify::None},
};

TEST(Navigation, DefaultsAndEvents)
{
    checkBoolProps(navigationBools);
    NV n;
    EXPECT_EQ(n.ClipboardPasteAction(), TClipboardPasteAction::paReplace);
    EXPECT_EQ(n.AdvanceDirection(), TAdvanceDirection::adLeftRight);
    EXPECT_EQ(n.TabAdvanceDirection(), TAdvanceDirection::adLeftRight);
    EXPECT_EQ(n.CursorAdvance(), TCursorAdvance::caDefault);
    EXPECT_EQ(n.InsertPosition(), TInsertPosition::pInsertBefore);
    EXPECT_EQ(n.HomeEndKey(), THomeEndAction::heFirstLastColumn);

    int events = 0;
    n.OnChange = [&](TPersistent *) { ++events; };
    n.SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    n.SetAdvanceDirection(TAdvanceDirection::adTopBottom);
    n.SetTabAdvanceDirection(TAdvanceDirection::adTopBottom);
    EXPECT_EQ(events, 1);
}

TEST(Navigation, AdvanceAutoTurnsAdvanceOnEnterOnButNotOff)
{
    NV n;
    n.SetAdvanceAuto(true);
    EXPECT_TRUE(n.AdvanceOnEnter());
    n.SetAdvanceAuto(false);
    EXPECT_TRUE(n.AdvanceOnEnter());
}

TEST(Navigation, AssignCopiesEverythingButKeepScrollOnSort)
{
    checkBoolAssign(navigationBools, {"KeepScrollOnSort"});
    // The tab direction comes from the tab direction, not from the advance direction.
    NV src, dst;
    src.SetTabAdvanceDirection(TAdvanceDirection::adTopBottomInCol);
    src.SetAdvanceDirection(TAdvanceDirection::adLeftRightInRow);
    src.SetHomeEndKey(THomeEndAction::heFirstLastCell);
    src.SetInsertPosition(TInsertPosition::pInsertAfter);
    src.SetClipboardPasteAction(TClipboardPasteAction::paInsert);
    src.SetCursorAdvance(TCursorAdvance::caSnake);
    dst.Assign(src);
    EXPECT_EQ(dst.TabAdvanceDirection(), TAdvanceDirection::adTopBottomInCol);
    EXPECT_EQ(dst.AdvanceDirection(), TAdvanceDirection::adLeftRightInRow);
    EXPECT_EQ(dst.HomeEndKey(), THomeEndAction::heFirstLastCell);
    EXPECT_EQ(dst.InsertPosition(), TInsertPosition::pInsertAfter);
    EXPECT_EQ(dst.ClipboardPasteAction(), TClipboardPasteAction::paInsert);
    EXPECT_EQ(dst.CursorAdvance(), TCursorAdvance::caSnake);
}

using MA = TMouseActions;
const std::vector<BoolProp<MA>> mouseBools = {
    {"ColSelect", &MA::ColSelect, &MA::SetColSelect, false, Notify::None},
    {"RowSelect", &MA::RowSelect, &MA::SetRowSelect, false, Notify::None},
    {"AllSelect", &MA::AllSelect, &MA::SetAllSelect, false, Notify::None},
    {"DirectEdit", &MA::DirectEdit, &MA::SetDirectEdit, false, Notify::None},
    {"DirectComboDrop", &MA::DirectComboDrop, &MA::SetDirectComboDrop, false, Notify::None},
    {"DirectComboClose", &MA::DirectComboClose, &MA::SetDirectComboClose, false, Notify::None},
    {"DirectDateClose", &MA::DirectDateClose, &MA::SetDirectDateClose, false, Notify::None},
    {"DirectDateDrop", &MA::DirectDateDrop, &MA::SetDirectDateDrop, false, Notify::None},
    {"DisjunctRowSelect", &MA::DisjunctRowSelect, &MA::SetDisjunctRowSelect, false, Notify::None},
    {"DisjunctColSelect", &MA::DisjunctColSelect, &MA::SetDisjunctColSelect, false, Notify::None},
    {"AllColumnSize", &MA::AllColumnSize, &MA::SetAllColumnSize, false, Notify::None},
    {"AllRowSize", &MA::AllRowSize, &MA::SetAllRowSize, false, Notify::None},
    {"CaretPositioning", &MA::CaretPositioning, &MA::SetCaretPositioning, false, Notify::None},
    {"SizeFixedCol", &MA::SizeFixedCol, &MA::SetSizeFixedCol, false, Notify::None},
    {"SizeFixedRow", &MA::SizeFixedRow, &MA::SetSizeFixedRow, false, Notify::None},
    {"DisjunctCellSelect", &MA::DisjunctCellSelect, &MA::SetDisjunctCellSelect, false,
     Notify::None},
    {"RangeSelectAndEdit", &MA::RangeSelectAndEdit, &MA::SetRangeSelectAndEdit, false,
     Notify::None},
    {"NoAutoRangeScroll", &MA::NoAutoRangeScroll, &MA::SetNoAutoRangeScroll, false, Notify::None},
    {"PreciseCheckBoxCheck", &MA::PreciseCheckBoxCheck, &MA::SetPreciseCheckBoxCheck, false,
     Notify::None},
    {"PreciseNodeClick", &MA::PreciseNodeClick, &MA::SetPreciseNodeClick, true, Notify::None},
    {"CheckAllCheck", &MA::CheckAllCheck, &MA::SetCheckAllCheck, false, Notify::None},
    {"NodeAllExpandContract", &MA::NodeAllExpandContract, &MA::SetNodeAllExpandContract, false,
     Notify::None},
    {"MoveRowOnNodeClick", &MA::MoveRowOnNodeClick, &MA::SetMoveRowOnNodeClick, false,
     Notify::None},
    {"RowSelectPersistent", &MA::RowSelectPersistent, &MA::SetRowSelectPersistent, false,
     Notify::None},
    {"SelectOnRightClick", &MA::SelectOnRightClick, &MA::SetSelectOnRightClick, false,
     Notify::None},
    {"NoScrollOnPartialRow", &MA::NoScrollOnPartialRow, &MA::SetNoScrollOnPartialRow, false,
     Notify::None},
    {"AutoSizeColOnDblClick", &MA::AutoSizeColOnDblClick, &MA::SetAutoSizeColOnDblClick, true,
     Notify::None},
    {"EditOnDblClickOnly", &MA::EditOnDblClickOnly, &MA::SetEditOnDblClickOnly, false,
     Notify::None},
    {"DisjunctRowSelectNoCtrl", &MA::DisjunctRowSelectNoCtrl, &MA::SetDisjunctRowSelectNoCtrl,
     false, Notify::None},
    {"HotmailRowSelect", &MA::HotmailRowSelect, &MA::SetHotmailRowSelect, false, Notify::None},
};

TEST(MouseActions, DefaultsAndEvents)
{
    checkBoolProps(mouseBools);
    MA m;
    EXPECT_EQ(m.FixedRowsEdit(), TGridFixedCellEdit::fceNone);
    EXPECT_EQ(m.FixedColsEdit(), TGridFixedCellEdit::fceNone);
    EXPECT_EQ(m.FixedRowsEditor(), TGridFixedCellEditor::fceEdit);
    EXPECT_EQ(m.FixedColsEditor(), TGridFixedCellEditor::fceEdit);
    EXPECT_EQ(m.WheelIncrement(), 0);
    EXPECT_EQ(m.WheelAction(), TWheelAction::waMoveSelection);
    EXPECT_TRUE(m.FixedComboValues().isEmpty());

    int changes = 0, invalidates = 0, disables = 0;
    m.OnChange = [&](TPersistent *) { ++changes; };
    m.OnInvalidate = [&](TPersistent *) { ++invalidates; };
    m.OnDisableEdit = [&](TPersistent *) { ++disables; };
    m.SetWheelAction(TWheelAction::waMoveSelection);
    m.SetWheelAction(TWheelAction::waScroll);
    EXPECT_EQ(changes, 1);
    m.SetHotmailRowSelect(false);
    EXPECT_EQ(invalidates, 1) << "repaint asked for either value";
    m.SetEditOnDblClickOnly(false);
    m.SetEditOnDblClickOnly(true);
    EXPECT_EQ(disables, 1);
}

TEST(MouseActions, HotmailRowSelectTurnsOthersOnButNotOff)
{
    MA m;
    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck());
    m.SetHotmailRowSelect(false);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck());
}

TEST(MouseActions, OneDisjunctModeOnlyInADesigner)
{
    using Setter = void (MA::*)(bool);
    struct Case
    {
        const char *name;
        Setter last;
    };
    const Case cases[] = {{"cell", &MA::SetDisjunctCellSelect},
                          {"row", &MA::SetDisjunctRowSelect},
                          {"col", &MA::SetDisjunctColSelect}};
    for (bool designing : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (designing ? " designing" : " running"));
            MA m;
            m.OnIsDesigning = [&](TPersistent *sender, bool &d) {
                EXPECT_EQ(sender, &m);
                d = designing;
            };
            m.SetDisjunctRowSelectDirect(true);
            m.SetDisjunctColSelect(true);
            m.SetDisjunctCellSelect(true);
            (m.*c.last)(true);
            const int on = m.DisjunctRowSelect() + m.DisjunctColSelect() + m.DisjunctCellSelect();
            EXPECT_EQ(on, designing ? 1 : 3);
        }
    }
}

TEST(MouseActions, AssignSkipsFourSwitches)
{
    checkBoolAssign(mouseBools, {"HotmailRowSelect", "EditOnDblClickOnly", "SizeFixedRow"});
    MA src, dst;
    src.SetFixedComboValues({QStringLiteral("a"), QStringLiteral("b")});
    src.SetWheelIncrement(3);
    src.SetFixedColsEditor(TGridFixedCellEditor::fceComboList);
    dst.Assign(src);
    EXPECT_TRUE(dst.FixedComboValues().isEmpty());
    EXPECT_EQ(dst.WheelIncrement(), 3);
    EXPECT_EQ(dst.FixedColsEditor(), TGridFixedCellEditor::fceComboList);
}

TEST(SyncGrid, RefusesItsOwnerAndForgetsARemovedGrid)
{
    // Only addresses are compared; the grids are never touched.
    alignas(8) char owner[8], other[8];
    auto *ownerGrid = reinterpret_cast<TQrlStringGrid *>(owner);
    auto *otherGrid = reinterpret_cast<TQrlStringGrid *>(other);
    TSyncGrid s(ownerGrid);
    s.SetGrid(ownerGrid);
    EXPECT_EQ(s.Grid(), nullptr);
    s.SetGrid(otherGrid);
    s.SetGrid(ownerGrid);
    EXPECT_EQ(s.Grid(), otherGrid);

    TSyncGrid copy(otherGrid);
    copy.SetScrollVertical(true);
    s.SetMoveRow(true);
    copy.Assign(s);
    EXPECT_EQ(copy.Grid(), nullptr) << "a grid is not synchronised with itself";
    EXPECT_TRUE(copy.MoveRow());
    EXPECT_FALSE(copy.ScrollVertical());

    s.Notification(ownerGrid);
    EXPECT_EQ(s.Grid(), otherGrid);
    s.Notification(otherGrid);
    EXPECT_EQ(s.Grid(), nullptr);
}

TEST(Bands, BandRuleAndTotalLength)
{
    TBands b;
    EXPECT_EQ(b.TotalLength(), 2);
    EXPECT_EQ(b.PrimaryColor(), 0xFF000018u);
    EXPECT_EQ(b.SecondaryColor(), 0xFF000005u);
    EXPECT_EQ(b.BandColor(3, 1), clNone) << "bands off";
    b.SetActive(true);
    b.SetPrimaryLength(2);
    EXPECT_EQ(b.TotalLength(), 3);
    const TColor P = b.PrimaryColor(), S = b.SecondaryColor();
    const std::vector<TColor> expected = {clNone, P, P, S, P, P, S};
    for (int row = 0; row < static_cast<int>(expected.size()); ++row)
        EXPECT_EQ(b.BandColor(row, 1), expected[row]) << "row " << row;

    TBands copy;
    copy.Assign(b);
    EXPECT_EQ(copy.TotalLength(), 3);
    EXPECT_TRUE(copy.Active());

    b.SetPrimaryLength(0);
    b.SetSecondaryLength(0);
    EXPECT_EQ(b.BandColor(4, 1), clNone) << "no band of length 0";
}

TEST(Bands, EventsOnlyWhileActive)
{
    struct Case
    {
        const char *name;
        std::function<void(TBands &)> change;
    };
    const Case cases[] = {
        {"PrimaryLength", [](TBands &b) { b.SetPrimaryLength(3); }},
        {"SecondaryLength", [](TBands &b) { b.SetSecondaryLength(3); }},
        {"PrimaryColor", [](TBands &b) { b.SetPrimaryColor(clRed); }},
        {"SecondaryColor", [](TBands &b) { b.SetSecondaryColor(clRed); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (bool active : {false, true}) {
            TBands b;
            b.SetActive(active);
            int events = 0;
            b.OnChange = [&](TPersistent *) { ++events; };
            c.change(b);
            c.change(b);
            EXPECT_EQ(events, active ? 1 : 0);
        }
    }
    TBands b;
    int events = 0;
    b.OnChange = [&](TPersistent *) { ++events; };
    b.SetPrint(true);
    b.SetActive(false);
    b.SetActive(true);
    EXPECT_EQ(events, 1);
}

TEST(FocusHelper, DefaultAndAssign)
{
    TFocusHelper a, b;
    EXPECT_FALSE(a.Enabled());
    b.SetEnabled(true);
    a.Assign(b);
    EXPECT_TRUE(a.Enabled());
}

TEST(GridWindows, FocusWindowIsARedInertFrame)
{
    QWidget grid;
    TGridFocusWindow w(&grid);
    EXPECT_EQ(w.size(), QSize(0, 0));
    EXPECT_FALSE(w.isEnabled());
    EXPECT_TRUE(w.isWindow());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(FromQColor(w.palette().color(QPalette::Window)), clRed);
}

TEST(GridWindows, ArrowWindowTakesItsDirectionsShape)
{
    struct Case
    {
        TArrowDirection dir;
        QPoint inside;
        QPoint outside;
    };
    const Case cases[] = {
        {TArrowDirection::arrUp, {5, 2}, {1, 8}},
        {TArrowDirection::arrDown, {5, 6}, {1, 1}},
        {TArrowDirection::arrLeft, {6, 5}, {7, 1}},
        {TArrowDirection::arrRight, {2, 5}, {1, 1}},
    };
    QWidget grid;
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.dir));
        TArrowWindow w;
        w.Init(&grid, c.dir);
        EXPECT_EQ(w.Direction(), c.dir);
        EXPECT_EQ(w.parentWidget(), &grid);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(TArrowWindow::ArrowPolygon(c.dir).size(), 7);
        EXPECT_TRUE(w.mask().contains(c.inside));
        EXPECT_FALSE(w.mask().contains(c.outside));

        w.resize(12, 12);
        QImage img(12, 12, QImage::Format_RGB32);
        img.fill(Qt::black);
        w.render(&img, QPoint(), w.mask());
        EXPECT_EQ(FromQColor(img.pixelColor(c.inside)), clLime);
        EXPECT_EQ(FromQColor(img.pixelColor(c.outside)), clBlack);
    }
}

} // namespace
