#include "sides/building/UBACnet_EDE_File.h"

void Build_EDE_File(const QString &FileName)
{
    // The EDE content arrives with the BACnet server table; until then there is nothing to write.
    Q_UNUSED(FileName);
}
