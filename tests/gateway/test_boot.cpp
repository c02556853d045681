// The update dialog: reachability test, update parameter file, hand-off to the update program,
// and what it remembers between showings. Real echo traffic goes to 127.0.0.1 only.
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "gateway/UBoot.h"
#include "platform/net/IcmpClient.h"
#include "platform/os/SerialPorts.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"
#include "support/GatewayTestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using gwtest::ReadFile;
using plat::EchoResult;
using plat::MsgIcon;

enum class Step { Reply, Timeout, Fail };

// Answers from a script whose last entry repeats, and records every request.
class FakeIcmp : public plat::IIcmpClient
{
public:
    explicit FakeIcmp(std::vector<Step> script) : m_script(std::move(script)) {}

    EchoResult Echo(const QString &address, const QByteArray &data, int timeoutMs) override
    {
        const int call = int(addresses.size());
        addresses.push_back(address);
        payloads.push_back(data);
        timeouts.push_back(timeoutMs);
        if (onEcho)
            onEcho(call);
        const Step step = m_script[std::min<size_t>(size_t(call), m_script.size() - 1)];
        EchoResult r;
        switch (step) {
        case Step::Reply:
            r.status = EchoResult::Status::Reply;
            r.bytesReceived = 1024;
            break;
        case Step::Timeout:
            break;
        case Step::Fail:
            throw plat::EIcmpError("address cannot be used");
        }
        return r;
    }
    int Calls() const { return int(addresses.size()); }

    std::vector<QString> addresses;
    std::vector<QByteArray> payloads;
    std::vector<int> timeouts;
    std::function<void(int call)> onEcho;

private:
    std::vector<Step> m_script;
};

void writeScript(const QString &path, const QByteArray &body)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("#!/bin/sh\nhere=$(dirname \"$0\")\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Every element of the document in order, as "path = text", plus any node that is neither an
// element nor text; an empty element reads "path = ".
void flatten(const plat::XmlNode &node, const QString &path, QStringList &out)
{
    const std::vector<plat::XmlNode> children = node.Children();
    bool hasElements = false;
    for (const plat::XmlNode &child : children) {
        if (child.IsElement()) {
            hasElements = true;
            flatten(child, path + QLatin1Char('/') + child.Name(), out);
        } else if (child.Kind() != plat::XmlNodeKind::Text) {
            out << path + QStringLiteral(" #node ") + QString::number(int(child.Kind()));
        }
    }
    if (!hasElements && node.IsElement())
        out << path + QStringLiteral(" = ") + node.Text();
}

QStringList flattenDocument(const QString &xml)
{
    QStringList out;
    plat::XmlDocument doc = plat::XmlDocument::FromString(xml);
    for (const plat::XmlNode &top : doc.Children()) {
        if (top.IsElement())
            flatten(top, top.Name(), out);
        else
            out << QStringLiteral("#top-level node ") + QString::number(int(top.Kind()));
    }
    return out;
}

class BootTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (Lang_Texts.size() < Lang_Texts_Size)
            Load_English_Texts();
        m_saved = {Base_Path, Master_Path, Conf_Path, Last_IP_Address, SW_Code};
        m_savedOption = Update_Option;
        m_savedReadBack = Update_Read_Back;
        ASSERT_TRUE(m_dir.isValid());
        Base_Path = m_dir.path();
        Master_Path = m_dir.filePath(QStringLiteral("MASTER"));
        Conf_Path = m_dir.filePath(QStringLiteral("PROJECTS/Plant"));
        QDir().mkpath(Master_Path);
        QDir().mkpath(Conf_Path + QStringLiteral("/bin"));
        Last_IP_Address = QStringLiteral("192.168.2.205");
        Update_Option = 0;
        Update_Read_Back = true;
        SW_Code = QString::fromLatin1(Software_Code);
    }
    void TearDown() override
    {
        Base_Path = m_saved[0];
        Master_Path = m_saved[1];
        Conf_Path = m_saved[2];
        Last_IP_Address = m_saved[3];
        SW_Code = m_saved[4];
        Update_Option = m_savedOption;
        Update_Read_Back = m_savedReadBack;
        plat::ClearModalShownActions();
    }

    QString base(const QString &name) const { return m_dir.filePath(name); }

    static void setOctets(TFBoot &dlg, const QStringList &octets)
    {
        QLineEdit *edits[] = {dlg.E_IP1, dlg.E_IP2, dlg.E_IP3, dlg.E_IP4};
        for (int i = 0; i < 4; ++i)
            edits[i]->setText(octets[i]);
    }

    // The update program stand-in: keeps a copy of the parameter file it finds and counts its
    // starts.
    void installUpdateProgram()
    {
        writeScript(base(QStringLiteral("Ethernet_Update.exe")),
                    "cp \"$here/Ethernet_Update.xml\" \"$here/seen.xml\"\n"
                    "echo started >> \"$here/starts.log\"\n");
    }
    int programStarts() const
    {
        return int(ReadFile(base(QStringLiteral("starts.log"))).count('\n'));
    }

    QString expectedXml(const QString &fixture, const QString &ip, bool readBack) const
    {
        QString xml =
            QString::fromUtf8(ReadFile(QStringLiteral(TEST_FIXTURES_DIR "/boot/") + fixture));
        xml.replace(QStringLiteral("{MASTER}"), Master_Path);
        xml.replace(QStringLiteral("{CONF}"), Conf_Path);
        xml.replace(QStringLiteral("{IP}"), ip);
        xml.replace(QStringLiteral("{RB}"), readBack ? QStringLiteral("1") : QStringLiteral("0"));
        return xml;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    int32_t m_savedOption = 0;
    bool m_savedReadBack = true;
};

