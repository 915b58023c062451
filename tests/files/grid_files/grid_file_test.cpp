// The grid file: written from the straight channel in the three format codes
// of F 297 and read back into the same grid, the side files beside it, and
// the files the reader refuses. In-process, with the reference-column search
// of the free surface left out.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/file_services.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/operations.h"
#include "support/run_case.h"
#include "support/work_folder.h"
#include "grid/column_grid.h"

namespace {

std::string joined(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &l : lines) text += l + "\n";
  return text;
}

int numbersOn(const std::string &line) {
  std::istringstream in(line);
  int n = 0;
  for (std::string w; in >> w;) ++n;
  return n;
}

// The grid as generated, kept to compare a read grid with.
struct GridCopy {
  int cells, faces, points, blocks;
  std::vector<int> connectivity, facePoints;
  std::vector<double> x, y, z;
  GridBlock first;
  struct Group {
    int type;
    double discharge;
    std::vector<int> faces;
  } groups[2];
};

int *const *columns() {
  static int *c[20];
  int *const now[20] = {Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8, Cflates, Cflatee,
                        Cflaten, Cflatew, Cflateb, Cflatet, Ccells,  Ccelle,  Ccelln,  Ccellw,  Ccellb,  Ccellt};
  for (int k = 0; k < 20; ++k) c[k] = now[k];
  return c;
}

void copyGrid(GridCopy &g) {
  g.cells = NoCells;
  g.faces = NoSurfaces;
  g.points = NoPoints;
  g.blocks = NoBlocks;
  g.connectivity.clear();
  for (int c = 1; c <= NoCells; ++c) {
    for (int k = 0; k < 20; ++k) g.connectivity.push_back(columns()[k][c]);
  }
  g.facePoints.clear();
  for (int f = 1; f <= NoSurfaces; ++f) {
    for (const int *t : {Fpoint1, Fpoint2, Fpoint3, Fpoint4, Fcell1, Fcell2}) g.facePoints.push_back(t[f]);
  }
  g.x.assign(Px + 1, Px + NoPoints + 1);
  g.y.assign(Py + 1, Py + NoPoints + 1);
  g.z.assign(Pz + 1, Pz + NoPoints + 1);
  g.first = block[1];
  for (int k = 0; k < 2; ++k) {
    const DischargeGroup &d = DischargeStruct[k + 1];
    g.groups[k] = {d.type, d.discharge, std::vector<int>(d.faces, d.faces + d.faceCount)};
  }
}

// Everything the file refills is cleared, so the comparison shows the read.
void clearGrid() {
  for (int c = 0; c <= NoCells; ++c) {
    for (int k = 0; k < 20; ++k) columns()[k][c] = 0;
  }
  for (int f = 0; f <= NoSurfaces; ++f) Fpoint1[f] = Fpoint2[f] = Fpoint3[f] = Fpoint4[f] = Fcell1[f] = Fcell2[f] = 0;
  for (int p = 0; p <= NoPoints; ++p) Px[p] = Py[p] = Pz[p] = 0.0;
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      xval[i][j] = yval[i][j] = 0.0;
      for (int k = 0; k <= znumber; ++k) zval[i][j][k] = 0.0;
    }
  }
  block[1] = GridBlock{};
  DischargeStruct[1].faceCount = DischargeStruct[2].faceCount = 0;
  NoCells = NoSurfaces = NoPoints = NoBlocks = 0;
}

void expectSameGrid(const GridCopy &a, const GridCopy &b) {
  EXPECT_EQ(a.cells, b.cells);
  EXPECT_EQ(a.faces, b.faces);
  EXPECT_EQ(a.points, b.points);
  EXPECT_EQ(a.blocks, b.blocks);
  EXPECT_EQ(a.connectivity, b.connectivity);
  EXPECT_EQ(a.facePoints, b.facePoints);
  ASSERT_EQ(a.x.size(), b.x.size());
  for (std::size_t p = 0; p < a.x.size(); ++p) {
    ASSERT_NEAR(a.x[p], b.x[p], 5e-7) << p + 1;
    ASSERT_NEAR(a.y[p], b.y[p], 5e-7) << p + 1;
    ASSERT_NEAR(a.z[p], b.z[p], 5e-7) << p + 1;
  }
  EXPECT_EQ(a.first.i1, b.first.i1);
  EXPECT_EQ(a.first.i2, b.first.i2);
  EXPECT_EQ(a.first.j1, b.first.j1);
  EXPECT_EQ(a.first.j2, b.first.j2);
  EXPECT_EQ(a.first.LastCell, b.first.LastCell);
  EXPECT_EQ(a.first.LastFace, b.first.LastFace);
  EXPECT_EQ(a.first.LastPoint, b.first.LastPoint);
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(a.groups[k].type, b.groups[k].type);
    EXPECT_EQ(a.groups[k].faces, b.groups[k].faces);
    EXPECT_DOUBLE_EQ(a.groups[k].discharge, b.groups[k].discharge);
  }
  EXPECT_FALSE(a.groups[0].faces.empty());
}

