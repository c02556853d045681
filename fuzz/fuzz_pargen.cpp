// ParGen.xml: any bytes read into the 42 values or fail with EXmlError; read values pass the
// form check without harm, and saved and read again they come back unchanged.
#include "FuzzSupport.h"

#include "gateway/UParGenFile.h"
#include "platform/xml/XmlDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchFile(QStringLiteral("ParGen.xml"));
    fuzz::writeFile(path, fuzz::bytesOf(data, size));
    pargen::TParGenValues values;
    try {
        values = pargen::loadParGen(path);
    } catch (const plat::EXmlError &) {
        fuzz::removeFile(path);
        return 0;
    }
    const int check = pargen::checkParGen(values);
    FUZZ_CHECK(check >= 0);
    pargen::saveParGen(path, values);
    const pargen::TParGenValues again = pargen::loadParGen(path);
    for (int i = 0; i < pargen::ParGen_Key_Count; ++i) {
        if (again[size_t(i)] != values[size_t(i)]) {
            std::fprintf(stderr, "key %s: '%s' read back as '%s'\n",
                         pargen::ParGen_Keys[size_t(i)].name, qPrintable(values[size_t(i)]),
                         qPrintable(again[size_t(i)]));
            FUZZ_CHECK(false);
        }
    }
    fuzz::removeFile(path);
    return 0;
}
