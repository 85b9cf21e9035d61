"""Wall surfaces: textures, shades and texture repeats, plus their checks and statistics."""
import math
from collections import Counter

from checks import eligible_for_hidden_slot, wall_len

HIDDEN_WALLS = 215        # portal walls that are never drawn and carry an unused slot
HIDDEN_14_15 = 92         # of those, the ones naming no texture at all
# repeatU of walls that are never drawn (the value is never read).
HIDDEN_NEGATIVE = [-106, -70, -45, -30, -16, -8, -3, -1]
# Solid walls whose texture runs backwards, mirroring their neighbours.
MIRRORED = [("chapel", 0), ("chapel", 1), ("chapel", 2), ("chapel", 3)]


def auto_repeat_u(length, repeat_v):
    v = math.floor(length * repeat_v / 16384 + 0.5)
    return max(1, min(127, v))


def drawn(order, w):
    if w["nextSector"] < 0:
        return True
    return not eligible_for_hidden_slot(order, w)


def assign(plan, order, walls):
    """Gives every wall its texture, shade and repeats."""
    for w in walls:
        s = w["s"]
        o = s.overrides.get((w["a"], w["b"]), {})
        w["texture"] = o.get("texture", s.wtex)
        w["shade"] = o.get("shade", s.wshade)
        w["repeatV"] = o.get("repeatV", s.wrepv)
        w["repeatU"] = o.get("repeatU")
        w["explicitU"] = "repeatU" in o
        if w["repeatU"] is None:
            w["repeatU"] = auto_repeat_u(wall_len(plan, w), w["repeatV"])
    for w in walls:
        if w["a"].startswith("gallery_pillar"):
            w["repeatV"] = 48         # fine ribs on the slim gallery pillars
            w["repeatU"] = auto_repeat_u(wall_len(plan, w), 48)
    hidden = [w for w in walls if not drawn(order, w) and w["s"].key != "start"]
    hidden = hidden[:HIDDEN_WALLS]
    for i, w in enumerate(hidden):
        blank = (i + 1) * HIDDEN_14_15 // HIDDEN_WALLS > i * HIDDEN_14_15 // HIDDEN_WALLS
        slot = (14 + i % 2) if blank else 9 + i % 5
        w["texture"] = (w["texture"] & 0xC0) | slot
        w["explicitTex"] = True
    step = len(hidden) // len(HIDDEN_NEGATIVE)
    for k, value in enumerate(HIDDEN_NEGATIVE):
        w = hidden[k * step + step // 2]
        w["repeatU"] = value
        w["explicitU"] = True
    # The longest stretch of hidden wall keeps the widest repeat the format allows.
    longest = max(hidden, key=lambda w: (wall_len(plan, w), -walls.index(w)))
    if longest["repeatU"] > 0:
        longest["repeatU"] = 127
        longest["explicitU"] = True
    by_key = {s.key: s for s in order}
    for key, n in MIRRORED:
        s = by_key[key]
        first = sum(sum(len(l) for l in t.loops) for t in order[:s.index])
        w = walls[first + n]
        assert w["nextSector"] < 0, (key, n)
        w["repeatU"] = -1
        w["explicitU"] = True


def check(order, walls):
    problems = []
    for wi, w in enumerate(walls):
        slot = w["texture"] & 0x0F
        if slot > 8 and drawn(order, w):
            problems.append(f"wall {wi} of {w['s'].key} is drawn with slot {slot}")
    for s in order:
        if (s.ctex & 0x0F) > 8 or (s.ftex & 0x0F) > 8:
            problems.append(f"{s.key}: floor or ceiling slot out of 0..8")
    return problems


def stats(plan, order, walls):
    for w in walls:
        if w["a"].startswith("gallery_pillar"):
            w["repeatV"] = 48         # fine ribs on the slim gallery pillars
            w["repeatU"] = auto_repeat_u(wall_len(plan, w), 48)
    hidden = [w for w in walls if (w["texture"] & 0x0F) > 8]
    neg = [w for w in walls if w["repeatU"] < 0]
    drawn_walls = [w for w in walls if drawn(order, w)]
    return {
        "ceiling slots": sorted({s.ctex & 0x0F for s in order}),
        "floor slots": sorted({s.ftex & 0x0F for s in order}),
        "drawn wall slots": sorted({w["texture"] & 0x0F for w in drawn_walls}),
        "ramps": sorted({x >> 6 for x in [s.ctex for s in order] + [s.ftex for s in order]
                         + [w["texture"] for w in walls]}),
        "0x55 ceilings/floors": (sum(s.ctex == 0x55 for s in order),
                                 sum(s.ftex == 0x55 for s in order)),
        "hidden slot walls": (len(hidden), sum((w["texture"] & 0x0F) > 13 for w in hidden)),
        "ceilingShade": (min(s.cshade for s in order), max(s.cshade for s in order)),
        "black ceilings": sum(125 <= s.cshade <= 127 for s in order),
        "floorShade": (min(s.fshade for s in order), max(s.fshade for s in order)),
        "wall shade": (min(w["shade"] for w in walls), max(w["shade"] for w in walls)),
        "falloffs": sorted({s.falloff for s in order}),
        "negative repeatU": (len(neg), min(w["repeatU"] for w in neg),
                             sum(drawn(order, w) for w in neg)),
        "repeatV": (min(w["repeatV"] for w in walls), max(w["repeatV"] for w in walls),
                    Counter(w["repeatV"] for w in walls).most_common(3)),
        "repeatU max": max(w["repeatU"] for w in walls),
    }
