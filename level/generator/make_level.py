#!/usr/bin/env python3
"""Builds level/krello.level from the map in layout.py, checks it and prints its figures.
A level with any problem is reported and not written.

Usage: make_level.py [output path]   (default: ../krello.level beside this folder)
The level's named areas go beside it (areas.py: krello.level -> krello.areas).
"""
import os
import sys

import areas
import assign
import checks
import design
import figures
import layout
import picture
import surfaces
import writer
from geometry import Plan, chamfer, clear_lattice, split_edges

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

# The start ledge's walls keep the repeats the game was made with.
START_WALLS = [("ledge_s", "ledge_w"), ("ledge_w", "ledge_nw"), ("ledge_nw", "ledge_ne"),
               ("ledge_ne", "ledge_se"), ("ledge_se", "ledge_lip"), ("ledge_lip", "ledge_s")]

# The sectors the enemies stand in.
ENEMY_SECTORS = sorted({key for kind, _x, _y, key in OBJECTS if kind in (9, 10)})

# Sectors whose pillar loop is written before their outer wall loop.
INNER_FIRST = ["chapel", "balcony", "cellar", "barracks", "southhall"]


def build():
    plan = Plan()
    layout.build(plan)
    split_edges(plan)
    for key, corner, cut in layout.CHAMFERS:
        chamfer(plan, key, corner, cut)
    stuck = clear_lattice(plan, ENEMY_SECTORS, layout.FIXED_POINTS)
    if stuck:
        raise SystemExit(f"portal walls of enemy sectors that cannot be moved off the grid: {stuck}")
    for key in INNER_FIRST:
        s = plan.sectors[key]
        s.inner_first = True
        s.loops = s.loops[1:] + s.loops[:1]
    order = assign.table_order(list(plan.sectors.values()), 191)
    walls = checks.wall_list(plan, order)
    return plan, order, walls


def problems_of(plan, order, walls):
    """Every fault of the built level: geometry, the fixed facts, drawable surfaces, the design
    rules and the figures against the golden list."""
    problems = checks.check_geometry(plan, order, walls)
    problems += checks.check_fixed_facts(plan, order, walls, START, OBJECTS)
    problems += surfaces.check(order, walls)
    problems += design.check(plan, order, walls, OBJECTS, exempt_texels=START_WALLS)
    problems += figures.compare(figures.compute(plan, order, walls, START, OBJECTS),
                                figures.read_golden())
    return problems


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "krello.level")
    plan, order, walls = build()
    surfaces.assign(plan, order, walls)
    for name, value in figures.compute(plan, order, walls, START, OBJECTS):
        print(f"{name:40} {value}")
    problems = problems_of(plan, order, walls)
    for p in problems:
        print("PROBLEM", p)
    if problems:
        print("nothing written")
        return 1
    writer.write(out, plan, order, walls, START, OBJECTS, picture.enemy())
    areas.write(areas.areas_path(out), order)
    print("wrote", os.path.normpath(out), "and", os.path.normpath(areas.areas_path(out)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
