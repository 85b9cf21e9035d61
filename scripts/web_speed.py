#!/usr/bin/python3
"""The page's speed beside native: the tour's timedemo in headless Chromium and in krello-tool.

Runs, round after round, the page's `?timedemo` and the native `krello-tool timedemo` on the same
demo, on one thread, on the native scalar path and then on the native default path, and prints
the fps ranges and the page's share of each native rate. Interleaved rounds share whatever load
the machine has, so the shares mean more than the rates; the load average is printed with them.
Beside the rates it prints the processor time each run took (user and system: for the page, every
process of its browser from the end of its warm-up to the timedemo's line, the paints of the
canvas included; for krello-tool, the whole process), which a busy machine disturbs far less than the
rates: the share by processor time is the one to read when the load average is high. For the page
it also prints, round by round, the time between its timed turns, when it ran no frame (the
hand-offs from one turn to the next, the paints, whatever else the browser and the machine did).
The browser is left to finish its own start-up before the first round, and the page is watched
from inside, so neither falls on the page's timed frames.

    /usr/bin/python3 scripts/web_speed.py --web build-web/web --tool build/tools/krello-tool [--rounds 3]
"""
import argparse
import os
import re
import resource
import subprocess
import sys
import tempfile
import threading
import time

from selenium.common.exceptions import TimeoutException

import web_check

FPS = re.compile(r"([0-9.]+) fps")
TIMED = re.compile(r"frames in ([0-9.]+) s")


def fps_of(line):
    found = FPS.search(line)
    if not found:
        raise web_check.CheckFailed(f"no frame rate in {line!r}")
    return float(found.group(1))


def browser_processes(driver):
    """The browser's processes: every descendant of the driver's."""
    children = {}
    for line in subprocess.run(["ps", "-e", "-o", "pid=,ppid="], capture_output=True, text=True, check=True).stdout.splitlines():
        pid, parent = map(int, line.split())
        children.setdefault(parent, []).append(pid)
    found, todo = [], [driver.service.process.pid]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo += children.get(pid, [])
    return found


def processor_seconds(pids):
    """User and system time of the processes so far (those that have ended count no more)."""
    ticks = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            ticks += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return ticks / os.sysconf("SC_CLK_TCK")


# The timedemo's line, waited for inside the page: a look every 50 ms there costs the page
# microseconds, where a look from here every 0.1 s (web_check.wait_for) is a round trip through
# the driver that runs on the page's thread, between its timed turns.
TIMEDEMO_LINE = """
const done = arguments[0];
const look = () => {
  const line = window.krelloTest && window.krelloTest.lines.find(l => l.startsWith('timedemo:'));
  if (line) done(line); else setTimeout(look, 50);
};
look();
"""


def browser_settled(driver, patience=30.0):
    """Waits until the browser has finished starting: its processes used under a tenth of a core
    over half a second. A browser just launched keeps both cores of a small machine busy for a
    second or two (its own start-up, not the page's), which would fall on the first round."""
    end = time.time() + patience
    pids = browser_processes(driver)
    last, since = processor_seconds(pids), time.time()
    while time.time() < end:
        time.sleep(0.5)
        now, at = processor_seconds(pids), time.time()
        if now - last < 0.1 * (at - since):
            return
        last, since = now, at
    print(f"web-speed: the browser was still busy {patience:.0f} s after starting; measuring anyway")


def page_fps(driver, base):
    """The page's rate and its browser's processor seconds from the timed frames' start (the
    warm-up's end) to the timedemo's end. The page's thread answers the driver only between its
    turns, so the processor time is sampled meanwhile (every 10 ms, on this machine's clock) and
    read afterwards at the two moments the page noted on the same clock."""
    driver.get("about:blank")
    driver.get(base + "/krello.html?timedemo")
    pids = browser_processes(driver)
    samples, result = [], {}

    def wait_for_line():
        try:
            result["line"] = driver.execute_async_script(TIMEDEMO_LINE)
        except Exception as e:  # handed to the caller's thread below
            result["error"] = e

    waiter = threading.Thread(target=wait_for_line)
    waiter.start()
    while waiter.is_alive():
        samples.append((time.time(), processor_seconds(pids)))
        waiter.join(0.01)
    samples.append((time.time(), processor_seconds(pids)))
    if "error" in result:
        if isinstance(result["error"], TimeoutException):
            raise web_check.CheckFailed("the timedemo's line: not within 300 s") from result["error"]
        raise result["error"]
    line = result["line"]
    # The warm-up's end and the last turn's end, in seconds since the epoch as time.time() gives them.
    began, ended = driver.execute_script(
        "const origin = performance.timeOrigin, p = window.krelloPage;"
        "return [(origin + window.krelloTest.warmedUpAt) / 1000, (origin + p.turnTimes[p.turnTimes.length - 1][1]) / 1000];")
    seconds = processor_at(samples, ended) - processor_at(samples, began)
    timed = TIMED.search(line)
    turns, gap = between_turns(driver)
    return fps_of(line), seconds, (turns, gap, float(timed.group(1)) * 1000 if timed else 0.0)


