// A row typed into the Step 3 dialog as a user types it: keys into the shown dialog, Enter with
// and without the option that moves on to the next field, the mouse from cell to cell, Tab out
// of an open editor, and then OK; what the file holds afterwards is what was typed.
#include "gateway/UIEC61850_Variables.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "grid/editing/QrlGridCombo.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/ui/MessageBox.h"
#include "support/GatewayTestUtil.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using gwtest::TTempConf;

// Grid columns: 1 Enable, 2 Name, 3 Type (list), 4 Length, 5 Read Only (check box), 6 Position,
// 7 Start Bit (list), 8 Conversion (list), 9 Molt. Factor (editable combo), 10 Swap, 11 Swap
// Word (check boxes), 12 Mnemonic.
constexpr int Name = 2, Type = 3, Length = 4, Position = 6, Conversion = 8, Molt = 9, Mnemonic = 12;

// What the tests type, by column; the other fields keep what a shown dialog gives a new row.
const std::map<int, QString> Typed = {{Name, "v1"},     {Type, "Float"},      {Length, "4"},
                                      {Position, "10"}, {Conversion, "None"}, {Molt, "2.5"},
                                      {Mnemonic, "m"}};

class TableDialogTyping : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        SW_Code = QStringLiteral("QS40300");
        File_IEC61850_Variables = conf.File(QStringLiteral("IEC61850_Variables.xml"));
        jump = Enable_Jump_Fields;
        dlg = std::make_unique<TFIEC61850_Variables>();
        dlg->FormShow();
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        for (int c = 1; c < grid()->ColCount(); ++c)
            newRow << cell(c);
    }
    void TearDown() override
    {
        dlg.reset();
        Enable_Jump_Fields = jump;
        File_IEC61850_Variables.clear();
    }

    TQrlColumnGrid *grid() const { return dlg->ACG(); }
    QPoint cursor() const { return {grid()->Col(), grid()->Row()}; }
    QString cell(int c, int r = 1) const { return dlg->Cell_Text(0, c, r); }

    void click(int c, int r)
    {
        const TRect rc = grid()->CellRect(c, r);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2));
        QCoreApplication::processEvents();
    }
    // Each key goes where the focus is, as the keyboard sends it; what a key posts (the
    // character that opens a combo) arrives before the next key.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
        QCoreApplication::processEvents();
    }
    void type(const QString &text)
    {
        for (const QChar ch : text) {
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
            QCoreApplication::processEvents();
        }
    }
    bool focusInGrid() const
    {
        const QWidget *fw = QApplication::focusWidget();
        return fw && (fw == grid() || grid()->isAncestorOf(fw));
    }
    void pressOk()
    {
        QTest::mouseClick(dlg->Btn_OK, Qt::LeftButton, {}, QPoint(10, 10));
        QCoreApplication::processEvents();
    }
    TTableRows saved() const
    {
        return Load_Table_File(dlg->Desc().File, File_IEC61850_Variables).Rows.value(0);
    }
    // The new row with the typed fields.
    TTableRow typedRow(const std::map<int, QString> &typed = Typed) const
    {
        TTableRow row = newRow;
        for (const auto &[c, text] : typed)
            row[c - 1] = text;
        return row;
    }

    TTempConf conf;
    std::unique_ptr<TFIEC61850_Variables> dlg;
    plat::MessageBoxRecorder boxes;
    bool jump = false;
    TTableRow newRow;
};

// The option moves on after every Enter; each value lands in the field it was typed into.
TEST_F(TableDialogTyping, RowTypedWithEnterJumpingFromFieldToField)
{
    Enable_Jump_Fields = true;
    click(Name, 1);
    type("v1");
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), QPoint(Type, 1));
    EXPECT_EQ(cell(Name), "v1");
    type("F"); // the list's item starting with F
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), QPoint(Length, 1));
    EXPECT_EQ(cell(Name), "v1");
    EXPECT_EQ(cell(Type), "Float");
    type("4");
    key(Qt::Key_Return);
    key(Qt::Key_Return); // Read Only stays unchecked
    EXPECT_EQ(cursor(), QPoint(Position, 1));
    type("10");
    key(Qt::Key_Return);
    key(Qt::Key_Return); // Start Bit stays empty
    EXPECT_EQ(cursor(), QPoint(Conversion, 1));
    type("N");
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), QPoint(Molt, 1));
    type("2.5");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), QPoint(Mnemonic, 1));
    type("m");
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), QPoint(1, 2));

    pressOk();
    EXPECT_EQ(boxes.Count(), 0) << (boxes.Count() ? boxes.Last().text.toStdString() : "");
    EXPECT_EQ(saved(), TTableRows{typedRow()});
}

