// Picture files of the grid's file pictures: any bytes, under any of the usual names, give an
// image or a picture error naming the file, never an abort.
#include "FuzzSupport.h"

#include "grid/model/QrlFilePicture.h"

#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const names[] = {"p.jpg", "p.bmp", "p.gif", "p.ico", "p.png", "p"};
    fuzz::Reader in(data, size);
    const QString name = QString::fromLatin1(names[in.take<uint8_t>() % std::size(names)]);
    try {
        const QImage image = DecodePictureData(in.rest(), name);
        FUZZ_CHECK(!image.isNull());
    } catch (const EPictureError &e) {
        FUZZ_CHECK(QString::fromStdString(e.what()).contains(name));
    }
    return 0;
}
