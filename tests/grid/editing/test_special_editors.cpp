// Which control each editor kind opens, how it is filled and what it stores back.
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlGridEditors.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridColumn.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/grid/GridEditor.h"
#include "platform/os/Regional.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using plat::TGridOption;
using enum TEditorType;

struct TComboCall
{
    int index;
    QString text;
    QObject *object;
    bool operator==(const TComboCall &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TComboCall &c)
{
    return os << "(" << c.index << ", " << c.text.toStdString() << ", " << c.object << ")";
}

// Every cell of column 1 has the editor kind `kind`; combos offer red, green and blue.
class SpecialEditors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OverrideGridRegionalSettings(TGridRegionalSettings{});
        plat::OverrideDecimalSeparator(QStringLiteral("."));
        grid.SetColCount(4);
        grid.SetRowCount(4);
        grid.SetWordWrap(false);
        grid.SetOptions(grid.Options() + TGridOption::goEditing);
        grid.OnGetEditorType = [this](QObject *, int ACol, int, TEditorType &AEditor) {
            if (ACol == 1)
                AEditor = kind;
        };
        grid.OnGetEditorProp = [this](QObject *, int, int, TEditLink *) {
            grid.ClearComboString();
            grid.AddComboStringObject(QStringLiteral("red"), &objects[0]);
            grid.AddComboStringObject(QStringLiteral("green"), &objects[1]);
            grid.AddComboStringObject(QStringLiteral("blue"), &objects[2]);
        };
        grid.OnComboObjectChange = [this](QObject *, int c, int r, int i, const QString &s,
                                          QObject *o) {
            EXPECT_EQ(c, 1);
            EXPECT_EQ(r, 1);
            changes.push_back({i, s, o});
        };
        ASSERT_TRUE(shown.showActive({400, 200}));
    }

    void TearDown() override
    {
        grid.OnGetEditorProp = nullptr;
        grid.OnComboObjectChange = nullptr;
        plat::OverrideDecimalSeparator(std::nullopt);
        OverrideGridRegionalSettings(std::nullopt);
    }

    // Opens cell (1, 1) of the kind with the text through the grid's own road; the widget that
    // has the focus then, null for none.
    QWidget *open(TEditorType k, const QString &text, QChar typed = {})
    {
        kind = k;
        grid.SetCellEx(1, 1, text);
        grid.FocusCell(1, 1);
        grid.SetStartEditChar(typed);
        grid.ShowInplaceEdit();
        QCoreApplication::processEvents();
        QWidget *fw = QApplication::focusWidget();
        return fw && fw != &grid ? fw : nullptr;
    }

    QWidget *textEditor() const
    {
        return grid.CellEditor() ? grid.CellEditor()->Widget() : nullptr;
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid &grid = *shown.open();
    TEditorType kind = edNormal;
    std::array<QObject, 3> objects;
    std::vector<TComboCall> changes;
};

