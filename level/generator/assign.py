"""Puts the sectors into table order: the fixed indices first, the rest filling the gaps so
that the wall table breaks exactly where the game's fixed sectors begin."""

FIXED_RANGES = [  # (first index, last index, walls that the range must hold)
    (0, 139, 736),
    (141, 149, 51),
    (152, 190, 307),
]


def walls_of(s):
    return sum(len(l) for l in s.loops)


def pick(pool, count, total):
    """Chooses `count` sectors from `pool` whose walls add up to `total`, preferring
    sectors built late so that each area stays together in the table."""
    items = list(reversed(pool))
    n = len(items)
    # can[i] holds the (count, walls) pairs reachable with items[i:].
    can = [set() for _ in range(n + 1)]
    can[n].add((0, 0))
    for i in range(n - 1, -1, -1):
        w = walls_of(items[i])
        can[i] = set(can[i + 1])
        can[i].update((k + 1, t + w) for k, t in can[i + 1] if k < count and t + w <= total)
    if (count, total) not in can[0]:
        raise SystemExit(f"cannot pick {count} sectors with {total} walls")
    chosen, k, t = [], count, total
    for i in range(n):
        w = walls_of(items[i])
        if k > 0 and (k - 1, t - w) in can[i + 1]:
            chosen.append(items[i])
            k, t = k - 1, t - w
    return chosen


def table_order(sectors, count):
    fixed = {s.index: s for s in sectors if s.index is not None}
    free = [s for s in sectors if s.index is None]
    slots = {}
    for lo, hi, total in reversed(FIXED_RANGES):
        idx = [i for i in range(lo, hi + 1) if i not in fixed]
        need = total - sum(walls_of(fixed[i]) for i in range(lo, hi + 1) if i in fixed)
        if lo == 0:
            chosen = free
            if len(chosen) != len(idx) or sum(walls_of(s) for s in chosen) != need:
                raise SystemExit("the remaining sectors do not fill the first range")
        else:
            chosen = pick(free, len(idx), need)
        order_in = [s for s in sectors if s in chosen]
        for i, s in zip(idx, order_in):
            slots[i] = s
        free = [s for s in free if s not in chosen]
    slots.update(fixed)
    order = [slots[i] for i in range(count)]
    for i, s in enumerate(order):
        s.index = i
    return order
