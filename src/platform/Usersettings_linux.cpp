#include "Usersettings_linux.h"

#include "Autostartentry_linux.h"
#include "Errors.h"
#include "Messages.h"
#include "Savedfile.h"
#include "Usersettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

bool isInteger(const QJsonValue &value)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    return std::trunc(number) == number && number >= std::numeric_limits<qint32>::min()
        && number <= std::numeric_limits<qint32>::max();
}

QByteArray readFile(const QString &path)
{
    // Only a regular file is read: a FIFO in its place would block the program in open().
    QByteArray bytes;
    QString why;
    if (!ReadRegularFile(path, bytes, &why))
        throw ZarvoError(Msg::SettingsFileUnreadable.arg(QDir::toNativeSeparators(path), why));
    return bytes;
}

// Replaces the file as a whole: a failed write leaves the old file as it was.
bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return SaveFileAtomically(path, bytes);
}

} // namespace

std::unique_ptr<SettingsBackend> CreateUserSettingsBackend()
{
    return std::make_unique<JsonSettingsBackend>(JsonSettingsBackend::DefaultConfigHome());
}

QString UserSettingsFilePath()
{
    return JsonSettingsBackend(JsonSettingsBackend::DefaultConfigHome()).SettingsFilePath();
}

JsonSettingsBackend::JsonSettingsBackend(const QString &configHome)
    : m_settingsFile(QDir(configHome).filePath(QStringLiteral("Lumenworks/Zarvo1.0.json")))
    , m_autostartFolder(QDir(configHome).filePath(QStringLiteral("autostart")))
{
}

QString JsonSettingsBackend::DefaultConfigHome()
{
    // Relative paths are invalid here by the XDG rules and are ignored.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configHome.isEmpty() && QDir::isAbsolutePath(configHome))
        return configHome;
    return QDir::home().filePath(QStringLiteral(".config"));
}

JsonSettingsBackend::Location JsonSettingsBackend::locate(const QString &key) const
{
    if (key == SettingsKeys::Root)
        return {Place::Root, QString()};
    if (key == SettingsKeys::AutoRun)
        return {Place::AutoRun, QString()};
    const QString prefix = SettingsKeys::Root + QLatin1Char('\\');
    if (key.startsWith(prefix)) {
        const QString section = key.mid(prefix.size());
        if (!section.isEmpty() && !section.contains(QLatin1Char('\\')))
            return {Place::Section, section};
    }
    return {Place::Unknown, QString()};
}

std::optional<QJsonObject> JsonSettingsBackend::loadSettings() const
{
    const QFileInfo info(m_settingsFile);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(readFile(m_settingsFile), &error);
    const auto corrupt = [this] {
        return ZarvoError(Msg::SettingsFileCorrupt.arg(QDir::toNativeSeparators(m_settingsFile)));
    };
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw corrupt();
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!it.value().isObject())
            throw corrupt();
    }
    return root;
}

bool JsonSettingsBackend::saveSettings(const QJsonObject &document) const
{
    return writeFileAtomically(m_settingsFile, QJsonDocument(document).toJson(QJsonDocument::Indented));
}

QJsonValue JsonSettingsBackend::sectionValue(const QString &section, const QString &name) const
{
    const std::optional<QJsonObject> document = loadSettings();
    if (!document)
        return QJsonValue(QJsonValue::Undefined);
    return document->value(section).toObject().value(name);
}

bool JsonSettingsBackend::setSectionValue(
    const QString &section, const QString &name, const QJsonValue &value)
{
    QJsonObject document = loadSettings().value_or(QJsonObject());
    QJsonObject values = document.value(section).toObject();
    if (document.contains(section) && values.value(name) == value)
        return true; // already stored as asked
    values.insert(name, value);
    document.insert(section, values);
    return saveSettings(document);
}

QString JsonSettingsBackend::autostartFile(const QString &name) const
{
    static const QRegularExpression fileName(QStringLiteral("^[A-Za-z0-9_-]+$"));
    if (!fileName.match(name).hasMatch())
        return QString();
    return QDir(m_autostartFolder).filePath(name.toLower() + QLatin1String(".desktop"));
}

bool JsonSettingsBackend::KeyExists(const QString &key)
{
    const Location where = locate(key);
    switch (where.place) {
    case Place::Root:
        return loadSettings().has_value();
    case Place::Section: {
        const std::optional<QJsonObject> document = loadSettings();
        return document && document->contains(where.section);
    }
    case Place::AutoRun:
        return QFileInfo(m_autostartFolder).isDir();
    case Place::Unknown:
        break;
    }
    return false;
}

bool JsonSettingsBackend::CreateKey(const QString &key)
{
    const Location where = locate(key);
    switch (where.place) {
    case Place::Root:
        return loadSettings() || saveSettings(QJsonObject());
    case Place::Section: {
        QJsonObject document = loadSettings().value_or(QJsonObject());
        if (document.contains(where.section))
            return true; // an existing key: the file stays untouched
        document.insert(where.section, QJsonObject());
        return saveSettings(document);
    }
    case Place::AutoRun:
        return QDir().mkpath(m_autostartFolder);
    case Place::Unknown:
        break;
    }
    return false;
}

SettingsBackend::ValueType JsonSettingsBackend::TypeOf(const QString &key, const QString &name)
{
    const Location where = locate(key);
    if (where.place == Place::Section) {
        const QJsonValue value = sectionValue(where.section, name);
        if (value.isUndefined())
            return ValueType::Missing;
        if (value.isString())
            return ValueType::String;
        return isInteger(value) ? ValueType::Integer : ValueType::Other;
    }
    if (where.place == Place::AutoRun) {
        const QString path = autostartFile(name);
        const QFileInfo info(path);
        if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
            return ValueType::Missing;
        return info.isFile() ? ValueType::String : ValueType::Other;
    }
    return ValueType::Missing;
}

QString JsonSettingsBackend::StringValue(const QString &key, const QString &name)
{
    const Location where = locate(key);
    if (where.place == Place::Section)
        return sectionValue(where.section, name).toString();
    if (where.place == Place::AutoRun && TypeOf(key, name) == ValueType::String)
        return AutostartProgram(readFile(autostartFile(name)));
    return QString();
}

qint32 JsonSettingsBackend::IntegerValue(const QString &key, const QString &name)
{
    const Location where = locate(key);
    if (where.place != Place::Section)
        return 0;
    return qint32(sectionValue(where.section, name).toDouble());
}

bool JsonSettingsBackend::SetString(const QString &key, const QString &name, const QString &value)
{
    const Location where = locate(key);
    if (where.place == Place::Section)
        return setSectionValue(where.section, name, value);
    if (where.place == Place::AutoRun) {
        const QString path = autostartFile(name);
        return !path.isEmpty() && writeFileAtomically(path, AutostartEntry(name, value));
    }
    return false;
}

bool JsonSettingsBackend::SetInteger(const QString &key, const QString &name, qint32 value)
{
    const Location where = locate(key);
    return where.place == Place::Section && setSectionValue(where.section, name, qint64(value));
}

bool JsonSettingsBackend::DeleteValue(const QString &key, const QString &name)
{
    const Location where = locate(key);
    if (where.place == Place::Section) {
        QJsonObject document = loadSettings().value_or(QJsonObject());
        QJsonObject values = document.value(where.section).toObject();
        if (!values.contains(name))
            return false;
        values.remove(name);
        document.insert(where.section, values);
        return saveSettings(document);
    }
    if (where.place == Place::AutoRun) {
        const QString path = autostartFile(name);
        return TypeOf(key, name) != ValueType::Missing && QFile::remove(path);
    }
    return false;
}
