// The process's numbered file units.
#include "unit_table.hpp"

#include <sys/types.h>

#include <cerrno>
#include <cstdlib>

UnitTable& unitTable() {
  static UnitTable table;
  return table;
}

UnitTable::Slot& UnitTable::slot(int unit) { return slots_[unit]; }

const UnitTable::Slot* UnitTable::find(int unit) const {
  if (unit < 0 || unit > kMaxUnit) return nullptr;
  return &slots_[unit];
}

int UnitTable::open(int unit, const std::string& path, const char* mode) {
  if (unit < 0 || unit > kMaxUnit || unit == kTerminalIn || unit == kTerminalOut) return EBADF;
  close(unit);
  errno = 0;
  std::FILE* stream = std::fopen(path.c_str(), mode);
  if (!stream) return errno ? errno : EIO;
  Slot& s = slot(unit);
  s.stream = stream;
  s.name = path;
  s.lines = 0;
  return 0;
}

void UnitTable::close(int unit) {
  if (unit < 0 || unit > kMaxUnit || unit == kTerminalIn || unit == kTerminalOut) return;
  Slot& s = slot(unit);
  if (s.stream) std::fclose(s.stream);
  s = Slot{};
}

bool UnitTable::isOpen(int unit) const {
  if (unit == kTerminalIn || unit == kTerminalOut) return true;
  const Slot* s = find(unit);
  return s && s->stream;
}

std::FILE* UnitTable::file(int unit) const {
  if (unit == kTerminalIn) return stdin;
  if (unit == kTerminalOut) return stdout;
  const Slot* s = find(unit);
  return s ? s->stream : nullptr;
}

std::string UnitTable::name(int unit) const {
  if (unit == kTerminalIn) return "stdin";
  if (unit == kTerminalOut) return "stdout";
  const Slot* s = find(unit);
  return s ? s->name : std::string();
}

long UnitTable::linesRead(int unit) const {
  const Slot* s = find(unit);
  return s ? s->lines : 0;
}

int UnitTable::readLine(int unit, std::string& line) {
  std::FILE* stream = file(unit);
  if (!stream) return EBADF;
  if (unit == kTerminalIn) std::fflush(stdout);  // a prompt is always visible before a read
  // One library call a line (not one a character): the reflection lists and
  // macro files are read through here.
  char* buffer = nullptr;
  std::size_t capacity = 0;
  const ssize_t got = getline(&buffer, &capacity, stream);
  if (got < 0) {
    std::free(buffer);
    line.clear();
    return std::ferror(stream) ? EIO : -1;
  }
  line.assign(buffer, static_cast<std::size_t>(got));
  std::free(buffer);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (unit >= 0 && unit <= kMaxUnit) ++slot(unit).lines;
  return 0;
}

void UnitTable::writeLine(int unit, std::string_view text) {
  std::FILE* stream = file(unit);
  if (!stream) return;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
}

void UnitTable::write(int unit, std::string_view text) {
  std::FILE* stream = file(unit);
  if (!stream) return;
  std::fwrite(text.data(), 1, text.size(), stream);
}

void FindFreeUnit(int& unit) {
  if (unit < 11 || unit > 90) unit = 11;
  while (unit < UnitTable::kMaxUnit && unitTable().isOpen(unit)) ++unit;
}
