#!/usr/bin/python3
"""The page's speed beside native: the tour's timedemo in headless Chromium and in krello-tool.

Runs, round after round, the page's `?timedemo` and the native `krello-tool timedemo` on the same
demo, on one thread, on the native scalar path and then on the native default path, and prints
the fps ranges and the page's share of each native rate. Interleaved rounds share whatever load
the machine has, so the shares mean more than the rates; the load average is printed with them.

    /usr/bin/python3 scripts/web_speed.py --web build-web/web --tool build/tools/krello-tool [--rounds 3]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

import web_check

FPS = re.compile(r"([0-9.]+) fps")


def fps_of(line):
    found = FPS.search(line)
    if not found:
        raise web_check.CheckFailed(f"no frame rate in {line!r}")
    return float(found.group(1))


def page_fps(driver, base):
    driver.get("about:blank")
    driver.get(base + "/krello.html?timedemo")
    line = web_check.wait_for(driver, "return (window.krelloTest && window.krelloTest.lines.find("
                              "l => l.startsWith('timedemo:'))) || ''", 300, "the timedemo's line")
    return fps_of(line)


def native_fps(tool, demo, path):
    env = dict(os.environ)
    if path:
        env["KRELLO_RENDER_PATH"] = path
    out = subprocess.run([tool, "timedemo", "--demo", demo, "--threads", "1"], capture_output=True, text=True,
                         check=True, env=env).stdout
    return fps_of(out.splitlines()[0])


def span(values):
    return f"{min(values):,.0f} to {max(values):,.0f}"


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
    print(f"| tour timedemo, one thread, {args.rounds} rounds | fps | the page's share (means) |")
    print("|---|---|---|")
    print(f"| the page (WebAssembly, Chromium) | {span(page)} | |")
    print(f"| native krello-tool, scalar path | {span(scalar)} | {mean(page) / mean(scalar):.2f} |")
    print(f"| native krello-tool, default path | {span(default)} | {mean(page) / mean(default):.2f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
