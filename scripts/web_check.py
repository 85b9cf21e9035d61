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


# Every wait polls for a condition until this many seconds have passed: a browser starved of the
# processor by other work may take that long, and a wait that holds passes at once.
PATIENCE = float(os.environ.get("KRELLO_WEB_PATIENCE", "120"))


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
    end = time.time() + PATIENCE
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
    wait_for(driver, "return window.krelloPage && window.krelloPage.frames > 0", PATIENCE, "the first frame")
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
    end = time.time() + PATIENCE
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


def check_sound(driver):
    # The first key press started the page's sound; a shot is then heard through an AnalyserNode
    # on the way to the speakers, and the settings table has the sound's two rows.
    state = driver.execute_script("return window.krelloAudio && window.krelloAudio.state()")
    if state != "running":
        raise CheckFailed(f"the page's sound is not running after key presses: {state}")
    rate = driver.execute_script("return window.krelloAudio.sampleRate()")
    # The pause and unpause just played: the analyser must fall quiet first, so what it hears
    # next is the shot.
    wait_for(driver, "return window.krelloAudio.level() < 0.002", PATIENCE, "the page quiet before the shot")
    ActionChains(driver).key_down(Keys.SPACE).perform()
    try:
        level = wait_for(driver, "const l = window.krelloAudio.level(); return l > 0.01 ? l : 0", PATIENCE,
                         "a shot heard through the analyser")
    finally:
        ActionChains(driver).key_up(Keys.SPACE).perform()
    rows = {(s["section"], s["name"]): s for s in driver.execute_script("return window.krelloTest.settings()")}
    sound, volume = rows.get(("sound", "sound")), rows.get(("sound", "volume"))
    if not sound or sound.get("words") != ["on", "off"] or not volume or volume.get("high") != 100:
        raise CheckFailed(f"the page's settings table lacks the sound's rows: {sound}, {volume}")
    ok(f"a shot is heard on the page: the analyser peaks at {level:.3f} (the context runs at {rate} Hz)")


def check_pace(driver):
    # The jump height depends on the frame rate, so the page's rule is its clock's: 70 frames a
    # second whatever the display's rate (headless Chromium calls back at 60), at most two per
    # animation frame. A browser starved of the processor gets fewer animation frames; the frames
    # its clock owed that found no room are counted as dropped. So under any load the frames made
    # and dropped come to 70 a second, and no animation frame carries more than two. What the
    # browser achieved is told, not judged. The counts are taken as they stood at a frame shown:
    # a stall is counted when it ends, so between frames they lag the clock by the stall.
    read = ("const p = window.krelloPage;"
            "return [p.produced, p.dropped, p.frames, p.shownAt, window.krelloTest.state()]")
    made0, dropped0, shown0, ms0, state0 = driver.execute_script(read)
    wait_for(driver, f"return window.krelloPage.shownAt >= {ms0} + 10000", PATIENCE,
             "ten seconds of frames on the page's clock")
    made1, dropped1, shown1, ms1, state1 = driver.execute_script(read)
    if (state0, state1) != (PLAYING, PLAYING) or dropped1 < dropped0:
        raise CheckFailed(f"the game did not play on through the measurement (states {state0}, {state1})")
    seconds = (ms1 - ms0) / 1000.0
    made, dropped, shown = made1 - made0, dropped1 - dropped0, shown1 - shown0
    owed = (made + dropped) / seconds
    # At either end a frame may fall just before or after its slot, up to four late frames may be
    # waiting to be made or dropped, and the clock was read before the frames were drawn (up to
    # two frames' drawing before shownAt): 7 frames either way.
    if abs(made + dropped - 70 * seconds) > 7:
        raise CheckFailed(f"the page's clock gave {owed:.1f} frames a second ({made} made, {dropped} dropped in "
                          f"{seconds:.1f} s), not 70")
    if made > 2 * shown:
        raise CheckFailed(f"{made} frames made in {shown} animation frames: more than two in one")
    ok(f"the page's clock gives {owed:.1f} frames a second, at most two an animation frame; "
       f"the browser made {made / seconds:.1f} and dropped {dropped / seconds:.1f} a second "
       f"in {shown / seconds:.1f} animation frames")


