#include "grid/model/QrlImageList.h"

int TCustomImageList::Add(const QImage &image)
{
    m_images.push_back(
        image.size() == QSize(m_width, m_height)
            ? image
            : image.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return Count() - 1;
}

void TCustomImageList::Draw(TCanvas &Canvas, int X, int Y, int Index) const
{
    if (Index < 0 || Index >= Count())
        return;
    Canvas.Draw(X, Y, m_images[static_cast<size_t>(Index)]);
}
