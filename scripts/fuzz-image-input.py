#!/usr/bin/env python3
"""Turns level images into inputs of the level_image fuzz harness: a whole image, or the start of
one laid over zeros (the harness's inputs were such raw images once), becomes the zero base and a
patch for each run of non-zero bytes. The columns' byte is the raw input's first byte and its last
20 bytes end the new input, so the drawn columns and the play's keys stay what they were.

Usage: scripts/fuzz-image-input.py OUT_DIR IMAGE...
"""
import hashlib
import os
import struct
import sys

IMAGE_BYTES = 49180
KEY_BYTES = 20  # the updates a validated level plays, one byte each from the input's end
GAP = 4  # zeros cost less inside a patch than a new patch's offset and count


def runs(image):
    """The (start, end) runs of non-zero bytes, joined across gaps of GAP zeros or fewer."""
    out, i = [], 0
    while i < len(image):
        if image[i] == 0:
            i += 1
            continue
        start = i
        while i < len(image) and (image[i] != 0 or any(image[i:i + GAP + 1])):
            i += 1
        out.append((start, i))
    return out


def patch(offset, data):
    return struct.pack("<HH", offset, len(data)) + data


def convert(raw):
    image = raw[:IMAGE_BYTES]
    out = bytearray([0, raw[0] if raw else 0])
    keys_from = max(0, len(image) - KEY_BYTES)
    for start, end in runs(image[:keys_from]):
        out += patch(start, image[start:end])
    if len(raw) > IMAGE_BYTES:
        raise SystemExit("an input past the image's size keeps keys beyond it; not converted")
    out += patch(keys_from, image[keys_from:])
    return bytes(out)


def main():
    out_dir, images = sys.argv[1], sys.argv[2:]
    os.makedirs(out_dir, exist_ok=True)
    for path in images:
        data = convert(open(path, "rb").read())
        with open(os.path.join(out_dir, hashlib.sha1(data).hexdigest()), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
