// The interface through which a platform string grid hosts its cell editors, whatever widget
// they are (a line edit, a multi-line text box, later combo, spin and check boxes). The grid
// keeps placement, committing and focus in one place for every kind; an editor only edits.
//
// An editor made with a grid belongs to that grid: the grid deletes it when it is destroyed, and
// an editor deleted earlier unregisters itself. Its widget is a child of the grid's viewport.
//
// Input runs in two layers as in the grid: HandleMessage sees every event of the widget first
// and may consume it; otherwise DefaultProcessing runs, which calls KeyDown / KeyPress / KeyUp and
// then the widget's own editing (other events go straight to the widget). A key press arrives in
// a key-down phase and, when it types a character, a character phase (CharEventType()). Keys
// that belong to the grid (navigation, Enter, Tab with goTabs) are handed to the grid's hooks.
#pragma once

#include "platform/grid/GridTypes.h"

#include <QString>

class QEvent;
class QWidget;

namespace plat {

class TPlatformStringGrid;

class TGridEditor
{
public:
    explicit TGridEditor(TPlatformStringGrid *grid);
    virtual ~TGridEditor();
    TGridEditor(const TGridEditor &) = delete;
    TGridEditor &operator=(const TGridEditor &) = delete;

    TPlatformStringGrid *Grid() const { return m_grid; }
    // The widget the grid places over the cell.
    virtual QWidget *Widget() = 0;

    // The text with its line breaks as the cell stores them.
    virtual QString Text() const = 0;
    virtual void SetText(const QString &value) = 0;
    // Selection in characters of Text(); SelStart is the caret when nothing is selected.
    virtual int SelStart() const = 0;
    virtual void SetSelStart(int pos) = 0;
    virtual int SelLength() const = 0;
    virtual void SetSelLength(int length) = 0;
    virtual void SelectAll() = 0;
    virtual bool Modified() const = 0;
    virtual void SetModified(bool value) = 0;
    // Characters the user may type; 0 means no limit. A text set by code is never cut to it.
    virtual int MaxLength() const = 0;
    virtual void SetMaxLength(int value) = 0;
    virtual QString EditMask() const = 0;
    virtual void SetEditMask(const QString &mask) = 0;

    // The cell the editor shows, (-1, -1) before the first.
    int EditCol() const { return m_col; }
    int EditRow() const { return m_row; }

    // Runs the platform processing of an event that HandleMessage let through (or that an
    // override wants processed before its own steps).
    bool DefaultProcessing(QEvent *e);

protected:
    // Message layer: return true to consume the event; the platform processing then does not run.
    virtual bool HandleMessage(QEvent *e);

    // Hands navigation keys to the grid: Up, Down, PageUp, PageDown (unless the caret can move
    // that way inside the text), Ctrl with Left, Right, Home, End, Left/Right at the ends of the
    // text with goAlwaysShowEditor, and Tab with goTabs.
    virtual void KeyDown(int &Key, TShiftState Shift);
    // The grid sees every character first (Enter closes the editor there); Enter and Tab are not
    // typed, Esc gives the cell its text back and leaves editing.
    virtual void KeyPress(QChar &Key);
    virtual void KeyUp(int &Key, TShiftState Shift);
    // The editor takes the grid's current cell: text, mask and length limit come from the grid's
    // hooks, the whole text is selected.
    virtual void UpdateContents();
    // After the grid placed the editor over its cell.
    virtual void BoundsChanged() {}

    // Whether Key (Up, Down, PageUp, PageDown) moves the caret inside the text rather than the
    // grid's cursor. A single line never does.
    virtual bool CaretMovesInside(int Key) const;
    // Whether the editor takes a plain Tab itself rather than leaving it to the dialog's focus
    // chain: with goTabs unless overridden.
    virtual bool WantsTabKey() const;
    // The widget's own processing of an event (its Qt base class's event()).
    virtual bool WidgetEvent(QEvent *e) = 0;

    // The widget's event() calls this: the message layer and the two phases of a key press.
    bool RouteEvent(QEvent *e);
    // The cell's text when the editor took it.
    const QString &OriginalText() const { return m_originalText; }
    // The character being typed is the one that opened the editor (the grid saw it already).
    bool StartChar() const { return m_startChar; }

private:
    friend class TPlatformStringGrid;

    TPlatformStringGrid *m_grid;
    int m_col = -1;
    int m_row = -1;
    QString m_originalText;
    bool m_startChar = false;
};

} // namespace plat
