#include "model/Datapacket.h"

#include "model/FormatSettings.h"
#include "model/Windows1251.h"

#include <QDate>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr const char* kEncodingName = kWindows1251;

[[noreturn]] void fail(const QString& reason)
{
    throw DatapacketError(u"Файл повреждён: "_s + reason, reason);
}

// ------------------------------------------------------------------ decoding

// The encoding named in the XML declaration, or windows-1251 when none is named
// (the layout this program writes). A byte order mark wins over the declaration.
QString decodeBytes(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        fail(u"файл пуст"_s);
    QByteArray name = "windows-1251";
    if (bytes.startsWith("\xEF\xBB\xBF"))
        name = "UTF-8";
    else if (bytes.startsWith("\xFF\xFE"))
        name = "UTF-16LE";
    else if (bytes.startsWith("\xFE\xFF"))
        name = "UTF-16BE";
    else if (bytes.startsWith("<?xml")) {
        const qsizetype end = bytes.indexOf("?>");
        const QByteArray decl = bytes.left(end < 0 ? 0 : end);
        const qsizetype at = decl.indexOf("encoding");
        if (at >= 0) {
            qsizetype i = at + 8;
            while (i < decl.size() && (decl[i] == ' ' || decl[i] == '=' || decl[i] == '\t'))
                ++i;
            if (i < decl.size() && (decl[i] == '"' || decl[i] == '\'')) {
                const qsizetype close = decl.indexOf(decl[i], i + 1);
                if (close > i)
                    name = decl.mid(i + 1, close - i - 1);
            }
        }
    }
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        fail(u"неизвестная кодировка «%1»"_s.arg(QString::fromLatin1(name)));
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        fail(u"текст не соответствует кодировке «%1»"_s.arg(QString::fromLatin1(name)));
    return text;
}

// ------------------------------------------------------------------ values

// How the text of an attribute is read.
enum class ValueForm { Text, Integer, Integer64, Float, Boolean, Date, DateTime };

bool isAscii(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 128; });
}

// ASCII text into a byte buffer for from_chars; false when too long or not ASCII.
bool toLatin1(QStringView s, char* buf, qsizetype capacity)
{
    if (s.size() >= capacity || !isAscii(s))
        return false;
    for (qsizetype i = 0; i < s.size(); ++i)
        buf[i] = char(s[i].unicode());
    return true;
}

bool parseInteger(QStringView s, long long& out)
{
    char buf[32];
    if (!toLatin1(s, buf, sizeof buf))
        return false;
    const char* first = buf;
    const char* last = buf + s.size();
    if (first != last && *first == '+')
        ++first;
    const auto res = std::from_chars(first, last, out);
    return res.ec == std::errc() && res.ptr == last;
}

bool parseDouble(QStringView s, double& out)
{
    char buf[64];
    if (!toLatin1(s, buf, sizeof buf))
        return false;
    const char* first = buf;
    const char* last = buf + s.size();
    if (first != last && *first == '+')
        ++first;
    const auto res = std::from_chars(first, last, out, std::chars_format::general);
    return res.ec == std::errc() && res.ptr == last && std::isfinite(out);
}

