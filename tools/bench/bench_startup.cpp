// kelpra-bench-startup: time from starting a program to its first top-level window being
// mapped on the X server, for kelpra and for a minimal Qt Widgets window, run in turns.
// Prints each run, the medians and their ratio. Needs an X server without a window
// manager (scripts/bench-startup.sh starts Xvfb), so that every map reaches the root.
//
// usage: kelpra-bench-startup [--runs N] PROGRAM BASELINE

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Starts the program and waits for a window of it to be mapped as a child of the root;
// the time taken in milliseconds, or a negative number when none came within 20 s.
double timeToMapped(xcb_connection_t *c, const char *program)
{
    // Events of an earlier run are not this run's.
    while (xcb_generic_event_t *e = xcb_poll_for_event(c))
        std::free(e);
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        // The programs' own chatter would only interleave with the figures.
        if (FILE *quiet = std::freopen("/dev/null", "w", stderr))
            (void)quiet;
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    double taken = -1;
    while (nowMs() - start < 20000) {
        xcb_generic_event_t *e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c))
                break;
            usleep(200);
            continue;
        }
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY
                            && !reinterpret_cast<xcb_map_notify_event_t *>(e)->override_redirect;
        std::free(e);
        if (mapped) {
            taken = nowMs() - start;
            break;
        }
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return taken;
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 21;
    std::vector<const char *> programs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            programs.push_back(argv[i]);
    }
    if (programs.size() != 2) {
        std::fprintf(stderr, "usage: kelpra-bench-startup [--runs N] PROGRAM BASELINE\n");
        return 2;
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X server (DISPLAY=%s)\n", std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    // One unmeasured run of each first: the files they load come from the disk cache after.
    timeToMapped(c, programs[0]);
    timeToMapped(c, programs[1]);
    std::vector<double> times[2];
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            const double ms = timeToMapped(c, programs[p]);
            if (ms < 0) {
                std::fprintf(stderr, "%s: no window within 20 s\n", programs[p]);
                return 1;
            }
            times[p].push_back(ms);
        }
        std::printf("run %2d: program %.1f ms, baseline %.1f ms\n", run + 1, times[0].back(), times[1].back());
    }
    const double program = median(times[0]);
    const double baseline = median(times[1]);
    std::printf("median: program %.1f ms, baseline %.1f ms, ratio %.2f\n", program, baseline, program / baseline);
    xcb_disconnect(c);
    return 0;
}
