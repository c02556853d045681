// The spin edit on its own (limits, stepping, typing, the repeating button) and the grid's spin
// and check-box editors driven with keys in a shown grid.
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlGridSpin.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/os/Regional.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::TGridOption;

// Separators and date order pinned, so texts do not depend on the machine's locale.
class PinnedRegion : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OverrideGridRegionalSettings(TGridRegionalSettings{});
        plat::OverrideDecimalSeparator(QStringLiteral("."));
    }
    void TearDown() override
    {
        plat::OverrideDecimalSeparator(std::nullopt);
        OverrideGridRegionalSettings(std::nullopt);
    }
};

// ---- the spin edit alone ----------------------------------------------------------------------

class SpinEdit : public PinnedRegion
{
protected:
    void SetUp() override
    {
        PinnedRegion::SetUp();
        window.resize(200, 80);
        spin = new TQsgSpinEdit(&window);
        other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        spin->setFocus();
    }

    QWidget window;
    TQsgSpinEdit *spin = nullptr;
    QLineEdit *other = nullptr;
};

TEST_F(SpinEdit, LeavingClampsToTheLimitsUnlessTheyAreEqual)
{
    EXPECT_EQ(spin->text(), QStringLiteral("0"));
    struct Case
    {
        int min;
        int max;
        const char *typed;
        const char *left;
    };
    const Case cases[] = {
        {0, 100, "150", "100"},
        {10, 20, "5", "10"},
        {0, 0, "150", "150"},
        {7, 7, "-3", "-3"},
    };
    for (const Case &c : cases) {
        spin->SetMinValue(c.min);
        spin->SetMaxValue(c.max);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QString::fromLatin1(c.typed));
        ASSERT_EQ(spin->text(), QString::fromLatin1(c.typed)) << c.typed;
        other->setFocus();
        EXPECT_EQ(spin->text(), QString::fromLatin1(c.left)) << c.min << ".." << c.max;
    }
}

TEST_F(SpinEdit, WritingAValueClampsIt)
{
    spin->SetValue(250);
    EXPECT_EQ(spin->Value(), 100);
    spin->SetFloatValue(-1.0);
    EXPECT_EQ(spin->text(), QStringLiteral("0"));
    spin->SetMinFloatValue(5.0);
    spin->SetMaxFloatValue(5.0);
    spin->SetFloatValue(-1.5);
    EXPECT_EQ(spin->text(), QStringLiteral("-1.5"));
}

TEST_F(SpinEdit, FloatStepsShowThePrecisionAndRefuseAnExtraDecimal)
{
    spin->SetSpinType(TQsgSpinType::sptFloat);
    spin->SetPrecision(2);
    spin->SetFloatValue(1.4);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), QStringLiteral("1.50"));
    QTest::keyClick(spin, Qt::Key_PageUp);
    EXPECT_EQ(spin->text(), QStringLiteral("2.50"));
    spin->end(false);
    QTest::keyClick(spin, Qt::Key_5);
    EXPECT_EQ(spin->text(), QStringLiteral("2.50")) << "a third decimal is refused";
}

TEST_F(SpinEdit, TypedCharactersAreFilteredByTheKindOfValue)
{
    struct Case
    {
        TQsgSpinType type;
        const char *text;
        int caret;
        char key;
        bool accepted;
    };
    using enum TQsgSpinType;
    const Case cases[] = {
        {sptNormal, "12", 2, '3', true},  {sptNormal, "12", 2, '.', false},
        {sptNormal, "12", 2, 'a', false}, {sptNormal, "12", 0, '-', true},
        {sptNormal, "12", 1, '-', false}, {sptNormal, "-12", 0, '-', false},
        {sptNormal, "12", 2, ':', false}, {sptFloat, "1", 1, '.', true},
        {sptFloat, "1.5", 3, '.', false}, {sptFloat, "1", 1, ',', false},
        {sptTime, "1:2", 3, ':', true},   {sptTime, "1:2:3", 5, ':', false},
        {sptTime, "1:2", 3, '/', false},  {sptDate, "1/2", 3, '/', true},
        {sptDate, "1/2", 3, ':', false},
    };
    for (const Case &c : cases) {
        spin->SetSpinType(c.type);
        spin->SetMinValue(0);
        spin->SetMaxValue(0);
        spin->setText(QString::fromLatin1(c.text));
        spin->setCursorPosition(c.caret);
        QTest::keyClicks(spin, QString(QChar::fromLatin1(c.key)));
        const bool grew = spin->text().size() == qsizetype(strlen(c.text)) + 1;
        EXPECT_EQ(grew, c.accepted) << int(c.type) << " " << c.text << " + " << c.key;
    }
}