TEST_F(SpecialEditors, EveryKindOpensItsControl)
{
    enum Opens { TextEditor, Spin, Combo, Check, Nothing };
    struct Case
    {
        TEditorType kind;
        Opens opens;
    };
    const Case cases[] = {
        {edNormal, TextEditor},
        {edSpinEdit, Spin},
        {edComboEdit, Combo},
        {edComboList, Combo},
        {edEditBtn, TextEditor},
        {edCheckBox, Check},
        {edDateEdit, TextEditor},
        {edDateEditUpDown, TextEditor},
        {edTimeEdit, TextEditor},
        {edButton, TextEditor},
        {edDataCheckBox, Nothing},
        {edNumeric, TextEditor},
        {edPositiveNumeric, TextEditor},
        {edFloat, TextEditor},
        {edCapital, TextEditor},
        {edMixedCase, TextEditor},
        {edPassword, TextEditor},
        {edUnitEditBtn, TextEditor},
        {edLowerCase, TextEditor},
        {edUpperCase, TextEditor},
        {edFloatSpinEdit, Spin},
        {edTimeSpinEdit, Spin},
        {edDateSpinEdit, Spin},
        {edNumericEditBtn, TextEditor},
        {edFloatEditBtn, TextEditor},
        {edCustom, TextEditor},
        {edRichEdit, TextEditor},
        {edNone, Nothing},
        {edDateTimeEdit, TextEditor},
        {edValidChars, TextEditor},
        {edTrackbarDropDown, TextEditor},
        {edMemoDropDown, TextEditor},
        {edCalculatorDropDown, TextEditor},
        {edTimePickerDropDown, TextEditor},
        {edDetailDropDown, TextEditor},
        {edGridDropDown, TextEditor},
        {edColorPickerDropDown, TextEditor},
        {edImagePickerDropDown, TextEditor},
        {edQrlGridDropDown, TextEditor},
        {edPositiveFloat, TextEditor},
        {edNumericUnitEditBtn, TextEditor},
        {edFloatUnitEditBtn, TextEditor},
        {edMaskEditBtn, TextEditor},
    };
    static_assert(std::size(cases) == EditorTypeCount);
    for (const Case &c : cases) {
        QWidget *fw = open(c.kind, QStringLiteral("1"));
        const int k = static_cast<int>(c.kind);
        switch (c.opens) {
        case TextEditor:
            EXPECT_NE(fw, nullptr) << k;
            EXPECT_EQ(fw, textEditor()) << k;
            break;
        case Spin:
            EXPECT_EQ(fw, grid.SpinEdit()) << k;
            break;
        case Combo:
            EXPECT_EQ(fw, grid.EditCombo()) << k;
            break;
        case Check:
            EXPECT_EQ(fw, grid.EditCheck()) << k;
            break;
        case Nothing:
            EXPECT_EQ(fw, nullptr) << k;
            EXPECT_FALSE(grid.EditMode()) << k;
            break;
        }
        grid.HideInplaceEdit();
        grid.setFocus();
        EXPECT_FALSE(grid.SpinEdit()->isVisible()) << k;
        EXPECT_FALSE(grid.EditCombo()->isVisible()) << k;
        EXPECT_FALSE(grid.EditCheck()->isVisible()) << k;
    }
}

TEST_F(SpecialEditors, KindsWithoutTheirControlYetStoreTheTextEditorsText)
{
    for (TEditorType k : {edEditBtn, edDateEdit, edUnitEditBtn, edCustom, edRichEdit,
                          edDateTimeEdit, edMemoDropDown, edQrlGridDropDown, edMaskEditBtn}) {
        auto *edit = qobject_cast<QLineEdit *>(open(k, QStringLiteral("old")));
        ASSERT_NE(edit, nullptr) << int(k);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("new 1"));
        grid.HideInplaceEdit();
        EXPECT_EQ(grid.GetCellEx(1, 1), QStringLiteral("new 1")) << int(k);
        EXPECT_FALSE(grid.EditMode()) << int(k);
    }
}

TEST_F(SpecialEditors, ShowingTheSpecialEditorOfSuchAKindOpensTheTextEditor)
{
    // As an editor link does when its validation was refused.
    ASSERT_NE(open(edMemoDropDown, QStringLiteral("memo")), nullptr);
    grid.HideInplaceEdit();
    ASSERT_EQ(textEditor()->isVisible(), false);
    grid.ShowCellEditor(1, 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(textEditor()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), textEditor());
    EXPECT_TRUE(grid.EditMode());
    grid.HideInplaceEdit();
    EXPECT_EQ(grid.GetCellEx(1, 1), QStringLiteral("memo"));
}

