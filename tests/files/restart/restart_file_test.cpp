// The restart file: the channel written and read back bit for bit, the
// format code of the bed statistics, the checks against the control file,
// the fractions scaled on reading, the groups' bed-cell lists, and the crash
// dump the geometry check leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/file_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/operations.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

std::string firstLine(const std::string &text) { return text.substr(0, text.find('\n')); }

std::string joined(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &l : lines) text += l + "\n";
  return text;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class RestartFile : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    saved_ = operations;
    operations.SetiPresjPres = [] {};
  }
  void TearDown() override {
    operations = saved_;
    WorkFolderTest::TearDown();
  }
  EngineOperations saved_;
};

// Everything the file restores, as doubles in a fixed order.
std::vector<double> restoredState() {
  std::vector<double> v{stimet};
  for (int p = 1; p <= NoPoints; ++p) v.insert(v.end(), {Px[p], Py[p], Pz[p]});
  for (int c = 1; c <= NoCells; ++c) {
    v.insert(v.end(), {Cxvel[c], Cyvel[c], Czvel[c], Cpres[c], Ckinen[c], Cepsilon[c]});
    for (int k = 0; k <= lnumber; ++k) v.push_back(Cconc[k][c]);
  }
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      v.insert(v.end(), {xval[i][j], yval[i][j], zval[i][j][0], zval[i][j][1], zval[i][j][znumber]});
      for (int plane = 0; plane <= 3; ++plane) v.push_back(Surfaces[plane][i][j]);
    }
  }
  return v;
}

void clearState() {
  stimet = 0.0;
  for (int p = 1; p <= NoPoints; ++p) Px[p] = Py[p] = Pz[p] = 0.0;
  clearResultFields();
  for (int c = 1; c <= NoCells; ++c) Cconc[0][c] = Cconc[1][c] = 0.0;
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      xval[i][j] = yval[i][j] = zval[i][j][1] = zval[i][j][znumber] = 0.0;
      for (int plane = 0; plane <= 3; ++plane) Surfaces[plane][i][j] = 0.0;
    }
  }
}

TEST_F(RestartFile, ChannelReadsBackBitForBit) {
  generateChannel();
  setHandFields();
  // Values "%lf" would write as 0.000000: the restart must keep them.
  Ckinen[7] = 3e-7;
  Cepsilon[7] = 1e-9;
  for (int c = 1; c <= NoCells; ++c) Cconc[1][c] = 1e-4 / (c + 2.0);
  stimet = 1234.5678901234567;
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) Surfaces[3][i][j] = -0.1 * i - 1.0 / 3.0;
  }
  WriteAllData();
  const std::string written = readFile("alldata.0");
  ASSERT_EQ(firstLine(written), "3 360 1246 1 0 0 0 550");
  EXPECT_EQ(linesOf(written)[1], "1 2 1234.5678901234567");
  const std::vector<double> before = restoredState();
  writeFile("alldata", written);
  clearState();
  EXPECT_EQ(ReadAllData(), 0);
  const std::vector<double> after = restoredState();
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t n = 0; n < before.size(); ++n) ASSERT_TRUE(sameBits(before[n], after[n])) << n;
  EXPECT_EQ(FlagReadAlldata, 1);
  EXPECT_EQ(FlagInitialized, 1);
  EXPECT_EQ(NoBCells, 40);
  // The restored state writes the same file again.
  WriteAllData();
  EXPECT_EQ(readFile("alldata.1"), written);
}

TEST_F(RestartFile, BedStatisticsAddTheAveragedMovement) {
  FlagMorphStatistics = 1;  // the bed statistics, with their extra planes
  generateChannel();
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) Surfaces[5][i][j] = 0.001 * (i + j);
  }
  WriteAllData();
  const std::vector<std::string> lines = linesOf(readFile("alldata.0"));
  EXPECT_EQ(lines[0], "4 360 1246 1 0 0 0 550");
  // 11 × 5 grid points, "i j 1000·plane 5".
  EXPECT_EQ(lines.back(), "11 5 16");
  writeFile("alldata", readFile("alldata.0"));
  Surfaces[5][11][5] = 0.0;
  EXPECT_EQ(ReadAllData(), 0);
  EXPECT_DOUBLE_EQ(Surfaces[5][11][5], 0.016);
  FlagMorphStatistics = 0;
  EXPECT_EXIT(ReadAllData(), testing::ExitedWithCode(201), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error, it is necessary to use F 404 with this alldata file\n\n"));
}

TEST_F(RestartFile, FileOfOtherSizesEndsTheRun) {
  generateChannel();
  WriteAllData();
  std::vector<std::string> lines = linesOf(readFile("alldata.0"));
  lines[1] = "3 2 0";
  writeFile("alldata", joined(lines));
  EXPECT_EXIT(ReadAllData(), testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(readFile("boogie"),
                       "Error in reading alldata file\n"
                       "The number of sediment sizes in allfile is 3. The number in the control file is 1.\n"
                       "The number of bed layers in allfile is 2. The number in the control file is 2.\n"));
}

