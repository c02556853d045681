// The image list of the image kinds of cell graphics (GridImages): images of one size, drawn by
// index. Pictures and icons of cell graphics are plain bitmaps.
#pragma once

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"

#include <QImage>
#include <QObject>

#include <vector>

using TIcon = TBitmap;
using TPicture = TBitmap;

class TCustomImageList : public QObject
{
public:
    TCustomImageList(int width, int height, QObject *parent = nullptr)
        : QObject(parent), m_width(width), m_height(height)
    {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return static_cast<int>(m_images.size()); }
    // Scaled to the list's size; returns the new index.
    int Add(const QImage &image);
    // Nothing for an index outside the list.
    void Draw(TCanvas &Canvas, int X, int Y, int Index) const;

private:
    int m_width;
    int m_height;
    std::vector<QImage> m_images;
};
