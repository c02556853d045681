// The column grid: the string grid with one settings item per column (grid/model/QrlGridColumn.h).
// Every per-cell question is answered from the item of the cell's column first, then by the
// string grid. Item i describes real column i; after every change of the column count, load,
// column insertion or removal there are ColCount + NumHiddenColumns items. A column index
// without an item falls back to the string grid's answer.
#pragma once

#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridColumn.h"
#include "grid/model/QrlStringGrid.h"

#include <functional>
#include <memory>

class QIODevice;
class QMenu;

using TColumnPopupEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, QMenu *PopupMenu)>;
using TAfterColumnMoved = std::function<void(QObject *Sender, int FromIndex, int ToIndex)>;

class TQrlColumnGrid : public TQrlStringGrid
{
    Q_OBJECT

public:
    explicit TQrlColumnGrid(QWidget *parent = nullptr);
    ~TQrlColumnGrid() override;

    TGridColumnCollection *Columns() const { return FColumnCollection.get(); }
    // Every item of Value is assigned to this grid's items.
    void SetColumns(const TGridColumnCollection &Value);
    // The string grid's setter, then the items follow the new count.
    void SetColCount(int Value) override;
    // A filter pick also becomes the column's header.
    bool AutoFilterDisplay() const { return FAutoFilterDisplay; }
    void SetAutoFilterDisplay(bool Value) { FAutoFilterDisplay = Value; }
    // The first item named AValue exactly, or null.
    TGridColumnItem *GetColumnByName(const QString &AValue) const;
    // Refills ColumnHeaders from the items; an item without header takes its row-0 text.
    void RebuildHeaderList();

    // Every item's stored properties. Loading replaces the items, not the column count; a
    // stream that is not such a record raises EQrlGridError and changes nothing.
    void SaveColumnsToStream(QIODevice &st) const;
    void LoadColumnsFromStream(QIODevice &st);
    // The column order in the INI file Key, section Section, as "CP" + position = the default
    // index of the column there. Loading changes nothing unless the values are a permutation.
    void SaveColumnPositions(const QString &Key, const QString &Section);
    void LoadColumnPositions(const QString &Key, const QString &Section);
    // With ColumnSize's Location clIniFile the two above on its Key and Section, else the
    // string grid's own.
    void SaveColPositions() override;
    void LoadColPositions() override;

    void AfterLoadHook() override;
    void GetCellDefaults(int ACol,
                         int ARow,
                         TFont &AFont,
                         TBrush &ABrush,
                         TColor &ColorTo,
                         TColor &MirrorColor,
                         TColor &MirrorColorTo,
                         TAlignment &HAlign,
                         TVAlignment &VAlign,
                         bool &WW,
                         TCellGradientDirection &GD) override;
    QString GetFormattedCell(int ACol, int ARow) override;
    QString QueryFloatFormat(int ACol, int ARow) const override;
    TCellType GetCellType(int ACol, int ARow) override;
    TCellGraphic *GetCellGraphic(int ACol, int ARow) override;
    void UpdateColSize(int ACol, int &AWidth) override;
    void UpdateAutoColSize(int ACol, int &AWidth) override;
    void HeaderListChanged() override;
    void AfterCellsLoaded() override;
    void QueryCellColor(
        int ACol, int ARow, TFont *AFont, TBrush *ABrush, plat::TGridDrawState AState) override;
    void QueryCellPrintColor(
        int ACol, int ARow, TFont *AFont, TBrush *ABrush, plat::TGridDrawState AState) override;
    void QueryCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders) override;
    void QueryCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders) override;
    void QueryCellAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign) override;
    void QueryCellFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix) override;
    void QueryEditorType(int ACol, int ARow, TEditorType &AEditor) override;
    void QueryFixedCell(int ACol, int ARow, bool &IsFixed) override;
    // The grid-wide switches do not enter: only the item, the cell's read-only mark and
    // OnCanEditCell decide.
    void QueryCanEdit(int ACol, int ARow, bool &CanEdit) override;
    void QueryPasswordCell(int ACol, int ARow, bool &IsPassword) override;
    bool QueryHasCombo(int ACol, int ARow) override;
    void QueryCheckTrue(int ACol, int ARow, QString &Value) override;
    void QueryCheckFalse(int ACol, int ARow, QString &Value) override;
    bool BuildFilterList(int ACol) override;
    void ApplyFilterPick(int ItemIndex) override;
    int GetVersionNr() const override;
    QString GetVersionString() const override;
    void RemoveCols(int ColIndex, int CCount) override;
    void InsertCols(int ColIndex, int CCount) override;
    void Group(int Colindex) override;
    void UnGroup() override;
    void ChangeScaleHook(int M, int D) override;

    TColumnPopupEvent OnColumnPopup;
    TAfterColumnMoved OnAfterColumnMoved;

protected:
    // Makes the collection the grid owns; the constructor calls it once.
    virtual std::unique_ptr<TGridColumnCollection> CreateColumnCollection();
    // Items and columns in step: items are appended (visual copies) or the last ones freed.
    void FitColumnItemCount();

    // The framework's notifications, each after the string grid's own handling.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;
    int GetEditLimit() override;
    QString GetEditMask(int ACol, int ARow) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    friend class TGridColumnCollection;
    friend class TGridColumnItem;

    // The item of real column ACol, or null.
    TGridColumnItem *itemAt(int ACol) const;
    // Inside the normal cells (not fixed rows, columns, right columns or footers).
    bool inNormalArea(int ACol, int ARow) const;
    // Every shown column's item takes the column's width as its stored width.
    void syncItemWidths();
    // FitColumnItemCount with the collection's update step held back.
    void fitItemsQuietly();
    // The collection's update step (after its own).
    void collectionUpdate();
    // The header setter's steps.
    void itemHeaderChanged(TGridColumnItem &Item);
    void setHeaderListQuietly(const QStringList &Value);

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    bool FColMoving = false;
    // Lent to every cell of a check-box column that has no graphic of its own.
    std::unique_ptr<TCellGraphic> FCellGraphic;
    bool FAutoFilterDisplay = false;
    // Set while the string grid's line operations change the column count: the items follow
    // after them at the right place.
    bool m_lineOperation = false;
    bool m_destroying = false;
};
