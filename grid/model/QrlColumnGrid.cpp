// The column grid: its items in step with the columns, the per-cell hooks answered from the
// items, headers, filters, moved and sized columns, pop-up menus and the column order store.
#include "grid/model/QrlColumnGrid.h"

#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/os/IniFile.h"

#include <QDataStream>
#include <QIODevice>
#include <QMenu>
#include <QVariantMap>

#include <cmath>
#include <vector>

using plat::TGridCoord;
using plat::TGridDrawState;

namespace {

// The library's version number: major, minor, release and build, one byte each.
constexpr int ColumnGridVersionNr = 0x03010301; // 3.1.3.1

// The collection's recursion block for a scope.
class TQuietColumns
{
public:
    explicit TQuietColumns(TGridColumnCollection &c) : m_c(c), m_old(c.NoRecursiveUpdate())
    {
        m_c.SetNoRecursiveUpdate(true);
    }
    ~TQuietColumns() { m_c.SetNoRecursiveUpdate(m_old); }
    TQuietColumns(const TQuietColumns &) = delete;
    TQuietColumns &operator=(const TQuietColumns &) = delete;

private:
    TGridColumnCollection &m_c;
    bool m_old;
};

QString beforeEquals(const QString &entry)
{
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    return eq < 0 ? entry : entry.left(eq);
}

QString afterEquals(const QString &entry)
{
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    return eq < 0 ? entry : entry.mid(eq + 1);
}

} // namespace

// ---- construction --------------------------------------------------------------------------

TQrlColumnGrid::TQrlColumnGrid(QWidget *parent) : TQrlStringGrid(parent)
{
    FColumnCollection = CreateColumnCollection();
    fitItemsQuietly();
    FCellGraphic = std::make_unique<TCellGraphic>();
    FSaveCol = std::make_unique<TGridColumnItem>();
}

TQrlColumnGrid::~TQrlColumnGrid()
{
    m_destroying = true;
    FColumnCollection.reset();
}

std::unique_ptr<TGridColumnCollection> TQrlColumnGrid::CreateColumnCollection()
{
    return std::make_unique<TGridColumnCollection>(this);
}

TGridColumnItem *TQrlColumnGrid::itemAt(int ACol) const
{
    if (!FColumnCollection || ACol < 0 || ACol >= FColumnCollection->Count())
        return nullptr;
    return FColumnCollection->Items(ACol);
}

bool TQrlColumnGrid::inNormalArea(int ACol, int ARow) const
{
    return ACol >= FixedCols() && ARow >= FixedRows() &&
           ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
           ARow < RowCount() - FixedFooters();
}

void TQrlColumnGrid::SetColumns(const TGridColumnCollection &Value)
{
    FColumnCollection->Assign(Value);
}

// ---- items and columns in step -----------------------------------------------------------------

void TQrlColumnGrid::FitColumnItemCount()
{
    TGridColumnCollection &cols = *FColumnCollection;
    const int wanted = ColCount() + NumHiddenColumns();
    while (cols.Count() < wanted)
        cols.Add();
    while (cols.Count() > wanted)
        cols.Delete(cols.Count() - 1);
}

void TQrlColumnGrid::fitItemsQuietly()
{
    TQuietColumns quiet(*FColumnCollection);
    FitColumnItemCount();
}

void TQrlColumnGrid::SetColCount(int Value)
{
    TQrlStringGrid::SetColCount(Value);
    if (FColumnCollection && !m_lineOperation)
        fitItemsQuietly();
}

void TQrlColumnGrid::collectionUpdate()
{
    if (Loading() || m_destroying)
        return;
    const int n = FColumnCollection->Count() - NumHiddenColumns();
    if (n != ColCount() && n > FixedCols())
        SetColCount(n);
    RebuildHeaderList();
    Invalidate();
}

void TQrlColumnGrid::AfterLoadHook()
{
    TQrlStringGrid::AfterLoadHook();
    fitItemsQuietly();
    FColumnCollection->SetOrganization();
}

void TQrlColumnGrid::AfterCellsLoaded()
{
    TQrlStringGrid::AfterCellsLoaded();
    fitItemsQuietly();
}

void TQrlColumnGrid::InsertCols(int ColIndex, int CCount)
{
    {
        TFlagScope lines(m_lineOperation, true);
        TQrlStringGrid::InsertCols(ColIndex, CCount);
    }
    TQuietColumns quiet(*FColumnCollection);
    const int at = std::min(ColIndex, FColumnCollection->Count());
    for (int k = 0; k < CCount; ++k)
        FColumnCollection->Insert(at + k);
    // The widths moved while the items had not yet.
    syncItemWidths();
}

void TQrlColumnGrid::RemoveCols(int ColIndex, int CCount)
{
    // The string grid cuts the count to the shown columns; the items go the same way.
    const int removed = std::min(CCount, ColCount() - ColIndex);
    {
        TFlagScope lines(m_lineOperation, true);
        TQrlStringGrid::RemoveCols(ColIndex, CCount);
    }
    TQuietColumns quiet(*FColumnCollection);
    for (int k = 0; k < removed && ColIndex < FColumnCollection->Count(); ++k)
        FColumnCollection->Delete(ColIndex);
    syncItemWidths();
}

