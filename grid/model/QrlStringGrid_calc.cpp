// Calculations over a column or a row, auto-numbering, the selection as text, and the sizing of
// columns and rows to their content or to the control.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/grid/GridEditor.h"

#include <QAnyStringView>
#include <QFontMetrics>
#include <QScrollBar>
#include <QSet>
#include <QStyle>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

const QString NoFloat = QStringLiteral("Cell does not contain a float value");

// Reads cell numbers exactly as GetFloats / GetAllFloats do (number characters extracted, then a
// complete decimal number or an empty text), from a view of the text: no copy, and the regional
// separators are fetched once per calculation instead of once per character.
class TNumberReader
{
public:
    TNumberReader() : m_thousand(RegionalThousandSeparator()), m_decimal(RegionalDecimalSeparator())
    {}

private:
    bool isNumberChar(QChar c) const
    {
        return c.isNumber() || c == m_thousand || c == m_decimal || c == u'e' || c == u'E';
    }

    template <class View> std::optional<double> readChars(View v)
    {
        const qsizetype n = v.size();
        if (n == 0)
            return 0.0;
        auto at = [&](qsizetype i) { return QChar(v[i]); };
        bool negative = at(0) == u'(' && at(n - 1) == u')';
        qsizetype i = 0;
        // Leading characters that cannot start a number go; the last one always stays.
        while (n - i >= 2 && !isNumberChar(at(i))) {
            if (at(i) == u'-')
                negative = true;
            ++i;
        }
        m_buf.clear();
        if (negative)
            m_buf.push_back('-');
        for (; i < n; ++i) {
            const QChar c = at(i);
            if (c == m_thousand)
                continue;
            if (c == m_decimal) {
                m_buf.push_back('.');
            } else if (c.unicode() < 128 && (c.isDigit() || c == u'-' || c == u'.' || c == u'e' ||
                                             c == u'E' || c == u'+')) {
                m_buf.push_back(static_cast<char>(c.unicode()));
            } else if (c.isNumber()) {
                // A digit of another script is taken but never converts.
                return std::nullopt;
            } else {
                break;
            }
        }
        if (m_buf.empty() || m_buf == "-")
            return 0.0;
        return convert();
    }

public:
    // Defined after the member templates it calls: clang instantiates them only then.
    // Empty when the number characters form no number.
    std::optional<double> read(QAnyStringView text)
    {
        return text.visit([this](auto v) -> std::optional<double> {
            if constexpr (std::is_same_v<decltype(v), QUtf8StringView>) {
                const QString s = v.toString();
                return readChars(QStringView(s));
            } else {
                return readChars(v);
            }
        });
    }

private:
    // The whole buffer as a decimal number with an optional exponent.
    std::optional<double> convert() const
    {
        const char *s = m_buf.data();
        const size_t n = m_buf.size();
        size_t i = 0;
        if (s[i] == '+' || s[i] == '-')
            ++i;
        size_t digits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9')
            ++i, ++digits;
        if (i < n && s[i] == '.') {
            ++i;
            while (i < n && s[i] >= '0' && s[i] <= '9')
                ++i, ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        if (i < n && (s[i] == 'e' || s[i] == 'E')) {
            ++i;
            if (i < n && (s[i] == '+' || s[i] == '-'))
                ++i;
            size_t ed = 0;
            while (i < n && s[i] >= '0' && s[i] <= '9')
                ++i, ++ed;
            if (ed == 0)
                return std::nullopt;
        }
        if (i != n)
            return std::nullopt;
        const char *first = s[0] == '+' ? s + 1 : s;
        double v = 0;
        const auto [end, ec] = std::from_chars(first, s + n, v);
        if (ec == std::errc() && end == s + n && std::isfinite(v))
            return v;
        // Out of range: the grid's own conversion decides, as it does for a cell read.
        if (GridTryStrToFloat(QString::fromLatin1(s, static_cast<qsizetype>(n)), v))
            return v;
        return std::nullopt;
    }

    QChar m_thousand;
    QChar m_decimal;
    std::string m_buf;
};

bool hasTag(QAnyStringView text)
{
    return text.visit([](auto v) {
        if constexpr (std::is_same_v<decltype(v), QStringView>) {
            return v.contains(u'<');
        } else {
            // Latin-1 and UTF-8 alike keep "<" as the one byte.
            const auto *bytes = reinterpret_cast<const char *>(v.data());
            return v.size() > 0 && std::memchr(bytes, '<', static_cast<size_t>(v.size()));
        }
    });
}

// One column of a calculation. Rows are display rows, or with realRows real rows (hidden ones
// included). Cells are read as GetFloats (display rows) or GetAllFloats (real rows) read them;
// while the display text is the stored text, straight from the cell store.
class TColumnReader
{
public:
    TColumnReader(
        TQrlStringGrid &g, const plat::TCellStore &store, int col, bool realRows, bool raw)
        : m_grid(g), m_store(store), m_col(col), m_realRows(realRows), m_raw(raw),
          m_grouped(g.GroupColumn() != -1),
          m_lastRow((realRows ? g.TotalRowCount() : g.RowCount()) - 1)
    {}

