#include "print/FooterCodes.h"

using namespace Qt::StringLiterals;

namespace {

void addText(FooterText& out, const QString& text)
{
    if (text.isEmpty())
        return;
    if (!out.parts.isEmpty() && out.parts.last().kind == FooterPart::Text)
        out.parts.last().text += text;
    else
        out.parts.append({FooterPart::Text, text});
}

bool fieldKind(QChar c, FooterPart::Kind& kind)
{
    switch (c.toUpper().unicode()) {
    case u'Д':
    case u'D':
        kind = FooterPart::Date;
        return true;
    case u'В':
    case u'T':
        kind = FooterPart::Time;
        return true;
    case u'Z':
        kind = FooterPart::Path;
        return true;
    case u'F':
        kind = FooterPart::FileName;
        return true;
    case u'С':
    case u'P':
        kind = FooterPart::Page;
        return true;
    case u'К':
    case u'N':
        kind = FooterPart::Pages;
        return true;
    default:
        return false;
    }
}

} // namespace

FooterText parseFooterCodes(const QString& codes)
{
    FooterText out;
    int i = 0;
    while (i < codes.size()) {
        const QChar c = codes[i];
        if (c != u'&' || i + 1 >= codes.size()) {
            addText(out, QString(c));
            ++i;
            continue;
        }
        const QChar code = codes[i + 1];
        if (code == u'&') {
            addText(out, u"&"_s);
            i += 2;
        } else if (code.isDigit()) {
            int j = i + 1;
            while (j < codes.size() && codes[j].isDigit())
                ++j;
            out.pointSize = codes.mid(i + 1, j - i - 1).toInt();
            i = j;
        } else if (FooterPart::Kind kind; fieldKind(code, kind)) {
            out.parts.append({kind, QString()});
            i += 2;
        } else {
            // An unknown code is dropped, as the other spreadsheet does.
            i += 2;
        }
    }
    return out;
}
