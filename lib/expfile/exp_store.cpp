// The experiment record store: index building (the Shell sort that fixes the
// order of equal keys), keyed and sequential reads, writes and deletes.
#include "expfile/exp_store.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "terminal/fortran_format.hpp"  // fmtI, trimRight
#include "terminal/run_stop.hpp"
#include "terminal/unit_table.hpp"

namespace {

constexpr std::string_view kDeleteRequest = "DELETE";

// Sorts the entry numbers 1..n by key. The gap sequence and the rule that
// equal keys are never swapped decide where duplicate keys land, so it is kept
// exactly: a file holding a key twice resolves its lookups the same way.
std::vector<std::int32_t> shellSortOrder(const std::vector<ExpKey>& keys) {
  const long n = static_cast<long>(keys.size());
  std::vector<std::int32_t> order(n);
  for (long i = 0; i < n; ++i) order[i] = static_cast<std::int32_t>(i + 1);
  auto keyAt = [&](long position) -> const ExpKey& { return keys[order[position - 1] - 1]; };
  long gap = n;
  long divisor = 8;
  for (;;) {
    if (gap == 15) divisor = 4;
    if (gap <= 1) break;
    gap = 2 * (gap / divisor) + 1;
    for (long j = 1; j <= n - gap; ++j) {
      for (long k = j; k >= 1 && keyAt(k + gap) < keyAt(k); k -= gap)
        std::swap(order[k - 1], order[k + gap - 1]);
    }
  }
  return order;
}

std::string fitted(std::string_view text, std::size_t length) {
  std::string out(length, ' ');
  out.replace(0, std::min(length, text.size()), text.substr(0, length));
  return out;
}

}  // namespace

ExpStore& expStore() {
  static ExpStore store;
  return store;
}

const ExpStore::Index* ExpStore::find(int unit) const {
  if (unit == 0) return nullptr;
  for (const Index& index : slots_)
    if (index.unit == unit) return &index;
  return nullptr;
}

ExpStore::Index& ExpStore::indexOf(int unit) {
  if (!find(unit)) STARTISAM(unit);
  return *const_cast<Index*>(find(unit));
}

bool ExpStore::isOpen(int unit) const { return find(unit) != nullptr; }

int ExpStore::entryCount(int unit) const {
  const Index* index = find(unit);
  return index ? static_cast<int>(index->order.size()) : 0;
}

int ExpStore::lastRecordNumber(int unit) const {
  const Index* index = find(unit);
  return index ? index->lastRecord : 0;
}

