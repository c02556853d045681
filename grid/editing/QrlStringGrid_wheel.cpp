// The mouse wheel and the middle button's pan mode: the wheel from the window (parent first, Ctrl
// zooms, then the wheel action by the system's lines per notch), the framework's per-notch wheel
// hooks, and pan mode with its marker, its 10 ms timer and its dead zone.
#include "grid/display/QrlHintWindow.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include "platform/grid/GridEditor.h"
#include "platform/ui/WindowMessage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using plat::TGridOption;
using plat::TGridRect;
using plat::TMouseButton;
using plat::TShiftState;
using plat::TShiftStateItem;

namespace {

// One notch of a standard wheel.
constexpr int NotchDelta = 120;
// Pixels the pointer may stray from the pan origin before the grid follows it.
constexpr int PanDeadZone = 5;
constexpr int PanInterval = 10;
constexpr int PanMarkerSize = 32;
// The framework's wheel notification that the parent sees first.
constexpr int ParentWheelMessage = 0xB043;

// Pan direction: -1 before the origin, +1 past it, 0 inside the dead zone.
int panDirection(int pointer, int origin)
{
    if (pointer < origin - PanDeadZone)
        return -1;
    if (pointer > origin + PanDeadZone)
        return 1;
    return 0;
}

Qt::CursorShape panCursor(int V, int H)
{
    if (V == 0 && H == 0)
        return Qt::SizeAllCursor;
    if (H == 0)
        return Qt::SizeVerCursor;
    if (V == 0)
        return Qt::SizeHorCursor;
    // Up-right and down-left lie on one diagonal, up-left and down-right on the other.
    return V == -H ? Qt::SizeBDiagCursor : Qt::SizeFDiagCursor;
}

class TDirectEditOff
{
public:
    explicit TDirectEditOff(TMouseActions &ma) : m_ma(ma), m_old(ma.DirectEdit())
    {
        m_ma.SetDirectEdit(false);
    }
    ~TDirectEditOff() { m_ma.SetDirectEdit(m_old); }
    TDirectEditOff(const TDirectEditOff &) = delete;
    TDirectEditOff &operator=(const TDirectEditOff &) = delete;

private:
    TMouseActions &m_ma;
    bool m_old;
};

} // namespace

