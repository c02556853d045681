#include "grid/editing/QrlInplaceEdit.h"

#include "grid/editing/IGridEditorHost.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/grid/PlatformStringGrid.h"
#include "platform/os/Regional.h"
#include "platform/ui/Beep.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMargins>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>

namespace {

using enum TEditorType;
using plat::TShiftStateItem;

constexpr int MaxLookupLength = 255;

QChar decimalSeparator()
{
    const QString d = plat::CurrentRegionalSettings().decimal;
    return d.isEmpty() ? QChar(u'.') : d.at(0);
}

QChar thousandSeparator()
{
    return plat::CurrentRegionalSettings().thousandSeparator;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isKeyChar(ushort code)
{
    return code == 8 || code == 9 || code == 13 || code == 27;
}

// The window's Tab order goes on from the grid, as when the grid itself gets the key.
void tabOnFromGrid(TQrlStringGrid *grid, int key, Qt::KeyboardModifiers mods)
{
    const QWidget *fw = QApplication::focusWidget();
    if (fw != grid && fw != grid->viewport())
        grid->setFocus(Qt::OtherFocusReason);
    QKeyEvent tab(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(grid, &tab);
}

// Holds a value for a scope and puts the old one back, also when an event handler throws.
template <class T> class THeld
{
public:
    THeld(T &ref, T value) : m_ref(ref), m_old(ref) { m_ref = value; }
    ~THeld() { m_ref = m_old; }
    THeld(const THeld &) = delete;
    THeld &operator=(const THeld &) = delete;

private:
    T &m_ref;
    T m_old;
};

} // namespace

TQrlInplaceEdit::TQrlInplaceEdit(TQrlStringGrid *grid,
                                 IGridEditorHost *host,
                                 plat::TGridEditor *editor)
    : FGrid(grid), FHost(host), m_editor(editor)
{}

TQrlInplaceEdit::~TQrlInplaceEdit() = default;

QWidget *TQrlInplaceEdit::Widget() const
{
    return m_editor->Widget();
}

QString TQrlInplaceEdit::Text() const
{
    return m_editor->Text();
}

void TQrlInplaceEdit::SetText(const QString &value)
{
    m_editor->SetText(value);
}

void TQrlInplaceEdit::SetVAlign(bool Value)
{
    FValign = Value;
    applyAlignment(Value ? Qt::AlignRight : Qt::AlignLeft);
}

void TQrlInplaceEdit::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    applyWindow(FGrid->EditControl() == edPassword, FGrid->PasswordChar(), FWordWrap,
                FGrid->Navigation()->LineFeedOnEnter());
}

bool TQrlInplaceEdit::multiLineGrid() const
{
    return FGrid->WordWrap() || FGrid->MultilineCells();
}

// ---- contents and window ------------------------------------------------------------------

void TQrlInplaceEdit::updateContents()
{
    FWordWrap = FGrid->WordWrap();
    applyWindow(FHost->EditorKind() == edPassword, FGrid->PasswordChar(), FWordWrap,
                FGrid->Navigation()->LineFeedOnEnter());
    FHost->SetNoEditChange(true);
    {
        // Loading the cell is no edit: nothing is written back or reported.
        THeld<bool> loading(m_loading, true);
        baseUpdateContents();
    }
    const int col = FGrid->Col();
    const int row = FGrid->Row();
    plat::TGridDrawState state;
    const TBaseGrid::TCellVisuals v = FGrid->CellVisuals(col, row, state, false, false, FWordWrap);
    QWidget *w = Widget();
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ToQColor(v.brush.Color()));
    pal.setColor(QPalette::Text, ToQColor(v.font.Color()));
    w->setPalette(pal);
    w->setFont(v.font.toQFont());
    Qt::Alignment align = Qt::AlignLeft;
    if (FValign || v.hAlign == TAlignment::taRightJustify)
        align = Qt::AlignRight;
    else if (v.hAlign == TAlignment::taCenter)
        align = Qt::AlignHCenter;
    applyAlignment(align);
    FColE = col;
    FRowE = row;
    FLengthLimit = static_cast<std::int16_t>(std::clamp(FHost->EditLimit(), 0, 32767));
    FGrid->DoGetEditorProp(col, row, nullptr);
    // An editor that keeps the focus from cell to cell gets no focus-in to report changes again.
    if (w->hasFocus())
        FHost->SetNoEditChange(false);
}

