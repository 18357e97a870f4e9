// Runs the reflection-reader fuzz entry on a fixed, reproducible set of inputs:
// well-formed records of every layout and byte order, then random mutations
// and cuts of them. Exits 0 when every input was handled.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" void rflsumFuzzCleanup();

namespace {

std::vector<std::uint8_t> wellFormed(int selector, int words, bool swapped, bool integers, int records) {
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(selector)};
  for (int r = 0; r < records; ++r) {
    for (int w = 1; w <= words; ++w) {
      std::uint32_t word = 0;
      if (w <= 3) {
        const int index = (r * 7 + w * 3) % 11 - 5;
        word = integers ? static_cast<std::uint32_t>(index) : std::bit_cast<std::uint32_t>(static_cast<float>(index));
      } else {
        word = std::bit_cast<std::uint32_t>(static_cast<float>(r + w) * 0.5f);
      }
      if (swapped) word = __builtin_bswap32(word);
      for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(word >> (8 * b)));
    }
  }
  return bytes;
}

}  // namespace

int main() {
  struct Layout {
    int selector, words;
    bool integers;
  } layouts[] = {{0, 18, true}, {1, 32, false}, {1, 32, true}, {2, 36, false}, {3, 22, false}, {3, 22, true}};
  std::vector<std::vector<std::uint8_t>> seeds;
  for (const Layout& layout : layouts)
    for (bool swapped : {false, true}) seeds.push_back(wellFormed(layout.selector, layout.words, swapped, layout.integers, 40));

  std::mt19937 random(20261211u);
  int inputs = 0;
  for (const auto& seed : seeds) {
    LLVMFuzzerTestOneInput(seed.data(), seed.size());
    ++inputs;
    for (int round = 0; round < 60; ++round) {
      std::vector<std::uint8_t> input = seed;
      const int flips = 1 + static_cast<int>(random() % 16);
      for (int f = 0; f < flips; ++f) input[1 + random() % (input.size() - 1)] = static_cast<std::uint8_t>(random());
      input.resize(1 + random() % input.size());  // a ragged end
      if (round % 5 == 0) input[0] = static_cast<std::uint8_t>(random());  // another layout
      LLVMFuzzerTestOneInput(input.data(), input.size());
      ++inputs;
    }
  }
  rflsumFuzzCleanup();
  std::printf("%d passed, 0 failed\n", inputs);
  return 0;
}
