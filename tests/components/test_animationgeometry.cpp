#include "support/TestMain.h"
#include "Animationgeometry.h"

#include <QRect>
#include <QTest>

#include <cmath>

namespace {

constexpr int Steps = 50;

bool Near(float a, float b, float tolerance = 0.01f)
{
    return std::fabs(a - b) <= tolerance;
}

bool Near(TFloatPoint a, TFloatPoint b, float tolerance = 0.01f)
{
    return Near(a.x, b.x, tolerance) && Near(a.y, b.y, tolerance);
}

QString Text(TFloatPoint p)
{
    return QStringLiteral("(%1, %2)").arg(p.x).arg(p.y);
}

TFigureFrame FrameOf(const QRect &form, TAnimationEffectType type)
{
    return FigureFrameFor(form.left(), form.top(), form.width(), form.height(), Steps, AngleParameter(type));
}

// Bounding box of the drawn outlines of a step.
QRect DrawnExtent(const std::vector<TFloatPolygon> &polygons)
{
    QRect extent;
    for (const TFloatPolygon &polygon : polygons) {
        const TOutline outline = OutlineOf(polygon);
        for (const QPoint &p : outline)
            extent |= QRect(p, QSize(1, 1));
    }
    return extent;
}

int DrawnCount(const std::vector<TFloatPolygon> &polygons)
{
    int n = 0;
    for (const TFloatPolygon &polygon : polygons)
        n += OutlineOf(polygon).isEmpty() ? 0 : 1;
    return n;
}

float Distance(TFloatPoint a, TFloatPoint b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

TFloatPoint Mean(const TFloatPolygon &polygon)
{
    TFloatPoint sum;
    for (const TFloatPoint &p : polygon) {
        sum.x += p.x;
        sum.y += p.y;
    }
    return {sum.x / float(polygon.size()), sum.y / float(polygon.size())};
}

} // namespace

class TestAnimationGeometry : public QObject {
    Q_OBJECT

private slots:
    void transforms_data();
    void transforms();
    void outlineOf_truncatesAndDropsPointFigures_data();
    void outlineOf_truncatesAndDropsPointFigures();
    void rectangleAround_withZeroHalfSize_isNothing();

    void forms_data();
    void spin_growsTurningAndEndsOnTheFormOutline();
    void spin_growsTurningAndEndsOnTheFormOutline_data() { forms_data(); }
    void vortex_fiveRectanglesSpiralIntoTheForm();
    void vortex_fiveRectanglesSpiralIntoTheForm_data() { forms_data(); }
    void scatterGather_gridConvergesOnTheFormExtent();
    void scatterGather_gridConvergesOnTheFormExtent_data() { forms_data(); }
    void spike_trianglesLeaveOnARingAndReturnIntoTheForm();
    void spike_trianglesLeaveOnARingAndReturnIntoTheForm_data() { forms_data(); }
    void fireworks_blastsFlyInAndMeetInTheFormOutline();
    void fireworks_blastsFlyInAndMeetInTheFormOutline_data() { forms_data(); }

    void squareForm_putsSpikeTargetsAndBlastPointsAtTheCentre();
    void fireworks_withoutBlasts_drawsNothing();
    void angleParameters();
};

void TestAnimationGeometry::transforms_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("expectedX");
    QTest::addColumn<float>("expectedY");
    // 0: quarter turn about (10, 10); 1: scale (2, 3) about (10, 10); 2: move (5, -5) then quarter
    // turn about the origin; 3: quarter turn about the origin then move (5, -5).
    QTest::newRow("turn about a pivot") << 0 << 20.f << 10.f << 10.f << 20.f;
    QTest::newRow("pivot stays put when turned") << 0 << 10.f << 10.f << 10.f << 10.f;
    QTest::newRow("scale about a pivot") << 1 << 12.f << 8.f << 14.f << 4.f;
    QTest::newRow("move, then turn") << 2 << 1.f << 0.f << 5.f << 6.f;
    QTest::newRow("turn, then move") << 3 << 1.f << 0.f << 5.f << -4.f;
}

