#include "platform/grid/InplaceEdit.h"

#include "platform/grid/PlatformStringGrid.h"

#include <algorithm>

namespace plat {

TInplaceEdit::TInplaceEdit(TPlatformStringGrid *grid)
    : QLineEdit(grid ? grid->viewport() : nullptr), TGridEditor(grid)
{
    setFrame(false);
    hide();
}

TInplaceEdit::~TInplaceEdit() = default;

namespace {

// QLineEdit cuts a longer text down to its maximum length, also a text set by code. The limit is
// for typing; a cell text that is already longer must reach the editor (and go back) whole.
int editLimitFor(int limit, qsizetype textLength)
{
    constexpr int NoLimit = 32767; // QLineEdit's own default
    const int wanted = limit > 0 ? limit : NoLimit;
    return static_cast<int>(std::max<qsizetype>(wanted, textLength));
}

} // namespace

void TInplaceEdit::SetText(const QString &value)
{
    setMaxLength(editLimitFor(m_maxLength, value.size()));
    setText(value);
}

int TInplaceEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TInplaceEdit::SetSelStart(int pos)
{
    setCursorPosition(pos);
}

int TInplaceEdit::SelLength() const
{
    return static_cast<int>(selectedText().size());
}

void TInplaceEdit::SetSelLength(int length)
{
    setSelection(SelStart(), length);
}

void TInplaceEdit::SetMaxLength(int value)
{
    m_maxLength = value > 0 ? value : 0;
    setMaxLength(editLimitFor(m_maxLength, text().size()));
}

void TInplaceEdit::SetEditMask(const QString &mask)
{
    if (mask != inputMask())
        setInputMask(mask);
}

bool TInplaceEdit::event(QEvent *e)
{
    return RouteEvent(e);
}

bool TInplaceEdit::WidgetEvent(QEvent *e)
{
    return QLineEdit::event(e);
}

} // namespace plat