void TQrlInplaceEdit::boundsChanged()
{
    if (!gridAlive())
        return;
    TRect r = FHost->CellRect(m_editor->EditCol(), m_editor->EditRow());
    if (r.IsEmpty())
        return;
    if (FGrid->layoutDirection() == Qt::RightToLeft)
        ++r.Left;
    // The grid's lines at the right and bottom stay visible around the editor.
    const int w = std::max(r.Right - r.Left - 1, 0);
    const int h = std::max(r.Bottom - r.Top - 1, 0);
    Widget()->setGeometry(r.Left, r.Top, w, h);
    // The text starts where the grid draws a cell's text: 3 pixels in, 2 kept at the right.
    applyTextMargins(QMargins(3, 3, 2, 0));
}

void TQrlInplaceEdit::textChanged()
{
    if (m_loading || !gridAlive())
        return;
    // The editor's own cell: code may have moved the cursor while it is open.
    const int col = m_editor->EditCol();
    const int row = m_editor->EditRow();
    if (!FHost->NoEditChange() && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, col, row, Text());
    // The cell follows the editor while typing, so that what the grid shows and computes from
    // the cell is the typed text.
    const TEditorType kind = FHost->EditorKind();
    if (FHost->ShowEditProcess() && FHost->EditMode() && !FHost->EditStarting() &&
        IsTextEditorKind(kind) && kind != edValidChars && col >= 0 && row >= 0)
        FGrid->SetEditTextHook(col, row, Text());
}

// ---- message layer ------------------------------------------------------------------------

bool TQrlInplaceEdit::handleMessage(QEvent *e)
{
    if (!gridAlive())
        return false;
    const QEvent::Type t = e->type();
    if (t == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(e);
        if (ke->key() == Qt::Key_Backspace && (ke->modifiers() & Qt::AltModifier))
            FAltBack = true;
        if (ke->matches(QKeySequence::Paste)) {
            PasteFromClipboard();
            return true;
        }
        if (ke->matches(QKeySequence::Copy)) {
            CopyToClipboard();
            return true;
        }
        if (ke->matches(QKeySequence::Cut)) {
            CutToClipboard();
            return true;
        }
        // A key the key-down steps took is not typed as well.
        m_dropChar = keyDownMessage(ke);
        return m_dropChar;
    }
    if (t == plat::CharEventType()) {
        auto *ce = static_cast<QKeyEvent *>(e);
        // The key-down phase did the clipboard operation already.
        if (ce->matches(QKeySequence::Paste) || ce->matches(QKeySequence::Copy) ||
            ce->matches(QKeySequence::Cut))
            return true;
        if (std::exchange(m_dropChar, false))
            return true;
        return charMessage(ce);
    }
    if (t == QEvent::KeyRelease) {
        if (static_cast<QKeyEvent *>(e)->key() == Qt::Key_Backspace)
            FAltBack = false;
        return false;
    }
    if (t == QEvent::FocusIn) {
        baseProcessing(e);
        focusIn();
        return true;
    }
    if (t == QEvent::FocusOut) {
        focusOut(e);
        return true;
    }
    if (t == QEvent::ContextMenu) {
        contextMenu(static_cast<QContextMenuEvent *>(e)->globalPos());
        return true;
    }
    if (t == QEvent::MouseButtonDblClick) {
        baseProcessing(e);
        dblClicked();
        return true;
    }
    return false;
}

bool TQrlInplaceEdit::gridAlive() const
{
    return FGrid && FHost->HostAlive();
}

