#include "Screenoverlay.h"

#include <QGuiApplication>

#include <cstdlib>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {

// Where there is no X display (Wayland, the offscreen platform), the figures are not shown.
class NoOverlay final : public ScreenOverlay {
public:
    void ShowPixels(const QRegion &) override { }
};

// An override-redirect X window whose bounding shape is the pixels to show and whose input shape
// is empty. The X server paints it from its background pixmap, so nothing waits on our event
// loop, which the animation keeps busy.
class XcbOverlay final : public ScreenOverlay {
public:
    XcbOverlay(xcb_connection_t *connection, const QRect &area)
        : m_connection(connection)
        , m_area(area)
    {
    }

    ~XcbOverlay() override
    {
        if (!m_window)
            return;
        xcb_destroy_window(m_connection, m_window);
        xcb_free_pixmap(m_connection, m_pattern);
        RoundTrip();
    }

    void ShowPixels(const QRegion &pixels) override
    {
        if (pixels.isEmpty()) {
            if (m_mapped) {
                xcb_unmap_window(m_connection, m_window);
                m_mapped = false;
                RoundTrip();
            }
            return;
        }
        if (!m_window)
            CreateWindow();
        std::vector<xcb_rectangle_t> rects;
        rects.reserve(size_t(pixels.rectCount()));
        for (const QRect &r : pixels) {
            rects.push_back({qint16(r.x() - m_area.x()), qint16(r.y() - m_area.y()), quint16(r.width()),
                quint16(r.height())});
        }
        xcb_shape_rectangles(m_connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
            XCB_CLIP_ORDERING_UNSORTED, m_window, 0, 0, quint32(rects.size()), rects.data());
        if (!m_mapped) {
            const quint32 above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(m_connection, m_window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            xcb_map_window(m_connection, m_window);
            m_mapped = true;
        }
        RoundTrip();
    }

private:
    void CreateWindow()
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;

        // A fine black and white pattern stands out on any desktop, as inverted pixels do.
        m_pattern = xcb_generate_id(m_connection);
        xcb_create_pixmap(m_connection, screen->root_depth, m_pattern, screen->root, 2, 2);
        const xcb_gcontext_t gc = xcb_generate_id(m_connection);
        const quint32 white = screen->white_pixel;
        xcb_create_gc(m_connection, gc, m_pattern, XCB_GC_FOREGROUND, &white);
        const xcb_rectangle_t all {0, 0, 2, 2};
        xcb_poly_fill_rectangle(m_connection, m_pattern, gc, 1, &all);
        const quint32 black = screen->black_pixel;
        xcb_change_gc(m_connection, gc, XCB_GC_FOREGROUND, &black);
        const xcb_point_t dots[2] {{0, 0}, {1, 1}};
        xcb_poly_point(m_connection, XCB_COORD_MODE_ORIGIN, m_pattern, gc, 2, dots);
        xcb_free_gc(m_connection, gc);

        m_window = xcb_generate_id(m_connection);
        const quint32 values[2] {m_pattern, 1};
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, qint16(m_area.x()),
            qint16(m_area.y()), quint16(m_area.width()), quint16(m_area.height()), 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT,
            values);
        // No input shape: clicks and keys go to the windows beneath.
        xcb_shape_rectangles(m_connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
            m_window, 0, 0, 0, nullptr);
    }

    // Waits until the server has carried out everything sent so far.
    void RoundTrip()
    {
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_connection_t *m_connection;
    QRect m_area;
    xcb_window_t m_window = 0;
    xcb_pixmap_t m_pattern = 0;
    bool m_mapped = false;
};

} // namespace

std::unique_ptr<ScreenOverlay> CreateScreenOverlay(const QRect &area)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection())
        return std::make_unique<XcbOverlay>(x11->connection(), area);
    return std::make_unique<NoOverlay>();
}

void SyncWithDisplay()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t *connection = x11->connection();
    // The reply comes only after the server has handled everything sent before the request.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}
