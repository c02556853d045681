// The grid's own editor controls: the combo, the spin, the two date pickers and the rich edit.
// They only report to the grid through their signals, so the grid can cut them off in one go
// when it goes away.
#pragma once

#include "grid/editing/QrlGridCombo.h"
#include "grid/editing/QrlGridSpin.h"

#include <QDateEdit>
#include <QDateTimeEdit>
#include <QTextEdit>

class TQrlStringGrid;

enum class TDTDateTimeKind { dtkDate, dtkTime };

class TGridDatePicker : public QDateEdit
{
    Q_OBJECT
public:
    TGridDatePicker(TQrlStringGrid *AGrid, QWidget *AParent);
    TQrlStringGrid *Grid() const { return FGrid; }
    bool WeekNumbers() const { return FWeekNumbers; }
    void SetWeekNumbers(bool Value) { FWeekNumbers = Value; }
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool Value) { FShowToday = Value; }
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool Value) { FShowTodayCircle = Value; }
    TDTDateTimeKind Kind() const { return FKind; }
    void SetKind(TDTDateTimeKind Value);

signals:
    void Change();
    void DropDown();
    void CloseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TQrlStringGrid *FGrid;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FShowTodayCircle = true;
    TDTDateTimeKind FKind = TDTDateTimeKind::dtkDate;
};

class TGridDateTimePicker : public QDateTimeEdit
{
    Q_OBJECT
public:
    TGridDateTimePicker(TQrlStringGrid *AGrid, QWidget *AParent);
    TQrlStringGrid *Grid() const { return FGrid; }
    bool AutoTab() const { return FAutoTab; }
    void SetAutoTab(bool Value) { FAutoTab = Value; }

signals:
    void TimeChange();
    void CloseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TQrlStringGrid *FGrid;
    bool FAutoTab = false;
};

class TQrlRichEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit TQrlRichEdit(QWidget *AParent);

signals:
    void SelectionChange();
};
