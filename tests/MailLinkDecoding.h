#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A "mailto:" link read the way a mail program reads it: a fragment ("#…") is dropped,
// the query is split on "&", each field on its first "=", and names and values are
// percent-decoded as UTF-8.
struct DecodedMailTo {
    QString address;
    QList<QPair<QString, QString>> fields;

    QStringList values(const QString& name) const
    {
        QStringList out;
        for (const auto& f : fields)
            if (f.first.compare(name, Qt::CaseInsensitive) == 0)
                out << f.second;
        return out;
    }
};

inline DecodedMailTo decodeMailTo(const QByteArray& link)
{
    auto decode = [](const QByteArray& part) {
        return QString::fromUtf8(QByteArray::fromPercentEncoding(part));
    };
    DecodedMailTo out;
    QByteArray rest = link.startsWith("mailto:") ? link.mid(7) : link;
    if (const qsizetype hash = rest.indexOf('#'); hash >= 0)
        rest.truncate(hash);
    const qsizetype q = rest.indexOf('?');
    out.address = decode(rest.left(q < 0 ? rest.size() : q));
    if (q < 0)
        return out;
    for (const QByteArray& item : rest.mid(q + 1).split('&')) {
        const qsizetype eq = item.indexOf('=');
        out.fields.append(
            {decode(eq < 0 ? item : item.left(eq)), eq < 0 ? QString() : decode(item.mid(eq + 1))});
    }
    return out;
}

// The whole covering letter of a 2009 report as the user should read it in the mail program.
inline QString expectedLetter(const QString& archive, const QString& fullName,
                              const QString& signature)
{
    using namespace Qt::StringLiterals;
    return u"Добавьте к письму файл "_s + archive +
           u" и отправьте письмо.  Перед отправкой письма удалите эту строку.\r\n\r\n\r\n\r\n\r\n"
           u"В Департамент регулирования государственного финансового контроля, аудиторской "
           u"деятельности, бухгалтерского учета и отчетности МФ РФ.\r\n\r\n"_s +
           fullName +
           u"\r\nнаправляет Вам отчёт по годовой форме федерального государственного "
           u"статистического наблюдения № 2-аудит \"Отчет об аудиторской деятельности\" за 2009 "
           u"год в электронном виде.\r\n\r\n\r\n\r\n"_s +
           signature;
}
