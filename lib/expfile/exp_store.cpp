// The experiment record store: index building (the Shell sort that fixes the
// order of equal keys), keyed and sequential reads, writes and deletes.
#include "expfile/exp_store.hpp"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

std::string sizeFault(unsigned long long size) {
  return "the file size " + std::to_string(size) + " is not a whole number of " + std::to_string(kPhysicalLength) +
         "-byte records: not an experiment file, or cut short";
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

int ScanExperimentRecords(std::string_view bytes, std::vector<ExpKey>& keys, std::string& fault) {
  keys.clear();
  fault.clear();
  if (bytes.size() % kPhysicalLength != 0) {
    fault = sizeFault(bytes.size());
    return 1;
  }
  const std::size_t records = bytes.size() / kPhysicalLength;
  keys.reserve(records);
  for (std::size_t r = 0; r < records; ++r) {
    const std::string_view record = bytes.substr(r * kPhysicalLength, kPhysicalLength);
    if (record[80] != '\r' || record[81] != '\n') {
      keys.clear();
      fault = "record " + std::to_string(r + 1) +
              " does not end in CR LF: not an experiment file, or saved by a text editor";
      return 2;
    }
    ExpKey key = ExpKey::of(record.substr(0, kKeyLength));
    if (key.isDeleted()) key = ExpKey::of(kDeletedKey);
    keys.push_back(key);
  }
  return 0;
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
  if (size % kPhysicalLength != 0) ioErrorReport(unit, sizeFault(static_cast<unsigned long long>(size)));
  if (size / kPhysicalLength > INT32_MAX) ioErrorReport(unit, "the file is too large for an experiment file");

  std::string bytes(static_cast<std::size_t>(size), '\0');
  for (std::size_t got = 0; got < bytes.size();) {
    const ssize_t part = pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
    if (part <= 0) ioErrorReport(unit, "the records cannot be read while building the key index");
    got += static_cast<std::size_t>(part);
  }
  ExpStore::Index index;
  std::string fault;
  if (ScanExperimentRecords(bytes, index.keys, fault) != 0) ioErrorReport(unit, fault);
  index.unit = unit;
  index.fd = fd;
  index.fileName = unitTable().name(unit);
  index.deleted.resize(index.keys.size());
  index.lastRecord = static_cast<int>(index.keys.size());
  index.order = shellSortOrder(index.keys);
  // Deleted keys sort last (only keys with bytes above "~" follow them): drop
  // them from the searched range, and flag any that stay inside it.
  while (!index.order.empty() && index.keys[index.order.back() - 1].view() == kDeletedKey) index.order.pop_back();
  for (std::size_t i = 0; i < index.keys.size(); ++i) index.deleted[i] = index.keys[i].view() == kDeletedKey;
  ExpStore::mapFile(index, bytes.size());
  *slot = std::move(index);
}

int ExpStore::lookup(Index& index, std::string_view prefix) {
  if (prefix.size() > kKeyLength) prefix = prefix.substr(0, kKeyLength);
  const std::size_t count = index.order.size();
  auto matchesAt = [&](std::size_t position) {
    const std::int32_t entry = index.order[position];
    return !index.deleted[entry - 1] && index.keys[entry - 1].startsWith(prefix);
  };
  std::size_t position = 0;
  if (index.unsorted) {
    while (position < count && !matchesAt(position)) ++position;
  } else {
    // The keys are sorted, so the first position whose key begins with the
    // prefix is the first that does not sort below it.
    std::size_t high = count;
    while (position < high) {
      const std::size_t middle = (position + high) / 2;
      const ExpKey& key = index.keys[index.order[middle] - 1];
      if (std::memcmp(key.text.data(), prefix.data(), prefix.size()) < 0) position = middle + 1;
      else high = middle;
    }
    while (position < count && !matchesAt(position)) {
      if (!index.keys[index.order[position] - 1].startsWith(prefix)) position = count;
      else ++position;
    }
  }
  // Found: the cursor is on it; otherwise the scan stopped at the end.
  index.cursor = static_cast<int>(position < count ? position + 1 : count);
  return position < count ? index.cursor : 0;
}

void ExpStore::insertInOrder(Index& index, std::int32_t entry) {
  // From the end, every entry that sorts above the new key moves up one place;
  // a removed entry counts as the deleted key "~~~~~~~~~~~~", as it did when
  // the key itself was overwritten in the index.
  const ExpKey& newKey = index.keys[entry - 1];
  const ExpKey deletedKey = ExpKey::of(kDeletedKey);
  auto sortsAbove = [&](std::int32_t other) {
    return newKey < (index.deleted[other - 1] ? deletedKey : index.keys[other - 1]);
  };
  std::size_t gap = index.order.size();
  while (gap > 0 && sortsAbove(index.order[gap - 1])) --gap;
  index.order.insert(index.order.begin() + static_cast<long>(gap), entry);
  // Keep the ordering keys sorted: removed entries just above the new one take
  // its key; a live key above it left behind (keys above "~") ends binary search.
  for (std::size_t p = gap + 1; p < index.order.size() && index.deleted[index.order[p] - 1]; ++p) {
    ExpKey& key = index.keys[index.order[p] - 1];
    if (key < newKey) key = newKey;
  }
  if (gap > 0 && newKey < index.keys[index.order[gap - 1] - 1]) index.unsorted = true;
}

void ExpStore::mapFile(Index& index, std::size_t fileLength) {
  if (index.map) munmap(const_cast<char*>(index.map), index.mapLength);
  index.map = nullptr;
  index.mapLength = 0;
  // Room to grow: a view may reach past the end of the file as long as only
  // records inside the file are touched, and records added later then need no
  // new view until the room is used up.
  const std::size_t length = std::max<std::size_t>(2 * fileLength, 1 << 20);
  void* view = mmap(nullptr, length, PROT_READ, MAP_SHARED, index.fd, 0);
  if (view == MAP_FAILED) return;
  index.map = static_cast<const char*>(view);
  index.mapLength = length;
}

void ExpStore::freeIndex(Index& index) {
  if (index.map) munmap(const_cast<char*>(index.map), index.mapLength);
  index = Index{};
}

void ExpStore::readRecord(Index& index, int recordNumber, char* record80) {
  const std::size_t offset = static_cast<std::size_t>(recordNumber - 1) * kPhysicalLength;
  if (index.map && offset + kPhysicalLength > index.mapLength)
    mapFile(index, static_cast<std::size_t>(index.lastRecord) * kPhysicalLength);
  if (index.map && offset + kPhysicalLength <= index.mapLength) {
    std::memcpy(record80, index.map + offset, kRecordLength);
    return;
  }
  ssize_t got = 0;
  while (got < kRecordLength) {
    const ssize_t part = pread(index.fd, record80 + got, kRecordLength - got, static_cast<off_t>(offset) + got);
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
  if (value == kDeleteRequest) {
    value.assign(kDeleteRequest.size(), ' ');  // a reused buffer must not delete again
    return remove(unit, key);
  }
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
    if (index.unit == unit) freeIndex(index);
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
    ExpStore::insertInOrder(index, entry);
  }
  store.writeRecord(index, entry, physicalRecord(keyText, text));
}