TGridColumnItem *TQrlColumnGrid::GetColumnByName(const QString &AValue) const
{
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        if (FColumnCollection->Items(i)->Name() == AValue)
            return FColumnCollection->Items(i);
    return nullptr;
}

// ---- headers ---------------------------------------------------------------------------------

void TQrlColumnGrid::setHeaderListQuietly(const QStringList &Value)
{
    d->columnHeaders = Value;
}

void TQrlColumnGrid::itemHeaderChanged(TGridColumnItem &Item)
{
    if (FixedRows() > 0 && !FColMoving) {
        if (Item.Index() >= 0 && Item.Index() < TotalColCount())
            SetCellEx(Item.Index(), 0, Item.Header());
        FColumnCollection->Update(&Item);
    }
    QStringList headers;
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        headers << FColumnCollection->Items(i)->Header();
    setHeaderListQuietly(headers);
}

void TQrlColumnGrid::RebuildHeaderList()
{
    if (FixedRows() <= 0)
        return;
    QStringList headers;
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem *item = FColumnCollection->Items(i);
        if (item->FColumnHeader.isEmpty() && i < TotalColCount()) {
            const QString cell = GetCellEx(i, 0);
            if (!cell.isEmpty())
                item->FColumnHeader = cell;
        }
        headers << item->FColumnHeader;
    }
    setHeaderListQuietly(headers);
}

void TQrlColumnGrid::HeaderListChanged()
{
    const QStringList &headers = ColumnHeaders();
    for (int i = 0; i < FColumnCollection->Count() && i < headers.size(); ++i)
        FColumnCollection->Items(i)->FColumnHeader = headers[i];
}

// ---- cell looks -------------------------------------------------------------------------------

void TQrlColumnGrid::GetCellDefaults(int ACol,
                                     int ARow,
                                     TFont &AFont,
                                     TBrush &ABrush,
                                     TColor &ColorTo,
                                     TColor &MirrorColor,
                                     TColor &MirrorColorTo,
                                     TAlignment &HAlign,
                                     TVAlignment &VAlign,
                                     bool &WW,
                                     TCellGradientDirection &GD)
{
    const TGridColumnItem *item = itemAt(ACol);
    if (!item) {
        TQrlStringGrid::GetCellDefaults(ACol, ARow, AFont, ABrush, ColorTo, MirrorColor,
                                        MirrorColorTo, HAlign, VAlign, WW, GD);
        return;
    }
    AFont.Assign(item->Font());
    ABrush.SetColor(item->Color());
    ColorTo = clNone;
    MirrorColor = clNone;
    MirrorColorTo = clNone;
    HAlign = ARow < FixedRows() ? item->HeaderAlignment() : item->Alignment();
    VAlign = VAlignment();
    WW = WordWrap();
    GD = TCellGradientDirection::GradientVertical;
    if (IsFixed(ACol, ARow) || (Bands()->Active() && item->ShowBands())) {
        ABrush.SetColor(clNone);
        ColorTo = clNone;
    }
}

void TQrlColumnGrid::QueryCellColor(
    int ACol, int ARow, TFont *AFont, TBrush *ABrush, TGridDrawState AState)
{
    const TGridColumnItem *item = itemAt(ACol);
    if (item && ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
        ARow < RowCount() - FixedFooters()) {
        if (ABrush) {
            if (item->Fixed())
                ABrush->SetColor(FixedColor());
            else if (ARow >= FixedRows() && !(item->ShowBands() && Bands()->Active()))
                ABrush->SetColor(item->Color());
        }
        if (AFont)
            AFont->Assign(ARow < FixedRows() ? item->HeaderFont() : item->Font());
        if (HasCellProperties(ACol, ARow)) {
            const TCellProperties *p = GetGridObject(ACol, ARow);
            if (ABrush && p->BrushColor() != clNone)
                ABrush->SetColor(p->BrushColor());
            if (AFont && p->FontColor() != clNone)
                AFont->SetColor(p->FontColor());
        }
    }
    TQrlStringGrid::QueryCellColor(ACol, ARow, AFont, ABrush, AState);
}

void TQrlColumnGrid::QueryCellPrintColor(
    int ACol, int ARow, TFont *AFont, TBrush *ABrush, TGridDrawState AState)
{
    const TGridColumnItem *item = itemAt(ACol);
    const bool fixedArea = ACol < FixedCols() || ARow < FixedRows() ||
                           ACol >= ColCount() + NumHiddenColumns() - FixedRightCols() ||
                           ARow >= RowCount() - FixedFooters();
    // The fixed area's print font and the print settings' font come with the print settings.
    if (item && !fixedArea) {
        const TCellProperties *p =
            HasCellProperties(ACol, ARow) ? GetGridObject(ACol, ARow) : nullptr;
        if (ABrush) {
            if (item->Fixed())
                ABrush->SetColor(FixedColor());
            else if (!(item->ShowBands() && Bands()->Active() && Bands()->Print()))
                ABrush->SetColor(item->PrintColor());
            if (p && p->BrushColor() != clNone)
                ABrush->SetColor(p->BrushColor());
        }
        if (AFont && item->PrintFontCustom()) {
            AFont->Assign(item->PrintFont());
            if (p) {
                if (p->FontColor() != clNone)
                    AFont->SetColor(p->FontColor());
                if (!p->FontStyle().IsEmpty())
                    AFont->SetStyle(p->FontStyle());
                if (p->FontSize() != 0)
                    AFont->SetSize(p->FontSize());
                if (!p->FontName().isEmpty())
                    AFont->SetName(p->FontName());
            }
        }
    }
    TQrlStringGrid::QueryCellPrintColor(ACol, ARow, AFont, ABrush, AState);
}

