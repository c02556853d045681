// Language files: any bytes leave the text table whole (4100 entries), changing only entries
// the file names.
#include "FuzzSupport.h"

#include "common/ULanguage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchFile(QStringLiteral("Fuzz.lng"));
    fuzz::writeFile(path, fuzz::bytesOf(data, size));
    Load_English_Texts();
    const QStringList english = Lang_Texts;
    Load_Language_File(path);
    FUZZ_CHECK(Lang_Texts.size() == Lang_Texts_Size);
    FUZZ_CHECK(Lang_Texts_Count == Lang_Texts_Size);
    if (size == 0)
        FUZZ_CHECK(Lang_Texts == english);
    fuzz::removeFile(path);
    return 0;
}
