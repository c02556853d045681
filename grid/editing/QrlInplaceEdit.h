// The text editor the string grid shows over a cell of a text kind. TQrlInplaceEdit holds what
// the editor does (character filters per editor kind, validation when the cell is left, clipboard
// events, lookup completion, cursor walking); the platform widget beneath is a line edit for
// single-line cells and a plain-text box for word-wrapped or multi-line cells. TQrlInplaceEditor
// joins the two, so both widget kinds run the same steps.
#pragma once

#include "platform/grid/GridTypes.h"
#include "platform/grid/InplaceEdit.h"
#include "platform/grid/InplaceMemo.h"

#include <QString>

#include <cstdint>

class QEvent;
class QKeyEvent;
class QMargins;
class QMenu;
class QWidget;
class TQrlStringGrid;
class IGridEditorHost;
enum class TEditorType;

class TQrlInplaceEdit
{
public:
    virtual ~TQrlInplaceEdit();
    TQrlInplaceEdit(const TQrlInplaceEdit &) = delete;
    TQrlInplaceEdit &operator=(const TQrlInplaceEdit &) = delete;

    TQrlStringGrid *Grid() const { return FGrid; }
    plat::TGridEditor *Editor() const { return m_editor; }
    QWidget *Widget() const;
    virtual bool IsMultiLine() const = 0;

    QString Text() const;
    void SetText(const QString &value);

    // The text is right-aligned.
    bool VAlign() const { return FValign; }
    void SetVAlign(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    // Lookup completion: the item of LookupItems that begins with the text up to the caret
    // completes it, the completed part selected.
    void DoChange();

    // The clipboard operations, with the grid's clipboard events and the paste rule of the cell's
    // editor kind.
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // The cell whose contents the editor took last (display column, row).
    int ColE() const { return FColE; }
    int RowE() const { return FRowE; }
    int LengthLimit() const { return FLengthLimit; }
    bool AltBack() const { return FAltBack; }

protected:
    // The host carries the edit in progress; the grid passes its own.
    TQrlInplaceEdit(TQrlStringGrid *grid, IGridEditorHost *host, plat::TGridEditor *editor);

    // Steps over the platform editor's layers; the widget kinds call them from their overrides.
    bool handleMessage(QEvent *e);
    void keyDownHook(int &Key, plat::TShiftState Shift);
    void keyPressHook(QChar &Key);
    void keyUpHook(int &Key, plat::TShiftState Shift);
    void updateContents();
    // After the platform placed the editor: over the cell less its grid lines.
    void boundsChanged();
    void textChanged();
    void dblClicked();
    void contextMenu(const QPoint &globalPos);
    // False once the grid is being destroyed: its state is no longer there to be read.
    bool gridAlive() const;

    // What the widget kinds provide: the platform editor's own steps and the widget's looks.
    virtual bool baseProcessing(QEvent *e) = 0;
    virtual void baseKeyDown(int &Key, plat::TShiftState Shift) = 0;
    virtual void baseKeyPress(QChar &Key) = 0;
    virtual void baseKeyUp(int &Key, plat::TShiftState Shift) = 0;
    virtual void baseUpdateContents() = 0;
    virtual bool caretMovesInside(int Key) const = 0;
    virtual void applyWindow(bool password, QChar passwordChar, bool wordWrap, bool lineFeed) = 0;
    virtual void applyAlignment(Qt::Alignment align) = 0;
    // Where the text goes inside the widget: left, top, right and bottom margins.
    virtual void applyTextMargins(const QMargins &margins) = 0;
    virtual int charFromPos(const QPoint &p) const = 0;
    // The widget's own context menu, the caller's to delete.
    virtual QMenu *createContextMenu() = 0;

    TQrlStringGrid *FGrid;
    IGridEditorHost *FHost;
    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    std::int16_t FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool GotKey = false;
    bool FGotFocus = false;
    bool Workmode = true;
    int FColE = -1;
    int FRowE = -1;
    bool FAltBack = false;

private:
    bool keyDownMessage(QKeyEvent *e);
    bool charMessage(QKeyEvent *e);
    void focusIn();
    void focusOut(QEvent *e);
    void refusalDisplay(const QString &T, const QString &S);
    bool multiLineGrid() const;
    // Beeps or drops a refused character; Ch may be replaced (case kinds, keypad separator).
    bool acceptChar(TEditorType kind, QChar &Ch, bool ctrl);
    bool pasteAccepted(TEditorType kind, QString &text) const;
    void cursorWalk(bool forward);
    void writeCurrentCell(const QString &T);
    // Sizing while typing: room for one more line ahead of a line break, and the fit of the
    // current cell after a key.
    void growForLineBreak();
    void growAfterKey();

    plat::TGridEditor *m_editor;
    bool m_loading = false;
    bool m_dropChar = false;
};

// One widget kind with the editor's steps.
template <class Base> class TQrlInplaceEditor : public Base, public TQrlInplaceEdit
{
public:
    TQrlInplaceEditor(TQrlStringGrid *grid, IGridEditorHost *host);
    ~TQrlInplaceEditor() override;

    bool IsMultiLine() const override;

protected:
    bool HandleMessage(QEvent *e) override { return handleMessage(e); }
    void KeyDown(int &Key, plat::TShiftState Shift) override { keyDownHook(Key, Shift); }
    void KeyPress(QChar &Key) override { keyPressHook(Key); }
    void KeyUp(int &Key, plat::TShiftState Shift) override { keyUpHook(Key, Shift); }
    void UpdateContents() override { updateContents(); }
    void BoundsChanged() override { boundsChanged(); }
    bool WantsTabKey() const override;

    bool baseProcessing(QEvent *e) override { return Base::DefaultProcessing(e); }
    void baseKeyDown(int &Key, plat::TShiftState Shift) override { Base::KeyDown(Key, Shift); }
    void baseKeyPress(QChar &Key) override { Base::KeyPress(Key); }
    void baseKeyUp(int &Key, plat::TShiftState Shift) override { Base::KeyUp(Key, Shift); }
    void baseUpdateContents() override { Base::UpdateContents(); }
    bool caretMovesInside(int Key) const override { return Base::CaretMovesInside(Key); }
    void applyWindow(bool password, QChar passwordChar, bool wordWrap, bool lineFeed) override;
    void applyAlignment(Qt::Alignment align) override;
    void applyTextMargins(const QMargins &margins) override;
    int charFromPos(const QPoint &p) const override;
    QMenu *createContextMenu() override;
    bool eventFilter(QObject *watched, QEvent *e) override;
};

using TQrlInplaceLineEdit = TQrlInplaceEditor<plat::TInplaceEdit>;
using TQrlInplaceMemoEdit = TQrlInplaceEditor<plat::TInplaceMemo>;

extern template class TQrlInplaceEditor<plat::TInplaceEdit>;
extern template class TQrlInplaceEditor<plat::TInplaceMemo>;
