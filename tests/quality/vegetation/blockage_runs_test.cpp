// Runs of the binary with bodies and vegetation: letter P turns an STL box
// into blockage profiles, the straight channel stops its flow inside such a
// box, and "vegdata" files the reader refuses end the run with their message.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "support/channel_results.h"
#include "support/run_case.h"

namespace {

// An ASCII STL box of twelve facets; each face is split along its diagonal
// from the corner of lowest x and y.
std::string stlBox(double x0, double x1, double y0, double y1, double z0, double z1) {
  std::string out = "solid box\n";
  char line[128];
  auto quad = [&](const double (*p)[3]) {
    const int corners[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto &t : corners) {
      out += "  facet normal 0 0 0\n    outer loop\n";
      for (int k : t) {
        std::snprintf(line, sizeof line, "      vertex %g %g %g\n", p[k][0], p[k][1], p[k][2]);
        out += line;
      }
      out += "    endloop\n  endfacet\n";
    }
  };
  const double top[4][3] = {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
  const double bottom[4][3] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}};
  const double south[4][3] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}};
  const double north[4][3] = {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}};
  const double west[4][3] = {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}};
  const double east[4][3] = {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}};
  for (auto *face : {top, bottom, south, north, west, east}) quad(face);
  return out + "endsolid box\n";
}

// 9 x 4 grid points of 1 m squares, bed 0, water level 3 m.
std::string smallKoosurf() {
  std::string k;
  for (int i = 1; i <= 9; ++i)
    for (int j = 1; j <= 4; ++j) k += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(i - 1) + " " +
                                      std::to_string(j - 1) + " 0.0 3.0\n";
  return k;
}

TEST(StlBlockage, BoxBecomesBlockageProfilesOfItsColumns) {
  CaseSetup s;
  s.files["control"] = "F 2 YP\nG 1 12 7 6 1\n";
  s.files["koosurf"] = smallKoosurf();
  s.files["stlfile.stl"] = stlBox(3.2, 4.8, 1.1, 1.9, 0.3, 0.8);
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("Have read 12 triangles from stlfile.stl file\n"), std::string::npos);
  const std::string record = " -9.700000 0.290000 0.300000 0.800000 0.810000 100.800000 0.0 0.0 1000.0 1000.0 0.0 0.0 \n";
  EXPECT_EQ(r.file("vegdata.sl"), "U 1 6 1\nN 5 3" + record + "N 6 3" + record);
  const std::vector<std::string> geo = linesOf(r.file("geodata.sl"));
  ASSERT_EQ(geo.size(), 13u);
  for (int k = 0; k < 12; ++k) EXPECT_EQ(geo[k].rfind("E ", 0), 0u) << geo[k];
  EXPECT_EQ(geo[0], "E 3.200000 1.100000 0.800000");
  EXPECT_TRUE(endsWith(r.file("geodata.sl"), "Z 0 0 0 \n"));
}

TEST(StlBlockage, FileWithoutTrianglesWritesNoProfiles) {
  CaseSetup s;
  s.files["control"] = "F 2 YP\nG 1 12 7 6 1\n";
  s.files["koosurf"] = smallKoosurf();
  s.files["stlfile.stl"] = "solid nothing\nendsolid nothing\n";
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("Have read 0 triangles from stlfile.stl file\n"), std::string::npos);
  EXPECT_EQ(r.file("vegdata.sl"), "");
  s.files.erase("stlfile.stl");
  const CaseResult missing = runCase(s);
  EXPECT_EQ(missing.status, 252);
  EXPECT_TRUE(endsWith(missing.file("boogie"), "Could not read 'stlfile.stl' or 'stlfileb.stl' files\n\n"));
}

// An open surface: the top face of the box alone crosses its columns once.
TEST(StlBlockage, OddCrossingsAreLoggedAndNotWritten) {
  CaseSetup s;
  s.files["control"] = "F 2 YP\nG 1 12 7 6 1\n";
  s.files["koosurf"] = smallKoosurf();
  const std::string box = stlBox(3.2, 4.8, 1.1, 1.9, 0.3, 0.8);
  const std::size_t secondFace = box.find("  facet", box.find("endfacet", box.find("endfacet") + 8));
  s.files["stlfile.stl"] = box.substr(0, secondFace) + "endsolid box\n";
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  expectInOrder(r.file("boogie"), {"Have read 2 triangles from stlfile.stl file\n",
                                   "Error for cell (5,3), number of surfaces is 1\n\n",
                                   "Error for cell (6,3), number of surfaces is 1\n\n"});
  EXPECT_EQ(r.file("vegdata.sl"), "U 1 6 1\n");
}

