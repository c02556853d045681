// The grid's own editor controls.
#include "grid/editing/QrlGridEditors.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

// ---- date pickers -----------------------------------------------------------------------------

namespace {
// The calendar lives in a popup frame; its showing and hiding are the drop-down and close-up.
void watchCalendar(QDateTimeEdit *edit, QObject *filter)
{
    edit->setCalendarPopup(true);
    if (QCalendarWidget *cal = edit->calendarWidget())
        cal->window()->installEventFilter(filter);
}
} // namespace

TGridDatePicker::TGridDatePicker(TQrlStringGrid *AGrid, QWidget *AParent)
    : QDateEdit(AParent), FGrid(AGrid)
{
    watchCalendar(this, this);
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { emit Change(); });
}

void TGridDatePicker::SetKind(TDTDateTimeKind Value)
{
    FKind = Value;
    setDisplayFormat(Value == TDTDateTimeKind::dtkTime ? QStringLiteral("HH:mm:ss")
                                                       : QStringLiteral("dd.MM.yyyy"));
}

bool TGridDatePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (calendarWidget() && watched == calendarWidget()->window()) {
        if (event->type() == QEvent::Show) {
            QCalendarWidget *cal = calendarWidget();
            cal->setVerticalHeaderFormat(FWeekNumbers ? QCalendarWidget::ISOWeekNumbers
                                                      : QCalendarWidget::NoVerticalHeader);
            emit DropDown();
        } else if (event->type() == QEvent::Hide) {
            emit CloseUp();
        }
    }
    return QDateEdit::eventFilter(watched, event);
}

TGridDateTimePicker::TGridDateTimePicker(TQrlStringGrid *AGrid, QWidget *AParent)
    : QDateTimeEdit(AParent), FGrid(AGrid)
{
    watchCalendar(this, this);
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { emit TimeChange(); });
}

bool TGridDateTimePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (calendarWidget() && watched == calendarWidget()->window() && event->type() == QEvent::Hide)
        emit CloseUp();
    return QDateTimeEdit::eventFilter(watched, event);
}

// ---- rich edit --------------------------------------------------------------------------------

TQrlRichEdit::TQrlRichEdit(QWidget *AParent) : QTextEdit(AParent)
{
    connect(this, &QTextEdit::selectionChanged, this, [this] { emit SelectionChange(); });
}
