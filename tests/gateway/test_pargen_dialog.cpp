// The general parameter dialog: panels and layout, load/check/save through the controls, the
// '.' key of the octet edits, the Cancel question, the wheel and the texts.
#include "gateway/UParGen.h"
#include "gateway/table/UTableFiles.h"
#include "support/GatewayTestUtil.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "platform/ui/CategoryPanel.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"
#include "resources/ConfigurationFolderText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

using gwtest::ParGenFixture;
using gwtest::ReadFile;

namespace {

class ParGenDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        SW_Code = QStringLiteral("QS40300");
        ASSERT_TRUE(m_dir.isValid());
        File_ParGen = m_dir.filePath(QStringLiteral("ParGen.xml"));
        dlg = std::make_unique<TFParGen>();
    }

    void TearDown() override
    {
        dlg.reset();
        File_ParGen.clear();
        Load_English_Texts();
    }

    void useFixture(const char *name)
    {
        QFile::remove(File_ParGen);
        ASSERT_TRUE(QFile::copy(ParGenFixture(name), File_ParGen));
        QFile(File_ParGen).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }

    template <typename T> T *find(const char *name) const
    {
        T *w = dlg->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QList<int> heights() const
    {
        QList<int> result;
        for (TCategoryPanel *panel : dlg->CPG->VisiblePanels())
            result.append(panel->Height());
        return result;
    }

    QList<int> tops() const
    {
        QList<int> result;
        for (TCategoryPanel *panel : dlg->CPG->VisiblePanels())
            result.append(panel->Top());
        return result;
    }

    QTemporaryDir m_dir;
    plat::MessageBoxRecorder boxes;
    std::unique_ptr<TFParGen> dlg;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Panels and layout

TEST_F(ParGenDialog, CreationShowsThisGatewaysFivePanelsInOrder)
{
    const QList<TCategoryPanel *> shown = dlg->CPG->VisiblePanels();
    ASSERT_EQ(shown.size(), 5);
    const QStringList captions = {"1. Ethernet Connection", "2. IEC61850 Server",
                                  "3. TLS (Transport Layer Security) Server", "4. Modbus Master",
                                  "5. NTP (Network Time Protocol)"};
    const QStringList names = {"CP_Ethernet_Connection", "CP_IEC61850_Server", "CP_TLS_Server",
                               "CP_Modbus_Master", "CP_NTP"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(shown[i]->objectName(), names[i]);
        EXPECT_EQ(shown[i]->Caption(), captions[i]);
    }
    EXPECT_EQ(heights(), (QList<int>{206, 206, 65, 206, 94}));
    EXPECT_EQ(tops(), (QList<int>{0, 206, 412, 477, 683}));
    EXPECT_EQ(dlg->AllPanels().size(), 27);
    EXPECT_EQ(dlg->L_SW_Code->text(), "QS40300");
    EXPECT_EQ(dlg->windowTitle(), "Set Communication");
}

TEST_F(ParGenDialog, EnablingTlsGrowsItsPanelAndMovesTheOnesBelow)
{
    const QList<int> before = tops();
    dlg->CB_TLS_Server_Enable->setChecked(true);
    EXPECT_EQ(heights(), (QList<int>{206, 206, 205, 206, 94}));
    const QList<int> after = tops();
    EXPECT_EQ(after[3] - before[3], 140);
    EXPECT_EQ(after[4] - before[4], 140);
    EXPECT_FALSE(dlg->E_TLS_Server_Root_Cert->isHidden());
    EXPECT_FALSE(dlg->CB_TLS_Server_En_Known_Cert->isHidden());

    dlg->E_TLS_Server_Key->setPlainText(QStringLiteral("k"));
    dlg->CB_TLS_Server_Enable->setChecked(false);
    EXPECT_EQ(tops(), before);
    EXPECT_TRUE(dlg->E_TLS_Server_Key->isHidden());
    EXPECT_TRUE(dlg->L_TLS_Server_Key->isHidden());
    // Hidden values stay and are saved.
    EXPECT_EQ(dlg->Values()[pargen::TLS_Server_Key], "k");
}

TEST_F(ParGenDialog, CollapsingAPanelByItsHeaderRestacksTheOthers)
{
    TCategoryPanel *iec = dlg->CP_IEC61850_Server;
    QTest::mouseClick(iec, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(iec->Collapsed());
    EXPECT_EQ(tops(), (QList<int>{0, 206, 230, 295, 501}));
    EXPECT_EQ(iec->FullHeight(), 206);

    // A click below the header does nothing.
    QTest::mouseClick(dlg->CP_NTP, Qt::LeftButton, {}, QPoint(5, 60));
    EXPECT_FALSE(dlg->CP_NTP->Collapsed());

    QTest::mouseClick(iec, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(iec->Collapsed());
    EXPECT_EQ(tops(), (QList<int>{0, 206, 412, 477, 683}));
}

TEST_F(ParGenDialog, DhcpOnTheCableDisablesAllTwelveAddressOctets)
{
    const QList<QLineEdit *> octets = {
        dlg->E_IEC61850_Server_IP1,  dlg->E_IEC61850_Server_IP2,  dlg->E_IEC61850_Server_IP3,
        dlg->E_IEC61850_Server_IP4,  dlg->E_IEC61850_Server_SM1,  dlg->E_IEC61850_Server_SM2,
        dlg->E_IEC61850_Server_SM3,  dlg->E_IEC61850_Server_SM4,  dlg->E_IEC61850_Server_GAT1,
        dlg->E_IEC61850_Server_GAT2, dlg->E_IEC61850_Server_GAT3, dlg->E_IEC61850_Server_GAT4};
    dlg->CB_IEC61850_Server_En_GAT->setChecked(false);
    dlg->CB_EthConn_En_DHCP_Cable->setChecked(true);
    for (QLineEdit *e : octets)
        EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    EXPECT_TRUE(dlg->CB_IEC61850_Server_En_GAT->isEnabled());
    dlg->CB_EthConn_En_DHCP_Cable->setChecked(false);
    for (QLineEdit *e : octets)
        EXPECT_TRUE(e->isEnabled()) << e->objectName().toStdString();
}

TEST_F(ParGenDialog, WiFiDhcpBoxIsDisabledAndClearedByEveryShow)
{
    dlg->CB_EthConn_En_DHCP_WiFi->setEnabled(true);
    dlg->CB_EthConn_En_DHCP_WiFi->setChecked(true);
    useFixture("ParGen_full.xml");
    dlg->FormShow();
    EXPECT_FALSE(dlg->CB_EthConn_En_DHCP_WiFi->isChecked());
    EXPECT_FALSE(dlg->CB_EthConn_En_DHCP_WiFi->isEnabled());
}

TEST_F(ParGenDialog, WidthSnapsBackTheHeightFollows)
{
    dlg->resize(640, 820);
    EXPECT_EQ(dlg->width(), 460);
    EXPECT_EQ(dlg->height(), 820);
}

TEST_F(ParGenDialog, WheelOverTheGroupScrollsItNotTheControlUnderThePointer)
{
    dlg->resize(460, 380);
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    QScrollBar *bar = dlg->CPG->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    auto wheel = [](QWidget *target, int delta) {
        const QPoint local = target->rect().center();
        QWheelEvent ev(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &ev);
    };
    const int step = QApplication::wheelScrollLines() * bar->singleStep();

    wheel(dlg->CPG->viewport(), -120);
    EXPECT_EQ(bar->value(), step);
    wheel(dlg->CPG->viewport(), 120);
    EXPECT_EQ(bar->value(), 0);

    // Over a list inside the group: the group scrolls, the list keeps its choice.
    dlg->CPG->ensureWidgetVisible(dlg->CB_ModbusMaster_Parity);
    const int start = bar->value();
    wheel(dlg->CB_ModbusMaster_Parity, -120);
    EXPECT_EQ(dlg->CB_ModbusMaster_Parity->currentIndex(), 0);
    EXPECT_EQ(bar->value(), std::min(bar->maximum(), start + step));

    // Over the title nothing special happens.
    bar->setValue(0);
    wheel(dlg->P_Title, -120);
    EXPECT_EQ(bar->value(), 0);

    // The start and end of a touchpad gesture carry no turn of the wheel and scroll nothing.
    for (Qt::ScrollPhase phase : {Qt::ScrollBegin, Qt::ScrollEnd}) {
        QWidget *target = dlg->CPG->viewport();
        const QPoint local = target->rect().center();
        QWheelEvent ev(local, target->mapToGlobal(local), QPoint(), QPoint(), Qt::NoButton,
                       Qt::NoModifier, phase, false);
        QApplication::sendEvent(target, &ev);
        EXPECT_EQ(bar->value(), 0) << phase;
    }
}

// ---------------------------------------------------------------------------------------------
// Load, check and save through the controls

TEST_F(ParGenDialog, NewConfigurationOkWithoutPollTimeShowsTheNtpErrorAndWritesNothing)
{
    dlg->FormShow();
    dlg->Btn_OK->Click();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, "Error NTP!! Poll Time must be between 0 and 10000000 seconds");
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::OK);
    EXPECT_FALSE(QFile::exists(File_ParGen));
    EXPECT_EQ(dlg->ModalResult(), mrNone);
}

TEST_F(ParGenDialog, OkWithAPollTimeWritesTheOtherDefaults)
{
    dlg->FormShow();
    QTest::keyClicks(dlg->E_NTP_Poll_Time, QStringLiteral("60"));
    dlg->Btn_OK->Click();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    EXPECT_EQ(ReadFile(File_ParGen), ReadFile(ParGenFixture("ParGen_new_poll60.xml")));
}

// The configuration's folder deleted while the dialog was open: OK names it and recreates
// nothing; the user's values stay in the dialog.
TEST_F(ParGenDialog, OkIntoAVanishedConfigurationFolderNamesItAndWritesNothing)
{
    const QString folder = m_dir.filePath(QStringLiteral("Plant1"));
    ASSERT_TRUE(QDir().mkpath(folder));
    File_ParGen = folder + QStringLiteral("/ParGen.xml");
    dlg->FormShow();
    QTest::keyClicks(dlg->E_NTP_Poll_Time, QStringLiteral("60"));
    ASSERT_TRUE(QDir(folder).removeRecursively());

    dlg->Btn_OK->Click();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, res::Configuration_Folder_Missing_Text(folder));
    EXPECT_TRUE(boxes.Last().text.contains(QDir::toNativeSeparators(folder)));
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(dlg->E_NTP_Poll_Time->text(), QStringLiteral("60"));
}