void TQrlColumnGrid::QueryCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    const TGridColumnItem *item = itemAt(ACol);
    if (item && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = item->Borders();
        if (APen)
            APen->Assign(item->BorderPen());
    }
    TQrlStringGrid::QueryCellBorder(ACol, ARow, APen, Borders);
}

void TQrlColumnGrid::QueryCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    const TGridColumnItem *item = itemAt(ACol);
    if (item && item->PrintBorderCustom() && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = item->PrintBorders();
        if (APen)
            APen->Assign(item->PrintBorderPen());
    }
    TQrlStringGrid::QueryCellPrintBorder(ACol, ARow, APen, Borders);
}

void TQrlColumnGrid::QueryCellAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign)
{
    if (const TGridColumnItem *item = itemAt(ACol)) {
        HAlign = ARow < FixedRows() ? item->HeaderAlignment() : item->Alignment();
        if (HasCellProperties(ACol, ARow))
            HAlign = GetGridObject(ACol, ARow)->Alignment();
    }
    TQrlStringGrid::QueryCellAlignment(ACol, ARow, HAlign, VAlign);
}

void TQrlColumnGrid::QueryCellFormat(int ACol,
                                     TSortStyle &AStyle,
                                     QString &aPrefix,
                                     QString &aSuffix)
{
    if (const TGridColumnItem *item = itemAt(ACol)) {
        AStyle = item->SortStyle();
        aPrefix = item->SortPrefix();
        aSuffix = item->SortSuffix();
    }
    TQrlStringGrid::QueryCellFormat(ACol, AStyle, aPrefix, aSuffix);
}

// ---- editing ----------------------------------------------------------------------------------

void TQrlColumnGrid::QueryEditorType(int ACol, int ARow, TEditorType &AEditor)
{
    if (const TGridColumnItem *item = itemAt(ACol)) {
        if (ACol >= FixedCols() && ARow >= FixedRows()) {
            // The combo and spin editors take the column's items and limits when they exist;
            // the drop-down count is the grid's.
            AEditor = item->Editor();
            ControlLook()->SetDropDownCount(item->DropDownCount());
        }
        if (!item->FloatFormat().isEmpty())
            SetFloatFormat(item->FloatFormat());
    }
    TQrlStringGrid::QueryEditorType(ACol, ARow, AEditor);
}

void TQrlColumnGrid::QueryFixedCell(int ACol, int ARow, bool &IsFixed)
{
    const TGridColumnItem *item = itemAt(RealColIndex(ACol));
    if (item && ACol >= FixedCols() && ARow >= FixedRows())
        IsFixed = item->Fixed();
    TQrlStringGrid::QueryFixedCell(ACol, ARow, IsFixed);
}

void TQrlColumnGrid::QueryCanEdit(int ACol, int ARow, bool &CanEdit)
{
    CanEdit = false;
    const TGridColumnItem *item = itemAt(ACol);
    if (!Loading() && item && ACol >= FixedCols() && ARow >= FixedRows())
        CanEdit = !(item->ReadOnly() || item->Fixed());
    if (CanEdit && HasCellProperties(ACol, ARow))
        CanEdit = !GetReadOnly(ACol, ARow);
    const TGridCoord b = BaseCell(ACol, ARow);
    DoCanEditCell(b.X, b.Y, CanEdit);
}

void TQrlColumnGrid::QueryPasswordCell(int ACol, int ARow, bool &IsPassword)
{
    if (const TGridColumnItem *item = itemAt(ACol))
        IsPassword = item->Password();
    TQrlStringGrid::QueryPasswordCell(ACol, ARow, IsPassword);
}

bool TQrlColumnGrid::QueryHasCombo(int ACol, int ARow)
{
    bool has = false;
    const TGridColumnItem *item = itemAt(ACol);
    if (item && ACol >= FixedCols() && ARow >= FixedRows())
        has = item->Editor() == TEditorType::edComboEdit ||
              item->Editor() == TEditorType::edComboList;
    if (OnHasComboBox)
        OnHasComboBox(this, ACol, ARow, has);
    return has;
}

void TQrlColumnGrid::QueryCheckTrue(int ACol, int ARow, QString &Value)
{
    TQrlStringGrid::QueryCheckTrue(ACol, ARow, Value);
    const TGridColumnItem *item = itemAt(ACol);
    if (item && inNormalArea(ACol, ARow))
        Value = item->CheckTrue();
}

