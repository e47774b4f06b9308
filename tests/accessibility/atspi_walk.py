# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Walks every screen of the program through AT-SPI, as Orca reads it (run by
run_atspi_test.sh, which provides the desktop session): every control has a role and a
name, segmented controls are radio groups whose action really picks, the preview is
readable text, and the quiz's texts are readable and announced as they change."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

events = []


def pump(seconds=0.0):
    deadline = time.monotonic() + seconds
    while True:
        while GLib.main_context_default().iteration(False):
            pass
        if time.monotonic() >= deadline:
            return
        time.sleep(0.02)


def fail(message):
    raise AssertionError(message)


def wait_for(what, probe, timeout=15):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pump()
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # a node that went away while we looked
        return False


def nodes(root):
    """Every node on show below root; closed dialogs can linger in the tree."""
    stack = [root]
    while stack:
        node = stack.pop()
        yield node
        for i in range(node.childCount - 1, -1, -1):
            child = node.getChildAtIndex(i)
            if child is not None and showing(child):
                stack.append(child)


def find(app, role, name):
    for node in nodes(app):
        if node.getRole() == role and node.name == name:
            return node
    return None


def state(node, which):
    return node.getState().contains(which)


def act(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    for i, name in enumerate(names):
        if name.lower() == action:
            actions.doAction(i)
            return
    fail(f"{node.name!r} offers no {action!r} action, only {names}")


def press(app, name):
    act(wait_for(name, lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, name)), "press")


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)
    pump(0.3)


def check_every_control_named(app, screen):
    for node in nodes(app):
        if not state(node, pyatspi.STATE_FOCUSABLE):
            continue
        if node.getRole() in (pyatspi.ROLE_UNKNOWN, pyatspi.ROLE_INVALID):
            fail(f"{screen}: a control without a role, named {node.name!r}")
        if not node.name.strip():
            fail(f"{screen}: a {node.getRoleName()} without a name")


def check_radio_group(app, group_name, expected_checked):
    """The group's radio buttons in order, one of them checked."""
    group = None
    for node in nodes(app):
        kids = [node.getChildAtIndex(i) for i in range(node.childCount)]
        if node.name == group_name and kids and all(
                k.getRole() == pyatspi.ROLE_RADIO_BUTTON for k in kids):
            group = node
    if group is None:
        fail(f"no radio group named {group_name!r}")
    radios = [group.getChildAtIndex(i) for i in range(group.childCount)]
    checked = [r.name for r in radios if state(r, pyatspi.STATE_CHECKED)]
    if checked != [expected_checked]:
        fail(f"{group_name}: checked {checked}, expected {expected_checked!r}")
    return {r.name: r for r in radios}


def focused(app, role, name):
    node = wait_for(name, lambda: find(app, role, name))
    wait_for(f"the focus on {name!r}", lambda: state(node, pyatspi.STATE_FOCUSED))


def heard(event):
    """Orca speaks a name change of the object with the focus only."""
    source = event.source
    if source is not None and state(source, pyatspi.STATE_FOCUSED):
        events.append(str(event.any_data) or source.name)


def announced(text):
    return any(text in name for name in events)


