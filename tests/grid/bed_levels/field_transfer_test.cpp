// The fields of a transient run follow their water columns through a
// regeneration: columns that lose or gain cells, columns that fall dry and
// columns that become wet, the mass-keeping of the concentrations, the
// previous fields afterwards, the pressure test and the mud layer's error.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

class FieldTransfer : public GridFixture {
 protected:
  // The case read with a transient time step and the extra data sets, and its
  // first grid made at the levels of its "koosurf".
  void generate(const std::string &caseName, const std::string &extra) {
    generateFrom(caseFile(caseName, "control") + "F 33 1.0 1\n" + extra, caseFile(caseName, "koosurf"));
  }

  // The same from a control text of its own, the non-erodible level 10 m
  // below the bed as the default block lays it.
  static void generateFrom(const std::string &controlText, const std::string &koosurf) {
    ControlStream control(controlText);
    kreadPass(control);
    ASSERT_EQ(sialloc(), 0);
    ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
    writeFile("koosurf", koosurf);
    readKoosurf();
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = zval[i][j][1] - 10.0;
    }
    ArmapMake();
    regenerate();
  }

  // The grid-change sequence of the surface update.
  static void regenerate() {
    ASSERT_EQ(Unstructure(), 1);
    metric();
    BedMake();
  }

  static void setLevel(double level) {
    const GridBlock &b = block[1];
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) zval[i][j][znumber] = level;
    }
  }

  // What the surface tail copies just before it regenerates; the
  // concentrations' previous values are those the time loop left.
  static void keepFields() {
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel_old[c] = Cxvel[c];
      Cyvel_old[c] = Cyvel[c];
      Czvel_old[c] = Czvel[c];
      Cpres_old[c] = Cpres[c];
      Ckinen_old[c] = Ckinen[c];
      Cepsilon_old[c] = Cepsilon[c];
      Cconc_old[1][c] = Cconc[1][c];
    }
  }

  static int column(int i, int j) { return pointbed[i][j]; }

  // u of the cells of column (i, j), bottom up.
  static std::vector<double> columnU(int i, int j) {
    const int b = column(i, j);
    std::vector<double> u;
    for (int k = 0; k < Bnocells[b]; ++k) u.push_back(Cxvel[Bcellt[b] + k]);
    return u;
  }

  // Every column gets u = the index of the cell in its column and a uniform
  // concentration.
  static void indexFields(double concentration) {
    for (int b = 1; b <= NoBCells; ++b) {
      for (int k = 0; k < Bnocells[b]; ++k) {
        Cxvel[Bcellt[b] + k] = k;
        Cconc[1][Bcellt[b] + k] = concentration;
      }
    }
  }

  static void uniformFields(double u, double p, double k, double e) {
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = u;
      Cyvel[c] = Czvel[c] = 0.0;
      Cpres[c] = p;
      Ckinen[c] = k;
      Cepsilon[c] = e;
      Cconc[1][c] = 0.01;
    }
  }

  static void expectColumn(const std::vector<double> &got, const std::vector<double> &want, double tolerance) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], tolerance) << "cell " << k;
  }
};

// The bank case at level 1.0 then 0.5: rows 2 and 3 go from 9 to 6 cells,
// the bank row falls dry.
struct FallingCase {
  const char *name;
  const char *f147;  // "" for the defaults
  std::vector<double> u;
  double concentration;  // of every cell of rows 2 and 3 afterwards
};

class FallingLevel : public FieldTransfer, public ::testing::WithParamInterface<FallingCase> {};

