"""Rules of the level's look and play, beyond what the game needs to run: square texels,
openings that read, no wall drawn black, the door texture only at doorways, steps that read
as steps, and enemies that stay in their sectors. What each wall shows (drawn or not, its
opening, length and texel shape) is the compiled level's word (checks.link)."""
import math

from geometry import loop_sum
from surfaces import DOOR_SLOT, STEP

DROP = 12288              # the least fall that reads as a drop (the eye height and more)
PASSAGE = 8192            # the least opening a way through needs, so that it reads as one
WINDOW = 24576            # a sill under an opening lower than this reads as a window
# The median texel of each surface texture as the game generates it (krello-tool textures
# dump): a wall whose shade and distance darkening reach this draws black.
TEXEL_MEDIAN = [26, 43, 39, 39, 42, 38, 50, 50, 37]
SEEN_AT = 4096            # a wall must still show its texture this far away
ENEMY_CLEARANCE = 128     # enemies move up to 125 units an update and respawn within 8 units
TEXEL_LIMIT = 3.0         # no drawn wall's texels are stretched more than this either way
RAMP_SHARE = 0.40         # no colour ramp may pave more of the floor than this: districts differ
SKY_TEXTURE = 0x55        # the night's texture, which belongs to no ramp


def sector_walls(order, walls):
    """Each sector's walls, in table order."""
    out = {s.index: [] for s in order}
    for w in walls:
        out[w["sector"]].append(w)
    return out


def check(plan, order, walls, objects, exempt_texels=()):
    problems = []
    problems += _texels(walls, exempt_texels)
    problems += _openings(order, walls)
    problems += _black_walls(plan, order, walls)
    problems += _door_texture(walls)
    problems += _risers(order, walls)
    problems += _enemies(plan, order, walls, objects)
    return problems


def _name(w):
    return f"{w['s'].key} {w['a']}-{w['b']}"


def _texels(walls, exempt):
    out = []
    for w in walls:
        if not w["drawn"] or (w["a"], w["b"]) in exempt:
            continue
        r = w["texel_ratio"]
        if not 1 / TEXEL_LIMIT <= r <= TEXEL_LIMIT:
            out.append(f"wall {_name(w)} draws texels {r:.2f} times as wide as high")
    return out


def _openings(order, walls):
    """Every portal shows an opening a player reads as a way through: at least PASSAGE high,
    or a recess above head height that leads nowhere (a lamp niche). Floors across a portal
    differ by a step or by a drop, never by a sill under a low opening, which reads as a
    window; a platform or a stair seen from the side stands open above."""
    out = []
    portals_of = {}
    for w in walls:
        if w["nextSector"] >= 0:
            portals_of.setdefault(w["sector"], set()).add(w["nextSector"])
    for w in walls:
        n = w["nextSector"]
        if n < 0 or n < w["sector"]:
            continue
        a, b = w["s"], order[n]
        gap = w["opening"]
        low, high = (a, b) if a.floor > b.floor else (b, a)   # z grows downward
        rise = low.floor - high.floor
        recess = len(portals_of[high.index]) == 1 and rise >= PASSAGE
        if gap <= 0:
            out.append(f"portal {_name(w)} shows no opening")
        elif gap < PASSAGE and not recess:
            out.append(f"portal {_name(w)} opens only {gap} high")
        if STEP < rise < DROP and gap < WINDOW and not recess:
            out.append(f"portal {_name(w)} has a {rise} sill: neither a step nor a drop")
    return out


def _black_walls(plan, order, walls):
    """A drawn wall still shows its texture from across its own sector (or SEEN_AT away)."""
    out = []
    span = {}
    for s in order:
        xs = [plan.points[n][0] for n in s.loops[0]]
        ys = [plan.points[n][1] for n in s.loops[0]]
        span[s.key] = min(SEEN_AT, math.hypot(max(xs) - min(xs), max(ys) - min(ys)))
    for w in walls:
        if not w["drawn"]:
            continue
        slot = w["texture"] & 15
        fade = math.trunc(w["s"].falloff * span[w["s"].key] * 0.0002)
        if TEXEL_MEDIAN[slot] - w["shade"] - fade < 8:
            out.append(f"wall {_name(w)} draws nearly black (slot {slot}, shade {w['shade']})")
    return out


def _door_texture(walls):
    """The door panel frames openings: on a portal's lintel or riser, or on a short jamb beside
    a portal of the same sector."""
    out = []
    portal_points = {}
    for w in walls:
        if w["nextSector"] >= 0:
            portal_points.setdefault(w["sector"], set()).update((w["a"], w["b"]))
    for w in walls:
        if (w["texture"] & 15) != DOOR_SLOT or not w["drawn"] or w["nextSector"] >= 0:
            continue
        beside = {w["a"], w["b"]} & portal_points.get(w["sector"], set())
        if not beside or w["length"] > 1024:
            out.append(f"wall {_name(w)} carries the door texture away from any doorway")
    return out


def _risers(order, walls):
    """A step up shows its riser in a texture of its own, so that it reads as a step."""
    out = []
    for w in walls:
        n = w["nextSector"]
        if n < 0:
            continue
        here, there = w["s"], order[n]
        rise = here.floor - there.floor
        doorway = there.ceil > here.ceil      # a threshold under a lintel belongs to the wall
        if 0 < rise <= STEP and not doorway and w["texture"] == here.wtex:
            out.append(f"step {_name(w)} draws its riser like the walls around it")
    return out


