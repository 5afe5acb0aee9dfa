#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}
} // namespace

AppPaths::AppPaths(const QString& executablePath)
{
    const QFileInfo info(executablePath);
    m_exeDir = withSlash(info.absolutePath());
    m_exeName = info.fileName();
}

AppPaths AppPaths::forApplication()
{
    return AppPaths(QCoreApplication::applicationFilePath());
}

QString AppPaths::ExeDir() const
{
    return m_exeDir;
}

QString AppPaths::IniFileName() const
{
    return m_exeDir + StripExtension(m_exeName) + u".ini"_s;
}

QString AppPaths::ensureDir(const QString& dir) const
{
    // A failure leaves the path without a folder; the next file operation reports it.
    QDir().mkpath(dir);
    return dir;
}

QString AppPaths::TempDir() const
{
    return ensureDir(m_exeDir + u"Temp/"_s);
}

QString AppPaths::DataDir() const
{
    return ensureDir(m_dataOverride.isEmpty() ? m_exeDir + u"Data/"_s : m_dataOverride);
}

QString AppPaths::ExportDir() const
{
    return ensureDir(m_exeDir + u"Export/"_s);
}

QString AppPaths::ShablonFileName() const
{
    return m_exeDir + u"Shablon.xls"_s;
}

QString AppPaths::ShablonChernovikFileName() const
{
    return m_exeDir + u"Shablon_Chernovik.xls"_s;
}

QString AppPaths::GridLayoutFileName(const QString& code, const QString& year) const
{
    return m_exeDir + u"ParamsOfGrid_"_s + year + u"_"_s + code + u".ini"_s;
}

void AppPaths::setDataDirOverride(const QString& dir)
{
    m_dataOverride = dir.isEmpty() ? QString() : withSlash(QDir(dir).absolutePath());
}

QString StripExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}