    // Rows past this one (and below 0) hold no cells.
    int lastRow() const { return m_lastRow; }

    // Whether a row's value goes into a sum: not a node or summary row of a grouped grid, and
    // not a covered cell of a merged area.
    bool taken(int row)
    {
        int dr = row;
        if (m_realRows) {
            if (m_grid.HiddenRowCells(row))
                return true;
            dr = m_grid.DisplRowIndex(row);
        }
        if (m_grouped && (m_grid.IsNode(dr) || m_grid.IsSummary(dr)))
            return false;
        return m_grid.IsBaseCell(m_col, dr);
    }

    // Empty when the cell's number characters form no number.
    std::optional<double> value(int row)
    {
        if (m_realRows) {
            if (const QStringList *cells = m_grid.HiddenRowCells(row)) {
                if (!m_raw)
                    return guarded([&] { return m_grid.GetAllFloats(m_col, row); });
                return m_numbers.read(m_col < cells->size() ? QStringView(cells->at(m_col))
                                                            : QStringView());
            }
            const int dr = m_grid.DisplRowIndex(row);
            if (!rawCell(dr))
                return guarded([&] { return m_grid.GetAllFloats(m_col, row); });
            return m_numbers.read(m_store.TextView(m_col, dr));
        }
        if (!rawCell(row))
            return guarded([&] { return m_grid.GetFloats(m_col, row); });
        const QAnyStringView text = m_store.TextView(m_col, row);
        // Mini-HTML loses its tags first.
        if (hasTag(text))
            return m_numbers.read(QAnyStringView(StripHTMLTags(text.toString())));
        return m_numbers.read(text);
    }

    // The same, raising the grid's conversion error.
    double valueOrThrow(int row)
    {
        if (const std::optional<double> v = value(row))
            return *v;
        throw EQrlGridError(NoFloat);
    }

    // The display text of a cell.
    QString text(int row)
    {
        return m_realRows ? m_grid.GetCellsEx(m_col, row) : m_grid.GetCellEx(m_col, row);
    }

private:
    // A cell whose text the store holds as shown: no display hook, and the cell is its own
    // base cell.
    bool rawCell(int row) const
    {
        return m_raw && row >= 0 && row <= m_grid.RowCount() - 1 &&
               (!m_grid.HasCellProperties(m_col, row) || m_grid.IsBaseCell(m_col, row));
    }

    template <class Read> static std::optional<double> guarded(Read read)
    {
        try {
            return read();
        } catch (const EQrlGridError &) {
            return std::nullopt;
        }
    }

    TQrlStringGrid &m_grid;
    const plat::TCellStore &m_store;
    int m_col;
    bool m_realRows;
    bool m_raw;
    bool m_grouped;
    int m_lastRow;
    TNumberReader m_numbers;
};

// The part of [from, to] that holds cells, and how many rows of the range lie outside it (empty
// cells, which read 0 and the empty text).
struct TRowSpan
{
    int first;
    int last;
    long long outside;
};

TRowSpan spanOf(int from, int to, int lastRow)
{
    TRowSpan s{std::max(from, 0), std::min(to, lastRow), 0};
    const long long all = to >= from ? static_cast<long long>(to) - from + 1 : 0;
    const long long inside = s.last >= s.first ? static_cast<long long>(s.last) - s.first + 1 : 0;
    s.outside = all - inside;
    return s;
}

} // namespace

// ---- column figures ---------------------------------------------------------------------------

bool TQrlStringGrid::DisplayTextIsStored() const
{
    return !OnGetDisplText && !OnGetDisplWideText && !d->urlShowInText &&
           !Grouping()->ShowGroupCount();
}

void TQrlStringGrid::normalRows(int &FromRow, int &ToRow) const
{
    if (FromRow == -1 || ToRow == -1) {
        FromRow = FixedRows();
        ToRow = RowCount() - FixedFooters() - 1;
    }
}