def check_hidden_tab(driver):
    driver.execute_script("window.seen = []; document.addEventListener('visibilitychange', () => "
                          "window.seen.push([document.visibilityState, window.krelloPage.produced]))")
    game = driver.current_window_handle
    driver.switch_to.new_window("tab")
    time.sleep(1)
    driver.close()
    driver.switch_to.window(game)
    wait_for(driver, "return window.seen.length >= 2", PATIENCE, "the tab shown again")
    seen = driver.execute_script("return window.seen")
    if [state for state, _ in seen[:2]] != ["hidden", "visible"]:
        raise CheckFailed(f"the tab was not hidden and shown again: {seen}")
    if seen[1][1] != seen[0][1]:
        raise CheckFailed(f"{seen[1][1] - seen[0][1]} frames were made while the tab was hidden")
    wait_for(driver, f"return window.krelloPage.produced > {seen[1][1]}", PATIENCE, "frames after the tab came back")
    ok("no frames while the tab is hidden, frames again when it is shown")


def check_failures_are_shown(driver, web):
    # A page served without its script or its WebAssembly, or a demo that is not one, is
    # explained on the page in plain words.
    cases = (("krello.js", "", "Cannot load"),
             ("krello.wasm", "", "Cannot load krello.wasm"),
             ("tour.demo", "?timedemo", "The game could not start: /tour.demo"))
    for broken, query, expected in cases:
        folder = tempfile.mkdtemp(prefix="krello-web-broken.")
        for name in ("krello.html", "krello_audio.js", "krello.js", "krello.wasm"):
            if name != broken:
                shutil.copy(os.path.join(web, name), folder)
        if broken == "tour.demo":
            with open(os.path.join(folder, broken), "wb") as f:
                f.write(b"not a demo")
        server, base = start_server(folder)
        try:
            driver.get(base + "/krello.html" + query)
            # Emscripten says on stderr that it falls back from streaming before it gives up: the
            # page's own "ERROR!" line is the one to wait for.
            shown = wait_for(driver, "const s = document.getElementById('status');"
                                     "return s.className === 'problem' && s.textContent.startsWith('ERROR!')"
                                     " ? s.textContent : ''", PATIENCE,
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
    record = driver.find_element(By.ID, "record")
    download = driver.find_element(By.ID, "download")
    record.click()
    wait_state(driver, RECORDING, "the recording")
    started = driver.execute_script("return window.krelloPage.produced")
    if record.text != "Stop recording" or download.is_enabled():
        raise CheckFailed(f"while recording the buttons say {record.text!r}, download enabled: {download.is_enabled()}")
    for key, seconds in ((Keys.ARROW_UP, 0.8), (Keys.ARROW_RIGHT, 0.5), (Keys.SPACE, 0.2), ("a", 0.2),
                         (Keys.ARROW_UP, 0.6)):
        hold(driver, key, seconds)
    # Enough updates for the check below, however slowly a loaded machine makes them.
    wait_for(driver, f"return window.krelloPage.produced >= {started} + 90", PATIENCE, "90 frames of the recording")
    record.click()
    wait_state(driver, ENDED, "the game the recording ended")
    wait_for(driver, "return !document.getElementById('download').disabled", PATIENCE, "the download button")
    download.click()
    demo = os.path.join(downloads, "krello.demo")
    end = time.time() + PATIENCE
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
    record.click()  # a new recording: the old demo is no longer offered
    wait_state(driver, RECORDING, "the second recording")
    if download.is_enabled() or driver.find_element(By.ID, "share").is_enabled():
        raise CheckFailed("a new recording still offers the old demo")
    record.click()
    wait_state(driver, ENDED, "the second recording's end")
    ok("a new recording withdraws the old demo until it is finished")
    return demo


def status_text(driver):
    return driver.execute_script("return document.getElementById('status').textContent")


def wait_status(driver, start, what, timeout=PATIENCE):
    return wait_for(driver, f"const s = document.getElementById('status').textContent;"
                            f"return s.startsWith({start!r}) ? s : ''", timeout, what)


def press(driver, key):
    ActionChains(driver).key_down(key).key_up(key).perform()


PLAYING, PAUSED, QUIT_PROMPT, REPLAYING, RECORDING, ENDED = range(6)


def wait_state(driver, state, what, timeout=PATIENCE):
    wait_for(driver, f"return window.krelloTest.state() === {state}", timeout, what)


def check_ending_and_starting(driver):
    title = driver.title
    if title != "= KRELLO 32K =":
        raise CheckFailed(f"the page is titled {title!r}")
    wait_state(driver, PLAYING, "a game under way")
    press(driver, "p")
    wait_status(driver, "Paused. Press P to resume", "the status bar after P")
    press(driver, "p")
    wait_status(driver, "Playing.", "the status bar after P, P")
    press(driver, Keys.ESCAPE)  # confirm_quit is off by default: the game ends at once
    wait_status(driver, "The game has ended. Press Enter to play again", "the status bar after Escape")
    if "ended" not in driver.find_element(By.ID, "screen").get_attribute("class"):
        raise CheckFailed("the ended game's picture is shown as if it were still playing")
    press(driver, Keys.ENTER)  # WebDriver's Enter is the keypad's (code NumpadEnter)
    wait_status(driver, "Playing.", "the status bar after keypad Enter restarted")
    ok(f"titled {title!r}; the status bar follows P, P, Escape and keypad Enter")


def panel_row(driver, setting):
    return driver.find_element(By.CSS_SELECTOR, f"#panel tr[data-setting='{setting}']")


def check_settings_panel(driver):
    driver.find_element(By.ID, "settings").click()
    wait_state(driver, 6, "the settings panel")
    # confirm_quit by keyboard: focus its list and choose "yes".
    select = panel_row(driver, "play/confirm_quit").find_element(By.TAG_NAME, "select")
    select.send_keys("y")
    # Pause bound to O alone, by pressing it.
    panel_row(driver, "keys/pause").find_element(By.XPATH, ".//button[text()='Change']").click()
    wait_for(driver, "return document.querySelector(\"#panel tr[data-setting='keys/pause'] .waiting\") !== null", PATIENCE,
             "the pause binding waiting for a key")
    press(driver, "o")
    shown = panel_row(driver, "keys/pause").find_element(By.CLASS_NAME, "keys").text
    if shown != "O":
        raise CheckFailed(f"the pause binding shows {shown!r} after pressing O")
    press(driver, Keys.ESCAPE)
    wait_state(driver, PLAYING, "the game after the panel closed")
    stored = driver.execute_script("return localStorage.getItem('krello.settings')")
    ok(f"the settings panel by keyboard: confirm_quit and pause = O stored ({stored})")


def check_settings_work(driver, after):
    wait_state(driver, PLAYING, f"a game under way {after}")
    press(driver, "o")
    wait_status(driver, "Paused. Press O to resume", f"the status bar after the rebound pause key {after}")
    press(driver, "p")  # P is no longer bound: nothing changes
    press(driver, "o")
    wait_status(driver, "Playing.", f"the status bar after O, O {after}")
    press(driver, Keys.ESCAPE)
    wait_status(driver, "Quit? Y/N", f"the quit prompt with confirm_quit {after}")
    press(driver, "n")
    wait_status(driver, "Playing.", f"the status bar after N {after}")
    ok(f"the rebound pause key and confirm_quit's \"Quit? Y/N\" work {after}")


def check_settings_reset(driver):
    driver.find_element(By.ID, "settings").click()
    wait_state(driver, 6, "the settings panel")
    driver.find_element(By.ID, "reset").click()
    shown = panel_row(driver, "keys/pause").find_element(By.CLASS_NAME, "keys").text
    stored = driver.execute_script("return localStorage.getItem('krello.settings')")
    if stored is not None or shown != "P, Pause":
        raise CheckFailed(f"after reset to defaults: stored {stored}, pause bound to {shown!r}")
    press(driver, Keys.ESCAPE)
    wait_state(driver, PLAYING, "the game after the panel closed")
    press(driver, "p")
    wait_status(driver, "Paused. Press P to resume", "the status bar after P, with the defaults again")
    press(driver, "p")
    ok("reset to defaults clears the stored settings and P pauses again")


# The desktop's default pad mapping, control by control of the standard layout (button index, or
# axis index with a travel): what the game or the shell does with it.
PAD_CASES = (
    ("", 0, False, 1.0, "jump"), ("", 1, False, 1.0, "fire"), ("", 2, False, 1.0, "fire"),
    ("", 3, False, 1.0, "automap"), ("", 5, False, 1.0, "fire"), ("", 7, False, 1.0, "fire"),
    ("", 7, False, 0.3, ""), ("", 6, False, 1.0, ""), ("", 8, False, 1.0, "quit"),
    ("", 9, False, 1.0, "pause restart"), ("", 12, False, 1.0, "forward"), ("", 13, False, 1.0, "back"),
    ("", 14, False, 1.0, "turn_left"), ("", 15, False, 1.0, "turn_right"),
    ("", 1, True, -1.0, "forward"), ("", 1, True, 1.0, "back"), ("", 0, True, -1.0, "turn_left"),
    ("", 0, True, 0.2, ""), ("", 0, True, 0.3, "turn_right"), ("", 2, True, 1.0, ""),
    ("[gamepad]\nfire = Y\n", 3, False, 1.0, "fire automap"), ("[gamepad]\nfire = Y\n", 1, False, 1.0, ""),
    ("[gamepad]\nstick_dead_zone = 16000\n", 0, True, 0.3, ""),
)


def check_pad_mapping(driver):
    for settings, index, axis, value, expected in PAD_CASES:
        got = driver.execute_script("return window.krelloTest.pad(...arguments)", settings, index, axis, value)
        if got != expected:
            what = ("axis" if axis else "button") + f" {index} at {value}" + (f" with {settings!r}" if settings else "")
            raise CheckFailed(f"the pad's {what} does {got!r}, not {expected!r}")
    ok(f"the page's pad mapping and bindings, inside the wasm build ({len(PAD_CASES)} cases)")


DROP = """
const [name, base64, done] = arguments;
const bytes = Uint8Array.from(atob(base64), c => c.charCodeAt(0));
const data = new DataTransfer();
data.items.add(new File([bytes], name));
window.dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
done();
"""


def drop(driver, name, data):
    import base64
    driver.execute_async_script(DROP, name, base64.b64encode(data).decode())


def check_dropped_files(driver, demo):
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "level", "examples", "four_rooms.level"), "rb") as f:
        drop(driver, "four_rooms.level", f.read())
    wait_for(driver, "return window.krelloTest.lines.some(l => l.includes('ERROR')) || "
                     "(window.krelloTest.state() === 0 && document.getElementById('faults').hidden)", PATIENCE,
             "the dropped level playing")
    frames = driver.execute_script("return window.krelloPage.produced")
    wait_for(driver, f"return window.krelloPage.produced > {frames + 10}", PATIENCE, "frames of the dropped level")
    drop(driver, "bad.level", b"sector 0 floor\nnot a level line\n")
    shown = wait_for(driver, "const f = document.getElementById('faults');"
                             "return f.hidden ? '' : f.textContent", PATIENCE, "the bad level's faults")
    if "ERROR!" not in shown or "bad.level:" not in shown:
        raise CheckFailed(f"a bad dropped level shows {shown!r}")
    # The page reports the bad level on the console as well: expected, so taken from the log here.
    unexpected = [e["message"] for e in driver.get_log("browser")
                  if e["level"] == "SEVERE" and "bad.level" not in e["message"]]
    if unexpected:
        raise CheckFailed("the browser reported: " + "; ".join(unexpected))
    press(driver, Keys.RETURN)
    wait_state(driver, PLAYING, "a new game after the bad level")
    with open(demo, "rb") as f:
        drop(driver, "mine.demo", f.read())
    wait_state(driver, REPLAYING, "the dropped demo replaying")
    ok(f"a dropped level plays, a bad one shows {shown.splitlines()[1]!r}, a dropped demo replays")


