// The graphic families of the string grid: adders, creators, getters, setters and removers of
// the graphics a cell can carry beside its text.
#include "grid/model/QrlCellDrawer.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlFilePicture.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlImageList.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

TCellGraphic *ofKind(TCellGraphic *g, TCellType kind)
{
    return g && g->CellType() == kind ? g : nullptr;
}

TCellRef colorRef(TColor c)
{
    return TCellRef::Value(c);
}

} // namespace

// --- bitmaps, pictures, icons -------------------------------------------------------------------

void TQrlStringGrid::AddBitmap(
    int ACol, int ARow, TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap *
TQrlStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    auto *bmp = new TBitmap();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetBitmap(bmp, Transparent, hal, val);
    g->SetCellCreated(true);
    return bmp;
}

TBitmap *TQrlStringGrid::GetBitmap(int ACol, int ARow)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctBitmap);
    return g ? g->CellBitmap().As<TBitmap>() : nullptr;
}

void TQrlStringGrid::RemoveBitmap(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctBitmap);
}

void TQrlStringGrid::AddPicture(int ACol,
                                int ARow,
                                TBitmap *APicture,
                                bool Transparent,
                                TStretchMode StretchMode,
                                int Padding,
                                TCellHAlign hal,
                                TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)
        ->SetPicture(TCellRef::Object(APicture), Transparent, StretchMode, Padding, hal, val);
}

TBitmap *TQrlStringGrid::CreatePicture(int ACol,
                                       int ARow,
                                       bool Transparent,
                                       TStretchMode StretchMode,
                                       int Padding,
                                       TCellHAlign hal,
                                       TCellVAlign val)
{
    auto *pic = new TBitmap();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetPicture(TCellRef::Object(pic), Transparent, StretchMode, Padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TBitmap *TQrlStringGrid::GetPicture(int ACol, int ARow)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctPicture);
    return g ? g->CellBitmap().As<TBitmap>() : nullptr;
}

void TQrlStringGrid::RemovePicture(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctPicture);
}

void TQrlStringGrid::AddFilePicture(int ACol,
                                    int ARow,
                                    TFilePicture *AFilePicture,
                                    bool Transparent,
                                    TStretchMode StretchMode,
                                    int Padding,
                                    TCellHAlign hal,
                                    TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)
        ->SetFilePicture(TCellRef::Object(AFilePicture), Transparent, StretchMode, Padding, hal,
                         val);
}

TFilePicture *TQrlStringGrid::CreateFilePicture(int ACol,
                                                int ARow,
                                                bool Transparent,
                                                TStretchMode StretchMode,
                                                int Padding,
                                                TCellHAlign hal,
                                                TCellVAlign val)
{
    auto *pic = new TFilePicture();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetFilePicture(TCellRef::Object(pic), Transparent, StretchMode, Padding, hal, val);
    g->SetCellCreated(true);
    return pic;
}

TFilePicture *TQrlStringGrid::GetFilePicture(int ACol, int ARow)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctFilePicture);
    return g ? g->CellBitmap().As<TFilePicture>() : nullptr;
}

void TQrlStringGrid::RemoveFilePicture(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctFilePicture);
}

void TQrlStringGrid::AddIcon(int ACol, int ARow, TBitmap *AIcon, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetIcon(TCellRef::Object(AIcon), hal, val);
}

TBitmap *TQrlStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val)
{
    auto *icon = new TBitmap();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetIcon(TCellRef::Object(icon), hal, val);
    g->SetCellCreated(true);
    return icon;
}

void TQrlStringGrid::RemoveIcon(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctIcon);
}

// --- image lists ---------------------------------------------------------------------------------

void TQrlStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages())
        return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool TQrlStringGrid::GetImageIdx(int ACol, int ARow, int &idx)
{
    if (!GridImages())
        return false;
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctImageList);
    if (!g)
        return false;
    idx = g->CellIndex();
    return true;
}

void TQrlStringGrid::SetImageIdx(int ACol, int ARow, int Idx)
{
    if (!GridImages())
        return;
    if (TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctImageList))
        g->SetCellIndex(Idx);
}

void TQrlStringGrid::RemoveImageIdx(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctImageList);
}

void TQrlStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages())
        return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (GetCellEx(ACol, ARow).isEmpty())
        SetCellEx(ACol, ARow, QString::number(Aidx));
}

void TQrlStringGrid::RemoveDataImage(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctDataImage);
    SetCellEx(ACol, ARow, QString());
}

