// Integer rectangles, points and sizes with the platform's conventions: a rectangle runs from
// Left/Top inclusive to Right/Bottom exclusive, so Rect(0, 0, 10, 10) covers pixels 0..9.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

struct TPoint
{
    int X = 0;
    int Y = 0;

    friend bool operator==(const TPoint &, const TPoint &) = default;
    QPoint toQPoint() const { return QPoint(X, Y); }
};

struct TSize
{
    int cx = 0;
    int cy = 0;

    friend bool operator==(const TSize &, const TSize &) = default;
};

struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool Contains(const TPoint &p) const { return Contains(p.X, p.Y); }

    // Qt's QRect keeps width/height, so right() is one less than our Right.
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect fromQRect(const QRect &r)
    {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }

    friend bool operator==(const TRect &, const TRect &) = default;
};

inline TPoint Point(int x, int y)
{
    return {x, y};
}

inline TRect Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

inline TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

inline void OffsetRect(TRect &r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

// Positive dx/dy grow the rectangle on both sides, negative ones shrink it.
inline void InflateRect(TRect &r, int dx, int dy)
{
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

// False (and an all-zero result) when the two do not overlap.
inline bool IntersectRect(TRect &dst, const TRect &a, const TRect &b)
{
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (r.IsEmpty()) {
        dst = TRect{};
        return false;
    }
    dst = r;
    return true;
}

inline bool PtInRect(const TRect &r, const TPoint &p)
{
    return r.Contains(p);
}
