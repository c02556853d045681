// Version blocks of program files: any bytes give a version or -1, and never a read past the
// data (the sanitizers watch the reads).
#include "FuzzSupport.h"

#include "grid/model/QrlGridStartup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int version = FileVersionMSFromData(bytes);
    // A version comes only from a block whose key and signature are there.
    if (version != -1)
        FUZZ_CHECK(bytes.contains(QByteArray::fromRawData("\xBD\x04\xEF\xFE", 4)));
    return 0;
}
