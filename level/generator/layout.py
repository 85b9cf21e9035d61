"""The map of Krello's level: every area, its sectors and their surfaces."""

SKY = -465920           # ceiling height of the open areas; drawn black
SKY_TEX = 0x55


def chain(plan, tag, area, x0, y0, x1, y1, n, axis, floors, ceils, **theme):
    """Splits a rectangle into n strips (a corridor or a flight of stairs) and adds them.
    axis 'x' cuts across x (strips follow each other along +x), 'y' along +y."""
    keys = []
    for i in range(n):
        if axis == "x":
            a = x0 + (x1 - x0) * i // n
            b = x0 + (x1 - x0) * (i + 1) // n
            loop = plan.rect(f"{tag}{i}", a, y0, b, y1)
        else:
            a = y0 + (y1 - y0) * i // n
            b = y0 + (y1 - y0) * (i + 1) // n
            loop = plan.rect(f"{tag}{i}", x0, a, x1, b)
        f = floors(i) if callable(floors) else floors[i]
        c = ceils(i) if callable(ceils) else ceils[i]
        key = f"{tag}{i}"
        extra = dict(theme)
        for k, v in extra.items():
            if callable(v):
                extra[k] = v(i)
        plan.add(key, f"{area}, segment {i + 1} of {n}", [loop], c, f, **extra)
        keys.append(key)
    return keys


def inner_rect(plan, tag, x0, y0, x1, y1):
    """An inner loop (pillar or raised block) around a rectangle: runs the other way."""
    return list(reversed(plan.rect(tag, x0, y0, x1, y1)))


def grid(plan, tag, area, xs, ys, floors, ceils, **theme):
    """A block of rectangular cells sharing their edges (terraces, ruins, stalls)."""
    keys = []
    for j in range(len(ys) - 1):
        for i in range(len(xs) - 1):
            key = f"{tag}{j}{i}"
            theme_ij = {k: (v(i, j) if callable(v) else v) for k, v in theme.items()}
            plan.add(key, f"{area}, row {j + 1} column {i + 1}",
                     [plan.rect(key, xs[i], ys[j], xs[i + 1], ys[j + 1])],
                     ceils(i, j), floors(i, j), **theme_ij)
            keys.append(key)
    return keys


def build(plan):
    west(plan)
    north(plan)
    middle(plan)
    hall(plan)
    east(plan)
    south(plan)
    quarters(plan)
    side_rooms(plan)


