#pragma once

#include "Animationcanvas.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <memory>

class QWidget;

// Shows animation outlines over the desktop without taking a copy of it: a top-most window that
// lets all input through, shaped to exactly the outline pixels. The pixels are kept as an
// inverting image, so an outline drawn twice is gone, as with an inverting pen on the screen.
// The window exists only while some outline pixel is set and is gone with this object.
class OutlineOverlay final : public AnimationCanvas
{
public:
    explicit OutlineOverlay(const QRect &area);
    ~OutlineOverlay() override;

    void DrawOutline(const TOutline &outline) override;
    void Present() override;

private:
    QRegion OutlineRegion() const;

    QRect m_area;
    QImage m_pixels;
    InvertingImageCanvas m_canvas;
    std::unique_ptr<QWidget> m_window;
};
