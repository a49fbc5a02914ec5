// Opening what a run-program task names: programs are started, everything else goes to the
// desktop's handler, and what cannot be opened is skipped without a word.

#include "support/TestMain.h"
#include "Openerservice.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

bool WriteFile(const QString &path, const QByteArray &bytes, bool executable)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    if (executable)
        return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return true;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Stands in for the desktop's handler of a URL scheme.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestOpener : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QList<QUrl> m_handed; // what reached the desktop's handler
    std::unique_ptr<OpenerService> m_opener
        = CreateOpenerService([this](const QUrl &url) { m_handed << url; });

    QString Path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void init() { m_handed.clear(); }

    void programIsStartedInItsFolder()
    {
        QVERIFY(m_dir.isValid());
        const QString marker = Path(QStringLiteral("started.txt"));
        const QString script = Path(QStringLiteral("program.sh"));
        QVERIFY(WriteFile(script, "#!/bin/sh\npwd > started.txt\n", true));

        m_opener->Open(script);

        QTRY_VERIFY(QFile::exists(marker) && !ReadFile(marker).isEmpty());
        QCOMPARE(ReadFile(marker).trimmed(), QFile::encodeName(m_dir.path()));
        QCOMPARE(m_handed, QList<QUrl>());
    }

    // A started program outlives us in a session of its own, and once it ends it is collected:
    // it never lingers as a zombie child for the rest of a long-running day.
    void programRunsInItsOwnSessionAndIsCollectedWhenItEnds()
    {
        const QString ids = Path(QStringLiteral("ids.txt"));
        const QString script = Path(QStringLiteral("session.sh"));
        // Fields 1 and 6 of /proc/PID/stat are the process and its session.
        QVERIFY(WriteFile(script,
            "#!/bin/sh\nread -r pid comm state ppid group session rest < /proc/$$/stat\n"
            "echo \"$pid $session\" > ids.tmp && mv ids.tmp ids.txt\n",
            true));

        m_opener->Open(script);

        QTRY_VERIFY(QFile::exists(ids));
        const QList<QByteArray> fields = ReadFile(ids).trimmed().split(' ');
        QCOMPARE(fields.size(), 2);
        const QByteArray pid = fields[0];
        QCOMPARE(fields[1], pid);
        QVERIFY(pid.toLong() != long(getsid(0)));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(QStringLiteral("/proc/") + QString::fromLatin1(pid)), 10000);
        QCOMPARE(m_handed, QList<QUrl>());
    }

    void everythingElseGoesToTheDesktop_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("executable");

        QTest::newRow("document") << "letter.txt" << QByteArray("Дорогой друг") << false;
        QTest::newRow("document with a space in its name") << "my notes.odt" << QByteArray("x") << false;
        // Files on Windows drives all carry the executable bit; such a document is still opened.
        QTest::newRow("executable bit but no program") << "table.csv" << QByteArray("a;b\n1;2\n") << true;
    }

    void everythingElseGoesToTheDesktop()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, executable);
        QVERIFY(WriteFile(Path(name), content, executable));

        m_opener->Open(Path(name));

        QCOMPARE(m_handed, QList<QUrl> {QUrl::fromLocalFile(Path(name))});
    }

    void folderGoesToTheDesktop()
    {
        m_opener->Open(m_dir.path());
        QCOMPARE(m_handed, QList<QUrl> {QUrl::fromLocalFile(m_dir.path())});
    }

    void nothingToOpenIsSkipped_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << QString();
        QTest::newRow("deleted file") << Path(QStringLiteral("gone.exe"));
        QTest::newRow("missing folder") << Path(QStringLiteral("no/such/folder/file.txt"));
    }

    void nothingToOpenIsSkipped()
    {
        QFETCH(QString, path);
        m_opener->Open(path);
        QCOMPARE(m_handed, QList<QUrl>());
    }

    void urlsGoToTheDesktopUnchanged()
    {
        const QUrl mail(QStringLiteral("mailto:zarvo@example.org?x-priority=normal&subject=Zarvo_1.0"));
        const QUrl page(QStringLiteral("https://www.example.org/zarvo/"));
        m_opener->OpenUrl(mail);
        m_opener->OpenUrl(page);
        m_opener->OpenUrl(QUrl());
        QCOMPARE(m_handed, (QList<QUrl> {mail, page}));
    }

    // Without a handler of its own the service hands documents and links to the desktop's.
    void withoutHandlerTheDesktopsIsUsed()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        const QString document = Path(QStringLiteral("report.txt"));
        QVERIFY(WriteFile(document, "text", false));

        const std::unique_ptr<OpenerService> opener = CreateOpenerService();
        opener->Open(document);
        opener->OpenUrl(QUrl(QStringLiteral("mailto:zarvo@example.org")));

        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        const QList<QUrl> expected {
            QUrl::fromLocalFile(document), QUrl(QStringLiteral("mailto:zarvo@example.org"))};
        QCOMPARE(catcher.urls, expected);
    }
};

ZARVO_TEST_MAIN(TestOpener)
#include "test_opener.moc"
