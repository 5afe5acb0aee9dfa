#include "model/DataSet.h"
#include "model/FormatSettings.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void conversionError(const FieldDef& def, const QString& text)
{
    throw DataSetError(
        u"«%1» не является допустимым значением для поля «%2»"_s.arg(text, def.name));
}

int roundToInt(const FieldDef& def, double v)
{
    const double r = std::round(v);
    if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max()))
        conversionError(def, formatFloat(v));
    return static_cast<int>(r);
}

std::optional<bool> boolFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"false"_s, Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace

QString valueText(const FieldDef& def, const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (def.type) {
    case FieldType::String:
        return value.toString();
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::Float:
    case FieldType::Money:
        return formatFloat(value.toDouble());
    case FieldType::Boolean:
        return value.toBool() ? u"True"_s : u"False"_s;
    case FieldType::Date:
        return formatDate(value.toDate());
    }
    return {};
}

QVariant valueFromText(const FieldDef& def, const QString& text)
{
    if (text.isEmpty())
        return {};
    switch (def.type) {
    case FieldType::String:
        return def.size > 0 && text.size() > def.size ? text.left(def.size) : text;
    case FieldType::Integer:
        if (const auto v = parseInt(text))
            return *v;
        break;
    case FieldType::Float:
    case FieldType::Money:
        if (const auto v = parseFloat(text))
            return *v;
        break;
    case FieldType::Boolean:
        if (const auto v = boolFromText(text))
            return *v;
        break;
    case FieldType::Date:
        if (const auto v = parseDate(text))
            return *v;
        break;
    }
    conversionError(def, text);
}

QVariant convertValue(const FieldDef& def, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    const auto typeId = value.metaType().id();
    if (typeId == QMetaType::QString)
        return valueFromText(def, value.toString());
    switch (def.type) {
    case FieldType::String:
        return valueFromText(def, valueText(def, value.toString()));
    case FieldType::Integer:
        if (typeId == QMetaType::Bool)
            return value.toBool() ? 1 : 0;
        if (typeId == QMetaType::Double || typeId == QMetaType::Float)
            return roundToInt(def, value.toDouble());
        {
            bool ok = false;
            const qlonglong v = value.toLongLong(&ok);
            if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
                conversionError(def, value.toString());
            return static_cast<int>(v);
        }
    case FieldType::Float:
    case FieldType::Money: {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            conversionError(def, value.toString());
        return v;
    }
    case FieldType::Boolean:
        return value.toBool();
    case FieldType::Date:
        if (typeId == QMetaType::QDate && value.toDate().isValid())
            return value.toDate();
        if (typeId == QMetaType::QDateTime && value.toDateTime().isValid())
            return value.toDateTime().date();
        conversionError(def, value.toString());
    }
    return {};
}

const FieldDef& Field::def() const
{
    return m_ds->fieldDefs()[m_index];
}

QVariant Field::value() const
{
    return m_ds->value(m_index);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return v.isNull() || !v.isValid();
}

QString Field::asString() const
{
    return valueText(def(), value());
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return 0;
    switch (def().type) {
    case FieldType::Integer:
        return v.toInt();
    case FieldType::Float:
    case FieldType::Money:
        return roundToInt(def(), v.toDouble());
    case FieldType::Boolean:
        return v.toBool() ? 1 : 0;
    case FieldType::String:
        if (const auto i = parseInt(v.toString()))
            return *i;
        conversionError(def(), v.toString());
    case FieldType::Date:
        break;
    }
    conversionError(def(), asString());
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return 0.0;
    switch (def().type) {
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::Money:
        return v.toDouble();
    case FieldType::Boolean:
        return v.toBool() ? 1.0 : 0.0;
    case FieldType::String:
        if (const auto d = parseFloat(v.toString()))
            return *d;
        conversionError(def(), v.toString());
    case FieldType::Date:
        return static_cast<double>(QDate(1899, 12, 30).daysTo(v.toDate()));
    }
    return 0.0;
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return false;
    switch (def().type) {
    case FieldType::Boolean:
        return v.toBool();
    case FieldType::String: {
        const QString t = v.toString();
        if (t.isEmpty())
            return false;
        const QChar c = t[0].toUpper();
        if (c == u'T' || c == u'Y')
            return true;
        if (c == u'F' || c == u'N')
            return false;
        conversionError(def(), t);
    }
    default:
        conversionError(def(), asString());
    }
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return {};
    if (def().type == FieldType::Date)
        return v.toDate();
    if (def().type == FieldType::String) {
        if (const auto d = parseDate(v.toString()))
            return *d;
    }
    conversionError(def(), asString());
}

void Field::setValue(const QVariant& value)
{
    m_ds->setValue(m_index, value);
}
void Field::setAsString(const QString& text)
{
    m_ds->setValue(m_index, valueFromText(def(), text));
}
void Field::setAsInteger(int value)
{
    m_ds->setValue(m_index, value);
}
void Field::setAsFloat(double value)
{
    m_ds->setValue(m_index, value);
}
void Field::setAsBoolean(bool value)
{
    m_ds->setValue(m_index, value);
}
void Field::setAsDate(const QDate& value)
{
    m_ds->setValue(m_index, value);
}
void Field::clear()
{
    m_ds->setValue(m_index, QVariant());
}

void Field::focusControl() const
{
    if (m_ds->onFocusField)
        m_ds->onFocusField(fieldName());
}

void Field::setValidChars(std::optional<QString> chars)
{
    m_ds->setValidChars(fieldName(), std::move(chars));
}

bool Field::acceptsChar(QChar c) const
{
    const auto& chars = def().validChars;
    return !chars || chars->contains(c);
}
