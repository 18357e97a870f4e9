// The answer reader every question of the suite goes through: prompts, answers
// from the terminal or a replayed macro file, the macro commands @M, @Q and @R,
// and the item readers that take several answers from one line.
#pragma once

#include <string>
#include <string_view>

class TermInput {
 public:
  static constexpr int kAnswerLineLength = 255;
  static constexpr int kPromptLineLength = 132;
  static constexpr int kMacroNameLength = 80;

  // Shows the prompt (pieces split at "|", a backquote ends it, the last piece
  // followed by " >") and reads one ordinary answer. The answer's size is its
  // buffer length: the line is blank-padded or cut to it. Comments after "!"
  // are blanked and TABs become blanks.
  void ask(std::string_view prompt, std::string& answer);

  // The next item of the shared answer line (mode 0: a fresh line each call;
  // 1: next item, asking when the line is used up; 2: next item or blanks).
  // A lone comma keeps the caller's default in answer.
  void nextItem(std::string_view prompt, int mode, std::string& answer);

  // The same for one integer; value holds the default on entry. Mode -1 scans
  // past a "/" item.
  void nextInteger(std::string_view prompt, int mode, int& value);

  // Unit of the input currently read (5, or the macro file being replayed).
  int currentUnit() const { return currentUnit_; }
  // True while answers are being recorded into a macro file.
  bool recording() const { return recordUnit_ != 0; }

 private:
  void showPrompt(std::string_view prompt);
  // 0: an ordinary answer in line; 1: the line was a macro command.
  int readAnswerLine(std::string& line);
  void macroCommand(std::string& line);
  void startRecording();
  void startReplay();
  void writeHelp();

  int currentUnit_ = 5;
  int recordUnit_ = 0;
  int failureCount_ = 0;
  std::string macroName_ = std::string(kMacroNameLength, ' ');

  // Shared state of the item readers.
  int nextPosition_ = 0;
  int itemLength_ = 0;
  std::string itemLine_ = std::string(kAnswerLineLength, ' ');
  std::string item_ = std::string(kAnswerLineLength, ' ');
};

// The process's answer reader.
TermInput& termInput();

// Finds the next item of text starting at position (1-based, in/out): blanks
// and TABs skipped, the item runs to the next blank, TAB or comma. item gets
// the item followed by its ending character; length is 0 when nothing is left
// or a comma came at once; position moves past the ending character.
void ScanItem(std::string_view text, int& position, std::string& item, int& length);

// Upper-cases the letters a to z among the first n characters, in place.
void UpperCase(std::string& text, int n);
