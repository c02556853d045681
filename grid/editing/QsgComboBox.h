// The grid library's own combo box: the platform combo with a flat look and border colours, a
// self-drawn drop-down button, focus colours, a caption label beside it, a fixed list width and
// a drop-up event.
#pragma once

#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>

#include <functional>

enum class TComboStyle { csDropDown, csDropDownList };

enum class TLabelPosition {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
    lpRightTop,
    lpRightCenter,
    lpRighBottom
};

// The frame that DrawBorder draws, as decided from the state.
enum class TComboFrameKind { fkNone, fkDisabled, fkBorder, fkFocus, fkFlat };

class TQsgCustomCombo : public QComboBox
{
    Q_OBJECT
public:
    // The frame of a disabled control with visual styles.
    static constexpr TColor DisabledFrameColor = 0xB99D7F;

    explicit TQsgCustomCombo(QWidget *AOwner = nullptr);
    ~TQsgCustomCombo() override;

    TComboStyle Style() const;
    virtual void SetStyle(TComboStyle Value);

    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    int ButtonWidth() const { return FButtonWidth; }
    // Taken only for 14 to 32 pixels.
    void SetButtonWidth(int Value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value) { FDisabledBorder = Value; }
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor Value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool Value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value) { FFocusBorder = Value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { FFocusColor = Value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    // The width the list opens with; 0 while the control's own width rules.
    int DroppedWidth() const { return FDroppedWidth; }

    QString LabelCaption() const;
    void SetLabelCaption(const QString &Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    const TFont &LabelFont() const { return FLabelFont; }
    // Copied only while ParentFont is off.
    void SetLabelFont(const TFont &Value);
    // The label (and the control) use the parent's font.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    QLabel *ComboLabel() const { return FLabel; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The list is open.
    bool DroppedDown() const { return FDroppedDown; }

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { FButtonColor = Value; }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool Value) { FIsVista = Value; }

    // Remembers the current colour as the one to return to after the focus.
    void Init();
    // Selects the first item equal to AString; no change when there is none.
    void SelectItem(const QString &AString);
    // What the owner form runs once it has loaded.
    void Loaded();
    // Places the label beside the control.
    void UpdateLabel();

    bool MouseInControl() const { return FMouseInControl; }
    bool ButtonHover() const { return FButtonHover; }
    bool HasFocus() const { return FHasFocus; }

    // True when the control draws itself, false when the platform's own combo paints.
    bool ControlPaintsItself() const;
    // How many frames DrawBorders draws (0 = nothing), and the frame DrawBorder picks.
    int BorderPasses() const;
    TComboFrameKind FrameKind() const;
    // The drawing steps, on any canvas; coordinates are the control's.
    void PaintButton(TCanvas &ACanvas);
    void DrawBorders(TCanvas &ACanvas);
    void DrawBorder(TCanvas &ACanvas);

    std::function<void(QObject *Sender)> OnChange;
    std::function<void(QObject *Sender)> OnDropUp;

    void showPopup() override;
    void hidePopup() override;

protected:
    // The platform keeps no visual styles: both answer False here, so every themed branch takes
    // the classic path; a descendant may say otherwise.
    virtual bool ThemeActive() const { return false; }
    bool VisualStyles() const { return FIsThemed && ThemeActive(); }
    // The user changed the text or the selection.
    virtual void Change();
    // Entering and leaving the control (focus moving between controls).
    virtual void DoEnter();
    virtual void DoExit();
    // Whether a mouse button is down now.
    virtual bool MouseButtonDown() const;

    void paintEvent(QPaintEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void changeEvent(QEvent *e) override;

    // The list opens at least this wide.
    void applyDroppedWidth(int Width);

    bool FIsThemed = false;

private:
    bool hot() const;
    TColor parentColor() const;
    void applyColor(TColor Value);
    void setLabelBold(bool Bold);
    void updateButton();

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clNone;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    int FButtonWidth = 19;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    TFont FLabelFont;
    TLabelPosition FLabelPosition = TLabelPosition::lpLeftTop;
    QPointer<QLabel> FLabel;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    bool FIsVista = false;

    bool FAutoComplete = true;
    bool FParentFont = true;
    TColor FColor = clWindow;
    int FDroppedWidth = 0;
    bool FDroppedDown = false;
    // Until Loaded, a colour written is also the load colour.
    bool FLoading = true;
};

class TQsgComboBox : public TQsgCustomCombo
{
    Q_OBJECT
public:
    using TQsgCustomCombo::TQsgCustomCombo;
};
