// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of two Windows programs in turns, many rounds in one run: the time from
// CreateProcess until the program's window titled "   Styrmark beräkning" is visible and
// painted, then the window is closed. Prints each program's median and quartiles in ms.
//
//   startup_timer ROUNDS PROGRAM BASELINE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kTitle = L"   Styrmark beräkning";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// -1 when the window did not show within ten seconds.
double TimeToWindow(const std::wstring& program) {
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    LARGE_INTEGER shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        const HWND window = FindWindowW(nullptr, kTitle);
        // Visible and with nothing left to paint: what the user sees is there.
        if (window != nullptr && IsWindowVisible(window) &&
            !GetUpdateRect(window, nullptr, FALSE)) {
            QueryPerformanceCounter(&shown);
            elapsed = Milliseconds(start, shown);
            PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        }
        QueryPerformanceCounter(&shown);
        if (Milliseconds(start, shown) > 10000) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
        Sleep(1);
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

void Report(const wchar_t* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto at = [&times](double share) {
        return times[static_cast<std::size_t>(share * static_cast<double>(times.size() - 1))];
    };
    std::wprintf(L"%-12ls median %7.1f ms  quartiles %7.1f %7.1f  (%zu rounds)\n", name, at(0.5),
                 at(0.25), at(0.75), times.size());
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: startup_timer ROUNDS PROGRAM BASELINE\n");
        return 2;
    }
    const int rounds = std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
    std::vector<double> program;
    std::vector<double> baseline;
    // One unmeasured start each: the first run of a program loads what later runs find ready.
    TimeToWindow(argv[2]);
    TimeToWindow(argv[3]);
    for (int round = 0; round < rounds; ++round) {
        for (auto [path, times] : {std::pair{argv[2], &program}, std::pair{argv[3], &baseline}}) {
            const double elapsed = TimeToWindow(path);
            if (elapsed < 0) {
                std::fwprintf(stderr, L"startup_timer: %ls showed no window\n", path);
                return 1;
            }
            times->push_back(elapsed);
        }
    }
    Report(L"styrmark", program);
    Report(L"bare window", baseline);
    std::sort(program.begin(), program.end());
    std::sort(baseline.begin(), baseline.end());
    std::wprintf(L"ratio of medians %.3f\n",
                 program[program.size() / 2] / baseline[baseline.size() / 2]);
    return 0;
}