void TestAnimationGeometry::transforms()
{
    QFETCH(int, which);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, expectedX);
    QFETCH(float, expectedY);
    const float quarter = 3.1415927f / 2;
    TMatrix m;
    switch (which) {
    case 0:
        m = RotationMatrix(quarter, {10, 10});
        break;
    case 1:
        m = ScalingMatrix(2, 3, {10, 10});
        break;
    case 2:
        m = TranslationMatrix(5, -5) * RotationMatrix(quarter, {0, 0});
        break;
    default:
        m = RotationMatrix(quarter, {0, 0}) * TranslationMatrix(5, -5);
        break;
    }
    const TFloatPoint result = Transform({x, y}, m);
    QVERIFY2(Near(result, {expectedX, expectedY}), qPrintable(Text(result)));
}

void TestAnimationGeometry::outlineOf_truncatesAndDropsPointFigures_data()
{
    QTest::addColumn<QList<float>>("coordinates");
    QTest::addColumn<QList<QPoint>>("expected");
    QTest::newRow("no points") << QList<float> {} << QList<QPoint> {};
    QTest::newRow("truncated toward zero")
        << QList<float> {1.9f, 2.2f, -1.7f, 5.5f, 3.f, -0.5f} << QList<QPoint> {{1, 2}, {-1, 5}, {3, 0}};
    QTest::newRow("shrunk to a point")
        << QList<float> {4.2f, 4.2f, 4.2f, 4.2f, 4.2f, 4.2f} << QList<QPoint> {};
    QTest::newRow("last equals first after truncation")
        << QList<float> {7.1f, 3.f, 20.f, 3.f, 7.9f, 3.5f} << QList<QPoint> {};
}

void TestAnimationGeometry::outlineOf_truncatesAndDropsPointFigures()
{
    QFETCH(QList<float>, coordinates);
    QFETCH(QList<QPoint>, expected);
    TFloatPolygon polygon;
    for (qsizetype i = 0; i + 1 < coordinates.size(); i += 2)
        polygon.push_back({coordinates[i], coordinates[i + 1]});
    QCOMPARE(OutlineOf(polygon), expected);
}

void TestAnimationGeometry::rectangleAround_withZeroHalfSize_isNothing()
{
    QCOMPARE(RectangleAround(10, 10, 0, 5).size(), size_t(0));
    QCOMPARE(RectangleAround(10, 10, 5, 0).size(), size_t(0));
    QCOMPARE(OutlineOf(RectangleAround(10, 10, 5, 3)), (TOutline {{5, 13}, {15, 13}, {15, 7}, {5, 7}}));
}

void TestAnimationGeometry::forms_data()
{
    QTest::addColumn<QRect>("form");
    QTest::newRow("About window") << QRect(486, 274, 308, 251);
    QTest::newRow("tall") << QRect(100, 50, 120, 400);
    QTest::newRow("wide, odd size, off the origin") << QRect(-30, 7, 501, 99);
}

void TestAnimationGeometry::spin_growsTurningAndEndsOnTheFormOutline()
{
    QFETCH(QRect, form);
    const TFigureFrame frame = FrameOf(form, etSpin);
    QCOMPARE(DrawnCount(SpinFrame(frame, 0)), 0);

    const TOutline last = OutlineOf(SpinFrame(frame, Steps).front());
    const QPoint l_t(form.left(), form.top());
    const QPoint l_b(form.left(), form.top() + form.height());
    const QPoint r_b(form.left() + form.width(), form.top() + form.height());
    const QPoint r_t(form.left() + form.width(), form.top());
    QCOMPARE(last, (TOutline {l_t, l_b, r_b, r_t}));

    // On the way the rectangle keeps its centre and grows in step with f while it turns.
    const float diagonal = std::hypot(float(form.width()), float(form.height()));
    for (int step : {10, 20, 37}) {
        const TFloatPolygon polygon = SpinFrame(frame, step).front();
        QCOMPARE(polygon.size(), size_t(4));
        QVERIFY2(Near(Mean(polygon), frame.centre), qPrintable(Text(Mean(polygon))));
        QVERIFY(Near(Distance(polygon[0], polygon[2]), diagonal * float(step) / Steps, 0.05f));
        QVERIFY2(!Near(polygon[0].y, polygon[3].y, 0.5f), "the rectangle is turned on the way");
    }
}

