#include "workspace/GuiErrors.h"

namespace {
std::function<void(const QString&)>& sink()
{
    static std::function<void(const QString&)> s;
    return s;
}
} // namespace

void setErrorSink(std::function<void(const QString&)> s)
{
    sink() = std::move(s);
}

void reportError(const QString& text)
{
    if (sink())
        sink()(text);
}
