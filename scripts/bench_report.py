#!/usr/bin/env python3
"""Runs Orvell's benchmarks and measures the programs, then prints each result beside its goal.

Used by scripts/bench, which builds what this needs first. Ratios (GRA against libjpeg-turbo,
blends and transition frames against a plain copy) are measured in the same run, so that a
busy or slow machine shifts both sides alike; absolute times are printed for the README table.
Each benchmark runs several times, interleaved with the others, and its fastest run counts: a
busy machine only ever slows a run down, so the fastest is the one least disturbed.
"""

import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
BENCH = os.path.join(BUILD, "bench", "orvell_bench")
ORVELL = os.path.join(BUILD, "src", "orvell")
DEMO = os.path.join(BUILD, "demo")

# Whole-screen blends, each against the plain copy of the same bytes.
BLENDS = [
    "BM_CrossFadeFull",
    "BM_BlendTileWholeScreen",
    "BM_MaskBlendFull",
    "BM_ConstBlendRowWholeScreen",
    "BM_ScaleBrightness",
    "BM_AddConstSaturate",
    "BM_SubConstSaturate",
    "BM_DrawMaskedPicture",
]
REPETITIONS = 5
STAGES = {0: "LZ alone", 1: "LZ + run length", 2: "LZ + delta", 3: "LZ + run length + delta"}
PICTURES = {0: "photo", 1: "drawn background"}


