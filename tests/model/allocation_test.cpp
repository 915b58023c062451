// The global tables in process: byte counts by family at the documented
// defaults and on a small grid worked out by hand, the tables each option
// switches on, the row-pointer layout, the starting values, and the failure
// paths of the allocator (a second call, a count beyond int).
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/nests.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/series.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/table_allocator.h"
#include "startup/control_reader.h"

namespace fs = std::filesystem;
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

// Every setting that sizes a table or switches one on, at the default its
// data set documents; kreadDefaults gives the rest.
void setDocumentedDefaults() {
  kreadDefaults();
  MaxCeller = 50000;
  MaxFlater = 80000;
  MaxPunkter = 50000;
  MaxNester = 10000;
  MaxConnFlate = 1000;
  FlagResidual = 1;
  ExtrapAlgo1 = 2;
  NoBedLayers = 2;
  ArrayTimeSteps = 200;
  UMethod = 11;
  VegVars = 1;
  VegLevels = 4;
  VegTimes = 1;
  PrintArrayFlags[0] = PrintArrayFlags[1] = 1;
  SedimentSample[0][1] = 1.0;
}

// G 1 4 4 2 1 and F 65 10 10 10 1 1: 6·6 grid lines with the borders,
// 7·7 = 49 bed cells, 10 cells, faces and points, one nest, one connection.
void useSmallGrid() {
  xnumber = 4;
  ynumber = 4;
  znumber = 2;
  lnumber = 1;
  MaxCeller = MaxFlater = MaxPunkter = 10;
  MaxNester = MaxConnFlate = 1;
}

// Each test runs in its own process, in a folder of its own for "boogie".
class Allocation : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    setDocumentedDefaults();
  }
};

enum class Family { Structured, Cells, Faces, Points, Nests, GridIndex, Bed, Series, Output };

std::int64_t familyBytes(Family family) {
  TableAllocator a;
  switch (family) {
    case Family::Structured: allocateStructuredArrays(a); break;
    case Family::Cells: allocateCellTables(a); break;
    case Family::Faces: allocateFaceTables(a); break;
    case Family::Points: allocatePointTables(a); break;
    case Family::Nests: allocateNestTables(a); break;
    case Family::GridIndex: allocateGridIndexArrays(a); break;
    case Family::Bed: allocateBedCellTables(a); break;
    case Family::Series: allocateTimeSeries(a); break;
    case Family::Output: allocateOutputTables(a); break;
  }
  EXPECT_FALSE(a.failed());
  return a.bytes();
}

TEST_F(Allocation, DefaultTotalsByFamily) {
  TableAllocator a;
  std::int64_t before = 0;
  auto family = [&](void (*allocate)(TableAllocator &), std::int64_t expected, const char *name) {
    allocate(a);
    EXPECT_EQ(a.bytes() - before, expected) << name;
    before = a.bytes();
  };
  family(allocateStructuredArrays, 20106936, "structured");
  before = 0;
  a = TableAllocator();
  family(allocateCellTables, 26600016, "cells");
  family(allocateFaceTables, 11840000, "faces");
  family(allocatePointTables, 1800000, "points");
  family(allocateNestTables, 2240000, "nests");
  family(allocateLineSolverVectors, 4832, "Sqt, Spt");
  family(allocateGridIndexArrays, 7310816, "grid index");
  family(allocateConnectionList, 16000, "connFlate");
  family(allocateBedCellTables, 20565352, "bed cells");
  family(allocateTimeSeries, 0, "series");
  family(allocateOutputTables, 4980, "output");
  EXPECT_EQ(a.bytes(), 70381996);
}

TEST_F(Allocation, DefaultRunLogsBothTotals) {
  ASSERT_EQ(sialloc(), 0);
  EXPECT_STREQ(mc_message, "Initiation of arrays o.k");
  EXPECT_EQ(AllocateArrays(1, 1, 1), 70381996.0);
  EXPECT_STREQ(mc_message, "Unstructured arrays o.k     ");
  EXPECT_EQ(readFile("boogie"),
            "Have allocated        20.11 Mbytes structured arrays\n"
            "Have allocated        70.38 Mbytes unstructured arrays\n\n");
}

