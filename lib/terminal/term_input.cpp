// The answer reader (work in progress).
#include "term_input.hpp"

TermInput& termInput() {
  static TermInput input;
  return input;
}
