// Settings the string grid's calculations and automatic sizing read: the floating footer, whose
// last-row cells hold column results, and the rows a column fit measures.
#pragma once

#include "grid/model/QrlGridTypes.h"

#include <QString>

#include <functional>

class QObject;

// --- Column sizing ------------------------------------------------------------------------------

// Which rows a column fit measures.
enum class TAutoSizeRows { arAll, arNormal, arFixed };
// Where column layouts are stored: the registry stand-in or an INI file named by Key.
enum class TColumnSizeLocation { clRegistry, clIniFile };

// The column-size settings of a grid. Only what the automatic sizing reads lives here yet; the
// saving of column layouts adds its options when it comes.
class TColumnSize : public TPersistent
{
public:
    void Assign(const TPersistent &Source) override;

    TAutoSizeRows Rows() const { return FRows; }
    void SetRows(TAutoSizeRows Value) { FRows = Value; }
    // The store of column layouts: an INI file name or a registry key, and the section in it.
    QString Key() const { return FKey; }
    void SetKey(const QString &Value) { FKey = Value; }
    QString Section() const { return FSection; }
    void SetSection(const QString &Value) { FSection = Value; }
    TColumnSizeLocation Location() const { return FLocation; }
    void SetLocation(TColumnSizeLocation Value) { FLocation = Value; }
    // One column (StretchColumn, -1 the last) takes the room the others leave in the grid.
    bool Stretch() const { return FStretch; }
    // Stretches at once when the grid stands in a window.
    void SetStretch(bool Value);
    int StretchColumn() const { return FStretchColumn; }
    void SetStretchColumn(int Value) { FStretchColumn = Value; }
    // Set by the owning grid: stretch the column now.
    std::function<void(int StretchColumn)> OnStretch;

private:
    TAutoSizeRows FRows = TAutoSizeRows::arAll;
    QString FKey;
    QString FSection;
    TColumnSizeLocation FLocation = TColumnSizeLocation::clRegistry;
    bool FStretch = false;
    int FStretchColumn = -1;
};

// --- Floating footer ----------------------------------------------------------------------------

enum class TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

// What the footer settings ask of their grid.
class IQrlFooterGrid
{
public:
    virtual ~IQrlFooterGrid() = default;

    // Visible or FooterStyle changed: the grid's fixed footers and hidden last row follow.
    virtual void FooterLayoutChanged() = 0;
    // Stores the calculation in the footer cell's properties and calculates the cell.
    virtual void FooterSetColumnCalc(int ACol, TColumnCalcType Value) = 0;
    virtual TColumnCalcType FooterColumnCalc(int ACol) const = 0;
};

// The footer settings of a grid. With fsFixedLastRow the footer shows the grid's last row, whose
// cells the grid calculates; the panel that paints it reads PanelVisible and PanelHeight.
class TFloatingFooter : public TPersistent
{
public:
    explicit TFloatingFooter(IQrlFooterGrid *Grid = nullptr) : FGrid(Grid) {}

    // Copies the settings, not the event; the grid's footer rows follow the copied style.
    void Assign(const TPersistent &Source) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    // The footer panel: shown with the footer, one pixel lower than Height.
    bool PanelVisible() const { return FVisible; }
    int PanelHeight() const { return FVisible ? FHeight - 1 : 0; }

    // Repaints the footer panel.
    void Invalidate();
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    TColumnCalcType ColumnCalc(int ACol) const;

    TCalcFooterEvent OnCalcFooter;
    // The footer panel's repaint request; the panel connects here.
    std::function<void()> OnInvalidate;

private:
    IQrlFooterGrid *FGrid = nullptr;
    bool FVisible = false;
    TFooterStyle FFooterStyle = TFooterStyle::fsFixedLastRow;
    bool FEnableCalculation = true;
    bool FCalculateHiddenRows = true;
    int FHeight = 22;
};
