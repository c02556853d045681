// The grid library's own combo box.
#include "grid/editing/QsgComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>

TQsgCustomCombo::TQsgCustomCombo(QWidget *AOwner) : QComboBox(AOwner)
{
    FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
    // No common-controls library here: the classic look throughout.
    FIsThemed = false;
    FLabelFont.OnChange = [this] {
        if (FLabel)
            UpdateLabel();
    };
    setMouseTracking(true);
    // Only the user's picks are changes; a selection set by code is not.
    connect(this, &QComboBox::activated, this, [this](int) { Change(); });
}

TQsgCustomCombo::~TQsgCustomCombo()
{
    FLabelFont.OnChange = nullptr;
    delete FLabel.data();
}

// ---- properties -------------------------------------------------------------------------------

TComboStyle TQsgCustomCombo::Style() const
{
    return isEditable() ? TComboStyle::csDropDown : TComboStyle::csDropDownList;
}

void TQsgCustomCombo::SetStyle(TComboStyle Value)
{
    if (Value == Style())
        return;
    setEditable(Value == TComboStyle::csDropDown);
    if (lineEdit())
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &) { Change(); });
}

void TQsgCustomCombo::SetBorderColor(TColor Value)
{
    FBorderColor = Value;
    update();
}

void TQsgCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32)
        return;
    FButtonWidth = Value;
    update();
}

void TQsgCustomCombo::SetEtched(bool Value)
{
    if (FEtched == Value)
        return;
    FEtched = Value;
    update();
}

void TQsgCustomCombo::SetFlat(bool Value)
{
    if (FFlat == Value)
        return;
    FFlat = Value;
    setFrame(!Value);
    if (Value && FFlatParentColor && parentWidget())
        applyColor(parentColor());
    else
        applyColor(FLoadedColor);
    update();
}

void TQsgCustomCombo::SetFlatLineColor(TColor Value)
{
    FFlatLineColor = Value;
    update();
}

void TQsgCustomCombo::SetFlatParentColor(bool Value)
{
    FFlatParentColor = Value;
    update();
}

void TQsgCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    if (Value > 0)
        applyDroppedWidth(Value);
}

void TQsgCustomCombo::applyDroppedWidth(int Width)
{
    FDroppedWidth = Width;
    view()->setMinimumWidth(Width);
}

QString TQsgCustomCombo::LabelCaption() const
{
    return FLabel ? FLabel->text() : QString();
}

void TQsgCustomCombo::SetLabelCaption(const QString &Value)
{
    if (!FLabel) {
        FLabel = new QLabel(parentWidget());
        FLabel->setBuddy(this);
        FLabel->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    }
    FLabel->setText(Value);
    UpdateLabel();
}

void TQsgCustomCombo::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    UpdateLabel();
}

void TQsgCustomCombo::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    UpdateLabel();
}

void TQsgCustomCombo::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    UpdateLabel();
}

void TQsgCustomCombo::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    UpdateLabel();
}

void TQsgCustomCombo::SetLabelFont(const TFont &Value)
{
    if (!FParentFont)
        FLabelFont.Assign(Value);
    UpdateLabel();
}

void TQsgCustomCombo::SetParentFont(bool Value)
{
    FParentFont = Value;
    UpdateLabel();
}

void TQsgCustomCombo::SetColor(TColor Value)
{
    if (FLoading)
        FLoadedColor = Value;
    applyColor(Value);
}

void TQsgCustomCombo::applyColor(TColor Value)
{
    FColor = Value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Value));
    pal.setColor(QPalette::Window, ToQColor(Value));
    setPalette(pal);
    update();
}

TColor TQsgCustomCombo::parentColor() const
{
    const QWidget *p = parentWidget();
    return p ? FromQColor(p->palette().color(p->backgroundRole())) : FColor;
}

void TQsgCustomCombo::Init()
{
    FNormalColor = FColor;
}

void TQsgCustomCombo::SelectItem(const QString &AString)
{
    // The item list compares without case.
    const int i = findText(AString, Qt::MatchFixedString);
    if (i >= 0)
        setCurrentIndex(i);
}

void TQsgCustomCombo::Loaded()
{
    FLoading = false;
    if (FDropWidth > 0)
        applyDroppedWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!FFlatParentColor || FFlat)
        applyColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
        if (FParentFont)
            FLabel->setFont(font());
    }
    UpdateLabel();
    Init();
}

// ---- label ------------------------------------------------------------------------------------

