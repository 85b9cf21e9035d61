"""The map of Krello's level: every area, its sectors and their surfaces.

Colour tells the districts apart: the open courtyard and its yards are orange sandstone
(ramp 3), the north and the stores warm grey stone (ramp 0), the chapel, the cellar and the
crypt blue (ramp 1), the great hall, the armoury, the tower and the upper west hall red
(ramp 2). Rooms where enemies stand are lit and coloured so that the grey figures stand out."""

SKY = -465920           # ceiling height of the open areas; drawn black
SKY_TEX = 0x55
R0, R1, R2, R3 = 0x00, 0x40, 0x80, 0xC0     # colour ramps of a texture attribute


def sky(shade=126):
    """A ceiling open to the night: black whatever the distance."""
    return dict(ctex=SKY_TEX, cshade=shade)


def chain(plan, tag, area, x0, y0, x1, y1, n, axis, floors, ceils, cuts=None, **theme):
    """Splits a rectangle into n strips (a corridor or a flight of stairs) and adds them.
    axis 'x' cuts across x (strips follow each other along +x), 'y' along +y. `cuts` gives
    the strip boundaries instead of equal strips."""
    keys = []
    lo, hi = (x0, x1) if axis == "x" else (y0, y1)
    bounds = cuts or [lo + (hi - lo) * i // n for i in range(n)] + [hi]
    for i in range(len(bounds) - 1):
        a, b = bounds[i], bounds[i + 1]
        if axis == "x":
            loop = plan.rect(f"{tag}{i}", a, y0, b, y1)
        else:
            loop = plan.rect(f"{tag}{i}", x0, a, x1, b)
        f = floors(i) if callable(floors) else floors[i]
        c = ceils(i) if callable(ceils) else ceils[i]
        key = f"{tag}{i}"
        extra = dict(theme)
        for k, v in extra.items():
            if callable(v):
                extra[k] = v(i)
        plan.add(key, f"{area}, {i + 1} of {len(bounds) - 1}", [loop], c, f, **extra)
        keys.append(key)
    return keys


def inner_rect(plan, tag, x0, y0, x1, y1):
    """An inner loop (pillar or raised block) around a rectangle: runs the other way."""
    return list(reversed(plan.rect(tag, x0, y0, x1, y1)))


def outline(plan, key, x0, y0, x1, y1, bays=()):
    """A rectangle's outer loop, with bays: (side, from, to, depth) pushes the stretch of side
    'n', 'e', 's' or 'w' between `from` and `to` out by `depth` (in, when negative)."""
    P = plan.pt
    corners = {"n": ((x0, y0), (x1, y0)), "e": ((x1, y0), (x1, y1)),
               "s": ((x1, y1), (x0, y1)), "w": ((x0, y1), (x0, y0))}
    out = {"n": (0, -1), "e": (1, 0), "s": (0, 1), "w": (-1, 0)}
    names = {"n": "nw", "e": "ne", "s": "se", "w": "sw"}
    pts = []
    for side in "nesw":
        (ax, ay), (bx, by) = corners[side]
        pts.append(P(f"{key}_{names[side]}", ax, ay))
        dx, dy = out[side]
        mine = sorted((b for b in bays if b[0] == side),
                      key=lambda b: b[1] if side in "ne" else -b[1])
        for k, (_, f, t, depth) in enumerate(mine):
            lo, hi = (f, t) if side in "ne" else (t, f)
            for along, push in [(lo, 0), (lo, depth), (hi, depth), (hi, 0)]:
                x = along if side in "ns" else ax + dx * push
                y = along if side in "ew" else ay + dy * push
                pts.append(P(f"{key}_{side}bay{k}_{len(pts)}", x, y))
    return pts


def room(plan, key, area, x0, y0, x1, y1, floor, ceil, pillars=(), features=(), bays=(),
         **theme):
    """A rectangular room, with bays in its walls (see outline), solid pillars as inner loops,
    and features: raised or sunken blocks standing free in it (altars, wells, crates), each a
    sector of its own given as (name, area, x0, y0, x1, y1, floor, theme)."""
    loops = [outline(plan, key, x0, y0, x1, y1, bays)]
    for k, (a, b, c, d) in enumerate(pillars):
        loops.append(inner_rect(plan, f"{key}_pillar{k + 1}", a, b, c, d))
    for name, *_rest in features:
        a, b, c, d = _rest[1:5]
        loops.append(inner_rect(plan, name, a, b, c, d))
    s = plan.add(key, area, loops, ceil, floor, **theme)
    base = {k: v for k, v in theme.items() if k not in ("index", "door")}
    for name, farea, a, b, c, d, ffloor, ftheme in features:
        plan.add(name, farea, [plan.rect(name, a, b, c, d)], ceil, ffloor, **dict(base, **ftheme))
    return s


def recess(plan, key, corner, points):
    """Puts `points` in place of the corner at (x, y) of a sector's outer loop: a wall that
    stands back from a neighbour turns a whole side's opening into a door."""
    loop = plan.sectors[key].loops[0]
    at = loop.index(plan.pt(f"{key}_recess", *corner))
    loop[at:at + 1] = [plan.pt(f"{key}_recess", x, y) for x, y in points]


def build(plan):
    west(plan)
    tower(plan)
    north(plan)
    ruins(plan)
    northeast(plan)
    middle(plan)
    hall(plan)
    east(plan)
    south(plan)
    side_rooms(plan)


# --- the start, the shaft, the courtyard and the west ---------------------------------------

YARD = dict(falloff=0, ftex=R3 | 6, fshade=4, wtex=R3 | 5, wshade=4, wrepv=8)


def west(plan):
    P = plan.pt
    A = P("ledge_s", 8928, 40928)
    B = P("ledge_w", 6272, 40000)
    C = P("ledge_nw", 7200, 38272)
    D = P("ledge_ne", 10848, 39680)
    E = P("ledge_se", 10080, 41344)
    F = P("ledge_lip", 9856, 41280)
    H = P("shaft_sw", 8192, 40960)
    G = P("shaft_se", 10240, 42752)
    q0 = P("court_nw", 0, 41216)
    q3 = P("court_ne", 12800, 43008)
    q4 = P("court_se", 12800, 62464)
    q5 = P("court_s", 7168, 62464)
    q6 = P("court_w", 6400, 48640)
    q7 = P("court_wn", 0, 42240)

    s = plan.add("start", "the start ledge, high above the shaft", [[A, B, C, D, E, F]],
                 -466944, -453632, index=151, ctex=6, cshade=65, ftex=6, fshade=23,
                 wtex=4, wshade=26, wrepv=8)
    for (p1, p2), ru, tex in zip([(A, B), (B, C), (C, D), (D, E), (E, F), (F, A)],
                                 [21, 15, 30, 14, 1, 7], [4, 4, 4, 4, 2, 4]):
        s.overrides[(p1, p2)] = {"texture": tex, "repeatU": ru}

    plan.add("shaft", "the shaft below the start ledge", [[H, A, F, G]], SKY, -35840,
             index=150, **sky(126), ftex=R0 | 7, fshade=0, falloff=0,
             wtex=R0 | 5, wshade=4, wrepv=8)

    plan.add("court", "the open courtyard under the sky", [[q0, H, G, q3, q4, q5, q6, q7]],
             SKY, 9216, index=128, **sky(127), **dict(YARD, ftex=R3 | 7, fshade=0, wshade=2))

    nt1 = P("terrace_nw", 0, 39936)
    nt2 = P("terrace_ne", 5120, 39936)
    plan.add("terrace", "the north terrace above the courtyard", [[nt1, nt2, H, q0]], SKY,
             -4096, **sky(125), **dict(YARD, ftex=R0 | 3, fshade=2))

    g1 = P("slope_nw", 10496, 41728)
    g2 = P("slope_ne", 12800, 41984)
    plan.add("slope", "the slope east of the shaft", [[g1, g2, q3, G]], SKY, 7168,
             **sky(125), **dict(YARD, ftex=R0 | 6))

    t1 = P("trench_ne", 14080, 43008)
    t2 = P("trench_se", 14080, 62464)
    plan.add("trench", "the east trench beside the courtyard", [[q3, t1, t2, q4]], SKY, 8192,
             **sky(127), **dict(YARD, ftex=R0 | 3, fshade=2))

    s2 = P("southyard_se", 12800, 65024)
    s3 = P("southyard_sw", 7168, 65024)
    # The south yard lies 3,072 above the crypt and 4,096 above the courtyard: the crypt's
    # guards look west along the south corridor into it, and their shots pass under a player
    # there (an enemy's shot reaches a floor at most 2,856 above its own), as the courtyard's do.
    plan.add("southyard", "the south yard", [[q5, q4, s2, s3]], SKY, 5120, **sky(126),
             **dict(YARD, ftex=R0 | 6))
    # The south yard is level with the west yard, through a gate of 2,048.
    recess(plan, "southyard", (7168, 65024), [(7424, 65024), (7424, 64512), (7168, 64512)])

    # The west stairs climb from the courtyard's west door to the vestry, and the vestry
    # leads up into the upper west hall, where the awake enemy paces inside solid walls.
    chain(plan, "weststair", "the west stairs from the courtyard up to the vestry",
          -2048, 41216, 0, 42240, 8, "x",
          [-6144, -5120, -3072, -1024, 1024, 3072, 5120, 7168],
          lambda i: [-6144, -5120, -3072, -1024, 1024, 3072, 5120, 7168][i] - 16384,
          ctex=R0 | 7, cshade=2, ftex=R0 | 3, fshade=0, falloff=16, wtex=R0 | 5, wshade=4,
          wrepv=8)
    room(plan, "westterrace", "the upper west hall, walled all round", -2048, 44032, 1024,
         45824, -8192, -32768, index=129,
         features=[("westterrace_table", "a stone table in the upper west hall", -1280, 44672,
                    -768, 45184, -20480, dict(ftex=R2 | 0, fshade=0, wtex=R2 | 3, wshade=2))], ctex=R2 | 7, cshade=2, ftex=R2 | 3, fshade=-4,
         falloff=8, wtex=R2 | 5, wshade=0, wrepv=8)
    room(plan, "vestry", "the vestry between the chapel and the upper west hall",
         -3328, 40960, -2048, 46080, -6144, -28672, ctex=R1 | 7, cshade=4, ftex=R1 | 4,
         fshade=2, falloff=16, wtex=R1 | 5, wshade=4, wrepv=8)
    room(plan, "chapel", "the north-west chapel", -3328, 37376, 0, 40960, -6144, -36864,
         pillars=[(-2176, 39552, -1920, 39808)],
         features=[("chapel_altar", "the chapel's altar", -2560, 38144, -1536, 38912, -8192,
                    dict(ftex=R1 | 0, fshade=-4, wtex=R1 | 3, wshade=0))],
         ctex=SKY_TEX, cshade=2, ftex=R1 | 7, fshade=0, falloff=16, wtex=R1 | 5, wshade=2,
         wrepv=16)
    chain(plan, "passage", "the north passage", 0, 37376, 11776, 38144, 4, "x",
          [-6144, -7168, -8192, -9216], [-24576] * 4,
          ctex=R0 | 3, cshade=8, ftex=R0 | 5, fshade=6, falloff=16, wtex=R0 | 1, wshade=8,
          wrepv=16)
    for k, (x0, x1) in enumerate([(0, 2048), (2048, 4096), (4096, 6144)]):
        room(plan, f"lodge{k}", f"lodge {k + 1} between the passage and the terrace",
             x0, 38144, x1, 39936, -6144 + 1024 * k, -24576, ctex=R3 | 7, cshade=4,
             ftex=R3 | 1, fshade=2, falloff=16, wtex=R3 | 5, wshade=4 + 2 * k, wrepv=8)
    chain(plan, "cloister", "the west cloister", -3072, 46080, -1024, 65024, 4, "y",
          [7168] * 4, [-16384] * 4,
          ctex=R1 | 3, cshade=2, ftex=SKY_TEX, fshade=4, falloff=16, wtex=R1 | 5, wshade=4,
          wrepv=8)
    # The cloister's north end opens onto the west yard by a door of 2,048, a wall beside it.
    recess(plan, "cloister0", (-1024, 46080), [(-1280, 46080), (-1280, 47104), (-1024, 47104)])
    chain(plan, "hut", "a hut on the west side of the yard", -1024, 49152, 1024, 65024, 4, "y",
          [6144, 5120, 7168, 6144], [-12288, -16384, -10240, -14336],
          cuts=[49152, 51712, 56320, 59392, 65024],
          ctex=R3 | 7, cshade=4, ftex=R3 | 1, fshade=2, falloff=16, wtex=R3 | 5,
          wshade=lambda i: 2 + 2 * (i % 3), wrepv=8)

    # The second hut opens onto the cloister by a door of 2,048 at the hut's south end.
    recess(plan, "hut1", (-1024, 51712), [(-1024, 53504), (-768, 53504), (-768, 51712)])
    # The second and the fourth hut open onto the west yard by doors of 2,048, the second's at
    # its south end and the fourth's at its north end, with a wall standing back beside each.
    recess(plan, "hut1", (1024, 51712), [(768, 51712), (768, 54272), (1024, 54272)])
    recess(plan, "hut3", (1024, 65024), [(1024, 61440), (768, 61440), (768, 65024)])
    # The first hut's east wall stands back from the yard; it opens by its north end only.
    recess(plan, "hut0", (1024, 49152), [(768, 49152)])
    recess(plan, "hut0", (1024, 51712), [(768, 51712)])
    wa = P("westyard_a", -1024, 46080)
    wb = P("westyard_b", 1280, 46080)
    wc = P("westyard_c", 1280, 43776)
    wd = P("westyard_d", 0, 43776)
    # The tower's base is one block from the tower to the stair's foot: its few corners leave
    # the yard the walls the huts' doors take (a sector holds at most 37).
    outline = [P("tower_nw", 3584, 51968), P("tower_ne", 5632, 51968),
               P("towerstair_nw", 5632, 52992), P("towerstair_ne", 6272, 52992),
               P("towerstair_se", 6272, 59904), P("tower_base_sw", 3584, 59904)]
    # The yard lies 4,096 above the courtyard and 3,072 above the crypt, level with the south
    # yard: the courtyard's enemies, who look west along the yard's south strip, and the crypt's
    # guards, who look west through the well room and the corridor into the south yard's gate,
    # no longer reach a player there (their shots reach a floor at most 2,856 above their own),
    # as the player's never reached them.
    yard = plan.add("westyard", "the west yard around the tower",
                    [[q7, q6, q5, s3, P("huts_se", 1024, 65024), P("huts_ne", 1024, 49152),
                      P("huts_nw", -1024, 49152), wa, wb, wc, wd], list(reversed(outline))],
                    SKY, 5120, **sky(127), **dict(YARD, ftex=R1 | 6))
    # The tower's own faces rise red into the night.
    faces = list(reversed(outline))
    for i, a in enumerate(faces):
        yard.overrides[(a, faces[(i + 1) % len(faces)])] = {"texture": R2 | 5, "shade": 2}


def tower(plan):
    """A walled room on top of the tower, reached by a stair that climbs beside it."""
    room(plan, "tower", "the walled room on top of the tower", 3840, 52224, 5376, 53760, -46080,
         -66560,
         bays=[("w", 52736, 53248, 128)],
         # A block taller than the eye stands inside the east end of the room's open south side:
         # cover for a player coming in.
         features=[("tower_block", "a block of fallen masonry on the tower", 4864, 53056, 5120,
                    53632, -58368, dict(ftex=R2 | 5, fshade=2, wtex=R2 | 5, wshade=4))],
         index=148, ctex=R2 | 7, cshade=2, ftex=R2 | 0, fshade=-2, falloff=8, wtex=R2 | 5, wshade=2,
         wrepv=8)
    # The room opens along its whole south side onto a gallery a step below it, entered from the
    # stair's top step: from the gallery a player's shots reach the room's floor and the room's
    # shots pass overhead (they reach a floor at most 919 below their own). The gallery's south
    # side bends out in three walls, the walls the room's old door and the landing gave up.
    P = plan.pt
    plan.add("towergallery", "the gallery below the tower room's south side",
             [[P("tower_sw", 3840, 53760), P("tower_se", 5376, 53760),
               P("towergallery_ne", 5376, 54272), P("towerstair0_nw", 5632, 54272),
               P("towerstair0_sw", 5632, 54741), P("towergallery_sw", 4608, 54741),
               P("towergallery_s", 3840, 54272), P("towergallery_w", 3712, 54016)]],
             -62464, -45056, ctex=R2 | 7, cshade=0, ftex=R2 | 0, fshade=0, falloff=8,
             wtex=R2 | 5, wshade=2, wrepv=8)
    # The landing at the stair's top is walled where the room's door was.
    room(plan, "towerlanding", "the landing at the top of the tower stair", 5632, 52992, 6272,
         54272, -46080, -62464, ctex=R2 | 7, cshade=2, ftex=R3 | 3, fshade=0, falloff=8,
         wtex=R2 | 5, wshade=2, wrepv=8)
    chain(plan, "towerstair", "the covered stair up the side of the tower", 5632, 54272, 6272,
          59904, 12, "y", lambda i: -41984 + 4096 * i, lambda i: -41984 + 4096 * i - 24576,
          ctex=R2 | 7, cshade=4, ftex=R3 | 3, fshade=2, falloff=8, wtex=R2 | 5, wshade=4,
          wrepv=8)


# --- the north: gallery, stairs, cellar and armoury -------------------------------------------

CELLAR_PEN = (23040, 42624, 24064, 43776)   # open along its west side
CELLAR_PEN_WALL = 128

def north(plan):
    plan.add("gallery", "the long north gallery",
             [plan.rect("gallery", 11776, 37376, 31744, 38912),
              inner_rect(plan, "gallery_pillar1", 16384, 37888, 16896, 38400),
              inner_rect(plan, "gallery_pillar2", 21760, 37888, 22272, 38400),
              inner_rect(plan, "gallery_pillar3", 27136, 37888, 27648, 38400)],
             -40960, -10240, ctex=R0 | 4, cshade=6, ftex=R0 | 1, fshade=6, falloff=16,
             wtex=R0 | 5, wshade=8, wrepv=16)
    keys = chain(plan, "stairA", "the stairs from the trench up to the gallery",
                 12800, 38912, 14080, 43008, 8, "y",
                 lambda i: -8192 + 2048 * i, lambda i: -32768 + 2048 * i,
                 ctex=R0 | 7, cshade=lambda i: 7 - i, ftex=R0 | 3, fshade=4, falloff=16,
                 wtex=R0 | 5, wshade=6, wrepv=16)
    for i, k in enumerate(keys):
        plan.sectors[k].index = 14 + i
    chain(plan, "stairB", "the blue stairs from the gallery up to the high room",
          19456, 38912, 20480, 46592, 15, "y",
          lambda i: -12288 - 2048 * i, lambda i: -36864 - 2048 * i,
          ctex=R1 | 7, cshade=4, ftex=R1 | 3, fshade=2, falloff=16, wtex=R1 | 5, wshade=4,
          wrepv=16)
    room(plan, "balcony", "the high room at the top of the blue stairs", 19456, 46592, 22272,
         48896, -43008, -77824, index=156,
         # A solid pillar stands before the stairs: every shot fired at a player coming up
         # dies on it, and the player has cover.
         pillars=[(19584, 46848, 20480, 47104)], ctex=R3 | 7, cshade=0, ftex=R3 | 3, fshade=-15,
         falloff=8, wtex=R3 | 5, wshade=0, wrepv=16)
    chain(plan, "stairC", "the stairs from the gallery down to the cellar",
          23040, 38912, 24064, 41984, 8, "y",
          lambda i: -8192 + 2048 * i, lambda i: -28672 + 2048 * i,
          ctex=R1 | 7, cshade=4, ftex=R1 | 3, fshade=2, falloff=16, wtex=R1 | 5, wshade=6,
          wrepv=16)
    # The cellar's guards stand in a pen walled on three sides, open to the west: no shot of
    # theirs reaches the foot of the stairs, the way round the pen's east side or the door to
    # the steps, and a player meets them only across the pen's mouth, on the cellar's floor,
    # where both can hit.
    CELLAR = dict(ctex=R1 | 7, cshade=0, ftex=R1 | 3, fshade=-4, falloff=16, wtex=R1 | 5,
                  wshade=6, wrepv=8)
    P = plan.pt
    px0, py0, px1, py1 = CELLAR_PEN
    t = CELLAR_PEN_WALL
    plan.add("cellar_hall", "the cellar under the gallery, round the guards' pen",
             [outline(plan, "cellar_hall", 22528, 41984, 25600, 45056),
              inner_rect(plan, "cellar_pier", px0, py0 - t, px1 + t, py1 + t)],
             -16384, 8192, **CELLAR)
    # The mouth is four spans of a quarter each.
    pen = [P("cellar_nw", px0, py0), P("cellar_ne", px1, py0), P("cellar_se", px1, py1),
           P("cellar_sw", px0, py1)]
    pen += [P(f"cellar_mouth{k}", px0, py1 - (py1 - py0) * k // 4) for k in (1, 2, 3)]
    plan.add("cellar", "the guards' pen in the cellar", [pen],
             -16384, 8192, index=158, **dict(CELLAR, wshade=4))
    # The steps from the cellar end in a wall before the lobby, and the ramp's top stands
    # back from the cellar, so the way from the cellar to the lobby and the hall goes round
    # by the warren, the stalls and the guard room onto the ramp's first step: a player
    # reaches the lobby, where the hall's enemies are met first, some seconds later. The
    # lobby's side onto the ramp is two spans at its north end, which keeps the level's count
    # of portal walls. The steps leave the cellar east of the pen's mouth, beside the lamp
    # niche: a player walking to them stays where the pier stands between the guards and the
    # player (a shot leaves the pen only westward, through its mouth), not in the south-west
    # corner that the mouth looks onto.
    room(plan, "cellar_steps", "the steps from the cellar, walled up before the lobby", 23870,
         45056, 24512, 46336, 4096, -16384, ctex=R1 | 7, cshade=2, ftex=R1 | 3, fshade=0,
         falloff=16, wtex=R1 | 5, wshade=4, wrepv=8)
    room(plan, "lobby", "the lobby north of the hall", 22528, 46592, 24576, 49152, 2048,
         TALL_DOOR, ctex=R2 | 7, cshade=0, ftex=R2 | 3, fshade=0, falloff=16, wtex=R2 | 5,
         wshade=2, wrepv=16)
    loop = plan.sectors["lobby"].loops[0]
    loop.insert(loop.index(plan.pt("lobby_ne", 24576, 46592)) + 1,
                plan.pt("lobby_ramp_mid", 24576, 46848))
    chain(plan, "cellarway", "the ramp from the guard room down to the hall",
          24576, 45568, 25600, 49152, 4, "y",
          [8192, 5120, 3072, 1024], [-16384, -16384, -24576, TALL_DOOR],
          cuts=[45568, 46080, 47104, 48128, 49152],
          ctex=R1 | 7, cshade=4, ftex=R1 | 3, fshade=2, falloff=16, wtex=R1 | 5, wshade=6,
          wrepv=16)
    chain(plan, "armoryway", "the corridor from the gallery to the armoury",
          30464, 38912, 31232, 43520, 3, "y",
          [-10240, -10240, -10240], [-30720, -30720, -30720],
          ctex=R2 | 3, cshade=6, ftex=R2 | 3, fshade=4, falloff=16, wtex=R2 | 1, wshade=6,
          wrepv=16)
    room(plan, "armory", "the armoury where the shots wait", 29952, 43520, 31744, 45568,
         -10240, -30720, index=154,
         ctex=R2 | 0, cshade=6, ftex=R2 | 3, fshade=4, falloff=32, wtex=R2 | 1, wshade=6,
         wrepv=16)


def ruins(plan):
    """The ruined quarter between the trench stairs and the blue stairs: rooms of different
    sizes and heights, half of them open to the sky."""
    R = dict(ftex=R3 | 3, fshade=4, wtex=R3 | 5, wrepv=8)
    open_ = dict(R, falloff=0, ctex=SKY_TEX)
    roofed = dict(R, falloff=16, ctex=SKY_TEX)
    for key, area, x0, y0, x1, y1, floor, ceil, cshade, wshade in [
            ("ruin_hall", "the ruins' roofless great room", 14592, 38912, 16384, 41216,
             -10240, SKY, 125, 4),
            ("ruin_tower", "the stump of a ruined tower", 16384, 38912, 17536, 40192,
             -12288, SKY, 126, 6),
            ("ruin_chapel", "a ruined chapel that kept its vault", 17536, 38912, 19200, 40704,
             -10240, -34816, 6, 2),
            ("ruin_lane", "a covered lane through the ruins", 16384, 40192, 17536, 41216, -8192,
             -24576, 6, 6),
            ("ruin_vault", "a vaulted ruin", 17536, 40704, 19200, 42240, -8192, -28672, 8, 6),
            ("ruin_court", "the ruins' little court", 14592, 41216, 16128, 43776, -6144, SKY,
             127, 4),
            ("ruin_well", "the ruined well house, open to the sky", 16128, 41216, 17536, 42752,
             -6144, SKY, 125, 2),
            ("ruin_yard", "a yard among the ruins", 16128, 42752, 17536, 43776, -7168, SKY, 126,
             4),
            ("ruin_shell", "the shell of a ruined house", 17536, 42240, 19200, 44032, -8192,
             -28672, 10, 8)]:
        theme = dict(open_ if ceil == SKY else roofed)
        if key == "ruin_lane":
            theme["ctex"] = R3 | 7
        room(plan, key, area, x0, y0, x1, y1, floor, ceil, cshade=cshade, wshade=wshade,
             **theme)
    room(plan, "scriptorium", "the scriptorium, open onto the blue stairs", 20480, 38912, 22528,
         41984, -10240, -47104,
         features=[("scriptorium_lectern", "the scriptorium's lectern", 21504, 40192, 22016,
                    40704, -11264, dict(ftex=R3 | 2, fshade=0, wtex=R3 | 1, wshade=0))],
         ctex=R3 | 4, cshade=4, ftex=R3 | 1, fshade=2, falloff=16, wtex=R3 | 1, wshade=4,
         wrepv=16)
    room(plan, "chapterhouse", "the chapter house below the scriptorium", 20992, 41984, 22272,
         46336, -24576, -51200,
         ctex=R3 | 2, cshade=4, ftex=R3 | 7, fshade=0, falloff=16, wtex=R3 | 2, wshade=4,
         wrepv=16)


def northeast(plan):
    """The warren of rooms between the cellar stairs and the armoury corridor, and the stalls
    below it."""
    W = dict(falloff=16, wrepv=16)
    grey = dict(ctex=R0 | 7, ftex=R0 | 7, wtex=R0 | 5)
    for key, area, x0, y0, x1, y1, floor, ceil, theme in [
            ("warren_hall", "the warren's long hall", 24320, 38912, 26624, 40192, -10240,
             -30720, dict(grey, cshade=4, fshade=2, wshade=6)),
            ("warren_red", "the red room of the warren", 26624, 38912, 28672, 40704, -8192,
             -28672, dict(ctex=R2 | 7, cshade=2, ftex=R2 | 3, fshade=0, wtex=R2 | 5, wshade=4)),
            ("warren_store", "the warren's store", 28672, 38912, 30464, 40192, -10240, -26624,
             dict(ctex=R0 | 2, cshade=6, ftex=R0 | 2, fshade=4, wtex=R0 | 1, wshade=6)),
            ("warren_low", "the warren's low room", 24320, 40192, 25600, 41984, -8192, -22528,
             dict(ctex=R0 | 3, cshade=6, ftex=R0 | 5, fshade=4, wtex=R0 | 1, wshade=8)),
            ("warren_nook", "a nook of the warren", 25600, 40192, 26624, 40704, -8192, -24576,
             dict(grey, cshade=6, fshade=4, wshade=6)),
            ("warren_well", "the warren's well room", 25600, 40704, 28672, 41728, -6144, -26624,
             dict(ctex=R1 | 7, cshade=4, ftex=R1 | 7, fshade=2, wtex=R1 | 5, wshade=6)),
            ("warren_back", "the warren's back room", 28672, 40192, 30464, 41728, -8192, -24576,
             dict(grey, cshade=4, fshade=2, wshade=6))]:
        room(plan, key, area, x0, y0, x1, y1, floor, ceil, **theme, **W)
    # The warren's hall opens onto the gallery by a door of 2,048 under its lower roof, and
    # the well room onto the stalls by one at its west end, a wall beside each.
    recess(plan, "warren_hall", (24320, 38912), [(24320, 39168), (24576, 39168), (24576, 38912)])
    recess(plan, "warren_well", (28672, 41728), [(28672, 41472), (27648, 41472), (27648, 41728)])
    S = dict(ctex=R3 | 4, cshade=4, ftex=R3 | 1, fshade=2, falloff=16, wtex=R3 | 1, wrepv=16)
    room(plan, "stalls_long", "the long stall", 25600, 41728, 29696, 43520, -6144, -22528,
         wshade=4, **S)
    room(plan, "stalls_pen", "the horse pen", 25856, 43520, 27136, 45568, -5120, -20480,
         wshade=6, **S)
    room(plan, "stalls_tack", "the tack room", 27136, 43520, 28416, 45568, -3072, -20480,
         wshade=4, **S)
    room(plan, "stalls_loft", "the hay loft", 28416, 43520, 29696, 45568, -2048, -18432,
         wshade=4, **S)


HALL = dict(ctex=R2 | 7, cshade=-15, falloff=8, wrepv=8)
# The hall's doors stand half as tall as the hall, lit, framed by the door panel.
TALL_DOOR = -53248
HALL_DOOR = dict(ctex=R0 | 7, cshade=-6, ftex=R0 | 3, fshade=-4, falloff=8, wtex=R0 | 5,
                 wshade=-4, wrepv=16)


def middle(plan):
    """Between the trench and the hall."""
    # The corridor's third step is a landing in two strips: the second is the sector the high
    # room's screen gave up when it became a solid pillar.
    chain(plan, "westdoor", "the corridor from the trench to the hall",
          14080, 53248, 17920, 54272, 6, "x", [7168, 6144, 5120, 5120, 4096, 2048],
          [-16384, -16384, -18432, -18432, -20480, TALL_DOOR],
          cuts=[14080, 14848, 15616, 16128, 16640, 17408, 17920],
          ctex=R0 | 7, cshade=4, ftex=R0 | 3, fshade=2, falloff=16, wtex=R0 | 5, wshade=6,
          wrepv=16)
    door = plan.sectors["westdoor5"]
    door.door = True
    for k, v in HALL_DOOR.items():
        setattr(door, k, v)
    plan.add("garden", "the sunken garden north of the corridor",
             # The garden opens onto the trench by a gate at its south end, beside the
             # corridor to the hall; north of the gate a wall stands between them. The gate is
             # two spans, which keeps the level's count of portal walls.
             [[plan.pt("garden_nw", 14336, 44032), plan.pt("garden_ne", 16640, 44032),
               plan.pt("garden_se", 16640, 53248), plan.pt("garden_sw", 14080, 53248),
               plan.pt("garden_gate", 14080, 52224), plan.pt("garden_gate_n", 14080, 51200),
               plan.pt("garden_wall_s", 14336, 51200)],
              inner_rect(plan, "fountain", 14848, 47616, 15872, 48640)], SKY, 9216,
             **sky(125), falloff=0, ftex=R1 | 7, fshade=2, wtex=R3 | 5, wshade=4, wrepv=8)
    plan.add("fountain", "the fountain in the garden",
             [plan.rect("fountain", 14848, 47616, 15872, 48640)], SKY, 7168,
             **sky(126), falloff=0, ftex=R1 | 6, fshade=-4, wtex=R1 | 7, wshade=0, wrepv=16)
    # The store lies a step below the trench, the well room and the crypt: a step marks each
    # of its doors, and the crypt's shots pass over a player standing in it.
    room(plan, "store", "the store south of the corridor", 14080, 54272, 16640, 60416, 9216,
         -20480,
         ctex=R0 | 2, cshade=4, ftex=R0 | 2, fshade=4, falloff=16, wtex=R0 | 1, wshade=6,
         wrepv=16)
    # The store opens onto the trench by a door in the middle of its west side, with a wall
    # on either side: the courtyard's spawn points, north-west and south-west of it, see
    # through the door only a sliver of the floor beside it.
    loop = plan.sectors["store"].loops[0]
    nw, sw = plan.pt("store_nw", 14080, 54272), plan.pt("store_sw", 14080, 60416)
    loop[loop.index(nw)] = plan.pt("store_nw_wall", 14336, 54272)
    at = loop.index(sw)
    loop[at:at + 1] = [plan.pt("store_sw_wall", 14336, 60416),
                       plan.pt("store_wall_n", 14336, 58368),
                       plan.pt("store_door_s", 14080, 58368),
                       plan.pt("store_door_n", 14080, 56320),
                       plan.pt("store_wall_s", 14336, 56320)]
    # The store does not open onto the crypt: its south-east corner is cut back along a
    # diagonal, so the way into the crypt is through the well room, whose side onto the crypt
    # faces the crypt's guards along their row from a step below them.
    se = loop.index(plan.pt("store_se", 16640, 60416))
    loop[se:se + 1] = [plan.pt("store_se_cut", 16640, 59904), plan.pt("crypt_nw", 15872, 60416)]
    chain(plan, "colonnade", "the colonnade along the garden", 16640, 44032, 17408, 53248, 6,
          "y", [8192, 7168, 6144, 5120, 5120, 5120], [-16384] * 6,
          ctex=R0 | 7, cshade=4, ftex=R0 | 7, fshade=2, falloff=16, wtex=R0 | 2, wshade=4,
          wrepv=16)
    room(plan, "anteroom", "the anteroom before the hall's north-west door", 17920, 44288,
         19200, 48896, 0, -32768, ctex=R0 | 7, cshade=2, ftex=R0 | 3, fshade=0, falloff=16,
         wtex=R0 | 5, wshade=4, wrepv=16)
    room(plan, "antedoor", "the hall's north-west door", 18176, 48896, 19200, 49152, 0,
         TALL_DOOR, door=True, **HALL_DOOR)


def hall(plan):
    h = plan.rect("hall", 17920, 49152, 28160, 60416)
    # The west spawn point's enemies walk east along its row (y 51,456) until something turns
    # them. The north-east block stands south of that row, so they walk on past the lobby's door
    # to the east wall, in front of the cellar ramp's last step: a step below the hall's floor,
    # from where a player's shots reach them and theirs pass over the player.
    blocks = [("block1", 19456, 53248, 21504, 55296, (72, 73)),
              ("block2", 25600, 54016, 27648, 56064, (74, 75)),
              ("block3", 20992, 57344, 23040, 59392, (12, 13))]
    loops = [h]
    P = plan.pt
    for tag, x0, y0, x1, y1, (lo, hi) in blocks:
        xm = (x0 + x1) // 2
        nw, nm, ne = P(f"{tag}_nw", x0, y0), P(f"{tag}_n", xm, y0), P(f"{tag}_ne", x1, y0)
        sw, sm, se = P(f"{tag}_sw", x0, y1), P(f"{tag}_s", xm, y1), P(f"{tag}_se", x1, y1)
        loops.append([nw, sw, sm, se, ne, nm])
        # The blocks stand under the hall's own lit roof.
        plan.add(f"{tag}a", "the hall's raised block, upper step", [[nw, nm, sm, sw]],
                 -106496, -7168, index=lo, ftex=R3 | 0, fshade=0, wtex=R3 | 5, wshade=0,
                 **HALL)
        plan.add(f"{tag}b", "the hall's raised block, lower step", [[nm, ne, se, sm]],
                 -106496, -4096, index=hi, ftex=R3 | 3, fshade=0, wtex=R3 | 5, wshade=0,
                 **HALL)
    # Big walls seen from far away get big stones: coarse rows alias less.
    plan.add("hall", "the great hall", loops, -106496, 0, index=140, ftex=R2 | 3, fshade=-2,
             wtex=R2 | 5, wshade=0, **dict(HALL, wrepv=2))


def east(plan):
    room(plan, "barracks", "the barracks east of the hall", 28160, 45568, 31744, 49152, -6144,
         -24576, pillars=[(29184, 46848, 29696, 47360), (30464, 46848, 30976, 47360)],
         ctex=R3 | 7, cshade=4, ftex=R0 | 3, fshade=2, falloff=16, wtex=R3 | 5, wshade=4,
         wrepv=8)
    room(plan, "guardroom", "the guard room north of the hall", 25856, 45568, 28160, 48640,
         -4096, -24576, ctex=R3 | 7, cshade=4, ftex=R0 | 3, fshade=2, falloff=16,
         wtex=R3 | 5, wshade=6, wrepv=8)
    # One door of 2,048 from the guard room down into the barracks, a wall beside it.
    # The door is two spans, which keeps the level's count of portal walls.
    recess(plan, "guardroom", (28160, 45568), [(27904, 45568), (27904, 46592), (28160, 46592)])
    loop = plan.sectors["guardroom"].loops[0]
    loop.insert(loop.index(plan.pt("guardroom_recess", 28160, 46592)) + 1,
                plan.pt("guardroom_door_mid", 28160, 47616))
    # The way from the cellar to the lobby comes round by the stalls and this room, whose
    # north-west corner reaches over to the cellar ramp's first step and opens onto it. The
    # west wall runs slant from the south-east corner to the step's foot, so the room touches
    # no lower step of the ramp, and the slant and the corner's short north wall stand where
    # the west and south walls stood, which keeps the level's count of walls.
    loop[loop.index(plan.pt("guardroom_nw", 25856, 45568))] = plan.pt("guardroom_ramp_nw",
                                                                      25600, 45568)
    loop[loop.index(plan.pt("guardroom_sw", 25856, 48640))] = plan.pt("guardroom_ramp_sw",
                                                                      25600, 46080)
    room(plan, "eastdoor", "the hall's east door", 28160, 53248, 28672, 54272, 0, TALL_DOOR,
         door=True, **HALL_DOOR)
    chain(plan, "easthall", "the east hallway", 28672, 50176, 29696, 58368, 3, "y",
          [0, 0, 0], [-20480, -32768, -20480], cuts=[50176, 53248, 54272, 58368],
          ctex=R3 | 7, cshade=lambda i: 0 if i == 1 else 6, ftex=R3 | 3, fshade=2, falloff=16,
          wtex=R3 | 1, wshade=lambda i: 2 if i == 1 else 6, wrepv=16)
    room(plan, "eastroom", "the east room", 29696, 50176, 31744, 58368, 1024, -20480,
         features=[("eastroom_brazier", "a brazier on a plinth in the east room", 30464, 52224,
                    30976, 52736, -1024, dict(ftex=R2 | 7, fshade=-8, wtex=R3 | 3, wshade=0)),
                   ("eastroom_pool", "a pool in the east room", 30208, 55552, 31232, 56576,
                    2048, dict(ftex=R1 | 6, fshade=0, wtex=R3 | 3, wshade=2))],
         ctex=R3 | 6, cshade=4, ftex=R0 | 6, fshade=4, falloff=16, wtex=R3 | 2, wshade=6,
         wrepv=16)
    # The east room's west wall stands back from the hallway but for one stretch in its
    # middle: doors of 2,048 from the hallway's ends, a step up, and the hallway's middle.
    recess(plan, "eastroom", (29696, 50176), [(29952, 50176)])
    recess(plan, "eastroom", (29696, 58368), [(29952, 58368), (29952, 56320), (29696, 56320),
                                              (29696, 51200), (29952, 51200)])
    plan.add("eastyard", "the east yard", [plan.rect("eastyard", 28672, 58368, 31744, 62976)],
             SKY, 2048, **sky(126), **dict(YARD, ftex=R0 | 6))


def south(plan):
    # The corridor stands a step above the trench, the south yard and the crypt: the
    # courtyard's south spawn point sees into it through the trench's south end, and the crypt
    # through its door, but their shots pass under a player there (an enemy's shot reaches a
    # floor at most 2,856 above its own).
    chain(plan, "southway", "the south corridor", 12800, 62464, 15872, 63488, 3, "x",
          [5120, 5120, 5120], [-12288, -12288, -12288], cuts=[12800, 13568, 14592, 15872],
          ctex=R0 | 7, cshade=6, ftex=R0 | 5, fshade=6, falloff=16, wtex=R0 | 1, wshade=8,
          wrepv=16)
    P = plan.pt
    # The crypt's north-east corner is cut along a diagonal, and its west side onto the well
    # room is two spans; the store's door that it no longer has kept those walls.
    plan.add("crypt", "the crypt south-west of the hall",
             [[P("crypt_nw", 15872, 60416), P("crypt_ne", 17664, 60416),
               P("crypt_n2", 17920, 60928),
               P("crypt_n3", 17920, 61440), P("crypt_e2", 18432, 61440),
               P("crypt_se", 18432, 63488), P("crypt_sw", 15872, 63488),
               P("crypt_wellroom_mid", 15872, 61440)]],
             -16384, 8192, index=164, ctex=R1 | 7, cshade=4, ftex=R1 | 7, fshade=-2,
             falloff=16, wtex=R1 | 5, wshade=6, wrepv=8)
    # The well room lies a step below the crypt, level with the store: the crypt's guards pace
    # along their row toward its side, and their shots pass over a player standing in it.
    room(plan, "wellroom", "the well room between the store and the south corridor", 14080,
         60416, 15872, 62464, 9216, -20480, ctex=R0 | 2, cshade=4, ftex=R0 | 5, fshade=4,
         falloff=16, wtex=R0 | 1, wshade=6, wrepv=16)
    # The well room's door onto the trench is a narrow one at its south end: the courtyard's
    # south spawn point, west of it and level with its north end, sees no farther in than the
    # door's own corner.
    loop = plan.sectors["wellroom"].loops[0]
    loop[0] = plan.pt("store_sw_wall", 14336, 60416)
    loop += [plan.pt("wellroom_door_n", 14080, 61952), plan.pt("wellroom_wall_s", 14336, 61952)]
    chain(plan, "cryptstair", "the steps from the hall down into the crypt", 17920, 60416,
          18432, 61440, 2, "y", [2048, 5120], [TALL_DOOR, -20480], door=True,
          **dict(HALL_DOOR, ftex=R1 | 3, wtex=R1 | 5))
    room(plan, "porch", "the porch south of the hall", 21504, 60416, 22528, 61440, 2048,
         TALL_DOOR, door=True, **HALL_DOOR)
    room(plan, "southhall", "the golden south hall", 18432, 61440, 28672, 64000, 4096, -32768,
         features=[("southhall_altar", "the south hall's altar", 20992, 62720, 22016, 63488,
                    2048, dict(ftex=R2 | 3, fshade=-4, wtex=R3 | 5, wshade=0)),
                   ("southhall_font", "the south hall's font", 24832, 62720, 25856, 63488, 5120,
                    dict(ftex=R1 | 6, fshade=0, wtex=R3 | 3, wshade=2))],
         ctex=R3 | 2, cshade=0, ftex=R3 | 7, fshade=-2, falloff=16, wtex=R3 | 3, wshade=2,
         wrepv=16)
    chain(plan, "sidechapel", "a side chapel of the south hall", 18432, 64000, 28672, 65024, 5,
          "x", [3072, 4096, 3072, 4096, 3072], [-16384] * 5,
          ctex=R3 | 2, cshade=lambda i: 2 + 2 * i, ftex=R3 | 7, fshade=2, falloff=32,
          wtex=R3 | 3, wshade=lambda i: 2 + i, wrepv=16)
    # The cisterns lie level with the corridor, out of reach of the courtyard's south spawn point
    # and the crypt's guards, whose shots fly down the trench's south end and the corridor.
    chain(plan, "cistern", "a cistern beside the south corridor", 12800, 63488, 15872, 65024, 3,
          "x", [5120, 5120, 5120], [-8192, -8192, -8192],
          ctex=R1 | 6, cshade=10, ftex=R1 | 7, fshade=lambda i: 31 - 8 * i, falloff=48,
          wtex=R1 | 6, wshade=lambda i: 6 + 2 * i, wrepv=16)


ALCOVE = dict(ctex=R0 | 7, cshade=6, ftex=R0 | 3, fshade=6, falloff=16, wtex=R0 | 5, wshade=8,
              wrepv=16)


def alcove(plan, key, area, x0, y0, x1, y1, floor, ceil, **theme):
    t = dict(ALCOVE)
    t.update(theme)
    plan.add(key, area, [plan.rect(key, x0, y0, x1, y1)], ceil, floor, **t)


def lroom(plan, key, area, x0, y0, x1, y1, corner, cut, floor, ceil, **theme):
    """A small room with one corner cut away: six walls."""
    t = dict(ALCOVE)
    t.update(theme)
    P = plan.pt
    c = {"nw": (x0, y0), "ne": (x1, y0), "se": (x1, y1), "sw": (x0, y1)}
    order = ["nw", "ne", "se", "sw"]
    pts = []
    for name in order:
        x, y = c[name]
        if name != corner:
            pts.append(P(f"{key}_{name}", x, y))
            continue
        dx = cut if name in ("nw", "sw") else -cut
        dy = cut if name in ("nw", "ne") else -cut
        a = (x, y + dy) if name in ("nw", "se") else (x + dx, y)
        b = (x + dx, y) if name in ("nw", "se") else (x, y + dy)
        pts.append(P(f"{key}_{name}1", *a))
        pts.append(P(f"{key}_{name}c", x + dx, y + dy))
        pts.append(P(f"{key}_{name}2", *b))
    plan.add(key, area, [pts], ceil, floor, **t)


def side_rooms(plan):
    """Alcoves, closets and little passages opening off the larger rooms."""
    blue = dict(ctex=R1 | 7, ftex=R1 | 3, wtex=R1 | 5, wrepv=8)
    gold = dict(ctex=R3 | 2, ftex=R3 | 7, wtex=R3 | 3)
    plan.add("crypt_alcove1", "a pointed burial niche of the crypt",
             [[plan.pt("crypt_alcove1_nw", 16128, 63488),
               plan.pt("crypt_alcove1_ne", 16896, 63488),
               plan.pt("crypt_alcove1_s", 16512, 64256)]], -8192, 8192, **dict(ALCOVE, **blue))
    alcove(plan, "crypt_alcove2", "a burial niche of the crypt", 17408, 63488, 18176, 64256,
           8192, -8192, **blue)
    for k, x in enumerate([18944, 23552, 25344]):
        alcove(plan, f"southhall_bay{k}", "a bay of the south hall", x, 60928, x + 768, 61440,
               4096, -20480, cshade=2, **gold)
    alcove(plan, "eastyard_shed1", "a shed off the east yard", 29184, 62976, 29952, 64000,
           2048, -14336, ctex=R3 | 7, ftex=R3 | 1, wtex=R3 | 5, wrepv=8)
    alcove(plan, "colonnade_gate", "the gate from the colonnade into the anteroom",
           17408, 44288, 17920, 45312, 4096, -16384, door=True)
    alcove(plan, "yardstore", "the store behind the east yard sheds", 28672, 64000, 31744,
           65024, 2048, -14336, ctex=R3 | 7, ftex=R3 | 1, wtex=R3 | 5, wrepv=8)
    alcove(plan, "scriptorium_bridge", "the bridge from the scriptorium to the cellar stairs",
           22528, 39680, 23040, 40064, -8192, -24576, door=True, ctex=R3 | 4, ftex=R3 | 1,
           wtex=R3 | 1)
    alcove(plan, "chapterhouse_door", "the door from the blue stairs into the chapter house",
           20480, 41984, 20992, 42496, -24576, -45056, door=True, ctex=R3 | 2, ftex=R3 | 7,
           wtex=R3 | 2)
    alcove(plan, "watchroom_door", "the door from the watch room onto the trench stairs",
           12288, 39936, 12800, 40448, -6144, -24576, door=True)
    alcove(plan, "gallery_bay1", "a bay off the gallery beside the stairs", 14080, 38912,
           14464, 39424, -9216, -26624, ctex=R0 | 4, ftex=R0 | 1, wtex=R0 | 5)
    lroom(plan, "store_office", "the store keeper's office", 16640, 54528, 17408, 55168, "ne",
          256, 8192, -12288, ctex=R0 | 2, ftex=R0 | 1, wtex=R0 | 1)
    lroom(plan, "crypt_ossuary", "the ossuary beside the crypt", 16896, 59648, 17664, 60416,
          "nw", 256, 8192, -8192, **blue)
    room(plan, "watchroom", "the watch room beside the trench stairs", 11264, 38912, 12288,
         41472, -8192, -30720, ctex=R0 | 7, cshade=6, ftex=R0 | 3, fshade=6, falloff=32,
         wtex=R0 | 1, wshade=8, wrepv=16)
    alcove(plan, "watchroom_closet", "the watchman's closet", 10944, 39040, 11264, 39936,
           -8192, -22528)
    alcove(plan, "eastyard_privy", "a privy off the east yard", 28800, 62976, 29056, 63744,
           2048, -14336, ctex=R3 | 7, ftex=R3 | 1, wtex=R3 | 5, wrepv=8)
    # A lamp burns in a niche high in the cellar's south wall.
    alcove(plan, "lamp_niche", "a lamp niche high in the cellar wall", 23583, 45056, 23839,
           45440, -2048, -4096, ctex=R1 | 7, cshade=-8, ftex=R1 | 7, fshade=-8, wtex=R1 | 5,
           wshade=-4, wrepv=8)


# Corners whose place the game relies on: the start ledge and the shaft's lip below it.
FIXED_POINTS = {"ledge_s", "ledge_w", "ledge_nw", "ledge_ne", "ledge_se", "ledge_lip"}

# Corners cut off along a short diagonal, where a square corner would look too plain. Each adds
# one wall, so the list is also where the wall count is kept when a door narrows an opening
# (a wall beside a door adds walls; a corner left square takes one away). The last four cuts
# (the gallery's, the high room's two and the cellar's) gave their walls to the high room's
# pillar.
CHAMFERS = []
