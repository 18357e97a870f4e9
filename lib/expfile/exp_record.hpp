// One record of the experiment file: a 12-character key and a 68-character
// value, stored as 80 characters plus CR LF (82 bytes) at a fixed offset.
#pragma once

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "terminal/fixed_field.hpp"  // Field

// The record layout (columns of the 80-character record).
constexpr Field kRecordKey{1, 12};
constexpr Field kRecordValue{13, 68};

constexpr int kKeyLength = 12;
constexpr int kValueLength = 68;
constexpr int kRecordLength = 80;      // key and value
constexpr int kPhysicalLength = 82;    // record n starts at byte 82 * (n - 1)

// The end record every complete file holds, and the key of a deleted record.
constexpr std::string_view kEndKey = "ZZZZZZZZZZZZ";
constexpr std::string_view kDeletedKey = "~~~~~~~~~~~~";

// ExpKey: 12 characters, ordered as blank-padded byte strings in ASCII order
// (bytes compared unsigned, so "~" sorts after letters and digits).
struct ExpKey {
  std::array<char, kKeyLength> text{};

  // The key of the given text: blank-padded, or cut to 12 characters.
  static ExpKey of(std::string_view keyText) {
    ExpKey key;
    key.text.fill(' ');
    std::memcpy(key.text.data(), keyText.data(), keyText.size() < 12 ? keyText.size() : 12);
    return key;
  }
  std::string_view view() const { return {text.data(), text.size()}; }
  // A blank key or the deleted-record key: the record does not count.
  bool isDeleted() const { return view() == kDeletedKey || view() == "            "; }
  // True when the first prefix.size() (at most 12) characters equal prefix.
  bool startsWith(std::string_view prefix) const {
    return std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
  }
  friend int compare(const ExpKey& a, const ExpKey& b) { return std::memcmp(a.text.data(), b.text.data(), 12); }
  friend bool operator==(const ExpKey& a, const ExpKey& b) { return compare(a, b) == 0; }
  friend bool operator<(const ExpKey& a, const ExpKey& b) { return compare(a, b) < 0; }
};

// The 82 bytes of one physical record: key, value blank-padded (or cut) to 68
// characters, CR, LF.
inline std::string physicalRecord(std::string_view key, std::string_view value) {
  std::string record(kPhysicalLength, ' ');
  record.replace(0, key.size() < 12 ? key.size() : 12, key.substr(0, 12));
  record.replace(12, value.size() < 68 ? value.size() : 68, value.substr(0, 68));
  record[80] = '\r';
  record[81] = '\n';
  return record;
}
