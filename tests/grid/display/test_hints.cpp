// Cell hints on a shown grid: the delay, cancelling on a cell change, press, key and leave, the
// table dialogs' header hints, comment and anchor positions, the texts of HintShowCells and
// HintShowLargeText, which window shows a hint, and the hint window's size and screen clamp.
#include "grid/display/QrlHintWindow.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Pause = 120;

class Hints : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(5);
        grid->SetRowCount(6);
        grid->resize(420, 220);
        grid->move(0, 0);
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
        grid->HintManager()->SetHintPause(Pause);
    }
    void TearDown() override { grid->HintManager()->CancelHint(); }

    QPoint centre(int c, int r) const { return grid->CellRect(c, r).toQRect().center(); }
    // The hint arms once the grid has handled the move.
    void moveTo(QPoint p)
    {
        QTest::mouseMove(grid->viewport(), p);
        QCoreApplication::processEvents();
    }
    THintManager &hints() { return *grid->HintManager(); }
    // The hint the grid builds for a viewport point, without waiting.
    THintInfo build(QPoint p, bool *shown = nullptr)
    {
        THintInfo info;
        const bool ok = grid->BuildCellHint(p, info);
        if (shown)
            *shown = ok;
        return info;
    }
    QPoint global(int x, int y) const { return grid->viewport()->mapToGlobal(QPoint(x, y)); }

    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(Hints, ShowsAfterItsDelayAndNotBefore)
{
    grid->OnGridHint = [](QObject *, int r, int c, QString &s) {
        s = QStringLiteral("cell %1,%2").arg(c).arg(r);
    };
    QElapsedTimer clock;
    clock.start();
    moveTo(centre(2, 2));
    EXPECT_TRUE(hints().HintPending()); // the mouse's first entry hands the viewport over
    EXPECT_FALSE(hints().HintShowing());
    QTRY_VERIFY_WITH_TIMEOUT(hints().HintShowing(), 5000);
    EXPECT_GE(clock.elapsed(), Pause);
    EXPECT_EQ(hints().ShownText(), QStringLiteral("cell 2,2"));
}

TEST_F(Hints, AnotherCellCancelsTheHintAndStartsTheDelayAgain)
{
    grid->OnGridHint = [](QObject *, int r, int c, QString &s) {
        s = QStringLiteral("cell %1,%2").arg(c).arg(r);
    };
    moveTo(centre(2, 2));
    QTRY_VERIFY_WITH_TIMEOUT(hints().HintShowing(), 5000);

    moveTo(centre(2, 2) + QPoint(3, 2)); // same cell: the hint stays
    EXPECT_TRUE(hints().HintShowing());
    EXPECT_FALSE(hints().HintPending());

    moveTo(centre(3, 2));
    EXPECT_FALSE(hints().HintShowing());
    EXPECT_TRUE(hints().HintPending());
    QTRY_VERIFY_WITH_TIMEOUT(hints().HintShowing(), 5000);
    EXPECT_EQ(hints().ShownText(), QStringLiteral("cell 3,2"));
}