// The pan marker over the viewport; while pan mode runs it also keeps the pan timer, follows the
// pointer and holds the hints back. Owned by the grid's state.
class TQrlStringGrid::TWheelPan : public QWidget
{
public:
    explicit TWheelPan(TQrlStringGrid *grid) : QWidget(grid->viewport()), m_grid(grid)
    {
        setObjectName(QStringLiteral("PanMarker"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(PanMarkerSize, PanMarkerSize);
        hide();
        m_timer = new QTimer(this);
        m_timer->setObjectName(QStringLiteral("PanTimer"));
        m_timer->setInterval(PanInterval);
        QObject::connect(m_timer, &QTimer::timeout, this, [this] {
            if (m_panning)
                m_grid->panTick();
        });
    }

    bool panning() const { return m_panning; }
    QPoint origin() const { return m_origin; }
    QPoint pointer() const { return m_pointer; }

    void start(const QPoint &at)
    {
        QWidget *vp = m_grid->viewport();
        m_hadCursor = vp->testAttribute(Qt::WA_SetCursor);
        m_prevCursor = vp->cursor();
        m_hadTracking = vp->hasMouseTracking();
        m_panning = true;
        m_origin = m_pointer = at;
        vp->setMouseTracking(true);
        vp->installEventFilter(this);
        qApp->installEventFilter(this);
        if (vp->isVisible())
            vp->grabMouse();
        vp->setCursor(panCursor(0, 0));
        if (THintManager *hints = m_grid->dsp->hintManager)
            hints->CancelHint();
        m_timer->start();
        showMarker();
    }

    void end()
    {
        if (!m_panning)
            return;
        m_panning = false;
        m_timer->stop();
        QWidget *vp = m_grid->viewport();
        if (QWidget::mouseGrabber() == vp)
            vp->releaseMouse();
        qApp->removeEventFilter(this);
        vp->removeEventFilter(this);
        vp->setMouseTracking(m_hadTracking);
        if (m_hadCursor)
            vp->setCursor(m_prevCursor);
        else
            vp->unsetCursor();
        hide();
    }

    void showMarker()
    {
        if (!m_panning)
            return;
        move(m_origin);
        raise();
        show();
        update();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_panning)
            return false;
        QWidget *vp = m_grid->viewport();
        switch (event->type()) {
        case QEvent::MouseMove:
            if (watched == vp)
                m_pointer = static_cast<QMouseEvent *>(event)->position().toPoint();
            break;
        case QEvent::ToolTip:
            // No cell hints while panning.
            if (watched == vp || watched == m_grid)
                return true;
            break;
        case QEvent::KeyPress: {
            // Any key of the grid or its editors ends pan mode and is then handled as usual.
            auto *w = qobject_cast<QWidget *>(watched);
            if (w && (w == m_grid || m_grid->isAncestorOf(w)))
                end();
            break;
        }
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        const TIntelliPan mode = m_grid->IntelliPan();
        const bool vertical = mode != TIntelliPan::ipHorizontal;
        const bool horizontal = mode != TIntelliPan::ipVertical;
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const qreal c = width() / 2.0;
        p.drawEllipse(QPointF(c, c), 2.0, 2.0);
        // One small triangle per direction the pan follows.
        auto arrow = [&](qreal dx, qreal dy) {
            const QPointF tip(c + dx * 12, c + dy * 12);
            const QPointF side(dy * 5, dx * 5);
            const QPointF base(c + dx * 6, c + dy * 6);
            const QPointF pts[] = {tip, base + side, base - side};
            p.drawPolygon(pts, 3);
        };
        if (vertical) {
            arrow(0, -1);
            arrow(0, 1);
        }
        if (horizontal) {
            arrow(-1, 0);
            arrow(1, 0);
        }
    }

private:
    TQrlStringGrid *m_grid;
    QTimer *m_timer = nullptr;
    bool m_panning = false;
    QPoint m_origin;
    QPoint m_pointer;
    QCursor m_prevCursor;
    bool m_hadCursor = false;
    bool m_hadTracking = false;
};

// ---- options ----------------------------------------------------------------------------------

TIntelliPan TQrlStringGrid::IntelliPan() const
{
    return ed->intelliPan;
}

void TQrlStringGrid::SetIntelliPan(TIntelliPan Value)
{
    ed->intelliPan = Value;
}

void TQrlStringGrid::WheelMoveHook(int Delta, bool &Handled)
{
    (void)Delta, (void)Handled;
}

// ---- the wheel from the window ----------------------------------------------------------------

int TQrlStringGrid::wheelStep() const
{
    // A negative setting means one page per notch.
    const int lines = QApplication::wheelScrollLines();
    return lines < 0 ? VisibleRowCount() : lines;
}

bool TQrlStringGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint &MousePos)
{
    // While panning, and for a wheel that an editor let through to the grid, only the
    // framework's processing runs.
    auto *pan = static_cast<TWheelPan *>(ed->wheelPan.ptr.data());
    if ((pan && pan->panning()) || viewport()->childAt(MousePos.X, MousePos.Y))
        return TBaseGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
    if (QWidget *parent = parentWidget()) {
        const std::intptr_t point = (MousePos.X & 0xFFFF) | ((MousePos.Y & 0xFFFF) << 16);
        if (plat::SendMessage(parent, plat::WindowMessageType(ParentWheelMessage), WheelDelta,
                              point) != 0)
            return TBaseGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
    }
    // Finer wheels add up to whole notches.
    ed->wheelDelta += WheelDelta;
    while (std::abs(ed->wheelDelta) >= NotchDelta) {
        const bool toward = ed->wheelDelta < 0;
        ed->wheelDelta += toward ? NotchDelta : -NotchDelta;
        wheelNotch(toward, Shift, MousePos);
    }
    return true;
}

void TQrlStringGrid::wheelNotch(bool TowardUser, TShiftState Shift, const TPoint &MousePos)
{
    if (Shift.Contains(TShiftStateItem::ssCtrl) && d->intelliZoom) {
        const int step = wheelStep();
        Zoom(TowardUser ? step : -step);
        AutoSizeCells(true, 4, 4);
        return;
    }
    if (!d->enableWheel || (d->fixedRowAlways && RowCount() == 1))
        return;

    const TMouseActions &ma = *d->mouseActions;
    const bool scroll = ma.WheelAction() == TWheelAction::waScroll;
    const int fixedRows = TBaseGrid::FixedRows();
    const int fixedCols = TBaseGrid::FixedCols();
    const TGridRect before = Selection().Normalized();
    const int L0 = LeftCol();
    int N = ma.WheelIncrement() > 0 ? ma.WheelIncrement() : wheelStep();
    int T = Row();

    if (scroll) {
        if (TowardUser) {
            // Never past the top row that shows the last row.
            if (TopRow() < RowCount() - VisibleRowCount() && TopRow() + N >= fixedRows)
                SetTopRow(std::min(TopRow() + N, MaxTopRow()));
        } else {
            if (TopRow() - N < fixedRows)
                N = TopRow() - fixedRows;
            if (TopRow() > fixedRows && TopRow() - N >= fixedRows)
                SetTopRow(TopRow() - N);
        }
    } else {
        T = TowardUser ? Row() + N : Row() - N;
    }

    const int lastRow = RowCount() - FixedFooters() - 1;
    T = lastRow >= fixedRows ? std::clamp(T, fixedRows, lastRow) : Row();
    if (Col() >= ColCount())
        SetCol(ColCount() - 1);
    else if (Col() < fixedCols && fixedCols < ColCount())
        SetCol(fixedCols);

    if (T < 0 || T >= RowCount())
        return;
    int D = 0;
    {
        TUpdatePair update(*this);
        if (ma.DisjunctRowSelect() && !scroll)
            ClearRowSelect();
        D = T - Row();
        if (!scroll)
            SetRow(T);
        if (Row() != T) {
            // The cell selection refused the row: go half-way (halves to even).
            const int half = static_cast<int>(std::lrint((T - Row()) / 2.0));
            if (half != 0)
                SetRow(Row() + half);
            if (TopRow() > fixedRows)
                SetTopRow(TopRow() - 1);
        }
        if (Options().Contains(TGridOption::goRowSelect) && d->navigation->KeepHorizScroll())
            SetLeftCol(L0);
    }

    bool handled = true;
    WheelMoveHook(D, handled);
    if ((ma.WheelIncrement() != 0 || ma.DisjunctRowSelect()) && handled) {
        const TShiftState keys = plat::ShiftStateOf(QGuiApplication::queryKeyboardModifiers());
        bool eventHandled = false;
        auto &notify = TowardUser ? OnMouseWheelDown : OnMouseWheelUp;
        if (notify)
            notify(this, keys, MousePos, eventHandled);
    }

    const TGridRect now = Selection().Normalized();
    if (!(now == before))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    if (d->searchFooter->Visible() && TopRow() == RowCount() - VisibleRowCount())
        ScrollLastRowAboveSearchFooter();
}

// ---- the framework's wheel hooks --------------------------------------------------------------

bool TQrlStringGrid::DoMouseWheelDown(TShiftState Shift, const TPoint &MousePos)
{
    return frameworkWheel(true, Shift, MousePos);
}

bool TQrlStringGrid::DoMouseWheelUp(TShiftState Shift, const TPoint &MousePos)
{
    return frameworkWheel(false, Shift, MousePos);
}

bool TQrlStringGrid::frameworkWheel(bool Down, TShiftState Shift, const TPoint &MousePos)
{
    TMouseActions &ma = *d->mouseActions;
    if (ma.WheelAction() == TWheelAction::waScroll || !d->enableWheel) {
        bool handled = false;
        auto &notify = Down ? OnMouseWheelDown : OnMouseWheelUp;
        if (notify)
            notify(this, Shift, MousePos, handled);
        return handled;
    }
    // A wheel never opens an editor on the cell it moves to.
    TDirectEditOff directEdit(ma);
    if (!Down && !(Row() < RowCount() && Col() < ColCount()))
        return true;
    auto base = [&] {
        return Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos)
                    : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    };
    if (Options().Contains(TGridOption::goRowSelect) && d->navigation->KeepHorizScroll()) {
        TUpdatePair update(*this);
        const int L0 = LeftCol();
        const bool result = base();
        SetLeftCol(L0);
        return result;
    }
    const bool editing = CellEditor() && CellEditor()->Widget()->isVisible();
    const bool result = base();
    if (editing)
        setFocus();
    return result;
}

