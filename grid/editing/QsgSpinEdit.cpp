// The spin edit and its button pair.
#include "grid/editing/QsgSpinEdit.h"
#include "grid/model/QrlGridFormat.h"
#include "platform/ui/Beep.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr int SecsPerDay = 86400;

QString floatText(double v, int precision)
{
    QString s = precision > 0 ? QString::number(v, 'f', precision) : QString::number(v, 'g', 15);
    s.replace(u'.', RegionalDecimalSeparator());
    return s;
}

bool monthBeforeDay()
{
    const QString fmt = RegionalShortDateFormat().toLower();
    const qsizetype m = fmt.indexOf(u'm');
    const qsizetype d = fmt.indexOf(u'd');
    return m >= 0 && d >= 0 && m < d;
}

// Which of the three separated parts the caret is in: 0 before the first separator, 1 before
// the second, 2 after it.
int partAt(const QString &text, QChar sep, int caret)
{
    const qsizetype first = text.indexOf(sep);
    if (first < 0 || caret <= first)
        return 0;
    const qsizetype second = text.indexOf(sep, first + 1);
    if (second < 0 || caret <= second)
        return 1;
    return 2;
}

// The buttons' own arrows: a black triangle, 7 x 4, on a transparent ground.
QImage spinGlyph(bool up)
{
    QImage img(7, 4, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int row = 0; row < 4; ++row) {
        const int y = up ? row : 3 - row;
        for (int x = 3 - row; x <= 3 + row; ++x)
            img.setPixel(x, y, qRgb(0, 0, 0));
    }
    return img;
}

} // namespace

// ---- timer speed button -----------------------------------------------------------------------

TQrlTimerSpeedButton::TQrlTimerSpeedButton(TQsgSpinButton *AOwner)
    : QAbstractButton(AOwner), FOwner(AOwner)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TQrlTimerSpeedButton::SetButtonDirection(TButtonDirection Value)
{
    FButtonDirection = Value;
    update();
}

void TQrlTimerSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    update();
}

void TQrlTimerSpeedButton::SetTransparent(bool Value)
{
    FTransparent = Value;
    update();
}

void TQrlTimerSpeedButton::SetGlyph(const QImage &Value)
{
    FGlyph = Value;
    update();
}

void TQrlTimerSpeedButton::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::clamp(Value, 1, 4);
    update();
}

void TQrlTimerSpeedButton::drawGlyph(QPainter &p)
{
    if (FGlyph.isNull())
        return;
    const int n = std::min(FNumGlyphs, FGlyph.width());
    const int w = FGlyph.width() / n;
    // The strip's disabled and pressed pictures where it has them.
    int index = 0;
    if (!isEnabled() && n > 1)
        index = 1;
    else if (isDown() && n > 2)
        index = 2;
    QImage img = FGlyph.copy(index * w, 0, w, FGlyph.height());
    if (!FGlyph.hasAlphaChannel()) {
        const QRgb key = FGlyph.pixel(0, FGlyph.height() - 1);
        img = img.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == key)
                    img.setPixel(x, y, qRgba(0, 0, 0, 0));
    }
    QPoint at((width() - img.width()) / 2, (height() - img.height()) / 2);
    if (isDown())
        at += QPoint(1, 1);
    // A strip without a disabled picture shows its normal one faded.
    p.setOpacity(!isEnabled() && index == 0 ? 0.4 : 1.0);
    p.drawImage(at, img);
    p.setOpacity(1.0);
}

void TQrlTimerSpeedButton::mousePressEvent(QMouseEvent *e)
{
    QAbstractButton::mousePressEvent(e);
    if (FTimeBtnState.Contains(TTimeBtnStateItem::tbAllowTimer) && e->button() == Qt::LeftButton) {
        if (!FRepeatTimer) {
            FRepeatTimer = new QTimer(this);
            connect(FRepeatTimer, &QTimer::timeout, this, &TQrlTimerSpeedButton::timerExpired);
        }
        FRepeatTimer->start(FirstRepeatMs);
    }
    if (parentWidget())
        parentWidget()->update();
}

void TQrlTimerSpeedButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (FRepeatTimer)
        FRepeatTimer->stop();
    QAbstractButton::mouseReleaseEvent(e);
    if (parentWidget())
        parentWidget()->update();
}