std::string channelControl(const std::string &letters, const std::string &added) {
  std::string control = "F 2 " + letters + "\n";
  for (const std::string &line : linesOf(caseFile("straight-channel", "control")))
    if (line.rfind("F 2 ", 0) != 0) control += line + "\n";
  return control + added;
}

// A box in the straight channel: letter P writes its profiles, and the flow
// through the two columns it stands in stops inside it.
TEST(StlBlockage, ChannelFlowStopsInsideTheBox) {
  CaseSetup s;
  s.files["control"] = channelControl("YP", "");
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  s.files["stlfile.stl"] = stlBox(40.2, 43.8, 4.2, 5.8, 0.2, 0.8);
  const CaseResult p = runCase(s);
  ASSERT_EQ(p.status, 1) << p.file("boogie");
  s.files["vegdata"] = p.file("vegdata.sl");
  s.files.erase("stlfile.stl");
  s.files["control"] = channelControl("YW", "F 115 1\nF 201 1 6 1\nG 24 1 P 0 0\n");
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("Solution converged"), std::string::npos);
  EXPECT_NE(r.file("ParaView3U.vtk").find("SCALARS Porosity"), std::string::npos);
  const ResultCells cells = resultCells(r.file("result.end"));
  // The nine cells of 0.11 m: the middle five lie inside the box (0.2 .. 0.8 m).
  for (int i : {22, 23}) {
    const std::vector<int> column = straightChannelColumn(i, 4);
    for (int k = 2; k <= 6; ++k) {
      const ResultCell &c = cells.at(column[k]);
      EXPECT_LT(std::hypot(c.u, c.v, c.w), 0.01 * 0.75) << "column " << i << ", cell " << k;
    }
  }
  // Beside the box the water passes.
  EXPECT_GT(cells.at(straightChannelColumn(22, 2)[4]).u, 0.5);
}

struct VegdataCase {
  const char *name;
  std::string added;     // data sets added to the channel's control
  std::string vegdata;   // "" for no file
  int status;
  std::string logTail;
  friend void PrintTo(const VegdataCase &c, std::ostream *os) { *os << c.name; }
};

class VegdataErrors : public ::testing::TestWithParam<VegdataCase> {};

TEST_P(VegdataErrors, EndTheRunWithTheirMessage) {
  const VegdataCase &c = GetParam();
  CaseSetup s;
  s.files["control"] = channelControl("YW", "F 115 1\n" + c.added);
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  if (!c.vegdata.empty()) s.files["vegdata"] = c.vegdata;
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, c.status) << r.file("boogie");
  EXPECT_TRUE(endsWith(r.file("boogie"), c.logTail)) << r.file("boogie");
}

INSTANTIATE_TEST_SUITE_P(
    Reader, VegdataErrors,
    ::testing::Values(
        VegdataCase{"Missing", "", "", 252, "Could not read 'vegdata' file\n\n"},
        VegdataCase{"UDiffers", "", "U 1 5 1\n", 251,
                    "Error in Vegdata file: U data set does not correspond with F 201 data set in control file\n"},
        VegdataCase{"UMissing", "F 201 1 4 2\n", "T 0\n", 250, "Error in vegdata file, U data set is missing\n"},
        VegdataCase{"TooManyTimes", "", "T 0 T 10\n", 252,
                    "Error in Vegdata file: number of time steps is larger than what is given on the F 201 data set\n"},
        VegdataCase{"FewerTimes", "F 201 1 4 2\n", "U 1 4 2 T 0 V 3 3 0 1 2 3 1 1 1 1\n", 248,
                    "Error in vegdata file: 1 time steps given, while the\n"
                    "F 201 data set in the control file specifies 2 data sets\n"},
        VegdataCase{"BlockageValueUnreadable", "", "N 3 3 0 1 2 3 1 1 nan 1\n", 249,
                    "Error in Vegdata file, line i=3, j=3, timestep=1, var=1, level=2\n"},
        VegdataCase{"FewerValues", "", "V 3 3 0 1 2 3 1 1 1\n", 248,
                    "Error for cell (3,3) at time 1\nHave not read sufficient number of vegparam values\n"},
        VegdataCase{"LevelsNotRising", "", "A 3 3 0 1 1 3 1 1 1 1\n", 248,
                    "Error for cell (3,3) at time 1\nLevels must be given in rising order\n"
                    "Lev[1] = 1.000000, Lev[2] = 1.000000\n"},
        VegdataCase{"ColumnOutside", "", "C 99 3 0 1 2 3 1 1 1 1\n", 252,
                    "Error in Vegdata file: column (99,3) outside the grid\n"}));

}  // namespace
