#!/usr/bin/env python3
"""The Spiral extension in Inkscape itself: installs it into a temporary
HOME, runs Inkscape headless (xvfb-run) on documents in points, millimetres
(A4) and pixels, and checks that the spirals Inkscape saved are those
`spiral-host draw --no-dialog` draws for the same record, seed and page.

usage: inkscape_e2e.py SPIRAL_HOST PLUGIN
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
INK = "{http://www.inkscape.org/namespaces/inkscape}"
EXTENSION = "org.spiral-host.spiral"

DOCUMENTS = {
    "pt": '<svg xmlns="http://www.w3.org/2000/svg" width="612pt" height="792pt" viewBox="0 0 612 792" id="root">\n'
          '  <rect id="mark" x="300" y="380" width="20" height="30" fill="#00f"/>\n</svg>\n',
    "a4": '<?xml version="1.0" encoding="UTF-8"?>\n<svg xmlns="http://www.w3.org/2000/svg" width="210mm" height="297mm"'
          ' viewBox="0 0 210 297" id="root">\n  <g id="old"><circle id="c1" cx="30" cy="40" r="9" fill="#0a0"/>'
          '<path id="p1" d="M 10 10 L 50 60" stroke="#000"/></g>\n</svg>\n',
    "px": '<svg xmlns="http://www.w3.org/2000/svg" width="800" height="600" id="root">\n'
          '  <text id="t1" x="20" y="30">kept</text>\n</svg>\n',
}
PAGES = {"pt": "612,792", "a4": "595.275574,841.889771", "px": "600,450"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, **kw)


def inkscape(env, source, out):
    actions = f"{EXTENSION}.noprefs;export-filename:{out};export-do"
    result = run(["xvfb-run", "-a", "inkscape", "--with-gui", "--batch-process", f"--actions={actions}", source],
                 env=env, timeout=120)
    return result


def preferences(env, values):
    folder = os.path.join(env["XDG_CONFIG_HOME"], "inkscape")
    os.makedirs(folder, exist_ok=True)
    attributes = " ".join(f'{EXTENSION}.{k}="{v}"' for k, v in values.items())
    with open(os.path.join(folder, "preferences.xml"), "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8" standalone="no"?>\n'
                '<inkscape xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" version="1">\n'
                f'  <group id="extensions" {attributes} />\n</inkscape>\n')


def spiral_group(root):
    """The element the effect added (a layer or group holding the metadata)."""
    for g in root.iter(SVG + "g"):
        if g.get("id", "").startswith("spiral") and g.find(SVG + "metadata") is not None:
            return g
    return None


def placed_paths(group):
    page = [g for g in group if g.tag == SVG + "g"][0]
    return page.get("transform"), [p.get("d") for p in page.iter(SVG + "path")]


def reference_paths(host, args):
    with tempfile.NamedTemporaryFile(suffix=".svg") as f:
        result = run([host, "draw", "--svg", f.name] + args)
        assert result.returncode == 0, result.stderr.decode()
        root = ET.parse(f.name).getroot()
    return [p.get("d") for p in root.iter(SVG + "path") if p.get("id", "").startswith("art-")]


def expected_transform(document):
    root = ET.fromstring(DOCUMENTS[document])
    w, h = (float(v) for v in PAGES[document].split(","))
    box = root.get("viewBox")
    vx, vy, vw, vh = (float(v) for v in box.split()) if box else (0, 0, w / 0.75, h / 0.75)
    return (vw / w, vh / h, vx, vy)


def same_transform(text, expected):
    numbers = [float(v) for v in re.findall(r"[-0-9.eE+]+", text or "")]
    return len(numbers) == 6 and all(abs(a - b) < 1e-6 for a, b in
                                     zip([numbers[0], numbers[3], numbers[4], numbers[5]], expected))


def kept_content(before, after):
    """Every element of the document before is in the one after, with its
    attributes (Inkscape re-serialises: compare elements, not bytes)."""
    a = {e.get("id"): e for e in ET.fromstring(before).iter() if e.get("id")}
    b = {e.get("id"): e for e in after.iter() if e.get("id")}
    for key, element in a.items():
        other = b.get(key)
        if other is None or other.tag != element.tag or (element.text or "").strip() != (other.text or "").strip():
            return False
        if any(other.get(k) != v for k, v in element.attrib.items()):
            return False
    return True


def main():
    host, plugin = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp(prefix="spiral-inkscape-")
    env = dict(os.environ, HOME=os.path.join(work, "home"), XDG_CONFIG_HOME=os.path.join(work, "home", "config"))
    env.pop("DISPLAY", None)
    result = run([host, "install-inkscape", "--plugin", plugin], env=env)
    check(result.returncode == 0, "install-inkscape: " + result.stderr.decode())
    folder = os.path.join(env["XDG_CONFIG_HOME"], "inkscape", "extensions")
    launcher = os.path.join(folder, "spiral-inkscape")
    check(os.path.exists(os.path.join(folder, "spiral.inx")) and os.access(launcher, os.X_OK), "installed files")

    sources = {}
    for name, text in DOCUMENTS.items():
        sources[name] = os.path.join(work, name + ".svg")
        with open(sources[name], "w") as f:
            f.write(text)

    # Our program's own output: the document byte for byte around the layer.
    result = run([launcher, sources["a4"]])
    out = result.stdout.decode()
    head, tail = DOCUMENTS["a4"].rsplit("</svg>", 1)
    check(result.returncode == 0 and out.startswith(head) and out.endswith("</svg>" + tail),
          "the effect's stdout keeps the document byte for byte")
    times = []
    for _ in range(5):
        start = time.perf_counter()
        run([launcher, "--seed=1", sources["a4"]])
        times.append(time.perf_counter() - start)
    print(f"effect wall time, defaults on A4: best {min(times) * 1000:.1f} ms of 5")
    # A refused record: nothing on stdout, so Inkscape keeps the document
    # (Inkscape itself then shows the message in a modal box, which would
    # wait forever here, so the launcher is run directly).
    for bad in (["--armCount=1000"], ["--preset=9999"]):
        result = run([launcher] + bad + [sources["a4"]])
        check(result.returncode != 0 and not result.stdout and result.stderr, f"{bad}: no output, a message")

    cases = [
        ("defaults", {}, []),
        ("preference", {"armCount": "5", "decay": "90.5", "closeSpiral": "true", "seed": "9"},
         ["--set", "armCount=5", "--set", "decay=90.5", "--set", "closeSpiral=1"]),
        ("preset", {"preset": "5"}, None),
    ]
    for document in DOCUMENTS:
        for case, values, sets in cases:
            if document != "a4" and case != "defaults":
                continue
            preferences(env, values)
            out = os.path.join(work, f"{document}-{case}.svg")
            result = inkscape(env, sources[document], out)
            if not os.path.exists(out):
                check(False, f"{document}/{case}: Inkscape wrote nothing: {result.stderr.decode()[-400:]}")
                continue
            root = ET.parse(out).getroot()
            group = spiral_group(root)
            check(group is not None, f"{document}/{case}: the spirals' group is there")
            if group is None:
                continue
            transform, paths = placed_paths(group)
            seed = values.get("seed", "1")
            args = ["--seed", seed, "--page", PAGES[document]]
            if sets is None:
                args += ["--preset", str(int(values["preset"]))]
            else:
                args += ["--no-dialog"] + sets
            expected = reference_paths(host, args)
            check(paths == expected and paths, f"{document}/{case}: {len(paths)} paths equal draw's {len(expected)}")
            check(same_transform(transform, expected_transform(document)), f"{document}/{case}: transform {transform}")
            check(kept_content(DOCUMENTS[document], root), f"{document}/{case}: the old content is kept")
            # The saved file re-makes the drawing.
            remade = os.path.join(work, f"{document}-{case}-remade.svg")
            result = run([host, "draw", "--no-dialog", "--params", out, "--svg", remade])
            check(result.returncode == 0, f"{document}/{case}: draw --params the saved file: {result.stderr.decode()}")
            if result.returncode == 0:
                again = [p.get("d") for p in ET.parse(remade).getroot().iter(SVG + "path") if p.get("id")]
                check(again == paths, f"{document}/{case}: re-made from the saved file")
            if case == "defaults":
                check(group.get(INK + "label") == "Spiral", f"{document}: labelled Spiral")

    result = run([host, "install-inkscape", "--uninstall"], env=env)
    check(result.returncode == 0 and not os.path.exists(launcher), "uninstall removes the files")
    print("inkscape end-to-end:", "FAILED" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
