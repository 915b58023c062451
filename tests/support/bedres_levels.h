// The water levels of the grid points of a "bedres" result file, by grid
// line i: the rows of seven numbers after the two header lines, up to where
// the grid points end and the bed cells begin.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

inline std::map<int, std::vector<double>> levelsByLine(const std::string &bedres) {
  std::map<int, std::vector<double>> lines;
  const std::vector<std::string> text = linesOf(bedres);
  for (std::size_t n = 2; n < text.size(); ++n) {
    std::vector<double> v;
    std::istringstream in(text[n]);
    for (double x; in >> x;) v.push_back(x);
    if (v.size() != 7) break;
    lines[static_cast<int>(v[0])].push_back(v[4]);
  }
  return lines;
}
