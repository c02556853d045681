// Cell hints: what the grid shows when the mouse rests on a cell.
#include "grid/display/QrlHTMLEngine.h"
#include "grid/display/QrlHintWindow.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"


THintManager *TQrlStringGrid::HintManager()
{
    if (!dsp->hintManager)
        dsp->hintManager = new THintManager(this);
    return dsp->hintManager;
}

void TQrlStringGrid::AttachCellHints()
{
    if (dsp->cellHintsAttached)
        return;
    dsp->cellHintsAttached = true;
    HintManager()->Attach(viewport(), [this](const QPoint &Cursor, THintInfo &Info) {
        return BuildCellHint(Cursor, Info);
    });
}

bool TQrlStringGrid::BuildCellHint(const QPoint &Cursor, THintInfo &Info)
{
    Info.Color = d->hintColor;
    if (d->controlLook->HintMaxWidth() > 0)
        Info.MaxWidth = d->controlLook->HintMaxWidth();
    SetHintFontName(Font().Name());

    const plat::TGridCoord at = MouseCoord(Cursor.x(), Cursor.y());
    if (at.X < 0 || at.Y < 0 || at.X >= ColCount() || at.Y >= RowCount())
        return !Info.Text.isEmpty();

    const plat::TGridCoord base = BaseCell(RealColIndex(at.X), at.Y);
    const int rc = base.X;
    const int col = DisplColIndex(rc);
    const int row = base.Y;
    dsp->lastHint = {col, row};
    const TRect r = CellRect(col, row);
    Info.Area = r.toQRect();

    QPoint pos(Cursor.x(), r.Bottom + 6);
    QString comment;
    if (IsComment(rc, row, comment)) {
        Info.Text = comment;
        pos = QPoint(r.Right, r.Top);
    }

    const QString cell = GetFormattedCell(rc, row);
    const int kind = CellTextKind(cell, d->enableHTML);

    if (kind == ctkHTML && d->anchorHint) {
        // The anchor under the cursor, of however many the cell holds; its hint goes when the
        // mouse leaves that anchor.
        THTMLPaintResult found;
        if (CellHTMLHitTest(col, row, Cursor.x(), Cursor.y(), found) &&
            found.AnchorHref != QLatin1String("ctrl")) {
            QString anchor = found.AnchorTitle.isEmpty() ? found.AnchorHref : found.AnchorTitle;
            if (found.HitAnchorIndex > 0)
                Info.Area = found.HitAnchorRect.toQRect();
            if (OnAnchorHint)
                OnAnchorHint(this, row, col, anchor);
            dsp->lastAnchorHint = anchor;
            Info.Text = anchor;
            pos = QPoint(Cursor.x() + 8, Cursor.y() - 16);
        }
    }

    const bool normal = col >= TBaseGrid::FixedCols() && row >= TBaseGrid::FixedRows() &&
                        col < ColCount() - d->fixedRightCols && row < RowCount() - d->fixedFooters;
    if (dsp->hintShowCells && normal) {
        pos.setY(r.Top);
        if (kind == ctkWide)
            Info.Text = DecodeWideCellText(cell);
        else if (kind == ctkHTML && !dsp->htmlHint)
            Info.Text = StripHTMLTags(cell);
        else
            Info.Text = cell;
    }

    if (dsp->hintShowLargeText) {
        const TSize need = GetCellTextSize(rc, row, false, false);
        if (need.cx > r.Width() || need.cy > r.Height()) {
            Info.Text = kind == ctkHTML && !dsp->htmlHint ? StripHTMLTags(cell) : cell;
            if (d->hintShowLargeTextPos == THintShowLargeTextPos::hpCell)
                pos = QPoint(r.Left, r.Top);
        }
    }

    if (!(d->floatingFooter->Visible() && row == RowCount() - 1))
        QueryCellHint(col, row, Info.Text);

    const int finalKind = CellTextKind(Info.Text, d->enableHTML);
    if (d->useInternalHintClass && (finalKind == ctkHTML || finalKind == ctkWide)) {
        Info.UseHTMLWindow = true;
        Info.Data = this;
    }
    Info.Pos = viewport()->mapToGlobal(pos);
    return !Info.Text.isEmpty();
}

bool TQrlStringGrid::HintShowCells() const
{
    return dsp->hintShowCells;
}

void TQrlStringGrid::SetHintShowCells(bool Value)
{
    dsp->hintShowCells = Value;
}

bool TQrlStringGrid::HTMLHint() const
{
    return dsp->htmlHint;
}

void TQrlStringGrid::SetHTMLHint(bool Value)
{
    dsp->htmlHint = Value;
}

bool TQrlStringGrid::HintShowLargeText() const
{
    return dsp->hintShowLargeText;
}

void TQrlStringGrid::SetHintShowLargeText(bool Value)
{
    dsp->hintShowLargeText = Value;
}
