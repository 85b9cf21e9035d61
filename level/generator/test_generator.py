"""Tests of the level generator: run with  python3 -m unittest discover level/generator"""
import unittest

import assign
import checks
import make_level
import picture
from geometry import Plan, chamfer, segments_cross, split_edges


def two_rooms(second_top=0):
    """A 4x4 room and a 2x2 room against its east side, starting `second_top` down."""
    plan = Plan()
    plan.add("big", "big", [plan.rect("big", 0, 0, 4096, 4096)], -8192, 0)
    plan.add("small", "small", [plan.rect("small", 4096, second_top, 6144, second_top + 2048)],
             -8192, 1024)
    split_edges(plan)
    order = list(plan.sectors.values())
    return plan, order, checks.wall_list(plan, order)


class EdgesAndPortals(unittest.TestCase):
    def test_a_room_touching_part_of_a_wall_splits_it_into_a_portal(self):
        plan, order, walls = two_rooms(second_top=1024)
        big = [w for w in walls if w["s"].key == "big"]
        self.assertEqual(len(big), 6)       # the east wall is now three walls
        portals = [w for w in walls if w["otherWall"] >= 0]
        self.assertEqual(len(portals), 2)
        a, b = portals
        self.assertEqual((a["a"], a["b"]), (b["b"], b["a"]))
        self.assertEqual(walls[a["otherWall"]]["otherWall"], walls.index(a))
        self.assertEqual(checks.check_geometry(plan, order, walls), [])

    def test_rooms_that_only_share_a_corner_get_no_portal(self):
        plan, order, walls = two_rooms(second_top=4096)
        self.assertTrue(all(w["otherWall"] < 0 for w in walls))
        self.assertEqual(checks.reachable(order, walls, 0), {0})

    def test_overlapping_rooms_and_backward_loops_are_reported(self):
        plan = Plan()
        plan.add("a", "a", [plan.rect("a", 0, 0, 4096, 4096)], -8192, 0)
        plan.add("b", "b", [plan.rect("b", 2048, 2048, 6144, 6144)], -8192, 0)
        plan.add("c", "c", [list(reversed(plan.rect("c", 8192, 0, 9216, 1024)))], -8192, 0)
        split_edges(plan)
        order = list(plan.sectors.values())
        problems = checks.check_geometry(plan, order, checks.wall_list(plan, order))
        self.assertTrue(any("cross" in p for p in problems))
        self.assertTrue(any("inside" in p for p in problems))
        self.assertTrue(any(p.startswith("c: 0 outer") for p in problems))

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
    @classmethod
    def setUpClass(cls):
        cls.plan, cls.order, cls.walls = make_level.build()

    def test_structure_and_fixed_facts_hold(self):
        plan, order, walls = self.plan, self.order, self.walls
        self.assertEqual(checks.check_geometry(plan, order, walls), [])
        self.assertEqual(checks.check_fixed_facts(plan, order, walls, make_level.START,
                                                  make_level.OBJECTS), [])

    def test_statistics_match_and_a_difference_is_reported(self):
        import surfaces
        surfaces.assign(self.plan, self.order, self.walls)
        self.assertEqual(surfaces.check(self.order, self.walls), [])
        st = checks.structure_stats(self.plan, self.order, self.walls)
        st.update(surfaces.stats(self.plan, self.order, self.walls))
        self.assertEqual(checks.compare(st), [])
        st["portal_walls"] += 2
        self.assertEqual(len(checks.compare(st)), 1)


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


class Surfaces(unittest.TestCase):
    def test_auto_repeat_rounds_half_up_and_clamps(self):
        import surfaces
        self.assertEqual(surfaces.auto_repeat_u(1024, 16), 1)
        self.assertEqual(surfaces.auto_repeat_u(1536, 16), 2)      # 1.5 rounds up
        self.assertEqual(surfaces.auto_repeat_u(31, 8), 1)         # never below 1
        self.assertEqual(surfaces.auto_repeat_u(200000, 16), 127)  # never above 127

    def test_a_hidden_slot_on_a_drawn_wall_is_reported(self):
        import surfaces
        plan, order, walls = two_rooms(second_top=1024)
        for w in walls:
            w["texture"] = 0x0E if w["otherWall"] >= 0 else 0x03
        # The small room's floor lies lower, so from there the big room shows a step up
        # that is drawn; from the big room nothing of the opening is drawn.
        problems = surfaces.check(order, walls)
        self.assertEqual(len(problems), 1)
        self.assertIn("of small", problems[0])


class WrittenFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        import os
        import surfaces
        import tempfile
        import writer
        plan, order, walls = make_level.build()
        surfaces.assign(plan, order, walls)
        fd, path = tempfile.mkstemp(suffix=".level")
        os.close(fd)
        writer.write(path, plan, order, walls, make_level.START, make_level.OBJECTS,
                     picture.enemy())
        with open(path) as f:
            cls.lines = [l.split("#")[0].split() for l in f]
        os.remove(path)
        cls.lines = [l for l in cls.lines if l]
        cls.walls = walls

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


class FixedFacts(unittest.TestCase):
    def test_a_moved_floor_or_lost_portal_is_reported(self):
        plan, order, walls = make_level.build()
        order[140].floor = 1024
        found = checks.check_fixed_facts(plan, order, walls, make_level.START, make_level.OBJECTS)
        self.assertTrue(any("sector 140 floor" in p for p in found))
        order[140].floor = 0
        walls[830]["otherWall"] = -1
        found = checks.check_fixed_facts(plan, order, walls, make_level.START, make_level.OBJECTS)
        self.assertTrue(any("830" in p for p in found))


if __name__ == "__main__":
    unittest.main()
