// Special editors: the controls that cells of other than the text kinds are edited with.
#include "grid/editing/QrlGridEditors.h"
#include "grid/editing/QrlGridSpin.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridColumn.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/grid/GridEditor.h"
#include "platform/ui/Colors.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QRegularExpression>

#include <limits>

using enum TEditorType;

namespace {
bool isComboKind(TEditorType kind)
{
    return kind == edComboEdit || kind == edComboList;
}

bool isSpinKind(TEditorType kind)
{
    return kind == edSpinEdit || kind == edFloatSpinEdit || kind == edTimeSpinEdit ||
           kind == edDateSpinEdit;
}

// A column grid's combo cells offer their column's items. Reloading a long list on every open
// costs a visible delay, so the items are loaded only when they differ.
void loadColumnComboItems(TQrlStringGrid *grid, TGridCombo *combo, int R, int ARow)
{
    auto *cg = dynamic_cast<TQrlColumnGrid *>(grid);
    if (!cg || R < grid->FixedCols() || ARow < grid->FixedRows() || R >= cg->Columns()->Count())
        return;
    const QStringList &items = cg->Columns()->Items(R)->ComboItems();
    bool same = combo->count() == items.size();
    for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i) == items[i] && !combo->Objects(i);
    if (same)
        return;
    combo->clear();
    combo->addItems(items);
}

void postStartChar(QWidget *control, QChar ch)
{
    if (ch.isNull())
        return;
    // As a keyboard delivers it: printable ASCII keys carry their upper-case code.
    const char16_t c = ch.unicode();
    const int key = c > 0x20 && c < 0x7f ? QChar(c).toUpper().unicode() : 0;
    QCoreApplication::postEvent(control,
                                new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(ch)));
}

// Hides the control, giving the focus back to the grid first when the control holds it, so the
// focus does not wander off to another control of the window.
void putAway(TQrlStringGrid *grid, QWidget *control)
{
    if (control->isAncestorOf(QApplication::focusWidget()) || control->hasFocus())
        grid->setFocus();
    control->hide();
    control->setEnabled(false);
}

