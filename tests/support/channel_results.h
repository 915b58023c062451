// The cell values of a result file of the straight channel
// (cases/straight-channel: 50 x 5 columns of nine cells) as the checks that
// compare two runs through the binary read them.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

struct ResultCell {
  double u, v, w, k, e, p;
};
using ResultCells = std::map<int, ResultCell>;

// The "C cell u v w k epsilon p" lines of a result file, by cell number.
inline ResultCells resultCells(const std::string &text) {
  ResultCells cells;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("C ", 0) != 0) continue;
    std::istringstream row(line.substr(2));
    int c;
    ResultCell v;
    if (row >> c >> v.u >> v.v >> v.w >> v.k >> v.e >> v.p) cells[c] = v;
  }
  return cells;
}

// The nine cells of column (i, j) of the straight channel, bottom up: the
// columns are numbered j outer, i inner from (2, 2). Column i spans
// x = 2 (i - 2) .. 2 (i - 1) m.
inline std::vector<int> straightChannelColumn(int i, int j) {
  std::vector<int> cells;
  const int first = 9 * ((j - 2) * 50 + (i - 2)) + 1;
  for (int c = first; c < first + 9; ++c) cells.push_back(c);
  return cells;
}