def west(plan):
    P = plan.pt
    A = P("ledge_s", 8928, 40928)
    B = P("ledge_w", 6272, 40000)
    C = P("ledge_nw", 7200, 38272)
    D = P("ledge_ne", 10848, 39680)
    E = P("ledge_se", 10080, 41344)
    F = P("ledge_lip", 9856, 41280)
    H = P("shaft_sw", 8192, 42752)
    G = P("shaft_se", 10240, 42752)
    q0 = P("court_nw", 0, 40960)
    q3 = P("court_ne", 12800, 43008)
    q4 = P("court_se", 12800, 62464)
    q5 = P("court_s", 7168, 62464)
    q6 = P("court_w", 6400, 48640)
    q7 = P("court_wn", 1536, 43520)

    s = plan.add("start", "the start ledge, high above the shaft", [[A, B, C, D, E, F]],
                 -466944, -453632, index=151, ctex=6, cshade=65, ftex=6, fshade=23,
                 wtex=4, wshade=26, wrepv=8)
    for (p1, p2), ru, tex in zip([(A, B), (B, C), (C, D), (D, E), (E, F), (F, A)],
                                 [21, 15, 30, 14, 1, 7], [4, 4, 4, 4, 2, 4]):
        s.overrides[(p1, p2)] = {"texture": tex, "repeatU": ru}

    plan.add("shaft", "the shaft below the start ledge", [[H, A, F, G]], SKY, -35840,
             index=150, ctex=SKY_TEX, cshade=126, ftex=0x04, fshade=8, falloff=16,
             wtex=0x05, wshade=12, wrepv=8)

    plan.add("court", "the open courtyard under the sky", [[q0, H, G, q3, q4, q5, q6, q7]],
             SKY, 9216, index=128, ctex=SKY_TEX, cshade=127, ftex=0x06, fshade=4,
             falloff=8, wtex=0x05, wshade=6, wrepv=8)

    nt1 = P("terrace_nw", 0, 39936)
    nt2 = P("terrace_ne", 5120, 39936)
    plan.add("terrace", "the north terrace above the courtyard", [[nt1, nt2, H, q0]], SKY,
             -4096, ctex=SKY_TEX, cshade=125, ftex=0x03, fshade=6, falloff=8,
             wtex=0x05, wshade=10, wrepv=8)

    w_a = P("westterrace_n", -2048, 40960)
    w_b = P("westterrace_se", 1536, 46080)
    w_c = P("westterrace_sw", -2048, 46080)
    plan.add("westterrace", "the west terrace", [[w_a, q0, q7, w_b, w_c]], SKY, -8192,
             index=129, ctex=SKY_TEX, cshade=126, ftex=0x03, fshade=2, falloff=8,
             wtex=0x05, wshade=8, wrepv=8)

    g1 = P("slope_nw", 10496, 41728)
    g2 = P("slope_ne", 12800, 41984)
    plan.add("slope", "the slope east of the shaft", [[g1, g2, q3, G]], SKY, 4096,
             ctex=SKY_TEX, cshade=125, ftex=0x06, fshade=10, falloff=8,
             wtex=0x05, wshade=14, wrepv=8)

    t1 = P("trench_ne", 14080, 43008)
    t2 = P("trench_se", 14080, 62464)
    plan.add("trench", "the east trench beside the courtyard", [[q3, t1, t2, q4]], SKY, 8192,
             ctex=SKY_TEX, cshade=127, ftex=0x06, fshade=8, falloff=8,
             wtex=0x05, wshade=4, wrepv=8)

    s2 = P("southyard_se", 12800, 65024)
    s3 = P("southyard_sw", 7168, 65024)
    plan.add("southyard", "the south yard", [[q5, q4, s2, s3]], SKY, 6144,
             ctex=SKY_TEX, cshade=126, ftex=0x06, fshade=6, falloff=8,
             wtex=0x05, wshade=8, wrepv=8)

    wnw = P("westyard_nw", -1024, 46080)
    tower = inner_rect(plan, "tower", 3584, 51968, 5632, 54016)
    plan.add("westyard", "the west yard around the tower",
             [[q7, q6, q5, s3, P("huts_se", 1024, 65024), P("huts_ne", 1024, 49152),
               P("huts_nw", -1024, 49152), wnw, w_b], tower], SKY, 7168,
             ctex=SKY_TEX, cshade=127, ftex=0x06, fshade=2, falloff=8,
             wtex=0x05, wshade=6, wrepv=8)
    plan.add("tower", "the top of the tower", [list(reversed(tower))], SKY, -46080,
             index=148, ctex=SKY_TEX, cshade=126, ftex=0x00, fshade=0, falloff=8,
             wtex=0x00, wshade=-21, wrepv=2)

    plan.add("chapel", "the north-west chapel",
             [plan.rect("chapel", -3328, 37376, 0, 40960),
              inner_rect(plan, "chapel_pillar1", -2304, 38400, -1792, 38912),
              inner_rect(plan, "chapel_pillar2", -2304, 39424, -1792, 39936)],
             -36864, -6144, ctex=0x07, cshade=8, ftex=0x03, fshade=4, falloff=16,
             wtex=0x08, wshade=6, wrepv=16)
    plan.add("vestry", "the vestry below the chapel",
             [plan.rect("vestry", -3328, 40960, -2048, 46080)], -28672, -6144,
             ctex=0x07, cshade=10, ftex=0x03, fshade=6, falloff=16, wtex=0x08,
             wshade=8, wrepv=16)
    chain(plan, "passage", "the north passage", 0, 37376, 11776, 38144, 4, "x",
          [-6144, -7168, -8192, -9216], [-24576] * 4,
          ctex=0x04, cshade=4, ftex=0x04, fshade=6, falloff=16, wtex=0x01, wshade=4, wrepv=16)
    chain(plan, "cloister", "the west cloister", -3328, 46080, -1024, 65024, 4, "y",
          [7168, 7168, 7168, 7168], [-16384, -16384, -16384, -16384],
          ctex=0x03, cshade=2, ftex=0x55, fshade=4, falloff=16, wtex=0x05, wshade=4, wrepv=8)


