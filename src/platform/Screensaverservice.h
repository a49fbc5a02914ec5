#pragma once

#include <memory>

// Starts the screen saver the user has configured (nothing happens where there is none).
class ScreenSaverService {
public:
    virtual ~ScreenSaverService() = default;
    virtual void Activate() = 0;
};

std::unique_ptr<ScreenSaverService> CreateScreenSaverService();
