#include "Settingsdialog.h"

#include "Conversions.h"
#include "Missedtasks.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Taskdialog.h"

#include <algorithm>

namespace {

// In 64 bits: a stored value near the ends of int, less the first item, must not overflow.
int listIndex(qint64 value, int count)
{
    return int(std::clamp<qint64>(value, 0, count - 1));
}

} // namespace

SettingsDialogValues LoadSettingsDialog(SettingsBackend &settings)
{
    using namespace TaskDialogLists;
    using namespace SettingsDialogLists;
    const QString &section = SettingsKeys::Settings;
    SettingsDialogValues values;
    values.autoRun = ReadSettingBool(settings, section, QStringLiteral("auto_run"));
    values.autoHide = ReadSettingBool(settings, section, QStringLiteral("auto_hide"));
    values.playSound = ReadSettingBool(settings, section, QStringLiteral("chk_sound"));
    values.soundFile = ReadSettingString(settings, section, QStringLiteral("sound_fn"));
    values.progFile = ReadSettingString(settings, section, QStringLiteral("prog_fn"));
    values.plusHour
        = listIndex(StrToInt(ReadSettingString(settings, section, QStringLiteral("pl_h"))), Hours);
    values.plusMinute
        = listIndex(StrToInt(ReadSettingString(settings, section, QStringLiteral("pl_m"))), Minutes);
    values.plusSecond
        = listIndex(StrToInt(ReadSettingString(settings, section, QStringLiteral("pl_s"))), Seconds);
    values.showMessage = ReadSettingBool(settings, section, QStringLiteral("chk_mes"));
    values.simvCountIndex
        = listIndex(qint64(ReadSettingInteger(settings, section, QStringLiteral("simv_count"))) - FirstSimvCount,
            LastSimvCount - FirstSimvCount + 1);
    values.missedReport = MissedReportEnabled(settings);
    return values;
}

void SaveSettingsDialog(SettingsBackend &settings, const SettingsDialogValues &values,
    const std::function<void(bool)> &setAutoRun)
{
    const QString &section = SettingsKeys::Settings;
    WriteSettingBool(settings, section, QStringLiteral("auto_run"), values.autoRun);
    if (setAutoRun)
        setAutoRun(values.autoRun);
    WriteSettingBool(settings, section, QStringLiteral("auto_hide"), values.autoHide);
    WriteSettingBool(settings, section, QStringLiteral("chk_sound"), values.playSound);
    WriteSettingString(settings, section, QStringLiteral("sound_fn"), values.soundFile);
    WriteSettingString(settings, section, QStringLiteral("prog_fn"), values.progFile);
    WriteSettingString(settings, section, QStringLiteral("pl_h"), HourItemText(values.plusHour));
    WriteSettingString(settings, section, QStringLiteral("pl_m"), MinuteItemText(values.plusMinute));
    WriteSettingString(settings, section, QStringLiteral("pl_s"), MinuteItemText(values.plusSecond));
    WriteSettingBool(settings, section, QStringLiteral("chk_mes"), values.showMessage);
    WriteSettingInteger(settings, section, QStringLiteral("simv_count"),
        values.simvCountIndex + SettingsDialogLists::FirstSimvCount);
    WriteSettingBool(settings, section, MissedReportSetting, values.missedReport);
}
