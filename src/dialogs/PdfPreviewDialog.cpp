#include "dialogs/PdfPreviewDialog.h"

#include "print/SpreadsheetApp.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <memory>
#include <poppler-qt6.h>

using namespace Qt::StringLiterals;

namespace {

// Sharp at a whole A4 page on a large screen.
constexpr int kPreviewDpi = 150;

std::unique_ptr<Poppler::Document> loadPdf(const QString& path)
{
    std::unique_ptr<Poppler::Document> doc = Poppler::Document::load(path);
    if (!doc || doc->isLocked())
        return nullptr;
    doc->setRenderHint(Poppler::Document::Antialiasing);
    doc->setRenderHint(Poppler::Document::TextAntialiasing);
    return doc;
}

// Each PDF page onto one printer page, scaled to the printable area.
void paintPages(Poppler::Document& doc, QPrinter* printer)
{
    QPainter painter;
    if (!painter.begin(printer))
        return;
    // The preview records the pages as pictures for the screen: rendering them at the
    // printer's 300 dpi took most of a second; the printer itself still gets 300.
    const bool preview =
        painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Picture;
    const int dpi = preview ? kPreviewDpi : std::min(300, std::max(96, printer->resolution()));
    for (int i = 0; i < doc.numPages(); ++i) {
        std::unique_ptr<Poppler::Page> page = doc.page(i);
        if (!page)
            continue;
        if (i > 0)
            printer->newPage();
        const QImage image = page->renderToImage(dpi, dpi);
        const QRect area = painter.viewport();
        QSize size = image.size();
        size.scale(area.size(), Qt::KeepAspectRatio);
        painter.setWindow(area);
        painter.drawImage(QRect(area.topLeft(), size), image);
    }
    painter.end();
}

} // namespace

int pdfPageCount(const QString& pdfPath)
{
    auto doc = loadPdf(pdfPath);
    return doc ? doc->numPages() : -1;
}

void PdfPrintPreview::show(const QString& pdfPath, const QString& title)
{
    std::unique_ptr<Poppler::Document> doc = loadPdf(pdfPath);
    if (!doc)
        throw SpreadsheetError(u"Не удалось прочитать файл "_s + pdfPath);

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (doc->numPages() > 0) {
        const QSizeF size = doc->page(0)->pageSizeF();
        printer.setPageOrientation(size.width() > size.height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    }
    printer.setDocName(title);

    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setObjectName(u"PrintPreview"_s);
    dialog.setWindowTitle(u"Предварительный просмотр - "_s + title);
    // A generous size first: without a window manager the maximised state is not applied.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dialog.resize(area.size() * 9 / 10);
        dialog.move(area.center() - dialog.rect().center());
    }
    dialog.setWindowState(Qt::WindowMaximized);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter* p) { paintPages(*doc, p); });
    if (QToolBar* bar = dialog.findChild<QToolBar*>()) {
        QAction* save = bar->addAction(u"Сохранить PDF…"_s);
        save->setObjectName(u"Act_SavePdf"_s);
        QObject::connect(save, &QAction::triggered, &dialog, [&dialog, pdfPath] {
            const QString target = QFileDialog::getSaveFileName(&dialog, u"Сохранить PDF"_s,
                                                                QString(), u"PDF (*.pdf)"_s);
            if (target.isEmpty())
                return;
            QFile::remove(target);
            if (!QFile::copy(pdfPath, target))
                QMessageBox::warning(&dialog, u"Сообщение"_s,
                                     u"Не удалось записать файл "_s + target);
        });
    }
    if (m_onShown)
        QTimer::singleShot(0, &dialog, [this, &dialog] { m_onShown(&dialog); });
    dialog.exec();
}
