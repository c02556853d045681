// The grid's combo editor: which keys it keeps, which it hands to the grid, how it ends editing,
// lookup completion, item history and the wheel.
#include "grid/editing/QrlGridCombo.h"

#include "grid/editing/IGridEditorHost.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridTypes.h"
#include "grid/model/QrlStringGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QWheelEvent>

using plat::TShiftState;
using plat::TShiftStateItem;

namespace {
bool isEnter(int Key)
{
    return Key == Qt::Key_Return || Key == Qt::Key_Enter;
}

bool isTab(int Key)
{
    return Key == Qt::Key_Tab || Key == Qt::Key_Backtab;
}

// Holds a navigation option off for a scope.
class THeldOption
{
public:
    THeldOption(bool (TNavigation::*get)() const, void (TNavigation::*set)(bool), TNavigation *n)
        : m_n(n), m_set(set), m_old((n->*get)())
    {
        (n->*set)(false);
    }
    ~THeldOption() { (m_n->*m_set)(m_old); }
    THeldOption(const THeldOption &) = delete;
    THeldOption &operator=(const THeldOption &) = delete;

private:
    TNavigation *m_n;
    void (TNavigation::*m_set)(bool);
    bool m_old;
};
} // namespace

TGridCombo::TGridCombo(TQrlStringGrid *AGrid, IGridEditorHost *AHost, QWidget *AParent)
    : TQsgComboBox(AParent), FGrid(AGrid), FHost(AHost)
{
    SetButtonWidth(16);
    setInsertPolicy(QComboBox::NoInsert);
    // A pick from the list or an arrow key; programmatic selections are not reported.
    connect(this, &QComboBox::activated, this, [this](int) { picked(); });
    // The open list's keys that end editing come to the control first.
    view()->installEventFilter(this);
    // A drop-down list shows the grid's drop-down count of items and scrolls the rest, also in
    // the styles whose lists would otherwise grow to hold every item (the height of the screen
    // for a column of byte positions).
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

void TGridCombo::picked()
{
    FEdited = false;
    ++FPicks;
    emit SelChange();
}

void TGridCombo::ResetTypeAhead()
{
    // The list's letter search runs on for a moment after each letter: a letter typed into
    // the last list cell would still count as the first of this one's search.
    view()->keyboardSearch(QString());
    if (QItemSelectionModel *sel = view()->selectionModel())
        sel->clear();
}

void TGridCombo::SetStyle(TComboStyle Value)
{
    if (Value == Style())
        return;
    QPointer<QLineEdit> oldEdit = lineEdit();
    TQsgComboBox::SetStyle(Value);
    if (oldEdit && !isEditable()) {
        // The platform deletes the old edit field only later and keeps it as the focus proxy
        // meanwhile: the list would hand its focus to that field, and the field's deletion would
        // then look like the user leaving the list, which closes it at once.
        if (focusProxy() == oldEdit)
            setFocusProxy(nullptr);
        delete oldEdit.data();
    }
    if (isEditable())
        connectEdit();
}

void TGridCombo::connectEdit()
{
    // No completion of Qt's own: the grid's lookup completes, and only when asked to.
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
    emit DropDown();
    TQsgComboBox::showPopup();
}

void TGridCombo::hidePopup()
{
    const bool was = DroppedDown();
    TQsgComboBox::hidePopup();
    if (was)
        QMetaObject::invokeMethod(this, &TGridCombo::CloseUp, Qt::QueuedConnection);
}

// ---- list width ------------------------------------------------------------------------------

void TGridCombo::SizeDropDownWidth()
{
    int W = width();
    const bool scrolls = count() > maxVisibleItems();
    TCanvas measure;
    measure.SetFont(FGrid->Font());
    for (int i = 0; i < count(); ++i) {
        const int tw = measure.TextWidth(itemText(i));
        if (scrolls) {
            if (tw > W - 25)
                W = tw + 25;
        } else if (tw > W - 5) {
            W = tw + 8;
        }
    }
    applyDroppedWidth(W);
}

// ---- special keys ----------------------------------------------------------------------------

bool TGridCombo::WantsSpecialKey(int Key) const
{
    switch (Key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return FGrid->WantsTabInEditor();
    default:
        return false;
    }
}

bool TGridCombo::event(QEvent *e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (WantsSpecialKey(k->key())) {
            e->accept();
            return true;
        }
    }
    // A claimed Tab is a key of the control, not a step of the focus chain.
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (isTab(k->key()) && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (WantsSpecialKey(k->key()))
                keyPressEvent(k);
            else
                tabOut(k);
            return true;
        }
    }
    return TQsgComboBox::event(e);
}

