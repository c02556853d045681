// The cases every gateway table dialog shares, run over the dialogs themselves: show, the first
// blank key ending check and save, disabled rows, header hints, row copies between pages, the
// files that were not loaded whole or are not well-formed, the attributes of a file that no
// column shows, Escape, and where each showing starts. Where a user would act, the tests click
// and type. A dialog joins with one entry in Dialogs below.
#include "gateway/UIEC61850_Variables.h"
#include "gateway/USetAccess.h"
#include "gateway/UTLS_Server_Known_Cert.h"
#include "gateway/table/UTableDialog.h"
#include "gateway/table/UTablePalette.h"
#include "gateway/table/UTableRows.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"
#include "support/GatewayTestUtil.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using gwtest::TTempConf;

namespace {

struct TDialogCase
{
    const char *name;
    // Points the dialog's file into the folder and builds the dialog.
    std::function<std::unique_ptr<TTableDialog>(const QString &folder)> make;
    // Per grid: a row the check accepts, in the file's column order (Enable first).
    QVector<QStringList> goodRows;
    // Per grid: a row the check refuses; none when the dialog refuses no row.
    QVector<QStringList> badRows;
};

const QString Pem = QStringLiteral("-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIU\n"
                                   "-----END CERTIFICATE-----");

const TDialogCase Dialogs[] = {
    {"KnownCert",
     [](const QString &folder) -> std::unique_ptr<TTableDialog> {
         File_TLS_Known_Cert = folder + QStringLiteral("/TLS_Known_Cert.xml");
         return std::make_unique<TFTLS_Server_Known_Cert>();
     },
     {{"Y", Pem, "client A"}},
     {}},
    {"IEC61850Variables",
     [](const QString &folder) -> std::unique_ptr<TTableDialog> {
         File_IEC61850_Variables = folder + QStringLiteral("/IEC61850_Variables.xml");
         return std::make_unique<TFIEC61850_Variables>();
     },
     {{"Y", "v1", "Int", "2", "N", "10", "", "None", "None", "N", "N", "m"}},
     {{"Y", "v2", "Digital (Bit)", "1", "N", "10", "", "None", "None", "N", "N", "m"}}},
    {"ModbusAccess",
     [](const QString &folder) -> std::unique_ptr<TTableDialog> {
         File_ModbusM_SetAccess = folder + QStringLiteral("/ModbusM_SetAccess.xml");
         return std::make_unique<TFSetAccess>();
     },
     {{"Y", "1", "Holding Register", "0", "2", "100", "0", "0", "0", "N", "N", "-1", "m"},
      {"Y", "1", "Holding Register", "0", "2", "100", "N", "N", "0", "0", "0", "N", "N", "m"}},
     {{"Y", "0", "Holding Register", "0", "2", "100", "0", "0", "0", "N", "N", "-1", "m"},
      {"Y", "0", "Holding Register", "0", "2", "100", "N", "N", "0", "0", "0", "N", "N", "m"}}},
};

class TableDialogs : public ::testing::TestWithParam<TDialogCase>
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        Copy_Row_Buffer.clear();
        dlg = GetParam().make(conf.Path());
        path = dlg->Desc().FilePath();
    }
    void TearDown() override
    {
        dlg.reset();
        plat::ClearModalShownActions();
        Copy_Row_Buffer.clear();
        Load_English_Texts();
    }

    const TTableFileDesc &file() const { return dlg->Desc().File; }
    QStringList good(int g) const { return GetParam().goodRows.value(g); }
    bool refusesRows() const { return !GetParam().badRows.isEmpty(); }
    // A row the check refuses; a good one for a dialog that refuses none.
    QStringList bad(int g) const { return refusesRows() ? GetParam().badRows.value(g) : good(g); }
    int keyCol(int g) const
    {
        const TTableGroup &group = file().Groups[g];
        return group.Columns[group.KeyColumn].GridCol;
    }

    // The file as written by hand (a blank key included, which the program never writes).
    void writeRows(const std::function<QVector<QStringList>(int g)> &rows)
    {
        QString body;
        for (int g = 0; g < file().Groups.size(); ++g) {
            QStringList lines;
            for (const QStringList &values : rows(g)) {
                gwtest::TAttrs attrs;
                const QVector<TTableColumn> &cols = file().Groups[g].Columns;
                for (int k = 0; k < cols.size(); ++k)
                    attrs.emplace_back(cols[k].Attribute, values.value(k));
                lines << gwtest::Row(attrs);
            }
            body += file().Grouped() ? QStringLiteral("<%1>\n%2\n</%1>\n")
                                           .arg(file().Groups[g].Name, lines.join('\n'))
                                     : lines.join('\n') + QLatin1Char('\n');
        }
        conf.Write(QFileInfo(path).fileName(), gwtest::TableXml(file().Root, {body}));
    }
    TTableData saved() const { return Load_Table_File(file(), path).Rows; }
    QByteArray bytes() const { return gwtest::ReadFile(path); }
    QStringList keyed(int g, const QString &key) const
    {
        QStringList row = good(g);
        row[file().Groups[g].KeyColumn] = key;
        return row;
    }

    // ---- the user's hands ---------------------------------------------------------------------
    // Runs steps while the dialog shows modally and returns how it ended; a dialog the steps left
    // open is ended with mrAbort, so a failed step never hangs the test.
    int showAndDo(const std::function<void()> &steps)
    {
        plat::WhenModalShown([&](TModalForm *form) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
            steps();
            if (form->isVisible())
                form->SetModalResult(mrAbort);
        });
        return dlg->ShowModal();
    }
    void showPage(int g)
    {
        if (!dlg->PageControl1)
            return;
        QTabBar *bar = dlg->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(g).center());
        ASSERT_EQ(dlg->PageControl1->currentIndex(), g);
    }
    void clickCell(int g, int c, int r)
    {
        TQrlStringGrid *grid = dlg->Grid(g);
        const TRect rc = grid->CellRect(c, r);
        ASSERT_FALSE(rc.IsEmpty()) << "cell " << c << "," << r << " is not in view";
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2));
    }
    void click(TLbButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }
    // Empties a text cell as a user would: open its editor, select all, delete, leave the cell
    // by a click on another one.
    void typeBlank(int g, int c, int r, int leaveTo)
    {
        clickCell(g, c, r);
        press(Qt::Key_F2);
        ASSERT_TRUE(dlg->Grid(g)->EditorMode());
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Delete);
        clickCell(g, c, leaveTo);
    }

    TTempConf conf;
    QString path;
    std::unique_ptr<TTableDialog> dlg;
    plat::MessageBoxRecorder boxes;
};