TEST_F(ParGenDialog, OkAsAModalFormClosesWithOk)
{
    plat::WhenModalShown([](TModalForm *form) {
        auto *self = static_cast<TFParGen *>(form);
        self->E_NTP_Poll_Time->setText(QStringLiteral("5"));
        self->Btn_OKClick();
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_TRUE(QFile::exists(File_ParGen));
    plat::ClearModalShownActions();
}

TEST_F(ParGenDialog, IpOctetOf300IsRefused)
{
    dlg->FormShow();
    dlg->E_NTP_Poll_Time->setText(QStringLiteral("0"));
    dlg->E_IEC61850_Server_IP1->setText(QStringLiteral("300"));
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, "Error IEC61850 Server!! IP Address 1 must be between 0 and 255");
    EXPECT_FALSE(QFile::exists(File_ParGen));
}

// Every rule shows its own text; the octet rules name their octet.
TEST_F(ParGenDialog, EveryRuleShowsItsText)
{
    struct TRule
    {
        QString control;
        QString value;
        QString enable; // check box to tick first, if any
        QString text;
    };
    QList<TRule> rules;
    for (int i = 1; i <= 4; ++i) {
        rules.append(
            {QStringLiteral("E_EthConn_Pri_DNS_IP%1").arg(i), "256", "CB_EthConn_Enable_DNS",
             QStringLiteral("Error Primary DNS!! DNS %1 must be between 0 and 255").arg(i)});
        rules.append(
            {QStringLiteral("E_EthConn_Sec_DNS_IP%1").arg(i), "", "CB_EthConn_Enable_DNS",
             QStringLiteral("Error Secondary DNS!! DNS %1 must be between 0 and 255").arg(i)});
        rules.append(
            {QStringLiteral("E_IEC61850_Server_IP%1").arg(i), "-1", "",
             QStringLiteral("Error IEC61850 Server!! IP Address %1 must be between 0 and 255")
                 .arg(i)});
        rules.append(
            {QStringLiteral("E_IEC61850_Server_SM%1").arg(i), "x", "",
             QStringLiteral("Error IEC61850 Server!! SubNet Mask %1 must be between 0 and 255")
                 .arg(i)});
        rules.append(
            {QStringLiteral("E_IEC61850_Server_GAT%1").arg(i), "256", "CB_IEC61850_Server_En_GAT",
             QStringLiteral("Error IEC61850 Server!! GATEWAY IP %1 must be between 0 and 255")
                 .arg(i)});
    }
    rules.append(
        {"E_IEC61850_Server_Port", "10000", "",
         "Error IEC61850 Server!! Port must be between 0 and 65535, and different from 10000"});
    rules.append({"E_IEC61850_Name_of_Server", " ", "",
                  "Error IEC61850 Server!! Name of Server cannot be empty"});
    rules.append({"E_ModbusMaster_TimeOut", "100001", "",
                  "Error Modbus Master!! TimeOut must be between 0 and 100000ms"});
    rules.append({"E_ModbusMaster_CyclicDelay", "10001", "",
                  "Error Modbus Master!! Cyclic Delay must be between 0 and 10000ms"});
    rules.append({"E_NTP_Poll_Time", "", "",
                  "Error NTP!! Poll Time must be between 0 and 10000000 seconds"});

    for (const TRule &rule : rules) {
        dlg->FormShow();
        dlg->E_NTP_Poll_Time->setText(QStringLiteral("1"));
        if (!rule.enable.isEmpty())
            static_cast<QCheckBox *>(dlg->Control(rule.enable))->setChecked(true);
        static_cast<QLineEdit *>(dlg->Control(rule.control))->setText(rule.value);
        boxes.Clear();
        EXPECT_FALSE(dlg->Controllo_Dati()) << rule.control.toStdString();
        ASSERT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.Last().text, rule.text);
    }

    dlg->FormShow();
    dlg->E_NTP_Poll_Time->setText(QStringLiteral("1"));
    dlg->CB_ModbusMaster_StopBits->setCurrentIndex(1);
    dlg->CB_ModbusMaster_Parity->setCurrentIndex(2);
    boxes.Clear();
    EXPECT_FALSE(dlg->Controllo_Dati());
    EXPECT_EQ(boxes.Last().text,
              "Error Modbus Master!! Two Stop Bits can be selected only with None Parity");
}

