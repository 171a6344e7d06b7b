#!/usr/bin/python3
# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""The Windows build's start-up and memory under Wine, each against the bare
Qt floor built with the same cross Qt and run the same way.

Usage (inside tests/wine/wine-session.sh): wine_bench.py <windows build>
(RUNS in the environment, default 7). The programs start through the runner
the tests use (tests/wine/wine-run.sh with the build's DLL folders), which
the build names in wine-runner.txt.

Each probe reports its first paint and its working set and ends (see
bench/first_paint.cpp). The game and the floor start in turn, after one
unmeasured start of each; the figures are medians. Prints the same
"BENCH <name> <value> <goal>" lines as the Linux bench; the Windows figures
are reported, with no goal: Wine is not Windows (see the README).
"""
import os
import statistics
import subprocess
import sys
import time


def run(program, runner):
    started = time.monotonic()
    done = subprocess.run(runner + [program], capture_output=True, timeout=120)
    wall = time.monotonic() - started
    values = {}
    for line in done.stdout.decode(errors="replace").splitlines():
        key, _, value = line.partition(" ")
        if value.strip().lstrip("-").isdigit():
            values[key] = int(value)
    if done.returncode != 0 or "since-start-ns" not in values or "rss-kb" not in values:
        sys.exit(f"wine_bench: {program} reported no first paint (status {done.returncode}):\n"
                 + done.stderr.decode(errors="replace")[-2000:])
    return {"start": values["since-start-ns"] * 1e-9, "wall": wall,
            "cpu": values.get("cpu-ns", 0) * 1e-9, "rss": values["rss-kb"]}


def main():
    build = sys.argv[1]
    with open(os.path.join(build, "wine-runner.txt"), encoding="utf-8") as listing:
        runner = [line for line in listing.read().splitlines() if line]
    runs = int(os.environ.get("RUNS", "7"))
    game = os.path.join(build, "bench", "wine", "rumida_bench_game_probe.exe")
    bare = os.path.join(build, "bench", "wine", "rumida_bench_bare_probe.exe")
    results = {"game": [], "bare": []}
    for i in range(runs + 1):
        g, b = run(game, runner), run(bare, runner)
        if i > 0:
            results["game"].append(g)
            results["bare"].append(b)

    def med(who, key):
        return statistics.median(r[key] for r in results[who])

    print(f"Windows build under Wine (medians of {runs}):")
    print(f"  first paint after the process was created: game {med('game', 'start') * 1e3:.1f} ms, "
          f"bare Qt {med('bare', 'start') * 1e3:.1f} ms")
    print(f"  from `wine` started to the report, Wine's own start included: game "
          f"{med('game', 'wall') * 1e3:.0f} ms, bare Qt {med('bare', 'wall') * 1e3:.0f} ms")
    print(f"  CPU time until then: game {med('game', 'cpu') * 1e3:.1f} ms, bare Qt {med('bare', 'cpu') * 1e3:.1f} ms")
    print(f"  working set at the first paint: game {med('game', 'rss'):.0f} kB, bare Qt {med('bare', 'rss'):.0f} kB")
    print(f"BENCH start_ratio_wine {med('game', 'start') / med('bare', 'start'):.4g} report")
    print(f"BENCH rss_ratio_wine {med('game', 'rss') / med('bare', 'rss'):.4g} report")


if __name__ == "__main__":
    main()