TEST(SpecialEditorsColumnGrid, ComboItemsFollowTheColumnsItems)
{
    gridtest::GridWindow<TQrlColumnGrid> shown;
    TQrlColumnGrid &grid = *shown.open();
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetOptions(grid.Options() + TGridOption::goEditing);
    for (int c : {1, 2})
        grid.Columns()->Items(c)->SetEditor(edComboList);
    grid.Columns()->Items(1)->SetComboItems({QStringLiteral("a"), QStringLiteral("b")});
    grid.Columns()->Items(2)->SetComboItems({QStringLiteral("x")});
    ASSERT_TRUE(shown.showActive({300, 150}));
    auto itemsAt = [&](int c) {
        grid.FocusCell(c, 1);
        grid.ShowInplaceEdit();
        EXPECT_TRUE(grid.EditMode()) << c;
        EXPECT_EQ(int(grid.EditControl()), int(edComboList)) << c;
        const QStringList items = grid.EditCombo()->Items();
        grid.HideInplaceEdit();
        return items;
    };
    EXPECT_EQ(itemsAt(1), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(itemsAt(2), QStringList{QStringLiteral("x")});
    grid.Columns()->Items(1)->ComboItems()[1] = QStringLiteral("c");
    EXPECT_EQ(itemsAt(1), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}

// A drop-down list opens on the cell's item; a text that is none of them (an empty cell too) is
// left as it is: nothing is selected, nothing reported, and closing the list stores nothing.
TEST_F(SpecialEditors, ComboListOpensOnItsItemOrOnNoneWithoutReporting)
{
    struct Case
    {
        QString text;
        int comboIdx;
        int selected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("violet"), -1, -1},
        {QString(), -1, -1},
        // The display text has tags, the edit text matches an item.
        {QStringLiteral("<b>green</b>"), -1, 1},
        {QStringLiteral("blue"), -1, 2},
        // An item the program asked for.
        {QStringLiteral("violet"), 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.text.toStdString() << " " << c.comboIdx);
        changes.clear();
        grid.SetComboSelection(c.comboIdx);
        ASSERT_EQ(open(edComboList, c.text), grid.EditCombo());
        EXPECT_EQ(grid.EditCombo()->ItemIndex(), c.selected);
        EXPECT_EQ(changes, std::vector<TComboCall>{});
        grid.HideInplaceEdit();
        if (c.selected < 0) {
            EXPECT_EQ(grid.GetCellEx(1, 1), c.text);
        }
        EXPECT_EQ(changes, std::vector<TComboCall>{});
    }
    grid.SetComboSelection(-1);
}

TEST_F(SpecialEditors, TheTypedCharacterArrivesAfterTheEditorShows)
{
    struct Case
    {
        TEditorType kind;
        QString cell;
        QString shown;
    };
    const Case cases[] = {
        // The character replaces what the cell held, as typing over a selected text does.
        {edComboEdit, QStringLiteral("4"), QStringLiteral("4")},
        {edSpinEdit, QStringLiteral("4"), QStringLiteral("4")},
    };
    for (const Case &c : cases) {
        kind = c.kind;
        grid.SetCellEx(1, 1, c.cell);
        grid.FocusCell(1, 1);
        grid.SetStartEditChar(u'7');
        grid.ShowInplaceEdit();
        QWidget *control =
            c.kind == edSpinEdit ? static_cast<QWidget *>(grid.SpinEdit()) : grid.EditCombo();
        ASSERT_TRUE(control->isVisible()) << int(c.kind);
        auto text = [&] {
            return c.kind == edSpinEdit ? grid.SpinEdit()->text() : grid.EditCombo()->Text();
        };
        EXPECT_EQ(text(), c.shown) << "the character is posted, not yet typed";
        QCoreApplication::processEvents();
        EXPECT_EQ(text(), QStringLiteral("7")) << int(c.kind);
        grid.HideInplaceEdit();
    }
}

TEST_F(SpecialEditors, SpinKindsStoreTheirValueInTheirOwnForm)
{
    struct Case
    {
        TEditorType kind;
        QString text;
        std::function<void(TQrlStringGrid &)> check;
    };
    const Case cases[] = {
        {edSpinEdit, QStringLiteral("5 pcs"),
         [](TQrlStringGrid &g) { EXPECT_EQ(g.GetInts(1, 1), 6); }},
        {edFloatSpinEdit, QStringLiteral("1.5"),
         [](TQrlStringGrid &g) { EXPECT_DOUBLE_EQ(g.GetFloats(1, 1), 1.6); }},
        // The caret ends up after the year when the editor selects its text.
        {edDateSpinEdit, QStringLiteral("3/10/2024"),
         [](TQrlStringGrid &g) { EXPECT_EQ(g.GetDates(1, 1), qrlEncodeDate(2025, 3, 10)); }},
        {edTimeSpinEdit, QStringLiteral("10:30:00"),
         [](TQrlStringGrid &g) { EXPECT_EQ(g.GetCellEx(1, 1), QStringLiteral("10:30:01")); }},
    };
    for (const Case &c : cases) {
        TGridSpin *spin = grid.SpinEdit();
        ASSERT_EQ(open(c.kind, c.text), spin) << int(c.kind);
        QTest::keyClick(spin, Qt::Key_Up);
        grid.HideInplaceEdit();
        EXPECT_FALSE(spin->isVisible());
        c.check(grid);
    }
}

TEST_F(SpecialEditors, AnEmptiedSpinWithAllowEmptyValueStoresTheEmptyText)
{
    TGridSpin *spin = grid.SpinEdit();
    spin->SetAllowEmptyValue(true);
    ASSERT_EQ(open(edSpinEdit, QStringLiteral("5")), spin);
    spin->clear();
    grid.HideInplaceEdit();
    EXPECT_EQ(grid.GetCellEx(1, 1), QString());
    EXPECT_FALSE(spin->isVisible()) << "the editor does not stay behind";
    EXPECT_FALSE(grid.EditMode());
}

TEST_F(SpecialEditors, ASecondCommitOfAComboStoresNothing)
{
    int done = 0;
    grid.OnEditingDone = [&](QObject *) { ++done; };
    ASSERT_EQ(open(edComboList, QStringLiteral("blue")), grid.EditCombo());
    grid.EditCombo()->SetItemIndex(1);
    grid.HideInplaceEdit();
    EXPECT_EQ(grid.GetCellEx(1, 1), QStringLiteral("green"));
    grid.SetCellEx(1, 1, QStringLiteral("later"));
    grid.ApplyEditorValue(1, 1);
    EXPECT_EQ(grid.GetCellEx(1, 1), QStringLiteral("later"));
    EXPECT_EQ(done, 1);
    grid.OnEditingDone = nullptr;
}

} // namespace

TEST_F(SpecialEditors, ComboFaceFollowsTheLookAndTheListFitsItsItems)
{
    const std::pair<TGridLook, bool> looks[] = {
        {TGridLook::glStandard, false}, {TGridLook::glSoft, true}, {TGridLook::glClassic, false},
        {TGridLook::glXP, true},        {TGridLook::glWin7, true}, {TGridLook::glCustom, false},
    };
    for (const auto &[look, flat] : looks) {
        grid.SetLook(look);
        open(edComboList, QStringLiteral("red"));
        EXPECT_EQ(grid.EditCombo()->Flat(), flat) << int(look);
        EXPECT_EQ(grid.EditCombo()->Etched(), flat) << int(look);
        grid.HideInplaceEdit();
    }

    // A long item widens the list beyond the cell with AutoComboDropSize.
    grid.Navigation()->SetAutoComboDropSize(true);
    grid.OnGetEditorProp = [this](QObject *, int, int, TEditLink *) {
        grid.ClearComboString();
        grid.AddComboString(QString(60, QLatin1Char('w')));
    };
    open(edComboList, QString());
    EXPECT_GT(grid.EditCombo()->view()->minimumWidth(), grid.EditCombo()->width());
    grid.HideInplaceEdit();
}