TEST_F(ParGenDialog, LoadAndOkRewriteTheSameFile)
{
    useFixture("ParGen_full.xml");
    dlg->FormShow();
    EXPECT_EQ(dlg->E_IEC61850_Server_IP1->text(), "10");
    EXPECT_TRUE(dlg->CB_TLS_Server_Enable->isChecked());
    EXPECT_EQ(dlg->CB_ModbusMaster_Baudrate->currentText(), "9600");
    EXPECT_EQ(dlg->E_TLS_Server_Key->toPlainText().count(QLatin1Char('\n')), 3);
    // The loaded values lay the panels out: TLS rows shown, address octets off under DHCP.
    EXPECT_EQ(dlg->CP_TLS_Server->Height(), 205);
    EXPECT_FALSE(dlg->E_IEC61850_Server_GAT4->isEnabled());
    EXPECT_FALSE(dlg->Is_Change);

    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(ReadFile(File_ParGen), ReadFile(ParGenFixture("ParGen_full.xml")));
}

// Every value goes back out of its control as it came in, also the characters a text box
// likes to normalise.
TEST_F(ParGenDialog, ControlsGiveBackWhatTheyWereGiven)
{
    const QString texts[] = {QString::fromUtf8("a\u00a0b"),
                             QString::fromUtf8("x\u2028y"),
                             QStringLiteral("line 1\nline 2\n"),
                             QStringLiteral("\n\n"),
                             QString(),
                             QString::fromUtf8("p\u00e4ss \u00a0")};
    for (const QString &text : texts) {
        pargen::TParGenValues v = pargen::defaultValues();
        for (int key : {pargen::TLS_Server_Key, pargen::TLS_Server_Server_Certificate,
                        pargen::TLS_Server_Root_Certificate, pargen::TLS_Server_Key_Password,
                        pargen::NTP_Server_URL})
            v[key] = text;
        dlg->SetValues(v);
        const pargen::TParGenValues back = dlg->Values();
        for (int key = 0; key < pargen::ParGen_Key_Count; ++key)
            EXPECT_EQ(back[key].toStdString(), v[key].toStdString())
                << pargen::ParGen_Keys[key].name;
    }
}

