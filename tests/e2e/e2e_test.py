# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the running styrmark window from the outside, as a user and a screen reader
would: real key presses and clicks go in through the desktop (X11 or a Wayland
compositor), and what the window shows comes back through AT-SPI events and properties
and a screenshot. Ends by closing the window; run_e2e.sh starts the program, on the
desktop a run asks for, and checks how it ended.
"""

import argparse
import json
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

import desktops

TIMEOUT = 60.0  # seconds: a ceiling, met at once unless the machine is busy
SETTLE = 0.5  # how long something must stay as it is, when checking nothing more happens

# The window's layout, from the table the program is built with (design pixels at 96 dpi).
LAYOUT = json.loads(subprocess.run([os.environ["STYRMARK_LAYOUT_TABLE"]], check=True,
                                   capture_output=True, text=True).stdout)
CONTROLS = LAYOUT["controls"]
TITLE = LAYOUT["caption"]
FIELD_ROWS = ("Text1", "Text2", "Text3", "Text4")
BUTTON = CONTROLS["Command1"]["name"]
FIELDS = [CONTROLS[row]["name"] for row in FIELD_ROWS]  # as screen readers name them
DEFAULTS = [CONTROLS[row]["text"] for row in FIELD_ROWS]
SHORT_INPUT_MESSAGE = "Indata måste skrivas ex. 58:00:00"
CLIENT_SIZE = tuple(LAYOUT["size"])
TEAL = (0, 128, 128)
LIGHT_YELLOW = (255, 255, 192)
EMPTY_SPOTS = [(4, 4), (205, 186)]  # client pixels no control covers
RESULT_BOX = tuple(CONTROLS["Label2"]["box"])  # the result line's label
BUTTON_FACE = (86, 301)  # a client pixel of the button's face, clear of its caption

# The longest line the fields can give; the font must shrink to show it whole.
WIDEST = (["00:00:00", "000:00:00", "00:00:00", "99999:9:9"], "Kurs 090   5999949.50  DM   11111017.593  Km")
ICON = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui", "resources",
                    "styrmark-{size}.png")
ICON_SIZES = (32, 48)  # in the order Qt lists them, smallest first
APP_ID = "io.github.styrmark.styrmark"
DESKTOP_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging",
                            f"{APP_ID}.desktop")
LIGHT_CYAN = (192, 255, 255)  # the field with the focus
FIELD_BOXES = {CONTROLS[row]["name"]: tuple(CONTROLS[row]["box"]) for row in FIELD_ROWS}

# Positions typed into the four fields, how the button is then pressed, and the line
# expected ("." standing for the decimal separator).
COMPUTATIONS = [
    (["57:30:00", "11:45:00", "57:42:00", "11:20:00"], "enter", "Kurs 312   17.96  DM   33.254  Km"),
    (DEFAULTS, "click", "Kurs 151   68.32  DM   126.522  Km"),
]

# A field left too short by Tab: the field, its text, and where Tab goes once it is right.
SHORT_INPUTS = [
    ("Min latitud", "58:00", "Min longitud"),
    ("Styrmärkets latitud", "", "Styrmärkets longitud"),
    ("Styrmärkets longitud", "18:00", BUTTON),
]


class Failure(Exception):
    pass


EVENTS = []  # (type, detail1, role, name) of what a screen reader was told, in order


def record(event):
    try:
        EVENTS.append((event.type, event.detail1, event.source.getRole(), event.source.name))
    except Exception:  # the source may be gone already
        pass


def pump():
    """Delivers the accessibility events that have arrived to record()."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def attempt(probe):
    pump()
    try:
        return probe()
    except Exception as error:  # the tree changes under us while windows come and go
        return False, f"{type(error).__name__}: {error}"


def wait_until(expected, probe):
    """Polls probe() -> (ok, found) until ok; fails with what was expected and found."""
    deadline = time.monotonic() + TIMEOUT
    while True:
        ok, found = attempt(probe)
        if ok:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"expected {expected} within {TIMEOUT:.0f} s, found {found}")
        time.sleep(0.05)


def stays(expected, probe):
    """Checks probe() stays ok for SETTLE seconds, i.e. nothing further happens."""
    deadline = time.monotonic() + SETTLE
    while time.monotonic() < deadline:
        ok, found = attempt(probe)
        if not ok:
            raise Failure(f"expected {expected} to stay so, found {found}")
        time.sleep(0.05)


def has_state(accessible, state):
    return accessible.getState().contains(state)


def focused(accessible):
    return has_state(accessible, pyatspi.STATE_FOCUSED)


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


