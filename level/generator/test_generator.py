"""Tests of the level generator: run with  python3 -m unittest discover level/generator
They run the C++ level programs of a build (KRELLO_TOOLS, or build/tools of this checkout)."""
import collections
import math
import os
import shutil
import tempfile
import unittest
import unittest.mock

import areas
import assign
import checks
import design
import make_level
import picture
import surfaces
from geometry import Plan, chamfer, clear_lattice, segments_cross, split_edges
from programs import Programs

_programs = []


def programs():
    if not _programs:
        _programs.append(Programs())
    return _programs[0]


class Compiling(unittest.TestCase):
    """A test that compiles its small levels in a folder of its own."""

    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.work)

    def compile(self, plan, order, walls, objects=()):
        """Compiles the map in a plain look, so that its walls know their portals."""
        surfaces.draft(walls)
        make_level.compiled(programs(), self.work, "plain.level", plan, order, walls,
                            start=(0, 0, 0, 0, 0), objects=list(objects))

    def dress(self, plan, order, walls, objects=()):
        """Gives the map its surfaces, compiled again with them."""
        return make_level.dress(programs(), self.work, plan, order, walls,
                                start=(0, 0, 0, 0, 0), objects=list(objects))


def indexed(plan):
    order = list(plan.sectors.values())
    for i, s in enumerate(order):
        s.index = i
    return order, checks.wall_list(plan, order)


def two_rooms(second_top=0):
    """A 4x4 room and a 2x2 room against its east side, starting `second_top` down."""
    plan = Plan()
    plan.add("big", "big", [plan.rect("big", 0, 0, 4096, 4096)], -8192, 0)
    plan.add("small", "small", [plan.rect("small", 4096, second_top, 6144, second_top + 2048)],
             -8192, 1024)
    split_edges(plan)
    return (plan, *indexed(plan))


class EdgesAndPortals(Compiling):
    def test_a_room_touching_part_of_a_wall_splits_it_into_a_portal(self):
        plan, order, walls = two_rooms(second_top=1024)
        self.compile(plan, order, walls)
        big = [w for w in walls if w["s"].key == "big"]
        self.assertEqual(len(big), 6)       # the east wall is now three walls
        portals = [w for w in walls if w["otherWall"] >= 0]
        self.assertEqual(len(portals), 2)
        a, b = portals
        self.assertEqual((a["a"], a["b"]), (b["b"], b["a"]))
        self.assertEqual(walls[a["otherWall"]]["otherWall"], walls.index(a))
        self.assertEqual(checks.check_layout(plan, order, walls), [])

    def test_rooms_that_only_share_a_corner_get_no_portal(self):
        plan, order, walls = two_rooms(second_top=4096)
        self.compile(plan, order, walls)
        self.assertTrue(all(w["otherWall"] < 0 for w in walls))

    def test_overlapping_rooms_are_reported(self):
        plan = Plan()
        plan.add("a", "a", [plan.rect("a", 0, 0, 4096, 4096)], -8192, 0)
        plan.add("b", "b", [plan.rect("b", 2048, 2048, 6144, 6144)], -8192, 0)
        split_edges(plan)
        order, walls = indexed(plan)
        problems = checks.check_layout(plan, order, walls)
        self.assertTrue(any("cross" in p for p in problems))
        self.assertTrue(any("inside" in p for p in problems))

    def test_crossing_and_overlap_tests(self):
        self.assertTrue(segments_cross((0, 0), (10, 10), (0, 10), (10, 0)))
        self.assertTrue(segments_cross((0, 0), (10, 0), (5, 0), (15, 0)))        # overlap
        self.assertTrue(segments_cross((0, 0), (10, 0), (0, 0), (4, 0)))         # shared end
        self.assertFalse(segments_cross((0, 0), (10, 0), (10, 0), (20, 0)))      # end to end
        self.assertFalse(segments_cross((0, 0), (10, 0), (10, 0), (10, 10)))     # corner
        self.assertTrue(segments_cross((0, 0), (10, 0), (5, 0), (5, 10)))        # T-junction
        self.assertFalse(segments_cross((0, 0), (10, 0), (10, 0), (0, 0)))      # one edge

    def test_a_cut_corner_adds_one_wall_and_refuses_to_meet_a_point(self):
        plan = Plan()
        plan.add("r", "r", [plan.rect("r", 0, 0, 1024, 1024)], -8192, 0)
        chamfer(plan, "r", "r_ne", 256)
        self.assertEqual(len(plan.sectors["r"].loops[0]), 5)
        self.assertIn((768, 0), plan.by_coord)
        self.assertIn((1024, 256), plan.by_coord)
        with self.assertRaises(ValueError):
            chamfer(plan, "r", "r_nw", 768)


