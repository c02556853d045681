// Cell hints: what the grid shows when the mouse rests on a cell.
#include "grid/display/QrlHintWindow.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"

namespace {

// The value of attribute Name in one tag: the text between the first two double quotes after
// the first occurrence of the name (any case); empty without them.
QString tagAttribute(const QString &Tag, const QString &Name)
{
    const qsizetype at = Tag.indexOf(Name, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype open = Tag.indexOf(u'"', at + Name.size());
    const qsizetype close = open < 0 ? -1 : Tag.indexOf(u'"', open + 1);
    return close < 0 ? QString() : Tag.mid(open + 1, close - open - 1);
}

// The anchor of a marked-up cell text under the cursor. Without the mini-HTML layout engine's
// hit test a text with one link is that link anywhere in its cell, as for a click; texts with
// more links are not resolved.
bool hintAnchorAt(const QString &Text, QString &Href, QString &Title)
{
    int found = 0;
    for (qsizetype i = Text.indexOf(u'<'); i >= 0 && i + 1 < Text.size();
         i = Text.indexOf(u'<', i + 1)) {
        if (Text[i + 1].toUpper() != u'A')
            continue;
        const qsizetype end = Text.indexOf(u'>', i);
        if (end < 0)
            break;
        if (++found > 1)
            return false;
        const QString tag = Text.mid(i, end - i + 1);
        Href = tagAttribute(tag, QStringLiteral("HREF"));
        Title = tagAttribute(tag, QStringLiteral("TITLE"));
    }
    return found == 1;
}

} // namespace

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
        QString href, title;
        if (hintAnchorAt(cell, href, title)) {
            QString anchor = title.isEmpty() ? href : title;
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
