// Construction, defaults, lifetime, Assign and the virtual operations whose areas come later.
#include "grid/model/QrlStringGrid.h"

#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid_links_p.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

#include <cmath>

using plat::TGridCoord;
using plat::TGridRect;

namespace {
constexpr int GridTimerPeriodMs = 500;
// The library's version number: major, minor, release and build, one byte each.
constexpr int VersionNr = 0x06020103; // 6.2.1.3
} // namespace

TQrlStringGrid::TQrlStringGrid(QWidget *parent)
    : TBaseGrid(parent), d(new TStringGridModelState), dsp(TStringGridDisplayStateDeleter::make()),
      ed(TStringGridEditingStateDeleter::make())
{
    FOptionsLink = std::make_unique<TGridOptionsLink>(*this);
    FFooterLink = std::make_unique<TGridFooterLink>(*this);
    auto repaint = [this](TPersistent *) { TQrlStringGrid::Invalidate(); };
    addLineCompanions(*this, *d);
    d->searchFooter = std::make_unique<TSearchFooter>();
    d->navigation = std::make_unique<TNavigation>();
    d->mouseActions = std::make_unique<TMouseActions>();
    d->mouseActions->OnIsDesigning = [this](TPersistent *, bool &IsDesigning) {
        IsDesigning = IsDesigningQuery();
    };
    d->mouseActions->OnInvalidate = [this](TPersistent *) { InvalidateRequest(); };
    d->syncGrid = std::make_unique<TSyncGrid>(this);
    d->syncGrid->OnGridSet = [this](TQrlStringGrid *Grid) { FreeNotification(Grid); };
    d->bands = std::make_unique<TBands>();
    d->bands->OnChange = repaint;
    d->focusHelper = std::make_unique<TFocusHelper>();
    d->sizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    IQrlOptionsGrid *options = FOptionsLink.get();
    d->sortSettings = std::make_unique<TSortSettings>(options);
    d->controlLook = std::make_unique<TControlLook>(options, this);
    d->filter = std::make_unique<TFilter>(options);
    d->backGround = std::make_unique<TBackGround>(options);
    d->grouping = std::make_unique<TGrouping>();
    d->balloon = std::make_unique<TBalloonSettings>();
    d->showModified = std::make_unique<TShowModified>();
    d->showModified->OnChange = [this](TPersistent *) { InvalidateCol(0); };
    d->dragScrollOptions = std::make_unique<TDragScrollOptions>();
    d->progressAppearance = std::make_unique<TGridProgressAppearance>();
    d->progressAppearance->OnChange = repaint;
    d->filterDropDown = std::make_unique<TFilterDropDown>();
    d->filterDropDown->OnChange = repaint;
    d->cellNode = std::make_unique<TCellNode>(this);
    d->cellGraphic = std::make_unique<TCellGraphic>();
    IQrlFooterGrid *footerGrid = FFooterLink.get();
    d->floatingFooter = std::make_unique<TFloatingFooter>(footerGrid);
    d->columnSize = std::make_unique<TColumnSize>();
    d->columnSize->OnStretch = [this](int Column) {
        if (parentWidget())
            DoStretchColumn(Column);
    };
    d->rowCheckBox = std::make_unique<TCellGraphic>();
    d->mergedColumns.OnChange = [this](TIntList *, int, int) {
        SplitMergedColumns();
        ReMergeColumns();
    };
    auto fontRepaint = [this] { TQrlStringGrid::Invalidate(); };
    d->fixedFont.OnChange = fontRepaint;
    d->activeCellFont.OnChange = fontRepaint;

    // Sizes: the base grid starts with 5 columns.
    TBaseGrid::SetRowCount(10);
    TBaseGrid::SetFixedRows(1);
    TBaseGrid::SetFixedCols(1);
    TBaseGrid::SetDefaultRowHeight(22);
    d->fixedRowHeight = 22;
    d->fixedRowsMin = 1;
    d->fixedColsMin = 1;
    d->maxRowCount = RowCount();
    d->maxColCount = ColCount();
    FNormalRowCount = RowCount();
    SetScrollBars(plat::TScrollStyle::ssBoth);
    d->scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize(400, 250);
    // Drags over the grid reach it, so that they scroll it near its edges.
    viewport()->setAcceptDrops(true);
    SetDefaultDrawing(false);
    d->oldCursor = cursor().shape();

    d->timerId = startTimer(GridTimerPeriodMs);
}

