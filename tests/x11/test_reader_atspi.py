"""What a screen reader hears over AT-SPI from the real program: a combo box's name and current
choice before and after a pick with the mouse and keys, the change told as it happens, and the
page strip's stable name and selected tab. Usage: test_reader_atspi.py PROGRAM"""
import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

S = Atspi.StateType


def wait_for(what, probe, seconds=20.0):
    end = time.monotonic() + seconds
    while True:
        try:
            if value := probe():
                return value
        except GLib.Error:
            pass  # the tree is being rebuilt: ask again
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.1)
        while GLib.MainContext.default().iteration(False):
            pass  # events the reader is told of


def kids(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())] if node else []


def find(node, role, name, depth=0):
    """The first showing node below `node` with this role and name."""
    for child in kids(node) if depth < 16 else []:
        if child.get_role() == role and child.get_name() == name and child.get_state_set().contains(S.SHOWING):
            return child
        if found := find(child, role, name, depth + 1):
            return found
    return None


def click(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1"],
                   check=True)


def main(program):
    home = tempfile.mkdtemp(prefix="zavota-reader-")
    proc = subprocess.Popen([program, "--no-first-start-question"], env=dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config",
                                                XDG_DATA_HOME=home + "/.local/share", QT_QPA_PLATFORM="xcb",
                                                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    heard, failures = [], []
    expect = lambda what, got, want: got == want or failures.append(f"{what}: heard {got!r}, expected {want!r}")
    try:
        app = wait_for("the program on the reader's bus", lambda: next(
            (a for a in kids(Atspi.get_desktop(0)) if a.get_process_id() == proc.pid and a.get_child_count()), None))
        tax = wait_for("the combo box 現物／信用", lambda: find(app, Atspi.Role.COMBO_BOX, "現物／信用"))
        entries = [e.get_name() for e in kids(tax.get_child_at_index(0))]
        before = Atspi.Text.get_text(tax, 0, -1)
        if before not in entries[:-1]:
            raise AssertionError(f"the choice {before!r} is not an entry with one after it in {entries!r}")
        listener = Atspi.EventListener.new(lambda e: e.source.get_name() == "現物／信用" and heard.append(e.any_data))
        listener.register("object:text-changed:insert")

        # The list drops down on a click (again if the first came while the window manager was
        # still placing the window); Down and Return take the next entry.
        wait_for("an active window", lambda: any(w.get_state_set().contains(S.ACTIVE) for w in kids(app)))
        for attempt in range(4):
            click(tax)
            try:
                wait_for("the list", lambda: tax.get_child_at_index(0).get_state_set().contains(S.SHOWING), 3)
                break
            except AssertionError:
                if attempt == 3:
                    raise
        subprocess.run(["xdotool", "key", "Down", "Return"], check=True)
        after = entries[entries.index(before) + 1]
        wait_for("the change to be told", lambda: heard, 5)
        expect("choice after Down, Return", Atspi.Text.get_text(tax, 0, -1), after)
        expect("change told", heard, [after])
        expect("name after the change", tax.get_name(), "現物／信用")

        strip = find(app, Atspi.Role.PAGE_TAB_LIST, "計算ページの切替")
        selected = lambda: [t.get_name() for t in kids(strip) if t.get_state_set().contains(S.SELECTED)]
        expect("selected tab", selected(), ["買値から計算"])
        click(find(strip, Atspi.Role.PAGE_TAB, "売値から計算"))
        wait_for("the sell page", lambda: selected() == ["売値から計算"], 5)
        expect("strip's name after the switch", strip.get_name(), "計算ページの切替")
    finally:
        proc.terminate()
        proc.wait(timeout=10)
    print("".join(f"FAILED: {f}\n" for f in failures) + f"{int(not failures)} passed, {int(bool(failures))} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
