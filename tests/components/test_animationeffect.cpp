#include "support/TestMain.h"
#include "Animationcanvas.h"
#include "Animationeffect.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace {

// Counts what reaches the canvas and keeps a shared log of when it happened.
class RecordingCanvas final : public AnimationCanvas {
public:
    explicit RecordingCanvas(
        QStringList *log = nullptr, QString name = {}, std::function<QString()> probe = {})
        : m_log(log)
        , m_name(std::move(name))
        , m_probe(std::move(probe))
    {
    }
    void DrawOutline(const TOutline &outline) override
    {
        if (outline.isEmpty())
            return;
        ++outlines;
        const QString entry = m_probe ? m_name + m_probe() : m_name;
        if (m_log && (m_log->isEmpty() || m_log->last() != entry))
            m_log->append(entry);
    }
    void Present() override { ++presents; }

    int outlines = 0;
    int presents = 0;

private:
    QStringList *m_log;
    QString m_name;
    std::function<QString()> m_probe;
};

// Draws inverting on an image and notes whether the image ever differed from its start.
class WatchedImageCanvas final : public AnimationCanvas {
public:
    explicit WatchedImageCanvas(QImage &image)
        : m_image(image)
        , m_start(image)
        , m_canvas(image)
    {
    }
    void DrawOutline(const TOutline &outline) override { m_canvas.DrawOutline(outline); }
    void Present() override { changedOnTheWay = changedOnTheWay || m_image != m_start; }

    bool changedOnTheWay = false;

private:
    QImage &m_image;
    QImage m_start;
    InvertingImageCanvas m_canvas;
};

class LoggingForm final : public QWidget {
public:
    explicit LoggingForm(QStringList *log)
        : m_log(log)
    {
    }

protected:
    void showEvent(QShowEvent *) override { m_log->append(QStringLiteral("form shown")); }
    void hideEvent(QHideEvent *) override { m_log->append(QStringLiteral("form hidden")); }

private:
    QStringList *m_log;
};

QImage Desktop()
{
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 640, 480);
    gradient.setColorAt(0, QColor(30, 80, 160));
    gradient.setColorAt(1, QColor(220, 200, 90));
    painter.fillRect(image.rect(), gradient);
    painter.drawText(QRect(20, 20, 300, 40), QStringLiteral("Рабочий стол"));
    return image;
}

} // namespace

class TestAnimationEffect : public QObject {
    Q_OBJECT

private slots:
    void defaultsAndLimits();
    void animation_leavesTheScreenAsItWas_data();
    void animation_leavesTheScreenAsItWas();
    void spin_drawsEveryStepTwice();
    void showAnimation_playsBeforeTheFormIsShown();
    void hideAnimation_playsAfterTheFormIsHidden();
    void withoutAnimateOnShow_showingDrawsNothing();
    void twoEffectsOnOneForm_lastCreatedSeesEventsFirst();
    void randomFigure_isChosenAfreshFromAllFive();
    void animationOnTheDesktop_deliversNoEventsMeanwhile();
};

void TestAnimationEffect::defaultsAndLimits()
{
    QWidget form;
    TAnimationEffect effect(&form);
    QCOMPARE(effect.AnimateOnShow(), false);
    QCOMPARE(effect.AnimateOnHide(), false);
    QCOMPARE(effect.Delay(), 100);
    QCOMPARE(effect.FireworkBlasts(), 10);
    QCOMPARE(effect.Frames(), 6);
    QCOMPARE(effect.EffectType(), etRandom);
    QCOMPARE(effect.Steps(), 50);

    effect.SetSteps(0); // every figure divides by the steps
    QCOMPARE(effect.Steps(), 1);
    effect.SetSteps(300);
    QCOMPARE(effect.Steps(), 255);
    effect.SetFrames(-1);
    QCOMPARE(effect.Frames(), 0);
    effect.SetFireworkBlasts(1000);
    QCOMPARE(effect.FireworkBlasts(), 255);
    effect.SetDelay(70000);
    QCOMPARE(effect.Delay(), 65535);
    effect.SetEffectTypeNumber(4);
    QCOMPARE(effect.EffectType(), etSpike);
    effect.SetEffectTypeNumber(9);
    QCOMPARE(effect.EffectType(), etRandom);
    QCOMPARE(effect.setProperty("Steps", 20), true);
    QCOMPARE(effect.Steps(), 20);
}

