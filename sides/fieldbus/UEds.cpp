#include "sides/fieldbus/UEds.h"

void Write_EDS_File(const QString &FileName)
{
    // The EDS content arrives with the CANopen tables; until then there is nothing to write.
    Q_UNUSED(FileName);
}
