// The owner-drawn push button: input state machine, dialog keys, modal result, fading and the
// face it paints.
#include "common/button/LbButton.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

constexpr TColor kFace = 0xEDF7F8;
constexpr TColor kDown = 0x0080FF;
constexpr TColor kLight = clWhite;
constexpr TColor kShadow = 0x808080;

void hover(TLbButton *b, bool inside)
{
    if (inside) {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(b, &e);
    } else {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(b, &e);
    }
}

// One step of the fade, as its timer would deliver it.
void fadeTick(TLbButton *b)
{
    QTimer &t = b->FadeThread()->Timer();
    QTimerEvent e(t.timerId());
    QApplication::sendEvent(&t, &e);
}

TColor pixel(const QImage &img, int x, int y)
{
    return FromQColor(img.pixelColor(x, y));
}

QImage faceOf(QWidget *w)
{
    return w->grab().toImage();
}

// Bounds of the caption's dark pixels inside the face (edges left out).
QRect inkBounds(const QImage &img)
{
    QRect r;
    for (int y = 2; y < img.height() - 2; ++y)
        for (int x = 2; x < img.width() - 2; ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() + c.green() + c.blue() < 250)
                r |= QRect(x, y, 1, 1);
        }
    return r;
}

class LbButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        form->resize(320, 120);
        edit = new QLineEdit(form.get());
        edit->setGeometry(10, 80, 100, 20);
        btn = makeButton(QStringLiteral("&OK"), 10, 10);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    TLbButton *makeButton(const QString &caption, int x, int y)
    {
        auto *b = new TLbButton(form.get());
        b->setGeometry(x, y, 100, 23);
        b->SetCaption(caption);
        b->SetStyle(TLbButtonStyle::bsEncarta);
        b->SetColor(kFace);
        b->SetLightColor(kLight);
        b->SetShadowColor(kShadow);
        b->SetColorWhenDown(kDown);
        b->SetHotTrackColor(clYellow);
        b->OnClick = [this](QObject *sender) { clicked.push_back(sender); };
        b->show();
        return b;
    }

    int clicksOf(const QObject *b) const
    {
        return static_cast<int>(std::count(clicked.begin(), clicked.end(), b));
    }

    std::unique_ptr<QWidget> form;
    QLineEdit *edit = nullptr;
    TLbButton *btn = nullptr;
    std::vector<QObject *> clicked;
};

// ---- mouse -----------------------------------------------------------------------------------

