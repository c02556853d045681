// Undo and redo of cell text changes of one grid, singly or as sequences bracketed by markers.
//
// The component only records; the grid registers each change it makes (check-box toggles,
// committed edits, cut and paste) and the component writes texts back through IGridUndoTarget.
#pragma once

#include <QString>

#include <functional>
#include <vector>

// What undo and redo need of a grid. The grid implements it (cell text through its merged-cell
// aware accessors, display column of a real column, moving the current cell, repainting).
class IGridUndoTarget
{
public:
    virtual ~IGridUndoTarget() = default;

    // The cell's display text (GetCellEx) and its write (SetCellEx).
    virtual QString UndoGetCell(int ACol, int ARow) const = 0;
    virtual void UndoSetCell(int ACol, int ARow, const QString &Value) = 0;
    virtual int UndoDisplColIndex(int ACol) const = 0;
    virtual int UndoCurrentCol() const = 0;
    // Makes (ACol = display column, ARow) the current cell.
    virtual void UndoFocusCell(int ACol, int ARow) = 0;
    virtual void UndoRepaintCell(int ACol, int ARow) = 0;
    virtual void UndoInvalidate() = 0;
};

// One recorded change, or a sequence marker (Col and Row -1, empty texts).
struct TUndoRedoItem
{
    int Row = -1;
    int Col = -1;
    QString Value;     // the new text, written by redo
    QString OrigValue; // the old text, written by undo
    bool SequenceStart = false;
    bool SequenceStop = false;

    bool IsMarker() const { return SequenceStart || SequenceStop; }
};

// The items in registration order, oldest first.
class TUndoRedoCollection
{
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    const TUndoRedoItem &Items(int Index) const
    {
        return m_items.at(static_cast<std::size_t>(Index));
    }
    void Add(const TUndoRedoItem &Item) { m_items.push_back(Item); }
    void Delete(int Index) { m_items.erase(m_items.begin() + Index); }
    void Clear() { m_items.clear(); }

private:
    std::vector<TUndoRedoItem> m_items;
};

class TQrlGridUndoRedo;

// Fired once per cell just before the cell is written back: OrigValue is the cell's current
// display text, NewValue the text about to be written.
using TQrlGridUndoRedoEvent = std::function<void(TQrlGridUndoRedo *Sender,
                                                 IGridUndoTarget *Grid,
                                                 int Col,
                                                 int Row,
                                                 const QString &OrigValue,
                                                 const QString &NewValue)>;

class TQrlGridUndoRedo
{
public:
    TQrlGridUndoRedo() = default;
    TQrlGridUndoRedo(const TQrlGridUndoRedo &) = delete;
    TQrlGridUndoRedo &operator=(const TQrlGridUndoRedo &) = delete;
    virtual ~TQrlGridUndoRedo() = default;

    // Records a change the caller made or is about to make. With MaxLevel reached the oldest
    // item goes. Items undone before stay below the new one.
    virtual void
    RegisterChange(int ACol, int ARow, const QString &OldValue, const QString &NewValue);
    // One undo or redo step covers every change registered between the two.
    virtual void StartSequence();
    virtual void StopSequence();

    void Undo();
    void Redo();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems.Count(); }
    void Reset();

    const TUndoRedoCollection &Items() const { return FItems; }
    IGridUndoTarget *Grid() const { return FGrid; }
    // Set by the grid's UndoRedo setter; not owned.
    void SetGrid(IGridUndoTarget *Value) { FGrid = Value; }
    // The grid calls this when it goes away.
    void Notification(const IGridUndoTarget *Removed);
    // Number of items, from the oldest, currently applied.
    int Level() const { return FLevel; }
    // Most items kept; 0 or less: no limit.
    int MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int Value) { FMaxLevel = Value; }

    TQrlGridUndoRedoEvent OnUndo;
    TQrlGridUndoRedoEvent OnRedo;

private:
    void addMarker(bool start);
    void writeBack(TUndoRedoItem item, bool undo);

    TUndoRedoCollection FItems;
    IGridUndoTarget *FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};