def walk(app):
    # Start screen: the focus on the first button.
    focused(app, pyatspi.ROLE_PUSH_BUTTON, "単語リストを選んで学習する")
    check_every_control_named(app, "start")

    # Settings: four radio groups.
    press(app, "学習の設定")
    wait_for("the settings", lambda: find(app, pyatspi.ROLE_RADIO_BUTTON, "読み上げない"))
    check_radio_group(app, "出題のしかた", "英語を表示して日本語を答える")
    check_radio_group(app, "発音", "読み上げない")
    check_radio_group(app, "答え方", "自分で判定")
    # The file's order, so that the quiz asks the words as written.
    act(check_radio_group(app, "単語の順番", "シャッフルする")["ファイルの順番のまま"], "toggle")
    check_radio_group(app, "単語の順番", "ファイルの順番のまま")
    check_every_control_named(app, "settings")
    press(app, "閉じる")
    wait_for("the settings to close",
             lambda: not find(app, pyatspi.ROLE_RADIO_BUTTON, "読み上げない"))

    # Import: the separator group; its action on ";" must reach the example line.
    press(app, "単語リストを読み込む")
    focused(app, pyatspi.ROLE_RADIO_BUTTON, "カンマ")
    radios = check_radio_group(app, "区切り文字", "カンマ")
    if list(radios) != ["カンマ", "セミコロン", "アットマーク", "タブ"]:
        fail(f"separator segments {list(radios)}")
    check_radio_group(app, "並び順", "英語が先")
    check_every_control_named(app, "import")
    act(radios["セミコロン"], "toggle")
    wait_for("the example line with ;",
             lambda: find(app, pyatspi.ROLE_LABEL, "例: 英語;日本語"))
    check_radio_group(app, "区切り文字", "セミコロン")
    press(app, "戻る")

    # Set-up: the list box first; the preview is read-only multi-line text.
    press(app, "単語リストを選んで学習する")
    focused(app, pyatspi.ROLE_COMBO_BOX, "単語リスト")
    start = find(app, pyatspi.ROLE_PUSH_BUTTON, "学習を始める")
    if state(start, pyatspi.STATE_ENABLED) or not start.description:
        fail("a disabled start button should say why")
    key("Down")
    press(app, "このリストに決定")
    wait_for("the count", lambda: find(app, pyatspi.ROLE_LABEL, "全2単語"))
    preview = find(app, pyatspi.ROLE_TEXT, "単語リストの中身")
    if preview is None:
        fail("the preview is no text field")
    text = preview.queryText().getText(0, -1)
    if text != "apple$りんご\nbook$本\n":
        fail(f"the preview reads {text!r}")
    if not state(preview, pyatspi.STATE_MULTI_LINE) or state(preview, pyatspi.STATE_EDITABLE):
        fail("the preview should be multi-line and read-only")
    check_every_control_named(app, "set-up")

    # Quiz: the texts are names, and each change is announced on the focused screen.
    press(app, "学習を始める")
    wait_for("the asked word", lambda: find(app, pyatspi.ROLE_LABEL, "apple"))
    check_every_control_named(app, "quiz")
    steps = [("Down", "りんご"), ("Left", "book"), ("Down", "本"),
             ("Right", "2周目 スタート 50%正解"), ("Up", "apple"), ("Down", "りんご"),
             ("Right", "学習 終了")]
    for arrow, said in steps:
        events.clear()
        key(arrow)
        wait_for(f"{said!r} announced after {arrow}", lambda: announced(said))
        if arrow == "Down" and not find(app, pyatspi.ROLE_LABEL, said):
            fail(f"the answer {said!r} cannot be read")
        if any(name in ("↓", "↑") for name in events):
            fail("a bare arrow hint was announced")
    if not find(app, pyatspi.ROLE_LABEL, "学習"):
        fail("the end banner cannot be read")

    # And back, the focus landing where work starts.
    press(app, "戻る")
    focused(app, pyatspi.ROLE_COMBO_BOX, "単語リスト")
    press(app, "戻る")
    focused(app, pyatspi.ROLE_PUSH_BUTTON, "単語リストを選んで学習する")


def main():
    program = subprocess.Popen([sys.argv[1]], stdout=subprocess.DEVNULL)
    try:
        pyatspi.Registry.registerEventListener(
            heard,
            "object:property-change:accessible-name")
        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name.lower() == "verbolin":
                    return app
            return None

        walk(wait_for("the program on the accessibility bus", application, timeout=30))
    except AssertionError as problem:
        print(f"atspi: {problem}", file=sys.stderr)
        app = application()
        if app is not None:  # what was on show, to tell why
            for node in nodes(app):
                print(f"  {node.getRoleName()}: {node.name!r}", file=sys.stderr)
        return 1
    finally:
        program.terminate()
        program.wait(timeout=10)
    print("atspi: every screen walked")
    return 0


if __name__ == "__main__":
    sys.exit(main())
