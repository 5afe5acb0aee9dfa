#include "MailSubmission.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(MailSubmission, LetterForLegalEntityAndIndividual)
{
    const QString legal =
        ComposeCoveringLetter(u"/x/Export/1027700000000--090.zip"_s, u"ООО \"Аудит\""_s, true,
                              u"Иванов И.И."_s, u"2009"_s);
    EXPECT_TRUE(legal.startsWith(
        u"Добавьте к письму файл /x/Export/1027700000000--090.zip и отправьте письмо."
        u"  Перед отправкой письма удалите эту строку.%0d%0d%0d%0d%0dВ Департамент"_s));
    EXPECT_TRUE(legal.contains(u"%0d%0dООО %22Аудит%22%0dнаправляет Вам"_s));
    EXPECT_TRUE(legal.contains(
        u"наблюдения № 2-аудит %22Отчет об аудиторской деятельности%22 за 2009 год в "
        u"электронном виде.%0d%0d%0d%0d"_s));
    EXPECT_TRUE(legal.endsWith(
        u"%0d%0d%0d%0dРуководитель аудиторской организации%20%20%20%20%20%20Иванов И.И."_s));
    EXPECT_FALSE(legal.contains(u'"'));

    const QString individual =
        ComposeCoveringLetter(u"a.zip"_s, u"Петров П.П."_s, false, u"Петров П.П."_s, u"2009"_s);
    EXPECT_TRUE(individual.endsWith(u"в электронном виде.%0d%0d%0d%0dПетров П.П."_s));

    EXPECT_EQ(MailToLink(u"a@b.ru"_s, kMailSubject, u"x y"_s),
              u"mailto:a@b.ru?subject=Отчёт по форме № 2-аудит&body=x y"_s);
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