void TestAnimationGeometry::vortex_fiveRectanglesSpiralIntoTheForm()
{
    QFETCH(QRect, form);
    const TFigureFrame frame = FrameOf(form, etVortex);
    const TMatrix turn = VortexTurn(frame);
    for (int step : {0, 1, 25, Steps})
        QCOMPARE(VortexFrames(frame, turn, step).size(), size_t(5));
    QCOMPARE(DrawnCount(VortexFrames(frame, turn, 0)), 0);

    // Early on the rectangles sit on a circle of 4/3 of the half-diagonal, 72 degrees apart.
    const float halfDiagonal = std::hypot(frame.halfWidth, frame.halfHeight);
    const auto early = VortexFrames(frame, turn, 1);
    const float radius = halfDiagonal * 4 * (Steps - 1) / (3 * Steps);
    for (size_t i = 0; i < early.size(); ++i) {
        QVERIFY(Near(Distance(Mean(early[i]), frame.centre), radius, 0.05f));
        const float chord = Distance(Mean(early[i]), Mean(early[(i + 1) % 5]));
        QVERIFY(Near(chord, 2 * radius * std::sin(3.1415927f / 5), 0.05f));
    }

    // At the last step all five are the form's own rectangle.
    for (const TFloatPolygon &polygon : VortexFrames(frame, turn, Steps)) {
        QVERIFY(Near(Mean(polygon), frame.centre, 0.05f));
        QVERIFY(Near(polygon[1].x - polygon[0].x, float(form.width()), 0.05f));
        QVERIFY(Near(polygon[0].y - polygon[3].y, float(form.height()), 0.05f));
    }
}

void TestAnimationGeometry::scatterGather_gridConvergesOnTheFormExtent()
{
    QFETCH(QRect, form);
    const TFigureFrame frame = FrameOf(form, etScatterGather);
    QCOMPARE(ScatterGatherFrames(frame, 0).size(), size_t(36));
    QCOMPARE(DrawnCount(ScatterGatherFrames(frame, 0)), 0);

    const QRect formExtent(form.left(), form.top(), form.width() + 1, form.height() + 1);
    const QRect last = DrawnExtent(ScatterGatherFrames(frame, Steps));
    QVERIFY2(qAbs(last.left() - formExtent.left()) <= 1 && qAbs(last.right() - formExtent.right()) <= 1
            && qAbs(last.top() - formExtent.top()) <= 1 && qAbs(last.bottom() - formExtent.bottom()) <= 1,
        qPrintable(
            QStringLiteral("%1,%2 %3x%4").arg(last.x()).arg(last.y()).arg(last.width()).arg(last.height())));

    // The grid closes in: its spread shrinks from about three times the form's toward the form's.
    const QRect early = DrawnExtent(ScatterGatherFrames(frame, 5));
    const QRect middle = DrawnExtent(ScatterGatherFrames(frame, Steps / 2));
    QVERIFY(early.width() > 2 * form.width() && early.height() > 2 * form.height());
    QVERIFY(middle.width() < early.width() && middle.width() > last.width());
    QVERIFY(
        early.contains(middle.center()) && middle.contains(QPoint(int(frame.centre.x), int(frame.centre.y))));
}

void TestAnimationGeometry::spike_trianglesLeaveOnARingAndReturnIntoTheForm()
{
    QFETCH(QRect, form);
    const TFigureFrame frame = FrameOf(form, etSpike);
    const TSpikeTables tables = MakeSpikeTables(frame);

    // Targets lie on a ring of 4/5 of |hw - hh| around the centre, 22 degrees apart.
    const float radius = std::fabs(frame.halfWidth - frame.halfHeight) * 4 / 5;
    for (int k = 0; k < SpikeCount; ++k)
        QVERIFY(Near(Distance(tables.target[k], frame.centre), radius, 0.05f));
    QVERIFY(Near(Distance(tables.target[0], tables.target[1]), 2 * radius * std::sin(0.19198622f), 0.05f));

    // The triangles cut the form: their edge points go round the rectangle.
    QVERIFY(Near(tables.firstEdge[0], {frame.centre.x - frame.halfWidth, frame.centre.y + frame.halfHeight}));
    QVERIFY(
        Near(tables.secondEdge[3], {frame.centre.x + frame.halfWidth, frame.centre.y + frame.halfHeight}));
    QVERIFY(
        Near(tables.secondEdge[7], {frame.centre.x + frame.halfWidth, frame.centre.y - frame.halfHeight}));
    QVERIFY(Near(tables.secondEdge[15], tables.firstEdge[0]));

    QCOMPARE(SpikeFrames(frame, tables, 0).size(), size_t(SpikeCount));
    QCOMPARE(DrawnCount(SpikeFrames(frame, tables, 0)), 0);

    // In the first half each triangle is centred on its target, in the end back in its place.
    const auto early = SpikeFrames(frame, tables, 5);
    const auto last = SpikeFrames(frame, tables, Steps);
    for (int k = 0; k < SpikeCount; ++k) {
        QVERIFY2(
            Near(Mean(early[size_t(k)]), tables.target[k], 0.05f), qPrintable(Text(Mean(early[size_t(k)]))));
        QCOMPARE(last[size_t(k)].size(), size_t(3));
        QVERIFY(Near(last[size_t(k)][0], frame.centre, 0.05f));
        QVERIFY(Near(last[size_t(k)][1], tables.firstEdge[k], 0.05f));
        QVERIFY(Near(last[size_t(k)][2], tables.secondEdge[k], 0.05f));
    }
}