int digitsAt(QStringView s, qsizetype from, qsizetype count)
{
    int v = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// "yyyymmdd"; with `withTime` also "yyyymmddThh:mm:ss" and fractional digits.
QDate parseDateText(QStringView s, bool withTime)
{
    if (s.size() < 8)
        return {};
    const int y = digitsAt(s, 0, 4);
    const int m = digitsAt(s, 4, 2);
    const int d = digitsAt(s, 6, 2);
    if (y < 0 || m < 0 || d < 0)
        return {};
    if (s.size() > 8) {
        if (!withTime || s.size() < 17 || s[8] != u'T' || s[11] != u':' || s[14] != u':')
            return {};
        const int hh = digitsAt(s, 9, 2);
        const int mm = digitsAt(s, 12, 2);
        const int ss = digitsAt(s, 15, 2);
        if (hh < 0 || hh > 23 || mm < 0 || mm > 59 || ss < 0 || ss > 59)
            return {};
        if (s.size() > 17 && digitsAt(s, 17, s.size() - 17) < 0)
            return {};
    }
    return QDate(y, m, d); // invalid for a day that does not exist
}

// ------------------------------------------------------------------ reading

class Reader {
public:
    explicit Reader(const QString& text) : m_xml(text) { m_xml.setNamespaceProcessing(false); }

    PacketData read()
    {
        if (!nextChild(true))
            fail(u"нет корневого элемента DATAPACKET"_s);
        if (!isNamed(u"DATAPACKET"))
            failAt(u"корневой элемент «%1» вместо DATAPACKET"_s.arg(m_xml.name().toString()));
        if (!nextChild() || !isNamed(u"METADATA"))
            failAt(u"нет элемента METADATA"_s);
        readMetadata();
        if (!nextChild() || !isNamed(u"ROWDATA"))
            failAt(u"нет элемента ROWDATA"_s);
        readRowData();
        if (nextChild())
            unexpected();
        // Whatever follows the root must be blank, comments or processing instructions.
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() == QXmlStreamReader::Invalid)
                xmlFailure();
            if (m_xml.isStartElement() || (m_xml.isCharacters() && !m_xml.isWhitespace()))
                failAt(u"после элемента DATAPACKET есть лишние данные"_s);
        }
        if (m_xml.hasError())
            xmlFailure();
        return finish();
    }

