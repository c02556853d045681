// The grid's combo editor.
#include "grid/editing/QrlGridCombo.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

// ---- combo ------------------------------------------------------------------------------------

TGridCombo::TGridCombo(TQrlStringGrid *AGrid, QWidget *AParent) : QComboBox(AParent), FGrid(AGrid)
{
    setInsertPolicy(QComboBox::NoInsert);
    // A pick from the list or an arrow key; programmatic selections are not reported.
    connect(this, &QComboBox::activated, this, [this](int) {
        FEdited = false;
        emit SelChange();
    });
}

TComboStyle TGridCombo::Style() const
{
    return isEditable() ? TComboStyle::csDropDown : TComboStyle::csDropDownList;
}

void TGridCombo::SetStyle(TComboStyle Value)
{
    const bool editable = Value == TComboStyle::csDropDown;
    if (editable == isEditable())
        return;
    setEditable(editable);
    if (editable)
        connectEdit();
}

void TGridCombo::connectEdit()
{
    // No completion of our own: it would select items while the user types.
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &) {
        FEdited = true;
        emit EditChange();
    });
}

QStringList TGridCombo::Items() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list << itemText(i);
    return list;
}

QObject *TGridCombo::Objects(int Index) const
{
    return itemData(Index).value<QObject *>();
}

void TGridCombo::AddItem(const QString &S, QObject *AObject)
{
    addItem(S, AObject ? QVariant::fromValue(AObject) : QVariant());
}

int TGridCombo::IndexOfItem(const QString &S) const
{
    return findText(S, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

int TGridCombo::ItemIndex() const
{
    return FEdited ? -1 : currentIndex();
}

bool TGridCombo::HasValue() const
{
    return isEditable() || currentIndex() >= 0;
}

void TGridCombo::SetItemIndex(int Value)
{
    FEdited = false;
    setCurrentIndex(Value);
    if (Value < 0 && isEditable())
        setEditText(QString());
}

QString TGridCombo::Text() const
{
    return currentText();
}

void TGridCombo::SetText(const QString &Value)
{
    if (isEditable()) {
        const int i = IndexOfItem(Value);
        setCurrentIndex(i);
        setEditText(Value);
        FEdited = false;
    } else {
        SetItemIndex(IndexOfItem(Value));
    }
}

void TGridCombo::SetMaxLength(int Value)
{
    if (lineEdit())
        lineEdit()->setMaxLength(Value > 0 ? Value : 32767);
}

void TGridCombo::showPopup()
{
    FDroppedDown = true;
    emit DropDown();
    QComboBox::showPopup();
}

void TGridCombo::hidePopup()
{
    const bool was = FDroppedDown;
    FDroppedDown = false;
    QComboBox::hidePopup();
    if (was)
        QMetaObject::invokeMethod(this, &TGridCombo::CloseUp, Qt::QueuedConnection);
}

void TGridCombo::keyPressEvent(QKeyEvent *e)
{
    if (!FDroppedDown && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        emit ReturnKey();
        return;
    }
    if (!FDroppedDown && e->key() == Qt::Key_Escape) {
        emit EscapeKey();
        return;
    }
    QComboBox::keyPressEvent(e);
}

void TGridCombo::focusOutEvent(QFocusEvent *e)
{
    QComboBox::focusOutEvent(e);
    // The list taking the focus or the window losing it is no exit from the control.
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason &&
        !FDroppedDown && isVisible())
        emit FocusLost();
}