TEST_F(BootTest, RealClientGetsReplyFromLoopback)
{
    try {
        plat::IcmpClient probe;
        if (probe.Echo(QStringLiteral("127.0.0.1"), "probe", 400).status !=
            EchoResult::Status::Reply)
            GTEST_SKIP() << "loopback does not answer echo requests on this machine";
    } catch (const plat::EIcmpError &e) {
        GTEST_SKIP() << "no ICMP socket on this machine: " << e.what();
    }
    TFBoot dlg;
    setOctets(dlg, {"127", "0", "0", "1"});
    EXPECT_TRUE(dlg.Send_Ping());
    EXPECT_EQ(dlg.ping_res, 1);
}

TEST_F(BootTest, PingReplyRecordsWhetherDataCameBack)
{
    const struct
    {
        EchoResult::Status status;
        int bytes;
        int expected;
    } cases[] = {
        {EchoResult::Status::Reply, 1024, 1}, {EchoResult::Status::Reply, 1, 1},
        {EchoResult::Status::Reply, 0, 2},    {EchoResult::Status::Timeout, 0, 2},
        {EchoResult::Status::Error, 0, 2},
    };
    TFBoot dlg;
    for (const auto &c : cases) {
        dlg.ping_res = 0;
        dlg.PingReply(EchoResult{c.status, c.bytes});
        EXPECT_EQ(dlg.ping_res, c.expected) << int(c.status) << "/" << c.bytes;
    }
}

// The update button with a scripted device: what the user is told, and whether the file is
// written and the update program started.
TEST_F(BootTest, UpdateButtonPingsThenHandsOverOrReports)
{
    const struct
    {
        const char *name;
        std::vector<Step> script;
        int box; // text number, 0 for none
        MsgIcon icon;
        int calls; // -1: as many as fit in the time limit
    } cases[] = {
        {"answers every request", {Step::Reply}, 0, MsgIcon::None, 2},
        {"replies need not be consecutive",
         {Step::Reply, Step::Timeout, Step::Reply},
         0,
         MsgIcon::None,
         3},
        {"never answers", {Step::Timeout}, 1036, MsgIcon::Warning, -1},
        {"answers once, then stays silent",
         {Step::Reply, Step::Timeout},
         1036,
         MsgIcon::Warning,
         -1},
        {"unusable address", {Step::Fail}, 1037, MsgIcon::Error, 1},
        {"unusable after a time-out", {Step::Timeout, Step::Fail}, 1036, MsgIcon::Warning, 2},
    };
    installUpdateProgram();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(base(QStringLiteral("Ethernet_Update.xml")));
        QFile::remove(base(QStringLiteral("starts.log")));
        Last_IP_Address = QStringLiteral("10.0.0.1");

        FakeIcmp icmp(c.script);
        TFBoot dlg(nullptr, &icmp);
        setOctets(dlg, {"192", "168", "2", "205"});
        plat::MessageBoxRecorder boxes;
        dlg.Btn_Update->Click();

        if (c.calls >= 0)
            EXPECT_EQ(icmp.Calls(), c.calls);
        else
            EXPECT_GT(icmp.Calls(), 2);
        for (int i = 0; i < icmp.Calls(); ++i) {
            EXPECT_EQ(icmp.addresses[i], "192.168.2.205");
            EXPECT_EQ(icmp.payloads[i], "192.168.2.205");
            EXPECT_EQ(icmp.timeouts[i], 400);
        }
        const bool success = c.box == 0;
        if (success) {
            EXPECT_EQ(boxes.Count(), 0);
        } else {
            ASSERT_EQ(boxes.Count(), 1);
            EXPECT_EQ(boxes.Last().text, Lang_Texts[c.box]);
            EXPECT_EQ(boxes.Last().icon, c.icon);
        }
        EXPECT_EQ(QFile::exists(base(QStringLiteral("Ethernet_Update.xml"))), success);
        EXPECT_EQ(programStarts(), success ? 1 : 0);
        EXPECT_EQ(Last_IP_Address, success ? "192.168.2.205" : "10.0.0.1");
        EXPECT_FALSE(dlg.Update_Running());
    }
}

