#pragma once

#include "Clock.h"
#include "Mainunit.h"

#include <memory>

class OpenerService;
class ScreenSaverService;
class SessionService;
class SettingsBackend;
class SoundPlayer;
class UserMessages;
class WindowHelpViewer;
class WindowTaskActions;
class WallClockWakeup;

// Everything the main window is given in the running program: the user's settings, the system
// services behind the task actions, the help viewer, the artwork and the task file's place.
class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();

    MainWindowServices ForMainWindow();

private:
    SystemClock m_clock;
    std::unique_ptr<WallClockWakeup> m_wakeup; // the system clock's wake-up
    std::unique_ptr<UserMessages> m_messages;
    std::unique_ptr<SettingsBackend> m_userSettings; // the settings file
    std::unique_ptr<SettingsBackend> m_settings; // what the session reads and writes: over the file
    std::unique_ptr<SoundPlayer> m_sound;
    std::unique_ptr<SessionService> m_session;
    std::unique_ptr<ScreenSaverService> m_screenSaver;
    std::unique_ptr<OpenerService> m_opener;
    std::unique_ptr<WindowTaskActions> m_actions;
    std::unique_ptr<WindowHelpViewer> m_help;
};
