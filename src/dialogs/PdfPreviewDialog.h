#pragma once

#include "print/PrintPreview.h"

#include <QString>

class QWidget;

// The print preview of a filled form: the PDF's pages in Qt's print-preview window, from
// which the user prints on any installed printer or saves the PDF. Modal over `parent`.
class PdfPrintPreview final : public PrintPreview {
public:
    explicit PdfPrintPreview(QWidget* parent = nullptr) : m_parent(parent) {}
    void show(const QString& pdfPath, const QString& title) override;

    // Tests: called with the dialog once it is up, instead of waiting for the user.
    void setOnShown(std::function<void(QWidget* dialog)> f) { m_onShown = std::move(f); }

private:
    QWidget* m_parent;
    std::function<void(QWidget*)> m_onShown;
};

// Number of pages of a PDF, -1 when it cannot be read.
int pdfPageCount(const QString& pdfPath);
