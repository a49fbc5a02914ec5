#pragma once

#include <QString>

// The settings store: typed values in the sections "Settings" and "Window" of the program's root
// key. SettingsBackend (registry-shaped) is defined with the store's implementation.
class SettingsBackend;

QString ReadSettingString(SettingsBackend &store, const QString &section, const QString &name);
void WriteSettingString(SettingsBackend &store, const QString &section, const QString &name, const QString &value);
bool ReadSettingBool(SettingsBackend &store, const QString &section, const QString &name);
void WriteSettingBool(SettingsBackend &store, const QString &section, const QString &name, bool value);
int ReadSettingInteger(SettingsBackend &store, const QString &section, const QString &name);
void WriteSettingInteger(SettingsBackend &store, const QString &section, const QString &name, int value);
