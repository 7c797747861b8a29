// Start-up stopwatch: starts a program and watches the X server until the program's first window
// is mapped and then until its first frame is painted. Prints one line,
//
//   PID MAPPED_MS PAINTED_MS
//
// both counted from the moment before the program is started, then waits for the program to end
// (the caller ends it by its process id), so that the program is reaped here.
//
// A frame counts as painted once any pixel of the window's middle row differs from black: run it
// on an X server whose root window is black (Xvfb -br) and where no window manager or compositor
// draws on the window. The program's window belongs to it by its _NET_WM_PID property.
//
//   orvel_first_frame PROGRAM [ARGUMENT...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::microseconds(500);
constexpr auto kGiveUpAfter = std::chrono::seconds(30);

// The window may go away between two requests: an error ends that look, not the stopwatch.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

std::optional<long> windowPid(Display* display, Window window, Atom pidAtom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) != Success ||
        data == nullptr)
        return std::nullopt;
    std::optional<long> pid;
    if (type == XA_CARDINAL && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    XFree(data);
    return pid;
}

// The program's top-level window once it is viewable; without a window manager the top-level
// windows are the root's children.
std::optional<Window> viewableWindowOf(Display* display, pid_t pid, Atom pidAtom) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        if (windowPid(display, children[i], pidAtom) == pid)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

// One row across the middle is enough: the first frame is flushed to the window as a whole. A
// whole-window image each half millisecond would keep the X server busy with copies and delay
// the very frame it waits for.
bool isPainted(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.height < 1)
        return false;
    XImage* image = XGetImage(display, window, 0, attributes.height / 2, attributes.width, 1,
                              AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool painted = false;
    for (int x = 0; x < image->width && !painted; ++x)
        painted = XGetPixel(image, x, 0) != 0;
    XDestroyImage(image);
    return painted;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvel_first_frame PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "orvel_first_frame: no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::perror("orvel_first_frame: exec");
        _exit(127);
    }

    std::optional<Window> window;
    double mapped = -1, painted = -1;
    while (Clock::now() - start < kGiveUpAfter && painted < 0) {
        if (!window && (window = viewableWindowOf(display, pid, pidAtom)))
            mapped = millisecondsSince(start);
        if (window && isPainted(display, *window))
            painted = millisecondsSince(start);
        if (painted < 0)
            std::this_thread::sleep_for(kPollInterval);
    }
    std::printf("%d %.1f %.1f\n", static_cast<int>(pid), mapped, painted);
    std::fflush(stdout);
    XCloseDisplay(display);

    int status = 0;
    waitpid(pid, &status, 0);
    return painted < 0 ? 1 : 0;
}
