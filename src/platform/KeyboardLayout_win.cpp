#include "platform/SystemKeyboardLayout.h"

#include <windows.h>

void SystemKeyboardLayout::activate(const QString& layoutId)
{
    LoadKeyboardLayoutW(reinterpret_cast<LPCWSTR>(layoutId.utf16()), KLF_ACTIVATE);
}