TEST_F(SpinEdit, TimeStepsThePartUnderTheCaretAndWrapsAtMidnight)
{
    spin->SetSpinType(TQsgSpinType::sptTime);
    struct Case
    {
        const char *text;
        int caret;
        bool up;
        const char *after;
    };
    const Case cases[] = {
        {"0:00:30", 7, false, "0:00:29"},
        {"0:00:00", 0, false, "23:00:00"},
        {"23:59:00", 4, true, "0:00:00"},
        {"10:15:00", 3, true, "10:16:00"},
    };
    for (const Case &c : cases) {
        spin->setText(QString::fromLatin1(c.text));
        spin->setCursorPosition(c.caret);
        QTest::keyClick(spin, c.up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(spin->text(), QString::fromLatin1(c.after)) << c.text;
    }
}

TEST_F(SpinEdit, DateStepsThePartUnderTheCaret)
{
    spin->SetSpinType(TQsgSpinType::sptDate);
    struct Case
    {
        const char *text;
        int caret;
        const char *after;
    };
    // Month first (M/d/yyyy): month, day, year; a month step keeps the day where it can.
    const Case cases[] = {
        {"3/10/2024", 9, "3/10/2025"},
        {"3/10/2024", 0, "4/10/2024"},
        {"3/31/2024", 1, "4/30/2024"},
        {"3/31/2024", 3, "4/1/2024"},
    };
    for (const Case &c : cases) {
        spin->setText(QString::fromLatin1(c.text));
        spin->setCursorPosition(c.caret);
        QTest::keyClick(spin, Qt::Key_Up);
        EXPECT_EQ(spin->text(), QString::fromLatin1(c.after)) << c.text << " caret " << c.caret;
    }
}

TEST_F(SpinEdit, WithTheEditorDisabledTypingIsRefusedButStepsStillWork)
{
    spin->SetEditorEnabled(false);
    spin->setText(QStringLiteral("5"));
    spin->end(false);
    QTest::keyClicks(spin, QStringLiteral("7"));
    QTest::keyClick(spin, Qt::Key_Backspace);
    EXPECT_EQ(spin->text(), QStringLiteral("5"));
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), QStringLiteral("6"));
    spin->Button()->DownButton()->click();
    EXPECT_EQ(spin->text(), QStringLiteral("5"));
}

TEST_F(SpinEdit, AHeldButtonRepeatsAfter400msThenEvery100msUntilReleased)
{
    TQrlTimerSpeedButton *up = spin->Button()->UpButton();
    int clicks = 0;
    QObject::connect(up, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::mousePress(up, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_TRUE(up->RepeatTimer()->isActive());
    EXPECT_EQ(up->RepeatTimer()->interval(), TQrlTimerSpeedButton::FirstRepeatMs);
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks >= 2; }, 3000));
    EXPECT_EQ(up->RepeatTimer()->interval(), TQrlTimerSpeedButton::RepeatMs);
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(up->RepeatTimer()->isActive());
    const int released = clicks;
    QTest::qWait(250);
    EXPECT_EQ(clicks, released);
    EXPECT_GE(spin->Value(), 2);
}

// Widths of the black runs of a widget's picture, top row first (rows without black left out).
std::vector<int> blackRowWidths(QWidget *w)
{
    const QImage img = w->grab().toImage();
    std::vector<int> widths;
    for (int y = 0; y < img.height(); ++y) {
        int n = 0;
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += qRed(p) < 30 && qGreen(p) < 30 && qBlue(p) < 30;
        }
        if (n > 0)
            widths.push_back(n);
    }
    return widths;
}

