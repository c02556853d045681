// String routines around the grid's mini-HTML cell markup that need no painting: entity coding,
// tag stripping, the form controls ("<CONTROL ...>" tags) of a cell text, search marks, and the
// two unit-wide colours of highlighted text.
//
// The model uses these itself and the display and editing build on them, so they live here.
// Every routine is linear in the length of its input, so hostile cell texts stay cheap.
#pragma once

#include "platform/ui/Colors.h"

#include <QString>

// --- Highlight colours ------------------------------------------------------------------------

// Background and text colour of "<hi>" text; both 0 until set.
void SetHTMLHighlightColors(TColor Background, TColor Text);
TColor HTMLHighlightColor();
TColor HTMLHighlightTextColor();

// --- Entities and tags ------------------------------------------------------------------------

// "&lt;", "&gt;", "&amp;" and "&quot;" (exact spelling), with All also the 51 named accented
// letters and signs, each to its character. One left-to-right pass: a decoded "&" never starts
// another entity, so Decode(Encode(t)) == t.
QString DecodeHTMLEntities(const QString &Text, bool All);
// "&", '"', "<", ">" to their entities, with All also the characters of the named table, in
// one pass: DecodeHTMLEntities(EncodeHTMLEntities(t, All), All) == t for every text.
QString EncodeHTMLEntities(const QString &Text, bool All);
// Every blank to "&nbsp;".
QString EncodeHTMLSpaces(const QString &Text);
// "<BR>" and "<HR>" (any case) to CR LF, then every tag from "<" to the next ">" removed. A "<"
// without a later ">" is kept with the rest of the text.
QString StripHTMLTags(const QString &Text);

// --- Form controls ----------------------------------------------------------------------------
// Controls are found by "<CONTROL " (any case) and end at the next ">"; one without ">" is no
// control, as the painter drops it too. IDs compare exactly.

// Reads the attributes of one control tag. Names match whole attribute names (any case) outside
// quoted values; a value is the double-quoted text after "NAME=", a missing closing quote takes
// the rest of the tag. Type is upper-cased, Value and Prop are decoded with the whole table, the
// others come as written; absent or unquoted attributes give empty strings.
void ParseHTMLControlTag(const QString &Tag,
                         QString &Type,
                         QString &ID,
                         QString &MaxLen,
                         QString &Prop,
                         QString &Height,
                         QString &Width,
                         QString &Value);
// True when the text contains "<CONTROL" in any case.
bool HasHTMLControl(const QString &Text);
// ID of the first edit-like control (not BUTTON, CHECK or RADIO) after the control with ID, or
// from the start when ID is empty; empty when there is none or ID is unknown.
QString NextHTMLEditControl(const QString &Text, const QString &ID);
// Every RADIO control rewritten with VALUE "FALSE".
QString ClearHTMLRadioControls(const QString &Text);
// Decoded VALUE of the first control with ID; false (and Value empty) when there is none.
bool GetHTMLControlValue(const QString &Text, const QString &ID, QString &Value);
// Decoded PROP of the first control with ID; empty when there is none.
QString GetHTMLControlProp(const QString &Text, const QString &ID);
// MAXLEN of the first control with ID; 0 when absent, not a non-negative number, or not found.
int GetHTMLControlMaxLen(const QString &Text, const QString &ID);
// Rewrites the first control with ID in the normal attribute order with the encoded Value,
// keeping its type, width, property, maximal length and height. False leaves Text unchanged.
bool SetHTMLControlValue(QString &Text, const QString &ID, const QString &Value);
// One "*" per UTF-16 unit, so positions in the mask match the text.
QString HTMLPasswordMask(const QString &Text);

// --- Search marks -----------------------------------------------------------------------------

// Wraps every match of HiText in the visible text (tags left out) in "<Tag>" ... "</Tag>",
// matching letter case only with DoCase. Tags go in before the first matched visible character
// and before the first visible character after the match, so existing tags keep their place.
// When there is a match and the visible text holds a stray "<" or ">", the text is first
// replaced by its visible text with those escaped as "&lt;" / "&gt;" (its tags are dropped), and
// HiText is escaped likewise. No match or an empty HiText returns Text unchanged.
QString
MarkHTMLMatches(const QString &Text, const QString &HiText, const QString &Tag, bool DoCase);
// Removes every "<Tag>" and "</Tag>" (any case), then turns "&lt;" and "&gt;" back into "<" and
// ">".
QString UnmarkHTMLTag(const QString &Text, const QString &Tag);
