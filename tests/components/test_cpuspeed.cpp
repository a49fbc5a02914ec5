#include "support/TestMain.h"
#include "Cpuspeed.h"
#include "Cyclecounter.h"

#include <QTest>

namespace {

// A counter that jumps 1000 ticks (1 ms at 1 MHz) per read, and a time-stamp counter that
// advances so that trial k measures results[k] cycles per microsecond (the last one repeating).
class ScriptedCounter final : public CycleCounter {
public:
    explicit ScriptedCounter(QList<qint64> results, bool available = true, quint32 stampStart = 0)
        : m_results(std::move(results))
        , m_available(available)
        , m_stamp(stampStart)
    {
    }

    bool Frequency(qint64 &ticksPerSecond) override
    {
        ticksPerSecond = 1'000'000;
        return m_available;
    }
    qint64 Counter() override { return 1000 * ++m_counterReads; }
    quint32 TimeStamp() override
    {
        // Reads alternate: a trial's start, then its end.
        const qint64 trial = m_stampReads / 2;
        if (m_stampReads++ % 2 == 0) {
            m_stamp += 4321; // time between trials
        } else {
            const qint64 perMicrosecond = m_results.value(trial, m_results.last());
            m_stamp += quint32(perMicrosecond * 1000);
        }
        return m_stamp;
    }
    void RaisePriority() override { ++trials; }
    void RestorePriority() override { ++restored; }

    int trials = 0;
    int restored = 0;

private:
    QList<qint64> m_results;
    bool m_available;
    quint32 m_stamp;
    qint64 m_counterReads = 0;
    qint64 m_stampReads = 0;
};

} // namespace

class TestCpuSpeed : public QObject {
    Q_OBJECT

private slots:
    void snapToClockRating_data();
    void snapToClockRating();
    void roundedQuotient_data();
    void roundedQuotient();
    void combinedSpeed_data();
    void combinedSpeed();
    void trialsAgree_data();
    void trialsAgree();
    void measure_repeatsTrialsUntilThreeAgree_data();
    void measure_repeatsTrialsUntilThreeAgree();
    void measure_withoutCounter_isZero();
    void measure_survivesTimeStampWrap();
    void pause_runsItsWholeCount_andNoneForZeroOrLess();
};

void TestCpuSpeed::snapToClockRating_data()
{
    QTest::addColumn<int>("measured");
    QTest::addColumn<int>("snapped");
    QTest::newRow("down to 90") << 2394 << 2390;
    QTest::newRow("tie 95 goes up") << 1995 << 2000;
    QTest::newRow("already 33") << 733 << 733;
    QTest::newRow("tie 85 goes up") << 1985 << 1990;
    QTest::newRow("down to 66") << 1967 << 1966;
    QTest::newRow("round hundred") << 1000 << 1000;
    QTest::newRow("up to 20") << 518 << 520;
    QTest::newRow("down to 0") << 3009 << 3000;
    QTest::newRow("tie 10 goes up") << 210 << 220;
    QTest::newRow("up to 50") << 442 << 450;
    QTest::newRow("nothing measured") << 0 << 0;
}

void TestCpuSpeed::snapToClockRating()
{
    QFETCH(int, measured);
    QFETCH(int, snapped);
    QCOMPARE(SnapToClockRating(measured), snapped);
}

void TestCpuSpeed::roundedQuotient_data()
{
    QTest::addColumn<qint64>("numerator");
    QTest::addColumn<qint64>("denominator");
    QTest::addColumn<qint64>("quotient");
    QTest::newRow("exact") << qint64(2400000) << qint64(1000) << qint64(2400);
    QTest::newRow("half goes up") << qint64(5) << qint64(2) << qint64(3);
    QTest::newRow("below half goes down") << qint64(2394499) << qint64(1000) << qint64(2394);
    QTest::newRow("above half goes up") << qint64(2394501) << qint64(1000) << qint64(2395);
    QTest::newRow("no denominator") << qint64(7) << qint64(0) << qint64(0);
}

void TestCpuSpeed::roundedQuotient()
{
    QFETCH(qint64, numerator);
    QFETCH(qint64, denominator);
    QFETCH(qint64, quotient);
    QCOMPARE(RoundedQuotient(numerator, denominator), quotient);
}