TEST_F(Hints, PressKeyAndLeaveCancelTheHint)
{
    grid->OnGridHint = [](QObject *, int, int, QString &s) { s = QStringLiteral("hint"); };
    struct Case
    {
        const char *name;
        std::function<void(TQrlStringGrid &)> act;
    };
    const Case cases[] = {
        {"press",
         [](TQrlStringGrid &g) {
             QTest::mouseClick(g.viewport(), Qt::LeftButton, {},
                               g.CellRect(2, 3).toQRect().center());
         }},
        {"key", [](TQrlStringGrid &g) { QTest::keyClick(&g, Qt::Key_Shift); }},
        {"leave",
         [](TQrlStringGrid &g) {
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(g.viewport(), &leave);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        moveTo(centre(2, 3) + QPoint(1, 0));
        moveTo(centre(2, 3));
        QTRY_VERIFY_WITH_TIMEOUT(hints().HintShowing(), 5000);
        c.act(*grid);
        EXPECT_FALSE(hints().HintShowing());
        EXPECT_FALSE(hints().HintPending());
        EXPECT_EQ(hints().ShownWindow(), nullptr);
    }
}

// The table dialogs: HintShowCells on, the header row answers its column's hint, data rows none.
TEST_F(Hints, DialogHeaderHintStandsUnderTheHeaderCellAtTheCursorX)
{
    grid->SetHintShowCells(true);
    grid->SetCells(2, 1, QStringLiteral("data"));
    grid->OnGridHint = [](QObject *, int r, int c, QString &s) {
        s = r == 0 ? QStringLiteral("Column %1").arg(c) : QString();
    };
    const TRect header = grid->CellRect(2, 0);
    const QPoint p(header.Left + 7, header.Top + 3);
    bool shown = false;
    THintInfo info = build(p, &shown);
    EXPECT_TRUE(shown);
    EXPECT_EQ(info.Text, QStringLiteral("Column 2"));
    EXPECT_EQ(info.Pos, global(p.x(), header.Bottom + 6));
    EXPECT_FALSE(info.UseHTMLWindow);

    build(centre(2, 1), &shown);
    EXPECT_FALSE(shown);

    moveTo(p);
    QTRY_VERIFY_WITH_TIMEOUT(hints().HintShowing(), 5000);
    EXPECT_EQ(hints().ShownWindow()->pos(), global(p.x(), header.Bottom + 6));
    moveTo(centre(2, 1));
    QTest::qWait(Pause * 3);
    EXPECT_FALSE(hints().HintShowing());
}

TEST_F(Hints, CommentedCellHintStandsAtItsTopRightCorner)
{
    grid->AddComment(2, 3, QStringLiteral("remember"));
    const TRect r = grid->CellRect(2, 3);
    const THintInfo info = build(centre(2, 3));
    EXPECT_EQ(info.Text, QStringLiteral("remember"));
    EXPECT_EQ(info.Pos, global(r.Right, r.Top));
}

TEST_F(Hints, AnchorHintShowsTheTitleOrTheLinkNearTheCursor)
{
    grid->SetAnchorHint(true);
    struct Case
    {
        QString cell, hint;
    };
    const Case cases[] = {
        {QStringLiteral("see <A href=\"http://x.test\" title=\"Manual\">here</A>"), "Manual"},
        {QStringLiteral("see <A href=\"http://x.test\">here</A>"), "http://x.test"},
        // Two links cannot be told apart without the layout engine's hit test.
        {QStringLiteral("<A href=\"a\">a</A> <A href=\"b\">b</A>"), ""},
    };
    const QPoint p = centre(2, 2);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cell.toStdString());
        grid->SetCells(2, 2, c.cell);
        const THintInfo info = build(p);
        EXPECT_EQ(info.Text, c.hint);
        if (!c.hint.isEmpty()) {
            EXPECT_EQ(info.Pos, global(p.x() + 8, p.y() - 16));
            EXPECT_FALSE(info.UseHTMLWindow); // a title is plain text
        }
    }
    QString seen;
    grid->OnAnchorHint = [&](QObject *, int, int, QString &a) {
        seen = a;
        a = QStringLiteral("changed");
    };
    grid->SetCells(2, 2, cases[0].cell);
    EXPECT_EQ(build(p).Text, QStringLiteral("changed"));
    EXPECT_EQ(seen, QStringLiteral("Manual"));
}

// Which text HintShowCells and HintShowLargeText show, and where.
TEST_F(Hints, CellTextHintsFollowHTMLHintAndStandAtTheCellTop)
{
    const QString wide = EncodeWideCellText(QStringLiteral("wide"));
    const QString longText(60, QChar(u'w'));
    struct Case
    {
        bool showCells, largeText, htmlHint;
        QString cell, hint;
        bool atLeft;
    };
    const Case cases[] = {
        {true, false, false, QStringLiteral("<B>bold</B>"), QStringLiteral("bold"), false},
        {true, false, true, QStringLiteral("<B>bold</B>"), QStringLiteral("<B>bold</B>"), false},
        {true, false, false, wide, QStringLiteral("wide"), false},
        {false, true, false, QStringLiteral("short"), QString(), false},
        {false, true, false, longText, longText, true},
        {false, true, false, EncodeWideCellText(longText), EncodeWideCellText(longText), true},
    };
    const QPoint p = centre(2, 2);
    const TRect r = grid->CellRect(2, 2);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cell.toStdString());
        grid->SetHintShowCells(c.showCells);
        grid->SetHintShowLargeText(c.largeText);
        grid->SetHTMLHint(c.htmlHint);
        grid->SetCells(2, 2, c.cell);
        const THintInfo info = build(p);
        EXPECT_EQ(info.Text, c.hint);
        if (!c.hint.isEmpty()) {
            EXPECT_EQ(info.Pos, global(c.atLeft ? r.Left : p.x(), r.Top));
        }
    }
}