void TQrlInplaceEdit::dblClicked()
{
    if (FGrid->OnDblClickCell)
        FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

void TQrlInplaceEdit::contextMenu(const QPoint &globalPos)
{
    // The menu's clipboard entries take the same road as the keys.
    std::unique_ptr<QMenu> menu(createContextMenu());
    const std::pair<const char *, void (TQrlInplaceEdit::*)()> routes[] = {
        {"edit-cut", &TQrlInplaceEdit::CutToClipboard},
        {"edit-copy", &TQrlInplaceEdit::CopyToClipboard},
        {"edit-paste", &TQrlInplaceEdit::PasteFromClipboard}};
    for (QAction *a : menu->actions())
        for (const auto &route : routes)
            if (a->objectName() == QLatin1String(route.first)) {
                const auto op = route.second;
                QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
                QObject::connect(a, &QAction::triggered, a, [this, op] { (this->*op)(); });
            }
    menu->exec(globalPos);
}

void TQrlInplaceEdit::focusIn()
{
    FGotFocus = true;
    FHost->SetNoEditChange(false);
    FLengthLimit = static_cast<std::int16_t>(std::clamp(FHost->EditLimit(), 0, 32767));
    if (m_editor->MaxLength() != FLengthLimit) {
        // A new limit sets the line edit's text again, which drops the selection the editor
        // opened with (the whole text, so that typing replaces it).
        const int selStart = m_editor->SelStart();
        const int selLength = m_editor->SelLength();
        m_editor->SetMaxLength(FLengthLimit);
        m_editor->SetSelStart(selStart);
        if (selLength > 0)
            m_editor->SetSelLength(selLength);
    }
    if (!m_editor->EditMask().isEmpty() && !FHost->OpenedByClick() &&
        FGrid->Navigation()->ImproveMaskSel()) {
        m_editor->SetSelStart(0);
        m_editor->SetSelLength(1);
        return;
    }
    if (!FGrid->Navigation()->EditSelectAll())
        m_editor->SetSelStart(static_cast<int>(Text().size()));
    if (FHost->OpenedByClick()) {
        QWidget *w = Widget();
        const QPoint p = w->mapFromGlobal(QCursor::pos());
        if (w->rect().contains(p)) {
            m_editor->SetSelStart(charFromPos(p));
            FHost->ClearOpenedByClick();
        }
    }
}

void TQrlInplaceEdit::focusOut(QEvent *e)
{
    FHost->ClearStartEditChar();
    if (FHost->Lookup() || FHost->LookupHistory()) {
        const QString t = Text();
        if (FHost->LookupHistory() && !FHost->LookupItems().contains(t))
            FHost->AddLookupItem(t);
    }
    baseProcessing(e);
    if (FAltBack)
        return;
    const QWidget *now = QApplication::focusWidget();
    const bool toGrid = now && (now == FGrid || now == FGrid->viewport());
    // Scrolled out of view, the editor keeps its cell and its text and comes back with them:
    // the cell is not left.
    if (toGrid && FGrid->CellEditor() == m_editor && Widget()->isVisible() &&
        FHost->CellRect(m_editor->EditCol(), m_editor->EditRow()).IsEmpty())
        return;
    if (!toGrid) {
        const int colE = FColE;
        const int rowE = FRowE;
        auto close = [&] {
            FHost->HideEditor();
            FHost->EditEnded();
        };
        try {
            FHost->ValidateCell(Text());
            SetText(FGrid->CurrentCell());
        } catch (...) {
            close();
            throw;
        }
        close();
        FGrid->SelectCellHook(colE, rowE);
    } else if (FGrid->CellEditor() == m_editor && Widget()->isVisible()) {
        // The grid took the focus with the editor still open on its cell (a click into the
        // grid): the typed text goes into the cell before it is reloaded from there, or it
        // would be lost for the kinds that are not written through while typing.
        FGrid->SetEditTextHook(m_editor->EditCol(), m_editor->EditRow(), Text());
    }
    FHost->SetNoEditChange(true);
    {
        THeld<bool> loading(m_loading, true);
        SetText(FGrid->CurrentCell());
    }
    if (FGotFocus) {
        FGotFocus = false;
        FGrid->NotifyEditingDone(FGrid->RealColIndex(FColE), FRowE);
    }
}

// ---- key down ------------------------------------------------------------------------------

void TQrlInplaceEdit::refusalDisplay(const QString &T, const QString &S)
{
    SetText(FHost->NewCellText());
    if (FGrid->Navigation()->EditSelectAll())
        m_editor->SelectAll();
    else
        m_editor->SetSelStart(static_cast<int>(T.size()));
    Widget()->update();
    FHost->SetOldCellText(S);
}

void TQrlInplaceEdit::writeCurrentCell(const QString &T)
{
    THostFlagScope validating(*FHost, &IGridEditorHost::Validating, &IGridEditorHost::SetValidating,
                              true);
    // The editor's own cell, which is the current one unless code moved the cursor meanwhile.
    const int col = m_editor->EditCol();
    const int row = m_editor->EditRow();
    if (col < 0 || row < 0) {
        FGrid->SetCurrentCell(T);
        return;
    }
    const plat::TGridCoord b = FGrid->BaseCell(FGrid->RealColIndex(col), row);
    FGrid->SetCellEx(b.X, b.Y, T);
}

bool TQrlInplaceEdit::keyDownMessage(QKeyEvent *e)
{
    TNavigation *nav = FGrid->Navigation();
    FOldSelStart = m_editor->SelStart();
    const QString T = Text();
    const QString S = FHost->OldCellText();
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool alt = mods & Qt::AltModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const int len = static_cast<int>(T.size());

    if (key == Qt::Key_Escape) {
        SetText(FHost->CachedCellText());
        FHost->HideEditor();
        return false;
    }
    if (key == Qt::Key_A && ctrl && !alt) {
        m_editor->SelectAll();
        return true;
    }
    if (enter && ctrl && !(nav->AllowCtrlEnter() && multiLineGrid()))
        return true;
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && FGrid->WantsTabInEditor()) {
        if (!FHost->ValidateCell(T)) {
            refusalDisplay(T, S);
            return true;
        }
        SetText(FHost->NewCellText());
        FHost->HideEditor();
        if (FGrid->Options().Contains(plat::TGridOption::goTabs))
            FGrid->TabToNextCell(shift || key == Qt::Key_Backtab);
        else
            QCoreApplication::postEvent(FGrid, new QKeyEvent(QEvent::KeyPress, key, mods));
        return true;
    }
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !ctrl && !alt) {
        // The Tab key belongs to the window: the value goes into the cell, and the focus moves
        // on in the window's Tab order, so the next key reaches the next control rather than
        // this cell.
        if (!FHost->ValidateCell(T)) {
            refusalDisplay(T, S);
            return true;
        }
        SetText(FHost->NewCellText());
        FHost->HideEditor();
        tabOnFromGrid(FGrid, key, mods);
        return true;
    }
    if (shift && nav->CursorWalkEditor() && m_editor->SelLength() == 0 &&
        ((key == Qt::Key_Left && FOldSelStart == 0) ||
         (key == Qt::Key_Right && FOldSelStart == len))) {
        writeCurrentCell(T);
        if (FHost->ValidateCell(T)) {
            SetText(FHost->NewCellText());
            FHost->HideEditor();
            FGrid->setFocus(Qt::OtherFocusReason);
        } else {
            refusalDisplay(T, S);
        }
        return true;
    }
    bool rowStep = false;
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && !caretMovesInside(key)) {
        writeCurrentCell(T);
        if (!FHost->ValidateCell(T)) {
            refusalDisplay(T, S);
            return true;
        }
        SetText(FHost->NewCellText());
        rowStep = true;
    }
    if (enter && !nav->LineFeedOnEnter() && !ctrl) {
        if (!FHost->ValidateCell(T)) {
            refusalDisplay(T, S);
            return true;
        }
        SetText(FHost->NewCellText());
    }
    if (key == Qt::Key_Home && !ctrl && !shift) {
        m_editor->SetSelStart(0);
        return true;
    }
    if (key == Qt::Key_End && !ctrl && !shift) {
        m_editor->SetSelStart(static_cast<int>(Text().size()));
        return true;
    }
    // Ctrl+Enter with LineFeedOnEnter breaks the line in the character phase.
    if (!rowStep)
        return false;
    baseProcessing(e);
    if (FGrid->MouseActions()->DisjunctRowSelect()) {
        FGrid->ClearRowSelect();
        FGrid->SetRowSelect(FGrid->Row(), true);
    }
    return true;
}