TEST_F(SpinEdit, TheButtonsShowTheirGlyphsAndAStripsDisabledPicture)
{
    auto *pair = new TQsgSpinButton(&window);
    pair->setGeometry(120, 0, 30, 40);
    pair->show();
    TQrlTimerSpeedButton *up = pair->UpButton();
    ASSERT_EQ(up->size(), QSize(30, 20));

    // The own arrows, one glyph each: the up arrow widens downwards, the down arrow upwards.
    EXPECT_EQ(pair->UpNumGlyphs(), 1);
    EXPECT_EQ(pair->DownNumGlyphs(), 1);
    const std::vector<int> upRows = blackRowWidths(up);
    const std::vector<int> downRows = blackRowWidths(pair->DownButton());
    ASSERT_GE(upRows.size(), 2u);
    ASSERT_GE(downRows.size(), 2u);
    EXPECT_LT(upRows.front(), upRows.back());
    EXPECT_GT(downRows.front(), downRows.back());

    // A strip of two 8 x 8 pictures: red for normal, blue for disabled; the lower-left pixel's
    // green is the colour left out.
    QImage strip(16, 8, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            strip.setPixel(x, y, qRgb(0, 0, 255));
    strip.setPixel(0, 7, qRgb(0, 255, 0));
    pair->SetUpGlyph(strip);
    pair->SetUpNumGlyphs(2);
    EXPECT_EQ(pair->UpNumGlyphs(), 2);
    const QPoint glyphAt((30 - 8) / 2, (20 - 8) / 2);
    QImage shot = up->grab().toImage();
    EXPECT_EQ(shot.pixel(glyphAt + QPoint(4, 4)), qRgb(255, 0, 0));
    EXPECT_NE(shot.pixel(glyphAt + QPoint(0, 7)), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(glyphAt + QPoint(1, 7)), qRgb(255, 0, 0));
    up->setEnabled(false);
    shot = up->grab().toImage();
    EXPECT_EQ(shot.pixel(glyphAt + QPoint(4, 4)), qRgb(0, 0, 255));
    up->setEnabled(true);

    // No glyph given: the own arrow again.
    pair->SetUpGlyph(QImage());
    EXPECT_EQ(pair->UpNumGlyphs(), 1);
    EXPECT_EQ(blackRowWidths(up), upRows);
}

// ---- the grid's spin and check-box editors ----------------------------------------------------

struct TSpinCall
{
    int col;
    int row;
    double value;
    bool up;
    bool operator==(const TSpinCall &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TSpinCall &c)
{
    return os << "(" << c.col << ", " << c.row << ", " << c.value << ", " << c.up << ")";
}

// Column 1 holds spin cells, column 2 float spin cells, column 3 check-box cells.
class GridSpin : public PinnedRegion
{
protected:
    void SetUp() override
    {
        PinnedRegion::SetUp();
        grid.SetColCount(5);
        grid.SetRowCount(5);
        grid.SetOptions(grid.Options() + TGridOption::goEditing);
        grid.OnGetEditorType = [](QObject *, int ACol, int, TEditorType &AEditor) {
            if (ACol == 1)
                AEditor = TEditorType::edSpinEdit;
            else if (ACol == 2)
                AEditor = TEditorType::edFloatSpinEdit;
            else if (ACol == 3)
                AEditor = TEditorType::edCheckBox;
        };
        grid.OnSpinClick = [this](QObject *, int c, int r, int v, bool up) {
            clicks.push_back({c, r, double(v), up});
        };
        grid.OnFloatSpinClick = [this](QObject *, int c, int r, double v, bool up) {
            clicks.push_back({c, r, v, up});
        };
        ASSERT_TRUE(shown.showActive({400, 200}));
    }

    void TearDown() override
    {
        grid.OnSpinClick = nullptr;
        grid.OnFloatSpinClick = nullptr;
        PinnedRegion::TearDown();
    }

    QWidget *open(int col, int row, const QString &text)
    {
        grid.SetCellEx(col, row, text);
        grid.FocusCell(col, row);
        grid.ShowInplaceEdit();
        QCoreApplication::processEvents();
        return QApplication::focusWidget();
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid &grid = *shown.open();
    std::vector<TSpinCall> clicks;
};

TEST_F(GridSpin, ArrowsStepTheValueAndLeaveTheCursor)
{
    TGridSpin *spin = grid.SpinEdit();
    ASSERT_EQ(open(1, 2, QStringLiteral("5")), spin);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), QStringLiteral("6"));
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), QStringLiteral("4"));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_TRUE(spin->isVisible());
}

