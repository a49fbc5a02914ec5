#pragma once

#include "Animationgeometry.h"

#include <QImage>

// Where the animation's outlines go. Every outline is drawn inverting, so drawing the same
// outline a second time removes it and the surface is left as it was.
class AnimationCanvas {
public:
    virtual ~AnimationCanvas() = default;
    virtual void DrawOutline(const TOutline &outline) = 0;
    // Called once after every step, before the pause: make the outlines drawn so far visible.
    virtual void Present() { }
};

// Inverts the outline's pixels on an image (black pen, "not destination" raster operation).
class InvertingImageCanvas : public AnimationCanvas {
public:
    explicit InvertingImageCanvas(QImage &image, QPoint origin = {});
    void DrawOutline(const TOutline &outline) override;
    // The union of the rectangles that outlines have touched, in image coordinates.
    QRect TouchedArea() const { return m_touched; }

private:
    QImage &m_image;
    QPoint m_origin; // screen position of the image's top-left pixel
    QRect m_touched;
};
