// The layered bed for ParaView and the fraction series under the timed
// points, on the channel (10 x 4 columns) with a three-layer bed of two
// sizes set by hand: element counts, the median and dominant sizes, the
// names of several sections in one output, and the layer lines of the T
// points.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/visualisation/bed_layer_views.h"
#include "files/channel_fields.h"
#include "files/file_services.h"
#include "files/monitoring/fraction_series.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/output_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

class BedLayers : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    NoBedLayers = 3;
    FlagTSC = 3;
    generateChannel("G 1 13 7 11 2\nS 1 0.004 0.1\nS 2 0.001 0.01\n");
    ASSERT_EQ(lnumber, 2);
    for (int b = 1; b <= NoBCells; ++b) BlayerTop[b] = -1;
  }

  // Gives column (i, j) `layers` layers of `thickness`, 40 % coarse.
  static void layer(int i, int j, int layers, double thickness) {
    const int b = pointbed[i][j];
    BlayerTop[b] = layers - 1;
    for (int l = 0; l < layers; ++l) {
      BSedDistrib[l][0][b] = thickness;
      BSedDistrib[l][1][b] = 0.4;
      BSedDistrib[l][2][b] = 0.6;
    }
  }
};

std::string valuesAfter(const std::string &text, const std::string &header) {
  const std::size_t at = text.find(header);
  if (at == std::string::npos) return "";
  const std::size_t start = at + header.size();
  return text.substr(start, text.find('\n', start) - start);
}

TEST_F(BedLayers, SectionAlongTheMiddleLine) {
  const GridBlock &b = block[1];
  const int j = (b.j1 + b.j2) / 2;
  layer(b.i1, j, 1, 0.8);
  layer(b.i1 + 1, j, 2, 0.5);
  writeParaBed3(1, 0);
  const std::string text = readFile("ParaBed2D.vtk");
  EXPECT_NE(text.find("DATASET POLYDATA\nPOINTS 12 double\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nPOLYGONS 3 15\n4 0 1 2 3\n4 4 5 6 7\n4 8 9 10 11\n\nCELL_DATA 3\n"), std::string::npos) << text;
  // D50 = 0.4 coarse + 0.6 fine; the dominant size is the fine one. Each
  // column has a line of values, an empty one without layers.
  char d50[32];
  std::snprintf(d50, sizeof d50, " %lg", 0.4 * 0.004 + 0.6 * 0.001);
  EXPECT_EQ(valuesAfter(text, "SCALARS D50 float 1\nLOOKUP_TABLE default\n"), d50);
  EXPECT_EQ(valuesAfter(text, "SCALARS Dominant_size float 1\nLOOKUP_TABLE default\n"), " 0.001000");
  EXPECT_EQ(text.find("Tracer"), std::string::npos);
  EXPECT_STREQ(mc_message, "have written ParaBed file  ");

  // Line 1 and a line beyond the block write nothing.
  std::remove("ParaBed2D.vtk");
  writeParaBed3(1, 1);
  writeParaBed3(1, b.j2 + 1);
  EXPECT_EQ(readFile("ParaBed2D.vtk"), "");
}

TEST_F(BedLayers, StackedLayersOfTheBlock) {
  const GridBlock &b = block[1];
  layer(b.i1, b.j1, 3, 0.2);
  layer(b.i2, b.j2, 1, 0.1);
  writeParaBed4(1);
  const std::string text = readFile("ParaBed3D.vtk");
  EXPECT_NE(text.find("DATASET UNSTRUCTURED_GRID\nPOINTS 32 double\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nCELLS 4 36\n8 0 1 2 3 4 5 6 7\n"), std::string::npos);
  EXPECT_NE(text.find("\nCELL_TYPES 4\n12\n12\n12\n12\n\nCELL_DATA 4\n"), std::string::npos);
  EXPECT_EQ(valuesAfter(text, "SCALARS Sediment_fraction_2 float 1\nLOOKUP_TABLE default\n"), "0.6 0.6 0.6 ");
}

// Several sections of one output each keep a file of their own.
TEST_F(BedLayers, SeveralSectionsTakeTheirLineNumbers) {
  PrintArrayFlags[5] = 1;
  tracerJ1 = 2;
  tracerJ2 = 4;
  sprintflow();
  for (int j : {2, 3, 4}) EXPECT_NE(readFile("ParaBed2D_" + std::to_string(j) + ".vtk"), "") << j;
  EXPECT_EQ(readFile("ParaBed2D.vtk"), "");
  // One line alone keeps the single name.
  tracerJ1 = tracerJ2 = 3;
  sprintflow();
  EXPECT_NE(readFile("ParaBed2D.vtk"), "");
}

// Four columns with layers 0.2 m thick: the middles 0.1 and 0.3 below the
// bed, and the mixture of the top layers once 0.3 m is passed.
TEST_F(BedLayers, FractionSeriesUnderTimedPoints) {
  const GridBlock &b = block[1];
  const int i = b.i1 + 2, j = b.j1 + 1;
  for (int di = 0; di <= 1; ++di)
    for (int dj = 0; dj <= 1; ++dj) layer(i + di, j + dj, 3, 0.2);
  writeFile("interpol", "T 10 " + std::to_string(xval[i][j]) + " " + std::to_string(yval[i][j]) + "\nT 20 " +
                            std::to_string(xval[i][j]) + " " + std::to_string(yval[i][j]) + " T 20 0 0\n");
  NoInterpol = -1;
  stimet = 10.0;  // equal to the first time: it waits
  print_fractions();
  EXPECT_EQ(readFile("interres30"), "");
  stimet = 25.0;  // all three fire, in file order
  print_fractions();
  const std::vector<std::string> lines = linesOf(readFile("interres30"));
  ASSERT_GE(lines.size(), 2u) << readFile("interres30");
  char head[96];
  std::snprintf(head, sizeof head, "F %lf %lf 25.000000 sec.  2 0.100000 0.400000 0.600000 ", xval[i][j], yval[i][j]);
  EXPECT_EQ(lines[0], head);
  EXPECT_EQ(lines[1], "1 0.300000 0.400000 0.600000 ");
  const std::vector<std::string> mixtures = linesOf(readFile("interres40"));
  ASSERT_FALSE(mixtures.empty());
  EXPECT_NE(mixtures[0].find("Thick: 0.400000 No_layers: 2 Frac: 0.400000 0.600000 "), std::string::npos)
      << mixtures[0];
  // Each point fires once.
  const std::string before = readFile("interres30");
  stimet = 30.0;
  print_fractions();
  EXPECT_EQ(readFile("interres30"), before);
}

}  // namespace
