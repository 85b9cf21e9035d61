#!/usr/bin/env python3
"""Fails when an #include runs against the arrows between the rooms of the source tree.

Each room may include its own headers and those of the rooms it points to (see
docs/architecture.md). Only the SDL shell may include SDL, only the Win32 shell Windows'
headers and only the web shell emscripten. Prints one line per wrong include, naming the file
and line, and exits 1; prints "includes: ok" and exits 0 when all is well.
Usage: scripts/check-includes.py [ROOT]
"""
import pathlib
import re
import sys

# Room (a folder below the root) -> the rooms its files may include from.
ARROWS = {
    "src/io": {"io"},
    "src/cli": {"cli", "io"},
    "src/world": {"world"},
    "src/level": {"level", "world", "io"},
    "src/render": {"render", "world"},
    "src/game": {"game", "world"},
    "src/replay": {"replay", "game", "level", "world", "io"},
    "src/sound": {"sound", "game", "world"},
    "src/platform/common": {"platform/common", "cli", "replay", "sound", "game", "render", "level", "world", "io"},
    "src/platform/sdl": {"platform/sdl", "platform/common", "cli", "replay", "sound", "game", "render", "level",
                         "world", "io"},
    "src/platform/win32": {"platform/win32", "platform/common", "cli", "replay", "sound", "game", "render", "level",
                           "world", "io"},
    "src/platform/web": {"platform/web", "platform/common", "replay", "sound", "game", "render", "level", "world",
                         "io"},
    "tools/tour": {"tour", "level", "replay", "game", "world", "io"},
    "tools/playtest": {"playtest", "cli", "replay", "game", "render", "world"},
    "tools/levelc": {"level", "world", "io"},
    "tools/krello_tool": {"krello_tool", "cli", "playtest", "tour", "level", "replay", "sound", "game", "render", "world", "io"},
}
# Rooms a project include can name, longest first so "platform/common" wins over "platform".
TARGETS = sorted({t for allowed in ARROWS.values() for t in allowed if not t.endswith(".h")},
                 key=len, reverse=True)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SDL_ROOM = "src/platform/sdl"
WIN32_ROOM = "src/platform/win32"
# Windows' own headers: only the Win32 shell includes them.
WINDOWS_HEADER = re.compile(r"(windows|winuser|wingdi|mmsystem|dwmapi|xinput|winver)\.h$", re.IGNORECASE)
WEB_ROOM = "src/platform/web"


def room_of(path):
    for room in sorted(ARROWS, key=len, reverse=True):
        if path.startswith(room + "/"):
            return room
    return None


def target_of(header):
    for target in TARGETS:
        if header.startswith(target + "/"):
            return target
    return None


def check(root):
    faults = []
    for file in sorted(root.rglob("*")):
        if file.suffix not in (".h", ".cpp") or not file.is_file():
            continue
        rel = file.relative_to(root).as_posix()
        room = room_of(rel)
        if room is None:
            continue
        for number, line in enumerate(file.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, header = match.groups()
            if quote == "<":
                if re.match(r"SDL2?/|SDL[_.]", header) and room != SDL_ROOM:
                    faults.append(f"{rel}:{number}: includes <{header}>; only {SDL_ROOM} may include SDL")
                if WINDOWS_HEADER.match(header) and room != WIN32_ROOM:
                    faults.append(f"{rel}:{number}: includes <{header}>; only {WIN32_ROOM} may include Windows' headers")
                if re.match(r"emscripten[/.]", header) and room != WEB_ROOM:
                    faults.append(f"{rel}:{number}: includes <{header}>; only {WEB_ROOM} may include emscripten")
                continue
            target = target_of(header)
            if target is None or header in ARROWS[room] or target in ARROWS[room]:
                continue
            faults.append(f"{rel}:{number}: {room} may not include \"{header}\" (from {target})")
    return faults


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print("includes: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