void TQrlInplaceEdit::keyDownHook(int &Key, plat::TShiftState Shift)
{
    FSelKeyDown = m_editor->SelStart();
    switch (Key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        Workmode = false;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter without a line break ends a multi-line text as it is.
        if (!FGrid->Navigation()->AllowCtrlEnter() && multiLineGrid())
            FHost->SetEditing(false);
        if ((Shift.Contains(TShiftStateItem::ssShift) || Shift.Contains(TShiftStateItem::ssCtrl)) &&
            FGrid->SizeWhileTyping()->Height() && FGrid->MultilineCells())
            growForLineBreak();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        Workmode = true;
        break;
    }
    baseKeyDown(Key, Shift);
}

// ---- characters ----------------------------------------------------------------------------

bool TQrlInplaceEdit::acceptChar(TEditorType kind, QChar &Ch, bool ctrl)
{
    const ushort code = Ch.unicode();
    const QString text = Text();
    const int selStart = m_editor->SelStart();
    const int selLength = m_editor->SelLength();
    const QString selected = text.mid(selStart, selLength);
    auto beep = [] {
        plat::MessageBeep();
        return false;
    };
    switch (kind) {
    case edNumeric:
        if (isKeyChar(code) || isDigit(Ch))
            return true;
        if (Ch == u'-' && selStart == 0 && !text.contains(u'-'))
            return true;
        return beep();
    case edPositiveNumeric:
        return isKeyChar(code) || isDigit(Ch) || beep();
    case edFloat:
    case edPositiveFloat: {
        const QChar dec = decimalSeparator();
        const QChar thousand = thousandSeparator();
        if (isKeyChar(code) || isDigit(Ch))
            return true;
        if (Ch == u'-') {
            if (kind == edPositiveFloat)
                return false;
            if ((selStart != 0 || text.contains(u'-')) && !selected.contains(u'-'))
                return beep();
            return true;
        }
        if (Ch == dec)
            return !text.contains(dec) || selected.contains(dec);
        if (Ch == thousand)
            return false;
        if (Ch == u',' || Ch == u'.')
            return true;
        // Anything else only as a Ctrl combination (undo and the like).
        return ctrl;
    }
    case edCapital:
    case edUpperCase:
        Ch = Ch.toUpper();
        return true;
    case edLowerCase:
        Ch = Ch.toLower();
        return true;
    case edValidChars: {
        if (code == 8 || code == 13)
            return true;
        if (!FHost->ValidChars().isEmpty())
            return FHost->ValidChars().contains(Ch) || beep();
        return (code <= 255 && FHost->ValidCharCode(code)) || beep();
    }
    default:
        return true;
    }
}

