#include "StartupGuard.h"

#include "DataDirLock.h"
#include "InterruptedSaves.h"
#include "MessageBoxes.h"

#include <QDir>

using namespace Qt::StringLiterals;

QString DataFolderBusyText(const QString& dataDir)
{
    return u"Программа уже запущена с папкой данных «%1».\n"
           u"Второе окно с теми же данными не открывается: перейдите в уже открытое окно "
           u"программы."_s.arg(QDir::toNativeSeparators(QDir::cleanPath(dataDir)));
}

bool ClaimDataFolder(DataDirLock& lock, const QString& dataDir, MessageBoxes& messages)
{
    if (!lock.tryLock()) {
        messages.ErrorBox(DataFolderBusyText(dataDir));
        return false;
    }
    RemoveInterruptedSaves(dataDir);
    return true;
}
