// The grid's own editor controls: the combo, the spin, the two date pickers and the rich edit.
// They only report to the grid through their signals, so the grid can cut them off in one go
// when it goes away.
#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QSpinBox>
#include <QTextEdit>

class TQrlStringGrid;

enum class TComboStyle { csDropDown, csDropDownList };

class TGridCombo : public QComboBox
{
    Q_OBJECT
public:
    TGridCombo(TQrlStringGrid *AGrid, QWidget *AParent);

    TQrlStringGrid *Grid() const { return FGrid; }
    TComboStyle Style() const;
    void SetStyle(TComboStyle Value);
    // The items with the objects they carry (no ownership).
    QStringList Items() const;
    QObject *Objects(int Index) const;
    void AddItem(const QString &S, QObject *AObject);
    // The index of the first item equal to S; -1.
    int IndexOfItem(const QString &S) const;
    // The selected item; after typing in the edit field none is, until an item is picked again.
    int ItemIndex() const;
    // A drop-down list with nothing selected has no value to commit: its empty text would wipe
    // a cell whose text is not among the items.
    bool HasValue() const;
    void SetItemIndex(int Value);
    QString Text() const;
    void SetText(const QString &Value);
    void SetMaxLength(int Value);
    bool DroppedDown() const { return FDroppedDown; }

    void showPopup() override;
    void hidePopup() override;

signals:
    // A selection the user made (list pick or arrow key).
    void SelChange();
    // The user changed the text of the edit field.
    void EditChange();
    void DropDown();
    // Queued after the list closed, so a pick in the list is reported before it.
    void CloseUp();
    void ReturnKey();
    void EscapeKey();
    // The focus went to another control of the window.
    void FocusLost();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void connectEdit();

    TQrlStringGrid *FGrid;
    bool FDroppedDown = false;
    bool FEdited = false;
};

class TGridSpin : public QSpinBox
{
    Q_OBJECT
public:
    TGridSpin(TQrlStringGrid *AGrid, QWidget *AParent);
    TQrlStringGrid *Grid() const { return FGrid; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }

private:
    TQrlStringGrid *FGrid;
    bool FIsWinXP = false;
};

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
