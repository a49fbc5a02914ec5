#pragma once

#include "SettingsBackend.h"
#include "Settingsstore.h"

class SettingsBackend;

// The Settings section as the first run leaves it, for tests that start after it; a test changes
// the values it is about.
inline void SeedSettingsAfterFirstRun(SettingsBackend &store)
{
    const QString s = SettingsKeys::Settings;
    WriteSettingBool(store, s, QStringLiteral("chk_mes"), false);
    WriteSettingBool(store, s, QStringLiteral("chk_sound"), false);
    WriteSettingString(store, s, QStringLiteral("pl_h"), QStringLiteral("00"));
    WriteSettingString(store, s, QStringLiteral("pl_m"), QStringLiteral("30"));
    WriteSettingString(store, s, QStringLiteral("pl_s"), QStringLiteral("00"));
    WriteSettingString(store, s, QStringLiteral("sound_fn"), QString());
    WriteSettingString(store, s, QStringLiteral("prog_fn"), QString());
    WriteSettingInteger(store, s, QStringLiteral("simv_count"), 15);
    WriteSettingBool(store, s, QStringLiteral("auto_run"), true);
    WriteSettingBool(store, s, QStringLiteral("auto_hide"), true);
}
