#pragma once

#include <QtGlobal>

// Guards the making of the application object. Without a display to show windows on (DISPLAY
// unset, a display server that does not answer, no usable platform plugin) Qt ends the process
// with its own fatal message and an abort; under this guard the program ends instead with one
// Russian line on stderr and exit code 2. Qt's other messages meanwhile are held back and passed
// on when the guard is released, so that a failed start says one line only.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

    // The application object has its display: back to the previous message handler.
    void Release();

private:
    bool m_active = true;
};
