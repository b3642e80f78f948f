#include "ui/common/WindowPlacement.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>

#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#if ZAVOTA_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include "settings/WindowRules.h"

namespace zavota::ui {

namespace {

// The top-left corner of a frame of `size` moved so that the whole frame stays in the screen's
// usable area (a panel may take an edge).
QPoint OnScreen(QSize size, QPoint wanted) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return wanted;
    const QRect area = screen->availableGeometry();
    const WindowPosition at = PlaceOnScreen({wanted.x(), wanted.y()}, size.width(), size.height(),
                                            ScreenArea{area.x(), area.y(), area.width(), area.height()});
    return {at.x, at.y};
}

// Where the frame stands on the screen, asked of the X server, and whether the window manager
// has framed the window yet. Qt's own idea lags behind under X11: its frame margins read 0 until
// it hears of the frame, and a window placed before it is first shown is placed by its client
// area, so that its frame lands up and to the left of the place asked for.
struct X11Frame {
    QPoint topLeft;
    bool framed = false;
    QMargins extents;  // of the frame around the client, once the window manager announced them
};

#if ZAVOTA_HAVE_XCB
template <typename Reply>
struct XcbReply {
    Reply* reply;
    explicit XcbReply(Reply* r) : reply(r) {}
    ~XcbReply() { std::free(reply); }
    XcbReply(const XcbReply&) = delete;
    XcbReply& operator=(const XcbReply&) = delete;
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};
#endif

std::optional<X11Frame> AskX11(const QWidget* window) {
#if ZAVOTA_HAVE_XCB
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr || window->windowHandle() == nullptr || !window->isVisible())
        return std::nullopt;
    xcb_connection_t* c = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->winId());
    const XcbReply tree(xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr));
    if (!tree) return std::nullopt;
    const xcb_window_t root = tree->root;
    const XcbReply at(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr));
    if (!at) return std::nullopt;
    X11Frame frame{QPoint(at->dst_x, at->dst_y), tree->parent != root};
    if (!frame.framed) return frame;

    // The frame's extents as the window manager announces them: left, right, top, bottom.
    static const xcb_atom_t extents = [c] {
        const char name[] = "_NET_FRAME_EXTENTS";
        const XcbReply atom(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr));
        return atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    const XcbReply property(xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (property && property->format == 32 && xcb_get_property_value_length(property.reply) == 16) {
        const auto* e = static_cast<const std::uint32_t*>(xcb_get_property_value(property.reply));
        frame.extents = QMargins(static_cast<int>(e[0]), static_cast<int>(e[2]), static_cast<int>(e[1]),
                                 static_cast<int>(e[3]));
        frame.topLeft -= QPoint(frame.extents.left(), frame.extents.top());
        return frame;
    }
    // No extents announced: the frame is the outermost window around the client.
    xcb_window_t outer = id;
    for (xcb_window_t parent = tree->parent; parent != root && parent != XCB_WINDOW_NONE;) {
        outer = parent;
        const XcbReply up(xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr));
        if (!up) break;
        parent = up->parent;
    }
    const XcbReply outerAt(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, outer, root, 0, 0), nullptr));
    const XcbReply outerSize(xcb_get_geometry_reply(c, xcb_get_geometry(c, outer), nullptr));
    if (outerAt && outerSize) {
        const QPoint client = frame.topLeft;
        frame.topLeft = QPoint(outerAt->dst_x, outerAt->dst_y);
        const QSize inner = window->size();
        frame.extents = QMargins(client.x() - frame.topLeft.x(), client.y() - frame.topLeft.y(),
                                 outerSize->width - inner.width() - (client.x() - frame.topLeft.x()),
                                 outerSize->height - inner.height() - (client.y() - frame.topLeft.y()));
    }
    return frame;
#else
    (void)window;
    return std::nullopt;
#endif
}

QPoint FrameTopLeft(const QWidget* window) {
    const std::optional<X11Frame> x = AskX11(window);
    return x ? x->topLeft : window->frameGeometry().topLeft();
}