TQrlStringGrid::~TQrlStringGrid()
{
    d->destroying = true;
    if (d->timerId)
        killTimer(d->timerId);
    if (d->form)
        d->form->removeEventFilter(this);
    destroyCells();
    setCursor(d->oldCursor);
}

void TQrlStringGrid::destroyCells()
{
    // Hidden rows and columns come back first so every cell's properties are reached.
    d->clearTextOnly = false;
    d->saveHiddenCells = false;
    if (NumHiddenRows() == 0 && !HasNodes()) {
        if (d->maxRowCount > RowCount())
            TBaseGrid::SetRowCount(d->maxRowCount);
        if (d->maxColCount > ColCount())
            TBaseGrid::SetColCount(d->maxColCount);
    }
    FreeAllCellProperties();
}

void TQrlStringGrid::Assign(QObject *Source)
{
    auto *s = qobject_cast<TQrlStringGrid *>(Source);
    if (!s || s == this)
        return;
    Font().Assign(s->Font());
    d->activeCellColor = s->d->activeCellColor;
    d->activeCellColorTo = s->d->activeCellColorTo;
    d->activeCellFont.Assign(s->d->activeCellFont);
    d->activeCellShow = s->d->activeCellShow;
    SetActiveRowShow(s->ActiveRowShow());
    d->filterDropDown->Assign(*s->d->filterDropDown);
    d->anchorHint = s->d->anchorHint;
    d->autoNumAlign = s->d->autoNumAlign;
    d->autoSize = s->d->autoSize;
    d->autoThemeAdapt = s->d->autoThemeAdapt;
    d->autoFilterUpdate = s->d->autoFilterUpdate;
    d->mouseActions->Assign(*s->d->mouseActions);
    d->navigation->Assign(*s->d->navigation);
    d->grouping->Assign(*s->d->grouping);
    d->searchFooter->Assign(*s->d->searchFooter);
    d->filter->Assign(*s->d->filter);
    d->bands->Assign(*s->d->bands);
    d->cellNode->Assign(*s->d->cellNode);
    d->sortSettings->Assign(*s->d->sortSettings);
    d->dragScrollOptions->Assign(*s->d->dragScrollOptions);
    d->progressAppearance->Assign(*s->d->progressAppearance);
    d->syncGrid->Assign(*s->d->syncGrid);
    d->focusHelper->Assign(*s->d->focusHelper);
    d->fixedRowAlways = s->d->fixedRowAlways;
    SetColCount(s->ColCount());
    SetRowCount(s->RowCount());
    SetFixedRows(s->FixedRows());
    SetFixedCols(s->FixedCols());
    SetDefaultColWidth(s->DefaultColWidth());
    SetDefaultRowHeight(s->DefaultRowHeight());
    SetFixedRowHeight(s->FixedRowHeight());
    SetFixedColWidth(s->FixedColWidth());
    d->invalidEntryTitle = s->d->invalidEntryTitle;
    d->invalidEntryIcon = s->d->invalidEntryIcon;
    d->invalidEntryText = s->d->invalidEntryText;
    SetOptions(s->Options());
    for (int c = 0; c < s->ColCount() && c < ColCount(); ++c)
        SetColWidths(c, s->ColWidths(c));
    SetColumnHeaders(s->d->columnHeaders);
    for (int r = 0; r < s->RowCount() && r < RowCount(); ++r)
        SetRowHeights(r, s->RowHeights(r));
    d->scrollProportional = s->d->scrollProportional;
    d->scrollSynch = s->d->scrollSynch;
    d->scrollHints = s->d->scrollHints;
    SetScrollBarAlways(s->d->scrollBarAlways);
    SetScrollBars(s->ScrollBars());
    SetScrollColor(s->ScrollColor());
    SetScrollType(s->ScrollType());
    SetScrollWidth(s->d->scrollWidth);
    AssignCells(Source);
}

