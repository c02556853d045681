// The three table files and the image compiler over them and ParGen.xml. The input carries up to
// four files separated by lines "#####": ParGen.xml, TLS_Known_Cert.xml, IEC61850_Variables.xml,
// ModbusM_SetAccess.xml (a missing part: no file). A table loads (or reports why not), writes and
// loads back to the same rows, each written row keeping the attributes of the file's row with
// their values and order, and writes the same file again; the compiler builds both images or
// raises ECompileError.
#include "FuzzSupport.h"
#include "XmlChecks.h"

#include "gateway/UCompile_Bin.h"
#include "gateway/table/UTableFiles.h"
#include "platform/text/StrConv.h"
#include "platform/xml/XmlDocument.h"

namespace {

// The written row holds every attribute of the file's row with its value (those no column holds
// too) in the same order; columns the file's row lacked may stand between them.
void checkAttributesKept(const plat::XmlNode &original, const plat::XmlNode &written)
{
    const std::vector<plat::XmlAttribute> before = original.Attributes();
    const std::vector<plat::XmlAttribute> after = written.Attributes();
    size_t at = 0;
    for (const plat::XmlAttribute &a : before) {
        while (at < after.size() && after[at].name != a.name)
            ++at;
        FUZZ_CHECK(at < after.size());
        FUZZ_CHECK(after[at].value == a.value);
        ++at;
    }
}

void roundTrip(const TTableFileDesc &desc, const QString &path)
{
    const TTableLoadResult loaded = Load_Table_File(desc, path);
    FUZZ_CHECK(loaded.Rows.size() == desc.Groups.size());
    for (int g = 0; g < desc.Groups.size(); ++g) {
        FUZZ_CHECK(loaded.Rows[g].size() <= desc.Groups[g].Capacity);
        // The cells, and a layout entry where the row needs one.
        for (const TTableRow &row : loaded.Rows[g])
            FUZZ_CHECK(row.size() <= desc.Groups[g].Columns.size() + 1);
    }
    (void)loaded.Message();
    if (!loaded.File_Found || !loaded.Ok())
        return;
    const QString copy = fuzz::scratchFile(QStringLiteral("copy.xml"));
    Write_Table_File(desc, loaded.Rows, copy);
    const TTableLoadResult again = Load_Table_File(desc, copy);
    FUZZ_CHECK(again.Ok());

    plat::XmlDocument originalDoc;
    plat::XmlDocument writtenDoc;
    originalDoc.LoadFile(path);
    writtenDoc.LoadFile(copy);
    {
        QFile in(path);
        FUZZ_CHECK(in.open(QIODevice::ReadOnly));
        fuzz::checkWellFormedTree(originalDoc, in.readAll());
    }
    // A group the file holds twice would be read only once.
    for (const TTableGroup &group : desc.Groups)
        if (!group.Name.isEmpty())
            FUZZ_CHECK(originalDoc.DocumentElement().ChildElements(group.Name).size() == 1);
    // The dialog shows every row read; the file keeps them up to the first blank key, each with
    // the attributes it had.
    for (int g = 0; g < desc.Groups.size(); ++g) {
        const TTableGroup &group = desc.Groups[g];
        const int columns = int(group.Columns.size());
        const TTableRows &rows = loaded.Rows[g];
        int kept = 0;
        while (kept < rows.size() && !plat::Trim(rows[kept].value(group.KeyColumn)).isEmpty())
            ++kept;
        FUZZ_CHECK(again.Rows[g].size() == kept);
        const std::vector<plat::XmlNode> originalRows =
            Table_Group_Rows(originalDoc, desc, g, path);
        const std::vector<plat::XmlNode> writtenRows = Table_Group_Rows(writtenDoc, desc, g, copy);
        FUZZ_CHECK(int(writtenRows.size()) == kept);
        for (int r = 0; r < kept; ++r) {
            for (int k = 0; k < columns; ++k)
                FUZZ_CHECK(again.Rows[g][r].value(k) == rows[r].value(k));
            checkAttributesKept(originalRows[size_t(r)], writtenRows[size_t(r)]);
        }
    }
    // What was read back writes the same file again.
    const QString second = fuzz::scratchFile(QStringLiteral("second.xml"));
    Write_Table_File(desc, again.Rows, second);
    QFile a(copy), b(second);
    FUZZ_CHECK(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    FUZZ_CHECK(a.readAll() == b.readAll());
    fuzz::removeFile(copy);
    fuzz::removeFile(second);
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
