#!/usr/bin/env python3
"""Makes zone-history.tsv: offsets of the atlas's zones at local civil times,
1600-2399, as Python's zoneinfo gives them over the system tz database.

    python3 make-zone-history.py ATLAS-ZONES.txt > zone-history.tsv

ATLAS-ZONES.txt holds the distinct zone names of libgeonames' cities, one a
line (geonames_city_get_timezone of every city, sorted, duplicates dropped).
"""
import random
import sys
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)
# Every zone at these years' midwinter and midsummer noons, and at a few
# random minutes.
YEARS = [1600, 1880, 1930, 1975, 2020, 2044, 2150, 2399]
RANDOM_PER_ZONE = 4
# These zones also at the edges of each transition in the years listed: all
# to 1949, then every sixth year, 2011, and later years whose rules come from
# the files' footers.
EDGE_ZONES = ["Europe/London", "Europe/Paris", "Europe/Dublin", "Pacific/Apia", "Asia/Kolkata",
              "America/St_Johns", "Africa/Casablanca", "Asia/Jerusalem", "America/Nuuk", "America/Santiago"]
EDGE_YEARS = set(range(1600, 1950)) | set(range(1950, 2038, 6)) | {2011, 2038, 2044, 2100, 2399}


def state_at(zone, ts):
    moment = (EPOCH + timedelta(seconds=ts)).astimezone(zone)
    return (moment.utcoffset(), moment.tzname(), moment.dst())


def transitions(zone):
    start = int((datetime(1600, 1, 1, tzinfo=timezone.utc) - EPOCH).total_seconds())
    end = int((datetime(2400, 1, 2, tzinfo=timezone.utc) - EPOCH).total_seconds())
    step = 6 * 3600
    previous = state_at(zone, start)
    ts = start
    while ts < end:
        following = state_at(zone, ts + step)
        if following != previous:
            low, high = ts, ts + step  # state changes in (low, high]
            while high - low > 1:
                middle = (low + high) // 2
                if state_at(zone, middle) == previous:
                    low = middle
                else:
                    high = middle
            yield high, previous[0], following[0]
        previous = following
        ts += step


def field(moment):
    seconds = int(moment.utcoffset().total_seconds())
    return f"{seconds}\t{moment.tzname()}\t{1 if moment.dst() else 0}"


def row(zone, local):
    early = local.replace(tzinfo=zone, fold=0)
    late = local.replace(tzinfo=zone, fold=1)
    text = local.strftime("%Y-%m-%d %H:%M").rjust(16, "0")
    if early.utcoffset() == late.utcoffset():
        return f"{text}\t=\t{field(early)}"
    # fold 0 takes the offset before the change: smaller in a gap, larger in an overlap.
    kind = "gap" if early.utcoffset() < late.utcoffset() else "twice"
    return f"{text}\t{kind}\t{field(early)}\t{field(late)}"


def minute_floor(local):
    return local.replace(second=0, microsecond=0)


def minute_ceil(local):
    floor = minute_floor(local)
    return floor if floor == local else floor + timedelta(minutes=1)


def edge_times(ts, before, after):
    utc = (EPOCH + timedelta(seconds=ts)).replace(tzinfo=None)
    start, end = sorted((utc + before, utc + after))  # the local times skipped or lived twice
    times = {minute_floor(start) - timedelta(minutes=1), minute_ceil(end)}
    if start != end:
        first, last = minute_ceil(start), minute_ceil(end) - timedelta(minutes=1)
        if first <= last:
            times |= {first, last}
    return [t for t in sorted(times) if 1600 <= t.year <= 2399]


def main():
    names = [line.strip() for line in open(sys.argv[1]) if line.strip()]
    chooser = random.Random(2399)
    print("# Offsets in force at local civil times in every zone of the atlas (the zones")
    print("# libgeonames' cities name), 1600-2399, made once with Python 3.11.7's zoneinfo")
    print("# (an independent reader) over this system's tz database (Debian tzdata 2025b,")
    print("# /usr/share/zoneinfo) by make-zone-history.py beside this file (its head says")
    print("# how to remake it); not written by Halvaro. '@ zone' starts a zone's rows;")
    print("# a row, tab-separated: local date and time, kind (= one offset, gap: a time")
    print("# the clocks skipped, twice: a time they showed twice), then the offset in")
    print("# seconds, abbreviation and daylight flag (dst() non-zero) in force, or in a gap")
    print("# those before and after the change, in an overlap the earlier then the later.")
    for name in names:
        zone = ZoneInfo(name)
        times = set()
        for year in YEARS:
            times |= {datetime(year, 1, 15, 12, 0), datetime(year, 7, 15, 12, 0)}
        for _ in range(RANDOM_PER_ZONE):
            times.add(datetime(chooser.randint(1600, 2399), chooser.randint(1, 12), chooser.randint(1, 28),
                               chooser.randint(0, 23), chooser.randint(0, 59)))
        if name in EDGE_ZONES:
            for ts, before, after in transitions(zone):
                when = EPOCH + timedelta(seconds=ts)
                if when.year in EDGE_YEARS:
                    times.update(edge_times(ts, before, after))
        print(f"@ {name}")
        for local in sorted(times):
            print(row(zone, local))


main()
