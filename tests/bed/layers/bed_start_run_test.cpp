// Runs of the binary that start a sediment bed and end before the first time
// step ("K 1 0"): a bed with relief counts none of it as bed change, and the
// stacked layers of the multi-layer bed reach ParaView as hexahedra.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/run_case.h"

namespace {

const std::string kStartBed = "K 1 0 50000\nF 106 0.05\nF 33 10 10\nS 1 0.0002 0.025\nN 0 1 1.0\n";
const std::string kNoChange = "Total change in bed levels: 0.000000e+00 qubic meters or 0.000000e+00 kg\n";

// The bank's koosurf bed is the start bed: its 0.65 m of relief is no change.
TEST(BedStartRun, BankReliefIsNoBedChange) {
  CaseSetup setup;
  setup.files["control"] = "F 2 YS\nG 1 13 7 11 1\nF 37 2\n" + kStartBed;
  setup.files["koosurf"] = caseFile("bank", "koosurf");
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), kNoChange)) << r.file("boogie");
}

// Three layers of F 134 over the converged channel: each column is three
// hexahedra from plane 3 (-10 m) to the bed, the active layer of 0.05 m on
// top of two layers sharing the rest.
TEST(BedStartRun, MultiLayerBedInParaView) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);

  CaseSetup setup;
  setup.files["control"] =
      "F 2 YRS\nG 1 54 9 11 1\nF 314 1 1\nF 237 1 7.5\nF 237 2 7.5\nW 1 50 7.5 1.0\n"
      "F 37 3\nF 255 5\nF 134 3\nF 329 1 1 0 0 0 1\nF 449 0 -10\n" +
      kStartBed;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  setup.files["result"] = converged.file("result.end");
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), kNoChange)) << r.file("boogie");

  const std::string vtk = r.file("ParaBed3D.vtk");
  EXPECT_NE(vtk.find("CELLS 750 6750\n"), std::string::npos);
  const size_t types = vtk.find("CELL_TYPES 750\n");
  ASSERT_NE(types, std::string::npos);
  std::istringstream cellTypes(vtk.substr(types + 15));
  int type = 0, hexahedra = 0;
  while (hexahedra < 750 && cellTypes >> type && type == 12) ++hexahedra;
  EXPECT_EQ(hexahedra, 750);

  // Every bed cell of "bedres.t" holds the three layers from the top.
  std::istringstream bedres(r.file("bedres.t"));
  std::string line;
  int stacks = 0;
  while (std::getline(bedres, line)) {
    if (line.find("0.050000 1.000000 4.975000 1.000000 4.975000 1.000000") != std::string::npos) ++stacks;
  }
  EXPECT_EQ(stacks, 250);
}

}  // namespace
