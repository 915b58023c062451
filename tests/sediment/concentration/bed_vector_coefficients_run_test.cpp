// The bed-load vector coefficients of F 78 5 to 9 are rows of the per-size
// equations: a run of one grain size on the two-layer bed has none, and is
// refused at its first sediment step with the data set named, rather than
// writing into rows that do not exist.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

TEST(BedVectorCoefficientsRun, OneGrainSizeIsRefused) {
  std::string control = caseFile("sand-slide", "control");
  control.replace(control.find("F 56 50 0.5\n"), 12, "F 78 5 0.6\n");
  CaseSetup setup;
  setup.files["control"] = control;
  setup.files["koosurf"] = caseFile("sand-slide", "koosurf");
  const CaseResult run = runCase(setup);
  EXPECT_EQ(run.status, 251);
  EXPECT_TRUE(endsWith(run.file("boogie"),
                       "Error: F 78 5 needs the per-size sediment equations: give two or more grain sizes or F 37 3\n"))
      << run.file("boogie");
}

}  // namespace
