#include "output/ExportImport.h"

#include "model/DataSet.h"
#include "model/FormatSettings.h"
#include "model/RazdelFiles.h"
#include "model/Razdels.h"
#include "model/ReportFiles.h"
#include "model/ReportTables.h"
#include "output/ExportFile.h"
#include "output/ZipPack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

ImportError::ImportError(int line, const QString& reason)
    : DataSetError(u"Строка %1: %2"_s.arg(line).arg(reason)), m_line(line), m_reason(reason)
{
}

namespace {

// Texts quoted in reasons are cut so that a damaged line cannot flood a message.
QString quoted(const QString& text)
{
    constexpr int kMax = 60;
    return u"«"_s + (text.size() > kMax ? text.left(kMax) + u"…"_s : text) + u"»"_s;
}

struct Key {
    const char16_t* key;
    const char16_t* field;
    bool text; // may span lines when the value holds CR LF
};

constexpr Key kHead[] = {
    {u"ЮЛФЛ=", u"FullName", true}, {u"ЮЛКН=", u"name", true},      {u"АДРЮ=", u"UrAdress", true},
    {u"АДРП=", u"Address", true},  {u"РЕГИОН=", u"KodGAI", false}, {u"ОКУД=", u"OKUD", true},
    {u"ОКПО=", u"OKPO", true},     {u"ОГРН=", u"OGRN", true},
};
constexpr Key kTail[] = {
    {u"ТЕЛФ=", u"TelFax", true},      {u"ЕМЛ=", u"email", true},
    {u"РУКФФЛ=", u"rukovod", true},   {u"ДОЛОТЛ=", u"PositionOtv", true},
    {u"ОТЛИЦ=", u"FIOotv", true},     {u"КОНТЕЛ=", u"telOtv", true},
    {u"ДАТАОТ=", u"DataSost", false},
};

struct SectionShape {
    int position;
    int lastGraf;
};
constexpr SectionShape kSections[] = {
    {PosRazdel1, 4},
    {PosRazdel2, 4},
    {PosRazdel3, 3},
    {PosRazdel4, 9},
};

// Membership codes: the named associations have one row each, the other associations
// (20) and the networks (30) five free rows each.
bool isFreeCode(const QString& kod)
{
    return kod == u"20"_s || kod == u"30"_s;
}

// Lines end with CR LF only: a lone CR or LF is part of a value. The piece after the last
// CR LF comes last (empty for a text ended properly).
QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype from = 0;
    for (qsizetype at = bytes.indexOf("\r\n"); at >= 0; at = bytes.indexOf("\r\n", from)) {
        lines << bytes.mid(from, at - from);
        from = at + 2;
    }
    lines << bytes.mid(from);
    return lines;
}

class Reader {
public:
    Reader(const QByteArray& bytes, ReportTables& tables) : m_tables(tables)
    {
        if (bytes.isEmpty())
            throw ImportError(1, u"файл пуст"_s);
        QList<QByteArray> raw = splitLines(bytes);
        // Every line ends with CR LF, the last one included.
        if (!raw.last().isEmpty())
            throw ImportError(int(raw.size()), u"последняя строка не закончена переводом строки"_s);
        raw.removeLast();
        QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const QString text = decoder.decode(raw[i]);
            if (decoder.hasError())
                throw ImportError(int(i + 1), u"в строке есть байты вне кодировки Windows-1251"_s);
            m_lines << text;
        }
    }

    QStringList read()
    {
        readLico();
        readKeys(kHead, u"РД=1"_s);
        for (const SectionShape& s : kSections)
            readSection(s);
        readQuality();
        readMembership();
        readKeys(kTail, QString());
        if (m_at < m_lines.size())
            fail(u"после строки «ДАТАОТ=» текст должен заканчиваться"_s);
        return m_notes;
    }

    const QStringList& lines() const { return m_lines; }

