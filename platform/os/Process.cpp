#include "platform/os/Process.h"

#include <QProcess>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace plat {

namespace {

// Programs whose Process was dropped while they still ran. They stay our children, so we reap
// them whenever we touch processes again; otherwise each would linger as a zombie once it ends.
std::mutex g_orphansMutex;
std::vector<pid_t> g_orphans;

void reapOrphans()
{
    std::lock_guard lock(g_orphansMutex);
    std::erase_if(g_orphans, [](pid_t pid) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        return r == pid || (r < 0 && errno == ECHILD);
    });
}

} // namespace

Process::~Process()
{
    if (m_pid > 0 && !m_ended && isRunning()) {
        std::lock_guard lock(g_orphansMutex);
        g_orphans.push_back(m_pid);
    }
}

bool Process::start(const QString &program, const QStringList &arguments, ShowMode mode)
{
    reapOrphans();
    if (m_pid > 0 || program.isEmpty())
        return false;

    std::vector<QByteArray> store;
    store.reserve(arguments.size() + 1);
    store.push_back(program.toLocal8Bit());
    for (const QString &a : arguments)
        store.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &s : store)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    // The child must not inherit a blocked signal mask or ignored signals of this process.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigfillset(&defaults);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    // glibc reports a failed exec (missing file, no permission) as the result of the spawn.
    const int rc = ::posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0)
        return false;

    m_pid = pid;
    m_ended = false;
    m_status = 0;
    m_mode = mode;
    return true;
}

bool Process::isRunning()
{
    if (m_pid <= 0 || m_ended)
        return false;
    int status = 0;
    const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == 0)
        return true;
    if (r == m_pid)
        m_status = status;
    // r < 0: someone else reaped it; either way it is gone.
    m_ended = true;
    return false;
}

QStringList Process::splitParameters(const QString &parameters)
{
    return QProcess::splitCommand(parameters);
}

} // namespace plat
