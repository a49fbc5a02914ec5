#include "Sessionsettings.h"

#include "Conversions.h"
#include "Errors.h"

namespace {

QString sectionOf(const QString &key)
{
    const QString prefix = SettingsKeys::Root + QLatin1Char('\\');
    return key.startsWith(prefix) ? key.mid(prefix.size()) : QString();
}

bool isIncrement(const QString &section, const QString &name)
{
    return section == SettingsKeys::Settings && (name == u"pl_h" || name == u"pl_m" || name == u"pl_s");
}

} // namespace

SessionSettingsBackend::SessionSettingsBackend(SettingsBackend &store, Report report)
    : m_store(store)
    , m_report(std::move(report))
{
}

QVariant SessionSettingsBackend::DefaultValue(const QString &section, const QString &name)
{
    // The first-run defaults; the window's design place and size. auto_hide is the exception:
    // a session whose settings are in trouble shows its window, so the user sees what is wrong.
    static const QMap<QString, QVariant> settings {{QStringLiteral("chk_mes"), 0},
        {QStringLiteral("chk_sound"), 0}, {QStringLiteral("pl_h"), QStringLiteral("00")},
        {QStringLiteral("pl_m"), QStringLiteral("30")}, {QStringLiteral("pl_s"), QStringLiteral("00")},
        {QStringLiteral("sound_fn"), QString()}, {QStringLiteral("prog_fn"), QString()},
        {QStringLiteral("simv_count"), 15}, {QStringLiteral("auto_run"), 1},
        {QStringLiteral("auto_hide"), 0}};
    static const QMap<QString, QVariant> window {{QStringLiteral("top"), 247}, {QStringLiteral("left"), 313},
        {QStringLiteral("width"), 551}, {QStringLiteral("height"), 308}};
    if (section == SettingsKeys::Settings)
        return settings.value(name);
    if (section == SettingsKeys::Window)
        return window.value(name);
    return QVariant();
}

bool SessionSettingsBackend::inSettingsFile(const QString &key) const
{
    return key == SettingsKeys::Root || !sectionOf(key).isEmpty();
}

template<typename Access, typename Fallback>
auto SessionSettingsBackend::guarded(const QString &key, Access access, Fallback fallback)
{
    if (!inSettingsFile(key))
        return access(); // the autorun entry is not in the settings file
    if (!m_onDefaults) {
        try {
            return access();
        } catch (const ZarvoError &error) {
            switchToDefaults(error.text());
        }
    }
    return fallback();
}

void SessionSettingsBackend::switchToDefaults(const QString &why)
{
    m_onDefaults = true;
    m_memory.clear();
    for (const QString &section : {SettingsKeys::Settings, SettingsKeys::Window}) {
        QMap<QString, QVariant> &values = m_memory[section];
        for (const QString &name : {QStringLiteral("chk_mes"), QStringLiteral("chk_sound"),
                 QStringLiteral("pl_h"), QStringLiteral("pl_m"), QStringLiteral("pl_s"),
                 QStringLiteral("sound_fn"), QStringLiteral("prog_fn"), QStringLiteral("simv_count"),
                 QStringLiteral("auto_run"), QStringLiteral("auto_hide"), QStringLiteral("top"),
                 QStringLiteral("left"), QStringLiteral("width"), QStringLiteral("height")}) {
            const QVariant value = DefaultValue(section, name);
            if (value.isValid())
                values.insert(name, value);
        }
    }
    reportOnce(why
        + QStringLiteral("\n\nДо выхода из программы она работает с настройками по умолчанию; "
                         "изменения настроек не будут сохранены."));
}

void SessionSettingsBackend::reportOnce(const QString &text)
{
    if (m_reported.contains(text))
        return;
    m_reported.insert(text);
    if (m_report)
        m_report(text);
}

