// The output variables of G 24: the names each writer prints, the
// percentile diameter and temperature gradient worked by hand, a dry
// column, and the letters whose tables are absent writing 0.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "files/visualisation/output_variables.h"
#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "startup/control_reader.h"

namespace {

std::string nameOf(char letter, int level, int size, VisWriter writer, int subcode = 0) {
  const TecStrucEntry e{level, size, subcode, letter};
  const int layer = writer == VisWriter::TecplotPlan ? tecplotPlanLayer(e) : paraViewLayer(e);
  char name[128];
  variableName(e, writer, layer, name, sizeof name);
  return name;
}

struct NameCase {
  char letter;
  int level, size, subcode;
  const char *tecPlan, *tec3D, *pvPlan, *pv3D;
};

TEST(OutputVariables, NamesOfEachWriter) {
  kreadDefaults();
  di_graph = 0.05;
  NoBedLayers = 3;
  FlagFractionsPrint = 0;
  FlagPlastics = 0;
  const NameCase cases[] = {
      {'a', 0, 0, 0, "D 5 level 0", "D 5 layer 1", "D_5_level_1", "D_5_level1"},
      {'a', 3, 0, 0, "D 5 level 3", "D 5 layer 3", "D_5_level_3", "D_5_level3"},
      {'q', 3, 1, 0, "Water Quality 3 ", "Water Quality 3 ", "Water_Quality_3 ", "Water_Quality_1 "},
      {'W', 2, 0, 0, "Residual vertical velocity 2 ", "Residual vertical velocity 2 ", "Residual_vertical_velocity_2",
       "Residual_vertical_velocity"},
      {'H', 2, 0, 0, "Residual horizontal velocity 2 ", "Residual horizontal velocity 2 ",
       "Residual_horizontal_velocity_2", "Residual_horizontal_velocity"},
      {'E', 4, 0, 0, "Residual epsilon 4 ", "Residual epsilon 4 ", "Residual_epsilon_4", "Residual_epsilon"},
      {'L', 3, 0, 0, "Sediment layer 3 thickness", "Top sediment layer thickness", "Sediment_layer_thickness_level_3",
       "Top_sediment_layer_thickness"},
      {'N', 2, 0, 0, "Bed solid fraction layer 2 ", "Error", "Bed_sediment_fraction_layer_2", "Error"},
      {'f', 2, 1, 0, "Bed sediment fraction, size 1, level 2", "Bed sediment fraction, size 1",
       "Bed_sediment_fraction_layer_2_size_1", "Bed_sediment_fraction_layer_1_size_1"},
      {'j', 3, 0, 0, "Error", "Error", "Bed_cohesion_3", "Bed_cohesion_3"},
      {'i', 0, 0, 0, "No. cells vertical direction", "No_cells vertical direction", "No_cells_vertical_direction",
       "No_cells_vertical_direction"},
      {'m', 0, 0, 0, "Bed shear", "Bed_shear", "Bed_shear", "Bed_shear"},
      {'p', 2, 0, 0, "Pressure 2 ", "Pressure_2 ", "Pressure_2", "Pressure"},
      {'I', 1, 0, 0, "Eddy-viscosity-vert1 ", "Eddy-viscosity-vert 1 ", "Error", "Error"},
      {'O', 0, 1, 0, "Potential bed concentration ", "Potential bed concentration ", "Potential_sediment_concentration_1",
       "Potential_bed_concentration"},
      {'c', 2, 1, 0, "Sediment conc. lev 2 size 1", "Sediment conc. lev 2 size 1", "Sediment_conc_lev_2_size_1",
       "Sediment_conc_size_1"},
      {'g', 0, 0, 0, "Error", "Water_level", "Error", "Error"},
      {'Z', 0, 0, 104, "Error", "Error", "Error", "Tracer_fraction"},
      {'Z', 0, 0, 105, "Error", "Error", "Bed_concentration", "Bed_concentration"},
      {'Z', 0, 0, 106, "Error", "Error", "Error", "Error"},
      {'Z', 0, 0, 107, "Error", "Error", "Bminwaterlevel", "Bminwaterlevel"},
      {'Z', 0, 2, 102, "Error", "Error", "Error", "Fraction_size_2_[]"},
      {'Z', 0, 0, 555, "Error", "Error", "Error", "Error"},
      {'#', 0, 0, 0, "Error", "Error", "Error", "Error"},
  };
  for (const NameCase &c : cases) {
    SCOPED_TRACE(std::string(1, c.letter) + " " + std::to_string(c.level) + " " + std::to_string(c.subcode));
    EXPECT_EQ(nameOf(c.letter, c.level, c.size, VisWriter::TecplotPlan, c.subcode), c.tecPlan);
    EXPECT_EQ(nameOf(c.letter, c.level, c.size, VisWriter::Tecplot3D, c.subcode), c.tec3D);
    EXPECT_EQ(nameOf(c.letter, c.level, c.size, VisWriter::ParaViewPlan, c.subcode), c.pvPlan);
    EXPECT_EQ(nameOf(c.letter, c.level, c.size, VisWriter::ParaView3D, c.subcode), c.pv3D);
  }
  // Names that depend on the options that fill the variable.
  FlagFractionsPrint = 1;
  FlagPlastics = 1;
  EXPECT_EQ(nameOf('Z', 0, 0, VisWriter::ParaViewPlan, 104), "Tracer_fractions");
  EXPECT_EQ(nameOf('Z', 0, 0, VisWriter::ParaViewPlan, 106), "Plastic_deposits");
  // With two bed layers the ParaView files show the level itself.
  NoBedLayers = 2;
  EXPECT_EQ(nameOf('a', 0, 0, VisWriter::ParaViewPlan), "D_5_level_1");
  EXPECT_EQ(nameOf('a', 1, 0, VisWriter::ParaViewPlan), "D_5_level_2");
}

TEST(OutputVariables, PercentileDiameter) {
  gsize[1] = 4e-3;
  gsize[2] = 2e-3;
  gsize[3] = 1e-3;
  const double f[4] = {0.0, 0.2, 0.3, 0.5};
  EXPECT_NEAR(percentileDiameter(f, 3, 0.5), 1.625e-3, 1e-15);
  // The finest class alone reaches the fraction: its diameter.
  const double fine[4] = {0.0, 0.05, 0.05, 0.9};
  EXPECT_DOUBLE_EQ(percentileDiameter(fine, 3, 0.4), gsize[3]);
  // No class reaches it: the coarsest diameter.
  EXPECT_DOUBLE_EQ(percentileDiameter(f, 3, 0.999), gsize[1]);
  // One size class: its diameter whatever the fractions.
  const double one[2] = {0.0, 0.3};
  EXPECT_DOUBLE_EQ(percentileDiameter(one, 1, 0.5), gsize[1]);
  EXPECT_DOUBLE_EQ(percentileDiameter(one, 1, 0.1), gsize[1]);
}

class OutputValues : public GridFixture {
 protected:
  // One block of columns i1..i2, j1..j2, 1 m squares, `cells` cells over 1 m.
  static void columns(int nz, int i1, int i2, int j1, int j2, int cells) {
    allocate(i2 + 3, j2 + 3, nz);
    flatGrid(i1 - 1, i2, j1 - 1, j2, 1.0);
    std::vector<double> levels;
    for (int m = 0; m <= cells; ++m) levels.push_back(1.0 * m / cells);
    for (int i = i1 - 1; i <= i2; ++i) {
      for (int j = j1 - 1; j <= j2; ++j) setLineLevels(i, j, levels);
    }
    setColumnCells(addBlock(i1, i2, j1, j2), cells);
    buildBlocks();
    metric();
  }
  static double value(char letter, int c, int b, VisWriter w = VisWriter::ParaView3D, int size = 0, int subcode = 0,
                      int level = 1) {
    const TecStrucEntry e{level, size, subcode, letter};
    const OutputVariable v = resolveVariable(e, w, paraViewLayer(e));
    return v.cellValue(v, c, b);
  }
};

class TemperatureGradient : public OutputValues, public testing::WithParamInterface<int> {};

// Component 0 of the top cell and the cells below it, in the two layer
// counts the gradient is calibrated for; 0 for any other.
TEST_P(TemperatureGradient, FromTheTopCellDown) {
  const int nz = GetParam();
  NoComponents = 1;
  columns(nz, 2, 2, 2, 2, 8);
  for (int c = 0; c <= NoCells; ++c) Ccomp[0][c] = c * c;
  const double T1 = 64, T2 = 49, T3 = 36, T4 = 25, T5 = 16, T6 = 9, T7 = 4, T8 = 1;
  const double expected = nz == 12   ? 0.417 * T4 + 0.444 * T3 - 0.222 * T1 - 0.639 * T2
                          : nz == 20 ? -0.1667 * T2 - 0.5 * T3 - 0.3333 * T4 + 0.4167 * T5 + 0.0833 * T6 +
                                           0.4167 * T7 + 0.0833 * T8
                                     : 0.0;
  for (int c = 1; c <= NoCells; ++c) EXPECT_NEAR(value('x', c, 0), expected, 1e-12) << c;
}
INSTANTIATE_TEST_SUITE_P(Levels, TemperatureGradient, testing::Values(12, 20, 11));

// A dry column in a plan file evaluates the dummy cell: the column
// quantities are 0 and the cell count 1.
TEST_F(OutputValues, DryColumnReadsTheDummyCell) {
  columns(4, 2, 2, 2, 2, 2);
  Cxvel[0] = 2.0;
  Cyvel[0] = 1.0;
  Ckinen[0] = 0.5;
  for (char letter : {'A', 'D', 'F', 'J'}) EXPECT_EQ(value(letter, 0, 0), 0.0) << letter;
  EXPECT_EQ(value('i', 0, 0), 1.0);
  EXPECT_DOUBLE_EQ(value('V', 0, 0), std::sqrt(5.0));
  EXPECT_DOUBLE_EQ(value('k', 0, 0), 0.5);
  // A wet column: two cells of 0.5 m.
  for (int c = 1; c <= 2; ++c) {
    Cxvel[c] = 3.0 * c;
    Cyvel[c] = 4.0 * c;
  }
  EXPECT_EQ(value('i', 1, 0), 2.0);
  EXPECT_EQ(value('i', 2, 0), 1.0);
  EXPECT_DOUBLE_EQ(value('D', 2, 0), (0.25 * 5 + 0.25 * 10) / (0.5 + 1e-20));
  EXPECT_NEAR(value('A', 1, 0), (15.0 * 1e6 / 2.0) * 1.0, 1e-6);
  EXPECT_DOUBLE_EQ(value('F', 1, 0), 15.0 / (2 * std::sqrt(9.81) + 1e-20));
}

// Letters whose option is off read no table: they write 0.
TEST_F(OutputValues, AbsentTablesWriteZero) {
  columns(4, 2, 2, 2, 2, 2);
  ASSERT_EQ(Ccomp, nullptr);
  ASSERT_EQ(Bgroundwater, nullptr);
  ASSERT_EQ(Bfractionsprint, nullptr);
  ASSERT_EQ(Bminwaterlevel, nullptr);
  for (char letter : {'q', 'x', 'G', 'P', 'T', 'Q', 'E', 'H', 'K', 'R', 'W'}) {
    EXPECT_EQ(value(letter, 1, 1), 0.0) << letter;
    EXPECT_EQ(value(letter, 1, 1, VisWriter::TecplotPlan), 0.0) << letter;
  }
  for (int subcode : {104, 107, 100, 101}) EXPECT_EQ(value('Z', 1, 1, VisWriter::ParaView3D, 0, subcode), 0.0) << subcode;
  // Layers beyond the bed's: 0, not memory past the table.
  for (char letter : {'L', 'a', 'f', 'N', 'j'}) EXPECT_EQ(value(letter, 1, 1, VisWriter::ParaView3D, 1, 0, 9), 0.0);
}

TEST_F(OutputValues, ComponentsOfEachWriter) {
  NoComponents = 2;
  columns(4, 2, 2, 2, 2, 2);
  Ccomp[0][1] = 7.0;
  Ccomp[1][1] = 9.0;
  EXPECT_EQ(value('q', 1, 1, VisWriter::TecplotPlan, 1), 7.0);
  EXPECT_EQ(value('q', 1, 1, VisWriter::ParaView3D, 1), 9.0);
  // A size index that reaches lnumber but not a component.
  EXPECT_EQ(value('q', 1, 1, VisWriter::ParaViewPlan, 2), 0.0);
}

}  // namespace