void TQrlTimerSpeedButton::timerExpired()
{
    FRepeatTimer->setInterval(RepeatMs);
    // Down only while pressed with the pointer over it: dragging off pauses the repeat.
    if (!isDown())
        return;
    try {
        emit clicked(false);
    } catch (...) {
        FRepeatTimer->stop();
        throw;
    }
}

void TQrlTimerSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const TColor base = FOwner->ButtonColor();
    if (base != clNone) {
        TColor c = base;
        if (isDown() && FOwner->ButtonColorDown() != clNone)
            c = FOwner->ButtonColorDown();
        else if (!isDown() && FHasMouse && FOwner->ButtonColorHot() != clNone)
            c = FOwner->ButtonColorHot();
        p.fillRect(rect(), ToQColor(c));
        QPolygon tri;
        switch (FButtonDirection) {
        case TButtonDirection::bdLeft:
            tri << QPoint(5, 5) << QPoint(3, 7) << QPoint(5, 9);
            break;
        case TButtonDirection::bdRight:
            tri << QPoint(3, 5) << QPoint(5, 7) << QPoint(3, 9);
            break;
        case TButtonDirection::bdUp:
            tri << QPoint(4, 4) << QPoint(8, 4) << QPoint(6, 2);
            break;
        case TButtonDirection::bdDown:
            tri << QPoint(4, 2) << QPoint(8, 2) << QPoint(6, 4);
            break;
        }
        p.setPen(Qt::black);
        p.setBrush(Qt::black);
        p.drawPolygon(tri);
    } else {
        QStyleOption opt;
        opt.initFrom(this);
        opt.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        if (FHasMouse)
            opt.state |= QStyle::State_MouseOver;
        if (!FTransparent && (!FFlat || FHasMouse || isDown()))
            style()->drawPrimitive(QStyle::PE_PanelButtonTool, &opt, &p, this);
        // Left and right are the scroll arrows of a horizontal pair; up and down show glyphs.
        if (FButtonDirection == TButtonDirection::bdLeft)
            style()->drawPrimitive(QStyle::PE_IndicatorArrowLeft, &opt, &p, this);
        else if (FButtonDirection == TButtonDirection::bdRight)
            style()->drawPrimitive(QStyle::PE_IndicatorArrowRight, &opt, &p, this);
        else
            drawGlyph(p);
    }
    if (FTimeBtnState.Contains(TTimeBtnStateItem::tbFocusRect) && FOwner->hasFocus() &&
        FOwner->FocusedButton() == this) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void TQrlTimerSpeedButton::enterEvent(QEnterEvent *e)
{
    FHasMouse = true;
    update();
    QAbstractButton::enterEvent(e);
}

void TQrlTimerSpeedButton::leaveEvent(QEvent *e)
{
    FHasMouse = false;
    update();
    QAbstractButton::leaveEvent(e);
}

// ---- spin button pair -------------------------------------------------------------------------

TQsgSpinButton::TQsgSpinButton(QWidget *AParent)
    : QWidget(AParent), FUpButton(new TQrlTimerSpeedButton(this)),
      FDownButton(new TQrlTimerSpeedButton(this)), FFocusedButton(FUpButton)
{
    setFocusPolicy(Qt::NoFocus);
    const TTimeBtnState state{TTimeBtnStateItem::tbFocusRect, TTimeBtnStateItem::tbAllowTimer};
    for (TQrlTimerSpeedButton *b : {FUpButton, FDownButton}) {
        b->SetTimeBtnState(state);
        b->installEventFilter(this);
    }
    FUpButton->SetButtonDirection(TButtonDirection::bdUp);
    FDownButton->SetButtonDirection(TButtonDirection::bdDown);
    SetUpGlyph(QImage());
    SetDownGlyph(QImage());
    connect(FUpButton, &QAbstractButton::clicked, this, [this] {
        if (OnUpClick)
            OnUpClick(this);
    });
    connect(FDownButton, &QAbstractButton::clicked, this, [this] {
        if (OnDownClick)
            OnDownClick(this);
    });
    resize(15, 25);
    arrange();
}

void TQsgSpinButton::SetDirection(TSpinDirection Value)
{
    FDirection = Value;
    const bool vertical = Value == TSpinDirection::spVertical;
    FUpButton->SetButtonDirection(vertical ? TButtonDirection::bdUp : TButtonDirection::bdRight);
    FDownButton->SetButtonDirection(vertical ? TButtonDirection::bdDown : TButtonDirection::bdLeft);
    arrange();
}

void TQsgSpinButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FUpButton->SetIsWinXP(Value);
    FDownButton->SetIsWinXP(Value);
}

void TQsgSpinButton::SetUpGlyph(const QImage &Value)
{
    FUpButton->SetGlyph(Value.isNull() ? spinGlyph(true) : Value);
    if (Value.isNull())
        FUpButton->SetNumGlyphs(1);
}

void TQsgSpinButton::SetDownGlyph(const QImage &Value)
{
    FDownButton->SetGlyph(Value.isNull() ? spinGlyph(false) : Value);
    if (Value.isNull())
        FDownButton->SetNumGlyphs(1);
}

void TQsgSpinButton::SetButtonColor(TColor Value)
{
    FButtonColor = Value;
    FUpButton->update();
    FDownButton->update();
}

void TQsgSpinButton::arrange()
{
    const int w = width();
    const int h = height();
    if (FDirection == TSpinDirection::spVertical) {
        const int half = h / 2;
        FUpButton->setGeometry(0, 0, w, half);
        FDownButton->setGeometry(0, half - 1, w, h - half + 1);
    } else {
        const int half = w / 2;
        FDownButton->setGeometry(0, 0, half, h);
        FUpButton->setGeometry(half + 1, 0, w - half - 1, h);
    }
}

void TQsgSpinButton::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    const int minWidth = FDirection == TSpinDirection::spVertical ? 15 : 20;
    if (width() < minWidth) {
        resize(minWidth, height());
        return;
    }
    arrange();
}

void TQsgSpinButton::setFocusBtn(TQrlTimerSpeedButton *Btn)
{
    if (FFocusedButton == Btn)
        return;
    FFocusedButton = Btn;
    FUpButton->update();
    FDownButton->update();
}

bool TQsgSpinButton::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton &&
        (watched == FUpButton || watched == FDownButton)) {
        setFocusBtn(static_cast<TQrlTimerSpeedButton *>(watched));
        if (FFocusControl && FFocusControl->isEnabled() && FFocusControl->isVisible() &&
            FFocusControl->focusPolicy() != Qt::NoFocus) {
            if (!FFocusControl->hasFocus())
                FFocusControl->setFocus(Qt::MouseFocusReason);
        } else if ((focusPolicy() & Qt::TabFocus) && !hasFocus()) {
            setFocus(Qt::MouseFocusReason);
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TQsgSpinButton::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Space:
        FFocusedButton->click();
        break;
    case Qt::Key_Up:
        setFocusBtn(FUpButton);
        FUpButton->click();
        break;
    case Qt::Key_Down:
        setFocusBtn(FDownButton);
        FDownButton->click();
        break;
    default:
        QWidget::keyPressEvent(e);
    }
}

void TQsgSpinButton::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    FFocusedButton->update();
}

void TQsgSpinButton::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    FFocusedButton->update();
}

// ---- spin edit --------------------------------------------------------------------------------

TQsgSpinEdit::TQsgSpinEdit(QWidget *AParent) : QLineEdit(AParent), FButton(new TQsgSpinButton(this))
{
    FButton->setCursor(Qt::ArrowCursor);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](QObject *Sender) { UpButtonClick(Sender); };
    FButton->OnDownClick = [this](QObject *Sender) { DownButtonClick(Sender); };
    setText(QStringLiteral("0"));
    updateMinHeight();
    updateLayout();
}

