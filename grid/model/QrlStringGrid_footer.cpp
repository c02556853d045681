// The floating footer's column results, the cells-changed notification with its registered
// notifiers, the selection listener, and the string grid's row and file-text hooks.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_links_p.h"
#include "grid/model/QrlStringGrid_p.h"

#include <algorithm>
#include <utility>

using plat::TGridRect;

namespace {

// Areas reaching into the rows from `row` on are split before those rows move in the store,
// so no area is left describing cells that went elsewhere.
void splitAreasFrom(TBaseGrid &g, int row)
{
    const std::vector<TMergedArea> areas = g.MergedSpans().areas();
    for (const TMergedArea &a : areas) {
        if (a.lastRow() < row)
            continue;
        // SplitCells starts from a cell with properties; an area always has one at its base.
        if (!g.GetGridObject(a.col, a.row))
            g.GetCellProperties(a.col, a.row);
        g.SplitCells(a.col, a.row);
    }
}

} // namespace

// ---- footer -----------------------------------------------------------------------------------

TFloatingFooter *TQrlStringGrid::FloatingFooter() const
{
    return d->floatingFooter.get();
}

void TQrlStringGrid::CalcFooter(int ACol)
{
    FloatingFooterCalc(ACol);
}

void TQrlStringGrid::FloatingFooterCalc(int ACol)
{
    const TFloatingFooter *ff = d->floatingFooter.get();
    if (!ff || !ff->Visible() || ff->FooterStyle() != TFooterStyle::fsFixedLastRow ||
        !ff->EnableCalculation())
        return;
    const int all = AllColCount();
    if (ACol < -1 || ACol >= all)
        return;
    const int footerRow = RowCount() - 1;
    const int hidden = ff->CalculateHiddenRows() ? NumHiddenRows() : 0;
    const int fromRow = FixedRows();
    const int toRow = hidden + RowCount() - 2;
    const int c0 = ACol == -1 ? 0 : ACol;
    const int c1 = ACol == -1 ? all - 1 : ACol;
    for (int c = c0; c <= c1; ++c) {
        const TCellProperties *p = GetGridObject(c, footerRow);
        if (!p)
            continue;
        // With hidden rows the range counts real rows, even when only one row is hidden (the
        // shown-row reading would then take the footer row itself instead of the hidden one).
        const TCalcMode mode = hidden > 0 ? TCalcMode::RealRows : TCalcMode::ShownRows;
        switch (p->CalcType()) {
        case TColumnCalcType::acNONE:
        case TColumnCalcType::acSPREAD:
            break;
        case TColumnCalcType::acSUM:
            SetFloats(c, footerRow, columnSum(c, fromRow, toRow, mode));
            break;
        case TColumnCalcType::acAVG:
            SetFloats(c, footerRow, columnAvg(c, fromRow, toRow, mode));
            break;
        case TColumnCalcType::acMIN:
            SetFloats(c, footerRow, columnExtreme(c, fromRow, toRow, mode, false));
            break;
        case TColumnCalcType::acMAX:
            SetFloats(c, footerRow, columnExtreme(c, fromRow, toRow, mode, true));
            break;
        case TColumnCalcType::acDISTINCT:
            SetFloats(c, footerRow, columnDistinct(c, fromRow, toRow, mode));
            break;
        case TColumnCalcType::acSTDDEV:
            SetFloats(c, footerRow, columnStdDev(c, fromRow, toRow, mode));
            break;
        case TColumnCalcType::acCOUNT:
            SetInts(c, footerRow, hidden + RowCount() - FixedRows() - 1);
            break;
        case TColumnCalcType::acCUSTOM: {
            QString value;
            // The grid's own event takes precedence over the footer's.
            if (OnFooterCalc)
                OnFooterCalc(this, c, hidden + RowCount() - 1, value);
            else if (ff->OnCalcFooter)
                ff->OnCalcFooter(this, c, hidden + RowCount() - 1, value);
            SetCellEx(c, footerRow, value);
            break;
        }
        }
    }
}

void TQrlStringGrid::RecalcColumnFooter(int ACol)
{
    CalcFooter(ACol);
}

void TQrlStringGrid::UpdateFooter()
{
    if (d->floatingFooter)
        d->floatingFooter->Invalidate();
}

