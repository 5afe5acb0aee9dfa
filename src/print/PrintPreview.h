#pragma once

#include <QString>

// Shows a filled sheet, exported as PDF, and returns when the user is done with it.
class PrintPreview {
public:
    virtual ~PrintPreview() = default;
    virtual void show(const QString& pdfPath, const QString& title) = 0;
};
