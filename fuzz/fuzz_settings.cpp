// The settings file Montavor.xml: any bytes read into values (defaults where they fail), and
// the values saved and read again come back unchanged.
#include "FuzzSupport.h"

#include "common/UComon.h"

#include <tuple>

namespace {

auto settingValues()
{
    return std::make_tuple(Conf_Name, Last_IP_Address, Language_Name, Enable_Internet,
                           Enable_Update, Enable_Jump_Fields, Enable_DblClick_AutoSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Base_Path = fuzz::scratchDir();
    const QString path = Setting_File();
    FUZZ_CHECK(path.startsWith(fuzz::scratchDir()));
    fuzz::writeFile(path, fuzz::bytesOf(data, size));
    Read_Setting();
    const auto first = settingValues();
    Save_Setting();
    Read_Setting();
    FUZZ_CHECK(settingValues() == first);
    fuzz::removeFile(path);
    return 0;
}
