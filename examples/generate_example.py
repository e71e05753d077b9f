#!/usr/bin/env python3
"""Writes example_spectrum.txt: a synthetic hydrocarbon spectrum (masses 24-60, step 0.01)
with Gaussian peaks of resolving power 600 at the CnHm ion masses, a small baseline and
noise. Windows-1251, CR LF, a title block, whole-number intensities."""
import math
import random

PEAKS = [  # exact mass, height
    (26.01565, 1800), (27.02348, 5200), (28.03130, 3100), (29.03913, 4300),
    (39.02348, 3900), (40.03130, 900), (41.03913, 9800), (42.04695, 2600),
    (43.05478, 12000), (44.05800, 700), (53.03913, 1500), (55.05478, 6100),
    (56.06260, 2200), (57.07043, 8400), (58.07825, 500),
]
R = 600.0
random.seed(12)

lines = ['"Пример: углеводородный спектр C2-C4"', '""', '""']
n = 3601
for i in range(n):
    m = 24.0 + i * 0.01
    y = 40.0 + 10.0 * math.sin(m / 3.0)
    for centre, height in PEAKS:
        fwhm = centre / R
        y += height * math.exp(-4 * math.log(2) * ((m - centre) / fwhm) ** 2)
    y += random.gauss(0, 6)
    lines.append("%.5f     %d" % (m, max(0, round(y))))

with open("example_spectrum.txt", "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))
