#pragma once

#include <QString>
#include <QStringList>

// A save interrupted by a crash or a kill leaves the atomic save's temporary file beside
// the section file ("2009_02.XML.xUXsKC"). Removes such files from the data folder and
// nothing else; answers the names removed.
QStringList RemoveInterruptedSaves(const QString& dataDir);