private:
    [[noreturn]] void fail(const QString& reason) const { throw ImportError(m_at + 1, reason); }

    const QString& current() const
    {
        if (m_at >= m_lines.size())
            throw ImportError(m_at + 1, u"текст обрывается раньше строки «ДАТАОТ=»"_s);
        return m_lines[m_at];
    }

    void expectKey(const QString& key) const
    {
        if (!current().startsWith(key))
            fail(u"ожидалась строка «%1…», а в тексте %2"_s.arg(key, quoted(current())));
    }

    // Sets a field of the table's current row from its exported text.
    void setText(DataSet& table, const QString& field, const QString& text, int line)
    {
        Field f = table.fieldByName(field);
        if (text.isEmpty())
            return;
        const FieldDef& def = f.def();
        if (def.type == FieldType::String && def.size > 0 && text.size() > def.size)
            throw ImportError(line,
                              u"значение длиннее %1 знаков: %2"_s.arg(def.size).arg(quoted(text)));
        QVariant value;
        try {
            value = valueFromText(def, text);
        } catch (const DataSetError&) {
            throw ImportError(line, u"%1 — не %2"_s.arg(quoted(text), typeName(def.type)));
        }
        table.edit();
        f.setValue(value);
        table.post();
    }

    static QString typeName(FieldType type)
    {
        switch (type) {
        case FieldType::Integer:
            return u"целое число"_s;
        case FieldType::Float:
        case FieldType::Money:
            return u"число"_s;
        case FieldType::Date:
            return u"дата ДД.ММ.ГГГГ"_s;
        default:
            return u"значение поля"_s;
        }
    }

    DataSet& requisites() const
    {
        DataSet& t = *m_tables.razdel(PosRekvizity);
        t.first();
        return t;
    }

    void readLico()
    {
        expectKey(u"ЛИЦО="_s);
        const QString v = current().mid(5);
        if (v != u"1"_s && v != u"2"_s)
            fail(u"после «ЛИЦО=» должно быть 1 или 2, а в тексте %1"_s.arg(quoted(v)));
        DataSet& t = requisites();
        t.edit();
        t.fieldByName(u"IsUrLico"_s).setAsBoolean(v == u"2"_s);
        t.post();
        ++m_at;
    }

    // Keyed lines in order; the last one runs up to `after`.
    template <std::size_t N> void readKeys(const Key (&keys)[N], const QString& after)
    {
        for (std::size_t k = 0; k < N; ++k)
            readKeyed(keys[k], k + 1 < N ? QString::fromUtf16(keys[k + 1].key) : after);
    }

    // A line that starts like a key later in the layout than `key` ends a value early, so
    // that a missing line is reported where it is missing.
    static bool startsLaterKey(const QString& line, const QString& key)
    {
        static const QStringList order = [] {
            QStringList keys{u"ЛИЦО="_s};
            for (const Key& k : kHead)
                keys << QString::fromUtf16(k.key);
            keys << u"РД="_s << u"#"_s;
            for (const Key& k : kTail)
                keys << QString::fromUtf16(k.key);
            return keys;
        }();
        for (qsizetype i = order.indexOf(key) + 1; i > 0 && i < order.size(); ++i)
            if (order[i] == u"#"_s ? line == order[i] : line.startsWith(order[i]))
                return true;
        return false;
    }

    // A keyed line; a text value runs on over the following lines up to `nextKey`.
    void readKeyed(const Key& k, const QString& nextKey)
    {
        const QString key = QString::fromUtf16(k.key);
        expectKey(key);
        const int first = m_at;
        QString value = current().mid(key.size());
        ++m_at;
        if (k.text && !nextKey.isEmpty()) {
            while (m_at < m_lines.size() && !m_lines[m_at].startsWith(nextKey) &&
                   !startsLaterKey(m_lines[m_at], nextKey))
                value += u"\r\n"_s + m_lines[m_at++];
            if (m_at > first + 1)
                m_notes << u"Строка %1: значение «%2» занимает строки %1–%3; переносы строк "
                           u"внутри него восстановлены до строки «%4», но в тексте их нельзя "
                           u"отличить от концов строк — проверьте это поле"_s.arg(first + 1)
                               .arg(key.chopped(1))
                               .arg(m_at)
                               .arg(nextKey);
        }
        setText(requisites(), QString::fromUtf16(k.field), value, first + 1);
    }

    void readSection(const SectionShape& s)
    {
        const QString header = u"РД=%1"_s.arg(s.position);
        if (current() != header)
            fail(u"ожидалась строка «%1», а в тексте %2"_s.arg(header, quoted(current())));
        ++m_at;
        DataSet& table = *m_tables.razdel(s.position);
        const int rows = table.recordCount();
        for (int recNo = 1; recNo <= rows; ++recNo) {
            table.setRecNo(recNo);
            const QString kod = table.fieldByName(u"KodRow"_s).asString();
            const QString& line = current();
            const QStringList parts = line.split(u'|');
            const int columns = s.lastGraf - 2;
            if (parts.first() != kod)
                fail(u"ожидалась строка раздела %1 с кодом %2, а в тексте %3"_s.arg(
                    QString::number(s.position), kod, quoted(line)));
            if (parts.size() != columns + 2 || !parts.last().isEmpty())
                fail(u"в строке %1 раздела %2 должно быть граф: %3, каждая с «|» в конце"_s.arg(
                    kod, QString::number(s.position), QString::number(columns)));
            for (int g = 0; g < columns; ++g)
                setText(table, u"Graf0%1"_s.arg(g + 3), parts[g + 1], m_at + 1);
            ++m_at;
        }
    }

    void readQuality()
    {
        if (current() != u"РД=5"_s)
            fail(u"ожидалась строка «РД=5», а в тексте %1"_s.arg(quoted(current())));
        ++m_at;
        DataSet& t = *m_tables.razdel(PosQualityTest);
        t.first();
        const QString yes = t.fieldByName(u"NameYes"_s).asString();
        const QString no = t.fieldByName(u"NameNo"_s).asString();
        const QString& line = current();
        if (line != u"0|"_s + yes && line != u"0|"_s + no)
            fail(u"ожидалась строка «0|%1» или «0|%2», а в тексте %3"_s.arg(yes, no, quoted(line)));
        t.edit();
        t.fieldByName(u"ValueYes"_s).setAsBoolean(line == u"0|"_s + yes);
        t.post();
        ++m_at;
    }

    void readMembership()
    {
        DataSet& t = *m_tables.razdel(PosMembership);
        QList<bool> used(t.recordCount() + 1, false);
        for (int k = 1; current() != u"#"_s; ++k) {
            const QString number = QString::number(k) + u'|';
            if (!current().startsWith(number))
                fail(u"ожидалась запись о членстве № %1 («%1|…») или строка «#», а в тексте %2"_s
                         .arg(QString::number(k), quoted(current())));
            const int first = m_at;
            // A name holding CR LF runs on up to the next record or the end mark.
            QString record = m_lines[m_at++];
            const QString next = QString::number(k + 1) + u'|';
            while (m_at < m_lines.size() && m_lines[m_at] != u"#"_s &&
                   !m_lines[m_at].startsWith(next))
                record += u"\r\n"_s + m_lines[m_at++];
            if (m_at >= m_lines.size())
                throw ImportError(first + 1, u"после записей о членстве нет строки «#»"_s);
            if (m_at > first + 1)
                m_notes << u"Строка %1: запись о членстве № %2 занимает строки %1–%3; переносы "
                           u"строк в наименовании восстановлены, но в тексте их нельзя отличить "
                           u"от концов строк — проверьте эту запись"_s.arg(first + 1)
                               .arg(k)
                               .arg(m_at);
            placeMember(t, used, record, first + 1);
        }
        ++m_at; // "#"
    }

    // "k|name|code|year"; the name may hold "|", the code and the year cannot.
    void placeMember(DataSet& t, QList<bool>& used, const QString& record, int line)
    {
        const qsizetype afterNumber = record.indexOf(u'|') + 1;
        const qsizetype lastBar = record.lastIndexOf(u'|');
        const qsizetype kodBar = lastBar > afterNumber ? record.lastIndexOf(u'|', lastBar - 1) : -1;
        if (kodBar < afterNumber)
            throw ImportError(line, u"в записи о членстве должно быть «№|наименование|код|год»"_s);
        const QString name = record.mid(afterNumber, kodBar - afterNumber);
        const QString kod = record.mid(kodBar + 1, lastBar - kodBar - 1);
        const QString year = record.mid(lastBar + 1);
        if (IsBlankText(name) || IsBlankText(year))
            throw ImportError(line, u"в записи о членстве пусто наименование или год"_s);

        int row = 0;
        for (int recNo = 1; recNo <= t.recordCount() && row == 0; ++recNo) {
            t.setRecNo(recNo);
            if (t.fieldByName(u"KodRow"_s).asString() == kod && !used[recNo])
                row = recNo;
        }
        if (row == 0) {
            bool known = false;
            for (t.first(); !t.eof() && !known; t.next())
                known = t.fieldByName(u"KodRow"_s).asString() == kod;
            if (!known)
                throw ImportError(line,
                                  u"код объединения %1 не предусмотрен формой"_s.arg(quoted(kod)));
            throw ImportError(
                line, isFreeCode(kod) ? u"для кода %1 в форме нет больше свободных строк"_s.arg(kod)
                                      : u"объединение с кодом %1 указано повторно"_s.arg(kod));
        }
        used[row] = true;
        t.setRecNo(row);
        t.edit();
        t.fieldByName(u"NameRow"_s).clear();
        t.post();
        setText(t, u"NameRow"_s, name, line);
        setText(t, u"Year"_s, year, line);
    }

    QStringList m_lines;
    QStringList m_notes;
    int m_at = 0;
    ReportTables& m_tables;
};

} // namespace

