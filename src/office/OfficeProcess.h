#pragma once

#include <QtGlobal>

class QProcess;

// The office runs as a script that starts further processes; all of them are put in one
// process group so that they can be ended together.

// Makes the process, once started, the leader of its own process group.
void StartInOwnProcessGroup(QProcess& process);
// Kills whatever is left of the group led by `group`; harmless when nothing is.
void KillProcessGroup(qint64 group);
