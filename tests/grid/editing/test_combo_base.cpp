// The combo box base: property limits, the flat look, the painting and border decisions, the
// label's font and placement, the list width, hover tracking and the focus colours.
#include "grid/editing/QsgComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Lets a test switch on visual styles and press the mouse, which the platform has no say in.
class TTestCombo : public TQsgComboBox
{
public:
    using TQsgComboBox::TQsgComboBox;
    bool themeActive = false;
    bool mouseDown = false;
    void setThemed(bool on)
    {
        FIsThemed = on;
        themeActive = on;
    }
    void enter() { DoEnter(); }

protected:
    bool ThemeActive() const override { return themeActive; }
    bool MouseButtonDown() const override { return mouseDown; }
};

class ComboBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.resize(400, 200);
        QPalette pal = parent.palette();
        pal.setColor(parent.backgroundRole(), ToQColor(clTeal));
        parent.setPalette(pal);
        combo = new TTestCombo(&parent);
        combo->setGeometry(100, 50, 80, 22);
    }

    // The colours of the frames DrawBorders draws, in order.
    std::vector<TColor> frames()
    {
        TRecordingCanvas canvas;
        combo->DrawBorders(canvas);
        std::vector<TColor> out;
        for (const TCanvasOp &op : canvas.OpsOf(TCanvasOp::Kind::FrameRect))
            out.push_back(op.brushColor);
        return out;
    }

    QWidget parent;
    TTestCombo *combo = nullptr;
};

TEST_F(ComboBase, ButtonWidthTakesOnly14To32)
{
    combo->SetButtonWidth(20);
    const std::pair<int, int> cases[] = {{13, 20}, {14, 14}, {32, 32}, {33, 32}, {0, 32}};
    for (auto [value, expected] : cases) {
        combo->SetButtonWidth(value);
        EXPECT_EQ(combo->ButtonWidth(), expected) << value;
    }
}

TEST_F(ComboBase, WritingTheSameFlatValueDoesNothing)
{
    combo->SetFlat(true);
    EXPECT_FALSE(combo->hasFrame());
    EXPECT_EQ(combo->Color(), clTeal) << "the flat look takes the parent's colour";
    combo->SetColor(clRed);
    combo->SetFlat(true);
    EXPECT_EQ(combo->Color(), clRed);
    combo->SetFlat(false);
    EXPECT_TRUE(combo->hasFrame());
    EXPECT_EQ(combo->Color(), clRed) << "back to the colour given while loading";
}

TEST_F(ComboBase, PaintingAndBorderDecisions)
{
    struct Case
    {
        const char *name;
        bool flat = false;
        bool enabled = true;
        bool vista = false;
        bool themed = false;
        bool disabledBorder = true;
        bool focused = false;
        TColor border = clNone;
        TColor focusBorder = clNone;
        TColor button = clNone;
        bool paintsItself = false;
        std::vector<TColor> frames = {};
    };
    const Case cases[] = {
        {.name = "plain"},
        {.name = "focus colour, unfocused", .focusBorder = clBlue},
        {.name = "focus colour, focused",
         .focused = true,
         .focusBorder = clBlue,
         .paintsItself = true,
         .frames = {clBlue}},
        {.name = "border colour", .border = clRed, .paintsItself = true, .frames = {clRed}},
        {.name = "border wins unfocused",
         .border = clRed,
         .focusBorder = clBlue,
         .paintsItself = true,
         .frames = {clRed}},
        {.name = "disabled themed",
         .enabled = false,
         .themed = true,
         .disabledBorder = false,
         .paintsItself = true,
         .frames = {TQsgCustomCombo::DisabledFrameColor}},
        {.name = "disabled classic", .enabled = false, .disabledBorder = false},
        {.name = "flat", .flat = true, .paintsItself = true, .frames = {clTeal, clTeal, clYellow}},
        {.name = "vista flat", .flat = true, .vista = true},
        {.name = "vista flat with border",
         .flat = true,
         .vista = true,
         .border = clRed,
         .frames = {clRed, clRed}},
        {.name = "vista button colour", .vista = true, .button = clGreen, .paintsItself = true},
    };
    for (const Case &c : cases) {
        auto *cb = new TTestCombo(&parent);
        combo = cb;
        cb->setGeometry(10, 10, 80, 22);
        cb->SetFlat(c.flat);
        cb->SetColor(clYellow);
        cb->setEnabled(c.enabled);
        cb->SetIsVista(c.vista);
        cb->setThemed(c.themed);
        cb->SetDisabledBorder(c.disabledBorder);
        cb->SetBorderColor(c.border);
        cb->SetFocusBorderColor(c.focusBorder);
        cb->SetButtonColor(c.button);
        if (c.focused)
            cb->enter();
        EXPECT_EQ(cb->ControlPaintsItself(), c.paintsItself) << c.name;
        EXPECT_EQ(frames(), c.frames) << c.name;
        delete cb;
    }
}