void TQrlColumnGrid::QueryCheckFalse(int ACol, int ARow, QString &Value)
{
    TQrlStringGrid::QueryCheckFalse(ACol, ARow, Value);
    const TGridColumnItem *item = itemAt(ACol);
    if (item && inNormalArea(ACol, ARow))
        Value = item->CheckFalse();
}

int TQrlColumnGrid::GetEditLimit()
{
    const int limit = TQrlStringGrid::GetEditLimit();
    if (Col() < FColumnCollection->Count() && Col() >= FixedCols())
        if (const TGridColumnItem *item = itemAt(RealColIndex(Col())))
            return item->EditLength();
    return limit;
}

QString TQrlColumnGrid::GetEditMask(int ACol, int ARow)
{
    QString mask;
    if (ACol < FColumnCollection->Count() && ACol >= FixedCols())
        if (const TGridColumnItem *item = itemAt(RealColIndex(ACol)))
            mask = item->EditMask();
    const QString own = TQrlStringGrid::GetEditMask(ACol, ARow);
    return own.isEmpty() ? mask : own;
}

// ---- formats and check-box columns ------------------------------------------------------------

QString TQrlColumnGrid::GetFormattedCell(int ACol, int ARow)
{
    const TGridColumnItem *item = itemAt(ACol);
    if (!item)
        return TQrlStringGrid::GetFormattedCell(ACol, ARow);
    const QString text = GetCellEx(ACol, ARow);
    QString fmt = item->FloatFormat();
    const int kind = NumberTextKind(text);
    bool isFloat = kind == ntkInteger || kind == ntkDecimal;
    if (OnGetFloatFormat)
        OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (fmt.isEmpty() || !isFloat)
        return text;
    try {
        QString out;
        if (GridFormat(fmt, {GetFloats(ACol, ARow)}, out))
            return out;
    } catch (const EQrlGridError &) {
        // The event called a text a number that is none: it is shown as it stands.
    }
    return text;
}

QString TQrlColumnGrid::QueryFloatFormat(int ACol, int ARow) const
{
    const TGridColumnItem *item = itemAt(ACol);
    if (item && !item->FloatFormat().isEmpty())
        return item->FloatFormat();
    return TQrlStringGrid::QueryFloatFormat(ACol, ARow);
}

TCellGraphic *TQrlColumnGrid::GetCellGraphic(int ACol, int ARow)
{
    if (TCellGraphic *own = TQrlStringGrid::GetCellGraphic(ACol, ARow))
        return own;
    const TGridColumnItem *item = itemAt(ACol);
    if (m_destroying || !item || item->Editor() != TEditorType::edDataCheckBox ||
        !inNormalArea(ACol, ARow))
        return nullptr;
    // One graphic lent to every such cell: the state is the cell's text.
    FCellGraphic->SetCellType(TCellType::ctVirtCheckBox);
    FCellGraphic->SetCellTransparent(ControlLook()->ControlStyle() == TControlStyle::csFlat);
    return FCellGraphic.get();
}

TCellType TQrlColumnGrid::GetCellType(int ACol, int ARow)
{
    const TCellType type = TQrlStringGrid::GetCellType(ACol, ARow);
    if (type != TCellType::ctEmpty || m_destroying)
        return type;
    const TGridColumnItem *item = itemAt(ACol);
    if (item && item->Editor() == TEditorType::edDataCheckBox && inNormalArea(ACol, ARow))
        return TCellType::ctDataCheckBox;
    return type;
}

// ---- sizes ------------------------------------------------------------------------------------

void TQrlColumnGrid::UpdateColSize(int ACol, int &AWidth)
{
    if (const TGridColumnItem *item = itemAt(ACol)) {
        if (item->MinSize() > 0 && AWidth < item->MinSize())
            AWidth = item->MinSize();
        if (item->MaxSize() > 0 && AWidth > item->MaxSize())
            AWidth = item->MaxSize();
    }
    TQrlStringGrid::UpdateColSize(ACol, AWidth);
}

void TQrlColumnGrid::UpdateAutoColSize(int ACol, int &AWidth)
{
    if (const TGridColumnItem *item = itemAt(ACol)) {
        if (item->AutoMinSize() > 0 && AWidth < item->AutoMinSize())
            AWidth = item->AutoMinSize();
        if (item->AutoMaxSize() > 0 && AWidth > item->AutoMaxSize())
            AWidth = item->AutoMaxSize();
    }
    TQrlStringGrid::UpdateAutoColSize(ACol, AWidth);
}

void TQrlColumnGrid::ColWidthsChanged()
{
    TQrlStringGrid::ColWidthsChanged();
    syncItemWidths();
}

void TQrlColumnGrid::syncItemWidths()
{
    if (!FColumnCollection || Loading() || m_destroying)
        return;
    for (int c = 0; c < ColCount(); ++c)
        if (TGridColumnItem *item = itemAt(RealColIndex(c)))
            item->FWidth = ColWidths(c);
}