TEST_F(RestartFile, MissingFileEndsTheRun) {
  generateChannel();
  EXPECT_EXIT(ReadAllData(), testing::ExitedWithCode(253), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error, have not been able to open alldata file\n"));
}

// Fractions of 0.5, 0.3 and 0.1 are scaled to sum 1; a layer without
// thickness gets equal fractions.
TEST_F(RestartFile, FractionsAreScaledOnReading) {
  generateChannel("G 1 13 7 11 3\nS 1 0.004 0.1\nS 2 0.002 0.05\nS 3 0.001 0.01\n");
  ASSERT_EQ(lnumber, 3);
  const int b = pointbed[3][3];
  ASSERT_GT(b, 0);
  const double thickness[2] = {0.5, 0.0};
  for (int layer = 0; layer <= 1; ++layer) {
    BSedDistrib[layer][0][b] = thickness[layer];
    BSedDistrib[layer][1][b] = 0.5;
    BSedDistrib[layer][2][b] = 0.3;
    BSedDistrib[layer][3][b] = 0.1;
  }
  WriteAllData();
  writeFile("alldata", readFile("alldata.0"));
  EXPECT_EQ(ReadAllData(), 0);
  EXPECT_DOUBLE_EQ(BSedDistrib[0][1][b], 0.5 / 0.9);
  EXPECT_DOUBLE_EQ(BSedDistrib[0][2][b], 0.3 / 0.9);
  EXPECT_DOUBLE_EQ(BSedDistrib[0][3][b], 0.1 / 0.9);
  for (int k = 1; k <= 3; ++k) EXPECT_DOUBLE_EQ(BSedDistrib[1][k][b], 1.0 / 3.0);
}

TEST_F(RestartFile, GroupBedCellsFromItsBedFaces) {
  generateChannel();
  const int c = static_cast<int>(zval[4][3][0]);
  ASSERT_GT(c, 0);
  DischargeStruct[1].faceCount = 2;
  DischargeStruct[1].faces[0] = Cflateb[c];
  DischargeStruct[1].faces[1] = Cflatet[c];
  WriteAllData();
  writeFile("alldata", readFile("alldata.0"));
  DischargeStruct[1].bedCells[0] = 0;
  EXPECT_EQ(ReadAllData(), 0);
  EXPECT_EQ(DischargeStruct[1].bedCells[0], 2);
  EXPECT_EQ(DischargeStruct[1].bedCells[1], Cbed[c]);
}

// More than two layers: the reader joins away the empty layers of each bed
// cell; a point line that does not read ends with -99.
TEST_F(RestartFile, GeneralLayout) {
  generateChannel("F 37 3\nF 134 3\n");
  ASSERT_EQ(NoBedLayers, 3);
  const int b = 5;
  BlayerTop[b] = 2;
  const double thickness[3] = {0.5, 0.0, 0.3};
  for (int layer = 0; layer <= 2; ++layer) {
    BSedDistrib[layer][0][b] = thickness[layer];
    BSedDistrib[layer][1][b] = 1.0;
    Bsolidfraction[layer][b] = 0.5;
  }
  WriteAllData();
  const std::string written = readFile("alldata.0");
  writeFile("alldata", written);
  EXPECT_EQ(ReadAllData(), 0);
  EXPECT_EQ(BlayerTop[b], 1);
  EXPECT_DOUBLE_EQ(BSedDistrib[0][0][b], 0.5);
  EXPECT_DOUBLE_EQ(BSedDistrib[1][0][b], 0.3);
  EXPECT_EQ(BSedDistrib[2][0][b], 0.0);
  // The column section cut off after the surface groups.
  std::vector<std::string> lines = linesOf(written);
  const std::size_t groupsEnd = 2 + 550 + 2 * 360 + 1246 + 1 + 18 + 10;
  lines.resize(groupsEnd);
  writeFile("alldata", joined(lines));
  EXPECT_EXIT(ReadAllData(), testing::ExitedWithCode(157), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error reading 'alldata' file with more than two layers. The file must "
                                           "be made with version 353 or later\n\n"));
}

TEST_F(RestartFile, UnsafeRecordsAreRefused) {
  generateChannel();
  WriteAllData();
  const std::vector<std::string> good = linesOf(readFile("alldata.0"));
  const std::size_t columns = 2 + 550 + 2 * 360 + 1246 + 1 + 18 + 10;
  struct Case {
    const char *label;
    std::size_t line;
    std::string text, tail;
  } cases[] = {
      {"field not finite", 2 + 550 + 1, "inf 0 0 0 0 0 0 0", "cell 1\n"},
      {"bed cell beyond the table", columns + 2, "1 0 1 1 1 0 0 0 0 99999 ", "column 2\n"},
      {"bottom cell beyond the cells", columns, "361 0 1 0 0 0 0 0 0 0 ", "column 1\n"},
  };
  for (const Case &c : cases) {
    std::vector<std::string> lines = good;
    lines[c.line] = c.text;
    writeFile("alldata", joined(lines));
    writeFile("boogie", "");
    EXPECT_EXIT(ReadAllData(), testing::ExitedWithCode(251), "") << c.label;
    EXPECT_TRUE(endsWith(readFile("boogie"), "Error reading the 'alldata' file: " + c.tail))
        << c.label << ": " << readFile("boogie");
  }
}

// The geometry check of a mirrored channel writes the crash dump before its end.
TEST(RestartFileRun, CrashDumpOfTheGeometryCheck) {
  CaseSetup s;
  std::string control = caseFile("channel", "control");
  control.replace(control.find("F 2 Y"), 5, "F 2 YW");
  s.files["control"] = control;
  std::istringstream in(caseFile("channel", "koosurf"));
  std::string mirrored;
  int i, j;
  double x, y, bed, surface;
  while (in >> i >> j >> x >> y >> bed >> surface) {
    char line[128];
    std::snprintf(line, sizeof line, "%d %d %f %f %f %f\n", i, j, 1.0 - i, y, bed, surface);
    mirrored += line;
  }
  s.files["koosurf"] = mirrored;
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 255);
  EXPECT_NE(r.file("boogie").find("In metric, Error for cell 1, zero volume"), std::string::npos);
  EXPECT_EQ(firstLine(r.file("alldata.0")), "3 360 1246 1 0 0 0 550");
}

}  // namespace
