#include "Firstrun.h"

#include "Errors.h"
#include "Messages.h"
#include "Ports.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"

namespace {

void createKey(SettingsBackend &store, const QString &key)
{
    if (!store.CreateKey(key))
        throw ZarvoError(QStringLiteral("Failed to create key %1").arg(key));
}


// Each half is truncated on its own: a 1366-pixel screen and a 551-pixel window give
// 683 - 275 = 408, not (1366 - 551) / 2 = 407.
void centre(MainWindowGeometry &window)
{
    window.SetLeft(window.ScreenWidth() / 2 - window.Width() / 2);
    window.SetTop(window.ScreenHeight() / 2 - window.Height() / 2);
}

} // namespace

void WriteSettingsDefaults(SettingsBackend &store)
{
    const QString &s = SettingsKeys::Settings;
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

void FirstRunSetup(SettingsBackend &store, MainWindowGeometry &window, UserMessages &messages,
    HelpViewer &help, const QString &executablePath)
{
    if (store.KeyExists(SettingsKeys::Root))
        return;
    createKey(store, SettingsKeys::Root + QLatin1Char('\\') + SettingsKeys::Settings);
    createKey(store, SettingsKeys::Root + QLatin1Char('\\') + SettingsKeys::Window);
    WriteSettingsDefaults(store);
    centre(window);
    SaveWindowGeometry(store, window);
    SetAutoRun(store, true, executablePath);
    messages.ShowMessage(Msg::FirstRunGreeting);
    help.OpenHelp(Msg::HelpFirstRun);
}
