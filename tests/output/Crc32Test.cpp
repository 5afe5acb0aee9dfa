#include "output/Crc32.h"
#include "TestSupport.h"
#include "output/ArchiveError.h"
#include "output/ZipPack.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace {

// Bit by bit, straight from the definition: reflected polynomial EDB88320.
quint32 referenceCrc(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : bytes) {
        crc ^= quint8(ch);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

} // namespace

TEST(Crc32Text, KnownValues)
{
    struct Case {
        QByteArray bytes;
        const char16_t* expected;
    } cases[] = {
        {"", u"00000000"},
        {"123456789", u"CBF43926"},
        {"The quick brown fox jumps over the lazy dog", u"414FA339"},
        {"a21", u"0AFA2C4E"}, // below 10000000: the leading zero stays
        {"a70", u"008AE89D"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const QString path = writeFile(dir, u"f.txt"_s, c.bytes);
        EXPECT_EQ(FileCRCText(path), QString::fromUtf16(c.expected));
        EXPECT_EQ(CRCText(FileCRC32(path)), QString::fromUtf16(c.expected));
    }
    EXPECT_EQ(CRCText(0), u"00000000"_s);
    EXPECT_EQ(CRCText(0xABCDEF01u), u"ABCDEF01"_s);
}

TEST(Crc32Update, RawRegisterChunkedEqualsWhole)
{
    const QByteArray digits = "123456789";
    // The register is neither pre- nor post-inverted.
    EXPECT_EQ(UpdateCRC32(0xFFFFFFFFu, digits.constData(), digits.size()), ~0xCBF43926u);
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : digits)
        crc = UpdateCRC32(crc, &ch, 1);
    EXPECT_EQ(~crc, 0xCBF43926u);
    for (quint32 v : {0u, 0x12345678u, 0xFFFFFFFFu})
        EXPECT_EQ(UpdateCRC32(v, digits.constData(), 0), v);
    EXPECT_EQ(UpdateCRC32(0x12345678u, nullptr, 0), 0x12345678u);
}

TEST(Crc32File, BlockBoundaries)
{
    QTemporaryDir dir;
    QRandomGenerator gen(42);
    for (qsizetype size : {1, 65535, 65536, 65537, 2 * 65536 + 17}) {
        SCOPED_TRACE(size);
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& ch : bytes)
            ch = char(gen.bounded(256));
        const QString path = writeFile(dir, u"block.bin"_s, bytes);
        EXPECT_EQ(FileCRC32(path), referenceCrc(bytes));
    }
}

TEST(Crc32File, UnreadableFileNamesIt)
{
    QTemporaryDir dir;
    for (const QString& path : {dir.filePath(u"missing.txt"_s), dir.path()}) {
        try {
            FileCRC32(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const ArchiveError& e) {
            EXPECT_TRUE(e.message().startsWith(u"Не удалось прочитать файл"_s))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path)))
                << e.message().toStdString();
        }
    }
}

TEST(Crc32File, MatchesTheCrcRecordedInTheArchive)
{
    QTemporaryDir dir;
    QByteArray text;
    for (int i = 0; i < 500; ++i)
        text += "РД=" + QByteArray::number(i) + "|\r\n";
    const QString path = writeFile(dir, u"1333333339955--080.txt"_s, text);
    const QString archive = ZipRepFile(path, RepZipPassword);

    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    ASSERT_NE(za, nullptr);
    zip_stat_t st;
    ASSERT_EQ(zip_stat_index(za, 0, 0, &st), 0);
    zip_discard(za);
    ASSERT_TRUE(st.valid & ZIP_STAT_CRC);
    EXPECT_EQ(CRCText(st.crc), FileCRCText(path));
}