TEST_P(TableDialogs, MissingFileShowsAnEmptyTableAndOkWritesOneWithoutRows)
{
    dlg->FormShow();
    EXPECT_EQ(boxes.Count(), 0);
    for (int g = 0; g < dlg->GridCount(); ++g)
        for (int r = 1; r < dlg->Grid(g)->RowCount(); ++r) {
            EXPECT_TRUE(dlg->Row_Ends_Table(g, r)) << "grid " << g << " row " << r;
            EXPECT_TRUE(dlg->Row_Enabled(g, r));
        }
    dlg->Btn_OKClick();
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    EXPECT_EQ(saved(), Empty_Table_Data(file()));
    EXPECT_TRUE(bytes().contains("SW_VERSION = "));
}

// A row behind the first blank key still shows, but is neither checked nor saved; OK says so
// before those rows are lost.
TEST_P(TableDialogs, FirstBlankKeyEndsCheckAndSave)
{
    writeRows([&](int g) {
        return QVector<QStringList>{good(g), keyed(g, QStringLiteral("  ")), bad(g)};
    });
    dlg->FormShow();
    for (int g = 0; g < dlg->GridCount(); ++g) {
        EXPECT_FALSE(dlg->Row_Ends_Table(g, 1));
        EXPECT_TRUE(dlg->Row_Ends_Table(g, 2));
        EXPECT_FALSE(dlg->Row_Ends_Table(g, 3));
    }
    boxes.QueueAnswer(mrYes);
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    const TTableData rows = saved();
    for (int g = 0; g < dlg->GridCount(); ++g)
        EXPECT_EQ(rows[g], TTableRows{good(g)}) << "grid " << g;
}

TEST_P(TableDialogs, DisabledRowsAreSkippedByTheCheckButSaved)
{
    auto disabled = [&](int g) {
        QStringList row = bad(g);
        row[0] = QStringLiteral("N");
        return row;
    };
    writeRows([&](int g) { return QVector<QStringList>{good(g), disabled(g)}; });
    dlg->FormShow();
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    const TTableData rows = saved();
    for (int g = 0; g < dlg->GridCount(); ++g)
        EXPECT_EQ(rows[g], (TTableRows{good(g), disabled(g)})) << "grid " << g;

    if (!refusesRows())
        return;
    writeRows([&](int g) { return QVector<QStringList>{good(g), bad(g)}; });
    const QByteArray before = bytes();
    dlg->SetModalResult(mrNone);
    dlg->FormShow();
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_TRUE(boxes.Last().text.contains(QStringLiteral("2"))) << boxes.Last().text.toStdString();
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(bytes(), before);
}

