#pragma once

#include "Ports.h"

#include <QStringList>

#include <functional>

// The actions of fired tasks, recorded as "name|arg|arg". While an action "runs", whileOpen is
// called with the recorded text: a test can check the task file from inside the action, or run
// further ticks the way the event loop does while a modal notice is open.
class RecordingActions final : public TaskActions {
public:
    QStringList calls;
    std::function<void(const QString &call)> whileOpen;

    void ShowReminderNotice(const QString &message, const QString &soundFile) override
    {
        run(QStringLiteral("remind|") + message + QLatin1Char('|') + soundFile);
    }
    void ShowBirthdayNotice(const QString &message, const QString &name) override
    {
        run(QStringLiteral("birthday|") + message + QLatin1Char('|') + name);
    }
    void ShowShutdownCountdown(bool powerOff) override
    {
        run(powerOff ? QStringLiteral("countdown|shutdown") : QStringLiteral("countdown|reboot"));
    }
    void LogOffUser() override { run(QStringLiteral("logoff")); }
    void StartScreenSaver() override { run(QStringLiteral("screensaver")); }
    void RunProgram(const QString &path) override { run(QStringLiteral("run|") + path); }

private:
    void run(const QString &call)
    {
        calls << call;
        if (whileOpen)
            whileOpen(call);
    }
};
