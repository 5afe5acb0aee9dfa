#include "model/FilterExpression.h"

#include "model/DataSetError.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void syntaxError(const QString& text)
{
    throw DataSetError(u"Неверное выражение фильтра: %1"_s.arg(text));
}

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    FilterExpression parse()
    {
        FilterExpression expr;
        skipBlanks();
        if (atEnd())
            return expr;
        for (;;) {
            expr.conditions.push_back(condition());
            skipBlanks();
            if (atEnd())
                break;
            if (!keyword(u"and"_s))
                syntaxError(m_text);
        }
        return expr;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    void skipBlanks()
    {
        while (!atEnd() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    bool keyword(const QString& word)
    {
        if (m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + word.size();
        if (after < m_text.size() && !m_text[after].isSpace())
            return false;
        m_pos = after;
        return true;
    }

    FilterExpression::Condition condition()
    {
        FilterExpression::Condition c;
        skipBlanks();
        if (!atEnd() && m_text[m_pos] == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_pos);
            if (close < 0)
                syntaxError(m_text);
            c.fieldName = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
        } else {
            const qsizetype start = m_pos;
            while (!atEnd() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'_'))
                ++m_pos;
            c.fieldName = m_text.mid(start, m_pos - start);
        }
        if (c.fieldName.isEmpty())
            syntaxError(m_text);
        skipBlanks();
        c.op = op();
        skipBlanks();
        c.literal = literal();
        return c;
    }

    FilterExpression::Op op()
    {
        using Op = FilterExpression::Op;
        const QString two = m_text.mid(m_pos, 2);
        if (two == u"<>"_s) {
            m_pos += 2;
            return Op::Ne;
        }
        if (two == u"<="_s) {
            m_pos += 2;
            return Op::Le;
        }
        if (two == u">="_s) {
            m_pos += 2;
            return Op::Ge;
        }
        if (atEnd())
            syntaxError(m_text);
        const QChar c = m_text[m_pos++];
        if (c == u'=')
            return Op::Eq;
        if (c == u'<')
            return Op::Lt;
        if (c == u'>')
            return Op::Gt;
        syntaxError(m_text);
    }

    QVariant literal()
    {
        if (atEnd())
            syntaxError(m_text);
        if (m_text[m_pos] == u'\'') {
            QString s;
            ++m_pos;
            for (;;) {
                if (atEnd())
                    syntaxError(m_text);
                const QChar c = m_text[m_pos++];
                if (c == u'\'') {
                    if (!atEnd() && m_text[m_pos] == u'\'') {
                        s += u'\'';
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                s += c;
            }
            return s;
        }
        if (keyword(u"true"_s))
            return true;
        if (keyword(u"false"_s))
            return false;
        const qsizetype start = m_pos;
        while (!atEnd() && !m_text[m_pos].isSpace())
            ++m_pos;
        bool ok = false;
        const double d = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            syntaxError(m_text);
        return d;
    }

    QString m_text;
    qsizetype m_pos = 0;
};

template <typename T> bool compareWith(FilterExpression::Op op, const T& a, const T& b)
{
    using Op = FilterExpression::Op;
    switch (op) {
    case Op::Eq:
        return a == b;
    case Op::Ne:
        return a != b;
    case Op::Lt:
        return a < b;
    case Op::Le:
        return a <= b;
    case Op::Gt:
        return a > b;
    case Op::Ge:
        return a >= b;
    }
    return false;
}

} // namespace

FilterExpression FilterExpression::parse(const QString& text)
{
    return Parser(text).parse();
}

bool FilterExpression::matches(const QList<FieldDef>& fields, const QVector<QVariant>& values,
                               const std::vector<int>& fieldIndexes) const
{
    for (size_t k = 0; k < conditions.size(); ++k) {
        const Condition& c = conditions[k];
        const int fi = fieldIndexes[k];
        if (fi < 0)
            return false;
        const QVariant& v = values[fi];
        if (v.isNull() || !v.isValid())
            return false; // null matches no comparison
        const FieldType type = fields[fi].type;
        bool ok = true;
        switch (type) {
        case FieldType::String:
            ok = compareWith(c.op, v.toString(), c.literal.toString());
            break;
        case FieldType::Boolean:
            ok = compareWith(c.op, v.toBool(),
                             c.literal.metaType().id() == QMetaType::Bool
                                 ? c.literal.toBool()
                                 : c.literal.toString().compare(u"true"_s, Qt::CaseInsensitive) ==
                                       0);
            break;
        case FieldType::Date:
            ok = compareWith(c.op, v.toDate(),
                             QDate::fromString(c.literal.toString(), u"dd.MM.yyyy"_s));
            break;
        default: {
            bool conv = false;
            const double lit = c.literal.toDouble(&conv);
            ok = conv && compareWith(c.op, v.toDouble(), lit);
        }
        }
        if (!ok)
            return false;
    }
    return true;
}
