// The text editor and the combo against a fake host: what the keys do to the edit in progress
// (validation, commit, restore, the combo fill) reaches the host, not the grid's state.
#include "grid/common/GridWindow.h"
#include "grid/editing/IGridEditorHost.h"
#include "grid/editing/QrlGridCombo.h"
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Answers as an open edit of an ordinary text cell would, and records what the editor asks.
class FakeHost : public IGridEditorHost
{
public:
    bool HostAlive() const override { return true; }
    bool EditMode() const override { return editMode; }
    void SetEditing(bool Value) override { editing = Value; }
    void EditEnded() override
    {
        editing = false;
        editMode = false;
    }
    TEditorType EditorKind() const override { return TEditorType::edNormal; }
    bool EditStarting() const override { return false; }
    bool ShowEditProcess() const override { return false; }
    bool NoEditChange() const override { return noEditChange; }
    void SetNoEditChange(bool Value) override { noEditChange = Value; }
    bool OpenedByClick() const override { return false; }
    void ClearOpenedByClick() override {}
    bool KillBlocked() const override { return false; }
    void ClearStartEditChar() override {}
    plat::TGridCoord EditCell() const override { return {1, 1}; }

    QString NewCellText() const override { return newText; }
    QString OldCellText() const override { return oldText; }
    void SetOldCellText(const QString &Value) override { oldText = Value; }
    QString CachedCellText() const override { return cached; }
    bool ValidateCell(const QString &Text) override
    {
        validated.push_back(Text);
        return accept;
    }
    bool Validating() const override { return validating; }
    void SetValidating(bool Value) override { validating = Value; }
    int EditLimit() override { return 0; }
    void HideEditor() override
    {
        ++hides;
        // As the grid's hide: the edit is over.
        editMode = false;
        if (onHide)
            onHide();
    }
    void SetNoAutoAdvance(bool Value) override { noAutoAdvance = Value; }

    QString ValidChars() const override { return {}; }
    bool ValidCharCode(int) const override { return true; }
    bool ExcelStyleDecimalSeparator() const override { return false; }
    bool Lookup() const override { return false; }
    bool LookupCaseSensitive() const override { return false; }
    bool LookupHistory() const override { return false; }
    QStringList LookupItems() const override { return {}; }
    void AddLookupItem(const QString &) override {}

    bool ComboFilling() const override { return filling; }
    void SetComboFilling(bool Value) override { filling = Value; }

    TRect CellRect(int, int) const override { return TRect(0, 0, 120, 22); }
    void ForwardKeyDown(int &Key, plat::TShiftState) override { forwarded.push_back(Key); }

    bool editMode = true;
    bool editing = true;
    bool noEditChange = false;
    bool validating = false;
    bool noAutoAdvance = false;
    bool filling = false;
    bool accept = true;
    QString newText = QStringLiteral("stored");
    QString oldText = QStringLiteral("before");
    QString cached = QStringLiteral("cached");
    std::vector<QString> validated;
    std::vector<int> forwarded;
    int hides = 0;
    // What the grid would do on hiding: take the editor's text.
    std::function<void()> onHide;
};

class EditorHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid->SetColCount(3);
        grid->SetRowCount(3);
        ASSERT_TRUE(shown.showActive({400, 200}, {420, 240}));
    }

    void TearDown() override
    {
        // The editors go before the grid: their focus handling still asks the host.
        edit.reset();
        combo.reset();
    }

    // A text editor of the host, shown with the focus and its text cleared.
    QWidget *openEdit()
    {
        edit = std::make_unique<TQrlInplaceLineEdit>(grid, &host);
        QWidget *w = editor().Widget();
        w->setGeometry(0, 0, 120, 22);
        w->show();
        w->setFocus();
        editor().SetText(QString());
        return w;
    }

    // The grid's side of the editor (the widget kind has a Text of its own as well).
    TQrlInplaceEdit &editor() { return *edit; }

    TGridCombo *openCombo()
    {
        combo = std::make_unique<TGridCombo>(grid, &host, grid->viewport());
        combo->SetStyle(TComboStyle::csDropDown);
        combo->AddItem(QStringLiteral("red"), nullptr);
        combo->AddItem(QStringLiteral("green"), nullptr);
        combo->setGeometry(0, 0, 120, 22);
        combo->show();
        combo->setFocus();
        return combo.get();
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = shown.open();
    FakeHost host;
    std::unique_ptr<TQrlInplaceLineEdit> edit;
    std::unique_ptr<TGridCombo> combo;
};

