#include "model/RazdelFiles.h"

#include "model/Datapacket.h"
#include "model/GridLayoutFile.h"

#include <QFile>

using namespace Qt::StringLiterals;

QString MoveFileAside(const QString& path, const QString& suffix, QString* error)
{
    QString target = path + suffix;
    for (int n = 1; QFile::exists(target); ++n)
        target = path + suffix + u'.' + QString::number(n);
    QFile file(path);
    if (file.rename(target))
        return target;
    if (error)
        *error = file.errorString();
    if (QFile::copy(path, target))
        return target;
    return {};
}

QString RazdelFileName(const AppPaths& paths, const QString& code, const QString& year)
{
    return paths.DataDir() + year + u"_"_s + code + u".XML"_s;
}

LoadRazdelResult LoadRazdel(DataSet* table, const AppPaths& paths, const QString& code,
                            const QString& year)
{
    LoadRazdelResult result;
    if (!table)
        return result;
    if (!table->isOpen())
        table->open();
    const QString path = RazdelFileName(paths, code, year);
    if (!QFile::exists(path))
        return result;
    try {
        loadTableFromFile(*table, path);
        result.loaded = true;
        return result;
    } catch (const DatapacketError& e) {
        result.damaged = true;
        QString moveError;
        result.movedTo = MoveFileAside(path, u".damaged"_s, &moveError);
        result.message = u"Файл «%1» не может быть прочитан: %2."_s.arg(path, e.reason());
        if (!result.movedTo.isEmpty())
            result.message += u"\n\rФайл сохранён без изменений под именем «%1»; "
                              u"раздел показан без его данных."_s.arg(result.movedTo);
        else
            result.message += u"\n\rПереименовать файл не удалось (%1); "
                              u"следующее сохранение раздела заменит его."_s.arg(moveError);
    }
    return result;
}

bool SaveRazdel(DataSet* table, const AppPaths& paths, const QString& code, const QString& year)
{
    if (!table)
        return false;
    saveTableToFile(*table, RazdelFileName(paths, code, year));
    // Only a change on disk leaves the change log; after a failed save the next post
    // tries again.
    table->mergeChangeLog();
    return true;
}

QString SaveRazdelMessage(const QString& path)
{
    return u"Данные текущего раздела сохранены в файле \n\r"_s + path;
}

LoadRazdelResult LoadRazdelAndLayout(DataSet* table, GridLayoutHost* grid, const AppPaths& paths,
                                     const QString& code, const QString& year)
{
    LoadRazdelResult result = LoadRazdel(table, paths, code, year);
    RestoreGridLayout(grid, paths, code, year);
    return result;
}

bool SaveRazdelAndLayout(DataSet* table, GridLayoutHost* grid, const AppPaths& paths,
                         const QString& code, const QString& year)
{
    const bool saved = SaveRazdel(table, paths, code, year);
    SaveGridLayout(grid, paths, code, year);
    return saved;
}
