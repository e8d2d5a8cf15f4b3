"""Reads the program the way a screen reader does, over AT-SPI.

Starts the real program, types the worked example into the six inputs through
their accessible text, presses 算出 through its accessible action and reads every
name back; then opens the training window and reads its board. Run inside a
D-Bus session and an X server (see run-screen-reader-test). wayland_test.py
reads the program under a Wayland compositor with the same helpers.
"""

import os
import subprocess
import sys
import time

import pyatspi

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def wait_for(what, probe, timeout=20.0):
    """Polls the other process until probe() gives something; fails after timeout."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise SystemExit(f"timed out waiting for {what}")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "kyusei":
            return app
    return None


def window(title):
    app = application()
    if app is None:
        return None
    for w in app:
        if w is not None and w.name == title and w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def children(parent):
    return [c for c in parent if c is not None]


def child_named(parent, name, role=None):
    for c in children(parent):
        if c.name == name and (role is None or c.getRoleName() == role):
            return c
    raise SystemExit(f"no {role or 'control'} named {name!r} in {parent.name!r}")


def type_into(accessible, text):
    accessible.queryEditableText().setTextContents(text)


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def label_names(win):
    return [c.name for c in children(win) if c.getRoleName() == "label"]


EXPECTED_LABELS = [
    "名前", "生年月日", "年", "月", "日", "占う年月", "年", "月", "日", "選択データ",
    "定位盤(九星及び各方角\u3000\u3000\u3000\u3000\u3000の意味）",
    # The cells in the order they are stacked: row by row from the top left (south-east).
    "月盤 南東 四緑木星", "月盤 南 九紫火星 吉", "月盤 南西 ニ黒土星 本命殺",
    "月盤 東 三碧木星", "月盤 中央 五黄土星", "月盤 西 七赤金星 吉",
    "月盤 北東 八白土星 的殺", "月盤 北 一白水星", "月盤 北西 六白金星 吉",
    "年盤 南東 ニ黒土星 本命殺", "年盤 南 七赤金星 吉", "年盤 南西 九紫火星 吉",
    "年盤 東 一白水星 暗剣殺", "年盤 中央 三碧木星", "年盤 西 五黄土星 五黄殺",
    "年盤 北東 六白金星 吉", "年盤 北 八白土星 吉", "年盤 北西 四緑木星 的殺",
    "月盤\u3000(月の方位盤)", "年盤\u3000(年の方位盤)", "本命星\u3000(あなたの生まれ星)",
    "本命星 ニ黒土星", "吉方 (凶方と重なる時は使えません)",
    "吉方 六白金星", "吉方 七赤金星", "吉方 八白土星", "吉方 九紫火星",
    "月盤 五黄殺 ナシ", "月盤 暗剣殺 ナシ", "月盤 本命殺 ニ黒土星 南西", "月盤 的殺 八白土星 北東",
    "年盤 五黄殺 五黄土星 西", "年盤 暗剣殺 一白水星 東", "年盤 本命殺 ニ黒土星 南東", "年盤 的殺 四緑木星 北西",
    "定位盤 南東 四緑木星", "定位盤 南 九紫火星", "定位盤 南西 ニ黒土星", "定位盤 東 三碧木星",
    "定位盤 中央 五黄土星", "定位盤 西 七赤金星", "定位盤 北東 八白土星", "定位盤 北 一白水星",
    "定位盤 北西 六白金星",
]

INPUTS = [
    ("text", "生年月日 年", "1980"), ("combo box", "生年月日 月", "5"), ("combo box", "生年月日 日", "5"),
    ("text", "占う年月 年", "2024"), ("combo box", "占う年月 月", "2"), ("combo box", "占う年月 日", "10"),
]


def read_main_window(main):
    # Every input is found by its own name, and so is the text input inside
    # each drop-down list.
    for role, name, text in INPUTS:
        control = child_named(main, name, role)
        if role == "combo box":
            inner = children(control)
            check([c.getRoleName() for c in inner] == ["text"], f"{name}: one text input inside, got {inner}")
            check(inner[0].name == name, f"{name}: its text input is called {inner[0].name!r}")
            control = inner[0]
        type_into(control, text)

    press(child_named(main, "算出", "push button"))
    wait_for("the reading", lambda: "本命星 ニ黒土星" in label_names(main))

    names = label_names(main)
    check(names == EXPECTED_LABELS, "labels after the reading:\n  " + "\n  ".join(names))
    for c in children(main):
        check(c.getState().contains(pyatspi.STATE_SHOWING), f"{c.name!r} is found but does not show")
        check("Label" not in c.name, f"a placeholder is read out: {c.name!r}")
    check(main.getRoleName() == "frame", f"the main window is a {main.getRoleName()}")


def read_training_window(main):
    press(child_named(main, "イメージ", "push button"))
    training = wait_for("the training window", lambda: window("トヴァラ"))
    # Stopped, the board holds still while it is read.
    slider = child_named(training, "スピードコントロール", "slider")
    slider.queryValue().currentValue = 0
    wait_for("the period label", lambda: "0秒" in label_names(training))

    # The cells by palace, 1 to 9.
    directions = ["北", "南西", "東", "南東", "中央", "北西", "西", "北東", "南"]
    stars = ["一白水星", "ニ黒土星", "三碧木星", "四緑木星", "五黄土星", "六白金星", "七赤金星", "八白土星", "九紫火星"]
    cells = [n for n in label_names(training) if n.split(" ")[0] in directions]
    check([n.split(" ")[0] for n in cells] == directions, f"training cells: {cells}")
    check(sorted(n.split(" ")[1] for n in cells) == sorted(stars), f"training stars: {cells}")
    for c in children(training):
        check("Label" not in c.name, f"a placeholder is read out in the training window: {c.name!r}")


def start(program, platform):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM=platform)
    return subprocess.Popen([program], env=env)


def stop(program):
    if program.poll() is None:
        program.terminate()
        program.wait(timeout=10)


def report():
    if failures:
        print(f"{len(failures)} check(s) failed")
        sys.exit(1)
    print("every check passed")


def main(program_path):
    program = start(program_path, "xcb")
    try:
        main_window = wait_for("the main window", lambda: window("九星方位学"))
        read_main_window(main_window)
        read_training_window(main_window)
    finally:
        stop(program)
    report()


if __name__ == "__main__":
    main(sys.argv[1])
