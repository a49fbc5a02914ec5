#pragma once

#include "Animationgeometry.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class AnimationCanvas;

// Sees every event of its form before the form does. Installed as an event filter on the form
// when created with it and removed when destroyed; several such components on one form see an
// event in the reverse order of their creation, the last one first.
class TAnimationFormHookComponent : public QObject {
    Q_OBJECT

public:
    explicit TAnimationFormHookComponent(QWidget *owner);
    ~TAnimationFormHookComponent() override;

    QWidget *OwnerForm() const { return m_ownerForm; }
    // The window whose events are watched: the owner form's top-level window.
    QWidget *GetParentHandle() const;

protected:
    // Called with every event of the hooked window before the window handles it.
    virtual void MessageBefore(QEvent *event);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_ownerForm;
    QPointer<QWidget> m_window;
};

// Draws an animated outline over the desktop when its form is shown (the figure converges on the
// form's rectangle) and when it is hidden (the same in reverse). The animation blocks the thread
// for its whole length: steps + frames + 1 pauses of the calibrated wait.
class TAnimationEffect : public TAnimationFormHookComponent {
    Q_OBJECT
    Q_PROPERTY(bool AnimateOnShow READ AnimateOnShow WRITE SetAnimateOnShow)
    Q_PROPERTY(bool AnimateOnHide READ AnimateOnHide WRITE SetAnimateOnHide)
    Q_PROPERTY(int Delay READ Delay WRITE SetDelay)
    Q_PROPERTY(int FireworkBlasts READ FireworkBlasts WRITE SetFireworkBlasts)
    Q_PROPERTY(int Frames READ Frames WRITE SetFrames)
    Q_PROPERTY(int EffectType READ EffectTypeNumber WRITE SetEffectTypeNumber)
    Q_PROPERTY(int Steps READ Steps WRITE SetSteps)

public:
    explicit TAnimationEffect(QWidget *owner);
    ~TAnimationEffect() override;

    bool AnimateOnShow() const { return m_animateOnShow; }
    void SetAnimateOnShow(bool on) { m_animateOnShow = on; }
    bool AnimateOnHide() const { return m_animateOnHide; }
    void SetAnimateOnHide(bool on) { m_animateOnHide = on; }
    int Delay() const { return m_delay; }
    void SetDelay(int delay); // 0 .. 65535
    int FireworkBlasts() const { return m_fireworkBlasts; }
    void SetFireworkBlasts(int blasts); // 0 .. 255
    int Frames() const { return m_frames; }
    void SetFrames(int frames); // 0 .. 255
    TAnimationEffectType EffectType() const { return m_effectType; }
    void SetEffectType(TAnimationEffectType type) { m_effectType = type; }
    int EffectTypeNumber() const { return int(m_effectType); }
    void SetEffectTypeNumber(int type); // 0 .. 5, else etRandom
    int Steps() const { return m_steps; }
    void SetSteps(int steps); // 1 .. 255: every figure divides by it

    void Open() { Animate(true); }
    void Close() { Animate(false); }
    // One complete animation, in (true) or out (false); returns when it has finished.
    void Animate(bool show);

    // The figure of the last animation (never etRandom once one has run).
    TAnimationEffectType FigureInUse() const { return m_figure; }

    // Draw on this canvas, in device pixels, instead of over the desktop (not owned; nullptr for
    // the desktop).
    void SetCanvas(AnimationCanvas *canvas) { m_testCanvas = canvas; }

protected:
    void MessageBefore(QEvent *event) override;

private:
    void AnimationSelect(TAnimationType phase);
    void efSpinFrame(TAnimationType phase);
    void efVortexFrames(TAnimationType phase);
    void efScatterGatherFrames(TAnimationType phase);
    void efSpikeFrames(TAnimationType phase);
    void efFireworxFrames(TAnimationType phase);
    void DrawPolygons(const std::vector<TFloatPolygon> &polygons);
    void PauseAfterStep();
    void LetTheScreenSettle();

    bool m_animateOnShow = false;
    bool m_animateOnHide = false;
    int m_delay = 100;
    int m_fireworkBlasts = 10;
    int m_frames = 6;
    TAnimationEffectType m_effectType = etRandom;
    int m_steps = 50;

    bool m_visible = false;
    AnimationCanvas *m_testCanvas = nullptr;
    AnimationCanvas *m_screen = nullptr; // valid during one animation
    TAnimationEffectType m_figure = etRandom;
    TFigureFrame m_frame;
    int m_currentStep = 0;
    TMatrix m_vortexTurn;
    std::vector<TFloatPoint> m_blastPoints;
    TSpikeTables m_spikeTables;
};