bool TGridCombo::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (watched == view() && (t == QEvent::KeyPress || t == QEvent::ShortcutOverride) &&
        DroppedDown()) {
        auto *k = static_cast<QKeyEvent *>(e);
        const int key = k->key();
        // A list opened with nothing selected: the first arrow key highlights the first (Down)
        // or the last (Up) item, rather than the one after the row the view keeps current.
        const QItemSelectionModel *sel = view()->selectionModel();
        if (t == QEvent::KeyPress && (key == Qt::Key_Down || key == Qt::Key_Up) &&
            !(k->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) && count() > 0 && sel &&
            !sel->hasSelection()) {
            const int row = key == Qt::Key_Down ? 0 : count() - 1;
            view()->setCurrentIndex(model()->index(row, modelColumn(), view()->rootIndex()));
            return true;
        }
        const bool ends = isEnter(key) || key == Qt::Key_Escape || key == Qt::Key_Left ||
                          key == Qt::Key_Right || (isTab(key) && WantsSpecialKey(key));
        // The list would close on these while the shortcuts are asked; the key press is ours.
        if (ends && t == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        if (ends) {
            // The highlighted item is the selection the list's keys or the mouse made. A list
            // opened with nothing selected only has a current row for its keyboard focus.
            const QModelIndex current = view()->currentIndex();
            const bool highlighted = current.isValid() && view()->selectionModel() &&
                                     view()->selectionModel()->isSelected(current);
            const int row = highlighted ? current.row() : -1;
            if (key != Qt::Key_Escape && row >= 0 && row != ItemIndex()) {
                setCurrentIndex(row);
                emit activated(row);
            }
            TFlagScope open(FListKey, true);
            hidePopup();
            keyPressEvent(k);
            return true;
        }
    }
    return TQsgComboBox::eventFilter(watched, e);
}

// ---- key-down --------------------------------------------------------------------------------

bool TGridCombo::commitText(bool MarkNoAdvance)
{
    // The cell the editor was shown over, which code may have moved the cursor away from.
    const plat::TGridCoord cell = FHost->EditCell();
    const bool ownCell =
        cell.X >= 0 && cell.Y >= 0 && cell.X < FGrid->ColCount() && cell.Y < FGrid->RowCount();
    const plat::TGridCoord b =
        ownCell ? FGrid->BaseCell(FGrid->RealColIndex(cell.X), cell.Y) : plat::TGridCoord{-1, -1};
    if (HasValue()) {
        const QString text = Text();
        if (ownCell)
            FGrid->SetCellEx(b.X, b.Y, text);
        else
            FGrid->SetCurrentCell(text);
        if (!FHost->ValidateCell(text)) {
            {
                THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling,
                                    &IGridEditorHost::SetComboFilling, true);
                SetText(FHost->NewCellText());
            }
            if (MarkNoAdvance)
                FHost->SetNoAutoAdvance(true);
            update();
            return false;
        }
    }
    THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling, &IGridEditorHost::SetComboFilling,
                        true);
    SetText(ownCell ? FGrid->GetGridCell(b.X, b.Y) : FGrid->CurrentCell());
    return true;
}

void TGridCombo::tabOut(QKeyEvent *e)
{
    if (FHost->EditMode() && isVisible()) {
        if (!commitText(false)) {
            if (lineEdit())
                lineEdit()->setCursorPosition(static_cast<int>(Text().size()));
            return;
        }
        FHost->HideEditor();
    }
    // The window's Tab order goes on from the grid, as when the grid itself gets the key; the
    // focus then stays out of the closed editor's cell.
    const QWidget *fw = QApplication::focusWidget();
    if (fw != FGrid && fw != FGrid->viewport())
        FGrid->setFocus(Qt::OtherFocusReason);
    QKeyEvent tab(QEvent::KeyPress, e->key(), e->modifiers());
    QApplication::sendEvent(FGrid, &tab);
}

