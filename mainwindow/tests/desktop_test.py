"""The program on the desktops its users run, as run-on-desktop starts them.

    desktop_test.py <program> kwin|mutter|sway|openbox|openbox-150

Seen from outside, as a user meets it: the screen as the X server under the
compositor shows it, the pointer and keys through xdotool, the windows over
AT-SPI (the helpers of screen_reader_test.py).

- kwin, mutter: the layout starts at the top of the client area, under the
  desktop's frame; the restored main window grows when its right edge is dragged.
  A minimise by the desktop's key stays, and Alt+Tab brings the window back.
- sway: the tiled main window wears sway's one title bar, and the layout starts
  right under it.
- openbox (X11): a minimise through the window manager stays, and activating the
  window brings it back as it was (maximised); the training window, alone on
  screen, is a window of its own for the task bar; the desktop entry's
  StartupWMClass is the main window's WM_CLASS.
- openbox-150: 1920 x 1080 at 150 % with a 96-pixel dock along the bottom: every
  control of the maximised main window lies inside it.
"""

import os
import re
import subprocess
import sys
import time

import pyatspi

from screen_reader_test import check, child_named, press, report, start, stop, wait_for, window

MAIN = "九星方位学"
TRAINING = "トヴァラ"
# The month board's 南東 cell: the home board's star 4 fills it at start. Its
# sunken border starts at (8, 16) of the client area, its fill one pixel in.
CELL_FILL = (0x20, 0xBB, 0x50)
CELL_FILL_AT = (9, 17)
RESTORED = (819, 573)
DESKTOP_ENTRY = os.path.join(os.path.dirname(__file__), "../../packaging/org.kyusei.kyusei.desktop")


def screen():
    """The whole X screen: (width, height, rgb bytes)."""
    ppm = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True, check=True,
                         timeout=30).stdout
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
    return int(m.group(1)), int(m.group(2)), ppm[m.end():]


def pixel(shot, x, y):
    width, _, data = shot
    i = (y * width + x) * 3
    return tuple(data[i:i + 3])


def client_origin(shot):
    """Where the client area of the main window starts on the screen, found by
    the first row of the month board's 南東 cell."""
    width, _, data = shot
    # A run of the fill as wide as no window icon is.
    run = bytes(CELL_FILL) * 40
    at = data.find(run)
    while at >= 0 and at % 3:
        at = data.find(run, at + 1)
    if at < 0:
        return None
    y, x = divmod(at // 3, width)
    return x - CELL_FILL_AT[0], y - CELL_FILL_AT[1]


def check_layout_at_top(shot, desktop):
    """The layout's black rows above the cell are exactly its own 16, and what
    lies above them is the frame, not more of the window."""
    x0, y0 = client_origin(shot)
    column = x0 + CELL_FILL_AT[0] + 20
    above = [pixel(shot, column, y) for y in range(max(y0 - 40, 0), y0 + 16)]
    black = 0
    while black < len(above) and above[-1 - black] == (0, 0, 0):
        black += 1
    check(black == 16, f"{desktop}: {black} black rows above the board, the layout has 16")
    check(y0 > 0 and pixel(shot, column, y0 - 1) != (0, 0, 0),
          f"{desktop}: no frame above the client area at ({column}, {y0 - 1})")
    return x0, y0


def extents(win):
    e = win.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    return e.width, e.height


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30).stdout.strip()


def click_at(x, y, clicks=1):
    """As a hand does it: the pointer comes to rest over the spot before the
    button goes down; Qt's own frame acts only on a button it saw the pointer enter."""
    xdotool("mousemove", "--sync", str(x - 40), str(y + 40), "sleep", "0.2", "mousemove", "--sync", str(x - 3), str(y),
            "sleep", "0.2", "mousemove", "--sync", str(x), str(y),
            "sleep", "0.2", "click", "--repeat", str(clicks), "--delay", "80", "1")


