#!/usr/bin/env python3
"""Compares the outputs two builds left in output_digest.py --keep folders.

Usage: compare_dumps.py DIR_A DIR_B

SVG and record files must match byte for byte. JSON dumps must have the same
keys in the same order, the same strings, integers and booleans, and numbers
that are the same float32 (the text of a number may differ: one build may
write a shorter form that reads back to the same float32). Prints one line
per difference and a summary; exit status 1 when there is any.
"""
import json
import os
import struct
import sys


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def same(a, b, where, problems):
    if isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            problems.append(f"{where}: {len(a)} elements against {len(b)}")
            return
        for i, (x, y) in enumerate(zip(a, b)):
            same(x, y, f"{where}[{i}]", problems)
    elif isinstance(a, dict) and isinstance(b, dict):
        if list(a) != list(b):
            problems.append(f"{where}: keys {list(a)} against {list(b)}")
            return
        for k in a:
            same(a[k], b[k], f"{where}.{k}", problems)
    elif isinstance(a, float) and isinstance(b, float):
        if struct.pack("<f", f32(a)) != struct.pack("<f", f32(b)):
            problems.append(f"{where}: {a!r} against {b!r}")
    elif type(a) is not type(b) or a != b:
        problems.append(f"{where}: {a!r} against {b!r}")


def main():
    a_dir, b_dir = sys.argv[1], sys.argv[2]
    names = sorted(n for n in os.listdir(a_dir) if n.endswith((".svg", ".json", ".rec")) and ".params." not in n)
    problems = []
    counts = {"svg": 0, "rec": 0, "json": 0, "json bytes same": 0}
    for name in names:
        pa, pb = os.path.join(a_dir, name), os.path.join(b_dir, name)
        if not os.path.exists(pb):
            problems.append(f"{name}: only in {a_dir}")
            continue
        with open(pa, "rb") as f:
            da = f.read()
        with open(pb, "rb") as f:
            db = f.read()
        kind = name.rsplit(".", 1)[1]
        counts[kind] += 1
        if kind == "json":
            if da == db:
                counts["json bytes same"] += 1
                continue
            found = []
            same(json.loads(da), json.loads(db), name, found)
            problems += found
        elif da != db:
            problems.append(f"{name}: bytes differ")
    for p in problems[:50]:
        print(p)
    print(f"compared {counts}; {len(problems)} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
