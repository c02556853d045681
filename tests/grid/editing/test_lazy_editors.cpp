// Editors created on first use, the date pickers' events and the balloon window's text.
#include "grid/editing/QrlGridEditors.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(LazyEditors, EachIsCreatedOnceHiddenAndOwnedByTheGrid)
{
    TQrlStringGrid grid;
    struct Case
    {
        const char *name;
        std::function<QWidget *()> read;
        bool disabled;
    };
    const Case cases[] = {
        {"SpinEdit", [&] { return grid.SpinEdit(); }, true},
        {"DateTimePicker", [&] { return grid.DateTimePicker(); }, true},
        {"DateAndTimePicker", [&] { return grid.DateAndTimePicker(); }, true},
        {"RichEdit", [&] { return grid.RichEdit(); }, false},
        {"InplaceRichEdit", [&] { return grid.InplaceRichEdit(); }, false},
    };
    grid.show();
    for (const Case &c : cases) {
        QWidget *first = c.read();
        ASSERT_NE(first, nullptr) << c.name;
        EXPECT_EQ(c.read(), first) << c.name;
        EXPECT_EQ(first->parentWidget(), &grid) << c.name;
        EXPECT_FALSE(first->isVisible()) << c.name;
        if (c.disabled) {
            EXPECT_FALSE(first->isEnabled()) << c.name;
        }
    }
    EXPECT_FALSE(grid.SpinEdit()->hasFrame());
    EXPECT_TRUE(grid.DateAndTimePicker()->AutoTab());
    EXPECT_EQ(grid.RichEdit()->size(), QSize(0, 0));
}

TEST(LazyEditors, InplaceRichEditReportsSelectionChanges)
{
    TQrlStringGrid grid;
    int changes = 0;
    grid.OnRichEditSelectionChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &grid);
        ++changes;
    };
    TQrlRichEdit *edit = grid.InplaceRichEdit();
    edit->setPlainText(QStringLiteral("some text"));
    edit->selectAll();
    EXPECT_GE(changes, 1);
}

TEST(LazyEditors, DateTimeChangeReportsZeroForAnUnsetDate)
{
    TQrlStringGrid grid;
    std::vector<double> reported;
    grid.OnDateTimeChange = [&](QObject *, int, int, double v) { reported.push_back(v); };
    struct Case
    {
        int y, m, d;
        double expected;
    };
    const Case cases[] = {
        {0, 5, 17, 0},
        {2024, 0, 17, 0},
        {2024, 5, 0, 0},
        {1899, 12, 31, 1.5},
    };
    for (const Case &c : cases) {
        reported.clear();
        grid.DateTimeChangeNotify(c.y, c.m, c.d, 12, 0, 0, 0);
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_DOUBLE_EQ(reported[0], c.expected) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(LazyEditors, DatePickerCloseUpReportsTheCell)
{
    TQrlStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.FocusCell(2, 1);
    std::vector<std::pair<int, int>> calls;
    grid.OnDatePickerCloseUp = [&](QObject *, int r, int c) { calls.push_back({r, c}); };
    grid.DatePickerCloseUp();
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 2}}));
}

TEST(LazyEditors, FindParentFormIsTheNearestWindow)
{
    QWidget window;
    QWidget *inner = new QWidget(&window);
    QWidget *leaf = new QWidget(inner);
    EXPECT_EQ(TQrlStringGrid::FindParentForm(leaf), &window);
    EXPECT_EQ(TQrlStringGrid::FindParentForm(&window), &window);
    EXPECT_EQ(TQrlStringGrid::FindParentForm(nullptr), nullptr);
}

TEST(BalloonTip, TextRules)
{
    const QString longText = QString(3000, u'x');
    struct Case
    {
        const char *name;
        QString in;
        QString out;
    };
    const Case cases[] = {
        {"long text cut", longText, QString(2045, u'x') + QStringLiteral("...")},
        {"leading line breaks", QStringLiteral("\r\n\r\nabc\r\ndef"), QStringLiteral("abc\r\ndef")},
        {"tabs to blanks", QStringLiteral("a\tb"), QStringLiteral("a b")},
        {"long after breaks", QStringLiteral("\n\n") + longText,
         QString(2045, u'x') + QStringLiteral("...")},
        {"exactly 2048", QString(2048, u'y'), QString(2048, u'y')},
        {"empty", QString(), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TQrlStringGrid::BalloonTipText(c.in), c.out) << c.name;

    EXPECT_EQ(TQrlStringGrid::BalloonTipTitle(QString(150, u't')),
              QString(97, u't') + QStringLiteral("..."));
    EXPECT_EQ(TQrlStringGrid::BalloonTipTitle(QString(100, u't')), QString(100, u't'));
}

TEST(BalloonTip, CellTextTitleAndEvent)
{
    TQrlStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetEnableHTML(true);
    grid.SetCellEx(1, 1, QStringLiteral("<b>bold</b>\tnext"));
    auto tip = grid.BalloonTipForCell(1, 1);
    EXPECT_EQ(tip.Text, QStringLiteral("bold next"));
    EXPECT_EQ(tip.Title, QStringLiteral(" "));
    EXPECT_EQ(tip.Icon, 1);
    EXPECT_EQ(grid.BalloonTipForCell(-1, -1).Text, QString());

    grid.OnCellBalloon = [](QObject *, int, int, QString &title, QString &text, int &icon) {
        title = QString(120, u'T');
        text += QStringLiteral("!");
        icon = 2;
    };
    tip = grid.BalloonTipForCell(1, 1);
    EXPECT_EQ(tip.Title, QString(97, u'T') + QStringLiteral("..."));
    EXPECT_EQ(tip.Text, QStringLiteral("bold next!"));
    EXPECT_EQ(tip.Icon, 2);
}

} // namespace
