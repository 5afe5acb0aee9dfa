#include "app/CliCommands.h"

#include "app/CliOptions.h"
#include "control/ErrorListText.h"
#include "model/DataDirLock.h"
#include "model/Datapacket.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "model/Totals.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;

namespace {

const QString kUsage =
    uR"(form2audit-cli — командная строка программы подготовки отчёта по форме № 2-аудит

Использование: form2audit-cli КОМАНДА [ПАРАМЕТРЫ]

Команды:
  recalc          загрузить семь разделов отчётного года, пересчитать итоги
                  и сохранить файлы разделов; печатает путь каждого записанного файла
  dump ФАЙЛ       показать файл раздела: имена полей, затем по строке на запись
                  (поля через TAB; TAB, CR, LF и \ в тексте выводятся как \t, \r, \n, \\)
  check           проверить отчёт: по строке на ошибку или предупреждение, затем итог
  text            вывести текст файла для Минфина (Windows-1251, CR LF)
  export --out ПАПКА [--force]
                  проверить отчёт и записать архив для Минфина в ПАПКУ
  crc ФАЙЛ        контрольная сумма файла (CRC-32, 8 шестнадцатеричных цифр)
  unzip АРХИВ --to ПАПКА
                  распаковать архив, напечатать имена файлов и их контрольные суммы
  pdf --out ФАЙЛ [--draft] [--force] [--templates ПАПКА]
                  заполнить шаблон формы и сохранить его в PDF (нужен LibreOffice)
  carry-over --year ГГГГ
                  перенести из отчёта за предыдущий год в пустые ячейки года ГГГГ
                  реквизиты (кроме даты составления), членство в объединениях
                  и графу 3 раздела 2 как графу 4; печатает по строке на ячейку
                  (раздел, строка, поле, значение через TAB), затем итог
  import ФАЙЛ [--year ГГГГ] [--force]
                  восстановить файлы разделов из архива для Минфина (.zip) или его
                  текста (.txt); год — по имени файла, если не указан --year;
                  имеющиеся файлы года заменяются только с --force, прежние
                  сохраняются с окончанием .replaced; печатает записанные файлы
  check-archives ПУТЬ...
                  проверить архивы и тексты для Минфина (файлы или папки, с
                  вложенными) на всех ядрах; по строке на файл: путь, «открыт»,
                  контрольная сумма, ОГРН, краткое наименование, год, число
                  ошибок и предупреждений (через TAB) или путь, «не открыт»,
                  причина; затем итог; ничего не записывает

Общие параметры:
  --data ПАПКА        папка с файлами разделов (по умолчанию Data рядом с программой,
                      если рядом с ней есть файл portable, иначе
                      ~/.local/share/form2audit/Data)
  --year ГГГГ         отчётный год (по умолчанию — отчётный год даты --today)
  --today ГГГГ-ММ-ДД  дата, которая считается сегодняшней (по умолчанию — системная)
  --settings ФАЙЛ     файл настроек (по умолчанию настройки не читаются)
  --version           показать версию программы

Коды завершения: 0 — успешно, 1 — в отчёте есть ошибки (check, export,
check-archives), 2 — неверный вызов, файл не читается или не пишется, нет
файлов предыдущего года (carry-over), архив не прочитан (check-archives),
или (recalc) папка данных занята окном программы.)"_s;

int cmdHelp(const CliOptions&)
{
    out(kUsage);
    return 0;
}

int cmdVersion(const CliOptions&)
{
    out(u"form2audit-cli "_s + QStringLiteral(FORM2AUDIT_VERSION));
    return 0;
}

int cmdDump(const CliOptions& o)
{
    if (o.positional.size() != 1)
        throw UsageError(u"Команде dump нужен ровно один файл"_s);
    DataSet table(QFileInfo(o.positional[0]).fileName());
    loadTableFromFile(table, o.positional[0]);
    QStringList names;
    for (const FieldDef& f : table.fieldDefs())
        names << escapeLineText(f.name);
    out(names.join(u'\t'));
    for (table.first(); !table.eof(); table.next()) {
        QStringList cells;
        for (int f = 0; f < table.fieldCount(); ++f)
            cells << escapeLineText(table.field(f).asString());
        out(cells.join(u'\t'));
    }
    return 0;
}

int cmdRecalc(const CliOptions& o)
{
    if (!o.positional.isEmpty())
        throw UsageError(u"Лишние аргументы: %1"_s.arg(o.positional.join(u' ')));
    const AppPaths paths = o.paths();
    // It writes the section files: not while a window works on the same folder.
    DataDirLock lock(paths.DataDir());
    if (!lock.tryLock()) {
        const QString dir = QDir::toNativeSeparators(QDir::cleanPath(paths.DataDir()));
        if (lock.heldByAnother())
            err(u"Папка данных %1 занята: программа уже запущена с этой папкой. "
                u"Закройте окно программы и повторите команду."_s.arg(dir));
        else
            err(u"Нет права записи в папку данных %1"_s.arg(dir));
        return 2;
    }
    ReportTables tables;
    loadReport(tables, paths, o.year);
    CalcAllRazdels(tables);
    for (int p = 0; p < RazdelCount; ++p) {
        SaveRazdel(tables.razdel(p), paths, Razdels()[p].Kod, o.year);
        out(QFileInfo(RazdelFileName(paths, Razdels()[p].Kod, o.year)).absoluteFilePath());
    }
    return 0;
}

std::map<QString, CliHandler>& registry()
{
    static std::map<QString, CliHandler> commands = {
        {u"help"_s, cmdHelp},
        {u"version"_s, cmdVersion},
        {u"dump"_s, cmdDump},
        {u"recalc"_s, cmdRecalc},
    };
    return commands;
}

} // namespace

void out(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void err(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void outBytes(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

CliCommandRegistrar::CliCommandRegistrar(const QString& name, CliHandler handler)
{
    registry()[name] = std::move(handler);
}

void loadReport(ReportTables& tables, const AppPaths& paths, const QString& year)
{
    // Read-only: a damaged file stops the command and is left where it is.
    LoadReportFiles(tables, paths, year);
}

int runCli(const QStringList& arguments)
{
    const auto& commands = registry();
    try {
        const CliOptions o = CliOptions::parse(arguments);
        const auto it = commands.find(o.command);
        if (it == commands.end())
            throw UsageError(u"Неизвестная команда %1"_s.arg(o.command));
        return it->second(o);
    } catch (const UsageError& e) {
        err(e.message());
        err(u"Справка: form2audit-cli --help"_s);
        return 2;
    } catch (const UserError& e) {
        err(e.message());
        return 2;
    } catch (const std::exception& e) {
        err(u"Ошибка: %1"_s.arg(QString::fromLocal8Bit(e.what())));
        return 2;
    }
}
