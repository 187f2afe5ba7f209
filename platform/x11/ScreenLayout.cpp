#include "platform/x11/ScreenLayout.h"

#include <algorithm>
#include <cmath>

namespace numbrelle {

std::optional<std::size_t> chooseMonitor(const std::vector<Monitor>& monitors)
{
    std::optional<std::size_t> choice;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].area.contains(0, 0) && (!choice || monitors[i].primary))
            choice = i;
    }
    if (choice)
        return choice;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].primary)
            return i;
    }
    if (monitors.empty())
        return std::nullopt;
    return 0;
}

PixelSize screenSizeFor(const std::vector<ScreenArea>& areas, PixelSize minimum, PixelSize maximum)
{
    PixelSize size;
    for (const ScreenArea& area : areas) {
        size.width = std::max(size.width, area.right());
        size.height = std::max(size.height, area.bottom());
    }
    size.width = std::max(size.width, minimum.width);
    size.height = std::max(size.height, minimum.height);
    // A maximum of 0 is a server that did not say: no upper limit.
    if (maximum.width > 0)
        size.width = std::min(size.width, maximum.width);
    if (maximum.height > 0)
        size.height = std::min(size.height, maximum.height);
    return size;
}

std::optional<PixelSize> growthBefore(PixelSize current, const ScreenArea& area)
{
    if (area.right() <= current.width && area.bottom() <= current.height)
        return std::nullopt;
    return PixelSize { std::max(current.width, area.right()), std::max(current.height, area.bottom()) };
}

int millimetresFor(int pixels, int desktopPixels, int desktopMillimetres)
{
    if (desktopPixels > 0 && desktopMillimetres > 0)
        return static_cast<int>(std::lround(double(pixels) * desktopMillimetres / desktopPixels));
    return static_cast<int>(std::lround(pixels * 25.4 / 96));
}

} // namespace numbrelle
