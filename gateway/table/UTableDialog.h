// The frame every table dialog stands on: the titled window, the six row buttons and one column
// grid (or two, on the pages of PageControl1) that edit one table file of the configuration.
//
// A concrete dialog is data: a TTableDialogDesc giving its file (UTableFiles.h), its texts and per
// grid the columns and one row check. The frame resets and loads the grids when the dialog is
// shown, checks the table and writes it atomically on OK, and runs the row buttons and the
// grid's key, hint, click and double-click handlers. A dialog overrides only where it departs.
#pragma once

#include "common/UTitledForm.h"
#include "gateway/table/UTableFiles.h"
#include "gateway/table/UTableText.h"
#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Colors.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QTabWidget;
class QWidget;
class TLbButton;
class TQrlColumnGrid;
class TQrlStringGrid;
class TTableDialog;
class TTableGridOps;

// The shape of a dialog, chosen once for all its grids.
enum class TFrameLayout {
    flOneGrid,          // one column grid
    flTwoPages,         // two column grids, one on each page of PageControl1
    flCheckBoxGraphics, // one plain string grid whose check boxes are cell graphics ("Y"/"N")
};

// Where a column's combo items come from.
enum class TTableCombo {
    tcNone,            // no items of the frame's own
    tcItems,           // the column's fixed Items
    tcPositions,       // "0" .. data size - 1, filled on every show
    tcPositionsOrNone, // "None", then "0" .. data size - 1
};

// One data column of a grid (grid columns 1, 2, ...). What the file stores is the table file's
// description; this is how the column looks and edits.
struct TTableGridColumn
{
    int Header = 0; // text number of the header; 0: none
    int Hint = 0;   // text number of the header hint; 0: none
    int Width = 64;
    TEditorType Editor = TEditorType::edNormal;
    TTableCombo Combo = TTableCombo::tcNone;
    QStringList Items; // for tcItems
    TColor Color = clWindow;
    bool Hidden = false;
};

// The message of a failed row check (the frame puts "Error row N" before it), empty when the row
// passes.
using TTableRowCheck =
    std::function<QString(const TTableDialog &Dialog, const TQrlStringGrid &Grid, int Row)>;

struct TTableGridDesc
{
    QString Name;    // object name of the grid ("ACG_CAN_Receive", "sga", ...)
    QString TabName; // object name of its page in a two-grid dialog
    int TabText = 0; // text number of that page's caption
    int HeaderN = 0; // text number of column 0's header
    // Column 1 is the Enable column: reset to "Y", rows not "Y" skipped by the check. In a
    // check-box graphics dialog it is a check box whatever its editor.
    bool EnableColumn = true;
    int DataSize = 1438; // bytes of the data image the position columns point into
    int RowHeight = 22;
    // Set before the check boxes are made, which take it for their place in the cell.
    TVAlignment VAlignment = TVAlignment::vtaTop;
    QVector<TTableGridColumn> Columns;
    TTableRowCheck Check; // none: every row passes
};

struct TTableDialogDesc
{
    QString Name; // instance name, the form's object name ("FReceiveCAN")
    int ClientWidth = 800;
    int ClientHeight = 337;
    // The file's full path, asked on every show and save (the configuration may change).
    std::function<QString()> FilePath;
    // Groups in grid order, one per grid; each group's Capacity is its grid's data rows.
    TTableFileDesc File;
    // One entry in Grids per grid of the layout.
    TFrameLayout Layout = TFrameLayout::flOneGrid;
    int CaptionText = 0;
    int DescText = 0;
    // OK, Cancel, Delete Row, Insert Row, Copy Row, Paste Row.
    std::array<int, 6> ButtonTexts{};
    std::array<int, 6> ButtonHints{};
    int ErrorRowText = 0;  // "Error row "
    int DeleteRowText = 0; // "Are you sure to delete the Row number "
    // A click in column 0 selects the row.
    bool SelectRowOnClick = true;
    QVector<TTableGridDesc> Grids; // one or two
};

class TTableDialog : public TTitledForm
{
    Q_OBJECT

public:
    explicit TTableDialog(TTableDialogDesc desc, QWidget *parent = nullptr);
    ~TTableDialog() override;

