#include "office/OfficeProcess.h"

#include <QProcess>
#include <cstdlib>
#include <mutex>
#include <set>
#include <signal.h>
#include <unistd.h>

void StartInOwnProcessGroup(QProcess& process)
{
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void KillProcessGroup(qint64 group)
{
    if (group > 0)
        ::kill(pid_t(-group), SIGKILL);
}

namespace {

std::mutex groupsMutex;
// Never destroyed: the exit handler may run after the static destructors.
std::set<qint64>* const runningGroups = new std::set<qint64>;

void killRunningGroups()
{
    std::lock_guard lock(groupsMutex);
    for (qint64 group : *runningGroups)
        KillProcessGroup(group);
    runningGroups->clear();
}

} // namespace

void KillGroupAtExit(qint64 group)
{
    static const bool registered = std::atexit(killRunningGroups) == 0;
    Q_UNUSED(registered);
    std::lock_guard lock(groupsMutex);
    runningGroups->insert(group);
}

void ForgetGroupAtExit(qint64 group)
{
    std::lock_guard lock(groupsMutex);
    runningGroups->erase(group);
}
