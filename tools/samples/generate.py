#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes the sample measurements that `vantor demo` tours, into the directory of this script.

The samples are synthetic measurements of known parts (millimetres), with form errors of a few
micrometres and measuring noise drawn from a seeded generator, so that running this script again
gives the same files. They use the different layouts a point file may have: spaces, a CSV header,
tabs, semicolons, comments.
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20240607)


def noise(sigma):
    return rng.gauss(0.0, sigma)


def write(name, comment, header, separator, points):
    with open(os.path.join(HERE, name), "w") as f:
        for line in comment:
            f.write("# " + line + "\n")
        if header:
            f.write(separator.join(header) + "\n")
        for p in points:
            f.write(separator.join("%.5f" % c for c in p) + "\n")


def bore():
    # Bore of 50 mm diameter, axis along z through (40, 30), scanned at z = -12.5 in 1-degree
    # steps: three lobes of 3 um (a part held in a three-jaw chuck), five lobes of 0.8 um, noise.
    points = []
    for k in range(360):
        a = 2 * math.pi * k / 360
        r = 25.0 + 0.003 * math.cos(3 * a + 0.4) + 0.0008 * math.cos(5 * a + 1.9) + noise(0.0004)
        points.append((40.0 + r * math.cos(a), 30.0 + r * math.sin(a), -12.5 + noise(0.0003)))
    write("bore.txt",
          ["Bore, 50 mm diameter, axis along z through (40, 30), scanned at z = -12.5.",
           "Three-lobe form error of 3 um and measuring noise."],
          ["x", "y", "z"], " ", points)


def face():
    # Milled face of 110 x 80 mm at z = 0, probed on a 12 x 9 grid: a waviness of 2 um and noise.
    points = []
    for j in range(9):
        for i in range(12):
            x, y = 10.0 * i, 10.0 * j
            z = 0.002 * math.sin(x / 20.0) * math.cos(y / 15.0) + noise(0.0005)
            points.append((x, y, z))
    write("face.txt",
          ["Milled face, 110 x 80 mm, nominally the plane z = 0, probed on a 12 x 9 grid."],
          ["X", "Y", "Z"], ",", points)


def edge():
    # Edge of a ground bar along x at y = 10, z = 5, 160 mm long: bowed by 3 um in y, noise.
    points = []
    for i in range(81):
        x = 2.0 * i
        t = 2.0 * x / 160.0 - 1.0
        points.append((x, 10.0 + 0.003 * (1.0 - t * t) + noise(0.0004), 5.0 + noise(0.0004)))
    write("edge.txt",
          ["Edge of a ground bar along x at y = 10, z = 5, bowed by 3 um."],
          None, "\t", points)


def shaft():
    # Shaft of 24 mm diameter, axis along z through the origin, 7 sections 10 mm apart with
    # 90 points each: a taper of 2 um over the length, two lobes of 1.5 um, noise.
    points = []
    for s in range(7):
        z = 10.0 * s
        for k in range(90):
            a = 2 * math.pi * k / 90
            r = 12.0 + 0.002 * z / 60.0 + 0.0015 * math.cos(2 * a) + noise(0.0004)
            points.append((r * math.cos(a), r * math.sin(a), z))
    write("shaft.txt",
          ["Shaft, 24 mm diameter, axis along z through the origin, 7 sections 10 mm apart.",
           "Taper of 2 um over the length, two-lobe form error of 1.5 um."],
          ["x", "y", "z"], ";", points)


def ball():
    # Reference ball of 25.4 mm diameter about (150, 80, 35), 250 points spread evenly over the
    # upper hemisphere (the lower one is hidden by the stem): noise of 0.3 um.
    points = []
    golden = math.pi * (3.0 - math.sqrt(5.0))
    for k in range(250):
        z = 1.0 - (k + 0.5) / 250
        ring = math.sqrt(1.0 - z * z)
        a = golden * k
        r = 12.7 + noise(0.0003)
        points.append((150.0 + r * ring * math.cos(a), 80.0 + r * ring * math.sin(a),
                       35.0 + r * z))
    write("ball.txt",
          ["Reference ball, 25.4 mm diameter, centre (150, 80, 35), upper hemisphere."],
          ["x", "y", "z"], " ", points)


def cone():
    # Cone along z from radius 20 at z = 0 to radius 12 at z = 30, 6 sections 6 mm apart with
    # 72 points each: three lobes of 1 um and noise.
    points = []
    for s in range(6):
        z = 6.0 * s
        for k in range(72):
            a = 2 * math.pi * k / 72
            r = 20.0 - 8.0 * z / 30.0 + 0.001 * math.cos(3 * a) + noise(0.0005)
            points.append((r * math.cos(a), r * math.sin(a), z))
    write("cone.txt",
          ["Cone, axis along z through the origin: radius 20 at z = 0, 12 at z = 30."],
          ["x", "y", "z"], " ", points)


def scan():
    # Face of 60 x 40 mm at z = 2 as a laser scanner exports it: an ASCII PLY of float
    # vertices with an intensity, on a 4 mm grid; a crown of 4 um, noise of 1.5 um, and one stray
    # point 0.08 mm high (a reflection). Its own generator, so that the samples above stay put.
    scan_rng = random.Random(20261210)
    points = []
    for j in range(11):
        for i in range(16):
            x, y = 4.0 * i, 4.0 * j
            u, v = x / 30.0 - 1.0, y / 20.0 - 1.0
            z = 2.0 + 0.004 * (1.0 - (u * u + v * v) / 2.0) + scan_rng.gauss(0.0, 0.0015)
            points.append((x, y, z, scan_rng.randint(90, 200)))
    x, y, z, i = points[61]
    points[61] = (x, y, z + 0.08, 255)
    with open(os.path.join(HERE, "scan.ply"), "w") as f:
        f.write("ply\nformat ascii 1.0\n")
        f.write("comment Face, 60 x 40 mm at z = 2, scanned on a 4 mm grid; one reflection\n")
        f.write("element vertex %d\n" % len(points))
        f.write("property float x\nproperty float y\nproperty float z\n")
        f.write("property uchar intensity\nend_header\n")
        for x, y, z, i in points:
            f.write("%.4f %.4f %.4f %d\n" % (x, y, z, i))


def probe():
    # Bore of 20 mm diameter, axis along z through (70, 15), probed by a measuring machine at
    # 24 points at z = -5 and exported with the points' names and the probing directions (unit,
    # towards the axis): id,x,y,z,i,j,k. Two lobes of 2 um and noise of 0.5 um.
    probe_rng = random.Random(20261211)
    rows = []
    for k in range(24):
        a = 2 * math.pi * k / 24
        r = 10.0 + 0.002 * math.cos(2 * a) + probe_rng.gauss(0.0, 0.0005)
        i, j = (round(-c, 6) + 0.0 for c in (math.cos(a), math.sin(a)))  # no "-0.000000"
        rows.append("P%d,%.5f,%.5f,%.5f,%.6f,%.6f,0.000000" % (
            k + 1, 70.0 + r * math.cos(a), 15.0 + r * math.sin(a), -5.0, i, j))
    with open(os.path.join(HERE, "probe.csv"), "w") as f:
        f.write("id,x,y,z,i,j,k\n" + "\n".join(rows) + "\n")


if __name__ == "__main__":
    bore()
    face()
    edge()
    shaft()
    ball()
    cone()
    scan()
    probe()
