#!/usr/bin/env python3
"""Prints the summary table of `make bench`: the ratios and times the speed
targets name, from the JSON files the benchmark programs wrote into one folder."""
import glob
import json
import os
import re
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}

# (figure, numerator, denominator or None for a time in ms, target it must not exceed)
ROWS = [
    ("runtime / hand C, arithmetic chains", "runtime/arith", "hand_c/arith", 2.0),
    ("runtime / hand C, compare-counter-multiply", "runtime/cells", "hand_c/cells", 2.0),
    ("runtime / hand C, timer-delay-feedback", "runtime/timing", "hand_c/timing", 2.0),
    ("runtime / hand C, generator-window-FFT-stats", "runtime/signal", "hand_c/signal", 2.0),
    ("runtime / hand C, mixed modules", "BM_RuntimeExecute", "BM_HandWritten", 2.0),
    ("designer / runtime, arithmetic chains", "designer/arith", "runtime/arith", 3.0),
    ("designer / runtime, compare-counter-multiply", "designer/cells", "runtime/cells", 3.0),
    ("designer / runtime, timer-delay-feedback", "designer/timing", "runtime/timing", 3.0),
    ("designer / runtime, generator-window-FFT-stats", "designer/signal", "runtime/signal", 3.0),
    ("zor21-cli run / zor2run, 2,200 cycles of 1,000", "BM_CliRun1k", "BM_Zor2Run1k", 3.0),
    ("cycle + paint ms, 1,000 components on screen", "BM_CycleAndPaintAll1k", None, 10.0),
    ("cycle + paint ms, 1,000 components at 100%", "BM_CycleAndPaintZoomed1k", None, 10.0),
    ("zor21-cli resave ms, 10,000 components", "BM_CliResave10k", None, 50.0),
    ("runtime load ms, export of the resaved 10,000", "BM_RuntimeLoadExport10k", None, 10.0),
]


def load(folder):
    """Time per iteration in ns by benchmark base name, the fastest of its
    repetitions: the time a benchmark set itself (the processor time of a whole
    process), else processor time."""
    times = {}
    for path in sorted(glob.glob(os.path.join(folder, "*.json"))):
        with open(path, encoding="utf-8") as f:
            report = json.load(f)
        for b in report.get("benchmarks", []):
            if b.get("error_occurred") or b.get("run_type", "iteration") != "iteration":
                continue
            name = b["name"]
            base = re.sub(r"/(iterations:\d+|repeats:\d+|manual_time)", "", name)
            key = "real_time" if "/manual_time" in name else "cpu_time"
            t = b[key] * UNIT_NS.get(b.get("time_unit", "ns"), 1.0)
            # Of repeated runs the fastest: other work on the machine only slows one down.
            times[base] = min(t, times.get(base, t))
    return times


def main():
    if len(sys.argv) != 2:
        print("usage: summary.py FOLDER", file=sys.stderr)
        return 2
    times = load(sys.argv[1])
    print()
    print("Summary of the speed targets")
    print(f"{'figure':<50} {'measured':>10} {'target':>8}  met")
    missed = 0
    for figure, num, den, target in ROWS:
        if num not in times or (den is not None and den not in times):
            print(f"{figure:<50} {'n/a':>10} {target:>8g}  -")
            continue
        value = times[num] / times[den] if den else times[num] / 1e6
        met = value <= target
        missed += 0 if met else 1
        shown = f"{value:.2f}x" if den else f"{value:.2f}"
        print(f"{figure:<50} {shown:>10} {target:>8g}  {'yes' if met else 'NO'}")
    print(f"{missed} target(s) missed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