private:
    [[noreturn]] void failAt(const QString& what) const
    {
        fail(u"строка %1, столбец %2: %3"_s.arg(m_xml.lineNumber())
                 .arg(m_xml.columnNumber())
                 .arg(what));
    }

    [[noreturn]] void xmlFailure() const
    {
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            failAt(u"файл обрывается до конца документа"_s);
        failAt(u"нарушена разметка XML (%1)"_s.arg(m_xml.errorString()));
    }

    [[noreturn]] void unexpected() const
    {
        failAt(u"неожиданный элемент «%1»"_s.arg(m_xml.name().toString()));
    }

    bool isNamed(QStringView name) const
    {
        return m_xml.name().compare(name, Qt::CaseInsensitive) == 0;
    }

    // Moves to the next child element of the current element: true on its start, false
    // on the end of the current element. Text other than blanks is refused.
    bool nextChild(bool prolog = false)
    {
        for (;;) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace())
                    failAt(u"лишний текст между элементами"_s);
                break;
            case QXmlStreamReader::DTD:
                // Entity declarations are never expanded: a document type is refused.
                failAt(
                    u"файл содержит описание типа документа (DOCTYPE), такие файлы не читаются"_s);
            case QXmlStreamReader::EntityReference:
                failAt(u"ссылка на неизвестную сущность «%1»"_s.arg(m_xml.name().toString()));
            case QXmlStreamReader::Invalid:
                xmlFailure();
            case QXmlStreamReader::EndDocument:
                if (prolog)
                    return false;
                failAt(u"файл обрывается до конца документа"_s);
            default: // declaration, comments, processing instructions
                break;
            }
        }
    }

    void requireEmpty()
    {
        if (nextChild())
            unexpected();
    }

    void readMetadata()
    {
        if (!nextChild() || !isNamed(u"FIELDS"))
            failAt(u"нет элемента FIELDS"_s);
        readFields();
        while (nextChild()) {
            if (!isNamed(u"PARAMS"))
                unexpected();
            readParams();
        }
    }

    void readFields()
    {
        while (nextChild()) {
            if (!isNamed(u"FIELD"))
                unexpected();
            readField();
        }
        if (m_fields.isEmpty())
            failAt(u"не описано ни одного поля"_s);
    }

    void readField()
    {
        QString name;
        QString type;
        QString subtype;
        QStringView width;
        for (const QXmlStreamAttribute& a : m_xml.attributes()) {
            const QStringView n = a.name();
            if (n.compare(u"attrname", Qt::CaseInsensitive) == 0)
                name = a.value().toString();
            else if (n.compare(u"fieldtype", Qt::CaseInsensitive) == 0)
                type = a.value().toString().toLower();
            else if (n.compare(u"SUBTYPE", Qt::CaseInsensitive) == 0)
                subtype = a.value().toString();
            else if (n.compare(u"WIDTH", Qt::CaseInsensitive) == 0)
                width = a.value();
        }
        if (name.isEmpty())
            failAt(u"у поля нет имени (attrname)"_s);
        if (type.isEmpty())
            failAt(u"у поля «%1» не указан тип (fieldtype)"_s.arg(name));
        for (const FieldDef& f : std::as_const(m_fields))
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                failAt(u"поле «%1» описано дважды"_s.arg(name));
        long long widthValue = 0;
        if (!width.isNull() && (!parseInteger(width, widthValue) || widthValue < 0 ||
                                widthValue > std::numeric_limits<int>::max()))
            failAt(u"у поля «%1» недопустимая ширина «%2»"_s.arg(name, width.toString()));

        FieldDef def;
        def.name = name;
        ValueForm form = ValueForm::Text;
        if (type == u"string") {
            def.size = int(widthValue);
        } else if (type == u"string.uni") {
            def.size = int(widthValue / 2); // the width counts bytes of UTF-16
        } else if (type == u"i1" || type == u"i2" || type == u"i4" || type == u"ui1" ||
                   type == u"ui2") {
            def.type = FieldType::Integer;
            form = ValueForm::Integer;
        } else if (type == u"i8" || type == u"ui4") {
            def.type = FieldType::Float;
            form = ValueForm::Integer64;
        } else if (type == u"r8" || type == u"r4" || type == u"fixed" || type == u"fixedfmt") {
            def.type = subtype.compare(u"Money", Qt::CaseInsensitive) == 0 ? FieldType::Money
                                                                           : FieldType::Float;
            form = ValueForm::Float;
        } else if (type == u"boolean") {
            def.type = FieldType::Boolean;
            form = ValueForm::Boolean;
        } else if (type == u"date") {
            def.type = FieldType::Date;
            form = ValueForm::Date;
        } else if (type == u"datetime") {
            def.type = FieldType::Date;
            form = ValueForm::DateTime;
        } else if (type == u"nested") {
            failAt(u"вложенные таблицы (поле «%1») не поддерживаются"_s.arg(name));
        }
        // Other types (bin.hex memos and blobs, time, ...) are kept as their text.
        m_fields << def;
        m_forms.push_back(form);
        requireEmpty();
    }

    void readParams()
    {
        const QStringView log = m_xml.attributes().value(QLatin1StringView("CHANGE_LOG"));
        for (const QStringView part : log.split(u' ', Qt::SkipEmptyParts)) {
            long long v = 0;
            if (!parseInteger(part, v) || v < 0 || v > std::numeric_limits<int>::max()) {
                m_changeLog.clear(); // only the row order depends on it
                break;
            }
            m_changeLog.push_back(int(v));
        }
        requireEmpty();
    }

    void readRowData()
    {
        while (nextChild()) {
            if (!isNamed(u"ROW"))
                unexpected();
            readRow();
        }
    }

    int fieldOf(QStringView name, int hint) const
    {
        const int n = int(m_fields.size());
        // Attributes come in field order, so the field after the last one usually matches.
        for (int k = 0; k < n; ++k) {
            const int i = (hint + k) % n;
            if (m_fields[i].name == name)
                return i;
        }
        for (int i = 0; i < n; ++i)
            if (name.compare(m_fields[i].name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    void readRow()
    {
        const int rowNo = int(m_rows.size()) + 1;
        RowValues values(m_fields.size());
        int rowState = 0;
        int hint = 0;
        const QXmlStreamAttributes attrs = m_xml.attributes();
        for (const QXmlStreamAttribute& a : attrs) {
            const QStringView name = a.name();
            const QStringView text = a.value();
            if (name == u"RowState") {
                long long v = 0;
                if (!parseInteger(text, v) || v < 0 || v > std::numeric_limits<int>::max())
                    failAt(u"запись %1: недопустимое состояние строки «%2»"_s.arg(rowNo).arg(
                        text.toString()));
                rowState = int(v);
                continue;
            }
            const int fi = fieldOf(name, hint);
            if (fi < 0)
                failAt(u"запись %1: поле «%2» не описано в METADATA"_s.arg(rowNo).arg(
                    name.toString()));
            if (values[fi].isValid())
                failAt(u"запись %1: поле «%2» задано дважды"_s.arg(rowNo).arg(m_fields[fi].name));
            hint = fi + 1;
            if (!text.isEmpty())
                values[fi] = convert(fi, text, rowNo);
        }
        requireEmpty();
        m_rows.push_back(std::move(values));
        m_states.push_back(rowState);
    }

    QVariant convert(int fi, QStringView text, int rowNo) const
    {
        const char16_t* what = nullptr;
        switch (m_forms[fi]) {
        case ValueForm::Text:
            return text.toString();
        case ValueForm::Integer: {
            long long v = 0;
            if (parseInteger(text, v)) {
                if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                    return int(v);
                failAt(
                    u"запись %1, поле «%2»: число «%3» не помещается в 32-битное целое"_s.arg(rowNo)
                        .arg(m_fields[fi].name, text.toString()));
            }
            what = u"целым числом";
            break;
        }
        case ValueForm::Integer64: {
            long long v = 0;
            if (parseInteger(text, v))
                return double(v);
            what = u"целым числом";
            break;
        }
        case ValueForm::Float: {
            double v = 0;
            if (parseDouble(text, v))
                return v;
            what = u"числом";
            break;
        }
        case ValueForm::Boolean:
            if (text.compare(u"TRUE", Qt::CaseInsensitive) == 0)
                return true;
            if (text.compare(u"FALSE", Qt::CaseInsensitive) == 0)
                return false;
            what = u"логическим значением (TRUE или FALSE)";
            break;
        case ValueForm::Date:
        case ValueForm::DateTime: {
            const QDate d = parseDateText(text, m_forms[fi] == ValueForm::DateTime);
            if (d.isValid())
                return d;
            what = u"датой";
            break;
        }
        }
        failAt(u"запись %1, поле «%2»: «%3» не является %4"_s.arg(rowNo).arg(
            m_fields[fi].name, text.left(40).toString(), QStringView(what)));
    }

    // Drops the original and deleted images of a change log and puts each changed row
    // where its original stood.
    PacketData finish()
    {
        PacketData out;
        out.fields = std::move(m_fields);
        const size_t n = m_rows.size();
        const bool anyState =
            std::any_of(m_states.begin(), m_states.end(), [](int s) { return s != 0; });
        if (!anyState) {
            out.rows = std::move(m_rows);
            return out;
        }
        std::vector<size_t> key(n);
        for (size_t i = 0; i < n; ++i)
            key[i] = i;
        if (m_changeLog.size() % 3 == 0)
            for (size_t t = 0; t + 2 < m_changeLog.size(); t += 3) {
                const size_t rec = size_t(m_changeLog[t]);
                const size_t orig = size_t(m_changeLog[t + 1]);
                if (rec >= 1 && rec <= n && orig >= 1 && orig <= n)
                    key[rec - 1] = key[orig - 1];
            }
        std::vector<size_t> order;
        for (size_t i = 0; i < n; ++i)
            if ((m_states[i] & 3) == 0) // 1 original image, 2 deleted
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return key[a] < key[b]; });
        out.rows.reserve(order.size());
        for (size_t i : order)
            out.rows.push_back(std::move(m_rows[i]));
        return out;
    }

    QXmlStreamReader m_xml;
    QList<FieldDef> m_fields;
    std::vector<ValueForm> m_forms;
    std::vector<RowValues> m_rows;
    std::vector<int> m_states;
    std::vector<int> m_changeLog;
};

