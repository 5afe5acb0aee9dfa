#include "workspace/StartupGuard.h"

#include "model/DataDirLock.h"
#include "model/InterruptedSaves.h"
#include "model/MessageBoxes.h"

#include <QDir>

using namespace Qt::StringLiterals;

QString DataFolderBusyText(const QString& dataDir)
{
    return u"Программа уже запущена с папкой данных «%1».\n"
           u"Второе окно с теми же данными не открывается: перейдите в уже открытое окно "
           u"программы."_s.arg(QDir::toNativeSeparators(QDir::cleanPath(dataDir)));
}

QString DataFolderUnwritableText(const QString& dataDir)
{
    return u"Нет права записи в папку данных «%1»: программа не может сохранять отчёт."_s.arg(
        QDir::toNativeSeparators(QDir::cleanPath(dataDir)));
}

bool ClaimDataFolder(DataDirLock& lock, const QString& dataDir, MessageBoxes& messages)
{
    if (!lock.tryLock()) {
        messages.ErrorBox(lock.heldByAnother() ? DataFolderBusyText(dataDir)
                                               : DataFolderUnwritableText(dataDir));
        return false;
    }
    RemoveInterruptedSaves(dataDir);
    return true;
}
