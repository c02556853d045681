// The spin and check-box controls the grid edits its spin and check-box cells with.
#pragma once

#include "grid/editing/QsgSpinEdit.h"

#include <QCheckBox>

class TQrlStringGrid;

class TGridSpin : public TQsgSpinEdit
{
    Q_OBJECT
public:
    TGridSpin(TQrlStringGrid *AGrid, QWidget *AParent);
    TQrlStringGrid *Grid() const { return FGrid; }
    // A fresh control for the next cell: no undo history, no selection, nothing pressed.
    void ReCreate();
    void UpButtonClick(QObject *Sender) override;
    void DownButtonClick(QObject *Sender) override;

signals:
    // The focus went to another control of the window.
    void FocusLost();

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    bool commitWithValidation();
    void fireSpinClick(bool UpDown);

    TQrlStringGrid *FGrid;
};

class TGridCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    TGridCheckBox(TQrlStringGrid *AGrid, QWidget *AParent);
    TQrlStringGrid *Grid() const { return FGrid; }
    void ReCreate();
    // Unchecked to checked (through partly checked when tristate), checked to unchecked.
    void Toggle();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    // The press toggles already; the click that follows it must not toggle back.
    void nextCheckState() override {}

private:
    TQrlStringGrid *FGrid;
};