int TQsgSpinEdit::clampInt(int v) const
{
    if (FMinValue == FMaxValue)
        return v;
    return std::clamp(v, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
}

double TQsgSpinEdit::clampFloat(double v) const
{
    if (FMinFloatValue == FMaxFloatValue)
        return v;
    return std::clamp(v, std::min(FMinFloatValue, FMaxFloatValue),
                      std::max(FMinFloatValue, FMaxFloatValue));
}

TDateTime TQsgSpinEdit::clampDate(TDateTime v) const
{
    if (FMinDateValue == FMaxDateValue)
        return v;
    return std::clamp(v, std::min(FMinDateValue, FMaxDateValue),
                      std::max(FMinDateValue, FMaxDateValue));
}

void TQsgSpinEdit::setTextKeepCaret(const QString &Value)
{
    const int caret = cursorPosition();
    setText(Value);
    setCursorPosition(std::min(caret, static_cast<int>(Value.size())));
}

int TQsgSpinEdit::Value() const
{
    const QString s = text().trimmed();
    if (s.isEmpty())
        return 0;
    int v = 0;
    return GridTryStrToInt(s, v) ? v : FMinValue;
}

void TQsgSpinEdit::SetValue(int Value)
{
    setText(QString::number(clampInt(Value)));
    if (!FEditorEnabled)
        selectAll();
}

double TQsgSpinEdit::FloatValue() const
{
    QString s = text().trimmed();
    s.replace(RegionalDecimalSeparator(), u'.');
    double v = 0;
    return GridTryStrToFloat(s, v) ? v : FMinFloatValue;
}

void TQsgSpinEdit::SetFloatValue(double Value)
{
    setText(floatText(clampFloat(Value), FPrecision));
}

TDateTime TQsgSpinEdit::DateValue() const
{
    const QString s = text().trimmed();
    if (s.isEmpty() || s == u"0")
        return qrlNow();
    try {
        return GridStrToDate(s);
    } catch (const EQrlConvertError &) {
        return FMinDateValue;
    }
}

void TQsgSpinEdit::SetDateValue(TDateTime Value)
{
    FDateValue = clampDate(Value);
    try {
        setTextKeepCaret(GridDateToStr(FDateValue));
    } catch (const EQrlConvertError &) {
        // A value outside the calendar keeps the text it had.
    }
}

TDateTime TQsgSpinEdit::TimeValue() const
{
    try {
        return GridStrToTime(text());
    } catch (const EQrlConvertError &) {
        return 0;
    }
}

void TQsgSpinEdit::SetTimeValue(TDateTime Value)
{
    FTimeValue = clampDate(Value);
    if (!std::isfinite(FTimeValue))
        return;
    if (FShowSeconds) {
        setTextKeepCaret(GridTimeToStr(FTimeValue));
        return;
    }
    const qint64 secs =
        std::llround((FTimeValue - std::floor(FTimeValue)) * SecsPerDay) % SecsPerDay;
    setTextKeepCaret(QStringLiteral("%1%2%3")
                         .arg(secs / 3600)
                         .arg(RegionalTimeSeparator())
                         .arg((secs / 60) % 60, 2, 10, QLatin1Char('0')));
}

void TQsgSpinEdit::SetSpinType(TQsgSpinType Value)
{
    if (FSpinType == Value)
        return;
    FSpinType = Value;
    switch (Value) {
    case TQsgSpinType::sptNormal:
        SetValue(this->Value());
        break;
    case TQsgSpinType::sptFloat:
        SetFloatValue(FloatValue());
        break;
    case TQsgSpinType::sptDate:
        SetDateValue(DateValue());
        break;
    case TQsgSpinType::sptTime:
        SetTimeValue(TimeValue());
        break;
    }
}

void TQsgSpinEdit::SetPrecision(int Value)
{
    if (FPrecision == Value)
        return;
    FPrecision = Value;
    if (FSpinType == TQsgSpinType::sptFloat)
        SetFloatValue(FloatValue());
}

void TQsgSpinEdit::SetDirection(TSpinDirection Value)
{
    FDirection = Value;
    FButton->SetDirection(Value);
    updateLayout();
}

void TQsgSpinEdit::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FButton->SetIsWinXP(Value);
}

void TQsgSpinEdit::SetEditAlign(TEditAlign Value)
{
    FEditAlign = Value;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    setAlignment(aligns[static_cast<int>(Value)] | Qt::AlignVCenter);
}

void TQsgSpinEdit::SetSpinFlat(bool Value)
{
    FSpinFlat = Value;
    FButton->UpButton()->SetFlat(Value);
    FButton->DownButton()->SetFlat(Value);
}

void TQsgSpinEdit::SetSpinTransparent(bool Value)
{
    FSpinTransparent = Value;
    FButton->UpButton()->SetTransparent(Value);
    FButton->DownButton()->SetTransparent(Value);
}

// ---- stepping ---------------------------------------------------------------------------------

void TQsgSpinEdit::StepUp(bool Page)
{
    if (isReadOnly()) {
        plat::MessageBeep();
        return;
    }
    switch (FSpinType) {
    case TQsgSpinType::sptNormal:
        SetValue(Value() + FIncrement);
        break;
    case TQsgSpinType::sptFloat:
        SetFloatValue(FloatValue() + (Page ? FIncrementFloatPage : FIncrementFloat));
        break;
    case TQsgSpinType::sptDate:
        stepDate(1);
        break;
    case TQsgSpinType::sptTime:
        stepTime(1);
        break;
    }
}