void TQrlStringGrid::AssignCells(QObject *Source)
{
    auto *s = qobject_cast<TQrlStringGrid *>(Source);
    if (!s || s == this)
        return;
    // The grid's own text format carries only texts and widths; so does this copy.
    BeginUpdate();
    const int cols = s->ColCount();
    const int rows = s->RowCount();
    if (ColCount() < cols)
        SetColCount(cols);
    if (RowCount() < rows)
        SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            SetCellEx(c, r, s->GetGridCell(c, r));
    EndUpdate();
}

void TQrlStringGrid::AfterLoadHook()
{
    d->loading = false;
    ShowColumnHeaders();
    ShowRowHeaders();
    if (d->look == TGridLook::glQuorl) {
        SetLook(TGridLook::glCustom);
        SetLook(TGridLook::glQuorl);
    }
    if (d->autoSize) {
        // Automatic column sizing comes with the calculations; nothing to size yet.
    }
    d->fixedRowsMin = TBaseGrid::FixedRows();
    d->fixedColsMin = TBaseGrid::FixedCols();
    d->minRowHeight = DefaultRowHeight();
    d->minColWidth = 10;
    d->maxRowCount = std::max(d->maxRowCount, RowCount());
    d->loaded = true;
    if (Options().Contains(plat::TGridOption::goAlwaysShowEditor)) {
        SetOptions(Options() - plat::TGridOption::goAlwaysShowEditor);
        d->navigation->SetAlwaysEdit(true);
    }
    // No visual styles here: a themed control style falls back to the classic one.
    if (d->controlLook->ControlStyle() == TControlStyle::csTheme)
        d->controlLook->SetControlStyle(TControlStyle::csClassic);
    UpdateScrollBarsAlways(false);
}

bool TQrlStringGrid::Loaded() const
{
    return d->loaded;
}

void TQrlStringGrid::SetLoading(bool Value)
{
    d->loading = Value;
}

bool TQrlStringGrid::Loading() const
{
    return d->loading;
}

void TQrlStringGrid::Invalidate()
{
    TBaseGrid::Invalidate();
    if (!d->loading && d->floatingFooter && d->floatingFooter->Visible())
        UpdateFooter();
}

void TQrlStringGrid::resizeEvent(QResizeEvent *event)
{
    TBaseGrid::resizeEvent(event);
    if (OnGridResize)
        OnGridResize(this);
    UpdateScrollBarsAlways(false);
}

void TQrlStringGrid::UpdateScrollBarsAlways(bool Force)
{
    const bool allRowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool allColsFit = VisibleColCount() + FixedCols() >= ColCount();
    const auto always = d->scrollBarAlways;
    if (always != TScrollBarAlways::saNone) {
        const bool vert = always == TScrollBarAlways::saVert || always == TScrollBarAlways::saBoth;
        const bool horz = always == TScrollBarAlways::saHorz || always == TScrollBarAlways::saBoth;
        setVerticalScrollBarPolicy(allRowsFit && !vert ? Qt::ScrollBarAlwaysOff
                                                       : Qt::ScrollBarAlwaysOn);
        verticalScrollBar()->setEnabled(!allRowsFit);
        setHorizontalScrollBarPolicy(allColsFit && !horz ? Qt::ScrollBarAlwaysOff
                                                         : Qt::ScrollBarAlwaysOn);
        horizontalScrollBar()->setEnabled(!allColsFit);
    } else if (Force) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
}

void TQrlStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (d->integralHeight && d->updateCount == 0 && DefaultRowHeight() > 0) {
        const bool allColsFit = VisibleColCount() + FixedCols() >= ColCount();
        const int a = allColsFit ? 0 : horizontalScrollBar()->sizeHint().height();
        const int b = frameWidth() > 0 ? 2 : 0;
        int t = AHeight - a - b;
        t -= t % DefaultRowHeight();
        AHeight = a + t + 2 * b;
    }
    setGeometry(ALeft, ATop, AWidth, AHeight);
}

void TQrlStringGrid::applyFormBounds()
{
    SetBounds(x(), y(), width(), height());
}

bool TQrlStringGrid::IntegralHeight() const
{
    return d->integralHeight;
}

