// The experiment record store: a direct-access file of 82-byte keyed records
// with an in-memory index of its keys, sorted by key. Records are read by exact
// key or key prefix, walked in key order, written (WRITEXP) and deleted.
//
// The process has two index slots (at most two files open as stores at once);
// they live in the one object expStore(). The file must already be open on its
// unit in the unit table (read-only "rb" for reading, "r+b" for writing; never
// an append mode); the first operation on a unit builds its index (STARTISAM).
// Values are always read from the file (through a shared view of it), never
// from a copy, so every write and delete shows at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expfile/exp_record.hpp"

class ExpStore {
 public:
  static constexpr int kSlotCount = 2;

  // Reads by key. key.size() is the key length k (1 to 12; longer keys are cut
  // to 12): with k = 12 the exact key is looked up; with k < 12 the key is a
  // prefix and the first record in key order beginning with it is found.
  // value's size on entry is the caller's buffer length (0 means 68); on return
  // it holds that many characters: the 68 record columns k+1 to k+68 (for k = 12
  // the value columns 13-80), blank-padded or cut; all blanks when not found.
  // A value of exactly "DELETE" on entry asks for remove(unit, key) instead
  // (and returns its status); the value then becomes 6 blanks.
  // The cursor is left on the record found.
  // 0: found; 1: not found (or, for "DELETE", nothing deleted).
  int read(int unit, std::string_view key, std::string& value);

  // The next record after the cursor in key order, deleted records skipped:
  // key gets its 12 characters, value its 68 value columns.
  // 0: found; 1: no further record (key and value blank; the cursor is then at
  // the end, so the next call reports 1 again until a keyed read moves it).
  int next(int unit, std::string& key, std::string& value);

  // Finds the record as read does (a prefix is allowed) and deletes it: the
  // physical record becomes twelve "~" and 68 blanks, its space is not reused.
  // 0: deleted; 1: not found.
  int remove(int unit, std::string_view key);

  // Like read, but a missing record ends the run through the missing-record
  // stop: for records that must exist.
  void readMandatory(int unit, std::string_view key, std::string& value);

  // Frees the unit's index slot and closes the file; disposition "DELETE"
  // removes the file after closing, anything else ("KEEP") keeps it.
  void close(int unit, std::string_view disposition = "KEEP");

  // True when the unit has an index slot.
  bool isOpen(int unit) const;
  // Number of index entries in the searched range (deleted ones included
  // until the file is re-opened), and the highest physical record number.
  int entryCount(int unit) const;
  int lastRecordNumber(int unit) const;

 private:
  friend void STARTISAM(int unit);
  friend void WRITEXP(int unit, std::string_view key, std::string_view value);

  // The index of one open file. Entry i (1-based) describes physical record i.
  // A removed entry is only flagged and keeps its place in the order. keys hold
  // the key each entry is ordered by: for live entries their record's key; for
  // removed ones a key that keeps the whole sequence sorted, so that lookups
  // can binary-search it.
  struct Index {
    int unit = 0;  // 0 marks a free slot
    int fd = -1;
    std::string fileName;
    std::vector<ExpKey> keys;
    std::vector<std::uint8_t> deleted;
    std::vector<std::int32_t> order;  // entry numbers in key order; size is the count
    int cursor = 0;                   // position (1-based) of the last record found
    int lastRecord = 0;
    bool unsorted = false;  // only after adding keys with bytes above "~": scan linearly
    // A shared read-only view of the file: it shows every write at once (the
    // same pages as the file), so values come from the file without a read
    // call. Null when the file cannot be mapped; reads then use the descriptor.
    // (Another process cutting the file short during the run is not supported.)
    const char* map = nullptr;
    std::size_t mapLength = 0;
  };

  Index& indexOf(int unit);
  const Index* find(int unit) const;
  // Position (1-based) in order of the first live entry whose key begins with
  // prefix; 0 when there is none. Sets the cursor as the lookup defines it.
  int lookup(Index& index, std::string_view prefix);
  // Puts a new entry into the order where the original linear insertion put it.
  static void insertInOrder(Index& index, std::int32_t entry);
  static void readRecord(Index& index, int recordNumber, char* record80);
  static void mapFile(Index& index, std::size_t fileLength);
  static void freeIndex(Index& index);
  void writeRecord(const Index& index, int recordNumber, std::string_view record82) const;

  Index slots_[kSlotCount];
};

// The process's record store.
ExpStore& expStore();

// Builds the index of the file open on unit in the first free slot. Called
// implicitly by the first operation on a unit. With both slots in use it writes
// " *** ERROR *** No more ISAM style files can be opened" and stops the run
// with "Halt in STARTISAM". A file whose size is not a whole number of 82-byte
// records, or whose records do not end in CR LF, ends the run with the
// input/output error report naming the file and the fault.
void STARTISAM(int unit);

// Checks the bytes of a whole experiment file and takes the key of every
// record (a blank key becomes the deleted-record key). fault gets a sentence
// saying what is wrong. 0: a valid file (also when empty); 1: the size is not
// a whole number of 82-byte records; 2: a record does not end in CR LF.
int ScanExperimentRecords(std::string_view bytes, std::vector<ExpKey>& keys, std::string& fault);

// Writes the record with this key (blank-padded to 12): replaces it when the
// key exists, otherwise adds it after the last physical record. The value is
// blank-padded to 68; one longer than 68 characters (trailing blanks and NULs
// not counted) is a programmer error: the report and the stop
// "***** PROGRAMMER error detected in WRITEXP *****".
void WRITEXP(int unit, std::string_view key, std::string_view value);
