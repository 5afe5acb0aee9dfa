// The entry point of the office module, loaded at run time by OfficeModule.
#include "office/LibreOfficeApp.h"

#include <QtGlobal>

namespace {

class LibreOffice final : public SpreadsheetOffice {
public:
    explicit LibreOffice(const OfficeConfig& config) : m_session(config) {}
    std::unique_ptr<SpreadsheetApp> newApp() override
    {
        return std::make_unique<LibreOfficeApp>(m_session);
    }
    bool isInstalled() const override { return m_session.isInstalled(); }
    void startInBackground() override { m_session.startInBackground(); }
    void setWaitObserver(OfficeWaitObserver* observer) override
    {
        m_session.setWaitObserver(observer);
    }
    int startCount() const override { return m_session.startCount(); }
    qint64 processGroup() const override { return m_session.processGroup(); }

private:
    OfficeSession m_session;
};

} // namespace

extern "C" Q_DECL_EXPORT SpreadsheetOffice* form2audit_open_office_v2(const OfficeConfig* config)
{
    return new LibreOffice(*config);
}
