#pragma once

#include <QString>

// The settings store: typed values in the sections "Settings" and "Window" of the program's root
// key. SettingsBackend (registry-shaped) is defined with the store's implementation.
class SettingsBackend;
class MainWindowGeometry;

QString ReadSettingString(SettingsBackend &store, const QString &section, const QString &name);
void WriteSettingString(SettingsBackend &store, const QString &section, const QString &name, const QString &value);
bool ReadSettingBool(SettingsBackend &store, const QString &section, const QString &name);
void WriteSettingBool(SettingsBackend &store, const QString &section, const QString &name, bool value);
int ReadSettingInteger(SettingsBackend &store, const QString &section, const QString &name);
void WriteSettingInteger(SettingsBackend &store, const QString &section, const QString &name, int value);

// Writes the main window's frame to section "Window": top, left, width, height, in that order.
void SaveWindowGeometry(SettingsBackend &store, const MainWindowGeometry &window);
// Reads top, left, width and height from section "Window", in that order, applying each at once.
void RestoreWindowGeometry(SettingsBackend &store, MainWindowGeometry &window);

// Adds the program to the per-user autorun list (value "Zarvo" = executablePath, the full path
// of the running executable, without quotes or arguments) or removes it from there.
void SetAutoRun(SettingsBackend &store, bool enable, const QString &executablePath);
