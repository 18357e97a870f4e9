// Times the space-group interpreter: every symbol of a file (one a line)
// interpreted silently, the whole list repeated the given number of times.
//
//   sgroup_bench SYMBOL_FILE REPEATS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cryst/space_group.hpp"
#include "terminal/listing.hpp"  // setProgramInvocation
#include "terminal/run_stop.hpp"

int main(int argc, char** argv) {
  setProgramInvocation(argv[0]);
  if (argc != 3) stopRun("Usage: sgroup_bench SYMBOL_FILE REPEATS", 1);
  std::ifstream in(argv[1]);
  std::vector<std::string> symbols;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) symbols.push_back(line);
  const int repeats = std::atoi(argv[2]);
  if (symbols.empty() || repeats <= 0) stopRun("Nothing to interpret", 1);

  int failures = 0;
  long operators = 0;
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < repeats; ++r) {
    for (const std::string& symbol : symbols) {
      SpaceGroupInfo info;
      if (interpretSpaceGroup(symbol, 0, info) != 0) ++failures;
      operators += info.operatorCount;
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(" %zu symbols x %d: %.3f s (%ld operators, %d failures)\n", symbols.size(), repeats, seconds,
              operators, failures);
  return failures == 0 ? 0 : 1;
}