void TestAnimationGeometry::fireworks_blastsFlyInAndMeetInTheFormOutline()
{
    QFETCH(QRect, form);
    const TFigureFrame frame = FrameOf(form, etFireworks);
    const auto blasts = BlastPoints(frame, 10);
    QCOMPARE(blasts.size(), size_t(10));
    const float radius = std::fabs(frame.halfWidth - frame.halfHeight) * 5 / 3;
    for (const TFloatPoint &p : blasts)
        QVERIFY(Near(Distance(p, frame.centre), radius, 0.05f));

    QCOMPARE(DrawnCount(FireworxFrames(frame, blasts, 0)), 0);

    // Half way each rectangle is half grown and half way from its blast point to the centre.
    const auto middle = FireworxFrames(frame, blasts, Steps / 2);
    for (size_t e = 0; e < blasts.size(); ++e) {
        const TFloatPoint expected {(frame.centre.x + blasts[e].x) / 2, (frame.centre.y + blasts[e].y) / 2};
        QVERIFY(Near(Mean(middle[e]), expected, 0.05f));
        QVERIFY(
            Near(Distance(middle[e][0], middle[e][2]), std::hypot(frame.halfWidth, frame.halfHeight), 0.05f));
    }

    const TOutline formOutline {{form.left(), form.top()}, {form.left() + form.width(), form.top()},
        {form.left() + form.width(), form.top() + form.height()}, {form.left(), form.top() + form.height()}};
    for (const TFloatPolygon &polygon : FireworxFrames(frame, blasts, Steps)) {
        TFloatPolygon rounded;
        for (const TFloatPoint &p : polygon)
            rounded.push_back({std::round(p.x), std::round(p.y)});
        QCOMPARE(OutlineOf(rounded), formOutline);
    }
}

void TestAnimationGeometry::squareForm_putsSpikeTargetsAndBlastPointsAtTheCentre()
{
    const QRect square(200, 100, 240, 240);
    const TFigureFrame spike = FrameOf(square, etSpike);
    const TSpikeTables tables = MakeSpikeTables(spike);
    for (int k = 0; k < SpikeCount; ++k)
        QVERIFY2(Near(tables.target[k], spike.centre), qPrintable(Text(tables.target[k])));

    const TFigureFrame fireworks = FrameOf(square, etFireworks);
    for (const TFloatPoint &p : BlastPoints(fireworks, 10))
        QVERIFY2(Near(p, fireworks.centre), qPrintable(Text(p)));
}

void TestAnimationGeometry::fireworks_withoutBlasts_drawsNothing()
{
    const TFigureFrame frame = FrameOf(QRect(10, 10, 300, 200), etFireworks);
    const auto blasts = BlastPoints(frame, 0);
    QCOMPARE(blasts.size(), size_t(0));
    for (int step = 0; step <= Steps; ++step)
        QCOMPARE(FireworxFrames(frame, blasts, step).size(), size_t(0));
}

void TestAnimationGeometry::angleParameters()
{
    QCOMPARE(AngleParameter(etSpin), 6.2831855f);
    QCOMPARE(AngleParameter(etFireworks), 6.2831855f);
    QCOMPARE(AngleParameter(etVortex), 3.1415927f);
    QCOMPARE(AngleParameter(etSpike), 3.1415927f);
    QCOMPARE(AngleParameter(etScatterGather), 6.f);
}

ZARVO_TEST_GUILESS_MAIN(TestAnimationGeometry)
#include "test_animationgeometry.moc"
