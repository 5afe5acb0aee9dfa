#include "model/MessageBoxes.h"

using namespace Qt::StringLiterals;

QString messageBoxText(const QString& text)
{
    QString shown = text;
    return shown.replace(u"\n\r"_s, u"\n"_s);
}
