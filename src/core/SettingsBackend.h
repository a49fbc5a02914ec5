#pragma once

#include <QString>

// The store behind the settings functions, shaped like the registry operations they use, so the
// Linux file store and a Windows registry store slot in alike. Keys are paths with backslashes
// ("SOFTWARE\Lumenworks\Zarvo1.0\Settings"). A backend throws ZarvoError for a store it cannot
// read at all (a corrupted file), naming it.
class SettingsBackend
{
public:
    // Other: a value the settings never hold (a registry REG_BINARY, a JSON array or fraction).
    enum class ValueType { Missing, String, Integer, Other };

    virtual ~SettingsBackend() = default;

    virtual bool KeyExists(const QString &key) = 0;
    // Opens the key, creating it and its missing parents; false when that is refused.
    virtual bool CreateKey(const QString &key) = 0;
    virtual ValueType TypeOf(const QString &key, const QString &name) = 0;
    virtual QString StringValue(const QString &key, const QString &name) = 0; // a String value
    virtual qint32 IntegerValue(const QString &key, const QString &name) = 0; // an Integer value
    // Each write reaches the store at once; false when it is refused.
    virtual bool SetString(const QString &key, const QString &name, const QString &value) = 0;
    virtual bool SetInteger(const QString &key, const QString &name, qint32 value) = 0;
    // False when the value is missing or its removal is refused.
    virtual bool DeleteValue(const QString &key, const QString &name) = 0;
};

namespace SettingsKeys {
inline const QString Root = QStringLiteral("SOFTWARE\\Lumenworks\\Zarvo1.0");
inline const QString Settings = QStringLiteral("Settings");
inline const QString Window = QStringLiteral("Window");
// The per-user autorun list and the program's value in it.
inline const QString AutoRun = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString AutoRunValue = QStringLiteral("Zarvo");
} // namespace SettingsKeys