bool TQrlInplaceEdit::charMessage(QKeyEvent *e)
{
    if (e->text().isEmpty())
        return false;
    TNavigation *nav = FGrid->Navigation();
    QChar ch = e->text().at(0);
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (FHost->ExcelStyleDecimalSeparator() && (e->modifiers() & Qt::KeypadModifier) && ch == u'.')
        ch = decimalSeparator();
    const ushort code = ch.unicode();
    if (code == 1 && ctrl)
        return true;
    if (code == 10 && ctrl && !(nav->AllowCtrlEnter() && multiLineGrid()))
        return true;
    if (FLengthLimit > 0 && Text().size() >= FLengthLimit && m_editor->SelLength() == 0 &&
        code != 8 && code != 27 && code != 13)
        return true;
    const TEditorType kind = FHost->EditorKind();
    const bool plainKind = kind == edNormal || kind == edCapital || kind == edMixedCase ||
                           kind == edLowerCase || kind == edUpperCase || kind == edValidChars;
    if (plainKind && code == 13 && nav->LineFeedOnEnter()) {
        baseProcessing(e);
        return true;
    }
    if (!acceptChar(kind, ch, ctrl))
        return true;
    const int oldSel = m_editor->SelStart();
    if (ch == e->text().at(0)) {
        baseProcessing(e);
    } else {
        // A replaced character is typed as plain text.
        QKeyEvent typed(plat::CharEventType(), 0, e->modifiers() & ~Qt::KeypadModifier,
                        QString(ch));
        baseProcessing(&typed);
    }
    if (kind == edMixedCase && code >= 32) {
        const QString proper = ProperCaseText(Text());
        if (proper != Text()) {
            SetText(proper);
            m_editor->SetSelStart(oldSel + 1);
        }
    }
    // A full text moves on by itself.
    const int maxLen = FGrid->MaxEditLength();
    const int len = static_cast<int>(Text().size());
    const bool atEnd = m_editor->SelLength() == 0 && m_editor->SelStart() == len;
    if (code != 13 && nav->AdvanceAuto() && nav->AdvanceOnEnter() && maxLen > 0 && len >= maxLen &&
        atEnd) {
        QChar enter(13);
        FGrid->GridKeyPress(enter);
    } else if (code >= 32 && nav->AdvanceAuto() && !m_editor->EditMask().isEmpty() &&
               !Text().contains(u' ') && atEnd) {
        QChar enter(13);
        FGrid->GridKeyPress(enter);
    }
    return true;
}

void TQrlInplaceEdit::keyPressHook(QChar &Key)
{
    if (Key.unicode() == 13 && !FGrid->Navigation()->LineFeedOnEnter()) {
        if (!FHost->ValidateCell(Text())) {
            SetText(FGrid->CurrentCell());
            Key = QChar();
            return;
        }
    }
    baseKeyPress(Key);
}

// ---- key up: cursor walking and lookup -----------------------------------------------------

void TQrlInplaceEdit::cursorWalk(bool forward)
{
    TNavigation *nav = FGrid->Navigation();
    const int col = FGrid->Col();
    const int row = FGrid->Row();
    int next = col - 1;
    bool nextInside = col - 1 >= FGrid->FixedCols();
    if (forward) {
        const int span = FGrid->CellSpan(FGrid->RealColIndex(col), row).X;
        next = col + span + 1;
        nextInside =
            col < FGrid->ColCount() - FGrid->FixedRightCols() - 1 && next < FGrid->ColCount();
    }
    if (nextInside && FGrid->HasClickableGraphic(FGrid->RealColIndex(next), row)) {
        if (FHost->ValidateCell(Text())) {
            FHost->HideEditor();
            FGrid->SetCol(next);
        }
        return;
    }
    // A refused text keeps the cursor on its cell.
    if (!FHost->ValidateCell(Text()))
        return;
    FHost->HideEditor();
    const bool alwaysEdit = nav->CursorWalkAlwaysEdit();
    {
        const TAdvanceDirection old = nav->AdvanceDirection();
        nav->SetAdvanceDirection(TAdvanceDirection::adLeftRight);
        try {
            // Forced: the walk moves whatever AdvanceOnEnter says about Enter.
            FGrid->AdvanceAfterEdit(col, row, alwaysEdit, forward, alwaysEdit, true);
        } catch (...) {
            nav->SetAdvanceDirection(old);
            throw;
        }
        nav->SetAdvanceDirection(old);
    }
    if (!alwaysEdit)
        FHost->HideEditor();
}