// Lines of the nine discharge groups: the group line, its face list and its polygon.
int groupLines(int last = 9) {
  int n = 0;
  for (int g = 1; g <= last; ++g) n += 2 + DischargeStruct[g].polygonCount;
  return n;
}

class GridFile : public WorkFolderTest {
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
  void generateChannel() {
    readCaseGrid("straight-channel");
    ASSERT_FALSE(HasFatalFailure());
    endOnGridFailure(Unstructure());
    metric();
    BedMake();
  }
  EngineOperations saved_;
};

TEST_F(GridFile, CodeThreeOfTheStraightChannelReadsBackToTheSameGrid) {
  generateChannel();
  ASSERT_EQ(WriteUnstructure(), 0);
  const std::string written = readFile("unstruc");
  const std::vector<std::string> lines = linesOf(written);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "3 2250 7495 1 0 0 0 3060");
  // 51 × 6 grid points of the one block, each "bottom bed water x y " line.
  const std::size_t columnsStart = lines.size() - 306;
  EXPECT_EQ(lines[columnsStart], "0 0.000000 1.000000 0.000000 0.000000 ");
  for (std::size_t n = columnsStart; n < lines.size(); ++n) ASSERT_EQ(numbersOn(lines[n]), 5) << lines[n];
  EXPECT_EQ(lines[columnsStart - 1].back(), ' ');  // the last surface group line
  EXPECT_EQ(lines.size(), 1 + 3060 + 2250 + 7495 + 1 + groupLines() + 10 + 306u);
  EXPECT_TRUE(std::ifstream("koosurf.t").good());
  EXPECT_TRUE(std::ifstream("koomin.bed").good());
  EXPECT_TRUE(std::ifstream("koordina.si1").good());
  EXPECT_FALSE(std::ifstream("koordina.si2").good());
  EXPECT_EQ(linesOf(readFile("koosurf.t")).size(), 306u);

  GridCopy generated, read;
  copyGrid(generated);
  clearGrid();
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_EQ(FlagReadUnstruc, 3);
  copyGrid(read);
  expectSameGrid(generated, read);
  EXPECT_EQ(NoCells0, 2250);
  EXPECT_GT(NoBCells, 0);

  // Written again from the read grid, the file is the same byte for byte.
  ASSERT_EQ(WriteUnstructure(), 0);
  EXPECT_EQ(readFile("unstruc"), written);
}

TEST_F(GridFile, CodeFourIsRegeneratedFromTheColumnLines) {
  generateChannel();
  FlagWriteUnstruc = 4;
  ASSERT_EQ(WriteUnstructure(), 0);
  const std::vector<std::string> lines = linesOf(readFile("unstruc"));
  EXPECT_EQ(lines[0], "4 2250 7495 1 0 0 0 3060");
  // Header, one block, nine groups of two lines, ten surface groups, 306 column lines.
  EXPECT_EQ(lines.size(), 1 + 1 + groupLines() + 10 + 306u);
  GridCopy generated, read;
  copyGrid(generated);
  clearGrid();
  ASSERT_EQ(ReadUnstructure(), 0);
  copyGrid(read);
  expectSameGrid(generated, read);
}

TEST_F(GridFile, CodeTwoHoldsTheBottomCellTable) {
  generateChannel();
  FlagWriteUnstruc = 2;
  ASSERT_EQ(WriteUnstructure(), 0);
  const std::vector<std::string> lines = linesOf(readFile("unstruc"));
  EXPECT_EQ(lines[0], "2 2250 7495 1 0 0 0 3060 54 9");
  // 55 rows of 10 bottom cells, each written with a blank first.
  const std::size_t rows = lines.size() - 55;
  for (std::size_t n = rows; n < lines.size(); ++n) {
    ASSERT_EQ(numbersOn(lines[n]), 10) << n;
    ASSERT_EQ(lines[n][0], ' ');
  }
  EXPECT_EQ(lines[rows + 1], " 0 1 451 901 1351 1801 0 0 0 0");
  GridCopy generated, read;
  copyGrid(generated);
  clearGrid();
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_EQ(FlagReadUnstruc, 2);
  copyGrid(read);
  expectSameGrid(generated, read);
}

