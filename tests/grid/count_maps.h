// Line and cell counts of a block drawn as text for the filter tests: a map
// lists rows from the highest j down, one character per i from the first
// index up: '.' a dry line (count 1) or an empty column, else the count as
// '0' + count (':' is 10).
#pragma once

#include <string>
#include <vector>

using Map = std::vector<std::string>;

inline void putMap(int **table, const Map &rows, int i0, int j0, int dry) {
  const int top = j0 + static_cast<int>(rows.size()) - 1;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const char ch = rows[r][c];
      table[i0 + static_cast<int>(c)][top - static_cast<int>(r)] = ch == '.' ? dry : ch - '0';
    }
  }
}

inline Map takeMap(int **table, int i0, int i1, int j0, int j1, int dry) {
  Map rows;
  for (int j = j1; j >= j0; --j) {
    std::string row;
    for (int i = i0; i <= i1; ++i) row += table[i][j] == dry ? '.' : static_cast<char>('0' + table[i][j]);
    rows.push_back(row);
  }
  return rows;
}

// The map indented on its own lines, for failure messages.
inline std::string show(const Map &m) {
  std::string s;
  for (const auto &r : m) s += "\n  " + r;
  return s;
}
