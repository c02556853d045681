#include "platform/xml/XmlDocument.h"

#include "platform/os/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <cstring>

namespace plat {

namespace {

// Keep every node kind so callers can walk the document as written.
// A value made only of blanks (a password of spaces) is data: keep it.
constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata_single;
// No declaration: readers take the document's first node as its root.
constexpr unsigned kFormatOptions = pugi::format_indent | pugi::format_no_declaration;
constexpr const char *kIndent = "\t";

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

QString qstr(const char *s)
{
    return QString::fromUtf8(s);
}

pugi::xml_node wrap(pugi::xml_node_struct *n)
{
    return pugi::xml_node(n);
}

class ByteArrayWriter : public pugi::xml_writer
{
public:
    QByteArray data;
    void write(const void *bytes, size_t size) override
    {
        data.append(static_cast<const char *>(bytes), static_cast<qsizetype>(size));
    }
};

QString describe(const pugi::xml_node &n)
{
    if (n.type() == pugi::node_document)
        return QStringLiteral("document");
    return qstr(n.name());
}

// Line of a byte offset; CR LF, LF and a lone CR each end a line.
int lineOfOffset(const QByteArray &bytes, qsizetype offset)
{
    int line = 1;
    const qsizetype end = std::min(offset, bytes.size());
    for (qsizetype i = 0; i < end; ++i) {
        const char c = bytes.at(i);
        if (c == '\n' || (c == '\r' && (i + 1 >= bytes.size() || bytes.at(i + 1) != '\n')))
            ++line;
    }
    return line;
}

} // namespace

EXmlError::EXmlError(const QString &message, Kind kind)
    : std::runtime_error(message.toStdString()), m_kind(kind)
{}

// ---- XmlNode -------------------------------------------------------------------------------

XmlNodeKind XmlNode::Kind() const
{
    switch (wrap(m_node).type()) {
    case pugi::node_null:
        return XmlNodeKind::Null;
    case pugi::node_document:
        return XmlNodeKind::Document;
    case pugi::node_element:
        return XmlNodeKind::Element;
    case pugi::node_pcdata:
        return XmlNodeKind::Text;
    case pugi::node_cdata:
        return XmlNodeKind::CData;
    case pugi::node_comment:
        return XmlNodeKind::Comment;
    case pugi::node_pi:
        return XmlNodeKind::ProcessingInstruction;
    case pugi::node_declaration:
        return XmlNodeKind::Declaration;
    case pugi::node_doctype:
        return XmlNodeKind::Doctype;
    }
    return XmlNodeKind::Null;
}

QString XmlNode::Name() const
{
    const pugi::xml_node n = wrap(m_node);
    if (n.type() == pugi::node_element || n.type() == pugi::node_pi)
        return qstr(n.name());
    return {};
}

QString XmlNode::Text() const
{
    const pugi::xml_node n = wrap(m_node);
    switch (n.type()) {
    case pugi::node_element:
        return qstr(n.text().get());
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
    case pugi::node_doctype:
        return qstr(n.value());
    default:
        return {};
    }
}

void XmlNode::SetText(const QString &text)
{
    pugi::xml_node n = wrap(m_node);
    bool ok = false;
    switch (n.type()) {
    case pugi::node_element:
        ok = n.text().set(utf8(text).constData());
        break;
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
        ok = n.set_value(utf8(text).constData());
        break;
    default:
        break;
    }
    if (!ok)
        throw EXmlError(QStringLiteral("Cannot set the text of this XML node"),
                        EXmlError::Kind::InvalidNode);
}

XmlNode XmlNode::Parent() const
{
    return XmlNode(wrap(m_node).parent().internal_object());
}

XmlNode XmlNode::FirstChild() const
{
    return XmlNode(wrap(m_node).first_child().internal_object());
}

XmlNode XmlNode::NextSibling() const
{
    return XmlNode(wrap(m_node).next_sibling().internal_object());
}

XmlNode XmlNode::PreviousSibling() const
{
    return XmlNode(wrap(m_node).previous_sibling().internal_object());
}

std::vector<XmlNode> XmlNode::Children() const
{
    std::vector<XmlNode> result;
    for (pugi::xml_node c = wrap(m_node).first_child(); c; c = c.next_sibling())
        result.push_back(XmlNode(c.internal_object()));
    return result;
}

std::vector<XmlNode> XmlNode::ChildElements() const
{
    std::vector<XmlNode> result;
    for (pugi::xml_node c = wrap(m_node).first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            result.push_back(XmlNode(c.internal_object()));
    return result;
}

std::vector<XmlNode> XmlNode::ChildElements(const QString &name) const
{
    std::vector<XmlNode> result;
    const QByteArray key = utf8(name);
    for (pugi::xml_node c = wrap(m_node).child(key.constData()); c;
         c = c.next_sibling(key.constData()))
        result.push_back(XmlNode(c.internal_object()));
    return result;
}

XmlNode XmlNode::NextSiblingElement() const
{
    pugi::xml_node c = wrap(m_node).next_sibling();
    while (c && c.type() != pugi::node_element)
        c = c.next_sibling();
    return XmlNode(c.internal_object());
}

XmlNode XmlNode::NextSiblingElement(const QString &name) const
{
    return XmlNode(wrap(m_node).next_sibling(utf8(name).constData()).internal_object());
}

XmlNode XmlNode::ChildElement(const QString &name) const
{
    return XmlNode(wrap(m_node).child(utf8(name).constData()).internal_object());
}

XmlNode XmlNode::ChildElementOrThrow(const QString &name) const
{
    const XmlNode child = ChildElement(name);
    if (child.IsNull()) {
        const pugi::xml_node n = wrap(m_node);
        throw EXmlError(QStringLiteral("XML element '%1' missing in '%2'")
                            .arg(name, n ? describe(n) : QStringLiteral("(no node)")),
                        EXmlError::Kind::MissingElement);
    }
    return child;
}

bool XmlNode::HasAttribute(const QString &name) const
{
    return !wrap(m_node).attribute(utf8(name).constData()).empty();
}

QString XmlNode::Attribute(const QString &name) const
{
    const pugi::xml_attribute a = wrap(m_node).attribute(utf8(name).constData());
    if (a.empty())
        throw EXmlError(QStringLiteral("Attribute '%1' missing in element '%2'")
                            .arg(name, Name().isEmpty() ? QStringLiteral("(none)") : Name()),
                        EXmlError::Kind::MissingAttribute);
    return qstr(a.value());
}

QString XmlNode::Attribute(const QString &name, int row) const
{
    const pugi::xml_attribute a = wrap(m_node).attribute(utf8(name).constData());
    if (a.empty())
        throw EXmlError(QStringLiteral("Attribute '%1' missing in row %2").arg(name).arg(row),
                        EXmlError::Kind::MissingAttribute);
    return qstr(a.value());
}

QString XmlNode::AttributeOr(const QString &name, const QString &defaultValue) const
{
    const pugi::xml_attribute a = wrap(m_node).attribute(utf8(name).constData());
    return a.empty() ? defaultValue : qstr(a.value());
}

void XmlNode::SetAttribute(const QString &name, const QString &value)
{
    pugi::xml_node n = wrap(m_node);
    if (n.type() != pugi::node_element)
        throw EXmlError(
            QStringLiteral("Cannot set attribute '%1' on a node that is no element").arg(name),
            EXmlError::Kind::InvalidNode);
    const QByteArray key = utf8(name);
    pugi::xml_attribute a = n.attribute(key.constData());
    if (a.empty())
        a = n.append_attribute(key.constData());
    if (a.empty() || !a.set_value(utf8(value).constData()))
        throw EXmlError(QStringLiteral("Cannot set attribute '%1'").arg(name),
                        EXmlError::Kind::InvalidNode);
}

void XmlNode::SetAttribute(const QString &name, int value)
{
    SetAttribute(name, QString::number(value));
}

bool XmlNode::RemoveAttribute(const QString &name)
{
    return wrap(m_node).remove_attribute(utf8(name).constData());
}

std::vector<XmlAttribute> XmlNode::Attributes() const
{
    std::vector<XmlAttribute> result;
    for (pugi::xml_attribute a = wrap(m_node).first_attribute(); a; a = a.next_attribute())
        result.push_back({qstr(a.name()), qstr(a.value())});
    return result;
}

XmlNode XmlNode::AppendElement(const QString &name)
{
    pugi::xml_node child = wrap(m_node).append_child(utf8(name).constData());
    if (!child)
        throw EXmlError(QStringLiteral("Cannot add element '%1' here").arg(name),
                        EXmlError::Kind::InvalidNode);
    return XmlNode(child.internal_object());
}

XmlNode XmlNode::AppendComment(const QString &text)
{
    pugi::xml_node child = wrap(m_node).append_child(pugi::node_comment);
    if (!child || !child.set_value(utf8(text).constData()))
        throw EXmlError(QStringLiteral("Cannot add a comment here"), EXmlError::Kind::InvalidNode);
    return XmlNode(child.internal_object());
}

XmlNode XmlNode::AppendText(const QString &text)
{
    pugi::xml_node child = wrap(m_node).append_child(pugi::node_pcdata);
    if (!child || !child.set_value(utf8(text).constData()))
        throw EXmlError(QStringLiteral("Cannot add text here"), EXmlError::Kind::InvalidNode);
    return XmlNode(child.internal_object());
}

bool XmlNode::RemoveChild(const XmlNode &child)
{
    return wrap(m_node).remove_child(wrap(child.m_node));
}

// ---- XmlDocument ---------------------------------------------------------------------------

XmlDocument::XmlDocument() : m_doc(std::make_unique<pugi::xml_document>()) {}

XmlDocument::~XmlDocument() = default;

XmlDocument::XmlDocument(XmlDocument &&other) noexcept = default;

XmlDocument &XmlDocument::operator=(XmlDocument &&other) noexcept = default;

void XmlDocument::LoadFile(const QString &path)
{
    Clear();
    m_fileName = path;
    if (!FileExists(path))
        throw EXmlError(QStringLiteral("XML file '%1' not found").arg(path),
                        EXmlError::Kind::FileNotFound);
    QString error;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, &error);
    if (!bytes)
        throw EXmlError(error, EXmlError::Kind::Io);
    loadBytes(*bytes, path);
}

void XmlDocument::LoadString(const QString &xml)
{
    Clear();
    m_fileName.clear();
    loadBytes(xml.toUtf8(), QStringLiteral("<string>"));
}

XmlDocument XmlDocument::FromString(const QString &xml)
{
    XmlDocument doc;
    doc.LoadString(xml);
    return doc;
}

void XmlDocument::loadBytes(const QByteArray &bytes, const QString &sourceName)
{
    if (!m_doc)
        m_doc = std::make_unique<pugi::xml_document>();

    // Convert UTF-16 ourselves so that the error offset pugixml reports is a byte offset into
    // the UTF-8 text whose lines we count.
    QByteArray text = bytes;
    pugi::xml_encoding encoding = pugi::encoding_auto;
    const auto startsWith = [&](const char *bom, int n) {
        return bytes.size() >= n && std::memcmp(bytes.constData(), bom, size_t(n)) == 0;
    };
    if (startsWith("\xEF\xBB\xBF", 3)) {
        text = bytes.mid(3);
        encoding = pugi::encoding_utf8;
    } else if (startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2)) {
        QStringDecoder decoder(bytes.at(0) == '\xFF' ? QStringConverter::Utf16LE
                                                     : QStringConverter::Utf16BE);
        const QString decoded = decoder(bytes.mid(2));
        text = decoded.toUtf8();
        encoding = pugi::encoding_utf8;
    }

