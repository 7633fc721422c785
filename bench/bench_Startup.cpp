// The start-up of the program until its main window is mapped, against a bare Qt window of the
// same size started the same way, in the same run on the same X server (an Xvfb started here,
// with no window manager). Each iteration starts a fresh process and watches the server for
// the map of the window with the expected title, then ends the process. The goal is at most
// 1.3 times the bare window. The program is started as users start it: quorvale, which
// replaces itself with the windows' program in the same process, so that both count.
//
// A third process shows what any program that starts as this one does cannot go below: the
// least window. It paints a window of the splash screen's size first, then maps a main window
// with a menu bar and one line of text in the program's font, which is what costs most: the
// font database is read on the first text measured.
//
// Run: build/bench/bench_Startup (needs Xvfb; the program is the one of the same build).
#include "platform/Version.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

const char *const BareTitle = "Bare Qt window";
const char *const LeastTitle = "Least window";
const std::string ProgramTitle = std::string("Quorvale Pro, ") + QuorvaleVersion;

xcb_connection_t *Server = nullptr;
pid_t ServerPid = 0;

// The title of a window, as its WM_NAME.
std::string Title(xcb_window_t window) {
    xcb_get_property_cookie_t cookie =
        xcb_get_property(Server, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(Server, cookie, nullptr);
    if (!reply)
        return {};
    std::string title(static_cast<const char *>(xcb_get_property_value(reply)),
                      xcb_get_property_value_length(reply));
    free(reply);
    return title;
}

// Waits for the map of a window with the title; its size goes to width and height. False after
// 30 seconds without it.
bool WaitForMap(const std::string &title, int &width, int &height) {
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    pollfd fd{xcb_get_file_descriptor(Server), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(Server)) {
            bool found = false;
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const xcb_window_t window =
                    reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                if (Title(window) == title) {
                    xcb_get_geometry_reply_t *g =
                        xcb_get_geometry_reply(Server, xcb_get_geometry(Server, window), nullptr);
                    if (g) {
                        width = g->width, height = g->height;
                        free(g);
                    }
                    found = true;
                }
            }
            free(event);
            if (found)
                return true;
        }
        if (xcb_connection_has_error(Server))
            return false;
        poll(&fd, 1, 100);
    }
    return false;
}

pid_t Spawn(const std::vector<std::string> &args) {
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return 0;
    return pid;
}

void End(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The processor time that all threads of a process have used so far, in seconds. On a busy
// machine this varies far less than the time on the clock.
double ProcessorTime(pid_t pid) {
    double seconds = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "schedstat");
        unsigned long long nanoseconds = 0;
        if (stat >> nanoseconds)
            seconds += double(nanoseconds) / 1e9;
    }
    return seconds;
}

struct TStart {
    double Seconds = -1; // from the start to the map; negative when the window did not come
    double Processor = 0;
    int Width = 0, Height = 0;
};

// Starts the process and waits for the map of its window, then ends the process.
TStart StartUntilMapped(const std::vector<std::string> &args, const std::string &title) {
    TStart result;
    const auto start = Clock::now();
    const pid_t pid = Spawn(args);
    if (!pid)
        return result;
    if (WaitForMap(title, result.Width, result.Height)) {
        result.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
        result.Processor = ProcessorTime(pid);
    }
    End(pid);
    return result;
}

std::string Self;

// Each iteration starts the program, then the bare window and the least window of the size the
// program's main window had, so that all meet the same load on the machine. The time is the
// program's; the counters give the bare window's mean time and the ratio of the two, the same
// for the processor time the processes used until the map, and the least window's processor
// time against the bare window's.
void ProgramAgainstBareWindow(benchmark::State &state) {
    double program = 0, bare = 0, programProcessor = 0, bareProcessor = 0, leastProcessor = 0;
    for (auto _ : state) {
        const TStart p = StartUntilMapped({QUORVALE_PROGRAM}, ProgramTitle);
        auto compare = [&](const char *option, const char *title) {
            return p.Seconds < 0 ? TStart()
                                 : StartUntilMapped({Self, option, std::to_string(p.Width),
                                                     std::to_string(p.Height)},
                                                    title);
        };
        const TStart b = compare("--bare-window", BareTitle);
        const TStart l = compare("--least-window", LeastTitle);
        if (p.Seconds < 0 || b.Seconds < 0 || l.Seconds < 0 || b.Width != p.Width ||
            b.Height != p.Height || l.Width != p.Width || l.Height != p.Height) {
            state.SkipWithError("a window was not mapped at the expected size");
            return;
        }
        state.SetIterationTime(p.Seconds);
        program += p.Seconds, bare += b.Seconds;
        programProcessor += p.Processor, bareProcessor += b.Processor;
        leastProcessor += l.Processor;
    }
    const double n = double(state.iterations());
    state.counters["bare_ms"] = 1000 * bare / n;
    state.counters["ratio"] = program / bare;
    state.counters["cpu_ms"] = 1000 * programProcessor / n;
    state.counters["bare_cpu_ms"] = 1000 * bareProcessor / n;
    state.counters["cpu_ratio"] = programProcessor / bareProcessor;
    state.counters["least_cpu_ms"] = 1000 * leastProcessor / n;
    state.counters["least_cpu_ratio"] = leastProcessor / bareProcessor;
}
BENCHMARK(ProgramAgainstBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The bare window: a plain widget of the main window's size and nothing else.
int BareWindow(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromLatin1(BareTitle));
    window.setFixedSize(std::atoi(argv[2]), std::atoi(argv[3]));
    window.show();
    return app.exec();
}

// The least window: a window of the splash screen's size painted at once, then a main window
// with a menu bar and one line of text in the program's font (Arial, 11 pixels).
int LeastWindow(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget splash(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    splash.setFixedSize(326, 194);
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();
    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(LeastTitle));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    window.setFont(font);
    window.menuBar()->addMenu(QStringLiteral("&File"));
    auto *text = new QLabel(QStringLiteral("Loan Amount"));
    text->adjustSize();
    window.setCentralWidget(text);
    window.setFixedSize(std::atoi(argv[2]), std::atoi(argv[3]));
    window.show();
    return app.exec();
}

// An Xvfb on a free display, which it reports through a pipe; its number goes into DISPLAY.
bool StartServer() {
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {"/usr/bin/Xvfb", "-displayfd", fd,   "-screen", "0",
                                     "1280x1024x24",  "-nolisten",  "tcp"};
    ServerPid = Spawn(args);
    close(fds[1]);
    if (!ServerPid)
        return false;
    char number[16] = {};
    const ssize_t n = read(fds[0], number, sizeof number - 1);
    close(fds[0]);
    if (n <= 0)
        return false;
    const std::string display = ":" + std::string(number, std::strcspn(number, "\n"));
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    Server = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(Server))
        return false;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(Server)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(Server, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(Server);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 4 && std::strcmp(argv[1], "--bare-window") == 0)
        return BareWindow(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--least-window") == 0)
        return LeastWindow(argc, argv);
    Self = std::filesystem::absolute(argv[0]).string();
    if (!StartServer()) {
        std::fprintf(stderr, "bench_Startup: could not start Xvfb\n");
        if (ServerPid)
            End(ServerPid);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    xcb_disconnect(Server);
    End(ServerPid);
    return 0;
}
