#include "common/button/LbButton.h"

#include "platform/ui/ErrorReport.h"
#include "platform/ui/ModalForm.h"

#include <QAction>
#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace {

struct KindInfo
{
    int modalResult;
    const char *resource;
    const char *caption;
};

KindInfo kindInfo(TLbButtonKind kind)
{
    switch (kind) {
    case TLbButtonKind::bkOK:
        return {mrOk, "LBOK", "OK"};
    case TLbButtonKind::bkCancel:
        return {mrCancel, "LBCANCEL", "Abbrechen"};
    case TLbButtonKind::bkHelp:
        return {mrNone, "LBHELP", "Hilfe"};
    case TLbButtonKind::bkYes:
        return {mrYes, "LBYES", "Ja"};
    case TLbButtonKind::bkNo:
        return {mrNo, "LBNO", "Nein"};
    case TLbButtonKind::bkClose:
        return {mrNone, "LBCLOSE", "Schließen"};
    case TLbButtonKind::bkAbort:
        return {mrAbort, "LBABORT", "Abbrechen"};
    case TLbButtonKind::bkRetry:
        return {mrRetry, "LBRETRY", "Wiederholen"};
    case TLbButtonKind::bkIgnore:
        return {mrIgnore, "LBIGNORE", "Ignorieren"};
    case TLbButtonKind::bkAll:
        return {12, "LBALL", "Alle"};
    case TLbButtonKind::bkCustom:
        break;
    }
    return {mrNone, nullptr, nullptr};
}

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isPressKey(int key)
{
    return isEnterKey(key) || key == Qt::Key_Space;
}

// Any kind of push button, told by its class name as the original did.
bool isPushButtonClass(const QWidget *w)
{
    const QString cls = QString::fromLatin1(w->metaObject()->className()).toUpper();
    return cls.contains(QLatin1String("BUTTON")) && !cls.contains(QLatin1String("RADIOBUTTON"));
}

void setWindowModalResult(QWidget *window, int result)
{
    if (auto *form = qobject_cast<TModalForm *>(window))
        form->SetModalResult(result);
    else if (auto *dialog = qobject_cast<QDialog *>(window))
        dialog->done(result);
}

} // namespace

TLbButton::TLbButton(QWidget *parent) : QWidget(parent)
{
    resize(100, 23);
    setFocusPolicy(Qt::TabFocus);
    if (parent) {
        if (auto *form = qobject_cast<TModalForm *>(parent->window()))
            FHTFont = form->Font();
        else
            FHTFont.SetFromQFont(parent->window()->font());
    }
    FThread = std::make_unique<TLbButtonThread>([this] { FadeTick(); });
    WatchWindow();
}

TLbButton::~TLbButton()
{
    FDestroying = true;
    EndThread();
    if (FWatchedWindow)
        FWatchedWindow->removeEventFilter(this);
}

// ---- properties ----------------------------------------------------------------------------

void TLbButton::SetCaption(const QString &caption)
{
    FCaption = caption;
    UpdateMnemonic();
    update();
}

void TLbButton::SetColor(TColor color)
{
    FColor = color;
    update();
}

TFont TLbButton::Font() const
{
    TFont f;
    f.SetFromQFont(font());
    f.SetColor(FFontColor);
    return f;
}

void TLbButton::SetFont(const TFont &font)
{
    FFontColor = font.Color();
    setFont(font.toQFont());
    update();
}

void TLbButton::SetTabStop(bool on)
{
    FTabStop = on;
    // Focus by mouse is taken explicitly on a left press only, so Qt's click focus stays off.
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void TLbButton::SetPopupMenu(QMenu *menu)
{
    FPopupMenu = menu;
    update();
}

void TLbButton::SetAction(QAction *action)
{
    if (FAction)
        disconnect(FAction, nullptr, this, nullptr);
    FAction = action;
    if (action) {
        connect(action, &QAction::changed, this, &TLbButton::ActionChanged);
        ActionChanged();
    }
}

void TLbButton::ActionChanged()
{
    QAction *a = FAction;
    if (!a)
        return;
    SetCaption(a->text());
    setEnabled(a->isEnabled());
    SetHint(a->toolTip());
    if (!a->isVisible())
        hide();
    else if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide))
        show();

    if (!a->icon().isNull() && FGlyph.isNull()) {
        const QSize size = a->icon().availableSizes().value(0, QSize(16, 16));
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(0xFF, 0x00, 0xFF));
        QPainter p(&img);
        a->icon().paint(&p, img.rect());
        p.end();
        FGlyph = img;
        FNumGlyphs = 1;
        update();
    }
}

