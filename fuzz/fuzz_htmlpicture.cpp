// Pictures of the markup: any bytes load or raise the grid's error; frame counting, frame
// times, decoding every frame and animation ticks stay inside the data.
#include "FuzzSupport.h"

#include "grid/model/QrlGridError.h"
#include "grid/model/QrlHTMLPicture.h"

#include <QBuffer>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);

    THTMLPicture picture;
    try {
        picture.LoadFromStream(&stream);
    } catch (const EQrlGridError &) {
        FUZZ_CHECK(picture.Empty());
        return 0;
    }
    FUZZ_CHECK(!picture.Empty());

    const int count = picture.FrameCount();
    FUZZ_CHECK(count >= -1);
    FUZZ_CHECK(count == -1 || picture.IsGIF());
    // Hostile files may hold thousands of frame starts; a bounded walk finds the same faults.
    const int frames = std::min(count, 64);
    for (int i = 0; i <= frames + 1; ++i) {
        const int time = picture.GetFrameTime(i);
        FUZZ_CHECK(time >= -1 && time <= 0xFFFF);
        FUZZ_CHECK((i >= 1 && i <= count) == (time >= 0));
    }
    // Every frame decodes onto the whole logical screen: a tiny file may ask for a screen of
    // tens of megabytes, which is slow to clear but no fault, so such screens skip the decoding.
    if (std::int64_t(picture.MaxWidth()) * picture.MaxHeight() > (1 << 20))
        return 0;
    for (int i = 1; i <= frames; ++i) {
        try {
            picture.SetFrame(i);
        } catch (const EQrlGridError &) {
            // A later frame alone may not decode; the picture keeps what it showed.
        }
        FUZZ_CHECK(picture.Frame() == i);
        FUZZ_CHECK(!picture.Empty());
    }
    try {
        picture.SetFrame(1);
        for (int tick = 0; tick < 16; ++tick)
            picture.Step();
    } catch (const EQrlGridError &) {
    }
    FUZZ_CHECK(picture.Frame() >= 1 && (count < 1 || picture.Frame() <= count));
    return 0;
}
