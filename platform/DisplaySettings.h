// The display modes of the screen that shows the window: enumerated by number,
// one of them switched to, and the desktop's own mode put back at the end.
#pragma once

namespace numbrelle {

struct DisplayModeInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

class DisplaySettings {
public:
    virtual ~DisplaySettings() = default;
    // Mode number `number` (0, 1, 2, ...) in the display's own order; false when
    // there is no mode of that number.
    virtual bool enumMode(int number, DisplayModeInfo& mode) = 0;
    // Switches to an enumerated mode; the caller does not examine the result.
    virtual bool changeMode(int number) = 0;
    // Puts back the mode in effect when the program started; harmless when
    // nothing was switched.
    virtual void restore() = 0;
};

// No display to switch (no X server, Wayland): no modes, nothing to do.
class NoDisplaySettings final : public DisplaySettings {
public:
    bool enumMode(int, DisplayModeInfo&) override { return false; }
    bool changeMode(int) override { return false; }
    void restore() override { }
};

} // namespace numbrelle
