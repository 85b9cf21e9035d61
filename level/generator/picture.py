"""The enemy's picture: a standing figure seen from the front, 64 x 128 pixels of 0..9.

Column 0 stays empty because the billboard never shows it. The figure is lit from the
upper left, with a dark outline so that it reads against any wall behind it."""

WIDTH, HEIGHT = 64, 128
TARGET_SUM = 15367        # total of all pixels: the shading is nudged onto it so that redrawing
                          # the figure keeps the sprite as bright as before


def _ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def _segment(x1, y1, x2, y2, r):
    def inside(x, y):
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= r * r
    return inside


def _torso(x, y):
    if not 25 <= y <= 74:
        return False
    t = (y - 25) / 49
    half = 15 - 5 * t          # broad shoulders narrowing to the waist
    return abs(x + 0.5 - 32) <= half


def _leg(side):
    def inside(x, y):
        if not 72 <= y <= 121:
            return False
        t = (y - 72) / 49
        centre = 32 + side * (6 + 3 * t)
        return abs(x + 0.5 - centre) <= 5 - t
    return inside


def _foot(side):
    return _ellipse(32 + side * 11, 123.5, 7.5, 4.6)


PARTS = [  # (shape, base shade), drawn in order so later parts lie in front
    (_leg(-1), 5), (_leg(1), 5), (_foot(-1), 4), (_foot(1), 4),
    (_segment(20, 30, 4, 58, 3.6), 6), (_segment(44, 30, 60, 58, 3.6), 6),
    (_ellipse(3.5, 61.5, 3.2, 4.2), 7), (_ellipse(60.5, 61.5, 3.2, 4.2), 7),
    (_torso, 6), (_segment(32, 18, 32, 27, 3.2), 6),
    (_ellipse(32, 11.5, 8.5, 11.8), 7),
]


def enemy():
    """Returns the picture as 128 rows of 64 values."""
    rows = [[0] * WIDTH for _ in range(HEIGHT)]
    for shape, base in PARTS:
        for y in range(HEIGHT):
            for x in range(1, WIDTH):
                if shape(x, y):
                    light = (31 - x) / 40 + (64 - y) / 160     # brighter to the upper left
                    rows[y][x] = max(1, min(9, round(base + 2 * light)))
    _details(rows)
    _outline(rows)
    _settle_brightness(rows)
    return rows


def _details(rows):
    for x, y in [(29, 10), (30, 10), (34, 10), (35, 10), (29, 11), (35, 11)]:
        rows[y][x] = 2                      # eyes
    for x in range(29, 36):
        rows[17][x] = 3                     # mouth
    for y in range(70, 74):
        for x in range(22, 43):
            rows[y][x] = 2 if y in (70, 73) else 3   # belt
    for y in range(34, 66, 8):
        rows[y][32] = 3                     # buttons down the front


def _outline(rows):
    """Darkens pixels on the figure's edge."""
    edge = []
    for y in range(HEIGHT):
        for x in range(1, WIDTH):
            if rows[y][x] == 0:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 1 <= nx < WIDTH and 0 <= ny < HEIGHT and rows[ny][nx] == 0:
                    edge.append((x, y))
                    break
    for x, y in edge:
        rows[y][x] = 1 if rows[y][x] <= 4 else 2


def _settle_brightness(rows):
    """Nudges inner pixels by one step until the total brightness is the intended one."""
    total = sum(map(sum, rows))
    inner = [(x, y) for y in range(HEIGHT) for x in range(1, WIDTH) if rows[y][x] >= 3]
    inner.sort(key=lambda p: ((p[0] * 37 + p[1] * 101) % 211, p))
    i = 0
    while total != TARGET_SUM and i < 4 * len(inner):
        x, y = inner[i % len(inner)]
        step = 1 if total < TARGET_SUM else -1
        if 3 <= rows[y][x] + step <= 9:
            rows[y][x] += step
            total += step
        i += 1
    if total != TARGET_SUM:
        raise SystemExit(f"picture brightness {total} cannot reach {TARGET_SUM}")
