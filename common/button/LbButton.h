// The owner-drawn push button of every window: paints its own face, highlights while the mouse
// is over it, can carry a picture strip, close its dialog with a modal result, act as the
// dialog's default or cancel button and fade its highlight out.
#pragma once

#include "common/button/LbButtons.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class TLbButton : public QWidget
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject *Sender)>;

    explicit TLbButton(QWidget *parent = nullptr);
    ~TLbButton() override;

    // Common control properties
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &caption);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // The widget's font with the caption colour.
    TFont Font() const;
    void SetFont(const TFont &font);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    QString Hint() const { return toolTip(); }
    void SetHint(const QString &hint) { setToolTip(hint); }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool on);
    QMenu *PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu *menu);
    QAction *Action() const { return FAction; }
    void SetAction(QAction *action);

    // Own properties
    TLbAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLbAlignment a);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool on) { FCancel = on; }
    TLbColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorStyle(TLbColorStyle style);
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetColorWhenDown(TColor c) { FColorWhenDown = c; }
    bool Default() const { return FDefault; }
    void SetDefault(bool on) { FDefault = on; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool on);
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage &glyph);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor c) { FHotTrackColor = c; }
    TFont HotTrackFont() const { return FHTFont; }
    void SetHotTrackFont(const TFont &font) { FHTFont = font; }
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind kind);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout layout);
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor c);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor c);
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool on);
    TLbButtonStyle Style() const { return FStyle; }
    void SetStyle(TLbButtonStyle style);
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool on) { FUseHTFont = on; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool on);

    // Run-time state
    bool IsDown() const { return bDown; }
    bool IsCursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }
    // The fade ticker; null while SlowDecease was switched off.
    TLbButtonThread *FadeThread() const { return FThread.get(); }

    // Presses and clicks the button as the user would.
    void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    // False when the OnClick handler failed (already reported).
    bool DoClick();
    void FadeTick();
    void ActionChanged();
    void EndThread();
    void RenderFace(QImage &target);
    bool DialogKey(QKeyEvent *e);
    bool VisibleFlag() const;
    bool ParentShowing() const;
    bool IsHot() const { return bCursorOnButton || hasFocus(); }
    void WatchWindow();
    void UpdateMnemonic();

    TLbAlignment FAlignment = TLbAlignment::taCenter;
    TColor FShadowColor = 0x808080;
    TColor FColorWhenDown = clNone;
    bool FEnabled = true;
    bool FFlat = false;
    bool FWordWrap = false;
    QImage FGlyph;
    TColor FHotTrackColor = clNone;
    TFont FHTFont;
    TLbButtonKind FKind = TLbButtonKind::bkCustom;
    TLbButtonLayout FLayout = TLbButtonLayout::blGlyphLeft;
    TColor FLightColor = 0xFFFFFF;
    int FModalResult = 0;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = TLbColorStyle::lcsCustom;
    TLbButtonStyle FStyle = TLbButtonStyle::bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    std::unique_ptr<TLbButtonThread> FThread;
    int FHotTrackStep = 0;

    QString FCaption;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    bool FTabStop = true;
    QPointer<QMenu> FPopupMenu;
    QPointer<QAction> FAction;
    QPointer<QWidget> FWatchedWindow;
    int FShortcutId = 0;
    bool FDestroying = false;
};