void STARTISAM(int unit) {
  ExpStore& store = expStore();
  ExpStore::Index* slot = nullptr;
  for (ExpStore::Index& candidate : store.slots_)
    if (candidate.unit == 0) {
      slot = &candidate;
      break;
    }
  if (!slot) {
    unitTable().writeLine(UnitTable::kTerminalOut, " *** ERROR *** No more ISAM style files can be opened");
    stopRun("Halt in STARTISAM", 1);
  }
  std::FILE* stream = unitTable().file(unit);
  if (!stream || unit == UnitTable::kTerminalIn || unit == UnitTable::kTerminalOut)
    internalErrorStop("STARTISAM: no experiment file is open on unit " + std::to_string(unit));
  std::fflush(stream);  // the store reads and writes the descriptor directly
  const int fd = fileno(stream);
  struct stat info {};
  if (fstat(fd, &info) != 0) ioErrorReport(unit, std::string("cannot read the file size: ") + std::strerror(errno));
  const long long size = info.st_size;
  if (size % kPhysicalLength != 0)
    ioErrorReport(unit, "the file size " + std::to_string(size) + " is not a whole number of " +
                            std::to_string(kPhysicalLength) + "-byte records: not an experiment file or truncated");

  const long long records = size / kPhysicalLength;
  ExpStore::Index index;
  index.unit = unit;
  index.fd = fd;
  index.fileName = unitTable().name(unit);
  index.keys.reserve(records);
  constexpr long long kChunkRecords = 4096;
  std::vector<char> chunk(kChunkRecords * kPhysicalLength);
  for (long long first = 0; first < records; first += kChunkRecords) {
    const long long n = std::min(kChunkRecords, records - first);
    const ssize_t want = static_cast<ssize_t>(n * kPhysicalLength);
    ssize_t got = 0;
    while (got < want) {
      const ssize_t part = pread(fd, chunk.data() + got, want - got, (first * kPhysicalLength) + got);
      if (part <= 0) ioErrorReport(unit, "the records cannot be read while building the key index");
      got += part;
    }
    for (long long r = 0; r < n; ++r) {
      const char* record = chunk.data() + r * kPhysicalLength;
      if (record[80] != '\r' || record[81] != '\n')
        ioErrorReport(unit, "record " + std::to_string(first + r + 1) +
                                " does not end in CR LF: not an experiment file, or saved by a text editor");
      ExpKey key = ExpKey::of(std::string_view(record, kKeyLength));
      if (key.isDeleted()) key = ExpKey::of(kDeletedKey);
      index.keys.push_back(key);
    }
  }
  index.deleted.resize(index.keys.size());
  index.lastRecord = static_cast<int>(records);
  index.order = shellSortOrder(index.keys);
  // Deleted keys sort last (only keys with bytes above "~" follow them): drop
  // them from the searched range, and flag any that stay inside it.
  while (!index.order.empty() && index.keys[index.order.back() - 1].view() == kDeletedKey) index.order.pop_back();
  for (std::size_t i = 0; i < index.keys.size(); ++i) index.deleted[i] = index.keys[i].view() == kDeletedKey;
  *slot = std::move(index);
}

int ExpStore::lookup(Index& index, std::string_view prefix) {
  if (prefix.size() > kKeyLength) prefix = prefix.substr(0, kKeyLength);
  // The order is sorted by the keys entries were sorted in with, so the first
  // position whose key begins with the prefix is the first that does not sort
  // below it; removed entries keep their place but never match.
  auto below = [&](std::int32_t entry) {
    const ExpKey& key = index.keys[entry - 1];
    return std::memcmp(key.text.data(), prefix.data(), prefix.size()) < 0;
  };
  std::size_t low = 0, high = index.order.size();
  while (low < high) {
    const std::size_t middle = (low + high) / 2;
    if (below(index.order[middle])) low = middle + 1;
    else high = middle;
  }
  for (std::size_t position = low; position < index.order.size(); ++position) {
    const std::int32_t entry = index.order[position];
    if (!index.keys[entry - 1].startsWith(prefix)) break;
    if (index.deleted[entry - 1]) continue;
    index.cursor = static_cast<int>(position + 1);
    return index.cursor;
  }
  index.cursor = static_cast<int>(index.order.size());  // a failed scan stops at the end
  return 0;
}

void ExpStore::readRecord(const Index& index, int recordNumber, char* record80) const {
  const off_t offset = static_cast<off_t>(recordNumber - 1) * kPhysicalLength;
  ssize_t got = 0;
  while (got < kRecordLength) {
    const ssize_t part = pread(index.fd, record80 + got, kRecordLength - got, offset + got);
    if (part <= 0)
      ioErrorReport(index.unit, "record " + std::to_string(recordNumber) + " cannot be read (the file got shorter?)",
                    index.fileName);
    got += part;
  }
}

void ExpStore::writeRecord(const Index& index, int recordNumber, std::string_view record82) const {
  const off_t offset = static_cast<off_t>(recordNumber - 1) * kPhysicalLength;
  ssize_t put = 0;
  while (put < kPhysicalLength) {
    const ssize_t part = pwrite(index.fd, record82.data() + put, kPhysicalLength - put, offset + put);
    if (part <= 0)
      ioErrorReport(index.unit,
                    "record " + std::to_string(recordNumber) + " cannot be written: " +
                        (errno == EBADF ? std::string("the file is open read-only") : std::string(std::strerror(errno))),
                    index.fileName);
    put += part;
  }
}

