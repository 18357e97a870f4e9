#!/usr/bin/env python3
"""Writes experiment files with histogram reflection files for RFLSUM.

  make_reflection_data.py example DIR    the P 21/c example (examples/rflsum)
  make_reflection_data.py bench DIR N    one powder histogram of N reflections
  make_reflection_data.py fixtures DIR   the end-to-end test cases (tests/data/rflsum)

Experiment records are 80 columns (12-character key, 68-character value) with
CR LF; reflection files hold one fixed-length record of 32-bit words per
reflection: 18 words (powder: integer h k l, fields 1-15), 32 words
(single crystal: real h k l, fields 1-25) or 22 words (merged single crystal).
F and sigma(F) are data fields 6 and 7 (words 9 and 10).
"""
import math
import random
import struct
import sys
from pathlib import Path


def record(key, value=""):
    assert len(key) == 12 and len(value) <= 68, (key, value)
    return (key + value.ljust(68) + "\r\n").encode("ascii")


def hst(histogram, item):
    return "HST " + f"{histogram:2d}" + item


def write_experiment(path, title, types, histogram_records, extra=()):
    """types: 4-character codes; histogram_records: (histogram, item, value)."""
    records = [
        record("     VERSION", "    6     Fri Dec 11 05:00:00 2026"),
        record("      DESCR ", "  " + title),
        record("    HSTRY  1", " SETUPR  Fri Dec 11 05:00:00 2026 created"),
        record("    HSTRY  2", " LSQREF  Fri Dec 11 05:10:00 2026 cycle 5 Rwp 0.0712"),
        record(" EXPR  NHST ", f"{len(types):5d}"),
    ]
    for group in range((len(types) - 1) // 12 + 1 if types else 0):
        codes = types[12 * group:12 * group + 12]
        records.append(record(f" EXPR  HTYP{group + 1}", "  " + " ".join(c.ljust(4) for c in codes)))
    records += [record(k, v) for k, v in extra]
    records += [record(hst(h, item), value) for h, item, value in histogram_records]
    records.append(record("ZZZZZZZZZZZZ", "  Last EXP file record"))
    Path(path).write_bytes(b"".join(records))


def powder_record(h, k, l, f, sigma, order="<", extra=0.0):
    fields = [extra, 0.0, 0.0, 0.0, 0.0, f, sigma] + [0.0] * 8
    return struct.pack(order + "3i15f", h, k, l, *fields)


def single_crystal_record(h, k, l, f, sigma, words=32, order="<", integers=False):
    index = struct.pack(order + ("3i" if integers else "3f"), h, k, l)
    fields = [f * f, 2 * f * sigma, 0.0, 0.0, 0.0, f, sigma] + [0.0] * (words - 10)
    return index + struct.pack(order + f"{words - 3}f", *fields)


class Monoclinic:
    """Cell of a monoclinic (b unique) phase: d-spacing of hkl."""

    def __init__(self, a, b, c, beta):
        self.a, self.b, self.c, self.beta = a, b, c, math.radians(beta)

    def d(self, h, k, l):
        s = math.sin(self.beta)
        inv = (h * h / (self.a * self.a) + k * k * s * s / (self.b * self.b) + l * l / (self.c * self.c)
               - 2 * h * l * math.cos(self.beta) / (self.a * self.c)) / (s * s)
        return 1.0 / math.sqrt(inv)


def p21c_absent(h, k, l):
    """P 21/c: h0l with l odd (c glide), 0k0 with k odd (21 screw)."""
    return (k == 0 and l % 2 != 0) or (h == 0 and l == 0 and k % 2 != 0)


def unique_p2m(cell, d_min, limit=12):
    """Unique reflections of Laue class 2/m (h >= 0, k >= 0; l >= 0 when h = 0)."""
    out = []
    for h in range(0, limit + 1):
        for k in range(0, limit + 1):
            for l in range(-limit, limit + 1):
                if (h, k, l) == (0, 0, 0) or (h == 0 and l < 0):
                    continue
                if cell.d(h, k, l) >= d_min:
                    out.append((h, k, l))
    out.sort(key=lambda hkl: -cell.d(*hkl))
    return out


def measured(rng, cell, hkl, absent):
    """F and sigma(F): absent reflections are noise around zero."""
    sigma = 0.4 + 0.02 * rng.random() * 10
    if absent:
        return abs(rng.gauss(0.0, 1.0)) * sigma, sigma
    falloff = math.exp(-2.0 / (cell.d(*hkl) ** 2))
    f = 60.0 * falloff * (0.1 + rng.random())
    return f, sigma + 0.03 * f


def example(directory):
    """A P 21/c structure with a powder (X-ray, two wavelengths) and a
    single-crystal histogram; the single-crystal histogram has a merged file."""
    out = Path(directory)
    rng = random.Random(2131)
    cell = Monoclinic(5.431, 8.122, 9.874, 97.31)
    powder = [hkl for hkl in unique_p2m(cell, 1.45) if not p21c_absent(*hkl)]
    with open(out / "P21C.R01", "wb") as f:
        for hkl in powder:
            fo, sigma = measured(rng, cell, hkl, False)
            f.write(powder_record(*hkl, fo, sigma))
    unique = unique_p2m(cell, 1.05)
    unmerged = []
    merged = []
    for hkl in unique:
        fo, sigma = measured(rng, cell, hkl, p21c_absent(*hkl))
        merged.append((hkl, fo, sigma))
        h, k, l = hkl
        for equivalent in ((h, k, l), (-h, -k, -l)):
            unmerged.append((equivalent, fo * (0.95 + 0.1 * rng.random()), sigma * 1.3))
    with open(out / "P21C.S02", "wb") as f:
        for hkl, fo, sigma in unmerged:
            f.write(single_crystal_record(*hkl, fo, sigma))
    with open(out / "P21C.M02", "wb") as f:
        for hkl, fo, sigma in merged:
            f.write(single_crystal_record(*hkl, fo, sigma, words=22))
    write_experiment(out / "P21C.EXP", "Monoclinic test structure, space group P 21/c", ["PXC ", "SXC "], [
        (1, "  HNAM", "  Cu K-alpha powder pattern, flat plate, 5-120 deg"),
        (1, " BANK ", "    1"),
        (1, " ICONS", "   1.54056   1.54439"),
        (1, " NREF ", f"{len(powder):5d}"),
        (2, "  HNAM", "  Mo K-alpha single crystal, 0.2 x 0.15 x 0.1 mm"),
        (2, " BANK ", "    1"),
        (2, "REFLEN", "   32"),
        (2, " NREF ", f"{len(unmerged):5d}"),
        (2, " NREFM", f"{len(merged):5d}"),
    ], extra=[
        ("CRS1    PNAM", "monoclinic test phase"),
        ("CRS1  ABC   ", f"{5.431:10.4f}{8.122:10.4f}{9.874:10.4f}"),
        ("CRS1  ANGLES", f"{90.0:10.3f}{97.31:10.3f}{90.0:10.3f}"),
        ("CRS1  SG SYM", "P 21/c"),
        (" EXPR NPHAS ", "    1    0    0    0    0    0    0    0    0"),
    ])


def bench(directory, count):
    """One powder histogram of `count` reflections."""
    out = Path(directory)
    rng = random.Random(7)
    chunks = []
    for i in range(count):
        h, k, l = rng.randint(-20, 20), rng.randint(0, 20), rng.randint(-20, 20)
        chunks.append(powder_record(h, k, l, 50.0 * rng.random(), 0.5 + rng.random()))
    (out / "BENCH.R01").write_bytes(b"".join(chunks))
    write_experiment(out / "BENCH.EXP", "benchmark: one large powder histogram", ["PXC "], [
        (1, "  HNAM", "  synthetic"), (1, " NREF ", f"{count:5d}"),
    ])


def fixtures(directory):
    """Small cases whose tables can be checked by hand. Each case directory holds
    the experiment, its reflection files, `args` and `stdin`."""
    root = Path(directory)

    def case(name, args, answers):
        path = root / name
        path.mkdir(parents=True, exist_ok=True)
        (path / "args").write_text(args + "\n")
        (path / "stdin").write_text("".join(a + "\n" for a in answers))
        return path

    # Three histograms, one at a time: N, then 2 (single crystal with a merged
    # file: "n" keeps the unmerged one), then a comma accepts 3 (powder written
    # on a big-endian machine, its count record claiming more than the file).
    path = case("three", "three", ["N", "2", "n", ","])
    sc = [(0, 0, 4, 10.0, 1.0), (0, 0, 3, 0.5, 1.0), (1, 2, 3, 20.0, 2.0), (0, 0, 1, 5.0, 0.0),
          (-3, 0, 1, 2.0, 1.0), (2, 2, 1, 40.0, 4.0)]
    with open(path / "THREE.S02", "wb") as f:
        for h, k, l, fo, sigma in sc:
            f.write(single_crystal_record(h, k, l, fo, sigma))
    (path / "THREE.M02").write_bytes(single_crystal_record(9, 9, 9, 1.0, 1.0, words=22))
    with open(path / "THREE.R03", "wb") as f:
        for h, k, l, fo, sigma in [(1, 0, 0, 6.0, 2.0), (2, 0, 0, 30.0, 2.0), (1, 1, 1, 4.0, 1.0)]:
            f.write(powder_record(h, k, l, fo, sigma, order=">"))
    (path / "THREE.R01").write_bytes(powder_record(5, 5, 5, 1.0, 1.0))
    write_experiment(path / "THREE.EXP", "Three histograms, examined one at a time",
                     ["PXC ", "SXCN", "PNTR"], [
        (1, "  HNAM", "  first powder"), (1, " NREF ", "    1"),
        (2, "  HNAM", "  single crystal, unmerged"), (2, " NREF ", f"{len(sc):5d}"),
        (2, " NREFM", "    1"),
        (3, "  HNAM", "  neutron bank from a big-endian machine"), (3, " BANK ", "    2"),
        (3, "BNKPAR", "    0.0000  150.0000"), (3, " NREF ", "    5"),
    ])

    # The same, with the name typed at the prompt: the listing is the terminal
    # and every line is written once.
    screen = case("screen", "", ["three", "N", "2", "n", ","])
    for name in ("THREE.EXP", "THREE.S02", "THREE.M02", "THREE.R01", "THREE.R03"):
        (screen / name).write_bytes((path / name).read_bytes())

    # One at a time: an answer that is not a number is asked again, 3 is the
    # last histogram and ends the run; and a run answered 0 at once.
    for name, answers in (("retry", ["N", "x3", "3"]), ("stop", ["N", "0"])):
        other = case(name, "three", answers)
        for file_name in ("THREE.EXP", "THREE.S02", "THREE.M02", "THREE.R01", "THREE.R03"):
            (other / file_name).write_bytes((path / file_name).read_bytes())

    # One single-crystal histogram with 36-word integer-index records; the
    # merged-file question takes its default (an empty answer): the merged file.
    # A short page (LENPAGE) repeats the table header on the listing.
    path = case("merged", "merged", [""])
    with open(path / "MERGED.M01", "wb") as f:
        for l in range(0, 9):
            f.write(single_crystal_record(0, 0, l, 3.5 * l, 1.0, words=22, integers=True))
    (path / "MERGED.S01").write_bytes(b"")
    write_experiment(path / "MERGED.EXP", "Merged single-crystal data", ["SNC "], [
        (1, "  HNAM", "  merged"), (1, " NREF ", "   20"), (1, " NREFM", "    9"), (1, "REFLEN", "   36"),
    ])

    # All histograms: histogram 2 has no reflection-count record (its file is
    # not read) and histogram 4 is neither powder nor single crystal; the one
    # table at the end covers histograms 1 and 3.
    path = case("all", "all", [""])
    with open(path / "ALL.R01", "wb") as f:
        for h, k, l, fo, sigma in [(0, 1, 0, 12.0, 1.0), (0, 3, 0, 0.2, 1.0)]:
            f.write(powder_record(h, k, l, fo, sigma))
    (path / "ALL.R02").write_bytes(powder_record(1, 0, 0, 50.0, 1.0))
    (path / "ALL.S03").write_bytes(single_crystal_record(0, 5, 0, 1.0, 2.0))
    write_experiment(path / "ALL.EXP", "All histograms", ["PNC ", "PXE*", "SXC ", "TXC "], [
        (1, " ICONS", "   1.10000"), (1, " NREF ", "    2"), (2, " ICONS", "  90.00000"),
        (3, " NREF ", "    1"),
    ])

    # A histogram whose reflection file is missing.
    path = case("missing", "missing", [])
    write_experiment(path / "MISSING.EXP", "No reflection file", ["PXC "], [(1, " NREF ", "   10")])

    # A damaged file: a ragged end and absurd words (NaN, infinity, huge
    # indices); nothing may crash and the sound records are counted.
    path = case("damaged", "damaged", [])
    good = powder_record(0, 2, 0, 8.0, 2.0)
    nan = struct.pack("<3i15f", 0, 4, 0, *([0.0] * 5 + [float("nan"), 1.0] + [0.0] * 8))
    inf = struct.pack("<3i15f", 0, 6, 0, *([0.0] * 5 + [float("inf"), 1.0] + [0.0] * 8))
    huge = struct.pack("<3i15f", 2147483647, -2147483648, 7, *([0.0] * 5 + [9.0, 1.0] + [0.0] * 8))
    (path / "DAMAGED.R01").write_bytes(good + nan + inf + huge + good[:40])
    write_experiment(path / "DAMAGED.EXP", "Damaged reflection file", ["PXC "], [(1, " NREF ", "99999")])


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "example":
        example(sys.argv[2])
    elif len(sys.argv) >= 3 and sys.argv[1] == "fixtures":
        fixtures(sys.argv[2])
    elif len(sys.argv) >= 4 and sys.argv[1] == "bench":
        bench(sys.argv[2], int(sys.argv[3]))
    else:
        sys.exit(__doc__)
