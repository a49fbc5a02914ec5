#pragma once

#include "SettingsBackend.h"

#include <QMap>
#include <QSet>
#include <QVariant>

#include <functional>

// The settings as one session of the program sees them: the user's store, made safe to start
// and run on.
// - A settings file that cannot be read or parsed (the store throws for the root key) is
//   reported once, and the session goes on with the defaults in memory: the file is never
//   written, the main window is shown (auto_hide reads false), tasks are built and fire. Changes
//   made in the settings dialog last until the program ends; the autorun entry, which is not
//   part of that file, is still the real one.
// - A value of sections "Settings" or "Window" that is missing, of the wrong type, or (for the
//   increments pl_h, pl_m, pl_s) not a number, is reported with the store's own text once per
//   session and then reads as its default, so no reader fails on it.
// Reports go to `report` (the program shows them when control returns to its event loop, never
// between a due task and its action).
class SessionSettingsBackend final : public SettingsBackend {
public:
    using Report = std::function<void(const QString &text)>;

    SessionSettingsBackend(SettingsBackend &store, Report report);

    // True once the user's store turned out to be unreadable: the session runs on defaults.
    bool OnDefaults() const { return m_onDefaults; }

    // The value a reader gets when the stored one cannot be used.
    static QVariant DefaultValue(const QString &section, const QString &name);

    bool KeyExists(const QString &key) override;
    bool CreateKey(const QString &key) override;
    ValueType TypeOf(const QString &key, const QString &name) override;
    QString StringValue(const QString &key, const QString &name) override;
    qint32 IntegerValue(const QString &key, const QString &name) override;
    bool SetString(const QString &key, const QString &name, const QString &value) override;
    bool SetInteger(const QString &key, const QString &name, qint32 value) override;
    bool DeleteValue(const QString &key, const QString &name) override;

private:
    bool inSettingsFile(const QString &key) const;
    // Runs an access to the user's store; when that store cannot be read, switches the session to
    // the defaults and answers from them instead.
    template<typename Access, typename Fallback>
    auto guarded(const QString &key, Access access, Fallback fallback);
    void switchToDefaults(const QString &why);
    void reportOnce(const QString &text);
    // The stored value's problem, or an empty text when it can be read as stored.
    QString problemWith(const QString &key, const QString &name, ValueType stored);

    SettingsBackend &m_store;
    Report m_report;
    bool m_onDefaults = false;
    QMap<QString, QMap<QString, QVariant>> m_memory; // the root key's sections, on defaults
    QSet<QString> m_reported;
};
