#!/usr/bin/env python3
# The Vimshopaka strengths that tests/vargas/VargasTest.cpp expects, worked
# apart from vargas/: run by hand with Debian's python3 (python3 vimshopaka.py).
# The varga signs from the rules of varga-boundaries.py beside it; the
# Shodashavarga weights of Brihat Parashara Hora Shastra, ch. 7; the points
# of each varga's sign by the compound friendship of the graha with its
# lord, the natural friendship of BPHS ch. 3 and the temporary one from the
# Rasi (the lord in the 2nd, 3rd, 4th, 10th, 11th or 12th sign: a friend).
import pathlib
from fractions import Fraction as F

source = pathlib.Path(__file__).with_name("varga-boundaries.py").read_text()
rules_source = source[:source.index("UNEVEN =")]  # the rules, without the table it prints
ns = {}
exec(rules_source, ns)
RULES = ns["RULES"]

GRAHAS = "Sun Moon Mercury Venus Mars Jupiter Saturn".split()
LORD = "Mars Venus Mercury Moon Sun Mercury Venus Mars Jupiter Saturn Saturn Jupiter".split()
FRIENDS = dict(Sun="Moon Mars Jupiter", Moon="Sun Mercury", Mercury="Sun Venus", Venus="Mercury Saturn",
               Mars="Sun Moon Jupiter", Jupiter="Sun Moon Mars", Saturn="Mercury Venus")
ENEMIES = dict(Sun="Venus Saturn", Moon="", Mercury="Moon", Venus="Sun Moon", Mars="Mercury",
               Jupiter="Mercury Venus", Saturn="Sun Moon Mars")
WEIGHTS = {1: F(7, 2), 2: 1, 3: 1, 4: F(1, 2), 7: F(1, 2), 9: 3, 10: F(1, 2), 12: F(1, 2), 16: 2, 20: F(1, 2),
           24: F(1, 2), 27: F(1, 2), 30: 1, 40: F(1, 2), 45: F(1, 2), 60: 4}
POINTS = {"great friend": 18, "friend": 15, "neutral": 10, "enemy": 7, "great enemy": 5}

def sign_in(n, lon):
    lon = F(lon)
    s = int(lon // 30)
    return RULES[n](s, lon - 30 * s)

def compound(graha, lord, rasi):
    natural = 1 if lord in FRIENDS[graha].split() else -1 if lord in ENEMIES[graha].split() else 0
    house = (rasi[lord] - rasi[graha]) % 12 + 1
    temporary = 1 if house in (2, 3, 4, 10, 11, 12) else -1
    return {2: "great friend", 1: "friend", 0: "neutral", -1: "enemy", -2: "great enemy"}[natural + temporary]

def vimshopaka(longitudes):
    rasi = {g: sign_in(1, longitudes[g]) for g in GRAHAS}
    out = {}
    for g in GRAHAS:
        total = F(0)
        for n, w in WEIGHTS.items():
            lord = LORD[sign_in(n, longitudes[g])]
            total += w * (20 if lord == g else POINTS[compound(g, lord, rasi)]) / 20
        out[g] = total
    return out

CHARTS = {
    # Hand-chosen longitudes (text, exact): the Sun exalted in Mesha, the Moon in Vrishabha, ...
    "spread": dict(Sun="10.5", Moon="33.25", Mercury="341.75", Venus="355.1", Mars="295.6", Jupiter="248.3", Saturn="201.45"),
    # Every graha in the last degree of a sign, where most vargas turn over.
    "edges": dict(Sun="29.99", Moon="59.99", Mercury="89.99", Venus="119.99", Mars="149.99", Jupiter="179.99", Saturn="209.99"),
}
for name, chart in CHARTS.items():
    print(name, {g: float(v) for g, v in vimshopaka(chart).items()})
