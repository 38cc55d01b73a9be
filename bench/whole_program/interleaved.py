#!/usr/bin/env python3
"""Times commands in turn, round after round (A B C, A B C, ...), so that a
machine whose speed drifts during the run slows every command alike; prints
each command's median wall time and, for each pair asked for, the median of
the per-round ratios.

    interleaved.py --runs N --warmup W --ratio a/b ... NAME=COMMAND ...

Each COMMAND is split as a shell splits words and run without a shell, its
output thrown away.
"""

import argparse
import shlex
import statistics
import subprocess
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--warmup", type=int, default=2)
    parser.add_argument("--ratio", action="append", default=[])
    parser.add_argument("--label", default="")
    parser.add_argument("commands", nargs="+")
    args = parser.parse_args()

    commands = {}
    for spec in args.commands:
        name, command = spec.split("=", 1)
        commands[name] = shlex.split(command)

    def run(argv):
        start = time.perf_counter()
        subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        return time.perf_counter() - start

    for _ in range(args.warmup):
        for argv in commands.values():
            run(argv)
    times = {name: [] for name in commands}
    for _ in range(args.runs):
        for name, argv in commands.items():
            times[name].append(run(argv))

    medians = ", ".join("%s %.3f" % (name, statistics.median(t)) for name, t in times.items())
    print("%s (median of %d runs, seconds): %s" % (args.label, args.runs, medians))
    for pair in args.ratio:
        a, b = pair.split("/")
        ratio = statistics.median(x / y for x, y in zip(times[a], times[b]))
        print("  %s / %s = %.2f" % (a, b, ratio))


if __name__ == "__main__":
    main()
