// Colours as the original toolkit keeps them: 0x00BBGGRR, red in the lowest byte.
// A top byte of 0xFF marks a system colour whose low byte is the classic system colour index;
// those resolve through one fixed table of classic values so the looks do not depend on the
// desktop theme.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLtGray = clSilver;
inline constexpr TColor clDkGray = clGray;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

// Classic system colour indexes (the low byte of a system colour).
inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;
inline constexpr int COLOR_MAX = 30;

inline constexpr TColor SystemColor(int index)
{
    return 0xFF000000u | static_cast<TColor>(index);
}

inline constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
inline constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SystemColor(COLOR_MENU);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
inline constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
inline constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
inline constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
inline constexpr TColor clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION);
inline constexpr TColor clMenuHighlight = SystemColor(COLOR_MENUHILIGHT);
inline constexpr TColor clMenuBar = SystemColor(COLOR_MENUBAR);

inline constexpr TColor RGB(int r, int g, int b)
{
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
}
inline constexpr int GetRValue(TColor c)
{
    return static_cast<int>(c & 0xFF);
}
inline constexpr int GetGValue(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int GetBValue(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr bool IsSystemColor(TColor c)
{
    return (c & 0xFF000000u) == 0xFF000000u;
}

// The classic value of a system colour index; black for an index outside the table.
TColor GetSysColor(int index);

// A system colour becomes its classic RGB value; any other value comes back unchanged
// (clNone and clDefault included).
TColor ColorToRGB(TColor c);

// Resolved colour as an opaque QColor; clNone gives a fully transparent colour.
QColor ToQColor(TColor c);
// The RGB part of a QColor (alpha dropped).
TColor FromQColor(const QColor &c);

// "clRed" style names for the named colours, "$00BBGGRR" otherwise; used by diagnostics.
QString ColorToString(TColor c);