void TQsgCustomCombo::UpdateLabel()
{
    if (!FLabel)
        return;
    FLabel->setAutoFillBackground(!FLabelTransparent);
    TFont f;
    if (FParentFont) {
        f.SetFromQFont(font());
    } else {
        f.Assign(FLabelFont);
        FLabel->setFont(FLabelFont.toQFont());
        QPalette pal = FLabel->palette();
        pal.setColor(QPalette::WindowText, ToQColor(FLabelFont.Color()));
        FLabel->setPalette(pal);
    }
    if (FParentFont)
        FLabel->setFont(font());
    TCanvas measure;
    measure.SetFont(f);
    TRect r{0, 0, 1000, 255};
    measure.DrawText(FLabel->text(), r, DT_CALCRECT | DT_SINGLELINE | DT_HIDEPREFIX);
    const int W = r.Right - r.Left;
    FLabel->resize(W, r.Bottom - r.Top);

    const int L = x();
    const int T = y();
    const int Wd = width();
    const int H = height();
    const int LW = FLabel->width();
    const int LH = FLabel->height();
    const int M = FLabelMargin;
    const int centreY = LH < H ? T + (H - LH) / 2 : T - (LH - H) / 2;
    const int centreX = LW < Wd ? L + (Wd - LW) / 2 : L - (LW - Wd) / 2;
    int top = T;
    int left = L;
    switch (FLabelPosition) {
    case TLabelPosition::lpLeftTop:
        top = T;
        left = L - W - M;
        break;
    case TLabelPosition::lpLeftCenter:
        top = centreY;
        left = L - W - M;
        break;
    case TLabelPosition::lpLeftBottom:
        top = T + H - LH;
        left = L - W - M;
        break;
    case TLabelPosition::lpTopLeft:
        top = T - LH - M;
        left = L;
        break;
    case TLabelPosition::lpBottomLeft:
        top = T + H + M;
        left = L;
        break;
    case TLabelPosition::lpLeftTopLeft:
        top = T;
        left = L - M;
        break;
    case TLabelPosition::lpLeftCenterLeft:
        top = centreY;
        left = L - M;
        break;
    case TLabelPosition::lpLeftBottomLeft:
        top = T + H - LH;
        left = L - M;
        break;
    case TLabelPosition::lpTopCenter:
        top = T - LH - M;
        left = centreX;
        break;
    case TLabelPosition::lpBottomCenter:
        top = T + H + M;
        left = centreX;
        break;
    case TLabelPosition::lpRightTop:
        top = T;
        left = L + Wd + M;
        break;
    case TLabelPosition::lpRightCenter:
        top = centreY;
        left = L + Wd + M;
        break;
    case TLabelPosition::lpRighBottom:
        top = T + H - LH;
        left = L + Wd + M;
        break;
    }
    FLabel->move(left, top);
    // A label without a parent would be a window of its own.
    FLabel->setVisible(!isHidden() && FLabel->parentWidget());
}

void TQsgCustomCombo::setLabelBold(bool Bold)
{
    if (!FLabel)
        return;
    QFont f = FLabel->font();
    f.setBold(Bold);
    FLabel->setFont(f);
}

// ---- painting decision and drawing -----------------------------------------------------------

bool TQsgCustomCombo::ControlPaintsItself() const
{
    if (FIsVista && FButtonColor == clNone)
        return false;
    return FFlat || FButtonColor != clNone || FBorderColor != clNone ||
           (FFocusBorderColor != clNone && FHasFocus) ||
           (!isEnabled() && VisualStyles() && !FDisabledBorder);
}

int TQsgCustomCombo::BorderPasses() const
{
    if (isEnabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return 0;
    if (FIsVista && FBorderColor == clNone)
        return 0;
    int n = 0;
    if (FFlat || (!isEnabled() && VisualStyles() && !FDisabledBorder))
        ++n;
    if ((FFocusBorderColor != clNone && FHasFocus) || FBorderColor != clNone)
        ++n;
    return n;
}

TComboFrameKind TQsgCustomCombo::FrameKind() const
{
    if (!isEnabled() && FIsThemed && !FDisabledBorder)
        return TComboFrameKind::fkDisabled;
    if (FBorderColor != clNone && !(FHasFocus && FFocusBorderColor != clNone))
        return TComboFrameKind::fkBorder;
    if (FFocusBorderColor != clNone)
        return FHasFocus ? TComboFrameKind::fkFocus : TComboFrameKind::fkNone;
    return TComboFrameKind::fkFlat;
}

bool TQsgCustomCombo::hot() const
{
    return FMouseInControl || FHasFocus;
}

bool TQsgCustomCombo::MouseButtonDown() const
{
    return QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton);
}

