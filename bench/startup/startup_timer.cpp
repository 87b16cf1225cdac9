// SPDX-License-Identifier: GPL-3.0-or-later
// Starts two programs in turn on the X server in $DISPLAY and measures each run: the
// time from exec until its window is mapped and until its first paint reaches the
// server, the CPU time it used, its peak resident memory and the memory it has written
// itself. Prints the median and minimum of each figure with the ratio PROGRAM /
// BASELINE, and the median of the ratios within a round.
//
// Usage: startup_timer [--rounds N] [--warm-up N] [--settle MS] [--log FILE] [--each FILE]
//                      PROGRAM BASELINE
//
// --log takes what the programs write to stderr, --each one line per measured run.
//
// Each run ends with SIGKILL once the program has painted and then had --settle
// milliseconds (default 100) to finish starting up, so that the peak RSS covers the
// whole start-up and not just as much as happened before the kill. Meant for a server
// with nothing else on it and no window manager, so that a MapNotify on the root is the
// program's own map request being carried out.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRunTimeout = std::chrono::seconds(30);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

struct Run {
    double mapMs;
    double paintMs;
    double cpuMs;  // until the kill, all threads; hardly changes with the machine's load
    double peakRssMib;
    double privateDirtyMib;
};

struct Options {
    int rounds = 51;
    int warmUp = 3;
    std::chrono::milliseconds settle{100};
    std::string log = "/dev/null";
    std::string each = "/dev/null";
    std::array<std::string, 2> programs;
};

struct Free {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, Free>;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

int EventType(const xcb_generic_event_t& event) { return event.response_type & 0x7f; }

class Server {
public:
    Server() : m_connection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(m_connection) != 0)
            throw std::runtime_error("cannot connect to the X server in DISPLAY");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (damage == nullptr || damage->present == 0)
            throw std::runtime_error("the X server has no DAMAGE extension");
        m_damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;
        const XcbReply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        if (!version) throw std::runtime_error("DAMAGE 1.1 is not available");

        const std::string name = "_NET_WM_PID";
        const XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
            nullptr));
        if (!atom) throw std::runtime_error("cannot intern _NET_WM_PID");
        m_pidAtom = atom->atom;

        // Creation, mapping and destruction of every top-level window.
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(
            m_connection,
            xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask)));
        if (error) throw std::runtime_error("cannot watch the root window");
    }
    ~Server() { xcb_disconnect(m_connection); }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    Server(Server&&) = delete;
    Server& operator=(Server&&) = delete;

    xcb_window_t root() const { return m_root; }
    int damageNotify() const { return m_damageNotify; }

    pid_t WindowPid(xcb_window_t window) const {
        const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) != 4) return -1;
        std::uint32_t pid = 0;
        std::memcpy(&pid, xcb_get_property_value(reply.get()), sizeof pid);
        return static_cast<pid_t>(pid);
    }

    // Reports drawing into `window` once there is any; drawing into a window that is
    // not mapped yet is clipped away and reports nothing.
    void WatchDrawing(xcb_window_t window) const {
        xcb_damage_create(m_connection, xcb_generate_id(m_connection), window,
                          XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(m_connection);
    }

    // Waits up to kPollInterval for an event; nullptr when none came.
    XcbReply<xcb_generic_event_t> NextEvent() const {
        XcbReply<xcb_generic_event_t> event(xcb_poll_for_event(m_connection));
        if (event) return event;
        pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(kPollInterval.count()));
        if (xcb_connection_has_error(m_connection) != 0)
            throw std::runtime_error("lost the connection to the X server");
        return XcbReply<xcb_generic_event_t>(xcb_poll_for_event(m_connection));
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    int m_damageNotify = 0;
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
    std::array<char*, 2> argv{argument.data(), nullptr};
    pid_t pid = 0;
    const int status = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(status));
    return pid;
}

// What one run has seen of its program's window so far.
struct Progress {
    xcb_window_t window = XCB_WINDOW_NONE;
    Clock::time_point mapped;
    Clock::time_point painted;
    bool paintSeen = false;
};

void Handle(const Server& server, const xcb_generic_event_t& event, pid_t pid,
            Clock::time_point now, Progress& progress) {
    const int type = EventType(event);
    if (type == XCB_CREATE_NOTIFY) {
        server.WatchDrawing(reinterpret_cast<const xcb_create_notify_event_t&>(event).window);
    } else if (type == XCB_MAP_NOTIFY && progress.window == XCB_WINDOW_NONE) {
        const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
        if (map.event == server.root() && map.override_redirect == 0 &&
            server.WindowPid(map.window) == pid) {
            progress.window = map.window;
            progress.mapped = now;
        }
    } else if (type == server.damageNotify() && progress.window != XCB_WINDOW_NONE &&
               reinterpret_cast<const xcb_damage_notify_event_t&>(event).drawable ==
                   progress.window) {
        progress.painted = now;
        progress.paintSeen = true;
    }
    // Errors (a window gone before its drawing could be watched) do not matter.
}

// Follows the program from its start until its window has been painted.
Progress WaitForPaint(const Server& server, const std::string& program, pid_t pid,
                      Clock::time_point start) {
    Progress progress;
    while (!progress.paintSeen) {
        const auto event = server.NextEvent();
        const Clock::time_point now = Clock::now();
        if (event) {
            Handle(server, *event, pid, now, progress);
            continue;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            throw std::runtime_error(program + " ended before its window was painted");
        if (now - start > kRunTimeout) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            throw std::runtime_error(program + " painted no window within 30 s");
        }
    }
    return progress;
}

