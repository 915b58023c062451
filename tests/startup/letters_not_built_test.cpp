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
      {"I", "Error: concRijn is not available yet (I)\n"},
      {"P", "Error: computeVegdataFromSTL is not available yet (P)\n"},
      {"S", "Error: morphology_tsc is not available yet (S)\n"},
  };
  for (const Row &row : rows) {
    const CaseResult r = runControl(std::string("F 2 ") + row.letters + "\n");
    EXPECT_EQ(r.status, 251) << row.letters;
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << row.letters << "\n" << r.file("boogie");
  }
}

}  // namespace