// ------------------------------------------------------------------ writing

bool isXmlName(const QString& name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == u'_'))
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.';
    });
}

void appendNumber(QString& out, long long v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(QLatin1StringView(buf, res.ptr - buf));
}

void appendDigits(QString& out, int v, int width)
{
    char buf[8];
    for (int i = width - 1; i >= 0; --i, v /= 10)
        buf[i] = char('0' + v % 10);
    out.append(QLatin1StringView(buf, width));
}

[[noreturn]] void refuseChar(const QString& field, int rowNo, QStringView ch, const QString& why)
{
    const QString where = rowNo > 0 ? u"Поле «%1» (строка %2)"_s.arg(field).arg(rowNo)
                                    : u"Имя поля «%1»"_s.arg(field);
    const QList<uint> ucs = ch.toUcs4();
    const QString code =
        u"U+"_s + QString::number(ucs.value(0), 16).toUpper().rightJustified(4, u'0');
    throw DataSetError(u"%1 содержит символ «%2» (%3), %4"_s.arg(where, ch.toString(), code, why));
}

// Escapes a text for an attribute value. Control characters other than TAB, CR and LF
// cannot be read back from XML and are refused.
void appendEscaped(QString& out, const QString& text, const QString& field, int rowNo)
{
    const QChar* p = text.constData();
    const QChar* const end = p + text.size();
    const QChar* run = p;
    for (; p != end; ++p) {
        const char16_t c = p->unicode();
        if (c > u'>' && c != u'\\')
            continue;
        const char16_t* rep = nullptr;
        switch (c) {
        case u'<':
            rep = u"&lt;";
            break;
        case u'>':
            rep = u"&gt;";
            break;
        case u'&':
            rep = u"&amp;";
            break;
        case u'\'':
            rep = u"&apos;";
            break;
        case u'"':
            rep = u"&quot;";
            break;
        case u'\r':
            rep = u"&#013;";
            break;
        case u'\n':
            rep = u"&#010;";
            break;
        case u'\t':
            rep = u"&#009;";
            break;
        case u'\\':
            rep = u"&#092;";
            break;
        default:
            if (c < u' ')
                refuseChar(field, rowNo, QStringView(p, 1),
                           u"управляющий символ нельзя записать в файл"_s);
            continue;
        }
        out.append(run, p - run);
        out.append(QStringView(rep));
        run = p + 1;
    }
    out.append(run, end - run);
}

