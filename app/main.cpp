// Program entry: the application, its windows (each once for the run) and the message loop.
// No command line is read.
#include "platform/os/Files.h"
#include "platform/ui/ErrorReport.h"
#include "shell/UMain.h"
#include "shell/UWindows.h"

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    int result = 1;
    if (plat::Guarded([] { Create_Windows(plat::ProgramFolder()); }) && FMontavoreFirmWare) {
        FMontavoreFirmWare->show();
        result = app.exec();
    }
    Free_Windows();
    return result;
}
