#pragma once

#include <QList>
#include <QString>

// A page footer written in the codes of a Russian-language spreadsheet: "&7" sets a size
// in points, "&Д" date, "&В" time, "&Z" folder, "&F" file name, "&С" page number,
// "&К" page count, "&&" an ampersand. Latin letters D, T, P, N are accepted too.
struct FooterPart {
    enum Kind { Text, Date, Time, Path, FileName, Page, Pages };
    Kind kind = Text;
    QString text; // Text only
    friend bool operator==(const FooterPart&, const FooterPart&) = default;
};

struct FooterText {
    int pointSize = 0; // 0: the style's own size
    QList<FooterPart> parts;
};

FooterText parseFooterCodes(const QString& codes);
