#include "TestArchives.h"

#include <QFile>
#include <gtest/gtest.h>
#include <zip.h>

void buildArchive(const QString& path, const QList<Entry>& entries, const char* password)
{
    int code = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(za, nullptr);
    for (const Entry& e : entries) {
        zip_source_t* src =
            zip_source_buffer(za, e.bytes.constData(), zip_uint64_t(e.bytes.size()), 0);
        ASSERT_NE(src, nullptr);
        const zip_int64_t index = zip_file_add(za, e.name.constData(), src, ZIP_FL_ENC_RAW);
        ASSERT_GE(index, 0) << e.name.constData() << ": " << zip_strerror(za);
        if (password) {
            ASSERT_EQ(
                zip_file_set_encryption(za, zip_uint64_t(index), ZIP_EM_TRAD_PKWARE, password), 0);
        }
    }
    ASSERT_EQ(zip_close(za), 0) << zip_strerror(za);
}
