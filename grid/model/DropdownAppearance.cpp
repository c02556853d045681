#include "grid/model/DropdownAppearance.h"

// --- Buttons --------------------------------------------------------------------------------

void TDropDownButtonItem::changed()
{
    if (NotifyCollection)
        NotifyCollection();
}

void TDropDownButtonItem::SetCaption(const QString &Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    changed();
}

void TDropDownButtonItem::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    changed();
}

void TDropDownButtonItem::SetWidth(int Value)
{
    if (FWidth == Value)
        return;
    FWidth = Value;
    changed();
}

void TDropDownButtonItem::SetHeight(int Value)
{
    FHeight = Value;
}

void TDropDownButtonItem::assignButton(const TDropDownButtonItem &src)
{
    SetCaption(src.FCaption);
    SetImageIndex(src.FImageIndex);
    SetEnabled(src.FEnabled);
    SetWidth(src.FWidth);
    SetHeight(src.FHeight);
}

void THeaderButton::Assign(const TPersistent &Source)
{
    if (const auto *src = dynamic_cast<const THeaderButton *>(&Source))
        assignButton(*src);
}

void TFooterButton::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TFooterButton *>(&Source);
    if (!src)
        return;
    FModalResult = src->FModalResult;
    assignButton(*src);
}

// --- Bars -----------------------------------------------------------------------------------

THeaderAppearance::THeaderAppearance(QObject *AOwner) : TDropDownBarAppearance(AOwner)
{
    FFont.SetName(QStringLiteral("Tahoma"));
}

void THeaderAppearance::Assign(const TPersistent &Source)
{
    if (const auto *src = dynamic_cast<const THeaderAppearance *>(&Source))
        assignBar(*src);
}

TFooterAppearance::TFooterAppearance(QObject *AOwner) : TDropDownBarAppearance(AOwner) {}

void TFooterAppearance::Assign(const TPersistent &Source)
{
    const auto *src = dynamic_cast<const TFooterAppearance *>(&Source);
    if (!src)
        return;
    FSizeGrip = src->FSizeGrip;
    assignBar(*src);
}
