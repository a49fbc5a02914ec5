#pragma once

#include "Ports.h"

class OpenerService;
class ScreenSaverService;
class SessionService;
class SoundPlayer;

// What a fired task does, carried out with the program's windows and the system services. The
// notices and the countdown are modal: each call returns when its window has closed.
class WindowTaskActions final : public TaskActions {
public:
    WindowTaskActions(
        SoundPlayer &sound, SessionService &session, ScreenSaverService &screenSaver, OpenerService &opener);

    void ShowReminderNotice(const QString &message, const QString &soundFile) override;
    void ShowBirthdayNotice(const QString &message, const QString &name) override;
    void ShowShutdownCountdown(bool powerOff) override;
    void LogOffUser() override;
    void StartScreenSaver() override;
    void RunProgram(const QString &path) override;

private:
    SoundPlayer &m_sound;
    SessionService &m_session;
    ScreenSaverService &m_screenSaver;
    OpenerService &m_opener;
};
