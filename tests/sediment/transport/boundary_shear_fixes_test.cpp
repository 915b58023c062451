// k of boundary bottom cells on a row of three cells, west to east, with
// one boundary face on the east side of the easternmost cell.
#include "sediment/transport/boundary_shear_fixes.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "sediment/transport/tiny_grid.h"
#include "startup/control_reader.h"

namespace {

class BoundaryShearFixes : public ::testing::Test {
 protected:
  void SetUp() override {
    kreadDefaults();
    grid_.reset();  // a table set up again is bound anew
    grid_ = std::make_unique<TinyGrid>(4, 1, 0, 0);
    Ccelle[1] = 2;
    Ccelle[2] = 3;
    Ccellw[2] = 1;
    Ccellw[3] = 2;
    Ckinen[1] = 0.01;
    Ckinen[2] = 0.02;
    Ckinen[3] = 0.05;
    for (int c = 1; c <= 3; ++c) Ckdist[c] = 0.2;
    Fcell1[1] = 3;
    Ftype1[1] = 2;
    for (DischargeGroup &g : DischargeStruct) g.faceCount = 0;
  }
  void TearDown() override {
    for (DischargeGroup &g : DischargeStruct) g.faceCount = 0;
    grid_.reset();
  }
  static void group(int type) {
    DischargeStruct[3].type = type;
    DischargeStruct[3].faceCount = 1;
    DischargeStruct[3].faces[0] = 1;
  }
  std::unique_ptr<TinyGrid> grid_;
};

TEST_F(BoundaryShearFixes, InflowCopiesKFromInside) {
  struct Row {
    int flag;
    bool secondCell;
    double k;
  };
  const Row rows[] = {{1, true, 0.02}, {2, true, 0.01}, {12, true, 0.01}, {2, false, 0.02}, {20, true, 0.02}};
  for (const Row &r : rows) {
    SetUp();
    group(1);
    FlagZeroGradSedim = r.flag;
    if (!r.secondCell) Ccellw[2] = 0;
    computeZeroGradSedim();
    EXPECT_EQ(Ckinen[3], r.k) << "F 320 " << r.flag;
  }
  // The face seen from its other side: west side of cell 1, east inward.
  SetUp();
  group(1);
  Fcell1[1] = 0;
  Fcell2[1] = 1;
  Ftype2[1] = 4;
  FlagZeroGradSedim = 2;
  computeZeroGradSedim();
  EXPECT_EQ(Ckinen[1], 0.05);
  // A face on an upper cell of its column is left alone.
  SetUp();
  group(1);
  Ccellb[3] = 4;
  FlagZeroGradSedim = 1;
  computeZeroGradSedim();
  EXPECT_EQ(Ckinen[3], 0.05);
}

TEST_F(BoundaryShearFixes, OutflowIsOnlyLimited) {
  group(0);
  FlagZeroGradSedim = 1;
  computeZeroGradSedim();
  EXPECT_EQ(Ckinen[3], 0.05) << "inflow groups only";
  FlagZeroGradSedim = 20;
  computeZeroGradSedim();
  EXPECT_EQ(Ckinen[3], 0.02);
  FlagZeroGradSedim = 21;
  computeZeroGradSedim();
  EXPECT_EQ(Ckinen[3], 0.01);
  Ckinen[3] = 0.001;
  FlagZeroGradSedim = 20;
  computeZeroGradSedim();
  EXPECT_EQ(Ckinen[3], 0.001) << "never raised";
}

TEST_F(BoundaryShearFixes, OutflowFixInShallowWater) {
  group(0);
  outflowFixShear = 0.6;
  outflowFixDepth = 0.5;
  computeOutflowFix();
  EXPECT_NEAR(300.0 * Ckinen[3], 15.6, 1e-12) << "a 0.4 m column";
  // Exactly as deep as the limit: unchanged; inflow groups: unchanged.
  Ckdist[3] = 0.25;
  computeOutflowFix();
  EXPECT_NEAR(300.0 * Ckinen[3], 15.6, 1e-12) << "a 0.5 m column";
  Ckdist[3] = 0.1;
  group(1);
  computeOutflowFix();
  EXPECT_NEAR(300.0 * Ckinen[3], 15.6, 1e-12) << "inflow";
}

}  // namespace
