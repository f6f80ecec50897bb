/* A bare X client that moves a window as the strip moves its own, and does nothing else: what the X
 * server and the desktop spend on that window is what any program showing such a window pays.
 *
 *   bare_strip_window STRIP-WINDOW [box] < ticks
 *
 * The window copies the strip's: visual, depth, size, override-redirect, gravities, backing store
 * and save-under, and which of its shapes are set (input, and the bounding one where the strip
 * keeps an outline). It selects no events, and its only drawing is one fill of the whole window
 * in transparent black when it is shown and at each change of shape, as the strip repaints its
 * letters at each blink. With `box` its shape is one rectangle, the letters' bounding box, which
 * never changes, but it is filled as often. The input holds the strip's shapes,
 * then its ticks:
 *   shape N x y w h ...    (the shapes, numbered from 0 in the order given)
 *   tick MS X Y SHAPE      (MS after the previous tick: the window at X,Y in that shape)
 * Prints its own CPU and wall time in ms when done. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

enum
{
    kMaxShapes = 8,
    kMaxTicks = 4096
};

struct Shape
{
    int count;
    xcb_rectangle_t* rects;
};
struct Tick
{
    int ms, x, y, shape;
};

static struct Shape shapes[kMaxShapes];
static int shapeCount;
static struct Tick ticks[kMaxTicks];
static int tickCount;

static int readInput(void)
{
    char word[16];
    while (scanf("%15s", word) == 1) {
        if (!strcmp(word, "shape") && shapeCount < kMaxShapes) {
            struct Shape* s = &shapes[shapeCount++];
            if (scanf("%d", &s->count) != 1 || s->count < 0)
                return 0;
            s->rects = calloc((size_t)s->count + 1, sizeof *s->rects);
            for (int i = 0; i < s->count; ++i) {
                int x, y, w, h;
                if (scanf("%d %d %d %d", &x, &y, &w, &h) != 4)
                    return 0;
                s->rects[i] = (xcb_rectangle_t){(int16_t)x, (int16_t)y, (uint16_t)w, (uint16_t)h};
            }
        } else if (!strcmp(word, "tick") && tickCount < kMaxTicks) {
            struct Tick* t = &ticks[tickCount++];
            if (scanf("%d %d %d %d", &t->ms, &t->x, &t->y, &t->shape) != 4 || t->shape < 0 ||
                t->shape >= shapeCount)
                return 0;
        } else {
            return 0;
        }
    }
    return shapeCount > 0 && tickCount > 0;
}

/* The box around every shape, as the single rectangle of `box`. */
static struct Shape boundingBox(void)
{
    int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
    for (int s = 0; s < shapeCount; ++s)
        for (int i = 0; i < shapes[s].count; ++i) {
            const xcb_rectangle_t r = shapes[s].rects[i];
            left = r.x < left ? r.x : left;
            top = r.y < top ? r.y : top;
            right = r.x + r.width > right ? r.x + r.width : right;
            bottom = r.y + r.height > bottom ? r.y + r.height : bottom;
        }
    struct Shape box = {1, calloc(1, sizeof(xcb_rectangle_t))};
    if (right > left)
        box.rects[0] = (xcb_rectangle_t){(int16_t)left, (int16_t)top, (uint16_t)(right - left),
                                         (uint16_t)(bottom - top)};
    return box;
}

static double msOf(clockid_t clock)
{
    struct timespec now;
    clock_gettime(clock, &now);
    return (double)now.tv_sec * 1000.0 + (double)now.tv_nsec / 1e6;
}

int main(int argc, char* argv[])
{
    if (argc < 2 || !readInput()) {
        fprintf(stderr, "usage: bare_strip_window STRIP-WINDOW [box] < ticks\n");
        return 2;
    }
    const xcb_window_t strip = (xcb_window_t)strtoul(argv[1], NULL, 0);
    const int box = argc > 2 && !strcmp(argv[2], "box");
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;

    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, strip), NULL);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, strip), NULL);
    xcb_shape_query_extents_reply_t* extents =
        xcb_shape_query_extents_reply(c, xcb_shape_query_extents(c, strip), NULL);
    if (!attributes || !geometry || !extents) {
        fprintf(stderr, "bare_strip_window: no window %s\n", argv[1]);
        return 1;
    }
    const int outline = extents->bounding_shaped;

    const xcb_colormap_t colormap = xcb_generate_id(c);
    xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, attributes->visual);
    /* In the order of their XCB_CW_ bits. The background stays None: nothing paints the window. */
    const uint32_t values[] = {0,
                               attributes->bit_gravity,
                               attributes->win_gravity,
                               attributes->backing_store,
                               attributes->override_redirect,
                               attributes->save_under,
                               colormap};
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, geometry->depth, window, screen->root, (int16_t)ticks[0].x, (int16_t)ticks[0].y,
                      geometry->width, geometry->height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, attributes->visual,
                      XCB_CW_BORDER_PIXEL | XCB_CW_BIT_GRAVITY | XCB_CW_WIN_GRAVITY | XCB_CW_BACKING_STORE |
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_SAVE_UNDER | XCB_CW_COLORMAP,
                      values);

    const xcb_gcontext_t fill = xcb_generate_id(c);
    const uint32_t transparent = 0;
    xcb_create_gc(c, fill, window, XCB_GC_FOREGROUND, &transparent);
    const xcb_rectangle_t whole = {0, 0, geometry->width, geometry->height};

    const struct Shape rectangle = box ? boundingBox() : shapes[0];
    int shown = -1; /* the look whose shape the window has */
    int x = ticks[0].x, y = ticks[0].y;
    const double wallStart = msOf(CLOCK_MONOTONIC);
    struct timespec due;
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (int i = 0; i <= tickCount; ++i) {
        const struct Tick* t = i ? &ticks[i - 1] : NULL;
        if (t && (t->x != x || t->y != y)) {
            x = t->x, y = t->y;
            const int32_t place[] = {x, y};
            xcb_configure_window(c, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
        }
        const int look = t ? t->shape : 0;
        if (look != shown) {
            const struct Shape* s = box ? &rectangle : &shapes[look];
            if (!box || shown < 0) {
                xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_YX_BANDED,
                                     window, 0, 0, (uint32_t)s->count, s->rects);
                if (outline)
                    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                                         XCB_CLIP_ORDERING_YX_BANDED, window, 0, 0, (uint32_t)s->count,
                                         s->rects);
            }
            if (shown >= 0)
                xcb_poly_fill_rectangle(c, window, fill, 1, &whole);
            shown = look;
        }
        if (!t) {
            xcb_map_window(c, window); /* shaped before it shows, on top of the stack */
            xcb_poly_fill_rectangle(c, window, fill, 1, &whole);
        }
        xcb_flush(c);
        if (i == tickCount)
            break;
        /* Due times add up as a QTimer's do, so a late tick does not shift the ones after it. */
        due.tv_nsec += (long)ticks[i].ms * 1000000L;
        due.tv_sec += due.tv_nsec / 1000000000L;
        due.tv_nsec %= 1000000000L;
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, NULL);
    }
    const double wallMs = msOf(CLOCK_MONOTONIC) - wallStart;
    xcb_destroy_window(c, window);
    xcb_free_colormap(c, colormap);
    xcb_disconnect(c);
    printf("%.1f %.1f\n", msOf(CLOCK_PROCESS_CPUTIME_ID), wallMs);
    return 0;
}
