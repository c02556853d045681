#include "platform/os/Files.h"
#include "platform/xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using plat::EXmlError;
using plat::XmlDocument;
using plat::XmlNode;
using plat::XmlNodeKind;

namespace {

const QString kFixtures = QStringLiteral(TEST_FIXTURES_DIR "/xml");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
}

// Runs fn, expecting an EXmlError of the given kind; returns its message.
template <typename Fn> std::string xmlErrorOf(Fn fn, EXmlError::Kind kind)
{
    try {
        fn();
    } catch (const EXmlError &e) {
        EXPECT_EQ(e.kind(), kind) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "no EXmlError thrown";
    return {};
}

} // namespace

// The table files are read by attribute position and the readers take the first node as the
// root, so the exact saved bytes matter: attribute order of addition, replaced values in place,
// no declaration, comment after the root.
TEST(XmlDocument, SaveWritesExactLayout)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("table.xml"));

    XmlDocument doc;
    XmlNode root = doc.AppendElement(QStringLiteral("Root"));
    XmlNode row = root.AppendElement(QStringLiteral("row"));
    row.SetAttribute(QStringLiteral("Zeta"), QStringLiteral("1"));
    row.SetAttribute(QStringLiteral("Alpha"), QStringLiteral("2"));
    row.SetAttribute(QStringLiteral("Mid"), 3);
    row.SetAttribute(QStringLiteral("Alpha"), QStringLiteral("<&\">")); // replaced in place
    root.AppendElement(QStringLiteral("empty"));
    root.AppendElement(QStringLiteral("name")).SetText(QStringLiteral("Plant 1"));
    doc.AppendComment(QStringLiteral("SW_VERSION = 1.005"));
    doc.Save(path);

    EXPECT_EQ(readAll(path).toStdString(),
              "<Root>\n"
              "\t<row Zeta=\"1\" Alpha=\"&lt;&amp;&quot;>\" Mid=\"3\" />\n"
              "\t<empty />\n"
              "\t<name>Plant 1</name>\n"
              "</Root>\n"
              "<!--SW_VERSION = 1.005-->\n");

    XmlDocument back;
    back.LoadFile(path);
    const XmlNode backRow = back.DocumentElement().Child(QStringLiteral("row"));
    std::vector<std::pair<QString, QString>> attrs;
    for (const plat::XmlAttribute &a : backRow.Attributes())
        attrs.emplace_back(a.name, a.value);
    const std::vector<std::pair<QString, QString>> expected{
        {"Zeta", "1"}, {"Alpha", "<&\">"}, {"Mid", "3"}};
    EXPECT_EQ(attrs, expected);
    const std::vector<XmlNode> top = back.Children();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].Name(), QStringLiteral("Root"));
    EXPECT_EQ(top[1].Kind(), XmlNodeKind::Comment);
    EXPECT_EQ(top[1].Text(), QStringLiteral("SW_VERSION = 1.005"));
}

TEST(XmlDocument, NonAsciiTextRoundTripsAsUtf8)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("utf8.xml"));
    const QString text = QStringLiteral("Größe € ¶ 日本 \U0001F600");

    XmlDocument doc;
    XmlNode root = doc.AppendElement(QStringLiteral("Conf_Settings"));
    root.AppendElement(QStringLiteral("language")).SetText(text);
    root.SetAttribute(QStringLiteral("Topic"), text);
    doc.Save(path);

    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.contains(text.toUtf8()));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));

    XmlDocument back;
    back.LoadFile(path);
    const XmlNode r = back.DocumentElement();
    EXPECT_EQ(r.Child(QStringLiteral("language")).Text(), text);
    EXPECT_EQ(r.Attribute(QStringLiteral("Topic")), text);
}

// U+FEFF at the start of a value is a character there, not a byte-order mark.
TEST(XmlDocument, LeadingFeffInValuesIsKept)
{
    const QString value = QStringLiteral("\uFEFFkey");
    XmlDocument doc;
    XmlNode root = doc.AppendElement(QStringLiteral("Par_Gen"));
    root.AppendElement(QStringLiteral("Key")).SetText(value);
    root.SetAttribute(QStringLiteral("Cert"), value);
    const XmlDocument back = XmlDocument::FromString(doc.ToString());
    EXPECT_EQ(back.DocumentElement().Child(QStringLiteral("Key")).Text(), value);
    EXPECT_EQ(back.DocumentElement().Attribute(QStringLiteral("Cert")), value);
}