TEST_F(ParGenDialog, UnparseableFileIsReportedOnceAndTheDefaultsAreShown)
{
    useFixture("ParGen_full.xml");
    dlg->FormShow();
    ASSERT_EQ(dlg->E_IEC61850_Server_IP1->text(), "10");

    useFixture("ParGen_broken.xml");
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_TRUE(boxes.Last().text.contains(File_ParGen));
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_EQ(dlg->Values(), pargen::defaultValues());
    EXPECT_FALSE(dlg->Is_Change);
    // The broken file stays until the user confirms new values.
    EXPECT_EQ(ReadFile(File_ParGen), ReadFile(ParGenFixture("ParGen_broken.xml")));
}

// The defaults shown over a file that did not load must not replace it unasked: OK asks, No
// keeps the file and the dialog, Yes writes the values shown.
TEST_F(ParGenDialog, OkAsksBeforeReplacingAFileThatDidNotLoad)
{
    useFixture("ParGen_broken.xml");
    const QByteArray broken = ReadFile(File_ParGen);
    bool stayed = false;
    QByteArray afterNo;
    plat::WhenModalShown([&](TModalForm *form) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        QTest::mouseClick(dlg->E_NTP_Poll_Time, Qt::LeftButton);
        QTest::keyClicks(dlg->E_NTP_Poll_Time, QStringLiteral("60"));
        boxes.QueueAnswer(mrNo);
        QTest::mouseClick(dlg->Btn_OK, Qt::LeftButton);
        stayed = dlg->isVisible() && dlg->ModalResult() == mrNone;
        afterNo = ReadFile(File_ParGen);
        boxes.QueueAnswer(mrYes);
        QTest::mouseClick(dlg->Btn_OK, Qt::LeftButton);
        if (dlg->isVisible())
            dlg->SetModalResult(mrAbort);
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(afterNo, broken);
    ASSERT_EQ(boxes.Count(), 3);
    EXPECT_EQ(boxes.Requests()[0].icon, plat::MsgIcon::Error);
    EXPECT_TRUE(boxes.Requests()[0].text.startsWith(
        Table_Message(Text_File_Not_Loaded, {QDir::toNativeSeparators(File_ParGen)})));
    for (int i : {1, 2}) {
        EXPECT_EQ(boxes.Requests()[i].buttons, plat::MsgButtons::YesNo);
        const QString path = QDir::toNativeSeparators(File_ParGen);
        EXPECT_EQ(boxes.Requests()[i].text, Table_Message(Text_Replace_Unloaded_File, {path}) +
                                                "\n\n" + Table_Message(Text_Save_Anyway));
    }
    EXPECT_EQ(pargen::loadParGen(File_ParGen)[pargen::NTP_Poll_Time], QStringLiteral("60"));

    // Loaded whole, the next OK asks nothing.
    boxes.Clear();
    plat::WhenModalShown([&](TModalForm *) { QTest::mouseClick(dlg->Btn_OK, Qt::LeftButton); });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(ParGenDialog, TypingLimitBindsTypingOnly)
{
    dlg->FormShow();
    QLineEdit *name = dlg->E_IEC61850_Name_of_Server;
    name->clear();
    QTest::keyClicks(name, QStringLiteral("abcdefghijklmnopqrst"));
    EXPECT_EQ(name->text(), "abcdefghijklmno");

    pargen::TParGenValues v = pargen::defaultValues();
    v[pargen::IEC61850_Server_Name_Of_Server] = QStringLiteral("a-name-of-twenty-chr");
    v[pargen::NTP_Poll_Time] = QStringLiteral("1");
    pargen::saveParGen(File_ParGen, v);
    dlg->FormShow();
    EXPECT_EQ(name->text(), "a-name-of-twenty-chr");
    name->setFocus();
    name->end(false);
    QTest::keyClick(name, Qt::Key_X);
    EXPECT_EQ(name->text(), "a-name-of-twenty-chr");
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text(), "a-name-of-twenty-ch");
    dlg->Btn_OKClick();
    EXPECT_EQ(pargen::loadParGen(File_ParGen)[pargen::IEC61850_Server_Name_Of_Server],
              "a-name-of-twenty-ch");
}

// ---------------------------------------------------------------------------------------------
// '.' key, Cancel question

TEST_F(ParGenDialog, DotMovesToTheNextOctetOfTheAddress)
{
    dlg->FormShow();
    dlg->show();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));

    const QList<std::pair<QLineEdit *, QLineEdit *>> cases = {
        {dlg->E_IEC61850_Server_IP1, dlg->E_IEC61850_Server_IP2},
        {dlg->E_IEC61850_Server_IP4, dlg->E_IEC61850_Server_SM1},
        {dlg->E_IEC61850_Server_SM4, dlg->E_IEC61850_Server_GAT1},
        {dlg->E_IEC61850_Server_GAT4, dlg->E_IEC61850_Server_GAT4},
        {dlg->E_EthConn_Pri_DNS_IP4, dlg->E_EthConn_Sec_DNS_IP1},
        {dlg->E_EthConn_Sec_DNS_IP4, dlg->E_EthConn_Sec_DNS_IP4},
    };
    for (const auto &[from, to] : cases) {
        from->setFocus();
        const QString before = from->text();
        QTest::keyClick(from, '.');
        EXPECT_EQ(QApplication::focusWidget(), to) << from->objectName().toStdString();
        EXPECT_EQ(from->text(), before);
    }
    // Other keys pass.
    dlg->E_IEC61850_Server_IP1->setFocus();
    dlg->E_IEC61850_Server_IP1->end(false);
    QTest::keyClick(dlg->E_IEC61850_Server_IP1, '7');
    EXPECT_EQ(dlg->E_IEC61850_Server_IP1->text(), "1927");

    // Octets of the other panels swallow the '.' and go nowhere.
    QChar key = QLatin1Char('.');
    EXPECT_FALSE(dlg->KeyPress(dlg->Control(QStringLiteral("E_Ethernet_IP1")), key));
    EXPECT_TRUE(key.isNull());
}

