// The text stream of one visualisation file: opened by the series rule,
// written through one buffer, numbers that are not finite replaced by the
// readers' 1e30, and closed with the checked close of every writer.
#pragma once

#include <cstdio>
#include <string>

class VisFile {
 public:
  // Opens the fixed name, or the first free series name when seriesSwitch
  // is not 0; a file that cannot be created ends the run (-3).
  VisFile(int seriesSwitch, const char *fixedName, const char *seriesBase, int width, const char *suffix);
  VisFile(const VisFile &) = delete;
  VisFile &operator=(const VisFile &) = delete;

  std::FILE *stream() const { return file_; }
  const std::string &name() const { return name_; }

  // A number with a printf format of one double ("%lf", " %le", "%lg\n").
  void number(const char *format, double value);
  // Text with every double quote written as a single quote, so that a
  // title cannot close the quoted texts of the Tecplot header.
  void quoted(const char *text);

  // Closes the file, ending the run when a write failed, and logs how many
  // values were not numbers.
  void close();

 private:
  std::FILE *file_ = nullptr;
  std::string name_;
  int replaced_ = 0;
};

// The run title as the writers print it, from its second character on.
const char *printedTitle();