TEST(XmlDocument, TextOfBlanksSurvivesSaveAndLoad)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("blanks.xml"));
    XmlDocument doc;
    XmlNode root = doc.AppendElement(QStringLiteral("Par_Gen"));
    root.AppendElement(QStringLiteral("Password")).SetText(QStringLiteral("   "));
    root.AppendElement(QStringLiteral("Empty"));
    doc.Save(path);

    XmlDocument back;
    back.LoadFile(path);
    const XmlNode r = back.DocumentElement();
    EXPECT_EQ(r.Child(QStringLiteral("Password")).Text(), QStringLiteral("   "));
    EXPECT_EQ(r.Child(QStringLiteral("Empty")).Text(), QString());
    EXPECT_EQ(r.ChildElements().size(), 2u);
}

TEST(XmlDocument, MissingElementsAndAttributesThrowCatchably)
{
    XmlDocument doc = XmlDocument::FromString(
        QStringLiteral("<Conf_Settings><row Enable=\"Y\" Name=\"\"/><ipaddress/></Conf_Settings>"));
    const XmlNode root = doc.DocumentElement();
    const XmlNode row = root.ChildElement(QStringLiteral("row"));
    ASSERT_FALSE(row.IsNull());

    EXPECT_EQ(row.Attribute(QStringLiteral("Name")), QString()); // present but empty
    EXPECT_TRUE(row.HasAttribute(QStringLiteral("Name")));
    EXPECT_FALSE(row.HasAttribute(QStringLiteral("Swap")));
    EXPECT_EQ(row.AttributeOr(QStringLiteral("Swap"), QStringLiteral("N")), QStringLiteral("N"));
    EXPECT_EQ(row.AttributeOr(QStringLiteral("Enable"), QStringLiteral("N")), QStringLiteral("Y"));
    EXPECT_EQ(xmlErrorOf([&] { row.Attribute(QStringLiteral("Enable2"), 3); },
                         EXmlError::Kind::MissingAttribute),
              "Attribute 'Enable2' missing in row 3");
    EXPECT_EQ(xmlErrorOf([&] { row.Attribute(QStringLiteral("Swap")); },
                         EXmlError::Kind::MissingAttribute),
              "Attribute 'Swap' missing in element 'row'");

    EXPECT_TRUE(root.ChildElement(QStringLiteral("lastproj")).IsNull());
    EXPECT_EQ(xmlErrorOf([&] { root.Child(QStringLiteral("lastproj")); },
                         EXmlError::Kind::MissingElement),
              "XML element 'lastproj' missing in 'Conf_Settings'");
    // A chain through a missing element fails at the missing step, not later on a null node.
    EXPECT_EQ(xmlErrorOf([&] { root.Child(QStringLiteral("lastproj")).Child(QStringLiteral("x")); },
                         EXmlError::Kind::MissingElement),
              "XML element 'lastproj' missing in 'Conf_Settings'");
    // An element without text reads as empty text.
    EXPECT_EQ(root.Child(QStringLiteral("ipaddress")).Text(), QString());
}

TEST(XmlDocument, DocumentElementIsFirstElementAfterPrologNodes)
{
    XmlDocument doc;
    doc.LoadFile(kFixtures + QStringLiteral("/prolog.xml"));

    std::vector<XmlNodeKind> kinds;
    for (const XmlNode &n : doc.Children())
        kinds.push_back(n.Kind());
    const std::vector<XmlNodeKind> expected{XmlNodeKind::Declaration, XmlNodeKind::Comment,
                                            XmlNodeKind::ProcessingInstruction,
                                            XmlNodeKind::Element, XmlNodeKind::Comment};
    EXPECT_EQ(kinds, expected);

    const XmlNode root = doc.DocumentElement();
    EXPECT_EQ(root.Name(), QStringLiteral("Conf_Settings"));
    EXPECT_EQ(root.Child(QStringLiteral("lastlang")).Child(QStringLiteral("language")).Text(),
              QStringLiteral("Deutsch"));
    // Whitespace between elements is no node of its own.
    EXPECT_EQ(root.Children().size(), 1u);
}

