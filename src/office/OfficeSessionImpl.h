#pragma once

// The session's interior, shared with the Calc calls that use its desktop.
#include "office/OfficeSession.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QThread>
#include <atomic>

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

struct OfficeSession::Impl {
    OfficeConfig config;
    QThread thread;
    QObject* worker = nullptr;

    // Touched only on the worker thread.
    QProcess* process = nullptr;
    QString profileDir;
    css::uno::Reference<css::uno::XComponentContext> remote;
    css::uno::Reference<css::frame::XDesktop2> desktop;
    bool dead = false;
    std::atomic<qint64> group{0};
    std::atomic<int> starts{0};
    // Set from the owning thread to end a start that is still waiting for the office.
    std::atomic<bool> abortStart{false};

    // Touched only on the owning (waiting) thread.
    OfficeWaitObserver* observer = nullptr;
    bool cancelled = false;

    void startIfNeeded();
    void start();
    void stop();
    [[noreturn]] void fail(const QString& reason);
};
