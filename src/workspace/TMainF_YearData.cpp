// Carrying last year's report forward and restoring a report from its archive.

#include "model/CarryOver.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "output/ExportImport.h"
#include "workspace/GuiErrors.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

void TMainF::createYearDataActions()
{
    const QString carry = u"Перенести данные из отчёта за предыдущий год…"_s;
    Act_CarryOver = new QAction(carry, this);
    Act_CarryOver->setObjectName(u"Act_CarryOver"_s);
    Act_CarryOver->setStatusTip(carry);
    const QString load = u"Загрузить отчёт из архива…"_s;
    Act_ImportRep = new QAction(load, this);
    Act_ImportRep->setObjectName(u"Act_ImportRep"_s);
    Act_ImportRep->setStatusTip(load);
    connect(Act_CarryOver, &QAction::triggered, this,
            [this] { guarded([this] { Act_CarryOverExecute(); }); });
    connect(Act_ImportRep, &QAction::triggered, this,
            [this] { guarded([this] { Act_ImportRepExecute(); }); });
    chooseImportFile = [this](const QString& caption) {
        return QFileDialog::getOpenFileName(this, caption, m_paths.ExportDir(),
                                            u"Отчёт для Минфина (*.zip *.txt);;Все файлы (*)"_s);
    };
}

// Every section again from its file, then the requisites shown.
void TMainF::reloadReport()
{
    for (int p = 0; p < RazdelCount; ++p) {
        const LoadRazdelResult res =
            LoadRazdel(m_tables.razdel(p), m_paths, Razdels()[p].Kod, m_reportYear);
        if (res.damaged)
            showLoadProblem(res.message);
    }
    Panel_00->refresh();
    if (CurrRazdelInd == PosRekvizity)
        LVRazdelSelectItem(PosRekvizity, true);
    else
        selectRazdel(PosRekvizity);
    updateActions();
}

// Both commands change the year's data, which its editing permission may forbid.
bool TMainF::refusedWhileLocked()
{
    if (m_settings.GetMayRedaktData())
        return false;
    InfoBox(u"Данные отчёта за %1 год запрещено править"_s.arg(m_reportYear), u"Сообщение"_s);
    return true;
}

void TMainF::OfferCarryOver()
{
    if (!m_settings.GetMayRedaktData() || m_settings.GetCarryOverDeclined())
        return;
    const QString previous = PreviousYear(m_reportYear);
    if (HasReportFiles(m_paths, m_reportYear) || !HasReportFiles(m_paths, previous))
        return;
    if (!AskYesNo(CarryOverQuestion(previous, m_reportYear), u"Предупреждение"_s)) {
        m_settings.SetCarryOverDeclined(true);
        return;
    }
    postCurrentEdit();
    const auto result = CarryOverFiles(m_paths, m_reportYear, CarryOverMode::NewYear);
    reloadReport();
    if (result)
        InfoBox(CarryOverMessage(*result, previous), u"Сообщение"_s);
}

void TMainF::Act_CarryOverExecute()
{
    if (refusedWhileLocked())
        return;
    postCurrentEdit();
    const QString previous = PreviousYear(m_reportYear);
    const auto result = CarryOverFiles(m_paths, m_reportYear, CarryOverMode::EmptyCellsOnly);
    if (!result) {
        InfoBox(u"Данных отчёта за %1 год нет: переносить нечего"_s.arg(previous), u"Сообщение"_s);
        return;
    }
    if (!result->changedPositions.isEmpty())
        reloadReport();
    InfoBox(CarryOverMessage(*result, previous), u"Сообщение"_s);
}

void TMainF::Act_ImportRepExecute()
{
    if (refusedWhileLocked())
        return;
    postCurrentEdit();
    const QString file = chooseImportFile ? chooseImportFile(Act_ImportRep->text()) : QString();
    if (file.isEmpty())
        return;
    const QString name = QFileInfo(file).fileName();
    RepSource source;
    ReportTables imported;
    QStringList notes;
    try {
        source = ReadRepSource(file, false);
        notes = ImportRepText(source.bytes, imported);
    } catch (const ImportError& e) {
        InfoBox(
            u"Файл «%1» не является файлом отчёта для Минфина:\n\r%2\n\rДанные не изменены"_s.arg(
                native(file), e.message()),
            u"Сообщение"_s);
        return;
    } catch (const UserError& e) {
        InfoBox(e.message() + u"\n\rДанные не изменены"_s, u"Сообщение"_s);
        return;
    }
    const QString year = RepSourceYear(source);
    if (!year.isEmpty() && year != m_reportYear &&
        !AskYesNo(u"В файле «%1» отчёт за %2 год, а программа работает с отчётом за %3 год.\n\r"
                  u"Загрузить его как отчёт за %3 год"_s.arg(name, year, m_reportYear),
                  u"Предупреждение"_s))
        return;
    if (HasReportFiles(m_paths, m_reportYear) &&
        !AskYesNo(u"Отчёт за %1 год уже есть в папке данных.\n\rЗаменить его отчётом из файла "
                  u"«%2» (прежние файлы будут сохранены с окончанием .replaced)"_s.arg(m_reportYear,
                                                                                       name),
                  u"Предупреждение"_s))
        return;
    const ImportWriteResult written = WriteImportedReport(imported, m_paths, m_reportYear);
    reloadReport();
    QString text = u"Отчёт за %1 год загружен из файла «%2»"_s.arg(m_reportYear, native(file));
    if (!written.movedAside.isEmpty())
        text += u"\n\rПрежние файлы сохранены с окончанием .replaced в папке «%1»"_s.arg(
            native(m_paths.DataDir()));
    for (const QString& note : std::as_const(notes))
        text += u"\n\r"_s + note;
    InfoBox(text, u"Сообщение"_s);
}
