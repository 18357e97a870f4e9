// The second stage of the space-group interpreter: one generator matrix per
// operator character, multiplied until the set closes, delivered as SymOps.
#pragma once

#include "cryst/space_group.hpp"
#include "cryst/space_group_symbol.hpp"

// Builds the operators of a classified symbol into info (whose lattice and
// centring are already set); conflict lines go to messageUnit when it is > 0.
// 0: generated; otherwise the error code that stopped generation. A translation
// conflict does not stop it: translationConflict is then set and 0 returned.
int generateOperators(const SymbolClass& symbol, int messageUnit, SpaceGroupInfo& info,
                      bool& translationConflict);

// The class of a rotation code in the operator-class table; -1 when absent.
int operatorClassOf(int rotationCode);
