#pragma once

class Clock;
class KeyboardLayout;
class MessageBoxes;
class UrlOpener;

// The outside world as the window sees it; tests put scripted parts in.
struct Platform {
    Clock* clock = nullptr;
    MessageBoxes* messages = nullptr;
    KeyboardLayout* keyboard = nullptr;
    UrlOpener* urls = nullptr;
};
