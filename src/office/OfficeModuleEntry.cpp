// The entry point of the office module, loaded at run time by OfficeModule.
#include "LibreOfficeApp.h"

#include <QtGlobal>

namespace {

class LibreOffice final : public SpreadsheetOffice {
public:
    explicit LibreOffice(const OfficeConfig& config) : m_session(config) {}
    std::unique_ptr<SpreadsheetApp> newApp() override
    {
        return std::make_unique<LibreOfficeApp>(m_session);
    }

private:
    OfficeSession m_session;
};

} // namespace

extern "C" Q_DECL_EXPORT SpreadsheetOffice* form2audit_open_office_v1(const OfficeConfig* config)
{
    return new LibreOffice(*config);
}