def run_benchmarks():
    wanted = "|".join(
        ["BM_DemoPlayThrough", "BM_GraDecode/.*/fast:0", "BM_JpegDecode", "BM_CopyScreen",
         "BM_TransitionFrame", "BM_ReadArchiveIndex100000Entries",
         "BM_JumpToLabelAtTheEndOf256KScript"] + BLENDS)
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    try:
        print("== benchmarks (a few minutes)", file=sys.stderr, flush=True)
        subprocess.run([BENCH, f"--benchmark_filter=^({wanted})", "--benchmark_min_time=0.1",
                        f"--benchmark_repetitions={REPETITIONS}",
                        "--benchmark_enable_random_interleaving=true",
                        f"--benchmark_out={path}", "--benchmark_out_format=json"],
                       check=True, stdout=sys.stderr)
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
    finally:
        os.unlink(path)
    return fastest_runs(b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration")


def fastest_runs(runs):
    """The fastest repetition of each benchmark, by name."""
    fastest = {}
    for run in runs:
        name = run.get("run_name", run["name"])
        if name not in fastest or run["cpu_time"] < fastest[name]["cpu_time"]:
            fastest[name] = run
    return fastest


def seconds(bench):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[bench["time_unit"]]
    return bench["cpu_time"] * scale


def child_env(scratch, **extra):
    env = dict(os.environ)
    env["XDG_CONFIG_HOME"] = os.path.join(scratch, "config")
    env["XDG_DATA_HOME"] = os.path.join(scratch, "data")
    env.update(extra)
    return env


def first_frame_ms(command, env, runs=9):
    """Median wall time from starting the process to its first frame."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000.0)
    return statistics.median(times)


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat", encoding="ascii") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime and stime


def desktop_idle(command, env):
    """Peak RSS in MB and the share of one core used between 3 s and 13 s at the title."""
    # Ended by ORVELL_QUIT_AFTER_MS rather than a screenshot: grabbing the window would add
    # its own 2.5 MB to the peak.
    env = dict(env, ORVELL_QUIT_AFTER_MS="14000")
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    time.sleep(3)
    before = cpu_ticks(process.pid)
    time.sleep(10)
    after = cpu_ticks(process.pid)
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        raise RuntimeError(f"the desktop program ended with status {status}")
    percent = (after - before) / os.sysconf("SC_CLK_TCK") / 10.0 * 100.0
    return usage.ru_maxrss / 1024.0, percent


def start_display():
    """A display for the desktop program: the session's, or an Xvfb of our own."""
    if os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY"):
        return None, os.environ.get("DISPLAY", "")
    if not shutil.which("Xvfb"):
        return None, None
    display = f":{90 + os.getpid() % 100}"
    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    return server, display


def measure_programs():
    results = {}
    scratch = tempfile.mkdtemp(prefix="orvell-bench-")
    try:
        print("== start-up, memory and idle use of the programs", file=sys.stderr, flush=True)
        env = child_env(scratch, ORVELL_EXIT_AT_FIRST_FRAME="1")
        results["startup_headless"] = first_frame_ms(
            [ORVELL, "--headless", "--data-dir", os.path.join(scratch, "h"), DEMO], env)
        server, display = start_display()
        if display is None:
            print("   no display and no Xvfb: the desktop program is not measured", file=sys.stderr)
            return results
        try:
            desktop = [ORVELL, "--data-dir", os.path.join(scratch, "d"), DEMO]
            env = child_env(scratch, DISPLAY=display, ORVELL_EXIT_AT_FIRST_FRAME="1")
            results["startup_desktop"] = first_frame_ms(desktop, env)
            env = child_env(scratch, DISPLAY=display)
            results["desktop_rss"], results["desktop_idle"] = desktop_idle(desktop, env)
        finally:
            if server is not None:
                server.send_signal(signal.SIGTERM)
                server.wait()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    return results


class Table:
    def __init__(self):
        self.rows = []
        self.missed = 0

    def add(self, name, shown, goal_text, met):
        self.rows.append((name, shown, goal_text, "met" if met else "MISSED"))
        self.missed += 0 if met else 1

    def print(self):
        widths = [max(len(r[i]) for r in self.rows) for i in range(4)]
        for row in self.rows:
            print("  ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)).rstrip())


def report(benches, programs):
    table = Table()
    table.rows.append(("measure", "result", "goal", ""))
    play = benches.get("BM_DemoPlayThrough")
    if play:
        speed = play["game_seconds"]
        table.add("headless play-through of the demo", f"{speed:.0f} x real time", ">= 5000 x",
                  speed >= 5000)
    for picture, picture_name in PICTURES.items():
        jpeg = benches.get(f"BM_JpegDecode/picture:{picture}")
        for stage, stage_name in STAGES.items():
            gra = benches.get(f"BM_GraDecode/picture:{picture}/stages:{stage}/fast:0")
            if not gra or not jpeg:
                continue
            ratio = seconds(jpeg) / seconds(gra)
            rate = gra["bytes_per_second"] / 1e9
            table.add(f"GRA {stage_name}, {picture_name}, vs libjpeg-turbo",
                      f"{ratio:.2f} x faster, {rate:.2f} GB/s", ">= 3 x, > 2 GB/s",
                      ratio >= 3 and rate > 2)
    copy = benches.get("BM_CopyScreen")
    for name in BLENDS:
        blend = benches.get(name)
        if blend and copy:
            ratio = seconds(blend) / seconds(copy)
            table.add(f"{name[3:]} vs a plain copy", f"{ratio:.2f} x the copy's time", "<= 1.5 x",
                      ratio <= 1.5)
    def pattern(item):
        return int(item[0].rsplit("/", 1)[1]) if item[0].startswith("BM_TransitionFrame/") else 0

    for name, bench in sorted(benches.items(), key=pattern):
        if name.startswith("BM_TransitionFrame/"):
            ratio = bench["vs_copy"]
            table.add(f"transition {bench.get('label', name)} frame vs a plain copy",
                      f"{ratio:.2f} x the copy's time", "<= 1.5 x", ratio <= 1.5)
    index = benches.get("BM_ReadArchiveIndex100000Entries")
    if index:
        ms = seconds(index) * 1000
        table.add("archive index of 100000 entries", f"{ms:.1f} ms", "< 50 ms", ms < 50)
    label = benches.get("BM_JumpToLabelAtTheEndOf256KScript")
    if label:
        ms = seconds(label) * 1000
        table.add("jump to a label at the end of 256 KB", f"{ms:.3f} ms", "< 1 ms", ms < 1)
    for key, name in (("startup_headless", "start-up to the first frame, headless"),
                      ("startup_desktop", "start-up to the first frame, desktop")):
        if key in programs:
            table.add(name, f"{programs[key]:.0f} ms", "< 150 ms", programs[key] < 150)
    if "desktop_rss" in programs:
        table.add("peak memory of the desktop program", f"{programs['desktop_rss']:.1f} MB",
                  "< 64 MB", programs["desktop_rss"] < 64)
        table.add("desktop program waiting for a click", f"{programs['desktop_idle']:.2f} % of a core",
                  "< 1 %", programs["desktop_idle"] < 1)
    table.print()
    print(f"\n{len(table.rows) - 1 - table.missed} goals met, {table.missed} missed")
    return table.missed


def main():
    for needed in (BENCH, ORVELL, os.path.join(DEMO, "ov_data.orv")):
        if not os.path.exists(needed):
            print(f"bench: {needed} is missing; build the benchmarks, orvell and the demo first",
                  file=sys.stderr)
            return 2
    benches = run_benchmarks()
    programs = measure_programs()
    report(benches, programs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