TQrlStringGrid::TCalcMode TQrlStringGrid::calcMode(int ToRow) const
{
    const bool footer = d->floatingFooter->Visible();
    const bool pastShown = footer ? ToRow > RowCount() - 1 : ToRow > RowCount();
    return pastShown ? TCalcMode::RealRows : TCalcMode::ShownRows;
}

double TQrlStringGrid::columnSum(int ACol, int FromRow, int ToRow, TCalcMode Mode)
{
    ExportNotification(TGridExportState::esExportStart, FromRow);
    TColumnReader reader(*this, Store(), ACol, Mode == TCalcMode::RealRows, DisplayTextIsStored());
    const TRowSpan span = spanOf(FromRow, ToRow, reader.lastRow());
    double sum = 0;
    for (int r = span.first; r <= span.last; ++r) {
        if (!reader.taken(r))
            continue;
        if (const std::optional<double> v = reader.value(r))
            sum += *v;
        ExportNotification(TGridExportState::esExportNextRow, r);
    }
    ExportNotification(TGridExportState::esExportDone, -1);
    return sum;
}

double TQrlStringGrid::columnAvg(int ACol, int FromRow, int ToRow, TCalcMode Mode)
{
    if (ToRow < FromRow)
        return 0;
    const double sum = columnSum(ACol, FromRow, ToRow, Mode);
    return sum / (static_cast<double>(ToRow) - FromRow + 1);
}

double TQrlStringGrid::columnExtreme(int ACol, int FromRow, int ToRow, TCalcMode Mode, bool Max)
{
    const bool realRows = Mode == TCalcMode::RealRows;
    // The first value is read unprotected: a broken number there is the caller's error.
    double best = realRows ? GetAllFloats(ACol, FromRow) : GetFloats(ACol, FromRow);
    auto take = [&](double v) {
        if (Max ? v > best : v < best)
            best = v;
    };
    ExportNotification(TGridExportState::esExportStart, FromRow);
    TColumnReader reader(*this, Store(), ACol, realRows, DisplayTextIsStored());
    const TRowSpan span = spanOf(FromRow, ToRow, reader.lastRow());
    for (int r = span.first; r <= span.last; ++r) {
        if (!reader.taken(r))
            continue;
        if (const std::optional<double> v = reader.value(r))
            take(*v);
        ExportNotification(TGridExportState::esExportNextRow, r);
    }
    if (span.outside > 0)
        take(0);
    ExportNotification(TGridExportState::esExportDone, -1);
    return best;
}

double TQrlStringGrid::columnStdDev(int ACol, int FromRow, int ToRow, TCalcMode Mode)
{
    // An empty range has no spread (rather than 0 / 0).
    if (ToRow < FromRow)
        return 0;
    const double avg = columnAvg(ACol, FromRow, ToRow, Mode);
    ExportNotification(TGridExportState::esExportStart, FromRow);
    TColumnReader reader(*this, Store(), ACol, Mode == TCalcMode::RealRows, DisplayTextIsStored());
    const TRowSpan span = spanOf(FromRow, ToRow, reader.lastRow());
    double squares = 0;
    for (int r = span.first; r <= span.last; ++r) {
        const double dv = reader.valueOrThrow(r) - avg;
        squares += dv * dv;
        ExportNotification(TGridExportState::esExportNextRow, r);
    }
    squares += static_cast<double>(span.outside) * avg * avg;
    ExportNotification(TGridExportState::esExportDone, -1);
    return std::sqrt(squares / (static_cast<double>(ToRow) - FromRow + 1));
}

double TQrlStringGrid::columnDistinct(int ACol, int FromRow, int ToRow, TCalcMode Mode)
{
    ExportNotification(TGridExportState::esExportStart, FromRow);
    TColumnReader reader(*this, Store(), ACol, Mode == TCalcMode::RealRows, DisplayTextIsStored());
    const TRowSpan span = spanOf(FromRow, ToRow, reader.lastRow());
    QSet<QString> seen;
    for (int r = span.first; r <= span.last; ++r) {
        seen.insert(reader.text(r).toCaseFolded());
        ExportNotification(TGridExportState::esExportNextRow, r);
    }
    if (span.outside > 0)
        seen.insert(QString());
    ExportNotification(TGridExportState::esExportDone, -1);
    return seen.size();
}

double TQrlStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    return columnSum(ACol, FromRow, ToRow, calcMode(ToRow));
}

double TQrlStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    return columnAvg(ACol, FromRow, ToRow, calcMode(ToRow));
}

