// The answer reader: prompts, answers from the terminal or a macro file being
// replayed, the macro commands, and the item readers over a shared answer line.
#include "term_input.hpp"

#include <sys/stat.h>

#include <cerrno>

#include "fixed_field.hpp"     // readIntField
#include "fortran_format.hpp"  // padRight, trimRight
#include "run_stop.hpp"        // StopOnIoError
#include "unit_table.hpp"

namespace {

constexpr char kBell = '\a';
constexpr int kTerminal = UnitTable::kTerminalIn;
constexpr int kScreen = UnitTable::kTerminalOut;
const std::string kEnterMacroName = " Enter the name of your macro file: ";
const std::string kHyphens80(80, '-');

bool isSeparatorBlank(char c) { return c == ' ' || c == '\t'; }

// Answer text for recording and echoing: without trailing blanks, at least 1.
std::string_view answerText(std::string_view answer) {
  std::string_view text = trimRight(answer);
  return text.empty() ? answer.substr(0, 1) : text;
}

}  // namespace

TermInput& termInput() {
  static TermInput input;
  return input;
}

void TermInput::showPrompt(std::string_view prompt) {
  UnitTable& units = unitTable();
  std::string piece;
  auto limited = [](const std::string& text) {
    return text.empty() ? std::string(" ") : text.substr(0, kPromptLineLength);
  };
  for (char c : prompt) {
    if (c == '`') break;
    if (c == '|') {
      units.writeLine(kScreen, " " + limited(piece));
      piece.clear();
    } else {
      piece += c;
    }
  }
  units.write(kScreen, " " + limited(piece) + " >");
  std::fflush(stdout);
}

int TermInput::readAnswerLine(std::string& line) {
  const int status = unitTable().readLine(currentUnit_, line);
  if (status == 0) return 0;
  if (currentUnit_ != kTerminal) {
    unitTable().close(currentUnit_);
    currentUnit_ = kTerminal;
    unitTable().writeLine(kScreen, " The macro file is empty, reading from the terminal is resumed.");
    return 1;
  }
  if (++failureCount_ >= 2) StopOnIoError(status, kTerminal);
  return 1;
}

void TermInput::ask(std::string_view prompt, std::string& answer) {
  if (answer.empty()) answer.assign(kAnswerLineLength, ' ');
  const std::size_t length = answer.size();
  failureCount_ = 0;
  std::string line;
  for (;;) {
    showPrompt(prompt);
    if (readAnswerLine(line) != 0) continue;
    std::string buffer = padRight(line, length);
    if (buffer[0] == '@') {
      UpperCase(buffer, 2);
      macroCommand(buffer);
      continue;
    }
    const std::string_view text = answerText(buffer);
    if (recordUnit_ != 0) unitTable().writeLine(recordUnit_, text);
    if (currentUnit_ != kTerminal) unitTable().writeLine(kScreen, " " + std::string(text));
    const std::size_t comment = buffer.find('!');
    if (comment != std::string::npos) buffer.replace(comment, std::string::npos, length - comment, ' ');
    for (char& c : buffer)
      if (c == '\t') c = ' ';
    answer = buffer;
    return;
  }
}

void TermInput::macroCommand(std::string& line) {
  UnitTable& units = unitTable();
  const std::string command = line.substr(0, 2);
  if (command == "@M") {
    if (recordUnit_ != 0) {
      units.writeLine(kScreen, " You are already writing a macro to" + macroName_);
    } else {
      startRecording();
    }
  } else if (command == "@Q") {
    if (recordUnit_ != 0) {
      units.close(recordUnit_);
      recordUnit_ = 0;
    } else {
      units.writeLine(kScreen, std::string(" You are NOT writing to a macro file!") + kBell);
    }
  } else if (command == "@R" && currentUnit_ == kTerminal) {
    startReplay();
  } else {
    writeHelp();
  }
}

// The name comes from the current input (a replayed macro may start a new
// recording). An existing file is never overwritten: recording is refused.
void TermInput::startRecording() {
  UnitTable& units = unitTable();
  units.write(kScreen, kEnterMacroName);
  std::fflush(stdout);
  std::string name;
  if (units.readLine(currentUnit_, name) != 0) {
    units.writeLine(kScreen, "");
    return;
  }
  macroName_ = padRight(name, kMacroNameLength);
  const std::string path(trimRight(macroName_));
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) == 0) {
    units.writeLine(kScreen, " The macro file " + path + " already exists or has no name; nothing is recorded.");
    return;
  }
  int unit = 40;
  FindFreeUnit(unit);
  if (units.open(unit, path, "w") != 0) {
    units.writeLine(kScreen, " The macro file " + path + " cannot be created; nothing is recorded.");
    return;
  }
  recordUnit_ = unit;
}