// The leading integer of a cell text; what follows it is ignored, and a text that does not
// start with a number gives 0.
int leadingInt(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?\\d+"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return 0;
    bool ok = false;
    const qlonglong v = m.captured().trimmed().toLongLong(&ok);
    if (!ok)
        return m.captured().contains(u'-') ? std::numeric_limits<int>::min()
                                           : std::numeric_limits<int>::max();
    return static_cast<int>(
        std::clamp<qlonglong>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The leading number of a plain number text ("." as the decimal point); 0 when there is none.
double leadingFloat(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured().trimmed().toDouble() : 0.0;
}

// Places a special editor over the cell (one pixel inside its right and bottom edges), in the
// viewport's coordinates whichever its parent.
void placeOver(QWidget *viewport, QWidget *control, const TRect &rect)
{
    QPoint at(rect.Left, rect.Top);
    if (control->parentWidget() != viewport)
        at = viewport->mapTo(control->parentWidget(), at);
    control->setGeometry(at.x(), at.y(), rect.Right - rect.Left - 1, rect.Bottom - rect.Top - 1);
}

void paintBase(QWidget *control, TColor color, QPalette::ColorRole role)
{
    QPalette pal = control->palette();
    pal.setColor(role, ToQColor(color));
    if (role == QPalette::Base)
        pal.setColor(QPalette::Button, ToQColor(color));
    control->setPalette(pal);
}
} // namespace

// The special editors' branches of ShowCellEditor; rect is the cell's rectangle, color its
// painted background. A nested class, so they reach the grid's state without the facade
// declaring each of them.
struct TQrlStringGrid::TSpecialPart
{
    static void showComboEditor(
        TQrlStringGrid &grid, int ACol, int ARow, int r, const TRect &rect, TColor color);
    static void showSpinEditor(
        TQrlStringGrid &grid, int ACol, int ARow, int r, const TRect &rect, TColor color);
    static void
    showCheckEditor(TQrlStringGrid &grid, int ACol, int ARow, const TRect &rect, TColor color);
    static void ShowTextEditorInstead(TQrlStringGrid &grid);
};

bool TQrlStringGrid::TextEditorStandsIn(TEditorType Kind)
{
    switch (Kind) {
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn:
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit:
    case edDateTimeEdit:
    case edButton:
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn:
    case edCustom:
    case edRichEdit:
    case edTrackbarDropDown:
    case edMemoDropDown:
    case edCalculatorDropDown:
    case edTimePickerDropDown:
    case edDetailDropDown:
    case edGridDropDown:
    case edColorPickerDropDown:
    case edImagePickerDropDown:
    case edQrlGridDropDown:
        return true;
    default:
        return false;
    }
}

void TQrlStringGrid::ShowCellEditor(int ACol, int ARow)
{
    ed->editing = true;
    ed->specialEditor = true;
    ed->editActive = true;
    ed->editCell = {ACol, ARow};
    const int r = RealColIndex(ACol);
    TRect rect = CellRect(ACol, ARow);
    if (isRightToLeft())
        ++rect.Left;
    // The editor takes the cell's background as it is painted.
    plat::TGridDrawState state;
    const TColor color = CellVisuals(ACol, Row(), state, false, false, true).brush.Color();
    ed->editCtrl = nullptr;
    if (ed->editControl != edCustom)
        ed->lastValidation = true;

    const TEditorType kind = ed->editControl;
    if (isComboKind(kind))
        TSpecialPart::showComboEditor(*this, ACol, ARow, r, rect, color);
    else if (isSpinKind(kind))
        TSpecialPart::showSpinEditor(*this, ACol, ARow, r, rect, color);
    else if (kind == edCheckBox)
        TSpecialPart::showCheckEditor(*this, ACol, ARow, rect, color);
    else if (TextEditorStandsIn(kind))
        TSpecialPart::ShowTextEditorInstead(*this);
    else
        // A text kind, edNone or a data check box: no control of its own to show.
        ed->editing = ed->specialEditor = ed->editActive = ed->editMode = false;
    d->startEditChar = QChar();
}

void TQrlStringGrid::TSpecialPart::showComboEditor(
    TQrlStringGrid &grid, int ACol, int ARow, int r, const TRect &rect, TColor color)
{
    TGridCombo *combo = grid.EditCombo();
    const bool list = grid.ed->editControl == edComboList;
    {
        // Filling is no user change.
        const TFlagScope filling(grid.ed->comboFilling, true);
        combo->setMaxVisibleItems(qMax(1, grid.ControlLook()->DropDownCount()));
        loadColumnComboItems(&grid, combo, r, ARow);
        grid.DoGetEditorProp(r, ARow, nullptr);
        const QString editText = grid.GetEditTextHook(ACol, ARow);
        if (list) {
            combo->SetStyle(TComboStyle::csDropDownList);
            combo->ResetTypeAhead();
            // The list opens on the cell's item; a text that is none of them stays as it is
            // (shown, nothing selected) until the user picks or types an item.
            int i = combo->IndexOfItem(grid.GetCellEx(r, ARow));
            if (i < 0)
                i = combo->IndexOfItem(editText);
            if (i < 0 && grid.ed->comboIdx != -1)
                i = grid.ed->comboIdx;
            if (i >= combo->count())
                i = -1;
            // Set before the item: clearing it while nothing is selected selects item 0.
            combo->setPlaceholderText(i < 0 ? editText : QString());
            combo->SetItemIndex(i);
        } else {
            combo->setPlaceholderText(QString());
            combo->SetStyle(TComboStyle::csDropDown);
            combo->SetText(editText);
            if (grid.ed->comboIdx != -1 && combo->ItemIndex() < 0)
                combo->SetItemIndex(grid.ed->comboIdx);
            combo->SetMaxLength(grid.ed->maxComboLength);
        }
    }
    placeOver(grid.viewport(), combo, rect);
    // The looks with a flat face give the combo one too. Set before the cell colour, so the
    // flat look's switch to the parent's colour does not cover the cell's.
    const TGridLook look = grid.Look();
    const bool flat = look == TGridLook::glSoft ||
                      (look >= TGridLook::glQuorl && look <= TGridLook::glOffice2007);
    combo->SetFlat(flat);
    combo->SetEtched(flat);
    paintBase(combo, color, QPalette::Base);
    combo->setEnabled(true);
    combo->show();
    combo->raise();
    if (grid.Navigation()->AutoComboDropSize())
        combo->SizeDropDownWidth();
    else if (combo->DropWidth() > 0)
        combo->SetDropWidth(combo->DropWidth());
    combo->setFocus();
    grid.ed->editMode = true;
    if (grid.MouseActions()->DirectComboDrop() || grid.ControlLook()->DropDownAlwaysVisible())
        combo->showPopup();
    if (grid.MouseActions()->DirectEdit() && grid.MouseActions()->DirectComboDrop()) {
        const plat::TGridRect sel = grid.Selection().Normalized();
        grid.DoSelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    }
    postStartChar(combo, grid.d->startEditChar);
    grid.ed->editCtrl = combo;
}

void TQrlStringGrid::TSpecialPart::showSpinEditor(
    TQrlStringGrid &grid, int ACol, int ARow, int r, const TRect &rect, TColor color)
{
    TGridSpin *spin = grid.SpinEdit();
    spin->ReCreate();
    spin->SetExcelStyleDecimalSeparator(grid.ExcelStyleDecimalSeparator());
    grid.DoGetEditorProp(r, ARow, nullptr);
    const QString editText = grid.GetEditTextHook(ACol, ARow);
    switch (grid.ed->editControl) {
    case edSpinEdit:
        spin->SetValue(leadingInt(editText));
        spin->SetSpinType(TQsgSpinType::sptNormal);
        break;
    case edFloatSpinEdit:
        spin->SetFloatValue(leadingFloat(ExtractNumberText(editText)));
        spin->SetSpinType(TQsgSpinType::sptFloat);
        break;
    case edTimeSpinEdit:
        spin->setText(editText);
        spin->SetSpinType(TQsgSpinType::sptTime);
        break;
    default: {
        TDateTime v = qrlNow();
        if (!editText.isEmpty()) {
            try {
                v = GridStrToDate(editText);
            } catch (const EQrlConvertError &) {
                // An unreadable date opens on today.
            }
        }
        spin->SetDateValue(v);
        spin->SetSpinType(TQsgSpinType::sptDate);
        break;
    }
    }
    placeOver(grid.viewport(), spin, rect);
    paintBase(spin, color, QPalette::Base);
    spin->show();
    spin->raise();
    spin->setEnabled(true);
    spin->setFocus();
    grid.ed->editMode = true;
    postStartChar(spin, grid.d->startEditChar);
    grid.ed->editCtrl = spin;
    // The press on the cell's spin button that opened the editor is carried out, once.
    if (grid.ed->spinUpClick)
        spin->UpButtonClick(spin->Button());
    if (grid.ed->spinDnClick)
        spin->DownButtonClick(spin->Button());
    grid.ed->spinUpClick = grid.ed->spinDnClick = false;
}

void TQrlStringGrid::TSpecialPart::showCheckEditor(
    TQrlStringGrid &grid, int ACol, int ARow, const TRect &rect, TColor color)
{
    TGridCheckBox *check = grid.EditCheck();
    check->ReCreate();
    placeOver(grid.viewport(), check, rect);
    check->setText(grid.GetEditTextHook(ACol, ARow));
    check->setCheckState(Qt::Unchecked);
    paintBase(check, color, QPalette::Window);
    check->setAutoFillBackground(true);
    check->show();
    check->raise();
    check->setEnabled(true);
    check->setFocus();
    grid.ed->editMode = true;
}

// Kinds whose control comes later are edited as text: the framework's editor opens on the cell
// and stores its text the way it does for the text kinds.
void TQrlStringGrid::TSpecialPart::ShowTextEditorInstead(TQrlStringGrid &grid)
{
    grid.ed->specialEditor = false;
    grid.ed->editActive = false;
    grid.ed->editMode = true;
    grid.ed->showEditProcess = true;
    const QChar start = grid.d->startEditChar;
    grid.ShowEditor();
    if (plat::TGridEditor *ed = grid.CellEditor())
        postStartChar(ed->Widget(), start);
}

void TQrlStringGrid::ApplyEditorValue(int ACol, int ARow)
{
    if (d->destroying)
        return;
    ed->specialEditor = false;
    ed->blockKill = true;
    const int r = RealColIndex(ACol);
    d->startEditChar = QChar();
    const TEditorType kind = ed->editControl;
    if (isComboKind(kind)) {
        // A second commit finds the editor closed and stores nothing.
        if (ed->editMode) {
            TGridCombo *combo = EditCombo();
            if (combo->HasValue())
                StoreEditedText(r, ARow, combo->Text());
            putAway(this, combo);
            ed->editMode = false;
        }
    } else if (isSpinKind(kind)) {
        TGridSpin *spin = SpinEdit();
        if (spin->AllowEmptyValue() && spin->text().trimmed().isEmpty())
            SetCellEx(r, ARow, QString());
        else if (kind == edSpinEdit)
            SetInts(r, ARow, spin->Value());
        else if (kind == edFloatSpinEdit)
            SetFloats(r, ARow, spin->FloatValue());
        else if (kind == edDateSpinEdit)
            SetDates(r, ARow, spin->DateValue());
        else
            StoreEditedText(r, ARow, spin->text());
        // An emptied spin is put away like any other, so no editor stays behind.
        putAway(this, spin);
        ed->editMode = false;
    } else if (kind == edCheckBox) {
        putAway(this, EditCheck());
        ed->editMode = false;
    }
    if (kind != edNormal && ed->editActive)
        NotifyEditingDone(r, ARow);
    ed->blockKill = false;
    ed->editActive = false;
}