TEST(XmlDocument, ParseErrorNamesFileLineAndReason)
{
    const QString broken = kFixtures + QStringLiteral("/broken.xml");
    XmlDocument doc;
    const std::string msg = xmlErrorOf([&] { doc.LoadFile(broken); }, EXmlError::Kind::Parse);
    EXPECT_NE(msg.find(broken.toStdString()), std::string::npos) << msg;
    EXPECT_NE(msg.find("line 4"), std::string::npos) << msg;
    EXPECT_NE(msg.find("mismatch"), std::string::npos) << msg;
    EXPECT_TRUE(doc.IsEmpty());
}

// The line number must follow every line-end convention and the UTF-16 files a text editor
// may produce.
TEST(XmlDocument, ParseErrorLineCountsAllLineEnds)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        int line;
    };
    const QString body = QStringLiteral("<a>\n<b>\n\n<c></b>\n</a>");
    QString crlf = body;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QString cr = body;
    cr.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    auto utf16 = [](const QString &s, bool le) {
        QByteArray out(le ? "\xFF\xFE" : "\xFE\xFF", 2);
        for (QChar c : s) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            out.append(le ? lo : hi).append(le ? hi : lo);
        }
        return out;
    };
    const Case cases[] = {
        {"lf", body.toUtf8(), 4},
        {"crlf", crlf.toUtf8(), 4},
        {"cr", cr.toUtf8(), 4},
        {"utf8 bom", QByteArray("\xEF\xBB\xBF") + crlf.toUtf8(), 4},
        {"utf16le", utf16(crlf, true), 4},
        {"utf16be", utf16(body, false), 4},
        // An element left open is reported where it starts.
        {"unclosed at end", QByteArray("<a>\n<b>\n"), 2},
    };
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = tmp.filePath(QStringLiteral("case.xml"));
        writeAll(path, c.bytes);
        XmlDocument doc;
        const std::string msg = xmlErrorOf([&] { doc.LoadFile(path); }, EXmlError::Kind::Parse);
        EXPECT_NE(msg.find(", line " + std::to_string(c.line) + ":"), std::string::npos) << msg;
    }
}

TEST(XmlDocument, LoadsUtf16FileWithBom)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("u16.xml"));
    const QString xml = QStringLiteral("<r><t>Grüße €</t></r>");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(xml.utf16()), xml.size() * 2);
    writeAll(path, bytes);
    XmlDocument doc;
    doc.LoadFile(path);
    EXPECT_EQ(doc.DocumentElement().Child(QStringLiteral("t")).Text(), QStringLiteral("Grüße €"));
}

TEST(XmlDocument, MissingFileIsDistinctFromParseError)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    XmlDocument doc;
    const std::string msg =
        xmlErrorOf([&] { doc.LoadFile(tmp.filePath(QStringLiteral("Montavor.xml"))); },
                   EXmlError::Kind::FileNotFound);
    EXPECT_NE(msg.find("Montavor.xml"), std::string::npos) << msg;
}

// Saving the settings empties the held document and rebuilds it: nothing of the old tree, the
// old comment included, may survive.
TEST(XmlDocument, ClearThenRebuildLeavesNothingOld)
{
    XmlDocument doc = XmlDocument::FromString(
        QStringLiteral("<!--old--><Conf_Settings><lastproj/></Conf_Settings><!--tail-->"));
    doc.Clear();
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    doc.AppendElement(QStringLiteral("Conf_Settings"))
        .AppendElement(QStringLiteral("lastlang"))
        .AppendElement(QStringLiteral("language"))
        .SetText(QStringLiteral("English"));
    EXPECT_EQ(doc.ToString(), QStringLiteral("<Conf_Settings>\n"
                                             "\t<lastlang>\n"
                                             "\t\t<language>English</language>\n"
                                             "\t</lastlang>\n"
                                             "</Conf_Settings>\n"));
}