TEST_F(BootTest, ParameterFileElementByElement)
{
    const struct
    {
        int option;
        const char *fixture;
    } options[] = {
        {0, "ethernet_update_option0.xml"},
        {1, "ethernet_update_option1.xml"},
        {2, "ethernet_update_option2.xml"},
    };
    for (const auto &o : options) {
        for (bool readBack : {true, false}) {
            SCOPED_TRACE(testing::Message() << "option " << o.option << " read back " << readBack);
            FakeIcmp icmp({Step::Reply});
            TFBoot dlg(nullptr, &icmp);
            setOctets(dlg, {"192", "168", "2", "205"});
            dlg.CB_Update_Options->setCurrentIndex(o.option);
            dlg.CB_Update_Option_Read_Back->setChecked(readBack);
            dlg.Btn_UpdateClick();

            const QString written =
                QString::fromUtf8(ReadFile(base(QStringLiteral("Ethernet_Update.xml"))));
            ASSERT_FALSE(written.isEmpty());
            EXPECT_EQ(flattenDocument(written).join('\n').toStdString(),
                      flattenDocument(expectedXml(QString::fromLatin1(o.fixture),
                                                  QStringLiteral("192.168.2.205"), readBack))
                          .join('\n')
                          .toStdString());
            // Nothing but the root: no declaration, no comment.
            EXPECT_TRUE(written.startsWith(QStringLiteral("<Ethernet_Update>")));
            EXPECT_EQ(Update_Option, o.option);
            EXPECT_EQ(Update_Read_Back, readBack);
        }
    }
}

TEST_F(BootTest, OctetTextsGoOutUnchecked)
{
    FakeIcmp icmp({Step::Reply});
    TFBoot dlg(nullptr, &icmp);
    setOctets(dlg, {"300", "x", "", "7"});
    dlg.Btn_UpdateClick();
    ASSERT_EQ(icmp.Calls(), 2);
    EXPECT_EQ(icmp.addresses[0], "300.x..7");
    const QStringList lines =
        flattenDocument(QString::fromUtf8(ReadFile(base(QStringLiteral("Ethernet_Update.xml")))));
    EXPECT_TRUE(lines.contains(QStringLiteral("Ethernet_Update/IP_Address_Dev = 300.x..7")));
}

TEST_F(BootTest, OtherMemoryMapLayout)
{
    TFBoot dlg(nullptr, nullptr);
    setOctets(dlg, {"10", "1", "2", "3"});
    dlg.CB_Update_Options->setCurrentIndex(0);
    dlg.CB_Update_Option_Read_Back->setChecked(false);
    dlg.Compile_XML_Parameter();
    EXPECT_EQ(flattenDocument(QString::fromUtf8(ReadFile(TFBoot::Update_File())))
                  .join('\n')
                  .toStdString(),
              flattenDocument(expectedXml(QStringLiteral("ethernet_update_other_map_option0.xml"),
                                          QStringLiteral("10.1.2.3"), false))
                  .join('\n')
                  .toStdString());
}

