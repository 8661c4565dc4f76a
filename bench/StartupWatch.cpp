// Measures how long a program takes from its start to its first shown frame
// on an X display (run under Xvfb, without a window manager or compositor).
//
// The watcher snapshots the screen, starts the program, waits for the first
// top-level window to be mapped, then polls the screen under that window
// until its pixels differ from the snapshot: Qt creates its windows without
// a background, so the first change is the program's own first painted frame.
// It prints two numbers in milliseconds: "map <ms> frame <ms>".
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double NowMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Pixels of `now` that differ from the same place in `before`.
long ChangedPixels(XImage* before, XImage* now, int x0, int y0)
{
    long changed = 0;
    for (int y = 0; y < now->height; ++y) {
        for (int x = 0; x < now->width; ++x) {
            if (XGetPixel(now, x, y) != XGetPixel(before, x0 + x, y0 + y)) {
                ++changed;
            }
        }
    }
    return changed;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes rootAttributes {};
    XGetWindowAttributes(display, root, &rootAttributes);
    XImage* before = XGetImage(display, root, 0, 0, static_cast<unsigned>(rootAttributes.width),
        static_cast<unsigned>(rootAttributes.height), AllPlanes, ZPixmap);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("exec");
        _exit(127);
    }

    int status = 0;
    double mapped = -1;
    double painted = -1;
    Window window = 0;
    while (mapped < 0) {
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "the program ended before showing a window\n");
            return 1;
        }
        if (NowMs() - start > 20000) {
            break;
        }
        while (XPending(display) > 0) {
            XEvent event {};
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                window = event.xmap.window;
                mapped = NowMs();
                break;
            }
        }
        if (mapped < 0) {
            usleep(200);
        }
    }
    if (mapped >= 0) {
        XWindowAttributes attributes {};
        XGetWindowAttributes(display, window, &attributes);
        const long area = static_cast<long>(attributes.width) * attributes.height;
        while (painted < 0 && NowMs() - start < 20000) {
            XImage* now = XGetImage(display, root, attributes.x, attributes.y,
                static_cast<unsigned>(attributes.width), static_cast<unsigned>(attributes.height),
                AllPlanes, ZPixmap);
            if (now != nullptr) {
                if (ChangedPixels(before, now, attributes.x, attributes.y) * 2 > area) {
                    painted = NowMs();
                }
                XDestroyImage(now);
            }
            if (painted < 0) {
                usleep(200);
            }
        }
    }

    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    XDestroyImage(before);
    XCloseDisplay(display);
    if (painted < 0) {
        std::fprintf(stderr, "no frame within 20 s\n");
        return 1;
    }
    std::printf("map %.2f frame %.2f\n", mapped - start, painted - start);
    return 0;
}
