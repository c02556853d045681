// The spin edit: a line edit with an up/down button pair that holds an integer, a float, a date
// or a time, steps it, filters what is typed by the kind of value and keeps it inside its limits.
#pragma once

#include "grid/model/QrlGridParse.h"
#include "platform/TSet.h"
#include "platform/ui/Colors.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>

#include <functional>

class QPainter;
class QTimer;

enum class TQsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum class TEditAlign { eaLeft, eaRight, eaCenter };
enum class TSpinDirection { spVertical, spHorizontal };
enum class TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum class TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TSet<TTimeBtnStateItem>;

class TQsgSpinButton;

// One button of the pair; with tbAllowTimer it repeats its click while it is held down.
class TQrlTimerSpeedButton : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int FirstRepeatMs = 400;
    static constexpr int RepeatMs = 100;

    explicit TQrlTimerSpeedButton(TQsgSpinButton *AOwner);

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState Value) { FTimeBtnState = Value; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection Value);
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    bool HasMouse() const { return FHasMouse; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Up and down buttons show a glyph: a strip of NumGlyphs pictures side by side (normal,
    // disabled, pressed). A strip without alpha leaves out the colour of its lower-left pixel.
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage &Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    // Null until the button was first pressed with tbAllowTimer.
    QTimer *RepeatTimer() const { return FRepeatTimer; }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    void timerExpired();
    void drawGlyph(QPainter &p);

    TQsgSpinButton *FOwner;
    QTimer *FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = TButtonDirection::bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
    bool FFlat = false;
    bool FTransparent = false;
    QImage FGlyph;
    int FNumGlyphs = 1;
};

// The up/down button pair at the spin edit's right edge.
class TQsgSpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit TQsgSpinButton(QWidget *AParent);

    TQrlTimerSpeedButton *UpButton() const { return FUpButton; }
    TQrlTimerSpeedButton *DownButton() const { return FDownButton; }
    TQrlTimerSpeedButton *FocusedButton() const { return FFocusedButton; }
    QWidget *FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget *Value) { FFocusControl = Value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    void SetIsWinXP(bool Value);
    bool IsWinXP() const { return FIsWinXP; }
    // The buttons' glyphs; a null picture gives the button its own arrow back (one glyph).
    QImage UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(const QImage &Value);
    QImage DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(const QImage &Value);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value);
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }

    std::function<void(QObject *Sender)> OnUpClick;
    std::function<void(QObject *Sender)> OnDownClick;

protected:
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void arrange();
    void setFocusBtn(TQrlTimerSpeedButton *Btn);

    TQrlTimerSpeedButton *FUpButton;
    TQrlTimerSpeedButton *FDownButton;
    TQrlTimerSpeedButton *FFocusedButton;
    QWidget *FFocusControl = nullptr;
    TSpinDirection FDirection = TSpinDirection::spVertical;
    bool FIsWinXP = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

class TQsgSpinEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TQsgSpinEdit(QWidget *AParent);

    // Equal limits mean no limit.
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }

    // Read from and written to the text; each write clamps to the limits first.
    int Value() const;
    void SetValue(int Value);
    double FloatValue() const;
    void SetFloatValue(double Value);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime Value);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime Value);

    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double Value) { FIncrementFloatPage = Value; }
    int IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int Value) { FIncrementSeconds = Value; }
    int IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int Value) { FIncrementMinutes = Value; }
    int IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int Value) { FIncrementHours = Value; }

    TQsgSpinButton *Button() const { return FButton; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TQsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TQsgSpinType Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value) { FShowSeconds = Value; }
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool Value) { FAllowEmptyValue = Value; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }

    virtual void StepUp(bool Page);
    virtual void StepDown(bool Page);
    virtual bool AcceptsChar(QChar Key) const;
    virtual void UpButtonClick(QObject *Sender);
    virtual void DownButtonClick(QObject *Sender);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    // Button place, text margins and minimum height follow the frame and the font.
    void updateLayout();
    void updateMinHeight();

private:
    int clampInt(int v) const;
    double clampFloat(double v) const;
    TDateTime clampDate(TDateTime v) const;
    void setTextKeepCaret(const QString &Value);
    void stepDate(int Sign);
    void stepTime(int Sign);

    int FMinValue = 0;
    int FMaxValue = 100;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    int FIncrement = 1;
    double FIncrementFloat = 0.1;
    TQsgSpinButton *FButton;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = TSpinDirection::spVertical;
    TQsgSpinType FSpinType = TQsgSpinType::sptNormal;
    int FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FUsDates = false;
    bool FShowSeconds = true;
    int FIncrementSeconds = 1;
    int FIncrementMinutes = 1;
    int FIncrementHours = 1;
    TEditAlign FEditAlign = TEditAlign::eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    double FIncrementFloatPage = 1.0;
    bool FAutoSelect = true;
};
