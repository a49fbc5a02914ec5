#include "Instancechannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {
const QByteArray AddRequest = QByteArrayLiteral("add\n");
const QByteArray Confirmed = QByteArrayLiteral("ok\n");
const QByteArray Refused = QByteArrayLiteral("unknown\n");
constexpr qint64 MaxRequestLength = 64;
// A client that connects and says nothing is not kept for ever.
constexpr int ClientTimeoutMs = 10000;
} // namespace

InstanceChannel::InstanceChannel(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    // Only this user may talk to the copy, also where the socket falls back to /tmp.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::Accept);
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::SocketPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("OneOnly.socket"));
}

bool InstanceChannel::Listen(const QString &folder)
{
    const QString path = SocketPath(folder);
    QLocalServer::removeServer(path);
    if (m_server->listen(path))
        return true;
    qWarning("Zarvo cannot listen at %s (%s): later starts cannot ask this copy to open its add dialog",
        qPrintable(path), qPrintable(m_server->errorString()));
    return false;
}

void InstanceChannel::Accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        QTimer::singleShot(ClientTimeoutMs, socket, &QLocalSocket::abort);
        // The request may have arrived with the connection.
        if (socket->bytesAvailable() > 0)
            ReadRequest(socket);
    }
}

void InstanceChannel::ReadRequest(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxRequestLength)
            socket->abort();
        return;
    }
    const QByteArray request = socket->readLine(MaxRequestLength + 1);
    const bool add = request == AddRequest;
    socket->write(add ? Confirmed : Refused);
    socket->disconnectFromServer();
    if (add)
        emit AddRequested();
}

bool InstanceChannel::SendAddRequest(const QString &folder, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(SocketPath(folder));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(AddRequest);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    QByteArray reply;
    while (!reply.endsWith('\n') && reply.size() <= MaxRequestLength) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
        reply += socket.readAll();
    }
    return reply == Confirmed;
}