void TQrlColumnGrid::ChangeScaleHook(int M, int D)
{
    TQrlStringGrid::ChangeScaleHook(M, D);
    if (M == D || D == 0)
        return;
    auto scaled = [&](int size) {
        return static_cast<int>(std::llround(static_cast<double>(size) * M / D));
    };
    for (int c = 0; c < ColCount(); ++c) {
        if (TGridColumnItem *item = itemAt(c)) {
            item->Font().SetSize(scaled(item->Font().Size()));
            item->HeaderFont().SetSize(scaled(item->HeaderFont().Size()));
        }
    }
}

// ---- moved columns ----------------------------------------------------------------------------

void TQrlColumnGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (!FColumnCollection) {
        TQrlStringGrid::ColumnMoved(FromIndex, ToIndex);
        return;
    }
    TGridColumnCollection &cols = *FColumnCollection;
    TQuietColumns quiet(cols);
    const int top = TopRow();
    const int from = RealColIndex(FromIndex);
    const int to = RealColIndex(ToIndex);
    TQrlStringGrid::ColumnMoved(FromIndex, ToIndex);
    if (from != to && from >= 0 && to >= 0 && from < cols.Count() && to < cols.Count()) {
        cols.BeginUpdate();
        TFlagScope moving(FColMoving, true);
        try {
            // The item travels as a copy; what Assign leaves out takes a fresh item's values.
            TGridColumnItem *copy = cols.Add();
            copy->Assign(cols.Items(from));
            cols.Delete(from);
            cols.Insert(to)->Assign(copy);
            cols.Delete(cols.Count() - 1);
            // The header list was last refilled while the copy still stood at the end.
            QStringList headers;
            for (int i = 0; i < cols.Count(); ++i)
                headers << cols.Items(i)->Header();
            setHeaderListQuietly(headers);
        } catch (...) {
            cols.EndUpdate();
            throw;
        }
        cols.EndUpdate();
    }
    if (top != TopRow() && top < RowCount())
        SetTopRow(top);
    if (OnAfterColumnMoved)
        OnAfterColumnMoved(this, from, to);
}

// ---- pop-up menus -----------------------------------------------------------------------------

void TQrlColumnGrid::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y)
{
    TQrlStringGrid::MouseDown(Button, Shift, X, Y);
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return;
    const TGridColumnItem *item = itemAt(RealColIndex(cell.X));
    if (!item || !item->ColumnPopup())
        return;
    using T = TColumnPopupType;
    const T type = item->ColumnPopupType();
    T fixedType, normalType, allType;
    if (Button == plat::TMouseButton::mbLeft) {
        fixedType = T::cpFixedCellsLClick;
        normalType = T::cpNormalCellsLClick;
        allType = T::cpAllCellsLClick;
    } else if (Button == plat::TMouseButton::mbRight) {
        fixedType = T::cpFixedCellsRClick;
        normalType = T::cpNormalCellsRClick;
        allType = T::cpAllCellsRClick;
    } else {
        return;
    }
    if (type != fixedType && type != normalType && type != allType)
        return;
    const QPointer<QMenu> menu = item->ColumnPopup();
    if (OnColumnPopup)
        OnColumnPopup(this, cell.X, cell.Y, menu);
    const bool fixedRow = cell.Y < FixedRows();
    const bool show =
        fixedRow ? (type == fixedType || type == allType) : (type == normalType || type == allType);
    // The event may have destroyed the menu.
    if (!show || !menu)
        return;
    const TRect r = CellRect(cell.X, cell.Y);
    menu->popup(viewport()->mapToGlobal(QPoint(r.Left, r.Bottom)));
}

// ---- filters ----------------------------------------------------------------------------------

bool TQrlColumnGrid::BuildFilterList(int ACol)
{
    TQrlStringGrid::BuildFilterList(ACol);
    const TGridColumnItem *item = itemAt(ACol);
    if (!item || item->Filter().isEmpty())
        return false;
    QStringList &list = FilterList();
    list.clear();
    for (const QString &entry : item->Filter())
        list << beforeEquals(entry);
    return true;
}

void TQrlColumnGrid::ApplyFilterPick(int ItemIndex)
{
    const int col = FilterCol();
    TGridColumnItem *item = col >= 0 ? itemAt(col) : nullptr;
    if (item && ItemIndex >= 0 && ItemIndex < item->Filter().size()) {
        const QString entry = item->Filter()[ItemIndex];
        const QString friendly = beforeEquals(entry);
        if (FAutoFilterDisplay)
            item->SetHeader(friendly);
        // Switching the filter off and on again around the pick comes with filtering.
        QString condition = afterEquals(entry);
        if (OnFilterSelect)
            OnFilterSelect(this, col, ItemIndex, friendly, condition);
        TFilterData *data = Filter()->GetColFilter(col);
        data->SetCondition(condition);
        data->SetCaseSensitive(item->FilterCaseSensitive());
    }
    SetFilterCol(-1);
}

// ---- version ----------------------------------------------------------------------------------

int TQrlColumnGrid::GetVersionNr() const
{
    return ColumnGridVersionNr;
}

QString TQrlColumnGrid::GetVersionString() const
{
    return Version() + QStringLiteral(" Aug, 2012");
}

// ---- grouping ---------------------------------------------------------------------------------

