#!/usr/bin/env python3
"""Draws N random records with a spiral-host and prints a digest of every output.

Usage: output_digest.py HOST [N] [--keep DIR] [--wine] [--no-svg-metadata]

The records, seeds, colour models and ways of running (dialog accepted, or a
bare repeat) are drawn from a fixed seed, so two builds run the same cases:
compare their digests to show that a change kept every output byte for byte.
With --keep, the outputs stay in DIR (one .svg, .json and .rec per case).
With --no-svg-metadata, the SVG's <metadata> line is left out of the digest,
to compare with a build whose SVG had none.
"""
import hashlib
import json
import os
import random
import re
import subprocess
import sys
import tempfile

LISTS = {"sketchColorMode": 12, "offsetMode": 20, "spiralStructure": 29,
         "interpolationMode": 6, "placementMode": 8, "pointShiftMode": 3}
BOOLS = ["randomCreateArms", "randomWarp", "randomCurve", "threePoints", "randomFillSwatch",
         "randomArms", "jitterCenter", "jitterScaling", "newLayer", "randomScaling",
         "randomFill", "randomAngle", "randomOpacity", "preview", "randomStroke", "randomWidth",
         "randomStyle", "symbolize", "randomAbstract", "jitterFill", "jitterStroke",
         "jitterWidth", "basicPattern", "closeSpiral", "randomStrokeSwatch",
         "randomInterpolate", "dropShadow", "halfShadow", "randomShadowAngle",
         "randomShadowOpacity", "randomShadowScale", "randomSketchShift", "randomSketchWidth"]
FLOATS = {"pointShiftX": (-50, 50), "pointShiftY": (-50, 50), "decayAccumulate": (90, 110),
          "armCurveFactor1": (50, 150), "armCurveFactor2": (50, 150), "curvature1": (0, 60),
          "curvature2": (0, 60), "decay": (80, 105), "spiralAngle": (-180, 180),
          "armGap": (20, 400), "centerX": (0, 612), "centerY": (0, 792), "scaleH": (20, 200),
          "scaleV": (20, 200), "pointSideShift": (-30, 30), "starAdditionX": (-20, 20),
          "starAdditionY": (-20, 20), "pointFactor": (100, 2000), "sketchShift": (0, 20),
          "sketchWeight": (0, 5), "interpolationAmount": (0, 100), "spiralOffsetX": (-20, 20),
          "spiralOffsetY": (-20, 20), "viewZoom": (50, 200)}


def random_record(rng):
    record = {name: int(rng.random() < 0.3) for name in BOOLS}
    record["preview"] = int(rng.random() < 0.7)
    for name, count in LISTS.items():
        record[name] = rng.randrange(count)
    for name, (low, high) in FLOATS.items():
        value = rng.uniform(low, high)
        record[name] = 0.0 if rng.random() < 0.3 else round(value, 2)
    record["spiralCount"] = rng.randint(1, 4)
    record["armCount"] = rng.randint(1, 25)
    record["maxPoints"] = rng.choice([9999, rng.randint(4, 400)])
    record["offsetCount"] = rng.randint(0, 3)
    record["sketchRepeats"] = rng.choice([0, 0, rng.randint(1, 3)])
    return record


def main():
    args = sys.argv[1:]
    wine = "--wine" in args
    if wine:
        args.remove("--wine")
    no_metadata = "--no-svg-metadata" in args
    if no_metadata:
        args.remove("--no-svg-metadata")
    keep = None
    if "--keep" in args:
        i = args.index("--keep")
        keep = args[i + 1]
        del args[i:i + 2]
        os.makedirs(keep, exist_ok=True)
    host = args[0]
    count = int(args[1]) if len(args) > 1 else 300
    rng = random.Random(20261208)
    work = keep or tempfile.mkdtemp(prefix="spiral-digest-")
    for case in range(count):
        record = random_record(rng)
        seed = rng.randrange(2**32)
        model = rng.choice(["gray", "rgb", "cmyk"])
        repeat = rng.random() < 0.3
        params = os.path.join(work, f"case{case:03}.params.json")
        with open(params, "w") as f:
            json.dump(record, f)
        outputs = [os.path.join(work, f"case{case:03}.{ext}") for ext in ("svg", "json", "rec")]
        command = ([] if not wine else ["wine"]) + [
            host, "draw", "--params", params, "--seed", str(seed), "--color-model", model,
            "--svg", outputs[0], "--json", outputs[1], "--save-params", outputs[2]]
        if repeat:
            command.append("--no-dialog")
        result = subprocess.run(command, capture_output=True)
        digest = hashlib.sha256()
        digest.update(str(result.returncode).encode())
        for path in outputs:
            if os.path.exists(path):
                with open(path, "rb") as f:
                    data = f.read()
                if no_metadata and path.endswith(".svg"):
                    data = re.sub(rb"  <metadata id=\"spiral-drawing\">[^\n]*</metadata>\n", b"", data)
                digest.update(data)
        print(f"case {case:03} status {result.returncode} {digest.hexdigest()[:16]}")


if __name__ == "__main__":
    main()