double TQrlStringGrid::ColumnMin(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    return columnExtreme(ACol, FromRow, ToRow, calcMode(ToRow), false);
}

double TQrlStringGrid::ColumnMax(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    return columnExtreme(ACol, FromRow, ToRow, calcMode(ToRow), true);
}

double TQrlStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    return columnStdDev(ACol, FromRow, ToRow, TCalcMode::ShownRows);
}

double TQrlStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    return columnDistinct(ACol, FromRow, ToRow, TCalcMode::ShownRows);
}

double TQrlStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    double res = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TQrlStringGrid::GroupCustomValue(int ACol, int FromRow, int ToRow)
{
    normalRows(FromRow, ToRow);
    double res = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---- row figures ------------------------------------------------------------------------------

namespace {
enum TRowKind { rkSum, rkAvg, rkMin, rkMax };
}

double TQrlStringGrid::rowFigure(int ARow, int fromCol, int toCol, int Kind)
{
    const bool extreme = Kind == rkMin || Kind == rkMax;
    double best = extreme ? GetFloats(fromCol, ARow) : 0;
    double sum = 0;
    auto take = [&](double v) {
        sum += v;
        if ((Kind == rkMax && v > best) || (Kind == rkMin && v < best))
            best = v;
    };
    const TRowSpan span = spanOf(fromCol, toCol, TotalColCount() - 1);
    for (int c = span.first; c <= span.last; ++c) {
        if (!IsBaseCell(c, ARow))
            continue;
        try {
            take(GetFloats(c, ARow));
        } catch (const EQrlGridError &) {
            // A cell that holds no number adds nothing.
        }
    }
    if (span.outside > 0)
        take(0);
    switch (Kind) {
    case rkSum:
        return sum;
    case rkAvg:
        // An empty range has no average (rather than a division by zero or a negative count).
        return toCol < fromCol ? 0 : sum / (static_cast<double>(toCol) - fromCol + 1);
    default:
        return best;
    }
}

double TQrlStringGrid::RowSum(int ARow, int fromCol, int toCol)
{
    return rowFigure(ARow, fromCol, toCol, rkSum);
}

double TQrlStringGrid::RowAvg(int ARow, int fromCol, int toCol)
{
    return rowFigure(ARow, fromCol, toCol, rkAvg);
}

double TQrlStringGrid::RowMin(int ARow, int fromCol, int toCol)
{
    return rowFigure(ARow, fromCol, toCol, rkMin);
}

double TQrlStringGrid::RowMax(int ARow, int fromCol, int toCol)
{
    return rowFigure(ARow, fromCol, toCol, rkMax);
}

// ---- selection --------------------------------------------------------------------------------

void TQrlStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

QString TQrlStringGrid::SelectedText()
{
    TGridRect s = Selection();
    // Whole rows for drag and drop come with the drag-and-drop settings.
    QList<int> rows;
    if (d->mouseActions->DisjunctRowSelect()) {
        const bool persistent = d->mouseActions->RowSelectPersistent();
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (GetRowSelect(persistent ? RealRowIndex(r) : r))
                rows.append(r);
    } else {
        for (int r = s.Top; r <= s.Bottom; ++r)
            rows.append(r);
    }
    QString out;
    for (const int r : std::as_const(rows)) {
        for (int c = s.Left; c <= s.Right; ++c) {
            QString cell = GetCellEx(RealColIndex(c), r);
            // Rich text stays as stored until the rich-text editor converts it.
            if (CountLines(cell, true) > 1 && d->excelClipboardFormat)
                CRLFToVTQuoted(cell);
            out += cell;
            if (c != s.Right)
                out += QLatin1Char('\t');
        }
        if (r != s.Bottom)
            out += QStringLiteral("\r\n");
    }
    return out;
}

bool TQrlStringGrid::IsSelected(int ACol, int ARow)
{
    if (ARow < FixedRows() || ACol < FixedCols())
        return false;
    const TMouseActions &m = *d->mouseActions;
    if (m.DisjunctCellSelect())
        return GetSelectedCells(ACol, ARow);
    if (m.DisjunctRowSelect()) {
        const int row = m.RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
        return row < RowCount() + NumHiddenRows() && GetRowSelect(row);
    }
    if (m.DisjunctColSelect())
        return ACol < ColCount() && GetColSelect(ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

// ---- auto-numbering ---------------------------------------------------------------------------

void TQrlStringGrid::AutoNumberCol(int ACol)
{
    const int fr = FixedRows();
    const int end = RowCount() - FixedFooters() - 1;
    const bool down = d->autoNumberDirection == TSortDirection::sdDescending;
    for (int k = fr + d->autoNumberStart; k <= end; ++k) {
        const int value = k - fr + 1 + d->autoNumberOffset;
        // Descending numbers from the bottom up; the skipped rows lie at the bottom.
        SetInts(ACol, down ? fr + end - k : k, value);
    }
}

void TQrlStringGrid::AutoNumberRow(int ARow)
{
    const int fc = FixedCols();
    const int end = ColCount() - FixedRightCols() - 1;
    const bool down = d->autoNumberDirection == TSortDirection::sdDescending;
    for (int k = fc + d->autoNumberStart; k <= end; ++k) {
        const int value = k - fc + 1 + d->autoNumberOffset;
        SetInts(down ? fc + end - k : k, ARow, value);
    }
}

// ---- fitting columns and rows -----------------------------------------------------------------

void TQrlStringGrid::FitColumnWidth(int ACol, bool GrowOnly)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    const int rc = RealColIndex(ACol);
    int r0 = 0;
    int r1 = RowCount() - 1;
    switch (d->columnSize->Rows()) {
    case TAutoSizeRows::arAll:
        break;
    case TAutoSizeRows::arNormal:
        r0 = FixedRows();
        r1 = RowCount() - FixedFooters() - 1;
        break;
    case TAutoSizeRows::arFixed:
        r1 = FixedRows() - 1;
        break;
    }
    const int lines = 2 * GridLineWidth() + 2;
    const bool comboRoom = d->controlLook->DropDownAlwaysVisible();
    const int sortCol = d->sortSettings->Column();
    int widest = 0;
    for (int r = r0; r <= r1; ++r) {
        if (IsXMergedCell(rc, r))
            continue;
        const TCellGraphic *g = GetCellGraphic(rc, r);
        const TPoint gs = g ? GetCellGraphicSize(rc, r) : TPoint{0, 0};
        int w;
        if (g && g->CellHAlign() == TCellHAlign::haFull) {
            // A graphic that fills the cell keeps the column as it is.
            w = gs.X - lines - d->xyOffset.X;
        } else {
            w = gs.X + CalcCellTextSize(rc, ACol, false, false, r).cx;
            if (comboRoom && QueryHasCombo(rc, r))
                w += 16;
            // The filter button's room comes with the filter drop-down lists.
            if (ACol == sortCol && IsSortIndicatorRow(rc, r))
                w += 10;
        }
        widest = std::max(widest, w);
    }
    int width = widest + TotalXOffset() + lines;
    if (!GrowOnly || ColWidths(ACol) < width) {
        UpdateAutoColSize(ACol, width);
        SetColWidths(ACol, ClampToLimits(width, d->minColWidth, d->maxColWidth));
    }
}

void TQrlStringGrid::AutoSizeCol(int ACol, int Padding)
{
    if (ACol < 0 || ACol >= ColCount())
        return;
    FitColumnWidth(ACol, d->sizeGrowOnly);
    if (Padding != 0)
        SetColWidths(ACol,
                     ClampToLimits(ColWidths(ACol) + Padding, d->minColWidth, d->maxColWidth));
}

void TQrlStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const int c0 = DoFixedCols ? 0 : FixedCols();
    const int c1 = DoFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    for (int c = c0; c <= c1; ++c)
        AutoSizeCol(c, Padding);
}

void TQrlStringGrid::FitRowHeight(int ARow, bool GrowOnly, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    auto allRowsShown = [this] {
        return TopRow() <= FixedRows() && FixedRows() + VisibleRowCount() >= RowCount();
    };
    const bool typingAllShown = d->sizeWhileTyping->Height() && EditorMode() && allRowsShown();
    const bool wrap = WordWrap();
    int highest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        if (IsYMergedCell(rc, ARow) || IsIgnoredColumn(rc))
            continue;
        if (IsMergedNonBaseCell(rc, ARow))
            continue; // a covered cell needs no room of its own
        const TCellGraphic *g = GetCellGraphic(rc, ARow);
        const TCellType kind = g ? g->CellType() : TCellType::ctEmpty;
        if (kind == TCellType::ctCheckBox || kind == TCellType::ctDataCheckBox ||
            kind == TCellType::ctVirtCheckBox || kind == TCellType::ctRadioButton) {
            highest = std::max(highest, DefaultRowHeight());
            continue;
        }
        int th = CalcCellTextSize(rc, c, wrap, false, ARow).cy;
        int gh = g ? GetCellGraphicSize(rc, ARow).Y : 0;
        if (g && g->CellVAlign() == TCellVAlign::vaFull)
            gh = th > 0 ? 0 : DefaultRowHeight();
        highest = std::max(highest, th + gh);
    }
    const int height =
        highest + TotalYOffset() + 2 * GridLineWidth() + (d->xyOffsetTopLeftOnly ? 2 : 0);
    if (!GrowOnly || RowHeights(ARow) < height)
        SetRowHeights(ARow, ClampToLimits(height, d->minRowHeight, d->maxRowHeight));
    if (Padding != 0)
        SetRowHeights(ARow,
                      ClampToLimits(RowHeights(ARow) + Padding, d->minRowHeight, d->maxRowHeight));
    // A row grown while typing can bring up the scroll bar and push the editor's cell; the
    // editor comes back on it with the caret where the typing goes on.
    if (typingAllShown && !allRowsShown()) {
        ShowInplaceEdit();
        if (plat::TGridEditor *e = CellEditor(); e && EditorMode())
            e->SetSelStart(static_cast<int>(e->Text().size()));
    }
}

