#include "platform/xml/XmlDocument.h"

#include "platform/os/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

// Keep every node kind so callers can walk the document as written.
// A value made only of blanks (a password of spaces) is data: keep it.
// Fragment mode keeps what stands beside the root, so that it is reported, not dropped.
constexpr unsigned kParseOptions =
    pugi::parse_full | pugi::parse_ws_pcdata_single | pugi::parse_fragment;
// Deeper levels keep this indentation: one tab per level would make the output grow with the
// square of the depth.
constexpr unsigned kMaxIndentDepth = 64;

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

QString qstr(const char *s)
{
    // QString::fromUtf8 would drop a leading U+FEFF as a byte-order mark; in a value it is data.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder(QByteArrayView(s));
}

pugi::xml_node wrap(pugi::xml_node_struct *n)
{
    return pugi::xml_node(n);
}

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

// Writes the document as pugixml's indented output does (the layout earlier files have), except
// that it never writes a declaration (readers take the first node as the root, and a loaded one
// could name an encoding other than the UTF-8 written), keeps CR in text as a reference (the
// parser turns a raw one into LF) and caps the indentation. Iterative: documents may be deep.
class Serializer
{
public:
    QByteArray out;

    void document(const pugi::xml_node &doc)
    {
        enum { Newline = 1, Indent = 2 };
        unsigned flags = Indent;
        unsigned depth = 0;
        const pugi::xml_node root = doc;
        pugi::xml_node node = doc;
        do {
            const pugi::xml_node_type type = node.type();
            if (type == pugi::node_declaration) {
                // skipped as if absent
            } else if (type == pugi::node_pcdata || type == pugi::node_cdata) {
                simple(node);
                flags = 0; // mixed content: no layout inside it
            } else {
                if (flags & Newline)
                    out.append('\n');
                if (flags & Indent)
                    indent(depth);
                if (type == pugi::node_element) {
                    flags = Newline | Indent;
                    if (elementStart(node)) {
                        node = node.first_child();
                        ++depth;
                        continue;
                    }
                } else if (type == pugi::node_document) {
                    flags = Indent;
                    if (node.first_child()) {
                        node = node.first_child();
                        continue;
                    }
                } else {
                    simple(node);
                    flags = Newline | Indent;
                }
            }
            while (node != root) {
                if (node.next_sibling()) {
                    node = node.next_sibling();
                    break;
                }
                node = node.parent();
                if (node.type() == pugi::node_element) {
                    --depth;
                    if (flags & Newline)
                        out.append('\n');
                    if (flags & Indent)
                        indent(depth);
                    out.append("</").append(nameOf(node)).append('>');
                    flags = Newline | Indent;
                }
            }
        } while (node != root);
        if (flags & Newline)
            out.append('\n');
    }

private:
    static const char *nameOf(const pugi::xml_node &n)
    {
        return *n.name() ? n.name() : ":anonymous";
    }

    void indent(unsigned depth) { out.append(qsizetype(std::min(depth, kMaxIndentDepth)), '\t'); }

    // Markup characters as entities, control characters as two-digit references.
    void escaped(const char *s, bool attribute)
    {
        for (; *s; ++s) {
            const auto c = static_cast<unsigned char>(*s);
            switch (c) {
            case '&':
                out.append("&amp;");
                break;
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append(attribute ? ">" : "&gt;");
                break;
            case '"':
                out.append(attribute ? "&quot;" : "\"");
                break;
            case '\t':
            case '\n':
                // Kept in text; the parser folds them to blanks in attribute values.
                if (!attribute) {
                    out.append(char(c));
                    break;
                }
                [[fallthrough]];
            default:
                if (c < 32) {
                    const char ref[] = {'&', '#', char('0' + c / 10), char('0' + c % 10), ';'};
                    out.append(ref, sizeof ref);
                } else {
                    out.append(char(c));
                }
            }
        }
    }

