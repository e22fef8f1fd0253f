#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// A window's outer bounds as remembered: any ints, however unreasonable.
struct WindowBounds {
    int left = 10;
    int top = 10;
    int width = 900;
    int height = 800;
};

// Makes remembered bounds usable on the screens there are now: sizes between
// `minimum` and the size of all screens together, and enough of the title bar on a
// screen to grab it. A window whose title bar is out of reach (say, on a
// monitor that has since been unplugged) moves onto the first screen, shrunk
// to fit it.
QRect PlaceOnScreens(const WindowBounds &bounds, const QList<QRect> &screens, QSize minimum);
