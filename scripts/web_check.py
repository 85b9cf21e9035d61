#!/usr/bin/python3
"""The browser build in headless Chromium, against the Linux build's krello-tool.

Serves the build's web folder on 127.0.0.1, then: waits for the first frame; plays with real key
events and checks that the canvas changes and is not blank; runs the test hook on an input script
and compares its states and frame checksums with krello-tool's; records a demo through the page's
buttons and replays it with krello-tool; saves a screenshot of the page; runs the timedemo page.
Prints one "ok:" line per check and exits non-zero at the first failure.
"""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys


class CheckFailed(Exception):
    pass


def ok(text):
    print(f"web-check: ok: {text}", flush=True)


def wait_for(driver, script, timeout, what):
    end = time.time() + timeout
    while time.time() < end:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.1)
    status = driver.execute_script("return document.getElementById('status').textContent")
    raise CheckFailed(f"{what}: not within {timeout} s (the page says: {status})")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_server(folder):
    port = free_port()
    server = subprocess.Popen([sys.executable, "-m", "http.server", "--bind", "127.0.0.1", "--directory", folder,
                               str(port)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    end = time.time() + 10
    while time.time() < end:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.2).close()
            return server, f"http://127.0.0.1:{port}"
        except OSError:
            time.sleep(0.1)
    server.terminate()
    raise CheckFailed("the web server did not start")


def start_browser(downloads):
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1100,800",
                "--autoplay-policy=no-user-gesture-required"):
        options.add_argument(arg)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


CANVAS_DIGEST = """
const c = document.getElementById('screen');
const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
const colours = new Set();
let sum = 0;
for (let i = 0; i < d.length; i += 4) { colours.add((d[i] << 16) | (d[i + 1] << 8) | d[i + 2]); sum = (sum * 31 + d[i] + d[i + 1] * 7 + d[i + 2] * 13) >>> 0; }
return [colours.size, sum];
"""


def hold(driver, key, seconds):
    ActionChains(driver).key_down(key).perform()
    time.sleep(seconds)
    ActionChains(driver).key_up(key).perform()


def check_play(driver):
    wait_for(driver, "return window.krelloPage && window.krelloPage.frames > 0", 60, "the first frame")
    ok("the first frame is on the canvas")
    colours, before = driver.execute_script(CANVAS_DIGEST)
    if colours < 16:
        raise CheckFailed(f"the canvas is blank ({colours} colours)")
    driver.find_element(By.TAG_NAME, "body").click()
    # Listeners run in the order they were added: the game's first, so this one sees its verdict.
    driver.execute_script("window.kept = {}; window.addEventListener('keydown', "
                          "e => { window.kept[e.key] = e.defaultPrevented; })")
    hold(driver, Keys.ARROW_UP, 1.0)
    hold(driver, Keys.ARROW_LEFT, 0.6)
    hold(driver, Keys.SPACE, 0.3)
    # A loaded machine may draw late: wait for the canvas to change rather than for a while.
    end = time.time() + 30
    colours, after = driver.execute_script(CANVAS_DIGEST)
    while after == before and time.time() < end:
        time.sleep(0.1)
        colours, after = driver.execute_script(CANVAS_DIGEST)
    if after == before:
        raise CheckFailed("the canvas did not change while walking, turning and firing")
    if colours < 16:
        raise CheckFailed(f"the canvas is blank after playing ({colours} colours)")
    kept = driver.execute_script("return window.kept")
    if kept != {"ArrowUp": True, "ArrowLeft": True, " ": True}:
        raise CheckFailed(f"the browser's own action was not kept from the arrows and Space: {kept}")
    hold(driver, "p", 0.1)  # a key the page leaves to the browser (and the game pauses)
    if driver.execute_script("return window.kept['p']") is not False:
        raise CheckFailed("P was kept from the browser")
    hold(driver, "p", 0.1)
    ok(f"walking, turning and firing change the canvas ({colours} colours); arrows and Space do not scroll")


