#!/usr/bin/env python3
"""Plants the core faults of tools/mutations.py one at a time and lets the
simulated player look for each: for every fault, the seeds whose walk failed
and after how many steps, the fewest and the median. The faults go into a
separate checkout of the last commit (build/player-tree, kept between runs
so that its builds are reused), never into the working tree.

    python3 tools/player-faults.py [--only ID ...] [--seeds FIRST-LAST] [--steps N] [--base COMMIT]

--base plays another commit than the last one, such as a merge of branches
not yet on this one.

The player alone, without a fault, over the same seeds comes first: a fault
counts as found on a walk that fails without it only where it fails
another way.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from mutations import FAULTS  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TREE = os.path.join(ROOT, "build", "player-tree")


def run(cmd, cwd=TREE):
    return subprocess.run(cmd, shell=True, cwd=cwd, capture_output=True, text=True, errors="replace")


def walks(seeds, steps):
    out = run(f"build/native/tools/varnex_player --seeds {seeds} --steps {steps} --quiet").stdout
    found = {}
    for m in re.finditer(r"seed (\d+) (\w+): step (\d+) (\S+):", out):
        found[(int(m.group(1)), m.group(2))] = (int(m.group(3)), m.group(4))
    return found


def main():
    args = argparse.ArgumentParser()
    args.add_argument("--only", nargs="*")
    args.add_argument("--seeds", default="1-10")
    args.add_argument("--steps", type=int, default=3000)
    args.add_argument("--base", default="HEAD")
    opts = args.parse_args()
    if not os.path.isdir(TREE):
        run(f"git worktree add --detach {TREE} HEAD", cwd=ROOT)
    head = run(f"git rev-parse {opts.base}", cwd=ROOT).stdout.strip()
    run(f"git checkout --quiet --force --detach {head} && git clean --quiet -fd -e build")
    run("cmake --preset native")
    if run("cmake --build --preset native -j 2 --target varnex_player").returncode != 0:
        sys.exit("the player does not build")
    failing = walks(opts.seeds, opts.steps)
    print(f"without a fault: {len(failing)} walks fail" + (f" {sorted(failing)}" if failing else ""))
    print("| fault | what it breaks | walks that found it | fewest steps | median steps | checks |\n|---|---|---|---|---|---|")
    chosen = [f for f in FAULTS if f[1] == "core" and (not opts.only or f[0] in opts.only)]
    for fid, _, path, old, new, what in chosen:
        full = os.path.join(TREE, path)
        original = open(full, encoding="latin-1").read()
        if old not in original:
            print(f"| {fid} | {what} | (the text to change is not in {path}) | | | |", flush=True)
            continue
        open(full, "w", encoding="latin-1").write(original.replace(old, new, 1))
        try:
            if run("cmake --build --preset native -j 2 --target varnex_player").returncode != 0:
                print(f"| {fid} | {what} | (does not build) | | | |", flush=True)
                continue
            found = {k: v for k, v in walks(opts.seeds, opts.steps).items() if failing.get(k) != v}
        finally:
            open(full, "w", encoding="latin-1").write(original)
        steps = [s for s, _ in found.values()]
        checks = ", ".join(sorted({c for _, c in found.values()}))
        if steps:
            print(f"| {fid} | {what} | {len(found)} | {min(steps)} | {int(statistics.median(steps))} | {checks} |",
                  flush=True)
        else:
            print(f"| {fid} | {what} | 0 | | | |", flush=True)
    run("cmake --build --preset native -j 2 --target varnex_player")


if __name__ == "__main__":
    sys.exit(main())