def north(plan):
    """The gallery along the north edge and the stairs hanging off it."""
    plan.add("gallery", "the long north gallery",
             [plan.rect("gallery", 11776, 37376, 31744, 38912),
              inner_rect(plan, "gallery_pillar1", 16384, 37888, 16896, 38400),
              inner_rect(plan, "gallery_pillar2", 21760, 37888, 22272, 38400),
              inner_rect(plan, "gallery_pillar3", 27136, 37888, 27648, 38400)],
             -40960, -10240,
             ctex=0x03, cshade=6, ftex=0x01, fshade=4, falloff=16, wtex=0x01,
             wshade=4, wrepv=16)
    keys = chain(plan, "stairA", "the stairs from the trench up to the gallery",
                 12800, 38912, 14080, 43008, 8, "y",
                 lambda i: -8192 + 2048 * i, lambda i: -32768 + 2048 * i,
                 ctex=0x04, cshade=lambda i: 7 - i, ftex=0x04, fshade=6, falloff=16,
                 wtex=0x03, wshade=6, wrepv=16)
    for i, k in enumerate(keys):
        plan.sectors[k].index = 14 + i
    chain(plan, "stairB", "the stairs from the gallery up to the balcony",
          19456, 38912, 20480, 46592, 15, "y",
          lambda i: -12288 - 2048 * i, lambda i: -36864 - 2048 * i,
          ctex=0x02, cshade=4, ftex=0x02, fshade=4, falloff=16, wtex=0x02, wshade=6, wrepv=16)
    plan.add("balcony", "the balcony over the hall",
             [plan.rect("balcony", 19456, 46592, 22528, 49152)], -77824, -43008, index=156,
             ctex=0x07, cshade=6, ftex=0x00, fshade=-15, falloff=16, wtex=0x00,
             wshade=6, wrepv=16)
    chain(plan, "stairC", "the stairs from the gallery down to the cellar",
          23040, 38912, 24064, 41984, 8, "y",
          lambda i: -8192 + 2048 * i, lambda i: -28672 + 2048 * i,
          ctex=0x44, cshade=6, ftex=0x44, fshade=4, falloff=16, wtex=0x44, wshade=8, wrepv=16)
    plan.add("cellar", "the cellar under the gallery",
             [plan.rect("cellar", 22528, 41984, 25600, 45056),
              inner_rect(plan, "cellar_pillar", 24320, 43264, 24832, 43776)],
             -16384, 8192, index=158,
             ctex=0x45, cshade=8, ftex=0x44, fshade=6, falloff=32, wtex=0x45,
             wshade=10, wrepv=8)
    chain(plan, "cellarway", "the ramp from the cellar up to the hall",
          24576, 45056, 25600, 49152, 4, "y",
          [7168, 5120, 3072, 1024], [-16384] * 4,
          ctex=0x04, cshade=6, ftex=0x04, fshade=6, falloff=16, wtex=0x01, wshade=8, wrepv=16)
    chain(plan, "armoryway", "the corridor from the gallery to the armoury",
          30464, 38912, 31232, 43520, 3, "y",
          [-10240, -10240, -10240], [-30720, -30720, -30720],
          ctex=0x83, cshade=10, ftex=0x83, fshade=8, falloff=32, wtex=0x88, wshade=12, wrepv=16)
    plan.add("armory", "the armoury where the shots wait",
             [plan.rect("armory", 29952, 43520, 31744, 45568),
              inner_rect(plan, "armory_rack", 30208, 43776, 30720, 44032)],
             -30720, -10240, index=154,
             ctex=0x83, cshade=12, ftex=0x83, fshade=10, falloff=32, wtex=0x88,
             wshade=14, wrepv=16)


def middle(plan):
    """Between the trench and the hall."""
    chain(plan, "westdoor", "the corridor from the trench to the hall",
          14080, 53248, 17920, 54272, 3, "x", [6144, 4096, 2048],
          [-16384] * 3,
          ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x01, wshade=6, wrepv=16)
    plan.add("garden", "the sunken garden north of the corridor",
             [plan.rect("garden", 14080, 44032, 16640, 53248),
              inner_rect(plan, "fountain", 14848, 47616, 15872, 48640)], SKY, 9216,
             ctex=SKY_TEX, cshade=125, ftex=0x07, fshade=6, falloff=8, wtex=0x05,
             wshade=8, wrepv=8)
    plan.add("fountain", "the fountain in the garden",
             [plan.rect("fountain", 14848, 47616, 15872, 48640)], SKY, 7168,
             ctex=SKY_TEX, cshade=126, ftex=0x47, fshade=2, falloff=8, wtex=0x47,
             wshade=6, wrepv=16)
    plan.add("store", "the store south of the corridor",
             [plan.rect("store", 14080, 54272, 16640, 60416),
              inner_rect(plan, "store_pillar", 15104, 56832, 15616, 57344)], -20480, 8192,
             ctex=0x00, cshade=4, ftex=0x00, fshade=6, falloff=16, wtex=0x00,
             wshade=8, wrepv=16)


