// A desktop for the window under wine: a private X server on a free display, a wine prefix that
// shows its windows on a virtual desktop there, the program started in the background, real X
// input (xdotool), the screen's pixels, and the probe that reads the window's controls.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/windows/BoundedProcess.h"
#include "tests/windows/WinePrefix.h"

namespace orvel::test {

// A private Xvfb on the first free display; stopped with this object.
class XServer {
public:
    static std::string whyUnavailable();
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    const std::string& display() const { return display_; }

    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

private:
    pid_t server_ = -1;
    std::string display_;
};

// A program running in the background, in a process group of its own, ended with this object
// (or when this process dies).
class BackgroundProgram {
public:
    BackgroundProgram(const std::vector<std::string>& arguments, const Environment& environment,
                      const std::string& workingFolder);
    ~BackgroundProgram();
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    // Whether it ended by itself within the time given.
    bool waitForExit(std::chrono::milliseconds timeout);
    bool running();

private:
    pid_t child_ = -1;
    bool ended_ = false;
};

// What the probe read: "name.property" to value.
using ProbeReading = std::map<std::string, std::string>;
// A value read, or empty when the probe did not read it (the window not there yet).
std::string valueOf(const ProbeReading& reading, const std::string& name);

// A rectangle on the screen, right and bottom exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
ScreenRect parseRect(const std::string& text);

class WineDesktop {
public:
    WineDesktop();

    const WinePrefix& prefix() const { return *prefix_; }
    const std::string& display() const { return x_->display(); }

    // Starts a Windows program in the prefix, its current folder its own.
    std::unique_ptr<BackgroundProgram> start(const std::string& program) const;
    // Runs the probe once.
    ProbeReading probe() const;
    // Probes until the condition holds or the time is up; the last reading either way.
    template <typename Condition>
    ProbeReading probeUntil(Condition condition,
                            std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            ProbeReading reading = probe();
            if (condition(reading) || std::chrono::steady_clock::now() >= end)
                return reading;
        }
    }

    // X input: xdotool's commands, as given ("mousemove", "100", "200", "click", "1").
    void x(const std::vector<std::string>& commands) const;
    void moveTo(int x, int y) const;
    void clickAt(int x, int y) const;
    // A chord as the user plays it: the modifier down, the key pressed and released, the
    // modifier up. ("ctrl", "a").
    void chord(const std::string& modifier, const std::string& key) const;
    void key(const std::string& key) const;

    // The screen's pixels in the rectangle, 3 bytes a pixel, rows top first.
    std::string pixels(const ScreenRect& rect) const;
    // A whole screenshot as a PNG file, or the part of it in the rectangle.
    void screenshot(const std::string& path) const;
    void screenshot(const std::string& path, const ScreenRect& rect) const;

private:
    std::unique_ptr<XServer> x_;
    std::unique_ptr<WinePrefix> prefix_;
};

// The pixels of a picture file (BMP or PNG), 3 bytes a pixel, rows top first.
std::string picturePixels(const std::string& path);

}  // namespace orvel::test
