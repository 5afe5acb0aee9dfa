#pragma once

#include <QString>

class DataDirLock;
class MessageBoxes;

// The window's claim on its data folder at start. While another running program holds the
// folder the user is told so and the answer is false; nothing is touched. Once the folder
// is held, what an interrupted save left in it is removed.
bool ClaimDataFolder(DataDirLock& lock, const QString& dataDir, MessageBoxes& messages);

// The texts of the refusals: another program holds the folder; the folder takes no files.
QString DataFolderBusyText(const QString& dataDir);
QString DataFolderUnwritableText(const QString& dataDir);