    bool elementStart(const pugi::xml_node &n)
    {
        out.append('<').append(nameOf(n));
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            out.append(' ').append(*a.name() ? a.name() : ":anonymous").append("=\"");
            escaped(a.value(), true);
            out.append('"');
        }
        if (!n.first_child()) {
            out.append(" />");
            return false;
        }
        out.append('>');
        return true;
    }

    void simple(const pugi::xml_node &n)
    {
        const char *v = n.value();
        switch (n.type()) {
        case pugi::node_pcdata:
            // The parser drops text of blanks only beside other nodes as layout; one reference
            // keeps it.
            if (*v && (n.previous_sibling() || n.next_sibling()) &&
                std::strspn(v, " \t\n") == std::strlen(v)) {
                const char ref[] = {'&', '#', char('0' + *v / 10), char('0' + *v % 10), ';'};
                out.append(ref, sizeof ref);
                ++v;
            }
            escaped(v, false);
            break;
        case pugi::node_cdata:
            // "]]>" would end the section: split it between two sections.
            do {
                out.append("<![CDATA[");
                const char *start = v;
                while (*v && !(v[0] == ']' && v[1] == ']' && v[2] == '>'))
                    ++v;
                if (*v)
                    v += 2;
                out.append(start, qsizetype(v - start)).append("]]>");
            } while (*v);
            break;
        case pugi::node_comment:
            // "--" may not stand in a comment, nor "-" at its end.
            out.append("<!--");
            for (; *v; ++v) {
                out.append(*v);
                if (*v == '-' && (v[1] == '-' || v[1] == 0))
                    out.append(' ');
            }
            out.append("-->");
            break;
        case pugi::node_pi:
            out.append("<?").append(nameOf(n));
            if (*v) {
                out.append(' ');
                for (; *v; ++v) {
                    out.append(*v);
                    if (v[0] == '?' && v[1] == '>')
                        out.append(' ');
                }
            }
            out.append("?>");
            break;
        case pugi::node_doctype:
            out.append("<!DOCTYPE");
            if (*v)
                out.append(' ').append(v);
            out.append('>');
            break;
        default:
            break;
        }
    }
};

// A fault found in the text after pugixml accepted it: where (a byte offset into the text the
// line is counted in) and why. pugixml is lenient where XML is not, and what it lets through it
// repairs silently; such a file must be reported like any other that does not parse.
struct TextFault
{
    qsizetype offset = -1;
    const char *reason = nullptr;

    explicit operator bool() const { return reason != nullptr; }
};

// The reference starting at text[i] == '&': the offset after it, or -1 with the reason. pugixml
// leaves a reference it does not know as literal text, ends a value at a reference to U+0000 and
// writes a code point beyond Unicode (or one whose digits overflow) as bytes no decoder takes.
qsizetype checkReference(const QByteArray &text, qsizetype i, const char *&reason)
{
    const qsizetype n = text.size();
    qsizetype j = i + 1;
    if (j < n && text.at(j) == '#') {
        ++j;
        const bool hex = j < n && text.at(j) == 'x';
        if (hex)
            ++j;
        const qsizetype digits = j;
        uint32_t value = 0;
        for (; j < n; ++j) {
            const char c = text.at(j);
            int d = -1;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            if (d < 0)
                break;
            // Saturates above the last code point, so no digit count wraps around.
            value = std::min<uint32_t>(value * (hex ? 16 : 10) + uint32_t(d), 0x110000);
        }
        if (j == digits || j >= n || text.at(j) != ';') {
            reason = "Malformed character reference";
            return -1;
        }
        if (value == 0) {
            reason = "Character reference to U+0000 is not allowed";
            return -1;
        }
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            reason = "Character reference outside Unicode";
            return -1;
        }
        return j + 1;
    }
    for (const char *name : {"amp;", "lt;", "gt;", "quot;", "apos;"}) {
        if (QByteArrayView(text).sliced(j).startsWith(name))
            return j + qsizetype(std::strlen(name));
    }
    reason = "Unknown entity or '&' not starting a reference";
    return -1;
}

