// Writes our two form templates through the office: form2audit-templates OUTPUT_DIR
#include "office/LibreOfficeApp.h"
#include "print/FormTemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: form2audit-templates OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QDir out(args[1]);
    QDir().mkpath(out.absolutePath());
    QTemporaryDir work;
    try {
        OfficeSession session(OfficeConfig{{}, work.path(), 60000});
        LibreOfficeApp app(session);
        app.create();
        for (const bool draft : {false, true}) {
            BuildFormTemplate(app, draft);
            const QString name = draft ? u"Shablon_Chernovik.xls"_s : u"Shablon.xls"_s;
            app.storeAs(out.absoluteFilePath(name), FileFormat::Xls);
            app.closeWorkbook();
        }
    } catch (const SpreadsheetError& e) {
        std::fprintf(stderr, "form2audit-templates: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
