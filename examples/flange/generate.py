#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes the measured points of a flanged part with known deviations, into this directory.

The part (millimetres): a disc of 120 mm diameter and 20 mm thickness with a through bore of
40 mm, a flat on its rim and four bolt holes of 10 mm. The points are those a coordinate
measuring machine would take, with 0.1 um of seeded measuring noise, so that running this script
again gives the same files. README.md lists the deviations built in and what plan.json reports.
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20261210)
NOISE = 0.0001

BORE_TILT = 0.0005      # the bore's axis leans by 0.5 mm/m towards +x, about its mid-height
RIM_OFFSET = 0.010      # the rim's axis lies 10 um from the bore's, towards +y
TOP_SLOPE = 0.0003      # the top face rises by 0.3 mm/m towards +x
FLAT_LEAN = 0.0004      # the flat leans by 0.4 mm/m
BORE_DIAMETER = 40.012  # with a four-lobed form of 1 um
HOLE_SHIFT = {"H1": (0.010, 0.0), "H2": (0.045, -0.060), "H3": (0.0, 0.0), "H4": (0.0, 0.0)}
# Bolt holes by their true position in the datum frame A|B|C (x towards the flat, y = z ^ x with
# z out of face A, that is -z here): world (x, y) = frame (u, -v).
HOLES = {"H1": (30.0, 30.0), "H2": (-30.0, 30.0), "H3": (-30.0, -30.0), "H4": (30.0, -30.0)}


def n():
    return rng.gauss(0.0, NOISE)


def write(name, comment, points):
    with open(os.path.join(HERE, name), "w") as f:
        for line in comment:
            f.write("# " + line + "\n")
        f.write("x y z\n")
        for p in points:
            f.write(" ".join("%.6f" % c for c in p) + "\n")


def annulus(radii, count):
    for r in radii:
        for k in range(count):
            a = 2 * math.pi * k / count
            yield r, a, r * math.cos(a), r * math.sin(a)


def face_a():
    # The mounting face, z = 0, material above: a waviness of 1 um amplitude (flatness 2 um).
    return [(x + n(), y + n(), 0.001 * math.sin(3 * a) + n())
            for r, a, x, y in annulus((26.0, 36.0, 48.0, 56.0), 36)]


def top_face():
    # The top face, z = 20, rising towards +x: parallelism to A 100 mm x 0.3 mm/m = 30 um.
    return [(x + n(), y + n(), 20.0 + TOP_SLOPE * x + n())
            for r, a, x, y in annulus((30.0, 50.0), 36)]


def bore_b():
    # The bore, four sections of 90 points; its axis through (0, 0, 10) leans towards +x.
    points = []
    for z in (2.0, 7.0, 13.0, 18.0):
        cx = BORE_TILT * (z - 10.0)
        for k in range(90):
            a = 2 * math.pi * k / 90
            r = BORE_DIAMETER / 2 + 0.001 * math.cos(4 * a) + n()
            points.append((cx + r * math.cos(a), r * math.sin(a), z + n()))
    return points


def flat_c():
    # The flat at x = 55, material towards -x, leaning by 0.4 mm/m over its height 2..18.
    return [(55.0 + FLAT_LEAN * (z - 10.0) + n(), y + n(), z + n())
            for z in (2.0, 6.0, 10.0, 14.0, 18.0) for y in (-20.0, -10.0, 0.0, 10.0, 20.0)]


def rim_d():
    # The rim, diameter 120 (away from the flat), five sections of 72 points, its axis 10 um
    # from the bore's towards +y.
    points = []
    for z in (2.0, 6.0, 10.0, 14.0, 18.0):
        for k in range(72):
            a = math.radians(30.0 + 300.0 * k / 71)  # the flat spans about +-24 degrees
            points.append((60.0 * math.cos(a) + n(), RIM_OFFSET + 60.0 * math.sin(a) + n(),
                           z + n()))
    return points


def holes():
    # The four bolt holes, one section each at z = 10, 36 points, one after the other.
    points = []
    for name in ("H1", "H2", "H3", "H4"):
        u, v = HOLES[name]
        dx, dy = HOLE_SHIFT[name]
        cx, cy = u + dx, -v + dy
        for k in range(36):
            a = 2 * math.pi * k / 36
            points.append((cx + 5.0 * math.cos(a) + n(), cy + 5.0 * math.sin(a) + n(), 10.0 + n()))
    return points


write("face_a.txt", ["Flange, mounting face A: z = 0, flatness 2 um."], face_a())
write("top_face.txt", ["Flange, top face: z = 20 rising 0.3 mm/m towards +x."], top_face())
write("bore_b.txt", ["Flange, bore B: 40.012 mm, four lobes of 1 um, axis leaning 0.5 mm/m."],
      bore_b())
write("flat_c.txt", ["Flange, flat C at x = 55, leaning 0.4 mm/m."], flat_c())
write("rim_d.txt", ["Flange, rim D: 120 mm, axis 10 um from the bore's."], rim_d())
write("holes.txt", ["Flange, bolt holes H1 to H4: 10 mm at z = 10, 36 points each, in order."],
      holes())
