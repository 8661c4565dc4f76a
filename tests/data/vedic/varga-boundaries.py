#!/usr/bin/env python3
# Makes varga-boundaries.tsv, read by tests/vedic/VargaTest.cpp. Not run by the
# build or the tests: run by hand with Debian's python3,
#   python3 varga-boundaries.py > varga-boundaries.tsv
# Written apart from vedic/ from the rules of Brihat Parashara Hora Shastra,
# ch. 6: each varga by its own rule (d the degrees in the sign, odd signs
# Mesha, Mithuna, ...), the part found with exact fractions, so that the rows
# do not share the program's arithmetic. For every sign and every part of every varga, one
# longitude just after the part begins and one just before it ends (1e-6
# degree inside): every boundary is crossed from both sides.
from fractions import Fraction as F

MESHA, VRISHABHA, MITHUNA, KATAKA, SIMHA, KANYA, THULA, VRISCHIKA, DHANUS, MAKARA, KUMBHA, MEENA = range(12)

def odd(s): return s % 2 == 0          # Mesha, Mithuna, ... (index 0, 2, ...)
def movable(s): return s % 3 == 0      # Mesha, Kataka, Thula, Makara
def fixed(s): return s % 3 == 1
def element(s): return s % 4           # 0 fire, 1 earth, 2 air, 3 water

def equal(n, first):
    """Equal parts counted on one sign at a time from `first(sign)`."""
    return lambda s, d: (first(s) + int(d * n // 30)) % 12

def hora(s, d):
    if odd(s):
        return SIMHA if d < 15 else KATAKA
    return KATAKA if d < 15 else SIMHA

def trimsamsa(s, d):
    parts = ([(5, MESHA), (10, KUMBHA), (18, DHANUS), (25, MITHUNA), (30, THULA)] if odd(s)
             else [(5, VRISHABHA), (12, KANYA), (20, MEENA), (25, MAKARA), (30, VRISCHIKA)])
    return next(sign for end, sign in parts if d < end)

def drekkana(s, d): return (s + 4 * int(d // 10)) % 12
def chaturthamsa(s, d): return (s + 3 * int(d // F(15, 2))) % 12
def by_modality(m, f, u): return lambda s: m if movable(s) else f if fixed(s) else u

RULES = {
    1: lambda s, d: s,
    2: hora,
    3: drekkana,
    4: chaturthamsa,
    7: equal(7, lambda s: s if odd(s) else s + 6),
    9: equal(9, lambda s: [MESHA, MAKARA, THULA, KATAKA][element(s)]),
    10: equal(10, lambda s: s if odd(s) else s + 8),
    12: equal(12, lambda s: s),
    16: equal(16, by_modality(MESHA, SIMHA, DHANUS)),
    20: equal(20, by_modality(MESHA, DHANUS, SIMHA)),
    24: equal(24, lambda s: SIMHA if odd(s) else KATAKA),
    27: equal(27, lambda s: [MESHA, KATAKA, THULA, MAKARA][element(s)]),
    30: trimsamsa,
    40: equal(40, lambda s: MESHA if odd(s) else THULA),
    45: equal(45, by_modality(MESHA, SIMHA, DHANUS)),
    60: lambda s, d: (s + int(2 * d)) % 12,
}

UNEVEN = {2: ([15], [15]), 30: ([5, 10, 18, 25], [5, 12, 20, 25])}
EPS = F(1, 10**6)

print("# n\tlongitude\tsign (1 Mesha .. 12 Meena)")
for n, rule in RULES.items():
    for s in range(12):
        if n in UNEVEN:
            inner = UNEVEN[n][0 if odd(s) else 1]
        else:
            inner = [F(30 * k, n) for k in range(1, n)]
        edges = [F(0)] + [F(e) for e in inner] + [F(30)]
        for a, b in zip(edges, edges[1:]):
            for d in (a + EPS, b - EPS):
                print(f"{n}\t{float(30 * s + d):.7f}\t{rule(s, d) + 1}")
