// The column items of a column grid and their collection. Item i describes real column i of the
// owning grid (hidden columns counted); what an item answers, the grid's per-cell hooks answer
// first (grid/model/QrlColumnGrid.h).
#pragma once

#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QMenu;
class TGridColumnCollection;
class TQrlColumnGrid;

// Which clicks open a column's pop-up menu.
enum class TColumnPopupType {
    cpFixedCellsRClick,
    cpFixedCellsLClick,
    cpNormalCellsRClick,
    cpNormalCellsLClick,
    cpAllCellsRClick,
    cpAllCellsLClick
};

class TGridColumnItem
{
public:
    // Without a collection the item keeps the default fonts, colour 0 and no change handlers
    // (the copy a grouped grid keeps of its grouping column). Only the collection puts items
    // into itself.
    explicit TGridColumnItem(TGridColumnCollection *Collection = nullptr);
    ~TGridColumnItem();
    TGridColumnItem(const TGridColumnItem &) = delete;
    TGridColumnItem &operator=(const TGridColumnItem &) = delete;

    TGridColumnCollection *Collection() const { return FCollection; }
    // The owning grid, or null for an item without a collection.
    TQrlColumnGrid *Grid() const;
    // -1 without a collection.
    int Index() const { return FIndex; }
    // The column's default position as of the last organisation of the collection.
    int DefIdx() const { return FDefIdx; }
    QString DisplayName() const;

    // Every stored property but ColumnPopupType, PrintBorderCustom and PrintFontCustom, and the
    // default index; the width only into the shadow field. A null source changes nothing.
    void Assign(const TGridColumnItem *Source);
    // As Assign, but colour and font come from the owning grid and the combo items, drop-down
    // count, header font, header, name and tag stay.
    void AssignVisuals(const TGridColumnItem *Source);

    // The cells of this item's column through the grid's accessors, with their failures.
    QString GetRows(int idx) const;
    void SetRows(int idx, const QString &Value);
    int GetInts(int idx) const;
    void SetInts(int idx, int Value);
    double GetFloats(int idx) const;
    void SetFloats(int idx, double Value);
    TDateTime GetDates(int idx) const;
    void SetDates(int idx, TDateTime Value);
    TDateTime GetTimes(int idx) const;
    void SetTimes(int idx, TDateTime Value);

