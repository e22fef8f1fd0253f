#include "windowplacement.h"

#include <QWidget>

namespace {

// The part of the frame a user drags: the top strip of the window.
constexpr int TitleBarHeight = 24;
// How much of that strip must be on one screen to be grabbed comfortably.
constexpr int GrabbableWidth = 80;

bool TitleBarReachable(const QRect &bounds, const QList<QRect> &screens)
{
    const QRect titleBar(bounds.left(), bounds.top(), bounds.width(), TitleBarHeight);
    const int needed = std::min(GrabbableWidth, bounds.width());
    for (const QRect &screen : screens) {
        const QRect visible = screen.intersected(titleBar);
        if (visible.width() >= needed && visible.height() >= TitleBarHeight / 2)
            return true;
    }
    return false;
}

} // namespace

QRect PlaceOnScreens(const WindowBounds &bounds, const QList<QRect> &screens, QSize minimum)
{
    // Within these limits no coordinate of the rectangle overflows an int.
    const auto position = [](int value) { return std::clamp(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); };
    QSize size = QSize(std::min(bounds.width, QWIDGETSIZE_MAX), std::min(bounds.height, QWIDGETSIZE_MAX));
    // A window larger than all screens together only costs memory.
    QRect desktop;
    for (const QRect &screen : screens)
        desktop |= screen;
    if (!desktop.isEmpty())
        size = size.boundedTo(desktop.size());
    size = size.expandedTo(minimum);
    const QRect placed(position(bounds.left), position(bounds.top), size.width(), size.height());
    if (screens.isEmpty() || TitleBarReachable(placed, screens))
        return placed;
    const QRect screen = screens.constFirst();
    return {screen.topLeft(), size.boundedTo(screen.size()).expandedTo(minimum)};
}