class Window:
    """The program's windows as AT-SPI shows them, and the input a user gives them."""

    def __init__(self, desktop, pid, scale, layout):
        self.desktop = desktop
        self.pid = pid
        self.scale = scale  # Qt's scale factor: AT-SPI reports device-independent pixels
        self.layout = layout  # client pixels per design pixel
        self.app, self.main = wait_until(f"a window titled {TITLE!r} of process {pid}", self._find_main)
        wait_until("the window active with the focus in the first field", self._ready)
        self.fields = {name: self._child(pyatspi.ROLE_TEXT, name) for name in FIELDS}
        self.button = self._child(pyatspi.ROLE_PUSH_BUTTON, BUTTON)
        self.result = self._result_label()

    def _find_main(self):
        # Under a GTK platform theme GTK registers the process as well, without windows.
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [app for app in desktop if app is not None and app.get_process_id() == self.pid]
        for app in apps:
            for window in app:
                if window.name == TITLE:
                    return True, (app, window)
        return False, f"windows {[[window.name for window in app] for app in apps]} of the process"

    def _ready(self):
        active = has_state(self.main, pyatspi.STATE_ACTIVE)
        first = self.main.childCount > 0 and focused(self._child(pyatspi.ROLE_TEXT, FIELDS[0]))
        return active and first, f"active={active}, focus in first field={first}"

    def _child(self, role, name):
        matches = [c for c in self.main if c.getRole() == role and c.name == name]
        if len(matches) != 1:
            raise Failure(f"expected one {role.value_nick} {name!r}, found {len(matches)}")
        return matches[0]

    def _result_label(self):
        # The result line is a notification, so that screen readers speak each new one.
        results = [c for c in self.main if c.getRole() == pyatspi.ROLE_NOTIFICATION]
        if len(results) != 1:
            raise Failure(f"expected one notification for the result line, found {len(results)}")
        return results[0]

    def extents(self, accessible):
        """Screen pixels. Qt reports device-independent pixels, so the scale comes back in."""
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return tuple(round(v * self.scale) for v in (box.x, box.y, box.width, box.height))

    def dialogs(self):
        return [window for window in self.app if window.name != TITLE]

    def focused_name(self):
        names = [c.name for c in self.main if focused(c)]
        return names[0] if names else "nothing"

    def wait_focus(self, name):
        accessible = self.button if name == BUTTON else self.fields[name]
        wait_until(f"the focus in {name!r}", lambda: (focused(accessible), f"it in {self.focused_name()!r}"))

    def click(self, accessible):
        x, y, width, height = self.extents(accessible)
        self.desktop.click(x + width // 2, y + height // 2)

    def reach(self, name):
        """The focus into a field: a click, or where there is no pointer, Tab from the control
        before it."""
        if self.desktop.clicks:
            self.click(self.fields[name])
        elif self.focused_name() != name:
            self.desktop.key("Tab")
        self.wait_focus(name)

    def replace_text(self, name, text):
        """Select-all and type, as a user replaces a field's text."""
        field = self.fields[name]
        self.desktop.key("ctrl+a", "BackSpace")
        if text:
            self.desktop.type(text)
        wait_until(f"{name!r} to read {text!r}", lambda: (text_of(field) == text, repr(text_of(field))))

    def summary(self):
        return f"the focus in {self.focused_name()!r}, dialogs {[d.name for d in self.dialogs()]}"

    def describe(self):
        lines = [f"  {self.summary()}, result line {self.result.name!r}"]
        lines += [f"  {name!r} reads {text_of(field)!r}" for name, field in self.fields.items()]
        return "\n".join(lines)


def announced(line):
    """How many times screen readers were shown the result line as a notification."""
    return sum(1 for kind, detail, role, name in EVENTS
               if kind == "object:state-changed:showing" and detail == 1
               and role == pyatspi.ROLE_NOTIFICATION and name == line)


def type_positions(window, positions):
    window.wait_focus(FIELDS[0])
    for index, (name, text) in enumerate(zip(FIELDS, positions)):
        window.replace_text(name, text)
        if index < len(FIELDS) - 1:
            window.desktop.key("Return")
            window.wait_focus(FIELDS[index + 1])


def press_button(window, press):
    """By a click, or by Enter, which moves from field to field and presses the button."""
    if press == "click":
        window.click(window.button)
        return
    for name in FIELDS[FIELDS.index(window.focused_name()) + 1:] + [BUTTON]:
        window.desktop.key("Return")
        window.wait_focus(name)
    window.desktop.key("Return")


def check_computations(window, separator):
    again = "click" if window.desktop.clicks else "enter"
    for positions, press, line in COMPUTATIONS:
        press = press if window.desktop.clicks else "enter"
        expected = line.replace(".", separator)
        type_positions(window, positions)
        EVENTS.clear()
        press_button(window, press)
        wait_until(f"the result line {expected!r} after pressing the button by {press}",
                   lambda: (window.result.name == expected, repr(window.result.name)))
        window.wait_focus(FIELDS[0])
        if window.dialogs():
            raise Failure(f"expected no message after computing, found {window.summary()}")
        # Spoken where the focus is not: once per press, also when the line is the same.
        wait_until(f"the result line {expected!r} presented to screen readers",
                   lambda: (announced(expected) == 1, f"{announced(expected)} times in {EVENTS}"))
        # After the focus has moved back, or the field's presentation would cut it short.
        told = [event for event in EVENTS if event[1] == 1 and event[0] in
                ("object:state-changed:focused", "object:state-changed:showing")]
        if told[-1][2] != pyatspi.ROLE_NOTIFICATION:
            raise Failure(f"expected the result presented after the focus moved, found {told}")
        press_button(window, again)
        wait_until(f"the same line presented again after pressing the button again",
                   lambda: (announced(expected) == 2, f"{announced(expected)} times in {EVENTS}"))


def check_short_inputs(window):
    def one_message():
        dialogs = window.dialogs()
        return len(dialogs) == 1, f"{len(dialogs)} dialogs"

    for name, short, next_control in SHORT_INPUTS:
        field = window.fields[name]
        window.reach(name)
        right = DEFAULTS[FIELDS.index(name)]
        window.replace_text(name, short)
        window.desktop.key("Tab")
        wait_until(f"a message after leaving {name!r} as {short!r}", one_message)
        stays("exactly one message", one_message)
        message = window.dialogs()[0]
        texts = [child.name for child in message if child.getRole() == pyatspi.ROLE_LABEL and child.name]
        if message.getRole() != pyatspi.ROLE_ALERT or message.name != "Styrmark" or texts != [SHORT_INPUT_MESSAGE]:
            raise Failure(f"expected an alert 'Styrmark' saying {SHORT_INPUT_MESSAGE!r}, "
                          f"found {message.getRoleName()} {message.name!r} saying {texts}")
        window.desktop.key("Return")

        def closed_and_back():
            return not window.dialogs() and focused(field), window.summary()

        EVENTS.clear()
        wait_until(f"the message closed and the focus back in {name!r}", closed_and_back)
        stays(f"no further message and the focus in {name!r}", closed_and_back)
        # What a screen reader says last is where the user really is.
        gained = [event[3] for event in EVENTS if event[0] == "object:state-changed:focused" and event[1] == 1]
        if not gained or gained[-1] != name:
            raise Failure(f"expected the last focus event to name {name!r}, found {gained}")
        # Put the field right again; now Tab moves on without a word.
        window.replace_text(name, right)
        window.desktop.key("Tab")
        window.wait_focus(next_control)
        stays("no message", lambda: (not window.dialogs(), window.summary()))


def read_ppm(data):
    """Width, height and RGB bytes of a binary PPM with 8-bit samples."""
    fields, end = [], 0
    while len(fields) < 4:  # magic, width, height, maximum sample
        while data[end:end + 1].isspace():
            end += 1
        start = end
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[start:end])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure(f"screenshot is not an 8-bit PPM: {fields}")
    return int(fields[1]), int(fields[2]), data[end + 1:]


