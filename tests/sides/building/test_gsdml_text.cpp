// The GSDML text as a function of the general parameter values: one whole file compared byte for
// byte, the values read from the parameter file, and the composed file name.
#include "sides/building/UProfinetFileName.h"
#include "sides/building/UProfinetXML.h"

#include "platform/xml/XmlDocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TVendorInfo testVendor()
{
    TVendorInfo v;
    v.VendorName = QStringLiteral("TestVendor");
    v.ProfinetVendorId = 0x1A;
    v.ProfinetDeviceId = 0x2B;
    return v;
}

TEST(GsdmlText, WholeFileWithTheValuesFilledIn)
{
    QFile golden(QStringLiteral(TEST_FIXTURES_DIR "/building/in20_out30_STA1.xml"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    const QByteArray expected = golden.readAll();
    TProfinetPar par;
    par.Profinet_Input_Len = 20;
    par.Profinet_Output_Len = 30;
    par.Profinet_Station_Name = QStringLiteral("STA1");
    const QByteArray actual = "\xEF\xBB\xBF" + gsdmlText(par, testVendor()).toUtf8();
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    for (int i = 0; i < std::min(want.size(), got.size()); ++i)
        ASSERT_EQ(got[i], want[i]) << "line " << i + 1;
    EXPECT_EQ(actual, expected);
}

// A station name is free text of the parameter file; the file stays well-formed whatever it
// holds, and a reader gets the name back.
TEST(GsdmlText, StationNameIsEscapedInItsAttributes)
{
    TProfinetPar par;
    par.Profinet_Station_Name = QStringLiteral("a\"<b>&c");
    const plat::XmlDocument doc = plat::XmlDocument::FromString(gsdmlText(par));
    const plat::XmlNode dap = doc.DocumentElement()
                                  .ChildElement(QStringLiteral("ProfileBody"))
                                  .ChildElement(QStringLiteral("ApplicationProcess"))
                                  .ChildElement(QStringLiteral("DeviceAccessPointList"))
                                  .ChildElement(QStringLiteral("DeviceAccessPointItem"));
    EXPECT_EQ(dap.Attribute(QStringLiteral("ImplementationType")), par.Profinet_Station_Name);
    EXPECT_EQ(dap.Attribute(QStringLiteral("DNS_CompatibleName")), par.Profinet_Station_Name);
}

TEST(GsdmlPar, EachValueReadOnItsOwnWithItsDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ParGen.xml"));
    struct TCase
    {
        const char *body; // nullptr: no file
        int input, output;
        const char *station;
    };
    const TCase cases[] = {
        {nullptr, 1438, 1438, "SERIAL"},
        {"<ParGen/>", 1438, 1438, "SERIAL"},
        {"<ParGen><PROFINET_NB_OUT>20</PROFINET_NB_OUT><PROFINET_NB_IN>30</PROFINET_NB_IN>"
         "<PROFINET_NAME_STA>gw-1</PROFINET_NAME_STA></ParGen>",
         20, 30, "gw-1"},
        {"<ParGen><PROFINET_NB_OUT>x</PROFINET_NB_OUT><PROFINET_NB_IN>-1</PROFINET_NB_IN>"
         "<PROFINET_NAME_STA>   </PROFINET_NAME_STA></ParGen>",
         1438, 1438, "SERIAL"},
        {"<ParGen><PROFINET_NB_IN>7</PROFINET_NB_IN>", 1438, 1438, "SERIAL"}, // not well-formed
    };
    for (const TCase &c : cases) {
        QFile::remove(path);
        if (c.body) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.body);
        }
        const TProfinetPar par = Read_Profinet_Par(path);
        SCOPED_TRACE(c.body ? c.body : "no file");
        EXPECT_EQ(par.Profinet_Input_Len, c.input);
        EXPECT_EQ(par.Profinet_Output_Len, c.output);
        EXPECT_EQ(par.Profinet_Station_Name, QLatin1String(c.station));
    }
}

TEST(GsdmlFileName, UserPartJoinedWithOneUnderscoreAndTheDate)
{
    const QDate date(2026, 3, 7);
    struct TCase
    {
        const char *user;
        const char *name;
    };
    const TCase cases[] = {
        {"", "GSDML-V2.31-Orvato-QX40600-20260307.xml"},
        {"  ", "GSDML-V2.31-Orvato-QX40600-20260307.xml"},
        {"abc", "GSDML-V2.31-Orvato-QX40600_abc-20260307.xml"},
        {"_abc", "GSDML-V2.31-Orvato-QX40600_abc-20260307.xml"},
        {" abc", "GSDML-V2.31-Orvato-QX40600_ abc-20260307.xml"},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(Gsdml_File_Name(QString::fromLatin1(c.user), date), QLatin1String(c.name))
            << c.user;
}

} // namespace
