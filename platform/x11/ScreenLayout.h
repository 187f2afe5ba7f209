// The arithmetic of a mode switch on an X screen that may span several
// monitors: which monitor to switch, how large the screen must be around the
// monitors, and its size in millimetres. Kept apart from Xlib so that layouts
// no test server offers can still be tested.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace numbrelle {

struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool contains(int pointX, int pointY) const
    {
        return pointX >= x && pointY >= y && pointX < right() && pointY < bottom();
    }
};

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct Monitor {
    ScreenArea area;
    bool primary = false;
};

// The program's window is moved to the top-left corner of the screen, so the
// monitor that shows that corner is the one to switch (the primary one where
// monitors mirror each other there). With none there: the primary monitor,
// else the first. Nothing only when there are no monitors.
std::optional<std::size_t> chooseMonitor(const std::vector<Monitor>&);

// The smallest screen that holds every area, within the server's limits.
PixelSize screenSizeFor(const std::vector<ScreenArea>&, PixelSize minimum, PixelSize maximum);

// The screen must hold every monitor at every moment: before a monitor shows
// `area` the screen grows to hold it too (the size returned); nothing when it
// already does.
std::optional<PixelSize> growthBefore(PixelSize current, const ScreenArea& area);

// Keeps the desktop's pixels per millimetre for a new size; a server that
// reports no physical size gets the customary 96 dots per inch.
int millimetresFor(int pixels, int desktopPixels, int desktopMillimetres);

} // namespace numbrelle
