// Editors the grid creates only when a cell first needs them, the date pickers' events and the
// balloon window's text.
#include "grid/editing/QrlGridEditors.h"
#include "grid/editing/QrlGridSpin.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"

#include <QTime>

namespace {
// Days since 30 December 1899 with the time of day as the fraction.
double toDateTime(const QDate &date, const QTime &time)
{
    TDateTime d = 0;
    TDateTime t = 0;
    if (!date.isValid() || !qrlTryEncodeDate(date.year(), date.month(), date.day(), d))
        return 0;
    if (time.isValid())
        qrlTryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), t);
    return d + t;
}
} // namespace

// ---- lazily created editors -------------------------------------------------------------------

TGridSpin *TQrlStringGrid::SpinEdit()
{
    if (!ed->editSpin.ptr) {
        auto *spin = new TGridSpin(this, this);
        spin->setObjectName(QStringLiteral("SpinEdit"));
        spin->setEnabled(false);
        spin->hide();
        spin->setFrame(false);
        spin->SetIsWinXP(IsWinXP());
        connect(spin, &TGridSpin::FocusLost, this, [this] {
            // Storing the value hands the focus back to the grid: that is no exit of its own.
            if (ed->editMode && !ed->blockKill && !d->destroying)
                HideInplaceEdit();
        });
        ed->editSpin.ptr = spin;
    }
    return static_cast<TGridSpin *>(ed->editSpin.ptr.data());
}

TGridCheckBox *TQrlStringGrid::EditCheck()
{
    if (!ed->editCheck.ptr) {
        auto *check = new TGridCheckBox(this, this);
        check->setObjectName(QStringLiteral("EditCheck"));
        check->setEnabled(false);
        check->hide();
        ed->editCheck.ptr = check;
    }
    return static_cast<TGridCheckBox *>(ed->editCheck.ptr.data());
}

TGridDatePicker *TQrlStringGrid::DateTimePicker()
{
    if (!ed->editDate.ptr) {
        auto *picker = new TGridDatePicker(this, this);
        picker->setObjectName(QStringLiteral("DateTimePicker"));
        picker->setEnabled(false);
        picker->hide();
        connect(picker, &TGridDatePicker::CloseUp, this, [this] { DatePickerCloseUp(); });
        connect(picker, &TGridDatePicker::DropDown, this, [this] { DatePickerDropDown(); });
        connect(picker, &TGridDatePicker::Change, this, [this] { DatePickerChange(); });
        ed->editDate.ptr = picker;
    }
    return static_cast<TGridDatePicker *>(ed->editDate.ptr.data());
}

TGridDateTimePicker *TQrlStringGrid::DateAndTimePicker()
{
    if (!ed->editDateTime.ptr) {
        auto *picker = new TGridDateTimePicker(this, this);
        picker->setObjectName(QStringLiteral("DateAndTimePicker"));
        picker->hide();
        picker->setEnabled(false);
        picker->SetAutoTab(true);
        connect(picker, &TGridDateTimePicker::CloseUp, this, [this] { DatePickerCloseUp(); });
        connect(picker, &TGridDateTimePicker::TimeChange, this, [this] { DateTimePickerChange(); });
        ed->editDateTime.ptr = picker;
    }
    return static_cast<TGridDateTimePicker *>(ed->editDateTime.ptr.data());
}

TQrlRichEdit *TQrlStringGrid::RichEdit()
{
    if (!ed->richEdit.ptr) {
        auto *edit = new TQrlRichEdit(this);
        edit->setObjectName(QStringLiteral("RichEdit"));
        edit->hide();
        edit->setGeometry(0, 0, 0, 0);
        edit->setFrameStyle(QFrame::NoFrame);
        edit->setAttribute(Qt::WA_TransparentForMouseEvents);
        ed->richEdit.ptr = edit;
    }
    return static_cast<TQrlRichEdit *>(ed->richEdit.ptr.data());
}

