// Runs the fuzz target over a generated corpus where libFuzzer is not used:
// well-formed experiment files and mutations of them (flipped, cut, inserted
// and duplicated bytes and records). Argument: the number of inputs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "expfile/exp_record.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string seedFile(std::mt19937& random) {
  static const char* const kRecords[][2] = {
      {"     VERSION", "    6     Fri Dec 11 05:51:43 2026"},
      {"    HSTRY  1", "created"},
      {"    HSTRY 12", "refined"},
      {"    HSTRYabc", "not a number"},
      {" EXPR NPHAS ", "    1    0    1    0    0    0    0    0    0"},
      {" EXPR NPHAS ", "  1  0  0  0  0  0  0  0  0"},
      {" EXPR  NHST ", "   13"},
      {" EXPR  NHST ", "  999"},
      {" EXPR  HTYP1", "  PNTR PXC  PNC* SNCN PXE  P1 2 P3 4 P5 6 P7 8 P9 0 PA B PC D"},
      {" EXPR  HTYP2", "  PXCD"},
      {"HST  1  HNAM", "  title"},
      {"~~~~~~~~~~~~", ""},
      {"            ", "blank key"},
      {"ZZZZZZZZZZZZ", "  Last EXP file record"},
  };
  std::string bytes;
  const int count = static_cast<int>(random() % 40);
  for (int i = 0; i < count; ++i) {
    const auto& record = kRecords[random() % std::size(kRecords)];
    bytes += physicalRecord(record[0], record[1]);
  }
  return bytes;
}

void mutate(std::string& bytes, std::mt19937& random) {
  const int edits = static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !bytes.empty(); ++e) {
    const std::size_t at = random() % bytes.size();
    switch (random() % 5) {
      case 0: bytes[at] = static_cast<char>(random()); break;
      case 1: bytes.resize(at); break;
      case 2: bytes.insert(at, 1, static_cast<char>(random())); break;
      case 3: bytes += bytes.substr(at - at % 82, 82); break;  // a record twice
      case 4: bytes[at] = "~ \r\nZ"[random() % 5]; break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int inputs = argc > 1 ? std::atoi(argv[1]) : 1000;
  std::mt19937 random(1211);
  for (int i = 0; i < inputs; ++i) {
    std::string file = seedFile(random);
    if (i % 3) mutate(file, random);
    // Even first byte: the file as it is; odd: cut into records by the target.
    std::string input = (i % 4 == 3 ? std::string(1, '\x01') : std::string()) + file;
    if (i % 4 != 3 && !input.empty() && (input[0] & 1)) input.insert(0, 1, '\x00');
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  }
  std::printf("%d inputs run\n", inputs);
  return 0;
}
