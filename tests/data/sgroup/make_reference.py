#!/usr/bin/python3
"""Writes reference_groups.txt, the table the space-group tests compare with.

For every setting the interpreter must know (the 230 standard short symbols,
origin choice 2, R groups on hexagonal and on rhombohedral axes, full and
short monoclinic symbols of every unique axis and cell choice, the
orthorhombic settings) it records, from independent libraries:
  - the complete set of symmetry operations (gemmi), each reduced modulo the
    centring translations to a canonical representative;
  - every Wyckoff position with its multiplicity and a point on it (cctbx).

Needs the Debian packages python3-gemmi and python3-cctbx. Run from anywhere:
    /usr/bin/python3 tests/data/sgroup/make_reference.py [output path]
The C++ test reads only the committed table; a ctest re-makes it into a scratch
file and checks that the committed one is current.

Layout of the table (one item a line):
    group <kind> <symbol>           kind: standard, rhombohedral, monoclinic, orthorhombic, centred
    centring <t> ...                centring translations, three base-12 digits in twelfths
    ops <op> ...                    rotation rows as 9 of "-0+", ":", translation twelfths
    wyckoff <letter> <multiplicity> <x> <y> <z>
"""
import os
import sys

import gemmi
from cctbx import sgtbx

DIGITS = "0123456789ab"
GENERIC = (0.1173, 0.2391, 0.3627)  # a point on no special position


def twelfths(value24):
    assert value24 % 2 == 0, "translation not in twelfths"
    return (value24 // 2) % 12


def canonical(rot, tran12, centring):
    rows = "".join("-0+"[v + 1] for row in rot for v in row)
    options = [tuple((t + c) % 12 for t, c in zip(tran12, cen)) for cen in centring]
    return rows + ":" + "".join(DIGITS[t] for t in min(options))


def operations(sg):
    ops = sg.operations()
    den = gemmi.Op.DEN
    centring = sorted(tuple(twelfths(v) for v in c) for c in ops.cen_ops)
    result = set()
    for op in ops.sym_ops:
        rot = [[v // den for v in row] for row in op.rot]
        result.add(canonical(rot, [twelfths(v) for v in op.tran], centring))
    return centring, sorted(result)


def wyckoff(hall):
    table = sgtbx.space_group_info(symbol="Hall: " + hall).wyckoff_table()
    lines = []
    for i in range(table.size()):
        position = table.position(i)
        point = position.special_op()(GENERIC)
        lines.append("wyckoff %s %d %.6f %.6f %.6f" % (position.letter(), position.multiplicity(), *point))
    return lines


def short_monoclinic(full):
    """'P 1 21/c 1' -> 'P 21/c' (the one field that is not '1')."""
    fields = full.split()
    axes = [f for f in fields[1:] if f != "1"]
    return fields[0] + " " + axes[0]


def settings():
    """(kind, symbol, gemmi entry) for every setting in the table."""
    table = [sg for sg in gemmi.spacegroup_table()]
    # The main table ends where gemmi's extra settings begin (number 1 again).
    end = next(i for i in range(1, len(table)) if table[i].number < table[i - 1].number)
    main = table[:end]
    chosen = []
    for number in range(1, 231):
        entries = [sg for sg in main if sg.number == number and sg.is_reference_setting()]
        preferred = [sg for sg in entries if sg.ext in ("2", "H")] or entries
        sg = preferred[0]
        symbol = short_monoclinic(sg.hm) if 3 <= number <= 15 else sg.hm
        chosen.append(("standard", symbol, sg))
    for sg in main:
        if sg.ext == "R":
            chosen.append(("rhombohedral", sg.hm + " R", sg))
        elif 3 <= sg.number <= 15:
            chosen.append(("monoclinic", sg.hm, sg))
            if sg.qualifier.startswith("b") and not sg.is_reference_setting():
                chosen.append(("monoclinic", short_monoclinic(sg.hm), sg))
        elif 16 <= sg.number <= 74 and sg.ext != "1" and not sg.is_reference_setting():
            chosen.append(("orthorhombic", sg.hm, sg))
    # Further settings with other centrings (e.g. 'C 4 2 2', 'F 1 2/m 1', 'I 1').
    for sg in table[end:]:
        if "(" not in sg.hm and ")" not in sg.hm and not sg.hm.split()[-1].endswith("a"):
            chosen.append(("centred", sg.hm, sg))
    return chosen


def main():
    out = []
    for kind, symbol, sg in settings():
        centring, ops = operations(sg)
        out.append("group %s %s" % (kind, symbol))
        out.append("centring " + " ".join("".join(DIGITS[t] for t in c) for c in centring))
        out.append("ops " + " ".join(ops))
        out.extend(wyckoff(sg.hall))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "reference_groups.txt")
    with open(path, "w") as f:
        f.write("# Made by make_reference.py from gemmi %s and cctbx; do not edit.\n" % gemmi.__version__)
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
