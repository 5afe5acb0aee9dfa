#include "office/OfficeProcess.h"

#include <QProcess>
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
