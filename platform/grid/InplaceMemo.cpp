#include "platform/grid/InplaceMemo.h"

#include "platform/grid/PlatformStringGrid.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <limits>

namespace plat {

namespace {

// The document keeps a block break as U+2029 and a soft break (Shift+Enter) as U+2028; both are
// line breaks of the cell.
bool isDocBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

QString docText(const QTextDocument *doc)
{
    // Raw text, as the plain-text form turns non-breaking spaces into blanks.
    QString raw = doc->toRawText();
    // The document ends with its last block; no break follows it.
    if (!raw.isEmpty() && isDocBreak(raw.back()) && raw.size() > doc->characterCount() - 1)
        raw.chop(1);
    return raw;
}

} // namespace

TInplaceMemo::TInplaceMemo(TPlatformStringGrid *grid)
    : QPlainTextEdit(grid ? grid->viewport() : nullptr), TGridEditor(grid)
{
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(2); // where the grid draws a cell's text
    connect(this, &QPlainTextEdit::textChanged, this, [this] { m_edited = true; });
    hide();
}

TInplaceMemo::~TInplaceMemo() = default;

void TInplaceMemo::SetWordWrap(bool value)
{
    m_wordWrap = value;
    setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

QString TInplaceMemo::Text() const
{
    if (!m_edited)
        return m_setText;
    QString text = docText(document());
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        if (isDocBreak(c))
            out += m_lineBreak;
        else
            out += c;
    }
    return out;
}

void TInplaceMemo::SetText(const QString &value)
{
    // New breaks take the form the text already uses.
    if (value.contains(QLatin1String("\r\n")))
        m_lineBreak = QStringLiteral("\r\n");
    else if (value.contains(QLatin1Char('\n')))
        m_lineBreak = QStringLiteral("\n");
    else if (value.contains(QLatin1Char('\r')))
        m_lineBreak = QStringLiteral("\r");
    else
        m_lineBreak = QStringLiteral("\r\n");
    QString plain = value;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(plain);
    m_setText = value;
    m_edited = false;
    document()->setModified(false);
}

int TInplaceMemo::toTextPos(int docPos) const
{
    if (m_lineBreak.size() == 1)
        return docPos;
    const QString text = docText(document());
    const int end = std::min<int>(docPos, static_cast<int>(text.size()));
    int breaks = 0;
    for (int i = 0; i < end; ++i)
        breaks += isDocBreak(text.at(i)) ? 1 : 0;
    return docPos + breaks * static_cast<int>(m_lineBreak.size() - 1);
}

int TInplaceMemo::toDocPos(int textPos) const
{
    const QString text = docText(document());
    const int step = static_cast<int>(m_lineBreak.size());
    int pos = 0;
    int t = 0;
    while (pos < text.size() && t < textPos) {
        t += isDocBreak(text.at(pos)) ? step : 1;
        ++pos;
    }
    return pos;
}

int TInplaceMemo::SelStart() const
{
    return toTextPos(textCursor().selectionStart());
}

void TInplaceMemo::SetSelStart(int pos)
{
    QTextCursor c = textCursor();
    c.setPosition(toDocPos(std::max(0, pos)));
    setTextCursor(c);
}

int TInplaceMemo::SelLength() const
{
    const QTextCursor c = textCursor();
    return toTextPos(c.selectionEnd()) - toTextPos(c.selectionStart());
}

void TInplaceMemo::SetSelLength(int length)
{
    const int start = SelStart();
    QTextCursor c = textCursor();
    c.setPosition(toDocPos(start));
    c.setPosition(toDocPos(start + std::max(0, length)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

bool TInplaceMemo::Modified() const
{
    return document()->isModified();
}

void TInplaceMemo::SetModified(bool value)
{
    document()->setModified(value);
}

int TInplaceMemo::roomFor(int length) const
{
    if (m_maxLength <= 0)
        return length;
    const int used = static_cast<int>(Text().size()) - SelLength();
    return std::clamp(m_maxLength - used, 0, length);
}

void TInplaceMemo::KeyPress(QChar &Key)
{
    const ushort code = Key.unicode();
    if (code == 10 || (code == 13 && m_lineFeedOnEnter)) {
        Key = QChar();
        if (roomFor(static_cast<int>(m_lineBreak.size())) < m_lineBreak.size())
            return;
        QTextCursor c = textCursor();
        c.insertText(QStringLiteral("\n"));
        setTextCursor(c);
        ensureCursorVisible();
        return;
    }
    TGridEditor::KeyPress(Key);
    if (!Key.isNull() && (Key.unicode() >= 32) && roomFor(1) < 1)
        Key = QChar();
}

bool TInplaceMemo::CaretMovesInside(int Key) const
{
    if (Key != Qt::Key_Up && Key != Qt::Key_Down)
        return false;
    QTextCursor c = textCursor();
    const int before = c.position();
    const bool moved = c.movePosition(Key == Qt::Key_Up ? QTextCursor::Up : QTextCursor::Down);
    return moved && c.position() != before;
}

bool TInplaceMemo::event(QEvent *e)
{
    return RouteEvent(e);
}

bool TInplaceMemo::WidgetEvent(QEvent *e)
{
    return QPlainTextEdit::event(e);
}

void TInplaceMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText() || m_maxLength <= 0) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Count the breaks as the cell will store them.
    int room = roomFor(std::numeric_limits<int>::max() / 2);
    int cut = 0;
    for (; cut < text.size(); ++cut) {
        const int need = text.at(cut) == QLatin1Char('\n') ? int(m_lineBreak.size()) : 1;
        if (need > room)
            break;
        room -= need;
    }
    textCursor().insertText(text.left(cut));
    ensureCursorVisible();
}

} // namespace plat
