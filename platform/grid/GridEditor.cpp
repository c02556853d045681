#include "platform/grid/GridEditor.h"

#include "platform/grid/PlatformStringGrid.h"

#include <QKeyEvent>

#include <algorithm>

namespace plat {

using enum TShiftStateItem;

TGridEditor::TGridEditor(TPlatformStringGrid *grid) : m_grid(grid)
{
    if (m_grid)
        m_grid->m_editors.push_back(this);
}

TGridEditor::~TGridEditor()
{
    // A descendant may delete its editor itself; the grid must not keep a dangling one.
    if (!m_grid)
        return;
    auto &list = m_grid->m_editors;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (m_grid->m_defaultEditor == this)
        m_grid->m_defaultEditor = nullptr;
    if (m_grid->m_editor == this) {
        m_grid->m_editor = nullptr;
        m_grid->m_editorShown = false;
    }
}

bool TGridEditor::HandleMessage(QEvent *)
{
    return false;
}

bool TGridEditor::RouteEvent(QEvent *e)
{
    if (!m_grid || m_grid->m_destroying)
        return WidgetEvent(e);
    auto route = [this](QEvent *ev) { return HandleMessage(ev) || DefaultProcessing(ev); };
    if (e->type() != QEvent::KeyPress)
        return route(e);
    auto *ke = static_cast<QKeyEvent *>(e);
    const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
    // Without goTabs the Tab key belongs to the dialog's focus chain.
    if (tab && !WantsTabKey() && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return WidgetEvent(e);
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

bool TGridEditor::DefaultProcessing(QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(e);
        int key = ke->key();
        KeyDown(key, ShiftStateOf(ke->modifiers()));
        QChar ch;
        // Keys that type something are edited in the character phase.
        if (key != 0 && !KeyCharOf(ke, ch))
            WidgetEvent(e);
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
            WidgetEvent(&press);
        }
        return true;
    }
    if (t == QEvent::KeyRelease) {
        auto *ke = static_cast<QKeyEvent *>(e);
        int key = ke->key();
        KeyUp(key, ShiftStateOf(ke->modifiers()));
        WidgetEvent(e);
        return true;
    }
    if (t == QEvent::FocusIn || t == QEvent::FocusOut) {
        WidgetEvent(e);
        if (m_grid)
            m_grid->editorFocusChanged(t == QEvent::FocusIn);
        return true;
    }
    return WidgetEvent(e);
}

bool TGridEditor::CaretMovesInside(int) const
{
    return false;
}

bool TGridEditor::WantsTabKey() const
{
    return m_grid && m_grid->Options().Contains(TGridOption::goTabs);
}

void TGridEditor::KeyDown(int &Key, TShiftState Shift)
{
    if (!m_grid)
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool alwaysShow = m_grid->Options().Contains(TGridOption::goAlwaysShowEditor);
    const bool noSelection = SelLength() == 0;
    bool toGrid = false;
    switch (Key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        toGrid = !CaretMovesInside(Key);
        break;
    case Qt::Key_Left:
        toGrid = ctrl || (alwaysShow && noSelection && SelStart() == 0);
        break;
    case Qt::Key_Right:
        toGrid = ctrl || (alwaysShow && noSelection && SelStart() == Text().size());
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

void TGridEditor::KeyPress(QChar &Key)
{
    if (!m_grid)
        return;
    // The grid sees every character typed here (its OnKeyPress; Enter closes the editor), except
    // the one that opened the editor, which it has seen already.
    if (!m_startChar)
        m_grid->KeyPress(Key);
    switch (Key.unicode()) {
    case 9:
    case 10:
    case 13:
        Key = QChar();
        break;
    case 27:
        // Esc gives the cell its text back and leaves editing.
        Key = QChar();
        SetText(m_originalText);
        SelectAll();
        if (!m_grid->Options().Contains(TGridOption::goAlwaysShowEditor))
            m_grid->HideEditor();
        break;
    default:
        break;
    }
}

void TGridEditor::KeyUp(int &Key, TShiftState Shift)
{
    if (m_grid)
        m_grid->KeyUp(Key, Shift);
}

void TGridEditor::UpdateContents()
{
    if (!m_grid)
        return;
    const QString text = m_grid->GetEditText(m_col, m_row);
    SetEditMask(m_grid->GetEditMask(m_col, m_row));
    SetMaxLength(m_grid->GetEditLimit());
    m_originalText = text;
    SetText(text);
    SetModified(false);
    SelectAll();
}

} // namespace plat
