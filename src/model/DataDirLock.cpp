#include "model/DataDirLock.h"

#include <QDir>

DataDirLock::DataDirLock(const QString& dataDir)
    : m_fileName(QDir(dataDir).filePath(QString::fromUtf16(kDataDirLockName))), m_lock(m_fileName)
{
    // A window runs for hours: only a dead holder makes the lock stale, never its age.
    m_lock.setStaleLockTime(0);
}

bool DataDirLock::tryLock()
{
    return m_lock.tryLock(0);
}

void DataDirLock::unlock()
{
    m_lock.unlock();
}