// The first faulty reference in text or attribute values; text is the document as UTF-8,
// doctypes the texts of its doctype nodes in order. Comments, CDATA sections, processing
// instructions and the doctype hold no references; in a tag only the quoted values do.
TextFault referenceFault(const QByteArray &text, const std::vector<QByteArray> &doctypes)
{
    if (!text.contains('&'))
        return {};
    const qsizetype n = text.size();
    const auto skipPast = [&](qsizetype from, const char *end) {
        const qsizetype j = text.indexOf(end, from);
        return j < 0 ? n : j + qsizetype(std::strlen(end));
    };
    const auto faultIn = [&](qsizetype from, qsizetype to) -> TextFault {
        for (qsizetype i = text.indexOf('&', from); i >= 0 && i < to; i = text.indexOf('&', i)) {
            const char *reason = nullptr;
            const qsizetype end = checkReference(text, i, reason);
            if (end < 0)
                return {i, reason};
            i = end;
        }
        return {};
    };
    size_t nextDoctype = 0;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype open = text.indexOf('<', i);
        const qsizetype contentEnd = open < 0 ? n : open;
        if (const TextFault f = faultIn(i, contentEnd))
            return f;
        if (open < 0)
            break;
        const QByteArrayView rest = QByteArrayView(text).sliced(open);
        if (rest.startsWith("<!--")) {
            i = skipPast(open + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            i = skipPast(open + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            i = skipPast(open + 2, "?>");
        } else if (rest.startsWith("<!DOCTYPE")) {
            // pugixml keeps the doctype's text as it stands, after the blanks that follow the
            // keyword and up to the closing '>'.
            i = open + 9;
            while (i < n && std::strchr(" \t\r\n", text.at(i)) && text.at(i) != 0)
                ++i;
            if (nextDoctype >= doctypes.size() ||
                !QByteArrayView(text).sliced(i).startsWith(doctypes[nextDoctype]))
                return {}; // not the doctype the parser read: nothing reliable to scan
            i = skipPast(i + doctypes[nextDoctype++].size(), ">");
        } else {
            // A tag: up to its '>' outside quotes.
            for (i = open + 1; i < n && text.at(i) != '>'; ++i) {
                const char c = text.at(i);
                if (c != '"' && c != '\'')
                    continue;
                const qsizetype close = text.indexOf(c, i + 1);
                const qsizetype valueEnd = close < 0 ? n : close;
                if (const TextFault f = faultIn(i + 1, valueEnd))
                    return f;
                i = valueEnd;
            }
            ++i;
        }
    }
    return {};
}

// The first byte of text that is not part of well-formed UTF-8 (overlong forms, surrogates and
// code points beyond U+10FFFF included), or a NUL, which would end a pugixml string early.
qsizetype invalidUtf8Offset(const QByteArray &text)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text.constData());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c >= 0x01 && c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4, cp = c & 0x07, min = 0x10000;
        } else {
            return i; // NUL, a continuation byte, 0xC0, 0xC1 or 0xF5 and above
        }
        if (i + len > n)
            return i;
        for (int k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += len;
    }
    return -1;
}

// The same for UTF-16 or UTF-32 bytes: the index of the first unit that is no character (an
// unpaired surrogate, a NUL, a value beyond U+10FFFF, a unit cut short), or -1; lines counts
// the line ends before it.
qsizetype invalidWideOffset(const QByteArray &bytes, int unit, bool le, int &lines)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    const auto at = [&](qsizetype i) -> uint32_t {
        uint32_t v = 0;
        for (int k = 0; k < unit; ++k)
            v |= uint32_t(s[i + k]) << (8 * (le ? k : unit - 1 - k));
        return v;
    };
    lines = 1;
    bool cr = false;
    for (qsizetype i = 0; i < n; i += unit) {
        if (i + unit > n)
            return i;
        uint32_t v = at(i);
        if (v == '\n' && !cr)
            ++lines;
        cr = v == '\r';
        if (cr)
            ++lines;
        if (v == 0 || v > 0x10FFFF || (v >= 0xDC00 && v <= 0xDFFF))
            return i;
        if (v >= 0xD800 && v <= 0xDBFF) {
            if (unit != 2 || i + 4 > n)
                return i;
            const uint32_t low = at(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return i;
            i += 2;
        }
    }
    return -1;
}

// What XML asks of the tree and pugixml does not check: exactly one element at the top (the
// parser runs in fragment mode, so a second root or text beside the root is not dropped
// unseen) and no attribute twice in an element (a reader would see only the first).
TextFault treeFault(pugi::xml_document &doc)
{
    const auto faultAt = [](const pugi::xml_node &n, const char *reason) {
        return TextFault{qsizetype(std::max<ptrdiff_t>(n.offset_debug(), 0)), reason};
    };
    int elements = 0;
    for (pugi::xml_node c = doc.first_child(); c;) {
        const pugi::xml_node next = c.next_sibling();
        switch (c.type()) {
        case pugi::node_element:
            if (++elements > 1)
                return faultAt(c, "More than one root element");
            break;
        case pugi::node_pcdata: {
            // Blanks between top-level nodes are layout, as outside fragment mode.
            const size_t blanks = std::strspn(c.value(), " \t\r\n");
            if (blanks != std::strlen(c.value())) {
                TextFault f = faultAt(c, "Text outside the root element");
                f.offset += qsizetype(blanks);
                return f;
            }
            doc.remove_child(c);
            break;
        }
        case pugi::node_cdata:
            return faultAt(c, "Text outside the root element");
        default:
            break;
        }
        c = next;
    }
    if (elements == 0)
        return {0, "No document element found"};

    std::vector<const char *> names;
    std::vector<pugi::xml_node> todo{doc.document_element()};
    while (!todo.empty()) {
        const pugi::xml_node e = todo.back();
        todo.pop_back();
        names.clear();
        for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute())
            names.push_back(a.name());
        std::sort(names.begin(), names.end(),
                  [](const char *x, const char *y) { return std::strcmp(x, y) < 0; });
        for (size_t k = 1; k < names.size(); ++k)
            if (std::strcmp(names[k - 1], names[k]) == 0)
                return faultAt(e, "Attribute given twice in one element");
        for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling())
            if (c.type() == pugi::node_element)
                todo.push_back(c);
    }
    return {};
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

