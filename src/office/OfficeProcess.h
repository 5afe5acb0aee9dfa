#pragma once

#include <QtGlobal>

class QProcess;

// The office runs as a script that starts further processes; all of them are put in one
// process group so that they can be ended together.

// Makes the process, once started, the leader of its own process group.
void StartInOwnProcessGroup(QProcess& process);
// Kills whatever is left of the group led by `group`; harmless when nothing is.
void KillProcessGroup(qint64 group);
// Kills the group if the program ends through exit() with the office still running (the
// window system gone, a fatal error): an office must not outlive its program. Forgotten again
// once the group is ended the usual way.
void KillGroupAtExit(qint64 group);
void ForgetGroupAtExit(qint64 group);
