// The closing figure starts from the screen as it is once the window has gone: where the closed
// window was, the window beneath it shows again before the first outline is drawn. Runs on an X
// display (run_on_desktop.sh), where an uncovered window keeps the closed one's pixels until it
// repaints.
#include "Animationcanvas.h"
#include "Animationeffect.h"
#include "support/TestMain.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// Reads the screen at one point when the first outline is drawn.
class ScreenReadingCanvas final : public AnimationCanvas {
public:
    explicit ScreenReadingCanvas(QPoint at)
        : m_at(at)
    {
    }
    void DrawOutline(const TOutline &) override
    {
        if (seen.isValid())
            return;
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        seen = shot.pixelColor(m_at);
        if (qEnvironmentVariableIsSet("ZARVO_DEBUG_SHOT"))
            shot.save(qEnvironmentVariable("ZARVO_DEBUG_SHOT"));
    }
    QColor seen;

private:
    QPoint m_at;
};

QWidget *Plain(const QColor &colour, const QRect &place)
{
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->setGeometry(place);
    return window;
}

} // namespace

class TestAnimationOnScreen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"), "runs on an X display");
    }

    void hideFigure_startsOverTheUncoveredWindow()
    {
        std::unique_ptr<QWidget> beneath(Plain(Qt::green, QRect(100, 100, 500, 400)));
        beneath->show();
        QVERIFY(QTest::qWaitForWindowExposed(beneath.get()));
        std::unique_ptr<QWidget> form(Plain(Qt::red, QRect(200, 200, 308, 251)));
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        auto *effect = new TAnimationEffect(form.get());
        effect->SetDelay(0);
        effect->SetEffectType(etSpin);
        effect->SetAnimateOnHide(true);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::qWait(300);
        const QPoint middle = form->geometry().center();
        QCOMPARE(QGuiApplication::primaryScreen()
                     ->grabWindow(0, middle.x(), middle.y(), 1, 1)
                     .toImage()
                     .pixelColor(0, 0),
            QColor(Qt::red));

        ScreenReadingCanvas canvas(middle);
        effect->SetCanvas(&canvas);
        form->hide();

        QCOMPARE(canvas.seen, QColor(Qt::green));
    }
};

ZARVO_TEST_MAIN(TestAnimationOnScreen)
#include "test_animation_onscreen.moc"
