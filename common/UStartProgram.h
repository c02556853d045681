// Runs an external program (the update programs) and waits for it with a time-out.
#pragma once

#include <QString>
#include <cstdint>

// Wait limit of Start_Program: it gives up once more than this many milliseconds have passed.
inline constexpr int32_t Start_Program_Limit_Ms = 149999;

// Starts NomeSW with Parameter and blocks the calling thread, without processing window events,
// until the program has ended or more than limitMs milliseconds have passed, polling every 10 ms.
// tipo true asks for a hidden window, false for a normal one.
// Parameter is split like a command line (see plat::Process::splitParameters): blanks separate,
// double quotes group, three double quotes make one literal quote.
// Nothing is reported: a program that cannot be started returns at once, and one that outlives
// the limit is left running.
void Start_Program(const QString &NomeSW,
                   const QString &Parameter,
                   bool tipo,
                   int32_t limitMs = Start_Program_Limit_Ms);
