// Font state as drawing code keeps it: family name, size, style set and colour.
// Sizes follow the original's convention at a fixed 96 pixels per inch: Size is in points,
// Height in pixels (negative = character height without internal leading, which is what Qt's
// pixel size means). Family names stay as documented; fontconfig substitutes missing ones.
#pragma once

#include "platform/ui/Colors.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// The set of TFontStyle values.
class TFontStyles
{
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(TFontStyle s) : m_bits(bit(s)) {}
    constexpr TFontStyles(std::initializer_list<TFontStyle> list)
    {
        for (auto s : list)
            m_bits |= bit(s);
    }

    constexpr bool Contains(TFontStyle s) const { return (m_bits & bit(s)) != 0; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr TFontStyles &Include(TFontStyle s)
    {
        m_bits |= bit(s);
        return *this;
    }
    constexpr TFontStyles &Exclude(TFontStyle s)
    {
        m_bits &= static_cast<std::uint8_t>(~bit(s));
        return *this;
    }
    constexpr TFontStyles operator|(TFontStyles o) const { return fromBits(m_bits | o.m_bits); }
    constexpr TFontStyles operator&(TFontStyles o) const { return fromBits(m_bits & o.m_bits); }
    constexpr TFontStyles operator-(TFontStyles o) const
    {
        return fromBits(m_bits & static_cast<std::uint8_t>(~o.m_bits));
    }
    constexpr bool operator==(const TFontStyles &) const = default;
    constexpr std::uint8_t bits() const { return m_bits; }

private:
    static constexpr std::uint8_t bit(TFontStyle s)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(s));
    }
    static constexpr TFontStyles fromBits(unsigned b)
    {
        TFontStyles r;
        r.m_bits = static_cast<std::uint8_t>(b);
        return r;
    }
    std::uint8_t m_bits = 0;
};

class TFont
{
public:
    // The system's default dialog font: Verdana, 11 pixels.
    TFont();
    TFont(const QString &name, int heightPx, TFontStyles style = {}, TColor color = clWindowText);

    TFont(const TFont &other);
    TFont &operator=(const TFont &other);

    // Copies name, height, style and colour and fires OnChange once.
    void Assign(const TFont &other);

    QString Name() const { return m_name; }
    void SetName(const QString &name);

    // Points at 96 dpi, rounded; setting it sets Height to the matching negative pixel value.
    int Size() const;
    void SetSize(int points);

    // Pixels; negative values are the character height (the usual case), positive ones the
    // cell height including internal leading (approximated as the character height here).
    int Height() const { return m_height; }
    void SetHeight(int height);
    // Convenience: the character height in pixels (always positive).
    int PixelSize() const;

    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);

    // Text angle in tenths of a degree, counter-clockwise (0 = horizontal).
    int Orientation() const { return m_orientation; }
    void SetOrientation(int tenths);

    QFont toQFont() const;
    // Name, pixel size and styles from a QFont; colour stays.
    void SetFromQFont(const QFont &font);

    bool operator==(const TFont &o) const;

    // Fired after any change (not on construction).
    std::function<void()> OnChange;

private:
    void changed();

    QString m_name;
    int m_height = -11;
    TFontStyles m_style;
    TColor m_color = clWindowText;
    int m_orientation = 0;
};
