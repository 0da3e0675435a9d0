#!/usr/bin/python3
"""Writes sun_table.txt: the sun's times over local days and its place at one instant of each, from PyEphem
(Debian's python3-ephem), a source independent of the program's own formulas.

Run from this folder: /usr/bin/python3 make_sun_tables.py > sun_table.txt

A local day is the UTC day shifted east by round(longitude / 15) hours: [start, start + 86400).
Rise and set: the centre 50' below the horizon (upper limb and standard refraction), no atmosphere
(pressure 0). Twilight: the centre 6, 12 and 18 degrees below. Altitude and azimuth: the centre, geometric.
"""
import calendar
import math
import random

import ephem

UNIX_EPOCH = ephem.Date('1970/1/1')
DAY = 86400
EVENTS = (('-0:50', 'sunrise', 'sunset'), ('-6', 'civil dawn', 'civil dusk'), ('-12', 'nautical dawn', 'nautical dusk'),
          ('-18', 'astronomical dawn', 'astronomical dusk'))
PLACES = (('Tromso', 69.65, 18.96), ('Longyearbyen', 78.22, 15.65), ('McMurdo', -77.85, 166.67))


def unix(date):
    return round((date - UNIX_EPOCH) * DAY)


def ephem_date(seconds):
    return ephem.Date(UNIX_EPOCH + seconds / DAY)


def observer(lat, lon, horizon='0'):
    o = ephem.Observer()
    o.lat, o.lon, o.pressure, o.elevation, o.horizon = str(lat), str(lon), 0, 0, horizon
    return o


def crossings(lat, lon, horizon, start, rising):
    """Every rising (or setting) of the centre through `horizon` in [start, start + DAY), or 'up'/'down'
    when there is none and PyEphem finds the sun circumpolar or never up at that altitude."""
    o, sun, found, verdicts = observer(lat, lon, horizon), ephem.Sun(), [], set()
    moment = start - 1
    while moment < start + DAY:
        o.date = ephem_date(moment)
        try:
            event = unix(o.next_rising(sun, use_center=True) if rising else o.next_setting(sun, use_center=True))
        except (ephem.AlwaysUpError, ephem.NeverUpError) as error:
            # PyEphem judges by one transit: look on past it, the day may still hold a crossing.
            verdicts.add('up' if isinstance(error, ephem.AlwaysUpError) else 'down')
            moment += DAY // 4
            continue
        if event >= start + DAY:
            break
        found.append(event)
        moment = event + 60
    if found or len(verdicts) != 1:
        return found
    return verdicts.pop()


def first_or_last(found, index):
    if isinstance(found, str):
        return found
    return str(found[index]) if found else '-'


def day_row(start, lat, lon, instant):
    fields, sun_times = [], None
    for horizon, _, _ in EVENTS:
        rises, sets = crossings(lat, lon, horizon, start, True), crossings(lat, lon, horizon, start, False)
        pair = [first_or_last(rises, 0), first_or_last(sets, -1)]
        if any(isinstance(found, list) and found for found in (rises, sets)):
            # The sun crosses that altitude this day: neither always up nor always down.
            pair = ['-' if p in ('up', 'down') else p for p in pair]
        sun_times = sun_times or pair
        fields += pair
    o = observer(lat, lon)
    o.date = ephem_date(start)
    noon = unix(o.next_transit(ephem.Sun()))
    o.date = ephem_date(instant)
    sun = ephem.Sun(o)
    return '%d %.4f %.4f %s %d %d %d %.4f %.4f' % (start, lat, lon, ' '.join(fields), noon, day_length(start, *sun_times),
                                                   instant, math.degrees(sun.alt), math.degrees(sun.az))


def day_length(start, rise, set_):
    if not (rise.lstrip('-').isdigit() or set_.lstrip('-').isdigit()):
        return DAY if 'up' in (rise, set_) else 0
    rise, set_ = (int(x) if x.lstrip('-').isdigit() else None for x in (rise, set_))
    if rise is not None and set_ is not None and rise < set_:
        return set_ - rise
    # Up at one end of the day or both.
    return (set_ - start if set_ is not None else 0) + (start + DAY - rise if rise is not None else 0)


def local_day(year, month, day, lon):
    return calendar.timegm((year, month, day, 0, 0, 0)) - round(lon / 15) * 3600


def sunrise_state(lat, lon, start):
    state = crossings(lat, lon, '-0:50', start, True)
    return state if isinstance(state, str) else ('rises' if state else 'none')


print('# UTC start of the local day, latitude, longitude; then, each in UTC seconds: sunrise, sunset, civil,')
print('# nautical and astronomical dawn and dusk (the first rising and the last setting, "-" when none that day,')
print('# "up"/"down" when the day has neither and PyEphem has the sun circumpolar / never up at that altitude);')
print('# solar noon (transit); day length in seconds; an instant of the day with the geometric altitude and')
print('# azimuth of the centre.')
print('# "polar" starts the polar rows. Made by make_sun_tables.py with PyEphem', ephem.__version__)
rng = random.Random(30)
first, last = calendar.timegm((1800, 1, 1, 0, 0, 0)) // DAY, calendar.timegm((2200, 12, 31, 0, 0, 0)) // DAY
for _ in range(2000):
    lat, lon = round(rng.uniform(-66, 66), 4), round(rng.uniform(-180, 180), 4)
    start = rng.randint(first, last) * DAY - round(lon / 15) * 3600
    print(day_row(start, lat, lon, start + rng.randrange(DAY)))
print('polar')
for name, lat, lon in PLACES:
    print('#', name)
    days = {local_day(y, m, d, lon) for y in (1850, 2026, 2150) for m, d in ((6, 20), (6, 21), (12, 21), (12, 22))}
    # The days the sunrise appears or disappears: polar night and polar day begin and end.
    previous = None
    for n in range(366):
        start = local_day(2026, 1, 1, lon) + n * DAY
        state = sunrise_state(lat, lon, start)
        if previous is not None and state != previous:
            days |= {start - DAY, start}
        previous = state
    for start in sorted(days):
        print(day_row(start, lat, lon, start + 12 * 3600))
