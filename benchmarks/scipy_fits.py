#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Times SciPy's least_squares, as a Python user would call it, on the shapes of
benchmarks/measured_shapes.h (the same formulas, so the same points):

- the cylinder of 1,000 to 100,000 points from the start that least_squares_bench.cpp gives
  vantor (benchmark cylinder_from_start): axis through (10.5, 19.7, 30) along
  (0.12, -0.17, 1), radius 12.4;
- the geometric circle on closed profiles of 1,000 to 1,000,000 points from the centroid and
  the mean distance from it, and the algebraic (Kasa) circle by numpy.linalg.lstsq.

Run: /usr/bin/python3 benchmarks/scipy_fits.py   (Debian python3-scipy)
"""
import time

import numpy as np
from scipy.optimize import least_squares

GOLDEN = 0.6180339887498949
PLASTIC = 0.7548776662466927


def wobble(i):
    return np.sin(12.9898 * i)


def axis_frame():
    a = np.array([0.1, -0.2, 1.0])
    a /= np.linalg.norm(a)
    b = np.cross(a, [1.0, 0.0, 0.0])
    b /= np.linalg.norm(b)
    return a, b, np.cross(a, b)


def cylinder(n):
    i = np.arange(n, dtype=float)
    t = 2 * np.pi * np.fmod(GOLDEN * i, 1.0)
    z = 40 * np.fmod(PLASTIC * i, 1.0)
    r = 12 + 0.004 * np.cos(3 * t) + 0.002 * wobble(i)
    a, b, c = axis_frame()
    return (np.array([10.0, 20.0, 30.0]) + np.outer(r * np.cos(t), b) +
            np.outer(r * np.sin(t), c) + np.outer(z, a))


def profile(n):
    i = np.arange(n, dtype=float)
    t = 2 * np.pi * i / n
    r = 25 + 0.01 * np.cos(3 * t) + 0.002 * wobble(i)
    return np.column_stack([40 + r * np.cos(t), -15 + r * np.sin(t)])


def best_time(fit, repeats):
    best, result = float("inf"), None
    for _ in range(repeats):
        start = time.perf_counter()
        result = fit()
        best = min(best, time.perf_counter() - start)
    return best, result


def fit_cylinder(points, method):
    # Parameters: the axis point where the axis meets z = 30, the axis direction by its polar
    # and azimuth angles, and the radius.
    def residuals(p):
        x0, y0, theta, phi, r = p
        u = np.array([np.sin(theta) * np.cos(phi), np.sin(theta) * np.sin(phi), np.cos(theta)])
        d = points - np.array([x0, y0, 30.0])
        return np.linalg.norm(np.cross(d, u), axis=1) - r

    u0 = np.array([0.12, -0.17, 1.0])
    u0 /= np.linalg.norm(u0)
    start = [10.5, 19.7, np.arccos(u0[2]), np.arctan2(u0[1], u0[0]), 12.4]
    return least_squares(residuals, start, method=method)


def fit_circle(points):
    def residuals(p):
        return np.hypot(points[:, 0] - p[0], points[:, 1] - p[1]) - p[2]

    c = points.mean(axis=0)
    r = np.hypot(points[:, 0] - c[0], points[:, 1] - c[1]).mean()
    return least_squares(residuals, [c[0], c[1], r])


def kasa(points):
    a = np.column_stack([points, np.ones(len(points))])
    b = (points ** 2).sum(axis=1)
    s = np.linalg.lstsq(a, b, rcond=None)[0]
    centre = s[:2] / 2
    return centre, np.sqrt(s[2] + centre @ centre)


def main():
    print("cylinder from the given start (seconds per fit, evaluations, radius)")
    for n in (1000, 10000, 100000):
        points = cylinder(n)
        for method in ("trf", "lm"):
            seconds, r = best_time(lambda: fit_cylinder(points, method), 5 if n <= 10000 else 2)
            print(f"  n={n:<8} {method:<4} {seconds * 1e3:9.2f} ms  nfev={r.nfev:<4} "
                  f"radius={r.x[4]:.9f}")
    print("circle on a closed profile (seconds per fit)")
    for n in (1000, 10000, 100000, 1000000):
        points = profile(n)
        repeats = 5 if n <= 100000 else 2
        seconds, r = best_time(lambda: fit_circle(points), repeats)
        print(f"  n={n:<8} least_squares {seconds * 1e3:9.2f} ms  nfev={r.nfev:<3} "
              f"radius={r.x[2]:.9f}")
        seconds, (centre, radius) = best_time(lambda: kasa(points), repeats)
        print(f"  n={n:<8} kasa          {seconds * 1e3:9.2f} ms          radius={radius:.9f}")


if __name__ == "__main__":
    main()
