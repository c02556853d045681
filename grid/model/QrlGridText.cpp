#include "grid/model/QrlGridText.h"

#include "platform/os/TextReader.h"
#include "platform/text/StrConv.h"

#include <QHash>

namespace {

constexpr QChar kCR = u'\r';
constexpr QChar kLF = u'\n';
const QString kCRLF = QStringLiteral("\r\n");
const QString kWidePrefix = QStringLiteral("|\\");

// Upper case one unit at a time so positions in the result match the source
// (QString::toUpper turns "ß" into "SS").
QString upperSameLength(const QString &s)
{
    QString r = s;
    for (QChar &c : r)
        c = c.toUpper();
    return r;
}

bool isUrlChar(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
        return true;
    switch (u) {
    case u'%':
    case u'(':
    case u')':
    case u'-':
    case u'.':
    case u'/':
    case u':':
    case u'@':
    case u'\\':
    case u'_':
    case u'{':
    case u'}':
        return true;
    default:
        return false;
    }
}

// Code page 437, bytes 0x80..0xFF.
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80-87
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 88-8F
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90-97
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, // 98-9F
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0-A7
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // A8-AF
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // B0-B7
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, // B8-BF
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // C0-C7
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, // C8-CF
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // D0-D7
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, // D8-DF
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // E0-E7
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, // E8-EF
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // F0-F7
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0, // F8-FF
};

QString decodeCp437(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b < 0x80 ? QChar(b) : QChar(kCp437High[b - 0x80]);
    }
    return out;
}

// Reverse table of a single-byte code page whose lower half is ASCII.
QByteArray encodeSingleByte(const QString &text, const QHash<char16_t, char> &high)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80)
            out[i] = static_cast<char>(u);
        else
            out[i] = high.value(u, '?');
    }
    return out;
}

const QHash<char16_t, char> &cp437Reverse()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0x80; b <= 0xFF; ++b)
            t.insert(kCp437High[b - 0x80], static_cast<char>(b));
        return t;
    }();
    return table;
}

const QHash<char16_t, char> &cp1252Reverse()
{
    static const QHash<char16_t, char> table = [] {
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(static_cast<char>(b));
        const QString decoded = plat::DecodeWindows1252(high);
        QHash<char16_t, char> t;
        for (int b = 0x80; b <= 0xFF; ++b)
            t.insert(decoded[b - 0x80].unicode(), static_cast<char>(b));
        return t;
    }();
    return table;
}

} // namespace

// --- Text kinds and encodings ---------------------------------------------------------------

int CellTextKind(const QString &Text, bool HTMLEnabled)
{
    const QString s = Text + u' ';
    if (s.size() < 2)
        return ctkPlain;
    if (s[0] == u'=')
        return ctkFormula;
    if (s.startsWith(kWidePrefix)) {
        // An encoded formula: first unit's low byte "=", second unit's high byte 0.
        if (s.size() >= 5 && s[3] == u'=' && s[4].unicode() == 0)
            return ctkFormula;
        return ctkWide;
    }
    if (s.startsWith(QStringLiteral("{\\")))
        return ctkRTF;
    if (!HTMLEnabled)
        return ctkPlain;
    for (const char16_t *tag : {u"</", u"<B", u"<I", u"<C"}) {
        if (s.contains(QStringView(tag)))
            return ctkHTML;
    }
    return ctkPlain;
}

QString EncodeWideCellText(const QString &WideText)
{
    QString r;
    r.reserve(2 + WideText.size() * 2);
    r += kWidePrefix;
    for (QChar c : WideText) {
        r += QChar(char16_t(c.unicode() >> 8));
        r += QChar(char16_t(c.unicode() & 0xFF));
    }
    return r;
}

QString DecodeWideCellText(const QString &Text)
{
    if (!Text.startsWith(kWidePrefix))
        return Text;
    const qsizetype pairs = (Text.size() - 2) / 2;
    QString r(pairs, Qt::Uninitialized);
    for (qsizetype i = 0; i < pairs; ++i) {
        const unsigned hi = Text[2 + 2 * i].unicode();
        const unsigned lo = Text[3 + 2 * i].unicode();
        r[i] = QChar(char16_t((hi * 256 + lo) & 0xFFFF));
    }
    return r;
}

void BuildClipboardHTML(QString &Text)
{
    static const QString kDocType =
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    static const QString kHead =
        QStringLiteral("<html><head><META http-equiv=Content-Type content=\"text/html; "
                       "charset=iso-8859-1\"></head><body><!--StartFragment-->");
    static const QString kTail = QStringLiteral("<!--EndFragment--></body></html>");

    const auto num = [](qsizetype v) { return QString::asprintf("%.8lld", (long long)v); };
    const qsizetype len = Text.size();
    QString r = QStringLiteral("Version:1.0\r\n");
    r += QStringLiteral("StartHTML:") + num(97) + kCRLF;
    r += QStringLiteral("EndHTML:") + num(len + 306) + kCRLF;
    r += QStringLiteral("StartFragment:") + num(274) + kCRLF;
    r += QStringLiteral("EndFragment:") + num(len + 274) + kCRLF;
    r += kDocType;
    r += kHead;
    r += Text;
    r += kTail;
    Text = r;
}