void TQrlStringGrid::AutoSizeRow(int ARow, int Padding)
{
    FitRowHeight(ARow, d->sizeGrowOnly, Padding);
}

void TQrlStringGrid::SizeRowToLines(int ARow, int Lines, int Extra)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    TFont font(Font());
    TBrush brush;
    QueryCellColor(FixedCols(), ARow, &font, &brush, {});
    // Rows mostly share one font: its metrics are made once.
    if (d->lineHeightFont.Name() != font.Name() || d->lineHeightFont.Height() != font.Height() ||
        d->lineHeightFont.Style() != font.Style() || d->lineHeight < 0) {
        d->lineHeightFont = font;
        d->lineHeight = QFontMetrics(font.toQFont()).height();
    }
    const int h = d->lineHeight;
    SetRowHeights(ARow,
                  ClampToLimits(Extra + Lines * (h + h / 8), d->minRowHeight, d->maxRowHeight));
}

void TQrlStringGrid::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (RowCount() == 0)
        return;
    const int r0 = DoFixedRows ? 0 : FixedRows();
    {
        TUpdatePair update(*this);
        ExportNotification(TGridExportState::esExportStart, r0);
        for (int r = r0; r < RowCount(); ++r) {
            if (WordWrap())
                AutoSizeRow(r, Padding);
            else
                SizeRowToLines(r, MaxLinesInRow(r), Padding);
            ExportNotification(TGridExportState::esExportNextRow, r);
        }
        ExportNotification(TGridExportState::esExportDone, -1);
    }
    UpdateScrollBarsAlways(false);
}

void TQrlStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    const int c0 = DoFixedCells ? 0 : FixedCols();
    const int r0 = DoFixedCells ? 0 : FixedRows();
    TUpdatePair update(*this);
    for (int c = c0; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        int running = d->sizeGrowOnly ? ColWidths(c) : 0;
        for (int r = r0; r < RowCount(); ++r) {
            const TSize ts = CalcCellTextSize(rc, c, false, false, r);
            const TPoint gs = GetCellGraphicSize(rc, r);
            int w = ts.cx + gs.X + PaddingX + d->xyOffset.X;
            int h = ts.cy + gs.Y + PaddingY + d->xyOffset.Y;
            if (!IsXMergedCell(rc, r) && w > running) {
                w = ClampToLimits(w, d->minColWidth, d->maxColWidth);
                if (w > running) {
                    SetColWidths(c, w);
                    running = w;
                }
            }
            if (!IsYMergedCell(rc, r) && h > RowHeights(r)) {
                h = ClampToLimits(h, d->minRowHeight, d->maxRowHeight);
                if (h > RowHeights(r))
                    SetRowHeights(r, h);
            }
        }
    }
}

// ---- control and content ----------------------------------------------------------------------

namespace {
// The parts of the control outside its client area: frame, and the scroll bars while shown.
int nonClientWidth(QAbstractScrollArea &g)
{
    return g.isVisible() ? g.width() - g.viewport()->width() : 2 * g.frameWidth();
}
int nonClientHeight(QAbstractScrollArea &g)
{
    return g.isVisible() ? g.height() - g.viewport()->height() : 2 * g.frameWidth();
}
} // namespace

void TQrlStringGrid::SizeToCols()
{
    long long sum = 0;
    for (int c = 0; c < ColCount(); ++c)
        sum += ColWidths(c);
    resize(static_cast<int>(std::min<long long>(sum + nonClientWidth(*this), QWIDGETSIZE_MAX)),
           height());
}