// Every column takes its colour from the palette, the Enable column the Enable colour, so the
// same kind of column looks the same in every dialog.
TEST_P(TableDialogs, ColumnsArePaintedFromThePalette)
{
    namespace P = TablePalette;
    const TColor palette[] = {P::Enable,    P::Subject,    P::Detail, P::Flag,
                              P::Placement, P::Conversion, P::Comment};
    for (int g = 0; g < dlg->GridCount(); ++g) {
        const QVector<TTableGridColumn> &cols = dlg->Desc().Grids[g].Columns;
        ASSERT_FALSE(cols.isEmpty());
        EXPECT_EQ(cols.first().Color, P::Enable);
        for (int k = 0; k < cols.size(); ++k)
            EXPECT_NE(std::find(std::begin(palette), std::end(palette), cols[k].Color),
                      std::end(palette))
                << "grid " << g << " column " << k + 1;
    }
}

TEST_P(TableDialogs, OnlyHeaderCellsHaveHints)
{
    for (int g = 0; g < dlg->GridCount(); ++g) {
        QObject *grid = dlg->Grid(g);
        QString hint = QStringLiteral("stale");
        dlg->GridHint(grid, 0, 0, hint);
        EXPECT_EQ(hint, QString());
        for (int c = 1; c < dlg->Grid(g)->ColCount(); ++c) {
            dlg->GridHint(grid, 0, c, hint);
            EXPECT_EQ(hint, dlg->Hint_Lists[g].value(dlg->Grid(g)->RealColIndex(c) - 1));
            EXPECT_FALSE(hint.isEmpty()) << "grid " << g << " column " << c;
            dlg->GridHint(grid, 1, c, hint);
            EXPECT_EQ(hint, QString());
        }
    }
}

TEST_P(TableDialogs, RowCopiedOnOnePageIsNotPastedOnTheOther)
{
    if (dlg->GridCount() < 2)
        GTEST_SKIP() << "one page";
    writeRows([&](int g) { return QVector<QStringList>{good(g)}; });
    dlg->FormShow();
    dlg->Grid(0)->MoveColRow(2, 1, true, false);
    dlg->Btn_CopyRowClick();
    dlg->PageControl1->setCurrentIndex(1);
    dlg->Grid(1)->MoveColRow(2, 3, true, false);
    dlg->Btn_PasteRowClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Text_Copy_Before_Paste));
    EXPECT_TRUE(dlg->Row_Ends_Table(1, 3));
}

// A file that does not parse, or parses only because the parser lets through what XML forbids,
// is reported when the dialog opens; OK asks before the file is replaced, and No keeps it.
TEST_P(TableDialogs, FileThatIsNotWellFormedIsNotReplacedWithoutAsking)
{
    writeRows([&](int g) { return QVector<QStringList>{good(g)}; });
    const QByteArray valid = bytes();
    const auto replaced = [&](const QByteArray &what, const QByteArray &with) {
        QByteArray b = valid;
        const qsizetype at = b.indexOf(what);
        EXPECT_GE(at, 0) << what.toStdString();
        return b.replace(at, what.size(), with);
    };
    struct Case
    {
        const char *name;
        QByteArray bytes;
    };
    std::vector<Case> cases = {
        {"cut off", "<" + file().Root.toUtf8() + "><row"},
        {"two root elements", valid + valid},
        {"an attribute twice", replaced("<row ", "<row Enable=\"Y\" ")},
        {"Latin-1 bytes without a declaration", replaced("Enable=\"", "Enable=\"\xC4")},
        {"a reference beyond Unicode", replaced("Enable=\"", "Enable=\"&#x110000;")},
    };
    if (file().Grouped())
        cases.push_back({"a group twice", replaced("</" + file().Root.toUtf8() + ">",
                                                   "<" + file().Groups[0].Name.toUtf8() + "/></" +
                                                       file().Root.toUtf8() + ">")});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        conf.WriteBytes(QFileInfo(path).fileName(), c.bytes);
        boxes.Clear();
        bool askedAndStayed = false;
        const int result = showAndDo([&] {
            ASSERT_EQ(boxes.Count(), 1);
            EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
            boxes.QueueAnswer(mrNo);
            click(dlg->Btn_OK);
            ASSERT_EQ(boxes.Count(), 2);
            EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
            askedAndStayed = dlg->isVisible() && dlg->ModalResult() == mrNone;
            click(dlg->Btn_Cancel);
        });
        EXPECT_EQ(result, mrCancel);
        EXPECT_TRUE(askedAndStayed);
        EXPECT_EQ(bytes(), c.bytes);
    }
}

