// Figures of the window animation: the measured processor speed, how long the calibrated pause
// of one step lasts, how long a whole show with the About window's settings takes without a
// screen, and what it costs to turn the outline pixels into the overlay's shape each step.
// Prints figures; asserts nothing.

#include "Animationeffect.h"
#include "Cpuspeed.h"
#include "Outlineoverlay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>

namespace {

class NullCanvas final : public AnimationCanvas {
public:
    void DrawOutline(const TOutline &) override { }
};

double Milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QElapsedTimer timer;
    timer.start();
    const int megahertz = GetCPUSpeed();
    std::printf("measured processor speed: %d MHz (measured in %.2f ms)\n", megahertz, Milliseconds(timer));

    for (int delay : {1, 100, 1000}) {
        timer.restart();
        for (int i = 0; i < 10; ++i)
            CalibratedPause(megahertz, delay);
        std::printf("pause per step at Delay %4d: %.3f ms\n", delay, Milliseconds(timer) / 10);
    }

    QWidget form;
    form.setGeometry(486, 274, 308, 251);
    TAnimationEffect effect(&form);
    effect.SetSteps(50);
    effect.SetFrames(6);
    effect.SetDelay(100);
    NullCanvas canvas;
    effect.SetCanvas(&canvas);
    for (TAnimationEffectType type : {etSpin, etVortex, etScatterGather, etSpike, etFireworks}) {
        effect.SetEffectType(type);
        timer.restart();
        effect.Open();
        std::printf("show, figure %d, Delay 100, no screen: %.1f ms\n", int(type), Milliseconds(timer));
    }

    // The overlay's shape, built from the outline pixels after each step (no display here, so
    // this is the cost on our side only).
    OutlineOverlay overlay(QRect(0, 0, 1920, 1080));
    effect.SetCanvas(&overlay);
    effect.SetDelay(0);
    for (TAnimationEffectType type : {etSpin, etScatterGather, etFireworks}) {
        effect.SetEffectType(type);
        timer.restart();
        effect.Open();
        std::printf("show, figure %d, 1920x1080 outline image: %.2f ms per step\n", int(type),
            Milliseconds(timer) / 102);
    }
    return 0;
}
