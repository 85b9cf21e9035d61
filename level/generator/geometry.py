"""Plane geometry for the level generator: points, sectors, edge splitting and checks."""


class Sector:
    """One sector as drawn: loops of point names plus surface settings."""

    def __init__(self, key, area, loops, ceil, floor, **kw):
        self.key = key            # stable name used while building
        self.area = area          # human-readable area comment
        self.loops = [list(l) for l in loops]   # loops[0] is the outer loop
        self.ceil = ceil
        self.floor = floor
        self.index = kw.pop("index", None)
        self.inner_first = kw.pop("inner_first", False)
        self.ctex = kw.pop("ctex", 0)
        self.cshade = kw.pop("cshade", 0)
        self.ftex = kw.pop("ftex", 0)
        self.fshade = kw.pop("fshade", 0)
        self.falloff = kw.pop("falloff", 0)
        self.wtex = kw.pop("wtex", 0)
        self.wshade = kw.pop("wshade", 0)
        self.wrepv = kw.pop("wrepv", 16)
        self.door = kw.pop("door", False)   # a doorway: its solid walls are the door's jambs
        self.overrides = {}       # (p1, p2) -> dict of wall settings
        if kw:
            raise ValueError(f"unknown sector settings {sorted(kw)}")


class Plan:
    """The whole level as it is being built."""

    def __init__(self):
        self.points = {}          # name -> (x, y)
        self.by_coord = {}        # (x, y) -> name
        self.sectors = {}         # key -> Sector

    def pt(self, name, x, y):
        """Returns the name of the point at (x, y), creating it under `name` if new."""
        c = (int(x), int(y))
        if c in self.by_coord:
            return self.by_coord[c]
        base, n = name, 2
        while name in self.points:
            name = f"{base}_{n}"
            n += 1
        self.points[name] = c
        self.by_coord[c] = name
        return name

    def rect(self, tag, x0, y0, x1, y1):
        """Outer loop of an axis-aligned rectangle (inside on the right, +y down)."""
        return [self.pt(f"{tag}_nw", x0, y0), self.pt(f"{tag}_ne", x1, y0),
                self.pt(f"{tag}_se", x1, y1), self.pt(f"{tag}_sw", x0, y1)]

    def add(self, key, area, loops, ceil, floor, **kw):
        if key in self.sectors:
            raise ValueError(f"sector {key} defined twice")
        s = Sector(key, area, loops, ceil, floor, **kw)
        self.sectors[key] = s
        return s

    def xy(self, name):
        return self.points[name]


def loop_sum(coords):
    s = 0
    n = len(coords)
    for i in range(n):
        x1, y1 = coords[i]
        x2, y2 = coords[(i + 1) % n]
        s += x1 * y2 - x2 * y1
    return s


def on_segment_strict(p, a, b):
    """True when p lies on segment ab, strictly between its ends."""
    (px, py), (ax, ay), (bx, by) = p, a, b
    if (bx - ax) * (py - ay) - (by - ay) * (px - ax) != 0:
        return False
    if p == a or p == b:
        return False
    return min(ax, bx) <= px <= max(ax, bx) and min(ay, by) <= py <= max(ay, by)


def split_edges(plan):
    """Inserts every used point that lies inside an edge into that edge, so that
    neighbouring sectors meet vertex to vertex and their shared edges pair up."""
    used = set()
    for s in plan.sectors.values():
        for l in s.loops:
            used.update(l)
    coords = [(plan.points[n], n) for n in used]
    for s in plan.sectors.values():
        new_loops = []
        for l in s.loops:
            out = []
            for i, a in enumerate(l):
                b = l[(i + 1) % len(l)]
                pa, pb = plan.points[a], plan.points[b]
                out.append(a)
                lo_x, hi_x = min(pa[0], pb[0]), max(pa[0], pb[0])
                lo_y, hi_y = min(pa[1], pb[1]), max(pa[1], pb[1])
                inside = [(c, n) for c, n in coords
                          if lo_x <= c[0] <= hi_x and lo_y <= c[1] <= hi_y
                          and on_segment_strict(c, pa, pb)]
                inside.sort(key=lambda cn: (cn[0][0] - pa[0]) ** 2 + (cn[0][1] - pa[1]) ** 2)
                out.extend(n for _, n in inside)
            new_loops.append(out)
        s.loops = new_loops


def point_in_loop(p, coords):
    """Even-odd test; points on the boundary count as outside."""
    x, y = p
    inside = False
    n = len(coords)
    for i in range(n):
        a, b = coords[i], coords[(i + 1) % n]
        if p == a or on_segment_strict(p, a, b):
            return False
        (x1, y1), (x2, y2) = a, b
        if (y1 > y) != (y2 > y):
            xc = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xc:
                inside = not inside
    return inside