void TGridCombo::KeyDownHook(int &Key, TShiftState Shift)
{
    TNavigation *nav = FGrid->Navigation();
    Forced = false;
    const bool open = DroppedDown() || FListKey;
    const bool list = Style() == TComboStyle::csDropDownList;
    bool navKey = false;
    switch (Key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        navKey = true;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        navKey = list || open;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
        navKey = !(list || open);
        break;
    default:
        break;
    }
    WorkMode = Key != Qt::Key_Backspace && Key != Qt::Key_Delete;

    if ((Key == Qt::Key_Up || Key == Qt::Key_Down) && !nav->ComboGetUpDown() && !open) {
        FHost->HideEditor();
        {
            THeldOption held(&TNavigation::AlwaysEdit, &TNavigation::SetAlwaysEdit, nav);
            FGrid->setFocus();
        }
        FHost->ForwardKeyDown(Key, Shift);
        Key = 0;
        return;
    }
    // Alt+Down opens the list.
    if (Key == Qt::Key_Down && Shift.Contains(TShiftStateItem::ssAlt))
        navKey = false;
    if (!navKey)
        return;

    if (Key == Qt::Key_Escape) {
        {
            THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling,
                                &IGridEditorHost::SetComboFilling, true);
            SetText(FGrid->CurrentCell());
        }
        FHost->HideEditor();
        FGrid->setFocus();
    }

    if (isEnter(Key) || Key == Qt::Key_Up || Key == Qt::Key_Down) {
        if (!commitText(true)) {
            if (!list && lineEdit())
                lineEdit()->selectAll();
            Key = 0;
            return;
        }
    }

    if (isTab(Key) && FGrid->WantsTabInEditor()) {
        if (!commitText(false)) {
            if (lineEdit())
                lineEdit()->setCursorPosition(static_cast<int>(Text().size()));
            Key = 0;
            return;
        }
        const bool backward = Key == Qt::Key_Backtab || Shift.Contains(TShiftStateItem::ssShift);
        if (FGrid->Options().Contains(plat::TGridOption::goTabs)) {
            FHost->HideEditor();
            FGrid->setFocus();
            FGrid->TabToNextCell(backward);
            Key = 0;
            return;
        }
        QCoreApplication::postEvent(
            FGrid,
            new QKeyEvent(QEvent::KeyPress, Key, backward ? Qt::ShiftModifier : Qt::NoModifier));
    }

    if (list || open) {
        {
            const bool direct = FGrid->MouseActions()->DirectComboClose();
            FGrid->MouseActions()->SetDirectComboClose(false);
            FHost->HideEditor();
            FGrid->MouseActions()->SetDirectComboClose(direct);
        }
        if (Key == Qt::Key_Left || Key == Qt::Key_Right) {
            int k = Key;
            FHost->ForwardKeyDown(k, Shift);
        }
        switch (Key) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            Key = 0;
            break;
        default:
            break;
        }
    } else if (Key == Qt::Key_End) {
        return;
    }

    const int done = Key;
    FGrid->DoneInplaceEdit(Key, Shift);
    // Escape cancels: opening the editor again would leave no way out of editing.
    if (done != Qt::Key_Escape && nav->AdvanceOnEnter() && nav->AdvanceAutoEdit())
        FGrid->ShowInplaceEdit();
    Key = 0;
}

// ---- characters ------------------------------------------------------------------------------

void TGridCombo::fireComboChange(int ACol, int AItemIndex, const QString &ASelection)
{
    const int row = FGrid->Row();
    if (FGrid->OnComboChange)
        FGrid->OnComboChange(FGrid, ACol, row, AItemIndex, ASelection);
    if (FGrid->OnComboObjectChange)
        FGrid->OnComboObjectChange(FGrid, ACol, row, AItemIndex, ASelection,
                                   AItemIndex >= 0 ? Objects(AItemIndex) : nullptr);
}

