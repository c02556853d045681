#include "platform/grid/GridTypes.h"

#include <QKeyEvent>

namespace plat {

QEvent::Type CharEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type TGridScrollEvent::Type()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    using enum TShiftStateItem;
    TShiftState s;
    s.Set(ssShift, mods & Qt::ShiftModifier);
    s.Set(ssCtrl, mods & Qt::ControlModifier);
    s.Set(ssAlt, mods & Qt::AltModifier);
    s.Set(ssLeft, buttons & Qt::LeftButton);
    s.Set(ssRight, buttons & Qt::RightButton);
    s.Set(ssMiddle, buttons & Qt::MiddleButton);
    return s;
}

bool KeyCharOf(const QKeyEvent *e, QChar &ch)
{
    const int key = e->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Ctrl+Enter types a line feed, plain Enter a carriage return.
        ch = QChar((e->modifiers() & Qt::ControlModifier) ? 10 : 13);
        return true;
    case Qt::Key_Escape:
        ch = QChar(27);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        ch = QChar(9);
        return true;
    case Qt::Key_Backspace:
        ch = QChar(8);
        return true;
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    const auto mods = e->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z) {
        ch = QChar(key - Qt::Key_A + 1);
        return true;
    }
    const QString text = e->text();
    if (text.isEmpty() || text.at(0) == QChar(0x7F))
        return false;
    ch = text.at(0);
    return true;
}

} // namespace plat
