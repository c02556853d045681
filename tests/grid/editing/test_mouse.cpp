// Mouse clicks on a shown grid: check-box cells, OnClickCell, header border grabs, header-click
// sorting, cell links and the link scheme rule, opening the editor by a second click (and where
// its caret lands), fixed cells as buttons, editing a URL by a right click, double clicks on
// cells and on header borders.
#include "grid/display/QrlHTMLEngine.h"
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlHTMLPicture.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using plat::TGridOption;

// Lets the tests see whether a fixed cell is held down; nothing draws it yet.
class PeekGrid : public TQrlColumnGrid
{
public:
    using TQrlColumnGrid::TQrlColumnGrid;
    bool fixedPushed() const { return ed->mouse.fixedCellPushed; }
};

// A dialog-like column grid, shown: 5 columns (one fixed), a header row and 4 data rows.
class Mouse : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = shown.open();
        grid->SetColCount(5);
        grid->SetRowCount(5);
        grid->SetOptions(grid->Options() + TGridOption::goRangeSelect + TGridOption::goColSizing);
        ASSERT_TRUE(shown.showActive({500, 250}));
        clicks.clear();
        grid->OnClickCell = [this](QObject *, int r, int c) {
            clicks.push_back({r, c, grid->Row(), grid->Col()});
        };
    }

    QPoint centre(int c, int r) const { return grid->CellRect(c, r).toQRect().center(); }
    QPoint at(int c, int r, int dx, int dy) const
    {
        const TRect cr = grid->CellRect(c, r);
        return {dx >= 0 ? cr.Left + dx : cr.Right + dx, dy >= 0 ? cr.Top + dy : cr.Bottom + dy};
    }
    void click(QPoint p) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, p); }
    // As a double click arrives: press, release, double-click message, release.
    void doubleClick(QPoint p)
    {
        click(p);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, p);
    }

    struct Click
    {
        int row, col, curRow, curCol;
        friend bool operator==(const Click &, const Click &) = default;
    };
    gridtest::GridWindow<PeekGrid> shown;
    TQrlColumnGrid *grid = nullptr;
    std::vector<Click> clicks;
};

TEST_F(Mouse, DataCheckBoxCellTogglesAnywhereUnlessReadOnly)
{
    struct Case
    {
        const char *name;
        bool readOnly;
        QString after;
        int checkBoxClicks;
        int cellClicks;
    };
    const Case cases[] = {
        {"editable column toggles", false, QStringLiteral("N"), 1, 0},
        {"read-only column is a plain cell", true, QStringLiteral("Y"), 0, 1},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        // Real column 3, shown as display column 2 once column 1 is hidden.
        grid->Columns()->Items(3)->SetEditor(TEditorType::edDataCheckBox);
        grid->Columns()->Items(3)->SetReadOnly(k.readOnly);
        grid->HideColumn(1);
        grid->SetCellEx(3, 2, QStringLiteral("Y"));
        std::vector<std::pair<int, bool>> boxClicks;
        grid->OnCheckBoxClick = [&](QObject *, int c, int, bool s) { boxClicks.push_back({c, s}); };

        click(at(2, 2, 3, -3)); // near the bottom-left corner, away from the glyph

        EXPECT_EQ(grid->GetCellEx(3, 2), k.after);
        EXPECT_EQ(static_cast<int>(boxClicks.size()), k.checkBoxClicks);
        if (!boxClicks.empty()) {
            EXPECT_EQ(boxClicks.front().first, 2);
            EXPECT_FALSE(boxClicks.front().second);
        }
        EXPECT_EQ(static_cast<int>(clicks.size()), k.cellClicks);
        EXPECT_EQ(grid->Row(), 2);
        EXPECT_EQ(grid->Col(), 2);
    }
}

TEST_F(Mouse, ASimulatedCellClickMovesTheCursorWithoutToggling)
{
    grid->Columns()->Items(3)->SetEditor(TEditorType::edDataCheckBox);
    grid->SetCellEx(3, 2, QStringLiteral("Y"));
    int boxClicks = 0;
    grid->OnCheckBoxClick = [&](QObject *, int, int, bool) { ++boxClicks; };
    grid->SimulateCellClick(3, 2);
    EXPECT_EQ(grid->GetCellEx(3, 2), QStringLiteral("Y"));
    EXPECT_EQ(boxClicks, 0);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 3);
    grid->OnCheckBoxClick = nullptr;
}

TEST_F(Mouse, ClickCellFiresOnceAfterTheCursorMoved)
{
    click(centre(3, 2));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks.front(), (Click{2, 3, 2, 3}));
}