TEST_F(Hints, OnlyMarkupAndWideTextsUseTheHTMLWindow)
{
    struct Case
    {
        QString hint;
        bool internalClass, html;
    };
    const Case cases[] = {
        {QStringLiteral("plain"), true, false},
        {QStringLiteral("<B>bold</B>"), true, true},
        {EncodeWideCellText(QStringLiteral("x")), true, true},
        {QStringLiteral("<B>bold</B>"), false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.hint.toStdString());
        grid->SetUseInternalHintClass(c.internalClass);
        grid->OnGridHint = [&](QObject *, int, int, QString &s) { s = c.hint; };
        const THintInfo info = build(centre(2, 2));
        EXPECT_EQ(info.UseHTMLWindow, c.html);
        EXPECT_EQ(info.Data, c.html ? grid.get() : nullptr);

        hints().ShowHint(info);
        ASSERT_TRUE(hints().HintShowing());
        EXPECT_EQ(hints().ShownWindow() == hints().Window(), c.html);
        EXPECT_EQ(hints().ShownWindow()->PlainText(), !c.html);
        EXPECT_EQ(hints().ShownWindow()->Color(), grid->HintColor());
        hints().CancelHint();
    }
}

TEST(HintWindow, CalcHintRectLeavesOutTheMarginsTheWindowAdds)
{
    SetHintFontName(QString()); // wide texts in the window's own font
    TCanvas canvas;
    const int h = canvas.TextHeight(QStringLiteral("gh"));
    const int plain = canvas.TextWidth(QStringLiteral("bold text"));
    // Markup is laid out in its fonts: the bold word is measured bold.
    const int rest = canvas.TextWidth(QStringLiteral(" text"));
    canvas.Font().SetStyle(TFontStyle::fsBold);
    const int markup = canvas.TextWidth(QStringLiteral("bold")) + rest;
    canvas.Font().SetStyle(TFontStyles());
    struct Case
    {
        QString hint;
        int margin;
        int w;
    };
    const Case cases[] = {
        {QStringLiteral("<B>bold</B> text"), 16, markup},
        {EncodeWideCellText(QStringLiteral("bold text")), 8, plain},
    };
    for (const Case &c : cases) {
        const int w = c.w;
        SCOPED_TRACE(c.margin);
        THTMLHintWindow win(nullptr);
        EXPECT_EQ(win.CalcHintRect(500, c.hint, nullptr), (TRect{0, 0, w, h}));
        win.ActivateHint(TRect{20, 30, 20, 30}, c.hint);
        EXPECT_EQ(win.geometry(), QRect(20, 30, w + c.margin, h + 4));
    }
}

TEST(HintWindow, PaintsTheHintColourInsideALightAndDarkFrame)
{
    THTMLHintWindow win(nullptr);
    win.SetColor(0x00FFEE);
    win.ActivateHint(TRect{10, 10, 10, 10}, QStringLiteral("<B>x</B>"));
    const QImage img = win.grab().toImage();
    const int w = img.width(), h = img.height();
    EXPECT_EQ(img.pixelColor(0, h / 2), ToQColor(cl3DLight));
    EXPECT_EQ(img.pixelColor(w / 2, 0), ToQColor(cl3DLight));
    EXPECT_EQ(img.pixelColor(w - 1, h / 2), ToQColor(cl3DDkShadow));
    EXPECT_EQ(img.pixelColor(w / 2, h - 1), ToQColor(cl3DDkShadow));
    EXPECT_EQ(img.pixelColor(1, 1), ToQColor(0x00FFEE));
}

TEST(HintWindow, StaysTwoPixelsInsideTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int right = screen.x() + screen.width();
    const int bottom = screen.y() + screen.height();
    THTMLHintWindow win(nullptr);
    const QString hint = QStringLiteral("<B>a hint text that needs some room</B>");
    const TRect size = win.CalcHintRect(1008, hint, nullptr);
    const int w = size.Right + 16, h = size.Bottom + 4;
    struct Case
    {
        QPoint at, expected;
    };
    const Case cases[] = {
        {{right - 10, bottom - 3}, {right - 2 - w, bottom - 2 - h}},
        {{right - w, bottom - h}, {right - w, bottom - h}}, // exactly fits: left alone
        {{screen.x() + 5, bottom - 1}, {screen.x() + 5, bottom - 2 - h}},
    };
    for (const Case &c : cases) {
        win.ActivateHint(TRect{c.at.x(), c.at.y(), c.at.x(), c.at.y()}, hint);
        EXPECT_EQ(win.pos(), c.expected);
        EXPECT_EQ(win.size(), QSize(w, h));
    }
}

} // namespace
