#!/usr/bin/env python3
"""Plants one small fault at a time in a scratch copy of the sources, rebuilds incrementally,
runs the test programs that cover the faulty file and counts which faults the tests notice.

Not part of CI: a full run takes hours. Typical uses:

    nice -n 19 tools/mutation/mutate.py --per-folder 40 --seed 1 --report /tmp/mutation.md
    tools/mutation/mutate.py --list --folders core          # the faults it would plant
    tools/mutation/mutate.py --faults my-faults.tsv         # hand-written faults only

A fault survives when every test program still passes; it is killed when one fails or runs past
the time limit; it is stillborn when the faulty code does not compile (not counted in the score).
"""

import argparse
import collections
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_SOURCE = os.path.dirname(os.path.dirname(HERE))

# The test programs that link each folder's library, cheapest first: a fault is killed by the
# first one that fails. The window tests are left out unless asked for (--ui): they take
# minutes and the rules they reach are tested below them.
PROGRAMS = {
    "core": ["core_tests", "cli_tests"],
    "platform": ["platform_tests", "memo_tests", "settings_tests"],
    "settings": ["settings_tests", "cli_tests"],
    "memo": ["memo_tests", "settings_tests"],
    "cli": ["cli_tests"],
}
UI_FOLDERS = {"core", "settings", "memo"}
DEFAULT_FOLDERS = ["core", "platform", "settings", "memo", "cli"]

# ---- the faults ------------------------------------------------------------------------------

Fault = collections.namedtuple("Fault", "path line col old new op")

# (operator, pattern, replacement); patterns match on a line whose strings and comments are
# masked, so a quoted "<" or a comment is never touched.
SWAPS = [
    ("comparison", r"(?<= )<=(?= )", "<"),
    ("comparison", r"(?<= )<(?= )", "<="),
    ("comparison", r"(?<= )>=(?= )", ">"),
    ("comparison", r"(?<= )>(?= )", ">="),
    ("comparison", r"(?<= )==(?= )", "!="),
    ("comparison", r"(?<= )!=(?= )", "=="),
    ("logic", r"(?<= )&&(?= )", "||"),
    ("logic", r"(?<= )\|\|(?= )", "&&"),
    ("negation", r"(?<=\()!(?=[A-Za-z_(])", ""),
    ("rounding", r"\bRoundDown\b", "RoundHalfUp"),
    ("rounding", r"\bRoundHalfUp\b", "RoundDown"),
    ("rounding", r"\bRoundUp\b", "RoundDown"),
    ("rounding", r"\bRoundNone\b", "RoundDown"),
    ("off by one", r"(?<= )\+ 1\b", "- 1"),
    ("off by one", r"(?<= )- 1\b", "+ 1"),
    ("return", r"\breturn true;", "return false;"),
    ("return", r"\breturn false;", "return true;"),
]
# A one-line guard, removed whole.
GUARD = re.compile(r"^\s*if \(.*\) (return\b.*|continue|break);\s*$")
SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*|template\b|static_assert\b|case\b|enum\b)")
DECLARES_ROUNDING = re.compile(r"\bRound(None|Down|HalfUp|Up)\s*=")


