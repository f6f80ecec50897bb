#include "platform/UnmanagedWindow.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {
constexpr uint8_t kSentEvent = 0x80;

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// A reply that frees itself.
template <typename Reply> struct Owned
{
    Reply* reply;
    ~Owned() { std::free(reply); }
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

xcb_atom_t internAtom(xcb_connection_t* connection, const QByteArray& name)
{
    const Owned<xcb_intern_atom_reply_t> atom{xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr)};
    return atom ? atom->atom : xcb_atom_t(XCB_NONE);
}

uint32_t eventMask(xcb_connection_t* connection, xcb_window_t window)
{
    const Owned<xcb_get_window_attributes_reply_t> attributes{
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr)};
    return attributes ? attributes->your_event_mask : 0;
}
} // namespace

// Reads the server's events on Qt's own connection before Qt does.
class UnmanagedWindow::Native : public QAbstractNativeEventFilter
{
public:
    Native(UnmanagedWindow& owner, QWidget* window, xcb_connection_t* connection)
        : m_owner(owner), m_window(window), m_connection(connection)
    {
        // Qt's windows live on the display's default screen.
        char* host = nullptr;
        int display = 0;
        int number = 0;
        if (!xcb_parse_display(nullptr, &host, &display, &number))
            number = 0;
        std::free(host);
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < number && screen.rem > 1; ++i)
            xcb_screen_next(&screen);
        m_root = screen.data->root;

        // Window managers publish their stacking on the root, which Qt already watches for its
        // own properties.
        m_stackingAtom = internAtom(connection, "_NET_CLIENT_LIST_STACKING");
        const uint32_t rootMask = eventMask(connection, m_root);
        if (!(rootMask & XCB_EVENT_MASK_PROPERTY_CHANGE)) {
            const uint32_t mask = rootMask | XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(connection, m_root, XCB_CW_EVENT_MASK, &mask);
        }

