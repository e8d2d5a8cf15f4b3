"""The program under a Wayland compositor, weston, as run-under-weston starts it.

Driven over AT-SPI with the helpers of screen_reader_test.py, and seen as
weston itself sees it, through its scene graph (weston-debug): a reading, the
training window and back. Neither window may have Qt's own frame, whose
buttons always include minimise, nor a minimise button in its own title bar;
both carry the desktop entry's name; closing the main window ends the program.
"""

import re
import subprocess
import sys

import pyatspi

from screen_reader_test import (check, child_named, children, press, read_main_window, report, start, stop,
                                wait_for, window)

APP_ID = "org.kyusei.kyusei"


def shown_by_weston(title):
    """weston's record of the window, three lines, or None while it shows no such window."""
    scene = subprocess.run(["weston-debug", "scene-graph"], capture_output=True, text=True, timeout=10).stdout
    lines = scene.splitlines()
    for i, line in enumerate(lines):
        if f"top-level window '{title}'" in line:
            return lines[i:i + 3]
    return None


def check_frame(win, buttons):
    title = win.name
    view = wait_for(f"weston to show {title}", lambda: shown_by_weston(title))
    check(f" of {APP_ID}," in view[0], f"{title}: not the desktop entry's app_id: {view[0]}")
    # Qt draws its frame around the window, in the same surface: weston's view
    # would be larger than the window by the frame.
    x1, y1, x2, y2 = map(int, re.findall(r"-?\d+", view[1]))
    extents = win.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    check((x2 - x1, y2 - y1) == (extents.width, extents.height),
          f"{title}: a frame around the window: {view[1].strip()}, the window {extents.width}x{extents.height}")
    bar = child_named(win, "タイトルバー")
    names = sorted(c.name for c in children(bar))
    check(names == buttons, f"{title}: title bar buttons {names}, expected {buttons}")
    return bar


def main(program_path):
    program = start(program_path, "wayland")
    try:
        main_window = wait_for("the main window", lambda: window("九星方位学"))
        check_frame(main_window, sorted(["元に戻す", "閉じる"]))
        read_main_window(main_window)

        press(child_named(main_window, "イメージ", "push button"))
        training = wait_for("the training window", lambda: window("トヴァラ"))
        check_frame(training, ["閉じる"])
        press(child_named(training, "戻る", "push button"))
        main_window = wait_for("the main window again", lambda: window("九星方位学"))
        bar = check_frame(main_window, sorted(["元に戻す", "閉じる"]))
        check(shown_by_weston("トヴァラ") is None, "the training window is still shown")

        press(child_named(bar, "閉じる"))
        try:
            check(program.wait(timeout=10) == 0, "the program failed when its main window closed")
        except subprocess.TimeoutExpired:
            check(False, "the program runs on after its main window closed")
    finally:
        stop(program)
    report()


if __name__ == "__main__":
    main(sys.argv[1])