bool SessionSettingsBackend::KeyExists(const QString &key)
{
    // On defaults the root key exists: a damaged file is no first run.
    return guarded(
        key, [&] { return m_store.KeyExists(key); },
        [&] { return key == SettingsKeys::Root || m_memory.contains(sectionOf(key)); });
}

bool SessionSettingsBackend::CreateKey(const QString &key)
{
    return guarded(
        key, [&] { return m_store.CreateKey(key); },
        [&] {
            if (key != SettingsKeys::Root)
                m_memory[sectionOf(key)];
            return true;
        });
}

QString SessionSettingsBackend::problemWith(const QString &key, const QString &name, ValueType stored)
{
    const QString section = sectionOf(key);
    const QVariant fallback = DefaultValue(section, name);
    if (!fallback.isValid())
        return QString(); // not one of ours: the store's own rules apply
    const bool wantString = fallback.typeId() == QMetaType::QString;
    if (stored == ValueType::Missing && !wantString)
        return QStringLiteral("Failed to get data for '%1'").arg(name);
    if (stored != ValueType::Missing && (stored == ValueType::String) != wantString)
        return QStringLiteral("Invalid data type for '%1'").arg(name);
    // An increment is a number in a string; a missing one reads as empty, which is none.
    if (isIncrement(section, name)) {
        try {
            StrToInt(stored == ValueType::Missing ? QString() : m_store.StringValue(key, name));
        } catch (const ZarvoError &error) {
            return error.text();
        }
    }
    return QString();
}

SettingsBackend::ValueType SessionSettingsBackend::TypeOf(const QString &key, const QString &name)
{
    return guarded(
        key,
        [&] {
            const ValueType stored = m_store.TypeOf(key, name);
            if (sectionOf(key).isEmpty())
                return stored;
            const QString problem = problemWith(key, name, stored);
            if (problem.isEmpty())
                return stored;
            reportOnce(problem);
            return DefaultValue(sectionOf(key), name).typeId() == QMetaType::QString ? ValueType::String
                                                                                     : ValueType::Integer;
        },
        [&] {
            const QVariant value = m_memory.value(sectionOf(key)).value(name);
            if (!value.isValid())
                return ValueType::Missing;
            return value.typeId() == QMetaType::QString ? ValueType::String : ValueType::Integer;
        });
}

QString SessionSettingsBackend::StringValue(const QString &key, const QString &name)
{
    return guarded(
        key,
        [&] {
            const QString section = sectionOf(key);
            if (!section.isEmpty() && !problemWith(key, name, m_store.TypeOf(key, name)).isEmpty())
                return DefaultValue(section, name).toString();
            return m_store.StringValue(key, name);
        },
        [&] { return m_memory.value(sectionOf(key)).value(name).toString(); });
}

qint32 SessionSettingsBackend::IntegerValue(const QString &key, const QString &name)
{
    return guarded(
        key,
        [&] {
            const QString section = sectionOf(key);
            if (!section.isEmpty() && !problemWith(key, name, m_store.TypeOf(key, name)).isEmpty())
                return qint32(DefaultValue(section, name).toInt());
            return m_store.IntegerValue(key, name);
        },
        [&] { return qint32(m_memory.value(sectionOf(key)).value(name).toInt()); });
}

bool SessionSettingsBackend::SetString(const QString &key, const QString &name, const QString &value)
{
    return guarded(
        key, [&] { return m_store.SetString(key, name, value); },
        [&] {
            m_memory[sectionOf(key)].insert(name, value);
            return true;
        });
}

bool SessionSettingsBackend::SetInteger(const QString &key, const QString &name, qint32 value)
{
    return guarded(
        key, [&] { return m_store.SetInteger(key, name, value); },
        [&] {
            m_memory[sectionOf(key)].insert(name, value);
            return true;
        });
}

bool SessionSettingsBackend::DeleteValue(const QString &key, const QString &name)
{
    return guarded(
        key, [&] { return m_store.DeleteValue(key, name); },
        [&] { return m_memory[sectionOf(key)].remove(name) > 0; });
}