TEST_F(ParGenDialog, CancelAsksOnlyAfterTheUserChangedSomething)
{
    dlg->FormShow();
    dlg->Btn_CancelClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrCancel);

    // Toggling the gateway box alone is no change.
    dlg->SetModalResult(mrNone);
    dlg->CB_IEC61850_Server_En_GAT->setChecked(true);
    dlg->Btn_CancelClick();
    EXPECT_EQ(boxes.Count(), 0);

    using TChange = std::function<void(TFParGen *)>;
    const QList<std::pair<const char *, TChange>> changes = {
        {"edit", [](TFParGen *d) { QTest::keyClicks(d->E_NTP_Server_URL, QStringLiteral("x")); }},
        {"text box", [](TFParGen *d) { d->E_TLS_Server_Key->setPlainText(QStringLiteral("k")); }},
        {"list", [](TFParGen *d) { QTest::keyClick(d->CB_ModbusMaster_Parity, Qt::Key_Down); }},
        {"check box", [](TFParGen *d) { d->CB_EthConn_Enable_DNS->click(); }},
    };
    for (const auto &[what, change] : changes) {
        dlg->FormShow();
        dlg->SetModalResult(mrNone);
        change(dlg.get());
        EXPECT_TRUE(dlg->Is_Change) << what;
        boxes.Clear();
        boxes.QueueAnswer(mrNo);
        dlg->Btn_CancelClick();
        ASSERT_EQ(boxes.Count(), 1) << what;
        EXPECT_EQ(boxes.Last().text, "Do you want to exit without saving changes?");
        EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Question);
        EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
        EXPECT_EQ(dlg->ModalResult(), mrNone) << what;

        boxes.QueueAnswer(mrYes);
        dlg->Btn_CancelClick();
        EXPECT_EQ(dlg->ModalResult(), mrCancel) << what;
    }
    EXPECT_FALSE(QFile::exists(File_ParGen));
}

