#include "support/TestMain.h"
#include "Errors.h"
#include "Messages.h"
#include "Savedfile.h"
#include "support/FileHelpers.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

void setAge(const QString &path, int seconds)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(
        QDateTime::currentDateTimeUtc().addSecs(-seconds), QFileDevice::FileModificationTime));
}

// Unblocks a reader that opened the FIFO (as the old code did) after a few seconds, so that a
// failing run ends instead of hanging: the reader then sees an empty file.
class FifoRescue {
public:
    explicit FifoRescue(const QString &fifo)
        : m_thread([this, path = QFile::encodeName(fifo)] {
            for (int i = 0; i < 30 && !m_done; ++i) {
                ::usleep(100000);
                const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ::close(fd);
                    return;
                }
            }
        })
    {
    }
    ~FifoRescue()
    {
        m_done = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_done {false};
    std::thread m_thread;
};

} // namespace

class SavedFileTest : public QObject {
    Q_OBJECT

private slots:
    void staleTemporaries_onlyOursAndOnlyOldOnesAreRemoved()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ztasks.zct"));
        writeBytes(file, "tasks");
        const QStringList old {QStringLiteral("ztasks.zct.AbC123"), QStringLiteral("ztasks.zct.qwerty")};
        const QStringList kept {QStringLiteral("ztasks.zct.young1"), QStringLiteral("ztasks.zct.bak"),
            QStringLiteral("ztasks.zct.ABCDEFG"), QStringLiteral("ztasks.zct.AB-123"),
            QStringLiteral("other.zct.ABC123"), QStringLiteral("ztasks.zctXABC123")};
        for (const QString &name : old + kept) {
            writeBytes(dir.filePath(name), "partial");
            if (name != u"ztasks.zct.young1")
                setAge(dir.filePath(name), 3600);
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ztasks.zct.FOLDER")));

        const QStringList removed = RemoveStaleSaveTemporaries(file);

        QCOMPARE(removed.size(), old.size());
        for (const QString &name : old)
            QVERIFY2(!QFileInfo::exists(dir.filePath(name)), qPrintable(name));
        for (const QString &name : kept)
            QVERIFY2(QFileInfo::exists(dir.filePath(name)), qPrintable(name));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("ztasks.zct.FOLDER"))).isDir());
        QCOMPARE(readBytes(file), QByteArray("tasks"));
    }

    void save_throughASymlink_keepsTheTargetsOwnerAndMode()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("real.zct"));
        const QString link = dir.filePath(QStringLiteral("ztasks.zct"));
        writeBytes(target, "old\r\n");
        QVERIFY(QFile::link(target, link));
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
        const bool root = ::geteuid() == 0;
        // As root the file is handed to another user first: a save must not take it over.
        const uid_t owner = root ? 65534 : ::geteuid();
        const gid_t group = root ? 65534 : ::getegid();
        if (root)
            QVERIFY(::chown(QFile::encodeName(target).constData(), owner, group) == 0);

        TxtFile file;
        file.FileName = link;
        file.Load();
        file.SetLine(0, QStringLiteral("new"));
        file.Save();

        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readBytes(target), QByteArray("new\r\n"));
        struct stat st { };
        QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0);
        QCOMPARE(st.st_uid, owner);
        QCOMPARE(st.st_gid, group);
        QCOMPARE(int(st.st_mode & 07777), 0640);
    }

    void load_specialFile_isRefusedWithItsPath_neverOpened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("symlink to a FIFO") << QStringLiteral("link");
        QTest::newRow("folder") << QStringLiteral("folder");
    }
    void load_specialFile_isRefusedWithItsPath_neverOpened()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ztasks.zct"));
        const QString fifo = dir.filePath(QStringLiteral("pipe"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        if (kind == u"fifo")
            QVERIFY(QFile::rename(fifo, path));
        else if (kind == u"link")
            QVERIFY(QFile::link(fifo, path));
        else
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ztasks.zct")));
        FifoRescue rescue(kind == u"fifo" ? path : fifo);

        TxtFile file;
        file.FileName = path;
        QString error;
        try {
            file.Load();
        } catch (const ZarvoError &e) {
            error = e.text();
        }
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY2(error.contains(kind == u"folder" ? Msg::ReasonIsFolder : Msg::ReasonNotRegular),
            qPrintable(error));
    }

    void locate_userFileInAnUnwritableProgramFolder_isCopiedOnce_thenUsedFromTheDataFolder()
    {
        // <prefix>/bin beside <prefix>/share/zarvo: a folder the tasks never go to, as one that
        // cannot be written.
        QTemporaryDir prefix, dataHome;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/zarvo")));
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        const QString programFile = bin + QStringLiteral("/ztasks.zct");
        const QByteArray tasks = block({"%>>", "1", "9:05:00", "NULL", "NULL", "NULL", "true"});
        writeBytes(programFile, tasks);
        QVERIFY(::chmod(QFile::encodeName(programFile).constData(), 0444) == 0);
        const QString dataFile = dataHome.filePath(QStringLiteral("Zarvo/ztasks.zct"));

        const TaskFileLocation first = LocateTaskFile(bin, dataHome.path());
        QCOMPARE(first.path, dataFile);
        QCOMPARE(first.notice, Msg::TaskFileCopied.arg(programFile, dataFile));
        QCOMPARE(readBytes(dataFile), tasks);
        QVERIFY(QFileInfo(dataFile).permissions() & QFileDevice::WriteOwner); // the copy can be saved

        const TaskFileLocation second = LocateTaskFile(bin, dataHome.path());
        QCOMPARE(second.path, dataFile);
        QCOMPARE(second.notice, QString()); // said once

        // The program folder's file changes (a new copy of the program): both are named.
        writeBytes(dataFile, tasks + tasks);
        const TaskFileLocation third = LocateTaskFile(bin, dataHome.path());
        QCOMPARE(third.path, dataFile);
        QCOMPARE(third.notice, Msg::TaskFileBesideProgramUnused.arg(programFile, dataFile));
        QCOMPARE(readBytes(dataFile), tasks + tasks); // never overwritten
    }

    void locate_programFileThatCannotBeCopied_isUsedWhereItIs_andSaid()
    {
        QTemporaryDir prefix, dataHome;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/zarvo")));
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        const QString programFile = bin + QStringLiteral("/ztasks.zct");
        QVERIFY(::mkfifo(QFile::encodeName(programFile).constData(), 0600) == 0);
        FifoRescue rescue(programFile);

        const TaskFileLocation location = LocateTaskFile(bin, dataHome.path());

        QCOMPARE(location.path, programFile);
        QVERIFY2(location.notice.contains(programFile) && location.notice.contains(Msg::ReasonNotRegular),
            qPrintable(location.notice));
        QVERIFY(!QFileInfo::exists(dataHome.filePath(QStringLiteral("Zarvo/ztasks.zct"))));
    }
};

ZARVO_TEST_GUILESS_MAIN(SavedFileTest)
#include "test_savedfile.moc"