void TQrlStringGrid::SizeToRows()
{
    long long sum = 0;
    for (int r = 0; r < RowCount(); ++r)
        sum += RowHeights(r);
    resize(width(),
           static_cast<int>(std::min<long long>(sum + nonClientHeight(*this), QWIDGETSIZE_MAX)));
}

void TQrlStringGrid::SizeToCells()
{
    const plat::TScrollStyle bars = ScrollBars();
    SetScrollBars(plat::TScrollStyle::ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(bars);
}

void TQrlStringGrid::AutoFitColumns(bool DoFixedCells)
{
    const int scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool rowsHidden =
        ScrollBars() != plat::TScrollStyle::ssNone && VisibleRowCount() + FixedRows() < RowCount();
    const int s = d->scrollBarAlways == TScrollBarAlways::saVert || rowsHidden ? scrollWidth : 0;
    // A single border is two pixels a side with the 3-D look, one without.
    const int b = 2 * frameWidth();

    const int c0 = DoFixedCells ? 0 : FixedCols();
    const int c1 = DoFixedCells ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    int room = width();
    if (!DoFixedCells) {
        for (int c = 0; c < FixedCols(); ++c)
            room -= ColWidths(c);
        for (int c = ColCount() - FixedRightCols(); c < ColCount(); ++c)
            room -= ColWidths(c);
    }
    const plat::TGridOptions opts = Options();
    int lines = opts.Contains(plat::TGridOption::goVertLine)
                    ? GridLineWidth() * (ColCount() - FixedCols() - FixedRightCols())
                    : 0;
    if (opts.Contains(plat::TGridOption::goFixedVertLine) && DoFixedCells)
        lines += FixedCols() + FixedRightCols();
    const int avail = room - s - b;

    if (ColCount() < 2) {
        SetColWidths(0, width() - s - 5);
    } else {
        long long sum = 0;
        for (int c = c0; c <= c1; ++c)
            sum += ColWidths(c);
        if (sum == avail)
            return;
        if (sum > 0) {
            const double e = static_cast<double>(avail - lines) / static_cast<double>(sum);
            double total = 0;
            for (int c = c0; c <= c1; ++c)
                total += std::nearbyint(e * ColWidths(c));
            for (int c = c0; c <= c1; ++c)
                SetColWidths(c, static_cast<int>(std::nearbyint(ColWidths(c) * total /
                                                                static_cast<double>(sum))));
        } else {
            // Columns without width share the room evenly below.
            for (int c = c0; c <= c1; ++c)
                SetColWidths(c, 0);
        }
    }

    const int n = std::max(0, c1 - c0 + 1);
    long long newSum = 0;
    for (int c = c0; c <= c1; ++c)
        newSum += ColWidths(c);
    long long rest = avail - newSum;
    if (n > 1 && rest > n) {
        for (int c = c0; c <= c1; ++c)
            SetColWidths(c, ColWidths(c) + static_cast<int>(rest / n));
        rest %= n;
    }
    int widest = n > 0 ? c0 : 0;
    for (int c = c0; c <= c1; ++c)
        if (ColWidths(c) > ColWidths(widest))
            widest = c;
    SetColWidths(widest, ColWidths(widest) + static_cast<int>(rest));
}

// ---- swapping ---------------------------------------------------------------------------------

void TQrlStringGrid::SwapColumns(int ACol1, int ACol2)
{
    const int cols = TotalColCount();
    if (ACol1 < 0 || ACol2 < 0 || ACol1 >= cols || ACol2 >= cols)
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
    if (ACol1 == ACol2)
        return;
    TUpdatePair update(*this);
    auto swapProps = [](TCellProperties *&a, TCellProperties *&b, int colA, int colB) {
        std::swap(a, b);
        if (a)
            a->SetOwnerCol(colA);
        if (b)
            b->SetOwnerCol(colB);
    };
    for (int r = 0; r < RowCount(); ++r) {
        const QString t = GetGridCell(ACol1, r);
        SetGridCell(ACol1, r, GetGridCell(ACol2, r));
        SetGridCell(ACol2, r, t);
        TCellProperties *p1 = GetGridObject(ACol1, r);
        TCellProperties *p2 = GetGridObject(ACol2, r);
        if (!p1 && !p2)
            continue;
        swapProps(p1, p2, ACol1, ACol2);
        SetGridObject(ACol1, r, p1);
        SetGridObject(ACol2, r, p2);
    }
    // Hidden rows keep their cells outside the store; they swap too, or they would come back
    // with their columns mixed up.
    for (int j = 0; j < TotalRowCount() && NumHiddenRows() > 0; ++j) {
        QStringList *cells = HiddenRowCells(j);
        if (!cells)
            continue;
        while (cells->size() < cols)
            cells->append(QString());
        cells->swapItemsAt(ACol1, ACol2);
        if (QVector<void *> *objs = HiddenRowObjects(j)) {
            while (objs->size() < cols)
                objs->append(nullptr);
            auto *p1 = static_cast<TCellProperties *>(objs->at(ACol1));
            auto *p2 = static_cast<TCellProperties *>(objs->at(ACol2));
            swapProps(p1, p2, ACol1, ACol2);
            (*objs)[ACol1] = p1;
            (*objs)[ACol2] = p2;
        }
    }
    const int d1 = DisplColIndex(ACol1);
    const int d2 = DisplColIndex(ACol2);
    if (d1 < ColCount() && d2 < ColCount() && !IsHiddenColumn(ACol1) && !IsHiddenColumn(ACol2)) {
        const int w = ColWidths(d1);
        SetColWidths(d1, ColWidths(d2));
        SetColWidths(d2, w);
    }
    if (d->sortSettings->Column() == ACol1)
        d->sortSettings->SetColumn(ACol2);
    else if (d->sortSettings->Column() == ACol2)
        d->sortSettings->SetColumn(ACol1);
    for (int i = 0; i < d->controlList.Count(); ++i) {
        TControlItem *item = d->controlList.GetControl(i);
        if (item->X == ACol1)
            item->X = ACol2;
        else if (item->X == ACol2)
            item->X = ACol1;
    }
    Invalidate();
}

void TQrlStringGrid::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
    if (ARow1 == ARow2)
        return;
    TUpdatePair update(*this);
    ExchangeRowCells(ARow1, ARow2);
    const int h = RowHeights(ARow1);
    SetRowHeights(ARow1, RowHeights(ARow2));
    SetRowHeights(ARow2, h);
    const int real1 = RealRowIndex(ARow1);
    const int real2 = RealRowIndex(ARow2);
    for (int i = 0; i < d->controlList.Count(); ++i) {
        TControlItem *item = d->controlList.GetControl(i);
        if (item->Y == real1)
            item->Y = real2;
        else if (item->Y == real2)
            item->Y = real1;
    }
    Invalidate();
}