    // ---- properties, in their stored order -------------------------------------------------
    int AutoMinSize() const { return FAutoMinSize; }
    void SetAutoMinSize(int Value) { FAutoMinSize = Value; }
    int AutoMaxSize() const { return FAutoMaxSize; }
    void SetAutoMaxSize(int Value) { FAutoMaxSize = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders Value);
    const TPen &BorderPen() const { return FBorderPen; }
    void SetBorderPen(const TPen &Value);
    QString CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const QString &Value) { FCheckFalse = Value; }
    QString CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const QString &Value) { FCheckTrue = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Held weakly: a menu that is destroyed reads null.
    QMenu *ColumnPopup() const;
    void SetColumnPopup(QMenu *Value);
    TColumnPopupType ColumnPopupType() const { return FColumnPopupType; }
    void SetColumnPopupType(TColumnPopupType Value) { FColumnPopupType = Value; }
    QStringList &ComboItems() { return FComboItems; }
    const QStringList &ComboItems() const { return FComboItems; }
    void SetComboItems(const QStringList &Value) { FComboItems = Value; }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    int EditLength() const { return FEditLength; }
    void SetEditLength(int Value) { FEditLength = Value; }
    // The editors' link component; held weakly, so a link that is destroyed reads null.
    QObject *EditLink() const { return FEditLink; }
    void SetEditLink(QObject *Value) { FEditLink = Value; }
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString &Value) { FEditMask = Value; }
    TEditorType Editor() const { return FEditorType; }
    void SetEditor(TEditorType Value);
    const QStringList &Filter() const { return FFilter; }
    void SetFilter(const QStringList &Value);
    bool FilterCaseSensitive() const { return FFilterCaseSensitive; }
    void SetFilterCaseSensitive(bool Value) { FFilterCaseSensitive = Value; }
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    QString FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString &Value);
    TFont &Font() { return FFont; }
    const TFont &Font() const { return FFont; }
    void SetFont(const TFont &Value) { FFont.Assign(Value); }
    QString Header() const { return FColumnHeader; }
    void SetHeader(const QString &Value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment Value);
    TFont &HeaderFont() { return FHeaderFont; }
    const TFont &HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(const TFont &Value);
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int Value) { FMaxSize = Value; }
    QString Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    bool PrintBorderCustom() const { return FPrintBorderCustom; }
    void SetPrintBorderCustom(bool Value) { FPrintBorderCustom = Value; }
    TCellBorders PrintBorders() const { return FPrintBorders; }
    void SetPrintBorders(TCellBorders Value) { FPrintBorders = Value; }
    const TPen &PrintBorderPen() const { return FPrintBorderPen; }
    void SetPrintBorderPen(const TPen &Value) { FPrintBorderPen.Assign(Value); }
    TColor PrintColor() const { return FPrintColor; }
    void SetPrintColor(TColor Value) { FPrintColor = Value; }
    bool PrintFontCustom() const { return FPrintFontCustom; }
    void SetPrintFontCustom(bool Value) { FPrintFontCustom = Value; }
    TFont &PrintFont() { return FPrintFont; }
    const TFont &PrintFont() const { return FPrintFont; }
    void SetPrintFont(const TFont &Value) { FPrintFont.Assign(Value); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    TSortStyle SortStyle() const { return FSortStyle; }
    void SetSortStyle(TSortStyle Value) { FSortStyle = Value; }
    QString SortPrefix() const { return FSortPrefix; }
    void SetSortPrefix(const QString &Value) { FSortPrefix = Value; }
    QString SortSuffix() const { return FSortSuffix; }
    void SetSortSuffix(const QString &Value) { FSortSuffix = Value; }
    int SpinMax() const { return FSpinMax; }
    void SetSpinMax(int Value) { FSpinMax = Value; }
    int SpinMin() const { return FSpinMin; }
    void SetSpinMin(int Value) { FSpinMin = Value; }
    int SpinStep() const { return FSpinStep; }
    void SetSpinStep(int Value) { FSpinStep = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // The grid's width of the item's real column (0 without a grid); writing sets it.
    int Width() const;
    void SetWidth(int Value);
    // The shadow the grid keeps equal to the shown width.
    int StoredWidth() const { return FWidth; }

private:
    friend class TGridColumnCollection;
    friend class TQrlColumnGrid;

    void changed();
    void repaint();
    void copyFrom(const TGridColumnItem &s, bool visualsOnly);

    TGridColumnCollection *FCollection = nullptr;
    int FIndex = -1;

    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    QString FColumnHeader;
    TSortStyle FSortStyle = TSortStyle::ssAutomatic;
    QString FSortPrefix;
    QString FSortSuffix;
    QString FEditMask;
    int FEditLength = 0;
    QPointer<QObject> FEditLink;
    TFont FFont;
    TColor FColor = 0;
    TEditorType FEditorType = TEditorType::edNormal;
    bool FFixed = false;
    bool FReadOnly = false;
    QStringList FComboItems;
    int FDropDownCount = 8;
    int FSpinMin = 0;
    int FSpinMax = 0;
    int FSpinStep = 1;
    bool FPassword = false;
    TFont FPrintFont;
    TColor FPrintColor = clWhite;
    TCellBorders FBorders;
    TPen FBorderPen;
    TCellBorders FPrintBorders{TCellBorder::cbTop, TCellBorder::cbLeft, TCellBorder::cbRight,
                               TCellBorder::cbBottom};
    TPen FPrintBorderPen;
    int FTag = 0;
    int FDefIdx = 0;
    QString FName;
    QString FCheckFalse = QStringLiteral("N");
    QString FCheckTrue = QStringLiteral("Y");
    bool FShowBands = false;
    QStringList FFilter;
    int FMaxSize = 0;
    int FMinSize = 0;
    int FAutoMinSize = 0;
    int FAutoMaxSize = 0;
    TColumnPopupType FColumnPopupType = TColumnPopupType::cpFixedCellsRClick;
    QPointer<QObject> FColumnPopup;
    bool FFilterCaseSensitive = false;
    QString FFloatFormat;
    TAlignment FHeaderAlignment = TAlignment::taLeftJustify;
    TFont FHeaderFont;
    bool FPrintBorderCustom = true;
    bool FPrintFontCustom = true;
};

// The items of one column grid, in real column order.
class TGridColumnCollection
{
public:
    explicit TGridColumnCollection(TQrlColumnGrid *AOwner);
    ~TGridColumnCollection();
    TGridColumnCollection(const TGridColumnCollection &) = delete;
    TGridColumnCollection &operator=(const TGridColumnCollection &) = delete;

    TQrlColumnGrid *GetOwner() const { return FOwner; }
    int Count() const { return static_cast<int>(m_items.size()); }
    // EQrlGridError "List index out of bounds (i)" outside 0 .. Count - 1.
    TGridColumnItem *Items(int Index) const;
    TGridColumnItem *GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, const TGridColumnItem *Value);

    // A new last item; from the second item on it takes the visuals of the one before.
    TGridColumnItem *Add();
    // A new item with the default values at Index.
    TGridColumnItem *Insert(int Index);
    void Delete(int Index);
    void Clear();
    // Makes this collection hold a copy of every item of Source, item by item with Assign.
    void Assign(const TGridColumnCollection &Source);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }
    // Set while the grid fits the item count to its columns: the update step then leaves the
    // column count alone.
    bool NoRecursiveUpdate() const { return FNoRecursiveUpdate; }
    void SetNoRecursiveUpdate(bool Value) { FNoRecursiveUpdate = Value; }

    // Fits the item count to the grid, then every item's default index becomes its position.
    void SetOrganization();
    // Moves the grid's columns until every item stands at its default index.
    void ResetOrganization();

    // The update step after an item was added, inserted, deleted or changed.
    void Update(TGridColumnItem *Item);

private:
    friend class TGridColumnItem;
    void renumber(int from);
    void changed() { Update(nullptr); }

    TQrlColumnGrid *FOwner = nullptr;
    bool FNoRecursiveUpdate = false;
    int m_updateCount = 0;
    std::vector<std::unique_ptr<TGridColumnItem>> m_items;
};