void TQrlInplaceEdit::keyUpHook(int &Key, plat::TShiftState Shift)
{
    TNavigation *nav = FGrid->Navigation();
    const bool plain = !Shift.Contains(TShiftStateItem::ssShift) &&
                       !Shift.Contains(TShiftStateItem::ssCtrl) &&
                       !Shift.Contains(TShiftStateItem::ssAlt);
    const int len = static_cast<int>(Text().size());
    const bool noSel = m_editor->SelLength() == 0;
    if (plain && noSel && nav->CursorWalkEditor()) {
        if (Key == Qt::Key_Left && m_editor->SelStart() == 0 && FSelKeyDown == 0) {
            Key = 0;
            cursorWalk(false);
            return;
        }
        if (Key == Qt::Key_Right && FOldSelStart == len) {
            Key = 0;
            cursorWalk(true);
            return;
        }
    }
    baseKeyUp(Key, Shift);
    DoChange();
    growAfterKey();
}

void TQrlInplaceEdit::growForLineBreak()
{
    const int row = FGrid->Row();
    // The line break being typed and a blank on the new line.
    QString text = Text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    text.replace(u'\n', u'\r');
    const int lines = CountLines(text + QLatin1String("\r "), true);
    // The height of that many lines as the row-to-lines sizing computes it.
    TFont font(FGrid->Font());
    TBrush brush;
    FGrid->QueryCellColor(FGrid->FixedCols(), row, &font, &brush, {});
    const int h = QFontMetrics(font.toQFont()).height();
    const int needed =
        ClampToLimits(lines * (h + h / 8), FGrid->MinRowHeight(), FGrid->MaxRowHeight());
    if (needed < FGrid->RowHeights(row))
        FGrid->AutoSizeRow(row);
    else
        FGrid->SizeRowToLines(row, lines, 0);
    if (FGrid->OnEndRowSize)
        FGrid->OnEndRowSize(FGrid, row);
}

void TQrlInplaceEdit::growAfterKey()
{
    // A key that closed the editor (Enter, Esc, a walk to another cell) leaves nothing to fit.
    if (!gridAlive() || FGrid->CellEditor() != m_editor || !Widget()->isVisible())
        return;
    const TSizeWhileTyping *sizing = FGrid->SizeWhileTyping();
    const int col = FGrid->Col();
    const int row = FGrid->Row();
    if (sizing->Width()) {
        // The column grows to the current cell's text; the other rows keep what they have.
        const int rc = FGrid->RealColIndex(col);
        if (!FGrid->IsXMergedCell(rc, row)) {
            const int gw =
                FGrid->GetCellGraphic(rc, row) ? FGrid->GetCellGraphicSize(rc, row).X : 0;
            int width = gw + FGrid->CalcCellTextSize(rc, col, false, false, row).cx +
                        FGrid->TotalXOffset() + 2 * FGrid->GridLineWidth() + 2;
            if (FGrid->ColWidths(col) < width) {
                FGrid->UpdateAutoColSize(col, width);
                FGrid->SetColWidths(
                    col, ClampToLimits(width, FGrid->MinColWidth(), FGrid->MaxColWidth()));
            }
        }
    }
    if (sizing->Height() && FGrid->WordWrap()) {
        FGrid->AutoSizeRow(row);
        if (FGrid->OnEndRowSize)
            FGrid->OnEndRowSize(FGrid, row);
    }
}

void TQrlInplaceEdit::DoChange()
{
    if (!Workmode || m_editor->SelLength() != 0 || !FHost->Lookup() ||
        FHost->LookupItems().isEmpty())
        return;
    const int caret = m_editor->SelStart();
    QString P = Text().left(caret);
    // Nothing typed yet completes nothing (a key that only moved the caret home).
    if (P.isEmpty())
        return;
    if (!FHost->LookupCaseSensitive())
        P = P.toUpper();
    const QStringList items = FHost->LookupItems();
    for (const QString &item : items) {
        const QString cmp = FHost->LookupCaseSensitive() ? item : item.toUpper();
        if (!cmp.startsWith(P))
            continue;
        const QString completed =
            (Text().left(P.size()) + item.mid(P.size())).left(MaxLookupLength);
        if (completed != Text())
            SetText(completed);
        m_editor->SetSelStart(static_cast<int>(P.size()));
        m_editor->SetSelLength(static_cast<int>(completed.size() - P.size()));
        GotKey = false;
        return;
    }
}

// ---- clipboard -----------------------------------------------------------------------------