TEST_F(Mouse, HeaderPressOnABorderSizesAndDoesNotClick)
{
    struct Case
    {
        const char *name;
        int dx;
        bool sizing;
    };
    const Case cases[] = {
        {"on the right border", -1, true},
        {"in the middle", 20, false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        clicks.clear();
        const QPoint p = at(2, 0, k.dx, 5);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, p);
        EXPECT_EQ(grid->GridState() == plat::TGridState::gsColSizing, k.sizing);
        EXPECT_EQ(clicks.empty(), k.sizing);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, p);
    }
}

TEST_F(Mouse, FixedDropDownButtonAsksForItsMenuOnlyOnTheButton)
{
    grid->ControlLook()->SetFixedDropDownButton(true);
    grid->SetHoverFixedCells(THoverFixedCells::hfAll);
    std::vector<std::pair<int, int>> asked;
    grid->OnFixedDropDownClick = [&](QObject *, int c, int r, QMenu *&menu, bool &) {
        asked.push_back({c, r});
        menu = nullptr; // nothing pops up in the test
    };
    click(at(2, 0, 10, 5));
    EXPECT_TRUE(asked.empty());
    click(at(2, 0, -8, 5));
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 0}}));
    grid->OnFixedDropDownClick = nullptr;
}

TEST_F(Mouse, CellButtonClicksOnlyWhenReleasedOnIt)
{
    struct Case
    {
        const char *name;
        int releaseCol;
        int buttonClicks;
    };
    const Case cases[] = {{"released on the button", 2, 1}, {"released elsewhere", 3, 0}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->AddButton(2, 2, 40, 16, QStringLiteral("Go"), TCellHAlign::haFull,
                        TCellVAlign::vaFull);
        int buttonClicks = 0;
        grid->OnButtonClick = [&](QObject *, int c, int r) {
            EXPECT_EQ(c, 2);
            EXPECT_EQ(r, 2);
            ++buttonClicks;
        };
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(2, 2));
        EXPECT_EQ(clicks.size(), 1u);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, centre(k.releaseCol, 2));
        EXPECT_EQ(buttonClicks, k.buttonClicks);
        grid->OnButtonClick = nullptr;
    }
}

TEST_F(Mouse, HeaderClicksSortUpDownAndBack)
{
    const QStringList values{"b", "c", "a", "d"};
    for (int r = 1; r <= 4; ++r)
        grid->SetCellEx(2, r, values.at(r - 1));
    TSortSettings *ss = grid->SortSettings();
    ss->SetShow(true);
    ss->SetUndoSort(true);
    std::vector<int> sorted;
    grid->OnClickSort = [&](QObject *, int c) { sorted.push_back(c); };
    auto column = [&] {
        QString s;
        for (int r = 1; r <= 4; ++r)
            s += grid->GetCellEx(2, r);
        return s;
    };

    const struct
    {
        const char *order;
        int sortColumn;
    } steps[] = {{"abcd", 2}, {"dcba", 2}, {"bcad", -1}};
    for (const auto &s : steps) {
        SCOPED_TRACE(s.order);
        click(centre(2, 0));
        EXPECT_EQ(column(), QString::fromLatin1(s.order));
        EXPECT_EQ(ss->Column(), s.sortColumn);
    }
    EXPECT_EQ(sorted, (std::vector<int>{2, 2, -1}));
}

TEST_F(Mouse, CellLinkMovesTheCursor)
{
    grid->SetCellEx(1, 1, QStringLiteral("<a href=\"cell://R3C2\">go</a>"));
    click(QPoint(grid->CellRect(1, 1).Left + 6, centre(1, 1).y()));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
}

TEST_F(Mouse, OnlyWebAndMailLinksLeaveTheGrid)
{
    struct Case
    {
        QString text;
        bool opened;
    };
    const Case cases[] = {
        {QStringLiteral("http://example.org/a"), true},
        {QStringLiteral("https://example.org/a"), true},
        {QStringLiteral("mailto:someone@example.org"), true},
        {QStringLiteral("file:///usr/bin/xterm"), false},
        {QStringLiteral("<a href=\"file:///bin/sh\">run</a>"), false},
        {QStringLiteral("<a href=\"smb://host/share/x.exe\">x</a>"), false},
    };
    grid->SetURLShow(true);
    std::vector<QUrl> opened;
    grid->OpenLinkHook = [&](const QUrl &u) { opened.push_back(u); };
    QStringList seen;
    grid->OnAnchorClick = [&](QObject *, int, int, const QString &a, bool &) { seen << a; };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.text.toStdString());
        opened.clear();
        seen.clear();
        grid->SetCellEx(2, 2, k.text);
        click(QPoint(grid->CellRect(2, 2).Left + 6, centre(2, 2).y()));
        EXPECT_EQ(seen.size(), 1);
        EXPECT_EQ(opened.size(), k.opened ? 1u : 0u);
    }
}

