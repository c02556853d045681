#include "grid/model/QrlHiddenColumns.h"

#include <algorithm>

bool THiddenColumns::hide(int real, int width)
{
    if (!inTable(real) || !m_shown[index(real)])
        return false;
    setWidth(real, width);
    m_shown[index(real)] = false;
    ++m_count;
    return true;
}

bool THiddenColumns::show(int real)
{
    if (!isHidden(real))
        return false;
    m_shown[index(real)] = true;
    --m_count;
    return true;
}

int THiddenColumns::realToDispl(int real) const
{
    if (real >= TableSize || m_count == 0)
        return real;
    int hidden = 0;
    for (int c = 0; c < real; ++c)
        hidden += !m_shown[index(c)];
    return real - hidden;
}

int THiddenColumns::displToReal(int displ) const
{
    if (displ >= TableSize || m_count == 0)
        return displ;
    int shown = 0;
    for (int c = 0; c < TableSize; ++c) {
        if (!m_shown[index(c)])
            continue;
        if (shown == displ)
            return c;
        ++shown;
    }
    return 0;
}

// Nothing moves while no column is hidden: the widths of shown columns are the view's then.
void THiddenColumns::linesInserted(TGridAxis axis, int at, int count)
{
    if (axis != TGridAxis::Cols || m_count == 0 || at >= TableSize)
        return;
    for (int c = TableSize - 1; c >= at; --c) {
        const int from = c - count;
        const bool moves = from >= at;
        m_shown[index(c)] = moves ? m_shown[index(from)] : true;
        setWidth(c, moves ? width(from) : 0);
    }
    recount();
}

void THiddenColumns::linesRemoved(TGridAxis axis, int at, int count)
{
    if (axis != TGridAxis::Cols || m_count == 0 || at >= TableSize)
        return;
    for (int c = at; c < TableSize; ++c) {
        const int from = c + count;
        const bool moves = from < TableSize;
        m_shown[index(c)] = moves ? m_shown[index(from)] : true;
        setWidth(c, moves ? width(from) : 0);
    }
    recount();
}

void THiddenColumns::linesMoved(TGridAxis axis, int from, int to)
{
    if (axis != TGridAxis::Cols || m_count == 0 || from >= TableSize || to >= TableSize)
        return;
    const bool shown = m_shown[index(from)];
    const int w = width(from);
    const int step = from < to ? 1 : -1;
    for (int c = from; c != to; c += step) {
        m_shown[index(c)] = m_shown[index(c + step)];
        setWidth(c, width(c + step));
    }
    m_shown[index(to)] = shown;
    setWidth(to, w);
}

void THiddenColumns::recount()
{
    m_count = static_cast<int>(std::count(m_shown.begin(), m_shown.end(), false));
}

QString THiddenColumns::checkInvariants() const
{
    const int hidden = static_cast<int>(std::count(m_shown.begin(), m_shown.end(), false));
    if (hidden != m_count)
        return QStringLiteral("count is %1 but %2 columns are hidden").arg(m_count).arg(hidden);
    for (int d = 0, r = 0; r < TableSize; ++r) {
        if (!m_shown[index(r)])
            continue;
        if (realToDispl(r) != d || displToReal(d) != r)
            return QStringLiteral("shown column %1 does not map to display %2 and back")
                .arg(r)
                .arg(d);
        ++d;
    }
    return QString();
}