def processor_at(samples, moment):
    """The processor seconds the samples give at a moment, between the two samples around it."""
    for (t0, c0), (t1, c1) in zip(samples, samples[1:]):
        if t0 <= moment <= t1:
            return c0 + (c1 - c0) * ((moment - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return samples[0][1] if moment < samples[0][0] else samples[-1][1]


def between_turns(driver):
    """The timed turns (from the one that showed the first frame) and the milliseconds between
    them, when the page ran none: its hand-offs, paints and whatever else the browser did."""
    shown, times = driver.execute_script("const p = window.krelloPage; return [p.turns, p.turnTimes];")
    if not shown or not times:
        return 0, 0.0
    timed = [t for t in times if t[1] >= shown[0][0]]
    return len(timed), sum(later[0] - earlier[1] for earlier, later in zip(timed, timed[1:]))


def native_fps(tool, demo, path):
    """krello-tool's rate and its processor seconds."""
    env = dict(os.environ)
    if path:
        env["KRELLO_RENDER_PATH"] = path
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    out = subprocess.run([tool, "timedemo", "--demo", demo, "--threads", "1"], capture_output=True, text=True,
                         check=True, env=env).stdout
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    seconds = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
    return fps_of(out.splitlines()[0]), seconds, None


def span(values):
    return f"{min(values):,.0f} to {max(values):,.0f}"


def cpu_span(values):
    return f"{min(values):.2f} to {max(values):.2f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--web", required=True, help="the web build's folder (krello.html, .js, .wasm, tour.demo)")
    parser.add_argument("--tool", required=True, help="the Linux build's krello-tool")
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    demo = os.path.join(args.web, "tour.demo")
    print(f"load average before: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    server, base = web_check.start_server(args.web)
    driver = None
    page, scalar, default = [], [], []
    try:
        driver = web_check.start_browser(tempfile.mkdtemp(prefix="krello-web-speed."))
        driver.set_script_timeout(300)
        driver.get("about:blank")
        browser_settled(driver)
        for _ in range(args.rounds):
            page.append(page_fps(driver, base))
            scalar.append(native_fps(args.tool, demo, "scalar"))
            default.append(native_fps(args.tool, demo, ""))
    except web_check.CheckFailed as e:
        print(f"web-speed: FAILED: {e}", file=sys.stderr)
        return 1
    finally:
        if driver:
            driver.quit()
        server.terminate()
        server.wait()
    print(f"load average after: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    mean = lambda values: sum(values) / len(values)
    rates = lambda runs: [r for r, _, _ in runs]
    # Round by round, so a spread shows whether it is one slow round (the first, say) or all.
    for name, runs in (("the page", page), ("native scalar", scalar), ("native default", default)):
        print(f"{name} by round: {', '.join(f'{r:,.0f}' for r in rates(runs))} fps")
    print("the page's time between its timed turns, by round: " +
          ", ".join(f"{gap:.0f} of {timed:.0f} ms in {turns - 1} hand-offs" for _, _, (turns, gap, timed) in page))
    seconds = lambda runs: [c for _, c, _ in runs]
    print(f"| tour timedemo, one thread, {args.rounds} rounds | fps | the page's share (means) "
          "| processor seconds | the page's share by processor time (means) |")
    print("|---|---|---|---|---|")
    print(f"| the page (WebAssembly, Chromium) | {span(rates(page))} | | {cpu_span(seconds(page))} | |")
    for name, runs in (("scalar", scalar), ("default", default)):
        print(f"| native krello-tool, {name} path | {span(rates(runs))} | {mean(rates(page)) / mean(rates(runs)):.2f} "
              f"| {cpu_span(seconds(runs))} | {mean(seconds(runs)) / mean(seconds(page)):.2f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