void TLbButton::SetAlignment(TLbAlignment a)
{
    FAlignment = a;
    update();
}

void TLbButton::SetColorStyle(TLbColorStyle style)
{
    const TLbScheme *scheme = LbSchemeColors(style);
    if (!scheme)
        return;
    FColor = scheme->Color;
    FLightColor = scheme->LightColor;
    FShadowColor = scheme->ShadowColor;
    FColorWhenDown = scheme->ColorWhenDown;
    FHotTrackColor = scheme->HotTrackColor;
    FFlat = scheme->Flat;
    FFontColor = scheme->FontColor;
    FStyle = scheme->Style;
    update();
}

void TLbButton::SetFlat(bool on)
{
    FFlat = on;
    update();
}

void TLbButton::SetGlyph(const QImage &glyph)
{
    FGlyph = glyph;
    FNumGlyphs = (!glyph.isNull() && glyph.height() > 0) ? glyph.width() / glyph.height() : 0;
    FKind = TLbButtonKind::bkCustom;
    update();
}

void TLbButton::SetKind(TLbButtonKind kind)
{
    FKind = kind;
    const KindInfo info = kindInfo(kind);
    if (!info.resource)
        return;
    FNumGlyphs = 2;
    FModalResult = info.modalResult;
    FGlyph = LbResourceBitmap(QString::fromLatin1(info.resource));
    SetCaption(QString::fromUtf8(info.caption));
}

void TLbButton::SetLayout(TLbButtonLayout layout)
{
    FLayout = layout;
    update();
}

void TLbButton::SetLightColor(TColor c)
{
    FLightColor = c;
    update();
}

void TLbButton::SetModalResult(int result)
{
    FModalResult = result;
    FKind = TLbButtonKind::bkCustom;
}

void TLbButton::SetNumGlyphs(int n)
{
    FNumGlyphs = n;
    update();
}

void TLbButton::SetShadowColor(TColor c)
{
    FShadowColor = c;
    update();
}

void TLbButton::SetSlowDecease(bool on)
{
    FSlowDecease = on;
    if (on) {
        if (!FThread)
            FThread = std::make_unique<TLbButtonThread>([this] { FadeTick(); });
    } else if (FThread) {
        FHotTrackStep = 0;
        EndThread();
    }
    update();
}

void TLbButton::SetStyle(TLbButtonStyle style)
{
    // The transparent styles need no window style here: Qt composes a child over its parent.
    FStyle = style;
    update();
}

void TLbButton::SetWordWrap(bool on)
{
    FWordWrap = on;
    update();
}

// ---- clicking ------------------------------------------------------------------------------

void TLbButton::Click()
{
    QPointer<TLbButton> self(this);
    bDown = true;
    const bool clicked = DoClick();
    if (!self)
        return;
    // A refused click (hidden or disabled button) must not leave the face pressed.
    if (bDown) {
        bDown = false;
        update();
    }
    if (clicked && FAction)
        FAction->trigger();
}

bool TLbButton::DoClick()
{
    if (!VisibleFlag() || !isEnabled() || !bDown)
        return true;
    bDown = false;
    QPointer<TLbButton> self(this);
    // A failing handler is reported here, so the button never stays pressed and its caller
    // never sees the exception; the click then goes no further (no modal result, no menu).
    if (OnClick && !plat::Guarded([&] { OnClick(this); }))
        return false;
    if (!self)
        return true;
    if (FModalResult != mrNone) {
        QWidget *form = window();
        if (form != this)
            setWindowModalResult(form, FModalResult);
        if (!self)
            return true;
    }
    if (FPopupMenu)
        FPopupMenu->popup(mapToGlobal(QPoint(0, height())));
    return true;
}