class TableOrder(unittest.TestCase):
    def test_pick_finds_an_exact_wall_total_or_refuses(self):
        plan = Plan()
        for k, n in enumerate([4, 5, 6, 4, 8]):
            pts = [plan.pt(f"p{k}_{i}", 10000 * k + i, (i * i) % 7) for i in range(n)]
            plan.add(f"s{k}", "s", [pts], -8192, 0)
        pool = list(plan.sectors.values())
        got = assign.pick(pool, 2, 12)
        self.assertEqual(sum(assign.walls_of(s) for s in got), 12)
        self.assertEqual(len(got), 2)
        with self.assertRaises(SystemExit):
            assign.pick(pool, 2, 7)


class ShippedLevel(unittest.TestCase):
    """The level as make_level.py builds it: dressed, compiled and checked by the C++ programs."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp()
        cls.plan, cls.order, cls.walls = make_level.build()
        cls.source = make_level.dress(programs(), cls.work, cls.plan, cls.order, cls.walls)
        with open(cls.source) as f:
            cls.lines = [l for l in (l.split("#")[0].split() for l in f) if l]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def problems(self, golden=make_level.GOLDEN):
        return make_level.problems_of(programs(), self.work, self.source, self.plan, self.order,
                                      self.walls, golden)[0]

    def test_every_rule_and_figure_holds_and_a_figure_off_its_golden_line_is_reported(self):
        self.assertEqual(self.problems(), [])
        golden = os.path.join(self.work, "other.stats")
        with open(make_level.GOLDEN) as f:
            text = f.read().replace("portal walls: 726", "portal walls: 728")
        with open(golden, "w") as f:
            f.write(text)
        self.assertEqual(self.problems(golden), ["portal walls is 726, wanted 728"])

    def test_no_colour_ramp_paves_most_of_the_floor(self):
        shares = design.floor_ramp_shares(self.plan, self.order)
        self.assertAlmostEqual(sum(shares.values()), 1.0)
        self.assertLessEqual(max(shares.values()), design.RAMP_SHARE)
        yard = self.plan.sectors["westyard"]
        old, yard.ftex = yard.ftex, self.plan.sectors["court"].ftex
        try:
            self.assertEqual([p.split(" paves")[0] for p in self.problems()],
                             ["colour ramp 3"])
        finally:
            yard.ftex = old

    def test_wide_openings_count_pairs_once_and_leave_stairs_and_the_courtyard_aside(self):
        wide = design.wide_openings(self.plan, self.order, self.walls)
        pairs = [(self.order[i].key, self.order[j].key) for _n, i, j in wide]
        self.assertEqual(len(pairs), len(set(pairs)))
        self.assertIn(("hut2", "westyard"), pairs)          # a hut open along its whole side
        keys = {k for pair in pairs for k in pair}
        # the courtyard and the hall are left aside, the trench's doors are narrow
        self.assertFalse(keys & {"court", "hall", "stairA0", "trench", "store"})
        # rooms that meet by a door, not along a whole side
        doors = [("guardroom", "barracks"), ("warren_hall", "gallery"), ("cloister0", "westyard"),
                 ("warren_well", "stalls_long"), ("southyard", "westyard"), ("cloister1", "hut1"),
                 ("easthall0", "eastroom"), ("easthall2", "eastroom"), ("hut0", "westyard"),
                 ("hut1", "westyard"), ("hut3", "westyard")]
        self.assertFalse({frozenset(d) for d in doors} & {frozenset(p) for p in pairs})
        self.assertTrue(all(n > design.WIDE_OPENING for n, _i, _j in wide))

    def test_a_moved_floor_or_lost_portal_is_reported(self):
        plan, order, walls = self.plan, self.order, self.walls
        order[140].floor = 1024
        found = checks.check_fixed_facts(plan, order, walls, make_level.START, make_level.OBJECTS)
        order[140].floor = 0
        self.assertTrue(any("sector 140 floor" in p for p in found))
        walls[830]["otherWall"] = -1
        found = checks.check_fixed_facts(plan, order, walls, make_level.START, make_level.OBJECTS)
        walls[830]["otherWall"] = 822
        self.assertTrue(any("830" in p for p in found))

    def test_sectors_come_in_order_and_their_loops_hold_every_wall(self):
        sectors = [int(l[1]) for l in self.lines if l[0] == "sector"]
        self.assertEqual(sectors, list(range(191)))
        loops = [l[1:] for l in self.lines if l[0] == "loop"]
        self.assertEqual(len(loops), 212)
        self.assertEqual(sum(len(l) for l in loops), 1138)

    def test_every_point_is_defined_once_before_use_and_every_wall_line_names_a_wall(self):
        points = [l[1] for l in self.lines if l[0] == "point"]
        self.assertEqual(len(points), len(set(points)))
        known = set(points)
        edges = {(w["a"], w["b"]) for w in self.walls}
        for l in self.lines:
            if l[0] == "loop":
                self.assertTrue(set(l[1:]) <= known)
            if l[0] == "wall":
                self.assertIn((l[1], l[2]), edges)

    def test_objects_and_picture(self):
        objects = [l for l in self.lines if l[0] == "object"]
        self.assertEqual([int(o[1]) for o in objects], list(range(23)))
        self.assertEqual([o for o in objects if "timer" in o], [objects[8], objects[9]])
        start = self.lines.index(["picture"])
        self.assertEqual(self.lines[start + 129], ["end"])
        self.assertTrue(all(len(r[0]) == 64 for r in self.lines[start + 1:start + 129]))


class NamedAreas(unittest.TestCase):
    def test_first_area_that_takes_a_sector_keeps_it_and_the_rest_stand_alone(self):
        S = collections.namedtuple("S", "key area index")
        order = [S("hall", "the hall", 0), S("hallway0", "a way, 1 of 2", 1),
                 S("hallway1", "a way, 2 of 2", 2), S("niche", "a niche", 3)]
        rules = [("the ways", ["hallway*"]), ("the hall", ["hall*"]), ("unused", ["cellar"])]
        self.assertEqual(areas.group(order, rules),
                         [("the ways", [1, 2]), ("the hall", [0]), ("a niche", [3])])
        self.assertEqual(areas.areas_path("x/krello.level"), "x/krello.areas")
        self.assertEqual(areas.areas_path("/tmp/tmp.abc"), "/tmp/tmp.abc.areas")

    def test_every_sector_of_the_level_is_in_exactly_one_named_area(self):
        _plan, order, _walls = make_level.build()
        found = [i for _name, sectors in areas.group(order) for i in sectors]
        self.assertEqual(sorted(found), list(range(len(order))))
        self.assertEqual([n for n, _ in areas.group(order)], [n for n, _ in areas.AREAS])


class Writing(unittest.TestCase):
    def test_a_level_with_a_problem_is_not_written(self):
        out = os.path.join(tempfile.mkdtemp(), "out.level")
        with unittest.mock.patch.object(make_level, "problems_of", return_value=(["bad"], [])), \
                unittest.mock.patch("sys.stdout"):
            self.assertEqual(make_level.main([out]), 1)
        self.assertFalse(os.path.exists(out))

    def test_missing_programs_are_named_in_one_line(self):
        with self.assertRaises(SystemExit) as e:
            Programs("/nonexistent")
        self.assertIn("/nonexistent/krello-levelc is missing", str(e.exception))
        self.assertNotIn("\n", str(e.exception))


def rooms(*specs):
    """Rectangular rooms (key, x0, y0, x1, y1, floor, ceiling[, settings]), joined where they
    touch."""
    plan = Plan()
    for key, x0, y0, x1, y1, floor, ceil, *theme in specs:
        plan.add(key, key, [plan.rect(key, x0, y0, x1, y1)], ceil, floor, **(theme[0] if theme else {}))
    split_edges(plan)
    return (plan, *indexed(plan))


class DesignRules(Compiling):
    """Each case breaks one rule in a small level, and the rule names it."""

    def problems(self, *specs, objects=(), edit=None):
        plan, order, walls = rooms(*specs)
        self.dress(plan, order, walls)
        if edit:
            edit(walls)
        return " | ".join(design.check(plan, order, walls, objects))

    def test_openings(self):
        for ceiling, (floor_b, ceiling_b), complaint in [
                (-16384, (-20480, -28672), "shows no opening"),
                (-16384, (-4096, -8192), "opens only 4096 high"),
                (-16384, (-6144, -20480), "6144 sill"),              # reads as a window
                (-16384, (-2048, -16384), None),                    # a step
                (-16384, (13312, -8192), None),                     # a drop
                (-65536, (-6144, -65536), None)]:                   # a dais under a high roof
            b = ("b", 2048, 0, 4096, 2048, floor_b, ceiling_b)
            found = self.problems(("a", 0, 0, 2048, 2048, 0, ceiling), b)
            if complaint:
                self.assertIn(complaint, found, b)
            else:
                self.assertNotIn("portal", found, b)

    def test_walls_that_draw_black_or_misuse_the_door_or_hide_a_step(self):
        self.assertIn("nearly black", self.problems(("a", 0, 0, 2048, 2048, 0, -16384,
                                                      {"wtex": 5, "wshade": 40})))
        self.assertIn("door texture away", self.problems(("a", 0, 0, 2048, 512, 0, -16384,
                                                           {"door": True})))
        self.assertNotIn("door texture", self.problems(
            ("c", -1536, 0, 0, 512, 0, -16384), ("a", 0, 0, 512, 512, 0, -16384, {"door": True}),
            ("b", 512, 0, 2048, 512, 0, -16384)))

        def plain_riser(walls):
            for w in walls:
                w["texture"] = w["s"].wtex
        self.assertIn("riser like the walls", self.problems(
            ("a", 0, 0, 2048, 2048, 0, -16384), ("b", 2048, 0, 4096, 2048, -2048, -16384),
            edit=plain_riser))

    def test_enemy_sectors(self):
        def pen_and_way(way_floor=-2048, slant=1):
            plan = Plan()
            P = plan.pt
            plan.add("pen", "pen", [[P("a", 0, 0), P("b", 2048, 0), P("c", 2048 + slant, 2048),
                                     P("d", 0, 2048)]], -16384, 0)
            plan.add("way", "way", [[P("b", 2048, 0), P("e", 3072, 0), P("f", 3072, 2048),
                                     P("c", 2048 + slant, 2048)]], -16384, way_floor)
            return (plan, *indexed(plan))

        def problems(enemy, **shape):
            plan, order, walls = pen_and_way(**shape)
            self.dress(plan, order, walls)
            return " | ".join(design.check(plan, order, walls, [(10, *enemy, "pen")]))

        self.assertEqual(problems((1024, 1024)), "")
        self.assertIn("stands 48 from a wall", problems((2000, 1024)))
        self.assertIn("opens onto a drop", problems((1024, 1024), way_floor=4096))
        self.assertIn("a portal an enemy can stand on", problems((1024, 1024), slant=0))
        self.assertIn("narrows to 100", self.problems(("pen", 0, 0, 2048, 100, 0, -16384),
                                                      objects=[(10, 1024, 50, "pen")]))

    def test_an_acute_corner_of_an_enemy_sector_is_found_and_lattice_points_are_cleared(self):
        plan = Plan()
        plan.add("pen", "pen", [[plan.pt("a", 0, 0), plan.pt("b", 4096, 0),
                                 plan.pt("c", 0, 2048)]], -16384, 0)
        self.assertIn("acute corner at b", " ".join(design._enemy_shape(plan, plan.sectors["pen"])))
        plan, order, walls = rooms(("pen", 0, 0, 2048, 2048, 0, -16384),
                                   ("way", 2048, 0, 3072, 2048, 0, -16384))
        self.assertEqual(clear_lattice(plan, ["pen"], fixed=set()), [])
        way = plan.sectors["way"].loops[0]
        pen = plan.sectors["pen"].loops[0]
        shared = [(a, b) for a, b in zip(pen, pen[1:] + pen[:1]) if a in way and b in way]
        self.assertEqual(len(shared), 1)
        (x1, y1), (x2, y2) = (plan.points[n] for n in shared[0])
        self.assertEqual(math.gcd(abs(x2 - x1), abs(y2 - y1)), 1)


class EnemyPicture(unittest.TestCase):
    def test_figure_fills_its_frame_and_keeps_column_zero_empty(self):
        rows = picture.enemy()
        self.assertEqual(len(rows), 128)
        self.assertTrue(all(len(r) == 64 for r in rows))
        self.assertTrue(all(r[0] == 0 for r in rows))
        self.assertTrue(all(any(r) for r in rows))
        self.assertTrue(all(any(r[x] for r in rows) for x in range(1, 64)))
        self.assertLessEqual(max(max(r) for r in rows), 9)
        self.assertEqual(sum(map(sum, rows)), picture.TARGET_SUM)

    def test_hands_reach_the_edges_and_the_feet_the_bottom(self):
        rows = picture.enemy()
        arms = rows[50:70]
        self.assertTrue(any(r[1] for r in arms) and any(r[63] for r in arms))
        self.assertTrue(any(rows[127][20:32]) and any(rows[127][33:45]))
        self.assertTrue(any(rows[0][28:37]))
        self.assertFalse(any(rows[100][29:35]))          # a gap between the legs


class Surfaces(Compiling):
    def test_long_walls_get_coarser_rows_and_slivers_finer_so_texels_stay_square(self):
        plan, order, walls = rooms(("long", 0, 0, 40000, 31, 0, -16384))
        self.dress(plan, order, walls)
        self.assertEqual([w["repeatV"] for w in walls], [2, 32, 2, 32])
        for w in walls:
            self.assertTrue(0.7 <= w["texel_ratio"] <= 1.4, w)
        for repeat_v, square_u, fitted in [(16, 651.0, 2), (16, 127.0, 16), (8, 0.3, 32),
                                           (16, 0.71, 16), (3, 200.0, 1)]:
            self.assertEqual(surfaces.fitted_rows(repeat_v, square_u), fitted, (repeat_v, square_u))


if __name__ == "__main__":
    unittest.main()
