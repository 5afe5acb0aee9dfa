#include "model/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString kAppFolder = u"form2audit"_s;

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString standardDir(QStandardPaths::StandardLocation location)
{
    return withSlash(QStandardPaths::writableLocation(location)) + kAppFolder + u'/';
}

} // namespace

AppPaths::AppPaths(const QString& executablePath, Layout layout) : m_layout(layout)
{
    const QFileInfo info(executablePath);
    m_exeDir = withSlash(info.absolutePath());
    m_exeName = info.fileName();
}

AppPaths AppPaths::forApplication()
{
    return AppPaths(QCoreApplication::applicationFilePath(),
                    layoutOf(QCoreApplication::applicationDirPath()));
}

AppPaths::Layout AppPaths::layoutOf(const QString& exeDir)
{
    return QFileInfo(QDir(exeDir).filePath(QString::fromUtf16(kPortableMarker))).isFile()
               ? Layout::Portable
               : Layout::Installed;
}

QString AppPaths::ExeDir() const
{
    return m_exeDir;
}

QString AppPaths::userDir() const
{
    return m_layout == Layout::Portable
               ? m_exeDir
               : ensureDir(standardDir(QStandardPaths::GenericDataLocation));
}

QString AppPaths::IniFileName() const
{
    if (m_layout == Layout::Installed)
        return standardDir(QStandardPaths::GenericConfigLocation) + kAppFolder + u".ini"_s;
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
    if (m_layout == Layout::Installed)
        return ensureDir(standardDir(QStandardPaths::GenericCacheLocation));
    return ensureDir(m_exeDir + u"Temp/"_s);
}

QString AppPaths::DataDir() const
{
    return ensureDir(m_dataOverride.isEmpty() ? userDir() + u"Data/"_s : m_dataOverride);
}

QString AppPaths::ExportDir() const
{
    return ensureDir(userDir() + u"Export/"_s);
}

QString AppPaths::shablon(const QString& name) const
{
    if (m_layout == Layout::Portable)
        return m_exeDir + name;
    // The user's own copy wins over the installed one.
    const QString own = standardDir(QStandardPaths::GenericDataLocation) + name;
    if (QFileInfo(own).isFile())
        return own;
    return QDir::cleanPath(m_exeDir + QStringLiteral(FORM2AUDIT_INSTALLED_DATA_DIR)) + u'/' + name;
}

QString AppPaths::ShablonFileName() const
{
    return shablon(u"Shablon.xls"_s);
}

QString AppPaths::ShablonChernovikFileName() const
{
    return shablon(u"Shablon_Chernovik.xls"_s);
}

QString AppPaths::GridLayoutFileName(const QString& code, const QString& year) const
{
    return userDir() + u"ParamsOfGrid_"_s + year + u"_"_s + code + u".ini"_s;
}

QString AppPaths::OfficeModuleFileName() const
{
    const QString name = u"form2audit_office.so"_s;
    if (m_layout == Layout::Portable)
        return m_exeDir + name;
    return QDir::cleanPath(m_exeDir + QStringLiteral(FORM2AUDIT_INSTALLED_MODULE_DIR)) + u'/' +
           name;
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
