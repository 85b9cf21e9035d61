"""Structural checks of the built level (before it is written out): geometry and the fixed facts."""
import math
from collections import deque

from geometry import loop_sum, on_segment_strict, point_in_loop, segments_cross


def wall_list(plan, order):
    """Flattens the sectors (in table order) into walls with portal links.
    Each wall: dict(sector, a, b, loop_start, otherWall, nextSector)."""
    walls = []
    for si, s in enumerate(order):
        for l in s.loops:
            start = len(walls)
            for i, a in enumerate(l):
                walls.append({"sector": si, "a": a, "b": l[(i + 1) % len(l)],
                              "loop_start": start, "s": s})
    by_edge = {}
    for wi, w in enumerate(walls):
        e = (w["a"], w["b"])
        if e in by_edge:
            raise SystemExit(f"edge {e} is used twice in the same direction "
                             f"(sectors {order[walls[by_edge[e]]['sector']].key} and {w['s'].key})")
        by_edge[e] = wi
    for wi, w in enumerate(walls):
        o = by_edge.get((w["b"], w["a"]))
        if o is not None and walls[o]["sector"] == w["sector"]:
            raise SystemExit(f"sector {w['s'].key} has a wall into itself at {w['a']}-{w['b']}")
        w["otherWall"] = -1 if o is None else o
        w["nextSector"] = -1 if o is None else walls[o]["sector"]
    return walls


