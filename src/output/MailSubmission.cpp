#include "MailSubmission.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

QString ComposeCoveringLetter(const QString& archivePath, const QString& fullName, bool isUrLico,
                              const QString& rukovod, const QString& year)
{
    QString s = u"Добавьте к письму файл "_s + archivePath + u" и отправьте письмо."_s +
                u"  Перед отправкой письма удалите эту строку."_s + u"%0d%0d%0d%0d%0d"_s;
    s += u"В Департамент регулирования государственного финансового контроля, аудиторской "
         u"деятельности, "
         u"бухгалтерского учета и отчетности МФ РФ."_s +
         u"%0d%0d"_s;
    s += fullName + u"%0d"_s;
    s +=
        u"направляет Вам отчёт по годовой форме федерального государственного статистического наблюдения "_s +
        u"№ 2-аудит "_s + u"\"Отчет об аудиторской деятельности\" "_s + u"за "_s + year +
        u" год"_s + u" в электронном виде."_s + u"%0d%0d%0d%0d"_s;
    s += isUrLico ? u"Руководитель аудиторской организации%20%20%20%20%20%20"_s + rukovod : rukovod;
    s.replace(u'"', u"%22"_s);
    return s;
}

QString MailToLink(const QString& address, const QString& subject, const QString& body)
{
    return u"mailto:"_s + address + u"?subject="_s + subject + u"&body="_s + body;
}

QStringList ListDirFiles(const QString& folder, const QString& mask)
{
    QDir dir(folder);
    return dir.entryList({mask == u"*.*"_s ? u"*"_s : mask},
                         QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
}

void ClearDir(const QString& folder)
{
    QString path = folder;
    if (path.endsWith(u'/') || path.endsWith(u'\\'))
        path.chop(1);
    for (const QString& name : ListDirFiles(path, u"*.*"_s))
        QFile::remove(path + u'/' + name);
}