// Without the option Enter closes the editor on its cell and the arrow keys move on; with the
// mouse, a click on the next field ends the edit of the last one.
TEST_F(TableDialogTyping, RowTypedWithEnterAndArrowsOrWithTheMouse)
{
    Enable_Jump_Fields = false;
    for (const bool mouse : {false, true}) {
        SCOPED_TRACE(mouse ? "mouse" : "Enter and Right");
        dlg->FormShow();
        click(Name, 1);
        auto field = [&](int c, const QString &text) {
            if (mouse)
                click(c, 1);
            else
                while (grid()->Col() < c)
                    key(Qt::Key_Right);
            ASSERT_EQ(cursor(), QPoint(c, 1));
            // A list takes the first letter of its item.
            type(c == Type || c == Conversion ? text.left(1) : text);
            if (!mouse) {
                key(Qt::Key_Return);
                EXPECT_EQ(cursor(), QPoint(c, 1)) << "Enter does not move on";
            }
        };
        for (const auto &[c, text] : Typed)
            field(c, text);
        click(Name, 3);
        pressOk();
        EXPECT_EQ(boxes.Count(), 0) << (boxes.Count() ? boxes.Last().text.toStdString() : "");
        EXPECT_EQ(saved(), TTableRows{typedRow()});
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
}

// The grid does not take Tab: it ends the edit with the typed value, and the focus moves on to
// the dialog's next control, so the next key leaves the cell alone.
TEST_F(TableDialogTyping, TabEndsTheEditAndLeavesTheGrid)
{
    for (const bool jumpOn : {false, true}) {
        SCOPED_TRACE(jumpOn ? "jump on" : "jump off");
        Enable_Jump_Fields = jumpOn;
        dlg->FormShow();
        for (const auto &[c, text] : Typed)
            if (c != Name && c != Type)
                dlg->Set_Cell_Text(0, c, 1, text);

        click(Name, 1);
        type("abc");
        key(Qt::Key_Tab);
        EXPECT_FALSE(focusInGrid());
        type("Z");
        EXPECT_EQ(cell(Name), "abc");

        // Back into the grid, and out of a list cell the same way.
        click(Type, 1);
        type("F");
        key(Qt::Key_Tab);
        EXPECT_FALSE(focusInGrid());
        type("I");
        EXPECT_EQ(cell(Type), "Float");
        EXPECT_EQ(cell(Name), "abc");

        pressOk();
        EXPECT_EQ(boxes.Count(), 0) << (boxes.Count() ? boxes.Last().text.toStdString() : "");
        std::map<int, QString> typed = Typed;
        typed[Name] = QStringLiteral("abc");
        EXPECT_EQ(saved(), TTableRows{typedRow(typed)});
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
}

// After an edit in the editable Molt. Factor combo, the Conversion list of the next row opens and
// stays open (F2 or a second click), and leaves its empty cell alone until an item is picked.
TEST_F(TableDialogTyping, ListOpensAndStaysOpenAfterTheEditableCombo)
{
    Enable_Jump_Fields = false;
    for (const bool byClick : {false, true}) {
        SCOPED_TRACE(byClick ? "second click" : "F2");
        dlg->FormShow();
        click(Molt, 1);
        click(Molt, 1);
        type("2");
        key(Qt::Key_Return);
        ASSERT_EQ(cell(Molt), "2");

        click(Conversion, 2);
        if (byClick)
            click(Conversion, 2);
        else
            key(Qt::Key_F2);
        // The deferred deletions of the platform run in the event loop.
        QTest::qWait(50);
        const TGridCombo *combo = grid()->EditCombo();
        EXPECT_TRUE(combo->isVisible());
        EXPECT_TRUE(grid()->EditMode());
        EXPECT_EQ(QApplication::focusWidget(), combo);
        EXPECT_EQ(cell(Conversion, 2), "");

        type("I");
        key(Qt::Key_Return);
        EXPECT_EQ(cell(Conversion, 2), "Int to Float");
    }
}

} // namespace
