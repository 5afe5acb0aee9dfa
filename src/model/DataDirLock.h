#pragma once

#include <QLockFile>
#include <QString>

// One program at a time on a data folder: two windows would each save their own copy of a
// section over the other's posts. The window holds the lock while it runs, the writing
// commands of the command-line companion while they work. A lock left behind by a process
// that no longer runs is taken over.
class DataDirLock {
public:
    explicit DataDirLock(const QString& dataDir);

    // False while another running program holds the folder, or when the lock file cannot be
    // written at all (heldByAnother() tells which).
    bool tryLock();
    bool heldByAnother() const { return m_lock.error() == QLockFile::LockFailedError; }
    void unlock();
    QString fileName() const { return m_fileName; }

private:
    QString m_fileName;
    QLockFile m_lock;
};

// The lock file's name inside the data folder.
inline constexpr char16_t kDataDirLockName[] = u".form2audit.lock";
