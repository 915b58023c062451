// Readers of the Tecplot and legacy VTK text files for the writer tests: a
// Tecplot parser that checks a zone against the lines written, and the
// sections of a VTK file by name.
#pragma once

#include <string>
#include <vector>

// A Tecplot file as read back: the variable names, the zone sizes and
// the numbers of every point line and element line.
struct TecplotFile {
  std::vector<std::string> variables;
  int i = 0, j = 0, n = 0, e = 0;
  std::vector<std::vector<double>> points;
  std::vector<std::vector<int>> elements;
  std::string error;  // empty when the file is consistent
};

// Parses the text: I × J (or N) point lines of one number per variable,
// then E element lines of 8 node numbers in 1..N, and nothing else.
TecplotFile parseTecplot(const std::string &text);

// The values after the line "SCALARS <name> float" and its lookup line
// (or after "VECTORS <name> float"), up to the next blank line or section.
std::vector<double> vtkSection(const std::string &text, const std::string &header, int count);

// The names of the SCALARS and VECTORS sections in file order.
std::vector<std::string> vtkSectionNames(const std::string &text);