def segments_cross(a, b, c, d):
    """True when segments ab and cd share any point other than a common end point,
    or overlap along a line."""
    def orient(p, q, r):
        v = (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0])
        return (v > 0) - (v < 0)

    def within(p, q, r):
        return min(p[0], q[0]) <= r[0] <= max(p[0], q[0]) and \
            min(p[1], q[1]) <= r[1] <= max(p[1], q[1])

    o1, o2, o3, o4 = orient(a, b, c), orient(a, b, d), orient(c, d, a), orient(c, d, b)
    shared = {a, b} & {c, d}
    if o1 == o2 == o3 == o4 == 0:
        if {a, b} == {c, d}:
            return False
        # Collinear: overlapping unless they only touch at one shared end.
        if not (within(a, b, c) or within(a, b, d) or within(c, d, a) or within(c, d, b)):
            return False
        if shared and len(shared) == 1:
            s = shared.pop()
            others = [p for p in (a, b, c, d) if p != s]
            # They overlap if the other two ends lie on the same side of the shared end.
            v1 = (others[0][0] - s[0], others[0][1] - s[1])
            v2 = (others[1][0] - s[0], others[1][1] - s[1])
            return v1[0] * v2[0] + v1[1] * v2[1] > 0
        return True
    if shared:
        return False
    if o1 != o2 and o3 != o4:
        return True
    if o1 == 0 and within(a, b, c):
        return True
    if o2 == 0 and within(a, b, d):
        return True
    if o3 == 0 and within(c, d, a):
        return True
    if o4 == 0 and within(c, d, b):
        return True
    return False


def chamfer(plan, key, corner, cut):
    """Cuts a square corner of a sector off along a short diagonal wall."""
    s = plan.sectors[key]
    for l in s.loops:
        if corner not in l:
            continue
        i = l.index(corner)
        prev, nxt = plan.points[l[i - 1]], plan.points[l[(i + 1) % len(l)]]
        x, y = plan.points[corner]

        def toward(p):
            dx = (p[0] > x) - (p[0] < x)
            dy = (p[1] > y) - (p[1] < y)
            if dx and dy:
                raise ValueError(f"{key}: corner {corner} is not square")
            return (x + dx * cut, y + dy * cut)

        if toward(prev) in plan.by_coord or toward(nxt) in plan.by_coord:
            raise ValueError(f"{key}: cutting {corner} would meet another point")
        a = plan.pt(f"{corner}_a", *toward(prev))
        b = plan.pt(f"{corner}_b", *toward(nxt))
        l[i:i + 1] = [a, b]
        return
    raise ValueError(f"{key} has no corner {corner}")


def chamfer_candidates(plan, keys_to_skip):
    """Square corners that belong to one sector only, between two walls of no other sector."""
    users = {}
    edges = set()
    for s in plan.sectors.values():
        for l in s.loops:
            for i, n in enumerate(l):
                users.setdefault(n, set()).add(s.key)
                edges.add((n, l[(i + 1) % len(l)]))
    out = []
    for s in plan.sectors.values():
        if s.key in keys_to_skip or sum(len(l) for l in s.loops) == 4:
            continue
        l = s.loops[0]
        for i, n in enumerate(l):
            a, b = l[i - 1], l[(i + 1) % len(l)]
            if len(users[n]) == 1 and (n, a) not in edges and (b, n) not in edges:
                out.append((s.key, n))
    return out


def clear_lattice(plan, keys, fixed):
    """Moves corners by one unit until no portal wall of the outer loops of the sectors `keys`
    has an integer point strictly inside it (the run of the wall has no common divisor).
    Positions are integers, so nothing can then come to rest exactly on such a wall. Corners
    named in `fixed` stay where they are. Returns the walls it could not clear."""
    from math import gcd
    edges = {}
    for s in plan.sectors.values():
        for l in s.loops:
            for i, a in enumerate(l):
                edges[(a, l[(i + 1) % len(l)])] = s.key
    stuck = []
    for _ in range(8):
        stuck = []
        for key in keys:
            s = plan.sectors[key]
            outer = max(s.loops, key=lambda l: loop_sum([plan.points[n] for n in l]))
            for i, a in enumerate(outer):
                b = outer[(i + 1) % len(outer)]
                if (b, a) not in edges:
                    continue
                (x1, y1), (x2, y2) = plan.points[a], plan.points[b]
                if gcd(abs(x2 - x1), abs(y2 - y1)) == 1:
                    continue
                movable = [n for n in (b, a) if n not in fixed]
                if not movable:
                    stuck.append((key, a, b))
                    continue
                n = movable[0]
                x, y = plan.points[n]
                step = (1, 0) if x1 == x2 else (0, 1)
                del plan.by_coord[(x, y)]
                plan.points[n] = (x + step[0], y + step[1])
                plan.by_coord[plan.points[n]] = n
        if not stuck and all(
                gcd(abs(plan.points[b][0] - plan.points[a][0]),
                    abs(plan.points[b][1] - plan.points[a][1])) == 1
                for key in keys for l in [max(plan.sectors[key].loops,
                                              key=lambda l: loop_sum([plan.points[n] for n in l]))]
                for a, b in zip(l, l[1:] + l[:1]) if (b, a) in edges):
            break
    return stuck
