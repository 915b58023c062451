// Run letters that need a grid and find none end the run with 252 and name
// the letters that read one, instead of ending normally having done nothing.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

// Letters S, C and P are built: without a grid they stop before their first
// flow computation, naming the letters that read one.
TEST(LettersNotBuilt, SedimentAndComponentsNeedAGrid) {
  for (const char letter : {'S', 'C', 'P'}) {
    const CaseResult r = runControl(std::string("F 2 ") + letter + "\n");
    EXPECT_EQ(r.status, 252) << letter;
    EXPECT_TRUE(endsWith(r.file("boogie"), std::string("Error: letter ") + letter +
                                               " needs a grid: read the koosurf file (letter Y) or the unstruc "
                                               "file (letter U) first\n"))
        << r.file("boogie");
  }
}

}  // namespace
