"""The level's figures, worded as `krello-tool level stats` words them, and the golden list
(level/krello.stats) that both compare them with."""
import math
import os
import re
from collections import Counter

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "krello.stats")

# A height unit projects to 8 rows at depth 1 and a floor unit to 160 of the 320 columns of a
# 90-degree view, 20 times more; a 320x200 frame shown 4:3 has pixels 1.2 times taller than
# wide. A texture row spans 1024 / repeatV height units and a texture column length /
# (16 * repeatU) floor units, so a wall texel looks length * repeatV * 125 / (122880 * repeatU)
# times as wide as it is high.


def texel_ratio(length, repeat_u, repeat_v):
    """Width over height of one wall texel as a player sees it."""
    if repeat_u == 0:
        return math.inf
    return length * abs(repeat_v) * 125.0 / (122880.0 * abs(repeat_u))


def _span(values):
    values = list(values)
    return f"{min(values)}..{max(values)}" if values else "none"


def _list(values):
    return " ".join(str(v) for v in sorted(set(values))) or "none"


def opening(here, there):
    """Height of the opening two sectors share across a portal (not above 0: none)."""
    return min(here.floor, there.floor) - max(here.ceil, there.ceil)


def shows_part(here, there):
    """A portal draws an upper or lower part when the next sector's ceiling is lower or its
    floor higher (z grows downward)."""
    return there.ceil > here.ceil or there.floor < here.floor


def wall_length(plan, w):
    (x1, y1), (x2, y2) = plan.points[w["a"]], plan.points[w["b"]]
    dx, dy = float(x2 - x1), float(y2 - y1)
    return math.sqrt(dx * dx + dy * dy)


def texel_figures(plan, order, walls):
    """(length-weighted median texel ratio, share of drawn length within 1:2..2:1) over the
    walls that are drawn."""
    parts = []
    for w in walls:
        if w["nextSector"] >= 0 and not shows_part(w["s"], order[w["nextSector"]]):
            continue
        length = wall_length(plan, w)
        parts.append((texel_ratio(length, w["repeatU"], w["repeatV"]), length))
    parts.sort()
    total = sum(l for _, l in parts)
    median, run = 0.0, 0.0
    for r, l in parts:
        run += l
        if run * 2 >= total:
            median = r
            break
    square = sum(l for r, l in parts if 0.5 <= r <= 2.0)
    return median, (square / total if total else 0.0)


