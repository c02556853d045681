// Modal form base, the guarded error report and window message types.
#include "platform/ui/ErrorReport.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ModalForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ProbeForm : public TModalForm
{
public:
    ProbeForm()
    {
        ok = new QPushButton("OK", this);
        ok->setObjectName("B_OK");
        QObject::connect(ok, &QPushButton::clicked, [this] { SetModalResult(mrOk); });
    }

    int showCount = 0;
    bool visibleAtShow = true;
    int resultAtShow = -1;
    QPushButton *ok;

protected:
    void FormShow() override
    {
        ++showCount;
        visibleAtShow = isVisible();
        if (resultAtShow >= 0)
            SetModalResult(resultAtShow);
    }
};

class ModalFormTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_EQ(plat::PendingModalShownActions(), 0);
        plat::ClearModalShownActions();
    }
};

TEST_F(ModalFormTest, ResultOfTheWayTheFormWasClosed)
{
    struct Case
    {
        const char *name;
        void (*close)(ProbeForm *);
        int expected;
    };
    const Case cases[] = {
        {"button sets result", [](ProbeForm *f) { QTest::mouseClick(f->ok, Qt::LeftButton); },
         mrOk},
        {"result set directly", [](ProbeForm *f) { f->SetModalResult(mrYes); }, mrYes},
        {"close box", [](ProbeForm *f) { f->close(); }, mrCancel},
    };
    for (const Case &c : cases) {
        ProbeForm form;
        bool visibleInside = false;
        plat::WhenModalShown([&](TModalForm *f) {
            visibleInside = f->isVisible() && f->IsShowingModal();
            c.close(static_cast<ProbeForm *>(f));
        });
        EXPECT_EQ(form.ShowModal(), c.expected) << c.name;
        EXPECT_EQ(form.ModalResult(), c.expected) << c.name;
        EXPECT_TRUE(visibleInside) << c.name;
        EXPECT_FALSE(form.isVisible()) << c.name;
        EXPECT_EQ(form.showCount, 1) << c.name;
        EXPECT_FALSE(form.visibleAtShow) << c.name;
    }
}

