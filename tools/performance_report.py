#!/usr/bin/env python3
"""Turns the benchmark's results into docs/performance.md and a plot.

Usage: performance_report.py BUILD_DIR BENCH_DIR DOCS_DIR

BUILD_DIR holds bench-win32.txt and bench-win64.txt (the figures of one run
each) and bench-win32.trace and bench-win64.trace (Wine's trace of single
operations, for their calls and server round trips). BENCH_DIR holds
before-win32.txt and before-win64.txt: figures of an earlier build, kept to
be shown beside the new ones. DOCS_DIR's performance.md keeps its
hand-written part, from the HAND_WRITTEN line on.
"""
import collections
import os
import re
import subprocess
import sys

BITS = [("win32", "32-bit"), ("win64", "64-bit")]

# Where docs/performance.md's own words begin: the analysis of the figures,
# written by hand. Everything from this line on is kept as it is; all above
# it is made from the measurements.
HAND_WRITTEN = "<!-- Written by hand from here on: tools/performance_report.py keeps it as it is. -->"


def met(ratio, aim):
    m = re.match(r"\s*(<=|<)\s*([0-9.]+)", aim)
    if not m:
        return "reported"
    bound = float(m.group(2))
    ok = ratio <= bound if m.group(1) == "<=" else ratio < bound
    return "met" if ok else "not met"


def read_results(path):
    ratios, notes, points = collections.OrderedDict(), [], {}
    if not os.path.exists(path):
        return ratios, notes, points
    with open(path) as f:
        for line in f:
            parts = line.rstrip("\n").split("|")
            if parts[0] == "ratio":
                key = parts[1].strip()
                # A figure named twice (the same measure beside two baselines)
                # keeps each line.
                while key in ratios:
                    key += " "
                ratios[key] = (parts[1].strip(), float(parts[2]), parts[3], float(parts[4]), parts[5])
            elif parts[0] == "note":
                notes.append(parts[1])
            elif parts[0] == "point":
                points.setdefault(parts[1], []).append((float(parts[2]), float(parts[3])))
    return ratios, notes, points


REQUEST = re.compile(r"^([0-9a-f]{4}): (\w+)\( ")
CALL = re.compile(r"^([0-9a-f]{4}):Call (\w+)\.(\w+)\(")
MARK = re.compile(r'^([0-9a-f]{4}):warn:debugstr:OutputDebugStringA "latticor-bench: (.*)"')


def read_trace(path):
    """Per operation: server round trips, and calls into user32 and gdi32."""
    counts = collections.OrderedDict()
    if not os.path.exists(path):
        return counts
    current, thread = None, None
    with open(path, errors="replace") as f:
        for line in f:
            m = MARK.match(line)
            if m:
                name = m.group(2)
                if name.endswith(" {"):
                    current, thread = name[:-2], m.group(1)
                    counts[current] = collections.Counter()
                elif name == "}":
                    current = None
                continue
            if current is None or not line.startswith(thread):
                continue
            m = REQUEST.match(line)
            if m and "DBWIN_BUFFER" not in line:  # the marker's own
                counts[current]["server"] += 1
                continue
            m = CALL.match(line)
            if m and m.group(2) in ("user32", "gdi32"):
                counts[current][m.group(2)] += 1
    return counts


def plot(points, docs):
    images = os.path.join(docs, "images")
    os.makedirs(images, exist_ok=True)
    data = os.path.join(images, "performance.dat")
    with open(data, "w") as f:
        for name, pts in points.items():
            f.write(f'"{name}"\n')
            for x, y in pts:
                f.write(f"{x} {y}\n")
            f.write("\n\n")
    script = "\n".join([
        "set terminal png size 800,480",
        f"set output '{os.path.join(images, 'performance.png')}'",
        "set logscale xy",
        "set xlabel 'cells in the grid'",
        "set ylabel 'milliseconds'",
        "set key top left",
        "set grid",
        f"plot for [i=0:{len(points) - 1}] '{data}' index i using 1:2 with linespoints title columnheader(1)",
    ])
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    os.remove(data)


def unit(what):
    return "B" if "bytes" in what else "ns/B" if "per byte" in what else "us" if "(us)" in what else "ms"


def hand_written(path):
    """The part of an existing report that people wrote, from its marker on."""
    if os.path.exists(path):
        with open(path) as f:
            text = f.read()
        if HAND_WRITTEN in text:
            return text[text.index(HAND_WRITTEN):]
    return HAND_WRITTEN + "\n"


def apart(a, b):
    """How far apart two figures are, as a percentage of the smaller."""
    low = min(a, b)
    return abs(a - b) / low * 100 if low else float("inf")