TEST_F(Allocation, SmallGridWorkedOutByHand) {
  useSmallGrid();
  // Structured: zval 6·6·4 doubles + 36 + 6 pointers = 1488; six 6·6 double
  // tables 6·336; Surfaces 5·36 doubles + 30 + 5 pointers = 1720; psc 336;
  // three int tables 3·192; SedSamp 400 doubles + 20 pointers = 3360: 9496.
  ASSERT_EQ(sialloc(), 0);
  // Cells 27 int + 50 double tables of 10 and Cconc 2·10 + 2 = 5256; faces
  // 1480; points 360; nests 224; Sqt, Spt 2·6 doubles; grid index 5·192 +
  // num 6·6·4 ints + 42 pointers = 1872; connFlate 16; bed cells 49 entries:
  // 8 int, 10 double, four [2][49] and BSedDistrib [3][2][49] = 11112;
  // output 4980.
  EXPECT_EQ(AllocateArrays(1, 1, 1), 25396.0);
  EXPECT_EQ(readFile("boogie"),
            "Have allocated         0.01 Mbytes structured arrays\n"
            "Have allocated         0.03 Mbytes unstructured arrays\n\n");
}

struct ConditionCase {
  const char *name;
  void (*setup)();
  Family family;
  std::int64_t bytes;          // the family's total on the small grid
  bool (*tables)() = nullptr;  // which tables exist, and their row lengths
  friend void PrintTo(const ConditionCase &c, std::ostream *os) { *os << c.name; }
};

class Condition : public Allocation, public ::testing::WithParamInterface<ConditionCase> {};

TEST_P(Condition, FamilyTotalAndTables) {
  const ConditionCase &c = GetParam();
  useSmallGrid();
  c.setup();
  EXPECT_EQ(familyBytes(c.family), c.bytes);
  if (c.tables) {
    EXPECT_TRUE(c.tables());
  }
}

