#include "platform/WindowShape.h"

#include "platform/WidgetMask.h"

#include <QGuiApplication>
#include <QVarLengthArray>
#include <QWidget>
#include <QWindow>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {
xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
} // namespace

void setWindowShape(QWidget* window, const QRegion& devicePixels, bool outline)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection) {
        setWidgetMask(window, devicePixels);
        return;
    }
    // Before the native window exists the caller shapes it again when it is shown. A mask kept
    // by Qt as well would make Qt send clicks on the letters to the window instead of its children.
    if (!window->windowHandle())
        return;
    // QRegion keeps its rectangles in y-x bands, which lets the server skip sorting them.
    QVarLengthArray<xcb_rectangle_t, 256> rects;
    for (const QRect& rect : devicePixels)
        rects.append({int16_t(rect.x()), int16_t(rect.y()), uint16_t(rect.width()), uint16_t(rect.height())});
    // A window without an alpha channel shows its transparent pixels as black.
    outline = outline || !window->windowHandle()->format().hasAlpha();
    const auto native = xcb_window_t(window->winId());
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_YX_BANDED,
                         native, 0, 0, uint32_t(rects.size()), rects.constData());
    if (outline)
        xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_YX_BANDED,
                             native, 0, 0, uint32_t(rects.size()), rects.constData());
    else
        xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, native, 0, 0, XCB_NONE);
    xcb_flush(connection);
}

void flushWindowSystem()
{
    if (xcb_connection_t* connection = x11Connection())
        xcb_flush(connection);
}
