#pragma once

#include "print/SpreadsheetOffice.h"

#include <QString>
#include <memory>

class OfficeModule;
class QProgressDialog;
class QWidget;

// The wait of one print or export: after a moment of waiting for the office, a small window
// with a busy bar and "Отмена". It is application-modal, so the main window still takes no
// input; its "Отмена" cancels the command.
class OfficeProgressWindow final : public OfficeWaitObserver {
public:
    OfficeProgressWindow(OfficeModule& office, QWidget* parent, QString text, int delayMs);
    ~OfficeProgressWindow() override;
    OfficeProgressWindow(const OfficeProgressWindow&) = delete;
    OfficeProgressWindow& operator=(const OfficeProgressWindow&) = delete;

    bool waitGoesOn(qint64 elapsedMs) override;
    bool takesInput() const override;
    // The preview or a message takes over: no more progress window for this command.
    void finish();

private:
    OfficeModule& m_office;
    QWidget* m_parent;
    QString m_text;
    int m_delayMs;
    bool m_done = false;
    std::unique_ptr<QProgressDialog> m_dialog;
};