TEST_F(GridFile, CodeTwoWithOtherGridSizesEndsTheRun) {
  generateChannel();
  FlagWriteUnstruc = 2;
  ASSERT_EQ(WriteUnstructure(), 0);
  ynumber = 10;
  EXPECT_EXIT(ReadUnstructure(), testing::ExitedWithCode(251), "");
  const std::string log = readFile("boogie");
  EXPECT_TRUE(endsWith(log, "Error: The two first integers on the G 1 data set in the control file\n"
                            "must be the same as when the unstruc file was created (G 1 54 9 ..).\n"))
      << log;
}

TEST_F(GridFile, MissingFileIsLoggedAndTheRunGoesOn) {
  generateChannel();
  EXPECT_EQ(ReadUnstructure(), 1);
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error: can not open 'unstruc' file\n"));
}

// A line of the code-3 file changed, and the reader's answer.
struct Refusal {
  const char *label;
  int line;  // 0-based line of the written file
  std::string text;
  std::string logTail;
};

TEST_F(GridFile, UnsafeRecordsAreRefused) {
  generateChannel();
  ASSERT_EQ(WriteUnstructure(), 0);
  const std::vector<std::string> good = linesOf(readFile("unstruc"));
  const int cells = 1 + 3060, faces = cells + 2250, blocks = faces + 7495, groups = blocks + 1;
  const int surfaceGroups = groups + groupLines();
  const Refusal cases[] = {
      {"blocks above 99", 0, "3 2250 7495 100 0 0 0 3060", "header 1\n"},
      {"connections above 200", 0, "3 2250 7495 1 201 0 0 3060", "header 1\n"},
      {"point not finite", 1, "nan 0.0 0.0", "point 1\n"},
      {"point overflowing", 2, "1e400 0.0 0.0", "point 2\n"},
      {"corner beyond the points", cells, "3061 " + good[cells].substr(good[cells].find(' ') + 1), "cell 1\n"},
      {"negative neighbour", cells + 1, good[cells + 1].substr(0, good[cells + 1].rfind(' ', good[cells + 1].size() - 2)) + " -1 ", "cell 2\n"},
      {"face cell beyond the cells", faces, "1 2 3 4 2251 0", "face 1\n"},
      {"group faces above the face count", groups, "1 0 0 1 11 7496 0 7500.000000 0.000000",
       "discharge group 1\n"},
      {"polygon above 5000", groups + groupLines(2), "0 0 0 1 11 0 5001 0.000000 0.000000", "discharge group 3\n"},
      {"surface list above 100", surfaceGroups, "0 101 0.000000 ", "surface group 0\n"},
      {"truncated column lines", -1, "", "column line 306\n"},
  };
  for (const Refusal &c : cases) {
    std::vector<std::string> lines = good;
    if (c.line >= 0) {
      lines[c.line] = c.text;
    } else {
      lines.pop_back();
    }
    writeFile("unstruc", joined(lines));
    writeFile("boogie", "");
    EXPECT_EXIT(ReadUnstructure(), testing::ExitedWithCode(251), "") << c.label;
    EXPECT_TRUE(endsWith(readFile("boogie"), "Error reading the 'unstruc' file: " + c.logTail))
        << c.label << ": " << readFile("boogie");
  }
}

// Blocks beyond the G 1 sizes give the letter's negative results.
TEST_F(GridFile, BlockBeyondTheGridSizes) {
  generateChannel();
  ASSERT_EQ(WriteUnstructure(), 0);
  const std::vector<std::string> good = linesOf(readFile("unstruc"));
  const int blockLine = 1 + 3060 + 2250 + 7495;
  struct Case {
    const char *head;
    int result;
  } cases[] = {{"2 51 2 9 ", -54}, {"2 54 2 6 ", -55}, {"2 54 2 9 ", -54}};
  for (const Case &c : cases) {
    std::vector<std::string> lines = good;
    std::istringstream in(lines[blockLine]);
    std::string w, rest;
    for (int k = 0; k < 4; ++k) in >> w;
    std::getline(in, rest);
    lines[blockLine] = c.head + rest.substr(1);
    writeFile("unstruc", joined(lines));
    EXPECT_EQ(ReadUnstructure(), c.result) << c.head;
  }
}

