// The string grid's editing state: the editors, the edit in progress, and what the mouse, hover
// and key handling keep between events.
#pragma once

#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/editing/IGridEditorHost.h"

#include <QPointer>

#include <array>
#include <bitset>
#include <memory>

struct TStringGridEditingState
{
    // The last edit's validation passed; a refused one clears it until the next editor shows.
    bool lastValidation = true;
    // The fixed cell whose button a press holds down; {-1, -1} for none.
    plat::TGridCoord pushedCellButton{-1, -1};

    // Set while an editor hands the focus back to the grid: the grid's enter does nothing.
    bool blockFocus = false;
    // Set while a special editor's value is applied: the grid's exit does nothing.
    bool blockKill = false;
    // The kind of editor the current edit uses.
    TEditorType editControl = TEditorType::edNormal;
    // The cell's text when the edit began; Escape puts it back.
    QString cellCache;

    // --- the edit in progress (the model reads it through EditMode(), Editing(), ...) ---
    // An editor of either kind is open.
    bool editMode = false;
    // A text was taken into the editor and not yet validated.
    bool editing = false;
    bool specialEditor = false;
    bool editActive = false;
    bool validating = false;
    QString editText;
    QString editWideText;
    int oldCol = -1;
    int oldRow = -1;
    QString oldCellText;
    QString oldCellTextWide;
    bool oldModifiedValue = false;
    QString newCellText;
    bool editChange = false;
    bool noEditChange = false;
    bool showEditProcess = false;
    // A mouse press is starting an edit: editor changes are not yet written through.
    bool editStart = false;
    int comboIdx = -1;
    int maxComboLength = 0;
    bool forceSel = false;
    bool spinUpClick = false;
    bool spinDnClick = false;
    double originalDateTime = 0;
    bool gridModified = false;
    // The editor was opened by a left click.
    bool lButFlg = false;
    // The special editor's control while one is shown.
    QPointer<QWidget> editCtrl;
    // The cell (display column, row) the special editor was shown over; its value goes there.
    plat::TGridCoord editCell{-1, -1};
    // --- editing core: properties ---
    bool alwaysValidate = false;
    bool editWithTags = false;
    bool modified = false;

    // The combo's text or selection is being set by the grid, not by the user.
    bool comboFilling = false;
    // An editor's validation refused its text: the grid does not advance. The combo clears it
    // on every key-up.
    bool noAutoAdvance = false;

    // --- mouse wheel and panning (grid/editing/QrlStringGrid_wheel.cpp) ---
    TIntelliPan intelliPan = TIntelliPan::ipVertical;
    // Wheel delta short of a whole notch (wheels that step finer than one notch).
    int wheelDelta = 0;

    // --- text inplace editor (grid/editing/QrlStringGrid_editor.cpp) ---
    QString editMask;
    bool lookup = false;
    bool lookupCaseSensitive = false;
    bool lookupHistory = false;
    QString validChars;
    std::bitset<256> validCharSet;
    bool excelStyleDecimalSeparator = false;

    // Mouse presses and releases (grid/editing/QrlStringGrid_mouse.cpp, _mouseup.cpp).
    struct TMouse
    {
        // Set on every left press; the release clears them.
        bool doOnClick = false;
        bool mouseDownMove = false;
        bool mouseKeepDown = false;
        // A disjunct row or column selection started without Ctrl.
        bool mouseDown = false;
        // The press hit a flagged disjunct row or column: the release unflags it.
        bool deselectState = false;
        bool selectionClick = false;
        bool mouseResize = false;
        plat::TGridRect dropSelection{-1, -1, -1, -1};
        // FixedAsButtons: fixed cells push down like buttons; URLEdit: a right click edits a URL.
        bool fixedAsButtons = false;
        bool urlEdit = false;
        // A fixed cell's button is held down (pushedCellButton).
        bool fixedCellPushed = false;
        TRect pushedFixedCell{};
        // A mini-HTML BUTTON control held down, and its cell.
        bool ctrlDown = false;
        TPoint ctrlXY{-1, -1};
        int clickPosX = -1;
        int clickPosY = -1;
        int clickPosDX = 0;
        int clickPosDY = 0;
        // The column (press in a fixed row) or row (press in a fixed column) a move would take.
        int moveCell = -1;
        int moveOfsX = 0;
        int moveOfsY = 0;
        int moveColInd = -1;
        int moveRowInd = -1;
        bool sizingFixed = false;
        int sizingFixedCol = -1;
        int sizeFixedX = 0;
        bool sizingFixedR = false;
        int sizingFixedRow = -1;
        int sizeFixedY = 0;
        // A double click just sized a column: the next release does not sort.
        bool dblClk = false;
        int oldKeepLeftCol = -1;
        int oldTopRow = -1;
        int mouseSelectStart = -1;
        // A press or release from the window is being delivered (not one the grid's code sends).
        bool mouseMessage = false;
        // The last left press point; a double click arrives after a press at the same point.
        TPoint lastPress{-1, -1};
    };
    TMouse mouse;