void TestAnimationEffect::animation_leavesTheScreenAsItWas_data()
{
    QTest::addColumn<int>("figure");
    QTest::addColumn<bool>("show");
    QTest::addColumn<QRect>("form");
    const QList<QPair<int, QString>> figures {{etSpin, QStringLiteral("spin")},
        {etVortex, QStringLiteral("vortex")}, {etScatterGather, QStringLiteral("scatter-gather")},
        {etSpike, QStringLiteral("spike")}, {etFireworks, QStringLiteral("fireworks")}};
    for (const auto &[figure, name] : figures) {
        QTest::newRow(qPrintable(name + QStringLiteral(" show")))
            << figure << true << QRect(166, 114, 308, 251);
        QTest::newRow(qPrintable(name + QStringLiteral(" hide")))
            << figure << false << QRect(166, 114, 308, 251);
        // Partly off the image: outlines are clipped the same way when drawn and when erased.
        QTest::newRow(qPrintable(name + QStringLiteral(" show, near the edge")))
            << figure << true << QRect(500, 380, 200, 150);
    }
}

void TestAnimationEffect::animation_leavesTheScreenAsItWas()
{
    QFETCH(int, figure);
    QFETCH(bool, show);
    QFETCH(QRect, form);
    QWidget window;
    window.setGeometry(form);
    TAnimationEffect effect(&window);
    effect.SetDelay(0);
    effect.SetEffectTypeNumber(figure);
    QImage screen = Desktop();
    const QImage before = screen;
    WatchedImageCanvas canvas(screen);
    effect.SetCanvas(&canvas);

    effect.Animate(show);

    QVERIFY2(canvas.changedOnTheWay, "outlines appeared during the animation");
    QCOMPARE(screen, before);
}

void TestAnimationEffect::spin_drawsEveryStepTwice()
{
    QWidget window;
    window.setGeometry(100, 100, 308, 251);
    TAnimationEffect effect(&window);
    effect.SetDelay(0);
    effect.SetEffectType(etSpin);
    RecordingCanvas showing;
    effect.SetCanvas(&showing);
    effect.Open();
    // Steps 1..49 drawn and erased, step 50 erased in the loop and once more at the end;
    // step 0 is a point and draws nothing.
    QCOMPARE(showing.outlines, 49 * 2 + 2);
    QCOMPARE(showing.presents, 101 + 1);

    RecordingCanvas hiding;
    effect.SetCanvas(&hiding);
    effect.Close();
    QCOMPARE(hiding.outlines, 49 * 2);
    QCOMPARE(hiding.presents, 100 + 1);
}

void TestAnimationEffect::showAnimation_playsBeforeTheFormIsShown()
{
    QStringList log;
    LoggingForm form(&log);
    form.setGeometry(50, 50, 308, 251);
    auto *effect = new TAnimationEffect(&form);
    effect->SetDelay(0);
    effect->SetAnimateOnShow(true);
    RecordingCanvas canvas(&log, QStringLiteral("outlines"));
    effect->SetCanvas(&canvas);
    form.show();
    QCOMPARE(log, (QStringList {QStringLiteral("outlines"), QStringLiteral("form shown")}));
}