def _enemies(plan, order, walls, objects):
    """Enemies bounce off every wall of their sector but slip through a portal that a shot
    crossed in the same update, and are pushed 50 units from the wall they hit without a second
    test. So an enemy's sector keeps it clear of walls, has no acute corner and no narrow part,
    and leads to no floor lower than a step below its own. An enemy that comes to rest exactly
    on a portal and fires sends its shot across that portal at once, and follows it; no
    integer point lies inside a portal of the sector's outer loop, so none can rest there
    (portals into its own inner loops only lead back into it)."""
    out = []
    by_key = {s.key: s for s in order}
    own = sector_walls(order, walls)
    P = plan.points
    checked = set()
    for i, (kind, x, y, key) in enumerate(objects):
        if kind not in (9, 10):
            continue
        s = by_key[key]
        ws = own[s.index]
        near = min(_seg_dist((x, y), P[w["a"]], P[w["b"]]) for w in ws)
        if near < ENEMY_CLEARANCE:
            out.append(f"enemy {i} stands {near:.0f} from a wall of {key}")
        if key in checked:
            continue
        checked.add(key)
        outer = max(s.loops, key=lambda l: loop_sum([P[n] for n in l]))
        for w in ws:
            n = w["nextSector"]
            if n >= 0 and order[n].floor - s.floor > 2048:
                out.append(f"enemy sector {key} opens onto a drop at {_name(w)}")
            (x1, y1), (x2, y2) = P[w["a"]], P[w["b"]]
            if n >= 0 and w["a"] in outer and math.gcd(abs(x2 - x1), abs(y2 - y1)) > 1:
                out.append(f"enemy sector {key} has a portal an enemy can stand on: {_name(w)}")
        out += _enemy_shape(plan, s)
    return out


def _enemy_shape(plan, s):
    out = []
    P = plan.points
    for l in s.loops:
        for i, b in enumerate(l):
            a, c = P[l[i - 1]], P[l[(i + 1) % len(l)]]
            bb = P[b]
            u = (a[0] - bb[0], a[1] - bb[1])
            v = (c[0] - bb[0], c[1] - bb[1])
            cross = u[0] * v[1] - u[1] * v[0]
            dot = u[0] * v[0] + u[1] * v[1]
            # The inside lies to the right of the walls (y down): a convex corner has cross < 0.
            # A corner a unit off square pushes by a twentieth of a unit toward its neighbour.
            if cross < 0 and dot > 0.02 * math.hypot(*u) * math.hypot(*v):
                out.append(f"enemy sector {s.key} has an acute corner at {b}")
    segs = [(P[l[i]], P[l[(i + 1) % len(l)]]) for l in s.loops for i in range(len(l))]
    for i in range(len(segs)):
        for j in range(i + 1, len(segs)):
            a, b = segs[i]
            c, d = segs[j]
            # Only walls that face each other across the sector make it narrow.
            if {a, b} & {c, d} or _facing(a, b, c, d) >= 0:
                continue
            gap = min(_seg_dist(a, c, d), _seg_dist(b, c, d), _seg_dist(c, a, b), _seg_dist(d, a, b))
            if gap < ENEMY_CLEARANCE:
                out.append(f"enemy sector {s.key} narrows to {gap:.0f} between two walls")
    return out


def _facing(a, b, c, d):
    """The dot product of the two walls' directions: negative when they run opposite ways,
    that is, when their insides face each other."""
    return (b[0] - a[0]) * (d[0] - c[0]) + (b[1] - a[1]) * (d[1] - c[1])


def _seg_dist(p, a, b):
    (px, py), (ax, ay), (bx, by) = p, a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def floor_ramp_shares(plan, order):
    """Each colour ramp's share of the floor area (the night's texture apart), by ramp."""
    area = {}
    for s in order:
        loops = sorted((abs(loop_sum([plan.points[p] for p in l])) / 2 for l in s.loops),
                       reverse=True)
        ramp = "sky" if s.ftex == SKY_TEXTURE else s.ftex >> 6
        area[ramp] = area.get(ramp, 0) + loops[0] - sum(loops[1:])
    total = sum(area.values())
    return {ramp: a / total for ramp, a in area.items()}


def floor_ramps(plan, order):
    """The districts' rule for a whole level (a small test level may wear one ramp)."""
    return [f"colour ramp {ramp} paves {share:.0%} of the floor, more than {RAMP_SHARE:.0%}"
            for ramp, share in sorted(floor_ramp_shares(plan, order).items(), key=str)
            if share > RAMP_SHARE]


WIDE_OPENING = 2048       # two rooms joined by more portal than this read as one with a wall missing
STAIR_STEP = 4096         # steps of a stair, where floor and ceiling both step by at most this
HALL_BLOCKS = {72, 73, 74, 75, 12, 13}
COURTYARD = 128


def wide_openings(plan, order, walls):
    """Pairs of sectors joined by more than WIDE_OPENING of portal, widest first, as (length,
    sector, sector): the open spaces the design doc must name. The courtyard, the hall's blocks
    and the steps of stairs are left aside."""
    edge = {(w["a"], w["b"]): w["sector"] for w in walls}
    joined = {}
    for w in walls:
        other = edge.get((w["b"], w["a"]))
        if other is not None and other > w["sector"]:
            a, b = plan.points[w["a"]], plan.points[w["b"]]
            key = (w["sector"], other)
            joined[key] = joined.get(key, 0) + math.hypot(b[0] - a[0], b[1] - a[1])
    out = []
    for (i, j), length in joined.items():
        s, t = order[i], order[j]
        stair = (s.floor != t.floor and s.ceil != t.ceil and abs(s.floor - t.floor) <= STAIR_STEP
                 and abs(s.ceil - t.ceil) <= STAIR_STEP)
        if (round(length) > WIDE_OPENING and COURTYARD not in (i, j)
                and not HALL_BLOCKS & {i, j} and not stair):
            out.append((round(length), i, j))
    return sorted(out, reverse=True)
