#pragma once

#include "SettingsBackend.h"

#include <QMap>
#include <QStringList>
#include <QVariant>

// A settings store in memory, for tests of code that reads settings but is not about the store.
// It records every write as "key|name=value" so tests can check what was written and in which order.
class MemorySettingsBackend final : public SettingsBackend
{
public:
    QMap<QString, QMap<QString, QVariant>> keys;
    QStringList writes;

    bool KeyExists(const QString &key) override { return keys.contains(key) || hasChildOf(key); }
    bool CreateKey(const QString &key) override
    {
        keys[key];
        return true;
    }
    ValueType TypeOf(const QString &key, const QString &name) override
    {
        const QVariant v = keys.value(key).value(name);
        if (!v.isValid())
            return ValueType::Missing;
        return v.typeId() == QMetaType::QString ? ValueType::String : ValueType::Integer;
    }
    QString StringValue(const QString &key, const QString &name) override { return keys[key][name].toString(); }
    qint32 IntegerValue(const QString &key, const QString &name) override { return keys[key][name].toInt(); }
    bool SetString(const QString &key, const QString &name, const QString &value) override
    {
        keys[key][name] = value;
        writes << key + QLatin1Char('|') + name + QLatin1Char('=') + value;
        return true;
    }
    bool SetInteger(const QString &key, const QString &name, qint32 value) override
    {
        keys[key][name] = value;
        writes << key + QLatin1Char('|') + name + QLatin1Char('=') + QString::number(value);
        return true;
    }
    bool DeleteValue(const QString &key, const QString &name) override { return keys[key].remove(name) > 0; }

    void set(const QString &section, const QString &name, const QVariant &value)
    {
        keys[SettingsKeys::Root + QLatin1Char('\\') + section][name] = value;
    }

private:
    bool hasChildOf(const QString &key) const
    {
        for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
            if (it.key().startsWith(key + QLatin1Char('\\')))
                return true;
        }
        return false;
    }
};
