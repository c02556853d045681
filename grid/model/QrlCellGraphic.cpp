#include "grid/model/QrlCellGraphic.h"

#include <cmath>

// --- TCellGraphic ---------------------------------------------------------------------------

TCellGraphic::~TCellGraphic()
{
    releaseOwned();
}

void TCellGraphic::releaseOwned()
{
    switch (FCellType) {
    case TCellType::ctBitmap:
    case TCellType::ctRadio:
    case TCellType::ctPicture:
    case TCellType::ctFilePicture:
    case TCellType::ctBitButton:
        if (FCellCreated)
            FCellBitmap.Free();
        break;
    case TCellType::ctImages:
    case TCellType::ctBalloon:
        FCellBitmap.Free();
        break;
    case TCellType::ctIcon:
        if (FCellCreated)
            FCellIcon.Free();
        break;
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctRadioButton:
        // A custom glyph belongs to the check box.
        if (FCellAngle == 1)
            FCellBitmap.Free();
        break;
    default:
        break;
    }
    // Whatever is left was the caller's; forget it.
    FCellBitmap = TCellRef();
    FCellIcon = TCellRef();
    FCellCreated = false;
}

void TCellGraphic::become(TCellType type, TCellHAlign hal, TCellVAlign val)
{
    releaseOwned();
    FCellType = type;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TCellGraphic::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TCellGraphic *>(&Source);
    if (!src || src == this)
        return;
    releaseOwned();
    FCellType = src->FCellType;
    FCellVAlign = src->FCellVAlign;
    FCellHAlign = src->FCellHAlign;
    FCellIndex = src->FCellIndex;
    FCellTransparent = src->FCellTransparent;
    FCellValue = src->FCellValue;
    FCellAngle = src->FCellAngle;
    FCellBoolean = src->FCellBoolean;
    FCellErrFrom = src->FCellErrFrom;
    FCellErrLen = src->FCellErrLen;
    FCellText = src->FCellText;
    FCellCreated = src->FCellCreated;
}

void TCellGraphic::SetBitmap(TBitmap *ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    become(TCellType::ctBitmap, hal, val);
    FCellBitmap = TCellRef::Object(ABmp);
    FCellTransparent = Transparent;
}

void TCellGraphic::SetIcon(const TCellRef &aicon, TCellHAlign hal, TCellVAlign val)
{
    become(TCellType::ctIcon, hal, val);
    FCellIcon = aicon;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    become(TCellType::ctImageList, hal, val);
    FCellIndex = idx;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    become(TCellType::ctDataImage, hal, val);
    FCellIndex = idx;
}

void TCellGraphic::SetMultiImage(
    int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TIntList::TChangeEvent Notifier)
{
    become(TCellType::ctImages, hal, val);
    auto *list = new TIntList(Col, Row);
    list->OnChange = std::move(Notifier);
    FCellBitmap = TCellRef::Object(list);
    FCellBoolean = dir == 0;
    FCellCreated = true;
}

void TCellGraphic::SetPicture(const TCellRef &APicture,
                              bool Transparent,
                              TStretchMode StretchMode,
                              int padding,
                              TCellHAlign hal,
                              TCellVAlign val)
{
    become(TCellType::ctPicture, hal, val);
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = static_cast<int>(StretchMode);
    FCellIndex = padding;
}

void TCellGraphic::SetFilePicture(const TCellRef &APicture,
                                  bool Transparent,
                                  TStretchMode StretchMode,
                                  int padding,
                                  TCellHAlign hal,
                                  TCellVAlign val)
{
    SetPicture(APicture, Transparent, StretchMode, padding, hal, val);
    FCellType = TCellType::ctFilePicture;
}

