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
      {"P", "Error: computeVegdataFromSTL is not available yet (P)\n"},
  };
  for (const Row &row : rows) {
    const CaseResult r = runControl(std::string("F 2 ") + row.letters + "\n");
    EXPECT_EQ(r.status, 251) << row.letters;
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << row.letters << "\n" << r.file("boogie");
  }
}

// Letter S is built: without a grid or bed data its set-up stops at the
// missing grain-size distribution.
TEST(LettersNotBuilt, SedimentLoopStopsWithoutABed) {
  const CaseResult r = runControl("F 2 S\n");
  EXPECT_EQ(r.status, 248);
  EXPECT_TRUE(endsWith(r.file("boogie"), "fracres file read with the F 2 O option\n\n")) << r.file("boogie");
}

}  // namespace