// Where a window manager puts a frame for a requested position differs between the first
// showing of a window and later ones, and between window managers. So the frame is watched
// after showing: once framed and at rest, a frame that stands off is moved by what it is off
// (three times at most, within a second). The frame's size is known only then: the place is
// worked out again from it (`place`), so that a title bar or border does not hang off the
// screen's edge and a centred dialog is centred by its frame.
void KeepFrameAt(QWidget* window, std::function<QPoint(QSize frame)> place, QPoint wanted) {
    // A watch left from an earlier showing would correct the frame a second time.
    const QString name = QStringLiteral("frameWatch");
    for (QTimer* old : window->findChildren<QTimer*>(name, Qt::FindDirectChildrenOnly)) {
        old->stop();
        old->deleteLater();
    }
    auto* timer = new QTimer(window);
    timer->setObjectName(name);
    timer->setInterval(25);
    QPointer<QWidget> w(window);
    struct Watch {
        QPoint requested;
        std::optional<QPoint> last;
        int ticks = 0;
        int framedTicks = 0;
        int moves = 0;
    } watch{wanted, std::nullopt, 0, 0, 0};
    QObject::connect(timer, &QTimer::timeout, timer, [timer, w, place, wanted, watch]() mutable {
        // Framing may take a while on a busy machine; once framed, a second is enough.
        if (w.isNull() || ++watch.ticks > 200 || watch.framedTicks > 40 || watch.moves >= 3)
            return timer->deleteLater();
        const std::optional<X11Frame> x = AskX11(w);
        if (!x || !x->framed) return;
        ++watch.framedTicks;
        wanted = place(w->size().grownBy(x->extents));  // a dialog's layout may still resize it
        const QPoint frame = x->topLeft;
        if (frame == wanted) return timer->deleteLater();
        const bool atRest = watch.last == frame;
        watch.last = frame;
        if (!atRest) return;
        watch.requested += wanted - frame;
        ++watch.moves;
        watch.last.reset();
        w->move(watch.requested);
    });
    timer->start();
}

}  // namespace

void PlaceAtSavedPosition(QWidget* window, WindowPosition saved) {
    // Before the first showing a window not sized by hand takes its size hint when shown.
    QSize size = window->frameGeometry().size();
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized) && window->sizeHint().isValid())
        size = window->sizeHint();
    const QPoint at = OnScreen(size, {saved.x, saved.y});
    window->move(at);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        KeepFrameAt(window, [saved](QSize frame) { return OnScreen(frame, {saved.x, saved.y}); }, at);
}

void PlaceBesideOrAt(QWidget* window, const QWidget* anchor, WindowPosition fallback) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return PlaceAtSavedPosition(window, fallback);
    const QRect area = screen->availableGeometry();
    // Not framed yet: it will get a frame like the anchor's.
    const QSize margins = anchor->frameGeometry().size() - anchor->size();
    const QSize size = (window->isVisible() || window->testAttribute(Qt::WA_Resized) ? window->size()
                                                                                       : window->sizeHint()) +
                       margins;
    const QPoint from = FrameTopLeft(anchor);
    const auto beside = PlaceBeside({from.x(), from.y()}, anchor->frameGeometry().width(), size.width(),
                                    size.height(), ScreenArea{area.x(), area.y(), area.width(), area.height()});
    PlaceAtSavedPosition(window, beside.value_or(fallback));
}

WindowPosition FramePosition(const QWidget* window) {
    const QPoint p = FrameTopLeft(window);
    return {p.x(), p.y()};
}

void CentreOn(QWidget* dialog, const QWidget* over) {
    const QRect target(FrameTopLeft(over), over->frameGeometry().size());
    const auto centred = [target](QSize frame) {
        return OnScreen(frame, target.center() - QPoint(frame.width() / 2, frame.height() / 2));
    };
    const QPoint at = centred(dialog->frameGeometry().size());
    dialog->move(at);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        KeepFrameAt(dialog, centred, at);
}

Qt::WindowFlags FixedDialogFlags() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

}  // namespace zavota::ui