    const TTableDialogDesc &Desc() const { return m_desc; }
    int GridCount() const { return int(m_grids.size()); }
    TQrlStringGrid *Grid(int index) const { return m_grids.value(index); }
    // Null for the string grid of a check-box graphics dialog.
    TQrlColumnGrid *ColumnGrid(int index) const;
    // The grid of the active page (the only grid of a one-grid dialog), and its index.
    int ActiveGridIndex() const;
    TQrlStringGrid *ActiveGrid() const { return Grid(ActiveGridIndex()); }
    int GridIndexOf(const QObject *grid) const;

    // ---- handlers ---------------------------------------------------------------------------
    // Once, from the constructor: window, grids, hint lists, texts.
    void FormCreate();
    // Every show: an open editor closed, reset, data size, combo items, load, copy flags
    // cleared, the top-left data cell current, focus.
    void FormShow() override;
    void Set_Lang();
    // The whole-table check: one error box at the first failing row.
    bool Controllo_dati();
    // Check, ask before rows after a blank key or a file not loaded whole are lost, then
    // replace the file; closes with mrOk only once the file is written.
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void KeyPress(QObject *Sender, QChar &Key);
    void GridHint(QObject *Sender, int ARow, int ACol, QString &HintStr);
    void DblClickCell(QObject *Sender, int ARow, int ACol);
    void ClickCell(QObject *Sender, int ARow, int ACol);

    // The table as the file stores it: a check-box graphic reads "Y" when checked, else "N".
    QString Cell_Text(int grid, int col, int row) const;
    void Set_Cell_Text(int grid, int col, int row, const QString &text);
    // The key cell of a row is blank: the table ends before it.
    bool Row_Ends_Table(int grid, int row) const;
    // Column 1 is "Y" (trimmed, upper-cased) or the grid has no Enable column.
    bool Row_Enabled(int grid, int row) const;
    // Some cell besides the Enable column holds a text (a checked box, for check-box columns),
    // or the row carries attributes of its file that no column shows.
    bool Row_Holds_Data(int grid, int row) const;
    // The hidden last column: the layout of the row's attributes in the file (see TTableRow),
    // empty for a row without one.
    int Layout_Col(int grid) const;

    // Why the last load did not take the whole file (a load error or rows beyond the grid);
    // empty when it did. OK asks before replacing such a file.
    QString Load_Problem() const { return m_loadProblem; }

    // ---- controls and fields ----------------------------------------------------------------
    QWidget *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
    TLbButton *Btn_DelRow = nullptr;
    TLbButton *Btn_InsRow = nullptr;
    TLbButton *Btn_CopyRow = nullptr;
    TLbButton *Btn_PasteRow = nullptr;
    QTabWidget *PageControl1 = nullptr; // two-grid dialogs only
    QVector<QWidget *> Tab_Sheets;      // its pages

    // Per grid: header hints of columns 1, 2, ...; the data size; whether Copy Row filled the
    // row clipboard from this grid since the dialog was shown.
    QVector<QStringList> Hint_Lists;
    QVector<int> Data_Size;
    QVector<bool> Do_Copy;

protected:
    // The steps of FormShow, for a dialog that adds its own between them.
    void Reset_Grids();
    void Fill_Combo_Items();
    void Load_File();
    // Every grid scrolled to its top-left with the first data cell current.
    void Go_Top_Left();
    // The rows written on OK, up to each grid's first blank key.
    TTableData Table_Data() const;

    // What a file value puts into the grid and what the grid gives the file, for column k of
    // the grid's group (a dialog that keeps a column elsewhere overrides them).
    virtual void Load_Value(int grid, int row, int k, const QString &value);
    virtual QString Save_Value(int grid, int row, int k) const;

private:
    void buildGrid(int index, QWidget *parent);
    int keyCol(int grid) const;
    int lastRealCol(int grid) const;
    bool confirmOverwritingPartialFile() const;
    // OK drops every row from a grid's first blank key on: asks when some of them hold data.
    bool confirmDroppingRowsAfterBlankKey() const;

    TTableDialogDesc m_desc;
    QVector<TQrlStringGrid *> m_grids;
    // Per grid, what its kind of grid does for the frame, chosen from the layout when the grid
    // is built.
    std::vector<std::unique_ptr<TTableGridOps>> m_ops;
    QString m_loadProblem;
};