// ---- scaling ----------------------------------------------------------------------------------

void TQrlStringGrid::ChangeScaleHook(int M, int D)
{
    if (M == D || D == 0)
        return;
    // Rounded to the nearest, halves away from zero.
    auto scaled = [&](int size) {
        return static_cast<int>(std::llround(static_cast<double>(size) * M / D));
    };
    d->fixedFont.SetSize(scaled(d->fixedFont.Size()));
    d->activeCellFont.SetSize(scaled(d->activeCellFont.Size()));
}

// ---- settings ---------------------------------------------------------------------------------

bool TQrlStringGrid::SizeGrowOnly() const
{
    return d->sizeGrowOnly;
}
void TQrlStringGrid::SetSizeGrowOnly(bool Value)
{
    d->sizeGrowOnly = Value;
}
int TQrlStringGrid::AutoNumberStart() const
{
    return d->autoNumberStart;
}
void TQrlStringGrid::SetAutoNumberStart(int Value)
{
    d->autoNumberStart = Value;
}
int TQrlStringGrid::AutoNumberOffset() const
{
    return d->autoNumberOffset;
}
void TQrlStringGrid::SetAutoNumberOffset(int Value)
{
    d->autoNumberOffset = Value;
}
TSortDirection TQrlStringGrid::AutoNumberDirection() const
{
    return d->autoNumberDirection;
}
void TQrlStringGrid::SetAutoNumberDirection(TSortDirection Value)
{
    d->autoNumberDirection = Value;
}
bool TQrlStringGrid::XYOffsetTopLeftOnly() const
{
    return d->xyOffsetTopLeftOnly;
}
void TQrlStringGrid::SetXYOffsetTopLeftOnly(bool Value)
{
    d->xyOffsetTopLeftOnly = Value;
    Invalidate();
}
bool TQrlStringGrid::MultilineCells() const
{
    return d->multilineCells;
}
void TQrlStringGrid::SetMultilineCells(bool Value)
{
    d->multilineCells = Value;
    Invalidate();
}
TColumnSize *TQrlStringGrid::ColumnSize() const
{
    return d->columnSize.get();
}
