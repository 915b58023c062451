// The concentration, component and fraction restart files: what the run
// letters F and E write, what O reads back, the header and sum checks, and
// the tracer fraction of the top layers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/file_services.h"
#include "files/restart/fraction_restart_files.h"
#include "files/grid_files/koosurf_writer.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

CaseSetup straightChannel(const std::string &letters, const std::string &extra) {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  control.replace(control.find("F 2 YW"), 6, "F 2 " + letters);
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return s;
}

TEST(SedimentRestartRun, LetterFWritesTheConcentrations) {
  const CaseResult r = runCase(straightChannel("YF", ""));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  const std::vector<std::string> lines = linesOf(r.file("con2res.new"));
  ASSERT_EQ(lines.size(), 2251u);
  EXPECT_EQ(lines[0], "2250 1");
  EXPECT_EQ(lines[1], "0.000000e+00 0.000000e+00 ");
}

TEST(SedimentRestartRun, LetterEWritesTheComponents) {
  const CaseResult r = runCase(straightChannel("YE", "F 50 1\n"));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  const std::vector<std::string> lines = linesOf(r.file("compres"));
  ASSERT_EQ(lines.size(), 2250u);
  EXPECT_EQ(lines[0], "0.000000e+00 ");
}

TEST(SedimentRestartRun, LetterHWritesTheGridFileAndItsSideFiles) {
  const CaseResult r = runCase(straightChannel("YH", ""));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(linesOf(r.file("unstruc"))[0], "3 2250 7495 1 0 0 0 3060");
  for (const char *name : {"koosurf.t", "koomin.bed", "koordina.si1"}) EXPECT_TRUE(r.has(name)) << name;
  EXPECT_FALSE(r.has("koordina.si2"));
}

class SedimentRestart : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
  }
};

TEST_F(SedimentRestart, ConcentrationsWriteTheirSumAndReadBack) {
  generateChannel("G 1 13 7 11 2\nS 1 0.004 0.1\nS 2 0.001 0.01\n");
  ASSERT_EQ(lnumber, 2);
  // Volume concentrations, their sums below 1 as the reader requires.
  for (int c = 1; c <= NoCells; ++c) {
    Cconc[1][c] = c / 512.0;
    Cconc[2][c] = 0.25;
  }
  EXPECT_EQ(writeConcRes(), 0);
  EXPECT_DOUBLE_EQ(Cconc[0][4], 0.2578125);
  const std::vector<std::string> lines = linesOf(readFile("con2res.new"));
  EXPECT_EQ(lines[0], "360 2");
  EXPECT_EQ(lines[4], "2.578125e-01 7.812500e-03 2.500000e-01 ");
  EXPECT_STREQ(mc_message, "have written 'con2res' file ");
  writeFile("con2res", readFile("con2res.new"));
  for (int c = 1; c <= NoCells; ++c) Cconc[1][c] = 0.0;
  FlagTSC = 1;
  FlagUseBedres = 1;
  EXPECT_EQ(readConRes(), 0);
  EXPECT_DOUBLE_EQ(Cconc[1][4], 0.0078125);
  EXPECT_STREQ(mc_message, "have read 'con2res' file ");
}

TEST_F(SedimentRestart, ConcentrationHeaderOfAnotherGridEndsTheRun) {
  generateChannel();
  writeFile("con2res", "5000 1\n");
  FlagTSC = 1;
  EXPECT_EXIT(readConRes(), testing::ExitedWithCode(255), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error reading con2res file\n"
                                           "con2res: No. cells = 5000, no. sizes = 1\n"
                                           "Unstruc/control file: No. cells = 360, no. sizes = 1\n"));
}

TEST_F(SedimentRestart, ComponentsNeedComponents) {
  generateChannel();
  EXPECT_EQ(writeConqRes(), -1);
  EXPECT_FALSE(std::ifstream("compres").good());
}

TEST_F(SedimentRestart, TwoLayerFractionsReadBack) {
  generateChannel("G 1 13 7 11 2\nS 1 0.004 0.1\nS 2 0.001 0.01\n");
  const int b = pointbed[3][4];
  BSedDistrib[1][0][b] = 0.2;
  BSedDistrib[1][1][b] = 0.3;
  BSedDistrib[1][2][b] = 0.7;
  BSedDistrib[0][0][b] = 1.5;
  BSedDistrib[0][1][b] = 0.6;
  BSedDistrib[0][2][b] = 0.4;
  print_fracres(0);
  const std::vector<std::string> lines = linesOf(readFile("fracres.new"));
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "3 4 0.200000 0.300000 0.700000 1.500000 0.600000 0.400000"),
            lines.end());
  writeFile("fracres", readFile("fracres.new"));
  BSedDistrib[1][1][b] = BSedDistrib[0][0][b] = 0.0;
  EXPECT_EQ(readConRes(), 0);
  EXPECT_DOUBLE_EQ(BSedDistrib[1][1][b], 0.3);
  EXPECT_DOUBLE_EQ(BSedDistrib[0][0][b], 1.5);
  EXPECT_EQ(FlagReadFracres, 1);
}

// The lines of a hand-made fraction file and what the reader makes of them.
struct FractionCase {
  const char *label;
  std::string file;
  int version;
  int status;  // exit status, or -1 when readConRes returns
  int result;
  std::string logTail;
};