def restore_from_maximised(desktop, origin):
    """Restores the maximised main window through its frame: a double click on
    KWin's title bar, a click on the maximise button of Qt's own frame."""
    x0, y0 = origin
    if desktop == "kwin":
        click_at(x0 + 400, y0 - 10, clicks=2)
    else:
        # A nested mutter tells a window of the pointer's motion only after its
        # first button press; until then a press lands where the pointer entered
        # the window, in the client area. So a first click on the layout's black
        # ground, where nothing answers it.
        click_at(x0 + 1100, y0 + 800)
        # Qt's frame: the maximise button is second from the right, 18 pixels
        # square, 5 apart, 8 from the right edge.
        right = x0 + extents(window(MAIN))[0]
        click_at(right - 8 - 18 - 5 - 9, y0 // 2)


def check_edge_resize(desktop):
    main = window(MAIN)
    # KWin dims the screen for a moment as its window switcher closes.
    restore_from_maximised(desktop, wait_for("the layout", lambda: client_origin(screen()), timeout=10))
    restored = wait_for("the main window restored", lambda: extents(main)[0] < 900 and extents(main), timeout=10)
    check(restored == RESTORED, f"{desktop}: restored to {restored}, not {RESTORED}")
    x0, y0 = wait_for("the restored layout", lambda: client_origin(screen()))
    edge = x0 + RESTORED[0] + 1
    middle = y0 + RESTORED[1] // 2
    xdotool("mousemove", "--sync", str(edge - 2), str(middle), "sleep", "0.2", "mousemove", "--sync", str(edge),
            str(middle), "sleep", "0.2", "mousedown", "1")
    for step in range(1, 11):
        xdotool("mousemove", str(edge + 10 * step), str(middle))
    xdotool("mouseup", "1")
    grown = wait_for("the window to grow", lambda: extents(main)[0] > RESTORED[0] + 50 and extents(main), timeout=10)
    check(grown[1] == RESTORED[1], f"{desktop}: dragged sideways, the height changed: {grown}")


# The desktop's own key for minimise.
MINIMISE_KEY = {"kwin": "super+Next", "mutter": "super+h"}


def check_minimise_by_key(desktop):
    """The desktop's key for minimise puts the main window away, it stays away,
    and Alt+Tab brings it back as it was."""
    before = extents(window(MAIN))
    xdotool("key", MINIMISE_KEY[desktop])
    wait_for("the main window minimised", lambda: client_origin(screen()) is None, timeout=10)
    # A window thrown back would be on the screen again within half a second.
    for _ in range(4):
        time.sleep(0.2)
        check(client_origin(screen()) is None, f"{desktop}: the minimise was undone")
    # Alt is let go once the switcher shows the window, not after a guessed while.
    xdotool("keydown", "alt", "sleep", "0.3", "key", "Tab")
    wait_for("the window switcher", lambda: client_origin(screen()), timeout=10)
    xdotool("keyup", "alt")
    wait_for("the main window back and active",
             lambda: window(MAIN).getState().contains(pyatspi.STATE_ACTIVE) and client_origin(screen()), timeout=10)
    check(extents(window(MAIN)) == before, f"{desktop}: back as {extents(window(MAIN))}, not as before {before}")


def check_sway_bar(shot, origin):
    """Tiled, the window has sway's title bar straight above it and no second bar."""
    x0, y0 = origin
    bar = [pixel(shot, x0 + 200, y) for y in range(0, y0)]
    check(0 < y0 <= 32, f"sway: the layout starts {y0} pixels down, below more than one title bar")
    check((0x28, 0x55, 0x77) in bar, f"sway: no sway title bar above the window: {set(bar)}")
    greys = [p for p in bar if p[0] == p[1] == p[2] and 0x80 <= p[0] < 0xFF]
    check(not greys, f"sway: a grey bar of Qt's own under sway's: {set(greys)}")


def x_window(title):
    found = xdotool("search", "--name", f"^{title}$").split()
    return found[0] if found else None


def net_state(wid):
    return subprocess.run(["xprop", "-id", wid, "_NET_WM_STATE", "WM_STATE", "WM_TRANSIENT_FOR", "WM_CLASS"],
                          capture_output=True, text=True, timeout=10).stdout


def check_minimise_stays(title, maximised):
    wid = wait_for(f"{title} on the X server", lambda: x_window(title))
    xdotool("windowminimize", "--sync", wid)
    # The program hears of the minimise at once; a window it threw back would be
    # Normal again within a few of its event loop turns.
    time.sleep(1)
    state = net_state(wid)
    check("window state: Iconic" in state, f"{title}: the minimise was undone: {state}")
    xdotool("windowactivate", "--sync", wid)
    state = wait_for(f"{title} back", lambda: "window state: Normal" in net_state(wid) and net_state(wid))
    if maximised:
        check("_NET_WM_STATE_MAXIMIZED_VERT" in state, f"{title}: back, but no longer maximised: {state}")
    return state


def check_x11(program):
    main = window(MAIN)
    state = check_minimise_stays(MAIN, maximised=True)
    wm_class = re.search(r'WM_CLASS\(STRING\) = "([^"]*)", "([^"]*)"', state)
    with open(DESKTOP_ENTRY, encoding="utf-8") as entry:
        wanted = re.search(r"^StartupWMClass=(.*)$", entry.read(), re.M)
    check(wanted and wm_class and wanted.group(1) == wm_class.group(2),
          f"StartupWMClass {wanted and wanted.group(1)} against WM_CLASS {wm_class and wm_class.groups()}")

    press(child_named(main, "イメージ", "push button"))
    wait_for("the training window", lambda: window(TRAINING))
    state = check_minimise_stays(TRAINING, maximised=False)
    check("WM_TRANSIENT_FOR" not in state or "not found" in state.split("WM_TRANSIENT_FOR")[1].split("\n")[0],
          f"the training window belongs to another window: {state}")
    wid = x_window(TRAINING)
    types = subprocess.run(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE"], capture_output=True, text=True).stdout
    check("_NET_WM_WINDOW_TYPE_NORMAL" in types, f"the training window is no normal window: {types}")


def check_fit(desktop):
    main = window(MAIN)
    size = wait_for("the maximised main window", lambda: extents(main)[1] > 600 and extents(main))
    check(size[1] < 665, f"{desktop}: the window's client area is {size}, no smaller than the layout")
    outside = []
    for c in main:
        if c is None or not c.getState().contains(pyatspi.STATE_SHOWING):
            continue
        e = c.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        if e.x < 0 or e.y < 0 or e.x + e.width > size[0] or e.y + e.height > size[1]:
            outside.append(f"{c.name or c.getRoleName()} {e.x},{e.y} {e.width}x{e.height}")
    check(not outside, f"{desktop}: outside the {size[0]}x{size[1]} window: {outside}")


def main(program_path, desktop):
    platform = "xcb" if desktop.startswith("openbox") else "wayland"
    program = start(program_path, platform)
    try:
        wait_for("the main window", lambda: window(MAIN))
        shot = wait_for("the layout on the screen", lambda: client_origin(screen()) and screen())
        if desktop in ("kwin", "mutter"):
            check_layout_at_top(shot, desktop)
            check_minimise_by_key(desktop)
            check_edge_resize(desktop)
        elif desktop == "sway":
            check_sway_bar(shot, check_layout_at_top(shot, desktop))
        elif desktop == "openbox":
            check_layout_at_top(shot, desktop)
            check_x11(program)
        else:
            check_fit(desktop)
    finally:
        # What the screen showed last, for a person to look at.
        if os.environ.get("KYUSEI_DESKTOP_SHOT"):
            subprocess.run(["import", "-silent", "-window", "root", os.environ["KYUSEI_DESKTOP_SHOT"]], timeout=30)
        stop(program)
    report()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
