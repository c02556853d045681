#include "grid/model/QrlUndo.h"

void TQrlGridUndoRedo::RegisterChange(int ACol,
                                      int ARow,
                                      const QString &OldValue,
                                      const QString &NewValue)
{
    if (FMaxLevel > 0 && FItems.Count() >= FMaxLevel)
        FItems.Delete(0);
    TUndoRedoItem item;
    item.Col = ACol;
    item.Row = ARow;
    item.Value = NewValue;
    item.OrigValue = OldValue;
    FItems.Add(item);
    FLevel = FItems.Count();
}

void TQrlGridUndoRedo::addMarker(bool start)
{
    TUndoRedoItem item;
    item.SequenceStart = start;
    item.SequenceStop = !start;
    FItems.Add(item);
    FLevel = FItems.Count();
}

void TQrlGridUndoRedo::StartSequence()
{
    addMarker(true);
}

void TQrlGridUndoRedo::StopSequence()
{
    addMarker(false);
}

void TQrlGridUndoRedo::writeBack(TUndoRedoItem item, bool undo)
{
    // A copy: an event handler may register changes while the item is written.
    // A marker met outside its pair names no cell.
    if (item.IsMarker())
        return;
    const QString &text = undo ? item.OrigValue : item.Value;
    const TQrlGridUndoRedoEvent &event = undo ? OnUndo : OnRedo;
    if (event)
        event(this, FGrid, item.Col, item.Row, FGrid->UndoGetCell(item.Col, item.Row), text);
    FGrid->UndoSetCell(item.Col, item.Row, text);
    FGrid->UndoFocusCell(FGrid->UndoDisplColIndex(item.Col), item.Row);
}

void TQrlGridUndoRedo::Undo()
{
    if (!FGrid || FLevel <= 0 || FLevel > FItems.Count())
        return;
    if (FItems.Items(FLevel - 1).SequenceStop) {
        --FLevel;
        // Newest first, down to the start marker.
        while (FLevel > 0 && !FItems.Items(FLevel - 1).SequenceStart) {
            writeBack(FItems.Items(FLevel - 1), true);
            --FLevel;
        }
        if (FLevel > 0)
            --FLevel;
        FGrid->UndoInvalidate();
        return;
    }
    const TUndoRedoItem item = FItems.Items(FLevel - 1);
    writeBack(item, true);
    if (!item.IsMarker())
        FGrid->UndoRepaintCell(FGrid->UndoCurrentCol(), item.Row);
    --FLevel;
}

void TQrlGridUndoRedo::Redo()
{
    if (!FGrid || FLevel < 0 || FLevel >= FItems.Count())
        return;
    ++FLevel;
    if (FItems.Items(FLevel - 1).SequenceStart) {
        // Oldest first, up to the stop marker, and past it. A sequence without its stop marker
        // is redone to its last item.
        while (FLevel < FItems.Count() && !FItems.Items(FLevel).SequenceStop) {
            writeBack(FItems.Items(FLevel), false);
            ++FLevel;
        }
        if (FLevel < FItems.Count())
            ++FLevel;
        FGrid->UndoInvalidate();
        return;
    }
    writeBack(FItems.Items(FLevel - 1), false);
}

void TQrlGridUndoRedo::Reset()
{
    FItems.Clear();
    FLevel = 0;
}

void TQrlGridUndoRedo::Notification(const IGridUndoTarget *Removed)
{
    if (Removed && Removed == FGrid)
        FGrid = nullptr;
}