TEST_F(BootTest, UpdateProgramStartsAfterTheFileIsWritten)
{
    installUpdateProgram();
    // A stale file from an earlier update must not be what the program reads.
    QFile stale(base(QStringLiteral("Ethernet_Update.xml")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("<Ethernet_Update><Version>stale</Version></Ethernet_Update>");
    stale.close();

    FakeIcmp icmp({Step::Reply});
    TFBoot dlg(nullptr, &icmp);
    setOctets(dlg, {"192", "168", "2", "205"});
    dlg.CB_Update_Options->setCurrentIndex(1);
    dlg.Btn_UpdateClick();

    EXPECT_EQ(programStarts(), 1);
    const QByteArray seen = ReadFile(base(QStringLiteral("seen.xml")));
    EXPECT_FALSE(seen.contains("stale"));
    EXPECT_EQ(seen, ReadFile(base(QStringLiteral("Ethernet_Update.xml"))));
    EXPECT_TRUE(seen.contains("<Ope_GoToApp_After>1</Ope_GoToApp_After>"));
}

TEST_F(BootTest, UnwritableParameterFileReportsAndStartsNothing)
{
    installUpdateProgram();
    // A folder in the file's place cannot be replaced by the file.
    ASSERT_TRUE(QDir().mkpath(base(QStringLiteral("Ethernet_Update.xml/keep"))));

    FakeIcmp icmp({Step::Reply});
    TFBoot dlg(nullptr, &icmp);
    plat::MessageBoxRecorder boxes;
    dlg.Btn_UpdateClick();

    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, MsgIcon::Error);
    EXPECT_TRUE(boxes.Last().text.contains(QStringLiteral("Ethernet_Update.xml")))
        << boxes.Last().text.toStdString();
    EXPECT_EQ(programStarts(), 0);
}

TEST_F(BootTest, SecondPressDuringThePingStartsNothing)
{
    installUpdateProgram();
    FakeIcmp icmp({Step::Reply});
    TFBoot dlg(nullptr, &icmp);
    bool runningDuringPing = false;
    // The press arrives through the event loop, which the ping wait keeps turning.
    icmp.onEcho = [&](int call) {
        if (call == 0) {
            runningDuringPing = dlg.Update_Running();
            QTimer::singleShot(0, &dlg, [&dlg] { dlg.Btn_Update->Click(); });
        }
    };
    plat::MessageBoxRecorder boxes;
    dlg.Btn_Update->Click();

    EXPECT_TRUE(runningDuringPing);
    EXPECT_EQ(icmp.Calls(), 2);
    EXPECT_EQ(programStarts(), 1);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_FALSE(dlg.Update_Running());

    // Once the update has run, the button works again.
    icmp.onEcho = nullptr;
    dlg.Btn_Update->Click();
    EXPECT_EQ(icmp.Calls(), 4);
    EXPECT_EQ(programStarts(), 2);
}

TEST_F(BootTest, CancelDuringThePingAbandonsTheUpdate)
{
    installUpdateProgram();
    FakeIcmp icmp({Step::Reply});
    TFBoot dlg(nullptr, &icmp);
    icmp.onEcho = [&](int call) {
        if (call == 0)
            QTimer::singleShot(0, &dlg, [&dlg] { dlg.Btn_Cancel->Click(); });
    };
    plat::MessageBoxRecorder boxes;
    plat::WhenModalShown([](TModalForm *f) { static_cast<TFBoot *>(f)->Btn_Update->Click(); });
    EXPECT_EQ(dlg.ShowModal(), mrCancel);

    EXPECT_GE(icmp.Calls(), 1);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_FALSE(QFile::exists(base(QStringLiteral("Ethernet_Update.xml"))));
    EXPECT_EQ(programStarts(), 0);
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
}

TEST_F(BootTest, ShowStacksThePanelsOfTheMode)
{
    const QString serialDir = base(QStringLiteral("dev"));
    ASSERT_TRUE(QDir().mkpath(serialDir));
    for (const char *name : {"ttyS2", "ttyUSB0"}) {
        QFile f(serialDir + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString savedSerialDir = plat::SerialDeviceFolder();
    plat::SetSerialDeviceFolder(serialDir);

    const struct
    {
        int formType;
        const char *caption;
        const char *modePanel;
        const char *hiddenPanel;
        const char *focus;
    } cases[] = {
        {1, "Update Device by Ethernet (UDP)", "P_IP_Address", "P_Serial", "E_IP1"},
        {0, "Update Device by Serial", "P_Serial", "P_IP_Address", "CB_COM_Port"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        TFBoot dlg;
        dlg.SetForm_Type(c.formType);
        plat::WhenModalShown([&](TModalForm *f) {
            auto *d = static_cast<TFBoot *>(f);
            EXPECT_EQ(d->Caption(), c.caption);
            EXPECT_EQ(d->L_SW_Code->text(), "QS40300");
            auto *title = d->findChild<QWidget *>(QStringLiteral("P_Title"));
            auto *mode = d->findChild<QWidget *>(QString::fromLatin1(c.modePanel));
            auto *options = d->findChild<QWidget *>(QStringLiteral("P_Options"));
            auto *buttons = d->findChild<QWidget *>(QStringLiteral("P_Button"));
            EXPECT_FALSE(d->findChild<QWidget *>(QString::fromLatin1(c.hiddenPanel))->isVisible());
            int top = 0;
            for (QWidget *panel : {title, mode, options, buttons}) {
                EXPECT_TRUE(panel->isVisible()) << panel->objectName().toStdString();
                EXPECT_EQ(panel->y(), top) << panel->objectName().toStdString();
                top += panel->height();
            }
            EXPECT_EQ(d->ClientHeight(), top);
            EXPECT_EQ(d->ClientWidth(), 449);
            EXPECT_EQ(d->focusWidget() ? d->focusWidget()->objectName() : QString(), c.focus);
            if (c.formType == 0) {
                EXPECT_EQ(d->CB_COM_Port->count(), 2);
                EXPECT_EQ(d->CB_COM_Port->itemText(0), "COM3");
                EXPECT_EQ(d->CB_COM_Port->itemText(1), "COM65");
                EXPECT_EQ(d->CB_COM_Port->currentIndex(), 0);
            }
            d->SetModalResult(mrCancel);
        });
        EXPECT_EQ(dlg.ShowModal(), mrCancel);
    }
    plat::SetSerialDeviceFolder(savedSerialDir);
}

TEST_F(BootTest, ShowTakesTheLastAddressOnlyWhenItIsValid)
{
    const struct
    {
        const char *last;
        QStringList octets;
    } cases[] = {
        {"10.20.30.40", {"10", "20", "30", "40"}},
        {" 10 . 1 . 2 . 3 ", {"10", "1", "2", "3"}},
        {"", {"9", "9", "9", "9"}},
        {"10.20.30.256", {"9", "9", "9", "9"}},
        {"10.20.30", {"9", "9", "9", "9"}},
        {"a.b.c.d", {"9", "9", "9", "9"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.last);
        TFBoot dlg;
        setOctets(dlg, {"9", "9", "9", "9"});
        Last_IP_Address = QString::fromLatin1(c.last);
        plat::WhenModalShown([](TModalForm *f) { f->SetModalResult(mrCancel); });
        dlg.ShowModal();
        EXPECT_EQ(QStringList(
                      {dlg.E_IP1->text(), dlg.E_IP2->text(), dlg.E_IP3->text(), dlg.E_IP4->text()}),
                  c.octets);
    }
}

TEST_F(BootTest, ReopeningShowsWhatTheLastUpdateUsed)
{
    FakeIcmp icmp({Step::Reply});
    TFBoot dlg(nullptr, &icmp);
    plat::WhenModalShown([](TModalForm *f) {
        auto *d = static_cast<TFBoot *>(f);
        setOctets(*d, {"172", "16", "0", "9"});
        d->CB_Update_Options->setCurrentIndex(2);
        d->CB_Update_Option_Read_Back->setChecked(false);
        d->Btn_Update->Click();
        d->SetModalResult(mrCancel);
    });
    dlg.ShowModal();
    EXPECT_EQ(Last_IP_Address, "172.16.0.9");

    // Another dialog (as after a restart of the window) starts from the shared state.
    TFBoot again(nullptr, &icmp);
    QStringList octets;
    int option = -1;
    bool readBack = true;
    plat::WhenModalShown([&](TModalForm *f) {
        auto *d = static_cast<TFBoot *>(f);
        octets = {d->E_IP1->text(), d->E_IP2->text(), d->E_IP3->text(), d->E_IP4->text()};
        option = d->CB_Update_Options->currentIndex();
        readBack = d->CB_Update_Option_Read_Back->isChecked();
        f->SetModalResult(mrCancel);
    });
    again.ShowModal();
    EXPECT_EQ(octets, QStringList({"172", "16", "0", "9"}));
    EXPECT_EQ(option, 2);
    EXPECT_FALSE(readBack);
}

TEST_F(BootTest, DotMovesToTheNextOctetAndIsSwallowed)
{
    TFBoot dlg;
    plat::WhenModalShown([](TModalForm *f) {
        auto *d = static_cast<TFBoot *>(f);
        QLineEdit *edits[] = {d->E_IP1, d->E_IP2, d->E_IP3, d->E_IP4};
        for (QLineEdit *e : edits)
            e->clear();
        for (int i = 0; i < 4; ++i) {
            edits[i]->setFocus();
            QTest::keyClicks(edits[i], QStringLiteral("12."));
            EXPECT_EQ(edits[i]->text(), "12") << i;
            QWidget *expected = i < 3 ? edits[i + 1] : edits[3];
            EXPECT_EQ(d->focusWidget(), expected) << i;
        }
        // A disabled next octet cannot take the focus.
        d->E_IP3->setEnabled(false);
        d->E_IP2->setFocus();
        QTest::keyClick(d->E_IP2, '.');
        EXPECT_EQ(d->focusWidget(), d->E_IP2);
        EXPECT_EQ(d->E_IP2->text(), "12");
        f->SetModalResult(mrCancel);
    });
    dlg.ShowModal();
}

TEST_F(BootTest, SetLangRefillsTheOptionList)
{
    TFBoot dlg;
    dlg.CB_Update_Options->setCurrentIndex(2);
    dlg.Set_Lang();
    ASSERT_EQ(dlg.CB_Update_Options->count(), 3);
    EXPECT_EQ(dlg.CB_Update_Options->itemText(0), "Firmware + Configuration");
    EXPECT_EQ(dlg.CB_Update_Options->itemText(1), "Firmware");
    EXPECT_EQ(dlg.CB_Update_Options->itemText(2), "Configuration");
    EXPECT_EQ(dlg.CB_Update_Options->currentIndex(), 0);
    EXPECT_EQ(dlg.Btn_Update->Caption(), "Execute Update Firmware");
    EXPECT_EQ(dlg.E_IP4->toolTip(), "Insert fourth byte of IP Address");
    EXPECT_EQ(dlg.CB_Update_Option_Read_Back->text(), "Read Back");
}

TEST_F(BootTest, SerialOptionWords)
{
    const struct
    {
        int option;
        bool readBack;
        const char *words;
    } cases[] = {
        {0, true, "FW FR PW PR "},
        {0, false, "FW NO PW NO "},
        {1, true, "FW FR NO NO "},
        {1, false, "FW NO NO NO "},
        {2, true, "NO NO PW PR "},
        {2, false, "NO NO PW NO "},
        {-1, true, ""},
    };
    TFBoot dlg;
    for (const auto &c : cases) {
        dlg.CB_Update_Options->setCurrentIndex(c.option);
        dlg.CB_Update_Option_Read_Back->setChecked(c.readBack);
        QString words = QStringLiteral("x ");
        dlg.Update_Options(words);
        EXPECT_EQ(words, QStringLiteral("x ") + QString::fromLatin1(c.words))
            << c.option << " " << c.readBack;
    }
}

TEST_F(BootTest, SerialModeStartsTheSerialProgramWithItsCommandLine)
{
    writeScript(base(QStringLiteral("Ser_40780_Update.exe")),
                "printf '%s\\n' \"$@\" > \"$here/args.txt\"\n");
    TFBoot dlg;
    dlg.SetForm_Type(0);
    dlg.CB_COM_Port->addItem(QStringLiteral("COM7"));
    dlg.CB_Update_Options->setCurrentIndex(2);
    dlg.CB_Update_Option_Read_Back->setChecked(true);
    dlg.Btn_UpdateClick();

    const QStringList expected = {QStringLiteral("\\\\.\\COM7"),
                                  "NO",
                                  "NO",
                                  "PW",
                                  "PR",
                                  Master_Path + QStringLiteral("/sim40780.sim"),
                                  Conf_Path + QStringLiteral("/bin/")};
    EXPECT_EQ(QString::fromUtf8(ReadFile(base(QStringLiteral("args.txt")))).toStdString(),
              (expected.join('\n') + '\n').toStdString());
    EXPECT_EQ(Update_Option, 2);
    EXPECT_TRUE(Update_Read_Back);
}

} // namespace