def masked(line):
    """The line with the insides of string and character literals and any // comment blanked,
    so that positions stay those of the line."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\" and i + 1 < len(line):
                out.append("  ")
                i += 2
                continue
            out.append(c if c == quote else " ")
            if c == quote:
                quote = None
        elif c == '"' or (c == "'" and not (i > 0 and line[i - 1].isalnum())):  # not 1'000
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def faults_in(root, path):
    faults = []
    with open(os.path.join(root, path), encoding="utf-8") as f:
        lines = f.read().split("\n")
    in_block_comment = False
    for number, line in enumerate(lines, 1):
        stripped = line.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or SKIP_LINE.match(line) or DECLARES_ROUNDING.search(line):
            continue
        code = masked(line)
        for op, pattern, replacement in SWAPS:
            for m in re.finditer(pattern, code):
                faults.append(Fault(path, number, m.start(), m.group(0), replacement, op))
        if GUARD.match(code):
            faults.append(Fault(path, number, 0, line, "", "guard removed"))
    return faults


def all_faults(root, folders):
    faults = []
    for folder in folders:
        base = os.path.join(root, "src", folder)
        for dirpath, _, files in sorted(os.walk(base)):
            for name in sorted(files):
                if name.endswith((".cpp", ".h")):
                    rel = os.path.relpath(os.path.join(dirpath, name), root)
                    faults.extend(faults_in(root, rel))
    return faults


def read_fault_file(path, root):
    """Hand-written faults, one a line: path TAB old text TAB new text TAB what it breaks. The
    old text must stand on exactly one line of the file; an empty new text removes that line."""
    faults = []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            if not raw.strip() or raw.startswith("#"):
                continue
            parts = raw.rstrip("\n").split("\t")
            if len(parts) != 4:
                sys.exit(f"{path}: needs path, old text, new text, note: {raw!r}")
            rel, old, new, note = parts
            with open(os.path.join(root, rel), encoding="utf-8") as src:
                hits = [n for n, line in enumerate(src.read().split("\n"), 1) if old in line]
            if len(hits) != 1:
                sys.exit(f"{path}: {old!r} stands on {len(hits)} lines of {rel}, not one")
            faults.append(Fault(rel, hits[0], -1, old, new, note))
    return faults


def folder_of(fault):
    return fault.path.split("/")[1]


def apply(text, fault):
    lines = text.split("\n")
    line = lines[fault.line - 1]
    if fault.op == "guard removed" or (fault.col < 0 and fault.new == ""):
        lines[fault.line - 1] = ""
    else:
        col = fault.col if fault.col >= 0 else line.find(fault.old)
        if col < 0 or line[col:col + len(fault.old)] != fault.old:
            raise ValueError(f"{fault.path}:{fault.line}: {fault.old!r} not found")
        lines[fault.line - 1] = line[:col] + fault.new + line[col + len(fault.old):]
    return "\n".join(lines)


def describe(fault, root):
    with open(os.path.join(root, fault.path), encoding="utf-8") as f:
        line = f.read().split("\n")[fault.line - 1].strip()
    if fault.op == "guard removed":
        return f"{fault.path}:{fault.line}: guard removed: {line}"
    if fault.col < 0:  # hand-written: the note says what it breaks
        change = "line removed" if fault.new == "" else f"{fault.old!r} -> {fault.new!r}"
        return f"{fault.path}:{fault.line}: {fault.op}: {change}"
    return f"{fault.path}:{fault.line}:{fault.col + 1}: {fault.op}: {fault.old!r} -> {fault.new!r} in: {line}"

# ---- the scratch copy ------------------------------------------------------------------------


def sync_scratch(source, scratch):
    """Copies the tracked and new files of the work tree; files already the same are not
    touched, so the build after a second sync is incremental."""
    listing = subprocess.run(["git", "-C", source, "ls-files", "-z", "--cached", "--others",
                              "--exclude-standard"], check=True, capture_output=True).stdout
    copied = 0
    wanted = set(filter(None, listing.decode().split("\0")))
    # A file the work tree no longer has must not reach the build (the tests are globbed).
    for dirpath, dirnames, files in os.walk(scratch):
        if dirpath == scratch:
            dirnames[:] = [d for d in dirnames if d not in ("build", "home")]
        for name in files:
            rel = os.path.relpath(os.path.join(dirpath, name), scratch)
            if rel not in wanted:
                os.remove(os.path.join(dirpath, name))
    for rel in sorted(wanted):
        src, dst = os.path.join(source, rel), os.path.join(scratch, rel)
        if not os.path.isfile(src):
            continue
        with open(src, "rb") as f:
            data = f.read()
        if os.path.exists(dst):
            with open(dst, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        # A fresh time stamp: the copy must look newer than what was built from the old one.
        shutil.copyfile(src, dst)
        shutil.copymode(src, dst)
        copied += 1
    return copied


def run(cmd, timeout=None, env=None, quiet=True):
    """Runs a command in its own process group; returns its exit code, or None on time-out."""
    out = subprocess.DEVNULL if quiet else None
    p = subprocess.Popen(cmd, stdout=out, stderr=out, env=env, start_new_session=True)
    try:
        return p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.wait()
        return None


class Build:
    def __init__(self, scratch, jobs):
        self.scratch = scratch
        self.dir = os.path.join(scratch, "build")
        self.jobs = jobs

    def configure(self):
        # No debug information and light optimisation: each fault costs a compile and a link.
        cmd = ["cmake", "-S", self.scratch, "-B", self.dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
               "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG", "-DZAVOTA_BUILD_BENCH=OFF"]
        if shutil.which("ccache"):
            cmd.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        return run(cmd) == 0

    def build(self, targets):
        return run(["cmake", "--build", self.dir, "-j", str(self.jobs), "--target", *targets]) == 0

    def program(self, name):
        return os.path.join(self.dir, "tests", name)


def test_env(scratch):
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen"
    env["HOME"] = os.path.join(scratch, "home")  # nothing a test leaves behind reaches the user
    os.makedirs(env["HOME"], exist_ok=True)
    return env

# ---- the run ---------------------------------------------------------------------------------


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--source", default=DEFAULT_SOURCE, help="the work tree (default: this one)")
    ap.add_argument("--scratch", default="/tmp/zavota-mutation", help="the copy faults are planted in")
    ap.add_argument("--folders", default=",".join(DEFAULT_FOLDERS), help="folders of src/ to plant faults in")
    ap.add_argument("--only", help="plant faults only in files whose path matches this expression")
    ap.add_argument("--per-folder", type=int, default=0, help="at most this many faults per folder, drawn at random")
    ap.add_argument("--seed", type=int, default=1, help="seed of the draw")
    ap.add_argument("--faults", help="a file of hand-written faults instead of the generated ones")
    ap.add_argument("--ui", action="store_true", help="run the window tests too")
    ap.add_argument("--jobs", type=int, default=2, help="build jobs")
    ap.add_argument("--timeout", type=float, default=0, help="seconds per test program (default: 10 x its clean run)")
    ap.add_argument("--list", action="store_true", help="only list the faults")
    ap.add_argument("--report", help="write the score and the surviving faults to this file (Markdown)")
    args = ap.parse_args()
    # A plain kill must still put the faulty file back.
    signal.signal(signal.SIGTERM, signal.default_int_handler)

    source = os.path.abspath(args.source)
    folders = [f for f in args.folders.split(",") if f]
    for f in folders:
        if f not in PROGRAMS:
            sys.exit(f"unknown folder {f}; known: {', '.join(PROGRAMS)}")

    if args.faults:
        faults = read_fault_file(args.faults, source)
    else:
        faults = all_faults(source, folders)
        if args.only:
            faults = [f for f in faults if re.search(args.only, f.path)]
        if args.per_folder:
            rng = random.Random(args.seed)
            drawn = []
            for folder in folders:
                mine = [f for f in faults if folder_of(f) == folder]
                drawn.extend(sorted(rng.sample(mine, min(args.per_folder, len(mine)))))
            faults = drawn
    if args.list:
        for f in faults:
            print(describe(f, source))
        print(f"{len(faults)} faults", file=sys.stderr)
        return 0

    def programs_for(folder):
        names = list(PROGRAMS[folder])
        if args.ui and folder in UI_FOLDERS:
            names.append("ui_tests")
        return names

    scratch = os.path.abspath(args.scratch)
    os.makedirs(scratch, exist_ok=True)
    print(f"scratch copy {scratch}: {sync_scratch(source, scratch)} files copied", flush=True)
    build = Build(scratch, args.jobs)
    if not build.configure():
        sys.exit("cmake configure failed in the scratch copy")
    env = test_env(scratch)

    # The clean run: every program must pass, and its time sets the limit of the faulty runs.
    needed = sorted({p for f in faults for p in programs_for(folder_of(f))})
    if not build.build(needed):
        sys.exit("the clean scratch copy does not build")
    limits = {}
    for name in needed:
        started = time.monotonic()
        code = run([build.program(name)], timeout=1800, env=env)
        if code != 0:
            sys.exit(f"{name} fails on the clean copy; fix that first")
        limits[name] = args.timeout or max(30.0, 10 * (time.monotonic() - started))
    print("clean run passed: " + ", ".join(f"{n} ({limits[n]:.0f} s limit)" for n in needed), flush=True)

    results = collections.defaultdict(collections.Counter)
    survivors = []
    started_all = time.monotonic()
    try:
        for i, fault in enumerate(faults, 1):
            folder = folder_of(fault)
            path = os.path.join(scratch, fault.path)
            with open(path, encoding="utf-8") as f:
                original = f.read()
            try:
                faulty = apply(original, fault)
            except ValueError as e:
                print(f"[{i}/{len(faults)}] skipped: {e}", flush=True)
                continue
            programs = programs_for(folder)
            try:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(faulty)
                if not build.build(programs):
                    outcome = "stillborn"
                else:
                    outcome = "survived"
                    for name in programs:
                        code = run([build.program(name), "--gtest_fail_fast"], timeout=limits[name], env=env)
                        if code != 0:
                            outcome = "killed by " + name + (" (time-out)" if code is None else "")
                            break
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
            key = outcome.split(" ")[0]
            results[folder][key] += 1
            if key == "survived":
                survivors.append(fault)
            print(f"[{i}/{len(faults)}] {outcome}: {describe(fault, source)}", flush=True)
    except KeyboardInterrupt:
        print("interrupted; the counts so far:", flush=True)
    build.build(needed)  # leave the scratch build clean

    minutes = (time.monotonic() - started_all) / 60
    table = ["| folder | faults | killed | survived | stillborn | score |", "|---|---:|---:|---:|---:|---:|"]
    totals = collections.Counter()
    for folder in folders:
        c = results[folder]
        totals.update(c)
        counted = c["killed"] + c["survived"]
        score = f"{100 * c['killed'] / counted:.0f} %" if counted else "–"
        table.append(f"| {folder} | {sum(c.values())} | {c['killed']} | {c['survived']} | {c['stillborn']} | {score} |")
    counted = totals["killed"] + totals["survived"]
    score = f"{100 * totals['killed'] / counted:.0f} %" if counted else "–"
    table.append(f"| all | {sum(totals.values())} | {totals['killed']} | {totals['survived']} | "
                 f"{totals['stillborn']} | {score} |")
    lines = table + ["", f"{minutes:.0f} minutes.", "", "Surviving faults:", ""]
    lines += [f"- {describe(f, source)}" for f in survivors] or ["- none"]
    print("\n".join(lines))
    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
