// SPDX-License-Identifier: GPL-3.0-or-later
// Starts two programs in turn on the X server in $DISPLAY and measures each run: the
// time from exec until its window is mapped and until its first paint reaches the
// server, its peak resident memory and the memory it has written itself by then.
// Prints the median and minimum of each figure and the ratio PROGRAM / BASELINE.
//
// Usage: startup_timer [--rounds N] [--warm-up N] [--settle MS] [--log FILE] [--each FILE]
//                      PROGRAM BASELINE
//
// --log takes what the programs write to stderr, --each one line per measured run.
//
// Each run ends with SIGKILL once the program has painted and then had --settle
// milliseconds (default 100) to finish starting up, so that the peak RSS covers the
// whole start-up and not just as much as happened before the kill. Meant for a server with nothing
// else on it and no window manager, so that a MapNotify on the root is the program's own map
// request being carried out.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRunTimeout = std::chrono::seconds(30);

struct Run {
    double mapMs;
    double paintMs;
    double peakRssMib;
    double privateDirtyMib;
};

struct Free {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, Free>;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

class Server {
public:
    Server() {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("cannot connect to the X server in DISPLAY");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (damage == nullptr || damage->present == 0)
            throw std::runtime_error("the X server has no DAMAGE extension");
        m_damageEvent = damage->first_event;
        XcbReply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        if (!version) throw std::runtime_error("DAMAGE 1.1 is not available");

        const char* name = "_NET_WM_PID";
        XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr));
        if (!atom) throw std::runtime_error("cannot intern _NET_WM_PID");
        m_pidAtom = atom->atom;

        // Creation, mapping and destruction of every top-level window.
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        XcbReply<xcb_generic_error_t> error(xcb_request_check(
            m_connection,
            xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask)));
        if (error) throw std::runtime_error("cannot watch the root window");
    }
    ~Server() { xcb_disconnect(m_connection); }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    std::uint8_t damageEvent() const { return m_damageEvent; }

    pid_t WindowPid(xcb_window_t window) const {
        XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) != 4) return -1;
        std::uint32_t pid = 0;
        std::memcpy(&pid, xcb_get_property_value(reply.get()), sizeof pid);
        return static_cast<pid_t>(pid);
    }

    // Reports drawing into `window` once it has any; drawing before the window is mapped
    // is clipped away and reports nothing.
    void WatchDrawing(xcb_window_t window) const {
        xcb_damage_create(m_connection, xcb_generate_id(m_connection), window,
                          XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(m_connection);
    }

    // Waits up to `timeout` for an event; nullptr when none came.
    XcbReply<xcb_generic_event_t> NextEvent(std::chrono::milliseconds timeout) const {
        XcbReply<xcb_generic_event_t> event(xcb_poll_for_event(m_connection));
        if (event) return event;
        pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(timeout.count()));
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("lost the connection to the X server");
        return XcbReply<xcb_generic_event_t>(xcb_poll_for_event(m_connection));
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    std::uint8_t m_damageEvent = 0;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

// Memory the process has written itself (heap, stacks, relocated data), in MiB.
double PrivateDirtyMib(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    const std::string key = "Private_Dirty:";
    for (std::string line; std::getline(rollup, line);)
        if (line.starts_with(key)) return std::stod(line.substr(key.size())) / 1024.0;
    throw std::runtime_error("cannot read the memory of process " + std::to_string(pid));
}

pid_t Spawn(const std::string& program, int errorFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
    std::string argument = program;
    char* argv[] = {argument.data(), nullptr};
    pid_t pid = 0;
    const int status = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(status));
    return pid;
}