def check_pace(driver):
    # The jump height depends on the frame rate: the page makes 70 frames a second whatever the
    # display's rate (headless Chromium calls back at 60).
    read = "return [window.krelloPage.produced, performance.now()]"
    frames0, ms0 = driver.execute_script(read)
    time.sleep(3)
    frames1, ms1 = driver.execute_script(read)
    rate = (frames1 - frames0) * 1000.0 / (ms1 - ms0)
    if not 66 <= rate <= 72:
        raise CheckFailed(f"the page makes {rate:.1f} frames a second, not 70")
    ok(f"the page makes {rate:.1f} frames a second")


def check_hidden_tab(driver):
    driver.execute_script("window.seen = []; document.addEventListener('visibilitychange', () => "
                          "window.seen.push([document.visibilityState, window.krelloPage.produced]))")
    game = driver.current_window_handle
    driver.switch_to.new_window("tab")
    time.sleep(1)
    driver.close()
    driver.switch_to.window(game)
    wait_for(driver, "return window.seen.length >= 2", 30, "the tab shown again")
    seen = driver.execute_script("return window.seen")
    if [state for state, _ in seen[:2]] != ["hidden", "visible"]:
        raise CheckFailed(f"the tab was not hidden and shown again: {seen}")
    if seen[1][1] != seen[0][1]:
        raise CheckFailed(f"{seen[1][1] - seen[0][1]} frames were made while the tab was hidden")
    wait_for(driver, f"return window.krelloPage.produced > {seen[1][1]}", 5, "frames after the tab came back")
    ok("no frames while the tab is hidden, frames again when it is shown")


def check_failures_are_shown(driver, web):
    # A page served without its script or its WebAssembly, or a demo that is not one, is
    # explained on the page in plain words.
    cases = (("krello.js", "", "Cannot load"),
             ("krello.wasm", "", "Cannot load krello.wasm"),
             ("tour.demo", "?timedemo", "The game could not start: /tour.demo"))
    for broken, query, expected in cases:
        folder = tempfile.mkdtemp(prefix="krello-web-broken.")
        for name in ("krello.html", "krello.js", "krello.wasm"):
            if name != broken:
                shutil.copy(os.path.join(web, name), folder)
        if broken == "tour.demo":
            with open(os.path.join(folder, broken), "wb") as f:
                f.write(b"not a demo")
        server, base = start_server(folder)
        try:
            driver.get(base + "/krello.html" + query)
            shown = wait_for(driver, "const s = document.getElementById('status');"
                                     "return s.className === 'problem' ? s.textContent : ''", 30,
                             f"a message for a missing or bad {broken}")
        finally:
            server.terminate()
            server.wait()
            shutil.rmtree(folder)
        if expected not in shown:
            raise CheckFailed(f"with a missing or bad {broken} the page says \"{shown}\"")
        ok(f"with a missing or bad {broken} the page says \"{shown}\"")


def tool_output(tool, script_path, frames, state_every):
    args = [tool, "run", "--input", script_path, "--frame-crc"]
    if frames >= 0:
        args += ["--frames", str(frames)]
    if state_every:
        args += ["--state-every", str(state_every)]
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def check_bit_for_bit(driver, tool, script_path):
    with open(script_path) as f:
        script = f.read()
    # Short runs, a middle one and the whole script with its states every 100 updates.
    for frames, state_every in ((0, 0), (1, 0), (250, 50), (1500, 0), (-1, 100)):
        states = driver.execute_script("return window.krelloTest.run(arguments[0], arguments[1], arguments[2])",
                                       script, frames, state_every)
        crc = driver.execute_script("return window.krelloTest.frameCrc()")
        page = f"{states}frame crc32 {crc}\n"
        linux = tool_output(tool, script_path, frames, state_every)
        if page != linux:
            page_lines, linux_lines = page.splitlines(), linux.splitlines()
            first = next((i for i, (a, b) in enumerate(zip(page_lines, linux_lines)) if a != b),
                         min(len(page_lines), len(linux_lines)))
            raise CheckFailed(f"{os.path.basename(script_path)}, {frames} updates: the page and krello-tool differ "
                              f"at line {first + 1}:\n  page:  {page_lines[first:first + 1]}\n"
                              f"  linux: {linux_lines[first:first + 1]}")
    ok(f"the test hook gives krello-tool's states and frame checksums for {os.path.basename(script_path)}")