void TCellGraphic::SetButton(
    int bw, int bh, const QString &caption, TCellHAlign hal, TCellVAlign val)
{
    become(TCellType::ctButton, hal, val);
    // Height in the high half, width in the low half (the shift wraps like the 32-bit field).
    FCellIndex = static_cast<int>((static_cast<std::uint32_t>(bh) << 16) |
                                  (static_cast<std::uint32_t>(bw) & 0xFFFFu));
    FCellText = caption;
    FCellBoolean = false;
}

void TCellGraphic::SetBitButton(
    int bw, int bh, const QString &caption, TBitmap *Glyph, TCellHAlign hal, TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    FCellType = TCellType::ctBitButton;
    FCellBitmap = TCellRef::Object(Glyph);
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    become(Data ? TCellType::ctDataCheckBox : TCellType::ctCheckBox, hal, val);
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    become(TCellType::ctTriStateCheckBox, hal, val);
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    // Stored as a check box, of its own kind.
    SetCheckBox(Value, false, Flat, hal, val);
    FCellType = TCellType::ctRadioButton;
}

void TCellGraphic::SetAngle(std::int16_t AAngle)
{
    releaseOwned();
    FCellType = TCellType::ctRotated;
    int angle = AAngle;
    while (angle < 0)
        angle += 360;
    while (angle > 360)
        angle -= 360;
    FCellAngle = angle;
}

void TCellGraphic::SetInterfacedCell(const TCellRef &AObject)
{
    releaseOwned();
    FCellType = TCellType::ctInterface;
    FCellBitmap = AObject;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool hastext) const
{
    (void)hastext;
    if (FCellType != TCellType::ctPicture && FCellType != TCellType::ctFilePicture)
        return {};
    const TSize size = FCellBitmap.Size();
    return FitPictureSize(size.cx, size.cy, cw, rh, FCellIndex,
                          static_cast<TStretchMode>(FCellAngle));
}

TPoint FitPictureSize(int w, int h, int cw, int rh, int p, TStretchMode mode)
{
    const int a = cw - p;
    const int b = rh - p;
    // Halves round to even, as the default floating-point rounding does.
    auto rnd = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    auto fit = [&](double ra, double rb) -> TPoint {
        if (ra >= rb)
            return {rnd(w * rb), b};
        return {a, rnd(h * ra)};
    };
    const double ra = w <= 0 ? 1.0 : static_cast<double>(a) / w;
    const double rb = h <= 0 ? 1.0 : static_cast<double>(b) / h;

    switch (mode) {
    case TStretchMode::Stretch:
        return {a, b};
    case TStretchMode::StretchWithAspectRatio:
        return fit(ra, rb);
    case TStretchMode::Shrink:
        if (a >= w && b >= h)
            return {w, h};
        return {a, b};
    case TStretchMode::ShrinkWithAspectRatio:
        if (a >= w && b >= h)
            return {w, h};
        return fit(ra < 1.0 ? ra : 1.0, rb < 1.0 ? rb : 1.0);
    default:
        return {w, h};
    }
}

// --- TCellNode ------------------------------------------------------------------------------

void TCellNode::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TCellNode *>(&Source);
    if (!src)
        return;
    FColor = src->FColor;
    FExpandOne = src->FExpandOne;
    FNodeType = src->FNodeType;
    FNodeColor = src->FNodeColor;
    FNodeIndent = src->FNodeIndent;
    FExpandGlyph = src->FExpandGlyph;
    FContractGlyph = src->FContractGlyph;
    FShowTree = src->FShowTree;
    FShowTreeFull = src->FShowTreeFull;
    FTreeColor = src->FTreeColor;
}

void TCellNode::SetNodeType(TNodeType Value)
{
    set(FNodeType, Value);
}

void TCellNode::SetShowTree(bool Value)
{
    set(FShowTree, Value);
}

void TCellNode::SetShowTreeFull(bool Value)
{
    set(FShowTreeFull, Value);
}

void TCellNode::SetNodeIndent(int Value)
{
    set(FNodeIndent, Value);
}

void TCellNode::SetTreeColor(TColor Value)
{
    set(FTreeColor, Value);
}