    // Hover, sizing and moving (grid/editing/QrlStringGrid_hover.cpp).
    struct THover
    {
        bool hintShowSizing = false;
        bool oleDropSource = false;
        bool oleColumnsOnly = false;
        // Hot fixed cell of the list-view look; cell whose button or expand glyph is under the
        // mouse.
        plat::TGridCoord hotFixedCell{-1, -1};
        plat::TGridCoord hoverButton{-1, -1};
        // The anchor entered last (its hint is recorded with the cell hints).
        QString anchor;
        plat::TGridCoord lastBalloonPos{-1, -1};
        // The selection last painted as a rectangle.
        plat::TGridRect sizeSelection{-1, -1, -1, -1};
        // The pointer is over the selection resizer.
        bool resizerHover = false;
        // The sizing hint shows; the release takes it away.
        bool sizingHintShow = false;
        // OnColumnMoving / OnRowMoving refused the target under the pointer: the drop is refused.
        bool moveRefused = false;
        // A move of a synchronised grid is being passed on: it is not passed back.
        bool syncMoving = false;
        // The header shown at the pointer while a column or row moves (the target arrows are with
        // the display's state). A child of the grid, made on first use.
        QPointer<QWidget> moveButton;
    };
    THover hover;

    // Keyboard navigation and the Tab walk (grid/editing/QrlStringGrid_keys.cpp, _tab.cpp).
    struct TKeys
    {
        // The cell the Tab walk left last.
        int lastTabCol = -1;
        int lastTabRow = -1;
        // The normalised selection the key-down handler saw; Left < 0 until it records one.
        plat::TGridRect keyDownSelection{-1, -1, -1, -1};

        // The selection when the last key arrived, updated when the key-down handler reports a
        // change (keyDownSelection above follows it, normalised, for the key-up handler).
        plat::TGridRect moveSelection{-1, -1, -1, -1};
        // The current cell before the framework's key processing; the edge wrap reads it.
        plat::TGridCoord lastKeyCell{-1, -1};
        // The key message waiting for its steps after the framework's processing.
        struct TKeyMessage
        {
            bool pending = false;
            int key = 0;
            plat::TShiftState shift;
            int leftCol = -1;
            bool keepLeft = false;
        };
        TKeyMessage keyMessage;
    };
    TKeys keys;

    // The editors' view of this state; made with the first editor, and outlives them.
    std::unique_ptr<IGridEditorHost> editorHost;

    // --- combo and lazily created editors: last, so they go first; the editors' focus
    // handling reads the rest of this state ---
    // Deletes its control with this state, before the widget tears its children down, and cuts
    // the control's signals first so none reaches a grid that is going away.
    struct TOwnedControl
    {
        QPointer<QWidget> ptr;
        TOwnedControl() = default;
        TOwnedControl(const TOwnedControl &) = delete;
        TOwnedControl &operator=(const TOwnedControl &) = delete;
        ~TOwnedControl()
        {
            if (ptr) {
                ptr->disconnect();
                delete ptr.data();
            }
        }
    };
    TOwnedControl editCombo;
    TOwnedControl editSpin;
    TOwnedControl editCheck;
    TOwnedControl editDate;
    TOwnedControl editDateTime;
    TOwnedControl richEdit;
    TOwnedControl inplaceRichEdit;
    // Pan mode: its marker widget, which also keeps the pan timer; made on the first pan.
    TOwnedControl wheelPan;
    // The single-line and the multi-line text editor, made on first use. Deleted before the rest
    // of this state goes: their focus handling reads it.
    struct TTextEditors
    {
        plat::TGridEditor *line = nullptr;
        plat::TGridEditor *memo = nullptr;
        TTextEditors() = default;
        TTextEditors(const TTextEditors &) = delete;
        TTextEditors &operator=(const TTextEditors &) = delete;
        ~TTextEditors();
    };
    TTextEditors textEditors;
};