TEST_F(GridFile, DryColumnWithCodeTwoWritesTheDryFile) {
  generateChannel();
  FlagWriteUnstruc = 2;
  zval[10][4][0] = 0.0;
  EXPECT_EQ(WriteUnstructure(), 1);
  EXPECT_TRUE(std::ifstream("unstruc.dry").good());
  EXPECT_FALSE(std::ifstream("unstruc").good());
  EXPECT_TRUE(endsWith(readFile("boogie"),
                       "WARNING: You are writing an unstruc file which does not cover the whole domain\n"
                       "This unstruc file should not be used as a start for a wetting/drying computation\n"
                       "It should only be used for debugging purposes and display of graphics\n\n"));
  FlagWriteUnstruc = 3;
  EXPECT_EQ(WriteUnstructure(), 0);
  EXPECT_TRUE(std::ifstream("unstruc").good());
}

TEST_F(GridFile, PartitionedRunNamesItsFiles) {
  generateChannel();
  FlagMPI = 2;
  EXPECT_EQ(WriteUnstructure(), 0);
  for (const char *name : {"unstruc.mpi2", "koomin.mpi2.bed", "koosurf.mpi2.t", "koordina.mpi3.m", "koordina.si1"}) {
    EXPECT_TRUE(std::ifstream(name).good()) << name;
  }
  // The last two grid lines of block 1, j = 1 .. ynumber - 1.
  EXPECT_EQ(linesOf(readFile("koordina.mpi3.m")).size(), 16u);
}

TEST_F(GridFile, TransientSeriesTakesTheNextNumber) {
  generateChannel();
  TransWriteFiles[1] = 10;
  writeFile("unstruc.0", "kept");
  Iter = 15;
  WriteTransFiles();
  EXPECT_FALSE(std::ifstream("unstruc.1").good());
  Iter = 20;
  WriteTransFiles();
  EXPECT_EQ(linesOf(readFile("unstruc.1"))[0], "1 2250 7495 1 0 0 0 3060");
  EXPECT_EQ(readFile("unstruc.0"), "kept");
}

}  // namespace

namespace {

class GridFileLevels : public GridFile {
 protected:
  // The channel's code-3 grid file.
  void writeChannelFile() {
    generateChannel();
    ASSERT_EQ(WriteUnstructure(), 0);
  }
  // Group 1 of the file with the to level and discharge given.
  static void setGroupOne(const char *toLevel, const char *discharge) {
    std::vector<std::string> lines = linesOf(readFile("unstruc"));
    std::string &line = lines[1 + 3060 + 2250 + 7495 + 1];
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    words[4] = toLevel;
    words[7] = discharge;
    line.clear();
    for (const std::string &w : words) line += w + " ";
    writeFile("unstruc", joined(lines));
  }
};

TEST_F(GridFileLevels, WithoutLevelFilesTheLimitIsTenMetresBelowTheBed) {
  writeChannelFile();
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_DOUBLE_EQ(Surfaces[3][5][3], -10.0);
  EXPECT_DOUBLE_EQ(Surfaces[3][54][9], zval[54][9][1] - 10.0);
}

TEST_F(GridFileLevels, KoominkComesBeforeKoomin) {
  writeChannelFile();
  // Point (5, 3) lies at x = 8 m, y = 4 m on a flat bed at 0 m.
  writeFile("koomink", "5 3 8.0 4.0 -0.5 0\n5 4 8.0 6.0 0.25 0\n");
  writeFile("koomin", "5 3 8.0 4.0 -2.0\n");
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_DOUBLE_EQ(Surfaces[3][5][3], -0.5);
  // Above the bed: lowered to it, with the two lines.
  EXPECT_DOUBLE_EQ(Surfaces[3][5][4], 0.0);
  EXPECT_TRUE(endsWith(readFile("boogie"),
                       "Warning, koomink levels above koordina levels at grid line intersection (5,4).\n"
                       "Lowering koomink level from 0.250000 m. to 0.000000 m. at this point.\n"));
}

TEST_F(GridFileLevels, KoominOffTheGrid) {
  writeChannelFile();
  writeFile("koomin", "5 3 8.5 4.0 -2.0\n");
  EXPECT_EQ(ReadUnstructure(), -58);
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error in koomin file for point (5,3)\n"
                                           "X-values: grid: 8.000000, koomin: 8.500000\n"
                                           "Y-values: grid: 4.000000, koomin: 4.000000\n"));
  // A line at i = xnumber - 1, as "koomin.bed" written without F 535 holds.
  writeFile("koomin", "53 3 102.0 4.0 -2.0\n");
  EXPECT_EXIT(ReadUnstructure(), testing::ExitedWithCode(255), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error reading koomin file.\n"
                                           "One of the indexes (53,3) in the koomin file is larger\n"
                                           "than the G 1 data set values in the control file\n\n"));
  writeFile("koomin", "-1 3 102.0 4.0 -2.0\n");
  EXPECT_EXIT(ReadUnstructure(), testing::ExitedWithCode(251), "");
}

