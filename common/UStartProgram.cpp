#include "common/UStartProgram.h"

#include "platform/os/Process.h"

#include <QElapsedTimer>
#include <chrono>
#include <thread>

void Start_Program(const QString &NomeSW, const QString &Parameter, bool tipo, int32_t limitMs)
{
    plat::Process process;
    if (!process.start(NomeSW, plat::Process::splitParameters(Parameter),
                       tipo ? plat::ShowMode::Hidden : plat::ShowMode::Normal))
        return;

    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const bool running = process.isRunning();
        if (running && clock.elapsed() > limitMs)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!running)
            break;
    }
    // Dropping the process leaves a program that outlived the limit running.
}
