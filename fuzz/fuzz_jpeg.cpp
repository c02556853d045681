// JPEG pictures: any bytes decode to an RGB image or fail with a message, never abort.
#include "FuzzSupport.h"

#include "grid/model/QrlJpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QImage image;
    QString error;
    const bool ok = DecodeJpeg(bytes, image, &error);
    if (ok) {
        FUZZ_CHECK(!image.isNull());
        FUZZ_CHECK(image.format() == QImage::Format_RGB888);
        // libjpeg skips junk between markers, so only the start-of-image marker is certain.
        FUZZ_CHECK(bytes.startsWith("\xFF\xD8"));
    } else {
        FUZZ_CHECK(image.isNull());
        FUZZ_CHECK(!error.isEmpty());
    }
    return 0;
}