void TQrlColumnGrid::Group(int Colindex)
{
    if (const TGridColumnItem *item = itemAt(Colindex))
        FSaveCol->Assign(item);
    TQrlStringGrid::Group(Colindex);
}

void TQrlColumnGrid::UnGroup()
{
    const int grouped = GroupColumn();
    TQrlStringGrid::UnGroup();
    if (grouped != -1)
        if (TGridColumnItem *item = itemAt(grouped))
            item->Assign(FSaveCol.get());
}

// ---- column order store -----------------------------------------------------------------------

void TQrlColumnGrid::SaveColumnPositions(const QString &Key, const QString &Section)
{
    plat::TIniFile ini(Key);
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        ini.WriteInteger(Section, QStringLiteral("CP%1").arg(i),
                         FColumnCollection->Items(i)->FDefIdx);
    QString error;
    if (!ini.UpdateFile(&error))
        throw EQrlGridError(error);
}

void TQrlColumnGrid::LoadColumnPositions(const QString &Key, const QString &Section)
{
    TGridColumnCollection &cols = *FColumnCollection;
    const plat::TIniFile ini(Key);
    std::vector<int> positions;
    for (int i = 0; i < cols.Count(); ++i)
        positions.push_back(ini.ReadInteger(Section, QStringLiteral("CP%1").arg(i), -1));
    // A missing key, a value out of range or a repeated one: the section is not this grid's
    // order, and the columns stay as they are.
    if (!IsPermutation(positions))
        return;
    ResetColumnOrder();
    if (cols.Count() != static_cast<int>(positions.size()))
        return;
    for (int j = 0; j < cols.Count(); ++j)
        cols.Items(positions[static_cast<size_t>(j)])->FDefIdx = j;
    cols.ResetOrganization();
    for (int i = 0; i < cols.Count(); ++i)
        cols.Items(i)->FDefIdx = positions[static_cast<size_t>(i)];
}

void TQrlColumnGrid::SaveColPositions()
{
    const TColumnSize &cs = *ColumnSize();
    if (cs.Location() != TColumnSizeLocation::clIniFile) {
        TQrlStringGrid::SaveColPositions();
        return;
    }
    if (!cs.Key().isEmpty() && !cs.Section().isEmpty())
        SaveColumnPositions(cs.Key(), cs.Section());
}

void TQrlColumnGrid::LoadColPositions()
{
    const TColumnSize &cs = *ColumnSize();
    if (cs.Location() != TColumnSizeLocation::clIniFile) {
        TQrlStringGrid::LoadColPositions();
        return;
    }
    if (!cs.Key().isEmpty() && !cs.Section().isEmpty())
        LoadColumnPositions(cs.Key(), cs.Section());
}

// ---- the whole collection as a stream ---------------------------------------------------------
//
// A QDataStream record: a magic number, a format version, the item count, then per item a map
// from property name to value. References (pop-up menu, edit link) are not stored.

namespace {

constexpr quint32 ColumnStreamMagic = 0x51434753; // "QCGS"
constexpr quint16 ColumnStreamVersion = 1;
constexpr qint32 MaxStreamItems = 1 << 16;
constexpr int SortStyleCount = static_cast<int>(TSortStyle::ssAlphaNumericNoCase) + 1;

[[noreturn]] void badStream(const QString &why)
{
    throw EQrlGridError(QStringLiteral("Invalid column stream: %1").arg(why));
}

QVariantMap fontToMap(const TFont &f)
{
    return {{QStringLiteral("Name"), f.Name()},
            {QStringLiteral("Height"), f.Height()},
            {QStringLiteral("Style"), static_cast<int>(f.Style().bits())},
            {QStringLiteral("Color"), static_cast<uint>(f.Color())}};
}

QVariantMap penToMap(const TPen &p)
{
    return {{QStringLiteral("Color"), static_cast<uint>(p.Color())},
            {QStringLiteral("Width"), p.Width()},
            {QStringLiteral("Style"), static_cast<int>(p.Style())}};
}

int bordersToInt(TCellBorders b)
{
    int bits = 0;
    for (int i = 0; i < 4; ++i)
        if (b.Contains(static_cast<TCellBorder>(i)))
            bits |= 1 << i;
    return bits;
}

QVariantMap itemToMap(const TGridColumnItem &it)
{
    QVariantMap m;
    auto put = [&m](const char *name, const QVariant &v) { m.insert(QLatin1String(name), v); };
    put("AutoMinSize", it.AutoMinSize());
    put("AutoMaxSize", it.AutoMaxSize());
    put("Alignment", static_cast<int>(it.Alignment()));
    put("Borders", bordersToInt(it.Borders()));
    put("BorderPen", penToMap(it.BorderPen()));
    put("CheckFalse", it.CheckFalse());
    put("CheckTrue", it.CheckTrue());
    put("Color", static_cast<uint>(it.Color()));
    put("ColumnPopupType", static_cast<int>(it.ColumnPopupType()));
    put("ComboItems", it.ComboItems());
    put("DropDownCount", it.DropDownCount());
    put("EditLength", it.EditLength());
    put("EditMask", it.EditMask());
    put("Editor", static_cast<int>(it.Editor()));
    put("Filter", it.Filter());
    put("FilterCaseSensitive", it.FilterCaseSensitive());
    put("Fixed", it.Fixed());
    put("FloatFormat", it.FloatFormat());
    put("Font", fontToMap(it.Font()));
    put("Header", it.Header());
    put("HeaderAlignment", static_cast<int>(it.HeaderAlignment()));
    put("HeaderFont", fontToMap(it.HeaderFont()));
    put("MinSize", it.MinSize());
    put("MaxSize", it.MaxSize());
    put("Name", it.Name());
    put("Password", it.Password());
    put("PrintBorderCustom", it.PrintBorderCustom());
    put("PrintBorders", bordersToInt(it.PrintBorders()));
    put("PrintBorderPen", penToMap(it.PrintBorderPen()));
    put("PrintColor", static_cast<uint>(it.PrintColor()));
    put("PrintFontCustom", it.PrintFontCustom());
    put("PrintFont", fontToMap(it.PrintFont()));
    put("ReadOnly", it.ReadOnly());
    put("ShowBands", it.ShowBands());
    put("SortStyle", static_cast<int>(it.SortStyle()));
    put("SortPrefix", it.SortPrefix());
    put("SortSuffix", it.SortSuffix());
    put("SpinMax", it.SpinMax());
    put("SpinMin", it.SpinMin());
    put("SpinStep", it.SpinStep());
    put("Tag", it.Tag());
    put("Width", it.Width());
    return m;
}

// Reads one item's map into an item without a collection; any missing or mistyped value
// rejects the whole stream.
class TItemReader
{
public:
    TItemReader(const QVariantMap &m, int index) : m_map(m), m_index(index) {}

