#!/usr/bin/env python3
"""What every preset draws, as digests: checks them against the committed file, or writes it anew.

Usage: golden_digests.py HOST [--update] [--file FILE]

For each preset the plug-in lists (`HOST presets`) and each colour model, the
host draws the preset through the options dialog with a fixed seed and writes
the SVG and the JSON dump; one line per case holds their SHA-256 digests:

    INDEX<TAB>MODEL<TAB>SVG-DIGEST<TAB>JSON-DIGEST<TAB>NAME

Without --update the lines are compared with FILE (default
tests/golden/preset-digests.txt) and every case that differs is named; the
exit status is 1 then. With --update FILE is written anew, so a change that
alters a drawing shows in review as changed lines of that file.
"""
import argparse
import concurrent.futures
import hashlib
import os
import subprocess
import sys
import tempfile

SEED = 1
MODELS = ("gray", "rgb", "cmyk")
DEFAULT_FILE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "golden",
                                             "preset-digests.txt"))


def presets(host):
    out = subprocess.run([host, "presets"], check=True, capture_output=True, text=True).stdout
    rows = []
    for line in out.splitlines():
        index, _, name = line.partition("\t")
        rows.append((int(index), name))
    return rows


def digest_case(host, folder, index, name, model):
    stem = os.path.join(folder, f"{index}-{model}")
    run = subprocess.run([host, "draw", "--seed", str(SEED), "--preset", str(index), "--color-model", model,
                          "--svg", stem + ".svg", "--json", stem + ".json"], capture_output=True, text=True)
    if run.returncode != 0:
        raise RuntimeError(f"preset {index} ({model}) exited {run.returncode}: {run.stderr.strip()}")
    digests = []
    for ext in (".svg", ".json"):
        with open(stem + ext, "rb") as f:
            digests.append(hashlib.sha256(f.read()).hexdigest())
    return f"{index}\t{model}\t{digests[0]}\t{digests[1]}\t{name}"


def compute(host):
    cases = [(index, name, model) for index, name in presets(host) for model in MODELS]
    with tempfile.TemporaryDirectory() as folder, concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        return list(pool.map(lambda case: digest_case(host, folder, *case), cases))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("host")
    parser.add_argument("--update", action="store_true", help="write FILE anew")
    parser.add_argument("--file", default=DEFAULT_FILE)
    args = parser.parse_args()
    lines = compute(args.host)
    if args.update:
        os.makedirs(os.path.dirname(args.file), exist_ok=True)
        with open(args.file, "w") as f:
            f.write("\n".join(lines) + "\n")
        print(f"golden_digests: wrote {len(lines)} lines to {args.file}")
        return 0
    try:
        with open(args.file) as f:
            expected = f.read().splitlines()
    except OSError as e:
        print(f"golden_digests: cannot read {args.file}: {e.strerror}", file=sys.stderr)
        return 1
    want = {tuple(line.split("\t")[:2]): line for line in expected if line}
    got = {tuple(line.split("\t")[:2]): line for line in lines}
    changed = [key for key in got if want.get(key) != got[key]]
    gone = [key for key in want if key not in got]
    for index, model in changed:
        print(f"golden_digests: preset {index} ({model}) draws differently: "
              f"{want.get((index, model), '(new case)')!r} -> {got[(index, model)]!r}")
    for index, model in gone:
        print(f"golden_digests: preset {index} ({model}) is no longer drawn")
    passed = len(got) - len(changed)
    print(f"{passed} passed, {len(changed) + len(gone)} failed")
    if changed or gone:
        print("golden_digests: if the change is meant, refresh the file with "
              "scripts/golden_digests.py build/bin/spiral-host --update", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
