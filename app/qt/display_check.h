// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace styrmark {

// The display variables as the program found them; unset and empty are alike.
struct DisplayVariables {
    std::string platform;        // QT_QPA_PLATFORM, the user's own choice of Qt platform
    std::string x11Display;      // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string runtimeDir;      // XDG_RUNTIME_DIR, where a relative Wayland socket is
};

// Where Qt would fail to open a window, it prints a page of plugin errors and aborts;
// this finds out first. Either the Qt platform to ask for, or one line saying what is
// missing, or neither when Qt's own choice works.
struct DisplayChoice {
    std::string platform;
    std::string problem;
};

// platformPlugins: the file names in Qt's platform plugin directories.
DisplayChoice ChooseDisplay(const DisplayVariables& variables,
                            const std::vector<std::string>& platformPlugins,
                            const std::function<bool(const std::filesystem::path&)>& isSocket);

// The same for this process: its environment, Qt's plugin directories and the disk.
DisplayChoice CheckDisplay();

}  // namespace styrmark