def compute(plan, order, walls, start, objects):
    """Every figure, in the order `level stats` prints them."""
    P = plan.points
    counts = Counter(sum(len(l) for l in s.loops) for s in order)
    loops = Counter(len(s.loops) for s in order)

    def loop_sign(l):
        s = sum(P[l[i]][0] * P[l[(i + 1) % len(l)]][1] - P[l[(i + 1) % len(l)]][0] * P[l[i]][1]
                for i in range(len(l)))
        return (s > 0) - (s < 0)

    inner = sum(loop_sign(l) < 0 for s in order for l in s.loops)
    inner_first = sum(loop_sign(s.loops[0]) < 0 for s in order)
    portals = [w for w in walls if w["nextSector"] >= 0]
    drawn = [w for w in walls if w["nextSector"] < 0 or shows_part(w["s"], order[w["nextSector"]])]
    hidden = [w for w in portals if (w["texture"] & 15) >= 9]
    negative = [w for w in walls if w["repeatU"] < 0]
    drawn_negative = [w for w in drawn if w["repeatU"] < 0]
    common = sum(w["repeatV"] in (8, 16) for w in walls)
    no_opening = sum(opening(w["s"], order[w["nextSector"]]) <= 0 for w in portals)
    median, square = texel_figures(plan, order, walls)
    enemies = Counter(kind for kind, *_ in objects)
    x, y, z, angle, sector = start
    return [
        ("sectors", str(len(order))),
        ("walls in sectors", str(len(walls))),
        ("sectors with 4 walls", str(counts[4])),
        ("walls per sector", _span(counts)),
        ("sectors with 1/2/3/4 loops", "/".join(str(loops[n]) for n in range(1, 5))),
        ("loops", str(sum(len(s.loops) for s in order))),
        ("inner loops", str(inner)),
        ("sectors with an inner loop first", str(inner_first)),
        ("ceilingZ", _span(s.ceil for s in order)),
        ("floorZ", _span(s.floor for s in order)),
        ("sector heights", _span(s.floor - s.ceil for s in order)),
        ("ceiling slots", _list(s.ctex & 15 for s in order)),
        ("floor slots", _list(s.ftex & 15 for s in order)),
        ("ceilings with 0x55", str(sum(s.ctex == 0x55 for s in order))),
        ("floors with 0x55", str(sum(s.ftex == 0x55 for s in order))),
        ("ceilingShade", _span(s.cshade for s in order)),
        ("ceilingShade of the start sector", str(order[sector].cshade)),
        ("sectors with ceilingShade 125..127", str(sum(s.cshade >= 125 for s in order))),
        ("floorShade", _span(s.fshade for s in order)),
        ("shadeFalloff values", _list(s.falloff for s in order)),
        ("portal walls", str(len(portals))),
        ("portal pairs", str(len(portals) // 2)),
        ("solid walls", str(len(walls) - len(portals))),
        ("portal walls without an opening", str(no_opening)),
        ("x extent", _span(P[w["a"]][0] for w in walls)),
        ("y extent", _span(P[w["a"]][1] for w in walls)),
        ("wall lengths", _span(int(wall_length(plan, w)) for w in walls)),
        ("slots of drawn wall parts", _list(w["texture"] & 15 for w in drawn)),
        ("colour ramps used", _list([s.ctex >> 6 for s in order] + [s.ftex >> 6 for s in order]
                                    + [w["texture"] >> 6 for w in walls])),
        ("portal walls with slots 9..15", str(len(hidden))),
        ("of them slots 14 or 15", str(sum((w["texture"] & 15) >= 14 for w in hidden))),
        ("wall shade", _span(w["shade"] for w in walls)),
        ("repeatU, non-negative", _span(w["repeatU"] for w in walls if w["repeatU"] >= 0)),
        ("walls with negative repeatU", str(len(negative))),
        ("negative repeatU", _span(w["repeatU"] for w in negative)),
        ("drawn walls with negative repeatU", str(len(drawn_negative))),
        ("their repeatU", _list(w["repeatU"] for w in drawn_negative)),
        ("repeatV", _span(w["repeatV"] for w in walls)),
        ("repeatV 8 or 16 on most walls", "yes" if common * 2 > len(walls) else "no"),
        ("texel width per height, median", f"{median:.2f}"),
        ("drawn wall length with texels 1:2..2:1", f"{int(square * 100)}%"),
        ("player start x y z angle sector", f"{x} {y} {z} {angle} {sector}"),
        ("awake/dormant enemies", f"{enemies[9]}/{enemies[10]}"),
        ("player-shot/enemy-shot slots", f"{enemies[11]}/{enemies[12]}"),
    ]


def read_golden(path=GOLDEN):
    """The golden list as (name, expected) pairs in file order."""
    out = []
    with open(path) as f:
        for n, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            name, sep, expected = line.partition(": ")
            if not sep:
                raise ValueError(f"{path}:{n}: no 'name: expected' in '{line}'")
            out.append((name.strip(), expected.strip()))
    return out


_BOUND = re.compile(r"^(at least|at most|between) (-?[0-9.]+)%?(?: and (-?[0-9.]+)%?)?$")


def matches(actual, expected):
    """True when the figure's text meets the golden line: equal text, or a number within the
    bound the line names."""
    m = _BOUND.match(expected)
    if not m:
        return actual == expected
    try:
        value = float(actual.rstrip("%"))
    except ValueError:
        return False
    kind, a, b = m.group(1), float(m.group(2)), m.group(3)
    if kind == "at least":
        return value >= a
    if kind == "at most":
        return value <= a
    return b is not None and a <= value <= float(b)


def compare(figures, golden):
    """One line per figure that misses its golden line, and per line that names no figure."""
    have = dict(figures)
    out = []
    for name, expected in golden:
        if name not in have:
            out.append(f"the golden list names '{name}', which is not a figure")
        elif not matches(have[name], expected):
            out.append(f"{name} is {have[name]}, wanted {expected}")
    named = {n for n, _ in golden}
    out += [f"figure '{n}' is missing from the golden list" for n, _ in figures if n not in named]
    return out