// Asked on the terminal until a file opens or the answer is QUIT; the end of
// the terminal input counts as QUIT.
void TermInput::startReplay() {
  UnitTable& units = unitTable();
  for (;;) {
    units.write(kScreen, kEnterMacroName);
    std::fflush(stdout);
    std::string name;
    if (units.readLine(kTerminal, name) != 0) {
      units.writeLine(kScreen, "");
      break;
    }
    macroName_ = padRight(name, kMacroNameLength);
    if (macroName_.compare(0, 4, "QUIT") == 0) break;
    int unit = 30;
    FindFreeUnit(unit);
    if (units.open(unit, std::string(trimRight(macroName_)), "r") == 0) {
      currentUnit_ = unit;
      break;
    }
    units.writeLine(kScreen, std::string(" File NOT found!!") + kBell + " Enter " + "\"QUIT\" to resume terminal input");
  }
  if (currentUnit_ == kTerminal) {
    units.writeLine(kScreen, " Commands will be read from the terminal");
  } else {
    units.writeLine(kScreen, " The commands will be read from " + macroName_);
  }
}

void TermInput::writeHelp() {
  static const char* const kHelp[] = {
      "",
      nullptr,
      " The commands for creating and reading a macro file are:",
      "  @M - Create a macro file",
      "       The name of a file to hold the macro will be requested",
      "  @Q - Terminate the macro file",
      "  @R - Open and read a Macro file",
      "       The name of the file containing the macro will be requested",
      nullptr,
      "",
  };
  for (const char* line : kHelp) unitTable().writeLine(kScreen, line ? std::string(line) : " " + kHyphens80);
}

void TermInput::nextItem(std::string_view prompt, int mode, std::string& answer) {
  for (;;) {
    if (mode == 0 || nextPosition_ == 0) {
      ask(prompt, itemLine_);
      nextPosition_ = 1;
    }
    const int scanStart = nextPosition_;
    ScanItem(itemLine_, nextPosition_, item_, itemLength_);
    if (itemLength_ == 0) {
      if (scanStart == 1 || mode == 2) {
        if (item_[0] != ',') answer.assign(answer.size(), ' ');
        return;
      }
      mode = 0;
      continue;
    }
    if (itemLength_ > 1 && item_[itemLength_ - 1] == '/') {
      --itemLength_;
      nextPosition_ -= 2;
    }
    answer = padRight(std::string_view(item_).substr(0, itemLength_), answer.size());
    return;
  }
}

void TermInput::nextInteger(std::string_view prompt, int mode, int& value) {
  const int defaultValue = value;
  for (;;) {
    if (mode == 0 || nextPosition_ == 0) {
      ask(prompt, itemLine_);
      nextPosition_ = 1;
      item_.assign(kAnswerLineLength, ' ');
    }
    if (!(item_[0] == '/' && mode != -1)) ScanItem(itemLine_, nextPosition_, item_, itemLength_);
    if (itemLength_ == 0) {
      if (item_[0] == ',' || mode == 2) return;
      mode = 0;
      continue;
    }
    if (item_[0] == '/') return;
    if (itemLength_ > 1 && item_[itemLength_ - 1] == '/') {
      --itemLength_;
      nextPosition_ -= 2;
    }
    int parsed = 0;
    if (readIntField(std::string_view(item_).substr(0, itemLength_), parsed) == 0) {
      value = parsed;
      return;
    }
    value = defaultValue;
    mode = 0;
    unitTable().writeLine(kScreen, std::string(" Error in the string: ") + kBell);
    unitTable().writeLine(kScreen, " " + padRight(item_, kAnswerLineLength));
  }
}

void ScanItem(std::string_view text, int& position, std::string& item, int& length) {
  const int n = static_cast<int>(text.size());
  int p = position < 1 ? 1 : position;
  while (p < n && isSeparatorBlank(text[p - 1])) ++p;
  const int start = p;
  while (p <= n && !isSeparatorBlank(text[p - 1]) && text[p - 1] != ',') ++p;
  length = p - start;
  const std::size_t itemSize = item.size() < 1 ? TermInput::kAnswerLineLength : item.size();
  std::string found;
  if (start <= n) found = std::string(text.substr(start - 1, static_cast<std::size_t>(length) + (p <= n ? 1 : 0)));
  item = padRight(found, itemSize);
  position = p + 1;
}

void UpperCase(std::string& text, int n) {
  const int limit = n < static_cast<int>(text.size()) ? n : static_cast<int>(text.size());
  for (int i = 0; i < limit; ++i)
    if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
}