void TGridCombo::KeyPressHook(QChar &Key)
{
    const int before = ItemIndex();
    const int picks = FPicks;
    if (FGrid->OnKeyPress)
        FGrid->OnKeyPress(this, Key);
    if (Key.unicode() == 27)
        Key = QChar();
    if (Key.unicode() == 13 && OnReturnKey)
        OnReturnKey(this);
    if (Key.unicode() == 13 || Key.unicode() == 9)
        Key = QChar();
    if (Key.isNull() || !FPendingKey)
        return;
    const bool typeAhead = Style() == TComboStyle::csDropDownList && Key.unicode() >= 32;
    if (typeAhead && !AutoComplete())
        return;
    if (Key == FPendingChar) {
        TQsgComboBox::keyPressEvent(FPendingKey);
    } else {
        QKeyEvent typed(QEvent::KeyPress, 0, FPendingKey->modifiers(), QString(Key));
        TQsgComboBox::keyPressEvent(&typed);
    }
    // A letter that picked an item of the list was reported with the pick already.
    if (ItemIndex() != before && FPicks == picks)
        fireComboChange(FGrid->RealColIndex(FGrid->Col()), ItemIndex(), Text());
}

void TGridCombo::keyPressEvent(QKeyEvent *e)
{
    if (!FHost->HostAlive()) {
        TQsgComboBox::keyPressEvent(e);
        return;
    }
    int key = e->key();
    const TShiftState shift = plat::ShiftStateOf(e->modifiers());
    KeyDownHook(key, shift);
    QChar ch;
    const bool typed = plat::KeyCharOf(e, ch);
    FPendingKey = key != 0 ? e : nullptr;
    FPendingChar = ch;
    if (typed)
        KeyPressHook(ch);
    else if (key != 0)
        TQsgComboBox::keyPressEvent(e);
    FPendingKey = nullptr;
}

// ---- key-up: cursor walking and lookup -------------------------------------------------------

void TGridCombo::cursorWalk(bool Forward)
{
    TNavigation *nav = FGrid->Navigation();
    const int col = FGrid->Col();
    const int row = FGrid->Row();
    int next = col - 1;
    bool inside = col > FGrid->FixedCols();
    if (Forward) {
        next = col + FGrid->CellSpan(FGrid->RealColIndex(col), row).X + 1;
        inside = col < FGrid->ColCount() - FGrid->FixedRightCols() - 1 && next < FGrid->ColCount();
    }
    if (inside && FGrid->HasClickableGraphic(FGrid->RealColIndex(next), row)) {
        if (FHost->ValidateCell(Text())) {
            FHost->HideEditor();
            FGrid->SetCol(next);
        }
        return;
    }
    FGrid->setFocus();
    // Without an active window the focus change does not reach the control.
    if (FHost->EditMode() && isVisible())
        leave();
    const bool alwaysEdit = nav->CursorWalkAlwaysEdit();
    const TAdvanceDirection old = nav->AdvanceDirection();
    nav->SetAdvanceDirection(TAdvanceDirection::adLeftRight);
    try {
        // Forced: the walk moves whatever AdvanceOnEnter says about Enter.
        FGrid->AdvanceAfterEdit(col, row, alwaysEdit, Forward, alwaysEdit, true);
    } catch (...) {
        nav->SetAdvanceDirection(old);
        throw;
    }
    nav->SetAdvanceDirection(old);
}

void TGridCombo::KeyUpHook(int &Key, TShiftState Shift)
{
    QLineEdit *edit = lineEdit();
    if (FGrid->Navigation()->CursorWalkEditor() && Style() == TComboStyle::csDropDown && edit) {
        const bool plain = !Shift.Contains(TShiftStateItem::ssShift) &&
                           !Shift.Contains(TShiftStateItem::ssCtrl) &&
                           !Shift.Contains(TShiftStateItem::ssAlt);
        const int pos = edit->cursorPosition();
        if (plain && !edit->hasSelectedText()) {
            if (Key == Qt::Key_Left && pos == 0) {
                Key = 0;
                cursorWalk(false);
            } else if (Key == Qt::Key_Right && pos == edit->text().size()) {
                Key = 0;
                cursorWalk(true);
            }
        }
    }
    FHost->SetNoAutoAdvance(false);
}

