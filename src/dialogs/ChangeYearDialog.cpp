#include "dialogs/ChangeYearDialog.h"

#include "dialogs/TChangeYearOfRepF.h"
#include "model/Clock.h"
#include "model/MessageBoxes.h"

#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {
constexpr int kFirstReportYear = 2007;
}

ChangeYearResult ChangeYearDialog(const QString& caption, const QString& currentYear,
                                  const Clock& clock, MessageBoxes& boxes, QWidget* parent,
                                  std::function<int(TChangeYearOfRepF&)> exec)
{
    TChangeYearOfRepF dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.SpinEdit_Year->setRange(kFirstReportYear, clock.today().year());
    dialog.SpinEdit_Year->setValue(currentYear.toInt());

    for (;;) {
        dialog.SpinEdit_Year->setFocus();
        const int code = exec ? exec(dialog) : dialog.exec();
        const QString newYear = dialog.SpinEdit_Year->text();
        if (newYear == currentYear)
            return {};
        if (code != QDialog::Rejected)
            return {true, newYear};
        if (boxes.AskYesNo(u"Вы поменяли отчётный год\n\rБыл "_s + currentYear + u"\n\r"_s +
                               u"Стал "_s + newYear + u"\n\r"_s +
                               u"Хотите выйти без установки нового отчётного года"_s,
                           u"Предупреждение"_s))
            return {};
    }
}
