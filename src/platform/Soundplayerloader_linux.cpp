#include "Soundplayerloader_linux.h"

#include "Wavdecoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QThread>

const char *const SoundPlayerLoader::FactoryName = "zarvo_create_sound_player";

namespace {

// The file name of the plugin, set by the build; the installed one lies at ZARVO_SOUND_PLUGIN_DIR
// relative to the program's folder.
#ifndef ZARVO_SOUND_PLUGIN_FILE
#define ZARVO_SOUND_PLUGIN_FILE "zarvo-sound.so"
#endif
#ifndef ZARVO_SOUND_PLUGIN_DIR
#define ZARVO_SOUND_PLUGIN_DIR "../lib/zarvo/plugins"
#endif

// Whether path names a WAV file the player can play, read as the player itself reads it: a
// regular file (a FIFO or device could block) whose header parses. A name starting with a colon
// is a user's file, never the program's resources.
bool playable(const QString &path)
{
    const QString userPath = path.startsWith(u':') ? QStringLiteral("./") + path : path;
    if (userPath.isEmpty() || !QFileInfo(userPath).isFile())
        return false;
    QFile file(userPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    return ParseWav(file).has_value();
}

} // namespace

SoundPlayerLoader::SoundPlayerLoader(QStringList paths)
    : m_paths(std::move(paths))
{
}

SoundPlayerLoader::~SoundPlayerLoader()
{
    // Loading reads local files only and ends; its answer is dropped with this object.
    if (m_loader)
        m_loader->wait();
}

QStringList SoundPlayerLoader::pluginPaths()
{
    const QDir here(QCoreApplication::applicationDirPath());
    return {here.filePath(QStringLiteral(ZARVO_SOUND_PLUGIN_FILE)),
        QDir::cleanPath(here.filePath(QStringLiteral(ZARVO_SOUND_PLUGIN_DIR "/" ZARVO_SOUND_PLUGIN_FILE)))};
}

bool SoundPlayerLoader::Play(const QString &path)
{
    switch (m_state) {
    case State::Loaded:
        return m_player->Play(path);
    case State::Missing:
        return playable(path);
    case State::NotLoaded:
        startLoading();
        [[fallthrough]];
    case State::Loading:
        // A newer request replaces the one waiting, as it replaces a playing sound.
        m_pending = path;
        return playable(path);
    }
    return false;
}

void SoundPlayerLoader::Stop()
{
    m_pending.reset();
    if (m_player)
        m_player->Stop();
}

void SoundPlayerLoader::Prepare()
{
    if (m_state == State::NotLoaded)
        startLoading();
}

void SoundPlayerLoader::startLoading()
{
    m_state = State::Loading;
    const QStringList paths = m_paths;
    m_loader.reset(QThread::create([this, paths] {
        QString problems;
        Factory factory = nullptr;
        for (const QString &path : paths) {
            if (!QFileInfo::exists(path))
                continue;
            QLibrary library(path);
            // The plugin stays in for the rest of the run: the player's clean-up at exit is in it.
            library.setLoadHints(QLibrary::PreventUnloadHint);
            factory = reinterpret_cast<Factory>(library.resolve(FactoryName));
            if (factory)
                break;
            problems += library.errorString() + u'\n';
        }
        if (!factory && problems.isEmpty())
            problems = QStringLiteral("not found at ") + paths.join(QStringLiteral(", "));
        QMetaObject::invokeMethod(
            this, [this, factory, problems] { loaded(factory, problems); }, Qt::QueuedConnection);
    }));
    m_loader->setObjectName(QStringLiteral("zarvo-sound-load"));
    m_loader->start();
}

void SoundPlayerLoader::loaded(Factory factory, const QString &problems)
{
    m_loader->wait();
    m_loader.reset();
    if (!factory) {
        m_state = State::Missing;
        m_pending.reset();
        qWarning(
            "No sound plays: the sound plugin could not be loaded (%s).", qPrintable(problems.trimmed()));
        return;
    }
    m_player.reset(factory());
    m_state = State::Loaded;
    if (const std::optional<QString> pending = std::exchange(m_pending, std::nullopt))
        m_player->Play(*pending);
}

std::unique_ptr<SoundPlayer> CreateSoundPlayer()
{
    return std::make_unique<SoundPlayerLoader>(SoundPlayerLoader::pluginPaths());
}
