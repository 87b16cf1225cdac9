"""Drives the running styrmark window from the outside, as a user and a screen reader
would: real X key presses and clicks go in (xdotool), and what the window shows comes
back through AT-SPI and a screenshot. Ends by closing the window; run_e2e.sh starts
the program and checks how it ended.
"""

import argparse
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 10.0  # seconds; generous for a loaded two-core machine
SETTLE = 0.5  # how long something must stay as it is, when checking nothing more happens

TITLE = "   Styrmark beräkning"
BUTTON = "Kurs o Distans till Styrmark"
FIELDS = ["Min latitud", "Min longitud", "Styrmärkets latitud", "Styrmärkets longitud"]
DEFAULTS = ["58:00:00", "17:00:00", "57:00:00", "18:00:00"]
SHORT_INPUT_MESSAGE = "Indata måste skrivas ex. 58:00:00"
CLIENT_SIZE = (406, 360)
TEAL = (0, 128, 128)
EMPTY_SPOTS = [(4, 4), (205, 186)]  # client pixels no control covers

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


def attempt(probe):
    try:
        return probe()
    except Exception as error:  # the tree changes under us while windows come and go
        return False, f"{type(error).__name__}: {error}"


def wait_until(expected, probe, timeout=TIMEOUT):
    """Polls probe() -> (ok, found) until ok; fails with what was expected and found."""
    deadline = time.monotonic() + timeout
    while True:
        ok, found = attempt(probe)
        if ok:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"expected {expected} within {timeout:.0f} s, found {found}")
        time.sleep(0.05)


def stays(expected, probe):
    """Checks probe() stays ok for SETTLE seconds, i.e. nothing further happens."""
    deadline = time.monotonic() + SETTLE
    while time.monotonic() < deadline:
        ok, found = attempt(probe)
        if not ok:
            raise Failure(f"expected {expected} to stay so, found {found}")
        time.sleep(0.05)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def has_state(accessible, state):
    return accessible.getState().contains(state)


def focused(accessible):
    return has_state(accessible, pyatspi.STATE_FOCUSED)


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


class Window:
    """The program's windows as AT-SPI shows them, and the input a user gives them."""

    def __init__(self, pid, scale):
        self.pid = pid
        self.scale = scale
        self.app = wait_until(f"an accessible application with process id {pid}", self._find_app)
        self.main = wait_until(f"a window titled {TITLE!r}", self._find_main)
        wait_until("the window active with the focus in the first field", self._ready)
        self.fields = {name: self._child(pyatspi.ROLE_TEXT, name) for name in FIELDS}
        self.button = self._child(pyatspi.ROLE_PUSH_BUTTON, BUTTON)
        self.result = self._result_label()

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [app for app in desktop if app is not None]
        for app in apps:
            if app.get_process_id() == self.pid:
                return True, app
        return False, f"applications {[app.name for app in apps]}"

    def _find_main(self):
        titles = [window.name for window in self.app]
        windows = [window for window in self.app if window.name == TITLE]
        return bool(windows), windows[0] if windows else f"windows {titles}"

    def _ready(self):
        active = has_state(self.main, pyatspi.STATE_ACTIVE)
        first = self.main.childCount > 0 and focused(self._child(pyatspi.ROLE_TEXT, FIELDS[0]))
        return active and first, f"active={active}, focus in first field={first}"

    def _child(self, role, name):
        matches = [c for c in self.main if c.getRole() == role and c.name == name]
        if len(matches) != 1:
            raise Failure(f"expected one {role} {name!r}, found {len(matches)}")
        return matches[0]

    def _result_label(self):
        # The result line has no caption of its own: it is the label just above the button.
        button_top = self.extents(self.button)[1]
        labels = [c for c in self.main if c.getRole() == pyatspi.ROLE_LABEL]
        above = [label for label in labels if self.extents(label)[1] < button_top]
        return max(above, key=lambda label: self.extents(label)[1])

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
        xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")

    def replace_text(self, name, text):
        """Select-all and type, as a user replaces a field's text."""
        field = self.fields[name]
        xdotool("key", "ctrl+a", "BackSpace")
        if text:
            xdotool("type", "--delay", "20", text)
        wait_until(f"{name!r} to read {text!r}", lambda: (text_of(field) == text, repr(text_of(field))))

    def summary(self):
        return f"the focus in {self.focused_name()!r}, dialogs {[d.name for d in self.dialogs()]}"

    def describe(self):
        lines = [f"  {self.summary()}, result line {self.result.name!r}"]
        lines += [f"  {name!r} reads {text_of(field)!r}" for name, field in self.fields.items()]
        return "\n".join(lines)


