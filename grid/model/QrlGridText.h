// Stateless text routines shared by the whole grid library: cell text kinds, the wide-text cell
// encoding, the CF_HTML clipboard wrapper, URL linking, the one-line escapes of the file, CSV and
// settings writers, and small string helpers.
//
// Positions are 1-based with 0 for "not found", as the grid's callers count them.
#pragma once

#include "platform/grid/GridTypes.h"

#include <QChar>
#include <QString>
#include <QStringList>

// Kinds returned by CellTextKind (4 is never produced).
inline constexpr int ctkPlain = 0;
inline constexpr int ctkHTML = 1;
inline constexpr int ctkRTF = 2;
inline constexpr int ctkFormula = 3;
inline constexpr int ctkWide = 5;

// --- Text kinds and encodings ---------------------------------------------------------------

int CellTextKind(const QString &Text, bool HTMLEnabled);

// "|\" followed by two characters per UTF-16 unit: high byte first, then low byte.
QString EncodeWideCellText(const QString &WideText);
// Reverses EncodeWideCellText; a text without the prefix comes back unchanged and a last
// unpaired character is dropped.
QString DecodeWideCellText(const QString &Text);

// Wraps an HTML fragment in the CF_HTML header and document frame, in place.
void BuildClipboardHTML(QString &Text);

// Replaces the first URL starting at UpperPrefix (searched case-insensitively) by a link whose
// text is the URL; "<" and ">" of the text are escaped. False leaves Result untouched.
bool URLToHTMLLink(const QString &Text, const QString &UpperPrefix, QString &Result);
bool IsURLText(const QString &Text);
void StripURLScheme(QString &Text);

// --- One-line escapes (each pair belongs to one writer and its reader) ----------------------

// The grid's own text file.
QString LineBreaksToCtrlChars(const QString &Text);
QString CtrlCharsToLineBreaks(const QString &Text, bool MultiLine);
// Settings strings.
QString EscapeNewLines(const QString &Text);
QString UnescapeNewLines(const QString &Text);
// CSV with multi-line cells.
void CRLFToVTQuoted(QString &Text);
void VTToCRLF(QString &Text);
// CSV with the tilde option.
void CRToTilde(QString &Text);
void TildeToCRLF(QString &Text);

void CRLFToLF(QString &Text);
QString RemoveCR(const QString &Text);
QString CRToLF(const QString &Text);
QString CRToBR(const QString &Text);
void CutFirstLine(QString &Text, bool KeepRest, QString &Line);
int CountLines(const QString &Text, bool MultiLine);

// --- String routines ------------------------------------------------------------------------

QString DoubleQuotes(const QString &Text);
QString UndoubleChar(QChar Ch, const QString &Text);
// End of the first odd-length run of Ch (a doubled Ch is an escaped one); a run reaching the
// end of the text gives the last position; 0 when there is none.
void UnescapedCharPos(QChar Ch, const QString &Text, int &Pos);
int CountUnescapedChar(QChar Ch, const QString &Text);
int CountChar(QChar Ch, const QString &Text);
int FirstCharPos(QChar Ch, const QString &Text);
int FirstCharPosVar(QChar Ch, const QString &Text, int &Pos);
int FindSubPos(const QString &Sub, const QString &Text, int &Pos);
// UpperSub must already be upper case; Text is upper-cased for the search.
int PosInUpper(const QString &UpperSub, const QString &Text);
int WideTextPos(const QString &Sub, const QString &Text);
QString CutBeforeDelimiter(QString &Text, const QString &Delimiter);
QString ConcatLines(const QStringList &Lines);
void FillChars(QString &Text, QChar Ch);
// OEM code page 437 and ANSI code page 1252: StrToOem leaves OEM bytes seen as ANSI characters
// (so a file written in ANSI holds OEM bytes); OemToStr undoes it. Characters the target code
// page lacks become "?".
void StrToOem(QString &Text);
void OemToStr(QString &Text);
QString ProperCaseText(const QString &Text);
bool IsWordBreakChar(QChar Ch);
// "R<row>C<col>" (any case); Cell.X is the column, Cell.Y the row.
bool ParseRCRef(const QString &Text, plat::TGridCoord &Cell);
// Bounds included.
bool CellInGridRect(const plat::TGridRect &Rect, int ACol, int ARow);
int IntMax(int A, int B);
int IntMin(int A, int B);
int ClampToLimits(int Value, int Min, int Max);
