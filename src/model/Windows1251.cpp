#include "model/Windows1251.h"

#include <QStringEncoder>

std::optional<QByteArray> encodeWindows1251(QStringView text)
{
    QStringEncoder encoder(kWindows1251, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool fitsWindows1251(QStringView text)
{
    return encodeWindows1251(text).has_value();
}

QString characterAt(QStringView text, qsizetype index)
{
    const qsizetype len = text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return text.mid(index, len).toString();
}

qsizetype firstUnfitWindows1251(QStringView text)
{
    if (fitsWindows1251(text))
        return -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!fitsWindows1251(text.mid(i, len)))
            return i;
        i += len - 1;
    }
    return 0;
}
