// Types shared by the platform string grid and the code built on it: options, draw states,
// input states, cell coordinates and the grid's error kind.
#pragma once

#include "platform/TSet.h"

#include <QEvent>
#include <QString>

class QKeyEvent;

#include <stdexcept>

namespace plat {

// The grid's own error kind: range and fixed-count violations.
class EGridError : public std::runtime_error
{
public:
    explicit EGridError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

inline const char *const SGridIndexOutOfRange = "Grid index out of range";
inline const char *const SFixedRowTooBig = "Fixed row count must be less than row count";
inline const char *const SFixedColTooBig = "Fixed column count must be less than column count";

enum class TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking,
    goFixedColClick,
    goFixedRowClick,
    goFixedHotTrack,
};
using TGridOptions = TSet<TGridOption>;

enum class TGridDrawStateItem {
    gdSelected,
    gdFocused,
    gdFixed,
    gdRowSelected,
    gdHotTrack,
    gdPressed
};
using TGridDrawState = TSet<TGridDrawStateItem>;

// What the mouse is doing with the grid between a press and the release.
enum class TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Scroll-bar actions as the grid's scroll messages carry them.
enum class TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition, // thumb released at Pos
    scTrack,    // thumb dragged to Pos
    scTop,
    scBottom,
    scEndScroll,
};

struct TGridCoord
{
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord &, const TGridCoord &) = default;
};

// Cell rectangle with inclusive bounds (Right and Bottom are the last column and row).
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int col, int row) const
    {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    // Left <= Right and Top <= Bottom, whichever corner the rectangle was spanned from.
    TGridRect Normalized() const
    {
        return {Left < Right ? Left : Right, Top < Bottom ? Top : Bottom,
                Left < Right ? Right : Left, Top < Bottom ? Bottom : Top};
    }
    friend bool operator==(const TGridRect &, const TGridRect &) = default;
};

// The normalised rectangle spanned by two cells.
inline TGridRect GridRectFromCoords(TGridCoord a, TGridCoord b)
{
    return {a.X < b.X ? a.X : b.X, a.Y < b.Y ? a.Y : b.Y, a.X > b.X ? a.X : b.X,
            a.Y > b.Y ? a.Y : b.Y};
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = {});

// The character a key press types, as the platform's character message carried it: control
// characters for Enter (13; 10 with Ctrl), Esc, Tab, Backspace and Ctrl+letter; none for Delete
// and keys without text. False when the key types nothing.
bool KeyCharOf(const QKeyEvent *e, QChar &ch);

// The character phase of a key press (what a character message was): sent after the key-down
// phase whenever the key produced text. Carries the text of the QKeyEvent it came from.
QEvent::Type CharEventType();

// A scroll-bar action of the grid, sent through the grid's message layer before the grid scrolls.
class TGridScrollEvent : public QEvent
{
public:
    TGridScrollEvent(Qt::Orientation bar, TScrollCode code, int pos)
        : QEvent(Type()), Bar(bar), Code(code), Pos(pos)
    {}
    static QEvent::Type Type();

    Qt::Orientation Bar;
    TScrollCode Code;
    // Thumb position for scPosition/scTrack: the first scrollable line shown, counted from the
    // first non-fixed line (TopRow - FixedRows, LeftCol - FixedCols).
    int Pos;
};

} // namespace plat
