#!/usr/bin/env python3
"""Writes what `krello-tool level check`, `level stats --tsv` and `level map` print and draw for
the built-in level, the shipped and test level sources, the built-in image, and 40 damaged images
made from it by a fixed random sequence, one file per output (status, messages and the map), so
two builds of the tool can be compared with `diff -r`: a change that only makes them faster must
leave every file the same.

Usage: scripts/level-outputs.py TOOL OUT_DIR
"""
import os
import random
import subprocess
import sys

IMAGE_BYTES = 49180


def damaged_images(builtin):
    """40 images: the built-in one with a few to many bytes, 16-bit fields or blocks changed,
    random bytes throughout, and zeros with a few bytes set."""
    rng = random.Random(24)
    images = []
    for k in range(10):  # a few bytes to a thousand changed
        img = bytearray(builtin)
        for _ in range(1 + 3 ** k // 20):
            img[rng.randrange(IMAGE_BYTES)] = rng.randrange(256)
        images.append(img)
    for k in range(10):  # 16-bit fields set to small or extreme values
        img = bytearray(builtin)
        for _ in range(1 + 4 * k):
            at = rng.randrange(IMAGE_BYTES - 1) & ~1
            v = rng.choice([0, 1, 0xFFFF, 0x8000, 0x7FFF, rng.randrange(1 << 16), rng.randrange(1200)])
            img[at:at + 2] = v.to_bytes(2, "little")
        images.append(img)
    for k in range(10):  # a block copied from elsewhere in the image
        img = bytearray(builtin)
        n = rng.randrange(4, 4000)
        src, dst = rng.randrange(IMAGE_BYTES - n), rng.randrange(IMAGE_BYTES - n)
        img[dst:dst + n] = builtin[src:src + n]
        images.append(img)
    for k in range(5):  # random bytes throughout
        images.append(bytearray(rng.randrange(256) for _ in range(IMAGE_BYTES)))
    for k in range(5):  # zeros with a few runs of the built-in image
        img = bytearray(IMAGE_BYTES)
        for _ in range(k * 3):
            n = rng.randrange(2, 2000)
            at = rng.randrange(IMAGE_BYTES - n)
            img[at:at + n] = builtin[at:at + n]
        images.append(img)
    return images


def run(args, out_path, cwd):
    p = subprocess.run(args, capture_output=True, cwd=cwd)
    with open(os.path.join(cwd, out_path), "wb") as f:
        f.write(b"status %d\n" % p.returncode + p.stdout + b"--- stderr\n" + p.stderr)


def main():
    tool, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    images = os.path.join(out, "images")
    os.makedirs(images, exist_ok=True)
    builtin_path = "images/krello.img"  # named from OUT_DIR, so messages read the same anywhere
    subprocess.run([tool, "level", "dump", builtin_path], check=True, cwd=out)
    builtin = open(os.path.join(out, builtin_path), "rb").read()
    levels = [builtin_path] + [os.path.join(root, p) for p in
                               ("level/krello.level", "level/examples/four_rooms.level",
                                "tests/data/two_rooms.level", "tests/data/ambush.level")]
    for i, img in enumerate(damaged_images(builtin)):
        path = "images/damaged_%02d.img" % i
        open(os.path.join(out, path), "wb").write(img)
        levels.append(path)
    # The built-in level itself, with no file named.
    run([tool, "level", "stats", "--tsv"], "builtin.stats", out)
    run([tool, "level", "map", "builtin.png"], "builtin.map", out)
    for level in levels:
        name = os.path.basename(level)
        run([tool, "level", "check", level], name + ".check", out)
        run([tool, "level", "stats", "--tsv", level], name + ".stats", out)
        run([tool, "level", "map", "--level", level, name + ".png"], name + ".map", out)


if __name__ == "__main__":
    main()
