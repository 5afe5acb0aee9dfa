#include "CliCommands.h"

int runCli(const QStringList&) { return 0; }
