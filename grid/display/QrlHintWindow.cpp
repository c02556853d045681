// Hint windows and the hint manager.
#include "grid/display/QrlHintWindow.h"

#include "grid/display/QrlHTMLEngine.h"
#include "grid/model/QrlHTMLPicture.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlImageList.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

QString &hintFontName()
{
    static QString name;
    return name;
}

// Measured markup is laid out in this width whatever the hint's own limit.
constexpr int MarkupLayoutWidth = 1008;

// Measures (MeasureOnly) or paints a marked-up hint text in r with the layout engine: measured
// word-wrapped, painted without wrapping in the measured width, links in blue.
TSize hintMarkup(TCanvas &canvas,
                 const QString &text,
                 TRect r,
                 bool MeasureOnly,
                 bool WordWrap,
                 TCustomImageList *Images,
                 TPictureContainer *Container)
{
    THTMLPaintParams p;
    p.MeasureOnly = MeasureOnly;
    p.WordWrap = WordWrap;
    p.UrlColor = clBlue;
    p.ShadowColor = clGray;
    p.ShadowOffset = 1;
    p.BlinkVisible = false;
    p.Images = Images;
    p.PictureContainer = Container;
    p.HitX = r.Left;
    p.HitY = r.Top;
    if (MeasureOnly)
        r.Bottom = r.Top + 65535;
    THTMLPaintResult res;
    PaintHTMLText(canvas, text, r, p, res);
    return {res.TextWidth, res.TextHeight};
}

void useWideFont(TCanvas &canvas)
{
    if (!hintFontName().isEmpty())
        canvas.Font().SetName(hintFontName());
}

} // namespace

void SetHintFontName(const QString &Name)
{
    hintFontName() = Name;
}

QString HintFontName()
{
    return hintFontName();
}

// ---- THTMLHintWindow --------------------------------------------------------------------------

