#!/usr/bin/env python3
"""Runs two builds of `zavota-cli calc` on the same random presses and reports every press whose
output or exit code differs.

    bench/compare_cli.py BEFORE AFTER [--cases N] [--seed S] [--timeout SECONDS]

Each press gets random field texts on a random page, a random question, cash or margin, mini-stock,
OTC, the tick check on or off, tax rates, expense sets, manual commissions and a random commission
table file of up to 80 brackets (negative additions, discounts and limits included). Both builds run
in a fresh home and hive of their own. A press that times out in either build is counted apart."""

import argparse
import os
import random
import subprocess
import sys
import tempfile


def log_scale(r, hi):
    return max(1, int(round(10 ** r.uniform(0, len(str(hi)) - 1))))


def table_file(r, path):
    def side(prefix):
        n = r.choice([1, 1, 2, 3, r.randint(1, 80)])
        rows, low = [], 0
        for i in range(n):
            high = low + log_scale(r, 300_000_000)
            if i == n - 1 and r.random() < 0.7:
                high = 9_999_999_999
            rate = r.randint(0, 30_000) / 10_000 if r.random() < 0.95 else r.randint(0, 1_500_000) / 10_000
            discount = r.randint(0, 100_000) / 1_000 if r.random() < 0.9 else -r.randint(0, 50_000) / 1_000
            rows.append(f"{prefix}{i}={low},{high},{rate:.4f},{r.randint(-2000, 5000)},{discount:.3f}")
            low = high
        return n, rows
    nk, k = side("K")
    separate = r.random() < 0.5
    nu, u = side("U") if separate else (nk, [])
    lines = ["[手数料テーブル]", "Name=比較", f"Same={1 if separate else 0}", f"ElementsK={nk}", f"ElementsU={nu}",
             f"MiniAfterK={r.randint(0, 1)}", f"MiniAfterU={r.randint(0, 1)}"]
    for name in ("LowLimitK", "LowLimitU"):
        lines.append(f"{name}={0 if r.random() < 0.5 else r.randint(0, 3000)}")
    for name in ("HighLimitK", "HighLimitU"):
        lines.append(f"{name}={0 if r.random() < 0.5 else r.randint(3001, 600_000)}")
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines + k + u) + "\r\n").encode("cp932"))


def press(r, folder):
    page = r.choice(["buy", "sell"])
    shares = log_scale(r, 1_000_000)
    price = min(log_scale(r, 99_999_999), max(1, 9_999_999_999 // shares))
    args = ["calc", "--page", page, "--price", str(price), "--shares", str(shares),
            "--kind", r.choice(["cash", "margin"])]
    q = r.randint(0, 4)
    amount = price * shares
    if q == 1:
        args += ["--sell-at" if page == "buy" else "--buy-back-at", str(log_scale(r, 99_999_999))]
    elif q == 2:
        args += ["--rise" if page == "buy" else "--fall", str(log_scale(r, max(2, price)))]
    elif q == 3:
        target = r.randint(0, 1000) if r.random() < 0.2 else min(log_scale(r, max(2, amount)), 99_999_999)
        args += ["--target-profit" if page == "buy" else "--target-gain", str(target)]
    elif q == 4:
        args += ["--target-rate", f"{log_scale(r, 600_000) / 100:.2f}"]
    if r.random() < 0.15:
        unit = r.choice([10, 100, 1000])
        args[6] = str(unit // 10 * r.randint(1, 9))
        args += ["--mini-unit", str(unit)]
    if r.random() < 0.3:
        args.append("--otc")
    if r.random() < 0.4:
        args.append("--no-tick-check")
    if r.random() < 0.8:
        path = os.path.join(folder, "t1.ini")
        table_file(r, path)
        args += ["--table-file", path]
        if r.random() < 0.3:
            path2 = os.path.join(folder, "t2.ini")
            table_file(r, path2)
            args += ["--table2-file", path2]
    for name in ("--commission-buy", "--commission-tax-buy", "--commission-sell", "--commission-tax-sell"):
        if r.random() < 0.05:
            args += [name, str(r.randint(0, 5000))]
    if r.random() < 0.5:
        args += ["--tax-buy", f"{r.randint(0, 1000) / 100:.2f}", "--tax-sell", f"{r.randint(0, 1000) / 100:.2f}",
                 "--income-tax", f"{r.randint(0, 2000) / 100:.2f}", "--resident-tax", f"{r.randint(0, 1000) / 100:.2f}"]
    if r.random() < 0.2:
        args.append("--separate-taxes")
    if r.random() < 0.1:
        args.append("--no-profit-tax")
    if r.random() < 0.3:
        args += ["--year-gain", str(r.randint(-10_000_000, 10_000_000))]
    if r.random() < 0.5:
        values = [r.randint(0, 1000) / 100, r.randint(0, 400), r.randint(0, 1000) / 100, r.randint(0, 400),
                  r.randint(0, 5000), r.randint(0, 5000), r.randint(-5000, 5000), r.randint(-5000, 5000),
                  r.randint(-5000, 5000)]
        args += ["--expense-set", ",".join(str(v) for v in values)]
    if r.random() < 0.5:
        args.append("--json")
    return args


def run(binary, args, folder, timeout):
    env = dict(os.environ, ZAVOTA_HOME=os.path.join(folder, "home"), ZAVOTA_REGISTRY=os.path.join(folder, "hive.reg"))
    try:
        p = subprocess.run([binary] + args, capture_output=True, timeout=timeout, env=env)
        return p.returncode, p.stdout, p.stderr
    except subprocess.TimeoutExpired:
        return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("before")
    ap.add_argument("after")
    ap.add_argument("--cases", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--timeout", type=float, default=30)
    a = ap.parse_args()
    r = random.Random(a.seed)
    same = differ = timed_out = 0
    with tempfile.TemporaryDirectory() as folder:
        for i in range(a.cases):
            args = press(r, folder)
            one = run(a.before, args, folder, a.timeout)
            two = run(a.after, args, folder, a.timeout)
            if one is None or two is None:
                timed_out += 1
                print(f"case {i} timed out in {'before' if one is None else ''} {'after' if two is None else ''}: "
                      f"{' '.join(args)}")
                continue
            if one == two:
                same += 1
                continue
            differ += 1
            print(f"case {i}: {' '.join(args)}")
            for name, (code, out, err) in (("before", one), ("after", two)):
                print(f"  {name}: exit {code}\n    " + (out + err).decode("utf-8", "replace").replace("\n", "\n    "))
    print(f"{same} identical, {differ} different, {timed_out} timed out (seed {a.seed})")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
