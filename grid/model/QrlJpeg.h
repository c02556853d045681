// JPEG decoding through libjpeg for every picture the grid shows or prints.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a whole JPEG file held in memory into a 24-bit image (QImage::Format_RGB888);
// grey and CMYK pictures are converted to RGB. On failure (broken, truncated or oversized
// data) returns false, leaves image null and puts the decoder's message into *error;
// it never aborts the program.
bool DecodeJpeg(const QByteArray &data, QImage &image, QString *error = nullptr);

// True when the data starts with a JPEG start-of-image marker.
bool IsJpegData(const QByteArray &data);