def check_settings(driver):
    settings = driver.execute_script("return window.krelloTest.settings()")
    scale = next((s for s in settings if s["section"] == "display" and s["name"] == "scale"), None)
    if scale != {"section": "display", "name": "scale", "type": "whole", "low": 1, "high": 16, "default": "3",
                 "help": scale and scale["help"]}:
        raise CheckFailed(f"the page's settings table says of scale: {scale}")
    ok(f"the page has the settings table ({len(settings)} settings)")


def check_recorded_demo(driver, tool, downloads):
    driver.find_element(By.ID, "record").click()
    started = driver.execute_script("return window.krelloPage.produced")
    for key, seconds in ((Keys.ARROW_UP, 0.8), (Keys.ARROW_RIGHT, 0.5), (Keys.SPACE, 0.2), ("a", 0.2),
                         (Keys.ARROW_UP, 0.6)):
        hold(driver, key, seconds)
    # Enough updates for the check below, however slowly a loaded machine makes them.
    wait_for(driver, f"return window.krelloPage.produced >= {started} + 90", 60, "90 frames of the recording")
    driver.find_element(By.ID, "download").click()
    demo = os.path.join(downloads, "krello.demo")
    end = time.time() + 15
    while not os.path.exists(demo) and time.time() < end:
        time.sleep(0.1)
    if not os.path.exists(demo):
        raise CheckFailed("the download button gave no krello.demo")
    replay = subprocess.run([tool, "run", "--demo", demo], capture_output=True, text=True)
    if replay.returncode != 0:
        raise CheckFailed(f"krello-tool cannot replay the page's demo: {replay.stderr.strip()}")
    updates = int(replay.stdout.split()[1])
    if updates < 60:
        raise CheckFailed(f"the page's demo holds only {updates} updates")
    ok(f"a demo recorded through the page's buttons ({updates} updates) replays on Linux in step")
    return demo


def check_timedemo(driver, base, out):
    driver.get(base + "/krello.html?timedemo")
    line = wait_for(driver, "return (window.krelloTest && window.krelloTest.lines.find(l => l.startsWith('timedemo:'))) || ''",
                    180, "the timedemo's line")
    with open(os.path.join(out, "timedemo.txt"), "w") as f:
        f.write(line + "\n")
    # The checksum line follows; the frame rate must stay in view beside it.
    shown = wait_for(driver, "const s = document.getElementById('status').textContent;"
                     " return s.includes('checksum') ? s : ''", 60, "the timedemo's checksum on the page")
    if " fps " not in shown:
        raise CheckFailed(f"the timedemo page shows no frame rate: {shown!r}")
    ok(f"the timedemo page: {line}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--web", required=True, help="the web build's folder (krello.html, .js, .wasm)")
    parser.add_argument("--tool", required=True, help="the Linux build's krello-tool")
    parser.add_argument("--input", required=True, help="the input script to compare (the tour's)")
    parser.add_argument("--out", required=True, help="where the screenshot and the timedemo line go")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    server, base = start_server(args.web)
    downloads = tempfile.mkdtemp(prefix="krello-web-downloads.")
    driver = None
    try:
        driver = start_browser(downloads)
        driver.get(base + "/krello.html")
        check_play(driver)
        check_pace(driver)
        check_hidden_tab(driver)
        check_bit_for_bit(driver, args.tool, args.input)
        check_settings(driver)
        check_recorded_demo(driver, args.tool, downloads)
        shown = driver.execute_script("return window.krelloPage.frames")
        wait_for(driver, f"return window.krelloPage.frames > {shown}", 30, "a frame after the demo")
        driver.save_screenshot(os.path.join(args.out, "page.png"))
        ok(f"the page's screenshot is {os.path.join(args.out, 'page.png')}")
        check_timedemo(driver, base, args.out)
        problems = [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]
        if problems:
            raise CheckFailed("the browser reported: " + "; ".join(problems))
        check_failures_are_shown(driver, args.web)
    except CheckFailed as e:
        print(f"web-check: FAILED: {e}", file=sys.stderr)
        return 1
    finally:
        if driver:
            driver.quit()
        server.terminate()
        server.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