        watchCompositor(number);
        xcb_flush(connection);
        qApp->installNativeEventFilter(this);
    }

    ~Native() override { qApp->removeNativeEventFilter(this); }

    void setSliding(bool on)
    {
        if (on == m_sliding)
            return;
        m_sliding = on;
        m_slidingAlone = XCB_NONE;
        const xcb_window_t own = ours();
        if (own == XCB_NONE)
            return;
        if (own != m_maskWindow) {
            m_maskWindow = own;
            m_windowMask = eventMask(m_connection, own);
        }
        // The server reports each move back to a window that asked for its structure's changes:
        // a wake-up and a reply per frame, for a place the program set itself.
        const uint32_t mask = on ? m_windowMask & ~uint32_t(XCB_EVENT_MASK_STRUCTURE_NOTIFY) : m_windowMask;
        xcb_change_window_attributes(m_connection, own, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        // Scaled windows keep Qt's placing, which knows how logical places map to the screen's
        // pixels.
        if (on && qFuzzyCompare(m_window->devicePixelRatioF(), 1.0))
            m_slidingAlone = own;
        if (!on && m_movedAlone) {
            m_movedAlone = false;
            m_window->move(m_placed.topLeft());
        }
    }

    void place(const QRect& geometry)
    {
        // Qt's own move also rewrites the size hints and the whole geometry each time.
        const bool alone =
            m_slidingAlone != XCB_NONE && geometry.size() == m_placed.size() && m_window->isVisible();
        m_placed = geometry;
        if (!alone) {
            m_movedAlone = false;
            m_window->setGeometry(geometry);
            return;
        }
        const int32_t place[] = {geometry.x(), geometry.y()};
        xcb_configure_window(m_connection, m_slidingAlone, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
        // A move made from a timer would otherwise wait for the next event from the window system.
        xcb_flush(m_connection);
        m_movedAlone = true;
    }

    void watchStacking(bool on) { m_stacking = on; }

    bool seeThroughByAlpha() const { return m_seeThroughByAlpha; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & ~kSentEvent;
        if (m_selectionNotify != 0 && kind == m_selectionNotify) {
            const auto* owner = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
            if (owner->selection == m_compositorAtom)
                setCompositor(owner->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER
                                  ? owner->owner
                                  : xcb_window_t(XCB_NONE));
        } else if (kind == XCB_PROPERTY_NOTIFY) {
            const auto* changed = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            if (m_stacking && changed->window == m_root && changed->atom == m_stackingAtom && covered())
                emit m_owner.covered();
        }
        return false;
    }

private:
    // A compositing manager owns the screen's _NET_WM_CM_S<n> selection while it runs; the
    // server tells every change of owner, so nothing is polled.
    void watchCompositor(int screenNumber)
    {
        const xcb_query_extension_reply_t* fixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
        if (!fixes || !fixes->present)
            return;
        // The version must be agreed on the connection before any other request of the extension.
        std::free(xcb_xfixes_query_version_reply(
            m_connection,
            xcb_xfixes_query_version(m_connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
            nullptr));
        m_compositorAtom = internAtom(m_connection, "_NET_WM_CM_S" + QByteArray::number(screenNumber));
        if (m_compositorAtom == XCB_NONE)
            return;
        m_selectionNotify = uint8_t(fixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        xcb_xfixes_select_selection_input(m_connection, m_root, m_compositorAtom,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        const Owned<xcb_get_selection_owner_reply_t> owner{xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, m_compositorAtom), nullptr)};
        m_seeThroughByAlpha = owner && owner->owner != XCB_NONE && !shadowsByOutline(owner->owner);
    }

    void setCompositor(xcb_window_t owner)
    {
        const bool byAlpha = owner != XCB_NONE && !shadowsByOutline(owner);
        if (byAlpha == m_seeThroughByAlpha)
            return;
        m_seeThroughByAlpha = byAlpha;
        emit m_owner.compositingChanged();
    }

    // picom and compton can give every window a shadow cut to its outline. Without the outline
    // the strip would cast one shadow the size of its whole box, so under them the outline stays.
    // Both name the window that holds their selection before they take it.
    bool shadowsByOutline(xcb_window_t compositor) const
    {
        const Owned<xcb_get_property_reply_t> name{xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, compositor, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 16),
            nullptr)};
        if (!name)
            return false;
        const QByteArray instance = QByteArray(static_cast<const char*>(xcb_get_property_value(name.reply)),
                                               xcb_get_property_value_length(name.reply))
                                        .split('\0')
                                        .value(0);
        return instance == "picom" || instance == "compton";
    }

    // The root lists its children from the bottom up: any window after ours lies above it.
    bool covered() const
    {
        const xcb_window_t own = ours();
        const Owned<xcb_query_tree_reply_t> tree{
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr)};
        if (!tree || own == XCB_NONE)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree.reply);
        const int count = xcb_query_tree_children_length(tree.reply);
        return count > 0 && children[count - 1] != own;
    }

    xcb_window_t ours() const
    {
        // Only a created widget has a native window; winId() would create one.
        return m_window->testAttribute(Qt::WA_WState_Created) ? xcb_window_t(m_window->winId()) : XCB_NONE;
    }

    UnmanagedWindow& m_owner;
    QWidget* m_window;
    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_stackingAtom = XCB_NONE;
    bool m_stacking = false;
    xcb_atom_t m_compositorAtom = XCB_NONE;
    // The event type that tells a new owner of a selection; 0 without the extension.
    uint8_t m_selectionNotify = 0;
    bool m_seeThroughByAlpha = false;
    bool m_sliding = false;
    // The native window that the program moves by itself while it slides; none when Qt places it.
    xcb_window_t m_slidingAlone = XCB_NONE;
    // The window's own event mask, as Qt chose it, and the window it belongs to.
    xcb_window_t m_maskWindow = XCB_NONE;
    uint32_t m_windowMask = 0;
    QRect m_placed;
    // Moved by the program alone since Qt last placed the window.
    bool m_movedAlone = false;
};

UnmanagedWindow::UnmanagedWindow(QWidget* window) : QObject(window), m_window(window)
{
    if (xcb_connection_t* connection = x11Connection())
        m_native = new Native(*this, window, connection);
}

UnmanagedWindow::~UnmanagedWindow()
{
    delete m_native;
}

void UnmanagedWindow::setSliding(bool on)
{
    if (m_native)
        m_native->setSliding(on);
}

void UnmanagedWindow::place(const QRect& geometry)
{
    if (m_native)
        m_native->place(geometry);
    else
        m_window->setGeometry(geometry);
}

void UnmanagedWindow::watchStacking(bool on)
{
    if (m_native)
        m_native->watchStacking(on);
}

bool UnmanagedWindow::seeThroughByAlpha() const
{
    return m_native && m_native->seeThroughByAlpha();
}
