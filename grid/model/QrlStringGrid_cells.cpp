// Cell access by real row, cell attributes, typed values and the text utilities on cells.
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGridCheck.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QRandomGenerator>

using plat::TGridCoord;

// ---- texts and objects by real row ------------------------------------------------------------

QString TQrlStringGrid::GetCellsEx(int i, int j) const
{
    if (i < 0 || j < 0)
        return {};
    if (const QStringList *cells = HiddenRowCells(j)) {
        QString s = i < cells->size() ? cells->at(i) : QString();
        GetDisplText(i, j, s);
        return s;
    }
    return GetCellEx(i, DisplRowIndex(j));
}

void TQrlStringGrid::SetCellsEx(int i, int j, const QString &Value)
{
    if (QStringList *cells = HiddenRowCells(j)) {
        while (cells->size() <= i)
            cells->append(QString());
        (*cells)[i] = Value;
        if (QVector<void *> *objs = HiddenRowObjects(j))
            while (objs->size() < cells->size())
                objs->append(nullptr);
        return;
    }
    const int dr = DisplRowIndex(j);
    SetCellEx(i, dr, Value);
    if (DisplColIndex(i) != i)
        RepaintCell(DisplColIndex(i), dr);
}

QString TQrlStringGrid::GetGridCellsEx(int i, int j) const
{
    if (const QStringList *cells = HiddenRowCells(j)) {
        if (i < 0 || i >= cells->size())
            throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(i));
        return cells->at(i);
    }
    return GetGridCell(i, DisplRowIndex(j));
}

void TQrlStringGrid::SetGridCellsEx(int i, int j, const QString &Value)
{
    if (QStringList *cells = HiddenRowCells(j)) {
        if (i < 0 || i >= cells->size())
            throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(i));
        (*cells)[i] = Value;
        return;
    }
    const int dr = DisplRowIndex(j);
    SetGridCell(i, dr, Value);
    if (DisplColIndex(i) != i)
        RepaintCell(DisplColIndex(i), dr);
}

void *TQrlStringGrid::GetObjectsEx(int i, int j) const
{
    if (QVector<void *> *objs = HiddenRowObjects(j)) {
        void *o = i >= 0 && i < objs->size() ? objs->at(i) : nullptr;
        // Hidden rows keep the cell properties themselves in their object entries.
        if (auto *p = static_cast<TCellProperties *>(o))
            return p->CellObject();
        return nullptr;
    }
    return GetObjectEx(i, DisplRowIndex(j));
}

void TQrlStringGrid::SetObjectsEx(int i, int j, void *aObject)
{
    if (QVector<void *> *objs = HiddenRowObjects(j)) {
        if (i >= 0 && i < objs->size() && objs->at(i))
            static_cast<TCellProperties *>(objs->at(i))->SetCellObject(aObject);
        // A hidden cell without properties has nowhere to keep an object of its own.
        return;
    }
    SetObjectEx(i, DisplRowIndex(j), aObject);
}

void *TQrlStringGrid::GetGridObjectsEx(int ACol, int ARow) const
{
    if (QVector<void *> *objs = HiddenRowObjects(ARow))
        return ACol >= 0 && ACol < objs->size() ? objs->at(ACol) : nullptr;
    return GetGridObject(ACol, DisplRowIndex(ARow));
}

QString TQrlStringGrid::GetOriginalCells(int i, int j) const
{
    const int c = i >= 0 && i < d->columnOrder.Count() ? d->columnOrder.Items(i) : -1;
    return GetCellEx(c == -1 ? i : c, j);
}

void TQrlStringGrid::SetOriginalCells(int i, int j, const QString &Value)
{
    const int c = i >= 0 && i < d->columnOrder.Count() ? d->columnOrder.Items(i) : -1;
    SetCellEx(c == -1 ? i : c, j, Value);
}

namespace {
// The row now holding the row that stood at `origin` before sorting; past the list, the row
// just after it.
int sortedPosition(const TSortPermutation &xref, int origin)
{
    if (xref.count() < origin)
        return origin;
    return origin >= 0 && origin < xref.count() ? xref.positionOf(origin) : xref.count();
}
} // namespace