// Escape closes no window: the dialog stays open with the typed text and asks nothing; the close
// box still cancels without a question.
TEST_F(ParGenDialog, EscapeLeavesTheDialogOpenWithItsEdits)
{
    bool openAfterEscape = false;
    QString textAfterEscape;
    plat::WhenModalShown([&](TModalForm *form) {
        auto *self = static_cast<TFParGen *>(form);
        self->E_NTP_Server_URL->setFocus();
        QTest::keyClicks(self->E_NTP_Server_URL, QStringLiteral("pool"));
        QTest::keyClick(self->E_NTP_Server_URL, Qt::Key_Escape);
        QTest::keyClick(self, Qt::Key_Escape);
        openAfterEscape = self->isVisible() && self->ModalResult() == mrNone;
        textAfterEscape = self->E_NTP_Server_URL->text();
        form->close();
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_TRUE(textAfterEscape.endsWith(QStringLiteral("pool"))) << textAfterEscape.toStdString();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_FALSE(QFile::exists(File_ParGen));
}

// ---------------------------------------------------------------------------------------------
// Texts

TEST_F(ParGenDialog, SetLangAssignsEveryCaptionHintAndItemByNumber)
{
    for (int i = 0; i < Lang_Texts.size(); ++i)
        Lang_Texts[i] = QStringLiteral("#%1").arg(i);
    dlg->Set_Lang();

    static const QRegularExpression re(QStringLiteral("^#(\\d+)$"));
    QList<int> used;
    auto take = [&](const QString &s) {
        const auto m = re.match(s);
        if (m.hasMatch())
            used.append(m.captured(1).toInt());
    };
    take(dlg->windowTitle());
    take(dlg->Btn_OK->Caption());
    take(dlg->Btn_Cancel->Caption());
    for (QWidget *w : dlg->findChildren<QWidget *>()) {
        take(w->toolTip());
        if (auto *label = qobject_cast<QLabel *>(w))
            take(label->text());
        else if (auto *check = qobject_cast<QCheckBox *>(w))
            take(check->text());
        else if (auto *list = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < list->count(); ++i)
                take(list->itemText(i));
    }

    QSet<int> expected;
    auto range = [&](int first, int last) {
        for (int n = first; n <= last; ++n)
            expected.insert(n);
    };
    range(400, 405);
    // This gateway's panels.
    range(1933, 1950);
    range(591, 606);
    range(407, 410);
    range(1959, 1960);
    range(412, 423);
    range(425, 436);
    range(1917, 1920);
    // The family's other panels.
    range(443, 458);
    range(465, 468);
    range(488, 507);
    range(523, 530);
    range(533, 559);
    range(577, 588);
    range(620, 637);
    range(652, 691);
    range(712, 753);
    range(775, 776);
    range(778, 788);
    range(793, 796);
    range(1601, 1608);
    range(1613, 1634);
    range(1655, 1662);
    range(1666, 1669);
    range(1672, 1677);
    range(1680, 1687);
    range(1692, 1708);
    range(1722, 1759);
    range(1773, 1798);
    range(1800, 1874);
    range(1902, 1915);

    EXPECT_EQ(used.size(), 504);
    EXPECT_EQ(QSet<int>(used.begin(), used.end()), expected);

    // Spot checks of the numbering inside rows.
    EXPECT_EQ(dlg->Control(QStringLiteral("CB_Ethernet_En_GAT"))->toolTip(), "#454");
    EXPECT_EQ(dlg->Control(QStringLiteral("E_Ethernet_GAT1"))->toolTip(), "#455");
    EXPECT_EQ(dlg->Control(QStringLiteral("E_CANopen_NetOpe_Delay"))->toolTip(), "#786");
    EXPECT_EQ(dlg->Control(QStringLiteral("CB_SNMP_Agent_Version2"))->toolTip(), "#1746");
    EXPECT_EQ(
        static_cast<QCheckBox *>(dlg->Control(QStringLiteral("CB_SNMP_Agent_Version2")))->text(),
        "2");
    EXPECT_TRUE(dlg->Control(QStringLiteral("E_SNMP_Manager_NameStation"))->toolTip().isEmpty());
    EXPECT_EQ(dlg->E_IEC61850_Server_GAT4->toolTip(), "#606");
    EXPECT_EQ(dlg->CB_IEC61850_Server_En_GAT->text(), "#601");

    // Panel captions keep the language of start-up.
    EXPECT_EQ(dlg->CP_Ethernet_Connection->Caption(), "1. Ethernet Connection");
    // The Modbus lists keep their fixed items.
    EXPECT_EQ(dlg->CB_ModbusMaster_Parity->itemText(1), "ODD");
}

TEST_F(ParGenDialog, SetLangResetsTheWiFiListsToTheirFirstItem)
{
    auto *type = static_cast<QComboBox *>(dlg->Control(QStringLiteral("CB_WiFi_Type")));
    auto *secure = static_cast<QComboBox *>(dlg->Control(QStringLiteral("CB_WiFi_Secure_Type")));
    auto *channel = static_cast<QComboBox *>(dlg->Control(QStringLiteral("CB_WiFi_Channel")));
    EXPECT_EQ(type->count(), 3);
    EXPECT_EQ(secure->itemText(0), "Unsecured");
    EXPECT_EQ(channel->count(), 12);
    type->setCurrentIndex(2);
    secure->setCurrentIndex(3);
    channel->setCurrentIndex(5);
    dlg->Set_Lang();
    EXPECT_EQ(type->currentIndex(), 0);
    EXPECT_EQ(secure->currentIndex(), 0);
    EXPECT_EQ(channel->currentIndex(), 0);
    EXPECT_EQ(channel->itemText(0), "Auto Search");
}

// ---------------------------------------------------------------------------------------------
// The family's other panels

TEST_F(ParGenDialog, OtherModelsShowTheirPanelsNumberedInOrder)
{
    dlg->Order_TAB_Panels_Model(40813);
    QStringList captions;
    for (TCategoryPanel *panel : dlg->CPG->VisiblePanels())
        captions << panel->Caption();
    EXPECT_EQ(captions, (QStringList{"1. Ethernet Connection", "2. IEC61850 Server",
                                     "3. TLS (Transport Layer Security) Server", "4. MQTT",
                                     "5. Ethernet", "6. Wi-Fi", "7. TLS (Transport Layer Security)",
                                     "8. NTP (Network Time Protocol)"}));
    for (int model : TFParGen::Models()) {
        dlg->Order_TAB_Panels_Model(model);
        dlg->RePosition_Objects_Model(model);
        const QList<TCategoryPanel *> shown = dlg->CPG->VisiblePanels();
        ASSERT_GE(shown.size(), 5) << model;
        EXPECT_EQ(shown.first(), dlg->CP_Ethernet_Connection);
        EXPECT_EQ(shown.last(), dlg->CP_NTP);
        for (int i = 1; i < shown.size(); ++i)
            EXPECT_EQ(shown[i]->Top(), shown[i - 1]->Top() + shown[i - 1]->Height()) << model;
    }
}

TEST_F(ParGenDialog, BACnetMasterSwitchesBetweenIpAndMstpRows)
{
    auto *type = static_cast<QComboBox *>(dlg->Control(QStringLiteral("CB_BACnet_Master_Type")));
    TParRow *baud = dlg->Row(QStringLiteral("CB_BACnet_MSTP_Master_Baudrate"));
    TParRow *ip = dlg->Row(QStringLiteral("E_BACnet_IP_Master_IP1"));
    TCategoryPanel *panel = dlg->Panel(QStringLiteral("CP_BACnet_Master"));

    type->setCurrentIndex(1);
    dlg->RePosition_Object_BACnet_Master();
    EXPECT_EQ(baud->Top(), ip->Top());
    EXPECT_EQ(baud->Top(), 40);
    EXPECT_EQ(dlg->Row(QStringLiteral("E_BACnet_MSTP_Master_Device_Instance"))->Top(), 208);
    EXPECT_TRUE(ip->caption->isHidden());
    EXPECT_FALSE(baud->caption->isHidden());
    EXPECT_EQ(panel->FullHeight(), 205 + 21 + 24 + 12);

    type->setCurrentIndex(0);
    dlg->RePosition_Object_BACnet_Master();
    EXPECT_FALSE(ip->caption->isHidden());
    EXPECT_FALSE(dlg->Control(QStringLiteral("E_BACnet_IP_Master_IP4"))->isHidden());
    EXPECT_TRUE(baud->caption->isHidden());
    EXPECT_TRUE(baud->inputs.first()->isHidden());
}

TEST_F(ParGenDialog, WiFiAccessPointLayoutAndWiFiDirectKeepsIt)
{
    auto *type = static_cast<QComboBox *>(dlg->Control(QStringLiteral("CB_WiFi_Type")));
    auto *secure = static_cast<QComboBox *>(dlg->Control(QStringLiteral("CB_WiFi_Secure_Type")));
    auto *dhcp = static_cast<QCheckBox *>(dlg->Control(QStringLiteral("CB_WiFi_En_DHCP")));
    TCategoryPanel *panel = dlg->Panel(QStringLiteral("CP_WiFi"));

    type->setCurrentIndex(0);
    secure->setCurrentIndex(0);
    dhcp->setChecked(false);
    dlg->RePosition_Object_WiFi();
    EXPECT_EQ(dlg->Row(QStringLiteral("CB_WiFi_Max_Client"))->Top(), 12 + 252);
    EXPECT_EQ(dlg->Row(QStringLiteral("CB_WiFi_Channel"))->Top(), 12 + 280);
    EXPECT_TRUE(dlg->Control(QStringLiteral("E_WiFi_Password"))->isHidden());
    EXPECT_TRUE(dlg->Control(QStringLiteral("E_WiFi_Lease_Time"))->isHidden());
    const int height = panel->FullHeight();
    EXPECT_EQ(height, 12 + 280 - 3 + 22 + 24 + 12);

    type->setCurrentIndex(2);
    dlg->RePosition_Object_WiFi();
    EXPECT_EQ(panel->FullHeight(), height);
    EXPECT_EQ(dlg->Row(QStringLiteral("CB_WiFi_Channel"))->Top(), 12 + 280);

    // Client mode with an automatic address: the name row takes the address's place.
    type->setCurrentIndex(1);
    static_cast<QCheckBox *>(dlg->Control(QStringLiteral("CB_WiFi_IP_Auto")))->setChecked(true);
    dlg->RePosition_Object_WiFi();
    EXPECT_EQ(dlg->Row(QStringLiteral("E_WiFi_Name"))->Top(), 12 + 56);
    EXPECT_EQ(dlg->Row(QStringLiteral("E_WiFi_Password"))->Top(), 12 + 84 + 56);
    EXPECT_TRUE(dlg->Control(QStringLiteral("CB_WiFi_Channel"))->isHidden());
}

TEST_F(ParGenDialog, TlsPanelFollowsItsAuthenticationBoxes)
{
    auto box = [this](const char *name) {
        return static_cast<QCheckBox *>(dlg->Control(QString::fromLatin1(name)));
    };
    TCategoryPanel *panel = dlg->Panel(QStringLiteral("CP_TLS"));
    dlg->RePosition_Object_TLS();
    EXPECT_EQ(panel->FullHeight(), 12 + 17 + 24 + 12);
    EXPECT_TRUE(box("CB_TLS_En_Server_Auth")->isHidden());

    box("CB_TLS_Enable")->setChecked(true);
    box("CB_TLS_En_Client_Auth")->setChecked(true);
    dlg->RePosition_Object_TLS();
    EXPECT_EQ(box("CB_TLS_En_Client_Auth")->y(), 40 + 28);
    EXPECT_EQ(dlg->Row(QStringLiteral("E_TLS_Client_Cert_Key_Pass"))->Top(), 68 + 84);

    box("CB_TLS_En_Server_Auth")->setChecked(true);
    dlg->RePosition_Object_TLS();
    EXPECT_FALSE(dlg->Control(QStringLiteral("E_TLS_Server_Cert"))->isHidden());
    EXPECT_EQ(box("CB_TLS_En_Client_Auth")->y(), 65 + 28);
}

// The key and certificate boxes are one line high: every showing starts them at their first
// line, which they show whole, with no part of the second peeking in below it.
TEST_F(ParGenDialog, KeyAndCertificateBoxesShowTheirFirstLineWhole)
{
    useFixture("ParGen_full.xml");
    for (int showing = 1; showing <= 2; ++showing) {
        SCOPED_TRACE(showing);
        plat::WhenModalShown([&](TModalForm *form) {
            auto *self = static_cast<TFParGen *>(form);
            QApplication::processEvents();
            for (QPlainTextEdit *box : {self->E_TLS_Server_Key, self->E_TLS_Server_Server_Cert,
                                        self->E_TLS_Server_Root_Cert}) {
                SCOPED_TRACE(box->objectName().toStdString());
                ASSERT_TRUE(box->isVisible());
                ASSERT_GT(box->blockCount(), 1);
                EXPECT_EQ(box->verticalScrollBar()->value(), 0);
                const QRect shown = box->viewport()->rect();
                QTextCursor line(box->document());
                const QRect first = box->cursorRect(line);
                EXPECT_GE(first.height(), box->fontMetrics().height());
                EXPECT_TRUE(shown.contains(first))
                    << first.top() << ".." << first.bottom() << " in 0.." << shown.bottom();
                line.movePosition(QTextCursor::NextBlock);
                EXPECT_GT(box->cursorRect(line).top(), shown.bottom());
            }
            // The user leaves the key scrolled to its last line.
            self->E_TLS_Server_Key->setFocus();
            self->E_TLS_Server_Key->moveCursor(QTextCursor::End);
            self->SetModalResult(mrCancel);
        });
        dlg->ShowModal();
    }
    plat::ClearModalShownActions();
}