TEST_P(FallingLevel, ColumnsKeepTheirProfile) {
  const FallingCase &t = GetParam();
  generate("bank", t.f147);
  ASSERT_EQ(NoCells, 320);
  indexFields(0.01);
  keepFields();
  setLevel(0.5);
  regenerate();
  ASSERT_EQ(NoCells, 180);
  EXPECT_DOUBLE_EQ(MaxDepth, 1.0);
  for (int j = 2; j <= 3; ++j) {
    for (int i = 2; i <= 11; ++i) {
      ASSERT_EQ(Bnocells[column(i, j)], 6);
      ASSERT_EQ(Bnocells_old[column(i, j)], 9);
      expectColumn(columnU(i, j), t.u, 1e-9);
      for (int k = 0; k < 6; ++k) EXPECT_NEAR(Cconc[1][Bcellt[column(i, j)] + k], t.concentration, 1e-12);
    }
  }
  for (int i = 2; i <= 11; ++i) {
    EXPECT_EQ(Bnocells[column(i, 5)], 0);
    EXPECT_EQ(Bcellt[column(i, 5)], 0);
  }
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_EQ(Cxvel_old[c], Cxvel[c]);
    ASSERT_EQ(Cconc_old[1][c], Cconc[1][c]);
    ASSERT_EQ(Cconc[0][c], Cconc[1][c]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bank, FallingLevel,
    ::testing::Values(FallingCase{"MassKept", "", {0, 1.75, 3.25, 4.75, 6.25, 8}, 0.02},
                      FallingCase{"RelativeIndex", "F 147 20 1 2 0.2 1 1\n", {0, 2, 3.5, 5, 6.5, 8}, 0.01},
                      FallingCase{"ByLevel", "F 147 20 0 2 0.2 1 1\n", {0, 0.625, 1.375, 2.125, 2.875, 8}, 0.01},
                      FallingCase{"OutOfRangeActsAsOne", "F 147 20 7 2 0.2 1 1\n", {0, 2, 3.5, 5, 6.5, 8}, 0.01}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FieldTransfer, OutOfRangeMethodWarnsOnce) {
  generate("bank", "F 147 20 7 2 0.2 1 1\n");
  indexFields(0.01);
  keepFields();
  setLevel(0.5);
  regenerate();
  setLevel(1.0);
  regenerate();
  const std::string log = readFile("boogie");
  const std::string warning = "Warning: the second value of F 147 is 7";
  ASSERT_NE(log.find(warning), std::string::npos) << log;
  EXPECT_EQ(log.find(warning, log.find(warning) + 1), std::string::npos);
}

// The bank at 0.5 then 1.0: the bank row becomes wet and is filled from its
// wet neighbours.
class RisingLevel : public FieldTransfer {
 protected:
  void rise(const std::string &extra) {
    generate("bank", extra);
    setLevel(0.5);
    regenerate();
    ASSERT_EQ(NoCells, 180);
    uniformFields(0.5, 1000.0, 1e-3, 1e-4);
    keepFields();
    setLevel(1.0);
    regenerate();
    ASSERT_EQ(NoCells, 320);
  }
};

TEST_F(RisingLevel, NewlyWetColumnsTakeTheirNeighbours) {
  rise("");
  const double u[] = {0.1, 0.12, 0.124};
  for (int i = 2; i <= 4; ++i) EXPECT_NEAR(Cxvel[Bcellt[column(i, 5)]], u[i - 2], 1e-12) << i;
  EXPECT_NEAR(Cxvel[Bcellt[column(11, 5)]], 0.125, 1e-7);
  for (int i = 2; i <= 11; ++i) {
    const int b = column(i, 5), c = Bcellt[b];
    EXPECT_EQ(Bnocells_old[b], 0);
    ASSERT_GT(Bnocells[b], 1);
    EXPECT_DOUBLE_EQ(Cpres[c], 1000.0);
    EXPECT_DOUBLE_EQ(Ckinen[c], 1e-3);
    EXPECT_DOUBLE_EQ(Cepsilon[c], 1e-4);
    for (int k = 0; k < Bnocells[b]; ++k) {
      EXPECT_EQ(Cxvel[c + k], Cxvel[c]);
      EXPECT_EQ(Cpres[c + k], Cpres[c]);
      EXPECT_EQ(Cconc[1][c + k], 0.0);
    }
  }
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_EQ(Cxvel_old[c], Cxvel[c]);
    ASSERT_EQ(Cyvel_old[c], Cyvel[c]);
    ASSERT_EQ(Czvel_old[c], Czvel[c]);
    ASSERT_EQ(Cpres_old[c], Cpres[c]);
    ASSERT_EQ(Ckinen_old[c], Ckinen[c]);
    ASSERT_EQ(Cepsilon_old[c], Cepsilon[c]);
    ASSERT_EQ(Cconc_old[1][c], Cconc[1][c]);
  }
}

// The first variant reads only the previous grid's values of columns wet
// before: the bank row sees only the row beside it.
TEST_F(RisingLevel, FirstVariantTakesOnlyColumnsWetBefore) {
  rise("F 147 20 2 0 0.2 1 1\n");
  for (int i = 2; i <= 11; ++i) EXPECT_NEAR(Cxvel[Bcellt[column(i, 5)]], 0.1, 1e-12) << i;
}

// The cross-section variants: 3 and 4 copy the pressure of the nearest
// column wet before in the same cross-section, 5 reads the columns through
// the structured grid.
struct CrossSectionCase {
  const char *name;
  const char *f147;
  double u;  // at (2, 5)
};

class CrossSection : public RisingLevel, public ::testing::WithParamInterface<CrossSectionCase> {};

TEST_P(CrossSection, BankRowIsFilled) {
  const CrossSectionCase &t = GetParam();
  Iter = 5;
  rise(t.f147);
  for (int i = 2; i <= 11; ++i) EXPECT_DOUBLE_EQ(Cpres[Bcellt[column(i, 5)]], 1000.0) << i;
  EXPECT_NEAR(Cxvel[Bcellt[column(2, 5)]], t.u, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Bank, CrossSection,
                         ::testing::Values(CrossSectionCase{"CopyAfter", "F 147 20 2 3 0.2 1 1\n", 0.1},
                                           CrossSectionCase{"CopyFirst", "F 147 20 2 4 0.2 1 1\n", 0.1},
                                           CrossSectionCase{"ByColumns", "F 147 20 2 5 0.2 1 1\n", 0.1}),
                         [](const auto &info) { return std::string(info.param.name); });

// The fifth variant without any neighbour holding a value: the bank row
// starts at rest under the mean pressure of its cross-section.
TEST_F(RisingLevel, FifthVariantFallsBackOnTheCrossSectionMean) {
  generate("bank", "F 147 0 2 5 0.2 1 1\n");
  setLevel(0.5);
  regenerate();
  uniformFields(0.5, 1000.0, 1e-3, 1e-4);
  keepFields();
  setLevel(1.0);
  regenerate();
  for (int i = 2; i <= 11; ++i) {
    const int c = Bcellt[column(i, 5)];
    EXPECT_DOUBLE_EQ(Cpres[c], 1000.0);
    EXPECT_EQ(Cxvel[c], 0.0);
    EXPECT_EQ(Ckinen[c], 0.0);
  }
}

// The channel deepens from 1 m to 2 m and keeps its nine cells: the
// concentrations are thinned by the depth ratio, the velocities only with F 518.
struct DeepeningCase {
  const char *name;
  const char *extra;
  double u;
};

class Deepening : public FieldTransfer, public ::testing::WithParamInterface<DeepeningCase> {};

TEST_P(Deepening, FieldsScaleWithTheDepth) {
  const DeepeningCase &t = GetParam();
  generate("channel", t.extra);
  uniformFields(1.0, 1000.0, 1e-3, 1e-4);
  keepFields();
  setLevel(2.0);
  regenerate();
  for (int b = 1; b <= NoBCells; ++b) {
    ASSERT_EQ(Bnocells[b], 9);
    for (int k = 0; k < 9; ++k) {
      const int c = Bcellt[b] + k;
      EXPECT_NEAR(Cconc[1][c], 0.005, 1e-12);
      EXPECT_NEAR(Cxvel[c], t.u, 1e-12);
      EXPECT_DOUBLE_EQ(Cpres[c], 1000.0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Channel, Deepening,
                         ::testing::Values(DeepeningCase{"VelocitiesKept", "", 1.0},
                                           DeepeningCase{"VelocitiesScaled", "F 518 1\n", 0.5}),
                         [](const auto &info) { return std::string(info.param.name); });

// Columns of one cell, with F 518 and a column twice as deep as before
// (R = S = 0.5): a single old cell gives every new cell its values, a single
// new cell takes the mean of the old column times S (the sum times S/m).
TEST_F(FieldTransfer, SingleCellColumns) {
  generate("channel", "F 518 1\n");
  indexFields(0.01);
  for (int c = 1; c <= NoCells; ++c) Cpres[c] = 1000.0;
  keepFields();
  // The previous grid is this one, but for the two columns changed by hand.
  for (int b = 1; b <= NoBCells; ++b) {
    Bcellt_old[b] = Bcellt[b];
    Bnocells_old[b] = Bnocells[b];
    Bdepth_old[b] = Bdepth[b];
  }
  const int spread = column(2, 2), merged = column(3, 2);
  const int ob = Bcellt[spread];
  Cxvel_old[ob] = 3.0;
  Bnocells_old[spread] = 1;
  Bnocells[merged] = 1;
  for (const int b : {spread, merged}) {
    Bdepth_old[b] = 1.0;
    Bdepth[b] = 2.0;
  }
  FlagNeedsToBeInterpolated = 1;
  InterpolateGrid();
  for (int k = 0; k < 9; ++k) {
    EXPECT_DOUBLE_EQ(Cxvel[ob + k], 1.5) << k;
    EXPECT_DOUBLE_EQ(Cpres[ob + k], 1000.0) << k;
    EXPECT_DOUBLE_EQ(Cconc[1][ob + k], 0.005) << k;
  }
  const int c = Bcellt[merged];
  EXPECT_DOUBLE_EQ(Cxvel[c], 2.0);
  EXPECT_DOUBLE_EQ(Cpres[c], 500.0);
  EXPECT_DOUBLE_EQ(Cconc[1][c], 0.0025);
}

// F 1 D with the pressure test: a newly wet column left without pressure is
// reported with the F 147 hint of the first variant.
TEST_F(FieldTransfer, PressureTestReportsAnUnfilledColumn) {
  generate("bank", "F 1 D\nF 147 0 2 0 0.2 1 1\n");
  setLevel(0.5);
  regenerate();
  uniformFields(0.5, 1000.0, 1e-3, 1e-4);
  keepFields();
  Iter = 3;
  setLevel(1.0);
  regenerate();
  const std::string log = readFile("boogie");
  const int b = column(2, 5);
  const std::string expected = std::string("Error in extrapolation, non-interpolated pressure\n") +
                               "The problem could be due to the choise on the F 147 data set in the control file.\n" +
                               "BCell = " + std::to_string(b) + ", pointbed = " + std::to_string(b) +
                               ", Cellno = " + std::to_string(Bcellt[b]) + "\n";
  EXPECT_NE(log.find(expected), std::string::npos) << log;
  EXPECT_NE(log.find("Iter 3, Grid no. [2,5]\n"), std::string::npos);
  EXPECT_EQ(Cpres[Bcellt[b]], 0.0);
}

// ---- The mud layer ----

const char *kMudControl = "F 2 Y\nG 1 13 13 11 1\nF 33 1.0 4\nF 236 2 0 0 0.8\n";

// The layer of the first grid (one 10 m cell per column) carried to the next:
// its pressure is hydrostatic from the top of each stack, and the cells
// above the mobile layer's level are marked mobile.
TEST_F(FieldTransfer, MudLayerPressureAndMobileCells) {
  generateFrom(kMudControl, caseFile("channel", "koosurf"));
  const GridBlock &layer = block[2];
  for (int b = layer.FirstBedCell; b <= layer.LastBedCell; ++b) Bthixolev[b] = -8.0;
  Iter = 1;
  regenerate();
  ASSERT_EQ(NoBlocks, 2);
  for (int c = layer.FirstCell; c <= layer.LastCell; ++c) {
    EXPECT_NEAR(Cpres[c], 9810.0 * 5.0, 1e-9) << c;
    EXPECT_EQ(Cthixolev[c], 2) << c;
    EXPECT_EQ(Cthixorat[c], 1.2) << c;
    EXPECT_EQ(Cpres_old[c], Cpres[c]);
  }
  // The water cells are cleared, not marked.
  EXPECT_EQ(Cthixolev[1], 0);
  EXPECT_EQ(Cthixorat[1], 0.0);
}

// F 339 with a slide layer: a layer height that is not a number ends the run.
TEST_F(FieldTransfer, MudLayerHeightNotANumber) {
  generateFrom(std::string(kMudControl) + "F 339 1\n", caseFile("channel", "koosurf"));
  const GridBlock &layer = block[2];
  for (int b = layer.FirstBedCell; b <= layer.LastBedCell; ++b) {
    Bthixolev[b] = -2.0;
    Bcellth[b] = 1;
  }
  Iter = 2;
  regenerate();
  const int b = pointbed[6][10];
  ASSERT_GE(Bnocells[b], 2);
  const int ot = Ccellt[Bcellt[b]];
  Bcelltt_old[b] = ot;
  Bnocells_old[b] = Bnocells[b] + 1;
  Ckdist[ot] = std::numeric_limits<double>::quiet_NaN();
  FlagNeedsToBeInterpolated = 1;
  EXPECT_EXIT(InterpolateGrid(), ::testing::ExitedWithCode(248), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error in extrapolation, AAA\n\n")) << readFile("boogie");
}

}  // namespace
