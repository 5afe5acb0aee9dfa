#pragma once

#include <QString>

// Loads and activates a keyboard layout by its identifier ("00000419" Russian,
// "00000409" English (United States)). Where the platform has no such service the
// switch does nothing.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    virtual void activate(const QString& layoutId) = 0;
};

inline const QString kLayoutRussian = QStringLiteral("00000419");
inline const QString kLayoutEnglish = QStringLiteral("00000409");
