#pragma once

#include "SettingsBackend.h"

#include <memory>

// The current user's settings store: the registry of the current user on Windows, a file in the
// user's configuration folder on Linux.
std::unique_ptr<SettingsBackend> CreateUserSettingsBackend();

// The file that holds the settings (empty where they live in a registry).
QString UserSettingsFilePath();
