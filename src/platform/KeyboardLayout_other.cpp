#include "platform/SystemKeyboardLayout.h"

// No system-wide layout switching outside Windows; the e-mail editor asks the input
// method for Latin input instead.
void SystemKeyboardLayout::activate(const QString&) {}
