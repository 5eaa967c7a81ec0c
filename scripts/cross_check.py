#!/usr/bin/env python3
"""Runs the Linux and the Windows spiral-host on the same random cases and
compares what they write, byte for byte.

Usage: cross_check.py LINUX_HOST WINDOWS_HOST [N] [--keep DIR] [--wine PROGRAM]

Each case is a random record (every list option is cycled through, so N of at
least 29 reaches every offset mode, structure, sketch colour mode,
interpolation, placement and point shift), a random seed and colour model,
run through the options dialog or as a bare repeat. Both builds write the SVG,
the JSON dump and the saved record; the check fails on the first case whose
files or exit status differ. The Windows host runs under Wine (WINEPREFIX
and WINEDEBUG are taken from the environment; --wine names the loader, for
example /usr/lib/wine/wine64 for a 64-bit build, default "wine").
"""
import argparse
import concurrent.futures
import json
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from output_digest import BOOLS, LISTS, random_record  # noqa: E402

OUTPUTS = ("svg", "json", "rec")


def make_cases(count):
    rng = random.Random(20261209)
    cases = []
    for case in range(count):
        record = random_record(rng)
        for name, size in LISTS.items():
            record[name] = case % size
        cases.append({"record": record, "seed": rng.randrange(2**32),
                      "model": ("gray", "rgb", "cmyk")[case % 3], "repeat": rng.random() < 0.3})
    return cases


def run(command_prefix, host, case, params, folder):
    outputs = [os.path.join(folder, "out." + ext) for ext in OUTPUTS]
    for path in outputs:
        if os.path.exists(path):
            os.remove(path)
    command = command_prefix + [
        host, "draw", "--params", params, "--seed", str(case["seed"]), "--color-model", case["model"],
        "--svg", outputs[0], "--json", outputs[1], "--save-params", outputs[2]]
    if case["repeat"]:
        command.append("--no-dialog")
    # Output goes to files, not pipes: a wineserver started by this run
    # inherits them and outlives the run, and a pipe would stay open with it.
    with open(os.path.join(folder, "stderr.txt"), "wb") as err:
        result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err,
                                timeout=300)
    files = []
    for path in outputs:
        if os.path.exists(path):
            with open(path, "rb") as f:
                files.append(f.read())
        else:
            files.append(None)
    return result.returncode, files


def check_case(index, case, linux_host, windows_host, wine, work):
    folder = os.path.join(work, f"case{index:03}")
    os.makedirs(os.path.join(folder, "linux"), exist_ok=True)
    os.makedirs(os.path.join(folder, "windows"), exist_ok=True)
    params = os.path.join(folder, "params.json")
    with open(params, "w") as f:
        json.dump(case["record"], f)
    linux = run([], linux_host, case, params, os.path.join(folder, "linux"))
    windows = run([wine], windows_host, case, params, os.path.join(folder, "windows"))
    problems = []
    if linux[0] != windows[0]:
        problems.append(f"exit status {linux[0]} on Linux, {windows[0]} on Windows")
        for name in ("linux", "windows"):
            with open(os.path.join(folder, name, "stderr.txt"), "rb") as f:
                tail = f.read().decode(errors="replace").strip().splitlines()[-3:]
            problems += [f"{name} stderr: {line}" for line in tail]
    for ext, a, b in zip(OUTPUTS, linux[1], windows[1]):
        if a is None and b is None:
            continue
        if a is None or b is None:
            problems.append(f"{ext}: written by one build only")
        elif a != b:
            at = next((k for k in range(min(len(a), len(b))) if a[k] != b[k]), min(len(a), len(b)))
            problems.append(f"{ext}: differs from byte {at} ({len(a)} and {len(b)} bytes)")
    written = linux[1][0] is not None
    return index, problems, written


def prepare_wine(wine, windows_host, work):
    """Make Wine's prefix once, before runs go in parallel.

    A fresh prefix is built by the first program Wine starts; two runs that
    start together on a fresh prefix race to build it and one of them fails.
    The Windows host is run once on its own so that every later run finds a
    finished prefix, and a wineserver kept for 30 s after its last program
    spares the runs Wine's start-up. No output goes to a pipe: wineserver
    inherits it and may outlive every program, so a pipe would never close.
    """
    quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    subprocess.run([wine, "wineboot", "--init"], timeout=600, **quiet)
    subprocess.run(["wineserver", "-w"], timeout=600, **quiet)
    subprocess.run(["wineserver", "-p30"], timeout=600, **quiet)
    log = os.path.join(work, "wine-probe.txt")
    with open(log, "wb") as out:
        probe = subprocess.run([wine, windows_host, "presets"], stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                               timeout=600)
    if probe.returncode != 0:
        with open(log, "rb") as f:
            sys.stderr.write(f.read().decode(errors="replace")[-2000:])
        sys.exit(f"cross-check: the Windows host does not run under {wine} (exit status {probe.returncode})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("linux_host")
    parser.add_argument("windows_host")
    parser.add_argument("count", nargs="?", type=int, default=200)
    parser.add_argument("--keep", metavar="DIR", help="keep every case's files in DIR")
    parser.add_argument("--wine", default="wine", metavar="PROGRAM", help="Wine's loader (default: wine)")
    args = parser.parse_args()
    linux_host, windows_host = os.path.abspath(args.linux_host), os.path.abspath(args.windows_host)
    count, keep, wine = args.count, args.keep, args.wine
    work = keep or tempfile.mkdtemp(prefix="spiral-cross-")
    cases = make_cases(count)
    prepare_wine(wine, windows_host, work)

    failures = 0
    drawn = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        jobs = [pool.submit(check_case, i, c, linux_host, windows_host, wine, work) for i, c in enumerate(cases)]
        for job in concurrent.futures.as_completed(jobs):
            index, problems, written = job.result()
            drawn += written
            for problem in problems:
                print(f"case {index:03}: {problem} (files in {work}/case{index:03})")
            failures += bool(problems)

    used = {name: {c["record"][name] for c in cases} for name in BOOLS}
    one_sided = [name for name, values in used.items() if len({bool(v) for v in values}) < 2]
    if one_sided:
        print("cross-check: these switches were never both on and off: " + ", ".join(one_sided))
    print(f"cross-check: {count - failures} of {count} cases byte-identical (SVG, JSON dump, record); "
          f"{drawn} drew a document")
    sys.exit(1 if failures or one_sided else 0)


if __name__ == "__main__":
    main()
