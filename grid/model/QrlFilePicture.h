// A picture referenced by file name: only its name and size are kept, the file is read again
// for every draw.
#pragma once

#include "platform/ui/Geometry.h"

#include <QImage>
#include <QString>

#include <stdexcept>

class TCanvas;

// A picture file that cannot be opened or decoded.
class EPictureError : public std::runtime_error
{
public:
    explicit EPictureError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Reads a picture file: JPEG through our libjpeg decoder, other formats through Qt's readers.
// Throws EPictureError with the reason.
QImage LoadPictureFile(const QString &fileName);
// The decoding step of LoadPictureFile on bytes already read; fileName names the picture in the
// error and its suffix may select the JPEG decoder.
QImage DecodePictureData(const QByteArray &data, const QString &fileName);

class TFilePicture
{
public:
    QString Filename() const { return m_filename; }
    // Stores the name, then loads the file to measure it; a file that cannot be loaded throws
    // EPictureError (the name stays set, the size unchanged). An empty name clears the size.
    void SetFilename(const QString &Value);
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Loads the file and draws it stretched into r; nothing for an empty name.
    void DrawPicture(TCanvas &Canvas, const TRect &r) const;
    // Name and size, without loading.
    void Assign(const TFilePicture &Source);

private:
    QString m_filename;
    int m_width = 0;
    int m_height = 0;
};