void XmlDocument::LoadBytes(const QByteArray &bytes, const QString &sourceName)
{
    Clear();
    m_fileName.clear();
    loadBytes(bytes, sourceName);
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

    const auto fail = [&](int line, const QString &reason) {
        m_doc->reset();
        throw EXmlError(QStringLiteral("%1, line %2: %3").arg(sourceName).arg(line).arg(reason),
                        EXmlError::Kind::Parse);
    };
    const QString notUtf8 =
        QStringLiteral("Byte sequence not valid in UTF-8 (no declaration names another encoding)");

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
        const bool le = bytes.at(0) == '\xFF';
        int line = 1;
        if (invalidWideOffset(bytes.mid(2), 2, le, line) >= 0)
            fail(line, QStringLiteral("Byte sequence not valid in UTF-16"));
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString decoded = decoder(bytes.mid(2));
        text = decoded.toUtf8();
        encoding = pugi::encoding_utf8;
    }

    const pugi::xml_parse_result result =
        m_doc->load_buffer(text.constData(), size_t(text.size()), kParseOptions, encoding);
    if (!result) {
        int line = lineOfOffset(text, qsizetype(result.offset));
        if (result.encoding == pugi::encoding_latin1) {
            // pugixml reports the offset into its UTF-8 conversion of the buffer.
            line = lineOfOffset(QString::fromLatin1(text).toUtf8(), qsizetype(result.offset));
        }
        fail(line, qstr(result.description()));
    }

    // Bytes the encoding does not allow would come back as U+FFFD: the file is not what it
    // claims to be. Look for the references in the text as pugixml decoded it.
    QByteArray decoded = text;
    switch (result.encoding) {
    case pugi::encoding_utf16_le:
    case pugi::encoding_utf16_be:
    case pugi::encoding_utf32_le:
    case pugi::encoding_utf32_be: {
        const bool le = result.encoding == pugi::encoding_utf16_le ||
                        result.encoding == pugi::encoding_utf32_le;
        const bool wide = result.encoding == pugi::encoding_utf32_le ||
                          result.encoding == pugi::encoding_utf32_be;
        int line = 1;
        if (invalidWideOffset(text, wide ? 4 : 2, le, line) >= 0)
            fail(line, wide ? QStringLiteral("Byte sequence not valid in UTF-32")
                            : QStringLiteral("Byte sequence not valid in UTF-16"));
        QStringDecoder decoder(wide ? (le ? QStringConverter::Utf32LE : QStringConverter::Utf32BE)
                                    : (le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE));
        decoded = QString(decoder(text)).toUtf8();
        break;
    }
    case pugi::encoding_latin1:
        decoded = QString::fromLatin1(text).toUtf8();
        break;
    default:
        if (const qsizetype bad = invalidUtf8Offset(text); bad >= 0)
            fail(lineOfOffset(text, bad),
                 text.at(bad) == 0 ? QStringLiteral("NUL character not allowed") : notUtf8);
        break;
    }
    std::vector<QByteArray> doctypes;
    for (pugi::xml_node c = m_doc->first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_doctype)
            doctypes.emplace_back(c.value());
    if (const TextFault f = referenceFault(decoded, doctypes))
        fail(lineOfOffset(decoded, f.offset), QString::fromLatin1(f.reason));
    // pugixml's offsets are into its UTF-8 copy of the text, which is the decoded text.
    if (const TextFault f = treeFault(*m_doc))
        fail(lineOfOffset(decoded, f.offset), QString::fromLatin1(f.reason));
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
    Serializer serializer;
    serializer.document(*m_doc);
    return serializer.out;
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