TEST_F(ComboBase, ColouredButtonFollowsHoverAndMouse)
{
    combo->SetButtonColor(clGreen);
    combo->SetButtonColorHot(clLime);
    combo->SetButtonColorDown(clNavy);
    combo->SetButtonTextColor(clWhite);
    combo->SetButtonTextColorDown(clYellow);
    combo->SetButtonWidth(16);
    struct Case
    {
        int x;
        bool down;
        TColor back;
        TColor arrow;
    };
    const int w = combo->width();
    const Case cases[] = {
        {w - 16, false, clGreen, clWhite},
        {w - 15, false, clLime, clWhite},
        {w - 1, true, clNavy, clYellow},
        {5, true, clGreen, clYellow},
    };
    for (const Case &c : cases) {
        QMouseEvent move(QEvent::MouseMove, QPointF(c.x, 5), combo->mapToGlobal(QPointF(c.x, 5)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(combo, &move);
        combo->mouseDown = c.down;
        TRecordingCanvas canvas;
        combo->PaintButton(canvas);
        const auto rects = canvas.OpsOf(TCanvasOp::Kind::Rectangle);
        const auto arrows = canvas.OpsOf(TCanvasOp::Kind::Polygon);
        ASSERT_EQ(rects.size(), 1u) << c.x;
        ASSERT_EQ(arrows.size(), 1u) << c.x;
        EXPECT_EQ(rects[0].brushColor, c.back) << c.x;
        EXPECT_EQ(rects[0].rect, (TRect{w - 14, 2, w - 2, 20})) << c.x;
        EXPECT_EQ(arrows[0].brushColor, c.arrow) << c.x;
    }
}

TEST_F(ComboBase, LabelFontIsTakenOnlyWithoutParentFont)
{
    combo->SetLabelCaption(QStringLiteral("Name"));
    const TFont before = combo->LabelFont();
    TFont big(QStringLiteral("Tahoma"), -20, TFontStyle::fsBold);
    for (bool parentFont : {true, false}) {
        combo->SetParentFont(parentFont);
        combo->SetLabelFont(big);
        if (parentFont) {
            EXPECT_TRUE(combo->LabelFont() == before);
            EXPECT_EQ(combo->ComboLabel()->font(), combo->font());
        } else {
            EXPECT_TRUE(combo->LabelFont() == big);
            EXPECT_TRUE(combo->ComboLabel()->font().bold());
        }
    }
}

TEST_F(ComboBase, LabelStandsWhereItsPositionSays)
{
    combo->SetLabelCaption(QStringLiteral("A caption wider than the combo"));
    combo->SetLabelMargin(3);
    const QLabel *label = combo->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), &parent);
    EXPECT_EQ(label->buddy(), combo);
    const int L = 100, T = 50, W = 80, H = 22, M = 3;
    const int LW = label->width();
    const int LH = label->height();
    ASSERT_GT(LW, W);
    const int midY = LH < H ? T + (H - LH) / 2 : T - (LH - H) / 2;
    struct Case
    {
        TLabelPosition pos;
        int left;
        int top;
    };
    const Case cases[] = {
        {TLabelPosition::lpLeftTop, L - LW - M, T},
        {TLabelPosition::lpLeftCenter, L - LW - M, midY},
        {TLabelPosition::lpTopLeft, L, T - LH - M},
        {TLabelPosition::lpLeftBottomLeft, L - M, T + H - LH},
        {TLabelPosition::lpTopCenter, L - (LW - W) / 2, T - LH - M},
        {TLabelPosition::lpBottomCenter, L - (LW - W) / 2, T + H + M},
        {TLabelPosition::lpRighBottom, L + W + M, T + H - LH},
    };
    for (const Case &c : cases) {
        combo->SetLabelPosition(c.pos);
        EXPECT_EQ(label->pos(), QPoint(c.left, c.top)) << static_cast<int>(c.pos);
    }
    // Moving the combo takes the label along.
    parent.show();
    combo->move(120, 60);
    EXPECT_EQ(label->pos(), QPoint(120 + W + M, 60 + H - LH));
}

TEST_F(ComboBase, DropWidthAndDropUp)
{
    combo->SetDropWidth(0);
    EXPECT_EQ(combo->DroppedWidth(), 0);
    combo->SetDropWidth(250);
    EXPECT_EQ(combo->DroppedWidth(), 250);
    EXPECT_EQ(combo->view()->minimumWidth(), 250);

    int dropUps = 0;
    combo->OnDropUp = [&](QObject *sender) {
        EXPECT_EQ(sender, combo);
        ++dropUps;
    };
    combo->addItems({QStringLiteral("one"), QStringLiteral("two")});
    parent.show();
    combo->showPopup();
    EXPECT_TRUE(combo->DroppedDown());
    combo->hidePopup();
    combo->hidePopup();
    EXPECT_EQ(dropUps, 1);
}

TEST_F(ComboBase, OnChangeFiresOnlyForTheUsersChanges)
{
    combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    int changes = 0;
    combo->OnChange = [&](QObject *) { ++changes; };
    combo->setCurrentIndex(1);
    EXPECT_EQ(changes, 0);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(changes, 1);
    combo->SetStyle(TComboStyle::csDropDown);
    QTest::keyClicks(combo, QStringLiteral("xy"));
    EXPECT_EQ(changes, 3);
    combo->setEditText(QStringLiteral("z"));
    EXPECT_EQ(changes, 3);
}

TEST_F(ComboBase, SelectItemIgnoresCaseAndMissingItems)
{
    combo->addItems({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    combo->setCurrentIndex(0);
    combo->SelectItem(QStringLiteral("gamma"));
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->SelectItem(QStringLiteral("BETA"));
    EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(ComboBase, FocusColourAndFlatDisabledColour)
{
    combo->SetColor(clYellow);
    combo->SetFocusColor(clAqua);
    combo->Init();
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(combo, &in);
    EXPECT_TRUE(combo->HasFocus());
    EXPECT_EQ(combo->Color(), clAqua);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(combo, &out);
    EXPECT_FALSE(combo->HasFocus());
    EXPECT_EQ(combo->Color(), clYellow);

    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    EXPECT_EQ(combo->Color(), clYellow);
    combo->setEnabled(false);
    EXPECT_EQ(combo->Color(), clTeal);
    combo->setEnabled(true);
    EXPECT_EQ(combo->Color(), clYellow);
}

} // namespace
