// What the grid library sets up once per process before any grid exists, and undoes at exit:
// the visual-styles bindings, the registered clipboard format and window messages, the flags
// the editing and HTML code read, and the watch that keeps a grid's focus frame on its cell
// while the top-level window moves.
#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QEvent>
#include <QString>

class QWidget;
namespace plat {
class TPlatformStringGrid;
}

// Registered names shared with the exchange and editing code.
inline const QString kGridCellsFormatName = QStringLiteral("TQrlStringGrid Cells");
inline const QString kGridEditDoneName = QStringLiteral("GridEditDone");
inline const QString kDTPShiftFocusName = QStringLiteral("DTPShiftFocus");

// The lowest common-controls file version (major << 16 | minor) whose date editors the grid
// commits through.
inline constexpr int kComCtlMinVersionMS = 0x00040046;

// Drag-and-drop format numbers; the drag-and-drop service fills them when it first needs them.
struct TDragDropFormats
{
    int RichTextFormat = 0;
    int GridColumnFormat = 0;
    int GridCellsFormat = 0;
    bool Active = false;
};

// Runs the library's start once; every accessor below reaches it first, so callers never
// depend on who came first. After QrlGridFinalize the next reach starts again.
void QrlGridStartup();
// Removes the window watch and frees the visual-styles bindings; runs by itself when the
// application object goes, and does nothing a second time.
void QrlGridFinalize();
bool QrlGridStarted();

// The registered clipboard format number and its name as a clipboard MIME type.
int CF_GRIDCELLS();
QString GridCellsMimeType();
// Posted by a grid to itself when cell editing ends (column, row).
QEvent::Type WM_GRIDEDITDONE();
// Posted by a date editor to itself after a digit key; the date-picker module and the grid
// register the same name and so share the number.
QEvent::Type WM_DTPSHIFTFOCUS();

// The mini-HTML engine draws themed elements only with this set.
bool ThemedHTMLEnabled();
// The date and time editors commit (and an unchecked date picker empties its cell) only with
// this set.
bool CommonControlsOK();
// The common-controls flag for a file version as FileVersionMS answers it (-1: none).
bool CommonControlsOKForVersion(int VersionMS);
TDragDropFormats &DragDropFormats();

// The grid whose focus frame is shown, with that frame. Only one grid at a time; setting
// another replaces it. Clearing names the grid so that a grid hiding its frame late does not
// take the frame of the grid that showed one since.
void SetFocusWindowGrid(plat::TPlatformStringGrid *Grid, QWidget *FocusWindow);
void ClearFocusWindowGrid(plat::TPlatformStringGrid *Grid);
plat::TPlatformStringGrid *FocusWindowGrid();
// True while the window watch exists (from start to finalisation).
bool GridWindowWatchInstalled();
// Places the focus frame around the focus-window grid's current cell: the cell's screen
// rectangle from 4 pixels left and above, 9 pixels wider and higher. Nothing without a grid.
void PlaceFocusWindow();

// The most significant 32 bits of a file's fixed version information (major << 16 | minor), or
// -1 when the file cannot be read, has no version block or its signature is not 0xFEEF04BD.
int FileVersionMS(const QString &FileName);
// The same from the file's bytes: -1 without a version block whose fixed part is whole.
int FileVersionMSFromData(QByteArrayView Data);

// Mouse input passes through the window to what lies beneath.
void SetWindowTransparent(QWidget *Window);

// The regional settings in force at the call.
QChar GetTimeSeparator();
QChar GetDateSeparator();
QChar GetThousandSeparator();
QChar GetDecimalSeparator();
QString GetShortDateFormat();
QString GetShortTimeFormat();
QString GetLongTimeFormat();
