// Run letters that need a grid and find none end the run with 252 and name
// the letters that read one, instead of ending normally having done nothing.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

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
