// XML document model used for every XML file the configurator reads or writes.
//
// A thin layer over pugixml: it keeps attribute order (the table files rely on it), walks all
// node kinds in document order and reports missing elements and attributes as EXmlError so a
// reader can catch them and fall back to its default. Texts are QString at this interface and
// UTF-8 inside the document.
#pragma once

#include <QString>

#include <memory>
#include <stdexcept>
#include <vector>

namespace pugi {
class xml_document;
struct xml_node_struct;
} // namespace pugi

namespace plat {

class EXmlError : public std::runtime_error
{
public:
    enum class Kind {
        General,
        FileNotFound,     // the file to load does not exist
        Parse,            // the file or string is not well-formed XML
        Io,               // reading or writing the file failed
        MissingElement,   // Child()/ChildElementOrThrow() found no such element
        MissingAttribute, // Attribute() found no such attribute
        InvalidNode,      // an operation on a null node or a node of the wrong kind
    };

    explicit EXmlError(const QString &message, Kind kind = Kind::General);

    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
};

enum class XmlNodeKind {
    Null, // the handle points nowhere
    Document,
    Element,
    Text,
    CData,
    Comment,
    ProcessingInstruction,
    Declaration,
    Doctype,
};

struct XmlAttribute
{
    QString name;
    QString value;
};

// Light handle to a node inside an XmlDocument; copying it copies the handle, not the node.
// A handle stays valid while its node is in the document (not after Clear() or removal).
// A default-constructed handle is null; reading from a null handle gives empty results,
// writing to it throws EXmlError(InvalidNode).
class XmlNode
{
public:
    XmlNode() = default;

    bool IsNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }
    bool operator==(const XmlNode &other) const { return m_node == other.m_node; }

    XmlNodeKind Kind() const;
    bool IsElement() const { return Kind() == XmlNodeKind::Element; }
    bool IsComment() const { return Kind() == XmlNodeKind::Comment; }

    // Element name (or target of a processing instruction); empty for other kinds.
    QString Name() const;

    // Element: its text content (the first text or CDATA child, empty when there is none).
    // Text, CDATA, comment, processing instruction: the node's own value.
    QString Text() const;
    // Element: replaces its text content (adds a text child when it has none).
    // Text, CDATA, comment: replaces the node's value.
    void SetText(const QString &text);

    // Navigation; all node kinds, in document order.
    XmlNode Parent() const;
    XmlNode FirstChild() const;
    XmlNode NextSibling() const;
    XmlNode PreviousSibling() const;
    std::vector<XmlNode> Children() const;

    // Child elements only (all, or those with the given name), in document order.
    std::vector<XmlNode> ChildElements() const;
    std::vector<XmlNode> ChildElements(const QString &name) const;
    // Next element sibling (with the given name when one is given); null when none.
    XmlNode NextSiblingElement() const;
    XmlNode NextSiblingElement(const QString &name) const;

    // First child element with this name; null node when absent.
    XmlNode ChildElement(const QString &name) const;
    // As ChildElement, but throws EXmlError(MissingElement) "XML element 'name' missing in
    // 'parent'".
    XmlNode ChildElementOrThrow(const QString &name) const;
    XmlNode Child(const QString &name) const { return ChildElementOrThrow(name); }

    // Attributes (elements only; other kinds have none).
    bool HasAttribute(const QString &name) const;
    // Throws EXmlError(MissingAttribute) "Attribute 'name' missing in element 'elem'".
    QString Attribute(const QString &name) const;
    // Same, for table rows: "Attribute 'name' missing in row <row>".
    QString Attribute(const QString &name, int row) const;
    QString AttributeOr(const QString &name, const QString &defaultValue) const;
    // Replaces the value in place when the attribute exists, else appends it as the last one.
    void SetAttribute(const QString &name, const QString &value);
    void SetAttribute(const QString &name, int value);
    bool RemoveAttribute(const QString &name);
    // In document order.
    std::vector<XmlAttribute> Attributes() const;

    // Building; the new node is appended as the last child and returned.
    XmlNode AppendElement(const QString &name);
    XmlNode AppendComment(const QString &text);
    XmlNode AppendText(const QString &text);
    bool RemoveChild(const XmlNode &child);

private:
    friend class XmlDocument;
    explicit XmlNode(pugi::xml_node_struct *node) : m_node(node) {}

    pugi::xml_node_struct *m_node = nullptr;
};

class XmlDocument
{
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(XmlDocument &&other) noexcept;
    XmlDocument &operator=(XmlDocument &&other) noexcept;
    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;

    // Replaces the content with the file's. Throws EXmlError: FileNotFound when the file does not
    // exist, Io when it cannot be read, Parse with "<file>, line <n>: <reason>" when it is not
    // well-formed: besides what the parser refuses, no root element or more than one, text
    // beside the root, an attribute given twice in one element, a '&' that starts no valid
    // reference (a reference to U+0000 or beyond Unicode, an unknown entity), and bytes that are
    // not valid in the file's encoding. Nothing of such a file is taken in part. A byte-order
    // mark (UTF-8, UTF-16 LE/BE) is honoured; otherwise UTF-8 is assumed unless an XML
    // declaration names another encoding (only Latin-1 is known besides the Unicode ones).
    // The content is empty after a failure.
    void LoadFile(const QString &path);
    // As LoadFile, for XML text; parse errors name "<string>" instead of a file.
    void LoadString(const QString &xml);
    // As LoadFile, for a file's bytes held in memory; parse errors name sourceName.
    void LoadBytes(const QByteArray &bytes, const QString &sourceName = QStringLiteral("<bytes>"));
    static XmlDocument FromString(const QString &xml);

    // Empties the document (all nodes, document-level comments included).
    void Clear();
    bool IsEmpty() const;

    // The document element: the first ELEMENT at document level, even when a declaration,
    // comment or processing instruction stands before it. Null when there is none.
    XmlNode DocumentElement() const;
    // The document node itself, for walking the top level.
    XmlNode Root() const;
    XmlNode FirstChild() const { return Root().FirstChild(); }
    std::vector<XmlNode> Children() const { return Root().Children(); }

    // Document-level building, appended after what is already there.
    XmlNode AppendElement(const QString &name);
    XmlNode AppendComment(const QString &text);

    // Writes UTF-8 without byte-order mark and without XML declaration (readers take the first
    // node as the root; a loaded declaration is left out too), indented by one tab per level up
    // to 64 levels, replacing the file atomically. A CR in text or attribute values is written as
    // the reference "&#13;" so that it reads back as written.
    // Throws EXmlError(Io) naming the file when it cannot be written; the old file stays whole.
    void Save(const QString &path) const;
    // The text Save would write.
    QString ToString() const;
    QByteArray ToUtf8() const;

    // Path of the last LoadFile/Save, for messages.
    QString FileName() const { return m_fileName; }

private:
    void loadBytes(const QByteArray &bytes, const QString &sourceName);

    std::unique_ptr<pugi::xml_document> m_doc;
    mutable QString m_fileName;
};

} // namespace plat