QStringList ImportRepText(const QByteArray& bytes, ReportTables& tables)
{
    Reader reader(bytes, tables);
    const QStringList notes = reader.read();
    // The inverse is exact only if the export of what was read gives the same bytes; the
    // first line that differs is one the export could not have written (a number in
    // another form, "1000" for money, a date without its zeros …).
    const QByteArray again = RepFileBytes(tables);
    if (again != bytes) {
        const QList<QByteArray> want = splitLines(bytes);
        const QList<QByteArray> got = splitLines(again);
        qsizetype i = 0;
        while (i < want.size() && i < got.size() && want[i] == got[i])
            ++i;
        const QString inText = reader.lines().value(i);
        QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
        const QString written = i < got.size() ? decoder.decode(got[i]) : QString();
        throw ImportError(int(i + 1), u"запись %1 программа написала бы как %2"_s.arg(
                                          quoted(inText), quoted(written)));
    }
    return notes;
}

QString RepYearFromFileName(const QString& fileName)
{
    const QString base = StripExtension(QFileInfo(fileName).fileName());
    if (base.size() < 3 || !base.endsWith(u'0'))
        return {};
    const QString yy = base.mid(base.size() - 3, 2);
    if (!yy[0].isDigit() || !yy[1].isDigit() || yy[0].unicode() > u'9' || yy[1].unicode() > u'9')
        return {};
    return u"20"_s + yy;
}

