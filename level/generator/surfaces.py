"""Wall surfaces: textures, shades and texture repeats. Which walls are drawn and how long they
are comes from the compiled level (checks.link); the compiler itself rounds each wall's
repeatU (`repeatU auto`), so texels come out square."""

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
FINE_RIBS = 48            # repeatV of the slim gallery pillars


def rows(s, w):
    """The repeatV a wall asks for before fitting: its own, its pillar's or its sector's."""
    o = s.overrides.get((w["a"], w["b"]), {})
    if "repeatV" in o:
        return o["repeatV"]
    return FINE_RIBS if w["a"].startswith("gallery_pillar") else s.wrepv


def fitted_rows(repeat_v, square_u):
    """The repeatV that keeps `repeatU auto` in its range: square_u is the repeatU that makes
    the wall's texels square at repeat_v, and it grows in step with repeatV. A wall too long for
    repeatU 127 gets coarser rows instead of stretched ones, a sliver of wall finer ones."""
    asked = repeat_v

    def square(rv):
        return square_u * (rv / asked)

    while repeat_v > 2 and square(repeat_v) > 127.4:
        repeat_v //= 2
    while repeat_v < 32 and square(repeat_v) < 0.7:
        repeat_v *= 2
    return repeat_v


def draft(walls):
    """The plain look the first compile is made with: each wall its sector's, at the rows it
    asks for."""
    for w in walls:
        s = w["s"]
        w.update(texture=s.wtex, shade=s.wshade, repeatV=rows(s, w), explicitU=False)


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


def assign(order, walls):
    """Gives every wall its texture, shade and repeats. The walls carry the first compile's facts
    (drawn, length, square_u at the rows they asked for)."""
    for w in walls:
        s = w["s"]
        o = s.overrides.get((w["a"], w["b"]), {})
        tex, shade = _look(order, w)
        w["texture"] = o.get("texture", tex)
        w["shade"] = o.get("shade", shade)
        asked = rows(s, w)
        w["repeatV"] = asked if "repeatV" in o else fitted_rows(asked, w["square_u"])
        w["explicitU"] = "repeatU" in o
        w["repeatU"] = o.get("repeatU")
    _hidden(walls)
    for w in walls:
        if w["a"].startswith(MIRRORED_PILLAR) and w["nextSector"] < 0:
            # One backward texture width per face, with rows to match.
            w["repeatV"] = max(2, round(rows(w["s"], w) / w["square_u"]))
            w["repeatU"] = -1
            w["explicitU"] = True


def _hidden(walls):
    """Portal walls that are never drawn carry the slots no surface may show, and the repeats
    and shades no drawn wall needs."""
    hidden = [w for w in walls if not w["drawn"] and w["s"].key != "start"]
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
    longest = max(hidden, key=lambda w: (w["length"], -walls.index(w)))
    if longest["repeatU"] is None or longest["repeatU"] > 0:
        longest["repeatU"] = 127
        longest["explicitU"] = True