def check_icon(window):
    """The window carries an icon for each size, pixel for pixel the PNG of at least as many
    screen pixels, or the largest there is."""
    def drawn(size):
        wanted = size * window.scale
        return min((s for s in ICON_SIZES if s >= wanted), default=max(ICON_SIZES))

    expected = []
    for size in map(drawn, ICON_SIZES):
        png = ICON.format(size=size)
        rgba = subprocess.run(["convert", png, "-depth", "8", "rgba:-"],
                              capture_output=True, check=True).stdout
        if len(rgba) != 4 * size * size:
            raise Failure(f"{png} is not {size} x {size}")
        expected += [size, size] + [(rgba[i + 3] << 24) | (rgba[i] << 16) | (rgba[i + 1] << 8)
                                    | rgba[i + 2] for i in range(0, len(rgba), 4)]
    found = subprocess.run(["xprop", "-id", window.desktop.window_id(window.pid), "-notype", "-f",
                            "_NET_WM_ICON", "32c", "_NET_WM_ICON"], capture_output=True, text=True,
                           check=True).stdout
    values = [int(v) for v in found.partition("=")[2].replace(",", " ").split()]
    if values != expected:
        sizes, start = [], 0  # each image: width, height, then its pixels
        while start + 1 < len(values):
            sizes.append(tuple(values[start:start + 2]))
            start += 2 + values[start] * values[start + 1]
        wanted = [(drawn(size), drawn(size)) for size in ICON_SIZES]
        raise Failure(f"expected the icons {wanted} of {ICON}, found images of {sizes}"
                      + (" with other pixels" if sizes == wanted else ""))