void TQrlStringGrid::SetIntegralHeight(bool Value)
{
    d->integralHeight = Value;
    applyFormBounds();
}

TColor TQrlStringGrid::BorderColor() const
{
    return d->borderColor;
}

void TQrlStringGrid::SetBorderColor(TColor Value)
{
    d->borderColor = Value;
    update();
}

TFont *TQrlStringGrid::GetCellFont(int i, int j)
{
    if (!HasCellProperties(i, j))
        return &Font();
    const TCellProperties *p = GetGridObject(i, j);
    d->cellFont.Assign(Font());
    if (p) {
        if (!p->FontName().isEmpty())
            d->cellFont.SetName(p->FontName());
        if (p->FontSize() != 0)
            d->cellFont.SetSize(p->FontSize());
        d->cellFont.SetStyle(p->FontStyle());
        if (p->FontColor() != clNone)
            d->cellFont.SetColor(p->FontColor());
    }
    return &d->cellFont;
}

// ---- owned objects --------------------------------------------------------------------------

TSearchFooter *TQrlStringGrid::SearchFooter() const
{
    return d->searchFooter.get();
}
TNavigation *TQrlStringGrid::Navigation() const
{
    return d->navigation.get();
}
TMouseActions *TQrlStringGrid::MouseActions() const
{
    return d->mouseActions.get();
}
TSyncGrid *TQrlStringGrid::SyncGrid() const
{
    return d->syncGrid.get();
}
TBands *TQrlStringGrid::Bands() const
{
    return d->bands.get();
}
TFocusHelper *TQrlStringGrid::FocusHelper() const
{
    return d->focusHelper.get();
}
TSizeWhileTyping *TQrlStringGrid::SizeWhileTyping() const
{
    return d->sizeWhileTyping.get();
}
TSortSettings *TQrlStringGrid::SortSettings() const
{
    return d->sortSettings.get();
}
TControlLook *TQrlStringGrid::ControlLook() const
{
    return d->controlLook.get();
}
TFilter *TQrlStringGrid::Filter() const
{
    return d->filter.get();
}
TBackGround *TQrlStringGrid::BackGround() const
{
    return d->backGround.get();
}
TGrouping *TQrlStringGrid::Grouping() const
{
    return d->grouping.get();
}
TBalloonSettings *TQrlStringGrid::Balloon() const
{
    return d->balloon.get();
}
TShowModified *TQrlStringGrid::ShowModified() const
{
    return d->showModified.get();
}
TDragScrollOptions *TQrlStringGrid::DragScrollOptions() const
{
    return d->dragScrollOptions.get();
}
TGridProgressAppearance *TQrlStringGrid::ProgressAppearance() const
{
    return d->progressAppearance.get();
}
TFilterDropDown *TQrlStringGrid::FilterDropDown() const
{
    return d->filterDropDown.get();
}
TCellNode *TQrlStringGrid::CellNode() const
{
    return d->cellNode.get();
}
TSortIndexList &TQrlStringGrid::SortIndexes()
{
    return d->sortIndexes;
}
TIntList &TQrlStringGrid::MergedColumns()
{
    return d->mergedColumns;
}
TIntList &TQrlStringGrid::IgnoreColumns()
{
    return d->ignoreColumns;
}
QStringList &TQrlStringGrid::LookupItems()
{
    return d->lookupItems;
}
void TQrlStringGrid::SetLookupItems(const QStringList *Value)
{
    if (Value)
        d->lookupItems = *Value;
}
TFont &TQrlStringGrid::FixedFont()
{
    return d->fixedFont;
}
void TQrlStringGrid::SetFixedFont(const TFont &Value)
{
    d->fixedFont.Assign(Value);
}
TFont &TQrlStringGrid::ActiveCellFont()
{
    return d->activeCellFont;
}
void TQrlStringGrid::SetActiveCellFont(const TFont &Value)
{
    d->activeCellFont.Assign(Value);
}

// ---- what the option objects call back ------------------------------------------------------