TQrlRichEdit *TQrlStringGrid::InplaceRichEdit()
{
    if (!ed->inplaceRichEdit.ptr) {
        auto *edit = new TQrlRichEdit(this);
        edit->setObjectName(QStringLiteral("InplaceRichEdit"));
        connect(edit, &TQrlRichEdit::SelectionChange, this, [this] {
            if (OnRichEditSelectionChange)
                OnRichEditSelectionChange(this);
        });
        edit->hide();
        ed->inplaceRichEdit.ptr = edit;
    }
    return static_cast<TQrlRichEdit *>(ed->inplaceRichEdit.ptr.data());
}

QWidget *TQrlStringGrid::FindParentForm(QWidget *Control)
{
    for (QWidget *w = Control; w; w = w->parentWidget())
        if (w->isWindow())
            return w;
    return nullptr;
}

// ---- date picker events -----------------------------------------------------------------------

void TQrlStringGrid::DatePickerChange()
{
    if (!OnEditChange)
        return;
    TGridDatePicker *picker = DateTimePicker();
    const QString s = picker->Kind() == TDTDateTimeKind::dtkTime
                          ? GridTimeToStr(toDateTime(QDate(1899, 12, 30), picker->time()))
                          : GridDateToStr(toDateTime(picker->date(), QTime()));
    OnEditChange(this, Col(), Row(), s);
}

void TQrlStringGrid::DatePickerCloseUp()
{
    if (OnDatePickerCloseUp)
        OnDatePickerCloseUp(this, Row(), Col());
    if (MouseActions()->DirectDateClose())
        HideInplaceEdit();
}

void TQrlStringGrid::DatePickerDropDown()
{
    if (OnDatePickerDropDown)
        OnDatePickerDropDown(this, Row(), Col());
}

void TQrlStringGrid::DateTimePickerChange()
{
    const QDateTime dt = DateAndTimePicker()->dateTime();
    if (OnDateTimeChange)
        OnDateTimeChange(this, Col(), Row(), toDateTime(dt.date(), dt.time()));
}

void TQrlStringGrid::DateTimeChangeNotify(
    int Year, int Month, int Day, int Hour, int Minute, int Second, int MSec)
{
    if (!OnDateTimeChange)
        return;
    // An unset or impossible system time reports 0 rather than failing.
    double value = 0;
    if (Year != 0 && Month != 0 && Day != 0)
        value = toDateTime(QDate(Year, Month, Day), QTime(Hour, Minute, Second, MSec));
    OnDateTimeChange(this, Col(), Row(), value);
}

// ---- balloon text -----------------------------------------------------------------------------

QString TQrlStringGrid::BalloonTipText(const QString &T)
{
    constexpr int maxText = 2048;
    QString text = T;
    text.replace(u'\t', u' ');
    int skip = 0;
    while (skip < text.size() &&
           (text[skip] == u'\r' || text[skip] == u'\n' || text[skip] == u'\t'))
        ++skip;
    if (text.size() > maxText)
        return text.mid(skip, maxText - 3) + QStringLiteral("...");
    return text.mid(skip);
}

QString TQrlStringGrid::BalloonTipTitle(const QString &Title)
{
    constexpr int maxTitle = 100;
    if (Title.size() > maxTitle)
        return Title.left(maxTitle - 3) + QStringLiteral("...");
    return Title;
}

TQrlStringGrid::TBalloonTip TQrlStringGrid::BalloonTipForCell(int ACol, int ARow)
{
    TBalloonTip tip;
    QString t;
    int col = ACol;
    int row = ARow;
    if (ACol >= 0 && ARow >= 0) {
        const plat::TGridCoord b = BaseCell(ACol, ARow);
        col = b.X;
        row = b.Y;
        const int r = RealColIndex(col);
        const QString raw = Cells(r, row);
        switch (CellTextKind(raw, EnableHTML())) {
        case ctkHTML:
            t = StripHTMLTags(raw);
            break;
        case ctkWide:
            t = DecodeWideCellText(raw);
            break;
        default:
            t = GetCellEx(r, row);
            break;
        }
    }
    tip.Text = BalloonTipText(t);
    tip.Title = QStringLiteral(" ");
    if (OnCellBalloon)
        OnCellBalloon(this, col, row, tip.Title, tip.Text, tip.Icon);
    tip.Title = BalloonTipTitle(tip.Title);
    return tip;
}
