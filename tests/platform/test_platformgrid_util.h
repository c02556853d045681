// Input and view helpers shared by the platform grid tests.
#pragma once

#include "platform/grid/PlatformStringGrid.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QWheelEvent>

namespace gridtest {

// The view the cases share: 400 x 250 without a frame, and without scroll bars unless kept.
inline void setUpView(plat::TPlatformStringGrid &g, bool keepScrollBars = false)
{
    g.setFrameShape(QFrame::NoFrame);
    if (!keepScrollBars)
        g.SetScrollBars(plat::TScrollStyle::ssNone);
    g.resize(400, 250);
}

// Shown, in the active window and holding the focus, as a grid the user works in.
inline void showFocused(QWidget &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    w.setFocus();
    QCoreApplication::processEvents();
}

inline void sendMouse(QWidget *w,
                      QEvent::Type type,
                      QPoint p,
                      Qt::MouseButton button,
                      Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

inline void drag(QWidget *w, QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
    sendMouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, mods);
    sendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, mods);
}

inline void sendWheel(QWidget *w, QPoint p, int delta)
{
    QWheelEvent e(QPointF(p), w->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

inline QPoint centre(const TRect &r)
{
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

} // namespace gridtest