RepSource ReadRepSource(const QString& path, bool requirePassword)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    const ZipLimits limits;
    RepSource source;
    source.path = info.absoluteFilePath();
    if (suffix == u"zip"_s) {
        ArchivedText a = ReadRepArchive(path, RepZipPassword, requirePassword, limits);
        source.entryName = a.entryName;
        source.bytes = std::move(a.bytes);
        return source;
    }
    if (suffix != u"txt"_s)
        throw DataSetError(u"Файл «%1»: нужен архив .zip или текст .txt для Минфина"_s.arg(
            QDir::toNativeSeparators(source.path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataSetError(u"Файл «%1» не прочитан: %2"_s.arg(QDir::toNativeSeparators(source.path),
                                                              file.errorString()));
    if (file.size() > limits.maxEntryBytes)
        throw DataSetError(u"Файл «%1» не прочитан: он больше %2 байт"_s.arg(
            QDir::toNativeSeparators(source.path), QString::number(limits.maxEntryBytes)));
    source.entryName = info.fileName();
    source.bytes = file.read(limits.maxEntryBytes + 1);
    return source;
}

QString RepSourceYear(const RepSource& source)
{
    const QString year = RepYearFromFileName(source.path);
    return year.isEmpty() ? RepYearFromFileName(source.entryName) : year;
}

ImportWriteResult WriteImportedReport(ReportTables& tables, const AppPaths& paths,
                                      const QString& year)
{
    ImportWriteResult result;
    for (const QString& file : ExistingReportFiles(paths, year)) {
        QString error;
        const QString moved = MoveFileAside(file, u".replaced"_s, &error);
        if (moved.isEmpty())
            throw DataSetError(
                u"Прежний файл «%1» не удалось отложить: %2; ничего не записано"_s.arg(
                    QDir::toNativeSeparators(file), error));
        result.movedAside << moved;
    }
    result.written = SaveReportFiles(tables, paths, year);
    return result;
}