    QVariant raw(const char *name, QMetaType::Type type) const
    {
        const QVariant v = m_map.value(QLatin1String(name));
        if (v.typeId() != type)
            badStream(QStringLiteral("item %1: %2 missing or of the wrong kind")
                          .arg(m_index)
                          .arg(QLatin1String(name)));
        return v;
    }
    int integer(const char *name) const { return raw(name, QMetaType::Int).toInt(); }
    bool boolean(const char *name) const { return raw(name, QMetaType::Bool).toBool(); }
    QString string(const char *name) const { return raw(name, QMetaType::QString).toString(); }
    QStringList list(const char *name) const
    {
        return raw(name, QMetaType::QStringList).toStringList();
    }
    TColor color(const char *name) const { return raw(name, QMetaType::UInt).toUInt(); }
    template <typename E> E enumeration(const char *name, int count) const
    {
        const int v = integer(name);
        if (v < 0 || v >= count)
            badStream(QStringLiteral("item %1: %2 out of range").arg(m_index).arg(name));
        return static_cast<E>(v);
    }
    TCellBorders borders(const char *name) const
    {
        const int bits = integer(name);
        if (bits < 0 || bits > 15)
            badStream(QStringLiteral("item %1: %2 out of range").arg(m_index).arg(name));
        TCellBorders b;
        for (int i = 0; i < 4; ++i)
            if (bits & (1 << i))
                b.Include(static_cast<TCellBorder>(i));
        return b;
    }
    TFont font(const char *name) const
    {
        const TItemReader f(raw(name, QMetaType::QVariantMap).toMap(), m_index);
        TFont font;
        font.SetName(f.string("Name"));
        font.SetHeight(f.integer("Height"));
        const int style = f.integer("Style");
        if (style < 0 || style > 15)
            badStream(QStringLiteral("item %1: %2 style out of range").arg(m_index).arg(name));
        TFontStyles styles;
        for (int i = 0; i < 4; ++i)
            if (style & (1 << i))
                styles.Include(static_cast<TFontStyle>(i));
        font.SetStyle(styles);
        font.SetColor(f.color("Color"));
        return font;
    }
    TPen pen(const char *name) const
    {
        const TItemReader p(raw(name, QMetaType::QVariantMap).toMap(), m_index);
        TPen pen;
        pen.SetColor(p.color("Color"));
        pen.SetWidth(p.integer("Width"));
        pen.SetStyle(p.enumeration<TPenStyle>("Style", 7));
        return pen;
    }

private:
    QVariantMap m_map;
    int m_index;
};

void mapToItem(const QVariantMap &m, int index, TGridColumnItem &it)
{
    const TItemReader r(m, index);
    it.SetAutoMinSize(r.integer("AutoMinSize"));
    it.SetAutoMaxSize(r.integer("AutoMaxSize"));
    it.SetAlignment(r.enumeration<TAlignment>("Alignment", 3));
    it.SetBorders(r.borders("Borders"));
    it.SetBorderPen(r.pen("BorderPen"));
    it.SetCheckFalse(r.string("CheckFalse"));
    it.SetCheckTrue(r.string("CheckTrue"));
    it.SetColor(r.color("Color"));
    it.SetColumnPopupType(r.enumeration<TColumnPopupType>("ColumnPopupType", 6));
    it.SetComboItems(r.list("ComboItems"));
    it.SetDropDownCount(r.integer("DropDownCount"));
    it.SetEditLength(r.integer("EditLength"));
    it.SetEditMask(r.string("EditMask"));
    it.SetEditor(r.enumeration<TEditorType>("Editor", EditorTypeCount));
    it.SetFilter(r.list("Filter"));
    it.SetFilterCaseSensitive(r.boolean("FilterCaseSensitive"));
    it.SetFixed(r.boolean("Fixed"));
    it.SetFloatFormat(r.string("FloatFormat"));
    it.SetFont(r.font("Font"));
    it.SetHeader(r.string("Header"));
    it.SetHeaderAlignment(r.enumeration<TAlignment>("HeaderAlignment", 3));
    it.SetHeaderFont(r.font("HeaderFont"));
    it.SetMinSize(r.integer("MinSize"));
    it.SetMaxSize(r.integer("MaxSize"));
    it.SetName(r.string("Name"));
    it.SetPassword(r.boolean("Password"));
    it.SetPrintBorderCustom(r.boolean("PrintBorderCustom"));
    it.SetPrintBorders(r.borders("PrintBorders"));
    it.SetPrintBorderPen(r.pen("PrintBorderPen"));
    it.SetPrintColor(r.color("PrintColor"));
    it.SetPrintFontCustom(r.boolean("PrintFontCustom"));
    it.SetPrintFont(r.font("PrintFont"));
    it.SetReadOnly(r.boolean("ReadOnly"));
    it.SetShowBands(r.boolean("ShowBands"));
    it.SetSortStyle(r.enumeration<TSortStyle>("SortStyle", SortStyleCount));
    it.SetSortPrefix(r.string("SortPrefix"));
    it.SetSortSuffix(r.string("SortSuffix"));
    it.SetSpinMax(r.integer("SpinMax"));
    it.SetSpinMin(r.integer("SpinMin"));
    it.SetSpinStep(r.integer("SpinStep"));
    it.SetTag(r.integer("Tag"));
    it.SetWidth(r.integer("Width"));
}

// The item maps are read here, not by QDataStream's QVariant: that one decodes any stored type
// and reserves a list's stated length up front, so a few damaged bytes could ask for gigabytes.
// Only the kinds itemToMap writes are taken, maps one level deep; anything else is corrupt.
QVariantMap readItemMap(QDataStream &in, int depth);

QVariant readItemValue(QDataStream &in, int depth)
{
    quint32 type = 0;
    qint8 isNull = 0;
    in >> type >> isNull;
    switch (type) {
    case QMetaType::Bool: {
        bool v = false;
        in >> v;
        return v;
    }
    case QMetaType::Int: {
        qint32 v = 0;
        in >> v;
        return int(v);
    }
    case QMetaType::UInt: {
        quint32 v = 0;
        in >> v;
        return uint(v);
    }
    case QMetaType::QString: {
        QString v;
        in >> v;
        return v;
    }
    case QMetaType::QStringList: {
        quint32 n = 0;
        in >> n;
        QStringList v;
        for (quint32 i = 0; i < n && in.status() == QDataStream::Ok; ++i) {
            QString s;
            in >> s;
            v << s;
        }
        return v;
    }
    case QMetaType::QVariantMap:
        if (depth < 1)
            return readItemMap(in, depth + 1);
        break;
    default:
        break;
    }
    in.setStatus(QDataStream::ReadCorruptData);
    return {};
}

QVariantMap readItemMap(QDataStream &in, int depth)
{
    quint32 n = 0;
    in >> n;
    QVariantMap m;
    for (quint32 i = 0; i < n && in.status() == QDataStream::Ok; ++i) {
        QString key;
        in >> key;
        const QVariant v = readItemValue(in, depth);
        m.insert(key, v);
    }
    return m;
}

} // namespace

