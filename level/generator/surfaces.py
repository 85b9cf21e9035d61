"""Wall surfaces: textures, shades and texture repeats, and the check that drawn walls use
drawable slots."""
import math

from checks import eligible_for_hidden_slot, wall_len

HIDDEN_WALLS = 215        # portal walls that are never drawn and carry an unused slot
HIDDEN_14_15 = 92         # of those, the ones naming no texture at all
# repeatU of walls that are never drawn (the value is never read).
HIDDEN_NEGATIVE = [-106, -70, -45, -30, -16, -8, -3, -1]
# The darkest and brightest wall shades sit on walls nobody sees.
HIDDEN_SHADES = [79, -21]
STEP = 4096               # the tallest rise that is a step; a riser gets its own look
DOOR_SLOT = 8             # the door panel, on the jambs of doorways
# Solid walls whose texture runs backwards, mirroring their neighbours: the four faces of the
# slim pillar in the chapel.
MIRRORED_PILLAR = "chapel_pillar1"


def auto_repeat_u(length, repeat_v):
    """The level compiler's `repeatU auto`: square texels on a 4:3 display."""
    v = math.floor(length * repeat_v * 125 / 122880 + 0.5)
    return max(1, min(127, v))


def fitted_repeats(length, repeat_v):
    """(repeatV, repeatU) with square texels; a wall too long for repeatU 127 at this repeatV
    gets coarser rows instead of stretched ones."""
    while repeat_v > 2 and length * repeat_v * 125 / 122880 > 127.4:
        repeat_v //= 2
    while repeat_v < 32 and length * repeat_v * 125 / 122880 < 0.7:
        repeat_v *= 2         # a sliver of wall gets finer rows instead
    return repeat_v, auto_repeat_u(length, repeat_v)


def drawn(order, w):
    if w["nextSector"] < 0:
        return True
    return not eligible_for_hidden_slot(order, w)


def _look(order, w):
    """The texture and shade a wall shows by what it is: the lintel over a doorway continues the
    wall around it; a riser of a step up wears the step's floor material a little darker, the
    face of anything taller the wall of what stands there; a doorway's jambs wear the door
    panel; every other wall its sector's."""
    s = w["s"]
    if w["nextSector"] >= 0:
        there = order[w["nextSector"]]
        if there.ceil > s.ceil:
            return s.wtex, s.wshade       # a lintel over a doorway: the wall goes on above it
        rise = s.floor - there.floor
        if 0 < rise <= STEP:
            riser = there.ftex
            for slot in (3, 7):
                if riser != s.wtex:
                    break
                riser = (there.ftex & 0xC0) | slot
            return riser, min(there.fshade + 6, 16)
        if rise > STEP:
            return there.wtex, there.wshade
    elif s.door:
        return (s.wtex & 0xC0) | DOOR_SLOT, s.wshade
    return s.wtex, s.wshade


def assign(plan, order, walls):
    """Gives every wall its texture, shade and repeats."""
    for w in walls:
        s = w["s"]
        o = s.overrides.get((w["a"], w["b"]), {})
        tex, shade = _look(order, w)
        w["texture"] = o.get("texture", tex)
        w["shade"] = o.get("shade", shade)
        rv = o.get("repeatV", s.wrepv)
        if w["a"].startswith("gallery_pillar"):
            rv = 48               # fine ribs on the slim gallery pillars
        length = wall_len(plan, w)
        w["repeatV"], w["repeatU"] = fitted_repeats(length, rv)
        if "repeatV" in o:
            w["repeatV"] = o["repeatV"]
            w["repeatU"] = auto_repeat_u(length, o["repeatV"])
        w["explicitU"] = "repeatU" in o
        if w["explicitU"]:
            w["repeatU"] = o["repeatU"]
    _hidden(plan, order, walls)
    for w in walls:
        if w["a"].startswith(MIRRORED_PILLAR) and w["nextSector"] < 0:
            # One backward texture width per face, with rows to match.
            w["repeatV"] = max(2, round(122880 / (125 * wall_len(plan, w))))
            w["repeatU"] = -1
            w["explicitU"] = True


def _hidden(plan, order, walls):
    """Portal walls that are never drawn carry the slots no surface may show, and the repeats
    and shades no drawn wall needs."""
    hidden = [w for w in walls if not drawn(order, w) and w["s"].key != "start"]
    hidden = hidden[:HIDDEN_WALLS]
    if len(hidden) < len(HIDDEN_NEGATIVE):
        return                    # a small test level has nowhere to put them
    for i, w in enumerate(hidden):
        blank = (i + 1) * HIDDEN_14_15 // HIDDEN_WALLS > i * HIDDEN_14_15 // HIDDEN_WALLS
        slot = (14 + i % 2) if blank else 9 + i % 5
        w["texture"] = (w["texture"] & 0xC0) | slot
    step = len(hidden) // len(HIDDEN_NEGATIVE)
    for k, value in enumerate(HIDDEN_NEGATIVE):
        w = hidden[k * step + step // 2]
        w["repeatU"] = value
        w["explicitU"] = True
    for k, shade in enumerate(HIDDEN_SHADES):
        hidden[k * step + step // 4]["shade"] = shade
    hidden[step // 3]["repeatV"] = 2          # the coarsest rows, on a wall nobody sees
    # The longest stretch of hidden wall keeps the widest repeat the format allows.
    longest = max(hidden, key=lambda w: (wall_len(plan, w), -walls.index(w)))
    if longest["repeatU"] > 0:
        longest["repeatU"] = 127
        longest["explicitU"] = True


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