void TQsgCustomCombo::PaintButton(TCanvas &ACanvas)
{
    const int cw = width();
    const int ch = height();
    const TRect r{cw - FButtonWidth + 3, 1, cw - 1, ch - 1};
    const bool down = MouseButtonDown();
    if (FButtonColor != clNone) {
        // A hot or pressed colour left unset keeps the button in its normal colour.
        TColor back = FButtonColor;
        if (FButtonHover) {
            const TColor c = down ? FButtonColorDown : FButtonColorHot;
            if (c != clNone)
                back = c;
        }
        const TRect b{r.Left - 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        ACanvas.Brush().SetColor(back);
        ACanvas.Pen().SetColor(back);
        ACanvas.Rectangle(b);
        if (FButtonBorderColor != clNone) {
            ACanvas.Pen().SetColor(FButtonBorderColor);
            ACanvas.MoveTo(b.Left, b.Top);
            ACanvas.LineTo(b.Left, b.Bottom);
        }
        TColor arrow =
            down && FButtonTextColorDown != clNone ? FButtonTextColorDown : FButtonTextColor;
        if (arrow == clNone)
            arrow = clBtnText;
        ACanvas.Brush().SetColor(arrow);
        ACanvas.Pen().SetColor(arrow);
        ACanvas.Polygon(
            {{b.Left + 4, b.Top + 7}, {b.Left + 10, b.Top + 7}, {b.Left + 7, b.Top + 10}});
    } else {
        // Themed or not, the classic glyph: there are no visual styles to draw with.
        std::uint32_t state = DFCS_SCROLLCOMBOBOX | DFCS_FLAT;
        if (!isEnabled())
            state |= DFCS_INACTIVE;
        ACanvas.DrawFrameControl({r.Left - 4, r.Top + 1, r.Right, r.Bottom - 1}, DFC_SCROLL, state);
    }
    ACanvas.ExcludeClipRect({cw - FButtonWidth - 4, 0, cw + 2, ch});
}

void TQsgCustomCombo::DrawBorder(TCanvas &ACanvas)
{
    TRect r{0, 0, width(), height()};
    switch (FrameKind()) {
    case TComboFrameKind::fkNone:
        return;
    case TComboFrameKind::fkDisabled:
        ACanvas.Brush().SetColor(DisabledFrameColor);
        ACanvas.FrameRect(r);
        return;
    case TComboFrameKind::fkBorder:
        ACanvas.Brush().SetColor(FBorderColor);
        ACanvas.FrameRect(r);
        return;
    case TComboFrameKind::fkFocus:
        ACanvas.Brush().SetColor(FFocusBorderColor);
        ACanvas.FrameRect(r);
        return;
    case TComboFrameKind::fkFlat:
        break;
    }
    const bool sunken = hot() && FFocusBorder;
    const TColor outer = sunken ? clBtnFace : parentColor();
    const TColor inner = FColor;
    if (sunken) {
        TRect e = r;
        ACanvas.DrawEdge(e, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        ACanvas.Brush().SetColor(outer);
        ACanvas.FrameRect(e);
        ACanvas.Brush().SetColor(inner);
        ACanvas.FrameRect({e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1});
    } else {
        ACanvas.Brush().SetColor(outer);
        ACanvas.FrameRect(r);
        const TRect r2{r.Left + 1, r.Top + 1, r.Right - 1 - FButtonWidth, r.Bottom - 1};
        ACanvas.FrameRect(r2);
        ACanvas.Brush().SetColor(inner);
        ACanvas.FrameRect({r2.Left + 1, r2.Top + 1, r2.Right - 1, r2.Bottom - 1});
    }
    if (FFlat && FFlatLineColor != clNone) {
        ACanvas.Pen().SetColor(FFlatLineColor);
        ACanvas.MoveTo(r.Left - 2, height() - 1);
        ACanvas.LineTo(r.Right - FButtonWidth - 1, height() - 1);
    }
}

void TQsgCustomCombo::DrawBorders(TCanvas &ACanvas)
{
    const int passes = BorderPasses();
    if (passes == 0)
        return;
    for (int i = 0; i < passes; ++i)
        DrawBorder(ACanvas);
    if (FIsWinXP && VisualStyles())
        return;
    const int cw = width();
    const int ch = height();
    ACanvas.ExcludeClipRect({cw - FButtonWidth + 4, 4, cw - 4, ch - 4});
    const TRect b{cw - FButtonWidth, 2, cw - 2, ch - 2};
    if (!hot()) {
        ACanvas.Brush().SetColor(clBtnFace);
        ACanvas.FillRect({b.Left, b.Top + 1, b.Right - 1, b.Bottom - 1});
    }
    ACanvas.ExcludeClipRect(b);
}

void TQsgCustomCombo::paintEvent(QPaintEvent *e)
{
    const bool ltr = layoutDirection() == Qt::LeftToRight;
    if (!ControlPaintsItself()) {
        QComboBox::paintEvent(e);
        if (ltr && BorderPasses() > 0) {
            QPainter p(this);
            TCanvas canvas(&p);
            DrawBorders(canvas);
        }
        return;
    }
    QPainter p(this);
    TCanvas canvas(&p);
    canvas.Brush().SetColor(FColor);
    canvas.FillRect({0, 0, width(), height()});
    if (ltr)
        PaintButton(canvas);
    {
        // The platform's content: the current item's text (an editable combo's edit paints
        // itself).
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        // A list with no item selected shows the text it stands for.
        if (!isEditable() && currentIndex() < 0 && !placeholderText().isEmpty())
            opt.currentText = placeholderText();
        p.save();
        p.setClipRect(0, 0, width() - FButtonWidth - 4, height());
        style()->drawControl(QStyle::CE_ComboBoxLabel, &opt, &p, this);
        p.restore();
    }
    canvas.ResetClip();
    if (ltr)
        DrawBorders(canvas);
}

void TQsgCustomCombo::updateButton()
{
    update(QRect(width() - FButtonWidth, 0, FButtonWidth, height()));
}

// ---- focus, mouse, list ----------------------------------------------------------------------

void TQsgCustomCombo::Change()
{
    if (OnChange)
        OnChange(this);
}

void TQsgCustomCombo::DoEnter()
{
    FHasFocus = true;
    update();
    if (FFocusColor != clNone)
        applyColor(FFocusColor);
    if (FFocusLabel)
        setLabelBold(true);
}

void TQsgCustomCombo::DoExit()
{
    FHasFocus = false;
    update();
}

void TQsgCustomCombo::focusInEvent(QFocusEvent *e)
{
    QComboBox::focusInEvent(e);
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
        DoEnter();
    if (FFocusBorderColor != clNone)
        update();
    if (FFocusColor != clNone)
        applyColor(FFocusColor);
    if (FFocusLabel)
        setLabelBold(true);
}

void TQsgCustomCombo::focusOutEvent(QFocusEvent *e)
{
    QComboBox::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
        DoExit();
    if (FFocusColor != clNone && FNormalColor != clNone)
        applyColor(FNormalColor);
    if (FFocusLabel)
        setLabelBold(false);
    update();
}

void TQsgCustomCombo::enterEvent(QEnterEvent *e)
{
    QComboBox::enterEvent(e);
    if (!isEnabled())
        return;
    FMouseInControl = true;
    update();
    if (FAutoFocus) {
        const QWidget *form = window();
        if (form == this || form->isActiveWindow())
            setFocus(Qt::MouseFocusReason);
    }
}

void TQsgCustomCombo::leaveEvent(QEvent *e)
{
    QComboBox::leaveEvent(e);
    if (isEnabled()) {
        FMouseInControl = false;
        update();
    }
    FButtonHover = false;
    update();
}

void TQsgCustomCombo::mouseMoveEvent(QMouseEvent *e)
{
    const int x = e->position().toPoint().x();
    const bool hover = x > width() - FButtonWidth && x < width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        update();
    }
    QComboBox::mouseMoveEvent(e);
}

void TQsgCustomCombo::showPopup()
{
    FDroppedDown = true;
    updateButton();
    QComboBox::showPopup();
}

void TQsgCustomCombo::hidePopup()
{
    const bool was = FDroppedDown;
    FDroppedDown = false;
    QComboBox::hidePopup();
    if (!was)
        return;
    updateButton();
    if (OnDropUp)
        OnDropUp(this);
}

// ---- geometry, visibility, enabled state and fonts -------------------------------------------

void TQsgCustomCombo::moveEvent(QMoveEvent *e)
{
    QComboBox::moveEvent(e);
    UpdateLabel();
}

void TQsgCustomCombo::resizeEvent(QResizeEvent *e)
{
    QComboBox::resizeEvent(e);
    UpdateLabel();
}

void TQsgCustomCombo::showEvent(QShowEvent *e)
{
    QComboBox::showEvent(e);
    UpdateLabel();
}

void TQsgCustomCombo::hideEvent(QHideEvent *e)
{
    QComboBox::hideEvent(e);
    if (FLabel && isHidden())
        FLabel->hide();
}

void TQsgCustomCombo::changeEvent(QEvent *e)
{
    QComboBox::changeEvent(e);
    switch (e->type()) {
    case QEvent::EnabledChange:
        if (FFlat) {
            if (!isEnabled()) {
                FOldParentColor = FFlatParentColor;
                FOldColor = FColor;
                applyColor(parentColor());
            } else {
                FFlatParentColor = FOldParentColor;
                applyColor(FOldColor);
            }
        }
        if (FLabel && !FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
        UpdateLabel();
        update();
        break;
    case QEvent::FontChange:
        if (FLabel && FParentFont) {
            FLabel->setFont(font());
            UpdateLabel();
        }
        break;
    default:
        break;
    }
}