def main():
    build, bench, docs = sys.argv[1:4]
    runs = {tree: read_results(os.path.join(build, f"bench-{tree}.txt")) for tree, _ in BITS}
    before = {tree: read_results(os.path.join(bench, f"before-{tree}.txt"))[0] for tree, _ in BITS}
    traces = {tree: read_trace(os.path.join(build, f"bench-{tree}.trace")) for tree, _ in BITS}

    points = {}
    for tree, label in BITS:
        for name, pts in runs[tree][2].items():
            points[f"{name}, {label}"] = pts
    if points:
        plot(points, docs)

    out = ["# Performance", "",
           "Measured by `./scripts/bench`: `bench/bench_main.cpp`, built for 32-bit and for 64-bit Windows "
           "and run under Wine, each in its own run, on a virtual 1920x1080 display. Every figure is the "
           "median of several runs; every ratio compares two figures measured side by side in the same "
           "process and run, and each aim is judged for each bitness. In brackets, the ratio from the "
           "figures in `bench/before-*.txt` (this benchmark program, run in the same way against an earlier "
           "build of the DLL). Timings never fail the tests. What the figures mean, and why some aims are "
           "missed, is in the notes at the end.", ""]
    notes = runs["win32"][1] or runs["win64"][1]
    out += [f"- {n}" for n in notes if not n.startswith("copy of")]
    # The same full paint is measured twice in a run: how far apart the two
    # are shows the noise of the moment.
    twice = []
    for tree, label in BITS:
        paints = [v[1] for k, v in runs[tree][0].items() if k.strip() == "Full paint of a maximised grid"]
        if len(paints) == 2:
            twice.append(f"{label} {paints[0]:.2f} and {paints[1]:.2f} ms, "
                         f"{apart(paints[0], paints[1]):.0f}% apart")
    if twice:
        out.append("- Noise: the same full paint, measured twice in this run: " + "; ".join(twice) + ".")
    out += ["", "| Figure | Baseline | Aim | 32-bit: ours / baseline | ratio | | 64-bit: ours / baseline | ratio | |",
            "|---|---|---|---|---|---|---|---|---|"]
    keys = list(runs["win32"][0].keys()) + [k for k in runs["win64"][0] if k not in runs["win32"][0]]
    misses = []
    for key in keys:
        row = None
        cells = []
        for tree, label in BITS:
            entry = runs[tree][0].get(key)
            if not entry:
                cells += ["", "", ""]
                continue
            what, ours, baseline, against, aim = entry
            row = (what, baseline, aim)
            ratio = ours / against if against else float("inf")
            u = unit(what)
            old = before[tree].get(key)
            was = f" (before: {old[1] / old[3]:.2f})" if old and old[3] else ""
            verdict = met(ratio, aim)
            if verdict == "not met":
                misses.append((what, aim, label, ratio))
            cells += [f"{ours:.3f} / {against:.3f} {u}", f"{ratio:.2f}{was}", verdict]
        what, baseline, aim = row
        out.append(f"| {what} | {baseline} | {aim} | " + " | ".join(cells) + " |")

    if misses:
        out += ["", "## Where an aim is not met", ""]
        seen = collections.OrderedDict()
        for what, aim, label, ratio in misses:
            seen.setdefault((what, aim), []).append(f"{label} {ratio:.2f}")
        for (what, aim), ratios in seen.items():
            out.append(f"- **{what}**: {', '.join(ratios)}, against an aim of {aim}.")

    if any(traces.values()):
        out += ["", "## Calls per operation", "",
                "One operation each, counted in Wine's trace of a run (`latticor_bench --trace`): the round "
                "trips to the wineserver and the calls into USER "
                "and GDI made by the grid (by the ListView's own code for its lines). On the 40 x 60 grid "
                "filling the screen; rows inserted and deleted on the 254 x 16,382 one.", "",
                "| Operation | 32-bit: server / USER / GDI | 64-bit: server / USER / GDI |", "|---|---|---|"]
        names = list(traces["win32"].keys()) + [k for k in traces["win64"] if k not in traces["win32"]]
        for name in names:
            cells = []
            for tree, _ in BITS:
                c = traces[tree].get(name)
                cells.append(f"{c['server']} / {c['user32']} / {c['gdi32']}" if c is not None else "")
            out.append(f"| {name} | " + " | ".join(cells) + " |")

    dpi = read_results(os.path.join(build, "bench-dpi192.txt"))
    if dpi[0]:
        out += ["", "## At 192 DPI", "",
                "The full paint measured again with the prefix at 192 DPI, where the grid's cells are "
                "twice as large (" + "; ".join(dpi[1]) + "), against the same calls drawn for those cells.", "",
                "| Figure | Baseline | Aim | ours / baseline | ratio | |", "|---|---|---|---|---|---|"]
        for what, ours, baseline, against, aim in dpi[0].values():
            ratio = ours / against if against else float("inf")
            out.append(f"| {what} | {baseline} | {aim} | {ours:.3f} / {against:.3f} {unit(what)} | {ratio:.2f} | "
                       f"{met(ratio, aim)} |")

    out += ["", "## Cost against grid size", "",
            "Full paint of a maximised grid, and copying and pasting the whole grid, for 254 columns and "
            "4 to 16,382 rows, for each bitness.", "", "![Cost against grid size](images/performance.png)", ""]
    for tree, label in BITS:
        out += [f"- {label}: {n}" for n in runs[tree][1] if n.startswith("copy of")]
    report = os.path.join(docs, "performance.md")
    kept = hand_written(report)
    with open(report, "w") as f:
        f.write("\n".join(out) + "\n\n" + kept)


if __name__ == "__main__":
    main()
