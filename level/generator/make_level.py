#!/usr/bin/env python3
"""Builds level/krello.level from the map in layout.py, checks it and prints its figures.
A level with any problem is reported and not written.

The level's rules live in the C++ programs, which this generator runs on the source it writes:
krello-levelc checks the level as the build does, `krello-tool level stats` sets its figures
beside the golden list (level/krello.stats), and `krello-tool level walls` says which walls are
drawn, their openings and texels. So build them first.

Usage: make_level.py [--tools DIR] [output path]
  --tools DIR   the folder holding krello-levelc and krello-tool (default: $KRELLO_TOOLS, or
                build/tools of this checkout)
  output path   default: ../krello.level beside this folder; the level's named areas go
                beside it (areas.py: krello.level -> krello.areas)
"""
import argparse
import os
import shutil
import sys
import tempfile

import areas
import assign
import checks
import design
import layout
import picture
import surfaces
import writer
from geometry import Plan, chamfer, clear_lattice, split_edges
from programs import ProgramError, Programs

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "krello.stats")

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

# The start ledge's walls have repeats of their own, not square texels: the texel rule passes
# them by.
START_WALLS = [("ledge_s", "ledge_w"), ("ledge_w", "ledge_nw"), ("ledge_nw", "ledge_ne"),
               ("ledge_ne", "ledge_se"), ("ledge_se", "ledge_lip"), ("ledge_lip", "ledge_s")]

# The sectors the enemies stand in.
ENEMY_SECTORS = sorted({key for kind, _x, _y, key in OBJECTS if kind in (9, 10)})

# Sectors whose pillar loop is written before their outer wall loop.
INNER_FIRST = ["chapel", "balcony", "cellar_hall", "barracks", "southhall"]


def build():
    """The map laid out: its sectors in table order and their walls, not yet compiled."""
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


def compiled(programs, work, name, plan, order, walls, start=START, objects=OBJECTS):
    """Writes the level source as it stands, has the compiler say what each wall shows, and adds
    that to the walls; returns the source's path."""
    source = os.path.join(work, name)
    writer.write(source, plan, order, walls, start, objects, picture.enemy())
    checks.link(walls, programs.walls(source))
    return source


def dress(programs, work, plan, order, walls, start=START, objects=OBJECTS):
    """Gives the walls their surfaces: a first compile in a plain look tells which walls are
    drawn and how long they are, then the surfaces are chosen and the level compiled again.
    Returns the finished source's path."""
    surfaces.draft(walls)
    compiled(programs, work, "draft.level", plan, order, walls, start, objects)
    surfaces.assign(order, walls)
    return compiled(programs, work, "krello.level", plan, order, walls, start, objects)


def problems_of(programs, work, source, plan, order, walls, golden=GOLDEN):
    """Every fault of the finished level: the compiler's checks, the figures against the golden
    list, the map's own layout, the facts this level keeps, and the design rules. Returns the
    problems and the figures, (name, value) in the order `level stats` prints them."""
    figures = programs.figures(source, golden)
    problems = programs.violations(source, work)
    problems += [f"{name} is {actual}, wanted {expected}"
                 for name, actual, expected, meets in figures if not meets]
    problems += checks.check_layout(plan, order, walls)
    problems += checks.check_fixed_facts(plan, order, walls, START, OBJECTS)
    problems += design.check(plan, order, walls, OBJECTS, exempt_texels=START_WALLS)
    problems += design.floor_ramps(plan, order)
    return problems, [(name, actual) for name, actual, _expected, _meets in figures]


def main(argv=None):
    parser = argparse.ArgumentParser(description="Builds, checks and writes the level.")
    parser.add_argument("--tools", metavar="DIR", help="the folder holding krello-levelc and krello-tool")
    parser.add_argument("out", nargs="?", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "krello.level"))
    args = parser.parse_args(argv)
    programs = Programs(args.tools)
    plan, order, walls = build()
    with tempfile.TemporaryDirectory() as work:
        try:
            source = dress(programs, work, plan, order, walls)
            problems, figures = problems_of(programs, work, source, plan, order, walls)
        except ProgramError as e:
            problems, figures = e.lines, []
        for name, value in figures:
            print(f"{name:40} {value}")
        wide = design.wide_openings(plan, order, walls)
        print(f"{'sector pairs joined by over 2048 portal':40} {len(wide)}: " + ", ".join(
            f"{order[i].key}/{order[j].key} {n}" for n, i, j in wide))
        for p in problems:
            print("PROBLEM", p)
        if problems:
            print("nothing written")
            return 1
        shutil.copyfile(source, args.out)
    areas.write(areas.areas_path(args.out), order)
    print("wrote", os.path.normpath(args.out), "and", os.path.normpath(areas.areas_path(args.out)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
