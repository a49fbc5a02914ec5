#include "Earlycaption.h"
#include "Singleinstance.h"
#include "support/FileHelpers.h"
#include "support/TestMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondHolder_isRefused_untilTheFirstEnds();
    void lockOfADeadProcess_isTakenOver();
    void lockFolderMissing_countsAsRunning();
    void lockOfAnotherProcess_holdsUntilThatProcessIsKilled();
    void recordNamingALiveProcess_holdsNothingByItself();
    void holder_isRecordedForEarlierVersions();
    void linkInPlaceOfTheLockFile_isNotFollowed();
    void earlyCaption_isFileNameCutAtFirstDot_data();
    void earlyCaption_isFileNameCutAtFirstDot();
};

void TestSingleInstance::secondHolder_isRefused_untilTheFirstEnds()
{
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    QCOMPARE(first->TryAcquire(), true);

    SingleInstance second(dir.path());
    QCOMPARE(second.TryAcquire(), false);

    first.reset();
    SingleInstance third(dir.path());
    QCOMPARE(third.TryAcquire(), true);
}

void TestSingleInstance::lockOfADeadProcess_isTakenOver()
{
    QTemporaryDir dir;
    // A process that has ended leaves a lock naming its id, as a killed copy would.
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"));
    QVERIFY(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    QVERIFY(gone.waitForFinished());
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("OneOnly")),
        QByteArray::number(deadPid) + "\nzarvo\n" + QSysInfo::machineHostName().toUtf8() + "\n"));

    SingleInstance instance(dir.path());
    QCOMPARE(instance.TryAcquire(), true);
}

void TestSingleInstance::lockFolderMissing_countsAsRunning()
{
    QTemporaryDir dir;
    SingleInstance instance(dir.filePath(QStringLiteral("no/such/folder")));
    QCOMPARE(instance.TryAcquire(), false);
}

void TestSingleInstance::lockOfAnotherProcess_holdsUntilThatProcessIsKilled()
{
    QTemporaryDir dir;
    const QString lockPath = dir.filePath(QStringLiteral("OneOnly"));
    QProcess holder;
    // The shell's descriptor carries the lock into sleep, the only process left holding it.
    holder.start(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec 9>\"$1\" && flock -x 9 && echo held && exec sleep 60"),
            QStringLiteral("sh"), lockPath});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));

    SingleInstance whileHeld(dir.path());
    QCOMPARE(whileHeld.TryAcquire(), false);

    // Killed, it cannot clean up after itself; its lock goes with it all the same.
    holder.kill();
    QVERIFY(holder.waitForFinished());
    SingleInstance afterwards(dir.path());
    QCOMPARE(afterwards.TryAcquire(), true);
}

void TestSingleInstance::recordNamingALiveProcess_holdsNothingByItself()
{
    QTemporaryDir dir;
    // The id of a dead copy, since reused by a running process of the same name.
    QProcess reuser;
    reuser.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    QVERIFY(reuser.waitForStarted());
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("OneOnly")),
        QByteArray::number(reuser.processId()) + "\nsleep\n" + QSysInfo::machineHostName().toUtf8() + "\n"));

    SingleInstance instance(dir.path());
    QCOMPARE(instance.TryAcquire(), true);
    reuser.kill();
    reuser.waitForFinished();
}

void TestSingleInstance::holder_isRecordedForEarlierVersions()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("OneOnly")),
        "a much longer record left behind by an earlier holder\nzarvo\nsomewhere\n"));

    SingleInstance instance(dir.path());
    QVERIFY(instance.TryAcquire());
    const QList<QByteArray> lines = readBytes(dir.filePath(QStringLiteral("OneOnly"))).split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), QByteArray::number(QCoreApplication::applicationPid()));
    QCOMPARE(lines.at(1), QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8());
    QCOMPARE(lines.at(2), QSysInfo::machineHostName().toUtf8());
}

void TestSingleInstance::linkInPlaceOfTheLockFile_isNotFollowed()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("someone-elses-file"));
    QVERIFY(writeBytes(target, "keep me"));
    QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("OneOnly"))));

    SingleInstance instance(dir.path());
    QCOMPARE(instance.TryAcquire(), false);
    QCOMPARE(readBytes(target), QByteArray("keep me"));
}

void TestSingleInstance::earlyCaption_isFileNameCutAtFirstDot_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");

    QTest::newRow("plain") << QStringLiteral("/usr/bin/zarvo") << QStringLiteral("zarvo");
    QTest::newRow("one dot") << QStringLiteral("/opt/z/zarvo.bin") << QStringLiteral("zarvo");
    QTest::newRow("two dots") << QStringLiteral("/a.b/zarvo.1.0.exe") << QStringLiteral("zarvo");
    QTest::newRow("leading dot") << QStringLiteral("/x/.zarvo") << QString();
}

void TestSingleInstance::earlyCaption_isFileNameCutAtFirstDot()
{
    QFETCH(QString, path);
    QFETCH(QString, caption);
    QCOMPARE(EarlyCaption(path), caption);
}

ZARVO_TEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
