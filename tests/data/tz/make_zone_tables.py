#!/usr/bin/env python3
"""Reference tables for the zone model's tests, made with Python's own zoneinfo.

world.zi is cut from a tz database source (tzdata.zi) once, then kept as committed text:
    python3 make_zone_tables.py extract /usr/share/zoneinfo/tzdata.zi > world.zi
zone_table.txt is made from the TZif files the test build compiles from world.zi with zic
(build/tests/world-zones), so that the table and the tests read the same bytes:
    python3 make_zone_tables.py table build/tests/world-zones > zone_table.txt
It was made that way with Python 3.11.7 from tzdata 2025b. Neither step is needed to build or test.

Lines of zone_table.txt, after the "Z" lines that number the zones from 0:
  I zone instant offset abbreviation dst   the instant's wall clock; dst: "+" where Python's dst() is
                                           positive, "-" negative (Dublin's winter GMT), "0" zero
  W zone wall instant                      the wall time (seconds from 1970 on the zone's clocks) read
                                           with fold=0: a repeated one is its earlier instance, a
                                           skipped one is read with the offset in force before the change
  C zone instant                           a change of UTC offset, 1970 to 2037, in order
"""
import random
import re
import sys
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

ZONES = [
    "Europe/Dublin", "Australia/Lord_Howe", "Asia/Kathmandu", "Pacific/Chatham", "Africa/Casablanca",
    "America/Sao_Paulo", "Pacific/Apia", "Asia/Jerusalem", "America/Nuuk", "Asia/Tokyo", "Asia/Kolkata",
    "Europe/Berlin", "America/New_York", "Australia/Sydney", "Antarctica/Troll", "America/St_Johns",
    "Asia/Tehran", "Europe/London", "Europe/Moscow", "America/Los_Angeles", "America/Chicago",
    "America/Phoenix", "America/Santiago", "America/Asuncion", "Africa/Cairo", "Africa/Windhoek",
    "Africa/Johannesburg", "Asia/Shanghai", "Asia/Singapore", "Asia/Gaza", "Asia/Beirut", "Pacific/Auckland",
    "Pacific/Kiritimati", "Pacific/Honolulu", "Australia/Adelaide", "America/Havana", "Europe/Lisbon",
    "Atlantic/Azores", "Europe/Prague", "America/Mexico_City",
]
EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)
START, END = -2208988800, 4102444800   # 1900-01-01, 2100-01-01
CHANGES_FROM, CHANGES_TO = 0, 2145916800   # 1970-01-01, 2038-01-01


def extract(source):
    lines = open(source, encoding="utf-8").read().splitlines()
    rules, zones, links = {}, {}, {}
    current = None
    for line in lines:
        fields = line.split()
        if not fields or fields[0].startswith("#"):
            current = None
            continue
        if fields[0] == "R":
            rules.setdefault(fields[1], []).append(line)
            current = None
        elif fields[0] == "Z":
            current = fields[1]
            zones[current] = [line]
        elif fields[0] == "L":
            links[fields[2]] = fields[1]
            current = None
        elif current:
            zones[current].append(line)
    wanted = [links.get(name, name) for name in ZONES]
    out = ["# " + lines[0].lstrip("# ") + ": the zones of make_zone_tables.py, cut from tzdata.zi."]
    used = set()
    for name in wanted:
        for line in zones[name]:
            fields = line.split()
            rule = fields[3] if fields[0] == "Z" else fields[1]
            if not re.fullmatch(r"-|[-0-9:.]+[sduwg]?", rule):
                used.add(rule)
    for rule in sorted(used):
        out += rules[rule]
    for name in wanted:
        out += zones[name]
    for name in ZONES:
        if name in links:
            out.append(f"L {links[name]} {name}")
    print("\n".join(out))


def dst_sign(moment):
    dst = moment.dst()
    return "+" if dst > timedelta(0) else "-" if dst < timedelta(0) else "0"


def table(folder):
    zones = [ZoneInfo.from_file(open(f"{folder}/{name}", "rb"), key=name) for name in ZONES]
    random.seed(29)
    out = [f"Z {name}" for name in ZONES]
    for _ in range(50000):
        index = random.randrange(len(zones))
        instant = random.randrange(START, END)
        moment = (EPOCH + timedelta(seconds=instant)).astimezone(zones[index])
        offset = int(moment.utcoffset().total_seconds())
        out.append(f"I {index} {instant} {offset} {moment.tzname()} {dst_sign(moment)}")
    for _ in range(50000):
        index = random.randrange(len(zones))
        wall = random.randrange(START, END)
        local = (datetime(1970, 1, 1) + timedelta(seconds=wall)).replace(tzinfo=zones[index], fold=0)
        out.append(f"W {index} {wall} {int((local - EPOCH).total_seconds())}")
    for index, zone in enumerate(zones):
        # Offsets change at most a few times a year: six-hour steps, then halving to the second.
        def offset_at(t):
            return (EPOCH + timedelta(seconds=t)).astimezone(zone).utcoffset()
        for t in range(CHANGES_FROM, CHANGES_TO, 6 * 3600):
            low, high = t - 1, t + 6 * 3600 - 1
            if offset_at(low) == offset_at(high):
                continue
            while high - low > 1:
                middle = (low + high) // 2
                low, high = (middle, high) if offset_at(middle) == offset_at(low) else (low, middle)
            if CHANGES_FROM <= high < CHANGES_TO:
                out.append(f"C {index} {high}")
    print("\n".join(out))


if __name__ == "__main__":
    {"extract": extract, "table": table}[sys.argv[1]](sys.argv[2])