// Finds the text that the encoder could not represent and reports it.
[[noreturn]] void reportUnencodable(const DataSet& table, const std::vector<int>& columns)
{
    const auto& defs = table.fieldDefs();
    const auto check = [](const QString& s) { return firstUnfitWindows1251(s); };
    auto refuse = [](const QString& field, int rowNo, const QString& s, qsizetype i) {
        refuseChar(field, rowNo, characterAt(s, i), u"которого нет в кодировке Windows-1251"_s);
    };
    for (int c : columns)
        if (const qsizetype i = check(defs[c].name); i >= 0)
            refuse(defs[c].name, 0, defs[c].name, i);
    int rowNo = 0;
    for (const Row& row : table.rows()) {
        ++rowNo;
        for (int c : columns) {
            const QVariant& v = row.values.value(c);
            if (defs[c].type != FieldType::String || v.isNull())
                continue;
            const QString s = v.toString();
            if (const qsizetype i = check(s); i >= 0)
                refuse(defs[c].name, rowNo, s, i);
        }
    }
    throw DataSetError(u"Данные нельзя записать в кодировке Windows-1251"_s);
}

QString fileError(const QString& path, const QString& reason)
{
    return u"Не удалось записать файл «%1»: %2"_s.arg(path, reason);
}

} // namespace

PacketData readDatapacket(const QByteArray& bytes)
{
    Reader reader(decodeBytes(bytes));
    return reader.read();
}

