#pragma once

#include <memory>

// Ends the session or the computer's run the way the desktop would when the user asked for it:
// running programs are asked to close and may hold it up; nothing is ever forced. No result is
// reported: a request the system refuses, or a missing service, leaves everything as it was.
class SessionService {
public:
    virtual ~SessionService() = default;
    virtual void PowerOff() = 0;
    virtual void Reboot() = 0;
    virtual void LogOff() = 0;
};

std::unique_ptr<SessionService> CreateSessionService();