TEST(XmlDocument, SaveFailureThrowsAndKeepsOldFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString blocker = tmp.filePath(QStringLiteral("notafolder"));
    writeAll(blocker, "old");
    XmlDocument doc;
    doc.AppendElement(QStringLiteral("Root"));

    const QString target = blocker + QStringLiteral("/ParGen.xml");
    const std::string msg = xmlErrorOf([&] { doc.Save(target); }, EXmlError::Kind::Io);
    EXPECT_NE(msg.find(target.toStdString()), std::string::npos) << msg;
    EXPECT_EQ(readAll(blocker), QByteArray("old"));
}

// Saved bytes stay as pugixml's indented output wrote them, so files written before read and
// compare the same.
TEST(XmlDocument, SaveKeepsTheEstablishedLayout)
{
    const QByteArray original = readAll(kFixtures + QStringLiteral("/layout.xml"));
    XmlDocument doc;
    doc.LoadFile(kFixtures + QStringLiteral("/layout.xml"));
    EXPECT_EQ(doc.ToUtf8().toStdString(), original.toStdString());
}

// ParGen.xml keeps keys and certificates as multi-line text; the parser turns a raw CR into LF,
// so the writer must keep it as a reference for the values to survive a save.
TEST(XmlDocument, LineEndsInValuesSurviveSaveAndLoad)
{
    const QString values[] = {
        QStringLiteral("-----BEGIN KEY-----\r\nABC\r\n-----END KEY-----\r\n"),
        QStringLiteral("cr\ronly"),
        QStringLiteral("\r"),
        QStringLiteral("\r\n\r\n"),
        QStringLiteral("lf\nand\ttab"),
    };
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("ParGen.xml"));
    for (const QString &value : values) {
        SCOPED_TRACE(value.toStdString());
        XmlDocument doc;
        XmlNode root = doc.AppendElement(QStringLiteral("Par_Gen"));
        root.AppendElement(QStringLiteral("Key")).SetText(value);
        root.SetAttribute(QStringLiteral("Cert"), value);
        for (int round = 0; round < 2; ++round) {
            doc.Save(path);
            doc.LoadFile(path);
            const XmlNode r = doc.DocumentElement();
            EXPECT_EQ(r.Child(QStringLiteral("Key")).Text(), value) << "round " << round;
            EXPECT_EQ(r.Attribute(QStringLiteral("Cert")), value) << "round " << round;
        }
        EXPECT_FALSE(readAll(path).contains('\r'));
    }
}

// The parser takes text of blanks between elements for layout; text that is data must not turn
// into layout on the next save.
TEST(XmlDocument, BlankTextBesideElementsSurvivesSave)
{
    XmlDocument doc = XmlDocument::FromString(QStringLiteral("<r>&#10;<b/>&#32;&#9;<c/></r>"));
    const QString saved = doc.ToString();
    const XmlDocument back = XmlDocument::FromString(saved);
    std::vector<QString> texts;
    for (const XmlNode &n : back.DocumentElement().Children())
        texts.push_back(n.Kind() == XmlNodeKind::Text ? n.Text() : n.Name());
    const std::vector<QString> expected{"\n", "b", " \t", "c"};
    EXPECT_EQ(texts, expected) << saved.toStdString();
    EXPECT_EQ(back.ToString(), saved);
}

// The bytes written are UTF-8 whatever the loaded declaration named; writing it back would
// make the next load decode them as that encoding.
TEST(XmlDocument, SaveNeverWritesADeclaration)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath(QStringLiteral("Montavor.xml"));
    const QString expected = QStringLiteral("Français °C");
    XmlDocument doc;
    doc.LoadFile(kFixtures + QStringLiteral("/latin1.xml"));
    const auto language = [](const XmlDocument &d) {
        return d.DocumentElement()
            .Child(QStringLiteral("lastlang"))
            .Child(QStringLiteral("language"))
            .Text();
    };
    ASSERT_EQ(language(doc), expected);
    doc.Save(path);
    EXPECT_TRUE(readAll(path).startsWith("<Conf_Settings>\n")) << readAll(path).toStdString();
    XmlDocument back;
    back.LoadFile(path);
    EXPECT_EQ(language(back), expected);
    EXPECT_EQ(back.Children().front().Kind(), XmlNodeKind::Element);
}

