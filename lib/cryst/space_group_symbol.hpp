// The first stage of the space-group interpreter: the symbol split into its
// fields, checked and classified into what the generator rules read.
#pragma once

#include <string_view>

// Characters are kept in canonical form (upper case, digits, "-", "/", "H",
// "."); an empty position holds kEmpty. Fields and positions count from 1.
struct SymbolFields {
  static constexpr char kEmpty = '\0';
  char text[5][5] = {};  // text[field][position], fields 1 to 4, positions 1 to 4
  int count = 0;         // nf: the fields found (after an "R" or "H" axes field is dropped)

  char at(int field, int position) const {
    return field >= 1 && field <= 4 && position >= 1 && position <= 4 ? text[field][position] : kEmpty;
  }
  // The field is exactly the two characters given at its start (e.g. "21").
  bool startsWith(int field, char first, char second) const {
    return at(field, 1) == first && at(field, 2) == second;
  }
};

// What classification sets for the generator rules.
struct SymbolClass {
  SymbolFields fields;
  int lattice = 1;             // lattice code after the rhombohedral step
  bool rhombohedral = false;   // the lattice letter was R
  int laueClass = 0;
  int uniqueAxis = 0;
  float shift[10] = {};        // the shift parameters p1 to p9 (index 0 unused)
  bool cubic = false;          // add the three-fold axis along [111]
  int dGlides = 0;             // d-glide planes of an orthorhombic F group
};

// The position of a character in the interpreter's alphabet: 1 blank, 2 C,
// 3 B, 4 A, 5 P, 6 F, 7 I, 8 R, 9 M, 10 N, 11 D, 12 to 17 the digits 1 to 6,
// 18 "-", 19 "/", 20 H, 21 "."; 0 for an empty position; -1 for a character
// outside the alphabet. Lower-case letters fold, a tab is a blank.
int symbolCharacterCode(char c);

// The first stage of the interpretation: splitting, checks, rhombohedral axes,
// classification. 0: classified; otherwise the error code.
int classifySymbol(std::string_view symbol, SymbolClass& result);