QString TQrlStringGrid::GetUnSortedCell(int i, int j) const
{
    return GetCellEx(i, sortedPosition(d->sortXRef, j));
}

void TQrlStringGrid::SetUnSortedCell(int i, int j, const QString &Value)
{
    SetCellEx(i, sortedPosition(d->sortXRef, j), Value);
}

int TQrlStringGrid::SortedRowIndex(int ARow) const
{
    const int r = ARow >= 0 && ARow < d->sortXRef.count() ? d->sortXRef.originAt(ARow) : ARow;
    return RealRowIndex(r);
}

int TQrlStringGrid::UnSortedRowIndex(int ARow) const
{
    if (d->sortXRef.isEmpty())
        return ARow;
    return sortedPosition(d->sortXRef, ARow);
}

QString TQrlStringGrid::GetStrippedCell(int i, int j) const
{
    return StripHTMLTags(GetCellEx(i, j));
}

int TQrlStringGrid::GetLinesInCell(int i, int j) const
{
    return CountLines(GetCellEx(i, j), true);
}

// ---- cell attributes --------------------------------------------------------------------------

void TQrlStringGrid::repaintUnlessUpdating(int i, int j)
{
    if (d->updateCount == 0)
        RepaintCell(DisplColIndex(i), j);
}

void TQrlStringGrid::repaintAfterWrite(int i, int j)
{
    RepaintCell(DisplColIndex(i), j);
}

TColor TQrlStringGrid::GetColors(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->BrushColor() : clNone;
}

void TQrlStringGrid::SetColors(int i, int j, TColor Value)
{
    // The properties' setter repaints; inside an update nothing is painted anyway.
    GetCellProperties(i, j)->SetBrushColor(Value);
}

TColor TQrlStringGrid::GetColorsTo(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->BrushColorTo() : clNone;
}

void TQrlStringGrid::SetColorsTo(int i, int j, TColor Value)
{
    GetCellProperties(i, j)->SetBrushColorTo(Value);
}

TCellGradientDirection TQrlStringGrid::GetGradientDir(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->GradientDirection()
                                   : TCellGradientDirection::GradientVertical;
}

void TQrlStringGrid::SetGradientDir(int i, int j, TCellGradientDirection Value)
{
    GetCellProperties(i, j)->SetGradientDirection(Value);
    repaintAfterWrite(i, j);
}

TColor TQrlStringGrid::GetFontColors(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->FontColor() : clNone;
}

void TQrlStringGrid::SetFontColors(int i, int j, TColor Value)
{
    GetCellProperties(i, j)->SetFontColor(Value);
    repaintAfterWrite(i, j);
}

TFontStyles TQrlStringGrid::GetFontStyles(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->FontStyle() : TFontStyles{};
}

void TQrlStringGrid::SetFontStyles(int i, int j, TFontStyles Value)
{
    GetCellProperties(i, j)->SetFontStyle(Value);
    repaintAfterWrite(i, j);
}

int TQrlStringGrid::GetFontSizes(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->FontSize() : 0;
}

void TQrlStringGrid::SetFontSizes(int i, int j, int Value)
{
    GetCellProperties(i, j)->SetFontSize(Value);
    repaintAfterWrite(i, j);
}

QString TQrlStringGrid::GetFontNames(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->FontName() : QString();
}

void TQrlStringGrid::SetFontNames(int i, int j, const QString &Value)
{
    GetCellProperties(i, j)->SetFontName(Value);
    repaintAfterWrite(i, j);
}

TAlignment TQrlStringGrid::GetAlignments(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->Alignment() : TAlignment::taLeftJustify;
}

void TQrlStringGrid::SetAlignments(int i, int j, TAlignment Value)
{
    GetCellProperties(i, j)->SetAlignment(Value);
    repaintAfterWrite(i, j);
}

bool TQrlStringGrid::GetReadOnly(int i, int j) const
{
    return HasCellProperties(i, j) && GetGridObject(i, j)->ReadOnly();
}

void TQrlStringGrid::SetReadOnly(int i, int j, bool Value)
{
    GetCellProperties(i, j)->SetReadOnly(Value);
    repaintAfterWrite(i, j);
}

bool TQrlStringGrid::GetWordWraps(int i, int j)
{
    return GetCellProperties(i, j)->WordWrap();
}