void TQrlInplaceEdit::CopyToClipboard()
{
    bool allow = true;
    if (FGrid->OnClipboardCopy)
        FGrid->OnClipboardCopy(Widget(), allow);
    const QString sel = Text().mid(m_editor->SelStart(), m_editor->SelLength());
    // A password never leaves the editor.
    if (allow && !sel.isEmpty() && FGrid->EditControl() != edPassword)
        QApplication::clipboard()->setText(sel);
}

void TQrlInplaceEdit::CutToClipboard()
{
    bool allow = true;
    if (FGrid->OnClipboardCut)
        FGrid->OnClipboardCut(Widget(), allow);
    const int start = m_editor->SelStart();
    const int length = m_editor->SelLength();
    if (!allow || length == 0 || FGrid->EditControl() == edPassword)
        return;
    const QString text = Text();
    QApplication::clipboard()->setText(text.mid(start, length));
    SetText(text.left(start) + text.mid(start + length));
    m_editor->SetSelStart(start);
}

bool TQrlInplaceEdit::pasteAccepted(TEditorType kind, QString &text) const
{
    const int numKind = NumberTextKind(text);
    switch (kind) {
    case edNumeric:
        return numKind == ntkInteger;
    case edPositiveNumeric:
        return numKind == ntkInteger && !text.contains(u'-');
    case edFloat:
        return numKind == ntkInteger || numKind == ntkDecimal;
    case edPositiveFloat:
        return (numKind == ntkInteger || numKind == ntkDecimal) && !text.contains(u'-');
    case edMixedCase:
        text = ProperCaseText(text);
        return true;
    case edLowerCase:
        text = text.toLower();
        return true;
    case edUpperCase:
        text = text.toUpper();
        return true;
    case edValidChars:
        if (FHost->ValidChars().isEmpty())
            return false;
        for (QChar c : std::as_const(text))
            if (!FHost->ValidChars().contains(c))
                return false;
        return true;
    default:
        return true;
    }
}

void TQrlInplaceEdit::PasteFromClipboard()
{
    const QMimeData *mime = QApplication::clipboard()->mimeData();
    bool allow = mime && mime->hasText();
    QString pasted = allow ? mime->text() : QString();
    if (FGrid->OnClipboardPaste)
        FGrid->OnClipboardPaste(Widget(), allow);
    if (FGrid->OnClipboardBeforePasteCell)
        FGrid->OnClipboardBeforePasteCell(Widget(), FGrid->Col(), FGrid->Row(), pasted, allow);
    if (!allow)
        return;
    if (FLengthLimit > 0 && pasted.size() > FLengthLimit)
        return;
    // One trailing line break, as a copied cell or line brings along, is not pasted.
    for (const QLatin1String brk : {QLatin1String("\r\n"), QLatin1String("\n")}) {
        const qsizetype at = pasted.indexOf(brk);
        if (at >= 0 && at + brk.size() == pasted.size()) {
            pasted.chop(brk.size());
            break;
        }
    }
    const QString text = Text();
    const int selStart = m_editor->SelStart();
    const int selLength = m_editor->SelLength();
    // The new text is decided from the whole text, the caret from the part pasted.
    QString piece = pasted;
    QString candidate = text.left(selStart) + piece + text.mid(selStart + selLength);
    if (FLengthLimit > 0 && candidate.size() > FLengthLimit)
        return;
    const TEditorType kind = FGrid->EditControl();
    if (kind == edMixedCase || kind == edLowerCase || kind == edUpperCase) {
        if (!pasteAccepted(kind, piece))
            return;
        candidate = text.left(selStart) + piece + text.mid(selStart + selLength);
        if (kind == edMixedCase)
            candidate = ProperCaseText(candidate);
        // A case change can lengthen the text ("ß" becomes "SS").
        if (FLengthLimit > 0 && candidate.size() > FLengthLimit)
            return;
    } else if (!pasteAccepted(kind, candidate)) {
        return;
    }
    SetText(candidate);
    FGrid->SetCurrentCell(Text());
    const int pastedLength = static_cast<int>(piece.size());
    if (selLength > 0) {
        m_editor->SetSelStart(selStart);
        m_editor->SetSelLength(pastedLength);
    } else {
        m_editor->SetSelStart(selStart + pastedLength);
    }
    if (FGrid->OnClipboardAfterPasteCell)
        FGrid->OnClipboardAfterPasteCell(Widget(), FGrid->Col(), FGrid->Row(), Text());
}

// ---- the two widget kinds ------------------------------------------------------------------

