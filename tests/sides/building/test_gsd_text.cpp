// The GSD text as a function of the data lengths: one whole file compared byte for byte, the
// module and slot lines over the lengths that change their count, and the lengths read from the
// general parameter file.
#include "sides/building/UProfibus_GSD.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TVendorInfo testVendor()
{
    TVendorInfo v;
    v.Company = QStringLiteral("Test Co");
    v.Street = QStringLiteral("Via Prova 1");
    v.Town = QStringLiteral("12345 Town");
    v.Province = QStringLiteral("Prov (Land)");
    v.Phone = QStringLiteral("0-1");
    v.Fax = QStringLiteral("0-2");
    v.Email = QStringLiteral("a@example.invalid");
    v.VendorName = QStringLiteral("TestVendor");
    v.ProfibusIdent = 0x1A;
    return v;
}

QStringList lines(const QString &text)
{
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList out = text.split(QStringLiteral("\r\n"));
    out.removeLast();
    return out;
}

QStringList startingWith(const QStringList &all, const char *prefix)
{
    QStringList out;
    for (const QString &l : all)
        if (l.startsWith(QLatin1String(prefix)))
            out << l;
    return out;
}

TEST(GsdText, WholeFileForOneOutputModule)
{
    QFile golden(QStringLiteral(TEST_FIXTURES_DIR "/building/in0_out10.gsd"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    const QByteArray expected = golden.readAll();
    const QByteArray actual = gsdText({0, 10}, testVendor()).toLatin1();
    // Line by line first, so a difference names its line.
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    for (int i = 0; i < std::min(want.size(), got.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "line " << i + 1;
    EXPECT_EQ(actual, expected);
}

TEST(GsdText, ModulesPerStarted64BytesInSlotsOfTheirOwn)
{
    struct TCase
    {
        int a, b;
        int modules;
        // Some of the module lines, with their position among them (0-based).
        std::vector<std::pair<int, const char *>> some;
    };
    const TCase cases[] = {
        {0, 0, 0, {}},
        {64, 0, 1, {{0, "Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01"}}},
        {65, 0, 2, {{1, "Module=\"DI  (PORT2)    \" 0x42,0x00,0x00,0x02"}}},
        {0, 10, 1, {{0, "Module=\"DO  (PORT1)    \" 0x82,0x09,0x00,0x01"}}},
        {1438,
         1438,
         46,
         {{21, "Module=\"DI  (PORT22)    \" 0x42,0x3F,0x00,0x16"},
          {22, "Module=\"DI  (PORT23)    \" 0x42,0x1D,0x00,0x17"},
          {23, "Module=\"DO  (PORT24)    \" 0x82,0x3F,0x00,0x18"},
          {45, "Module=\"DO  (PORT46)    \" 0x82,0x1D,0x00,0x2E"}}},
        // Past 255 the number takes three digits.
        {65535, 0, 1024, {{255, "Module=\"DI  (PORT256)    \" 0x42,0x3F,0x00,0x100"}}},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << "/" << c.b);
        const QStringList all = lines(gsdText({c.a, c.b}, testVendor()));
        EXPECT_TRUE(all.contains(QStringLiteral("Max_Module=%1").arg(c.modules)));
        EXPECT_TRUE(all.contains(QStringLiteral("Max_Input_Len=%1").arg(c.a)));
        EXPECT_TRUE(all.contains(QStringLiteral("Max_Output_Len=%1").arg(c.b)));
        EXPECT_TRUE(all.contains(QStringLiteral("Max_Data_Len=%1").arg(c.a + c.b)));
        const QStringList modules = startingWith(all, "Module=");
        ASSERT_EQ(modules.size(), c.modules);
        for (const auto &[index, line] : c.some)
            EXPECT_EQ(modules[index], QLatin1String(line));
        // Each module: its line, its number alone, its end.
        for (int k = 1; k <= c.modules; ++k) {
            const qsizetype at = all.indexOf(modules[k - 1]);
            EXPECT_EQ(all.value(at + 1), QString::number(k));
            EXPECT_EQ(all.value(at + 2), QStringLiteral("EndModule"));
        }
        const QStringList slotLines = startingWith(all, "Slot(");
        ASSERT_EQ(slotLines.size(), c.modules);
        if (c.modules > 0) {
            EXPECT_EQ(slotLines.last(),
                      QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(c.modules));
        }
        const qsizetype def = all.indexOf(QStringLiteral("SlotDefinition"));
        EXPECT_EQ(all.value(def + c.modules + 1), QStringLiteral("EndSlotDefinition"));
    }
}

TEST(GsdText, VendorTextsLongerThanTheBoxAreCutToKeepItsFrame)
{
    TVendorInfo v = testVendor();
    v.Street = QString(100, QLatin1Char('x'));
    const QStringList all = lines(gsdText({}, v));
    EXPECT_EQ(all[5].size(), 85);
    EXPECT_TRUE(all[5].endsWith(QLatin1Char('*')));
}

TEST(GsdLengths, EachElementReadOnItsOwn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    struct TCase
    {
        const char *body;
        int input, output;
    };
    const TCase cases[] = {
        {"<PROFINET_NB_OUT>20</PROFINET_NB_OUT><PROFINET_NB_IN>30</PROFINET_NB_IN>", 20, 30},
        {"<PROFINET_NB_IN>7</PROFINET_NB_IN>", 0, 7},
        {"<PROFINET_NB_OUT>abc</PROFINET_NB_OUT><PROFINET_NB_IN> 9 </PROFINET_NB_IN>", 0, 9},
        {"<PROFINET_NB_OUT>-3</PROFINET_NB_OUT><PROFINET_NB_IN>70000</PROFINET_NB_IN>", 0, 0},
    };
    for (const TCase &c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("<ParGen>") + c.body + "</ParGen>");
        f.close();
        const TGsdLengths l = Read_GSD_Lengths(path);
        EXPECT_EQ(l.GSD_Input_Len, c.input) << c.body;
        EXPECT_EQ(l.GSD_Output_Len, c.output) << c.body;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("<ParGen><PROFINET_NB_IN>5</PROFINET_NB_IN>");
    f.close();
    const TGsdLengths broken = Read_GSD_Lengths(path);
    EXPECT_EQ(broken.GSD_Input_Len, 0);
    EXPECT_EQ(broken.GSD_Output_Len, 0);
}

} // namespace