void TQrlStringGrid::SetWordWraps(int i, int j, bool Value)
{
    GetCellProperties(i, j)->SetWordWrap(Value);
}

void TQrlStringGrid::SetCellFont(int i, int j, const TFont &Value)
{
    TCellProperties *p = GetCellProperties(i, j);
    p->SetFontName(Value.Name());
    p->SetFontSize(Value.Size());
    p->SetFontStyle(Value.Style());
    p->SetFontColor(Value.Color());
    repaintUnlessUpdating(i, j);
}

void TQrlStringGrid::SetRowColor(int i, TColor AColor)
{
    for (int c = TBaseGrid::FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone)
            GetCellProperties(c, i)->SetBrushColor(AColor);
        else if (GetCellType(c, i) == TCellType::ctNone) {
            // The plain graphic goes with the properties; freeing only the properties would
            // leave it without an owner.
            RemoveCellGraphic(c, i);
            FreeCellPropertiesAt(c, i);
        } else
            GetCellProperties(c, i)->SetBrushColor(clNone);
    }
    InvalidateRow(i);
}

void TQrlStringGrid::SetRowColorTo(int i, TColor AColor)
{
    for (int c = TBaseGrid::FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone)
            GetCellProperties(c, i)->SetBrushColorTo(AColor);
        else
            FreeCellPropertiesAt(c, i);
    }
    InvalidateRow(i);
}

void TQrlStringGrid::SetRowFontColor(int i, TColor AColor)
{
    for (int c = TBaseGrid::FixedCols(); c < AllColCount(); ++c) {
        if (AColor != clNone)
            GetCellProperties(c, i)->SetFontColor(AColor);
        else if (GetColors(c, i) == clNone)
            FreeCellPropertiesAt(c, i);
    }
    InvalidateRow(i);
}

QWidget *TQrlStringGrid::GetCellControls(int i, int j) const
{
    return HasCellProperties(i, j) ? GetGridObject(i, j)->Control() : nullptr;
}

