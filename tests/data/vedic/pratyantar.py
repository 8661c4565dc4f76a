#!/usr/bin/env python3
# The Vimshottari pratyantar dashas running at three moments of the Delhi
# example (tests/app/ChartWindowTest.cpp), with Python's datetime alone and
# written from the rule, not from Halvaro's code: an antar dasha of maha x
# antar years / 120 holds nine pratyantars from its own lord, each of the
# antar's length x the lord's years / 120, in years of 365.25 days. The antar
# dashas' starts are independent-vedic.py's.
from datetime import datetime, timedelta

YEAR = 365.25
ORDER = ["Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn", "Mercury"]
YEARS = dict(Ketu=7, Venus=20, Sun=6, Moon=10, Mars=7, Rahu=18, Jupiter=16, Saturn=19, Mercury=17)


def pratyantars(start, maha, antar):
    length = YEARS[maha] * YEARS[antar] / 120
    first = ORDER.index(antar)
    for k in range(9):
        lord = ORDER[(first + k) % 9]
        end = start + timedelta(days=length * YEARS[lord] / 120 * YEAR)
        yield lord, start, end
        start = end


ketu_end = datetime(1976, 8, 10, 1, 43)
ketu_start = ketu_end - timedelta(days=7 * YEAR)
cases = [
    (datetime(1975, 6, 15, 12), ketu_start + timedelta(days=7 * 84 / 120 * YEAR), "Ketu", "Saturn"),
    (datetime(2020, 1, 1), ketu_end + timedelta(days=43 * YEAR), "Rahu", "Rahu"),
    (datetime(2024, 9, 15, 20), datetime(2024, 9, 15, 14, 19), "Rahu", "Saturn"),
]
for when, start, maha, antar in cases:
    for lord, begin, end in pratyantars(start, maha, antar):
        if begin <= when < end:
            print(when, maha, antar, lord, begin.date(), end.date())
