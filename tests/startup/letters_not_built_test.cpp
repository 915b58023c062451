// Run letters whose operations are not built end the run with 251 and say
// which routine is missing, instead of ending normally having done nothing.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

TEST(LettersNotBuilt, EndTheRunAndNameTheRoutine) {
  struct Row {
    const char *letters, *tail;
  };
  const Row rows[] = {
      {"D", "Error: computeSlidemovement is not available yet (D)\n"},
  };
  for (const Row &row : rows) {
    const CaseResult r = runControl(std::string("F 2 ") + row.letters + "\n");
    EXPECT_EQ(r.status, 251) << row.letters;
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << row.letters << "\n" << r.file("boogie");
  }
}

// Letters S, C, P and G are built: without a grid they stop before their
// first computation, naming the letters that read one.
TEST(LettersNotBuilt, SedimentAndComponentsNeedAGrid) {
  for (const char letter : {'S', 'C', 'P', 'G'}) {
    const CaseResult r = runControl(std::string("F 2 ") + letter + "\nF 262 1 1e-3\n");
    EXPECT_EQ(r.status, 252) << letter;
    EXPECT_TRUE(endsWith(r.file("boogie"), std::string("Error: letter ") + letter +
                                               " needs a grid: read the koosurf file (letter Y) or the unstruc "
                                               "file (letter U) first\n"))
        << r.file("boogie");
  }
}

}  // namespace
