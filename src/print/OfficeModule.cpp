#include "print/OfficeModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

using namespace Qt::StringLiterals;

namespace {

// Forwards every call to the office's own application, made by create().
class DeferredApp final : public SpreadsheetApp {
public:
    explicit DeferredApp(OfficeModule& module) : m_module(module) {}

    void create() override
    {
        if (!m_app)
            m_app = m_module.office().newApp();
        m_app->create();
    }
    void setVisible(bool visible) override { app().setVisible(visible); }
    void setDisplayAlerts(bool on) override { app().setDisplayAlerts(on); }
    void openWorkbook(const QString& path) override { app().openWorkbook(path); }
    void addWorkbook() override { app().addWorkbook(); }
    void unprotectSheet(const QString& password) override { app().unprotectSheet(password); }
    void protectSheet(const QString& password, SheetProtection what) override
    {
        app().protectSheet(password, what);
    }
    bool replaceInRange(const QString& range, const QString& what, const QString& with) override
    {
        return app().replaceInRange(range, what, with);
    }
    void replaceAllInRange(const QString& range,
                           const QList<QPair<QString, QString>>& replacements) override
    {
        app().replaceAllInRange(range, replacements);
    }
    void setCellText(int row, int col, const QString& text) override
    {
        app().setCellText(row, col, text);
    }
    void setBlock(int row, int col, const QList<QStringList>& rows) override
    {
        app().setBlock(row, col, rows);
    }
    void mergeCells(const CellRange& range) override { app().mergeCells(range); }
    void setHorizontalAlignment(const CellRange& range, HAlign align) override
    {
        app().setHorizontalAlignment(range, align);
    }
    void setVerticalAlignment(const CellRange& range, VAlign align) override
    {
        app().setVerticalAlignment(range, align);
    }
    void setWrapText(const CellRange& range, bool wrap) override { app().setWrapText(range, wrap); }
    void setFont(const CellRange& range, const QString& name, double pointSize) override
    {
        app().setFont(range, name, pointSize);
    }
    void setBold(const CellRange& range, bool bold) override { app().setBold(range, bold); }
    void setBackColor(const CellRange& range, CellColor color) override
    {
        app().setBackColor(range, color);
    }
    void setBorder(const CellRange& range, BorderEdge edge) override
    {
        app().setBorder(range, edge);
    }
    void setColumnWidth(int col, double chars) override { app().setColumnWidth(col, chars); }
    void setColumnWidthMm(int col, double mm) override { app().setColumnWidthMm(col, mm); }
    void setOptimalRowHeights(int firstRow, int lastRow) override
    {
        app().setOptimalRowHeights(firstRow, lastRow);
    }
    void setPageBreakBefore(int row) override { app().setPageBreakBefore(row); }
    void setPrintTitleRows(const QString& rows) override { app().setPrintTitleRows(rows); }
    void setPrintTitleColumns(const QString& cols) override { app().setPrintTitleColumns(cols); }
    void setFooters(const QString& left, const QString& center, const QString& right) override
    {
        app().setFooters(left, center, right);
    }
    void setPageSetup(const PageSetup& setup) override { app().setPageSetup(setup); }
    void storeAs(const QString& path, FileFormat format) override { app().storeAs(path, format); }
    void closeWorkbook() override
    {
        if (m_app)
            m_app->closeWorkbook();
    }
    void release() override
    {
        if (m_app)
            m_app->release();
    }

private:
    SpreadsheetApp& app()
    {
        if (!m_app)
            throw SpreadsheetError(u"Электронная таблица не запущена"_s);
        return *m_app;
    }

    OfficeModule& m_module;
    std::unique_ptr<SpreadsheetApp> m_app;
};

} // namespace

OfficeModule::OfficeModule(const QString& moduleFile, OfficeConfig config)
    : m_file(qEnvironmentVariable("FORM2AUDIT_OFFICE_MODULE", moduleFile)),
      m_config(std::move(config))
{
}

OfficeModule::~OfficeModule() = default;

SpreadsheetOffice& OfficeModule::office()
{
    if (m_office)
        return *m_office;
    const QString file = QDir::toNativeSeparators(m_file);
    if (!QFileInfo(m_file).isFile())
        throw SpreadsheetStartError(u"Не найден модуль печати "_s + file);
    // Never unloaded: objects of the module may live until the program ends.
    QLibrary library(m_file);
    if (!library.load())
        throw SpreadsheetStartError(
            u"LibreOffice не установлен: модуль печати не загружается (%1)"_s.arg(
                library.errorString()));
    const auto open = reinterpret_cast<OpenOfficeFunction>(library.resolve(kOpenOfficeSymbol));
    if (!open)
        throw SpreadsheetStartError(u"Модуль печати %1 другой версии"_s.arg(file));
    m_office.reset(open(&m_config));
    if (m_observer)
        m_office->setWaitObserver(m_observer);
    return *m_office;
}

std::unique_ptr<SpreadsheetApp> OfficeModule::newApp()
{
    return std::make_unique<DeferredApp>(*this);
}

void OfficeModule::shutdown()
{
    m_office.reset();
}

void OfficeModule::startEarly()
{
    try {
        SpreadsheetOffice& o = office();
        if (o.isInstalled())
            o.startInBackground();
    } catch (const SpreadsheetError&) {
        // Said when the user prints or exports.
    }
}

void OfficeModule::setWaitObserver(OfficeWaitObserver* observer)
{
    m_observer = observer;
    if (m_office)
        m_office->setWaitObserver(observer);
}
