#include "platform/grid/InplaceEdit.h"

#include "platform/grid/PlatformStringGrid.h"

#include <QKeyEvent>

#include <algorithm>

namespace plat {

using enum TShiftStateItem;

TInplaceEdit::TInplaceEdit(TPlatformStringGrid *grid)
    : QLineEdit(grid ? grid->viewport() : nullptr), m_grid(grid)
{
    setFrame(false);
    hide();
}

TInplaceEdit::~TInplaceEdit()
{
    // A descendant may delete its editor itself; the grid must not keep a dangling one.
    if (m_grid && m_grid->m_editor == this) {
        m_grid->m_editor = nullptr;
        m_grid->m_editorShown = false;
    }
}

namespace {

// QLineEdit cuts a longer text down to its maximum length, also a text set by code. The limit is
// for typing; a cell text that is already longer must reach the editor (and go back) whole.
int editLimitFor(int limit, qsizetype textLength)
{
    constexpr int NoLimit = 32767; // QLineEdit's own default
    const int wanted = limit > 0 ? limit : NoLimit;
    return static_cast<int>(std::max<qsizetype>(wanted, textLength));
}

} // namespace

void TInplaceEdit::SetText(const QString &value)
{
    setMaxLength(editLimitFor(m_maxLength, value.size()));
    setText(value);
}

int TInplaceEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TInplaceEdit::SetSelStart(int pos)
{
    setCursorPosition(pos);
}

int TInplaceEdit::SelLength() const
{
    return static_cast<int>(selectedText().size());
}

void TInplaceEdit::SetSelLength(int length)
{
    setSelection(SelStart(), length);
}

void TInplaceEdit::SetMaxLength(int value)
{
    m_maxLength = value > 0 ? value : 0;
    setMaxLength(editLimitFor(m_maxLength, text().size()));
}

void TInplaceEdit::SetEditMask(const QString &mask)
{
    if (mask != inputMask())
        setInputMask(mask);
}

bool TInplaceEdit::HandleMessage(QEvent *)
{
    return false;
}

bool TInplaceEdit::event(QEvent *e)
{
    if (!m_grid || m_grid->m_destroying)
        return QLineEdit::event(e);
    auto route = [this](QEvent *ev) { return HandleMessage(ev) || DefaultProcessing(ev); };
    if (e->type() != QEvent::KeyPress)
        return route(e);
    auto *ke = static_cast<QKeyEvent *>(e);
    const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
    if (tab && !m_grid->Options().Contains(TGridOption::goTabs) &&
        !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return QLineEdit::event(e);
    route(e);
    QChar ch;
    if (KeyCharOf(ke, ch)) {
        QKeyEvent charEvent(CharEventType(), ke->key(), ke->modifiers(), QString(ch),
                            ke->isAutoRepeat());
        route(&charEvent);
    }
    e->accept();
    return true;
}

bool TInplaceEdit::DefaultProcessing(QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(e);
        int key = ke->key();
        KeyDown(key, ShiftStateOf(ke->modifiers()));
        QChar ch;
        // Keys that type something are edited in the character phase.
        if (key != 0 && !KeyCharOf(ke, ch))
            QLineEdit::event(e);
        return true;
    }
    if (t == CharEventType()) {
        auto *ce = static_cast<QKeyEvent *>(e);
        const QChar typed = ce->text().isEmpty() ? QChar() : ce->text().at(0);
        QChar ch = typed;
        KeyPress(ch);
        if (!ch.isNull()) {
            // A character a hook replaced is inserted as plain text.
            QKeyEvent press(QEvent::KeyPress, ch == typed ? ce->key() : 0, ce->modifiers(),
                            QString(ch));
            QLineEdit::event(&press);
        }
        return true;
    }
    if (t == QEvent::KeyRelease) {
        auto *ke = static_cast<QKeyEvent *>(e);
        int key = ke->key();
        KeyUp(key, ShiftStateOf(ke->modifiers()));
        QLineEdit::event(e);
        return true;
    }
    if (t == QEvent::FocusIn || t == QEvent::FocusOut) {
        QLineEdit::event(e);
        if (m_grid)
            m_grid->editorFocusChanged(t == QEvent::FocusIn);
        return true;
    }
    return QLineEdit::event(e);
}

void TInplaceEdit::KeyDown(int &Key, TShiftState Shift)
{
    if (!m_grid)
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool alwaysShow = m_grid->Options().Contains(TGridOption::goAlwaysShowEditor);
    const bool noSelection = !hasSelectedText();
    bool toGrid = false;
    switch (Key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        toGrid = true;
        break;
    case Qt::Key_Left:
        toGrid = ctrl || (alwaysShow && noSelection && cursorPosition() == 0);
        break;
    case Qt::Key_Right:
        toGrid = ctrl || (alwaysShow && noSelection && cursorPosition() == text().size());
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        toGrid = ctrl;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        toGrid = m_grid->Options().Contains(TGridOption::goTabs) && !Shift.Contains(ssAlt);
        break;
    default:
        break;
    }
    if (toGrid) {
        m_grid->KeyDown(Key, Shift);
        Key = 0;
    }
}

void TInplaceEdit::KeyPress(QChar &Key)
{
    if (!m_grid)
        return;
    // The grid sees every character typed here (its OnKeyPress; Enter closes the editor), except
    // the one that opened the editor, which it has seen already.
    if (!m_startChar)
        m_grid->KeyPress(Key);
    switch (Key.unicode()) {
    case 9:
    case 13:
        Key = QChar();
        break;
    case 27:
        // Esc gives the cell its text back and leaves editing.
        Key = QChar();
        SetText(m_originalText);
        selectAll();
        if (!m_grid->Options().Contains(TGridOption::goAlwaysShowEditor))
            m_grid->HideEditor();
        break;
    default:
        break;
    }
}

void TInplaceEdit::KeyUp(int &Key, TShiftState Shift)
{
    if (m_grid)
        m_grid->KeyUp(Key, Shift);
}

void TInplaceEdit::UpdateContents()
{
    if (!m_grid)
        return;
    const QString text = m_grid->GetEditText(m_col, m_row);
    SetEditMask(m_grid->GetEditMask(m_col, m_row));
    SetMaxLength(m_grid->GetEditLimit());
    m_originalText = text;
    SetText(text);
    setModified(false);
    selectAll();
}

} // namespace plat
