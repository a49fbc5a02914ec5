#include "Settingsstore.h"

#include "Errors.h"
#include "Ports.h"
#include "SettingsBackend.h"

namespace {

QString sectionKey(const QString &section)
{
    return SettingsKeys::Root + QLatin1Char('\\') + section;
}

// Opens the section's key, creating it; as with the registry, a failed open is not reported by
// itself: the access that follows fails instead.
QString openSection(SettingsBackend &store, const QString &section)
{
    const QString key = sectionKey(section);
    store.CreateKey(key);
    return key;
}

[[noreturn]] void failGet(const QString &name)
{
    throw ZarvoError(QStringLiteral("Failed to get data for '%1'").arg(name));
}

[[noreturn]] void failType(const QString &name)
{
    throw ZarvoError(QStringLiteral("Invalid data type for '%1'").arg(name));
}

[[noreturn]] void failSet(const QString &name)
{
    throw ZarvoError(QStringLiteral("Failed to set data for '%1'").arg(name));
}

[[noreturn]] void failDelete(const QString &name)
{
    throw ZarvoError(QStringLiteral("Failed to delete value '%1'").arg(name));
}

qint32 readInteger(SettingsBackend &store, const QString &section, const QString &name)
{
    const QString key = openSection(store, section);
    switch (store.TypeOf(key, name)) {
    case SettingsBackend::ValueType::Missing:
        failGet(name);
    case SettingsBackend::ValueType::String:
    case SettingsBackend::ValueType::Other:
        failType(name);
    case SettingsBackend::ValueType::Integer:
        break;
    }
    return store.IntegerValue(key, name);
}

} // namespace

QString ReadSettingString(SettingsBackend &store, const QString &section, const QString &name)
{
    const QString key = openSection(store, section);
    switch (store.TypeOf(key, name)) {
    case SettingsBackend::ValueType::Missing:
        return QString();
    case SettingsBackend::ValueType::Integer:
    case SettingsBackend::ValueType::Other:
        failType(name);
    case SettingsBackend::ValueType::String:
        break;
    }
    return store.StringValue(key, name);
}

void WriteSettingString(SettingsBackend &store, const QString &section, const QString &name, const QString &value)
{
    const QString key = openSection(store, section);
    if (!store.SetString(key, name, value))
        failSet(name);
}

bool ReadSettingBool(SettingsBackend &store, const QString &section, const QString &name)
{
    return readInteger(store, section, name) != 0;
}

void WriteSettingBool(SettingsBackend &store, const QString &section, const QString &name, bool value)
{
    WriteSettingInteger(store, section, name, value ? 1 : 0);
}

int ReadSettingInteger(SettingsBackend &store, const QString &section, const QString &name)
{
    return readInteger(store, section, name);
}

void WriteSettingInteger(SettingsBackend &store, const QString &section, const QString &name, int value)
{
    const QString key = openSection(store, section);
    if (!store.SetInteger(key, name, value))
        failSet(name);
}

void SaveWindowGeometry(SettingsBackend &store, const MainWindowGeometry &window)
{
    const QString &section = SettingsKeys::Window;
    WriteSettingInteger(store, section, QStringLiteral("top"), window.Top());
    WriteSettingInteger(store, section, QStringLiteral("left"), window.Left());
    WriteSettingInteger(store, section, QStringLiteral("width"), window.Width());
    WriteSettingInteger(store, section, QStringLiteral("height"), window.Height());
}

void RestoreWindowGeometry(SettingsBackend &store, MainWindowGeometry &window)
{
    const QString &section = SettingsKeys::Window;
    window.SetTop(ReadSettingInteger(store, section, QStringLiteral("top")));
    window.SetLeft(ReadSettingInteger(store, section, QStringLiteral("left")));
    window.SetWidth(ReadSettingInteger(store, section, QStringLiteral("width")));
    window.SetHeight(ReadSettingInteger(store, section, QStringLiteral("height")));
}

void SetAutoRun(SettingsBackend &store, bool enable, const QString &executablePath)
{
    const QString &key = SettingsKeys::AutoRun;
    const QString &name = SettingsKeys::AutoRunValue;
    store.CreateKey(key);
    if (enable) {
        if (!store.SetString(key, name, executablePath))
            failSet(name);
        return;
    }
    // A removal that is refused would leave the program starting at log-on while the settings
    // say it does not, so it is reported.
    if (store.TypeOf(key, name) != SettingsBackend::ValueType::Missing && !store.DeleteValue(key, name))
        failDelete(name);
}
