#pragma once

#include <QtGlobal>

// Told while the window's thread waits for an office call, so that the wait can be shown
// and cancelled. Called on the waiting thread only.
class OfficeWaitObserver {
public:
    virtual ~OfficeWaitObserver() = default;
    // Called about every 50 ms of a wait; answers false once the user cancelled.
    virtual bool waitGoesOn(qint64 elapsedMs) = 0;
    // True while a window of the observer's own (application-modal) takes the user's input;
    // otherwise no user input is handled during a wait.
    virtual bool takesInput() const = 0;
};