// Waits until the server has destroyed the window of the killed program, so that the
// next run starts on an empty screen.
void WaitForDestroy(const Server& server, const std::string& program, xcb_window_t window) {
    const Clock::time_point killed = Clock::now();
    for (;;) {
        const auto event = server.NextEvent();
        if (event && EventType(*event) == XCB_DESTROY_NOTIFY &&
            reinterpret_cast<const xcb_destroy_notify_event_t&>(*event).window == window)
            return;
        if (Clock::now() - killed > std::chrono::seconds(5))
            throw std::runtime_error("the X server kept the window of " + program);
    }
}

Run Measure(const Server& server, const std::string& program, const Options& options, int errorFd) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(program, errorFd);
    const Progress progress = WaitForPaint(server, program, pid, start);

    std::this_thread::sleep_until(progress.painted + options.settle);
    Run run{Milliseconds(progress.mapped - start), Milliseconds(progress.painted - start), 0.0, 0.0,
            PrivateDirtyMib(pid)};
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakRssMib = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.cpuMs =
        Milliseconds(std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec));

    WaitForDestroy(server, program, progress.window);
    return run;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Runs[0] for the program, runs[1] for the baseline.
using Runs = std::array<std::vector<Run>, 2>;

Runs MeasureAll(const Options& options) {
    const int errorFd = open(options.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (errorFd < 0) throw std::runtime_error("cannot open " + options.log);
    std::ofstream each(options.each);
    if (!each) throw std::runtime_error("cannot open " + options.each);
    each << "round\tprogram\tmap_ms\tpaint_ms\tcpu_ms\tpeak_rss_mib\tprivate_dirty_mib\n";

    const Server server;
    Runs runs;
    for (int round = -options.warmUp; round < options.rounds; ++round) {
        // Alternating which goes first cancels a drift and any advantage of going second.
        for (int turn = 0; turn < 2; ++turn) {
            const auto which = static_cast<std::size_t>((turn + std::max(round, 0)) % 2);
            const std::string& program = options.programs.at(which);
            const Run run = Measure(server, program, options, errorFd);
            if (round < 0) continue;
            runs.at(which).push_back(run);
            each << round << '\t' << BaseName(program) << '\t' << run.mapMs << '\t' << run.paintMs
                 << '\t' << run.cpuMs << '\t' << run.peakRssMib << '\t' << run.privateDirtyMib
                 << '\n';
        }
    }
    close(errorFd);
    return runs;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double Minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

void PrintFigure(const char* name, const char* unit, double Run::*field, const Runs& runs) {
    std::array<std::vector<double>, 2> values;
    for (std::size_t which = 0; which < 2; ++which)
        std::transform(runs.at(which).begin(), runs.at(which).end(),
                       std::back_inserter(values.at(which)),
                       [field](const Run& run) { return run.*field; });
    const double medianA = Median(values[0]);
    const double medianB = Median(values[1]);
    const double minA = Minimum(values[0]);
    const double minB = Minimum(values[1]);
    std::printf("%-15s median   %11.2f %-3s %11.2f %-3s %7.3f\n", name, medianA, unit, medianB,
                unit, medianA / medianB);
    std::printf("%-15s minimum  %11.2f %-3s %11.2f %-3s %7.3f\n", "", minA, unit, minB, unit,
                minA / minB);
    // The two runs of a round are seconds apart; their ratio hardly feels a load that
    // comes and goes over minutes.
    std::vector<double> paired;
    std::transform(values[0].begin(), values[0].end(), values[1].begin(),
                   std::back_inserter(paired), std::divides<>());
    std::printf("%-15s paired   %39.3f\n", "", Median(paired));
}

void Report(const Options& options, const Runs& runs) {
    std::printf("%d rounds after %d warm-up, the two in alternating order\n", options.rounds,
                options.warmUp);
    std::printf("%-24s %15.15s %15.15s %7s\n", "", BaseName(options.programs[0]).c_str(),
                BaseName(options.programs[1]).c_str(), "ratio");
    PrintFigure("exec to map", "ms", &Run::mapMs, runs);
    PrintFigure("exec to paint", "ms", &Run::paintMs, runs);
    PrintFigure("CPU time", "ms", &Run::cpuMs, runs);
    PrintFigure("peak RSS", "MiB", &Run::peakRssMib, runs);
    PrintFigure("private dirty", "MiB", &Run::privateDirtyMib, runs);
    std::puts("paired: the median of the ratios within a round, steadier on a busy machine");
}

// False on anything it does not understand.
bool ParseArguments(const std::vector<std::string>& arguments, Options& options) {
    std::vector<std::string> programs;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.starts_with("--")) {
            programs.push_back(argument);
            continue;
        }
        if (i + 1 == arguments.size()) return false;
        const std::string& value = arguments[++i];
        if (argument == "--rounds")
            options.rounds = std::atoi(value.c_str());
        else if (argument == "--warm-up")
            options.warmUp = std::atoi(value.c_str());
        else if (argument == "--settle")
            options.settle = std::chrono::milliseconds(std::atoi(value.c_str()));
        else if (argument == "--log")
            options.log = value;
        else if (argument == "--each")
            options.each = value;
        else
            return false;
    }
    if (programs.size() != 2) return false;
    options.programs = {programs[0], programs[1]};
    return options.rounds >= 1 && options.warmUp >= 0 && options.settle.count() >= 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!ParseArguments({argv + 1, argv + argc}, options)) {
        std::fputs(
            "usage: startup_timer [--rounds N] [--warm-up N] [--settle MS] [--log FILE] "
            "[--each FILE] PROGRAM BASELINE\n",
            stderr);
        return 2;
    }
    try {
        Report(options, MeasureAll(options));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_timer: %s\n", error.what());
        return 1;
    }
    return 0;
}
