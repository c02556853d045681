// Rows and columns that grow while the user types in the text editor, and where the editor sits
// over its cell.
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using enum TEditorType;
using plat::TGridOption;

class SizeWhileTyping : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid->SetColCount(3);
        grid->SetRowCount(3);
        grid->SetWordWrap(false);
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->OnEndRowSize = [this](QObject *, int ARow) { endRowSize.push_back(ARow); };
        ASSERT_TRUE(shown.showActive({400, 200}));
    }

    void TearDown() override { grid->OnEndRowSize = nullptr; }

    // Opens the editor of cell (1, 1) on text; the caret goes to the end.
    QWidget *open(const QString &text)
    {
        grid->SetCells(1, 1, text);
        grid->KeepOldCellValue(1, 1);
        grid->ShowInplaceEdit();
        TQrlInplaceEdit *ed = grid->NormalEdit();
        if (!ed || !ed->Widget()->isVisible())
            return nullptr;
        QTest::keyClick(ed->Widget(), Qt::Key_End);
        endRowSize.clear();
        return ed->Widget();
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = shown.open();
    std::vector<int> endRowSize;
};

TEST_F(SizeWhileTyping, WrappedTextGrowsTheRowOnlyWithHeightOn)
{
    for (const bool height : {false, true}) {
        SCOPED_TRACE(height ? "height on" : "height off");
        grid->SetWordWrap(true);
        grid->SetColWidths(1, 60);
        grid->SetRowHeights(1, 22);
        grid->SizeWhileTyping()->SetHeight(height);
        QWidget *w = open("");
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, "one two three four");
        EXPECT_EQ(grid->RowHeights(1) > 22, height);
        EXPECT_EQ(!endRowSize.empty(), height);
        for (const int row : endRowSize)
            EXPECT_EQ(row, 1);
        grid->HideInplaceEdit();
    }
}

TEST_F(SizeWhileTyping, WidthOnWidensTheColumnToTheTypedTextButNeverNarrowsIt)
{
    struct
    {
        bool width;
        int colWidth;
        const char *typed;
        bool grows;
    } const cases[] = {{true, 40, "a rather long line of text", true},
                       {false, 40, "a rather long line of text", false},
                       {true, 300, "ab", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        grid->SizeWhileTyping()->SetWidth(c.width);
        grid->SetColWidths(1, c.colWidth);
        QWidget *w = open("");
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, c.typed);
        EXPECT_EQ(grid->ColWidths(1) > c.colWidth, c.grows);
        EXPECT_GE(grid->ColWidths(1), c.colWidth);
        // The editor follows its widened cell.
        EXPECT_EQ(w->width(), grid->CellRect(1, 1).Width() - 1);
        grid->HideInplaceEdit();
    }
}

TEST_F(SizeWhileTyping, LineBreakInMultiLineCellsMakesRoomForTheNewLine)
{
    struct
    {
        const char *name;
        Qt::KeyboardModifier modifier;
        bool lineFeedOnEnter;
        bool height;
    } const cases[] = {{"ctrl+enter", Qt::ControlModifier, false, true},
                       {"shift+enter with line feed on enter", Qt::ShiftModifier, true, true},
                       {"height off", Qt::ControlModifier, false, false}};
    grid->SetMultilineCells(true);
    // The reference: two lines, as the row-to-lines sizing makes them.
    grid->SizeRowToLines(2, 2, 0);
    const int twoLines = grid->RowHeights(2);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        grid->Navigation()->SetLineFeedOnEnter(c.lineFeedOnEnter);
        grid->SizeWhileTyping()->SetHeight(c.height);
        grid->SetRowHeights(1, 10);
        QWidget *w = open("a");
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key_Return, c.modifier);
        EXPECT_EQ(grid->NormalEdit()->Text(), "a\r\n");
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(grid->RowHeights(1), c.height ? twoLines : 10);
        EXPECT_EQ(endRowSize, c.height ? std::vector<int>{1} : std::vector<int>{});
        grid->HideInplaceEdit();
    }
}

TEST_F(SizeWhileTyping, EditorCoversTheCellLessOnePixelEachWay)
{
    struct
    {
        const char *name;
        bool wordWrap;
        Qt::LayoutDirection direction;
    } const cases[] = {{"line edit", false, Qt::LeftToRight},
                       {"memo", true, Qt::LeftToRight},
                       {"right to left", false, Qt::RightToLeft}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetWordWrap(c.wordWrap);
        grid->setLayoutDirection(c.direction);
        QWidget *w = open("text");
        ASSERT_NE(w, nullptr);
        const TRect r = grid->CellRect(1, 1);
        const int shift = c.direction == Qt::RightToLeft ? 1 : 0;
        EXPECT_EQ(w->geometry(),
                  QRect(r.Left + shift, r.Top, r.Width() - shift - 1, r.Height() - 1));
        if (auto *line = qobject_cast<QLineEdit *>(w)) {
            EXPECT_EQ(line->textMargins(), QMargins(3, 3, 2, 0));
        }
        grid->HideInplaceEdit();
    }
    grid->setLayoutDirection(Qt::LeftToRight);
}

// All rows fit while the editing starts; the row grown by the typing pushes the last ones out
// of view, and the editor comes back with its caret at the end.
TEST_F(SizeWhileTyping, RowGrownOutOfViewBringsTheEditorBackWithTheCaretAtTheEnd)
{
    grid->SetWordWrap(true);
    grid->SetColWidths(1, 50);
    grid->SizeWhileTyping()->SetHeight(true);
    QWidget *w = open("end");
    ASSERT_NE(w, nullptr);
    QTest::keyClick(w, Qt::Key_Home);
    QTest::keyClicks(w, "one two three four five six seven eight nine ten eleven twelve ");
    ASSERT_LT(grid->FixedRows() + grid->VisibleRowCount(), grid->RowCount());
    TQrlInplaceEdit *ed = grid->NormalEdit();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(ed->Editor()->SelStart(), ed->Text().size());
}

} // namespace