THTMLHintWindow::THTMLHintWindow(QWidget *AOwner)
    : QWidget(AOwner,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                  Qt::WindowTransparentForInput)
{
    // A hint under the cursor must not take the mouse or the focus from the widget it explains.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

THTMLHintWindow::TextKind THTMLHintWindow::kindOf(const QString &AHint) const
{
    if (FPlainText)
        return TextKind::Plain;
    if (AHint.startsWith(QStringLiteral("|\\")))
        return TextKind::Wide;
    return TextKind::Markup;
}

int THTMLHintWindow::measure(const QString &AHint, int MaxWidth)
{
    TCanvas canvas;
    TRect r{0, 0, std::max(MaxWidth, 1), 0};
    int margin = 8;
    switch (kindOf(AHint)) {
    case TextKind::Wide:
        FWideCaption = DecodeWideCellText(AHint);
        useWideFont(canvas);
        canvas.DrawText(FWideCaption, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
        break;
    case TextKind::Markup: {
        FWideCaption.clear();
        const TSize s = hintMarkup(canvas, AHint, r, true, true, FImages,
                                  qobject_cast<TPictureContainer *>(FPictureContainer));
        r.Right = s.cx;
        r.Bottom = s.cy;
        margin = 16;
        break;
    }
    case TextKind::Plain:
        FWideCaption.clear();
        canvas.DrawText(AHint, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
        break;
    }
    FTextWidth = r.Width();
    FTextHeight = r.Height();
    return margin;
}

void THTMLHintWindow::ActivateHint(const TRect &Rect, const QString &AHint)
{
    FCaption = AHint;
    const int layoutWidth = FPlainText && Rect.Width() > 0 ? Rect.Width() : MarkupLayoutWidth;
    const int margin = measure(AHint, layoutWidth);
    TRect r = Bounds(Rect.Left, Rect.Top, FTextWidth + margin, FTextHeight + 4);

    QScreen *screen = QGuiApplication::screenAt(QPoint(Rect.Left, Rect.Top));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const TRect m = TRect::fromQRect(screen->geometry());
        if (r.Right > m.Right)
            OffsetRect(r, m.Right - 2 - r.Right, 0);
        if (r.Bottom > m.Bottom)
            OffsetRect(r, 0, m.Bottom - 2 - r.Bottom);
    }
    setGeometry(r.toQRect());
    show();
    raise();
    update();
}

void THTMLHintWindow::ActivateHintData(const TRect &Rect, const QString &AHint, QObject *AData)
{
    if (auto *grid = qobject_cast<TQrlStringGrid *>(AData)) {
        FImages = dynamic_cast<TCustomImageList *>(grid->GridImages());
        FPictureContainer = grid->PictureContainer();
    }
    ActivateHint(Rect, AHint);
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const QString &AHint, QObject *)
{
    measure(AHint, MaxWidth > 0 ? MaxWidth : MarkupLayoutWidth);
    return TRect{0, 0, FTextWidth, FTextHeight};
}

void THTMLHintWindow::ReleaseHandle()
{
    hide();
}

void THTMLHintWindow::SetColor(TColor Value)
{
    FColor = Value;
    update();
}

void THTMLHintWindow::paintEvent(QPaintEvent *)
{
    TCanvas canvas(static_cast<QPaintDevice *>(this));
    TRect r{0, 0, width(), height()};
    canvas.Brush().SetColor(FColor);
    canvas.FillRect(r);
    TRect frame = r;
    canvas.Frame3D(frame, cl3DLight, cl3DDkShadow, 1);

    r.Left += 4;
    r.Right -= 4;
    r.Top = (r.Height() - FTextHeight) / 2;
    r.Bottom = r.Top + FTextHeight + 8;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.SetBkMode(TBkMode::bkTransparent);
    canvas.Font().SetColor(clInfoText);
    switch (kindOf(FCaption)) {
    case TextKind::Wide:
        useWideFont(canvas);
        canvas.DrawText(FWideCaption, r, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
        break;
    case TextKind::Markup:
        hintMarkup(canvas, FCaption, r, false, false, FImages,
                   qobject_cast<TPictureContainer *>(FPictureContainer));
        break;
    case TextKind::Plain:
        canvas.DrawText(FCaption, r, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP);
        break;
    }
}

// ---- THintManager -----------------------------------------------------------------------------

THintManager::THintManager(QObject *AParent) : QObject(AParent), FTimer(new QTimer(this))
{
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, &THintManager::timeout);
}

THintManager::~THintManager()
{
    watchApplication(false);
    for (auto &w : FWatched)
        if (w.widget)
            w.widget->removeEventFilter(this);
    delete FWindow.data();
    delete FPlainWindow.data();
}

THintManager::TBuildHint *THintManager::builderOf(QObject *Widget)
{
    for (auto &w : FWatched)
        if (w.widget && w.raw == Widget)
            return &w.build;
    return nullptr;
}

void THintManager::Attach(QWidget *Widget, TBuildHint Build)
{
    if (!Widget)
        return;
    if (TBuildHint *b = builderOf(Widget)) {
        *b = std::move(Build);
        return;
    }
    FWatched.push_back({Widget, Widget, std::move(Build)});
    Widget->setMouseTracking(true);
    Widget->installEventFilter(this);
    connect(Widget, &QObject::destroyed, this, [this](QObject *gone) {
        std::erase_if(FWatched, [gone](const TWatched &w) { return w.raw == gone; });
    });
}

void THintManager::Detach(QWidget *Widget)
{
    if (!builderOf(Widget))
        return;
    if (FPendingWidget == Widget || FHintWidget == Widget)
        CancelHint();
    if (FMoveWidget == Widget)
        FMoveWidget = nullptr;
    Widget->removeEventFilter(this);
    disconnect(Widget, &QObject::destroyed, this, nullptr);
    std::erase_if(FWatched, [Widget](const TWatched &w) { return w.raw == Widget; });
}

THTMLHintWindow *THintManager::Window()
{
    if (!FWindow)
        FWindow = new THTMLHintWindow(nullptr);
    return FWindow;
}

THTMLHintWindow *THintManager::plainWindow()
{
    if (!FPlainWindow) {
        FPlainWindow = new THTMLHintWindow(nullptr);
        FPlainWindow->SetPlainText(true);
    }
    return FPlainWindow;
}

void THintManager::show(const THintInfo &Info)
{
    THTMLHintWindow *win = Info.UseHTMLWindow ? Window() : plainWindow();
    if (FShown && FShown != win)
        FShown->ReleaseHandle();
    win->SetColor(Info.Color);
    TRect r{Info.Pos.x(), Info.Pos.y(), Info.Pos.x(), Info.Pos.y()};
    if (!Info.UseHTMLWindow && Info.MaxWidth > 0)
        r.Right = r.Left + Info.MaxWidth;
    win->ActivateHintData(r, Info.Text, Info.Data);
    FShown = win;
    FShownText = Info.Text;
    watchApplication(true);
}

void THintManager::ShowHint(const THintInfo &Info)
{
    FTimer->stop();
    FMoveWidget = nullptr;
    FPendingWidget = nullptr;
    FHintWidget = nullptr;
    FHintArea = QRect();
    if (Info.Text.isEmpty()) {
        CancelHint();
        return;
    }
    show(Info);
}

void THintManager::hideWindows()
{
    if (FShown)
        FShown->ReleaseHandle();
    FShown = nullptr;
    FShownText.clear();
    FHintWidget = nullptr;
}

void THintManager::stop()
{
    FMoveWidget = nullptr;
    if (FTimer->isActive() || FShown)
        CancelHint();
}

void THintManager::CancelHint()
{
    FTimer->stop();
    FPendingWidget = nullptr;
    hideWindows();
    watchApplication(false);
}

bool THintManager::HintShowing() const
{
    return FShown && FShown->isVisible();
}

bool THintManager::HintPending() const
{
    return FTimer->isActive();
}

QString THintManager::ShownText() const
{
    return HintShowing() ? FShownText : QString();
}

THTMLHintWindow *THintManager::ShownWindow() const
{
    return HintShowing() ? FShown.data() : nullptr;
}

void THintManager::arm(QWidget *Widget, const QPoint &Pos)
{
    FPendingWidget = Widget;
    FPendingPos = Pos;
    FTimer->start(std::max(FHintPause, 0));
    watchApplication(true);
}

void THintManager::timeout()
{
    QWidget *w = FPendingWidget;
    FPendingWidget = nullptr;
    TBuildHint *build = w && w->isVisible() ? builderOf(w) : nullptr;
    THintInfo info;
    if (!build || !*build || !(*build)(FPendingPos, info) || info.Text.isEmpty()) {
        if (!HintShowing())
            watchApplication(false);
        return;
    }
    show(info);
    FHintWidget = w;
    FHintArea = info.Area;
}

void THintManager::watchApplication(bool On)
{
    if (On == FWatchingApp || !qApp)
        return;
    FWatchingApp = On;
    if (On)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool THintManager::eventFilter(QObject *watched, QEvent *event)
{
    // With the application watched, the watched widgets' events come here twice; every step
    // below gives the same result when repeated.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        stop();
        return false;
    case QEvent::MouseMove: {
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || !builderOf(w))
            return false;
        auto *me = static_cast<QMouseEvent *>(event);
        const QPoint p = me->position().toPoint();
        if (HintShowing() && FHintWidget == w) {
            if (FHintArea.isEmpty() || FHintArea.contains(p))
                return false;
            // Another cell: this hint goes and the next one waits for its delay.
            hideWindows();
        }
        // No hint arms while a button is held (sizing, dragging: they show their own hints).
        if (me->buttons() != Qt::NoButton) {
            FMoveWidget = nullptr;
            return false;
        }
        FMoveWidget = w;
        FMovePos = p;
        // Armed once the widget has handled the move: its own handling may cancel the hint
        // of the cell the mouse left, which must not take the new delay with it.
        if (!FArmQueued) {
            FArmQueued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    FArmQueued = false;
                    if (FMoveWidget && builderOf(FMoveWidget))
                        arm(FMoveWidget, FMovePos);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        if (watched &&
            (watched == FPendingWidget || watched == FHintWidget || watched == FMoveWidget))
            stop();
        return false;
    default:
        return QObject::eventFilter(watched, event);
    }
}
