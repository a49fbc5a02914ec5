#pragma once

#include <QObject>
#include <QString>

#include <memory>

// How a later start reaches the running copy: a local socket beside the single-instance lock.
// `zarvo --add` sends one request line, "add"; the copy answers "ok" and opens its add dialog.
// Only the copy that holds the lock listens, and only this user may connect.
class InstanceChannel final : public QObject {
    Q_OBJECT

public:
    explicit InstanceChannel(QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Listens at SocketPath(folder). Only the lock holder calls this, so a socket file found there
    // was left by a copy that died and is replaced. False, with a warning, when it cannot listen:
    // the program runs on, and later starts with --add report the running copy instead.
    bool Listen(const QString &folder);

    // Asks the copy listening in folder to open its add dialog; true once it has confirmed.
    // Waits at most timeoutMs. Needs neither an application object nor a display.
    static bool SendAddRequest(const QString &folder, int timeoutMs = 5000);

    static QString SocketPath(const QString &folder);

signals:
    void AddRequested();

private:
    class Listener;
    class Client;

    void Accept();
    void PauseAccepting();
    void Answer(Client *client, bool add);

    std::unique_ptr<Listener> m_listener;
};