TEST_F(EditorHost, TypedTextReachesTheHostsValidationAndTheEditorTakesItsAnswer)
{
    QWidget *w = openEdit();
    QTest::keyClicks(w, QStringLiteral("abc"));
    EXPECT_EQ(editor().Text(), QStringLiteral("abc"));
    QTest::keyClick(w, Qt::Key_Return);
    ASSERT_FALSE(host.validated.empty());
    EXPECT_EQ(host.validated.front(), QStringLiteral("abc"));
    // The validation may change the value; the editor shows what the host stored, and a later
    // check of the same key (its character phase) sees that.
    EXPECT_EQ(editor().Text(), host.newText);
    for (std::size_t i = 1; i < host.validated.size(); ++i)
        EXPECT_EQ(host.validated[i], host.newText);
}

TEST_F(EditorHost, EscapeRestoresTheCachedTextAndClosesThroughTheHost)
{
    QWidget *w = openEdit();
    QString textAtHide;
    host.onHide = [&] { textAtHide = editor().Text(); };
    QTest::keyClicks(w, QStringLiteral("typed"));
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(host.hides, 1);
    // The grid takes the editor's text when it hides it: the text from before the edit.
    EXPECT_EQ(textAtHide, host.cached);
    EXPECT_TRUE(host.validated.empty());
}

TEST_F(EditorHost, RefusedValidationKeepsTheEditorOpen)
{
    host.accept = false;
    QWidget *w = openEdit();
    QTest::keyClicks(w, QStringLiteral("bad"));
    const QString oldBefore = host.oldText;
    QTest::keyClick(w, Qt::Key_Tab);
    ASSERT_EQ(host.validated, std::vector<QString>{QStringLiteral("bad")});
    EXPECT_EQ(host.hides, 0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->hasFocus());
    // The refusal shows the text the host kept and keeps the old text for the next try.
    EXPECT_EQ(editor().Text(), host.newText);
    EXPECT_EQ(host.oldText, oldBefore);
    // An accepted second try closes it.
    host.accept = true;
    QTest::keyClick(w, Qt::Key_Tab);
    EXPECT_EQ(host.validated.size(), 2u);
    EXPECT_EQ(host.hides, 1);
}

TEST_F(EditorHost, ComboFillIsNoUserChangeButTypingIs)
{
    grid->SetCells(grid->Col(), grid->Row(), QStringLiteral("green"));
    TGridCombo *c = openCombo();
    ASSERT_NE(c->lineEdit(), nullptr);
    // Every text change with the host's fill flag as it was then, and the user's changes.
    std::vector<bool> fillingAtChange;
    int userChanges = 0;
    QObject::connect(c->lineEdit(), &QLineEdit::textChanged, c,
                     [&] { fillingAtChange.push_back(host.ComboFilling()); });
    QObject::connect(c, &TGridCombo::EditChange, c, [&] { ++userChanges; });
    QTest::keyClicks(c, QStringLiteral("x"));
    ASSERT_FALSE(fillingAtChange.empty());
    EXPECT_FALSE(fillingAtChange.back());
    EXPECT_EQ(userChanges, 1);

    // Escape puts the cell's text back: that change is the grid's fill, not the user's, and
    // the flag is down again afterwards.
    fillingAtChange.clear();
    QTest::keyClick(c, Qt::Key_Escape);
    EXPECT_EQ(c->Text(), QStringLiteral("green"));
    ASSERT_FALSE(fillingAtChange.empty());
    for (bool filling : fillingAtChange)
        EXPECT_TRUE(filling);
    EXPECT_EQ(userChanges, 1);
    EXPECT_FALSE(host.filling);
    EXPECT_EQ(host.hides, 1);
}

TEST_F(EditorHost, ComboRefusedOnTabStaysOpenWithTheHostsText)
{
    host.accept = false;
    TGridCombo *c = openCombo();
    QTest::keyClicks(c, QStringLiteral("blue"));
    QTest::keyClick(c, Qt::Key_Tab);
    ASSERT_FALSE(host.validated.empty());
    EXPECT_EQ(host.validated.back(), QStringLiteral("blue"));
    EXPECT_EQ(host.hides, 0);
    EXPECT_TRUE(c->isVisible());
    EXPECT_EQ(c->Text(), host.newText);
    EXPECT_FALSE(host.filling);
}

} // namespace