// A double [r][10] cell table is 80·r + 8·r bytes; an int [10][k] one 40·k + 80.
const ConditionCase kConditions[] = {
    {"SteadyDefaults", [] {}, Family::Cells, 5256,
     [] {
       return !Catm && !Cabm && !Capm && !Csourcem && Cconc && Cconc[1] - Cconc[0] == 10 && !Cconc_old &&
              !Cxvel_old && !MGSCpoint && !Czcenter_old && Ckdist_old && Cxvel_res && !Caee && !Ccoarsenest;
     }},
    {"TwoGrainSizes", [] { lnumber = 2; }, Family::Cells, 5256 - 176 + 264 + 4 * 264,
     [] { return Catm && Cabm && Capm && Csourcem && !CinvApf; }},
    {"SedimentMode3", [] { FlagTSC = 3; }, Family::Cells, 5256 + 4 * 176, [] { return Catm && Csourcem; }},
    {"GroundwaterLevels", [] { FlagGroundwater = 1; }, Family::Cells, 5256 + 2 * 80,
     [] { return Cgroundwater && Cgroundwater_old; }},
    {"FastDriverThreeSizesFiveSourceRows", [] { FlagFastWatersolve = 1, lnumber = 3; }, Family::Cells,
     5256 + 176 + 3 * 352 + 2 * 440 + 440, [] { return Csourcem && CinvApf && Cff; }},
    {"FastDriverFiveSizes", [] { FlagFastWatersolve = 1, lnumber = 5; }, Family::Cells,
     5256 + 352 + 4 * 528 + 2 * 440, nullptr},
    {"BedLoadVector", [] { BedLoadVectorFlag = 5; }, Family::Cells, 5256 + 4 * 176,
     [] { return Caem && Canm && Casm && Cawm && !Catm; }},
    {"MultigridTwoIntegersPerCell", [] { MGSNo = 2; }, Family::Cells, 5256 + 160,
     [] { return MGSCpoint && MGSCpoint[1] - MGSCpoint[0] == 2; }},
    {"MultigridOneFiveIntegersPerCell", [] { MGSNo = 1; }, Family::Cells, 5256 + 280,
     [] { return MGSCpoint[1] - MGSCpoint[0] == 5; }},
    {"MultigridThree", [] { MGSNo = 3; }, Family::Cells, 5256 + 280, nullptr},
    {"AcceleratorFiveIntegersPerCell", [] { Flag2DAccSolver = 1; }, Family::Cells, 5256 + 280, nullptr},
    {"AcceleratorLevelsDeepenNum", [] { Flag2DAccSolver = 5; }, Family::GridIndex, 960 + 1344,
     [] { return num[0][1] - num[0][0] == 7; }},
    {"AcceleratorWithTwoCoarseGridsFiveIntegers", [] { MGSNo = 2, Flag2DAccSolver = 1; }, Family::Cells, 5256 + 280,
     [] { return MGSCpoint[1] - MGSCpoint[0] == 5; }},
    // trunc(ln(4 + 2)) + 5 = 6 levels of num for the accelerator's own count.
    {"AcceleratorOneLevelNumForItsLevels", [] { Flag2DAccSolver = 1; }, Family::GridIndex, 960 + 1200,
     [] { return num[0][1] - num[0][0] == 6; }},
    {"CoarseGridLevelsDeepenNum", [] { MGSNo = 5; }, Family::GridIndex, 960 + 1344,
     [] { return num[0][1] - num[0][0] == 7; }},
    {"ExtrapolationOneKeepsNoOldGeometry", [] { ExtrapAlgo1 = 1; }, Family::Cells, 5256 - 80,
     [] { return !Czcenter_old && !Ckdist_old; }},
    {"ExtrapolationZero", [] { ExtrapAlgo1 = 0; }, Family::Cells, 5256,
     [] { return Czcenter_old && !Ckdist_old; }},
    {"SecondOrderMomentum", [] { sou[1] = 1; }, Family::Cells, 5256 + 480, [] { return Caee && Cabb; }},
    {"SecondOrderComponents", [] { SouComp = 1; }, Family::Cells, 5256 + 480, nullptr},
    {"FreeSurface8SecondNeighbours", [] { FlagTFS = 8; }, Family::Cells, 5256 + 480, nullptr},
    {"IndependentLayers", [] { QNFlag = 1; }, Family::Cells, 5256 + 160 + 4 * 160 + 4 * 240,
     [] { return Cqncelle[1] - Cqncelle[0] == 2 && !Cqnaee; }},
    {"NestsAboveOne", [] { MaxNester = 2; }, Family::Cells, 5256 + 80, [] { return Ccoarsenest && Cinterpolnest; }},
    {"TransientCells", [] { TimeStep = 1.0; }, Family::Cells, 5256 + 7 * 80 + 176,
     [] { return Cxvel_old && CinvAp_old && Cconc_old && !Cxvel_old2; }},
    {"SecondOrderTime", [] { TimeStep = 1.0, FlagTimeOrder = 1; }, Family::Cells, 5256 + 10 * 80 + 176, nullptr},
    {"ShallowWaterFaces", [] { FlagShallowWater = 1; }, Family::Faces, 1480 + 2 * 352, [] { return FF && FG; }},
    {"NoNests", [] { MaxNester = 0; }, Family::Nests, 0, [] { return !Ncell && !Nflux; }},
    {"TwoNests", [] { MaxNester = 2; }, Family::Nests, 48 + 32 + 272 + 80 + 16, nullptr},
    {"SteadyRunHasNoSeries", [] {}, Family::Series, 0, [] { return !TimeInTime && !Cinn && !QDinn; }},
    {"TransientSeries", [] { TimeStep = 1.0; }, Family::Series, 4 * 1608 + 33768 + 6432 + 2 * 1608 + 17688,
     [] { return Cinn[1] - Cinn[0] == 20 && Winn[1] - Winn[0] == 3; }},
    {"InflowGroupsOfSizesWidenCinn", [] { TimeStep = 1.0, ArrayTimeSteps = 9, lnumber = 3; }, Family::Series,
     4 * 80 + 2560 + 320 + 2 * 80 + 880, [] { return Cinn[1] - Cinn[0] == 31; }},
    {"VegetationTwoTimesFourPerBedCell", [] { FlagDragDLL = 1; }, Family::Bed, 11112 + 4704 + 16,
     [] { return VegTime && &Bveg[1][0][0][0] - &Bveg[0][0][0][0] == 8 && Bveg[48][0][1] - Bveg[0][0][0] == 48 * 8 + 4; }},
    {"BedTablesHaveNxPlus3TimesNyPlus3Entries", [] {}, Family::Bed, 11112,
     [] { return Bconc[1] - Bconc[0] == 49 && BSedDistrib[0][1] - BSedDistrib[0][0] == 49 && !Bminwaterlevel; }},
    {"MinimumWaterLevels", [] { FlagNoGridSplit = 1; }, Family::Bed, 11112 + 2 * 392,
     [] { return Bminwaterlevel && Bminlevdh; }},
    {"SedimentMode3Bed", [] { FlagTSC = 3; }, Family::Bed, 11112 + 196 + 392 + 2 * 800 + 1200,
     [] { return Barmourthick && Bedlev && Bupflux && Bsolidfraction; }},
    {"DensityCurrent", [] { TurbDensFlag = 1; }, Family::Bed, 11112 + 3 * 392, [] { return BTugrad && BTheight; }},
    {"ComponentComposition", [] { FlagHCB = 1; }, Family::Bed, 11112 + 2424, [] { return BCompDistrib != nullptr; }},
    {"BedExchangeTerms", [] { FlagBedCalc = 2; }, Family::Bed, 11112 + 800, [] { return BQvar != nullptr; }},
    {"GroundwaterLayerBed", [] { FlagGroundwater = 1; }, Family::Bed, 11112 + 2 * 392,
     [] { return Bthixolev && !BthixolevMin && Bgroundwater; }},
    {"SlideLayerEightPlanes", [] { FlagThixo = 1; }, Family::Structured, 9496 + 1032, nullptr},
    {"MorphStatisticsEightPlanes", [] { FlagMorphStatistics = 1; }, Family::Structured, 9496 + 1032, nullptr},
    {"GroundwaterLayerEightPlanes", [] { FlagGroundwater = 1; }, Family::Structured, 9496 + 1032, nullptr},
    {"CoupledNestingPerColumn", [] { FlagCoupledNesting = 1; }, Family::Structured, 9496 + 624,
     [] { return pointnest && pointnest[0][1] - pointnest[0][0] == 2; }},
    {"NestTopPerColumn", [] { FlagNestTop = 3; }, Family::Structured, 9496 + 624, nullptr},
    {"BedStatisticsWindow", [] { BedStatI1 = 1, BedStatI2 = 3, BedStatJ2 = 2; }, Family::Structured, 9496 + 800,
     [] { return bedStatK && bedStatK[1] - bedStatK[0] == 4; }},
    // baggerZval and baggerRest [2][6][6] 688 each, zugabeZval, baggerLevels and
    // baggerApplied 16 each, baggerTime and zugabeFractions [2][2] 48 each, the
    // areas [2][20][4] ints 976, baggerFlags and NoBaggerAreas 8 each,
    // baggerCut [6][6] 336.
    {"Dredging", [] { MaxNoBagger = 2; }, Family::Structured, 9496 + 2 * 688 + 3 * 16 + 2 * 48 + 976 + 2 * 8 + 336,
     [] {
       return baggerZval && zugabeZval && zugabeFractions && baggerTime && baggerTime[1] - baggerTime[0] == 2 &&
              baggerAreas && baggerAreas[1][1] - baggerAreas[1][0] == 4 && baggerRest && baggerCut;
     }},
    {"NoDredgingNoInspace", [] {}, Family::Structured, 9496,
     [] { return !baggerZval && !zugabeZval && !baggerAreas && !baggerCut && !Tinspace && !pointcell && !pointnest; }},
    {"PressureRegression", [] { PresRegres = 1; }, Family::Structured, 9496 + 2 * 336 + 3 * 192, nullptr},
    {"SecondGeneratorStructured", [] { UMethod2 = 1; }, Family::Structured, 9496 + 192, [] { return pointcell != nullptr; }},
    {"SecondGeneratorIndex", [] { UMethod2 = 1; }, Family::GridIndex, 1872 + 7 * 192 + 3 * 336, nullptr},
    {"CornerSmoother", [] { FlagSmoothNewCorners = 1; }, Family::Structured, 9496 + 192, nullptr},
    {"PscTakesTheLargerSizes", [] { xnumber = 6, ynumber = 3, znumber = 5; }, Family::Structured, 11432,
     [] { return psc[1] - psc[0] == 7; }},
    {"Tracers", [] { FlagTracer = 1; }, Family::Output, 4980 + 3 * 8000 + 4000, [] { return BedTracer != nullptr; }},
    {"Profiles", [] { PrintArrayFlags[10] = 19; }, Family::Output, 4980 + 6 * 6432 + 19232,
     [] { return koxc && koxc[0][1] - koxc[0][0] == 2; }},
};