bool URLToHTMLLink(const QString &Text, const QString &UpperPrefix, QString &Result)
{
    if (UpperPrefix.isEmpty() || !upperSameLength(Text).contains(UpperPrefix))
        return false;
    QString s = Text;
    s.replace(u'<', QStringLiteral("&lt;"));
    s.replace(u'>', QStringLiteral("&gt;"));
    // A prefix holding "<" or ">" is no longer there after escaping.
    const qsizetype start = upperSameLength(s).indexOf(UpperPrefix);
    if (start < 0)
        return false;
    qsizetype end = start;
    while (end < s.size() && isUrlChar(s[end]))
        ++end;
    const QString url = s.mid(start, end - start);
    s.replace(start, end - start,
              QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + url +
                  QStringLiteral("</a>"));
    Result = s;
    return true;
}

bool IsURLText(const QString &Text)
{
    return Text.contains(QStringLiteral("://")) || Text.contains(QStringLiteral("mailto:"));
}

void StripURLScheme(QString &Text)
{
    qsizetype p = Text.indexOf(QStringLiteral("://"));
    if (p >= 0) {
        Text.remove(0, p + 3);
        return;
    }
    p = Text.indexOf(QStringLiteral("mailto:"));
    if (p >= 0)
        Text.remove(0, p + 7);
}

// --- One-line escapes -----------------------------------------------------------------------

QString LineBreaksToCtrlChars(const QString &Text)
{
    if (!Text.contains(kCR))
        return Text;
    QString r = Text;
    for (QChar &c : r) {
        if (c == kCR)
            c = QChar(9);
        else if (c == kLF)
            c = QChar(8);
        else if (c.unicode() == 0)
            c = QChar(1);
    }
    return r;
}

QString CtrlCharsToLineBreaks(const QString &Text, bool MultiLine)
{
    QString r = Text;
    if (r.contains(QChar(8))) {
        for (QChar &c : r) {
            if (c.unicode() == 9)
                c = kCR;
            else if (c.unicode() == 8)
                c = kLF;
            else if (c.unicode() == 1)
                c = QChar(0);
        }
    }
    if (!MultiLine) {
        const qsizetype p = r.indexOf(kCR);
        if (p >= 0)
            r.truncate(p);
    }
    return r;
}

QString EscapeNewLines(const QString &Text)
{
    QString r;
    r.reserve(Text.size());
    for (QChar c : Text) {
        if (c == kCR)
            r += QStringLiteral("\\n");
        else if (c != kLF)
            r += c;
    }
    return r;
}

QString UnescapeNewLines(const QString &Text)
{
    QString r = Text;
    r.replace(QStringLiteral("\\n"), QString(kCR));
    return r;
}

void CRLFToVTQuoted(QString &Text)
{
    Text.replace(kCRLF, QString(QChar(11)));
    Text = u'"' + Text + u'"';
}

void VTToCRLF(QString &Text)
{
    if (Text.contains(QChar(11)))
        Text.replace(QChar(11), kCRLF);
}

void CRToTilde(QString &Text)
{
    Text.remove(kLF);
    Text.replace(kCR, u'~');
}

void TildeToCRLF(QString &Text)
{
    Text.replace(u'~', kCRLF);
    if (Text == QStringLiteral("^"))
        Text.clear();
}

void CRLFToLF(QString &Text)
{
    Text.replace(kCRLF, QString(kLF));
}

QString RemoveCR(const QString &Text)
{
    QString r = Text;
    r.remove(kCR);
    return r;
}

QString CRToLF(const QString &Text)
{
    QString r = Text;
    r.replace(kCR, kLF);
    return r;
}

QString CRToBR(const QString &Text)
{
    QString r = Text;
    r.replace(kCR, QStringLiteral("<br>"));
    return r;
}

void CutFirstLine(QString &Text, bool KeepRest, QString &Line)
{
    const qsizetype p = Text.indexOf(kCR);
    if (p < 0) {
        Line = Text;
    } else {
        Line = Text.left(p);
        qsizetype cut = p + 1;
        if (cut < Text.size() && Text[cut] == kLF)
            ++cut;
        Text.remove(0, cut);
    }
    if (!KeepRest)
        Text.clear();
}

int CountLines(const QString &Text, bool MultiLine)
{
    if (!MultiLine)
        return 1;
    return 1 + CountChar(kCR, Text);
}

// --- String routines ------------------------------------------------------------------------

QString DoubleQuotes(const QString &Text)
{
    QString r = Text;
    r.replace(u'"', QStringLiteral("\"\""));
    return r;
}