// ---- fading --------------------------------------------------------------------------------

void TLbButton::FadeTick()
{
    if (FDestroying)
        return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        FHotTrackStep = 0;
        if (FThread)
            FThread->Suspend();
    }
    update();
}

void TLbButton::EndThread()
{
    if (!FThread)
        return;
    FThread->Terminate();
    FThread.reset();
}

// ---- painting ------------------------------------------------------------------------------

void TLbButton::RenderFace(QImage &target)
{
    const int W = target.width();
    const int H = target.height();
    const bool transparent = LbIsTransparentStyle(FStyle);
    target.fill(transparent ? QColor(0xFF, 0x00, 0xFF) : ToQColor(ColorToRGB(FColor)));

    TLbFace face;
    face.Width = W;
    face.Height = H;
    face.Alignment = FAlignment;
    face.Caption = FCaption;
    face.Layout = FLayout;
    face.Font = (IsHot() && FUseHTFont) ? FHTFont : Font();
    face.ShadowColor = FShadowColor;
    face.LightColor = FLightColor;
    face.HotTrackColor = FHotTrackColor;
    face.DownColor = FColorWhenDown;
    face.FaceColor = FColor;
    face.Style = FStyle;
    face.HasPopup = !FPopupMenu.isNull();
    face.WordWrap = FWordWrap;
    face.Flat = FFlat;
    face.Enabled = isEnabled();
    face.Hot = IsHot();
    face.Pressed = bDown;
    face.Glyph = FGlyph;
    face.NumGlyphs = FNumGlyphs;
    face.HotTrackStep = FHotTrackStep;

    TCanvas canvas(&target);
    if (FStyle == TLbButtonStyle::bsOld && hasFocus()) {
        face.Width = W - 2;
        face.Height = H - 2;
        if (bDown)
            face.LightColor = FShadowColor;
        if (face.Width > 0 && face.Height > 0) {
            QImage inner(face.Width, face.Height, QImage::Format_ARGB32_Premultiplied);
            inner.fill(ToQColor(ColorToRGB(FColor)));
            {
                TCanvas innerCanvas(&inner);
                LbDrawButtonFace(innerCanvas, face);
            }
            canvas.Draw(1, 1, inner);
        }
        canvas.Brush().SetColor(clBlack);
        canvas.FrameRect(Rect(0, 0, W, H));
    } else {
        LbDrawButtonFace(canvas, face);
    }
    // Drawn on the face before the key colour is taken out; the face is opaque where it lies.
    if (hasFocus() && isEnabled() && FStyle != TLbButtonStyle::bsShape)
        canvas.DrawFocusRect(Rect(4, 4, W - 4, H - 4));
    canvas.Flush();

    if (transparent) {
        for (int y = 0; y < H; ++y) {
            auto *line = reinterpret_cast<QRgb *>(target.scanLine(y));
            for (int x = 0; x < W; ++x)
                if ((line[x] & 0x00FFFFFFu) == 0x00FF00FFu && qAlpha(line[x]) == 0xFF)
                    line[x] = 0;
        }
    }
}

void TLbButton::paintEvent(QPaintEvent *)
{
    if (FDestroying || width() <= 0 || height() <= 0)
        return;
    // One off-screen face per repaint, copied in one step.
    QImage face(size(), QImage::Format_ARGB32_Premultiplied);
    RenderFace(face);
    QPainter p(this);
    p.drawImage(0, 0, face);
}

// ---- input ---------------------------------------------------------------------------------

bool TLbButton::VisibleFlag() const
{
    return parentWidget() ? isVisibleTo(parentWidget()) : isVisible();
}

bool TLbButton::ParentShowing() const
{
    return parentWidget() ? parentWidget()->isVisible() : true;
}

void TLbButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && isEnabled()) {
        bDown = true;
        setFocus(Qt::MouseFocusReason);
        update();
        e->accept();
        return;
    }
    QWidget::mousePressEvent(e);
}

void TLbButton::mouseReleaseEvent(QMouseEvent *e)
{
    // The pressed button keeps the mouse, so a release off the button lands here too and
    // still clicks: the press is what counts.
    QPointer<TLbButton> self(this);
    if (bDown)
        Click();
    if (!self)
        return;
    bDown = false;
    update();
    e->accept();
}

