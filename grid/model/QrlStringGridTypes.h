// The string grid's own enumerations and small value types: scroll bars, drags, hints, mouse
// selection, the export and import steps, and the selection listener a grid can keep.
//
// Enumerations keep their declaration order (the first value is 0); never reorder them.
#pragma once

#include "grid/model/QrlGridTypes.h"

enum class TSearchFooterAction { saFindFirst, saFindPrevious, saFindNext };
enum class TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum class TScrollBarAlways { saNone, saVert, saHorz, saBoth };
// Which thumb drags show the row or column in a hint.
enum class TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
// The directions the drag-over timer scrolls in.
enum class TDragScrollDir { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TSet<TDragScrollDir>;
// The phase of a drag over the grid.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// A component the grid refers to is being added or removed.
enum class TOperation { opInsert, opRemove };
// Range, page and position of a scroll bar as the grid writes them (the proportional thumb).
struct TScrollInfo
{
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
};
enum class TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum class THintShowLargeTextPos { hpCell, hpMouse, hpCursor = hpMouse };
enum class TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
// Which fixed cells light up under the mouse.
enum class THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
// The directions the middle button's pan mode follows; ipNone switches it off.
enum class TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };

// The steps the file, clipboard and export code report to a descendant.
enum class TGridExportState {
    esExportStart,
    esExportNewRow,
    esExportDone,
    esExportSelRow,
    esExportFail,
    esExportNextRow
};
enum class TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };

// A selection listener registered with a grid; the grid keeps one at a time and shares its
// ownership with the caller.
class ITQrlStringGridSelect
{
public:
    virtual ~ITQrlStringGridSelect() = default;
};
