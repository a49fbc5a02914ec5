#include "Instancechannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Plain AF_UNIX sockets: the channel carries one short line each way, and Qt's own local sockets
// would load Qt Network and its Kerberos and proxy libraries into every start.

namespace {
const QByteArray AddRequest = QByteArrayLiteral("add\n");
const QByteArray Confirmed = QByteArrayLiteral("ok\n");
const QByteArray Refused = QByteArrayLiteral("unknown\n");
constexpr qsizetype MaxRequestLength = 64;
// A client that connects and says nothing is not kept for ever.
constexpr int ClientTimeoutMs = 10000;
constexpr int AcceptPauseMs = 1000;

bool SocketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray encoded = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

int NewSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// Waits until fd is ready for events, or the deadline passes.
bool WaitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd entry {fd, events, 0};
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        const int ready = ::poll(&entry, 1, left < 0 ? -1 : int(qMin<qint64>(left, 60000)));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

class InstanceChannel::Listener {
public:
    Listener(int fd, QByteArray path)
        : fd(fd)
        , path(std::move(path))
        , notifier(fd, QSocketNotifier::Read)
    {
    }
    ~Listener()
    {
        notifier.setEnabled(false); // before its descriptor goes
        ::close(fd);
        ::unlink(path.constData());
    }

    const int fd;
    const QByteArray path;
    QSocketNotifier notifier;
};

// One connected later start: its request is collected until a whole line has come.
class InstanceChannel::Client final : public QObject {
public:
    Client(int fd, QObject *parent)
        : QObject(parent)
        , m_fd(fd)
        , m_notifier(fd, QSocketNotifier::Read)
    {
        QTimer::singleShot(ClientTimeoutMs, this, &QObject::deleteLater);
    }
    ~Client() override
    {
        m_notifier.setEnabled(false); // before its descriptor goes
        ::close(m_fd);
    }

    QSocketNotifier &Notifier() { return m_notifier; }

    enum class Request { Incomplete, Add, Other, Gone };

    Request Read()
    {
        char chunk[256];
        for (;;) {
            const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got > 0) {
                m_received.append(chunk, got);
                if (m_received.size() > 4 * MaxRequestLength)
                    break;
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            // The peer closed or the connection failed before a whole line came.
            return m_received.contains('\n') ? Complete() : Request::Gone;
        }
        if (m_received.contains('\n'))
            return Complete();
        return m_received.size() > MaxRequestLength ? Request::Gone : Request::Incomplete;
    }

    void Reply(const QByteArray &text)
    {
        // A reply of a few bytes always fits an empty socket buffer; a peer that has gone is
        // no reason to stop the program.
        [[maybe_unused]] const ssize_t sent
            = ::send(m_fd, text.constData(), size_t(text.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        ::shutdown(m_fd, SHUT_RDWR);
    }

private:
    Request Complete() const
    {
        const qsizetype end = m_received.indexOf('\n') + 1;
        if (end > MaxRequestLength)
            return Request::Other;
        return m_received.first(end) == AddRequest ? Request::Add : Request::Other;
    }

    const int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_received;
};

InstanceChannel::InstanceChannel(QObject *parent)
    : QObject(parent)
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::SocketPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("OneOnly.socket"));
}

bool InstanceChannel::Listen(const QString &folder)
{
    const QString path = SocketPath(folder);
    const auto refuse = [&path](const char *reason) {
        qWarning("Zarvo cannot listen at %s (%s): later starts cannot ask this copy to open its add dialog",
            qPrintable(path), reason);
        return false;
    };
    sockaddr_un address;
    if (!SocketAddress(path, address))
        return refuse("the path is too long for a local socket");
    m_listener.reset();
    ::unlink(address.sun_path);
    const int fd = NewSocket();
    if (fd < 0)
        return refuse(std::strerror(errno));
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        return refuse(std::strerror(error));
    }
    // Made private before anyone can connect: connecting needs listen() below.
    if (::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(address.sun_path);
        return refuse(std::strerror(error));
    }
    m_listener = std::make_unique<Listener>(fd, QByteArray(address.sun_path));
    connect(&m_listener->notifier, &QSocketNotifier::activated, this, &InstanceChannel::Accept);
    return true;
}

void InstanceChannel::Accept()
{
    for (;;) {
        const int fd = ::accept4(m_listener->fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                PauseAccepting();
            return;
        }
        auto *client = new Client(fd, this);
        connect(&client->Notifier(), &QSocketNotifier::activated, client, [this, client] {
            switch (client->Read()) {
            case Client::Request::Incomplete:
                return;
            case Client::Request::Add:
                Answer(client, true);
                return;
            case Client::Request::Other:
                Answer(client, false);
                return;
            case Client::Request::Gone:
                client->Notifier().setEnabled(false);
                client->deleteLater();
                return;
            }
        });
    }
}

// Out of descriptors or memory, the waiting connection stays pending and the notifier would fire
// without end: the channel rests a moment instead of spinning.
void InstanceChannel::PauseAccepting()
{
    m_listener->notifier.setEnabled(false);
    QTimer::singleShot(AcceptPauseMs, this, [this] {
        if (m_listener)
            m_listener->notifier.setEnabled(true);
    });
}

void InstanceChannel::Answer(Client *client, bool add)
{
    client->Notifier().setEnabled(false);
    client->Reply(add ? Confirmed : Refused);
    client->deleteLater();
    if (add)
        emit AddRequested();
}

bool InstanceChannel::SendAddRequest(const QString &folder, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    sockaddr_un address;
    if (!SocketAddress(SocketPath(folder), address))
        return false;
    const FileDescriptor socket(NewSocket());
    if (socket.get() < 0)
        return false;
    // A local connect does not wait for a full backlog: it fails with EAGAIN and is tried again.
    while (::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired())
            return false;
        ::usleep(10000);
    }
    qsizetype written = 0;
    while (written < AddRequest.size()) {
        const ssize_t sent = ::send(socket.get(), AddRequest.constData() + written,
            size_t(AddRequest.size() - written), MSG_NOSIGNAL);
        if (sent > 0)
            written += sent;
        else if (sent < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        else if (sent < 0 && errno == EAGAIN && !WaitFor(socket.get(), POLLOUT, deadline))
            return false;
    }
    QByteArray reply;
    while (!reply.endsWith('\n') && reply.size() <= MaxRequestLength) {
        char chunk[64];
        const ssize_t got = ::recv(socket.get(), chunk, sizeof chunk, 0);
        if (got > 0)
            reply.append(chunk, got);
        else if (got == 0 || (errno != EINTR && errno != EAGAIN))
            return false;
        else if (errno == EAGAIN && !WaitFor(socket.get(), POLLIN, deadline))
            return false;
    }
    return reply == Confirmed;
}