bool TQrlStringGrid::HasDataImage(int ACol, int ARow)
{
    return HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctDataImage});
}

void TQrlStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!GridImages())
        return;
    CreateCellGraphic(ACol, ARow)
        ->SetMultiImage(ACol, ARow, Dir, hal, val,
                        [this](TIntList *, int c, int r) { RepaintCell(DisplColIndex(c), r); });
}

void TQrlStringGrid::RemoveMultiImage(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctImages);
}

TIntList *TQrlStringGrid::GetCellImages(int ACol, int ARow)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctImages);
    return g ? g->CellBitmap().As<TIntList>() : nullptr;
}

TCustomImageList *TQrlStringGrid::CellImageList(int, int)
{
    return dynamic_cast<TCustomImageList *>(GridImages());
}

// --- interfaced cells
// ------------------------------------------------------------------------------

void TQrlStringGrid::AddInterfacedCell(int ACol, int ARow, ICellDrawer *AObject)
{
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(TCellRef::Object(AObject));
}

ICellDrawer *TQrlStringGrid::GetInterfacedCell(int ACol, int ARow)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctInterface);
    return g ? g->CellBitmap().As<ICellDrawer>() : nullptr;
}

void TQrlStringGrid::RemoveInterfacedCell(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctInterface);
}

// --- progress kinds ------------------------------------------------------------------------------

void TQrlStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctProgress);
    g->SetCellBitmap(colorRef(FGColor));
    g->SetCellIcon(colorRef(BKColor));
    g->SetCellErrFrom(0);
    g->SetCellErrLen(100);
    g->SetCellBoolean(false);
    g->SetCellText(QString());
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
    if (AutoNumAlign())
        SetAlignments(ACol, ARow, TAlignment::taRightJustify);
}

void TQrlStringGrid::AddProgressEx(
    int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor)
{
    AddProgress(ACol, ARow, FGColor, BKColor);
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    g->SetCellIndex(static_cast<int>(FGTextColor));
    g->SetCellAngle(static_cast<int>(BKTextColor));
    g->SetCellBoolean(true);
}

void TQrlStringGrid::AddProgressFormatted(int ACol,
                                          int ARow,
                                          TColor FGColor,
                                          TColor FGTextColor,
                                          TColor BKColor,
                                          TColor BKTextColor,
                                          const QString &Fmt,
                                          int Min,
                                          int Max)
{
    AddProgressEx(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor);
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    g->SetCellText(Fmt);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
}

bool TQrlStringGrid::HasProgress(int ACol, int ARow)
{
    return HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctProgress});
}

void TQrlStringGrid::RemoveProgress(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctProgress);
}

void TQrlStringGrid::AddQrlProgress(int ACol, int ARow, int Min, int Max)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctXPProgress);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellBoolean(false);
    g->SetCellText(QString());
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

void TQrlStringGrid::RemoveQrlProgress(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctXPProgress);
}

void TQrlStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctProgressPie);
    g->SetCellBitmap(colorRef(Color));
    g->SetCellAngle(Value);
    g->SetCellHAlign(TCellHAlign::haBeforeText);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

void TQrlStringGrid::SetProgressPie(int ACol, int ARow, int Value)
{
    if (TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctProgressPie)) {
        g->SetCellAngle(Value);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TQrlStringGrid::RemoveProgressPie(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctProgressPie);
}

void TQrlStringGrid::AddRangeIndicator(
    int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctRangeIndicator);
    g->SetCellIndex(Range);
    g->SetCellBitmap(colorRef(NegColor));
    g->SetCellIcon(colorRef(PosColor));
    g->SetCellBoolean(ShowValue);
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

void TQrlStringGrid::RemoveRangeIndicator(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctRangeIndicator);
}

// --- comments
// --------------------------------------------------------------------------------------

void TQrlStringGrid::AddComment(int ACol, int ARow, const QString &Comment)
{
    AddColorComment(ACol, ARow, Comment, ControlLook()->CommentColor());
}

void TQrlStringGrid::AddColorComment(int ACol, int ARow, const QString &Comment, TColor Color)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctComment);
    g->SetCellText(Comment);
    g->SetCellIndex(static_cast<int>(Color));
    g->SetCellHAlign(TCellHAlign::haLeft);
    g->SetCellVAlign(TCellVAlign::vaTop);
}

bool TQrlStringGrid::IsComment(int ACol, int ARow, QString &comment)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctComment);
    if (!g)
        return false;
    comment = g->CellText();
    return true;
}

