"""The program under a Wayland compositor, weston, as run-under-weston starts it.

Driven over AT-SPI with the helpers of screen_reader_test.py, and seen as
weston itself sees it, through its scene graph (weston-debug): a reading, the
training window and back, both windows shown under the desktop entry's name.
How the windows wear the frames of the desktops people use is desktop_test.py's.
"""

import subprocess
import sys

from screen_reader_test import check, child_named, press, read_main_window, report, start, stop, wait_for, window

APP_ID = "org.kyusei.kyusei"


def shown_by_weston(title):
    """weston's record of the window, three lines, or None while it shows no such window."""
    scene = subprocess.run(["weston-debug", "scene-graph"], capture_output=True, text=True, timeout=10).stdout
    lines = scene.splitlines()
    for i, line in enumerate(lines):
        if f"top-level window '{title}'" in line:
            return lines[i:i + 3]
    return None


def check_shown(title):
    view = wait_for(f"weston to show {title}", lambda: shown_by_weston(title))
    check(f" of {APP_ID}," in view[0], f"{title}: not the desktop entry's app_id: {view[0]}")


def main(program_path):
    program = start(program_path, "wayland")
    try:
        main_window = wait_for("the main window", lambda: window("九星方位学"))
        check_shown("九星方位学")
        read_main_window(main_window)

        press(child_named(main_window, "イメージ", "push button"))
        training = wait_for("the training window", lambda: window("トヴァラ"))
        check_shown("トヴァラ")
        press(child_named(training, "戻る", "push button"))
        wait_for("the main window again", lambda: window("九星方位学"))
        check_shown("九星方位学")
        check(shown_by_weston("トヴァラ") is None, "the training window is still shown")
    finally:
        stop(program)
    report()


if __name__ == "__main__":
    main(sys.argv[1])
