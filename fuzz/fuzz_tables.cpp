// The three table files and the image compiler over them and ParGen.xml. The input carries up to
// four files separated by lines "#####": ParGen.xml, TLS_Known_Cert.xml, IEC61850_Variables.xml,
// ModbusM_SetAccess.xml (a missing part: no file). A table loads (or reports why not), writes and
// loads back to the same rows; the compiler builds both images or raises ECompileError.
#include "FuzzSupport.h"

#include "gateway/UCompile_Bin.h"
#include "gateway/table/UTableFiles.h"
#include "platform/text/StrConv.h"
#include "platform/xml/XmlDocument.h"

namespace {

void roundTrip(const TTableFileDesc &desc, const QString &path)
{
    const TTableLoadResult loaded = Load_Table_File(desc, path);
    FUZZ_CHECK(loaded.Rows.size() == desc.Groups.size());
    for (int g = 0; g < desc.Groups.size(); ++g) {
        FUZZ_CHECK(loaded.Rows[g].size() <= desc.Groups[g].Capacity);
        for (const TTableRow &row : loaded.Rows[g])
            FUZZ_CHECK(row.size() <= desc.Groups[g].Columns.size());
    }
    (void)loaded.Message();
    if (!loaded.File_Found || !loaded.Ok())
        return;
    const QString copy = fuzz::scratchFile(QStringLiteral("copy.xml"));
    Write_Table_File(desc, loaded.Rows, copy);
    const TTableLoadResult again = Load_Table_File(desc, copy);
    FUZZ_CHECK(again.Ok());
    // The dialog shows every row read; the file keeps them up to the first blank key.
    TTableData expected = loaded.Rows;
    for (int g = 0; g < desc.Groups.size(); ++g) {
        const TTableGroup &group = desc.Groups[g];
        TTableRows &rows = expected[g];
        for (int r = 0; r < rows.size(); ++r) {
            if (plat::Trim(rows[r].value(group.KeyColumn)).isEmpty()) {
                rows.resize(r);
                break;
            }
            while (rows[r].size() < group.Columns.size())
                rows[r].append(QString());
        }
    }
    FUZZ_CHECK(again.Rows == expected);
    fuzz::removeFile(copy);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = fuzz::scratchDir();
    const TCompile_Files files = TCompile_Files::In_Folder(folder);
    const QString paths[] = {files.ParGen, files.TLS_Known_Cert, files.IEC61850_Variables,
                             files.ModbusM_SetAccess};
    const QList<QByteArray> parts = fuzz::splitParts(fuzz::bytesOf(data, size));
    for (int i = 0; i < 4; ++i) {
        if (i < parts.size())
            fuzz::writeFile(paths[i], parts[i]);
        else
            fuzz::removeFile(paths[i]);
    }

    roundTrip(TLS_Known_Cert_Table(), files.TLS_Known_Cert);
    roundTrip(IEC61850_Variables_Table(), files.IEC61850_Variables);
    roundTrip(ModbusM_SetAccess_Table(), files.ModbusM_SetAccess);

    TImage_Compiler compiler;
    try {
        compiler.Compile_Bin(files);
        FUZZ_CHECK(compiler.Compiled());
        FUZZ_CHECK(!compiler.Image1().isEmpty() && !compiler.Image2().isEmpty());
    } catch (const ECompileError &) {
        FUZZ_CHECK(!compiler.Compiled());
        FUZZ_CHECK(compiler.Image1().isEmpty() && compiler.Image2().isEmpty());
    }
    for (const QString &p : paths)
        fuzz::removeFile(p);
    return 0;
}