void TGridOptionsLink::OptionsInvalidate()
{
    m_g.Invalidate();
}
void TGridOptionsLink::OptionsRepaintCell(int ACol, int ARow)
{
    m_g.RepaintCell(ACol, ARow);
}
void TGridOptionsLink::OptionsRepaintRow(int ARow)
{
    m_g.InvalidateRow(ARow);
}
int TGridOptionsLink::OptionsFixedRows() const
{
    return m_g.FixedRows();
}
TSortIndexList &TGridOptionsLink::OptionsSortIndexes()
{
    return m_g.d->sortIndexes;
}
// Sorting comes with its own area; until then a sort request leaves the rows as they are.
void TGridOptionsLink::OptionsQSort() {}
void TGridOptionsLink::OptionsQSortIndexed() {}
void TGridOptionsLink::OptionsSetQuorlGradient(TQuorlGradientRole Role, TColor Value)
{
    m_g.SetQuorlGradientColor(Role, Value);
}

// ---- virtual operations with their base defaults --------------------------------------------

void TQrlStringGrid::DoClickSort(int ACol)
{
    if (OnClickSort)
        OnClickSort(this, ACol);
}

void TQrlStringGrid::StoreEditedText(int ACol, int ARow, const QString &Value)
{
    // ACol is a real column: the edit-text hook takes the display one.
    SetEditText(DisplColIndex(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TQrlStringGrid::DoCheckBoxClick(int ACol, int ARow, bool State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

void TQrlStringGrid::FixedEditHook(int ACol, int ARow)
{
    if (OnFixedEdit)
        OnFixedEdit(this, ARow, ACol);
}

void TQrlStringGrid::SelectionChangedHook(int ALeft, int ATop, int ARight, int ABottom)
{
    if (d->look == TGridLook::glVista || d->look == TGridLook::glWin7 ||
        d->look == TGridLook::glOffice2007)
        RepaintRect({ALeft, ATop, ARight, ABottom});
    d->selChange = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TQrlStringGrid::FilterDoneHook()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

void TQrlStringGrid::UpdateColSize(int ACol, int &AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TQrlStringGrid::UpdateAutoColSize(int ACol, int &AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

void TQrlStringGrid::HeaderListChanged() {}

void TQrlStringGrid::DoEllipsClick(int ACol, int ARow, QString &S)
{
    if (OnEllipsClick)
        OnEllipsClick(this, ACol, ARow, S);
}

void TQrlStringGrid::RememberOldCellValue(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ARow >= RowCount() || ACol >= TotalColCount())
        return;
    KeepOldCellValue(ACol, ARow);
}

void TQrlStringGrid::RestoreCachedCellText()
{
    const TGridCoord b = BaseCell(RealColIndex(Col()), Row());
    SetCellEx(b.X, b.Y, CellCache());
}

void TQrlStringGrid::DoCanAddRow(bool &CanAdd)
{
    if (OnCanAddRow)
        OnCanAddRow(this, CanAdd);
}

void TQrlStringGrid::DoCanInsertRow(int ARow, bool &CanInsert)
{
    if (OnCanInsertRow)
        OnCanInsertRow(this, ARow, CanInsert);
}

void TQrlStringGrid::AddRowHook()
{
    SetRowCount(RowCount() + 1);
}

bool TQrlStringGrid::IsDesigningQuery() const
{
    return false;
}

void TQrlStringGrid::InvalidateRequest()
{
    Invalidate();
}

void TQrlStringGrid::DisableEditing()
{
    SetOptions(Options() - plat::TGridOption::goEditing);
}

bool TQrlStringGrid::AllowGridClipboardFormat() const
{
    return d->navigation->AllowSmartClipboard();
}

void TQrlStringGrid::DoCheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

void TQrlStringGrid::DoRatingChange(int ACol, int ARow, int Value, bool &Allow)
{
    Allow = true;
    if (OnRatingChange)
        OnRatingChange(this, ACol, ARow, Value, Allow);
}

void TQrlStringGrid::DoColorSelect(int ACol, int ARow, TColor &AColor)
{
    if (OnColorSelect)
        OnColorSelect(this, ACol, ARow, AColor);
}

void TQrlStringGrid::DoImageSelect(int ACol, int ARow, int &AIndex)
{
    if (OnImageSelect)
        OnImageSelect(this, ACol, ARow, AIndex);
}

bool TQrlStringGrid::DoCanShowFixedDropDown(int ACol, int ARow)
{
    bool allow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, ACol, ARow, allow);
    return allow;
}

void TQrlStringGrid::DoStartBlockFocus()
{
    if (OnStartBlockFocus)
        OnStartBlockFocus(this);
}

void TQrlStringGrid::DoEndBlockFocus()
{
    if (OnEndBlockFocus)
        OnEndBlockFocus(this);
}

void TQrlStringGrid::DoPrintGetPageNum(int PageNum, QString &PageString)
{
    if (OnPrintGetPageNum)
        OnPrintGetPageNum(this, PageNum, PageString);
}

void TQrlStringGrid::DoGetEditorProp(int ACol, int ARow, TEditLink *AEditLink)
{
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt)
        OnGetEditorPropInt(this, ACol, ARow);
}

void TQrlStringGrid::DoCellChanging(int ACol, int ARow, bool &Allow)
{
    if (ARow != Row() && OnRowChanging)
        OnRowChanging(this, Row(), ARow, Allow);
    if (ACol != Col() && OnColChanging)
        OnColChanging(this, Col(), ACol, Allow);
    if ((ARow != Row() || ACol != Col()) && !d->disableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), ARow, ACol, Allow);
}

void TQrlStringGrid::DoScrollCell(
    int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)
{
    if (OnScrollCell)
        OnScrollCell(this, ACol, ARow, ScrollPosition, ScrollMin, ScrollMax);
}

void TQrlStringGrid::ExportNotification(TGridExportState, int) {}

void TQrlStringGrid::ImportNotification(TGridImportState, int) {}

QObject *TQrlStringGrid::GridImages() const
{
    return d->gridImages;
}

void TQrlStringGrid::SetGridImages(QObject *Value)
{
    d->gridImages = Value;
    Invalidate();
}

THTMLPictureCache *TQrlStringGrid::PictureCache() const
{
    return d->pictureCache.get();
}

TPictureContainer *TQrlStringGrid::PictureContainer() const
{
    return d->pictureContainer;
}

void TQrlStringGrid::SetPictureContainer(TPictureContainer *Value)
{
    d->pictureContainer = Value;
    Invalidate();
}

bool TQrlStringGrid::DisableChange() const
{
    return d->disableChange;
}

void TQrlStringGrid::SetDisableChange(bool Value)
{
    d->disableChange = Value;
}

int TQrlStringGrid::GetVersionNr() const
{
    return VersionNr;
}

QString TQrlStringGrid::GetVersionString() const
{
    return Version() + QStringLiteral(" Sep, 2012");
}

QString TQrlStringGrid::Version() const
{
    const unsigned v = static_cast<unsigned>(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

QString TQrlStringGrid::GetFormattedCell(int ACol, int ARow)
{
    const QString text = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat)
        return text;
    bool ok = false;
    const QString t = text.trimmed();
    const qlonglong iv = t.toLongLong(&ok);
    double dv = ok ? static_cast<double>(iv) : t.toDouble(&ok);
    if (!ok)
        return text;
    bool isFloat = true;
    QString fmt = d->floatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (!isFloat || fmt.isEmpty())
        return text;
    if (std::fabs(dv) >= 9.2e18)
        return text;
    QString out;
    const QVariant value = fmt.contains(QLatin1Char('d'), Qt::CaseInsensitive)
                               ? QVariant(static_cast<qlonglong>(dv))
                               : QVariant(dv);
    if (!GridFormat(fmt, {value}, out))
        return text; // a format that does not fit the value leaves the display text
    return out;
}

QString TQrlStringGrid::QueryFloatFormat(int, int) const
{
    return d->floatFormat;
}

bool TQrlStringGrid::BuildFilterList(int)
{
    d->filterList.clear();
    return false;
}

void TQrlStringGrid::ApplyFilterPick(int)
{
    d->filterColumn = -1;
}

QStringList &TQrlStringGrid::FilterList()
{
    return d->filterList;
}

int TQrlStringGrid::FilterCol() const
{
    return d->filterColumn;
}

void TQrlStringGrid::SetFilterCol(int Value)
{
    d->filterColumn = Value;
}