TEST_F(GridFileLevels, LowToLevelIsRaisedOrReported) {
  writeChannelFile();
  setGroupOne("8", "0.0");
  FlagInOutLevels = 1;
  discharges[1] = -1.0;
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_EQ(DischargeStruct[1].toLevel, 11);
  EXPECT_EQ(readFile("boogie").find("Warning, low value"), std::string::npos);
  setGroupOne("8", "5.0");
  FlagInOutLevels = 0;
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_EQ(DischargeStruct[1].toLevel, 8);
  EXPECT_NE(readFile("boogie").find("Warning, low value on TO integer in dialog box for discharge group 1\n"
                                    "Advice: if you are not sure what you are doing: increase number to at least 13 \n"),
            std::string::npos);
}

TEST_F(GridFileLevels, KoordinaMovesTheWaterLevel) {
  writeChannelFile();
  writeFile("koordina", "5 3 8.0 4.0 0.0 1.2\n");
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_DOUBLE_EQ(zval[5][3][znumber], 1.2);
  EXPECT_DOUBLE_EQ(zval[5][3][znumber + 1], 1.2);
  EXPECT_NE(readFile("boogie").find("Warning: if you start a computation with a new water level given in the "
                                    "koordina file,\n"),
            std::string::npos);
  writeFile("koordina", "56 3 8.0 4.0 0.0 1.2\n");
  EXPECT_EXIT(ReadUnstructure(), testing::ExitedWithCode(251), "");
}

}  // namespace

namespace {

// A file of the older form: seven counts led by the point count, group lines
// without the polygon count and no polygons, then the bottom-cell table.
TEST_F(GridFile, OlderFormWithoutFormatCode) {
  generateChannel();
  FlagWriteUnstruc = 2;
  ASSERT_EQ(WriteUnstructure(), 0);
  const std::vector<std::string> lines = linesOf(readFile("unstruc"));
  std::vector<std::string> old{"3060 2250 7495 1 0 0 0"};
  std::size_t n = 1;
  const std::size_t groups = 1 + 3060 + 2250 + 7495 + 1;
  for (; n < groups; ++n) old.push_back(lines[n]);
  for (int g = 1; g <= 9; ++g) {
    std::istringstream in(lines[n]);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    std::string line;
    for (std::size_t k = 0; k < words.size(); ++k) {
      if (k != 6) line += words[k] + " ";
    }
    old.push_back(line);
    old.push_back(lines[n + 1]);
    n += 2 + DischargeStruct[g].polygonCount;
  }
  for (; n < lines.size(); ++n) old.push_back(lines[n]);
  writeFile("unstruc", joined(old));
  GridCopy generated, read;
  copyGrid(generated);
  clearGrid();
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_EQ(FlagReadUnstruc, 0);
  copyGrid(read);
  expectSameGrid(generated, read);
}

// A bottom-cell table that ends after row 3 leaves the later columns dry.
TEST_F(GridFile, BottomCellTableEndingEarly) {
  generateChannel();
  FlagWriteUnstruc = 2;
  ASSERT_EQ(WriteUnstructure(), 0);
  std::vector<std::string> lines = linesOf(readFile("unstruc"));
  lines.resize(lines.size() - 52);
  writeFile("unstruc", joined(lines));
  clearGrid();
  ASSERT_EQ(ReadUnstructure(), 0);
  EXPECT_EQ(zval[2][2][0], 1.0);
  EXPECT_EQ(zval[4][2][0], 0.0);
  EXPECT_EQ(zval[30][5][0], 0.0);
}

}  // namespace
