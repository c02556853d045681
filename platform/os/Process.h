// Starting an external program and polling whether it still runs.
//
// Unlike QProcess, this never ends the program it started: dropping a Process leaves the
// program running (an update program must be able to outlive the caller's wait).
#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace plat {

// How the program's window should appear. Kept for the callers' sake; programs started here get
// no window-system hint, so both modes start the program the same way.
enum class ShowMode { Normal, Hidden };

class Process
{
public:
    Process() = default;
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    // Starts program with the given arguments, inheriting the environment, the working folder and
    // the standard channels. A program without a slash is looked up in PATH. Returns false (and
    // keeps no handle) when it cannot be started: missing file, not executable, already started.
    bool start(const QString &program, const QStringList &arguments, ShowMode mode);

    // True while the started program has not ended. Polls without blocking.
    bool isRunning();

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    ShowMode showMode() const { return m_mode; }
    // Exit status as waitpid() reported it; valid once isRunning() returned false.
    int exitStatus() const { return m_status; }

    // Splits a parameter text into arguments like a command line: blanks separate, double quotes
    // group blanks into one argument and are removed, three double quotes in a row stand for one
    // literal double quote; backslashes have no special meaning (folder names may end in one).
    static QStringList splitParameters(const QString &parameters);

private:
    pid_t m_pid = 0;
    bool m_ended = false;
    int m_status = 0;
    ShowMode m_mode = ShowMode::Normal;
};

} // namespace plat