QString TQrlStringGrid::GetComment(int ACol, int ARow)
{
    QString s;
    IsComment(ACol, ARow, s);
    return s;
}

void TQrlStringGrid::SetComment(int ACol, int ARow, const QString &Value)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        AddComment(ACol, ARow, Value);
    else if (g->CellType() == TCellType::ctComment)
        g->SetCellText(Value);
}

void TQrlStringGrid::RemoveComment(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctComment);
}

void TQrlStringGrid::RemoveAllComments()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            RemoveComment(c, r);
}

// --- shapes and ratings
// ----------------------------------------------------------------------------

void TQrlStringGrid::AddShape(int ACol,
                              int ARow,
                              TCellShape Shape,
                              TColor FillColor,
                              TColor LineColor,
                              TCellHAlign hal,
                              TCellVAlign val)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctShape);
    g->SetCellAngle(static_cast<int>(Shape));
    g->SetCellIndex(static_cast<int>(FillColor));
    g->SetCellBitmap(colorRef(LineColor));
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

void TQrlStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor)
{
    if (TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctShape))
        g->SetCellIndex(static_cast<int>(FillColor));
}

TColor TQrlStringGrid::GetShapeColor(int ACol, int ARow)
{
    const TCellGraphic *g = ofKind(GetCellGraphic(ACol, ARow), TCellType::ctShape);
    return g ? static_cast<TColor>(g->CellIndex()) : clNone;
}

void TQrlStringGrid::RemoveShape(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctShape);
}

void TQrlStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctRating);
    g->SetCellAngle(Scale);
    g->SetCellIndex(static_cast<int>(FillColor));
    g->SetCellBitmap(colorRef(EmptyColor));
    g->SetCellHAlign(TCellHAlign::haFull);
}

bool TQrlStringGrid::HasRating(int ACol, int ARow)
{
    return HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctRating});
}

void TQrlStringGrid::RemoveRating(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctRating);
}

// --- cell scroll bars
// ------------------------------------------------------------------------------

namespace {
TCellGraphic *baseScrollBar(TQrlStringGrid &grid, int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const plat::TGridCoord b = grid.BaseCell(ACol, ARow);
    return ofKind(grid.GetCellGraphic(b.X, b.Y), TCellType::ctScrollbar);
}
} // namespace

void TQrlStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(TCellType::ctScrollbar);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellBoolean(AutoRange);
    if (AutoRange)
        UpdateCellScrollRange(ACol, ARow);
}

bool TQrlStringGrid::HasScrollBar(int ACol, int ARow)
{
    return baseScrollBar(*this, ACol, ARow) != nullptr;
}

bool TQrlStringGrid::HasAutoRangeScrollBar(int ACol, int ARow)
{
    const TCellGraphic *g = baseScrollBar(*this, ACol, ARow);
    return g && g->CellBoolean();
}

void TQrlStringGrid::SetScrollPosition(int ACol, int ARow, int Pos)
{
    if (TCellGraphic *g = baseScrollBar(*this, ACol, ARow)) {
        g->SetCellIndex(Pos);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

int TQrlStringGrid::GetScrollPosition(int ACol, int ARow)
{
    const TCellGraphic *g = baseScrollBar(*this, ACol, ARow);
    return g ? g->CellIndex() : -1;
}

void TQrlStringGrid::SetScrollProp(int ACol, int ARow, TScrollProp Prop)
{
    if (TCellGraphic *g = baseScrollBar(*this, ACol, ARow)) {
        g->SetCellAngle(Prop.PageSize);
        g->SetCellErrFrom(Prop.Range);
    }
}

TScrollProp TQrlStringGrid::GetScrollProp(int ACol, int ARow)
{
    const TCellGraphic *g = baseScrollBar(*this, ACol, ARow);
    if (!g)
        return {-1, -1};
    return {g->CellAngle(), g->CellErrFrom()};
}

void TQrlStringGrid::RemoveScrollBar(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctScrollbar);
}

// --- markers
// ---------------------------------------------------------------------------------------

void TQrlStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    // The cell's own graphic: marking a shared check box would mark every cell lending it.
    auto *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->SetCellType(TCellType::ctEmpty);
    }
    g->SetCellErrFrom(ErrPos);
    g->SetCellErrLen(ErrLen);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TQrlStringGrid::GetMarker(int ACol, int ARow, int &ErrPos, int &ErrLen)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    ErrPos = g ? g->CellErrFrom() : 0;
    ErrLen = g ? g->CellErrLen() : 0;
}