void TestAnimationEffect::hideAnimation_playsAfterTheFormIsHidden()
{
    QStringList log;
    LoggingForm form(&log);
    form.setGeometry(50, 50, 308, 251);
    auto *effect = new TAnimationEffect(&form);
    effect->SetDelay(0);
    effect->SetAnimateOnHide(true);
    // The outlines are drawn once the window is off the screen, before the form handles its hiding.
    RecordingCanvas canvas(&log, QStringLiteral("outlines"), [&form] {
        return form.windowHandle()->isVisible() ? QStringLiteral(" over the window")
                                                : QStringLiteral(" over the desktop");
    });
    effect->SetCanvas(&canvas);
    form.show();
    form.hide();
    QCOMPARE(log,
        (QStringList {QStringLiteral("form shown"), QStringLiteral("outlines over the desktop"),
            QStringLiteral("form hidden")}));
    // Hiding an already hidden form animates nothing more.
    const int drawn = canvas.outlines;
    form.hide();
    QCOMPARE(canvas.outlines, drawn);
}

void TestAnimationEffect::withoutAnimateOnShow_showingDrawsNothing()
{
    QWidget form;
    form.setGeometry(50, 50, 200, 100);
    auto *effect = new TAnimationEffect(&form);
    effect->SetDelay(0);
    effect->SetAnimateOnHide(true);
    RecordingCanvas canvas;
    effect->SetCanvas(&canvas);
    form.show();
    QCOMPARE(canvas.outlines, 0);
    form.hide();
    QVERIFY(canvas.outlines > 0);
}

void TestAnimationEffect::twoEffectsOnOneForm_lastCreatedSeesEventsFirst()
{
    QStringList log;
    LoggingForm form(&log);
    form.setGeometry(50, 50, 308, 251);
    RecordingCanvas first(&log, QStringLiteral("first"));
    RecordingCanvas second(&log, QStringLiteral("second"));
    auto *effect1 = new TAnimationEffect(&form);
    auto *effect2 = new TAnimationEffect(&form);
    for (auto [effect, canvas] : {std::pair {effect1, &first}, std::pair {effect2, &second}}) {
        effect->SetDelay(0);
        effect->SetAnimateOnShow(true);
        effect->SetEffectType(etSpin);
        effect->SetCanvas(canvas);
    }
    form.show();
    QCOMPARE(
        log, (QStringList {QStringLiteral("second"), QStringLiteral("first"), QStringLiteral("form shown")}));

    // A destroyed effect leaves the chain; the other one still works.
    delete effect2;
    log.clear();
    form.hide();
    form.show();
    QCOMPARE(log,
        (QStringList {QStringLiteral("form hidden"), QStringLiteral("first"), QStringLiteral("form shown")}));
}

void TestAnimationEffect::randomFigure_isChosenAfreshFromAllFive()
{
    QWidget form;
    form.setGeometry(0, 0, 120, 90);
    TAnimationEffect effect(&form);
    effect.SetDelay(0);
    effect.SetSteps(2);
    effect.SetFrames(1);
    RecordingCanvas canvas;
    effect.SetCanvas(&canvas);
    QSet<int> seen;
    for (int i = 0; i < 300 && seen.size() < 5; ++i) {
        effect.Open();
        QVERIFY(effect.FigureInUse() != etRandom);
        seen.insert(effect.FigureInUse());
    }
    QCOMPARE(seen, (QSet<int> {etSpin, etVortex, etScatterGather, etSpike, etFireworks}));
    QCOMPARE(effect.EffectType(), etRandom);
}

void TestAnimationEffect::animationOnTheDesktop_deliversNoEventsMeanwhile()
{
    // The animation blocks its thread; a timer or a queued call must not run inside it (a tick
    // or a second window opening half way through an animation).
    QWidget form;
    form.setGeometry(40, 40, 308, 251);
    TAnimationEffect effect(&form);
    effect.SetDelay(1);
    effect.SetSteps(5);
    bool timerRan = false;
    bool queuedCallRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    QMetaObject::invokeMethod(
        &form, [&] { queuedCallRan = true; }, Qt::QueuedConnection);
    effect.Open();
    effect.Close();
    QCOMPARE(timerRan, false);
    QCOMPARE(queuedCallRan, false);
    QTRY_VERIFY(timerRan && queuedCallRan);
}

ZARVO_TEST_MAIN(TestAnimationEffect)
#include "test_animationeffect.moc"
