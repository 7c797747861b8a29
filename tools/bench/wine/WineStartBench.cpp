// orvel_bench_wine_start WINDOW_PROGRAM MINIMAL_PROGRAM BITMAP_FOLDER [RUNS]
// Times the Windows window and the minimal Win32 window from their start under wine to their
// first painted frame, on a virtual desktop of a private Xvfb, one prefix for both, the wine
// server kept up between runs (as a user's is). A frame counts as painted when three points of
// the screen (the client area's centre, a point of the window's title strip and one of its Exit
// button, a control painted after the window) show the colours they settle on; the two programs
// run alternately, each after a run to warm up.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/window/WineDesktop.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Point {
    int x;
    int y;
};
// The client area's centre, its title strip, its Exit button: the main window centred on the
// 1024 x 768 desktop.
const std::vector<Point> kPoints = {{512, 400}, {250, 232}, {800, 518}};
constexpr auto kSettle = 3s;
constexpr auto kGiveUp = 20s;

std::vector<unsigned long> pixelsAt(Display* display) {
    std::vector<unsigned long> pixels;
    const Window root = DefaultRootWindow(display);
    for (const Point& point : kPoints) {
        XImage* image = XGetImage(display, root, point.x, point.y, 1, 1, AllPlanes, ZPixmap);
        pixels.push_back(image != nullptr ? XGetPixel(image, 0, 0) : 0);
        if (image != nullptr)
            XDestroyImage(image);
    }
    return pixels;
}

// Milliseconds from the start to the first frame that shows every point settled; -1 if none
// came in time.
double timeToFrame(const orvel::test::WineDesktop& desktop, Display* display,
                   const std::string& program, const std::vector<unsigned long>& settled) {
    const auto start = Clock::now();
    auto running = desktop.start(program);
    while (Clock::now() - start < kGiveUp) {
        if (pixelsAt(display) == settled)
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::this_thread::sleep_for(1ms);
    }
    return -1;
}

std::vector<unsigned long> settledPixels(const orvel::test::WineDesktop& desktop, Display* display,
                                         const std::string& program) {
    auto running = desktop.start(program);
    std::this_thread::sleep_for(kSettle);
    return pixelsAt(display);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: orvel_bench_wine_start WINDOW_PROGRAM MINIMAL_PROGRAM BITMAP_FOLDER "
                     "[RUNS]\n");
        return 2;
    }
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 11;
    orvel::test::WineDesktop desktop;
    // Each program from a folder of its own in the prefix, the window with its bitmaps.
    const std::string folder = desktop.prefix().workFolder();
    const std::vector<std::string> programs = {folder + "/window/varnet-orvel.exe",
                                               folder + "/minimal/minimal-window.exe"};
    fs::create_directories(folder + "/window");
    fs::create_directories(folder + "/minimal");
    fs::copy_file(argv[1], programs[0]);
    fs::copy_file(argv[2], programs[1]);
    for (const auto& bitmap : fs::directory_iterator(argv[3]))
        fs::copy_file(bitmap.path(), folder + "/window/" + bitmap.path().filename().string());

    Display* display = XOpenDisplay(desktop.display().c_str());
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", desktop.display().c_str());
        return 1;
    }
    std::vector<std::vector<unsigned long>> settled;
    for (const std::string& program : programs) {
        settled.push_back(settledPixels(desktop, display, program));
        std::this_thread::sleep_for(500ms);
    }
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < programs.size(); ++i) {
            times[i].push_back(timeToFrame(desktop, display, programs[i], settled[i]));
            std::this_thread::sleep_for(500ms);
        }
    }
    XCloseDisplay(display);
    const char* names[] = {"varnet-orvel.exe", "minimal-window.exe"};
    for (size_t i = 0; i < programs.size(); ++i) {
        std::printf("%-20s median %7.1f ms  min %7.1f ms  max %7.1f ms  (%d runs)\n", names[i],
                    median(times[i]), *std::min_element(times[i].begin(), times[i].end()),
                    *std::max_element(times[i].begin(), times[i].end()), runs);
    }
    std::printf("window / minimal: %.2fx (medians)\n", median(times[0]) / median(times[1]));
    return 0;
}
