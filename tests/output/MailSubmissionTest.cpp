#include "output/MailSubmission.h"
#include "MailLinkDecoding.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(MailSubmission, LetterForLegalEntityAndIndividual)
{
    EXPECT_EQ(ComposeCoveringLetter(u"/x/Export/1027700000000--090.zip"_s, u"ООО \"Аудит\""_s, true,
                                    u"Иванов И.И."_s, u"2009"_s),
              expectedLetter(u"/x/Export/1027700000000--090.zip"_s, u"ООО \"Аудит\""_s,
                             u"Руководитель аудиторской организации      Иванов И.И."_s));
    EXPECT_EQ(
        ComposeCoveringLetter(u"a.zip"_s, u"Петров П.П."_s, false, u"Петров П.П."_s, u"2009"_s),
        expectedLetter(u"a.zip"_s, u"Петров П.П."_s, u"Петров П.П."_s));
}

// Whatever the names hold, the mail program gets exactly the subject and the letter and
// no other field.
TEST(MailSubmission, LinkCarriesEveryValueLiterally)
{
    struct Case {
        const char* what;
        QString archive;
        QString fullName;
        QString rukovod;
    };
    const Case cases[] = {
        {"percent escapes", u"/home/u/100%/Export/1027700000000--090.zip"_s,
         u"ООО \"Аудит 100%0d\""_s, u"Иванов %20И.И."_s},
        {"field separators", u"/tmp/a&b=c/x.zip"_s, u"ООО \"Рога & Копыта\"&cc=evil@x.ru"_s,
         u"Сидоров&bcc=spy@x.ru"_s},
        {"fragment and query", u"/tmp/#1?/x.zip"_s, u"ЗАО «Ёлка» #2?a=b"_s, u"Петров+П.П."_s},
        {"plain", u"/x/Export/1027700000000--090.zip"_s, u"ООО Аудит"_s, u"Иванов И.И."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString letter =
            ComposeCoveringLetter(c.archive, c.fullName, true, c.rukovod, u"2009"_s);
        const QByteArray link = MailToLink(u"2audit@minfin.ru"_s, kMailSubject, letter);
        EXPECT_TRUE(link.startsWith("mailto:2audit@minfin.ru?subject=")) << link.constData();
        for (char ch : link)
            EXPECT_TRUE(ch > ' ' && ch < 127) << link.constData();

        const DecodedMailTo mail = decodeMailTo(link);
        EXPECT_EQ(mail.address, u"2audit@minfin.ru"_s);
        ASSERT_EQ(mail.fields.size(), 2) << link.constData();
        EXPECT_EQ(mail.fields[0].first, u"subject"_s);
        EXPECT_EQ(mail.fields[0].second, u"Отчёт по форме № 2-аудит"_s);
        EXPECT_EQ(mail.fields[1].first, u"body"_s);
        EXPECT_EQ(mail.fields[1].second,
                  expectedLetter(c.archive, c.fullName,
                                 u"Руководитель аудиторской организации      "_s + c.rukovod));
    }
    // An empty body keeps its field.
    EXPECT_TRUE(MailToLink(u"a@b.ru"_s, kMailSubject, QString()).endsWith("&body="));
}

TEST(MailSubmission, ClearDirDeletesFilesKeepsFolders)
{
    QTemporaryDir dir;
    for (const char* name : {"old--080.zip", ".hidden", "note.txt"}) {
        QFile f(dir.path() + u'/' + QString::fromLatin1(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir(u"sub"_s);
    QFile inSub(dir.path() + u"/sub/keep.txt"_s);
    ASSERT_TRUE(inSub.open(QIODevice::WriteOnly));
    inSub.close();
    EXPECT_EQ(ListDirFiles(dir.path(), u"*.*"_s).size(), 3);
    ClearDir(dir.path() + u"/"_s);
    EXPECT_TRUE(ListDirFiles(dir.path(), u"*.*"_s).isEmpty());
    EXPECT_TRUE(QFile::exists(dir.path() + u"/sub/keep.txt"_s));
}
