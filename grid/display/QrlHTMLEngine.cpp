#include "grid/display/QrlHTMLEngine.h"

#include "grid/model/QrlHTMLMarkup.h"
#include "grid/model/QrlHTMLPicture.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlImageList.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include <algorithm>
#include <climits>

namespace {

// Font sizes beyond this many points are clamped: a hostile SIZE must not ask the font engine
// for glyphs the size of a wall.
constexpr int MaxFontPoints = 200;
// Pictures and controls are clamped alike.
constexpr int MaxObjectSize = 4096;

enum class TAlign { Left, Center, Right };

// Everything that lasts from one line to the next within one call.
struct TLineState
{
    TFont font;
    TColor textBg = clNone; // background behind text runs (FONT/HI/anchor), none: transparent
    int anchorCount = 0;
    bool inAnchor = false;
    QString href;
    QString title;
    bool anchorHover = false;
    TColor anchorSavedBg = clNone;
    TColor anchorSavedColor = clNone;
    bool anchorHitPending = false;
    int anchorStartX = 0;
    int anchorStartY = 0;
    int anchorStartLine = -1;
    bool focusOpen = false;
    int focusStartX = 0;
    int listLevel = 0;
    int pictureCount = 0;
    int hoveredPicture = -1;
    bool paraBg = false;
    TColor paraColor = clNone;
    TAlign align = TAlign::Left;
    int indent = 0;
    bool error = false;
    bool hidden = false;
    bool sub = false;
    bool sup = false;
    bool shadow = false;
    TColor fontSavedBg = clNone;
    TColor hiSavedBg = clNone;
    TColor hiSavedColor = clNone;
    bool rotated = false;
    TFont unrotated;
};

// What one line found.
struct TLineInfo
{
    qsizetype end = 0;
    int width = 0;
    int height = 0;
    int subDepth = 0;
    int supHeight = 0;
    int textLift = 0;
    bool textHit = false;
    bool objectHit = false;
    bool dropRest = false; // the rest of the text is not laid out
};

// The run as drawn: "&&" is one ampersand, a single "&" marks the next character (an
// accelerator, shown without the mark).
QString shownRun(const QString &run)
{
    if (!run.contains(u'&'))
        return run;
    QString out;
    out.reserve(run.size());
    for (qsizetype i = 0; i < run.size(); ++i) {
        if (run[i] == u'&') {
            if (i + 1 < run.size())
                ++i;
            else
                continue;
        }
        out += run[i];
    }
    return out;
}

int clampSize(int v)
{
    return std::clamp(v, 0, MaxObjectSize);
}

class TEngine
{
public:
    TEngine(TCanvas &canvas, const QString &text, const TRect &rect, const THTMLPaintParams &p,
            THTMLPaintResult &res)
        : c(canvas), s(PrepareHTMLMarkup(text)), rect(rect), p(p), res(res)
    {}

    bool run();

private:
    // One line from pos: measuring when !second, else painting (or testing) over [pos, end).
    void RenderHTMLCore(qsizetype pos, qsizetype end, const TRect &lineRect, bool second,
                    TLineInfo &info);
    void applyTag(QStringView tag, THTMLTagKind kind, bool second, const TRect &lr, int &x,
                  TLineInfo &info, bool &endLine, bool &noRoom, bool measureFit);
    // Size of an IMG (0 x 0 when it takes no space); sets pic to what to draw.
    TSize imageSize(QStringView tag, THTMLPicture *&pic, int &listIndex, QIcon &icon, bool alt);
    void drawControl(const QString &type, const QString &value, int x, int bottom, int h,
                     int width, int height, bool hot);
    void setFontColor(TColor col) { c.Font().SetColor(col); }

