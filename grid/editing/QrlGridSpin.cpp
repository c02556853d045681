// The grid's spin and check-box editors.
#include "grid/editing/QrlGridSpin.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QKeyEvent>

using plat::TGridOption;

namespace {
bool isTab(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}
} // namespace

// ---- spin -------------------------------------------------------------------------------------

TGridSpin::TGridSpin(TQrlStringGrid *AGrid, QWidget *AParent) : TQsgSpinEdit(AParent), FGrid(AGrid)
{
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
    setFrame(false);
    updateMinHeight();
    updateLayout();
    connect(this, &QLineEdit::textChanged, this, [this](const QString &Text) {
        if (FGrid && FGrid->OnEditChange)
            FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text);
    });
}

void TGridSpin::ReCreate()
{
    deselect();
    // Setting the text anew drops the previous cell's undo history.
    setText(text());
    Button()->UpButton()->setDown(false);
    Button()->DownButton()->setDown(false);
}

void TGridSpin::UpButtonClick(QObject *Sender)
{
    TQsgSpinEdit::UpButtonClick(Sender);
    fireSpinClick(true);
}

void TGridSpin::DownButtonClick(QObject *Sender)
{
    TQsgSpinEdit::DownButtonClick(Sender);
    fireSpinClick(false);
}

void TGridSpin::fireSpinClick(bool UpDown)
{
    TQrlStringGrid *g = FGrid;
    switch (SpinType()) {
    case TQsgSpinType::sptNormal:
        if (g->OnSpinClick)
            g->OnSpinClick(g, g->Col(), g->Row(), Value(), UpDown);
        break;
    case TQsgSpinType::sptFloat:
        if (g->OnFloatSpinClick)
            g->OnFloatSpinClick(g, g->Col(), g->Row(), FloatValue(), UpDown);
        break;
    case TQsgSpinType::sptDate:
        if (g->OnDateSpinClick)
            g->OnDateSpinClick(g, g->Col(), g->Row(), DateValue(), UpDown);
        break;
    case TQsgSpinType::sptTime:
        if (g->OnTimeSpinClick)
            g->OnTimeSpinClick(g, g->Col(), g->Row(), TimeValue(), UpDown);
        break;
    }
}

bool TGridSpin::event(QEvent *e)
{
    // Tab stays in the spin only when the grid walks its cells with it; otherwise the focus
    // moves on and that ends the edit.
    if (e->type() == QEvent::KeyPress && isTab(static_cast<QKeyEvent *>(e)->key()) &&
        FGrid->Options().Contains(TGridOption::goTabs)) {
        keyPressEvent(static_cast<QKeyEvent *>(e));
        return true;
    }
    return TQsgSpinEdit::event(e);
}

bool TGridSpin::commitWithValidation()
{
    const QString s = text();
    FGrid->SetCurrentCell(s);
    if (!FGrid->ValidateCell(s)) {
        setText(FGrid->CurrentCell());
        end(false);
        update();
        return false;
    }
    setText(FGrid->CurrentCell());
    return true;
}

void TGridSpin::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // They step the value; in a spin cell they never move the cursor.
        TQsgSpinEdit::keyPressEvent(e);
        return;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = key == Qt::Key_Home;
        if (SpinType() == TQsgSpinType::sptNormal)
            SetValue(home ? MaxValue() : MinValue());
        else if (SpinType() == TQsgSpinType::sptFloat)
            SetFloatValue(home ? MaxFloatValue() : MinFloatValue());
        if (FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), Value(), home);
        TQsgSpinEdit::keyPressEvent(e);
        return;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        break;
    default:
        TQsgSpinEdit::keyPressEvent(e);
        return;
    }
    const plat::TShiftState shift = plat::ShiftStateOf(e->modifiers());
    if (key == Qt::Key_Escape) {
        setText(FGrid->CellCache());
        if (SpinType() == TQsgSpinType::sptNormal)
            SetValue(Value());
        else if (SpinType() == TQsgSpinType::sptFloat)
            SetFloatValue(FloatValue());
    } else if (!commitWithValidation()) {
        return;
    }
    TQrlStringGrid *g = FGrid;
    if (isTab(key) && g->Options().Contains(TGridOption::goTabs)) {
        g->HideInplaceEdit();
        g->setFocus();
        g->TabToNextCell(key == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier));
        return;
    }
    g->DoneInplaceEdit(key, shift);
    // Escape ends the edit where it is; the moving keys may open the next cell at once.
    if (key != Qt::Key_Escape && g->Navigation()->AdvanceOnEnter() &&
        g->Navigation()->AdvanceAutoEdit() && !g->EditMode())
        g->ShowInplaceEdit();
}

void TGridSpin::focusOutEvent(QFocusEvent *e)
{
    TQsgSpinEdit::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason &&
        isVisible())
        emit FocusLost();
}

// ---- check box --------------------------------------------------------------------------------

TGridCheckBox::TGridCheckBox(TQrlStringGrid *AGrid, QWidget *AParent)
    : QCheckBox(AParent), FGrid(AGrid)
{}

void TGridCheckBox::ReCreate()
{
    setDown(false);
}

void TGridCheckBox::Toggle()
{
    switch (checkState()) {
    case Qt::Unchecked:
        setCheckState(isTristate() ? Qt::PartiallyChecked : Qt::Checked);
        break;
    case Qt::PartiallyChecked:
        setCheckState(Qt::Checked);
        break;
    case Qt::Checked:
        setCheckState(Qt::Unchecked);
        break;
    }
}

void TGridCheckBox::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    switch (key) {
    case Qt::Key_Space:
        Toggle();
        QCheckBox::keyPressEvent(e);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        break;
    default:
        QCheckBox::keyPressEvent(e);
        return;
    }
    TQrlStringGrid *g = FGrid;
    if (key == Qt::Key_Escape)
        setText(g->CurrentCell());
    g->HideInplaceEdit();
    g->setFocus();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && g->Navigation()->AdvanceOnEnter())
        g->AdvanceAfterEdit(g->Col(), g->Row(), false, true, g->Navigation()->AdvanceAutoEdit(),
                            false);
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        QKeyEvent forward(QEvent::KeyPress, key, e->modifiers());
        QApplication::sendEvent(g, &forward);
    }
}

void TGridCheckBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        Toggle();
    QCheckBox::mousePressEvent(e);
}