def hall(plan):
    h = plan.rect("hall", 17920, 49152, 28160, 60416)
    blocks = [("block1", 19456, 53248, 21504, 55296, (72, 73)),
              ("block2", 24576, 50688, 26624, 52736, (74, 75)),
              ("block3", 20992, 57344, 23040, 59392, (12, 13))]
    loops = [h]
    for tag, x0, y0, x1, y1, (lo, hi) in blocks:
        xm = (x0 + x1) // 2
        P = plan.pt
        nw, nm, ne = P(f"{tag}_nw", x0, y0), P(f"{tag}_n", xm, y0), P(f"{tag}_ne", x1, y0)
        sw, sm, se = P(f"{tag}_sw", x0, y1), P(f"{tag}_s", xm, y1), P(f"{tag}_se", x1, y1)
        loops.append([nw, sw, sm, se, ne, nm])
        plan.add(f"{tag}a", "the hall's raised block, upper step", [[nw, nm, sm, sw]],
                 -106496, -7168, index=lo, ctex=0x03, cshade=6, ftex=0x00, fshade=2,
                 falloff=16, wtex=0x08, wshade=4, wrepv=16)
        plan.add(f"{tag}b", "the hall's raised block, lower step", [[nm, ne, se, sm]],
                 -106496, -4096, index=hi, ctex=0x03, cshade=6, ftex=0x01, fshade=2,
                 falloff=16, wtex=0x08, wshade=4, wrepv=16)
    plan.add("hall", "the great hall", loops, -106496, 0, index=140, ctex=0x03, cshade=4,
             ftex=0x01, fshade=0, falloff=16, wtex=0x08, wshade=2, wrepv=16)
    plan.sectors["hall"].cshade = -15      # lamps hang under the hall roof


def east(plan):
    plan.add("barracks", "the barracks east of the hall",
             [plan.rect("barracks", 28160, 45568, 31744, 50176),
              inner_rect(plan, "barracks_pillar1", 29184, 47104, 29696, 47616),
              inner_rect(plan, "barracks_pillar2", 30464, 47104, 30976, 47616)],
             -24576, -2048,
             ctex=0xC5, cshade=4, ftex=0xC3, fshade=6, falloff=16, wtex=0xC5, wshade=6,
             wrepv=8)
    plan.add("eastdoor", "the corridor east of the hall",
             [plan.rect("eastdoor", 28160, 53248, 29696, 54272)], -12288, 0,
             ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x01, wshade=6, wrepv=16)
    plan.add("eastroom", "the east room",
             [plan.rect("eastroom", 29696, 50176, 31744, 58368),
              inner_rect(plan, "eastroom_pillar1", 30464, 52224, 30976, 52736),
              inner_rect(plan, "eastroom_pillar2", 30464, 55808, 30976, 56320)],
             -20480, 1024,
             ctex=0x06, cshade=4, ftex=0x06, fshade=6, falloff=16, wtex=0x02, wshade=8, wrepv=16)
    plan.add("eastyard", "the east yard",
             [plan.rect("eastyard", 28672, 58368, 31744, 62976)], SKY, 4096,
             ctex=SKY_TEX, cshade=126, ftex=0x06, fshade=6, falloff=8, wtex=0x05,
             wshade=8, wrepv=8)


def south(plan):
    chain(plan, "southway", "the south corridor", 12800, 62464, 15872, 63488, 3, "x",
          [7168, 8192, 8192], [-12288, -12288, -12288],
          ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x01, wshade=6, wrepv=16)
    plan.add("crypt", "the crypt south-west of the hall",
             [plan.rect("crypt", 15872, 60416, 18432, 63488)], -16384, 8192, index=164,
             ctex=0x05, cshade=8, ftex=0x05, fshade=6, falloff=32, wtex=0x05, wshade=10,
             wrepv=8)
    plan.add("porch", "the porch south of the hall",
             [plan.rect("porch", 21504, 60416, 22528, 61440)], -12288, 0,
             ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x01, wshade=6, wrepv=16)
    plan.add("southhall", "the south hall",
             [plan.rect("southhall", 18432, 61440, 28672, 64000),
              inner_rect(plan, "southhall_pillar1", 21248, 62976, 21760, 63488),
              inner_rect(plan, "southhall_pillar2", 25088, 62976, 25600, 63488)],
             -32768, 2048,
             ctex=0x02, cshade=6, ftex=0x03, fshade=4, falloff=16, wtex=0x03, wshade=6,
             wrepv=16)