TEST_F(Mouse, SecondClickOnTheCurrentCellOpensTheEditor)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    click(centre(3, 2));
    EXPECT_FALSE(grid->EditorMode());
    click(centre(3, 2));
    EXPECT_TRUE(grid->EditorMode());
}

TEST_F(Mouse, EditorOpenedByAClickPutsTheCaretUnderTheMouseOnlyWithCaretPositioning)
{
    for (const bool positioning : {true, false}) {
        SCOPED_TRACE(positioning ? "CaretPositioning" : "plain");
        SetUp();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->Navigation()->SetEditSelectAll(false);
        grid->MouseActions()->SetCaretPositioning(positioning);
        grid->SetColWidths(3, 200);
        const QString text = QStringLiteral("abcdefghijklmnop");
        grid->SetCellEx(3, 2, text);
        const QPoint p = at(3, 2, 40, 8);
        click(p);
        // The editor reads the pointer when it takes the focus.
        QCursor::setPos(grid->viewport()->mapToGlobal(p));
        click(p);
        ASSERT_TRUE(grid->EditorMode());
        TQrlInplaceEdit *ed = grid->NormalEdit();
        int under = -1;
        if (auto *line = qobject_cast<QLineEdit *>(ed->Widget()))
            under = line->cursorPositionAt(line->mapFromGlobal(QCursor::pos()));
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(ed->Widget()))
            under =
                memo->cursorForPosition(memo->viewport()->mapFromGlobal(QCursor::pos())).position();
        ASSERT_GT(under, 0);
        ASSERT_LT(under, text.size());
        EXPECT_EQ(ed->Editor()->SelStart(), positioning ? under : text.size());
        grid->HideInplaceEdit();
    }
}

TEST_F(Mouse, FixedCellAsButtonIsPushedAndClicksWhenReleasedOnIt)
{
    struct Case
    {
        const char *name;
        bool asButtons;
        bool flat;
        QPoint press, release; // cells
        bool pushed;
        int buttonClicks;
    };
    const Case cases[] = {
        {"header released on itself", true, false, {2, 0}, {2, 0}, true, 1},
        {"fixed column released on itself", true, false, {0, 3}, {0, 3}, true, 1},
        {"header released on another header", true, false, {2, 0}, {3, 0}, true, 0},
        {"header released on a data cell", true, false, {2, 0}, {2, 2}, true, 0},
        {"without FixedAsButtons", false, false, {2, 0}, {2, 0}, false, 0},
        {"flat grid", true, true, {2, 0}, {2, 0}, false, 0},
        {"data cell", true, false, {2, 2}, {2, 2}, false, 0},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        auto &peek = static_cast<PeekGrid &>(*grid);
        grid->SetFixedAsButtons(k.asButtons);
        grid->SetFlat(k.flat);
        std::vector<QPoint> buttonClicks;
        grid->OnButtonClick = [&](QObject *, int c, int r) { buttonClicks.push_back({c, r}); };

        // The held cell is drawn sunken: two inner sunken edges, right/bottom then left/top.
        auto sunkenEdges = [&] {
            TRecordingCanvas canvas;
            canvas.SetRecording(true);
            grid->PaintTo(canvas);
            int n = 0;
            for (const TCanvasOp &op : canvas.OpsOf(TCanvasOp::Kind::DrawEdge))
                n += op.count == int(BDR_SUNKENINNER);
            return n;
        };
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, centre(k.press.x(), k.press.y()));
        EXPECT_EQ(peek.fixedPushed(), k.pushed);
        EXPECT_EQ(sunkenEdges(), k.pushed ? 2 : 0);
        EXPECT_TRUE(buttonClicks.empty());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {},
                            centre(k.release.x(), k.release.y()));
        EXPECT_FALSE(peek.fixedPushed());
        EXPECT_EQ(sunkenEdges(), 0);
        ASSERT_EQ(static_cast<int>(buttonClicks.size()), k.buttonClicks);
        if (k.buttonClicks) {
            EXPECT_EQ(buttonClicks.front(), k.press);
        }
        grid->OnButtonClick = nullptr;
    }
}

