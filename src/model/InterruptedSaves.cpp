#include "model/InterruptedSaves.h"

#include <QDir>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

QStringList RemoveInterruptedSaves(const QString& dataDir)
{
    // The temporary name is the target's name, a dot and six random letters or digits.
    static const QRegularExpression leftover(u"^[^.]+\\.xml\\.[A-Za-z0-9]{6}$"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    QDir dir(dataDir);
    QStringList removed;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : files)
        if (leftover.match(name).hasMatch() && dir.remove(name))
            removed << name;
    return removed;
}