QString UndoubleChar(QChar Ch, const QString &Text)
{
    if (!Text.contains(Ch))
        return Text;
    QString r = Text;
    r.replace(QString(2, Ch), QString(Ch));
    return r;
}

void UnescapedCharPos(QChar Ch, const QString &Text, int &Pos)
{
    Pos = 0;
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        if (Text[i] != Ch) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && Text[j] == Ch)
            ++j;
        if (j == n || (j - i) % 2 == 1) {
            Pos = static_cast<int>(j); // 1-based position of the run's last character
            return;
        }
        i = j;
    }
}

int CountUnescapedChar(QChar Ch, const QString &Text)
{
    int count = 0;
    QString s = Text;
    int p = 0;
    for (UnescapedCharPos(Ch, s, p); p > 0; UnescapedCharPos(Ch, s, p)) {
        ++count;
        s.remove(0, p);
    }
    return count;
}

int CountChar(QChar Ch, const QString &Text)
{
    return static_cast<int>(Text.count(Ch));
}

int FirstCharPos(QChar Ch, const QString &Text)
{
    return static_cast<int>(Text.indexOf(Ch) + 1);
}

int FirstCharPosVar(QChar Ch, const QString &Text, int &Pos)
{
    Pos = FirstCharPos(Ch, Text);
    return Pos;
}

int FindSubPos(const QString &Sub, const QString &Text, int &Pos)
{
    Pos = WideTextPos(Sub, Text);
    return Pos;
}

int PosInUpper(const QString &UpperSub, const QString &Text)
{
    return WideTextPos(UpperSub, upperSameLength(Text));
}

int WideTextPos(const QString &Sub, const QString &Text)
{
    // An empty pattern is found nowhere.
    if (Sub.isEmpty())
        return 0;
    return static_cast<int>(Text.indexOf(Sub) + 1);
}

QString CutBeforeDelimiter(QString &Text, const QString &Delimiter)
{
    if (Delimiter.isEmpty())
        return QString();
    const qsizetype p = Text.indexOf(Delimiter);
    if (p < 0)
        return QString();
    const QString r = Text.left(p);
    Text.remove(0, p + Delimiter.size());
    return r;
}

QString ConcatLines(const QStringList &Lines)
{
    return Lines.join(QString());
}

void FillChars(QString &Text, QChar Ch)
{
    Text.fill(Ch);
}

void StrToOem(QString &Text)
{
    Text = plat::DecodeWindows1252(encodeSingleByte(Text, cp437Reverse()));
}

void OemToStr(QString &Text)
{
    Text = decodeCp437(encodeSingleByte(Text, cp1252Reverse()));
}

QString ProperCaseText(const QString &Text)
{
    QString r = Text;
    const qsizetype n = r.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i == 0 || IsWordBreakChar(r[i - 1]))
            r[i] = r[i].toUpper();
        else
            r[i] = r[i].toLower();
    }
    if (n > 2 && r.startsWith(QStringLiteral("Mc")))
        r[2] = r[2].toUpper();
    const qsizetype mc = r.indexOf(QStringLiteral(" Mc"));
    if (mc >= 0 && mc + 3 < n)
        r[mc + 3] = r[mc + 3].toUpper();
    // Roman numerals after a name: "henry ii" -> "Henry II", "louis iv" -> "Louis IV".
    for (qsizetype k = n >= 3 ? n - 3 : 0; k < n; ++k) {
        const bool afterI = k >= 2 && r[k - 2] == u' ' && r[k - 1] == u'I';
        const bool afterII = k >= 3 && r[k - 3] == u' ' && r[k - 2] == u'I' && r[k - 1] == u'I';
        if (afterI || afterII)
            r[k] = r[k].toUpper();
    }
    return r;
}

bool IsWordBreakChar(QChar Ch)
{
    switch (Ch.unicode()) {
    case u' ':
    case u'\'':
    case u',':
    case u'-':
    case u'.':
        return true;
    default:
        return false;
    }
}

bool ParseRCRef(const QString &Text, plat::TGridCoord &Cell)
{
    const QString u = upperSameLength(Text);
    if (u.size() <= 3 || u[0] != u'R')
        return false;
    const qsizetype c = u.indexOf(u'C');
    if (c < 0)
        return false;
    int32_t row = 0;
    int32_t col = 0;
    if (!plat::TryStrToInt(u.mid(1, c - 1), row) || !plat::TryStrToInt(u.mid(c + 1), col))
        return false;
    Cell = plat::TGridCoord{col, row};
    return true;
}

bool CellInGridRect(const plat::TGridRect &Rect, int ACol, int ARow)
{
    return Rect.Contains(ACol, ARow);
}

int IntMax(int A, int B)
{
    return A > B ? A : B;
}

int IntMin(int A, int B)
{
    return A < B ? A : B;
}

int ClampToLimits(int Value, int Min, int Max)
{
    if (Min == Max)
        return Value;
    int r = (Value < Min && Min > 0) ? Min : Value;
    if (Max > 0 && Value > Max)
        r = Max;
    return r;
}