void TQsgSpinEdit::StepDown(bool Page)
{
    if (isReadOnly()) {
        plat::MessageBeep();
        return;
    }
    switch (FSpinType) {
    case TQsgSpinType::sptNormal:
        SetValue(Value() - FIncrement);
        break;
    case TQsgSpinType::sptFloat:
        SetFloatValue(FloatValue() - (Page ? FIncrementFloatPage : FIncrementFloat));
        break;
    case TQsgSpinType::sptDate:
        stepDate(-1);
        break;
    case TQsgSpinType::sptTime:
        stepTime(-1);
        break;
    }
}

void TQsgSpinEdit::stepDate(int Sign)
{
    FUsDates = monthBeforeDay();
    const int part = partAt(text(), RegionalDateSeparator(), cursorPosition());
    const TDateTime v = DateValue();
    int y = 0, m = 0, d = 0;
    try {
        qrlDecodeDate(v, y, m, d);
    } catch (const EQrlConvertError &) {
        return;
    }
    const TDateTime timeOfDay = v - std::floor(v);
    enum { Day, Month, Year } what = Year;
    if (part == 0)
        what = FUsDates ? Month : Day;
    else if (part == 1)
        what = FUsDates ? Day : Month;
    TDateTime result = 0;
    if (what == Day) {
        result = v + Sign;
    } else {
        if (what == Month) {
            m += Sign;
            if (m > 12) {
                m = 1;
                ++y;
            } else if (m < 1) {
                m = 12;
                --y;
            }
        } else {
            y += Sign;
        }
        // The month's last day stands in for a day it does not have (29 February too).
        d = std::min(d, QDate(y, m, 1).daysInMonth());
        if (!qrlTryEncodeDate(y, m, d, result))
            return;
        result += timeOfDay;
    }
    SetDateValue(result);
}

void TQsgSpinEdit::stepTime(int Sign)
{
    const QString s = text();
    const QChar sep = RegionalTimeSeparator();
    const int caret = cursorPosition();
    const qsizetype first = s.indexOf(sep);
    const qsizetype second = first < 0 ? -1 : s.indexOf(sep, first + 1);
    qint64 step = 60LL * FIncrementMinutes;
    if (first >= 0 && caret <= first)
        step = 3600LL * FIncrementHours;
    else if (FShowSeconds && second >= 0 && caret >= second)
        step = FIncrementSeconds;
    const TDateTime t = TimeValue();
    qint64 secs = std::llround((t - std::floor(t)) * SecsPerDay) + Sign * step;
    // Round the clock in both directions.
    secs = ((secs % SecsPerDay) + SecsPerDay) % SecsPerDay;
    SetTimeValue(static_cast<double>(secs) / SecsPerDay);
}

void TQsgSpinEdit::UpButtonClick(QObject *)
{
    StepUp(false);
}

void TQsgSpinEdit::DownButtonClick(QObject *)
{
    StepDown(false);
}

// ---- typing -----------------------------------------------------------------------------------

bool TQsgSpinEdit::AcceptsChar(QChar Key) const
{
    if (Key == u'\b')
        return FEditorEnabled;
    const QChar dec = RegionalDecimalSeparator();
    const QChar thou = RegionalThousandSeparator();
    const QChar timeSep = RegionalTimeSeparator();
    const QChar dateSep = RegionalDateSeparator();
    const bool control = Key.unicode() < 32;
    bool ok = Key == dec || Key == thou || Key == timeSep || Key == dateSep || Key.isDigit() ||
              Key == u'-' || (control && Key != u'\r');
    const bool numeric =
        FSpinType == TQsgSpinType::sptNormal || FSpinType == TQsgSpinType::sptFloat;
    if ((Key == timeSep && FSpinType != TQsgSpinType::sptTime) ||
        (Key == dateSep && FSpinType != TQsgSpinType::sptDate))
        ok = numeric && (Key == dec || Key == thou || Key == u'-' || Key == u'+');
    const QString s = text();
    if (Key == u'-') {
        const bool atStart = (hasSelectedText() ? selectionStart() : cursorPosition()) == 0;
        const bool hasMinus = s.contains(u'-') && !selectedText().contains(u'-');
        ok = ok && atStart && !hasMinus;
    }
    switch (FSpinType) {
    case TQsgSpinType::sptNormal:
        ok = ok && (Key.isDigit() || Key == u'-');
        break;
    case TQsgSpinType::sptFloat:
        if (Key == u'\x1b' || Key == u'\r')
            break;
        if (Key == thou && Key != dec)
            ok = false;
        if (Key == dec && s.contains(dec) && !selectedText().contains(dec))
            ok = false;
        if (FPrecision > 0 && !hasSelectedText() && !control) {
            const qsizetype at = s.indexOf(dec);
            if (at >= 0 && cursorPosition() > at && s.size() - at - 1 >= FPrecision)
                ok = false;
        }
        break;
    case TQsgSpinType::sptTime:
        if (Key == timeSep && s.count(timeSep) >= 2)
            ok = false;
        break;
    case TQsgSpinType::sptDate:
        break;
    }
    if (!FEditorEnabled && !control)
        ok = false;
    return ok;
}

