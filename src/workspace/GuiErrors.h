#pragma once

#include "model/DataSetError.h"
#include "model/SilentAbort.h"

#include <QString>
#include <exception>
#include <functional>

// The application's default error report: a failure no handler caught (a file that
// cannot be written, a conversion error) ends the command and its text is shown; the
// window stays usable. A silent abort ends the command without a message.
void setErrorSink(std::function<void(const QString&)> sink);
void reportError(const QString& text);

// Runs `f` inside an event handler; answers false when it ended by an error or abort.
template <typename F> bool guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (const SilentAbort&) {
        return false;
    } catch (const UserError& e) {
        reportError(e.message());
        return false;
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
        return false;
    }
}