def check_geometry(plan, order, walls):
    problems = []
    P = plan.points
    for s in order:
        outer = 0
        for li, l in enumerate(s.loops):
            area = loop_sum([P[n] for n in l])
            if area > 0:
                outer += 1
            elif area == 0:
                problems.append(f"{s.key}: loop {li} has no area")
        if outer != 1:
            problems.append(f"{s.key}: {outer} outer loops")
        if s.ceil >= s.floor or s.ceil % 1024 or s.floor % 1024:
            problems.append(f"{s.key}: bad heights {s.ceil} {s.floor}")
    # No two walls cross or overlap (grid buckets keep this quick).
    segs = [(P[w["a"]], P[w["b"]]) for w in walls]
    cell = 4096
    buckets = {}
    for i, (a, b) in enumerate(segs):
        for gx in range(min(a[0], b[0]) // cell, max(a[0], b[0]) // cell + 1):
            for gy in range(min(a[1], b[1]) // cell, max(a[1], b[1]) // cell + 1):
                buckets.setdefault((gx, gy), []).append(i)
    seen = set()
    for items in buckets.values():
        for ii in range(len(items)):
            for jj in range(ii + 1, len(items)):
                i, j = items[ii], items[jj]
                if (i, j) in seen:
                    continue
                seen.add((i, j))
                if segments_cross(*segs[i], *segs[j]):
                    problems.append(f"walls cross: {walls[i]['s'].key} {walls[i]['a']}-"
                                    f"{walls[i]['b']} and {walls[j]['s'].key} "
                                    f"{walls[j]['a']}-{walls[j]['b']}")
    # No sector's corner lies inside another sector.
    for s in order:
        cs = [[P[n] for n in l] for l in s.loops]
        xs = [c[0] for c in cs[0]]
        ys = [c[1] for c in cs[0]]
        for t in order:
            if t is s:
                continue
            for l in t.loops:
                for n in l:
                    p = P[n]
                    if not (min(xs) < p[0] < max(xs) and min(ys) < p[1] < max(ys)):
                        continue
                    if inside_sector(p, plan, s):
                        problems.append(f"corner {n} of {t.key} lies inside {s.key}")
    return problems


def inside_sector(p, plan, s):
    P = plan.points
    for l in s.loops:
        cs = [P[n] for n in l]
        for i in range(len(cs)):
            if p == cs[i] or on_segment_strict(p, cs[i], cs[(i + 1) % len(cs)]):
                return False
    outer = [l for l in s.loops if loop_sum([P[n] for n in l]) > 0][0]
    if not point_in_loop(p, [P[n] for n in outer]):
        return False
    for l in s.loops:
        if l is not outer and point_in_loop(p, [P[n] for n in l]):
            return False
    return True


def reachable(order, walls, start):
    seen = {start}
    todo = deque([start])
    links = {}
    for w in walls:
        if w["nextSector"] >= 0:
            links.setdefault(w["sector"], set()).add(w["nextSector"])
    while todo:
        s = todo.popleft()
        for n in links.get(s, ()):
            if n not in seen:
                seen.add(n)
                todo.append(n)
    return seen


def wall_len(plan, w):
    (x1, y1), (x2, y2) = plan.points[w["a"]], plan.points[w["b"]]
    return math.hypot(x2 - x1, y2 - y1)


def eligible_for_hidden_slot(order, w):
    """A portal wall shows no upper or lower part when the sector behind it has
    neither a lower ceiling nor a higher floor."""
    if w["nextSector"] < 0:
        return False
    me, nx = order[w["sector"]], order[w["nextSector"]]
    return nx.ceil <= me.ceil and nx.floor >= me.floor


def check_fixed_facts(plan, order, walls, start, objects):
    out = []
    by_key = {s.key: s for s in order}
    first = []
    n = 0
    for s in order:
        first.append(n)
        n += sum(len(l) for l in s.loops)

    def expect(cond, msg):
        if not cond:
            out.append(msg)

    x, y, z, angle, sec = start
    expect(inside_sector((x, y), plan, order[sec]), "the start is not inside its sector")
    for i, (kind, ox, oy, key) in enumerate(objects):
        s = by_key[key]
        expect(inside_sector((ox, oy), plan, s), f"object {i} is not inside {key}")
    want = {"hall": 140, "court": 128, "crypt": 164, "balcony": 156, "cellar": 158,
            "tower": 148, "westterrace": 129, "armory": 154, "start": 151, "shaft": 150}
    for key, idx in want.items():
        expect(by_key[key].index == idx, f"{key} has index {by_key[key].index}, wanted {idx}")
    floors = {128: 9216, 140: 0, 154: -10240, 156: -43008, 158: 8192, 164: 8192,
              148: -46080, 129: -8192}
    for idx, f in floors.items():
        expect(order[idx].floor == f, f"sector {idx} floor {order[idx].floor}, wanted {f}")
    # The start ledge and its lip into the shaft.
    expect(first[151] == 825 and first[140] == 736, "start or hall begins at the wrong wall")
    rows = [(8928, 40928), (6272, 40000), (7200, 38272), (10848, 39680), (10080, 41344),
            (9856, 41280)]
    for k, p in enumerate(rows):
        expect(plan.points[walls[825 + k]["a"]] == p, f"wall {825 + k} starts at the wrong point")
    expect(walls[830]["otherWall"] == 822 and walls[830]["nextSector"] == 150,
           "wall 830 does not lead to wall 822")
    expect(all(walls[825 + k]["otherWall"] < 0 for k in range(5)), "the ledge has other portals")
    expect(order[150].ceil == -465920 and order[150].floor == -35840, "shaft heights")
    # The hall: one outer loop of 16 walls with 7 portals, three block loops of 6.
    hall = order[140]
    expect([len(l) for l in hall.loops] == [16, 6, 6, 6], "hall loops")
    outer = walls[736:752]
    expect(sum(w["otherWall"] >= 0 for w in outer) == 7, "hall outer portals")
    expect(all(w["nextSector"] in (72, 73, 74, 75, 12, 13) for w in walls[752:770]),
           "hall inner walls must all lead into the blocks")
    for idx in (72, 73, 74, 75, 12, 13):
        expect(order[idx].floor in (-4096, -7168), f"block {idx} floor")
    court = walls[first[128]:first[128] + 8]
    expect(sum(len(l) for l in order[128].loops) == 8 and all(w["nextSector"] >= 0 for w in court)
           and len({w["nextSector"] for w in court}) == 7, "the courtyard's eight portals")
    expect(order[128].ceil == -465920 and order[128].ctex == 0x55 and order[128].cshade == 127,
           "the courtyard sky")
    for k in range(8):
        s = order[14 + k]
        expect(sum(len(l) for l in s.loops) == 4 and s.floor == -8192 + 2048 * k
               and s.ceil == -32768 + 2048 * k, f"stair {14 + k}")
        if k < 7:
            expect(s.cshade == 7 - k, f"stair {14 + k} ceiling shade")
            nxt = {w["nextSector"] for w in walls[first[14 + k]:first[14 + k] + 4]}
            expect(15 + k in nxt, f"stair {14 + k} does not lead to {15 + k}")
    seen = reachable(order, walls, 151)
    expect(len(seen) == len(order), f"{len(order) - len(seen)} sectors cannot be reached")
    for s in order:
        expect(any(w["otherWall"] >= 0 for w in walls[first[s.index]:first[s.index] +
                                                        sum(len(l) for l in s.loops)]),
               f"{s.key} has no portal")
    return out