void TQrlStringGrid::LastRowChanged()
{
    TBaseGrid::LastRowChanged();
    UpdateFooter();
}

void TGridFooterLink::FooterLayoutChanged()
{
    const TFloatingFooter *ff = m_g.d->floatingFooter.get();
    const bool lastRow = ff->Visible() && ff->FooterStyle() == TFooterStyle::fsFixedLastRow;
    m_g.FHideLastRow = lastRow;
    m_g.SetFixedFooters(lastRow ? 1 : 0);
    m_g.UpdateFooter();
}

void TGridFooterLink::FooterSetColumnCalc(int ACol, TColumnCalcType Value)
{
    if (ACol < 0 || ACol >= m_g.AllColCount())
        return;
    m_g.GetCellProperties(ACol, m_g.RowCount() - 1)->SetCalcType(Value);
    m_g.CalcFooter(ACol);
}

TColumnCalcType TGridFooterLink::FooterColumnCalc(int ACol) const
{
    if (ACol < 0 || ACol >= m_g.AllColCount())
        return TColumnCalcType::acNONE;
    const TCellProperties *p = m_g.GetGridObject(ACol, m_g.RowCount() - 1);
    return p ? p->CalcType() : TColumnCalcType::acNONE;
}

// The footer shows the last row, so that row travels when the count changes. Line operations
// move whole rows themselves and keep the last row last; they leave the setter alone here.
void TQrlStringGrid::footerRowBeforeCount(int OldCount, int NewCount)
{
    const TFloatingFooter *ff = d->floatingFooter.get();
    NewCount = std::max(1, NewCount);
    if (!ff || !ff->Visible() || d->linesMoving || NewCount >= OldCount)
        return;
    // Fewer rows: the footer row goes to the new last row before the rows past it are dropped
    // (with the properties of the data row it replaces).
    splitAreasFrom(*this, NewCount - 1);
    auto muted = std::exchange(OnRowMoved, nullptr);
    TPlatformStringGrid::RowMoved(OldCount - 1, NewCount - 1);
    OnRowMoved = std::move(muted);
    for (int r = NewCount - 1; r < OldCount; ++r)
        for (int c = 0; c < TotalColCount(); ++c)
            if (TCellProperties *p = GetGridObject(c, r))
                p->SetOwnerRow(r);
}

void TQrlStringGrid::footerRowAfterCount(int OldCount)
{
    const TFloatingFooter *ff = d->floatingFooter.get();
    if (!ff || !ff->Visible() || d->linesMoving || RowCount() == OldCount)
        return;
    if (RowCount() > OldCount) {
        // More rows: the footer row moves down to the new last row; the row it leaves and the
        // rows before the footer start empty.
        splitAreasFrom(*this, OldCount - 1);
        auto muted = std::exchange(OnRowMoved, nullptr);
        TPlatformStringGrid::RowMoved(OldCount - 1, RowCount() - 1);
        OnRowMoved = std::move(muted);
        for (int c = 0; c < TotalColCount(); ++c)
            if (TCellProperties *p = GetGridObject(c, RowCount() - 1))
                p->SetOwnerRow(RowCount() - 1);
    }
    CalcFooter(-1);
}

// ---- cells changed, notifiers, selection listener --------------------------------------------

void TQrlStringGrid::NotifyCellsChanged(const TGridRect &R)
{
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    // A notifier may unregister itself or others while it is told; the ones registered when
    // the change happened are told, each once.
    const std::vector<QPointer<TGridChangeNotifier>> notifiers = d->notifiers;
    for (const QPointer<TGridChangeNotifier> &n : notifiers)
        if (n)
            n->CellsChanged(R);
    CalcFooter(-1);
}

void TQrlStringGrid::AfterCellsLoaded()
{
    CalcFooter(-1);
}

void TQrlStringGrid::RegisterNotifier(TGridChangeNotifier *ANotifier)
{
    if (!ANotifier)
        return;
    auto &list = d->notifiers;
    // Notifiers destroyed since they registered leave the list here.
    list.erase(std::remove_if(list.begin(), list.end(), [](const auto &n) { return n.isNull(); }),
               list.end());
    if (std::find(list.begin(), list.end(), ANotifier) == list.end())
        list.emplace_back(ANotifier);
}