void TQrlStringGrid::SetCellControls(int i, int j, QWidget *AControl)
{
    TCellProperties *p = GetCellProperties(i, j);
    const int realRow = RealRowIndex(j);
    const int idx = d->controlList.ControlIndex(i, realRow);
    if (!AControl) {
        if (p->Control()) {
            if (idx >= 0)
                d->controlList.RemoveControl(idx);
            d->numCellControls = std::max(0, d->numCellControls - 1);
        }
        p->SetControl(nullptr);
        return;
    }
    if (idx >= 0)
        d->controlList.RemoveControl(idx);
    if (!p->Control())
        ++d->numCellControls;
    d->controlList.AddControl(i, realRow, AControl);
    p->SetControl(AControl);
    AControl->setParent(viewport());
    const TRect r = CellRect(i, j);
    AControl->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

int TQrlStringGrid::NumCellControls() const
{
    return d->numCellControls;
}

TControlList &TQrlStringGrid::ControlList()
{
    return d->controlList;
}

TEditorType TQrlStringGrid::CurrentEditor() const
{
    return EditControl();
}

QString TQrlStringGrid::CurrentCell() const
{
    const TGridCoord b = BaseCell(RealCol(), Row());
    return GetGridCell(b.X, b.Y);
}

void TQrlStringGrid::SetCurrentCell(const QString &Value)
{
    const TGridCoord b = BaseCell(RealCol(), Row());
    SetCellEx(b.X, b.Y, Value);
}

QString TQrlStringGrid::CurrentCellText() const
{
    const TGridCoord b = BaseCell(RealCol(), Row());
    return GetCellEx(b.X, b.Y);
}

void TQrlStringGrid::SetCurrentCellEditText(const QString &Value)
{
    const TGridCoord b = BaseCell(RealCol(), Row());
    if (b.X == RealCol() && b.Y == Row())
        SetEditText(Col(), Row(), Value);
    else
        SetEditText(b.X, b.Y, Value);
}

// ---- columns, counts and view -----------------------------------------------------------------

int TQrlStringGrid::GetAllColWidths(int i) const
{
    if (IsHiddenColumn(i))
        return d->hiddenColumns.width(i);
    return ColWidths(DisplColIndex(i));
}

void TQrlStringGrid::SetAllColWidths(int i, int Value)
{
    d->hiddenColumns.setWidth(i, Value);
    if (!IsHiddenColumn(i))
        SetColWidths(DisplColIndex(i), Value);
}

Qt::CursorShape TQrlStringGrid::Cursor() const
{
    return viewport()->cursor().shape();
}

void TQrlStringGrid::SetCursor(Qt::CursorShape Value)
{
    viewport()->setCursor(Value);
    d->oldCursor = Value;
}

void TQrlStringGrid::Zoom(int x)
{
    const int n = d->zoomFactor + x;
    if (n > 10 || n < -10)
        return;
    d->scrollLock = true;
    d->zoomFactor = n;
    for (int c = 0; c < ColCount(); ++c) {
        const int w = ColWidths(c);
        if (w > 0 && w + x > 0)
            SetColWidths(c, w + x);
    }
    for (int r = 0; r < RowCount(); ++r) {
        const int h = RowHeights(r);
        if (h > 0 && h + x > 0)
            SetRowHeights(r, h + x);
    }
    d->scrollLock = false;
}

void TQrlStringGrid::SetQuorlGradientFrom(TColor Value)
{
    d->gradientFrom = ColorToRGB(Value);
    Invalidate();
}
void TQrlStringGrid::SetQuorlGradientTo(TColor Value)
{
    d->gradientTo = ColorToRGB(Value);
    Invalidate();
}
void TQrlStringGrid::SetQuorlGradientMirrorFrom(TColor Value)
{
    d->gradientMirrorFrom = ColorToRGB(Value);
    Invalidate();
}
void TQrlStringGrid::SetQuorlGradientMirrorTo(TColor Value)
{
    d->gradientMirrorTo = ColorToRGB(Value);
    Invalidate();
}
TColor TQrlStringGrid::QuorlGradientFrom() const
{
    return d->gradientFrom;
}
TColor TQrlStringGrid::QuorlGradientTo() const
{
    return d->gradientTo;
}
TColor TQrlStringGrid::QuorlGradientMirrorFrom() const
{
    return d->gradientMirrorFrom;
}
TColor TQrlStringGrid::QuorlGradientMirrorTo() const
{
    return d->gradientMirrorTo;
}

// ---- typed values -----------------------------------------------------------------------------

namespace {
const QString NoInteger = QStringLiteral("Cell does not contain integer value");
const QString NoFloat = QStringLiteral("Cell does not contain a float value");

int parseCellInt(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QLatin1String("-"))
        return 0;
    int v = 0;
    if (!GridTryStrToInt(t, v))
        throw EQrlGridError(NoInteger);
    return v;
}

double parseCellFloat(const QString &text)
{
    const QString t = ExtractNumberText(text);
    if (t.isEmpty() || t == QLatin1String("-"))
        return 0;
    double v = 0;
    if (!GridTryStrToFloat(t, v))
        throw EQrlGridError(NoFloat);
    return v;
}

QString formatFloat(const QString &fmt, double value)
{
    QString out;
    if (!GridFormat(fmt, {value}, out))
        throw EQrlGridError(
            QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fmt));
    return out;
}
} // namespace