    TCanvas &c;
    const QString s; // the prepared text
    TRect rect;
    const THTMLPaintParams &p;
    THTMLPaintResult &res;
    TLineState st;
    TFont baseFont;
    TColor bgColor = clWhite;
    int lineIndex = 0;
    int gh = 0;
    // Placed line of the second pass.
    int lineTop = 0;
    int lineBottom = 0;
    int lineLeft = 0;
    int lineLift = 0;
    bool painting = false;
};

TSize TEngine::imageSize(QStringView tag, THTMLPicture *&pic, int &listIndex, QIcon &icon,
                         bool alt)
{
    pic = nullptr;
    listIndex = -1;
    QString src;
    // Names keep their letter case here (file systems care); prefixes compare in any case.
    if (!(alt && HTMLTagAttribute(tag, u"ALT", src, false)))
        HTMLTagAttribute(tag, u"SRC", src, false);
    bool wOk = false;
    bool hOk = false;
    QString wv;
    QString hv;
    HTMLTagAttribute(tag, u"WIDTH", wv, true);
    HTMLTagAttribute(tag, u"HEIGHT", hv, true);
    const int w = clampSize(HTMLNumber(wv, 0, &wOk));
    const int h = clampSize(HTMLNumber(hv, 0, &hOk));
    const QString up = src.toUpper();

    TSize own{0, 0};
    if (up.startsWith(QLatin1StringView("IDX:"))) {
        const int idx = HTMLNumber(QStringView(src).mid(4));
        if (p.Images && idx >= 0 && idx < p.Images->Count()) {
            listIndex = idx;
            return {p.Images->Width(), p.Images->Height()};
        }
        return {0, 0};
    }
    if (up.startsWith(QLatin1StringView("SSYS:")) || up.startsWith(QLatin1StringView("LSYS:"))) {
        const int side = up.startsWith(u'S') ? 16 : 32;
        const QString what = src.mid(5);
        bool isNumber = false;
        what.toInt(&isNumber);
        if (isNumber)
            return {0, 0}; // no shell image list on this platform
        static QFileIconProvider provider;
        const QFileInfo fi(what);
        icon = fi.exists() ? provider.icon(fi) : provider.icon(QFileIconProvider::File);
        if (icon.isNull())
            return {0, 0};
        return {side, side};
    }
    if (src.contains(QLatin1StringView("://"))) {
        if (p.PictureCache) {
            pic = p.PictureCache->FindPicture(src);
            // Only program resources and local files load; outside locations are never
            // fetched.
            if (!pic && (up.startsWith(QLatin1StringView("RES://")) ||
                         up.startsWith(QLatin1StringView("FILE://")))) {
                pic = p.PictureCache->AddPicture();
                pic->SetAsynch(false);
                pic->SetID(src);
                pic->LoadFromURL(src);
            }
        }
    } else if (!src.contains(u':') && p.PictureContainer) {
        pic = p.PictureContainer->FindPicture(src);
    }
    if (pic && pic->Empty())
        pic = nullptr;
    if (pic)
        own = {pic->Width(), pic->Height()};
    if (!pic) {
        // A missing picture draws nothing; a size written in the tag is kept, so the text
        // around it does not move when the picture is absent.
        return {wOk ? w : 0, hOk ? h : 0};
    }
    if (wOk && hOk)
        return {w, h};
    if (wOk)
        return {w, own.cx > 0 ? clampSize(int(double(own.cy) * w / own.cx + 0.5)) : 0};
    if (hOk)
        return {own.cy > 0 ? clampSize(int(double(own.cx) * h / own.cy + 0.5)) : 0, h};
    return {clampSize(own.cx), clampSize(own.cy)};
}

void TEngine::drawControl(const QString &type, const QString &value, int x, int b, int h,
                          int width, int height, bool hot)
{
    const TColor border = 0x808080;
    c.Pen().SetColor(border);
    c.Pen().SetWidth(1);
    if (type == QLatin1StringView("EDIT") || type == QLatin1StringView("PASSWORD") ||
        type == QLatin1StringView("MASK") || type == QLatin1StringView("COMBO")) {
        const bool combo = type == QLatin1StringView("COMBO");
        c.Brush().SetColor(clWhite);
        c.Rectangle(x, b - h + 4, x + width, b + 2);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        const QString shown =
            type == QLatin1StringView("PASSWORD") ? HTMLPasswordMask(value) : value;
        TRect tr{x + (combo ? 4 : 2), b - h + 4, x + width - (combo ? 18 : 2), b + 2};
        c.DrawText(shown, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
        if (combo)
            c.DrawFrameControl({x + width - 18, b - h + 5, x + width - 1, b + 1}, DFC_SCROLL,
                               DFCS_SCROLLCOMBOBOX | (hot ? DFCS_HOT : 0));
    } else if (type == QLatin1StringView("CHECK") || type == QLatin1StringView("RADIO")) {
        const bool radio = type == QLatin1StringView("RADIO");
        const bool checked = value.compare(QLatin1StringView("TRUE"), Qt::CaseInsensitive) == 0;
        const TRect box = radio ? TRect{x + 2, b - 14, x + 14, b} : TRect{x + 2, b - 15, x + 15, b};
        c.DrawFrameControl(box, DFC_BUTTON,
                           (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) |
                               (checked ? DFCS_CHECKED : 0) | DFCS_FLAT);
    } else if (type == QLatin1StringView("BUTTON")) {
        const TRect box{x + 2, b - height, x + width - 2, b};
        c.DrawFrameControl(box, DFC_BUTTON,
                           DFCS_BUTTONPUSH | (hot && p.ControlPressed ? DFCS_PUSHED : 0));
        c.Brush().SetStyle(TBrushStyle::bsClear);
        TRect tr{box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2};
        c.DrawText(value, tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
    c.Brush().SetStyle(TBrushStyle::bsClear);
}

void TEngine::applyTag(QStringView tag, THTMLTagKind kind, bool second, const TRect &lr, int &x,
                       TLineInfo &info, bool &endLine, bool &noRoom, bool measureFit)
{
    const bool paint = second && painting;
    const int lineWidth = lr.Width();
    TFont &f = c.Font();
    auto style = [&](TFontStyle fs, bool on) {
        TFontStyles set = f.Style();
        if (on)
            set.Include(fs);
        else
            set.Exclude(fs);
        f.SetStyle(set);
    };
    switch (kind.tag) {
    case THTMLTag::None:
        break;
    case THTMLTag::A:
        if (!kind.closing) {
            ++st.anchorCount;
            st.inAnchor = true;
            st.href = HTMLTagAttribute(tag, u"HREF");
            st.title = HTMLTagAttribute(tag, u"TITLE");
            st.anchorHover = !p.HoverStyling || st.anchorCount == p.HoverAnchorIndex;
            st.anchorSavedBg = st.textBg;
            st.anchorSavedColor = f.Color();
            if (st.anchorHover) {
                style(TFontStyle::fsUnderline, true);
                if (p.HoverBackColor != clNone)
                    st.textBg = p.HoverBackColor;
            }
            if (st.anchorHover && p.HoverTextColor != clNone)
                setFontColor(p.HoverTextColor);
            else if (!p.Selected)
                setFontColor(p.UrlColor);
            st.anchorStartX = lr.Left + x;
            st.anchorStartY = lr.Top;
            st.anchorStartLine = lineIndex;
            st.anchorHitPending = false;
            if (paint && st.anchorCount == p.FocusAnchorIndex + 1) {
                st.focusOpen = true;
                st.focusStartX = lr.Left + x;
            }
        } else if (st.inAnchor) {
            style(TFontStyle::fsUnderline, false);
            st.textBg = st.anchorSavedBg;
            setFontColor(p.Selected ? st.anchorSavedColor : baseFont.Color());
            if (second && st.anchorHitPending) {
                const bool sameLine = st.anchorStartLine == lineIndex;
                res.HitAnchorRect = {sameLine ? st.anchorStartX : lr.Left,
                                     sameLine ? st.anchorStartY : lineTop, lr.Left + x,
                                     lineBottom};
                res.HitAnchorIndex = st.anchorCount;
                st.anchorHitPending = false;
            }
            if (paint && st.focusOpen) {
                const int bottom = lineBottom - lineLift;
                c.DrawFocusRect({st.focusStartX - 1, bottom - gh, lr.Left + x + 1, bottom});
                st.focusOpen = false;
            }
            st.inAnchor = false;
        }
        break;
    case THTMLTag::B:
        style(TFontStyle::fsBold, !kind.closing);
        break;
    case THTMLTag::BR:
        if (!kind.closing) {
            if (!second)
                res.PlainText += u'\r';
            endLine = true;
        }
        break;
    case THTMLTag::Blink:
        if (!kind.closing) {
            if (!p.BlinkVisible)
                setFontColor(bgColor);
        } else {
            setFontColor(baseFont.Color());
        }
        break;
    case THTMLTag::Body:
        if (!kind.closing && paint) {
            QString bg;
            if (HTMLTagAttribute(tag, u"BACKGROUND", bg, false) && p.PictureContainer) {
                if (THTMLPicture *pic = p.PictureContainer->FindPicture(bg);
                    pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
                    TClipSaver clip(c);
                    c.IntersectClipRect(rect);
                    for (int y = rect.Top; y < rect.Bottom; y += pic->Height())
                        for (int xx = rect.Left; xx < rect.Right; xx += pic->Width())
                            pic->Draw(c, Bounds(xx, y, pic->Width(), pic->Height()));
                }
            }
            QString col;
            if (HTMLTagAttribute(tag, u"BGCOLOR", col, true)) {
                const TColor color = HTMLBodyColorValue(col);
                if (color != clNone) {
                    c.Brush().SetColor(color);
                    c.FillRect(rect);
                    c.Brush().SetStyle(TBrushStyle::bsClear);
                    st.fontSavedBg = color;
                }
            }
        }
        break;
    case THTMLTag::Control:
        if (!kind.closing) {
            QString type, id, maxLen, prop, height, width, value;
            // The text's entity pass made "&amp;" the drawing's "&&"; the control's own
            // entity coding wants it back.
            QString raw = tag.toString();
            raw.replace(QLatin1StringView("&&"), QLatin1StringView("&amp;"));
            ParseHTMLControlTag(raw, type, id, maxLen, prop, height, width, value);
            bool wOk = false;
            const int cw = clampSize(HTMLNumber(width, 0, &wOk));
            if (!wOk)
                break;
            const int ch = clampSize(HTMLNumber(height, 25));
            const bool small = type == QLatin1StringView("CHECK") ||
                               type == QLatin1StringView("RADIO");
            const bool tall = type == QLatin1StringView("BUTTON") ||
                              type == QLatin1StringView("COMBO");
            const int sw = small ? 16 : cw;
            const int sh = small ? 16 : tall ? 25 : gh + 10;
            if (measureFit && x > 0 && x + sw > lineWidth && sw <= lineWidth) {
                noRoom = true;
                return;
            }
            int lh = small ? 16 : 23;
            if (ch > 25)
                lh = ch - 2;
            info.height = std::max(lh, sh);
            if (second) {
                const int left = lr.Left + x;
                const bool inside = p.HitX > left && p.HitX < left + sw && p.HitY > lineTop &&
                                    p.HitY < lineTop + sh;
                const bool byId = p.TestOnly && !p.ControlId.isEmpty() && id == p.ControlId;
                if (inside || byId) {
                    info.objectHit = true;
                    res.AnchorHref = QStringLiteral("ctrl");
                    res.ControlRect = {left, lineTop, left + sw, lineTop + sh};
                    res.ControlValue = value;
                    res.ControlId = id;
                    res.ControlType = type;
                }
                if (paint)
                    drawControl(type, value, left, lineBottom - lineLift, std::max(lh, sh), cw,
                                ch, inside);
            }
            x += sw;
        }
        break;
    case THTMLTag::E:
        st.error = !kind.closing;
        break;
    case THTMLTag::Font:
        if (!kind.closing) {
            QString v;
            if (HTMLTagAttribute(tag, u"FACE", v, true) && !v.isEmpty())
                f.SetName(v);
            if (HTMLTagAttribute(tag, u" COLOR", v, true) && !p.Selected)
                setFontColor(HTMLColorValue(v));
            if (HTMLTagAttribute(tag, u"BGCOLOR", v, true) && !p.Selected) {
                st.fontSavedBg = st.textBg;
                st.textBg = HTMLColorValue(v);
            }
            if (HTMLTagAttribute(tag, u"SIZE", v, true)) {
                static constexpr int sizes[] = {8, 10, 12, 14, 16};
                const int n = HTMLNumber(v);
                const int pt = n >= 1 && n <= 5 ? sizes[n - 1] : n;
                // A size that is no number or none at all keeps the font's size.
                if (pt > 0)
                    f.SetSize(std::min(pt, MaxFontPoints));
            }
        } else {
            f.SetName(baseFont.Name());
            f.SetHeight(baseFont.Height());
            if (!p.Selected) {
                setFontColor(baseFont.Color());
                st.textBg = st.fontSavedBg;
            }
        }
        break;
    case THTMLTag::Hi:
        if (!kind.closing) {
            st.hiSavedBg = st.textBg;
            st.hiSavedColor = f.Color();
            st.textBg = HTMLHighlightColor();
            setFontColor(HTMLHighlightTextColor());
        } else {
            st.textBg = st.hiSavedBg;
            setFontColor(st.hiSavedColor);
        }
        break;
    case THTMLTag::HR:
        if (!kind.closing) {
            if (paint) {
                c.Pen().SetColor(clBlack);
                c.Pen().SetWidth(1);
                c.MoveTo(lr.Left, lineBottom + 1);
                c.LineTo(lr.Right, lineBottom + 1);
            }
            if (!second)
                res.PlainText += u'\r';
            endLine = true;
        }
        break;
    case THTMLTag::I:
        style(TFontStyle::fsItalic, !kind.closing);
        break;
    case THTMLTag::Img:
        if (!kind.closing) {
            ++st.pictureCount;
            THTMLPicture *pic = nullptr;
            int listIndex = -1;
            QIcon icon;
            TSize sz = imageSize(tag, pic, listIndex, icon, false);
            if (measureFit && x > 0 && x + sz.cx > lineWidth && sz.cx <= lineWidth) {
                noRoom = true;
                return;
            }
            info.height = std::max(info.height, sz.cy);
            QString align;
            if (HTMLTagAttribute(tag, u"ALIGN", align, true)) {
                if (align.startsWith(QLatin1StringView("TOP")))
                    info.textLift = -1; // resolved at the line's end
                else if (align.startsWith(QLatin1StringView("MIDDLE")))
                    info.textLift = -2;
            }
            if (second) {
                const int left = lr.Left + x;
                if (st.inAnchor && p.HitX > left && p.HitX < left + sz.cx && p.HitY > lineTop &&
                    p.HitY < lineTop + sz.cy) {
                    info.objectHit = true;
                    res.AnchorHref = st.href;
                    res.AnchorTitle = st.title;
                    st.hoveredPicture = st.pictureCount;
                    // The hovered picture shows its ALT source.
                    THTMLPicture *altPic = nullptr;
                    int altIndex = -1;
                    QIcon altIcon;
                    if (!HTMLTagAttribute(tag, u"ALT").isEmpty() &&
                        imageSize(tag, altPic, altIndex, altIcon, true).cx >= 0) {
                        pic = altPic;
                        listIndex = altIndex;
                        icon = altIcon;
                    }
                }
                if (paint) {
                    if (listIndex >= 0)
                        p.Images->Draw(c, left, lineTop, listIndex);
                    else if (!icon.isNull())
                        c.Draw(left, lineTop, icon.pixmap(sz.cx, sz.cy).toImage());
                    else if (pic)
                        pic->Draw(c, Bounds(left, lineTop, sz.cx, sz.cy));
                }
            }
            x += sz.cx;
        }
        break;
    case THTMLTag::Ind:
        if (!kind.closing) {
            QString v;
            HTMLTagAttribute(tag, u"X", v, false, 2);
            const int to = std::clamp(HTMLNumber(v), 0, MaxObjectSize) - 1;
            if (x < to)
                x = to;
        }
        break;
    case THTMLTag::LI:
        if (!kind.closing) {
            const int level = std::min(st.listLevel, 64);
            x += 12 * level;
            if (paint) {
                c.TextOut(lr.Left + x, lineBottom - lineLift - c.TextHeight(QStringLiteral("o")),
                          level % 2 == 1 ? QStringLiteral("\u2022") : QStringLiteral("o"));
            }
            x += 12;
        } else {
            endLine = true;
        }
        break;
    case THTMLTag::P:
        if (!kind.closing) {
            QString v;
            if (HTMLTagAttribute(tag, u"ALIGN", v, true)) {
                if (v == QLatin1StringView("RIGHT"))
                    st.align = TAlign::Right;
                else if (v == QLatin1StringView("CENTER"))
                    st.align = TAlign::Center;
                else
                    st.align = TAlign::Left;
            }
            if (HTMLTagAttribute(tag, u"INDENT", v, false))
                st.indent = std::clamp(HTMLNumber(v), 0, MaxObjectSize);
            if (HTMLTagAttribute(tag, u"BGCOLOR", v, true)) {
                st.paraBg = true;
                st.paraColor = HTMLColorValue(v);
                if (paint) {
                    c.Brush().SetColor(st.paraColor);
                    c.FillRect({rect.Left, lineTop, rect.Right, lineBottom});
                    c.Brush().SetStyle(TBrushStyle::bsClear);
                }
            }
        } else {
            st.paraBg = false;
            endLine = true;
        }
        break;
    case THTMLTag::R:
        if (!kind.closing) {
            QString v;
            HTMLTagAttribute(tag, u"A", v, false, 2);
            if (!st.rotated)
                st.unrotated = f;
            st.rotated = true;
            f.SetOrientation((HTMLNumber(v) % 360) * 10);
        } else if (st.rotated) {
            f.SetOrientation(st.unrotated.Orientation());
            st.rotated = false;
        }
        break;
    case THTMLTag::S:
        style(TFontStyle::fsStrikeOut, !kind.closing);
        break;
    case THTMLTag::Shad:
        st.shadow = !kind.closing;
        break;
    case THTMLTag::Sub:
        if (kind.closing) {
            st.sub = false;
            st.sup = false;
        } else {
            st.sub = true;
        }
        break;
    case THTMLTag::Sup:
        st.sup = true;
        break;
    case THTMLTag::U:
        style(TFontStyle::fsUnderline, !kind.closing);
        break;
    case THTMLTag::UL:
        if (!kind.closing) {
            ++st.listLevel;
            endLine = true;
        } else if (st.listLevel > 0) {
            --st.listLevel;
        } else {
            style(TFontStyle::fsUnderline, false);
        }
        break;
    case THTMLTag::Z:
        st.hidden = !kind.closing;
        break;
    }
}

void TEngine::RenderHTMLCore(qsizetype pos, qsizetype end, const TRect &lineRect, bool second,
                         TLineInfo &info)
{
    const bool paint = second && painting;
    const bool measureFit = !second; // the first pass decides where the line ends
    const QStringView text(s);
    TRect lr = lineRect;
    int x = 0;
    int trailingBlank = 0;
    bool endsWithBlank = false;
    bool firstRun = true;
    bool liSeen = false;
    const int lineWidth = lr.Width();
    int imgLiftMode = 0;

    if (paint && st.paraBg) {
        c.Brush().SetColor(st.paraColor);
        c.FillRect({rect.Left, lineTop, rect.Right, lineBottom});
        c.Brush().SetStyle(TBrushStyle::bsClear);
    }

    while (pos < end) {
        const THTMLToken t = NextHTMLToken(text, pos, p.WordWrap);
        if (t.kind == THTMLToken::Kind::End) {
            pos = s.size();
            info.dropRest = true;
            break;
        }
        if (t.kind == THTMLToken::Kind::Text) {
            const QString run = DecodeHTMLRun(text.mid(t.begin, t.end - t.begin));
            const int th = c.TextHeight(run);
            if (!second) {
                info.height = std::max(info.height, th);
                if (st.sub)
                    info.subDepth = std::max(info.subDepth, th / 4);
                if (st.sup)
                    info.supHeight = std::max(info.supHeight, th / 4);
            }
            if (st.hidden) {
                if (!second)
                    res.PlainText += run;
                pos = t.end;
                continue;
            }
            const QString shown = shownRun(run);
            const int w = c.TextWidth(shown);
            if (measureFit) {
                if (p.WordWrap) {
                    const bool fits = x + w < lineWidth || w >= lineWidth || !endsWithBlank ||
                                      firstRun;
                    if (!fits)
                        break; // taken back: it starts the next line
                } else if (x + w > lineWidth && !firstRun) {
                    info.dropRest = true;
                }
                res.PlainText += run;
            }
            const int left = lr.Left + x;
            if (second) {
                if (st.inAnchor && p.HitX >= left && p.HitX < left + w && p.HitY > lineTop &&
                    p.HitY < lineBottom) {
                    info.textHit = true;
                    res.AnchorHref = st.href;
                    res.AnchorTitle = st.title;
                    st.anchorHitPending = true;
                }
                if (paint) {
                    int bottom = lineBottom - lineLift;
                    if (st.sup)
                        bottom -= info.supHeight;
                    if (st.sub)
                        bottom += info.subDepth;
                    const int top = bottom - th;
                    const bool cut = !p.WordWrap && left + w > lr.Right;
                    const int drawW = cut ? std::max(0, lr.Right - left) : w;
                    if (st.textBg != clNone) {
                        c.Brush().SetColor(st.textBg);
                        c.FillRect({left, top, left + drawW, bottom});
                        c.Brush().SetStyle(TBrushStyle::bsClear);
                    }
                    auto draw = [&](int dx, int dy) {
                        if (cut) {
                            TRect r{left + dx, top + dy, lr.Right + dx, bottom + dy};
                            c.DrawText(shown, r,
                                       DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS |
                                           DT_NOCLIP);
                        } else {
                            c.TextOut(left + dx, top + dy, shown);
                        }
                    };
                    const bool blank = st.textBg == clNone && shown.trimmed().isEmpty() &&
                                       !c.Font().Style().Contains(TFontStyle::fsUnderline) &&
                                       !c.Font().Style().Contains(TFontStyle::fsStrikeOut);
                    if (st.shadow && !blank) {
                        const TColor col = c.Font().Color();
                        c.Font().SetColor(p.ShadowColor);
                        draw(p.ShadowOffset, p.ShadowOffset);
                        c.Font().SetColor(col);
                    }
                    if (!blank)
                        draw(0, 0);
                    if (st.inAnchor && st.anchorCount == p.FocusAnchorIndex + 1)
                        res.FocusHref = st.href;
                    if (st.error) {
                        // Red zig-zag: x divisible by 4 lies one pixel below the line.
                        std::vector<TPoint> pts;
                        const int right = left + drawW;
                        for (int zx = left / 2 * 2; zx <= right; zx += 2)
                            pts.push_back({zx, lineBottom + ((zx / 2) % 2 == 0 ? 1 : -1)});
                        if (pts.size() > 1) {
                            c.Pen().SetColor(clRed);
                            c.Pen().SetWidth(1);
                            c.Polyline(pts);
                        }
                    }
                }
            }
            x += w;
            endsWithBlank = run.endsWith(u' ');
            trailingBlank = endsWithBlank ? c.TextWidth(QStringLiteral(" ")) : 0;
            firstRun = false;
            pos = t.end;
            if (info.dropRest)
                break;
            continue;
        }

        // A tag.
        const QStringView tag = text.mid(t.begin, t.end - t.begin);
        const THTMLTagKind kind = ClassifyHTMLTag(tag);
        if (measureFit && kind.tag == THTMLTag::LI && !kind.closing) {
            if (liSeen)
                break; // a second item starts the next line
            liSeen = true;
        }
        bool endLine = false;
        bool noRoom = false;
        TLineInfo tagInfo = info;
        applyTag(tag, kind, second, lr, x, tagInfo, endLine, noRoom, measureFit);
        if (noRoom)
            break;
        if (!second) {
            info.height = tagInfo.height;
            if (tagInfo.textLift < 0)
                imgLiftMode = tagInfo.textLift;
        }
        info.objectHit = info.objectHit || tagInfo.objectHit;
        if (kind.tag == THTMLTag::Img || kind.tag == THTMLTag::Control)
            firstRun = false, endsWithBlank = false, trailingBlank = 0;
        pos = t.end;
        if (endLine)
            break;
    }
    info.end = pos;
    if (!second) {
        info.width = std::max(0, x - trailingBlank);
        if (imgLiftMode == -1)
            info.textLift = std::max(0, info.height - gh);
        else if (imgLiftMode == -2)
            info.textLift = std::max(0, info.height - gh) / 2;
        else
            info.textLift = 0;
    }
}

bool TEngine::run()
{
    const TColor penColor = c.Pen().Color();
    const int penWidth = c.Pen().Width();
    TBrush brush;
    brush.Assign(c.Brush());
    baseFont = c.Font();
    bgColor = c.Brush().Color();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.SetBkMode(TBkMode::bkTransparent);
    painting = !p.TestOnly && !p.MeasureOnly;

    res = THTMLPaintResult{};
    if (p.TestOnly)
        res.ControlId.clear();
    st = TLineState{};
    st.font = baseFont;

    const QString &work = s;
    TRect lineRect = rect;
    lineRect.Left += 1;
    qsizetype pos = 0;
    bool hit = false;

    while (pos < work.size()) {
        TFont font = c.Font();
        TLineState saved = st;
        gh = c.TextHeight(QStringLiteral("gh"));

        TLineInfo info;
        RenderHTMLCore(pos, work.size(), lineRect, false, info);
        if (info.end <= pos && !info.dropRest) {
            // Nothing fitted even on an empty line: take one token so the layout moves on.
            const THTMLToken t = NextHTMLToken(work, pos, p.WordWrap);
            info.end = t.end > pos ? t.end : pos + 1;
        }

        // Place the line.
        TRect placed = lineRect;
        if (st.align == TAlign::Right && placed.Right - info.width > placed.Left)
            placed.Left = placed.Right - info.width;
        else if (st.align == TAlign::Center && placed.Width() - info.width > 0)
            placed.Left += (placed.Width() - info.width) / 2;
        placed.Left += st.indent;
        const int height = info.height + info.subDepth + info.supHeight;
        placed.Bottom = placed.Top + height;

        if (!p.MeasureOnly) {
            c.Font().Assign(font);
            st = saved;
            lineTop = placed.Top;
            lineBottom = placed.Bottom - info.subDepth;
            lineLeft = placed.Left;
            lineLift = info.textLift;
            TLineInfo second = info;
            second.textHit = false;
            second.objectHit = false;
            RenderHTMLCore(pos, info.end, placed, true, second);
            const int bottom = lineBottom - info.textLift;
            if ((second.textHit && p.HitY > bottom - gh && p.HitY < bottom) ||
                second.objectHit)
                hit = true;
        }

        res.TextWidth = std::max(res.TextWidth, info.width);
        res.TextHeight += height;
        lineRect.Top += height;
        ++lineIndex;
        pos = info.dropRest ? work.size() : info.end;
        if (!p.MeasureOnly && lineRect.Top + gh > rect.Bottom)
            break;
    }
    if (res.TextHeight == 0)
        res.TextHeight = c.TextHeight(QStringLiteral("gh"));
    res.AnchorCount = st.anchorCount;
    res.Hit = hit && !p.MeasureOnly;

    c.Font().Assign(baseFont);
    c.Pen().SetColor(penColor);
    c.Pen().SetWidth(penWidth);
    c.Brush().Assign(brush);
    return res.Hit;
}

} // namespace

bool PaintHTMLText(TCanvas &Canvas,
                   const QString &Text,
                   const TRect &Rect,
                   const THTMLPaintParams &Params,
                   THTMLPaintResult &Result)
{
    TEngine engine(Canvas, Text, Rect, Params, Result);
    return engine.run();
}

TSize MeasureHTMLText(TCanvas &Canvas, const QString &Text, int Width, bool WordWrap,
                      const THTMLPaintParams &Base)
{
    THTMLPaintParams p = Base;
    p.MeasureOnly = true;
    p.TestOnly = false;
    p.WordWrap = WordWrap;
    THTMLPaintResult r;
    PaintHTMLText(Canvas, Text, {0, 0, Width, INT_MAX / 2}, p, r);
    return {r.TextWidth, r.TextHeight};
}

bool HitTestHTMLText(TCanvas &Canvas,
                     const QString &Text,
                     const TRect &Rect,
                     int X,
                     int Y,
                     const THTMLPaintParams &Base,
                     THTMLPaintResult &Result)
{
    THTMLPaintParams p = Base;
    p.TestOnly = true;
    p.MeasureOnly = false;
    p.HitX = X;
    p.HitY = Y;
    return PaintHTMLText(Canvas, Text, Rect, p, Result);
}
