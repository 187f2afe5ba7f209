// Layouts of several monitors, which a test X server cannot offer: the monitor
// switched, the screen around the monitors, and its physical size.

#include "platform/x11/ScreenLayout.h"

#include <gtest/gtest.h>

using namespace numbrelle;

namespace {

constexpr ScreenArea laptop { 0, 0, 1366, 768 };
constexpr ScreenArea rightOfLaptop { 1366, 0, 1920, 1080 };
// A CRTC whose mode could not be looked up covers nothing, not even its corner.
constexpr ScreenArea unknownMode { 0, 0, 0, 0 };
constexpr ScreenArea belowOrigin { 0, 768, 1920, 1080 };

TEST(ScreenLayout, ChoosesTheMonitorThatShowsTheTopLeftCorner)
{
    struct Row {
        const char* layout;
        std::vector<Monitor> monitors;
        std::optional<std::size_t> chosen;
    } rows[] = {
        { "no monitors", {}, std::nullopt },
        { "one", { { laptop, false } }, 0 },
        { "primary elsewhere", { { rightOfLaptop, true }, { laptop, false } }, 1 },
        { "mirrored, primary second", { { laptop, false }, { laptop, true } }, 1 },
        { "mirrored, primary first", { { laptop, true }, { laptop, false } }, 0 },
        { "corner uncovered, primary", { { belowOrigin, false }, { rightOfLaptop, true } }, 1 },
        { "corner uncovered, no primary", { { rightOfLaptop, false }, { belowOrigin, false } }, 0 },
        { "empty area at the corner", { { unknownMode, true }, { laptop, false } }, 1 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(chooseMonitor(row.monitors), row.chosen) << row.layout;
}

TEST(ScreenLayout, ScreenHoldsEveryMonitorWithinTheServersLimits)
{
    constexpr ScreenArea small { 0, 0, 640, 480 };
    struct Row {
        const char* layout;
        std::vector<ScreenArea> areas;
        PixelSize minimum;
        PixelSize maximum;
        PixelSize expected;
    } rows[] = {
        { "one monitor shrinks the screen", { small }, { 1, 1 }, { 8192, 8192 }, { 640, 480 } },
        // The other monitor keeps its place; the screen still reaches it.
        { "monitor to the right", { small, rightOfLaptop }, { 1, 1 }, { 8192, 8192 }, { 3286, 1080 } },
        { "monitor below", { small, belowOrigin }, { 1, 1 }, { 8192, 8192 }, { 1920, 1848 } },
        { "server minimum", { small }, { 800, 600 }, { 8192, 8192 }, { 800, 600 } },
        { "server maximum", { small, rightOfLaptop }, { 1, 1 }, { 2048, 1024 }, { 2048, 1024 } },
        { "server states no maximum", { small, rightOfLaptop }, { 320, 200 }, { 0, 0 }, { 3286, 1080 } },
        { "nothing lit", {}, { 320, 200 }, { 8192, 8192 }, { 320, 200 } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(screenSizeFor(row.areas, row.minimum, row.maximum), row.expected) << row.layout;
}

TEST(ScreenLayout, ScreenGrowsBeforeAMonitorOutgrowsIt)
{
    struct Row {
        const char* step;
        PixelSize current;
        ScreenArea area;
        std::optional<PixelSize> grown;
    } rows[] = {
        { "switch to a smaller mode", { 1024, 768 }, { 0, 0, 640, 480 }, std::nullopt },
        { "same size", { 1024, 768 }, { 0, 0, 1024, 768 }, std::nullopt },
        { "restore after the switch", { 640, 480 }, { 0, 0, 1024, 768 }, PixelSize { 1024, 768 } },
        { "wider only", { 1280, 480 }, { 0, 0, 1024, 768 }, PixelSize { 1280, 768 } },
        { "placed off the origin", { 1920, 1080 }, { 1366, 0, 1920, 1080 }, PixelSize { 3286, 1080 } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(growthBefore(row.current, row.area), row.grown) << row.step;
}

TEST(ScreenLayout, MillimetresKeepTheDesktopsDensity)
{
    struct Row {
        int pixels, desktopPixels, desktopMillimetres, expected;
    } rows[] = {
        { 640, 1920, 510, 170 },
        { 1920, 1920, 510, 510 },
        { 641, 1280, 339, 170 }, // 169.76 rounds to the nearest millimetre
        { 960, 1024, 0, 254 }, // Xvfb reports no size: 96 dots per inch
        { 960, 0, 0, 254 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(millimetresFor(row.pixels, row.desktopPixels, row.desktopMillimetres), row.expected)
            << row.pixels << " of " << row.desktopPixels << " px, " << row.desktopMillimetres << " mm";
}

} // namespace