// The press names the merged area's base cell; a release on its other part is still on it.
TEST_F(Mouse, MergedFixedCellAsButtonClicksWhenReleasedOnItsCoveredPart)
{
    grid->SetFixedAsButtons(true);
    grid->MergeCells(2, 0, 2, 1);
    std::vector<QPoint> buttonClicks;
    grid->OnButtonClick = [&](QObject *, int c, int r) { buttonClicks.push_back({c, r}); };
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at(2, 0, 10, 5));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at(3, 0, -10, 5));
    EXPECT_EQ(buttonClicks, (std::vector<QPoint>{{2, 0}}));
    grid->OnButtonClick = nullptr;
}

TEST_F(Mouse, RightClickOnAURLEditsItWithURLShowAndURLEdit)
{
    struct Case
    {
        const char *name;
        bool urlShow, urlEdit;
        QString text;
        bool edits;
    };
    const Case cases[] = {
        {"URL", true, true, QStringLiteral("https://example.org"), true},
        {"plain text", true, true, QStringLiteral("example"), false},
        {"without URLEdit", true, false, QStringLiteral("https://example.org"), false},
        {"without URLShow", false, true, QStringLiteral("https://example.org"), false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->SetURLShow(k.urlShow);
        grid->SetURLEdit(k.urlEdit);
        grid->SetCellEx(3, 2, k.text);
        int rightClicks = 0;
        grid->OnRightClickCell = [&](QObject *, int, int) { ++rightClicks; };
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, centre(3, 2));
        EXPECT_EQ(rightClicks, 1);
        EXPECT_EQ(grid->EditorMode(), k.edits);
        if (k.edits) {
            EXPECT_EQ(grid->Row(), 2);
            EXPECT_EQ(grid->Col(), 3);
            EXPECT_EQ(grid->NormalEdit()->Text(), k.text);
        }
        grid->OnRightClickCell = nullptr;
        grid->HideInplaceEdit();
    }
}

TEST_F(Mouse, DoubleClickOnAHeaderBorderSizesTheColumn)
{
    struct Case
    {
        const char *name;
        int col;
        std::function<QPoint()> where;
    };
    const Case cases[] = {
        {"right border of a header", 2, [this] { return at(2, 0, -1, 5); }},
        {"left border of the next header", 2, [this] { return at(3, 0, 1, 5); }},
        {"right of the last column", 4, [this] { return at(4, 0, -1, 5) + QPoint(40, 0); }},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SortSettings()->SetShow(true);
        grid->SetColWidths(k.col, 20);
        grid->SetCellEx(k.col, 3, QStringLiteral("a rather long cell text"));
        std::vector<int> ended;
        grid->OnEndColumnSize = [&](QObject *, int c) { ended.push_back(c); };
        int dblCells = 0;
        grid->OnDblClickCell = [&](QObject *, int, int) { ++dblCells; };

        doubleClick(k.where());

        EXPECT_GT(grid->ColWidths(k.col), 20);
        EXPECT_EQ(ended, std::vector<int>{k.col});
        EXPECT_EQ(dblCells, 0);
        EXPECT_EQ(grid->SortSettings()->Column(), -1); // the release after it does not sort
        grid->OnEndColumnSize = nullptr;
        grid->OnDblClickCell = nullptr;
    }
}

TEST_F(Mouse, DblClickCellFollowsTheFrameworksDoubleClickButNotOnACheckBox)
{
    struct Case
    {
        const char *name;
        bool checkBox;
        QStringList events;
    };
    const Case cases[] = {
        {"plain cell", false, {"dbl", "cell 2,3"}},
        {"data check box", true, {"dbl"}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        if (k.checkBox)
            grid->Columns()->Items(3)->SetEditor(TEditorType::edDataCheckBox);
        QStringList events;
        grid->OnDblClick = [&](QObject *) { events << QStringLiteral("dbl"); };
        grid->OnDblClickCell = [&](QObject *, int r, int c) {
            events << QStringLiteral("cell %1,%2").arg(r).arg(c);
        };
        doubleClick(centre(3, 2));
        EXPECT_EQ(events, k.events);
        EXPECT_EQ(clicks.size(), k.checkBox ? 0u : 1u);
        grid->OnDblClick = nullptr;
        grid->OnDblClickCell = nullptr;
    }
}

} // namespace