TEST_F(GridSpin, HomeAndEndGoToTheLimitsAndReportASpinClick)
{
    TGridSpin *spin = grid.SpinEdit();
    ASSERT_EQ(open(1, 1, QStringLiteral("5")), spin);
    QTest::keyClick(spin, Qt::Key_Home);
    EXPECT_EQ(spin->Value(), 100);
    QTest::keyClick(spin, Qt::Key_End);
    EXPECT_EQ(spin->Value(), 0);
    const std::vector<TSpinCall> expected = {{1, 1, 100, true}, {1, 1, 0, false}};
    EXPECT_EQ(clicks, expected);
}

TEST_F(GridSpin, ButtonsReportTheClickOfTheSpinsKind)
{
    TGridSpin *spin = grid.SpinEdit();
    ASSERT_EQ(open(1, 1, QStringLiteral("5")), spin);
    spin->Button()->UpButton()->click();
    grid.HideInplaceEdit();
    ASSERT_EQ(open(2, 1, QStringLiteral("1.5")), spin);
    spin->Button()->DownButton()->click();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], (TSpinCall{1, 1, 6, true}));
    EXPECT_EQ(clicks[1].col, 2);
    EXPECT_DOUBLE_EQ(clicks[1].value, 1.4);
    EXPECT_FALSE(clicks[1].up);
}

TEST_F(GridSpin, EnterStoresTheValueAndEscapeTheTextFromWhenEditingBegan)
{
    struct Case
    {
        Qt::Key key;
        const char *stored;
    };
    const Case cases[] = {{Qt::Key_Return, "7"}, {Qt::Key_Escape, "5"}};
    for (const Case &c : cases) {
        TGridSpin *spin = grid.SpinEdit();
        ASSERT_EQ(open(1, 1, QStringLiteral("5")), spin);
        QTest::keyClick(spin, Qt::Key_Up);
        QTest::keyClick(spin, Qt::Key_Up);
        QTest::keyClick(spin, c.key);
        EXPECT_FALSE(spin->isVisible()) << c.key;
        EXPECT_FALSE(grid.EditMode()) << c.key;
        EXPECT_EQ(grid.GetCellEx(1, 1), QString::fromLatin1(c.stored)) << c.key;
    }
}

TEST_F(GridSpin, TabWithGoTabsStoresAndWalksOn)
{
    grid.SetOptions(grid.Options() + TGridOption::goTabs);
    TGridSpin *spin = grid.SpinEdit();
    ASSERT_EQ(open(1, 1, QStringLiteral("5")), spin);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Tab);
    EXPECT_EQ(grid.GetCellEx(1, 1), QStringLiteral("6"));
    EXPECT_EQ(QPoint(grid.Col(), grid.Row()), QPoint(2, 1));
}

TEST_F(GridSpin, TextChangesReachOnEditChange)
{
    std::vector<QString> changes;
    grid.OnEditChange = [&](QObject *, int, int, const QString &v) { changes.push_back(v); };
    TGridSpin *spin = grid.SpinEdit();
    ASSERT_EQ(open(1, 1, QStringLiteral("5")), spin);
    changes.clear();
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(changes, std::vector<QString>{QStringLiteral("6")});
    grid.OnEditChange = nullptr;
}

TEST_F(GridSpin, CheckBoxSpaceTogglesAndEnterOrEscapeEndEditing)
{
    for (Qt::Key end : {Qt::Key_Return, Qt::Key_Escape}) {
        TGridCheckBox *check = grid.EditCheck();
        ASSERT_EQ(open(3, 1, QStringLiteral("label")), check);
        EXPECT_EQ(check->text(), QStringLiteral("label"));
        EXPECT_FALSE(check->isChecked());
        QTest::keyClick(check, Qt::Key_Space);
        EXPECT_TRUE(check->isChecked());
        QTest::keyClick(check, Qt::Key_Space);
        EXPECT_FALSE(check->isChecked());
        QTest::mousePress(check, Qt::LeftButton);
        EXPECT_TRUE(check->isChecked()) << "a left press toggles";
        QTest::mouseRelease(check, Qt::LeftButton);
        EXPECT_TRUE(check->isChecked()) << "and the click after it does not toggle back";
        QTest::keyClick(check, end);
        EXPECT_FALSE(check->isVisible()) << end;
        EXPECT_FALSE(grid.EditMode()) << end;
        EXPECT_EQ(grid.GetCellEx(3, 1), QStringLiteral("label"))
            << "a check-box editor stores nothing";
    }
}

} // namespace
