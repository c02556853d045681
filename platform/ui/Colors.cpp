#include "platform/ui/Colors.h"

#include <array>

namespace {

// Classic-scheme values, indexed by system colour index.
constexpr std::array<TColor, COLOR_MAX + 1> kClassicColors = {
    RGB(200, 200, 200), // scroll bar
    RGB(58, 110, 165),  // desktop
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application workspace
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3-D dark shadow
    RGB(212, 208, 200), // 3-D light
    RGB(0, 0, 0),       // info text
    RGB(255, 255, 225), // info background
    RGB(181, 181, 181), // (unnamed index 25)
    RGB(0, 0, 128),     // hot-tracked item
    RGB(166, 202, 240), // gradient active caption
    RGB(192, 192, 192), // gradient inactive caption
    RGB(10, 36, 106),   // menu highlight
    RGB(212, 208, 200), // menu bar
};

struct NamedColor
{
    TColor value;
    const char *name;
};

constexpr NamedColor kNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnHighlight, "clBtnHighlight"},
    {clWindow, "clWindow"},
    {clWindowText, "clWindowText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clGrayText, "clGrayText"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clBtnText, "clBtnText"},
};

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index > COLOR_MAX)
        return clBlack;
    return kClassicColors[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor c)
{
    if (IsSystemColor(c))
        return GetSysColor(static_cast<int>(c & 0xFF));
    return c;
}

QColor ToQColor(TColor c)
{
    if (c == clNone)
        return QColor(0, 0, 0, 0);
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor &c)
{
    return RGB(c.red(), c.green(), c.blue());
}

QString ColorToString(TColor c)
{
    for (const auto &n : kNames)
        if (n.value == c)
            return QString::fromLatin1(n.name);
    return QLatin1Char('$') + QString::number(c, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}