def quarters(plan):
    """The built-up quarters that fill the space between the main areas."""
    # Ruins between the trench stairs and the balcony stairs, open to the sky.
    heights = [[-10240, -6144, -8192, -12288], [-4096, -2048, -6144, -9216],
               [0, 2048, -3072, -7168]]
    # Three cells have lost their roofs; five keep a brick vault, the rest a tiled one.
    roofless = {(0, 0), (2, 1), (3, 2)}
    vaulted = {(1, 0), (3, 0), (0, 1), (1, 2), (2, 2)}

    def ruin_ceiling(i, j):
        return SKY if (i, j) in roofless else heights[j][i] - 20480

    def ruin_ctex(i, j):
        return SKY_TEX if (i, j) in roofless or (i, j) in vaulted else 0x03

    def ruin_cshade(i, j):
        return 125 + (i + j) % 3 if (i, j) in roofless else 8 + 2 * ((i + j) % 3)

    grid(plan, "ruin", "the ruined quarter", [14592, 15808, 17024, 18240, 19456],
         [38912, 40448, 41984, 44032], lambda i, j: heights[j][i], ruin_ceiling,
         ctex=ruin_ctex, cshade=ruin_cshade, ftex=0x03, fshade=4,
         falloff=lambda i, j: 8 if (i, j) in roofless else 16, wtex=0x05,
         wshade=lambda i, j: 6 + 2 * ((i + j) % 3), wrepv=8)
    plan.add("scriptorium", "the scriptorium between the two stairs",
             [plan.rect("scriptorium", 20992, 38912, 22528, 41984),
              inner_rect(plan, "scriptorium_desk", 21504, 40192, 22016, 40704)],
             -30720, -10240,
             ctex=0x07, cshade=6, ftex=0x05, fshade=4, falloff=32, wtex=0x07, wshade=8,
             wrepv=16)
    plan.add("chapterhouse", "the chapter house beside the balcony stairs",
             [plan.rect("chapterhouse", 20992, 41984, 22528, 46592),
              inner_rect(plan, "chapterhouse_pillar", 21248, 44032, 21760, 44544)],
             -40960, -14336,
             ctex=0x02, cshade=6, ftex=0x02, fshade=2, falloff=16, wtex=0x02, wshade=4,
             wrepv=16)
    nheights = [[-8192, -6144, -4096, -8192], [-2048, 0, -2048, -6144]]
    grid(plan, "warren", "the north-east warren", [24064, 25600, 27136, 28800, 30464],
         [38912, 40448, 41984], lambda i, j: nheights[j][i],
         lambda i, j: nheights[j][i] - 16384,
         ctex=0x46, cshade=6, ftex=0x46, fshade=4, falloff=32, wtex=0x41,
         wshade=lambda i, j: 6 + 3 * ((i * 2 + j) % 4), wrepv=16)
    sheights = [[2048, 0, -2048], [4096, 2048, 0]]
    grid(plan, "stalls", "the stalls behind the cellar", [25600, 27136, 28800, 29952],
         [41984, 43520, 45568], lambda i, j: sheights[j][i],
         lambda i, j: sheights[j][i] - 14336,
         ctex=0xC4, cshade=6, ftex=0xC4, fshade=4, falloff=32, wtex=0xC1, wshade=8, wrepv=16)
    chain(plan, "colonnade", "the colonnade along the garden", 16640, 44032, 17408, 53248, 6,
          "y", lambda i: 8192 - 1024 * i, lambda i: -16384,
          ctex=0x06, cshade=4, ftex=0x06, fshade=4, falloff=16, wtex=0x06, wshade=6,
          wrepv=16)
    plan.add("anteroom", "the anteroom below the balcony stairs",
             [plan.rect("anteroom", 17920, 44032, 19456, 48640)], -30720, 0,
             ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x04, wshade=6,
             wrepv=16)
    plan.add("guardroom", "the guard room north of the hall",
             [plan.rect("guardroom", 25600, 45568, 28160, 48640)], -24576, 0,
             ctex=0xC5, cshade=6, ftex=0xC3, fshade=4, falloff=16, wtex=0xC5, wshade=8,
             wrepv=8)
    plan.add("watchroom", "the watch room beside the trench stairs",
             [plan.rect("watchroom", 11264, 38912, 12288, 41472)], -30720, -8192,
             ctex=0x04, cshade=6, ftex=0x04, fshade=6, falloff=32, wtex=0x01, wshade=8,
             wrepv=16)
    for k, (x0, x1) in enumerate([(0, 2048), (2048, 4096), (4096, 6144)]):
        plan.add(f"lodge{k}", f"lodge {k + 1} between the passage and the terrace",
                 [plan.rect(f"lodge{k}", x0, 38144, x1, 39936)], -24576, -6144 + 1024 * k,
                 ctex=0x05, cshade=6, ftex=0x06, fshade=4, falloff=16, wtex=0x05,
                 wshade=6 + 2 * k, wrepv=8)
    plan.add("easthall_n", "the east hallway north of the east corridor",
             [plan.rect("easthall_n", 28672, 50176, 29696, 53248)], -16384, 0,
             ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x01, wshade=6, wrepv=16)
    plan.add("easthall_s", "the east hallway south of the east corridor",
             [plan.rect("easthall_s", 28672, 54272, 29696, 58368)], -16384, 0,
             ctex=0x04, cshade=4, ftex=0x04, fshade=4, falloff=16, wtex=0x01, wshade=6, wrepv=16)
    plan.add("well", "the well room between the store and the south corridor",
             [plan.rect("well", 14080, 60416, 15872, 62464)], -20480, 8192,
             ctex=0x00, cshade=4, ftex=0x00, fshade=4, falloff=16, wtex=0x00, wshade=6,
             wrepv=16)