void TestCpuSpeed::combinedSpeed_data()
{
    QTest::addColumn<qint64>("cycles");
    QTest::addColumn<qint64>("microseconds");
    QTest::addColumn<int>("megahertz");
    QTest::newRow("whole") << qint64(3000000) << qint64(1000) << 3000;
    QTest::newRow("x.46 stays") << qint64(2394460) << qint64(1000) << 2394;
    QTest::newRow("x.5 goes up") << qint64(2394500) << qint64(1000) << 2395;
    QTest::newRow("over many trials") << qint64(421000) << qint64(5000) << 84;
    QTest::newRow("no time") << qint64(1000) << qint64(0) << 0;
}

void TestCpuSpeed::combinedSpeed()
{
    QFETCH(qint64, cycles);
    QFETCH(qint64, microseconds);
    QFETCH(int, megahertz);
    QCOMPARE(CombinedSpeed(cycles, microseconds), megahertz);
}

void TestCpuSpeed::trialsAgree_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<qint64>("c");
    QTest::addColumn<bool>("agree");
    QTest::newRow("equal") << qint64(2400) << qint64(2400) << qint64(2400) << true;
    QTest::newRow("within one of the mean") << qint64(100) << qint64(101) << qint64(102) << true;
    QTest::newRow("one too far") << qint64(100) << qint64(101) << qint64(103) << false;
    QTest::newRow("outlier first") << qint64(90) << qint64(100) << qint64(100) << false;
    QTest::newRow("one two above the others") << qint64(100) << qint64(100) << qint64(102) << false;
    QTest::newRow("one one above the others") << qint64(100) << qint64(100) << qint64(101) << true;
}

void TestCpuSpeed::trialsAgree()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(qint64, c);
    QFETCH(bool, agree);
    QCOMPARE(TrialsAgree(a, b, c), agree);
}

void TestCpuSpeed::measure_repeatsTrialsUntilThreeAgree_data()
{
    QTest::addColumn<QList<qint64>>("results");
    QTest::addColumn<int>("trials");
    QTest::addColumn<int>("megahertz");
    QTest::newRow("three alike at once") << QList<qint64> {2394, 2394, 2394} << 3 << 2390;
    QTest::newRow("settles after two bad trials") << QList<qint64> {50, 70, 100, 100, 101} << 5 << 80;
    QTest::newRow("never settles: twenty trials") << QList<qint64> {100, 110, 100, 110, 100, 110, 100, 110,
        100, 110, 100, 110, 100, 110, 100, 110, 100, 110, 100, 110, 100}
                                                  << 20 << 100; // 105 snaps to 100
}

void TestCpuSpeed::measure_repeatsTrialsUntilThreeAgree()
{
    QFETCH(QList<qint64>, results);
    QFETCH(int, trials);
    QFETCH(int, megahertz);
    ScriptedCounter counter(results);
    QCOMPARE(MeasureCpuSpeed(counter), megahertz);
    QCOMPARE(counter.trials, trials);
    QCOMPARE(counter.restored, trials);
}

void TestCpuSpeed::measure_withoutCounter_isZero()
{
    ScriptedCounter counter({2400}, false);
    QCOMPARE(MeasureCpuSpeed(counter), 0);
    QCOMPARE(counter.trials, 0);
}

void TestCpuSpeed::measure_survivesTimeStampWrap()
{
    // The low 32 bits of the time-stamp counter wrap every few seconds.
    ScriptedCounter counter({1800}, true, 0xFFFFFFFFu - 500000u);
    QCOMPARE(MeasureCpuSpeed(counter), 1800);
}

void TestCpuSpeed::pause_runsItsWholeCount_andNoneForZeroOrLess()
{
    QCOMPARE(CalibratedPause(0, 100), 0);
    QCOMPARE(CalibratedPause(2400, 0), 0);
    QCOMPARE(CalibratedPause(-5, 100), 0);
    QCOMPARE(CalibratedPause(100, -5), 0);
    // A wait that is not empty runs its whole count: megahertz x delay.
    QCOMPARE(CalibratedPause(3, 7), 21);
}

ZARVO_TEST_GUILESS_MAIN(TestCpuSpeed)
#include "test_cpuspeed.moc"
