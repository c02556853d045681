// Message boxes: the test hook, the recorder, and the real box's button-to-result mapping.
#include "platform/ui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using plat::MsgButtons;
using plat::MsgIcon;

TEST(MessageBoxHook, HandlerReceivesTheRequestAndAnswers)
{
    plat::MessageBoxRequest seen;
    auto previous = plat::SetMessageBoxHandler([&](const plat::MessageBoxRequest &r) {
        seen = r;
        return mrNo;
    });
    EXPECT_EQ(plat::MessageBox("Overwrite?", MsgIcon::Question, MsgButtons::YesNo), mrNo);
    EXPECT_EQ(seen.text, "Overwrite?");
    EXPECT_EQ(seen.icon, MsgIcon::Question);
    EXPECT_EQ(seen.buttons, MsgButtons::YesNo);
    EXPECT_EQ(seen.caption, "Confirm");
    plat::SetMessageBoxHandler(previous);
}

TEST(MessageBoxHook, StandardCaptionsFollowTheIcon)
{
    plat::SetApplicationTitle("Test Title");
    struct Case
    {
        MsgIcon icon;
        QString given;
        QString shown;
    };
    const Case cases[] = {{MsgIcon::Error, "", "Error"},
                          {MsgIcon::Warning, "", "Warning"},
                          {MsgIcon::Information, "", "Information"},
                          {MsgIcon::Question, "", "Confirm"},
                          {MsgIcon::None, "", "Test Title"},
                          {MsgIcon::Error, "Own caption", "Own caption"}};
    plat::MessageBoxRecorder rec;
    for (const Case &c : cases) {
        plat::MessageBox("x", c.icon, MsgButtons::OK, c.given);
        EXPECT_EQ(rec.Last().caption, c.shown);
    }
}

TEST(MessageBoxRecorder, AnswersFromTheQueueThenTheFirstButton)
{
    struct Case
    {
        MsgButtons buttons;
        int enter; // what pressing Enter (the first button) gives
    };
    const Case cases[] = {{MsgButtons::OK, mrOk},
                          {MsgButtons::OKCancel, mrOk},
                          {MsgButtons::YesNo, mrYes},
                          {MsgButtons::YesNoCancel, mrYes},
                          {MsgButtons::AbortRetryIgnore, mrAbort},
                          {MsgButtons::RetryCancel, mrRetry}};
    plat::MessageBoxRecorder rec;
    for (const Case &c : cases)
        EXPECT_EQ(plat::MessageBox("q", MsgIcon::Question, c.buttons), c.enter);

    rec.QueueAnswer(mrNo);
    rec.QueueAnswer(mrCancel);
    EXPECT_EQ(plat::MessageBox("1", MsgIcon::Question, MsgButtons::YesNoCancel), mrNo);
    EXPECT_EQ(plat::MessageBox("2", MsgIcon::Question, MsgButtons::YesNoCancel), mrCancel);
    EXPECT_EQ(plat::MessageBox("3", MsgIcon::Question, MsgButtons::YesNoCancel), mrYes);
    rec.SetDefaultAnswer(mrNo);
    EXPECT_EQ(plat::MessageBox("4", MsgIcon::Question, MsgButtons::YesNo), mrNo);

    ASSERT_EQ(rec.Count(), int(std::size(cases)) + 4);
    EXPECT_EQ(rec.Requests()[int(std::size(cases))].text, "1");
    EXPECT_EQ(rec.Last().text, "4");
}

TEST(MessageBoxRecorder, NestedRecordersRestoreTheOuterOne)
{
    plat::MessageBoxRecorder outer;
    {
        plat::MessageBoxRecorder inner;
        plat::MessageBox("inner", MsgIcon::Error);
        EXPECT_EQ(inner.Count(), 1);
    }
    plat::MessageBox("outer", MsgIcon::Error);
    ASSERT_EQ(outer.Count(), 1);
    EXPECT_EQ(outer.Last().text, "outer");
}

// The real box, worked by a timer: press a button by its text, or close it (empty text).
struct RealBoxCase
{
    const char *name;
    MsgButtons buttons;
    const char *press;
    int expected;
};

class RealMessageBox : public ::testing::TestWithParam<RealBoxCase>
{
};

TEST_P(RealMessageBox, PressedButtonGivesItsModalResult)
{
    const RealBoxCase c = GetParam();
    QString title;
    QStringList buttonTexts;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer.stop();
        title = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            buttonTexts << b->text();
        if (QString(c.press).isEmpty()) {
            box->close();
            return;
        }
        for (QAbstractButton *b : box->buttons())
            if (b->text() == c.press)
                b->click();
    });
    timer.start();
    const int result = plat::MessageBox("Real", MsgIcon::Question, c.buttons);
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(title, "Confirm");
    EXPECT_TRUE(c.press[0] == 0 || buttonTexts.contains(c.press))
        << buttonTexts.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Buttons,
    RealMessageBox,
    ::testing::Values(RealBoxCase{"Ok", MsgButtons::OK, "OK", mrOk},
                      RealBoxCase{"OkCancel_Cancel", MsgButtons::OKCancel, "Cancel", mrCancel},
                      RealBoxCase{"YesNo_No", MsgButtons::YesNo, "&No", mrNo},
                      RealBoxCase{"YesNoCancel_Yes", MsgButtons::YesNoCancel, "&Yes", mrYes},
                      RealBoxCase{"AbortRetryIgnore_Ignore", MsgButtons::AbortRetryIgnore,
                                  "&Ignore", mrIgnore},
                      RealBoxCase{"RetryCancel_Retry", MsgButtons::RetryCancel, "&Retry", mrRetry},
                      RealBoxCase{"Closed_Ok", MsgButtons::OK, "", mrOk},
                      RealBoxCase{"Closed_OkCancel", MsgButtons::OKCancel, "", mrCancel},
                      RealBoxCase{"Closed_YesNo", MsgButtons::YesNo, "", mrNo},
                      RealBoxCase{"Closed_YesNoCancel", MsgButtons::YesNoCancel, "", mrCancel}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
