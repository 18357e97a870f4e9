// The listing (work in progress).
#include "listing.hpp"

Listing& listing() {
  static Listing state;
  return state;
}
