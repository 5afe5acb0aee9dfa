#include "output/MailSubmission.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

QString ComposeCoveringLetter(const QString& archivePath, const QString& fullName, bool isUrLico,
                              const QString& rukovod, const QString& year)
{
    const QString br = u"\r\n"_s;
    QString s = u"Добавьте к письму файл "_s + archivePath + u" и отправьте письмо."_s +
                u"  Перед отправкой письма удалите эту строку."_s + br.repeated(5);
    s += u"В Департамент регулирования государственного финансового контроля, аудиторской "
         u"деятельности, "
         u"бухгалтерского учета и отчетности МФ РФ."_s +
         br.repeated(2);
    s += fullName + br;
    s +=
        u"направляет Вам отчёт по годовой форме федерального государственного статистического наблюдения "_s +
        u"№ 2-аудит "_s + u"\"Отчет об аудиторской деятельности\" "_s + u"за "_s + year +
        u" год"_s + u" в электронном виде."_s + br.repeated(4);
    s += isUrLico ? u"Руководитель аудиторской организации      "_s + rukovod : rukovod;
    return s;
}

QByteArray MailToLink(const QString& address, const QString& subject, const QString& body)
{
    // "@" may stand unescaped in the address; everything outside the unreserved set of
    // URIs is escaped, so no value can end itself or start another field.
    return "mailto:" + address.toUtf8().toPercentEncoding("@") +
           "?subject=" + subject.toUtf8().toPercentEncoding() +
           "&body=" + body.toUtf8().toPercentEncoding();
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