INSTANTIATE_TEST_SUITE_P(Tables, Condition, ::testing::ValuesIn(kConditions),
                         [](const ::testing::TestParamInfo<ConditionCase> &info) { return info.param.name; });

TEST_F(Allocation, RowPointersRunTheLastIndexFastest) {
  useSmallGrid();
  FlagDragDLL = 1;
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  double sum = 0;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(xval[i], xval[0] + i * 6);
    EXPECT_EQ(zval[i], zval[0] + i * 6);
    for (int j = 0; j < 6; ++j) {
      EXPECT_EQ(zval[i][j], zval[0][0] + (i * 6 + j) * 4);
      for (int k = 0; k < 4; ++k) sum += zval[i][j][k] != 0.0;
    }
  }
  EXPECT_EQ(sum, 0.0);
  EXPECT_EQ(&zval[5][5][3], zval[0][0] + 143);
  EXPECT_EQ(Surfaces[4][5], Surfaces[0][0] + (4 * 6 + 5) * 6);
  EXPECT_EQ(BSedDistrib[2][1], BSedDistrib[0][0] + (2 * 2 + 1) * 49);
  EXPECT_EQ(Bveg[48][0][1], Bveg[0][0][0] + (48 * 2 + 1) * 4);
}

TEST_F(Allocation, SizeOneWhenNoNDataSets) {
  useSmallGrid();
  lnumber = 2;
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  for (int layer = 0; layer < 3; ++layer) {
    EXPECT_EQ(BSedDistrib[layer][1][0], 0.0);
    for (int b = 1; b < 49; ++b) {
      EXPECT_EQ(BSedDistrib[layer][0][b], 0.0);
      EXPECT_EQ(BSedDistrib[layer][1][b], layer < 2 ? 1.0 : 0.0);
      EXPECT_EQ(BSedDistrib[layer][2][b], 0.0);
    }
  }
}

