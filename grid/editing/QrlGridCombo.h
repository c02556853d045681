// The combo the grid edits its combo cells with.
#pragma once

#include "grid/editing/QsgComboBox.h"
#include "platform/grid/GridTypes.h"

#include <functional>

class QKeyEvent;
class TQrlStringGrid;
class IGridEditorHost;

class TGridCombo : public TQsgComboBox
{
    Q_OBJECT
public:
    // The host carries the edit in progress; the grid passes its own.
    TGridCombo(TQrlStringGrid *AGrid, IGridEditorHost *AHost, QWidget *AParent);

    TQrlStringGrid *Grid() const { return FGrid; }
    void SetStyle(TComboStyle Value) override;
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

    // A new cell's list starts its letter search afresh.
    void ResetTypeAhead();
    // Widens the list so that every item fits, measured in the grid's font.
    void SizeDropDownWidth();
    // Lookup completion of the text before the caret from the items, then the grid's
    // LookupItems.
    void DoChange();
    // The keys the control handles itself rather than the window's focus chain or shortcuts.
    bool WantsSpecialKey(int Key) const;

    // The grid's hooks into the control's key, character, focus and wheel processing.
    void KeyDownHook(int &Key, plat::TShiftState Shift);
    void KeyUpHook(int &Key, plat::TShiftState Shift);
    void KeyPressHook(QChar &Key);

    bool Forced = false;
    // The last key-down was neither Backspace nor Delete.
    bool WorkMode = true;
    int ItemIdx = 0;
    bool ItemChange = false;
    std::function<void(QObject *Sender)> OnReturnKey;

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
    // The focus went to another control of the window.
    void FocusLost();

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void Change() override;

private:
    void connectEdit();
    void picked();
    // Writes the text into the cell and validates it; a refused text stays in the control.
    bool commitText(bool MarkNoAdvance);
    void cursorWalk(bool Forward);
    // Tab without the grid claiming it: the value goes into the cell and the focus moves on in
    // the window's Tab order.
    void tabOut(QKeyEvent *e);
    // The exit from the control: history, then the value into the cell.
    void leave();
    void fireComboChange(int ACol, int AItemIndex, const QString &ASelection);

    TQrlStringGrid *FGrid;
    IGridEditorHost *FHost;
    bool FEdited = false;
    // Picks reported so far (list choice, arrow key or typed item).
    int FPicks = 0;
    // A key taken from the open list: the list counts as open while the key is handled.
    bool FListKey = false;
    // The key message whose standard processing the character stage runs; none when the
    // key-down consumed it.
    QKeyEvent *FPendingKey = nullptr;
    QChar FPendingChar;
};
