// Shows the About window, which opens and closes with its outline animation over the real
// desktop, and takes
// screenshots with ImageMagick's `import` before the show, in the middle of the show, with the
// form shown, in the middle of the hide and after it. Run by animation_screenshot.sh under Xvfb.
//
//   animation_demo OUTDIR FIGURE(1..5)

#include "support/RecordingHelp.h"
#include "Aboutunit.h"
#include "Animationeffect.h"
#include "Outlineoverlay.h"
#include "Ports.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

void Screenshot(const QString &path)
{
    const int rc = QProcess::execute(
        QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    if (rc != 0)
        std::fprintf(stderr, "import failed for %s\n", qPrintable(path));
}

void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The desktop overlay, with a screenshot taken after a chosen step has been put on the screen.
class ShootingCanvas final : public AnimationCanvas {
public:
    ShootingCanvas(const QRect &area, int shotAt, QString path)
        : m_overlay(area)
        , m_shotAt(shotAt)
        , m_path(std::move(path))
    {
    }
    void DrawOutline(const TOutline &outline) override { m_overlay.DrawOutline(outline); }
    void Present() override
    {
        m_overlay.Present();
        if (++m_presents == m_shotAt)
            Screenshot(m_path);
    }

private:
    OutlineOverlay m_overlay;
    int m_shotAt;
    QString m_path;
    int m_presents = 0;
};


} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: animation_demo OUTDIR FIGURE\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const int figure = QByteArray(argv[2]).toInt();

    bool aboutFormOpen = false;
    RecordingHelp help;
    QPointer<TfrmAbout> form = new TfrmAbout(nullptr, aboutFormOpen, help);
    // The overlay works in device pixels, as the effect's own one does.
    const QScreen *primary = QGuiApplication::primaryScreen();
    const qreal ratio = primary->devicePixelRatio();
    const QRect logical = primary->geometry();
    const QRect screen(logical.topLeft() * ratio, logical.size() * ratio);
    TAnimationEffect *effect = form->AnimationEffect1;
    effect->SetDelay(0);
    effect->SetEffectTypeNumber(figure);

    Screenshot(dir + QStringLiteral("/before.png"));

    {
        ShootingCanvas showCanvas(screen, 30, dir + QStringLiteral("/mid-show.png"));
        effect->SetCanvas(&showCanvas);
        form->show();
    }
    Settle(500);
    Screenshot(dir + QStringLiteral("/shown.png"));

    {
        ShootingCanvas hideCanvas(screen, 30, dir + QStringLiteral("/mid-hide.png"));
        effect->SetCanvas(&hideCanvas);
        form->close();
    }
    Settle(500);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Screenshot(dir + QStringLiteral("/after.png"));
    if (form || aboutFormOpen) {
        std::fprintf(
            stderr, "the About window did not free itself (%d, %d)\n", !form.isNull(), aboutFormOpen);
        return 1;
    }
    return 0;
}
