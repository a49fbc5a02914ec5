#include "Animationeffect.h"

#include "Animationcanvas.h"
#include "Animationsequence.h"
#include "Cpuspeed.h"
#include "Outlineoverlay.h"
#include "Screenoverlay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>

namespace {

QRect DevicePixels(const QRect &r, qreal ratio)
{
    return QRect(QPoint(qRound(r.x() * ratio), qRound(r.y() * ratio)),
        QSize(qRound(r.width() * ratio), qRound(r.height() * ratio)));
}

} // namespace

// ---- TAnimationFormHookComponent ----

TAnimationFormHookComponent::TAnimationFormHookComponent(QWidget *owner)
    : QObject(owner)
    , m_ownerForm(owner)
{
    m_window = GetParentHandle();
    if (m_window)
        m_window->installEventFilter(this);
}

TAnimationFormHookComponent::~TAnimationFormHookComponent()
{
    if (m_window)
        m_window->removeEventFilter(this);
}

QWidget *TAnimationFormHookComponent::GetParentHandle() const
{
    return m_ownerForm ? m_ownerForm->window() : nullptr;
}

void TAnimationFormHookComponent::MessageBefore(QEvent *)
{
}

bool TAnimationFormHookComponent::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window)
        MessageBefore(event);
    return false; // the window always gets the event afterwards
}

// ---- TAnimationEffect ----

TAnimationEffect::TAnimationEffect(QWidget *owner)
    : TAnimationFormHookComponent(owner)
{
}

TAnimationEffect::~TAnimationEffect() = default;

void TAnimationEffect::SetDelay(int delay)
{
    m_delay = std::clamp(delay, 0, 65535);
}

void TAnimationEffect::SetFireworkBlasts(int blasts)
{
    m_fireworkBlasts = std::clamp(blasts, 0, 255);
}

void TAnimationEffect::SetFrames(int frames)
{
    m_frames = std::clamp(frames, 0, 255);
}

void TAnimationEffect::SetEffectTypeNumber(int type)
{
    m_effectType = type >= etSpin && type <= etFireworks ? TAnimationEffectType(type) : etRandom;
}

void TAnimationEffect::SetSteps(int steps)
{
    m_steps = std::clamp(steps, 1, 255);
}

void TAnimationEffect::MessageBefore(QEvent *event)
{
    // Spontaneous show and hide events come from minimizing and restoring, which a window
    // survives; only the form's own showing and hiding animate.
    if (event->spontaneous())
        return;
    if (event->type() == QEvent::Show) {
        if (m_animateOnShow)
            Animate(true);
        m_visible = true;
    } else if (event->type() == QEvent::Hide && m_visible) {
        m_visible = false;
        if (m_animateOnHide) {
            // The figure starts from the screen as it is once the form has gone: the form's
            // window is taken off the display, and the windows beneath (ours too: the
            // animation keeps our event loop busy) repaint before the outlines are drawn.
            if (OwnerForm() && OwnerForm()->isWindow())
                LetTheScreenSettle();
            Animate(false);
        }
    }
}

void TAnimationEffect::LetTheScreenSettle()
{
    // About the 100 ms the form's hiding has always waited, spent repainting rather than asleep.
    SyncWithDisplay();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 100) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        SyncWithDisplay();
        QThread::msleep(5);
    }
}

void TAnimationEffect::Animate(bool show)
{
    QWidget *form = OwnerForm();
    if (!form)
        return;
    QScreen *screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Qt has placed the window by the time it is shown, centred by its dialog or its own code.
    // The outlines are one screen pixel wide, so the figures work in device pixels.
    const qreal ratio = screen->devicePixelRatio();
    const QRect place = DevicePixels(form->frameGeometry(), ratio);

    std::unique_ptr<AnimationCanvas> overlay;
    m_screen = m_testCanvas;
    if (!m_screen) {
        overlay = std::make_unique<OutlineOverlay>(DevicePixels(screen->virtualGeometry(), ratio));
        m_screen = overlay.get();
    }

    m_figure = m_effectType;
    if (m_figure == etRandom)
        m_figure = TAnimationEffectType(1 + QRandomGenerator::global()->bounded(5));
    m_frame = FigureFrameFor(
        place.left(), place.top(), place.width(), place.height(), m_steps, AngleParameter(m_figure));
    m_currentStep = 0;

    AnimationSelect(atInit);
    RunAnimationSequence(
        show, m_steps, m_frames,
        [this](TAnimationType phase, int step) {
            m_currentStep = step;
            AnimationSelect(phase);
        },
        [this] { PauseAfterStep(); });
    m_screen->Present();
    m_screen = nullptr;
}

void TAnimationEffect::PauseAfterStep()
{
    m_screen->Present();
    if (m_delay > 0)
        CalibratedPause(GetCPUSpeed(), m_delay);
}

void TAnimationEffect::AnimationSelect(TAnimationType phase)
{
    switch (m_figure) {
    case etSpin:
        efSpinFrame(phase);
        break;
    case etVortex:
        efVortexFrames(phase);
        break;
    case etScatterGather:
        efScatterGatherFrames(phase);
        break;
    case etSpike:
        efSpikeFrames(phase);
        break;
    case etFireworks:
        efFireworxFrames(phase);
        break;
    case etRandom:
        break;
    }
}

void TAnimationEffect::DrawPolygons(const std::vector<TFloatPolygon> &polygons)
{
    for (const TFloatPolygon &polygon : polygons)
        m_screen->DrawOutline(OutlineOf(polygon));
}

void TAnimationEffect::efSpinFrame(TAnimationType phase)
{
    if (phase != atInit)
        DrawPolygons(SpinFrame(m_frame, m_currentStep));
}

void TAnimationEffect::efVortexFrames(TAnimationType phase)
{
    if (phase == atInit)
        m_vortexTurn = VortexTurn(m_frame);
    else
        DrawPolygons(VortexFrames(m_frame, m_vortexTurn, m_currentStep));
}

void TAnimationEffect::efScatterGatherFrames(TAnimationType phase)
{
    if (phase != atInit)
        DrawPolygons(ScatterGatherFrames(m_frame, m_currentStep));
}

void TAnimationEffect::efSpikeFrames(TAnimationType phase)
{
    if (phase == atInit)
        m_spikeTables = MakeSpikeTables(m_frame);
    else
        DrawPolygons(SpikeFrames(m_frame, m_spikeTables, m_currentStep));
}

void TAnimationEffect::efFireworxFrames(TAnimationType phase)
{
    if (phase == atInit)
        m_blastPoints = BlastPoints(m_frame, m_fireworkBlasts);
    else
        DrawPolygons(FireworxFrames(m_frame, m_blastPoints, m_currentStep));
}
