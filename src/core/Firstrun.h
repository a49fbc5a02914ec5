#pragma once

#include <QString>

class HelpViewer;
class MainWindowGeometry;
class SettingsBackend;
class UserMessages;

// The design size of the main window, the size it has when it is first shown.
inline constexpr int MainWindowDesignWidth = 551;
inline constexpr int MainWindowDesignHeight = 308;

// The Settings section's values as the first run writes them.
void WriteSettingsDefaults(SettingsBackend &store);

// Runs at every start, before anything reads a setting. When the program's root key is missing
// (the first start for this user) it creates the sections with their defaults, centres the main
// window and saves its geometry, turns autorun on for executablePath, greets the user and opens
// the help; otherwise it does nothing at all.
void FirstRunSetup(SettingsBackend &store, MainWindowGeometry &window, UserMessages &messages,
    HelpViewer &help, const QString &executablePath);
