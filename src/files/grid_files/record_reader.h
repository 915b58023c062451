// Number-by-number reading of the engine's own restart and grid files: the
// whole file is loaded once and numbers are taken in order, white space
// between them skipped, as the formatted reads of the standard library do.
// A number that overflows its type or is not finite refuses the file.
#pragma once

#include <string>

class RecordReader {
 public:
  // Loads the file; false when it cannot be opened or read (a folder or
  // device by the name included), the reader then giving its own message.
  bool open(const char *fileName);
  // For a file the run may go without: false when nothing by the name
  // exists; a name that holds something that cannot be read ends the run.
  bool openOptional(const char *fileName);
  // Uses the given text as the file (tests and in-memory data).
  void useText(const char *fileName, std::string text);

  // What the refusal message names: the section and the record being read.
  void at(const char *section, int record) {
    section_ = section;
    record_ = record;
  }

  // Next number after white space; false (nothing taken) when the text there
  // is no number or the file has ended. An overflowing or non-finite number
  // refuses the file.
  bool tryInt(int &value);
  bool tryDouble(double &value);

  // As tryInt and tryDouble, but a missing number refuses the file.
  int readInt();
  double readDouble();
  // An integer that must lie in low..high.
  int readIndex(int low, int high);

  // The next character as 0..255 without skipping anything, EOF at the end.
  int nextChar();
  // Skips the rest of the current line, its newline included.
  void skipLine();
  // Skips blanks, tabs and carriage returns but not newlines.
  void skipBlanks();
  bool atEnd() const { return pos_ >= text_.size(); }

  // "Error reading the '<file>' file: <section> <record>" and exit -5.
  [[noreturn]] void refuse() const;
  // The same refusal for a number read that lies outside what it may be:
  // "... <section> <record>, value <v> <why>".
  [[noreturn]] void refuseValue(double value, const char *why) const;

  const char *fileName() const { return name_.c_str(); }

 private:
  void skipWhite();

  std::string text_;
  std::string name_;
  std::size_t pos_ = 0;
  const char *section_ = "header";
  int record_ = 0;
};
