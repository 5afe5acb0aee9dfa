#include "workspace/OfficeService.h"
#include "workspace/OfficeProgressWindow.h"

#include "dialogs/PdfPreviewDialog.h"
#include "model/AppPaths.h"
#include "platform/QtMessageBoxes.h"
#include "print/GridExport.h"
#include "print/GridSnapshot.h"
#include "print/OfficeModule.h"
#include "print/PrintReport.h"
#include "workspace/DBGrid.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMessageBox>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// The hourglass while the office works; the normal cursor for anything the user answers.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

class NormalCursor {
public:
    NormalCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalCursor() { QApplication::restoreOverrideCursor(); }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;
};

class CursorMessages final : public MessageBoxes {
public:
    CursorMessages(MessageBoxes& inner, std::function<void()> beforeShow)
        : m_inner(inner), m_beforeShow(std::move(beforeShow))
    {
    }
    void InfoBox(const QString& text, const QString& caption) override
    {
        m_beforeShow();
        NormalCursor c;
        m_inner.InfoBox(text, caption);
    }
    bool AskYesNo(const QString& text, const QString& caption) override
    {
        m_beforeShow();
        NormalCursor c;
        return m_inner.AskYesNo(text, caption);
    }
    void ErrorBox(const QString& text) override
    {
        m_beforeShow();
        NormalCursor c;
        m_inner.ErrorBox(text);
    }

private:
    MessageBoxes& m_inner;
    std::function<void()> m_beforeShow;
};

class CursorPreview final : public PrintPreview {
public:
    CursorPreview(QWidget* parent, std::function<void()> beforeShow)
        : m_preview(parent), m_beforeShow(std::move(beforeShow))
    {
    }
    void show(const QString& pdfPath, const QString& title) override
    {
        m_beforeShow();
        NormalCursor c;
        m_preview.show(pdfPath, title);
    }

private:
    PdfPrintPreview m_preview;
    std::function<void()> m_beforeShow;
};

} // namespace

OfficeService::OfficeService(ReportTables& tables, const AppPaths& paths,
                             std::function<QString()> reportYear, MessageBoxes& messages,
                             QWidget* window)
    : m_tables(tables), m_paths(paths), m_reportYear(std::move(reportYear)), m_messages(messages),
      m_window(window), m_office(std::make_unique<OfficeModule>(
                            paths.OfficeModuleFileName(), OfficeConfig{{}, paths.TempDir(), 20000}))
{
}

OfficeService::~OfficeService() = default;

void OfficeService::startEarly(bool allowed)
{
    if (allowed)
        m_office->startEarly();
}

void OfficeService::printReport(bool finalMode)
{
    WaitCursor wait;
    OfficeProgressWindow progress(*m_office, m_window, u"Подготовка печатной формы…"_s,
                                  m_progressDelayMs);
    CursorMessages messages(m_messages, [&progress] { progress.finish(); });
    CursorPreview preview(m_window, [&progress] { progress.finish(); });
    const auto app = m_office->newApp();
    // A cancelled print ends there quietly, its workbook closed unsaved.
    PrintRepExcel(m_tables, m_paths, m_reportYear(),
                  finalMode ? PrintMode::Final : PrintMode::Preview, *app, messages, preview);
}

void OfficeService::exportGrid(const GridSnapshot& grid, const QStringList& titles)
{
    WaitCursor wait;
    OfficeProgressWindow progress(*m_office, m_window, u"Подготовка таблицы…"_s, m_progressDelayMs);
    const auto app = m_office->newApp();
    GridExportOptions options;
    options.progId = QString::fromUtf16(kSpreadsheetProgId);
    options.alignList = {u"-1"_s};
    options.headerShade = true;
    options.cellPrefix = u"'"_s;
    GridExportEnv env;
    env.app = app.get();
    env.tempDir = m_paths.TempDir();
    env.message = [this, &progress](const QString& text, const QString& title, bool exclamation) {
        progress.finish();
        NormalCursor c;
        showMessageBox(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                       m_window);
    };
    env.handOver = [&progress](const QString& path) {
        progress.finish();
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path))
                   ? QString()
                   : u"не найдена программа для открытия файлов .xlsx"_s;
    };
    // A cancelled export ends there quietly, nothing handed over or left on disk.
    ExportGridToExcel(titles, grid, options, env);
}

GridSnapshot snapshotOf(DBGrid* grid)
{
    GridSnapshot s;
    s.fontFamily = grid->font().family();
    s.fontPointSize = grid->font().pointSizeF();
    s.zeroCharWidthPx = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    auto* header = grid->horizontalHeader();
    QList<int> columns;
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (grid->isColumnHidden(logical))
            continue;
        columns << logical;
        s.titles
            << grid->model()->headerData(logical, Qt::Horizontal).toString().replace(u'|', u' ');
        s.pixelWidths << grid->columnWidth(logical);
        const Qt::Alignment a = grid->columnSpecs().value(logical).align;
        s.alignments << int(a & Qt::AlignHorizontal_Mask);
    }
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        QStringList row;
        for (int c : std::as_const(columns))
            row << grid->model()->index(r, c).data().toString();
        s.rows << row;
    }
    return s;
}