TEST_F(SedimentRestart, FractionFilesRefusedOrOutside) {
  generateChannel();
  const FractionCase cases[] = {
      {"sum 0.998", "2 2 0.1 0.998 0.1 1.0\n", 0, 253, 0,
       "Error in fracres, i=2,j=2, sum of fractions = 0.998000\n"},
      {"column beyond the grid", "2 2 0.1 1.0 0.1 1.0\n15 2 0.1 1.0 0.1 1.0\n", 0, -1, 88, ""},
      {"negative column", "-1 2 0.1 1.0 0.1 1.0\n", 0, 251, 0, "Error reading the 'fracres' file: line 1\n"},
      {"version 1, short by 0.00005", "2 2 0.99995\n", 1, -1, 0, ""},
      {"version 1, short by 0.0002", "2 2 0.9998\n", 1, 253, 0,
       "Error in fracres, i=2,j=2, sum of fractions = 0.999800\n"},
      {"value not finite", "2 2 0.1 nan 0.1 1.0\n", 0, 251, 0, "Error reading the 'fracres' file: line 1\n"},
  };
  for (const FractionCase &c : cases) {
    writeFile("fracres", c.file);
    writeFile("boogie", "");
    FlagFracresVersion = c.version;
    if (c.status >= 0) {
      EXPECT_EXIT(readConRes(), testing::ExitedWithCode(c.status), "") << c.label;
      EXPECT_TRUE(endsWith(readFile("boogie"), c.logTail)) << c.label << ": " << readFile("boogie");
    } else {
      EXPECT_EQ(readConRes(), c.result) << c.label;
    }
  }
  // The short version-1 line is scaled to sum 1 in every layer.
  EXPECT_DOUBLE_EQ(BSedDistrib[0][1][pointbed[2][2]], 1.0);
  EXPECT_DOUBLE_EQ(BSedDistrib[1][1][pointbed[2][2]], 1.0);
}

TEST_F(SedimentRestart, BedResultsReplaceTheFractionFile) {
  generateChannel();
  FlagUseBedres = 1;
  writeFile("fracres", "2 2 0.1 0.5 0.1 0.5\n");
  EXPECT_EQ(readConRes(), 0);
  EXPECT_EQ(FlagReadFracres, 0);
  FlagUseBedres = 0;
  std::remove("fracres");
  EXPECT_EQ(readConRes(), 2);
  EXPECT_STREQ(mc_message, "cannot open file fracres ");
}

TEST_F(SedimentRestart, MultiLayerFractionsCoverTheColumnsOfTheBlocks) {
  FlagTSC = 3;
  NoBedLayers = 3;
  generateChannel();
  // Layer 2 starts without fractions; a file of them would not be read back.
  for (int bc = 1; bc <= NoBCells; ++bc) BSedDistrib[2][1][bc] = 1.0;
  const int b = pointbed[2][2];
  for (int layer = 0; layer < 3; ++layer) {
    BSedDistrib[layer][0][b] = 0.1 * (layer + 1);
    BSedDistrib[layer][1][b] = 1.0;
  }
  print_fracres(0);
  const std::vector<std::string> lines = linesOf(readFile("fracres.new"));
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines[0], "2 2 0.300000 1.000000 0.200000 1.000000 0.100000 1.000000");
  writeFile("fracres", readFile("fracres.new"));
  BSedDistrib[2][0][b] = 0.0;
  EXPECT_EQ(readConRes(), 0);
  EXPECT_DOUBLE_EQ(BSedDistrib[2][0][b], 0.3);
}

TEST_F(SedimentRestart, TracerFractionOfTheTopLayers) {
  FlagFractionsPrint = 1;
  NoBedLayers = 3;
  FlagTSC = 3;
  generateChannel("G 1 13 7 11 10\nS 1 0.01 0.1\nS 2 0.009 0.1\nS 3 0.008 0.1\nS 4 0.007 0.1\nS 5 0.006 0.1\n"
                  "S 6 0.005 0.1\nS 7 0.004 0.1\nS 8 0.003 0.1\nS 9 0.002 0.1\nS 10 0.001 0.1\n");
  ASSERT_EQ(lnumber, 10);
  depthTracer = 0.5;
  // Bed cell 1: a top layer of 0.2 m with tracer sizes 3, 5, 7, 9 at 0.1
  // each, over a layer of 1 m without tracers: H = 1.2, S = 0.08.
  BlayerTop[1] = 1;
  BSedDistrib[1][0][1] = 0.2;
  for (int k : {3, 5, 7, 9}) BSedDistrib[1][k][1] = 0.1;
  BSedDistrib[0][0][1] = 1.0;
  // Bed cell 2: its only layer, thinner than the tracer depth.
  BlayerTop[2] = 0;
  BSedDistrib[0][0][2] = 0.1;
  BSedDistrib[0][3][2] = 0.4;
  BlayerTop[3] = -1;
  Bfractionsprint[3] = 9.0;
  make_Bfractionsprint();
  EXPECT_NEAR(Bfractionsprint[1], 0.08 / 1.2, 1e-12);
  EXPECT_NEAR(Bfractionsprint[2], 0.4, 1e-12);
  EXPECT_EQ(Bfractionsprint[3], 0.0);
}

TEST_F(SedimentRestart, CoarseFractionsBesideTheCoarseGrid) {
  generateChannel();
  FlagReadFracres = 1;
  BSedDistrib[0][1][pointbed[2][2]] = 0.2;
  writekoosurf();
  const std::vector<std::string> lines = linesOf(readFile("fracres.cor"));
  // Columns 2..11 by 2..5: coarse rows i = 2, 4, .. 10, columns j = 2, 4.
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "2 2 0.800000");
  EXPECT_EQ(lines[1], "2 3 1.000000");
  EXPECT_EQ(lines[2], "3 2 1.000000");
}

}  // namespace