TEST_P(TableDialogs, SurplusRowsAreReportedAndNotDroppedWithoutAsking)
{
    writeRows([&](int g) { return QVector<QStringList>(file().Groups[g].Capacity + 1, good(g)); });
    const QByteArray before = bytes();
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    const QString leftOut = QString::number(dlg->GridCount());
    EXPECT_TRUE(boxes.Last().text.contains(Table_Message(Text_Rows_Left_Out, {leftOut})))
        << boxes.Last().text.toStdString();
    for (int g = 0; g < dlg->GridCount(); ++g)
        EXPECT_FALSE(dlg->Row_Ends_Table(g, file().Groups[g].Capacity));

    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(bytes(), before);
}

// Escape never closes a table dialog: in an open editor it gives the cell its old text back,
// anywhere else it does nothing; the dialog ends only through its buttons.
TEST_P(TableDialogs, EscapeCancelsAnOpenEditAndLeavesTheDialogOpen)
{
    writeRows([&](int g) { return QVector<QStringList>{good(g)}; });
    const int key = keyCol(0);
    const QString before = good(0)[file().Groups[0].KeyColumn];
    bool editorOpened = false, editorClosed = false, openAfterEscapes = false;
    QString afterEscape;
    const int result = showAndDo([&] {
        clickCell(0, key, 1);
        press(Qt::Key_F2);
        editorOpened = dlg->Grid(0)->EditorMode();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
        press(Qt::Key_Escape);
        editorClosed = !dlg->Grid(0)->EditorMode();
        afterEscape = dlg->Cell_Text(0, key, 1);
        press(Qt::Key_Escape);
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        openAfterEscapes = dlg->isVisible() && dlg->ModalResult() == mrNone;
        click(dlg->Btn_Cancel);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(editorOpened);
    EXPECT_TRUE(editorClosed);
    EXPECT_EQ(afterEscape, before);
    EXPECT_TRUE(openAfterEscapes);
    EXPECT_EQ(boxes.Count(), 0);
}

// The first blank key ends the table, whether the file had it or the user typed it: OK asks
// before the rows from there on that hold data are dropped, and No keeps file and dialog.
TEST_P(TableDialogs, OkAsksBeforeDroppingRowsAfterABlankKey)
{
    // From the file: the first row lacks its key; a row without data below asks nothing more.
    writeRows([&](int g) { return QVector<QStringList>{keyed(g, QString()), good(g), good(g)}; });
    QByteArray before = bytes();
    bool stayed = false;
    QByteArray afterNo;
    int result = showAndDo([&] {
        ASSERT_EQ(boxes.Count(), 0);
        boxes.QueueAnswer(mrNo);
        click(dlg->Btn_OK);
        ASSERT_EQ(boxes.Count(), 1);
        stayed = dlg->isVisible() && dlg->ModalResult() == mrNone;
        afterNo = bytes();
        boxes.QueueAnswer(mrYes);
        click(dlg->Btn_OK);
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(afterNo, before);
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Requests()[0].buttons, plat::MsgButtons::YesNo);
    EXPECT_EQ(boxes.Requests()[0].icon, plat::MsgIcon::Question);
    const TTableGridColumn &keyColumn = dlg->Desc().Grids[0].Columns[keyCol(0) - 1];
    EXPECT_EQ(boxes.Requests()[0].text.count(
                  Table_Message(Text_Rows_After_Blank_Key,
                                {"1", Lang_Texts.value(keyColumn.Header), QString::number(3)})),
              dlg->GridCount())
        << boxes.Requests()[0].text.toStdString();
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(saved(), Empty_Table_Data(file()));

    // Typed: the key of row 1 emptied in its editor.
    writeRows([&](int g) { return QVector<QStringList>{good(g), good(g)}; });
    before = bytes();
    boxes.Clear();
    bool blank = false;
    result = showAndDo([&] {
        typeBlank(0, keyCol(0), 1, 2);
        blank = dlg->Row_Ends_Table(0, 1);
        boxes.QueueAnswer(mrNo);
        click(dlg->Btn_OK);
        stayed = dlg->isVisible() && dlg->ModalResult() == mrNone;
        click(dlg->Btn_Cancel);
    });
    EXPECT_TRUE(blank);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(result, mrCancel);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
    EXPECT_TRUE(boxes.Last().text.contains(Table_Message(Text_Save_Anyway)));
    EXPECT_EQ(bytes(), before);
}

// The file as the program writes it, whose rows carry attributes no column holds (the image
// compiler reads some of them) before, between and after the columns, and one row with its
// columns in another order.
QByteArray fileWithForeignAttributes(const TTableFileDesc &desc,
                                     const QVector<QStringList> &goodRows,
                                     const QString &path)
{
    plat::XmlDocument doc;
    plat::XmlNode root = doc.AppendElement(desc.Root);
    doc.AppendComment(QStringLiteral("SW_VERSION = ") + desc.Version);
    for (int g = 0; g < desc.Groups.size(); ++g) {
        const QVector<TTableColumn> &cols = desc.Groups[g].Columns;
        plat::XmlNode parent = desc.Grouped() ? root.AppendElement(desc.Groups[g].Name) : root;
        plat::XmlNode first = parent.AppendElement(QStringLiteral("row"));
        first.SetAttribute(QStringLiteral("Float_Conv"), QStringLiteral("Y"));
        for (int k = 0; k < cols.size(); ++k) {
            first.SetAttribute(cols[k].Attribute, goodRows[g].value(k));
            if (k == 2)
                first.SetAttribute(QStringLiteral("Operation"), QStringLiteral("X 10"));
        }
        first.SetAttribute(QStringLiteral("Endian"), QStringLiteral("LITTLE"));
        first.SetAttribute(QStringLiteral("Signed"), QStringLiteral("Y"));
        plat::XmlNode second = parent.AppendElement(QStringLiteral("row"));
        for (int k = int(cols.size()) - 1; k >= 0; --k) {
            second.SetAttribute(cols[k].Attribute, goodRows[g].value(k));
            if (k == 1)
                second.SetAttribute(QStringLiteral("Signed"), QStringLiteral("Y"));
        }
    }
    doc.Save(path);
    return gwtest::ReadFile(path);
}

TEST_P(TableDialogs, OpenAndOkWithoutAnEditKeepTheFile)
{
    QVector<QStringList> rows;
    for (int g = 0; g < file().Groups.size(); ++g)
        rows << good(g);
    const QByteArray before = fileWithForeignAttributes(file(), rows, path);
    const int result = showAndDo([&] { click(dlg->Btn_OK); });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(bytes().toStdString(), before.toStdString());
}

// Delete, copy and paste move a row with the attributes of its file that no column shows.
TEST_P(TableDialogs, RowButtonsCarryTheAttributesNoColumnShows)
{
    writeRows([&](int g) { return QVector<QStringList>{good(g), good(g)}; });
    {
        plat::XmlDocument doc;
        doc.LoadFile(path);
        for (int g = 0; g < file().Groups.size(); ++g) {
            std::vector<plat::XmlNode> rows = Table_Group_Rows(doc, file(), g, path);
            for (size_t r = 0; r < rows.size(); ++r)
                rows[r].SetAttribute(QStringLiteral("Signed"), QString::number(r + 1));
        }
        doc.Save(path);
    }
    const int key = keyCol(0);
    const int result = showAndDo([&] {
        clickCell(0, key, 1);
        boxes.QueueAnswer(mrYes);
        click(dlg->Btn_DelRow); // row 2 moves up
        click(dlg->Btn_CopyRow);
        clickCell(0, key, 2);
        click(dlg->Btn_PasteRow); // into the row the delete emptied
        click(dlg->Btn_OK);
    });
    EXPECT_EQ(result, mrOk);
    plat::XmlDocument doc;
    doc.LoadFile(path);
    for (int g = 0; g < file().Groups.size(); ++g) {
        SCOPED_TRACE(g);
        QStringList signedValues;
        for (const plat::XmlNode &row : Table_Group_Rows(doc, file(), g, path)) {
            signedValues << row.AttributeOr(QStringLiteral("Signed"), QStringLiteral("-"));
            EXPECT_EQ(row.Attributes().back().name, QStringLiteral("Signed"));
        }
        // The other page was not touched.
        EXPECT_EQ(signedValues, g == 0 ? QStringList({"2", "2"}) : QStringList({"1", "2"}));
    }
}

// Every showing starts at the top-left of each table with its first data cell current, however
// the last one was left.
TEST_P(TableDialogs, EachShowingStartsAtTheTopLeft)
{
    writeRows([&](int g) { return QVector<QStringList>(file().Groups[g].Capacity, good(g)); });
    bool moved = true;
    showAndDo([&] {
        for (int g = dlg->GridCount() - 1; g >= 0; --g) {
            showPage(g);
            clickCell(g, 2, 1);
            for (int i = 0; i < 4; ++i)
                press(Qt::Key_PageDown);
            press(Qt::Key_End);
            TQrlStringGrid *grid = dlg->Grid(g);
            moved = moved && grid->TopRow() > 1 && grid->Row() > 1 && grid->Col() > 2;
        }
        click(dlg->Btn_Cancel);
    });
    ASSERT_TRUE(moved);
    struct Where
    {
        int top, left, col, row;
        plat::TGridRect selection;
    };
    QVector<Where> seen;
    int page = -1;
    bool firstGridTakesTheKeys = false;
    showAndDo([&] {
        page = dlg->PageControl1 ? dlg->PageControl1->currentIndex() : 0;
        firstGridTakesTheKeys = dlg->focusWidget() == dlg->Grid(0);
        for (int g = 0; g < dlg->GridCount(); ++g) {
            TQrlStringGrid *grid = dlg->Grid(g);
            seen << Where{grid->TopRow(), grid->LeftCol(), grid->Col(), grid->Row(),
                          grid->Selection()};
        }
        click(dlg->Btn_Cancel);
    });
    EXPECT_EQ(page, 0);
    EXPECT_TRUE(firstGridTakesTheKeys);
    ASSERT_EQ(seen.size(), dlg->GridCount());
    for (const Where &w : seen) {
        EXPECT_EQ(w.top, 1);
        EXPECT_EQ(w.left, 1);
        EXPECT_EQ(w.col, 1);
        EXPECT_EQ(w.row, 1);
        EXPECT_EQ(w.selection.Left, 1);
        EXPECT_EQ(w.selection.Right, 1);
        EXPECT_EQ(w.selection.Top, 1);
        EXPECT_EQ(w.selection.Bottom, 1);
    }
}

// The messages about the file come from the text table, so a language file translates them.
TEST_P(TableDialogs, FileMessagesFollowTheLanguage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString lng = dir.filePath(QStringLiteral("Test.lng"));
    {
        QFile f(lng);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xEF\xBB\xBF"
                "STR1109 =Zeilen ausgelassen: %1\n"
                "STR1110 =Nur ein Teil von %1 steht in der Tabelle.\n"
                "STR1111 =Trotzdem speichern?\n"
                "STR1112 =Tabelle endet in Zeile %1 (%2 leer), verloren: %3\n");
    }
    Load_Language_File(lng);
    writeRows([&](int g) {
        QVector<QStringList> rows(file().Groups[g].Capacity + 1, good(g));
        rows[1] = keyed(g, QString());
        return rows;
    });
    const int result = showAndDo([&] {
        boxes.QueueAnswer(mrYes); // the rows after the blank key
        boxes.QueueAnswer(mrNo);  // the rows the table could not take
        click(dlg->Btn_OK);
        click(dlg->Btn_Cancel);
    });
    EXPECT_EQ(result, mrCancel);
    ASSERT_EQ(boxes.Count(), 3);
    const QString leftOut = QString::number(dlg->GridCount());
    EXPECT_TRUE(boxes.Requests()[0].text.contains("Zeilen ausgelassen: " + leftOut))
        << boxes.Requests()[0].text.toStdString();
    EXPECT_TRUE(boxes.Requests()[1].text.contains("Tabelle endet in Zeile 2"))
        << boxes.Requests()[1].text.toStdString();
    EXPECT_TRUE(boxes.Requests()[1].text.endsWith("Trotzdem speichern?"));
    EXPECT_TRUE(boxes.Requests()[2].text.contains("Nur ein Teil von"))
        << boxes.Requests()[2].text.toStdString();
    EXPECT_TRUE(boxes.Requests()[2].text.endsWith("Trotzdem speichern?"));
}

INSTANTIATE_TEST_SUITE_P(Gateway, TableDialogs, ::testing::ValuesIn(Dialogs), [](const auto &info) {
    return std::string(info.param.name);
});

} // namespace
