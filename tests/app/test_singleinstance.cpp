#include "support/TestMain.h"
#include "Singleinstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondHolder_isRefused_untilTheFirstEnds();
    void lockOfADeadProcess_isTakenOver();
    void lockFolderMissing_countsAsRunning();
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
    QFile lock(dir.filePath(QStringLiteral("OneOnly")));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nzarvo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();

    SingleInstance instance(dir.path());
    QCOMPARE(instance.TryAcquire(), true);
}

void TestSingleInstance::lockFolderMissing_countsAsRunning()
{
    QTemporaryDir dir;
    SingleInstance instance(dir.filePath(QStringLiteral("no/such/folder")));
    QCOMPARE(instance.TryAcquire(), false);
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
