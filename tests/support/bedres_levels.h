// The grid points of a "bedres" result file: the rows of seven numbers after
// the two header lines, up to where the grid points end and the bed cells
// begin; and their water levels by grid line i.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/run_case.h"

// The rows of the grid points in file order: i, j, then five values, the
// bed level fourth and the water level fifth.
inline std::vector<std::vector<double>> bedresPointRows(const std::string &bedres) {
  std::vector<std::vector<double>> rows;
  const std::vector<std::string> text = linesOf(bedres);
  for (std::size_t n = 2; n < text.size(); ++n) {
    std::vector<double> v = numbersOf(text[n]);
    if (v.size() != 7) break;
    rows.push_back(std::move(v));
  }
  return rows;
}

inline std::map<int, std::vector<double>> levelsByLine(const std::string &bedres) {
  std::map<int, std::vector<double>> lines;
  for (const std::vector<double> &v : bedresPointRows(bedres)) lines[static_cast<int>(v[0])].push_back(v[4]);
  return lines;
}