Run Measure(const Server& server, const std::string& program, std::chrono::milliseconds settle,
            int errorFd) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(program, errorFd);
    xcb_window_t window = XCB_WINDOW_NONE;
    Clock::time_point mapped;
    Clock::time_point painted;
    bool paintSeen = false;

    while (!paintSeen) {
        auto event = server.NextEvent(std::chrono::milliseconds(20));
        const Clock::time_point now = Clock::now();
        if (!event) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                throw std::runtime_error(program + " ended before its window was painted");
            if (now - start > kRunTimeout) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                throw std::runtime_error(program + " painted no window within 30 s");
            }
            continue;
        }
        const int type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            server.WatchDrawing(created->window);
        } else if (type == XCB_MAP_NOTIFY && window == XCB_WINDOW_NONE) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
            if (map->event == server.root() && map->override_redirect == 0 &&
                server.WindowPid(map->window) == pid) {
                window = map->window;
                mapped = now;
            }
        } else if (type == server.damageEvent() + XCB_DAMAGE_NOTIFY && window != XCB_WINDOW_NONE) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
            if (damage->drawable == window) {
                painted = now;
                paintSeen = true;
            }
        }
        // Errors (a window gone before its drawing could be watched) do not matter.
    }

    std::this_thread::sleep_until(painted + settle);
    Run run{Milliseconds(mapped - start), Milliseconds(painted - start), 0.0, PrivateDirtyMib(pid)};
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakRssMib = static_cast<double>(usage.ru_maxrss) / 1024.0;

    // The next run starts on an empty screen.
    const Clock::time_point killed = Clock::now();
    for (;;) {
        auto event = server.NextEvent(std::chrono::milliseconds(20));
        if (event && (event->response_type & 0x7f) == XCB_DESTROY_NOTIFY &&
            reinterpret_cast<xcb_destroy_notify_event_t*>(event.get())->window == window)
            break;
        if (Clock::now() - killed > std::chrono::seconds(5))
            throw std::runtime_error("the X server kept the window of " + program);
    }
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double Minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PrintFigure(const char* name, const char* unit, double Run::*field,
                 const std::vector<Run>& program, const std::vector<Run>& baseline) {
    std::vector<double> a;
    std::vector<double> b;
    for (const Run& run : program) a.push_back(run.*field);
    for (const Run& run : baseline) b.push_back(run.*field);
    const double medianA = Median(a);
    const double medianB = Median(b);
    const double minA = Minimum(a);
    const double minB = Minimum(b);
    std::printf("%-15s median   %11.2f %-3s %11.2f %-3s %7.3f\n", name, medianA, unit, medianB,
                unit, medianA / medianB);
    std::printf("%-15s minimum  %11.2f %-3s %11.2f %-3s %7.3f\n", "", minA, unit, minB, unit,
                minA / minB);
}

int Usage() {
    std::fputs(
        "usage: startup_timer [--rounds N] [--warm-up N] [--settle MS] [--log FILE] [--each FILE] "
        "PROGRAM BASELINE\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    int rounds = 51;
    int warmUp = 3;
    int settle = 100;
    std::string log = "/dev/null";
    std::string each = "/dev/null";
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("--") && i + 1 < argc) {
            const char* value = argv[++i];
            if (argument == "--rounds")
                rounds = std::atoi(value);
            else if (argument == "--warm-up")
                warmUp = std::atoi(value);
            else if (argument == "--settle")
                settle = std::atoi(value);
            else if (argument == "--log")
                log = value;
            else if (argument == "--each")
                each = value;
            else
                return Usage();
        } else if (argument.starts_with("--")) {
            return Usage();
        } else {
            programs.push_back(argument);
        }
    }
    if (programs.size() != 2 || rounds < 1 || warmUp < 0 || settle < 0) return Usage();

    try {
        const int errorFd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (errorFd < 0) throw std::runtime_error("cannot open " + log);
        std::ofstream eachRun(each);
        if (!eachRun) throw std::runtime_error("cannot open " + each);
        eachRun << "round\tprogram\tmap_ms\tpaint_ms\tpeak_rss_mib\tprivate_dirty_mib\n";
        const Server server;
        std::vector<Run> runs[2];
        for (int round = -warmUp; round < rounds; ++round) {
            // Alternating which goes first cancels a drift and any advantage of going second.
            for (int turn = 0; turn < 2; ++turn) {
                const int which = (turn + (round < 0 ? 0 : round)) % 2;
                const Run run = Measure(server, programs[static_cast<std::size_t>(which)],
                                        std::chrono::milliseconds(settle), errorFd);
                if (round < 0) continue;
                runs[which].push_back(run);
                eachRun << round << '\t' << BaseName(programs[static_cast<std::size_t>(which)])
                        << '\t' << run.mapMs << '\t' << run.paintMs << '\t' << run.peakRssMib
                        << '\t' << run.privateDirtyMib << '\n';
            }
        }
        close(errorFd);

        const std::string a = BaseName(programs[0]);
        const std::string b = BaseName(programs[1]);
        std::printf("%d rounds after %d warm-up, the two in alternating order\n", rounds, warmUp);
        std::printf("%-24s %15.15s %15.15s %7s\n", "", a.c_str(), b.c_str(), "ratio");
        PrintFigure("exec to map", "ms", &Run::mapMs, runs[0], runs[1]);
        PrintFigure("exec to paint", "ms", &Run::paintMs, runs[0], runs[1]);
        PrintFigure("peak RSS", "MiB", &Run::peakRssMib, runs[0], runs[1]);
        PrintFigure("private dirty", "MiB", &Run::privateDirtyMib, runs[0], runs[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_timer: %s\n", error.what());
        return 1;
    }
    return 0;
}