void TQrlStringGrid::SetInts(int ACol, int ARow, int Value)
{
    SetCellEx(ACol, ARow, QString::number(Value));
    if (NumHiddenColumns() > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

int TQrlStringGrid::GetInts(int ACol, int ARow) const
{
    return parseCellInt(GetStrippedCell(ACol, ARow));
}

void TQrlStringGrid::SetAllInts(int ACol, int ARow, int Value)
{
    SetCellsEx(ACol, ARow, QString::number(Value));
}

int TQrlStringGrid::GetAllInts(int ACol, int ARow) const
{
    return parseCellInt(GetCellsEx(ACol, ARow));
}

void TQrlStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    SetCellEx(ACol, ARow, formatFloat(QueryFloatFormat(ACol, ARow), Value));
}

double TQrlStringGrid::GetFloats(int ACol, int ARow) const
{
    return parseCellFloat(GetStrippedCell(ACol, ARow));
}

void TQrlStringGrid::SetAllFloats(int ACol, int ARow, double Value)
{
    SetCellsEx(ACol, ARow, formatFloat(d->floatFormat, Value));
}

double TQrlStringGrid::GetAllFloats(int ACol, int ARow) const
{
    return parseCellFloat(GetCellsEx(ACol, ARow));
}

void TQrlStringGrid::SetDates(int ACol, int ARow, TDateTime Value)
{
    SetCellEx(ACol, ARow, Value > 0 || d->showNullDates ? GridDateToStr(Value) : QString());
}

TDateTime TQrlStringGrid::GetDates(int ACol, int ARow) const
{
    return GridStrToDate(GetCellEx(ACol, ARow));
}

void TQrlStringGrid::SetTimes(int ACol, int ARow, TDateTime Value)
{
    SetCellEx(ACol, ARow, GridTimeToStr(Value));
}

TDateTime TQrlStringGrid::GetTimes(int ACol, int ARow) const
{
    return GridStrToTime(GetCellEx(ACol, ARow));
}

QString TQrlStringGrid::GetCtrlVal(int ACol, int ARow, const QString &ID) const
{
    QString v;
    if (!GetHTMLControlValue(GetCellEx(ACol, ARow), ID, v))
        return {};
    return v;
}

void TQrlStringGrid::SetCtrlVal(int ACol, int ARow, const QString &ID, const QString &Value)
{
    QString text = GetCellEx(ACol, ARow);
    if (SetHTMLControlValue(text, ID, Value))
        SetCellEx(ACol, ARow, text);
}

// ---- marking and highlighting -----------------------------------------------------------------

QString TQrlStringGrid::HilightText(bool DoCase, const QString &S, const QString &Text) const
{
    return MarkHTMLMatches(S, Text, QStringLiteral("hi"), DoCase);
}

QString TQrlStringGrid::MarkText(bool DoCase, const QString &S, const QString &Text) const
{
    return MarkHTMLMatches(S, Text, QStringLiteral("e"), DoCase);
}

QString TQrlStringGrid::UnHilightText(const QString &S) const
{
    return UnmarkHTMLTag(S, QStringLiteral("hi"));
}

QString TQrlStringGrid::UnMarkText(const QString &S) const
{
    return UnmarkHTMLTag(S, QStringLiteral("e"));
}

void TQrlStringGrid::TagTextInRange(const QString &HiText,
                                    const QString &Tag,
                                    int FromCol,
                                    int ToCol,
                                    int FromRow,
                                    int ToRow,
                                    bool DoCase)
{
    const QString hi = EncodeHTMLEntities(HiText, false);
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) {
            if (IsMergedNonBaseCell(c, r))
                continue;
            const QString text = OnGetDisplText ? GetCellEx(c, r) : GetGridCell(c, r);
            SetCellEx(c, r, MarkHTMLMatches(EncodeHTMLEntities(text, false), hi, Tag, DoCase));
        }
}

void TQrlStringGrid::UnTagTextInRange(
    const QString &Tag, int FromCol, int ToCol, int FromRow, int ToRow)
{
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) {
            if (IsMergedNonBaseCell(c, r))
                continue;
            const QString text = DecodeHTMLEntities(GetCellEx(c, r), false);
            SetCellEx(c, r, UnmarkHTMLTag(text, Tag));
        }
}

namespace {
const QString TagHi = QStringLiteral("hi");
const QString TagMark = QStringLiteral("e");
} // namespace

void TQrlStringGrid::HilightInCell(bool DoCase, int Col, int Row, const QString &HiText)
{
    TagTextInRange(HiText, TagHi, Col, Col, Row, Row, DoCase);
}
void TQrlStringGrid::MarkInCell(bool DoCase, int Col, int Row, const QString &HiText)
{
    TagTextInRange(HiText, TagMark, Col, Col, Row, Row, DoCase);
}
void TQrlStringGrid::UnHilightInCell(int Col, int Row)
{
    UnTagTextInRange(TagHi, Col, Col, Row, Row);
}
void TQrlStringGrid::UnMarkInCell(int Col, int Row)
{
    UnTagTextInRange(TagMark, Col, Col, Row, Row);
}

