#!/usr/bin/env python3
"""Measures numbrelle-run beside Tcl 8.6, Python 3 and Lua 5.4 on the five
workloads of bench/scripts and prints the table. Run it through bench/compare,
which installs the peers and builds what it needs first.

Every implementation does every workload twice per round, at a short size and
at a long one of LONG times the work. The CPU time of a child (user + sys) of
the long run minus that of the short run is the cost of LONG - 1 times the
work, with start-up, loading and compiling cancelled out. Rounds go round-robin
over the implementations and workloads, so that the shared machine's changing
load falls on all of them alike, and the table shows medians over the rounds.
Numbrelle's figures are statement passes per second; a peer's figure is the
same work, that many passes of the script, per second.

Before timing anything, each peer's output is compared with the question texts
numbrelle-run produces, so that every column does the same work.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

LONG = 11

# File stem in bench/scripts (and bench/tcl, bench/python, bench/lua), what
# the row says, and how many times the short size does the script's work.
WORKLOADS = [
    ("loops", "integer loop: nested for{ around =+ and =mod", 1),
    ("text", "text building: = appending to a str, strout in a loop", 100),
    ("floats", "floats: =sin, dec=*, dec=+ in a loop", 10),
    ("question", "a typical question", 10000),
    ("arrays", "array loop over int(a:1000) through a:i, a while", 300),
]

# Workloads that draw random numbers print texts that agree in everything
# but their digits.
RANDOM_WORKLOADS = {"question"}


class Implementation:
    def __init__(self, name, command, is_numbrelle):
        self.name = name
        self.command = command  # workload stem, repetitions -> argv
        self.is_numbrelle = is_numbrelle


def numbrelle(name, runner, scripts):
    return Implementation(
        name,
        lambda stem, n: [runner, "--seed", "1", "--runs", str(n), os.path.join(scripts, stem + ".txt")],
        True,
    )


def peer(name, interpreter, folder, extension):
    return Implementation(
        name,
        lambda stem, n: [interpreter, os.path.join(folder, stem + extension), str(n)],
        False,
    )


def cpu_seconds(argv):
    """Runs argv with its output discarded; the child's user + sys CPU time."""
    with open(os.devnull, "rb") as stdin, open(os.devnull, "wb") as stdout:
        process = subprocess.Popen(argv, stdin=stdin, stdout=stdout)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"compare: {' '.join(argv)} exited with {process.returncode}")
    return usage.ru_utime + usage.ru_stime


def output_of(argv):
    result = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, check=False)
    if result.returncode != 0:
        sys.exit(f"compare: {' '.join(argv)} exited with {result.returncode}: {result.stderr.decode()}")
    return result.stdout.decode("utf-8")


def question_texts(runner, scripts, stem, runs):
    """The question text of each run, as numbrelle-run's JSON gives them."""
    import json

    argv = [runner, "--json", "--seed", "1", "--runs", str(runs), os.path.join(scripts, stem + ".txt")]
    return [json.loads(line)["question"] for line in output_of(argv).splitlines() if line]


def shape(text):
    return re.sub(r"[0-9]+", "#", text)


def check_peer(implementation, runner, scripts, stem):
    """Fails unless the peer prints the question texts numbrelle-run makes."""
    runs = 3
    printed = output_of(implementation.command(stem, runs))
    if stem in RANDOM_WORKLOADS:
        # Any question numbrelle-run can pose, whatever the numbers drawn.
        expected = {shape(q) for q in question_texts(runner, scripts, stem, 200)}
        got = re.split(r"(?<!\r)\n", printed.rstrip("\n"))
        if len(got) == runs and all(shape(q) in expected for q in got):
            return
    elif printed == "".join(q + "\n" for q in question_texts(runner, scripts, stem, runs)):
        return
    sys.exit(f"compare: {implementation.name} does not print what bench/scripts/{stem}.txt does")


def count_passes(counter, scripts):
    paths = [os.path.join(scripts, stem + ".txt") for stem, _, _ in WORKLOADS]
    counts = output_of([counter] + paths).split()
    return {stem: int(count) for (stem, _, _), count in zip(WORKLOADS, counts)}


def rate_text(rate):
    millions = rate / 1e6
    return f"{millions:.0f} M" if millions >= 10 else f"{millions:.2g} M"


def version_of(argv, pattern):
    try:
        text = subprocess.run(argv, capture_output=True, text=True, check=False, input="puts [info patchlevel]")
    except OSError:
        return None
    found = re.search(pattern, text.stdout + text.stderr)
    return found.group(1) if found else None