TEST_F(LbButtonTest, MousePressAndRelease)
{
    struct Case
    {
        const char *name;
        Qt::MouseButton button;
        bool enabled;
        QPoint releaseAt;
        bool downWhilePressed;
        int clicks;
    };
    const Case cases[] = {
        {"left inside", Qt::LeftButton, true, QPoint(50, 10), true, 1},
        {"left released off the button", Qt::LeftButton, true, QPoint(150, 10), true, 1},
        {"right button", Qt::RightButton, true, QPoint(50, 10), false, 0},
        {"left on a disabled button", Qt::LeftButton, false, QPoint(50, 10), false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        edit->setFocus();
        btn->setEnabled(c.enabled);
        QTest::mousePress(btn, c.button, {}, QPoint(10, 10));
        EXPECT_EQ(btn->IsDown(), c.downWhilePressed);
        EXPECT_EQ(btn->hasFocus(), c.downWhilePressed);
        QTest::mouseRelease(btn, c.button, {}, c.releaseAt);
        EXPECT_EQ(clicksOf(btn), c.clicks);
        EXPECT_FALSE(btn->IsDown());
    }
}

TEST_F(LbButtonTest, ClosingTheWindowUnderTheMouseDropsTheHighlight)
{
    // No leave arrives when the window closes under the pointer; the next showing must not
    // start highlighted.
    for (const bool slowFade : {false, true}) {
        SCOPED_TRACE(slowFade ? "slow fade" : "no fade");
        btn->SetSlowDecease(slowFade);
        form->show();
        hover(btn, true);
        if (slowFade)
            hover(btn, false); // the fade has started but not ticked yet
        ASSERT_EQ(btn->HotTrackStep(), 8);
        form->hide();
        EXPECT_FALSE(btn->IsCursorOnButton());
        EXPECT_EQ(btn->HotTrackStep(), 0);
        if (btn->FadeThread()) {
            EXPECT_TRUE(btn->FadeThread()->Suspended());
        }
    }
}

TEST_F(LbButtonTest, HotTrackingFollowsEnterAndLeave)
{
    hover(btn, true);
    EXPECT_TRUE(btn->IsCursorOnButton());
    EXPECT_EQ(btn->HotTrackStep(), 8);
    hover(btn, false);
    EXPECT_FALSE(btn->IsCursorOnButton());
    EXPECT_EQ(btn->HotTrackStep(), 0);

    int entered = 0;
    btn->OnMouseEnter = [&](QObject *) { ++entered; };
    btn->setEnabled(false);
    hover(btn, true);
    EXPECT_FALSE(btn->IsCursorOnButton());
    EXPECT_EQ(entered, 0);
}

TEST_F(LbButtonTest, DisablingAPressedButtonReleasesIt)
{
    btn->setFocus();
    QTest::keyPress(btn, Qt::Key_Space);
    ASSERT_TRUE(btn->IsDown());
    btn->SetEnabled(false);
    EXPECT_FALSE(btn->IsDown());
    EXPECT_FALSE(btn->Enabled());
    QTest::keyRelease(btn, Qt::Key_Space);
    EXPECT_EQ(clicksOf(btn), 0);
}

// ---- keyboard --------------------------------------------------------------------------------

TEST_F(LbButtonTest, KeysOnTheFocusedButton)
{
    struct Case
    {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool enabled;
        int clicks;
    };
    const Case cases[] = {
        {"Return", Qt::Key_Return, {}, true, 1},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true, 1},
        {"Space", Qt::Key_Space, {}, true, 1},
        {"a letter", Qt::Key_A, {}, true, 0},
        {"Return while disabled", Qt::Key_Return, {}, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        btn->setEnabled(true);
        btn->setFocus();
        btn->setEnabled(c.enabled);
        QTest::keyClick(btn, c.key, c.mods);
        EXPECT_EQ(clicksOf(btn), c.clicks);
        EXPECT_FALSE(btn->IsDown());
    }
}

TEST_F(LbButtonTest, KeyReleaseWithoutItsPressDoesNotClick)
{
    btn->setFocus();
    QTest::keyRelease(btn, Qt::Key_Return);
    EXPECT_EQ(clicksOf(btn), 0);
}

TEST_F(LbButtonTest, MnemonicClicks)
{
    struct Case
    {
        const char *name;
        QString caption;
        Qt::Key key;
        bool enabled;
        int clicks;
    };
    const Case cases[] = {
        {"accelerator letter", QStringLiteral("&OK"), Qt::Key_O, true, 1},
        {"accelerator inside the caption", QStringLiteral("Can&cel"), Qt::Key_C, true, 1},
        {"other letter", QStringLiteral("&OK"), Qt::Key_K, true, 0},
        {"no accelerator", QStringLiteral("OK"), Qt::Key_O, true, 0},
        {"disabled", QStringLiteral("&OK"), Qt::Key_O, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        btn->SetCaption(c.caption);
        btn->setEnabled(c.enabled);
        edit->setFocus();
        QTest::keyClick(edit, c.key, Qt::AltModifier);
        EXPECT_EQ(clicksOf(btn), c.clicks);
    }
}

TEST_F(LbButtonTest, DefaultAndCancelKeysOfTheWindow)
{
    TLbButton *def = btn;
    def->SetDefault(true);
    TLbButton *cancel = makeButton(QStringLiteral("Cancel"), 120, 10);
    cancel->SetCancel(true);
    TLbButton *other = makeButton(QStringLiteral("Other"), 10, 40);
    auto *qtButton = new QPushButton(QStringLiteral("Qt"), form.get());
    qtButton->setGeometry(120, 40, 80, 23);
    qtButton->show();

    enum Target { Def, Cancel, Other, None };
    struct Case
    {
        const char *name;
        QWidget *focus;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool defUsable;
        Target clicks;
    };
    const Case cases[] = {
        {"Enter in an edit clicks the default button", edit, Qt::Key_Return, {}, true, Def},
        {"keypad Enter too", edit, Qt::Key_Enter, Qt::KeypadModifier, true, Def},
        {"Escape in an edit clicks the cancel button", edit, Qt::Key_Escape, {}, true, Cancel},
        {"Shift+Escape does not", edit, Qt::Key_Escape, Qt::ShiftModifier, true, None},
        {"Enter on another of our buttons clicks that one", other, Qt::Key_Return, {}, true, Other},
        {"Enter on any push button is left to it", qtButton, Qt::Key_Return, {}, true, None},
        {"a disabled default button ignores Enter", edit, Qt::Key_Return, {}, false, None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        def->setEnabled(c.defUsable);
        c.focus->setFocus();
        QTest::keyClick(c.focus, c.key, c.mods);
        EXPECT_EQ(clicksOf(def), c.clicks == Def ? 1 : 0);
        EXPECT_EQ(clicksOf(cancel), c.clicks == Cancel ? 1 : 0);
        EXPECT_EQ(clicksOf(other), c.clicks == Other ? 1 : 0);
    }

    clicked.clear();
    def->setEnabled(true);
    def->hide();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicksOf(def), 0) << "a hidden default button ignores Enter";
}

// ---- modal result ----------------------------------------------------------------------------

TEST(LbButtonModal, ModalResultClosesTheForm)
{
    struct Case
    {
        const char *name;
        int modalResult;
        TLbButtonKind kind;
        int expected;
    };
    const Case cases[] = {
        {"OK", mrOk, TLbButtonKind::bkCustom, mrOk},
        {"cancel", mrCancel, TLbButtonKind::bkCustom, mrCancel},
        {"all", 12, TLbButtonKind::bkCustom, 12},
        {"kind Yes", mrNone, TLbButtonKind::bkYes, mrYes},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TModalForm form;
        form.resize(200, 80);
        auto *b = new TLbButton(&form);
        b->setGeometry(10, 10, 100, 23);
        if (c.kind != TLbButtonKind::bkCustom)
            b->SetKind(c.kind);
        else
            b->SetModalResult(c.modalResult);
        bool stillOpenInOnClick = false;
        b->OnClick = [&](QObject *) {
            stillOpenInOnClick = form.isVisible() && form.ModalResult() == mrNone;
        };
        plat::WhenModalShown([b](TModalForm *f) {
            QTest::mouseClick(b, Qt::LeftButton);
            if (f->isVisible())
                f->SetModalResult(-1); // the click did not close it; end the test anyway
        });
        EXPECT_EQ(form.ShowModal(), c.expected);
        EXPECT_TRUE(stillOpenInOnClick) << "OnClick runs before the result is set";
    }
    plat::ClearModalShownActions();
}

TEST(LbButtonModal, ZeroModalResultLeavesTheFormOpen)
{
    TModalForm form;
    auto *keep = new TLbButton(&form);
    auto *close = new TLbButton(&form);
    close->SetModalResult(mrOk);
    bool openAfterFirstClick = false;
    plat::WhenModalShown([&](TModalForm *f) {
        keep->Click();
        openAfterFirstClick = f->isVisible();
        close->Click();
        if (f->isVisible())
            f->SetModalResult(-1);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_TRUE(openAfterFirstClick);
}

TEST(LbButtonModal, PlainDialogEndsWithTheResult)
{
    QDialog dialog;
    auto *b = new TLbButton(&dialog);
    b->SetModalResult(mrCancel);
    QTimer::singleShot(0, b, [b, &dialog] {
        b->Click();
        if (dialog.isVisible())
            dialog.done(-1);
    });
    EXPECT_EQ(dialog.exec(), mrCancel);
}

// ---- fading ----------------------------------------------------------------------------------

TEST_F(LbButtonTest, FadeTicksOnlyWhileSlowFadeIsOn)
{
    ASSERT_NE(btn->FadeThread(), nullptr) << "each button starts with an idle ticker";
    EXPECT_TRUE(btn->FadeThread()->Suspended());

    hover(btn, true);
    hover(btn, false);
    EXPECT_EQ(btn->HotTrackStep(), 0) << "without slow fade the highlight goes at once";
    EXPECT_TRUE(btn->FadeThread()->Suspended());

    btn->SetSlowDecease(true);
    hover(btn, true);
    hover(btn, false);
    ASSERT_FALSE(btn->FadeThread()->Suspended());
    for (int expected = 7; expected >= 1; --expected) {
        fadeTick(btn);
        EXPECT_EQ(btn->HotTrackStep(), expected);
        EXPECT_FALSE(btn->FadeThread()->Suspended());
    }
    fadeTick(btn);
    EXPECT_EQ(btn->HotTrackStep(), 0);
    EXPECT_TRUE(btn->FadeThread()->Suspended()) << "the ticker stops itself at step 0";

    // Coming back while fading brings the full highlight back and keeps it.
    hover(btn, true);
    hover(btn, false);
    fadeTick(btn);
    hover(btn, true);
    EXPECT_EQ(btn->HotTrackStep(), 8);
    EXPECT_TRUE(btn->FadeThread()->Suspended());

    hover(btn, false);
    btn->SetSlowDecease(false);
    EXPECT_EQ(btn->FadeThread(), nullptr);
    EXPECT_EQ(btn->HotTrackStep(), 0);
}

// ---- properties ------------------------------------------------------------------------------

TEST(LbButtonProps, KindsSetResultPictureAndCaption)
{
    struct Case
    {
        TLbButtonKind kind;
        int modalResult;
        const char *caption;
    };
    const Case cases[] = {
        {TLbButtonKind::bkOK, mrOk, "OK"},
        {TLbButtonKind::bkCancel, mrCancel, "Abbrechen"},
        {TLbButtonKind::bkHelp, mrNone, "Hilfe"},
        {TLbButtonKind::bkNo, mrNo, "Nein"},
        {TLbButtonKind::bkClose, mrNone, "Schließen"},
        {TLbButtonKind::bkRetry, mrRetry, "Wiederholen"},
        {TLbButtonKind::bkAll, 12, "Alle"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption);
        TLbButton b;
        b.SetKind(c.kind);
        EXPECT_EQ(b.Kind(), c.kind);
        EXPECT_EQ(b.ModalResult(), c.modalResult);
        EXPECT_EQ(b.Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(b.NumGlyphs(), 2);
        EXPECT_EQ(b.Glyph().width(), 2 * b.Glyph().height());
    }
}

TEST(LbButtonProps, ModalResultAndGlyphMakeTheKindCustom)
{
    TLbButton b;
    b.SetKind(TLbButtonKind::bkOK);
    b.SetModalResult(mrCancel);
    EXPECT_EQ(b.Kind(), TLbButtonKind::bkCustom);
    EXPECT_EQ(b.ModalResult(), mrCancel);

    b.SetKind(TLbButtonKind::bkOK);
    QImage strip(96, 24, QImage::Format_RGB32);
    strip.fill(Qt::white);
    b.SetGlyph(strip);
    EXPECT_EQ(b.Kind(), TLbButtonKind::bkCustom);
    EXPECT_EQ(b.NumGlyphs(), 4);
    b.SetGlyph(QImage());
    EXPECT_EQ(b.NumGlyphs(), 0);
}

TEST(LbButtonProps, ColorStyleAppliesASchemeAndReadsBackCustom)
{
    TLbButton b;
    b.SetColorStyle(TLbColorStyle::lcsQuicken);
    EXPECT_EQ(b.ColorStyle(), TLbColorStyle::lcsCustom);
    EXPECT_EQ(b.Color(), 0x603000u);
    EXPECT_EQ(b.Font().Color(), clWhite);
    EXPECT_EQ(b.Style(), TLbButtonStyle::bsQuicken);
    EXPECT_EQ(b.ColorWhenDown(), 0xAD6529u);

    b.SetColorStyle(TLbColorStyle::lcsUltraFlat2);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_TRUE(b.Flat());
    EXPECT_EQ(b.Style(), TLbButtonStyle::bsNormal);

    b.SetColorStyle(TLbColorStyle::lcsCustom);
    EXPECT_EQ(b.Color(), clBtnFace) << "the custom scheme changes nothing";
}

TEST_F(LbButtonTest, PopupMenuOpensBelowTheButton)
{
    QMenu menu;
    menu.addAction(QStringLiteral("item"));
    btn->SetPopupMenu(&menu);
    QTest::mouseClick(btn, Qt::LeftButton);
    EXPECT_EQ(clicksOf(btn), 1);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST_F(LbButtonTest, ActionLendsCaptionPictureAndRunsOnClick)
{
    QAction action(QStringLiteral("&Run"));
    QPixmap pm(16, 16);
    pm.fill(Qt::blue);
    action.setIcon(QIcon(pm));
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    btn->SetGlyph(QImage());
    btn->SetAction(&action);
    EXPECT_EQ(btn->Caption(), QStringLiteral("&Run"));
    EXPECT_EQ(btn->NumGlyphs(), 1);
    EXPECT_EQ(btn->Glyph().size(), QSize(16, 16));
    QTest::mouseClick(btn, Qt::LeftButton);
    EXPECT_EQ(clicksOf(btn), 1);
    EXPECT_EQ(triggered, 1);
    action.setEnabled(false);
    EXPECT_FALSE(btn->isEnabled());
}

// ---- failing handlers ------------------------------------------------------------------------

TEST_F(LbButtonTest, FailingClickHandlerIsReportedAndGoesNoFurther)
{
    // However the click comes, the error box shows the handler's text once, nothing escapes to
    // the caller, the face comes up again and the action is not run.
    plat::MessageBoxRecorder boxes;
    QAction action(QStringLiteral("&Run"));
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    btn->SetAction(&action);
    btn->OnClick = [](QObject *) { throw std::runtime_error("handler failed"); };
    btn->SetDefault(true);
    struct Case
    {
        const char *name;
        std::function<void()> press;
    };
    const Case cases[] = {
        {"mouse", [this] { QTest::mouseClick(btn, Qt::LeftButton); }},
        {"space on the button",
         [this] {
             btn->setFocus();
             QTest::keyClick(btn, Qt::Key_Space);
         }},
        {"accelerator", [this] { QTest::keyClick(edit, Qt::Key_R, Qt::AltModifier); }},
        {"Enter in the window", [this] { QTest::keyClick(edit, Qt::Key_Return); }},
        {"Click()", [this] { btn->Click(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.Clear();
        edit->setFocus();
        EXPECT_NO_THROW(c.press());
        ASSERT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.Last().text, QStringLiteral("handler failed"));
        EXPECT_FALSE(btn->IsDown());
        EXPECT_EQ(triggered, 0);
    }
}

TEST(LbButtonModal, FailingClickHandlerLeavesTheFormOpen)
{
    plat::MessageBoxRecorder boxes;
    TModalForm form;
    auto *b = new TLbButton(&form);
    b->SetModalResult(mrOk);
    b->OnClick = [](QObject *) { throw std::runtime_error("not saved"); };
    bool openAfterClick = false;
    bool escaped = false;
    plat::WhenModalShown([&](TModalForm *f) {
        // Caught here as well, so an escaping exception fails the test instead of leaving the
        // form open for good.
        try {
            b->Click();
        } catch (...) {
            escaped = true;
        }
        openAfterClick = f->isVisible() && f->ModalResult() == mrNone;
        if (f->isVisible())
            f->SetModalResult(-1);
    });
    EXPECT_EQ(form.ShowModal(), -1);
    plat::ClearModalShownActions();
    EXPECT_FALSE(escaped);
    EXPECT_TRUE(openAfterClick);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, QStringLiteral("not saved"));
}

TEST_F(LbButtonTest, FailingHoverHandlersAreReported)
{
    plat::MessageBoxRecorder boxes;
    btn->OnMouseEnter = [](QObject *) { throw std::runtime_error("enter failed"); };
    btn->OnMouseExit = [](QObject *) { throw std::runtime_error("exit failed"); };
    EXPECT_NO_THROW(hover(btn, true));
    EXPECT_TRUE(btn->IsCursorOnButton());
    EXPECT_NO_THROW(hover(btn, false));
    EXPECT_FALSE(btn->IsCursorOnButton());
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("enter failed"));
    EXPECT_EQ(boxes.Requests()[1].text, QStringLiteral("exit failed"));
}

// ---- drawing helpers -------------------------------------------------------------------------

TEST(LbButtonDrawing, BlendHotTrack)
{
    struct Case
    {
        TColor face, hot;
        int step;
        TColor expected;
    };
    const Case cases[] = {
        {0xFFFFFF, 0x000000, 4, 0x7F7F7F}, {0xFFFFFF, 0x000000, 8, 0x000000},
        {0xFFFFFF, 0x000000, 0, 0xFFFFFF}, {0x000000, 0xFFFFFF, 1, 0x1F1F1F},
        {0xEDF7F8, clYellow, 8, clYellow}, {clBtnFace, clBtnFace, 3, ColorToRGB(clBtnFace)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LbBlendHotTrack(c.face, c.hot, c.step), c.expected)
            << std::hex << c.face << " " << c.hot << " step " << std::dec << c.step;
}

TEST(LbButtonDrawing, GradientBandsOverlapAndTheLastIsClipped)
{
    // Each band's colour is from + i * (to - from) / 31 truncated as a whole, so a falling
    // gradient rounds down as a rising one does (row 1 from white: 246.77 gives 246, not 247).
    struct Case
    {
        TColor from, to;
    };
    for (const Case &g : {Case{clBlack, clWhite}, Case{clWhite, clBlack}}) {
        SCOPED_TRACE(g.from == clBlack ? "rising" : "falling");
        QImage img(4, 40, QImage::Format_RGB32);
        img.fill(Qt::red);
        {
            TCanvas c(&img);
            LbGradientFill(c, Rect(0, 4, 4, 35), g.from, g.to);
        }
        const int start = GetRValue(g.from);
        const int end = GetRValue(g.to);
        for (int i = 0; i <= 30; ++i) {
            const int grey = static_cast<int>(std::floor(start + i * (end - start) / 31.0));
            EXPECT_EQ(pixel(img, 1, 4 + i), RGB(grey, grey, grey)) << "row " << i;
        }
        EXPECT_EQ(pixel(img, 1, 35), clRed) << "nothing below the bottom";
        EXPECT_EQ(pixel(img, 1, 3), clRed) << "nothing above the top";
    }
}

TEST(LbButtonDrawing, LongCaptionIsCutToFit)
{
    TRecordingCanvas c(7, 13);
    TLbFace f;
    f.Width = 100;
    f.Height = 23;
    f.Style = TLbButtonStyle::bsEncarta;
    f.Caption = QStringLiteral("ABCDEFGHIJKLMNOPQRST"); // 140 px
    LbDrawButtonFace(c, f);
    const auto texts = c.OpsOf(TCanvasOp::Kind::DrawText);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().text, QStringLiteral("ABCDEFGHIJKLM")) << "13 * 7 = 91 <= 92";

    TRecordingCanvas wrapped(7, 13);
    f.WordWrap = true;
    f.Caption = QStringLiteral("ABCDEFGHIJ KLMNOPQRST");
    LbDrawButtonFace(wrapped, f);
    EXPECT_EQ(wrapped.OpsOf(TCanvasOp::Kind::DrawText).back().lines.size(), 2);
}

TEST(LbButtonDrawing, PictureCellByState)
{
    // Four solid cells, each with its key colour in the lower-left pixel.
    const QColor cellColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QImage strip(64, 16, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i) {
        QPainter p(&strip);
        p.fillRect(16 * i, 0, 16, 16, cellColours[i]);
        strip.setPixelColor(16 * i, 15, QColor(0xFF, 0x00, 0xFF));
    }
    struct Case
    {
        const char *name;
        int cells;
        bool enabled, hot, pressed;
        int expectedCell; // -1: no picture
    };
    const Case cases[] = {
        {"normal", 4, true, false, false, 0},
        {"hot", 4, true, true, false, 3},
        {"pressed wins over hot", 4, true, true, true, 2},
        {"hot with three cells", 3, true, true, false, 0},
        {"pressed with two cells", 2, true, false, true, 0},
        {"disabled shows cell 1", 2, false, true, true, 1},
        {"disabled one-cell strip shows nothing", 1, false, false, false, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage img(100, 30, QImage::Format_RGB32);
        TLbFace f;
        f.Width = 100;
        f.Height = 30;
        f.FaceColor = kFace;
        f.Glyph = strip.copy(0, 0, 16 * c.cells, 16);
        f.NumGlyphs = c.cells;
        f.Enabled = c.enabled;
        f.Hot = c.hot;
        f.Pressed = c.pressed;
        {
            TCanvas canvas(&img);
            LbDrawButtonFace(canvas, f);
        }
        const TColor expected =
            c.expectedCell < 0 ? kFace : FromQColor(cellColours[c.expectedCell]);
        EXPECT_EQ(pixel(img, 50, 15), expected);
    }
}

TEST(LbButtonDrawing, DisabledCaptionIsGrey)
{
    TRecordingCanvas rc(7, 13);
    TLbFace f;
    f.Width = 100;
    f.Height = 23;
    f.Caption = QStringLiteral("Go");
    f.Enabled = false;
    LbDrawButtonFace(rc, f);
    const auto texts = rc.OpsOf(TCanvasOp::Kind::DrawText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].fontColor, clGray);
}

TEST(LbButtonDrawing, PictureAndCaptionPlacement)
{
    // Face 100 x 40, cell 16 x 16, caption "OK" 14 x 13 with the fixed metrics.
    struct Case
    {
        const char *name;
        TLbButtonLayout layout;
        TLbAlignment alignment;
        TLbButtonStyle style;
        bool pressed;
        TPoint glyph, text;
    };
    using L = TLbButtonLayout;
    using A = TLbAlignment;
    using S = TLbButtonStyle;
    const Case cases[] = {
        {"left, centred", L::blGlyphLeft, A::taCenter, S::bsEncarta, false, {33, 12}, {24, 13}},
        {"right, centred", L::blGlyphRight, A::taCenter, S::bsEncarta, false, {51, 12}, {4, 13}},
        {"top, centred", L::blGlyphTop, A::taCenter, S::bsEncarta, false, {42, 3}, {4, 19}},
        {"bottom, right",
         L::blGlyphBottom,
         A::taRightJustify,
         S::bsEncarta,
         false,
         {80, 16},
         {4, 3}},
        {"left, left, pressed normal",
         L::blGlyphLeft,
         A::taLeftJustify,
         S::bsNormal,
         true,
         {5, 13},
         {25, 14}},
        {"left, left, pressed encarta",
         L::blGlyphLeft,
         A::taLeftJustify,
         S::bsEncarta,
         true,
         {4, 12},
         {24, 13}},
    };
    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(Qt::white);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TRecordingCanvas rc(7, 13);
        TLbFace f;
        f.Width = 100;
        f.Height = 40;
        f.Caption = QStringLiteral("OK");
        f.Glyph = strip;
        f.NumGlyphs = 2;
        f.Layout = c.layout;
        f.Alignment = c.alignment;
        f.Style = c.style;
        f.Pressed = c.pressed;
        LbDrawButtonFace(rc, f);
        const auto draws = rc.OpsOf(TCanvasOp::Kind::Draw);
        const auto texts = rc.OpsOf(TCanvasOp::Kind::DrawText);
        ASSERT_EQ(draws.size(), 1u);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(draws[0].rect.TopLeft(), c.glyph);
        EXPECT_EQ(texts.back().rect.TopLeft(), c.text);
    }
}

// ---- painted face ----------------------------------------------------------------------------

TEST_F(LbButtonTest, FaceColoursByState)
{
    btn->SetCaption(QString());
    btn->SetStyle(TLbButtonStyle::bsNormal);
    enum State { Normal, Hot, Down, HotThenDisabled };
    struct Case
    {
        const char *name;
        State state;
        TColor face, leftEdge, rightEdge;
    };
    const Case cases[] = {
        {"normal", Normal, kFace, kLight, kShadow},
        {"hot", Hot, clYellow, kLight, kShadow},
        {"down", Down, kDown, kShadow, kLight},
        {"disabled", HotThenDisabled, kFace, kLight, kShadow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        btn->setEnabled(true);
        hover(btn, false);
        form->setFocus();
        if (c.state == Hot || c.state == HotThenDisabled)
            hover(btn, true);
        if (c.state == HotThenDisabled)
            btn->setEnabled(false);
        if (c.state == Down)
            QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(50, 10));
        const QImage img = faceOf(btn);
        if (c.state == Down)
            QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(150, 10));
        EXPECT_EQ(pixel(img, 50, 11), c.face);
        EXPECT_EQ(pixel(img, 0, 11), c.leftEdge);
        EXPECT_EQ(pixel(img, 99, 11), c.rightEdge);
    }
}

TEST_F(LbButtonTest, CaptionAlignment)
{
    btn->SetCaption(QStringLiteral("Ab"));
    TCanvas measure;
    measure.SetFont(btn->Font());
    const int tw = measure.TextWidth(QStringLiteral("Ab"));
    struct Case
    {
        TLbAlignment alignment;
        int left;
    };
    const Case cases[] = {
        {TLbAlignment::taLeftJustify, 4},
        {TLbAlignment::taCenter, 4 + (92 - tw) / 2},
        {TLbAlignment::taRightJustify, 96 - tw},
    };
    for (const Case &c : cases) {
        btn->SetAlignment(c.alignment);
        const QRect ink = inkBounds(faceOf(btn));
        ASSERT_TRUE(ink.isValid());
        EXPECT_NEAR(ink.left(), c.left, 2) << static_cast<int>(c.alignment);
    }
}

TEST_F(LbButtonTest, PressedCaptionShiftsExceptOnEncarta)
{
    btn->SetCaption(QStringLiteral("Ab"));
    btn->SetAlignment(TLbAlignment::taLeftJustify);
    struct Case
    {
        TLbButtonStyle style;
        int shift;
    };
    for (const Case &c : {Case{TLbButtonStyle::bsNormal, 1}, Case{TLbButtonStyle::bsEncarta, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.style));
        btn->SetStyle(c.style);
        btn->SetColorWhenDown(clNone);
        edit->setFocus(); // keeps the focus frame out of the picture
        const QRect up = inkBounds(faceOf(btn));
        QTest::mousePress(btn, Qt::LeftButton, {}, QPoint(50, 10));
        edit->setFocus();
        ASSERT_TRUE(btn->IsDown());
        const QRect down = inkBounds(faceOf(btn));
        QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(150, 10));
        EXPECT_EQ(down.left() - up.left(), c.shift);
        EXPECT_EQ(down.top() - up.top(), c.shift);
    }
}

TEST(LbButtonFace, TransparentStylesLetTheParentShowThrough)
{
    QWidget parent;
    parent.resize(120, 40);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::red);
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    auto *b = new TLbButton(&parent);
    b->setGeometry(10, 10, 100, 23);
    b->SetColor(kFace);
    b->SetLightColor(kLight);
    struct Case
    {
        TLbButtonStyle style;
        TColor corner, centre;
    };
    const Case cases[] = {
        {TLbButtonStyle::bsNormal, kLight, kFace},
        {TLbButtonStyle::bsModern, clRed, kFace},
        {TLbButtonStyle::bsShape, clRed, clRed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        b->SetStyle(c.style);
        const QImage img = parent.grab().toImage();
        EXPECT_EQ(pixel(img, 10, 10), c.corner);
        EXPECT_EQ(pixel(img, 60, 10 + 23 / 4), c.centre);
    }
}

} // namespace
