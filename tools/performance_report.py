#!/usr/bin/env python3
"""Turns the benchmark's results into docs/performance.md and a plot.

Usage: performance_report.py BUILD_DIR BENCH_DIR DOCS_DIR

BUILD_DIR holds bench-win32.txt and bench-win64.txt (the figures of one run
each) and bench-win32.trace and bench-win64.trace (Wine's trace of single
operations, for their calls and server round trips). BENCH_DIR holds
before-win32.txt and before-win64.txt: the figures measured before the
current round of work, shown beside the new ones.
"""
import collections
import os
import re
import subprocess
import sys

BITS = [("win32", "32-bit"), ("win64", "64-bit")]

# What remains where an aim is not met, by figure (the start of its name).
WHY = {
    "GM_SETCELLTEXT, per message":
        "the message goes through the window procedure's lookup and resizes the cell's own block "
        "with GlobalReAlloc (moveable, zero-filling, as the control's memory rules ask), which costs "
        "more under Wine than the floor's fresh GlobalAlloc and GlobalFree of the same size.",
    "Scroll a line": "SCROLL",
    "Scroll a column": "SCROLL",
    "GM_SETFIRSTROW by one": "SCROLL",
    "Wheel notch": "SCROLL",
    "Full paint of a maximised grid":
        "a paint at its floor, measured while other work shares the machine's two cores: the same "
        "paint measured a second time in the same run (beside the ListView, below) differs by as much, "
        "see the note on noise above.",
    "Full paint per cell on screen":
        "the paint is at its floor (the row above), and the floor is one DrawTextW per cell: the frames "
        "cost one FillRect and two PolyPolyline calls for the whole screen, fonts and colours are set "
        "once. The ListView also draws each cell with one DrawTextW (plus an ExtTextOutW that fills it), "
        "so under Wine's 32-bit GDI, where DrawTextW dominates, a cell cannot cost less than about half a "
        "ListView cell without a cheaper text call, and a cheaper call (ExtTextOutW) would change the "
        "pixels of wrapped, aligned and shortened texts.",
    "Paint, 254 x 16382 grid":
        "the small grid's paint became cheaper with the batched drawing while the large grid's stayed "
        "about where it was (compare the figures in bench/before-*.txt), so the ratio rose. Both paints "
        "visit only the 4 x 3 cells that show; what the large grid's paint spends beyond the small "
        "one's, about 0.2 ms or four to five server round trips' worth, is not found yet.",
    "GM_COPYSEL":
        "measured while other work shares the machine: the copy's time per byte is flat from 10,000 cells "
        "on (the curve below), and the ratio moves from run to run around 1.",
    "Copy time per byte":
        "the figure is the largest time per byte over the smallest, and the largest is the smallest copy "
        "(1,012 cells, a few microseconds), which carries the message's fixed cost: the time per byte "
        "falls as the copy grows and never rises with size (the notes below the plot).",
}
SCROLL_WHY = (
    "a step is its floor plus what it owes beyond it. The floor (the bar's position set once with a "
    "redraw, which Wine's themed scroll bar makes cost about sixty server round trips; ScrollWindowEx "
    "without invalidating; the uncovered line drawn through GetDC) is itself about as costly as the "
    "ListView's step on 32-bit (the row \"Floor of a line scroll\"). Beyond it the step makes 13 "
    "round trips of its own, counted in the trace of one line step: ScrollWindowEx with SW_INVALIDATE "
    "and SW_SCROLLCHILDREN 5 (thread input, visible region, update region, child windows, the "
    "invalidation of the uncovered strip alone), UpdateWindow 1, BeginPaint 3, EndPaint 2, and the "
    "wait for the next message 2; about 0.6 ms. In all, a line step makes about as many round trips as "
    "the ListView's (the table of calls below). The bar is set once, nothing that ScrollWindowEx moved "
    "is invalidated again, and the paint draws only the strip's cells and titles (one FillRect, one "
    "PolyPolyline, a DrawTextW per cell). The rest is the paint through WM_PAINT, which the parent's "
    "GN_PAINT turn needs (it draws into the paint's device context), and the step's wait for the next "
    "message, which auto-scrolling relies on.")


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


def why(what):
    for start, text in WHY.items():
        if what.startswith(start):
            return SCROLL_WHY if text == "SCROLL" else text
    return "see the figures and the calls counted below."


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
           "process and run, and each aim is judged for each bitness. In brackets, the ratio measured "
           "before the latest round of work (`bench/before-*.txt`: this benchmark program, run in the same way "
           "against the DLL built from the sources before that round). "
           "Timings never fail the tests.", ""]
    notes = runs["win32"][1] or runs["win64"][1]
    out += [f"- {n}" for n in notes if not n.startswith("copy of")]
    # The same full paint is measured twice in a run: how far apart the two
    # are shows the noise of the moment.
    twice = []
    for tree, label in BITS:
        paints = [v[1] for k, v in runs[tree][0].items() if k.strip() == "Full paint of a maximised grid"]
        if len(paints) == 2:
            twice.append(f"{label} {paints[0]:.2f} and {paints[1]:.2f} ms")
    if twice:
        out.append("- Noise: the machine's two cores are shared with other work, and a figure measured at "
                   "another moment of the same run can differ by tens of percent. The same full paint, "
                   "measured twice in one run: " + "; ".join(twice) + ".")
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
                misses.append((what, label, ratio))
            cells += [f"{ours:.3f} / {against:.3f} {u}", f"{ratio:.2f}{was}", verdict]
        what, baseline, aim = row
        out.append(f"| {what} | {baseline} | {aim} | " + " | ".join(cells) + " |")

    if misses:
        out += ["", "## Where an aim is not met", ""]
        seen = collections.OrderedDict()
        for what, label, ratio in misses:
            seen.setdefault(what, []).append(f"{label} {ratio:.2f}x")
        # Figures that miss for the same reason share one explanation.
        reasons = collections.OrderedDict()
        for what, ratios in seen.items():
            reasons.setdefault(why(what), []).append(f"**{what}** ({', '.join(ratios)})")
        for reason, figures in reasons.items():
            out.append(f"- {'; '.join(figures)}: {reason}")

    if any(traces.values()):
        out += ["", "## Calls per operation", "",
                "One operation each, counted in Wine's trace of a run (`latticor_bench --trace`): the round "
                "trips to the wineserver (each about 40 to 50 microseconds here) and the calls into USER "
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

    out += ["", "## Cost against grid size", "",
            "Full paint of a maximised grid, and copying and pasting the whole grid, for 254 columns and "
            "4 to 16,382 rows, for each bitness. The paint rises until the screen is full (a grid of 4 rows "
            "shows 3) and stays flat from there: only the cells that show are visited. Copy grows linearly "
            "with the cells; paste too, above the cost of repainting the pasted cells that show, which "
            "dominates small pastes under Wine.", "", "![Cost against grid size](images/performance.png)", ""]
    for tree, label in BITS:
        out += [f"- {label}: {n}" for n in runs[tree][1] if n.startswith("copy of")]
    with open(os.path.join(docs, "performance.md"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
