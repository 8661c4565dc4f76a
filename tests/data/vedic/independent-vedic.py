#!/usr/bin/env python3
# Not run by the tests: run by hand (Debian python3, python3-dateutil) to
# re-derive the expected values of tests/vedic/VedicTest.cpp. An independent
# evaluation, written apart from vedic/: exact fractions of arc-seconds, the
# Navamsa by the classical rule of the sign's kind (movable signs count from
# themselves, fixed from the ninth, dual from the fifth), and the dasha dates
# by Python's datetime with dateutil's relativedelta for the balance.
from datetime import datetime, timedelta
from fractions import Fraction as F
from dateutil.relativedelta import relativedelta

SIGNS = "Mesha Vrishabha Mithuna Kataka Simha Kanya Thula Vrischika Dhanus Makara Kumbha Meena".split()
LORDS = "Ketu Venus Sun Moon Mars Rahu Jupiter Saturn Mercury".split()
YEARS = dict(Ketu=7, Venus=20, Sun=6, Moon=10, Mars=7, Rahu=18, Jupiter=16, Saturn=19, Mercury=17)

def place(lon_text):
    sec = F(lon_text) * 3600 % (360 * 3600)      # arc-seconds, exact
    sign = int(sec // (30 * 3600))
    ins = sec - sign * 30 * 3600
    d, m, s = int(ins // 3600), int(ins % 3600 // 60), int(ins % 60)
    nak = int(sec // 48000)                       # 13°20' = 48000"
    pada = int((sec - nak * 48000) // 12000) + 1  # 3°20' = 12000"
    ninth = int(ins // 12000)                     # the ninth part of the sign
    start = {0: sign, 1: sign + 8, 2: sign + 4}[sign % 3]
    nav = (start + ninth) % 12
    return f'{{"{lon_text}", {sign + 1}, {d}, {m}, {s}, {nak + 1}, {pada}, Graha::{LORDS[nak % 9]}, {nav + 1}}}, // {SIGNS[sign]}, {SIGNS[nav]}'

for lon in ["0", "13.3333", "13.3334", "3.3333", "3.3334", "29.9999", "30.0001", "120", "133.3333", "133.3334",
            "266.6666", "266.6667", "359.9999", "360", "-0.0001", "725.5"]:
    print(place(lon))

def dasha(moon_text, birth):
    sec = F(moon_text) * 3600 % (360 * 3600)
    nak = int(sec // 48000)
    elapsed = (sec - nak * 48000) / 48000
    first = nak % 9
    years = YEARS[LORDS[first]]
    start = birth - timedelta(days=float(elapsed * years * F("365.25")))
    out = []
    t = start
    for k in range(9):
        lord = LORDS[(first + k) % 9]
        end = t + timedelta(days=YEARS[lord] * 365.25)
        subs = []
        s = t
        for j in range(9):
            sub = LORDS[(first + k + j) % 9]
            e = s + timedelta(days=YEARS[lord] * YEARS[sub] / 120 * 365.25)
            subs.append((sub, s, e))
            s = e
        out.append((lord, t, end, subs))
        t = end
    bal = relativedelta(out[0][2].date(), birth.date())
    print(moon_text, birth, "balance", out[0][0], float((1 - elapsed) * years), bal.years, bal.months, bal.days)
    for lord, a, b, subs in out:
        print(f"  {lord:8} {a} {b}")
        for sub, s, e in subs:
            print(f"      {sub:8} {s} {e}")

# Starting Ashwini: Ketu's seven years from a birth the day before a leap day.
dasha("0", datetime(1993, 2, 28, 12))
# Moon at 11°08' Simha, New Delhi 15 June 1975, 05:00 UT.
dasha(str(120 + 11 + F(8, 60)), datetime(1975, 6, 15, 5))