void TQrlStringGrid::HilightInCol(bool DoFixed, bool DoCase, int Col, const QString &HiText)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    TagTextInRange(HiText, TagHi, Col, Col, r0, r1, DoCase);
}
void TQrlStringGrid::MarkInCol(bool DoFixed, bool DoCase, int Col, const QString &HiText)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    TagTextInRange(HiText, TagMark, Col, Col, r0, r1, DoCase);
}
void TQrlStringGrid::UnHilightInCol(bool DoFixed, int Col)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    UnTagTextInRange(TagHi, Col, Col, r0, r1);
}
void TQrlStringGrid::UnMarkInCol(bool DoFixed, int Col)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    UnTagTextInRange(TagMark, Col, Col, r0, r1);
}

void TQrlStringGrid::HilightInRow(bool DoFixed, bool DoCase, int Row, const QString &HiText)
{
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    TagTextInRange(HiText, TagHi, c0, c1, Row, Row, DoCase);
}
void TQrlStringGrid::MarkInRow(bool DoFixed, bool DoCase, int Row, const QString &HiText)
{
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    TagTextInRange(HiText, TagMark, c0, c1, Row, Row, DoCase);
}
void TQrlStringGrid::UnHilightInRow(bool DoFixed, int Row)
{
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 =
        (DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1) + NumHiddenColumns();
    UnTagTextInRange(TagHi, c0, c1, Row, Row);
}
void TQrlStringGrid::UnMarkInRow(bool DoFixed, int Row)
{
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 =
        (DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1) + NumHiddenColumns();
    UnTagTextInRange(TagMark, c0, c1, Row, Row);
}

void TQrlStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const QString &HiText)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 =
        DoFixed ? ColCount() - 1 : ColCount() + NumHiddenColumns() - FixedRightCols() - 1;
    TagTextInRange(HiText, TagHi, c0, c1, r0, r1, DoCase);
}
void TQrlStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const QString &HiText)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    TagTextInRange(HiText, TagMark, c0, c1, r0, r1, DoCase);
}
void TQrlStringGrid::UnHilightInGrid(bool DoFixed)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() + NumHiddenColumns() - 1
                           : ColCount() + NumHiddenColumns() - FixedRightCols() - 1;
    UnTagTextInRange(TagHi, c0, c1, r0, r1);
}
void TQrlStringGrid::UnMarkInGrid(bool DoFixed)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() + NumHiddenColumns() - 1
                           : ColCount() + NumHiddenColumns() - FixedRightCols() - 1;
    UnTagTextInRange(TagMark, c0, c1, r0, r1);
}

// ---- cell checking ----------------------------------------------------------------------------

TQrlStringGridCheck *TQrlStringGrid::CellChecker() const
{
    return d->cellChecker;
}

void TQrlStringGrid::SetCellChecker(TQrlStringGridCheck *Value)
{
    d->cellChecker = Value;
}

bool TQrlStringGrid::CheckCell(int Col, int Row)
{
    TQrlStringGridCheck *checker = d->cellChecker;
    if (!checker)
        return true;
    const QString before = UnMarkText(GetCellEx(Col, Row));
    QString text = before;
    if (checker->GotoCell) {
        SetRow(Row);
        SetCol(DisplColIndex(Col));
    }
    if (checker->UseCorrect)
        checker->Correct(Col, Row, text, before);
    if (checker->UseMarkError)
        checker->MarkError(Col, Row, text, before);
    SetCellEx(Col, Row, text);
    return text == before;
}

bool TQrlStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    TQrlStringGridCheck *checker = d->cellChecker;
    if (!checker)
        return true;
    checker->StartCheck();
    const int oldRow = Row();
    const int oldCol = Col();
    bool all = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c)
            all = CheckCell(c, r) && all;
    checker->StopCheck();
    if (checker->GotoCell) {
        SetRow(oldRow);
        SetCol(oldCol);
    }
    return all;
}

bool TQrlStringGrid::checkRange(int FromCol, int FromRow, int ToCol, int ToRow)
{
    return CheckCells(FromCol, FromRow, ToCol, ToRow);
}

bool TQrlStringGrid::CheckCol(bool DoFixed, int Col)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    return checkRange(Col, r0, Col, r1);
}