// One tab per level made the output grow with the square of the depth.
TEST(XmlDocument, DeepNestingSavesInLinearSize)
{
    constexpr int depth = 100000;
    QByteArray xml;
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    xml += "leaf";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";
    XmlDocument doc;
    doc.LoadString(QString::fromLatin1(xml));
    const QByteArray saved = doc.ToUtf8();
    EXPECT_LT(saved.size(), qsizetype(depth) * 2 * 80);
    // Shallow levels keep their indentation; deep ones stay at the deepest indentation.
    EXPECT_TRUE(saved.startsWith("<a>\n\t<a>\n\t\t<a>\n"));
    EXPECT_TRUE(
        saved.contains("\n" + QByteArray(64, '\t') + "<a>\n" + QByteArray(64, '\t') + "<a>"));

    XmlDocument back;
    back.LoadString(QString::fromUtf8(saved));
    int levels = 0;
    XmlNode n = back.DocumentElement();
    for (; n.IsElement(); n = n.ChildElements().empty() ? XmlNode() : n.ChildElements().front())
        ++levels;
    EXPECT_EQ(levels, depth);
}

// A reference to U+0000 used to end the value there silently.
TEST(XmlDocument, ReferenceToNulCharacterIsAParseError)
{
    const struct
    {
        const char *xml;
        int line;
    } bad[] = {
        {"<a>before&#0;after</a>", 1},
        {"<a>\n<b>x&#x0;y</b></a>", 2},
        {"<a>\r\n\r\n<b v=\"&#00000;\"/></a>", 3},
        {"<a><!-- &#0; -->\n&#x00;</a>", 2},
        {"<t a=\"<?\">&#0;</t>", 1}, // no instruction inside a value
        {"<t a='>' b=\"x&#0;\"/>", 1},
        {"<!DOCTYPE<![<]]>><r>&#0;</r>", 1}, // the doctype ends where the parser ends it
    };
    for (const auto &c : bad) {
        XmlDocument doc;
        const std::string msg =
            xmlErrorOf([&] { doc.LoadString(QString::fromLatin1(c.xml)); }, EXmlError::Kind::Parse);
        EXPECT_NE(msg.find("line " + std::to_string(c.line) + ": Character reference to U+0000"),
                  std::string::npos)
            << c.xml << ": " << msg;
        EXPECT_TRUE(doc.IsEmpty());
    }
    // Not references: comments, CDATA, instructions and the doctype keep the text as written.
    const char *literal[] = {"<a><!--&#0;-->x</a>", "<a><![CDATA[&#0;]]></a>",
                             "<?pi &#0;?><a>x</a>", "<a>&#10;&#x20;&amp;#0;</a>",
                             "<!DOCTYPE r [<!ENTITY e \"&#0;\">]><r>x</r>"};
    for (const char *xml : literal) {
        XmlDocument doc;
        EXPECT_NO_THROW(doc.LoadString(QString::fromLatin1(xml))) << xml;
        EXPECT_FALSE(doc.DocumentElement().IsNull()) << xml;
    }
}

