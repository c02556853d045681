// XML layer: any bytes load or fail with EXmlError; a loaded document is what a well-formed file
// gives (one root, no attribute twice, no character made up for bytes the encoding does not
// allow); it saves, and the saved text loads back to the same tree (the declaration aside) and
// saves to the same bytes. Where no declaration, CR or blank text beside elements, nor deep nesting
// is involved, the bytes equal pugixml's own indented output, the layout of files written before.
#include "FuzzSupport.h"
#include "XmlChecks.h"

#include "platform/xml/XmlDocument.h"

#include <pugixml.hpp>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

using plat::EXmlError;
using plat::XmlDocument;
using plat::XmlNode;
using plat::XmlNodeKind;

namespace {

std::vector<XmlNode> keptChildren(const XmlNode &n, bool original)
{
    std::vector<XmlNode> kept;
    for (const XmlNode &c : n.Children()) {
        if (original && c.Kind() == XmlNodeKind::Declaration)
            continue;
        kept.push_back(c);
    }
    return kept;
}

void compareTrees(const XmlDocument &original, const XmlDocument &reloaded)
{
    std::vector<std::pair<XmlNode, XmlNode>> todo{{original.Root(), reloaded.Root()}};
    while (!todo.empty()) {
        const auto [a, b] = todo.back();
        todo.pop_back();
        FUZZ_CHECK(a.Kind() == b.Kind());
        FUZZ_CHECK(a.Name() == b.Name());
        // Comments are written with "--" split up; every other value must come back as it was.
        if (a.Kind() != XmlNodeKind::Comment && a.Kind() != XmlNodeKind::Element)
            FUZZ_CHECK(a.Text() == b.Text());
        const auto attrsA = a.Attributes();
        const auto attrsB = b.Attributes();
        FUZZ_CHECK(attrsA.size() == attrsB.size());
        for (size_t i = 0; i < attrsA.size(); ++i) {
            FUZZ_CHECK(attrsA[i].name == attrsB[i].name);
            FUZZ_CHECK(attrsA[i].value == attrsB[i].value);
        }
        const std::vector<XmlNode> ca = keptChildren(a, true);
        const std::vector<XmlNode> cb = keptChildren(b, false);
        FUZZ_CHECK(ca.size() == cb.size());
        for (size_t i = 0; i < ca.size(); ++i)
            todo.emplace_back(ca[i], cb[i]);
    }
}

// pugixml's own output of the text, when its layout is the one ours must keep.
std::optional<QByteArray> pugixmlLayout(const QByteArray &text)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(text.constData(), size_t(text.size()),
                         pugi::parse_full | pugi::parse_ws_pcdata_single, pugi::encoding_utf8))
        return std::nullopt;
    std::vector<std::pair<pugi::xml_node, unsigned>> todo{{doc, 0}};
    while (!todo.empty()) {
        const auto [n, depth] = todo.back();
        todo.pop_back();
        switch (n.type()) {
        case pugi::node_declaration:
        case pugi::node_pi:
        case pugi::node_doctype:
            return std::nullopt;
        case pugi::node_pcdata:
            if (std::strchr(n.value(), '\r'))
                return std::nullopt;
            // Blanks beside other nodes: ours keeps them with a reference.
            if ((n.previous_sibling() || n.next_sibling()) &&
                std::strspn(n.value(), " \t\n") == std::strlen(n.value()))
                return std::nullopt;
            break;
        default:
            break;
        }
        if (depth > 60)
            return std::nullopt;
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
            todo.emplace_back(c, depth + 1);
    }
    struct Writer : pugi::xml_writer
    {
        QByteArray out;
        void write(const void *data, size_t size) override
        {
            out.append(static_cast<const char *>(data), qsizetype(size));
        }
    } writer;
    doc.save(writer, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    XmlDocument doc;
    try {
        doc.LoadBytes(bytes);
    } catch (const EXmlError &e) {
        FUZZ_CHECK(e.kind() == EXmlError::Kind::Parse);
        FUZZ_CHECK(doc.IsEmpty());
        return 0;
    }
    (void)doc.DocumentElement().Text();
    fuzz::checkWellFormedTree(doc, bytes);

    const QByteArray saved = doc.ToUtf8();
    XmlDocument back;
    try {
        back.LoadBytes(saved);
    } catch (const EXmlError &e) {
        std::fprintf(stderr, "saved text does not load: %s\n", e.what());
        FUZZ_CHECK(false);
    }
    compareTrees(doc, back);
    FUZZ_CHECK(back.ToUtf8() == saved);

    if (const std::optional<QByteArray> theirs = pugixmlLayout(saved))
        FUZZ_CHECK(*theirs == saved);
    return 0;
}
