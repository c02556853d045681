#include "gateway/table/UTableFiles.h"

#include "platform/xml/XmlDocument.h"
#include "support/GatewayTestUtil.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace gwtest;

namespace {

// A full Modbus read row in the descriptor's column order, keyed by its slave id.
TTableRow ReadRow(const QString &slave, const QString &mnemonic = QStringLiteral("m"))
{
    return {"Y",  slave,   "Holding Register", "100", "10", "1000", "3", "0", "", "N", "N",
            "-1", mnemonic};
}

TTableRow WriteRow(const QString &slave)
{
    return {"N", slave, "Coil Status", "7", "8", "0", "Y", "N", "0", "12", "0", "N", "Y", "w"};
}

QStringList AttributeNames(const plat::XmlNode &row)
{
    QStringList names;
    for (const plat::XmlAttribute &a : row.Attributes())
        names << a.name;
    return names;
}

// The attributes of each table in the order the files carry them.
const QStringList TLS_Attributes = {"Enable", "Certificate", "Mnemonic"};
const QStringList IEC61850_Attributes = {"Enable",   "Name",       "Type",
                                         "Length",   "ReadOnly",   "Position",
                                         "StartBit", "Conversion", "MultiplicationFactor",
                                         "Swap",     "SwapWord",   "Mnemonic"};
const QStringList Read_Attributes = {"Enable",   "Slave_ID",    "Type",     "Address", "NPoint",
                                     "PollTime", "MaxError",    "Position", "Bit",     "Swap",
                                     "SwapWord", "Index_Topic", "Mnemonic"};
const QStringList Write_Attributes = {"Enable",   "Slave_ID", "Type",     "Address",  "NPoint",
                                      "PollTime", "OnChange", "OnCMD",    "MaxError", "Position",
                                      "Bit",      "Swap",     "SwapWord", "Mnemonic"};

} // namespace

TEST(TableFiles, WriteGivesRootThenCommentAndAttributesInTableOrder)
{
    TTempConf conf;
    const TTableFileDesc &desc = ModbusM_SetAccess_Table();
    TTableData data = Empty_Table_Data(desc);
    data[Modbus_Read_Group] << ReadRow(" 1 ", QStringLiteral("  padded  ")) << ReadRow("2");
    data[Modbus_Write_Group] << WriteRow("3");
    const QString path = conf.File(desc.FileName);
    Write_Table_File(desc, data, path);

    const QByteArray raw = conf.Read(desc.FileName);
    EXPECT_TRUE(raw.startsWith("<EtherNetIP_to_Modbus")) << raw.left(60).toStdString();
    EXPECT_FALSE(raw.contains("<?xml"));

    plat::XmlDocument doc;
    doc.LoadFile(path);
    const std::vector<plat::XmlNode> top = doc.Children();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].Name(), QStringLiteral("EtherNetIP_to_Modbus"));
    ASSERT_TRUE(top[1].IsComment());
    EXPECT_EQ(top[1].Text(), QStringLiteral("SW_VERSION = 1.005"));

    const std::vector<plat::XmlNode> groups = top[0].ChildElements();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].Name(), QStringLiteral("Modbus_Read"));
    EXPECT_EQ(groups[1].Name(), QStringLiteral("Modbus_Write"));
    for (int g = 0; g < 2; ++g)
        for (const plat::XmlNode &row : groups[g].ChildElements()) {
            EXPECT_EQ(row.Name(), QStringLiteral("row"));
            EXPECT_EQ(AttributeNames(row), g == 0 ? Read_Attributes : Write_Attributes);
        }
    // Cell texts go out untrimmed.
    const plat::XmlNode first = groups[0].ChildElements().at(0);
    EXPECT_EQ(first.Attribute("Slave_ID"), QStringLiteral(" 1 "));
    EXPECT_EQ(first.Attribute("Mnemonic"), QStringLiteral("  padded  "));
}

