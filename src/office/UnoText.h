#pragma once

// Text conversions between Qt and UNO, shared by the session and the Calc calls.
#include <QString>
#include <rtl/ustring.hxx>

inline rtl::OUString ou(const QString& s)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), sal_Int32(s.size()));
}

inline rtl::OUString ou(const char* ascii)
{
    return rtl::OUString::createFromAscii(ascii);
}

inline QString qs(const rtl::OUString& s)
{
    return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength());
}
