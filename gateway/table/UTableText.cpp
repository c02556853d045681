#include "gateway/table/UTableText.h"

#include "common/ULanguage.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/text/StrConv.h"

namespace {

int hexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

QString Table_Text(int number)
{
    return number > 0 ? Lang_Texts.value(number) : QString();
}

int32_t Table_Cell_Number(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return -1;
    int64_t value = 0;
    for (; i < n; ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0 || d >= base)
            return -1;
        value = value * base + d;
        if (value > int64_t(INT32_MAX) + 1)
            return -1;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return -1;
    return int32_t(value);
}

QString TTableRowCells::Text(int col) const
{
    return m_grid.GetCellEx(col, m_row);
}

QString TTableRowCells::Trimmed(int col) const
{
    return plat::Trim(Text(col));
}

bool TTableRowCells::Is(int col, QStringView value) const
{
    return Trimmed(col).compare(value, Qt::CaseInsensitive) == 0;
}

bool TTableRowCells::Hidden(int col) const
{
    return m_grid.IsHiddenColumn(col);
}
