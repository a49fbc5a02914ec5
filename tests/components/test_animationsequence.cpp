#include "support/TestMain.h"
#include "Animationsequence.h"

#include <QMap>
#include <QTest>

namespace {

struct Recorded {
    int draws = 0;
    int erases = 0;
    int pauses = 0;
    bool hasExtraErase = false;
    int extraEraseStep = -1;
    int mostVisible = 0;
    QMap<int, int> drawingsPerStep; // draws and erases alike, both invert
};

Recorded Record(bool show, int steps, int frames)
{
    Recorded r;
    QMap<int, bool> visible;
    bool lastWasPause = true;
    int lastStep = -1;
    RunAnimationSequence(
        show, steps, frames,
        [&](TAnimationType phase, int step) {
            if (!lastWasPause) { // a select not followed by a pause: the extra erase
                r.hasExtraErase = true;
                r.extraEraseStep = step;
            }
            (phase == atDraw ? r.draws : r.erases) += 1;
            r.drawingsPerStep[step] += 1;
            visible[step] = !visible.value(step);
            r.mostVisible = qMax(r.mostVisible, int(std::count(visible.begin(), visible.end(), true)));
            lastWasPause = false;
            lastStep = step;
        },
        [&] {
            ++r.pauses;
            lastWasPause = true;
        });
    if (!lastWasPause) {
        r.hasExtraErase = true;
        r.extraEraseStep = lastStep;
        --r.erases; // counted apart
    }
    return r;
}

} // namespace

class TestAnimationSequence : public QObject {
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
    void everyStepIsDrawnAnEvenNumberOfTimes_data() { counts_data(); }
    void everyStepIsDrawnAnEvenNumberOfTimes();
    void showing_leavesATrailOfFramesOutlines();
    void hiding_runsTheStepsBackwards();
};

void TestAnimationSequence::counts_data()
{
    QTest::addColumn<bool>("show");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("draws");
    QTest::addColumn<int>("erases");
    QTest::addColumn<int>("pauses");
    QTest::addColumn<int>("extraEraseStep");
    QTest::newRow("show 50 steps, 6 frames") << true << 50 << 6 << 50 << 51 << 101 << 50;
    QTest::newRow("hide 50 steps, 6 frames") << false << 50 << 6 << 50 << 50 << 100 << 0;
    QTest::newRow("show without a trail") << true << 10 << 0 << 10 << 11 << 21 << 10;
    QTest::newRow("hide without a trail") << false << 10 << 0 << 10 << 10 << 20 << 0;
    QTest::newRow("show, trail longer than the steps") << true << 3 << 8 << 3 << 4 << 7 << 3;
    QTest::newRow("hide, trail longer than the steps") << false << 3 << 8 << 3 << 3 << 6 << 0;
    QTest::newRow("show in one step") << true << 1 << 6 << 1 << 2 << 3 << 1;
}

void TestAnimationSequence::counts()
{
    QFETCH(bool, show);
    QFETCH(int, steps);
    QFETCH(int, frames);
    QFETCH(int, draws);
    QFETCH(int, erases);
    QFETCH(int, pauses);
    QFETCH(int, extraEraseStep);
    const Recorded r = Record(show, steps, frames);
    QCOMPARE(r.draws, draws);
    QCOMPARE(r.erases, erases);
    QCOMPARE(r.pauses, pauses);
    QVERIFY(r.hasExtraErase);
    QCOMPARE(r.extraEraseStep, extraEraseStep);
}

void TestAnimationSequence::everyStepIsDrawnAnEvenNumberOfTimes()
{
    QFETCH(bool, show);
    QFETCH(int, steps);
    QFETCH(int, frames);
    const Recorded r = Record(show, steps, frames);
    for (auto it = r.drawingsPerStep.cbegin(); it != r.drawingsPerStep.cend(); ++it)
        // Hiding ends with an extra erase of step 0, which every figure draws as nothing.
        if (show || it.key() != 0)
            QVERIFY2(it.value() % 2 == 0,
                qPrintable(QStringLiteral("step %1 drawn %2 times").arg(it.key()).arg(it.value())));
}

void TestAnimationSequence::showing_leavesATrailOfFramesOutlines()
{
    QList<int> drawn;
    QList<int> erased;
    RunAnimationSequence(
        true, 50, 6, [&](TAnimationType phase, int step) { (phase == atDraw ? drawn : erased).append(step); },
        [] {});
    QCOMPARE(drawn.first(), 0);
    QCOMPARE(drawn.last(), 49);
    QCOMPARE(erased.mid(0, 3), (QList<int> {0, 1, 2}));
    QCOMPARE(erased.mid(erased.size() - 2), (QList<int> {50, 50}));
    // Between the draw of a step and the erase `Frames` steps behind it there is a pause too.
    QCOMPARE(Record(true, 50, 6).mostVisible, 7);
}

void TestAnimationSequence::hiding_runsTheStepsBackwards()
{
    QList<QPair<TAnimationType, int>> calls;
    RunAnimationSequence(
        false, 50, 6,
        [&](TAnimationType phase, int step) {
            calls.append({phase, step});
        },
        [] {});
    QCOMPARE(calls.first(), qMakePair(atDraw, 49));
    QCOMPARE(calls.at(1), qMakePair(atDraw, 48));
    QCOMPARE(calls.at(6), qMakePair(atDraw, 43));
    QCOMPARE(calls.at(7), qMakePair(atErase, 49));
    QCOMPARE(calls.last(), qMakePair(atErase, 0));
    QCOMPARE(Record(false, 50, 6).mostVisible, 7);
}

ZARVO_TEST_GUILESS_MAIN(TestAnimationSequence)
#include "test_animationsequence.moc"
