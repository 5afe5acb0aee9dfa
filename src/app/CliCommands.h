#pragma once

#include <QStringList>

int runCli(const QStringList& arguments);
