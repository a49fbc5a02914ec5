#pragma once

#include "Animationcanvas.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <memory>

class ScreenOverlay;

// Shows animation outlines over the desktop without taking a copy of it: the outline pixels are
// kept as an inverting image, so an outline drawn twice is gone, as with an inverting pen on the
// screen, and the screen overlay shows exactly the pixels that are set. Nothing is left on the
// screen once this object is gone.
class OutlineOverlay final : public AnimationCanvas {
public:
    explicit OutlineOverlay(const QRect &area);
    ~OutlineOverlay() override;

    void DrawOutline(const TOutline &outline) override;
    void Present() override;

    // The set pixels, in screen coordinates.
    QRegion OutlineRegion() const;

private:
    QRect m_area;
    QImage m_pixels;
    InvertingImageCanvas m_canvas;
    std::unique_ptr<ScreenOverlay> m_screen;
};