int ExpStore::read(int unit, std::string_view key, std::string& value) {
  if (value == kDeleteRequest) return remove(unit, key);
  Index& index = indexOf(unit);
  if (key.size() > kKeyLength) key = key.substr(0, kKeyLength);
  const std::size_t length = value.empty() ? kValueLength : value.size();
  const int position = lookup(index, key);
  if (position == 0) {
    value.assign(length, ' ');
    return 1;
  }
  char record[kRecordLength];
  readRecord(index, index.order[position - 1], record);
  value = fitted(std::string_view(record + key.size(), kValueLength), length);
  return 0;
}

int ExpStore::next(int unit, std::string& key, std::string& value) {
  Index& index = indexOf(unit);
  const int count = static_cast<int>(index.order.size());
  int position = index.cursor;
  while (position < count) {
    ++position;
    if (!index.deleted[index.order[position - 1] - 1]) {
      index.cursor = position;
      char record[kRecordLength];
      readRecord(index, index.order[position - 1], record);
      key.assign(record, kKeyLength);
      value.assign(record + kKeyLength, kValueLength);
      return 0;
    }
  }
  index.cursor = count;
  key.assign(kKeyLength, ' ');
  value.assign(kValueLength, ' ');
  return 1;
}

int ExpStore::remove(int unit, std::string_view key) {
  Index& index = indexOf(unit);
  if (key.size() > kKeyLength) key = key.substr(0, kKeyLength);
  const int position = lookup(index, key);
  if (position == 0) return 1;
  // The lookup found the first live entry with this prefix; that is also the
  // first with its full key, so it is the one deleted.
  const std::int32_t entry = index.order[position - 1];
  index.deleted[entry - 1] = 1;
  writeRecord(index, entry, physicalRecord(kDeletedKey, ""));
  return 0;
}

void ExpStore::readMandatory(int unit, std::string_view key, std::string& value) {
  if (read(unit, key, value) != 0) missingRecordStop(key);
}

void ExpStore::close(int unit, std::string_view disposition) {
  for (Index& index : slots_)
    if (index.unit == unit) index = Index{};
  const std::string fileName = unitTable().name(unit);
  unitTable().close(unit);
  if (trimRight(disposition) == "DELETE" && !fileName.empty()) std::remove(fileName.c_str());
}

void WRITEXP(int unit, std::string_view key, std::string_view value) {
  std::string_view text = value;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  const std::string keyText = fitted(key, kKeyLength);
  if (text.size() > static_cast<std::size_t>(kValueLength)) {
    UnitTable& units = unitTable();
    const int out = UnitTable::kTerminalOut;
    units.writeLine(out, " *****  PROGRAMMER ERROR ****  String length greater than 68 characters");
    units.writeLine(out, "");
    units.writeLine(out, " The string length is " + fmtI(static_cast<int>(text.size()), 3));
    units.writeLine(out, " KEYVAL : " + keyText);
    units.writeLine(out, " String : " + std::string(value));
    units.writeLine(out, "");
    stopRun("***** PROGRAMMER error detected in WRITEXP *****", 1);
  }
  const ExpKey newKey = ExpKey::of(keyText);
  // A record written under a blank or deleted key would vanish at the next
  // open: that is a programming error, not a record.
  if (newKey.isDeleted()) internalErrorStop("WRITEXP: the key \"" + keyText + "\" marks a deleted record");

  ExpStore& store = expStore();
  ExpStore::Index& index = store.indexOf(unit);
  int entry;
  if (const int position = store.lookup(index, keyText); position != 0) {
    entry = index.order[position - 1];
  } else {
    entry = ++index.lastRecord;
    index.keys.push_back(newKey);
    index.deleted.push_back(0);
    // From the end, every entry whose key sorts above the new one moves up.
    std::size_t gap = index.order.size();
    while (gap > 0 && newKey < index.keys[index.order[gap - 1] - 1]) --gap;
    index.order.insert(index.order.begin() + static_cast<long>(gap), entry);
  }
  store.writeRecord(index, entry, physicalRecord(keyText, text));
}
