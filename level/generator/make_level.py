#!/usr/bin/env python3
"""Builds level/krello.level from the map in layout.py, checks it and prints its statistics.

Usage: make_level.py [output path]   (default: ../krello.level beside this folder)
"""
import os
import sys

import assign
import checks
import layout
import picture
import surfaces
import writer
from geometry import Plan, chamfer, split_edges

START = (7542, 38995, 2048, 323, 151)

# (kind, x, y, sector key); objects 8 and 9 start with timer 1.
OBJECTS = [
    (10, 20480, 51456, "hall"), (10, 1280, 41472, "court"), (10, 11008, 46592, "court"),
    (10, 11776, 60928, "court"), (10, 17152, 61696, "crypt"), (10, 23808, 56576, "hall"),
    (10, 20480, 48384, "balcony"), (10, 23552, 43264, "cellar"), (9, 4608, 52992, "tower"),
    (9, 768, 44544, "westterrace"),
    (11, 31488, 44800, "armory"), (11, 31232, 44800, "armory"), (11, 30976, 44800, "armory"),
    (11, 30720, 44800, "armory"), (11, 30464, 44800, "armory"),
    (12, 30976, 44416, "armory"), (12, 31232, 44416, "armory"), (12, 31488, 44416, "armory"),
    (12, 31488, 44160, "armory"), (12, 31232, 44160, "armory"), (12, 30976, 44160, "armory"),
    (12, 30720, 44160, "armory"), (12, 30464, 44160, "armory"),
]

# Sectors whose pillar loop is written before their outer wall loop.
INNER_FIRST = ["chapel", "store", "cellar", "barracks", "southhall"]


def build():
    plan = Plan()
    layout.build(plan)
    split_edges(plan)
    for key, corner, cut in layout.CHAMFERS:
        chamfer(plan, key, corner, cut)
    for key in INNER_FIRST:
        s = plan.sectors[key]
        s.inner_first = True
        s.loops = s.loops[1:] + s.loops[:1]
    order = assign.table_order(list(plan.sectors.values()), 191)
    walls = checks.wall_list(plan, order)
    return plan, order, walls


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "krello.level")
    plan, order, walls = build()
    problems = checks.check_geometry(plan, order, walls)
    problems += checks.check_fixed_facts(plan, order, walls, START, OBJECTS)
    surfaces.assign(plan, order, walls)
    problems += surfaces.check(order, walls)
    st = checks.structure_stats(plan, order, walls)
    st.update(surfaces.stats(plan, order, walls))
    for k, v in st.items():
        print(f"{k:24} {v}")
    problems += checks.compare(st)
    pic = picture.enemy()
    print(f"{'picture sum':24} {sum(map(sum, pic))}")
    for p in problems:
        print("PROBLEM", p)
    writer.write(out, plan, order, walls, START, OBJECTS, pic)
    print("wrote", os.path.normpath(out))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