// The parser lets through what XML does not allow and then drops or alters it unseen: a second
// root, text beside the root, the second of two equal attributes, bytes its encoding does not
// allow (they would read as U+FFFD), references beyond Unicode or to no known entity (kept as
// literal text). Each is a parse error naming its line, and nothing of the document stays.
TEST(XmlDocument, WhatIsNotWellFormedIsAParseError)
{
    const auto utf16le = [](const char16_t *s, int n) {
        QByteArray out("\xFF\xFE", 2);
        for (int i = 0; i < n; ++i)
            out.append(char(s[i] & 0xFF)).append(char(s[i] >> 8));
        return out;
    };
    const struct
    {
        const char *name;
        QByteArray bytes;
        int line;
        const char *reason;
    } bad[] = {
        {"two roots", "<a/>\n<b/>", 2, "More than one root element"},
        {"text after the root", "<a/>\ntail", 2, "Text outside the root element"},
        {"text before the root", "lead\n<a/>", 1, "Text outside the root element"},
        {"CDATA beside the root", "<a/>\n\n<![CDATA[x]]>", 3, "Text outside the root element"},
        {"an attribute twice", "<r>\n<a x=\"1\" y=\"2\" x=\"3\"/></r>", 2, "Attribute given twice"},
        {"Latin-1 without declaration", "<a>\nCaf\xE9</a>", 2, "not valid in UTF-8"},
        {"a cut UTF-8 sequence", "<a v=\"\xC3\"/>", 1, "not valid in UTF-8"},
        {"an overlong form", "<a>\xC0\xBC</a>", 1, "not valid in UTF-8"},
        {"an encoded surrogate", "<a>\xED\xA0\x80</a>", 1, "not valid in UTF-8"},
        {"a NUL byte, where the parser would stop", QByteArray("<a/>\n\0<b/>", 10), 2, "NUL"},
        {"UTF-16 with a lone surrogate", utf16le(u"<a>\n\xD800</a>", 9), 2, "not valid in UTF-16"},
        {"a reference beyond U+10FFFF", "<a>&#x110000;</a>", 1, "outside Unicode"},
        {"a reference whose digits overflow", "<a v=\"&#x100000041;\"/>", 1, "outside Unicode"},
        {"a reference to a surrogate", "<a>\n\n&#55296;</a>", 3, "outside Unicode"},
        {"an upper-case X", "<a>&#X41;</a>", 1, "Malformed character reference"},
        {"a reference without digits", "<a>&#;</a>", 1, "Malformed character reference"},
        {"an unknown entity", "<a>&nbsp;</a>", 1, "Unknown entity"},
        {"a bare ampersand", "<a v=\"AT&T\"/>", 1, "Unknown entity"},
        {"no element", "<!-- only a comment -->", 1, "No document element"},
    };
    for (const auto &c : bad) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        const std::string msg = xmlErrorOf([&] { doc.LoadBytes(c.bytes, QStringLiteral("f.xml")); },
                                           EXmlError::Kind::Parse);
        EXPECT_NE(msg.find("f.xml, line " + std::to_string(c.line) + ": "), std::string::npos)
            << msg;
        EXPECT_NE(msg.find(c.reason), std::string::npos) << msg;
        EXPECT_TRUE(doc.IsEmpty());
    }

    // What XML allows still loads, as it stands.
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char16_t *value; // of attribute v of the root
    } good[] = {
        {"Latin-1 with its declaration",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a v=\"Caf\xE9\"/>", u"Caf\u00E9"},
        {"the last code point and the five entities",
         "<a v=\"&#x10FFFF;&#65;&amp;&lt;&gt;&quot;&apos;\"/>",
         u"\U0010FFFF"
         u"A&<>\"'"},
        {"a control character reference, as the writer puts it", "<a v=\"&#01;\"/>", u"\u0001"},
        {"blanks, comments and instructions beside the root",
         " \n<!-- c -->\n<?pi x?>\n<a v=\"x\"/>\n<!-- d -->\n", u"x"},
        {"four-byte UTF-8", "<a v=\"\xF0\x9F\x98\x80\"/>", u"\U0001F600"},
    };
    for (const auto &c : good) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        ASSERT_NO_THROW(doc.LoadBytes(c.bytes));
        EXPECT_EQ(doc.DocumentElement().Attribute(QStringLiteral("v")),
                  QString::fromUtf16(c.value));
    }
}

TEST(XmlNode, NullHandleReadsEmptyAndRefusesWrites)
{
    XmlNode none;
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(none.Kind(), XmlNodeKind::Null);
    EXPECT_TRUE(none.Text().isEmpty());
    EXPECT_TRUE(none.Children().empty());
    EXPECT_TRUE(none.ChildElement(QStringLiteral("x")).IsNull());
    xmlErrorOf([&] { none.SetAttribute(QStringLiteral("a"), QStringLiteral("1")); },
               EXmlError::Kind::InvalidNode);
    xmlErrorOf([&] { none.AppendElement(QStringLiteral("x")); }, EXmlError::Kind::InvalidNode);
}
