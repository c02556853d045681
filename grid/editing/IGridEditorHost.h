// What a cell editor (the text editor, the combo) needs of the grid's edit in progress, so that
// neither reaches into the grid's state and tests can stand a fake in for the grid.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "platform/grid/GridTypes.h"

#include <QString>
#include <QStringList>

enum class TEditorType;

class IGridEditorHost
{
public:
    virtual ~IGridEditorHost() = default;

    // The grid is not being torn down: an editor may still call it.
    virtual bool HostAlive() const = 0;

    // --- the edit in progress ---
    // An editor of either kind is open.
    virtual bool EditMode() const = 0;
    // A text was taken into the editor and not yet validated.
    virtual void SetEditing(bool Value) = 0;
    // The editor closed by itself (focus left the grid): no edit and no editor any more.
    virtual void EditEnded() = 0;
    virtual TEditorType EditorKind() const = 0;
    // A mouse press is starting the edit: changes are not yet written through.
    virtual bool EditStarting() const = 0;
    // Typed text is written through to the cell while typing.
    virtual bool ShowEditProcess() const = 0;
    // Text changes are not reported as edits (the editor is being loaded).
    virtual bool NoEditChange() const = 0;
    virtual void SetNoEditChange(bool Value) = 0;
    // The editor was opened by a left click; the caret goes where the click was, once.
    virtual bool OpenedByClick() const = 0;
    virtual void ClearOpenedByClick() = 0;
    // A special editor's value is being applied: the combo does not commit on leaving.
    virtual bool KillBlocked() const = 0;
    // Forget the character typed to open the editor.
    virtual void ClearStartEditChar() = 0;
    // The cell (display column, row) the special editor was shown over.
    virtual plat::TGridCoord EditCell() const = 0;

    // --- texts, validation and commit ---
    // The text validation left (possibly changed by the handler).
    virtual QString NewCellText() const = 0;
    // The text the cell had before the edit.
    virtual QString OldCellText() const = 0;
    virtual void SetOldCellText(const QString &Value) = 0;
    // The cell's text when the edit began; Escape puts it back.
    virtual QString CachedCellText() const = 0;
    // Runs the validation on Text; false when it was refused.
    virtual bool ValidateCell(const QString &Text) = 0;
    // Set while the editor writes its text into the cell.
    virtual bool Validating() const = 0;
    virtual void SetValidating(bool Value) = 0;
    // The longest text the current cell takes; 0 for no limit.
    virtual int EditLimit() = 0;
    // Commits the editor's text and hides the editor.
    virtual void HideEditor() = 0;
    // A refused validation: the grid does not advance after the key.
    virtual void SetNoAutoAdvance(bool Value) = 0;

    // --- entry checks and lookup ---
    // The characters a valid-chars cell accepts; empty when the character set decides.
    virtual QString ValidChars() const = 0;
    virtual bool ValidCharCode(int Code) const = 0;
    // The keypad's decimal key types the locale's separator.
    virtual bool ExcelStyleDecimalSeparator() const = 0;
    virtual bool Lookup() const = 0;
    virtual bool LookupCaseSensitive() const = 0;
    virtual bool LookupHistory() const = 0;
    virtual QStringList LookupItems() const = 0;
    virtual void AddLookupItem(const QString &Item) = 0;

    // --- the combo ---
    // The combo's text or selection is being set by the grid, not by the user: its change
    // signals are no edits.
    virtual bool ComboFilling() const = 0;
    virtual void SetComboFilling(bool Value) = 0;

    // --- cell rectangle and key forwarding ---
    virtual TRect CellRect(int ACol, int ARow) const = 0;
    // A key the editor does not use goes to the grid's key-down handling.
    virtual void ForwardKeyDown(int &Key, plat::TShiftState Shift) = 0;
};

// Sets one of the host's flags for a scope and puts the old value back.
class THostFlagScope
{
public:
    using Getter = bool (IGridEditorHost::*)() const;
    using Setter = void (IGridEditorHost::*)(bool);
    THostFlagScope(IGridEditorHost &host, Getter get, Setter set, bool value)
        : m_host(host), m_set(set), m_old((host.*get)())
    {
        (m_host.*m_set)(value);
    }
    ~THostFlagScope() { (m_host.*m_set)(m_old); }
    THostFlagScope(const THostFlagScope &) = delete;
    THostFlagScope &operator=(const THostFlagScope &) = delete;

private:
    IGridEditorHost &m_host;
    Setter m_set;
    bool m_old;
};