TEST(TableFiles, EachTableHasItsRootGroupsAttributesAndKeyColumn)
{
    TTempConf conf;
    struct Group
    {
        const char *name; // nullptr: rows directly under the root
        QStringList attributes;
        const char *key;
    };
    struct Case
    {
        const TTableFileDesc *desc;
        const char *file;
        const char *root;
        std::vector<Group> groups;
    };
    const Case cases[] = {
        {&TLS_Known_Cert_Table(),
         "TLS_Known_Cert.xml",
         "TLS_Server_Known_Cert",
         {{nullptr, TLS_Attributes, "Certificate"}}},
        {&IEC61850_Variables_Table(),
         "IEC61850_Variables.xml",
         "IEC61850_Variables",
         {{nullptr, IEC61850_Attributes, "Name"}}},
        {&ModbusM_SetAccess_Table(),
         "ModbusM_SetAccess.xml",
         "EtherNetIP_to_Modbus",
         {{"Modbus_Read", Read_Attributes, "Slave_ID"},
          {"Modbus_Write", Write_Attributes, "Slave_ID"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(c.desc->FileName, QLatin1String(c.file));
        // Per group: a full row, a row whose key alone is blank, then another full row.
        TTableData data = Empty_Table_Data(*c.desc);
        ASSERT_EQ(data.size(), qsizetype(c.groups.size()));
        for (size_t g = 0; g < c.groups.size(); ++g) {
            TTableRow full, blankKey;
            for (const QString &a : c.groups[g].attributes) {
                full << a + QStringLiteral("-v");
                blankKey << (a == QLatin1String(c.groups[g].key) ? QStringLiteral(" ") : a);
            }
            data[qsizetype(g)] << full << blankKey << full;
        }
        const QString path = conf.File(c.file);
        Write_Table_File(*c.desc, data, path);

        plat::XmlDocument doc;
        doc.LoadFile(path);
        const std::vector<plat::XmlNode> top = doc.Children();
        ASSERT_EQ(top.size(), 2u);
        EXPECT_EQ(top[0].Name(), QLatin1String(c.root));
        EXPECT_EQ(top[1].Text(), QStringLiteral("SW_VERSION = 1.005"));
        const std::vector<plat::XmlNode> children = top[0].ChildElements();
        for (size_t g = 0; g < c.groups.size(); ++g) {
            const Group &group = c.groups[g];
            SCOPED_TRACE(group.name ? group.name : "no group");
            std::vector<plat::XmlNode> rows = children;
            if (group.name) {
                ASSERT_EQ(children.size(), c.groups.size());
                EXPECT_EQ(children[g].Name(), QLatin1String(group.name));
                rows = children[g].ChildElements();
            }
            ASSERT_EQ(rows.size(), 1u); // the blank key ended the rows
            std::vector<plat::XmlAttribute> expected;
            for (const QString &a : group.attributes)
                expected.push_back({a, a + QStringLiteral("-v")});
            const std::vector<plat::XmlAttribute> written = rows[0].Attributes();
            ASSERT_EQ(written.size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(written[i].name, expected[i].name);
                EXPECT_EQ(written[i].value, expected[i].value);
            }
        }
    }
}

TEST(TableFiles, RoundTripKeepsEveryCellTextOfEveryTable)
{
    TTempConf conf;
    struct Case
    {
        const TTableFileDesc *desc;
        TTableData data;
    };
    std::vector<Case> cases;
    {
        TTableData d = Empty_Table_Data(TLS_Known_Cert_Table());
        d[0] << TTableRow{"N", "-----BEGIN CERTIFICATE-----\nMIIB\n-----END-----", " ü <&> "}
             << TTableRow{"Y", " cert2 ", ""};
        cases.push_back({&TLS_Known_Cert_Table(), d});
    }
    {
        TTableData d = Empty_Table_Data(IEC61850_Variables_Table());
        d[0] << TTableRow{"Y", "Temp", "Float", "4", "N", "10",
                          "",  "None", "0,5",   "Y", "N", "Température"};
        cases.push_back({&IEC61850_Variables_Table(), d});
    }
    {
        TTableData d = Empty_Table_Data(ModbusM_SetAccess_Table());
        d[Modbus_Read_Group] << ReadRow("1") << ReadRow("247", " ");
        d[Modbus_Write_Group] << WriteRow("5");
        cases.push_back({&ModbusM_SetAccess_Table(), d});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.desc->FileName.toStdString());
        const QString path = conf.File(c.desc->FileName);
        Write_Table_File(*c.desc, c.data, path);
        const TTableLoadResult loaded = Load_Table_File(*c.desc, path);
        EXPECT_TRUE(loaded.File_Found);
        EXPECT_TRUE(loaded.Ok()) << loaded.Error.toStdString();
        EXPECT_EQ(loaded.Rows, c.data);
        EXPECT_EQ(loaded.Total_Left_Out(), 0);
        EXPECT_TRUE(loaded.Message().isEmpty());

        // Saving what was loaded gives the same file.
        const QByteArray first = conf.Read(c.desc->FileName);
        Write_Table_File(*c.desc, loaded.Rows, path);
        EXPECT_EQ(conf.Read(c.desc->FileName), first);
    }
}

TEST(TableFiles, RowsEndAtTheFirstBlankKeyAndEmptyGroupsAreStillWritten)
{
    TTempConf conf;
    const TTableFileDesc &desc = ModbusM_SetAccess_Table();
    struct Case
    {
        const char *name;
        QStringList keys; // read grid's Slave ID cells
        int written;
    };
    const Case cases[] = {
        {"third key empty, later rows hold data", {"1", "2", "", "4", "5"}, 2},
        {"key of blanks only", {"1", " \t ", "3"}, 1},
        {"first key empty", {"", "2"}, 0},
        {"all keys set", {"1", "2", "3"}, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TTableData data = Empty_Table_Data(desc);
        for (const QString &k : c.keys)
            data[Modbus_Read_Group] << ReadRow(k);
        const QString path = conf.File(desc.FileName);
        Write_Table_File(desc, data, path);

        plat::XmlDocument doc;
        doc.LoadFile(path);
        const plat::XmlNode root = doc.DocumentElement();
        ASSERT_FALSE(root.ChildElement("Modbus_Read").IsNull());
        ASSERT_FALSE(root.ChildElement("Modbus_Write").IsNull());
        EXPECT_EQ(int(root.ChildElement("Modbus_Read").ChildElements().size()), c.written);
        EXPECT_TRUE(root.ChildElement("Modbus_Write").ChildElements().empty());
    }
}

TEST(TableFiles, MissingAttributesTakeTheirDefaults)
{
    TTempConf conf;
    struct Case
    {
        const TTableFileDesc *desc;
        QString xml;
        int group;
        TTableRow expected;
    };
    const Case cases[] = {
        {&TLS_Known_Cert_Table(),
         TableXml("TLS_Server_Known_Cert", {Row({{"Certificate", "C"}})}),
         0,
         {"Y", "C", ""}},
        {&IEC61850_Variables_Table(),
         TableXml("IEC61850_Variables", {Row({{"Name", "V"}})}),
         0,
         {"Y", "V", "", "", "N", "", "", "", "", "N", "N", ""}},
        // Only the attributes with defaults are left out; the rest are present.
        {&ModbusM_SetAccess_Table(),
         ModbusXml({Row({{"Slave_ID", "1"},
                         {"Type", "Coil Status"},
                         {"Address", "0"},
                         {"NPoint", "8"},
                         {"PollTime", "100"},
                         {"MaxError", "0"},
                         {"Position", "0"},
                         {"Bit", ""},
                         {"Mnemonic", ""}})},
                   {}),
         Modbus_Read_Group,
         {"Y", "1", "Coil Status", "0", "8", "100", "0", "0", "", "N", "N", "-1", ""}},
        {&ModbusM_SetAccess_Table(),
         ModbusXml({}, {Row({{"Slave_ID", "2"},
                             {"Type", "Holding Register"},
                             {"Address", "1"},
                             {"NPoint", "1"},
                             {"PollTime", "0"},
                             {"OnChange", "Y"},
                             {"MaxError", "0"},
                             {"Position", "4"},
                             {"Bit", ""},
                             {"Mnemonic", "x"}})}),
         Modbus_Write_Group,
         {"Y", "2", "Holding Register", "1", "1", "0", "Y", "N", "0", "4", "", "N", "N", "x"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.desc->FileName.toStdString());
        const QString path = conf.Write(c.desc->FileName, c.xml);
        const TTableLoadResult r = Load_Table_File(*c.desc, path);
        ASSERT_TRUE(r.Ok()) << r.Error.toStdString();
        ASSERT_EQ(r.Rows[c.group].size(), 1);
        EXPECT_EQ(r.Rows[c.group][0], c.expected);
    }
}

TEST(TableFiles, ModbusAttributeWithoutDefaultStopsTheLoadNamingAttributeAndRow)
{
    const TTableFileDesc &desc = ModbusM_SetAccess_Table();
    const TTableLoadResult r =
        Load_Table_File(desc, FixturePath(QStringLiteral("ModbusM_missing_mnemonic.xml")));
    EXPECT_TRUE(r.File_Found);
    ASSERT_FALSE(r.Ok());
    EXPECT_TRUE(r.Error.contains(QLatin1String("'Mnemonic'"))) << r.Error.toStdString();
    EXPECT_TRUE(r.Error.contains(QLatin1String("row 2"))) << r.Error.toStdString();
    EXPECT_TRUE(r.Error.contains(QLatin1String("Modbus_Read"))) << r.Error.toStdString();
    EXPECT_TRUE(r.Message().contains(r.Error));

    // Row 1 whole, row 2 up to the failing attribute, nothing after it.
    ASSERT_EQ(r.Rows[Modbus_Read_Group].size(), 2);
    EXPECT_EQ(r.Rows[Modbus_Read_Group][0].last(), QStringLiteral("first"));
    const TTableRow &partial = r.Rows[Modbus_Read_Group][1];
    EXPECT_EQ(partial[1], QStringLiteral("2"));
    EXPECT_EQ(partial[9], QStringLiteral("N")); // Swap default, read before Mnemonic
    EXPECT_EQ(partial.last(), QString());
    EXPECT_TRUE(r.Rows[Modbus_Write_Group].isEmpty());
}

TEST(TableFiles, RowsBeyondTheGridAreLeftOutAndCounted)
{
    TTempConf conf;
    struct Case
    {
        const TTableFileDesc *desc;
        int group;
        int rowsInFile;
        int capacity;
    };
    const Case cases[] = {
        {&TLS_Known_Cert_Table(), 0, 13, 10},
        {&IEC61850_Variables_Table(), 0, 51, 50},
        {&ModbusM_SetAccess_Table(), Modbus_Read_Group, 515, 512},
        {&ModbusM_SetAccess_Table(), Modbus_Write_Group, 513, 512},
        {&TLS_Known_Cert_Table(), 0, 10, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.desc->FileName.toStdString() + " " + std::to_string(c.rowsInFile));
        const TTableGroup &g = c.desc->Groups[c.group];
        TTableData data = Empty_Table_Data(*c.desc);
        for (int i = 0; i < c.rowsInFile; ++i) {
            TTableRow row;
            for (int col = 0; col < g.Columns.size(); ++col)
                row << QString::number(i + 1);
            data[c.group] << row;
        }
        const QString path = conf.File(c.desc->FileName);
        Write_Table_File(*c.desc, data, path);

        const TTableLoadResult r = Load_Table_File(*c.desc, path);
        EXPECT_TRUE(r.Ok()) << r.Error.toStdString();
        ASSERT_EQ(r.Rows[c.group].size(), c.capacity);
        EXPECT_EQ(r.Rows[c.group].last().first(), QString::number(c.capacity));
        const int leftOut = c.rowsInFile - c.capacity;
        EXPECT_EQ(r.Left_Out[c.group], leftOut);
        EXPECT_EQ(r.Total_Left_Out(), leftOut);
        if (leftOut > 0)
            EXPECT_TRUE(r.Message().contains(QString::number(leftOut)))
                << r.Message().toStdString();
        else
            EXPECT_TRUE(r.Message().isEmpty());
    }
}

TEST(TableFiles, TheDocumentElementIsTheRootAndEveryChildElementIsARow)
{
    TTempConf conf;
    // The second row element is not named "row": it is a row all the same.
    const QString rows =
        Row({{"Enable", "N"}, {"Certificate", "A"}, {"Mnemonic", "m"}}) +
        Row({{"Enable", "Y"}, {"Certificate", "B"}, {"Mnemonic", ""}}, QStringLiteral("cert"));
    const QString prefixes[] = {
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"),
        QStringLiteral("<!-- a comment -->\n"),
        QStringLiteral("<?pi data?>\n"),
    };
    for (const QString &prefix : prefixes) {
        SCOPED_TRACE(prefix.toStdString());
        const QString path = conf.Write(QStringLiteral("TLS_Known_Cert.xml"),
                                        prefix + QStringLiteral("<TLS_Server_Known_Cert>") + rows +
                                            QStringLiteral("</TLS_Server_Known_Cert>"));
        const TTableLoadResult r = Load_Table_File(TLS_Known_Cert_Table(), path);
        ASSERT_TRUE(r.Ok()) << r.Error.toStdString();
        ASSERT_EQ(r.Rows[0].size(), 2);
        EXPECT_EQ(r.Rows[0][0], (TTableRow{"N", "A", "m"}));
        EXPECT_EQ(r.Rows[0][1], (TTableRow{"Y", "B", ""}));
    }
}

TEST(TableFiles, DamagedOrMissingFilesAreReported)
{
    TTempConf conf;
    const TTableFileDesc &desc = ModbusM_SetAccess_Table();

    const TTableLoadResult none = Load_Table_File(desc, conf.File(QStringLiteral("nope.xml")));
    EXPECT_FALSE(none.File_Found);
    EXPECT_TRUE(none.Ok());
    EXPECT_EQ(none.Rows, Empty_Table_Data(desc));

    const TTableLoadResult bad =
        Load_Table_File(desc, conf.Write(desc.FileName, QStringLiteral("<EtherNetIP_to_Modbus>")));
    EXPECT_FALSE(bad.Ok());
    EXPECT_TRUE(bad.Error.contains(desc.FileName)) << bad.Error.toStdString();

    // A group that is missing: the other still loads, the missing one is named.
    const QString onlyRead =
        QStringLiteral("<EtherNetIP_to_Modbus><Modbus_Read>%1</Modbus_Read></EtherNetIP_to_Modbus>")
            .arg(Row({{"Enable", "Y"},
                      {"Slave_ID", "1"},
                      {"Type", "Coil Status"},
                      {"Address", "0"},
                      {"NPoint", "1"},
                      {"PollTime", "1"},
                      {"MaxError", "0"},
                      {"Position", "0"},
                      {"Bit", "0"},
                      {"Mnemonic", ""}}));
    const TTableLoadResult half = Load_Table_File(desc, conf.Write(desc.FileName, onlyRead));
    EXPECT_FALSE(half.Ok());
    EXPECT_TRUE(half.Error.contains(QLatin1String("Modbus_Write"))) << half.Error.toStdString();
    EXPECT_EQ(half.Rows[Modbus_Read_Group].size(), 1);
}

TEST(TableFiles, UnwritableFileRaisesAndKeepsTheOldFile)
{
    TTempConf conf;
    const TTableFileDesc &desc = TLS_Known_Cert_Table();
    // A folder in the way of the path cannot be replaced by a file.
    ASSERT_TRUE(QDir(conf.Path()).mkdir(desc.FileName));
    TTableData data = Empty_Table_Data(desc);
    data[0] << TTableRow{"Y", "C", ""};
    EXPECT_THROW(Write_Table_File(desc, data, conf.File(desc.FileName)), plat::EXmlError);
    EXPECT_TRUE(QFileInfo(conf.File(desc.FileName)).isDir());
}

// Attributes the image compiler reads but no dialog column holds, and rows whose attributes
// stand in another order: a load and a save keep them, each in its place.
TEST(TableFiles, RowsKeepTheAttributesNoColumnHoldsInTheirPlace)
{
    TTempConf conf;
    const TAttrs readRow = {{"Enable", "Y"},    {"Slave_ID", "1"}, {"Type", "Holding Register"},
                            {"Address", "100"}, {"NPoint", "2"},   {"PollTime", "1000"},
                            {"MaxError", "0"},  {"Position", "0"}, {"Bit", ""},
                            {"Swap", "N"},      {"SwapWord", "N"}, {"Index_Topic", "-1"},
                            {"Mnemonic", "m"}};
    const auto with = [](TAttrs attrs, int at, const TAttrs &more) {
        attrs.insert(attrs.begin() + at, more.begin(), more.end());
        return attrs;
    };
    const auto without = [](TAttrs attrs, const QString &name) {
        std::erase_if(attrs, [&](const auto &a) { return a.first == name; });
        return attrs;
    };
    struct Case
    {
        const char *name;
        const TTableFileDesc *desc;
        int group;
        TAttrs file;
        TAttrs written;
    };
    const TAttrs conversion = {{"Float_Conv", "Y"}, {"Operation", "X 10"}};
    const TAttrs tail = {{"Endian", "LITTLE"}, {"Signed", "Y"}};
    const TAttrs extras = with(with(with(readRow, 13, tail), 7, conversion), 0, {{"Zone", "a"}});
    const Case cases[] = {
        {"before, between and after the columns", &ModbusM_SetAccess_Table(), Modbus_Read_Group,
         extras, extras},
        {"a column with a default the row lacks comes after the column before it",
         &ModbusM_SetAccess_Table(),
         Modbus_Write_Group,
         {{"Enable", "Y"},
          {"Slave_ID", "2"},
          {"Type", "Coil Status"},
          {"Address", "0"},
          {"NPoint", "1"},
          {"PollTime", "0"},
          {"OnChange", "Y"},
          {"MaxError", "0"},
          {"Position", "4"},
          {"Bit", "0"},
          {"Signed", "Y"},
          {"Mnemonic", "w"}},
         {{"Enable", "Y"},
          {"Slave_ID", "2"},
          {"Type", "Coil Status"},
          {"Address", "0"},
          {"NPoint", "1"},
          {"PollTime", "0"},
          {"OnChange", "Y"},
          {"OnCMD", "N"},
          {"MaxError", "0"},
          {"Position", "4"},
          {"Bit", "0"},
          {"Swap", "N"},
          {"SwapWord", "N"},
          {"Signed", "Y"},
          {"Mnemonic", "w"}}},
        {"a missing first column goes before the next one",
         &TLS_Known_Cert_Table(),
         0,
         {{"Zone", "z"}, {"Certificate", "C"}, {"Mnemonic", "m"}},
         {{"Zone", "z"}, {"Enable", "Y"}, {"Certificate", "C"}, {"Mnemonic", "m"}}},
        {"columns in another order keep it",
         &TLS_Known_Cert_Table(),
         0,
         {{"Mnemonic", "m"}, {"Certificate", "C"}, {"Enable", "N"}},
         {{"Mnemonic", "m"}, {"Certificate", "C"}, {"Enable", "N"}}},
        {"values of every kind",
         &IEC61850_Variables_Table(),
         0,
         {{"Name", "V"}, {"Note", " <&\"\nü> "}, {"x.y-z_1", ""}},
         {{"Enable", "Y"},
          {"Name", "V"},
          {"Type", ""},
          {"Length", ""},
          {"ReadOnly", "N"},
          {"Position", ""},
          {"StartBit", ""},
          {"Conversion", ""},
          {"MultiplicationFactor", ""},
          {"Swap", "N"},
          {"SwapWord", "N"},
          {"Mnemonic", ""},
          {"Note", " <&\"\nü> "},
          {"x.y-z_1", ""}}},
        {"a row in the table's order without others is plain", &ModbusM_SetAccess_Table(),
         Modbus_Read_Group, without(readRow, "Swap"), readRow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString row = Row(c.file);
        const QString xml =
            c.desc->Grouped()
                ? (c.group == Modbus_Read_Group ? ModbusXml({row}, {}) : ModbusXml({}, {row}))
                : TableXml(c.desc->Root, {row});
        const QString path = conf.Write(c.desc->FileName, xml);
        const TTableLoadResult loaded = Load_Table_File(*c.desc, path);
        ASSERT_TRUE(loaded.Ok()) << loaded.Error.toStdString();
        ASSERT_EQ(loaded.Rows[c.group].size(), 1);
        Write_Table_File(*c.desc, loaded.Rows, path);

        plat::XmlDocument doc;
        doc.LoadFile(path);
        const std::vector<plat::XmlNode> rows = Table_Group_Rows(doc, *c.desc, c.group, path);
        ASSERT_EQ(rows.size(), 1u);
        TAttrs written;
        for (const plat::XmlAttribute &a : rows[0].Attributes())
            written.emplace_back(a.name, a.value);
        EXPECT_EQ(written, c.written);
        // And the file, once written, stays as it is.
        const QByteArray once = conf.Read(c.desc->FileName);
        Write_Table_File(*c.desc, Load_Table_File(*c.desc, path).Rows, path);
        EXPECT_EQ(conf.Read(c.desc->FileName), once);
    }
}

// A reader sees one group, one root, one value per attribute: a file holding more, or bytes its
// encoding does not allow, is reported and loads nothing of the faulty part.
TEST(TableFiles, FilesThatAreNotWellFormedAreReported)
{
    TTempConf conf;
    const TTableFileDesc &tls = TLS_Known_Cert_Table();
    const TTableFileDesc &modbus = ModbusM_SetAccess_Table();
    const QByteArray row = "<row Enable=\"Y\" Certificate=\"C\" Mnemonic=\"m\"/>";
    const QByteArray tlsFile = "<TLS_Server_Known_Cert>" + row + "</TLS_Server_Known_Cert>\n";
    const QByteArray read =
        "<row Enable=\"Y\" Slave_ID=\"1\" Type=\"Coil Status\" Address=\"0\" NPoint=\"1\" "
        "PollTime=\"1\" MaxError=\"0\" Position=\"0\" Bit=\"0\" Mnemonic=\"\"/>";
    struct Case
    {
        const char *name;
        const TTableFileDesc *desc;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"two root elements", &tls, tlsFile + tlsFile, "line 2"},
        {"an attribute twice", &tls,
         "<TLS_Server_Known_Cert>\n<row Enable=\"Y\" Certificate=\"C\" Certificate=\"D\"/>"
         "</TLS_Server_Known_Cert>",
         "line 2"},
        {"Latin-1 bytes without a declaration", &tls,
         "<TLS_Server_Known_Cert><row Certificate=\"Caf\xE9\"/></TLS_Server_Known_Cert>", "UTF-8"},
        {"a reference beyond Unicode", &tls,
         "<TLS_Server_Known_Cert><row Certificate=\"&#x110000;\"/></TLS_Server_Known_Cert>",
         "Unicode"},
        {"a group twice", &modbus,
         "<EtherNetIP_to_Modbus><Modbus_Read>" + read +
             "</Modbus_Read><Modbus_Write/>"
             "<Modbus_Read>" +
             read + "</Modbus_Read></EtherNetIP_to_Modbus>",
         "Modbus_Read"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = conf.WriteBytes(c.desc->FileName, c.bytes);
        const TTableLoadResult r = Load_Table_File(*c.desc, path);
        EXPECT_TRUE(r.File_Found);
        ASSERT_FALSE(r.Ok());
        EXPECT_TRUE(r.Error.contains(QLatin1String(c.reason))) << r.Error.toStdString();
        EXPECT_TRUE(r.Error.contains(QDir::toNativeSeparators(path))) << r.Error.toStdString();
        EXPECT_TRUE(r.Message().contains(r.Error));
        if (c.desc == &modbus) {
            plat::XmlDocument doc;
            doc.LoadFile(path);
            EXPECT_THROW(Table_Group_Rows(doc, modbus, Modbus_Read_Group, path), ETableFileError);
        } else {
            EXPECT_TRUE(r.Rows[0].isEmpty());
        }
    }
}
