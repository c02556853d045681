// Reading the grid's mini-HTML cell markup: the preparation of a text (entities, footer
// placeholders, line breaks), text runs and tags one after another, the recognition of a tag
// by its first letters, attribute values and colour values. No drawing here: the layout engine
// (grid/display/QrlHTMLEngine) and the form-control routines build on it.
//
// Every routine is linear in the length of what it reads, so pasted or loaded cell texts of any
// shape stay cheap: no step looks back, and a tag is read only within its own brackets.
#pragma once

#include "platform/ui/Colors.h"

#include <QString>
#include <QStringView>

// Entities of the whole text ("&amp;" becomes "&&", the accelerator escape of the text drawing;
// "&quot;", "&sect;", "&permil;", "&reg;", "&copy;", "&para;", "&trade;", "&euro;" their
// characters; any letter case), "<#name>" footer placeholders to "#name", carriage returns to
// "<BR>", line feeds removed. One pass: a decoded character never starts another entity.
QString PrepareHTMLMarkup(const QString &Text);

// A text run as shown: "&nbsp;" becomes a non-breaking blank (U+00A0), "&lt;" and "&gt;" the
// brackets (lower case only).
QString DecodeHTMLRun(QStringView Run);

enum class THTMLTag {
    None, // a tag with another letter: removed without effect
    A,
    B,
    BR,
    Blink,
    Body,
    Control,
    E,
    Font,
    Hi,
    HR,
    I,
    Img,
    Ind,
    LI,
    P,
    R,
    S,
    Shad,
    Sub, // opening "<SUB>"; closing: the end of sub- and superscript
    Sup,
    U,
    UL,
    Z,
};

struct THTMLTagKind
{
    THTMLTag tag = THTMLTag::None;
    bool closing = false;
    bool operator==(const THTMLTagKind &) const = default;
};

// The tag of Tag (from "<" to ">" inclusive), by its letter and, for some, the one after it.
THTMLTagKind ClassifyHTMLTag(QStringView Tag);

// One step through a prepared text.
struct THTMLToken
{
    enum class Kind { Text, Tag, End };
    Kind kind = Kind::End;
    qsizetype begin = 0; // the token's source [begin, end)
    qsizetype end = 0;
};

// The token at Pos: a text run up to the next "<" (with WordWrap only up to and including the
// next blank when that comes first), or a tag up to its ">". A "<" that starts the last one or
// two characters, or a tag without ">", drops the rest of the text: the token is End and
// reaches the text's end.
THTMLToken NextHTMLToken(QStringView Text, qsizetype Pos, bool WordWrap);

// The value of attribute Name in Tag: Name is searched from From on in any letter case, the
// first occurrence counts, and the value is the text between the first two double quotes after
// it. Upper: the value comes upper-cased. False (and Value empty) when the name or the two
// quotes are missing: unquoted values are not read.
bool HTMLTagAttribute(QStringView Tag, QStringView Name, QString &Value, bool Upper,
                      qsizetype From = 1);
QString HTMLTagAttribute(QStringView Tag, QStringView Name, bool Upper = false);

// "#RRGGBB" (either case; red first) to 0x00BBGGRR; digits that are not hexadecimal count 0.
TColor HTMLHexColor(QStringView Value);
// A colour name with the "cl" prefix, any case: the sixteen fixed colours first, then the system
// colours; an unknown name gives black (0).
TColor HTMLColorName(QStringView Name);
// A COLOR or BGCOLOR value of FONT and P: "#" and hexadecimal digits, else a name.
TColor HTMLColorValue(QStringView Value);
// A BGCOLOR value of BODY: a name when it holds "CL", a hexadecimal colour when it holds "#",
// else none (clNone).
TColor HTMLBodyColorValue(QStringView Value);

// A decimal number attribute; Fallback when the value is not a number.
int HTMLNumber(QStringView Value, int Fallback = 0, bool *Ok = nullptr);