// ---- pan mode ---------------------------------------------------------------------------------

void TQrlStringGrid::PanMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // Only presses from the window; the second press of a double click is no new press.
    if (!ed->mouse.mouseMessage || Shift.Contains(TShiftStateItem::ssDouble))
        return;
    auto *pan = static_cast<TWheelPan *>(ed->wheelPan.ptr.data());
    if (pan && pan->panning()) {
        pan->end();
        return;
    }
    if (Button != TMouseButton::mbMiddle || ed->intelliPan == TIntelliPan::ipNone ||
        RowCount() <= TBaseGrid::FixedRows())
        return;
    if (!pan) {
        pan = new TWheelPan(this);
        ed->wheelPan.ptr = pan;
    }
    pan->start(QPoint(X, Y));
}

void TQrlStringGrid::DrawPanMarker()
{
    if (auto *pan = static_cast<TWheelPan *>(ed->wheelPan.ptr.data()))
        pan->showMarker();
}

void TQrlStringGrid::ErasePanMarker()
{
    if (auto *pan = static_cast<TWheelPan *>(ed->wheelPan.ptr.data()))
        pan->hide();
}

void TQrlStringGrid::panTick()
{
    auto *pan = static_cast<TWheelPan *>(ed->wheelPan.ptr.data());
    const TIntelliPan mode = ed->intelliPan;
    if (!pan || !pan->panning() || mode == TIntelliPan::ipNone)
        return;
    const QPoint P = pan->pointer();
    const QPoint O = pan->origin();
    const int V = mode == TIntelliPan::ipHorizontal ? 0 : panDirection(P.y(), O.y());
    const int H = mode == TIntelliPan::ipVertical ? 0 : panDirection(P.x(), O.x());

    const TGridRect before = Selection().Normalized();
    const int fixedRows = TBaseGrid::FixedRows();
    const int fixedCols = TBaseGrid::FixedCols();
    const int lastRow = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    // The current cell first goes back among the normal cells.
    if (lastRow >= fixedRows && (Row() < fixedRows || Row() > lastRow))
        SetRow(std::clamp(Row(), fixedRows, lastRow));
    if (lastCol >= fixedCols && (Col() < fixedCols || Col() > lastCol))
        SetCol(std::clamp(Col(), fixedCols, lastCol));

    if (d->mouseActions->WheelAction() == TWheelAction::waScroll) {
        if (H == -1 && LeftCol() > fixedCols)
            SetLeftCol(LeftCol() - 1);
        if (H == 1 && LeftCol() < ColCount() - VisibleColCount())
            SetLeftCol(LeftCol() + 1);
        if (V == -1 && TopRow() > fixedRows)
            SetTopRow(TopRow() - 1);
        if (V == 1 && TopRow() < RowCount() - VisibleRowCount())
            SetTopRow(TopRow() + 1);
    } else {
        if (H == -1 && Col() > fixedCols)
            SetCol(Col() - 1);
        if (H == 1 && Col() < lastCol)
            SetCol(Col() + 1);
        if (V == -1 && Row() > fixedRows)
            SetRow(Row() - 1);
        if (V == 1 && Row() < lastRow)
            SetRow(Row() + 1);
    }

    viewport()->setCursor(panCursor(V, H));
    DrawPanMarker();
    const TGridRect now = Selection().Normalized();
    if (!(now == before))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}