def check_computations(window, separator):
    for positions, press, line in COMPUTATIONS:
        expected = line.replace(".", separator)
        window.wait_focus(FIELDS[0])
        for index, (name, text) in enumerate(zip(FIELDS, positions)):
            window.replace_text(name, text)
            if index < len(FIELDS) - 1:
                xdotool("key", "Return")
                window.wait_focus(FIELDS[index + 1])
        if press == "enter":
            xdotool("key", "Return")
            window.wait_focus(BUTTON)
            xdotool("key", "Return")
        else:
            window.click(window.button)
        wait_until(f"the result line {expected!r} after pressing the button by {press}",
                   lambda: (window.result.name == expected, repr(window.result.name)))
        window.wait_focus(FIELDS[0])
        if window.dialogs():
            raise Failure(f"expected no message after computing, found {window.summary()}")


def check_short_inputs(window):
    def one_message():
        dialogs = window.dialogs()
        return len(dialogs) == 1, f"{len(dialogs)} dialogs"

    for name, short, next_control in SHORT_INPUTS:
        field = window.fields[name]
        window.click(field)
        window.wait_focus(name)
        right = DEFAULTS[FIELDS.index(name)]
        window.replace_text(name, short)
        xdotool("key", "Tab")
        wait_until(f"a message after leaving {name!r} as {short!r}", one_message)
        stays("exactly one message", one_message)
        message = window.dialogs()[0]
        texts = [child.name for child in message if child.getRole() == pyatspi.ROLE_LABEL and child.name]
        if message.getRole() != pyatspi.ROLE_ALERT or message.name != "Styrmark" or texts != [SHORT_INPUT_MESSAGE]:
            raise Failure(f"expected an alert 'Styrmark' saying {SHORT_INPUT_MESSAGE!r}, "
                          f"found {message.getRoleName()} {message.name!r} saying {texts}")
        xdotool("key", "Return")

        def closed_and_back():
            return not window.dialogs() and focused(field), window.summary()

        wait_until(f"the message closed and the focus back in {name!r}", closed_and_back)
        stays(f"no further message and the focus in {name!r}", closed_and_back)
        # Put the field right again; now Tab moves on without a word.
        window.replace_text(name, right)
        xdotool("key", "Tab")
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


def check_screenshot(window, pictures):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(window.pid)],
                           capture_output=True, text=True).stdout.split()
    if len(found) != 1:
        raise Failure(f"expected one visible X window of the program, found {found}")
    data = subprocess.run(["import", "-window", found[0], "-depth", "8", "ppm:-"],
                          capture_output=True, check=True).stdout
    path = os.path.join(pictures, f"window-scale{window.scale}.ppm")
    with open(path, "wb") as picture:
        picture.write(data)
    width, height, pixels = read_ppm(data)
    expected_size = tuple(v * window.scale for v in CLIENT_SIZE)
    if (width, height) != expected_size:
        raise Failure(f"expected the client area {expected_size}, found {(width, height)} in {path}")
    for x, y in EMPTY_SPOTS:
        offset = 3 * (y * window.scale * width + x * window.scale)
        colour = tuple(pixels[offset:offset + 3])
        if colour != TEAL:
            raise Failure(f"expected teal {TEAL} at client pixel {(x, y)}, found {colour} in {path}")


def close(window):
    """A real close request through the window manager; the program must end by itself."""
    wait_until("the window active", lambda: (has_state(window.main, pyatspi.STATE_ACTIVE), window.summary()))
    xdotool("key", "alt+F4")

    def ended():
        try:
            with open(f"/proc/{window.pid}/stat") as stat:
                state = stat.read().rsplit(")", 1)[1].split()[0]
        except FileNotFoundError:
            return True, "gone"
        return state in ("Z", "X"), f"still running (state {state})"  # Z: ended, not yet collected

    wait_until("the program to end after Alt+F4", ended, timeout=5)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--scale", type=int, required=True)
    parser.add_argument("--separator", required=True)
    parser.add_argument("--pictures", required=True)
    args = parser.parse_args()

    window = None
    step = "finding the window"
    try:
        window = Window(args.pid, args.scale)
        step = "computing"
        check_computations(window, args.separator)
        step = "leaving a field too short"
        check_short_inputs(window)
        step = "the screenshot"
        check_screenshot(window, args.pictures)
        step = "closing"
        close(window)
    except (Failure, subprocess.CalledProcessError) as failure:
        screen = os.path.join(args.pictures, f"failure-scale{args.scale}.png")
        subprocess.run(["import", "-window", "root", screen], check=False)
        print(f"FAIL while {step}: {failure}", file=sys.stderr)
        if window is not None and step != "closing":
            print(attempt(lambda: (True, window.describe()))[1], file=sys.stderr)
        print(f"screenshot: {screen}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
