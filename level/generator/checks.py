"""The generator's own checks of its map, beyond what makes a level valid (krello-levelc says
that): no two rooms overlap, and the places, heights and portals this level keeps fixed."""
from geometry import loop_sum, on_segment_strict, point_in_loop, segments_cross


def wall_list(plan, order):
    """Flattens the sectors (in table order) into walls, as the compiler lays them out.
    Each wall: dict(sector, a, b, s); link() adds what the compiled level says of it."""
    walls = []
    for si, s in enumerate(order):
        for l in s.loops:
            for i, a in enumerate(l):
                walls.append({"sector": si, "a": a, "b": l[(i + 1) % len(l)], "s": s})
    return walls


def link(walls, facts):
    """Adds to each wall what the compiled level says of it (programs.Programs.walls): the
    portal behind it, whether it is drawn, its opening, length and texel shape."""
    if len(facts) != len(walls):
        raise SystemExit(f"the compiled level has {len(facts)} walls, the map {len(walls)}")
    for i, (w, f) in enumerate(zip(walls, facts)):
        if f["sector"] != w["sector"]:
            raise SystemExit(f"wall {i} lies in sector {f['sector']} of the compiled level, "
                             f"not in {w['s'].key}")
        w.update(f)


def check_layout(plan, order, walls):
    """Rooms do not overlap: no wall crosses or runs along a wall of another sector, and no
    sector's corner lies inside another sector. (Within a sector, the compiler's checks hold.)"""
    problems = []
    P = plan.points
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
                if (i, j) in seen or walls[i]["sector"] == walls[j]["sector"]:
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
    return out
