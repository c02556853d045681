// What a loaded document must show of a well-formed file, for the harnesses whose readers go
// through the XML layer: a file the layer accepts was not repaired on the way in.
#pragma once

#include "FuzzSupport.h"

#include "platform/xml/XmlDocument.h"

#include <QSet>

#include <vector>

namespace fuzz {

// U+FFFD in a value that the input did not write (as UTF-8, UTF-16 or a reference) stands for
// bytes the decoder could not take.
inline bool inputMayHoldReplacementChar(const QByteArray &input)
{
    const QByteArray lower = input.toLower();
    return input.contains("\xEF\xBF\xBD") || input.contains("\xFD\xFF") ||
           input.contains("\xFF\xFD") || lower.contains("fffd") || lower.contains("65533");
}

inline void checkWellFormedTree(const plat::XmlDocument &doc, const QByteArray &input)
{
    // One element at the top: a second root would be invisible to every reader.
    int elements = 0;
    for (const plat::XmlNode &n : doc.Children())
        elements += n.IsElement() ? 1 : 0;
    FUZZ_CHECK(elements == 1);

    const bool replacementAllowed = inputMayHoldReplacementChar(input);
    const QChar replacement(0xFFFD);
    std::vector<plat::XmlNode> todo{doc.Root()};
    while (!todo.empty()) {
        const plat::XmlNode n = todo.back();
        todo.pop_back();
        // An attribute twice: readers would see only the first.
        QSet<QString> names;
        for (const plat::XmlAttribute &a : n.Attributes()) {
            FUZZ_CHECK(!names.contains(a.name));
            names.insert(a.name);
            FUZZ_CHECK(replacementAllowed || !a.value.contains(replacement));
        }
        if (!n.IsElement() && n.Kind() != plat::XmlNodeKind::Document)
            FUZZ_CHECK(replacementAllowed || !n.Text().contains(replacement));
        for (const plat::XmlNode &c : n.Children())
            todo.push_back(c);
    }
}

} // namespace fuzz
