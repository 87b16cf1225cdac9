// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_check.h"

#include <QFile>
#include <QLibraryInfo>
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <system_error>

namespace styrmark {
namespace {

// Qt's "wayland" platform; Debian ships it in qt6-wayland, apart from Qt's X11 one.
constexpr const char* kWaylandPlugin = "libqwayland-generic.so";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Where Qt looks for its platform plugins: the directory named for them alone, each
// plugin directory of the user's, and Qt's own.
std::vector<std::filesystem::path> PlatformPluginDirs() {
    std::vector<std::filesystem::path> dirs;
    if (const std::string own = Variable("QT_QPA_PLATFORM_PLUGIN_PATH"); !own.empty())
        dirs.emplace_back(own);
    std::istringstream userDirs(Variable("QT_PLUGIN_PATH"));
    for (std::string dir; std::getline(userDirs, dir, ':');)
        if (!dir.empty()) dirs.push_back(std::filesystem::path(dir) / "platforms");
    const QByteArray qtDir = QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    dirs.push_back(std::filesystem::path(qtDir.toStdString()) / "platforms");
    return dirs;
}

std::vector<std::string> PlatformPlugins() {
    std::vector<std::string> names;
    for (const std::filesystem::path& dir : PlatformPluginDirs()) {
        std::error_code error;
        for (std::filesystem::directory_iterator entry(dir, error), end; !error && entry != end;
             entry.increment(error))
            names.push_back(entry->path().filename().string());
    }
    return names;
}

// The socket Wayland clients connect to: absolute names as they are, others under the
// runtime directory; empty when there is no runtime directory to look in.
std::filesystem::path WaylandSocket(const DisplayVariables& variables) {
    std::filesystem::path name(variables.waylandDisplay);
    if (name.is_absolute()) return name;
    if (variables.runtimeDir.empty()) return {};
    return std::filesystem::path(variables.runtimeDir) / name;
}

}  // namespace

DisplayChoice ChooseDisplay(const DisplayVariables& variables,
                            const std::vector<std::string>& platformPlugins,
                            const std::function<bool(const std::filesystem::path&)>& isSocket) {
    // A platform the user names is theirs to get right.
    if (!variables.platform.empty()) return {};

    const std::filesystem::path socket = WaylandSocket(variables);
    const bool hasSocket = !variables.waylandDisplay.empty() && !socket.empty() && isSocket(socket);
    const bool hasPlugin = std::find(platformPlugins.begin(), platformPlugins.end(),
                                     kWaylandPlugin) != platformPlugins.end();
    const bool wayland = hasSocket && hasPlugin;
    const bool x11 = !variables.x11Display.empty();
    // Where both can work, Qt's own choice stands; where one can, naming it spares
    // the warnings Qt prints on its way past the other.
    if (wayland && x11) return {};
    if (wayland) return {"wayland", ""};
    if (x11) return {"xcb", ""};

    const std::string noScreen = "styrmark: ingen skärm att visa fönstret på: ";
    if (variables.waylandDisplay.empty())
        return {"", noScreen + "varken DISPLAY eller WAYLAND_DISPLAY är satt"};
    if (socket.empty())
        return {"", noScreen + "Wayland-uttaget " + variables.waylandDisplay +
                        " söks i XDG_RUNTIME_DIR, som inte är satt, och DISPLAY är inte satt"};
    if (!hasSocket)
        return {"", noScreen + "Wayland-uttaget " + socket.string() +
                        " finns inte, och DISPLAY är inte satt"};
    return {"",
            "styrmark: Qt:s Wayland-stöd saknas: installera Debian-paketet qt6-wayland "
            "(eller sätt DISPLAY för att visa fönstret under X11)"};
}

DisplayChoice CheckDisplay() {
    const DisplayVariables variables{Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"),
                                     Variable("WAYLAND_DISPLAY"), Variable("XDG_RUNTIME_DIR")};
    return ChooseDisplay(variables, PlatformPlugins(), [](const std::filesystem::path& path) {
        std::error_code error;
        return std::filesystem::is_socket(path, error);
    });
}

}  // namespace styrmark
