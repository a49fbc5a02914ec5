#include "Commandline.h"
#include "Instancechannel.h"
#include "support/TestMain.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Action = ParsedCommandLine::Action;
Q_DECLARE_METATYPE(ParsedCommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void helpText_namesEveryOption();

    void addRequest_reachesTheListeningCopy();
    void addRequest_withNoCopy_fails();
    void listen_replacesASocketLeftByADeadCopy();
    void otherRequests_areRefused_andOpenNothing();
    void requestInPieces_isReadWhole();
    void silentOrVanishedClients_doNotStopTheNext();
    void socket_isPrivate_andGoesWithTheCopy();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("errorNames");

    const auto args = [](std::initializer_list<const char *> words) {
        QStringList list {QStringLiteral("zarvo")};
        for (const char *word : words)
            list << QString::fromUtf8(word);
        return list;
    };
    QTest::newRow("nothing") << args({}) << Action::Start << false << QString();
    QTest::newRow("--add") << args({"--add"}) << Action::Start << true << QString();
    QTest::newRow("-add") << args({"-add"}) << Action::Start << true << QString();
    QTest::newRow("--help") << args({"--help"}) << Action::Help << false << QString();
    QTest::newRow("-h") << args({"-h"}) << Action::Help << false << QString();
    QTest::newRow("help wins over add") << args({"--add", "--help"}) << Action::Help << true << QString();
    QTest::newRow("--version") << args({"--version"}) << Action::Version << false << QString();
    QTest::newRow("-v") << args({"-v"}) << Action::Version << false << QString();
    // A desktop session restarts a Qt program with -session; that start must go on.
    QTest::newRow("session restart") << args({"-session", "10d2f3a4b5"}) << Action::Start << false
                                     << QString();
    QTest::newRow("Qt options with --add")
        << args({"-platform", "offscreen", "-style=fusion", "-reverse", "--add"}) << Action::Start << true
        << QString();
    QTest::newRow("misspelt") << args({"--hlep"}) << Action::Error << false << QStringLiteral("«--hlep»");
    QTest::newRow("single dash word")
        << args({"-adds"}) << Action::Error << false << QStringLiteral("«-adds»");
    QTest::newRow("value for a flag") << args({"--add=yes"}) << Action::Error << false << QString();
    QTest::newRow("stray argument") << args({"task.zct"}) << Action::Error << false
                                    << QStringLiteral("«task.zct»");
    QTest::newRow("Qt option without its value")
        << args({"-platform"}) << Action::Error << false << QString();
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(bool, add);
    QFETCH(QString, errorNames);

    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    QCOMPARE(parsed.action, action);
    if (action == Action::Error) {
        QVERIFY2(!parsed.error.isEmpty(), "an error without a message");
        QVERIFY2(!parsed.error.contains(QLatin1Char('\n')), qPrintable(parsed.error));
        if (!errorNames.isEmpty())
            QVERIFY2(parsed.error.contains(errorNames), qPrintable(parsed.error));
        return;
    }
    QCOMPARE(parsed.openAddDialog, add);
}

void TestCommandLine::helpText_namesEveryOption()
{
    const QString help = HelpText();
    for (const char *option : {"--add", "-h, --help", "-v, --version"})
        QVERIFY2(help.contains(QString::fromUtf8(option)), option);
    // Qt's options are accepted but are not ours to explain.
    QVERIFY(!help.contains(QStringLiteral("session")));
    QVERIFY(VersionText().startsWith(QStringLiteral("Zarvo 1.")));
}

namespace {

// Runs SendAddRequest on a thread of its own, as a later start would from its own process, while
// this thread's event loop serves the listening copy.
bool SendFromAnotherThread(const QString &folder, int timeoutMs = 5000)
{
    std::atomic<bool> sent = false;
    std::unique_ptr<QThread> thread(
        QThread::create([&] { sent = InstanceChannel::SendAddRequest(folder, timeoutMs); }));
    thread->start();
    while (!thread->wait(10))
        QCoreApplication::processEvents();
    return sent;
}

// Sends REQUEST in the given pieces from another thread and returns the copy's answer.
QByteArray Exchange(const QString &folder, const QList<QByteArray> &pieces)
{
    QByteArray reply;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        QLocalSocket socket;
        socket.connectToServer(InstanceChannel::SocketPath(folder));
        if (!socket.waitForConnected(5000))
            return;
        for (const QByteArray &piece : pieces) {
            socket.write(piece);
            socket.waitForBytesWritten(5000);
            QThread::msleep(50);
        }
        while (!reply.endsWith('\n') && socket.waitForReadyRead(5000))
            reply += socket.readAll();
    }));
    thread->start();
    while (!thread->wait(10))
        QCoreApplication::processEvents();
    return reply;
}

} // namespace

