#include "grid/model/QrlCalcSettings.h"

void TColumnSize::Assign(const TPersistent &Source)
{
    if (const auto *s = dynamic_cast<const TColumnSize *>(&Source)) {
        FRows = s->FRows;
        FKey = s->FKey;
        FSection = s->FSection;
        FLocation = s->FLocation;
        FStretch = s->FStretch;
        FStretchColumn = s->FStretchColumn;
    }
}

void TColumnSize::SetStretch(bool Value)
{
    FStretch = Value;
    if (OnStretch)
        OnStretch(FStretchColumn);
}

void TFloatingFooter::Assign(const TPersistent &Source)
{
    const auto *s = dynamic_cast<const TFloatingFooter *>(&Source);
    if (!s || s == this)
        return;
    FVisible = s->FVisible;
    FFooterStyle = s->FFooterStyle;
    FEnableCalculation = s->FEnableCalculation;
    FCalculateHiddenRows = s->FCalculateHiddenRows;
    FHeight = s->FHeight;
    if (FGrid)
        FGrid->FooterLayoutChanged();
}

void TFloatingFooter::SetVisible(bool Value)
{
    FVisible = Value;
    if (FGrid)
        FGrid->FooterLayoutChanged();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    FFooterStyle = Value;
    if (FGrid)
        FGrid->FooterLayoutChanged();
}

void TFloatingFooter::SetHeight(int Value)
{
    if (FHeight == Value)
        return;
    FHeight = Value;
    if (FVisible)
        Invalidate();
}

void TFloatingFooter::Invalidate()
{
    if (OnInvalidate)
        OnInvalidate();
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value)
{
    if (FGrid)
        FGrid->FooterSetColumnCalc(ACol, Value);
}

TColumnCalcType TFloatingFooter::ColumnCalc(int ACol) const
{
    return FGrid ? FGrid->FooterColumnCalc(ACol) : TColumnCalcType::acNONE;
}