void TQrlStringGrid::RemoveMarker(int ACol, int ARow)
{
    auto *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
    if (!g)
        return;
    if (g->CellType() == TCellType::ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->SetCellErrFrom(0);
    g->SetCellErrLen(0);
}

void TQrlStringGrid::RemoveAllMarkers()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            RemoveMarker(c, r);
}

// --- buttons
// ---------------------------------------------------------------------------------------

void TQrlStringGrid::AddButton(
    int ACol, int ARow, int bw, int bh, const QString &Caption, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TQrlStringGrid::AddBitButton(int ACol,
                                  int ARow,
                                  int bw,
                                  int bh,
                                  const QString &Caption,
                                  TBitmap *Glyph,
                                  TCellHAlign hal,
                                  TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap *TQrlStringGrid::CreateBitButton(
    int ACol, int ARow, int bw, int bh, const QString &Caption, TCellHAlign hal, TCellVAlign val)
{
    auto *glyph = new TBitmap();
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetBitButton(bw, bh, Caption, glyph, hal, val);
    g->SetCellCreated(true);
    return glyph;
}

void TQrlStringGrid::SetButtonText(int ACol, int ARow, const QString &Caption)
{
    if (TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow)) {
        g->SetCellText(Caption);
        RepaintCell(ACol, ARow);
    }
}

QString TQrlStringGrid::GetButtonText(int ACol, int ARow)
{
    const TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow);
    return g ? g->CellText() : QString();
}

void TQrlStringGrid::PushButton(int ACol, int ARow, bool push)
{
    TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g || g->CellType() == TCellType::ctNode)
        return;
    g->SetCellBoolean(push);
    RepaintCell(ACol, ARow);
}

bool TQrlStringGrid::HasButton(int ACol, int ARow)
{
    return HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctButton, TCellType::ctBitButton});
}

void TQrlStringGrid::RemoveButton(int ACol, int ARow)
{
    if (!RemoveCellGraphicOfType(ACol, ARow, TCellType::ctButton))
        RemoveCellGraphicOfType(ACol, ARow, TCellType::ctBitButton);
}

void TQrlStringGrid::RemoveBitButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, TCellType::ctBitButton);
}

void TQrlStringGrid::RemoveAllButtons()
{
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            if (HasButton(c, r))
                RemoveButton(c, r);
}

TRect TQrlStringGrid::ExpandButtonRect(int ACol, int ARow)
{
    if (!HasGraphicOfType(ACol, ARow, TCellTypes{TCellType::ctExpand}))
        return {0, 0, 0, 0};
    const TRect r = CellRect(ACol, ARow);
    return {r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13};
}

TRect TQrlStringGrid::CellButtonRect(int ACol, int ARow)
{
    const TCellGraphic *g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g)
        return {0, 0, 0, 0};
    const TRect cell = CellRect(ACol, ARow);
    const auto offset = static_cast<std::uint32_t>(std::lround(g->CellValue()));
    const auto size = static_cast<std::uint32_t>(g->CellIndex());
    TRect r = Bounds(cell.Left + static_cast<int>(offset & 0xFFFF),
                     cell.Top + static_cast<int>(offset >> 16), static_cast<int>(size & 0xFFFF),
                     static_cast<int>(size >> 16));
    if (g->CellVAlign() == TCellVAlign::vaFull) {
        r.Top = cell.Top;
        r.Bottom = cell.Bottom;
    }
    if (g->CellHAlign() == TCellHAlign::haFull) {
        r.Left = cell.Left;
        r.Right = cell.Right;
    }
    return r;
}

