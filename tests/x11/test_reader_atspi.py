"""What a screen reader hears from the calculator window, through AT-SPI as a reader asks it:
a combo box says its label as its name and its current choice as its text, before and after
the user picks another entry with the mouse and keys; the page strip keeps its name and says
which tab is selected. Usage: test_reader_atspi.py PROGRAM"""
import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def wait_for(what, probe, seconds=20.0):
    end = time.monotonic() + seconds
    while True:
        try:
            value = probe()
            if value:
                return value
        except GLib.Error:
            pass  # the tree is being rebuilt: ask again
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.1)
        while GLib.MainContext.default().iteration(False):
            pass  # events the reader is told of


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def find(node, role, name, depth=0):
    """The first showing node below `node` with this role and name."""
    if depth > 16:
        return None
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        if child.get_role() == role and child.get_name() == name and showing(child):
            return child
        found = find(child, role, name, depth + 1)
        if found is not None:
            return found
    return None


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
            return app
    return None


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def click(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                    "click", "1"], check=True)


def selected_tab(strip):
    tabs = [t for t in children(strip) if t.get_role() == Atspi.Role.PAGE_TAB]
    chosen = [t.get_name() for t in tabs if t.get_state_set().contains(Atspi.StateType.SELECTED)]
    return chosen[0] if len(chosen) == 1 else None


def check(failures, what, got, expected):
    if got != expected:
        failures.append("%s: heard %r, expected %r" % (what, got, expected))


def main(program):
    home = tempfile.mkdtemp(prefix="zavota-reader-")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_DATA_HOME=home + "/.local/share",
               QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    proc = subprocess.Popen([program], env=env)
    failures = []
    try:
        app = wait_for("the program on the reader's bus", lambda: application(proc.pid))
        tax = wait_for("the combo box 現物／信用", lambda: find(app, Atspi.Role.COMBO_BOX, "現物／信用"))
        if tax.get_child_at_index(0) is None:
            raise AssertionError("the combo box has no list of its choices")
        entries = [e.get_name() for e in children(tax.get_child_at_index(0))]
        before = Atspi.Text.get_text(tax, 0, -1)
        if before not in entries[:-1]:
            raise AssertionError("current choice %r is not an entry with one after it: %r" % (before, entries))
        after = entries[entries.index(before) + 1]
        told = []  # the text a reader is told the box now has
        listener = Atspi.EventListener.new(
            lambda e: told.append(e.any_data) if e.source.get_name() == "現物／信用" else None)
        listener.register("object:text-changed:insert")

        # The list drops down on a click (again if the first came while the window manager was
        # still placing the window); Down and Return take the next entry.
        wait_for("the window to be active", lambda: any(
            w.get_state_set().contains(Atspi.StateType.ACTIVE) for w in children(app)))
        for attempt in range(4):
            click(tax)
            try:
                wait_for("the list to drop down", lambda: showing(tax.get_child_at_index(0)), seconds=3)
                break
            except AssertionError:
                if attempt == 3:
                    raise
        subprocess.run(["xdotool", "key", "Down", "Return"], check=True)
        wait_for("the new choice", lambda: Atspi.Text.get_text(tax, 0, -1) != before, seconds=5)
        check(failures, "choice after Down, Return", Atspi.Text.get_text(tax, 0, -1), after)
        check(failures, "name after the change", tax.get_name(), "現物／信用")
        wait_for("the change to be told", lambda: told, seconds=5)
        check(failures, "text the reader was told", told, [after])

        strip = find(app, Atspi.Role.PAGE_TAB_LIST, "計算ページの切替")
        check(failures, "selected tab", selected_tab(strip), "買値から計算")
        click(find(strip, Atspi.Role.PAGE_TAB, "売値から計算"))
        wait_for("the sell page", lambda: selected_tab(strip) == "売値から計算", seconds=5)
        check(failures, "strip's name after the switch", strip.get_name(), "計算ページの切替")
    finally:
        proc.terminate()
        proc.wait(timeout=10)
    for f in failures:
        print("FAILED:", f)
    print("%d passed, %d failed" % (1 if not failures else 0, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