void TQsgSpinEdit::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Up:
        StepUp(false);
        return;
    case Qt::Key_Down:
        StepDown(false);
        return;
    case Qt::Key_PageUp:
        StepUp(true);
        return;
    case Qt::Key_PageDown:
        StepDown(true);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FReturnIsTab) {
            QCoreApplication::postEvent(
                this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
            return;
        }
        break;
    case Qt::Key_Delete:
        if (!FEditorEnabled)
            return;
        break;
    default:
        break;
    }
    if ((e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Paste)) &&
        (!FEditorEnabled || isReadOnly()))
        return;
    // The keypad's decimal key, told apart from the main keyboard's by the keypad modifier.
    if (FExcelStyleDecimalSeparator && (e->modifiers() & Qt::KeypadModifier) &&
        (e->key() == Qt::Key_Period || e->key() == Qt::Key_Comma)) {
        const QChar dec = RegionalDecimalSeparator();
        if (AcceptsChar(dec))
            insert(QString(dec));
        else
            plat::MessageBeep();
        return;
    }
    QChar ch;
    if (e->key() == Qt::Key_Backspace)
        ch = u'\b';
    else if (e->text().size() == 1 && e->text()[0].isPrint())
        ch = e->text()[0];
    if (!ch.isNull() && !AcceptsChar(ch)) {
        plat::MessageBeep();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TQsgSpinEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    const bool leftDown = QApplication::mouseButtons() & Qt::LeftButton;
    if (FAutoSelect && !(leftDown && isEnabled() && FEditorEnabled))
        selectAll();
}

void TQsgSpinEdit::focusOutEvent(QFocusEvent *e)
{
    // A value typed outside the limits is brought back into them on leaving.
    switch (FSpinType) {
    case TQsgSpinType::sptNormal:
        if (const int v = Value(); clampInt(v) != v)
            SetValue(v);
        break;
    case TQsgSpinType::sptFloat:
        if (const double v = FloatValue(); clampFloat(v) != v)
            SetFloatValue(v);
        break;
    case TQsgSpinType::sptDate:
        if (const TDateTime v = DateValue(); clampDate(v) != v)
            SetDateValue(v);
        break;
    case TQsgSpinType::sptTime:
        if (const TDateTime v = TimeValue(); clampDate(v) != v)
            SetTimeValue(v);
        break;
    }
    QLineEdit::focusOutEvent(e);
}

// ---- layout -----------------------------------------------------------------------------------

void TQsgSpinEdit::updateLayout()
{
    const int bw = FDirection == TSpinDirection::spHorizontal ? 20 : 15;
    const int a = hasFrame() ? 0 : 3;
    setTextMargins(a, 0, bw + a + 2, 0);
    if (hasFrame())
        FButton->setGeometry(width() - bw - 2, 2, bw, std::max(0, height() - 4));
    else
        FButton->setGeometry(width() - bw, 0, bw, height());
}

void TQsgSpinEdit::updateMinHeight()
{
    const int fontHeight = fontMetrics().height();
    const int sysHeight = QFontMetrics(QApplication::font()).height();
    int h = fontHeight + std::min(fontHeight, sysHeight) / 4 + 2;
    if (hasFrame())
        h += 4;
    setMinimumHeight(h);
}

void TQsgSpinEdit::resizeEvent(QResizeEvent *e)
{
    QLineEdit::resizeEvent(e);
    updateLayout();
}

void TQsgSpinEdit::changeEvent(QEvent *e)
{
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        updateMinHeight();
}
