#include "control/RekvizityChecks.h"

#include "control/ErrorList.h"
#include "control/QuietCursor.h"
#include "model/CellTests.h"
#include "model/DataSet.h"
#include "model/FormatSettings.h"

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Finding {
    QString msg;
    bool warning = false;
};
using Verdict = std::optional<Finding>;

Finding error(const QString& msg)
{
    return {msg, false};
}

Finding warning(const QString& msg)
{
    return {msg, true};
}

bool isBlank(const QString& text)
{
    return trimBlanks(text).isEmpty();
}

// The text is already known to be digits only.
bool isAllZeros(const QString& digits)
{
    return parseLongDouble(digits).value_or(1) == 0;
}

Verdict checkOkud(const QString& t)
{
    if (isBlank(t))
        return error(u"Не указан код формы по ОКУД"_s);
    if (t.size() != 7)
        return error(u"Код формы по ОКУД должен содержать 7 знаков"_s);
    if (!IsDigitsOnly(t))
        return error(u"Код формы по ОКУД должен содержать только цифры"_s);
    if (isAllZeros(t))
        return error(u"Код формы по ОКУД не может состоять из одних нулей"_s);
    return std::nullopt;
}

Verdict checkOkpo(const QString& t, bool isUrLico)
{
    if (isBlank(t))
        return warning(u"Не указан код по ОКПО"_s);
    if (isUrLico && t.size() != 8)
        return error(u"Код по ОКПО должен содержать 8 знаков"_s);
    // An individual entrepreneur may have the 10-digit code.
    if (t.size() != 8 && t.size() != 10)
        return error(u"Код по ОКПО должен содержать 8 или 10 знаков"_s);
    if (!IsDigitsOnly(t))
        return error(u"Код по ОКПО должен содержать только цифры"_s);
    if (isAllZeros(t))
        return error(u"Код по ОКПО не может состоять из одних нулей"_s);
    return std::nullopt;
}

Verdict checkOgrn(const QString& t, bool isUrLico)
{
    if (isBlank(t))
        return error(u"Не указан ОГРН"_s);
    const int length = isUrLico ? 13 : 15;
    if (t.size() != length)
        return error(u"В ОГРН должно быть "_s + QString::number(length) + u" знаков"_s);
    if (!IsDigitsOnly(t))
        return error(u"В ОГРН должны быть только цифры"_s);
    if (isAllZeros(t))
        return error(u"В ОГРН не могут быть одни нули"_s);
    const QChar first = t[0];
    if (isUrLico && (first == u'0' || first == u'3' || first == u'4'))
        return error(u"ОГРН юридического лица не может начинаться с 0,3 и 4"_s);
    if (!isUrLico && first != u'3')
        return error(u"ОГРН индивидуального предпрининмателя должно начинаться 3"_s);
    if (!IsOgrnCheckDigitOk(t))
        return warning(u"ОГРН некорректен"_s);
    return std::nullopt;
}

Verdict checkDataSost(const QString& t, const QDate& today)
{
    if (isBlank(t))
        return error(u"Не указана дата составления документа"_s);
    const std::optional<QDate> date = parseDate(t);
    if (!date)
        return error(u"Дата составления документа имеет неправильный формат"_s);
    if (*date > today)
        return error(u"Дата составления документа не может быть больше текущей даты ("_s +
                     formatDate(today) + u")"_s);
    if (date->year() < 2009)
        return error(u"Год даты составления документа не может быть меньше 2009 года"_s);
    return std::nullopt;
}

std::function<Verdict(const QString&)> errorWhenBlank(const QString& msg)
{
    return [msg](const QString& t) -> Verdict {
        if (isBlank(t))
            return error(msg);
        return std::nullopt;
    };
}

} // namespace

bool IsOgrnCheckDigitOk(const QString& ogrn)
{
    const qsizetype n = ogrn.size();
    // 18 leading digits always fit a signed 64-bit integer.
    if (n < 3 || n > 19 || !IsDigitsOnly(ogrn))
        return false;
    qint64 h = 0;
    for (qsizetype i = 0; i < n - 1; ++i)
        h = h * 10 + (ogrn[i].unicode() - u'0');
    qint64 r = h % qint64(n - 2);
    if (r > 9)
        r -= 10; // only the remainder's last digit is compared
    return r == ogrn[n - 1].unicode() - u'0';
}

void ControlRekvizity(DataSet& table, bool isUrLico, const QDate& today, const ErrSink& sink)
{
    QuietCursor k(table);
    auto check = [&](const QString& fieldName, const std::function<Verdict(const QString&)>& rule) {
        const int f = k->fieldIndex(fieldName);
        if (f < 0)
            return;
        const Verdict v = rule(k->field(f).asString());
        if (v && v->warning)
            sink.warning(v->msg, fieldName);
        else if (v)
            sink.error(v->msg, fieldName);
    };

    check(u"FullName"_s,
          errorWhenBlank(
              u"Не указано наименование аудиторской организации (ФИО индивидуального аудитора)"_s));
    check(u"name"_s, [isUrLico](const QString& t) -> Verdict {
        // A legal entity needs its short name; an individual has none.
        if (isBlank(t) && isUrLico)
            return error(u"Не указано наименование аудиторской организации"_s);
        if (!isBlank(t) && !isUrLico)
            return error(
                u"У индивидуального предпринимателя краткое наименование должно быть пустым"_s);
        return std::nullopt;
    });
    check(u"UrAdress"_s, errorWhenBlank(u"Не указан юридический адрес"_s));
    check(u"Address"_s, errorWhenBlank(u"Не указан  почтовый адрес"_s));
    check(u"OKUD"_s, checkOkud);
    check(u"OKPO"_s, [isUrLico](const QString& t) { return checkOkpo(t, isUrLico); });
    check(u"OGRN"_s, [isUrLico](const QString& t) { return checkOgrn(t, isUrLico); });
    check(u"TelFax"_s, errorWhenBlank(u"Не указан Телефон/факс"_s));
    check(u"email"_s, [](const QString& t) -> Verdict {
        if (isBlank(t))
            return warning(u"Не указан E-mail"_s);
        return std::nullopt;
    });
    check(u"rukovod"_s,
          errorWhenBlank(u"Не указан руководитель организации (индивидуального аудитора)"_s));
    check(u"FIOotv"_s,
          errorWhenBlank(u"Не указаны ФИО лица, ответственного за составление формы"_s));
    check(u"PositionOtv"_s,
          errorWhenBlank(u"Не указана должность лица, ответственного за составление формы"_s));
    check(u"telOtv"_s, errorWhenBlank(u"Не указан номер контактного телефона"_s));
    check(u"DataSost"_s, [today](const QString& t) { return checkDataSost(t, today); });
}
