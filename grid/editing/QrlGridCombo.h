// The combo the grid edits its combo cells with.
#pragma once

#include <QComboBox>

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