void TQrlStringGrid::UnRegisterNotifier(TGridChangeNotifier *ANotifier)
{
    auto &list = d->notifiers;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const auto &n) { return n.isNull() || n == ANotifier; }),
               list.end());
}

void TQrlStringGrid::RegisterSelListener(const std::shared_ptr<ITQrlStringGridSelect> &AListener)
{
    d->selListener = AListener;
}

void TQrlStringGrid::UnRegisterSelListener(const std::shared_ptr<ITQrlStringGridSelect> &)
{
    d->selListener.reset();
}

ITQrlStringGridSelect *TQrlStringGrid::SelListener() const
{
    return d->selListener.get();
}

// ---- row hooks ---------------------------------------------------------------------------------

void TQrlStringGrid::InsertRowHook(int ARow)
{
    if (!HasNodes()) {
        InsertRows(ARow, 1, true);
        return;
    }
    // With nodes, the row goes in as a normal or a child row by its parent node.
    const int real = ARow < RowCount() ? RealRowIndex(ARow) : TotalRowCount() + ARow - RowCount();
    if (GetParentRow(ARow) < 0)
        InsertNormalRow(real);
    else
        InsertChildRow(real, 0);
}

void TQrlStringGrid::RemoveRowHook(int ARow)
{
    const int dataRows = RowCount() - FixedRows() - FixedFooters();
    if (dataRows == 1 && !d->fixedRowAlways)
        ClearRows(ARow, 1);
    else if (!HasNodes())
        RemoveRowsAndProps(ARow, 1);
    // With nodes, the row goes as a normal or a child row by its parent node.
    else if (GetParentRow(ARow) < 0)
        RemoveNormalRow(RealRowIndex(ARow));
    else
        RemoveChildRow(RealRowIndex(ARow));
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARow);
}

// ---- texts of the file writers and readers ----------------------------------------------------

QString TQrlStringGrid::ExportCellText(int ACol, int ARow)
{
    return GetCellEx(ACol, ARow);
}

void TQrlStringGrid::SaveCellText(int ACol, int ARow, QString &Value)
{
    Value = d->saveVirtCells ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    if (Value.isEmpty()) {
        // The state lives with the cell of the real row.
        const int realRow = RealRowIndex(ARow);
        const TCellGraphic *g = nullptr;
        if (QVector<void *> *objs = HiddenRowObjects(realRow)) {
            const auto *p = ACol >= 0 && ACol < objs->size()
                                ? static_cast<const TCellProperties *>(objs->at(ACol))
                                : nullptr;
            g = p ? dynamic_cast<const TCellGraphic *>(p->GraphicObject()) : nullptr;
        } else {
            g = GetCellGraphic(ACol, DisplRowIndex(realRow));
        }
        if (g && (g->CellType() == TCellType::ctCheckBox ||
                  g->CellType() == TCellType::ctTriStateCheckBox)) {
            const bool checked = g->CellType() == TCellType::ctCheckBox
                                     ? g->CellBoolean()
                                     : g->CellCheckBoxState() == TCheckBoxState::cbChecked;
            if (checked)
                QueryCheckTrue(ACol, ARow, Value);
            else
                QueryCheckFalse(ACol, ARow, Value);
        }
    }
    switch (CellTextKind(Value, d->enableHTML)) {
    case ctkHTML:
        if (!d->saveWithHTML)
            Value = StripHTMLTags(Value);
        break;
    case ctkRTF:
        // Without SaveWithRTF the text stays as stored until the rich-text editor converts it.
        if (d->saveWithRTF)
            Value.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        break;
    default:
        break;
    }
    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, Value);
}

void TQrlStringGrid::LoadCellText(int ACol, int ARow, const QString &Value)
{
    QString v = Value;
    if (OnLoadCell)
        OnLoadCell(this, ACol, ARow, v);
    SetGridCell(ACol, ARow, v);
}

bool TQrlStringGrid::SaveWithRTF() const
{
    return d->saveWithRTF;
}

void TQrlStringGrid::SetSaveWithRTF(bool Value)
{
    d->saveWithRTF = Value;
}
