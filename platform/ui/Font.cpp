#include "platform/ui/Font.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr int kPixelsPerInch = 96;
}

TFont::TFont() : m_name(QStringLiteral("Verdana")) {}

TFont::TFont(const QString &name, int heightPx, TFontStyles style, TColor color)
    : m_name(name), m_height(heightPx), m_style(style), m_color(color)
{}

// OnChange belongs to the owner of a font, so copies do not take it along.
TFont::TFont(const TFont &other)
    : m_name(other.m_name), m_height(other.m_height), m_style(other.m_style),
      m_color(other.m_color), m_orientation(other.m_orientation)
{}

TFont &TFont::operator=(const TFont &other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

void TFont::Assign(const TFont &other)
{
    m_name = other.m_name;
    m_height = other.m_height;
    m_style = other.m_style;
    m_color = other.m_color;
    m_orientation = other.m_orientation;
    changed();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == m_orientation)
        return;
    m_orientation = tenths;
    changed();
}

void TFont::SetName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    changed();
}

int TFont::Size() const
{
    return static_cast<int>(std::lround(-m_height * 72.0 / kPixelsPerInch));
}

void TFont::SetSize(int points)
{
    SetHeight(-static_cast<int>(std::lround(points * double(kPixelsPerInch) / 72.0)));
}

void TFont::SetHeight(int height)
{
    if (height == m_height)
        return;
    m_height = height;
    changed();
}

int TFont::PixelSize() const
{
    const int px = std::abs(m_height);
    return px > 0 ? px : 11;
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == m_style)
        return;
    m_style = style;
    changed();
}

void TFont::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    changed();
}

QFont TFont::toQFont() const
{
    QFont f(m_name);
    f.setPixelSize(PixelSize());
    f.setBold(m_style.Contains(TFontStyle::fsBold));
    f.setItalic(m_style.Contains(TFontStyle::fsItalic));
    f.setUnderline(m_style.Contains(TFontStyle::fsUnderline));
    f.setStrikeOut(m_style.Contains(TFontStyle::fsStrikeOut));
    // Integer glyph positions keep text measurement and placement in whole pixels.
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void TFont::SetFromQFont(const QFont &font)
{
    m_name = font.family();
    if (font.pixelSize() > 0)
        m_height = -font.pixelSize();
    else
        m_height = -static_cast<int>(std::lround(font.pointSizeF() * kPixelsPerInch / 72.0));
    TFontStyles s;
    if (font.bold())
        s.Include(TFontStyle::fsBold);
    if (font.italic())
        s.Include(TFontStyle::fsItalic);
    if (font.underline())
        s.Include(TFontStyle::fsUnderline);
    if (font.strikeOut())
        s.Include(TFontStyle::fsStrikeOut);
    m_style = s;
    changed();
}

bool TFont::operator==(const TFont &o) const
{
    return m_name == o.m_name && m_height == o.m_height && m_style == o.m_style &&
           m_color == o.m_color && m_orientation == o.m_orientation;
}

void TFont::changed()
{
    if (OnChange)
        OnChange();
}
