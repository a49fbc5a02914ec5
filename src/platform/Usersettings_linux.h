#pragma once

#include "SettingsBackend.h"

#include <QJsonObject>
#include <QString>

#include <optional>

// The settings store as files under a configuration folder ($XDG_CONFIG_HOME, else ~/.config):
// - "SOFTWARE\Lumenworks\Zarvo1.0" is the file Lumenworks/Zarvo1.0.json; the key exists while the
//   file does. Its subkeys ("Settings", "Window") are the top-level objects of the file; in them a
//   JSON string is a string value and a whole JSON number within 32 bits an integer value.
// - "SOFTWARE\Microsoft\Windows\CurrentVersion\Run" is the folder autostart/; its string value
//   "Zarvo" is the desktop entry autostart/zarvo.desktop, whose Exec starts the value's program.
// Every write replaces its file atomically and at once. A settings file that cannot be read or
// parsed is never overwritten: every operation on it throws ZarvoError naming the file.
class JsonSettingsBackend final : public SettingsBackend {
public:
    explicit JsonSettingsBackend(const QString &configHome);

    // $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
    static QString DefaultConfigHome();

    QString SettingsFilePath() const { return m_settingsFile; }
    QString AutostartFolder() const { return m_autostartFolder; }

    bool KeyExists(const QString &key) override;
    bool CreateKey(const QString &key) override;
    ValueType TypeOf(const QString &key, const QString &name) override;
    QString StringValue(const QString &key, const QString &name) override;
    qint32 IntegerValue(const QString &key, const QString &name) override;
    bool SetString(const QString &key, const QString &name, const QString &value) override;
    bool SetInteger(const QString &key, const QString &name, qint32 value) override;
    bool DeleteValue(const QString &key, const QString &name) override;

private:
    enum class Place { Root, Section, AutoRun, Unknown };
    struct Location {
        Place place;
        QString section; // for Place::Section
    };

    Location locate(const QString &key) const;
    std::optional<QJsonObject> loadSettings() const; // nullopt while the file does not exist
    bool saveSettings(const QJsonObject &document) const;
    QJsonValue sectionValue(const QString &section, const QString &name) const;
    bool setSectionValue(const QString &section, const QString &name, const QJsonValue &value);
    QString autostartFile(const QString &name) const; // empty for a name that is no file name

    QString m_settingsFile;
    QString m_autostartFolder;
};