    const pugi::xml_parse_result result =
        m_doc->load_buffer(text.constData(), size_t(text.size()), kParseOptions, encoding);
    if (!result) {
        m_doc->reset();
        int line = lineOfOffset(text, qsizetype(result.offset));
        if (result.encoding == pugi::encoding_latin1) {
            // pugixml reports the offset into its UTF-8 conversion of the buffer.
            line = lineOfOffset(QString::fromLatin1(text).toUtf8(), qsizetype(result.offset));
        }
        throw EXmlError(QStringLiteral("%1, line %2: %3")
                            .arg(sourceName)
                            .arg(line)
                            .arg(qstr(result.description())),
                        EXmlError::Kind::Parse);
    }
}

void XmlDocument::Clear()
{
    if (m_doc)
        m_doc->reset();
    else
        m_doc = std::make_unique<pugi::xml_document>();
}

bool XmlDocument::IsEmpty() const
{
    return !m_doc || !m_doc->first_child();
}

XmlNode XmlDocument::DocumentElement() const
{
    if (!m_doc)
        return {};
    return XmlNode(m_doc->document_element().internal_object());
}

XmlNode XmlDocument::Root() const
{
    if (!m_doc)
        return {};
    return XmlNode(m_doc->internal_object());
}

XmlNode XmlDocument::AppendElement(const QString &name)
{
    if (!m_doc)
        m_doc = std::make_unique<pugi::xml_document>();
    return Root().AppendElement(name);
}

XmlNode XmlDocument::AppendComment(const QString &text)
{
    if (!m_doc)
        m_doc = std::make_unique<pugi::xml_document>();
    return Root().AppendComment(text);
}

QByteArray XmlDocument::ToUtf8() const
{
    if (!m_doc)
        return {};
    ByteArrayWriter writer;
    m_doc->save(writer, kIndent, kFormatOptions, pugi::encoding_utf8);
    return writer.data;
}

QString XmlDocument::ToString() const
{
    return QString::fromUtf8(ToUtf8());
}

void XmlDocument::Save(const QString &path) const
{
    QString error;
    if (!WriteFileAtomic(path, ToUtf8(), &error))
        throw EXmlError(error, EXmlError::Kind::Io);
    m_fileName = path;
}

} // namespace plat
