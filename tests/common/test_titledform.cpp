// The titled form's OK/Cancel panel that the dialogs share.
#include "common/UTitledForm.h"
#include "common/button/LbButton.h"
#include "platform/ui/ModalForm.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ButtonPanel, SpansTheBottomWithBothButtonsInTheMiddle)
{
    struct Case
    {
        int width, height;
        int okLeft; // the pair of 110 + 6 + 110 pixels centred, odd pixel to the right
    };
    const Case cases[] = {{331, 162, 52}, {377, 351, 75}, {509, 373, 141}, {226, 80, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.width);
        TModalForm form;
        const TButtonPanel panel = Build_Button_Panel(&form, c.width, c.height);
        ASSERT_TRUE(panel.P_Button && panel.Btn_OK && panel.Btn_Cancel);
        EXPECT_EQ(panel.P_Button->parentWidget(), &form);
        EXPECT_EQ(panel.P_Button->geometry(),
                  QRect(0, c.height - Button_Panel_Height, c.width, Button_Panel_Height));
        EXPECT_EQ(panel.Btn_OK->parentWidget(), panel.P_Button);
        EXPECT_EQ(panel.Btn_OK->geometry(), QRect(c.okLeft, 6, 110, 28));
        EXPECT_EQ(panel.Btn_Cancel->geometry(), QRect(c.okLeft + 116, 6, 110, 28));
        EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("P_Button")), panel.P_Button);
        EXPECT_EQ(form.findChild<TLbButton *>(QStringLiteral("Btn_OK")), panel.Btn_OK);
        EXPECT_EQ(form.findChild<TLbButton *>(QStringLiteral("Btn_Cancel")), panel.Btn_Cancel);
    }
}

TEST(ButtonPanel, ButtonsTakeTheCommonLookAndTheirPictures)
{
    TModalForm form;
    const TButtonPanel panel = Build_Button_Panel(&form, 300, 120);
    const std::pair<TLbButton *, const char *> buttons[] = {{panel.Btn_OK, "LBOK"},
                                                            {panel.Btn_Cancel, "LBCANCEL"}};
    for (const auto &[button, glyph] : buttons) {
        SCOPED_TRACE(glyph);
        EXPECT_EQ(button->Glyph(), LbResourceBitmap(QString::fromLatin1(glyph)));
        EXPECT_EQ(button->NumGlyphs(), 2);
        EXPECT_EQ(button->Style(), TLbButtonStyle::bsEncarta);
        EXPECT_EQ(button->Color(), Form_Color);
        EXPECT_EQ(button->LightColor(), clGray);
        EXPECT_EQ(button->HotTrackColor(), clYellow);
    }
}

TEST(ButtonPanel, CancelClosesAndOkIsLeftToTheDialog)
{
    struct Case
    {
        const char *name;
        bool clickOk;
        int expected;
    };
    // -1: still open after the click, closed by the test.
    const Case cases[] = {{"Cancel", false, mrCancel}, {"OK", true, -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TModalForm form;
        form.resize(300, 120);
        const TButtonPanel panel = Build_Button_Panel(&form, 300, 120);
        plat::WhenModalShown([&](TModalForm *f) {
            QTest::mouseClick(c.clickOk ? panel.Btn_OK : panel.Btn_Cancel, Qt::LeftButton);
            if (f->isVisible())
                f->SetModalResult(-1);
        });
        EXPECT_EQ(form.ShowModal(), c.expected);
        plat::ClearModalShownActions();
    }
}

} // namespace