template <class Base>
TQrlInplaceEditor<Base>::TQrlInplaceEditor(TQrlStringGrid *grid, IGridEditorHost *host)
    : Base(grid), TQrlInplaceEdit(grid, host, this)
{
    // Dropped text would pass by the character filter.
    this->setAcceptDrops(false);
    // The plain-text box gets its mouse on its viewport, past the editor's message layer.
    if constexpr (std::is_same_v<Base, plat::TInplaceMemo>) {
        this->viewport()->setAcceptDrops(false);
        this->viewport()->installEventFilter(this);
    }
    if constexpr (std::is_same_v<Base, plat::TInplaceEdit>)
        QObject::connect(this, &QLineEdit::textChanged, this, [this] { textChanged(); });
    else
        QObject::connect(this, &QPlainTextEdit::textChanged, this, [this] { textChanged(); });
}

template <class Base> bool TQrlInplaceEditor<Base>::eventFilter(QObject *watched, QEvent *e)
{
    if constexpr (std::is_same_v<Base, plat::TInplaceMemo>) {
        if (watched == this->viewport() && gridAlive()) {
            if (e->type() == QEvent::ContextMenu) {
                contextMenu(static_cast<QContextMenuEvent *>(e)->globalPos());
                return true;
            }
            if (e->type() == QEvent::MouseButtonDblClick) {
                Base::viewportEvent(e);
                dblClicked();
                return true;
            }
        }
    }
    return Base::eventFilter(watched, e);
}

template <class Base> QMenu *TQrlInplaceEditor<Base>::createContextMenu()
{
    return this->createStandardContextMenu();
}

template <class Base> TQrlInplaceEditor<Base>::~TQrlInplaceEditor()
{
    // The grid's state may be gone already; the widget's last signals must not reach it.
    QObject::disconnect(this, nullptr, this, nullptr);
}

template <class Base> bool TQrlInplaceEditor<Base>::IsMultiLine() const
{
    return std::is_same_v<Base, plat::TInplaceMemo>;
}

template <class Base> bool TQrlInplaceEditor<Base>::WantsTabKey() const
{
    // The editor's key steps take every Tab: it ends the edit, whichever way the focus goes on.
    return FGrid != nullptr;
}

template <class Base>
void TQrlInplaceEditor<Base>::applyWindow(bool password,
                                          QChar passwordChar,
                                          bool wordWrap,
                                          bool lineFeed)
{
    if constexpr (std::is_same_v<Base, plat::TInplaceEdit>) {
        Q_UNUSED(wordWrap);
        Q_UNUSED(lineFeed);
        this->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
        const QString sheet = password && !passwordChar.isNull()
                                  ? QStringLiteral("QLineEdit { lineedit-password-character: %1; }")
                                        .arg(passwordChar.unicode())
                                  : QString();
        if (this->styleSheet() != sheet)
            this->setStyleSheet(sheet);
    } else {
        Q_UNUSED(password);
        Q_UNUSED(passwordChar);
        if (this->Base::WordWrap() != wordWrap)
            this->Base::SetWordWrap(wordWrap);
        this->SetLineFeedOnEnter(lineFeed);
    }
}

template <class Base> void TQrlInplaceEditor<Base>::applyAlignment(Qt::Alignment align)
{
    if constexpr (std::is_same_v<Base, plat::TInplaceEdit>) {
        this->setAlignment(align | Qt::AlignVCenter);
    } else {
        QTextOption option = this->document()->defaultTextOption();
        if (option.alignment() != align) {
            option.setAlignment(align);
            this->document()->setDefaultTextOption(option);
        }
    }
}

template <class Base> void TQrlInplaceEditor<Base>::applyTextMargins(const QMargins &margins)
{
    if constexpr (std::is_same_v<Base, plat::TInplaceEdit>) {
        if (this->textMargins() != margins)
            this->setTextMargins(margins);
    } else {
        // The document keeps a margin of its own all round; the viewport makes up the rest.
        const int m = static_cast<int>(this->document()->documentMargin());
        const QMargins rest(std::max(margins.left() - m, 0), std::max(margins.top() - m, 0),
                            std::max(margins.right() - m, 0), std::max(margins.bottom() - m, 0));
        if (this->viewportMargins() != rest)
            this->setViewportMargins(rest);
    }
}

template <class Base> int TQrlInplaceEditor<Base>::charFromPos(const QPoint &p) const
{
    if constexpr (std::is_same_v<Base, plat::TInplaceEdit>)
        return const_cast<TQrlInplaceEditor *>(this)->cursorPositionAt(p);
    else // the text box measures from its viewport, inside the frame
        return this->cursorForPosition(this->viewport()->mapFrom(this, p)).position();
}

template class TQrlInplaceEditor<plat::TInplaceEdit>;
template class TQrlInplaceEditor<plat::TInplaceMemo>;
