#pragma once

#include <QString>

#include <functional>

class SettingsBackend;

// The ten values of section "Settings" as the settings dialog shows them. The increment lists and
// the character-count list are kept as item indexes (increments show their index, the count
// list shows index + 7).
struct SettingsDialogValues {
    bool autoRun = false;
    bool autoHide = false;
    bool playSound = false;
    QString soundFile;
    QString progFile;
    int plusHour = 0;
    int plusMinute = 0;
    int plusSecond = 0;
    bool showMessage = false;
    int simvCountIndex = 0;
    bool missedReport = false; // "missed_report": absent from files written before it existed
};

namespace SettingsDialogLists {
constexpr int FirstSimvCount = 7;
constexpr int LastSimvCount = 150;
} // namespace SettingsDialogLists

// Reads the values in the order the dialog shows them. Errors of the store and a non-numeric
// increment (ZarvoError) reach the caller. An increment or count outside its list selects the
// nearest end of the list.
SettingsDialogValues LoadSettingsDialog(SettingsBackend &settings);

// Writes all the values (the ten and "missed_report"), changed or not, in the dialog's order; switches
// autorun right after writing auto_run. A failed write throws and leaves the values before it written.
void SaveSettingsDialog(SettingsBackend &settings, const SettingsDialogValues &values,
    const std::function<void(bool)> &setAutoRun);
