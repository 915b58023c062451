// The reference of the control file, docs/control.md, holds one table row for
// every data set the reader accepts and none for a data set it does not know.
// The reader's side comes from its own dispatch tables (F, G, K, P, W by
// number) and its list of the letters without a number; the document's side
// from the table rows whose first cell is a data set in backticks, such as
// `G 24` or `S`.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "startup/dataset_rows.h"

namespace {

// Data sets in the order of the document: by letter, then by number.
struct ByLetterAndNumber {
  bool operator()(const std::string &a, const std::string &b) const {
    if (a[0] != b[0]) return a[0] < b[0];
    return std::atoi(a.c_str() + 1) < std::atoi(b.c_str() + 1);
  }
};
using DataSetNames = std::set<std::string, ByLetterAndNumber>;

// Every data set the reader acts on, as written in "control".
DataSetNames readerDataSets() {
  DataSetNames names;
  for (char letter : {'F', 'G', 'K', 'P', 'W'}) {
    const DataSetTable &table = dataSetTable(letter);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
      if (table.rows[i]) names.insert(std::string(1, letter) + " " + std::to_string(table.lowest + static_cast<int>(i)));
    }
  }
  for (const LetterReader &reader : letterReaders()) names.insert(std::string(1, reader.letter));
  // B is taken by the second pass over "control" (readBDataSets), once G 1 is final.
  names.insert("B");
  return names;
}

// The data set of each table row of the text whose first cell is one, with
// the number of rows that name it.
std::map<std::string, int> documentDataSets(const std::string &text) {
  static const std::regex row(R"(^\|\s*`([A-Z](?: [0-9]+)?)`\s*\|)");
  std::map<std::string, int> names;
  std::istringstream lines(text);
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, match, row)) ++names[match[1].str()];
  }
  return names;
}

// Names joined for a failure message.
std::string joined(const DataSetNames &names) {
  std::string text;
  for (const std::string &name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

TEST(ControlReference, DocumentListsExactlyTheDataSetsTheReaderAccepts) {
  const std::string path = std::string(TELVA_DOCS_DIR) + "/control.md";
  std::ifstream file(path);
  ASSERT_TRUE(file) << "cannot read " << path;
  std::stringstream text;
  text << file.rdbuf();

  const DataSetNames reader = readerDataSets();
  const std::map<std::string, int> document = documentDataSets(text.str());
  DataSetNames missing, unknown, twice;
  for (const std::string &name : reader) {
    if (!document.count(name)) missing.insert(name);
  }
  for (const auto &[name, rows] : document) {
    if (!reader.count(name)) unknown.insert(name);
    if (rows > 1) twice.insert(name);
  }
  EXPECT_TRUE(missing.empty()) << "accepted by the reader, no row in docs/control.md: " << joined(missing);
  EXPECT_TRUE(unknown.empty()) << "rows in docs/control.md the reader does not know: " << joined(unknown);
  EXPECT_TRUE(twice.empty()) << "more than one row in docs/control.md: " << joined(twice);
}

// The row pattern takes data sets with and without a number and nothing else.
TEST(ControlReference, RowsAreReadFromTheirFirstCell) {
  const std::map<std::string, int> names = documentDataSets(
      "| data set | values |\n|---|---|\n| `G 24` | n |\n| `S` | n d w |\n| `F 2` | letters |\n"
      "| **Y** | grid |\n| text | `K 3` |\n| `Y` is a run letter |\n");
  EXPECT_EQ(names, (std::map<std::string, int>{{"F 2", 1}, {"G 24", 1}, {"S", 1}}));
}

}  // namespace