void TQrlColumnGrid::SaveColumnsToStream(QIODevice &st) const
{
    QDataStream out(&st);
    out.setVersion(QDataStream::Qt_6_0);
    out << ColumnStreamMagic << ColumnStreamVersion
        << static_cast<qint32>(FColumnCollection->Count());
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        out << itemToMap(*FColumnCollection->Items(i));
    if (out.status() != QDataStream::Ok)
        throw EQrlGridError(QStringLiteral("Cannot write the column stream"));
}

void TQrlColumnGrid::LoadColumnsFromStream(QIODevice &st)
{
    QDataStream in(&st);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 count = -1;
    in >> magic >> version >> count;
    if (in.status() != QDataStream::Ok || magic != ColumnStreamMagic)
        badStream(QStringLiteral("not a column record"));
    if (version != ColumnStreamVersion)
        badStream(QStringLiteral("format version %1 unknown").arg(version));
    if (count < 0 || count > MaxStreamItems)
        badStream(QStringLiteral("item count %1").arg(count));

    // Everything is read and checked before the grid's items change.
    TGridColumnCollection loaded(nullptr);
    for (int i = 0; i < count; ++i) {
        const QVariantMap m = readItemMap(in, 0);
        if (in.status() != QDataStream::Ok)
            badStream(QStringLiteral("item %1 truncated or damaged").arg(i));
        mapToItem(m, i, *loaded.Add());
    }

    {
        TQuietColumns quiet(*FColumnCollection);
        FColumnCollection->Assign(loaded);
    }
    Invalidate();
}