void TGridCombo::keyReleaseEvent(QKeyEvent *e)
{
    // The release of a key that ended editing belongs to the grid.
    if (!isVisible() || !FHost->HostAlive()) {
        TQsgComboBox::keyReleaseEvent(e);
        return;
    }
    int key = e->key();
    KeyUpHook(key, plat::ShiftStateOf(e->modifiers()));
    if (key != 0 && !isEnter(key))
        TQsgComboBox::keyReleaseEvent(e);
    if (isVisible())
        DoChange();
}

void TGridCombo::DoChange()
{
    QLineEdit *edit = lineEdit();
    if (!WorkMode || !FHost->Lookup() || !edit)
        return;
    const bool cs = FHost->LookupCaseSensitive();
    const QLocale locale;
    const QString text = edit->text();
    const int typedLen = edit->cursorPosition();
    const QString typed = cs ? text.left(typedLen) : locale.toUpper(text.left(typedLen));
    if (typed.isEmpty())
        return;
    auto matches = [&](const QString &item) {
        return (cs ? item : locale.toUpper(item)).startsWith(typed);
    };
    auto complete = [&](const QString &item) {
        const QString done = text.left(typedLen) + item.mid(typedLen, 255);
        THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling,
                            &IGridEditorHost::SetComboFilling, true);
        setEditText(done);
        edit->setSelection(typedLen, static_cast<int>(done.size()) - typedLen);
    };
    for (int i = 0; i < count(); ++i) {
        if (!matches(itemText(i)))
            continue;
        {
            THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling,
                                &IGridEditorHost::SetComboFilling, true);
            setCurrentIndex(i);
            FEdited = false;
        }
        complete(itemText(i));
        ItemIdx = i;
        ItemChange = true;
        return;
    }
    const QStringList items = FHost->LookupItems();
    for (const QString &item : items) {
        if (matches(item)) {
            complete(item);
            return;
        }
    }
}

// ---- text change, wheel, focus ---------------------------------------------------------------

void TGridCombo::Change()
{
    TQsgComboBox::Change();
    if (FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TGridCombo::wheelEvent(QWheelEvent *e)
{
    const int delta = e->angleDelta().y();
    int i = currentIndex();
    if (delta < 0) {
        if (i < count() - 1)
            ++i;
    } else if (delta > 0 && i > 0) {
        --i;
    }
    {
        THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling,
                            &IGridEditorHost::SetComboFilling, true);
        SetItemIndex(i);
    }
    const int r = FGrid->RealColIndex(FGrid->Col());
    const QString s = itemText(i);
    if (FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, r, FGrid->Row(), s);
    fireComboChange(r, i, s);
    e->accept();
}

void TGridCombo::focusInEvent(QFocusEvent *e)
{
    TQsgComboBox::focusInEvent(e);
    QLineEdit *edit = lineEdit();
    if (!edit)
        return;
    // A focused edit combo selects its whole text, so a typed character replaces it.
    if (!FGrid->Navigation()->EditSelectAll())
        edit->setCursorPosition(static_cast<int>(edit->text().size()));
    else
        edit->selectAll();
    if (FHost->OpenedByClick()) {
        const QPoint p = mapFromGlobal(QCursor::pos());
        if (p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height()) {
            edit->setCursorPosition(edit->cursorPositionAt(edit->mapFrom(this, p)));
            edit->deselect();
            FHost->ClearOpenedByClick();
        }
    }
}

void TGridCombo::leave()
{
    const QString text = Text();
    if (FGrid->LookupHistory() && !text.isEmpty() && IndexOfItem(text) < 0) {
        THostFlagScope fill(*FHost, &IGridEditorHost::ComboFilling,
                            &IGridEditorHost::SetComboFilling, true);
        AddItem(text, nullptr);
    }
    // A refused text keeps the editor open rather than storing what validation rejected.
    if (FHost->EditMode() && !FHost->KillBlocked() && isVisible() &&
        (!HasValue() || FHost->ValidateCell(text)))
        FHost->HideEditor();
}

void TGridCombo::focusOutEvent(QFocusEvent *e)
{
    TQsgComboBox::focusOutEvent(e);
    if (!FHost->HostAlive())
        return;
    // The list taking the focus or the window losing it is no exit from the control.
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason &&
        !DroppedDown() && isVisible()) {
        leave();
        emit FocusLost();
    }
}
