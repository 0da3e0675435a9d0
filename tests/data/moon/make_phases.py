#!/usr/bin/python3
"""Writes phases.txt: full and new moons over 1900-2100 and a few illuminated fractions, in UT to the
second, from PyEphem (Debian's python3-ephem), a source independent of the program's own formulas.

Run from this folder: /usr/bin/python3 make_phases.py > phases.txt
"""
from datetime import timedelta

import ephem

START, END, COUNT = ephem.Date('1900/1/1'), ephem.Date('2100/1/1'), 64


def stamp(date):
    # Rounded to the nearest second; ephem's own text truncates.
    return (ephem.Date(date).datetime() + timedelta(microseconds=500000)).strftime('%Y-%m-%d %H:%M:%S')


print('# kind, UT date and time; "lit" lines add the illuminated fraction of the disc in percent.')
print('# Made by make_phases.py with PyEphem', ephem.__version__)
for i in range(COUNT):
    # Spread over the two centuries, alternating the kind, with an odd step so the season varies.
    start = ephem.Date(START + (END - START) * i / COUNT + i * 7.3)
    if i % 2 == 0:
        print('new', stamp(ephem.next_new_moon(start)))
    else:
        print('full', stamp(ephem.next_full_moon(start)))
for text in ('1903/4/11 06:00', '1957/10/4 19:28:34', '1969/7/20 20:17:40', '2004/12/4 00:00',
             '2024/4/8 18:18', '2031/1/1 12:00', '2077/8/24 03:00', '2099/12/31 23:59:59'):
    moment = ephem.Date(text)
    print('lit', stamp(moment), '%.2f' % (100 * ephem.Moon(moment).moon_phase))