TPoint TQrlStringGrid::CalcPrintGraphicSize(int ACol, int ARow, int Width, int Height, double Scale)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return {0, 0};
    const int dc = DisplColIndex(ACol);
    const int cw = dc >= 0 && dc < ColCount() ? ColWidths(dc) : DefaultColWidth();
    const int rh = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
    const TCustomImageList *images = CellImageList(ACol, ARow);
    const TCellHAlign hal = g->CellHAlign();
    switch (g->CellType()) {
    case TCellType::ctBitmap:
        return {g->CellBitmap().Size().cx, g->CellBitmap().Size().cy};
    case TCellType::ctIcon:
        return {g->CellIcon().Size().cx, g->CellIcon().Size().cy};
    case TCellType::ctImageList:
        if (!images)
            return {0, 0};
        return {hal == TCellHAlign::haBeforeText || hal == TCellHAlign::haAfterText ||
                        GetCellEx(ACol, ARow).isEmpty()
                    ? images->Width()
                    : 0,
                images->Height()};
    case TCellType::ctDataImage:
        return images ? TPoint{images->Width(), images->Height()} : TPoint{0, 0};
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
    case TCellType::ctTriStateCheckBox:
        return {ControlLook()->CheckSize(), ControlLook()->CheckSize()};
    case TCellType::ctRadioButton:
        return {ControlLook()->RadioSize(), ControlLook()->RadioSize()};
    case TCellType::ctNode:
    case TCellType::ctProgressPie:
        return {20, 20};
    case TCellType::ctRadio: {
        const QStringList *items = g->CellBitmap().As<QStringList>();
        if (!items)
            return {0, 0};
        TCanvas canvas;
        canvas.Font().Assign(Font());
        const int th = canvas.TextHeight(QStringLiteral("gh"));
        TPoint size{0, 0};
        if (g->CellBoolean()) {
            for (const QString &it : *items)
                size.X += canvas.TextWidth(it) + 12;
            size.Y = th;
        } else {
            int widest = 0;
            for (const QString &it : *items)
                widest = std::max(widest, canvas.TextWidth(it));
            size = {std::max(12, widest + 12), th * static_cast<int>(items->size())};
        }
        return size;
    }
    case TCellType::ctImages: {
        if (!images)
            return {0, 0};
        const TIntList *list = g->CellBitmap().As<TIntList>();
        const int n = list ? list->Count() : 0;
        return g->CellBoolean() ? TPoint{n * images->Width(), images->Height()}
                                : TPoint{images->Width(), n * images->Height()};
    }
    case TCellType::ctPicture:
    case TCellType::ctFilePicture: {
        // A zero scale would divide by zero; it prints unscaled.
        const double s = Scale == 0.0 ? 1.0 : Scale;
        const TPoint p = g->GetPictureSize(Width, Height, false);
        return {static_cast<int>(std::lround(p.X / s)), static_cast<int>(std::lround(p.Y / s))};
    }
    case TCellType::ctProgress:
    case TCellType::ctXPProgress:
        return {cw, rh};
    case TCellType::ctButton:
    case TCellType::ctBitButton: {
        const auto idx = static_cast<std::uint32_t>(g->CellIndex());
        return {static_cast<int>(idx & 0xFFFF), static_cast<int>(idx >> 16)};
    }
    case TCellType::ctInterface: {
        const ICellDrawer *o = g->CellBitmap().As<ICellDrawer>();
        if (!o)
            return {0, 0};
        return {o->CellWidth() ? o->CellWidth() : cw, o->CellHeight() ? o->CellHeight() : rh};
    }
    case TCellType::ctShape: {
        const int s = rh - 2 * XYOffset().Y;
        return {s, s};
    }
    default:
        return {0, 0};
    }
}

void TQrlStringGrid::RepaintActiveHeaders(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (const auto &[c, r] : {std::pair{ACol1, ARow1}, std::pair{ACol2, ARow2}}) {
        if (FixedRows() > 0)
            RepaintCell(c, FixedRows() - 1);
        if (FixedCols() > 0)
            RepaintCell(FixedCols() - 1, r);
    }
}

void TQrlStringGrid::GetDisplText(int ACol, int ARow, QString &Value) const
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (d->urlShowInText) {
        // The first prefix found wins, in this order.
        static const QString prefixes[] = {
            QStringLiteral("HTTP://"),  QStringLiteral("WWW."),    QStringLiteral("MAILTO:"),
            QStringLiteral("HTTPS://"), QStringLiteral("NNTP://"), QStringLiteral("FILE://"),
            QStringLiteral("FTP://"),
        };
        for (const QString &p : prefixes) {
            QString linked;
            if (URLToHTMLLink(Value, p, linked)) {
                Value = linked;
                break;
            }
        }
    }
    auto *self = const_cast<TQrlStringGrid *>(this);
    if (ACol == 1 && Grouping()->ShowGroupCount() && self->IsNode(ARow)) {
        const int count = self->GetNodeSpan(ARow) - self->GetSubNodeCount(ARow) - 1;
        const QString fmt = Grouping()->GroupCountFormat();
        QString suffix;
        if (fmt.isEmpty() || !GridFormat(fmt, {count}, suffix))
            suffix = QStringLiteral(" (") + QString::number(count) + QLatin1Char(')');
        Value += suffix;
    }
}