QByteArray writeDatapacket(const DataSet& table)
{
    const QList<FieldDef>& defs = table.fieldDefs();
    std::vector<int> columns;
    for (int i = 0; i < defs.size(); ++i)
        if (!defs[i].isCalculated()) {
            if (!isXmlName(defs[i].name))
                throw DataSetError(
                    u"Поле «%1» нельзя записать в файл: недопустимое имя"_s.arg(defs[i].name));
            columns.push_back(i);
        }

    const auto& rows = table.rows();
    QString s;
    s.reserve(160 + qsizetype(columns.size()) * 64 +
              qsizetype(rows.size()) * 64 * (columns.size() + 1));
    s += u"<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET "
         u"Version=\"2.0\"><METADATA><FIELDS>";
    for (int c : columns) {
        const FieldDef& d = defs[c];
        s += u"<FIELD attrname=\"";
        s += d.name;
        s += u"\" fieldtype=\"";
        switch (d.type) {
        case FieldType::String:
            s += u"string\"";
            break;
        case FieldType::Integer:
            s += u"i4\"";
            break;
        case FieldType::Float:
            s += u"r8\"";
            break;
        case FieldType::Money:
            s += u"r8\" SUBTYPE=\"Money\"";
            break;
        case FieldType::Boolean:
            s += u"boolean\"";
            break;
        case FieldType::Date:
            s += u"date\"";
            break;
        }
        if (d.type == FieldType::String && d.size > 0) {
            s += u" WIDTH=\"";
            appendNumber(s, d.size);
            s += u'"';
        }
        s += u"/>";
    }
    s += u"</FIELDS><PARAMS/></METADATA><ROWDATA>";
    int rowNo = 0;
    for (const Row& row : rows) {
        ++rowNo;
        s += u"<ROW";
        for (int c : columns) {
            if (c >= row.values.size())
                continue;
            const QVariant& v = row.values[c];
            if (v.isNull() || !v.isValid())
                continue;
            const FieldDef& d = defs[c];
            s += u' ';
            s += d.name;
            s += u"=\"";
            switch (d.type) {
            case FieldType::String:
                appendEscaped(s, v.toString(), d.name, rowNo);
                break;
            case FieldType::Integer:
                appendNumber(s, v.toLongLong());
                break;
            case FieldType::Float:
            case FieldType::Money: {
                const double x = v.toDouble();
                if (!std::isfinite(x))
                    throw DataSetError(
                        u"Поле «%1» (строка %2) содержит не число"_s.arg(d.name).arg(rowNo));
                s += formatFloatShortest(x, 16, u'.');
                break;
            }
            case FieldType::Boolean:
                s += v.toBool() ? u"TRUE" : u"FALSE";
                break;
            case FieldType::Date: {
                const QDate date = v.toDate();
                if (!date.isValid() || date.year() < 1 || date.year() > 9999)
                    throw DataSetError(
                        u"Поле «%1» (строка %2) содержит недопустимую дату"_s.arg(d.name).arg(
                            rowNo));
                appendDigits(s, date.year(), 4);
                appendDigits(s, date.month(), 2);
                appendDigits(s, date.day(), 2);
                break;
            }
            }
            s += u'"';
        }
        s += u"/>";
    }
    s += u"</ROWDATA></DATAPACKET>";

    QStringEncoder encoder(kEncodingName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(s);
    if (encoder.hasError())
        reportUnencodable(table, columns);
    return bytes;
}

void loadTableFromFile(DataSet& table, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString reason = u"файл не открывается (%1)"_s.arg(file.errorString());
        throw DatapacketError(u"Не удалось прочитать файл «%1»: %2"_s.arg(path, reason), reason);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        const QString reason = u"ошибка чтения (%1)"_s.arg(file.errorString());
        throw DatapacketError(u"Не удалось прочитать файл «%1»: %2"_s.arg(path, reason), reason);
    }
    file.close();
    PacketData data;
    try {
        data = readDatapacket(bytes);
    } catch (const DatapacketError& e) {
        throw DatapacketError(u"Файл «%1» повреждён: %2"_s.arg(path, e.reason()), e.reason());
    }
    table.loadData(data.fields, std::move(data.rows));
}

void saveTableToFile(const DataSet& table, const QString& path)
{
    QByteArray bytes;
    try {
        bytes = writeDatapacket(table);
    } catch (const DataSetError& e) {
        throw DataSetError(fileError(path, e.message()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw DataSetError(fileError(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw DataSetError(fileError(path, reason));
    }
    if (!file.commit())
        throw DataSetError(fileError(path, file.errorString()));
}
