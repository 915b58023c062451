// The bed result file: its layout, round trips of the two-layer and the
// multi-layer bed through readres's first part (which regenerates the grid
// on the levels read), the one-layer "H" file, and the lines it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "files/restart/bed_result_file.h"
#include "files/channel_fields.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

class BedResultFile : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
  }
};

// Values with at most six decimals, so that "%lf" keeps them exactly.
double levelAt(int i, int j) { return 1.0 + 0.015625 * ((i + 2 * j) % 5); }
double bedValue(int layer, int k, int b) { return 0.001 * (100 * layer + 10 * k + b % 7) + 0.25; }

void setBed(int layers) {
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      zval[i][j][znumber] = levelAt(i, j);
      Surfaces[3][i][j] = -0.5 - 0.125 * i;
      Surfaces[1][i][j] = -0.25 * j;
    }
  }
  MaxDepth = 1.0625;
  for (int b = 1; b <= NoBCells; ++b) {
    Broughness[b] = 0.02 + 0.0001 * b;
    Croughness[Bcellt[b]] = 0.05 + 0.001 * b;
    Bedformheight[b] = 0.003 * b;
    for (int layer = 0; layer < layers; ++layer) {
      for (int k = 0; k <= lnumber; ++k) BSedDistrib[layer][k][b] = bedValue(layer, k, b);
    }
  }
}

void clearBed(int layers) {
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      zval[i][j][znumber] = 2.0;
      Surfaces[3][i][j] = Surfaces[1][i][j] = 0.0;
    }
  }
  MaxDepth = 0.0;
  for (int b = 1; b <= NoBCells; ++b) {
    Broughness[b] = Bedformheight[b] = 0.0;
    for (int layer = 0; layer < layers; ++layer) {
      for (int k = 0; k <= lnumber; ++k) BSedDistrib[layer][k][b] = -1.0;
    }
  }
  std::fill(Croughness, Croughness + NoCells + 1, 0.0);
}

void expectBed(int firstLayer, int layers) {
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      ASSERT_EQ(zval[i][j][znumber], levelAt(i, j)) << i << " " << j;
      ASSERT_EQ(Surfaces[3][i][j], -0.5 - 0.125 * i);
      ASSERT_EQ(Surfaces[1][i][j], -0.25 * j);
    }
  }
  EXPECT_EQ(MaxDepth, 1.0625);
  ASSERT_EQ(NoBCells, 40);
  for (int b = 1; b <= NoBCells; ++b) {
    ASSERT_NEAR(Broughness[b], 0.02 + 0.0001 * b, 1e-15) << b;
    ASSERT_NEAR(Croughness[Bcellt[b]], 0.05 + 0.001 * b, 1e-15) << b;
    ASSERT_NEAR(Bedformheight[b], 0.003 * b, 1e-15) << b;
    for (int layer = firstLayer; layer < layers; ++layer) {
      for (int k = 0; k <= lnumber; ++k) ASSERT_NEAR(BSedDistrib[layer][k][b], bedValue(layer, k, b), 1e-15);
    }
  }
}

TEST_F(BedResultFile, Layout) {
  generateChannel();
  setBed(2);
  Iter = 12;
  print_bedres();
  const std::vector<std::string> lines = linesOf(readFile("bedres.t"));
  ASSERT_EQ(lines.size(), 2u + 55u + 40u);
  EXPECT_EQ(lines[0], "Results from TELVA 2, iter = 12");
  EXPECT_EQ(lines[1], "K 13 7 11 1 40    1.06250000000000000 360");
  // Grid point (1, 1) is no column of the block: bottom cell 0.0.
  EXPECT_EQ(lines[2], "1 1    0.0     0.00000000000000     1.04687500000000 -0.625000 -0.250000");
  EXPECT_EQ(lines[3].substr(0, 10), "1 2    0.0");
  EXPECT_EQ(lines[8].substr(0, 10), "2 2    1.0");
  // Bed cell 1 is column (2, 2): layer 1, then layer 0.
  EXPECT_EQ(lines[57], "1 1 0.020100 0.051000 0.003000 0.351000 0.361000 0.251000 0.261000 ");
}

TEST_F(BedResultFile, SeriesName) {
  kreadDefaults();
  PrintRes = 3;
  writeFile("bedres.0000", "x");
  EXPECT_EQ(bedResultFileName(), "bedres.0001");
  FlagMPI = 2;
  EXPECT_EQ(bedResultFileName(), "bedres.mpi2.0000");
  PrintRes = 0;
  EXPECT_EQ(bedResultFileName(), "bedres.mpi2.t");
}