void TLbButton::enterEvent(QEnterEvent *e)
{
    QWidget::enterEvent(e);
    if (!isEnabled() || !VisibleFlag() || !ParentShowing())
        return;
    bCursorOnButton = true;
    FHotTrackStep = 8;
    // A fade still running from the last leave would otherwise dim the highlight under the
    // mouse.
    if (FThread)
        FThread->Suspend();
    update();
    if (OnMouseEnter)
        plat::Guarded([&] { OnMouseEnter(this); });
}

void TLbButton::leaveEvent(QEvent *e)
{
    QWidget::leaveEvent(e);
    bCursorOnButton = false;
    if (FSlowDecease && FThread) {
        FThread->Resume();
    } else {
        FHotTrackStep = 0;
        update();
    }
    if (OnMouseExit && isEnabled() && VisibleFlag() && ParentShowing())
        plat::Guarded([&] { OnMouseExit(this); });
}

void TLbButton::keyPressEvent(QKeyEvent *e)
{
    if (isPressKey(e->key()) && isEnabled()) {
        bDown = true;
        update();
        e->accept();
        return;
    }
    e->ignore();
}

void TLbButton::keyReleaseEvent(QKeyEvent *e)
{
    if (!isPressKey(e->key())) {
        e->ignore();
        return;
    }
    // Only a press that started here clicks: a release left over from a key that closed
    // another window must not click the button that got the focus afterwards.
    QPointer<TLbButton> self(this);
    if (!e->isAutoRepeat() && bDown)
        Click();
    if (!self)
        return;
    update();
    e->accept();
}

void TLbButton::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    update();
}

void TLbButton::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    update();
}

void TLbButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
        FEnabled = isEnabled();
        bDown = false;
        update();
    } else if (e->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(e);
}

void TLbButton::showEvent(QShowEvent *e)
{
    WatchWindow();
    QWidget::showEvent(e);
}

// A window closed under the pointer sends no leave, so a hidden button would come back
// highlighted on the next showing.
void TLbButton::hideEvent(QHideEvent *e)
{
    bCursorOnButton = false;
    FHotTrackStep = 0;
    if (FThread)
        FThread->Suspend();
    QWidget::hideEvent(e);
}

bool TLbButton::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::ParentChange:
        WatchWindow();
        break;
    case QEvent::Shortcut: {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() != FShortcutId || FShortcutId == 0)
            break;
        if (VisibleFlag() && isEnabled() && ParentShowing()) {
            bDown = true;
            Click();
        }
        return true;
    }
    default:
        break;
    }
    return QWidget::event(e);
}

void TLbButton::UpdateMnemonic()
{
    if (FShortcutId != 0)
        releaseShortcut(FShortcutId);
    FShortcutId = 0;
    const QKeySequence seq = QKeySequence::mnemonic(FCaption);
    if (!seq.isEmpty())
        FShortcutId = grabShortcut(seq);
}

// Enter and Escape reach the window when the focused control does not take them; the default
// and cancel buttons pick them up there.
void TLbButton::WatchWindow()
{
    QWidget *w = window();
    if (w == this)
        w = nullptr;
    if (FWatchedWindow == w)
        return;
    if (FWatchedWindow)
        FWatchedWindow->removeEventFilter(this);
    FWatchedWindow = w;
    if (w)
        w->installEventFilter(this);
}

bool TLbButton::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == FWatchedWindow && e->type() == QEvent::KeyPress)
        return DialogKey(static_cast<QKeyEvent *>(e));
    return QWidget::eventFilter(watched, e);
}

bool TLbButton::DialogKey(QKeyEvent *e)
{
    const int key = e->key();
    if (!((isEnterKey(key) && FDefault) || (key == Qt::Key_Escape && FCancel)))
        return false;
    if ((e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (!VisibleFlag() || !isEnabled())
        return false;
    // A focused push button handles the key itself.
    if (QWidget *active = FWatchedWindow->focusWidget())
        if (isPushButtonClass(active))
            return false;
    bDown = true;
    Click();
    e->accept();
    return true;
}