ALCOVE = dict(ctex=0x04, cshade=6, ftex=0x04, fshade=6, falloff=16, wtex=0x03, wshade=8,
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
    t = dict(ALCOVE, ctex=0x05, ftex=0x05, wtex=0x05, wrepv=8)
    plan.add("crypt_alcove1", "a pointed burial niche of the crypt",
             [[plan.pt("crypt_alcove1_nw", 16128, 63488), plan.pt("crypt_alcove1_ne", 16896, 63488),
               plan.pt("crypt_alcove1_s", 16512, 64256)]], -8192, 7168, **t)
    alcove(plan, "crypt_alcove2", "a burial niche of the crypt", 17408, 63488, 18176, 64256,
           7168, -8192, ctex=0x05, ftex=0x05, wtex=0x05, wrepv=8)
    for k, x in enumerate([18944, 23552, 25344, 27136]):
        alcove(plan, f"southhall_bay{k}", "a bay of the south hall", x, 60928, x + 768, 61440,
               1024, -24576, ctex=0x02, ftex=0x03, wtex=0x03)
    alcove(plan, "eastyard_shed1", "a shed off the east yard", 29184, 62976, 29952, 64000,
           3072, -12288, ctex=0x06, ftex=0x06, wtex=0x05, wrepv=8)
    alcove(plan, "eastyard_shed2", "a shed off the east yard", 30720, 62976, 31488, 64000,
           3072, -12288, ctex=0x06, ftex=0x06, wtex=0x05, wrepv=8)
    alcove(plan, "store_closet1", "a closet of the store", 16640, 55296, 17408, 56320,
           8192, -12288, ctex=0x00, ftex=0x00, wtex=0x00)
    alcove(plan, "store_closet2", "a closet of the store", 16640, 58368, 17408, 59392,
           8192, -12288, ctex=0x00, ftex=0x00, wtex=0x00)
    alcove(plan, "guardroom_niche", "a niche of the guard room", 26112, 48640, 26880, 49024,
           -1024, -16384, ctex=0xC5, ftex=0xC3, wtex=0xC5, wrepv=8)
    alcove(plan, "anteroom_niche", "a niche of the anteroom", 18432, 48640, 19200, 49024,
           -1024, -16384)
    alcove(plan, "cellar_steps", "the steps from the cellar up to the loggia",
           22784, 45056, 23552, 46592, 4096, -16384, ctex=0x45, ftex=0x44, wtex=0x45, wrepv=8)
    alcove(plan, "trench_gate", "the gate from the trench into the ruins",
           14080, 43136, 14592, 43904, 4096, -12288)
    alcove(plan, "colonnade_gate", "the gate from the colonnade into the anteroom",
           17408, 44288, 17920, 45312, 4096, -12288, ctex=0x06, ftex=0x06, wtex=0x06)
    alcove(plan, "loggia", "the loggia between the balcony and the cellar ramp",
           22528, 46592, 24576, 48640, -20480, -53248, ctex=0x07, ftex=0x00, wtex=0x00)

    chain(plan, "hut", "a hut on the west side of the yard", -1024, 49152, 1024, 65024, 6, "y",
          [6144, 5120, 6144, 7168, 6144, 5120], [-12288] * 6,
          ctex=0xC6, cshade=6, ftex=0xC6, fshade=4, falloff=16, wtex=0xC5, wshade=8, wrepv=8)
    chain(plan, "sidechapel", "a side chapel of the south hall", 18432, 64000, 28672, 65024, 5,
          "x", [3072, 4096, 3072, 4096, 3072], [-16384] * 5,
          ctex=0x02, cshade=8, ftex=0x03, fshade=6, falloff=32, wtex=0x03, wshade=10,
          wrepv=16)
    chain(plan, "cistern", "a cistern below the south corridor", 12800, 63488, 15872, 65024, 3,
          "x", [9216, 8192, 9216], [-8192, -8192, -8192],
          ctex=0x06, cshade=10, ftex=0x06, fshade=lambda i: 31 - 4 * i, falloff=48, wtex=0x06,
          wshade=lambda i: 79 if i == 1 else 14,
          wrepv=16)
    alcove(plan, "yardstore", "the store behind the east yard sheds", 28672, 64000, 31744, 65024,
           3072, -12288, ctex=0x06, ftex=0x06, wtex=0x05, wrepv=8)
    alcove(plan, "scriptorium_bridge", "the bridge from the scriptorium to the cellar stairs",
           22528, 39680, 23040, 40064, -8192, -24576, ctex=0x07, ftex=0x05, wtex=0x07)
    alcove(plan, "scriptorium_door", "the door from the balcony stairs into the scriptorium",
           20480, 39936, 20992, 40448, -12288, -30720, ctex=0x07, ftex=0x05, wtex=0x07)
    alcove(plan, "chapterhouse_door", "the door from the balcony stairs into the chapter house",
           20480, 44544, 20992, 45056, -24576, -40960, ctex=0x02, ftex=0x02, wtex=0x02)
    alcove(plan, "watchroom_door", "the door from the watch room onto the trench stairs",
           12288, 39936, 12800, 40448, -8192, -24576)
    # Niches in otherwise blank walls.
    alcove(plan, "cellar_niche2", "a niche of the cellar", 23808, 45056, 24320, 45568,
           7168, -8192, ctex=0x45, ftex=0x44, wtex=0x45, wrepv=8)
    alcove(plan, "store_niche", "a niche of the store", 16640, 56832, 17152, 57600,
           8192, -12288, ctex=0x00, ftex=0x00, wtex=0x00)
    for k, x in enumerate([20224, 26240]):
        alcove(plan, f"southhall_bay{4 + k}", "a bay of the south hall", x, 60928, x + 640, 61440,
               1024, -24576, ctex=0x02, ftex=0x03, wtex=0x03)
    alcove(plan, "crypt_niche", "a niche of the crypt", 18432, 60672, 18816, 61184,
           7168, -8192, ctex=0x05, ftex=0x05, wtex=0x05, wrepv=8)
    alcove(plan, "eastyard_niche", "a niche of the east yard", 28416, 59392, 28672, 60416,
           3072, -12288, ctex=0x06, ftex=0x06, wtex=0x05, wrepv=8)
    alcove(plan, "guardroom_niche2", "a niche of the guard room", 27136, 48640, 27648, 49024,
           -1024, -16384, ctex=0xC5, ftex=0xC3, wtex=0xC5, wrepv=8)
    alcove(plan, "watchroom_niche", "a niche of the watch room", 10944, 40448, 11264, 40960,
           -7168, -22528)
    alcove(plan, "passage_niche", "a niche of the north passage", 9216, 38144, 9984, 38656,
           -8192, -20480, ctex=0x04, ftex=0x04, wtex=0x01)
    alcove(plan, "lodge_niche", "a niche of the third lodge", 6144, 38400, 6656, 38912,
           -3072, -20480, ctex=0x05, ftex=0x06, wtex=0x05, wrepv=8)
    alcove(plan, "armoryway_niche", "a niche of the armoury corridor", 31232, 41984, 31744, 42752,
           -10240, -26624, ctex=0x83, ftex=0x83, wtex=0x88)
    alcove(plan, "cellarway_niche", "a niche of the cellar ramp", 24320, 45824, 24576, 46336,
           6144, -10240)
    for k, y in enumerate([47360, 48896, 50432, 51968]):
        alcove(plan, f"colonnade_niche{k}", "a niche of the colonnade", 17408, y, 17664, y + 768,
               6144 - 1024 * k, -12288 - 1024 * k, ctex=0x06, ftex=0x06, wtex=0x06)
    alcove(plan, "sidechapel_niche", "a niche of the first side chapel", 17920, 64384, 18432, 64896,
           3072, -12288, ctex=0x02, ftex=0x03, wtex=0x03)

    # Bridges and small rooms that knit neighbouring areas together.
    slope_y = lambda x: 41728 + (x - 10496) * 256 // 2304
    P = plan.pt
    plan.add("watchroom_stair", "the steps from the watch room down to the slope",
             [[P("wstair_nw", 11504, 41472), P("wstair_ne", 12008, 41472),
               P("wstair_se", 12008, slope_y(12008)), P("wstair_sw", 11504, slope_y(11504))]],
             -20480, 0, **ALCOVE)
    alcove(plan, "gallery_bay1", "a bay off the gallery beside the stairs", 14080, 38912,
           14464, 39424, -9216, -26624, ctex=0x03, ftex=0x01, wtex=0x01)
    alcove(plan, "gallery_bay2", "a bay off the gallery beside the balcony stairs", 20480, 38912,
           20864, 39424, -11264, -30720, ctex=0x03, ftex=0x01, wtex=0x01)
    alcove(plan, "gallery_bay3", "a bay off the gallery beside the cellar stairs", 22528, 38912,
           23040, 39296, -9216, -30720, ctex=0x03, ftex=0x01, wtex=0x01)
    lroom(plan, "store_office", "the store keeper's office", 16640, 54528, 17408, 55168, "ne",
          256, 8192, -12288, ctex=0x00, ftex=0x00, wtex=0x00)
    lroom(plan, "crypt_ossuary", "the ossuary above the crypt", 16896, 59648, 17664, 60416, "nw",
          256, 7168, -8192, ctex=0x05, ftex=0x05, wtex=0x05, wrepv=8)
    lroom(plan, "watchroom_closet", "the watchman's closet", 10944, 39040, 11264, 39936, "nw",
          128, -8192, -22528)
    lroom(plan, "eastyard_privy", "a privy off the east yard", 28800, 62976, 29056, 63744, "sw",
          128, 3072, -12288, ctex=0x06, ftex=0x06, wtex=0x05, wrepv=8)
    alcove(plan, "guardroom_hatch", "a crawl hole high in the guard room wall", 25631, 48640,
           25887, 49024, -2048, -4096, ctex=0xC5, ftex=0xC3, wtex=0xC5, wrepv=8)
    alcove(plan, "barracks_locker", "a locker room of the barracks", 27904, 48768, 28160, 49024,
           -2048, -16384, ctex=0xC5, ftex=0xC3, wtex=0xC5, wrepv=8)
    alcove(plan, "chapterhouse_niche", "a niche of the chapter house", 22528, 45312, 22720, 45824,
           -14336, -32768, ctex=0x02, ftex=0x02, wtex=0x02)


# Corners cut off along a short diagonal, where a square corner would look too plain.
CHAMFERS = [("chapel", "chapel_nw", 384), ("cloister3", "cloister3_sw", 256),
            ("armory", "armory_ne", 128), ("crypt_ossuary", "crypt_ossuary_ne", 128),
            ("anteroom", "anteroom_sw", 256), ("cellarway_niche", "cellarway_niche_nw", 64),
            ("eastyard_privy", "eastyard_privy_se", 64), ("lodge2", "lodge2_se", 256),
            ("watchroom_closet", "watchroom_closet_sw", 64), ("yardstore", "yardstore_se", 256),
            ("sidechapel0", "sidechapel0_sw", 64),
            ("watchroom", "watchroom_se", 128)]