def check_share_link(driver, tool, downloads):
    driver.find_element(By.ID, "share").click()
    url = wait_for(driver, "return window.krelloTest.sharedLink || ''", PATIENCE, "the shared link")
    demo = os.path.join(downloads, "shared.demo")  # the page's last recording, which the link carries
    with open(demo, "wb") as f:
        f.write(bytes(driver.execute_script("return window.krelloTest.recordedDemo()")))
    native = subprocess.run([tool, "timedemo", "--demo", demo], capture_output=True, text=True, check=True).stdout
    expected = next(line.split()[-1] for line in native.splitlines() if "final state checksum" in line)
    driver.get("about:blank")  # the link opened afresh, as a player opens it
    driver.get(url)
    got = wait_for(driver, "return (window.krelloTest && window.krelloTest.replayChecksum) || ''", PATIENCE,
                   "the linked demo's end")
    if got != expected:
        raise CheckFailed(f"the linked demo ends at state checksum {got}, Linux's at {expected}")
    wait_status(driver, "The demo has ended", "the status bar after the linked demo")
    ok(f"a Share link ({len(url)} characters) replays to Linux's final state checksum {got}")


def check_timedemo(driver, base, out, tool, web):
    """The timedemo page: its rate on the page, and the tour replayed to Linux's final state."""
    native = subprocess.run([tool, "timedemo", "--demo", os.path.join(web, "tour.demo"), "--threads", "1"],
                            capture_output=True, text=True, check=True).stdout
    expected = next(line for line in native.splitlines() if "final state checksum" in line)
    driver.get(base + "/krello.html?timedemo")
    line = wait_for(driver, "return (window.krelloTest && window.krelloTest.lines.find(l => l.startsWith('timedemo:'))) || ''",
                    2 * PATIENCE, "the timedemo's line")
    with open(os.path.join(out, "timedemo.txt"), "w") as f:
        f.write(line + "\n")
    # The checksum line follows; the frame rate must stay in view beside it.
    shown = wait_for(driver, "const s = document.getElementById('status').textContent;"
                     " return s.includes('checksum') ? s : ''", PATIENCE, "the timedemo's checksum on the page")
    if " fps " not in shown:
        raise CheckFailed(f"the timedemo page shows no frame rate: {shown!r}")
    if expected not in shown:
        raise CheckFailed(f"the timedemo page ends with {shown!r}, Linux with {expected!r}")
    ok(f"the timedemo page: {line}; {expected}, as on Linux")


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
        check_sound(driver)
        check_pace(driver)
        check_hidden_tab(driver)
        check_bit_for_bit(driver, args.tool, args.input)
        check_settings(driver)
        check_pad_mapping(driver)
        check_ending_and_starting(driver)
        check_settings_panel(driver)
        check_settings_work(driver, "at once")
        driver.refresh()
        wait_for(driver, "return window.krelloPage && window.krelloPage.frames > 0", PATIENCE, "the first frame after a reload")
        driver.find_element(By.TAG_NAME, "body").click()
        check_settings_work(driver, "after a reload")
        check_settings_reset(driver)
        demo = check_recorded_demo(driver, args.tool, downloads)
        check_dropped_files(driver, demo)
        check_share_link(driver, args.tool, downloads)
        driver.save_screenshot(os.path.join(args.out, "page.png"))
        ok(f"the page's screenshot is {os.path.join(args.out, 'page.png')}")
        check_timedemo(driver, base, args.out, args.tool, args.web)
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