def check_window_class(window):
    """X11 docks tie the window to its launcher by the class its desktop file names."""
    found = subprocess.run(["xprop", "-id", window.desktop.window_id(window.pid), "-notype",
                            "WM_CLASS"], capture_output=True, text=True, check=True).stdout
    named = "StartupWMClass=" + "".join(found.split('"')[-2:-1]) + "\n"  # the class, after the instance
    with open(DESKTOP_FILE, encoding="utf-8") as desktop:
        if named not in desktop.read():
            raise Failure(f"expected the desktop file to name the window's class, found {found.strip()}")


def check_native_window(window):
    """A Wayland window of its own, not one through Xwayland, with the title and size laid out
    and the app id its desktop file is named by, which docks tie it to its launcher with."""
    view = window.desktop.view(window.pid)
    found = (view.get("shell"), view.get("app_id"), view.get("name"),
             (view["window_rect"]["width"], view["window_rect"]["height"]))
    if found != ("xdg_shell", APP_ID, TITLE, CLIENT_SIZE):
        raise Failure(f"expected an xdg_shell window {APP_ID!r} titled {TITLE!r} of {CLIENT_SIZE}, "
                      f"found {found}")


def contrast(a, b):
    """WCAG's contrast ratio of two RGB colours, from 1 to 21."""
    def luminance(colour):
        channels = [c / 255 for c in colour]
        linear = [c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4 for c in channels]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


class Screenshot:
    """The client area as the user sees it, addressed in design pixels."""

    def __init__(self, window, pictures, name):
        data = window.desktop.client_area(window.pid)
        self.path = os.path.join(pictures, f"{name}.ppm")
        with open(self.path, "wb") as picture:
            picture.write(data)
        self.width, self.height, self.pixels = read_ppm(data)
        self.layout = window.layout

    def at(self, x, y):
        """The colour at a client pixel in device pixels."""
        offset = 3 * (y * self.width + x)
        return tuple(self.pixels[offset:offset + 3])

    def design(self, x, y):
        return self.at(int(x * self.layout), int(y * self.layout))

    def box(self, left, top, width, height):
        """Device-pixel columns of a box given in design pixels, inset by a pixel."""
        x0, y0 = int(left * self.layout) + 1, int(top * self.layout) + 1
        x1, y1 = int((left + width) * self.layout) - 1, int((top + height) * self.layout) - 1
        return [[self.at(x, y) for y in range(y0, y1)] for x in range(x0, x1)]

    def ground(self, *box):
        """The colour most of a box in design pixels is."""
        pixels = [colour for column in self.box(*box) for colour in column]
        return max(set(pixels), key=pixels.count)


def check_screenshot(window, pictures):
    shot = Screenshot(window, pictures, f"window-{window.layout}")
    expected_size = tuple(round(v * window.layout) for v in CLIENT_SIZE)
    if (shot.width, shot.height) != expected_size:
        raise Failure(f"expected the client area {expected_size}, found {(shot.width, shot.height)} in {shot.path}")
    for x, y in EMPTY_SPOTS:
        if shot.design(x, y) != TEAL:
            raise Failure(f"expected teal {TEAL} at client pixel {(x, y)}, found {shot.design(x, y)} in {shot.path}")


def check_focus_colours(window, pictures):
    """From the button, Tab goes round to the first field; each Tab colours the field it
    reaches light cyan and leaves the others light yellow. On Wayland each key comes from a
    keyboard attached for it: that must not take the window's focus, nor its colour."""
    window.wait_focus(BUTTON)
    for step, name in enumerate(FIELDS):
        window.desktop.key("Tab")
        window.wait_focus(name)
        expected = {field: LIGHT_CYAN if field == name else LIGHT_YELLOW for field in FIELDS}

        def colours():
            shot = Screenshot(window, pictures, f"focus-{step}")
            found = {field: shot.ground(*box) for field, box in FIELD_BOXES.items()}
            return found == expected, f"{found} in {shot.path}"

        wait_until(f"{name!r} alone light cyan", colours)