TEST_F(Allocation, NDataSetsFillTheTwoLowestLayers) {
  useSmallGrid();
  lnumber = 2;
  FlagReadNdata = 2;
  SedimentSample[0][1] = 0.4;
  SedimentSample[0][2] = 0.6;
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  for (int layer = 0; layer < 3; ++layer) {
    EXPECT_EQ(BSedDistrib[layer][1][0], 0.0);
    EXPECT_EQ(BSedDistrib[layer][2][0], 0.0);
    for (int b = 1; b < 49; ++b) {
      EXPECT_EQ(BSedDistrib[layer][1][b], layer < 2 ? 0.4 : 0.0);
      EXPECT_EQ(BSedDistrib[layer][2][b], layer < 2 ? 0.6 : 0.0);
    }
  }
}

TEST_F(Allocation, NoMinimumWaterLevelAtTheStart) {
  useSmallGrid();
  FlagNoGridSplit = 1;
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  EXPECT_EQ(Bminwaterlevel[0], 0.0);
  for (int b = 1; b < 49; ++b) EXPECT_EQ(Bminwaterlevel[b], -1000.0);
  EXPECT_EQ(Bminlevdh[1], 0.0);
}

TEST_F(Allocation, SecondStructuredCallAllocatesNothingNew) {
  useSmallGrid();
  ASSERT_EQ(sialloc(), 0);
  double **first = xval;
  double ***levels = zval;
  ASSERT_EQ(sialloc(), 0);
  EXPECT_EQ(xval, first);
  EXPECT_EQ(zval, levels);
  EXPECT_EQ(readFile("boogie"),
            "Have allocated         0.01 Mbytes structured arrays\n"
            "Have allocated         0.00 Mbytes structured arrays\n");
}

