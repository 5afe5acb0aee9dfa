#include "workspace/RekvizityInput.h"

#include "model/FormatSettings.h"

#include <QKeyEvent>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

bool isTypedKey(const QKeyEvent* event)
{
    const auto mods = event->modifiers();
    if ((mods & Qt::MetaModifier) || ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)))
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    return true;
}

std::optional<QDate> parseTypedDate(const QString& text)
{
    static const QRegularExpression digits(uR"(^\d{8}$)"_s);
    if (digits.match(text).hasMatch())
        return parseDate(text.left(2) + u'.' + text.mid(2, 2) + u'.' + text.mid(4));
    return parseDate(text);
}
