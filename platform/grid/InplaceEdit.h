// The text editor that a platform string grid shows over its current cell. The grid creates one
// on first use (through its CreateEditor hook), keeps it, and moves it from cell to cell.
//
// Input runs in two layers as in the grid: HandleMessage sees every event first and may consume
// it; otherwise DefaultProcessing runs, which calls KeyDown / KeyPress / KeyUp and then the line
// edit's own editing (other events go straight to the line edit). A key press arrives in a
// key-down phase and, when it types a character, a character phase (CharEventType()). Navigation
// keys that belong to the grid are handed to the grid's KeyDown.
#pragma once

#include "platform/grid/GridTypes.h"

#include <QLineEdit>

namespace plat {

class TPlatformStringGrid;

class TInplaceEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TInplaceEdit(TPlatformStringGrid *grid);
    ~TInplaceEdit() override;

    TPlatformStringGrid *Grid() const { return m_grid; }

    QString Text() const { return text(); }
    void SetText(const QString &value);
    void SelectAll() { selectAll(); }
    void Deselect() { deselect(); }
    int SelStart() const;
    void SetSelStart(int pos);
    int SelLength() const;
    void SetSelLength(int length);
    bool Modified() const { return isModified(); }
    void SetModified(bool value) { setModified(value); }
    // Characters the user may type; 0 means no limit. A text set by code is never cut to it.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int value);
    QString EditMask() const { return inputMask(); }
    void SetEditMask(const QString &mask);

    // The cell the editor shows, (-1, -1) before the first.
    int EditCol() const { return m_col; }
    int EditRow() const { return m_row; }

    // Runs the platform processing of an event that HandleMessage let through (or that an
    // override wants processed before its own steps).
    bool DefaultProcessing(QEvent *e);

protected:
    // Message layer: return true to consume the event; the platform processing then does not run.
    virtual bool HandleMessage(QEvent *e);

    virtual void KeyDown(int &Key, TShiftState Shift);
    virtual void KeyPress(QChar &Key);
    virtual void KeyUp(int &Key, TShiftState Shift);
    // The editor takes the grid's current cell: text, mask and length limit come from the grid's
    // hooks, the whole text is selected.
    virtual void UpdateContents();
    // After the grid placed the editor over its cell.
    virtual void BoundsChanged() {}

    bool event(QEvent *e) override;

private:
    friend class TPlatformStringGrid;

    TPlatformStringGrid *m_grid;
    int m_col = -1;
    int m_row = -1;
    int m_maxLength = 0;
    QString m_originalText;   // the cell's text when the editor took it
    bool m_startChar = false; // the character being typed is the one that opened the editor
};

} // namespace plat
