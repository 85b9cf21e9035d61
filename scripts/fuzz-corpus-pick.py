#!/usr/bin/env python3
"""Picks a small corpus from a libFuzzer merge: the inputs that add the most coverage per byte,
edges first, until BUDGET bytes. CONTROL is the file `-merge=1 -merge_control_file=CONTROL` left.

Usage: scripts/fuzz-corpus-pick.py CONTROL BUDGET OUT_DIR
"""
import os
import shutil
import sys


def main():
    control, budget, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    lines = open(control).read().split("\n")
    count = int(lines[0])
    files = lines[2:2 + count]
    features = {i: set() for i in range(count)}
    edges = {i: set() for i in range(count)}
    for line in lines[2 + count:]:
        words = line.split()
        if words and words[0] in ("FT", "COV"):
            (features if words[0] == "FT" else edges)[int(words[1])] = set(map(int, words[2:]))
    have_features, have_edges, size, left = set(), set(), 0, set(range(count))
    os.makedirs(out, exist_ok=True)
    while left:
        def worth(i):  # an edge counts as 20 features; a file costs its bytes and a block
            new = 20 * len(edges[i] - have_edges) + len(features[i] - have_features)
            return new / (os.path.getsize(files[i]) + 4096)
        best = max(left, key=worth)
        left.discard(best)
        if worth(best) == 0:
            break
        if size + os.path.getsize(files[best]) > budget:
            continue
        size += os.path.getsize(files[best])
        have_features |= features[best]
        have_edges |= edges[best]
        shutil.copy(files[best], out)
    print(f"{len(os.listdir(out))} inputs, {size} bytes, {len(have_edges)} of "
          f"{len(set().union(*edges.values()))} edges")


if __name__ == "__main__":
    main()