TEST_F(BedResultFile, TwoLayerRoundTrip) {
  generateChannel();
  setBed(2);
  print_bedres();
  const std::string first = readFile("bedres.t");
  std::filesystem::copy_file("bedres.t", "bedres");
  clearBed(2);
  readBedres();
  expectBed(0, 2);
  EXPECT_EQ(NoCells, 360);
  print_bedres();
  EXPECT_EQ(readFile("bedres.t"), first);
}

TEST_F(BedResultFile, MultiLayerRoundTrip) {
  generateChannel("F 37 3\nF 134 4\n");
  ASSERT_EQ(NoBedLayers, 4);
  ASSERT_EQ(FlagTSC, 3);
  setBed(4);
  print_bedres();
  const std::vector<std::string> lines = linesOf(readFile("bedres.t"));
  // Top layer (3) first, layer 0 last.
  EXPECT_EQ(lines[57], "1 1 0.020100 0.051000 0.003000 0.551000 0.561000 0.451000 0.461000 0.351000 0.361000 "
                       "0.251000 0.261000 ");
  std::filesystem::copy_file("bedres.t", "bedres");
  clearBed(4);
  readBedres();
  expectBed(0, 4);
}

// An "H" file holds one layer per bed cell: layer 1 is filled, layer 0 kept.
TEST_F(BedResultFile, OneLayerFileFillsLayerOne) {
  generateChannel();
  setBed(2);
  print_bedres();
  std::vector<std::string> lines = linesOf(readFile("bedres.t"));
  lines[1][0] = 'H';
  std::string text;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::string line = lines[n];
    if (n >= 57) {
      // Keep b, bottom, three values and the two values of layer 1.
      std::size_t cut = 0;
      for (int blanks = 0; blanks < 7; ++blanks) cut = line.find(' ', cut) + 1;
      line = line.substr(0, cut);
    }
    text += line + "\n";
  }
  writeFile("bedres", text);
  clearBed(2);
  readBedres();
  expectBed(1, 2);
  for (int b = 1; b <= NoBCells; ++b) ASSERT_EQ(BSedDistrib[0][0][b], -1.0);
}

struct BadLine {
  const char *label, *from, *to;
  int line;
};

TEST_F(BedResultFile, RefusedLines) {
  generateChannel();
  setBed(2);
  print_bedres();
  const std::string written = readFile("bedres.t");
  const BadLine cases[] = {
      {"point outside the block", "\n1 1    0.0", "\n0 1    0.0", 3},
      {"point beyond the block", "\n11 5 ", "\n12 5 ", 57},
      {"level not a number", "\n2 2    1.0     0.00000000000000", "\n2 2    1.0 nan", 9},
      {"bottom cell beyond the grid", "\n1 1 0.020100", "\n1 361 0.020100", 58},
      {"roughness overflows", " 0.020200 ", " 1e999 ", 59},
      {"header", "Results from", "Result from", 1},
      {"size letter", "\nK 13", "\nQ 13", 2},
  };
  for (const BadLine &c : cases) {
    std::string text = written;
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.label;
    text.replace(at, std::string(c.from).size(), c.to);
    writeFile("bedres", text);
    writeFile("boogie", "");
    EXPECT_EXIT(readBedres(), testing::ExitedWithCode(253), "") << c.label;
    EXPECT_TRUE(endsWith(readFile("boogie"), "Error in reading bedres file: line " + std::to_string(c.line) + "\n"))
        << c.label << ": " << readFile("boogie");
  }
}

TEST_F(BedResultFile, OtherSizesEndTheRun) {
  generateChannel();
  setBed(2);
  print_bedres();
  std::string text = readFile("bedres.t");
  text.replace(text.find("K 13 7 11 1"), 11, "K 13 8 12 1");
  writeFile("bedres", text);
  writeFile("boogie", "");
  EXPECT_EXIT(readBedres(), testing::ExitedWithCode(253), "");
  EXPECT_EQ(readFile("boogie"),
            "Error in reading bedres file: array size is not correct\n"
            "Number of bedres grid lines in j direction is 8, and in control file 7.\n"
            "Number of bedres grid lines in k direction is 12, and in control file 11.\n");
}

}  // namespace