namespace {

// Each link of a two-link cell is followed where it is drawn, and a check box control in a
// cell flips its VALUE when clicked.
TEST_F(Mouse, EachLinkOfATwoLinkCellAndACheckBoxControl)
{
    grid->SetColWidths(2, 200);
    grid->SetCellEx(2, 2,
                    QStringLiteral("<a href=\"http://one.invalid\">one</a> and "
                                   "<a href=\"http://two.invalid\">two</a>"));
    QStringList seen;
    grid->OpenLinkHook = [](const QUrl &) {};
    grid->OnAnchorClick = [&](QObject *, int, int, const QString &a, bool &) { seen << a; };
    const TRect cell = grid->CellRect(2, 2);
    const int y = centre(2, 2).y();
    // Find the x of each link through the engine's own layout of the cell.
    int xs[2] = {-1, -1};
    for (int x = cell.Left; x < cell.Right; ++x) {
        THTMLPaintResult r;
        if (grid->CellHTMLHitTest(2, 2, x, y, r) && r.HitAnchorIndex >= 1 && xs[r.HitAnchorIndex - 1] < 0)
            xs[r.HitAnchorIndex - 1] = x + 2;
    }
    ASSERT_GT(xs[0], 0);
    ASSERT_GT(xs[1], xs[0]);
    click(QPoint(xs[1], y));
    click(QPoint(xs[0], y));
    click(QPoint(cell.Right - 5, y)); // past the text: no link
    EXPECT_EQ(seen, (QStringList{QStringLiteral("http://two.invalid"),
                                 QStringLiteral("http://one.invalid")}));

    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->SetCellEx(3, 3, QStringLiteral("<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"16\"> on"));
    QString clickedValue;
    grid->OnControlClick = [&](QObject *, int, int, const QString &, const QString &,
                               const QString &v) { clickedValue = v; };
    const TRect c3 = grid->CellRect(3, 3);
    click(QPoint(c3.Left + 8, centre(3, 3).y()));
    QString value;
    ASSERT_TRUE(GetHTMLControlValue(grid->Cells(3, 3), QStringLiteral("c1"), value));
    EXPECT_EQ(value, QStringLiteral("TRUE"));
    EXPECT_EQ(clickedValue, QStringLiteral("TRUE"));
    click(QPoint(c3.Left + 8, centre(3, 3).y()));
    ASSERT_TRUE(GetHTMLControlValue(grid->Cells(3, 3), QStringLiteral("c1"), value));
    EXPECT_EQ(value, QStringLiteral("FALSE"));
}

} // namespace

namespace {

// Markup cells on screen: bold, colours, a link, a picture and a check box control, grabbed and
// probed where the colours must be. CONF_SAVE_PICTURES names a folder to keep the picture in.
TEST_F(Mouse, MarkupCellsArePaintedWithTheirColoursAndControls)
{
    TPictureContainer pictures;
    QImage dot(12, 12, QImage::Format_RGB32);
    dot.fill(QColor(0, 160, 0));
    QByteArray png;
    {
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        dot.save(&buf, "PNG");
    }
    TPictureItem *item = pictures.Items().Add();
    item->SetName(QStringLiteral("dot"));
    {
        QBuffer buf(&png);
        buf.open(QIODevice::ReadOnly);
        item->Picture()->LoadFromStream(&buf);
    }
    grid->SetPictureContainer(&pictures);
    grid->SetColWidths(1, 120);
    grid->SetColWidths(2, 120);
    grid->SetCellEx(1, 1, QStringLiteral("<b>Bold</b> <font color=\"clRed\">Red text</font>"));
    grid->SetCellEx(2, 1, QStringLiteral("<a href=\"http://x.invalid\">link</a> <img src=\"dot\">"));
    grid->SetCellEx(1, 2, QStringLiteral("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\"> <font color=\"#0000FF\" bgcolor=\"clYellow\">on</font>"));
    grid->viewport()->repaint();
    const QImage shot = grid->viewport()->grab().toImage();
    if (const QByteArray dir = qgetenv("CONF_SAVE_PICTURES"); !dir.isEmpty())
        shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/markup_cells.png"));

    auto has = [&](const TRect &r, auto pred) {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (pred(shot.pixelColor(x, y)))
                    return true;
        return false;
    };
    const auto red = [](QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; };
    const auto blue = [](QColor c) { return c.blue() > 180 && c.red() < 80 && c.green() < 80; };
    const auto green = [](QColor c) { return c == QColor(0, 160, 0); };
    const auto yellow = [](QColor c) { return c.red() > 230 && c.green() > 230 && c.blue() < 40; };
    const TRect c11 = grid->CellRect(1, 1);
    const TRect c21 = grid->CellRect(2, 1);
    const TRect c12 = grid->CellRect(1, 2);
    EXPECT_TRUE(has(c11, red));
    EXPECT_FALSE(has({c11.Left, c11.Top, c11.Left + 30, c11.Bottom}, red)); // "Bold" is black
    EXPECT_TRUE(has(c21, blue));
    EXPECT_TRUE(has(c21, green));
    EXPECT_TRUE(has(c12, yellow));
    grid->SetPictureContainer(nullptr);
}

} // namespace