bool TQrlStringGrid::CheckRow(bool DoFixed, int Row)
{
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    return checkRange(c0, Row, c1, Row);
}

bool TQrlStringGrid::CheckGrid(bool DoFixed)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    return checkRange(c0, r0, c1, r1);
}

// ---- fills and swaps --------------------------------------------------------------------------

void TQrlStringGrid::fillRange(bool DoFixed, const std::function<void(int c, int r)> &Fill)
{
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters() - 1;
    const int c0 = DoFixed ? 0 : TBaseGrid::FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            Fill(c, r);
    AfterCellsLoaded();
}

void TQrlStringGrid::TextFill(bool DoFixed, const QString &Txt)
{
    fillRange(DoFixed, [&](int c, int r) { SetCellEx(c, r, Txt); });
}

void TQrlStringGrid::FormatFill(bool DoFixed, const QString &Fmt)
{
    fillRange(DoFixed, [&](int c, int r) {
        QString out;
        if (!GridFormat(Fmt, {c, r}, out))
            throw EQrlGridError(
                QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
        SetCellEx(c, r, out);
    });
}

void TQrlStringGrid::RandomFill(bool DoFixed, int Rnd)
{
    fillRange(DoFixed, [&](int c, int r) {
        SetInts(c, r, Rnd > 0 ? static_cast<int>(QRandomGenerator::global()->bounded(Rnd)) : 0);
    });
}

void TQrlStringGrid::LinearFill(bool DoFixed)
{
    fillRange(DoFixed,
              [&](int c, int r) { SetCellEx(c, r, QStringLiteral("%1:%2").arg(c).arg(r)); });
}

void TQrlStringGrid::SwapCells(TGridCoord FromCell, TGridCoord ToCell)
{
    const QString t = GetGridCell(FromCell.X, FromCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, GetGridCell(ToCell.X, ToCell.Y));
    SetGridCell(ToCell.X, ToCell.Y, t);
    TCellProperties *o = GetGridObject(FromCell.X, FromCell.Y);
    SetGridObject(FromCell.X, FromCell.Y, GetGridObject(ToCell.X, ToCell.Y));
    SetGridObject(ToCell.X, ToCell.Y, o);
}

// ---- header lists -----------------------------------------------------------------------------

const QStringList &TQrlStringGrid::ColumnHeaders() const
{
    return d->columnHeaders;
}

void TQrlStringGrid::SetColumnHeaders(const QStringList &Value)
{
    const bool changed = d->columnHeaders != Value;
    d->columnHeaders = Value;
    if (FixedRows() > 0)
        ClearColumnHeaders();
    if (changed)
        HeaderListChanged();
    ShowColumnHeaders();
}

void TQrlStringGrid::ClearColumnHeaders()
{
    for (int c = 0; c < ColCount(); ++c)
        SetCellEx(c, 0, QString());
}

void TQrlStringGrid::ShowColumnHeaders()
{
    if (FixedRows() == 0)
        return;
    for (int i = 0; i < d->columnHeaders.size() && i < TotalColCount(); ++i)
        SetCellEx(i, 0, UnescapeNewLines(d->columnHeaders[i]));
}

const QStringList &TQrlStringGrid::RowHeaders() const
{
    return d->rowHeaders;
}

void TQrlStringGrid::SetRowHeaders(const QStringList &Value)
{
    d->rowHeaders = Value;
    ShowRowHeaders();
}

void TQrlStringGrid::ClearRowHeaders()
{
    for (int r = 0; r < RowCount(); ++r)
        SetCellEx(0, r, QString());
}

void TQrlStringGrid::ShowRowHeaders()
{
    if (TBaseGrid::FixedCols() == 0)
        return;
    for (int i = 0; i < d->rowHeaders.size() && i < RowCount(); ++i)
        SetCellEx(0, i, UnescapeNewLines(d->rowHeaders[i]));
}

void TQrlStringGrid::SplitMergedColumns()
{
    for (int c = 0; c < ColCount(); ++c)
        SplitColumnCells(c);
}

void TQrlStringGrid::ReMergeColumns()
{
    for (int k = 0; k < d->mergedColumns.Count(); ++k)
        MergeColumnCells(d->mergedColumns.Items(k), k == 0);
}