def find_peers(root):
    peers = []
    for label, names, folder, extension, version_argv, pattern in [
        ("Tcl", ["tclsh8.6"], "tcl", ".tcl", [], r"(\d+\.\d+)"),
        ("Python", ["/usr/bin/python3", "python3"], "python", ".py", ["--version"], r"Python (\d+\.\d+)"),
        ("Lua", ["lua5.4"], "lua", ".lua", ["-v"], r"Lua (\d+\.\d+)"),
    ]:
        interpreter = next((shutil.which(name) for name in names if shutil.which(name)), None)
        if interpreter is None:
            sys.exit(f"compare: no {' or '.join(names)} (bench/compare installs it)")
        version = version_of([interpreter] + version_argv, pattern)
        peers.append(peer(f"{label} {version}", interpreter, os.path.join(root, "bench", folder), extension))
    return peers


def measure_startup(implementations, scripts, samples):
    """CPU and wall time of numbrelle-run on a one-statement file."""
    path = os.path.join(scripts, "startup.txt")
    for implementation in implementations:
        argv = implementation.command("startup", 1)[:-1] + [path]
        start = time.perf_counter()
        cpu = cpu_seconds(argv)
        samples.setdefault(implementation.name, []).append((cpu, time.perf_counter() - start))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--rounds", type=int, default=9, help="rounds of every measurement (default 9)")
    parser.add_argument(
        "--runner",
        action="append",
        metavar="NAME=PATH",
        help="a numbrelle-run to measure, as a column NAME (repeatable; default: build/tools/numbrelle-run)",
    )
    parser.add_argument("--counter", help="the pass counter (default: build/bench/numbrelle_count_passes)")
    parser.add_argument("--only", help="comma-separated workloads to measure: " + ",".join(w[0] for w in WORKLOADS))
    parser.add_argument("--no-peers", action="store_true", help="measure the runners alone")
    options = parser.parse_args()

    root = options.root
    scripts = os.path.join(root, "bench", "scripts")
    counter = options.counter or os.path.join(root, "build", "bench", "numbrelle_count_passes")
    runners = []
    for given in options.runner or [f"Numbrelle={os.path.join(root, 'build', 'tools', 'numbrelle-run')}"]:
        name, _, path = given.partition("=")
        runners.append(numbrelle(name, os.path.abspath(path), scripts))
    reference = runners[0].command("", 1)[0]
    implementations = runners + ([] if options.no_peers else find_peers(root))
    workloads = [w for w in WORKLOADS if not options.only or w[0] in options.only.split(",")]

    passes = count_passes(counter, scripts)
    for implementation in implementations:
        if not implementation.is_numbrelle:
            for stem, _, _ in workloads:
                check_peer(implementation, reference, scripts, stem)

    # differences[(implementation, workload)]: long minus short, one per round
    differences = {}
    startup = {}
    for round_number in range(options.rounds):
        order = implementations[round_number % len(implementations) :] + implementations[: round_number % len(implementations)]
        for stem, _, short in workloads:
            for implementation in order:
                sizes = [short, short * LONG] if round_number % 2 == 0 else [short * LONG, short]
                times = {n: cpu_seconds(implementation.command(stem, n)) for n in sizes}
                differences.setdefault((implementation.name, stem), []).append(times[short * LONG] - times[short])
        for _ in range(5):
            measure_startup(runners, scripts, startup)
        print(f"round {round_number + 1} of {options.rounds}", file=sys.stderr)

    names = [i.name for i in implementations]
    print(f"Steady state: CPU time of {LONG}x the work minus 1x, median of {options.rounds} rounds.")
    print("Statement passes per second (for a peer: the same work per second).\n")
    print("| work (bench/scripts) | " + " | ".join(names) + " |")
    print("|---|" + "---|" * len(names))
    for stem, label, short in workloads:
        work = passes[stem] * short * (LONG - 1)
        cells = []
        for name in names:
            seconds = statistics.median(differences[(name, stem)])
            cells.append(rate_text(work / seconds) if seconds > 0 else "n/a")
        times = f" x {short:,}" if short > 1 else ""
        print(f"| {label}, {passes[stem]:,} passes{times} | " + " | ".join(cells) + " |")
    print()
    for implementation in runners:
        cpu = statistics.median(s[0] for s in startup[implementation.name]) * 1000
        wall = statistics.median(s[1] for s in startup[implementation.name]) * 1000
        print(f"start-up of {implementation.name} on a one-statement file: {cpu:.2f} ms CPU, {wall:.2f} ms wall (median)")


if __name__ == "__main__":
    main()
