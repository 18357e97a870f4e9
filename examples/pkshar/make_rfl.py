#!/usr/bin/env python3
"""Makes the example reflection lists: one orthorhombic phase (a near-tetragonal
cell, so that many peaks overlap) seen in three powder histograms of different
wavelength and resolution. Positions are 2-theta in degrees."""
import math

CELL = (5.000, 5.018, 7.120)
HISTOGRAMS = [  # file, wavelength, base width, width growth with 2-theta
    ("cu_ka1.RFL", 1.54056, 0.060, 0.0012),
    ("mo_ka1.RFL", 0.70930, 0.030, 0.0008),
    ("sync_05.RFL", 0.50000, 0.008, 0.0002),
]

def reflections(wavelength, max_two_theta):
    a, b, c = CELL
    found = []
    for h in range(0, 12):
        for k in range(0, 12):
            for l in range(0, 16):
                if (h, k, l) == (0, 0, 0) or (h + k) % 2:  # C-centred cell
                    continue
                d = 1.0 / math.sqrt((h / a) ** 2 + (k / b) ** 2 + (l / c) ** 2)
                s = wavelength / (2 * d)
                if s >= 1:
                    continue
                two_theta = 2 * math.degrees(math.asin(s))
                if two_theta <= max_two_theta:
                    found.append((two_theta, d, h, k, l))
    return sorted(found)

for name, wavelength, width0, growth in HISTOGRAMS:
    with open(name, "w") as out:
        out.write(f"Phase 1 orthorhombic C, wavelength {wavelength:.5f} A, 2-theta and FWHM in degrees\n")
        for n, (two_theta, d, h, k, l) in enumerate(reflections(wavelength, 120.0)):
            width = width0 + growth * two_theta
            intensity = 1000.0 * math.exp(-0.02 * two_theta) * (1 + (h * k + l) % 7)
            flag = 1 if n % 97 == 96 else 0  # a few reflections excluded from the fit
            out.write(f"{h:4d}{k:4d}{l:4d}{1:8d}{d:10.5f}{two_theta:10.4f}{width:10.4f}"
                      f"{intensity:10.2f}{'':20s}{flag:4d}\n")
        out.write(f"{0:4d}{0:4d}{0:4d}{0:8d}\n")
