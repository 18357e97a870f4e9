// The printed description of a space group (centring, system, Laue class,
// multiplicity, unique and polar axes, equivalent positions as text).
#pragma once

#include <string>

#include "cryst/space_group.hpp"

// Sets info.polarAxes and, when unit > 0, writes the symmetry listing on it.
void writeSymmetryListing(SpaceGroupInfo& info, int unit);

// The axes along which the origin is arbitrary (1 x, 2 y, 4 z, 8 [111]).
int polarAxesOf(const SpaceGroupInfo& info);

// One operator as the listing writes it, e.g. " ( 2)    -X  1/2+Y  1/2-Z ".
std::string operatorText(const SymOp& op, int number);
