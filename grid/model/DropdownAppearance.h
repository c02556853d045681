// Settings of the bars above and below a dropdown's popup: their look and their button
// descriptions. The settings paint nothing; the bars read them when a popup opens. Every grid's
// control look keeps one pair as well, so they sit with the model and the dropdown reads them.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"

#include <QString>

#include <memory>
#include <stdexcept>
#include <vector>

class QObject;

enum class TButtonAlignment { baLeft, baRight };

// One button of a bar. Caption, Enabled and Width tell the collection when they change;
// Height does not.
class TDropDownButtonItem : public TPersistent
{
public:
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    // Set by the collection that holds the item.
    std::function<void()> NotifyCollection;

protected:
    void assignButton(const TDropDownButtonItem &src);
    void changed();

private:
    QString FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
};

class THeaderButton : public TDropDownButtonItem
{
public:
    void Assign(const TPersistent &Source) override;
};

class TFooterButton : public TDropDownButtonItem
{
public:
    void Assign(const TPersistent &Source) override;

    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

private:
    int FModalResult = 0;
};

// The button descriptions of one bar. Adding and deleting items fires nothing; only the
// items' own writers do.
template <class TItem> class TDropDownButtons : public TPersistent
{
public:
    explicit TDropDownButtons(QObject *AOwner = nullptr) : FMyOwner(AOwner) {}

    QObject *Owner() const { return FMyOwner; }
    int Count() const { return static_cast<int>(m_items.size()); }

    TItem *Add() { return Insert(Count()); }
    TItem *Insert(int Index)
    {
        if (Index < 0 || Index > Count())
            throw std::out_of_range("List index out of bounds");
        auto item = std::make_unique<TItem>();
        item->NotifyCollection = [this] { changed(); };
        TItem *raw = item.get();
        m_items.insert(m_items.begin() + Index, std::move(item));
        return raw;
    }
    void Delete(int Index) { m_items.erase(m_items.begin() + checked(Index)); }
    void Clear() { m_items.clear(); }

    TItem *Items(int Index) const { return m_items[checked(Index)].get(); }
    // Copies Value into the item at Index.
    void SetItems(int Index, const TItem &Value) { Items(Index)->Assign(Value); }

    void Assign(const TPersistent &Source) override
    {
        const auto *src = dynamic_cast<const TDropDownButtons *>(&Source);
        if (!src || src == this)
            return;
        Clear();
        for (const auto &item : src->m_items)
            Add()->Assign(*item);
    }

    TSettingsNotifyEvent OnChange;

private:
    std::size_t checked(int Index) const
    {
        if (Index < 0 || Index >= Count())
            throw std::out_of_range("List index out of bounds");
        return static_cast<std::size_t>(Index);
    }
    void changed()
    {
        if (OnChange)
            OnChange(this);
    }

    QObject *FMyOwner = nullptr;
    std::vector<std::unique_ptr<TItem>> m_items;
};

using THeaderButtons = TDropDownButtons<THeaderButton>;
using TFooterButtons = TDropDownButtons<TFooterButton>;

// What the two bars share. Only Visible fires OnChange (when it changes).
template <class TItem> class TDropDownBarAppearance : public TPersistent
{
public:
    explicit TDropDownBarAppearance(QObject *AOwner) : FOwner(AOwner), FButtons(AOwner)
    {
        FButtons.OnChange = [this](TPersistent *) {
            if (OnButtonsChanged)
                OnButtonsChanged(this);
        };
    }

    QObject *Owner() const { return FOwner; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &Value) { FCaption = Value; }
    const TFont &Font() const { return FFont; }
    TFont &Font() { return FFont; }
    void SetFont(const TFont &Value) { FFont = Value; }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value)
    {
        if (FVisible == Value)
            return;
        FVisible = Value;
        if (OnChange)
            OnChange(this);
    }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    TDropDownButtons<TItem> &Buttons() { return FButtons; }
    const TDropDownButtons<TItem> &Buttons() const { return FButtons; }
    void SetButtons(const TDropDownButtons<TItem> &Value) { FButtons.Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    TSettingsNotifyEvent OnChange;
    TSettingsNotifyEvent OnButtonsChanged;

protected:
    // Visible goes through its writer, so a change fires OnChange.
    void assignBar(const TDropDownBarAppearance &src)
    {
        FColorTo = src.FColorTo;
        FColor = src.FColor;
        FBorderColor = src.FBorderColor;
        FCaption = src.FCaption;
        FFont = src.FFont;
        FImageIndex = src.FImageIndex;
        FBorderWidth = src.FBorderWidth;
        FGradientDirection = src.FGradientDirection;
        FHeight = src.FHeight;
        SetVisible(src.FVisible);
        FButtonAlignment = src.FButtonAlignment;
        FButtons.Assign(src.FButtons);
    }

    QObject *FOwner = nullptr;
    bool FVisible = true;
    int FHeight = 22;
    int FBorderWidth = 1;
    int FImageIndex = -1;
    QString FCaption;
    TColor FColorTo = clWhite;
    TColor FColor = clSilver;
    TColor FBorderColor = clBlack;
    TFont FFont;
    TDropDownButtons<TItem> FButtons;
    TGradientDirection FGradientDirection = TGradientDirection::gdVertical;
    TButtonAlignment FButtonAlignment = TButtonAlignment::baRight;
};

class THeaderAppearance : public TDropDownBarAppearance<THeaderButton>
{
public:
    explicit THeaderAppearance(QObject *AOwner = nullptr);

    void Assign(const TPersistent &Source) override;
};

class TFooterAppearance : public TDropDownBarAppearance<TFooterButton>
{
public:
    explicit TFooterAppearance(QObject *AOwner = nullptr);

    void Assign(const TPersistent &Source) override;

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }

private:
    bool FSizeGrip = true;
};
