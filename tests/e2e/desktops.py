# SPDX-License-Identifier: GPL-3.0-or-later
"""How the end-to-end test types, clicks, looks and closes on each kind of desktop: X11
through the X server (xdotool, ImageMagick's import), Wayland through the compositor's own
protocols (wtype's virtual keyboard, grim) and sway's IPC (swaymsg). Keys are named as
xdotool names them: "Return", "ctrl+a"."""

import json
import subprocess


def run(*command):
    return subprocess.run(command, stdout=subprocess.PIPE, check=True).stdout


class X11:
    clicks = True

    def key(self, *keys):
        run("xdotool", "key", *keys)

    def type(self, text):
        run("xdotool", "type", "--delay", "20", text)

    def click(self, x, y):
        # --sync waits for the pointer to move, which it does not if it is there already.
        if f"X={x}\nY={y}\n" in run("xdotool", "getmouselocation", "--shell").decode():
            run("xdotool", "click", "1")
        else:
            run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def window_id(self, pid):
        found = run("xdotool", "search", "--onlyvisible", "--pid", str(pid)).split()
        if len(found) != 1:
            raise LookupError(f"expected one visible X window of the program, found {found}")
        return found[0].decode()

    def close(self, pid):
        self.key("alt+F4")  # the window manager's close key

    def client_area(self, pid):
        return run("import", "-window", self.window_id(pid), "-depth", "8", "ppm:-")

    def screen(self, path):
        subprocess.run(["import", "-window", "root", path], check=False)


class Wayland:
    """Each call to key() or type() attaches a keyboard of its own for as long as it types,
    as an on-screen keyboard does."""

    clicks = False  # a headless compositor has no pointer

    def key(self, *keys):
        command = ["wtype"]
        for key in keys:
            *modifiers, name = key.split("+")
            command += [arg for m in modifiers for arg in ("-M", m)] + ["-k", name]
            command += [arg for m in modifiers for arg in ("-m", m)]
        run(*command)

    def type(self, text):
        run("wtype", "-d", "20", text)

    def view(self, pid):
        """The one window of the process, as the compositor describes it."""
        nodes, views = [json.loads(run("swaymsg", "-t", "get_tree"))], []
        while nodes:
            node = nodes.pop()
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
            views += [node] if node.get("pid") == pid else []
        if len(views) != 1:
            raise LookupError(f"expected one window of the program, found {[v.get('name') for v in views]}")
        return views[0]

    def close(self, pid):
        run("swaymsg", f"[pid={pid}]", "kill")  # what the compositor's close asks of a window

    def client_area(self, pid):
        """In the output's pixels: at a scale of 2, two for each of the compositor's."""
        view = self.view(pid)
        frame, client = view["rect"], view["window_rect"]
        region = f"{frame['x'] + client['x']},{frame['y'] + client['y']} {client['width']}x{client['height']}"
        return run("grim", "-t", "ppm", "-g", region, "-")

    def screen(self, path):
        subprocess.run(["grim", path], check=False)
