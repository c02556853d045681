#include "grid/model/QrlGridLists.h"

#include "grid/model/QrlGridParse.h"
#include "platform/text/StrConv.h"

#include <algorithm>
#include <stdexcept>
#include <string>

bool IsPermutation(const std::vector<int> &Values)
{
    std::vector<bool> seen(Values.size(), false);
    for (const int v : Values) {
        if (v < 0 || v >= static_cast<int>(Values.size()) || seen[static_cast<size_t>(v)])
            return false;
        seen[static_cast<size_t>(v)] = true;
    }
    return true;
}

namespace {

constexpr uint32_t kDescending = 0x80000000u;

[[noreturn]] void throwIndex(int index)
{
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

// Comma text as the platform string list reads it: blanks and commas separate, a double
// quoted part may hold both (a doubled quote inside stands for one), a comma at the very end
// adds an empty part.
QStringList splitCommaText(const QString &text)
{
    QStringList parts;
    const qsizetype n = text.size();
    const auto blank = [&](qsizetype i) { return i < n && text[i].unicode() <= u' '; };
    qsizetype i = 0;
    while (blank(i))
        ++i;
    while (i < n) {
        QString part;
        if (text[i] == u'"') {
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        part += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                part += text[i++];
            }
        } else {
            while (i < n && text[i].unicode() > u' ' && text[i] != u',')
                part += text[i++];
        }
        parts << part;
        while (blank(i))
            ++i;
        if (i < n && text[i] == u',') {
            if (i + 1 == n)
                parts << QString();
            do {
                ++i;
            } while (blank(i));
        }
    }
    return parts;
}

} // namespace

// --- TIntList -------------------------------------------------------------------------------

void TIntList::changed()
{
    if (OnChange)
        OnChange(this, FCol, FRow);
}

void TIntList::checkIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throwIndex(Index);
}

void TIntList::Add(int Value)
{
    m_items.push_back(Value);
    changed();
}

void TIntList::Insert(int Index, int Value)
{
    if (Index < 0 || Index > Count())
        throwIndex(Index);
    m_items.insert(m_items.begin() + Index, Value);
}

void TIntList::Delete(int Index)
{
    checkIndex(Index);
    m_items.erase(m_items.begin() + Index);
    changed();
}

int TIntList::GetInteger(int Index) const
{
    checkIndex(Index);
    return m_items[static_cast<size_t>(Index)];
}

void TIntList::SetInteger(int Index, int Value)
{
    checkIndex(Index);
    m_items[static_cast<size_t>(Index)] = Value;
    changed();
}

void TIntList::DeleteValue(int Value)
{
    const auto it = std::find(m_items.begin(), m_items.end(), Value);
    if (it != m_items.end())
        Delete(static_cast<int>(it - m_items.begin()));
}

bool TIntList::HasValue(int Value) const
{
    return std::find(m_items.begin(), m_items.end(), Value) != m_items.end();
}

QString TIntList::StrValue() const
{
    QStringList parts;
    for (int v : m_items)
        parts << QString::number(v);
    return parts.join(u',');
}

void TIntList::SetStrValue(const QString &Value)
{
    Clear();
    for (const QString &part : splitCommaText(Value)) {
        int32_t v = 0;
        if (!plat::TryStrToInt(part, v))
            throw EQrlConvertError(QStringLiteral("'%1' is not a valid integer value").arg(part));
        Add(v);
    }
}

// --- TSortIndexList -------------------------------------------------------------------------

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    const uint32_t col = static_cast<uint32_t>(ColumnIndex);
    Add(static_cast<int>(Ascending ? col : col | kDescending));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    for (int i = 0; i < Count(); ++i) {
        if (SortColumns(i) == ColumnIndex)
            return i;
    }
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    const int i = FindIndex(ColumnIndex);
    if (i >= 0)
        SetInteger(i, static_cast<int>(static_cast<uint32_t>(GetInteger(i)) ^ kDescending));
}

int TSortIndexList::SortColumns(int Index) const
{
    return static_cast<int>(static_cast<uint32_t>(GetInteger(Index)) & ~kDescending);
}

void TSortIndexList::SetSortColumns(int Index, int Value)
{
    const uint32_t dir = static_cast<uint32_t>(GetInteger(Index)) & kDescending;
    SetInteger(Index, static_cast<int>(dir | (static_cast<uint32_t>(Value) & ~kDescending)));
}

bool TSortIndexList::SortDirections(int Index) const
{
    return (static_cast<uint32_t>(GetInteger(Index)) & kDescending) == 0;
}

void TSortIndexList::SetSortDirections(int Index, bool Ascending)
{
    const uint32_t v = static_cast<uint32_t>(GetInteger(Index));
    SetInteger(Index, static_cast<int>(Ascending ? v & ~kDescending : v | kDescending));
}

QString TSortIndexList::SaveToString() const
{
    QStringList parts;
    for (int i = 0; i < Count(); ++i) {
        parts << (SortDirections(i) ? QStringLiteral("u") : QStringLiteral("d")) +
                     QString::number(SortColumns(i) & 0xFFFF);
    }
    return parts.join(u';');
}

void TSortIndexList::LoadFromString(const QString &s)
{
    Clear();
    for (const QString &entry : s.split(u';')) {
        if (entry.size() < 2)
            continue;
        // A damaged settings text must not stop the grid from loading: bad entries drop out.
        int32_t col = 0;
        if (!plat::TryStrToInt(entry.mid(1), col) || col < 0)
            continue;
        AddIndex(col, entry[0] == u'u');
    }
}

// --- TControlList ---------------------------------------------------------------------------

void TControlList::AddControl(int X, int Y, QWidget *AObject)
{
    m_items.push_back(std::make_unique<TControlItem>(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->X == X && m_items[i]->Y == Y)
            return static_cast<int>(i);
    }
    return -1;
}

TControlItem *TControlList::GetControl(int i) const
{
    if (i < 0 || i >= Count())
        throwIndex(i);
    return m_items[static_cast<size_t>(i)].get();
}

void TControlList::RemoveControl(int i)
{
    if (i < 0 || i >= Count())
        throwIndex(i);
    m_items.erase(m_items.begin() + i);
}

bool TControlList::HasHandle(const QWidget *Handle) const
{
    if (!Handle)
        return false;
    return std::any_of(m_items.begin(), m_items.end(),
                       [Handle](const auto &item) { return item->Control.data() == Handle; });
}

// --- TFileStringList ------------------------------------------------------------------------

void TFileStringList::Reset()
{
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(QString &s)
{
    if (fp < 0 || fp >= Count())
        throwIndex(fp);
    s = at(fp);
    ++fp;
}

void TFileStringList::WriteLn(const QString &s)
{
    append(cache + s);
    cache.clear();
}
