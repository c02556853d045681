#include "grid/model/QrlFilePicture.h"

#include "grid/model/QrlJpeg.h"
#include "platform/ui/Canvas.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

[[noreturn]] void fail(const QString &fileName, const QString &reason)
{
    throw EPictureError(QStringLiteral("Cannot load picture \"%1\": %2").arg(fileName, reason));
}

bool hasJpegSuffix(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == u"jpg" || suffix == u"jpeg" || suffix == u"jpe" || suffix == u"jfif";
}

} // namespace

QImage LoadPictureFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        fail(fileName, file.errorString());
    const QByteArray data = file.readAll();
    file.close();
    return DecodePictureData(data, fileName);
}

QImage DecodePictureData(const QByteArray &data, const QString &fileName)
{
    QImage image;
    if (IsJpegData(data) || hasJpegSuffix(fileName)) {
        QString error;
        if (!DecodeJpeg(data, image, &error))
            fail(fileName, error);
        return image;
    }

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.read(&image))
        fail(fileName, reader.errorString());
    return image;
}

void TFilePicture::SetFilename(const QString &Value)
{
    m_filename = Value;
    if (Value.isEmpty()) {
        m_width = 0;
        m_height = 0;
        return;
    }
    const QImage picture = LoadPictureFile(Value);
    m_width = picture.width();
    m_height = picture.height();
}

void TFilePicture::DrawPicture(TCanvas &Canvas, const TRect &r) const
{
    if (m_filename.isEmpty())
        return;
    const QImage picture = LoadPictureFile(m_filename);
    Canvas.StretchDraw(r, picture);
}

void TFilePicture::Assign(const TFilePicture &Source)
{
    m_filename = Source.m_filename;
    m_width = Source.m_width;
    m_height = Source.m_height;
}