void TestCommandLine::addRequest_reachesTheListeningCopy()
{
    QTemporaryDir dir;
    InstanceChannel channel;
    QSignalSpy requested(&channel, &InstanceChannel::AddRequested);
    QVERIFY(channel.Listen(dir.path()));

    QCOMPARE(SendFromAnotherThread(dir.path()), true);
    QCOMPARE(requested.count(), 1);
    // Each request counts once; the channel stays open for the next.
    QCOMPARE(SendFromAnotherThread(dir.path()), true);
    QCOMPARE(requested.count(), 2);
}

void TestCommandLine::addRequest_withNoCopy_fails()
{
    QTemporaryDir dir;
    QCOMPARE(InstanceChannel::SendAddRequest(dir.path(), 2000), false);
    {
        InstanceChannel ended;
        QVERIFY(ended.Listen(dir.path()));
    }
    QCOMPARE(InstanceChannel::SendAddRequest(dir.path(), 2000), false);
}

void TestCommandLine::listen_replacesASocketLeftByADeadCopy()
{
    QTemporaryDir dir;
    // A killed copy leaves its socket file behind, with nobody listening.
    const QByteArray path = InstanceChannel::SocketPath(dir.path()).toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
    QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));
    QCOMPARE(InstanceChannel::SendAddRequest(dir.path(), 2000), false);

    InstanceChannel channel;
    QSignalSpy requested(&channel, &InstanceChannel::AddRequested);
    QVERIFY(channel.Listen(dir.path()));
    QCOMPARE(SendFromAnotherThread(dir.path()), true);
    QCOMPARE(requested.count(), 1);
}

void TestCommandLine::otherRequests_areRefused_andOpenNothing()
{
    QTemporaryDir dir;
    InstanceChannel channel;
    QSignalSpy requested(&channel, &InstanceChannel::AddRequested);
    QVERIFY(channel.Listen(dir.path()));

    QCOMPARE(Exchange(dir.path(), {QByteArrayLiteral("quit\n")}), QByteArrayLiteral("unknown\n"));
    QCOMPARE(Exchange(dir.path(), {QByteArrayLiteral("add now\n")}), QByteArrayLiteral("unknown\n"));
    // A line longer than any request is cut off, not collected without end.
    QCOMPARE(Exchange(dir.path(), {QByteArray(1000, 'a')}), QByteArray());
    QCOMPARE(requested.count(), 0);
}

void TestCommandLine::requestInPieces_isReadWhole()
{
    QTemporaryDir dir;
    InstanceChannel channel;
    QSignalSpy requested(&channel, &InstanceChannel::AddRequested);
    QVERIFY(channel.Listen(dir.path()));

    QCOMPARE(
        Exchange(dir.path(), {QByteArrayLiteral("a"), QByteArrayLiteral("dd\n")}), QByteArrayLiteral("ok\n"));
    QCOMPARE(requested.count(), 1);
}

void TestCommandLine::silentOrVanishedClients_doNotStopTheNext()
{
    QTemporaryDir dir;
    InstanceChannel channel;
    QSignalSpy requested(&channel, &InstanceChannel::AddRequested);
    QVERIFY(channel.Listen(dir.path()));
    const QByteArray path = InstanceChannel::SocketPath(dir.path()).toLocal8Bit();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);

    // One start connects and says nothing; another says half a request and goes.
    const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::connect(silent, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const int vanished = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::connect(vanished, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    QCOMPARE(::write(vanished, "ad", 2), ssize_t(2));
    ::close(vanished);
    QTest::qWait(50);

    QCOMPARE(SendFromAnotherThread(dir.path()), true);
    QCOMPARE(requested.count(), 1);
    ::close(silent);
}

void TestCommandLine::socket_isPrivate_andGoesWithTheCopy()
{
    QTemporaryDir dir;
    const QByteArray path = InstanceChannel::SocketPath(dir.path()).toLocal8Bit();
    {
        InstanceChannel channel;
        QVERIFY(channel.Listen(dir.path()));
        struct stat status { };
        QCOMPARE(::stat(path.constData(), &status), 0);
        QVERIFY(S_ISSOCK(status.st_mode));
        QCOMPARE(status.st_mode & 0777, mode_t(0600));
    }
    QVERIFY(!QFile::exists(QString::fromLocal8Bit(path)));

    // A folder whose socket path does not fit a local address is refused, not cut short.
    InstanceChannel deep;
    QVERIFY(!deep.Listen(dir.filePath(QString(120, QLatin1Char('d')))));
}

ZARVO_TEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
