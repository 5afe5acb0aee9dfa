#include "OfficeService.h"

#include "AppPaths.h"
#include "GridExport.h"
#include "GridSnapshot.h"
#include "LibreOfficeApp.h"
#include "QtMessageBoxes.h"
#include "PdfPreviewDialog.h"
#include "PrintReport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QProgressDialog>
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

// For one command: after a while of waiting for the office, a small window with a busy
// bar and "Отмена" (application-modal, so the main window still takes no input).
class ProgressWait final : public OfficeWaitObserver {
public:
    ProgressWait(OfficeSession& session, QWidget* parent, QString text, int delayMs)
        : m_session(session), m_parent(parent), m_text(std::move(text)), m_delayMs(delayMs)
    {
        m_session.clearCancel();
        m_session.setWaitObserver(this);
    }
    ~ProgressWait() override
    {
        m_session.setWaitObserver(nullptr);
        m_session.clearCancel();
    }
    ProgressWait(const ProgressWait&) = delete;
    ProgressWait& operator=(const ProgressWait&) = delete;

    void waitStarted() override {}
    bool waitGoesOn(qint64 elapsedMs) override
    {
        if (!m_dialog && !m_done && elapsedMs >= m_delayMs) {
            m_dialog = std::make_unique<QProgressDialog>(m_text, u"Отмена"_s, 0, 0, m_parent);
            m_dialog->setObjectName(u"OfficeProgress"_s);
            m_dialog->setWindowTitle(u"Сообщение"_s);
            m_dialog->setWindowModality(Qt::ApplicationModal);
            m_dialog->setMinimumDuration(0);
            m_dialog->setAutoClose(false);
            m_dialog->setAutoReset(false);
            m_dialog->show();
        }
        return !(m_dialog && m_dialog->wasCanceled());
    }
    bool takesInput() const override { return m_dialog && m_dialog->isVisible(); }
    void waitEnded() override {}
    // The preview or a message takes over: no more progress window for this command.
    void finish()
    {
        m_done = true;
        m_dialog.reset();
    }

private:
    OfficeSession& m_session;
    QWidget* m_parent;
    QString m_text;
    int m_delayMs;
    bool m_done = false;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace

OfficeService::OfficeService(ReportTables& tables, const AppPaths& paths,
                             std::function<QString()> reportYear, MessageBoxes& messages,
                             QWidget* window)
    : m_tables(tables), m_paths(paths), m_reportYear(std::move(reportYear)), m_messages(messages),
      m_window(window),
      m_session(std::make_unique<OfficeSession>(OfficeConfig{{}, paths.TempDir(), 20000}))
{
}

OfficeService::~OfficeService() = default;

void OfficeService::startEarly(bool allowed)
{
    if (allowed && m_session->isInstalled())
        m_session->startInBackground();
}

void OfficeService::printReport(bool finalMode)
{
    WaitCursor wait;
    ProgressWait progress(*m_session, m_window, u"Подготовка печатной формы…"_s, m_progressDelayMs);
    CursorMessages messages(m_messages, [&progress] { progress.finish(); });
    CursorPreview preview(m_window, [&progress] { progress.finish(); });
    LibreOfficeApp app(*m_session);
    try {
        PrintRepExcel(m_tables, m_paths, m_reportYear(),
                      finalMode ? PrintMode::Final : PrintMode::Preview, app, messages, preview);
    } catch (const SpreadsheetCancelled&) {
        // The user chose to stop; the workbook was closed unsaved.
    }
}

void OfficeService::exportGrid(const GridSnapshot& grid, const QStringList& titles)
{
    WaitCursor wait;
    ProgressWait progress(*m_session, m_window, u"Подготовка таблицы…"_s, m_progressDelayMs);
    LibreOfficeApp app(*m_session);
    GridExportOptions options;
    options.progId = QString::fromUtf16(kSpreadsheetProgId);
    options.alignList = {u"-1"_s};
    options.headerShade = true;
    options.cellPrefix = u"'"_s;
    GridExportEnv env;
    env.app = &app;
    env.tempDir = m_paths.TempDir();
    env.message = [this, &progress](const QString& text, const QString& title, bool exclamation) {
        progress.finish();
        NormalCursor c;
        showMessageBox(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                       m_window);
    };
    env.handOver = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path))
                   ? QString()
                   : u"не найдена программа для открытия файлов .xlsx"_s;
    };
    try {
        ExportGridToExcel(titles, grid, options, env);
    } catch (const SpreadsheetCancelled&) {
        // The user chose to stop; nothing was handed over.
    }
}
