#pragma once

#include "Soundplayer.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class QThread;

// The system's sound player, loaded on the first sound. The audio output and everything it needs
// (Qt Multimedia, the sound server's client library) live in a plugin: a program that plays no
// sound never loads them, and one that does pays for them only then.
//
// The plugin is loaded on a thread of its own, since loading a dozen libraries from a cold disk
// can take a while; Play answers at once from the file's header, and the sound asked for meanwhile
// plays as soon as the plugin is in. Without a plugin nothing plays and nothing fails, as without
// an audio output.
class SoundPlayerLoader : public QObject, public SoundPlayer {
public:
    // Looks for the plugin at each of paths, in order.
    explicit SoundPlayerLoader(QStringList paths);
    ~SoundPlayerLoader() override;

    bool Play(const QString &path) override;
    void Stop() override;
    void Prepare() override;

    // Where the program looks: beside itself (a copied program folder), then where it is installed.
    static QStringList pluginPaths();
    // The name of the factory function the plugin exports.
    static const char *const FactoryName;

private:
    enum class State { NotLoaded, Loading, Loaded, Missing };
    using Factory = SoundPlayer *(*)();

    void startLoading();
    void loaded(Factory factory, const QString &problems);

    QStringList m_paths;
    State m_state = State::NotLoaded;
    std::unique_ptr<QThread> m_loader;
    std::unique_ptr<SoundPlayer> m_player;
    // The sound asked for while the plugin loads; empty after a Stop.
    std::optional<QString> m_pending;
};