// Escape would drop whatever the user entered: a form ends through its buttons only.
TEST_F(ModalFormTest, EscapeLeavesTheFormOpen)
{
    ProbeForm form;
    auto *edit = new QLineEdit(&form);
    bool openAfterEscape = false;
    plat::WhenModalShown([&](TModalForm *f) {
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("typed"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QTest::keyClick(f, Qt::Key_Escape);
        openAfterEscape = f->isVisible() && f->IsShowingModal() && f->ModalResult() == mrNone;
        QTest::mouseClick(static_cast<ProbeForm *>(f)->ok, Qt::LeftButton);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(edit->text(), QStringLiteral("typed"));
}

TEST_F(ModalFormTest, ShowHandlerRunsEachTimeAndResultStartsFresh)
{
    ProbeForm form;
    plat::WhenModalShown([](TModalForm *f) { f->SetModalResult(mrNo); });
    EXPECT_EQ(form.ShowModal(), mrNo);
    plat::WhenModalShown([](TModalForm *f) {
        EXPECT_EQ(f->ModalResult(), mrNone);
        f->close();
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(form.showCount, 2);
}

TEST_F(ModalFormTest, ResultSetWhileShowingEndsBeforeTheFormAppears)
{
    ProbeForm form;
    form.resultAtShow = mrAbort;
    EXPECT_EQ(form.ShowModal(), mrAbort);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ModalFormTest, NestedFormsTakeQueuedActionsInOrder)
{
    ProbeForm outer;
    ProbeForm inner;
    int innerResult = mrNone;
    plat::WhenModalShown([&](TModalForm *f) {
        EXPECT_EQ(f, &outer);
        plat::WhenModalShown([&](TModalForm *g) {
            EXPECT_EQ(g, &inner);
            g->SetModalResult(mrYes);
        });
        innerResult = inner.ShowModal();
        f->SetModalResult(mrRetry);
    });
    EXPECT_EQ(outer.ShowModal(), mrRetry);
    EXPECT_EQ(innerResult, mrYes);
}

TEST_F(ModalFormTest, AppearanceSetters)
{
    TModalForm form;
    EXPECT_EQ(form.font().family(), "Verdana");
    EXPECT_EQ(form.font().pixelSize(), 11);
    form.SetCaption("Options");
    form.SetClientWidth(320);
    form.SetClientHeight(200);
    form.SetColor(clWhite);
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(form.Caption(), "Options");
    EXPECT_EQ(form.minimumSize(), QSize(320, 200));
    EXPECT_EQ(form.maximumSize(), QSize(320, 200));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(form.Color(), clWhite);
}

// ---- error report -------------------------------------------------------------------------

class Thrower : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Handler failed");
        if (e->type() == QEvent::User + 1)
            throw 42;
        return QObject::event(e);
    }
};

TEST(ErrorReport, GuardedShowsOneErrorBoxAndGoesOn)
{
    plat::MessageBoxRecorder rec;
    int after = 0;
    EXPECT_FALSE(plat::Guarded([] { throw std::out_of_range("Index 5 out of range"); }));
    ++after;
    EXPECT_TRUE(plat::Guarded([&] { ++after; }));
    EXPECT_FALSE(plat::Guarded([] { throw "not a std::exception"; }));
    EXPECT_EQ(after, 2);
    ASSERT_EQ(rec.Count(), 2);
    EXPECT_EQ(rec.Requests()[0].text, "Index 5 out of range");
    EXPECT_EQ(rec.Requests()[0].icon, plat::MsgIcon::Error);
    EXPECT_EQ(rec.Requests()[0].buttons, plat::MsgButtons::OK);
    EXPECT_EQ(rec.Requests()[0].caption, "Error");
    EXPECT_FALSE(rec.Requests()[1].text.isEmpty());
}

TEST(ErrorReport, EventDeliveryThatThrowsIsReported)
{
    plat::MessageBoxRecorder rec;
    Thrower obj;
    QEvent ev(QEvent::User);
    EXPECT_FALSE(plat::GuardedDelivery([&] { return QCoreApplication::sendEvent(&obj, &ev); }));
    QEvent ev2(static_cast<QEvent::Type>(QEvent::User + 1));
    EXPECT_FALSE(plat::GuardedDelivery([&] { return QCoreApplication::sendEvent(&obj, &ev2); }));
    QEvent ok(QEvent::Timer);
    plat::GuardedDelivery([&] { return QCoreApplication::sendEvent(&obj, &ok); });
    ASSERT_EQ(rec.Count(), 2);
    EXPECT_EQ(rec.Requests()[0].text, "Handler failed");
    EXPECT_EQ(rec.Requests()[0].caption, "Error");
}

// ---- window messages ----------------------------------------------------------------------

class Receiver : public QObject
{
public:
    explicit Receiver(QEvent::Type t) : type(t) {}
    bool event(QEvent *e) override
    {
        if (e->type() == type) {
            auto *m = static_cast<plat::TMessageEvent *>(e);
            received.push_back({m->WParam, m->LParam});
            m->Result = m->WParam + m->LParam;
            return true;
        }
        return QObject::event(e);
    }
    QEvent::Type type;
    std::vector<std::pair<std::intptr_t, std::intptr_t>> received;
};

TEST(WindowMessages, RegisteredNamesGiveOneStableTypeEach)
{
    const QEvent::Type a = plat::RegisterWindowMessage("GridEditDone");
    const QEvent::Type b = plat::RegisterWindowMessage("DTPShiftFocus");
    EXPECT_NE(a, b);
    EXPECT_EQ(plat::RegisterWindowMessage("GridEditDone"), a);
    EXPECT_EQ(plat::RegisterWindowMessage("grideditdone"), a);
    EXPECT_GE(int(a), int(QEvent::User));
    EXPECT_EQ(plat::WindowMessageType(2993), plat::WindowMessageType(2993));
    EXPECT_NE(plat::WindowMessageType(2993), plat::WindowMessageType(2994));
    EXPECT_NE(plat::WindowMessageType(2993), a);
}

TEST(WindowMessages, SendAnswersAtOncePostOnTheLoop)
{
    const QEvent::Type t = plat::RegisterWindowMessage("TestMessage");
    Receiver r(t);
    EXPECT_EQ(plat::SendMessage(&r, t, 3, 4), 7);
    plat::PostMessage(&r, t, 5, 6);
    EXPECT_EQ(r.received.size(), 1u);
    QCoreApplication::sendPostedEvents(&r, t);
    ASSERT_EQ(r.received.size(), 2u);
    EXPECT_EQ(r.received[1], std::make_pair(std::intptr_t(5), std::intptr_t(6)));
}

} // namespace