def check_dark_theme(window, separator, pictures):
    """On a dark desktop the result line must still read plainly on its light ground."""
    expected = COMPUTATIONS[1][2].replace(".", separator)
    window.wait_focus(FIELDS[0])
    window.click(window.button)
    wait_until(f"the result line {expected!r}", lambda: (window.result.name == expected, repr(window.result.name)))
    shot = Screenshot(window, pictures, "dark")
    face = shot.design(*BUTTON_FACE)
    if contrast(face, (0, 0, 0)) > 5:  # a dark face: the dark palette is in effect
        raise Failure(f"expected the button in the dark theme's colours, found {face} in {shot.path}")
    pixels = [colour for column in shot.box(*RESULT_BOX) for colour in column]
    if shot.ground(*RESULT_BOX) != LIGHT_YELLOW:
        raise Failure(f"expected the result line on light yellow in {shot.path}")
    ratio = max(contrast(colour, LIGHT_YELLOW) for colour in pixels)
    if ratio < 4.5:
        raise Failure(f"expected the result line to contrast 4.5:1 with its ground, found {ratio:.2f}:1 in {shot.path}")


def check_widest_line(window, separator, pictures):
    """The longest line the fields can give is shown whole, clear of its label's edges."""
    positions, line = WIDEST
    expected = line.replace(".", separator)
    type_positions(window, positions)
    window.click(window.button)
    wait_until(f"the result line {expected!r}", lambda: (window.result.name == expected, repr(window.result.name)))
    shot = Screenshot(window, pictures, "widest")
    columns = shot.box(*RESULT_BOX)
    inked = [index for index, column in enumerate(columns) if any(c != LIGHT_YELLOW for c in column)]
    if not inked or inked[0] < 2 or inked[-1] > len(columns) - 3:
        raise Failure(f"expected the whole line inside its label, ink spans columns "
                      f"{inked[:1]}..{inked[-1:]} of {len(columns)} in {shot.path}")


def close(window):
    """A real close request through the window manager; the program must end by itself."""
    wait_until("the window active", lambda: (has_state(window.main, pyatspi.STATE_ACTIVE), window.summary()))
    window.desktop.close(window.pid)

    def ended():
        try:
            with open(f"/proc/{window.pid}/stat") as stat:
                state = stat.read().rsplit(")", 1)[1].split()[0]
        except FileNotFoundError:
            return True, "gone"
        return state in ("Z", "X"), f"still running (state {state})"  # Z: ended, not yet collected

    wait_until("the program to end after the close request", ended)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--desktop", default="x11", choices=["x11", "wayland"])
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--scale", type=float, default=1, help="Qt's scale factor")
    parser.add_argument("--layout", type=float, default=1, help="client pixels per design pixel")
    parser.add_argument("--checks", default="all", choices=["all", "dark", "widest"])
    parser.add_argument("--separator", required=True)
    parser.add_argument("--pictures", required=True)
    args = parser.parse_args()

    pyatspi.Registry.registerEventListener(record, "object:state-changed:showing",
                                           "object:state-changed:focused")
    desktop = desktops.Wayland() if args.desktop == "wayland" else desktops.X11()
    window = None
    step = "finding the window"
    try:
        window = Window(desktop, args.pid, args.scale, args.layout)
        if args.checks == "all":
            step = "computing"
            check_computations(window, args.separator)
            step = "leaving a field too short"
            check_short_inputs(window)
            step = "colouring the field with the focus"
            check_focus_colours(window, args.pictures)
            if args.desktop == "wayland":
                step = "the native window"
                check_native_window(window)
            else:
                step = "the window icon"
                check_icon(window)
                step = "the window class"
                check_window_class(window)
            step = "the screenshot"
            check_screenshot(window, args.pictures)
        elif args.checks == "dark":
            step = "reading the result on a dark desktop"
            check_dark_theme(window, args.separator, args.pictures)
        else:
            step = "showing the widest line"
            check_widest_line(window, args.separator, args.pictures)
        step = "closing"
        close(window)
    except (Failure, LookupError, subprocess.CalledProcessError) as failure:
        screen = os.path.join(args.pictures, f"failure-{args.desktop}-{args.checks}-{args.layout}.png")
        desktop.screen(screen)
        print(f"FAIL while {step}: {failure}", file=sys.stderr)
        if window is not None and step != "closing":
            print(attempt(lambda: (True, window.describe()))[1], file=sys.stderr)
        print(f"screenshot: {screen}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