TEST_F(Allocation, SecondUnstructuredCallEndsWithoutMessage) {
  useSmallGrid();
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  const std::string log = readFile("boogie");
  EXPECT_EXIT(AllocateArrays(1, 1, 1), ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(readFile("boogie"), log);
}

TEST_F(Allocation, ResetClearsEveryPointer) {
  useSmallGrid();
  FlagCoupledNesting = 1;
  FlagDragDLL = 1;
  TimeStep = 1.0;
  InspaceAlloc = 1;
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  ASSERT_TRUE(xval && pointnest && Tinspace && Cflatee && Cconc && Bveg && Cinn && TimePrintVar);
  FlagCoupledNesting = FlagDragDLL = InspaceAlloc = 0;
  TimeStep = 1e-20;
  SetArraysZero();
  EXPECT_TRUE(!xval && !pointnest && !Tinspace && !TinspaceTime && !Cflatee && !Cconc && !Bveg && !VegTime &&
              !Cinn && !TimePrintVar && !Sqt && !connFlate && !num);
  show();
}

TEST_F(Allocation, InspaceTablesAfterTheLoggedTotal) {
  useSmallGrid();
  InspaceAlloc = 3;
  ASSERT_EQ(sialloc(), 0);
  ASSERT_TRUE(Tinspace && TinspaceTime);
  EXPECT_EQ(Tinspace[4][19], Tinspace[0][0] + (4 * 20 + 19) * 20);
  EXPECT_EQ(readFile("boogie"), "Have allocated         0.01 Mbytes structured arrays\n");
}

TEST_F(Allocation, MultiDimensionalCountBeyondIntLogsTheBytesReached) {
  // num [302][302][25002] would need more ints than an int can count, in
  // fewer bytes than the machine has.
  Flag2DAccSolver = 25000;
  EXPECT_LT(AllocateArrays(1, 1, 1), -0.01);
  // Cells with MGSCpoint [50000][5], faces, points, nests, Sqt, Spt and the
  // five 302·302 int tables before num.
  EXPECT_EQ(readFile("boogie"), "Allocated 45.721008 Mbyte when out of memory\n");
  EXPECT_TRUE(ant && !num && !connFlate && !Bcellt);
}

TEST_F(Allocation, TablesBeyondTheMachineAreNotAllocated) {
  // Sqt alone would need xnumber + 2 entries, beyond the int range; the
  // tables together need more than the machine has, so none is allocated.
  xnumber = INT_MAX;
  EXPECT_LT(AllocateArrays(1, 1, 1), -0.01);
  const std::string log = readFile("boogie");
  EXPECT_EQ(log.rfind("Error: the tables of F 65 need ", 0), 0u) << log;
  EXPECT_TRUE(endsWith(log, " Mbytes of this machine\nAllocated 0.000000 Mbyte when out of memory\n")) << log;
  EXPECT_TRUE(!Cxvel && !Cflatee && !Nflux && !Sqt);
}

TEST(TableAllocatorFailure, OneDimensionalFailureIsNotReported) {
  TableAllocator a;
  double *fits = nullptr, *beyondInt = nullptr, *after = nullptr;
  a.vector(fits, 10);
  a.vector(beyondInt, std::int64_t{INT_MAX} + 1);
  a.reportedVector(after, 10);
  EXPECT_TRUE(fits && !beyondInt && !after);
  EXPECT_TRUE(a.failed() && !a.failureReported());
  EXPECT_EQ(a.bytes(), 80);
}

TEST(TableAllocatorMeasure, AddsUpEveryBlockAndAllocatesNothing) {
  TableAllocator m(TableAllocator::Mode::Measure);
  double *v = nullptr;
  int **rows = nullptr;
  double ***cube = nullptr;
  m.vector(v, 10);
  m.matrix(rows, 3, 4);
  m.cube(cube, 2, 3, 5);
  EXPECT_TRUE(!v && !rows && !cube);
  // 10 doubles; 12 ints and 3 pointers; 30 doubles, 6 and 2 pointers.
  EXPECT_EQ(m.needed(), 80.0 + 48 + 24 + 240 + 48 + 16);
  // A table already allocated is not counted; no size overflows the sum.
  double *held = new double[1];
  m.vector(held, 1000);
  m.matrix(rows, INT64_MAX, INT64_MAX);
  EXPECT_GT(m.needed(), 1e38);
  EXPECT_EQ(m.bytes(), 0);
  EXPECT_FALSE(m.failed());
  delete[] held;
}

TEST_F(Allocation, StructuredFailureLogsAndReturns) {
  xnumber = 50000;
  ynumber = 50000;
  EXPECT_EQ(sialloc(), -1);
  const std::string log = readFile("boogie");
  EXPECT_EQ(log.rfind("Error: the tables of G 1 need 550050.40 Mbytes, more than the ", 0), 0u) << log;
  EXPECT_TRUE(endsWith(log, " Mbytes of this machine\nAllocated 0.000000 Mbyte when out of memory\n")) << log;
  EXPECT_EQ(xval, nullptr);
}

TEST(TableCount, SaturatesAndRefusesNegativeFactors) {
  EXPECT_EQ(tableCount(302, 302), 91204);
  EXPECT_EQ(tableCount(-1, 5), -1);
  EXPECT_EQ(tableCount(INT64_MAX / 2, 3), INT64_MAX);
  TableAllocator a;
  int *table = nullptr;
  a.vector(table, 0);
  EXPECT_NE(table, nullptr);
  EXPECT_EQ(a.bytes(), 0);
  int **rows = nullptr;
  a.matrix(rows, -1, 4);
  EXPECT_EQ(rows, nullptr);
  EXPECT_TRUE(a.failed() && a.failureReported());
}

}  // namespace
