// The divergence remedies, remedy by remedy, on a small box grid with the
// grid routines recorded, and the parts of the crash report that do not
// depend on the file writers: the diagnosis lines and the forced output
// variables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "flow/outer_steps/divergence_recovery.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "startup/operations.h"
#include "turbulence/box_cells.h"

namespace {

int regenerations = 0;  // Unstructure calls
int geometry = 0;       // metric calls
int bedIndex = 0;       // BedMake calls

class Flush : public BoxCells {
 protected:
  void SetUp() override {
    BoxCells::SetUp();
    build(2, 2, 1.0, 1.0, 0.5);
    operations.Unstructure = [] {
      ++regenerations;
      return 1;
    };
    operations.metric = [] { ++geometry; };
    operations.BedMake = [] { ++bedIndex; };
    DischargeStruct[1].type = 1;
    DischargeStruct[1].discharge = 7500.0;
    DischargeStruct[1].inflowK = 0.003;
    DischargeStruct[1].inflowEpsilon = 0.0004;
  }

  // The settings every remedy starts from, as after an outer iteration's
  // restore of the relaxation.
  static void freshSettings(int accelerator) {
    relaxPressure = 0.8;
    relaxVelocity = 0.2;
    invRelaxVelocity = 5.0;
    relaxK = relaxEpsilon = 0.5;
    FlagGridStab2 = FlagGridStab2ori = 0;
    FlagGridStab5 = FlagGridStab5ori = 0;
    FlagRhieChow = 0;
    Flag2DAccSolver = accelerator;
    FlagGridChange = 0;
    regenerations = geometry = bedIndex = 0;
  }

  static void divergedFields() {
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = 3.0;
      Cyvel[c] = -2.0;
      Czvel[c] = 0.5;
      Cpres[c] = 1e9;
      Ckinen[c] = 0.02;
      Cepsilon[c] = 0.004;
    }
  }
};

struct Remedy {
  const char *name;
  int n, accelerator;
  void (*before)();
  bool halved;
  int stab2, stab5, rhieChow, accelerLeft, regenerated;
};

void nothing() {}

const Remedy kRemedies[] = {
    {"1 halves the relaxation", 1, 1, nothing, true, 0, 0, 0, 1, 0},
    {"2 stabilises the fifth grid option", 2, 1, nothing, false, 0, 2, 0, 1, 1},
    {"2 again sets the second, which returns with the fifth", 2, 2, [] { FlagGridStab5 = 2; }, false, 0, 0, 0, 2, 1},
    {"3 sets the second grid option for one grid", 3, 1, nothing, false, 0, 0, 0, 1, 1},
    {"4 switches Rhie-Chow on", 4, 2, nothing, false, 0, 0, 7, 2, 0},
    {"4 switches Rhie-Chow off", 4, 1, [] { FlagRhieChow = 3; }, false, 0, 0, 0, 1, 0},
    {"5 lowers the accelerator", 5, 2, nothing, false, 0, 0, 0, 1, 0},
    {"5 without the accelerator halves", 5, 1, nothing, true, 0, 0, 0, 1, 0},
    {"6 halves", 6, 2, nothing, true, 0, 0, 0, 2, 0},
};

TEST_F(Flush, RemedyByRemedy) {
  for (const Remedy &r : kRemedies) {
    SCOPED_TRACE(r.name);
    freshSettings(r.accelerator);
    divergedFields();
    r.before();
    flushFunction(r.n);
    EXPECT_EQ(relaxPressure, r.halved ? 0.4 : 0.8);
    EXPECT_EQ(relaxVelocity, r.halved ? 0.1 : 0.2);
    EXPECT_EQ(invRelaxVelocity, r.halved ? 10.0 : 5.0);
    EXPECT_EQ(relaxK, r.halved ? 0.25 : 0.5);
    EXPECT_EQ(relaxEpsilon, r.halved ? 0.25 : 0.5);
    EXPECT_EQ(FlagGridStab2, r.stab2);
    EXPECT_EQ(FlagGridStab5, r.stab5);
    EXPECT_EQ(FlagRhieChow, r.rhieChow);
    EXPECT_EQ(Flag2DAccSolver, r.accelerLeft);
    EXPECT_EQ(regenerations, r.regenerated);
    EXPECT_EQ(geometry, r.regenerated);
    EXPECT_EQ(bedIndex, r.regenerated);
    EXPECT_EQ(FlagGridChange, r.regenerated) << "the driver takes up the new grid";
    // The fields of the work range: a steady run keeps its own, clipped;
    // with the accelerator above 1 everything starts again from rest.
    for (int c = 1; c <= NoCells; ++c) {
      EXPECT_EQ(Cpres[c], 0.0);
      if (r.accelerator >= 2) {
        EXPECT_EQ(Cxvel[c], 0.0);
        EXPECT_EQ(Czvel[c], 0.0);
        EXPECT_EQ(Ckinen[c], 1e-4);
        EXPECT_EQ(Cepsilon[c], 1e-4);
      } else {
        EXPECT_EQ(Cxvel[c], 1.0);
        EXPECT_EQ(Cyvel[c], -1.0);
        EXPECT_EQ(Czvel[c], 0.1);
        EXPECT_EQ(Ckinen[c], 0.02);
        EXPECT_EQ(Cepsilon[c], 0.004);
      }
    }
  }
}

TEST_F(Flush, TheGridOptionsAsReadComeBack) {
  freshSettings(1);
  FlagGridStab2 = FlagGridStab2ori = 9;
  FlagGridStab5ori = 1;
  FlagGridStab5 = 2;
  flushFunction(3);  // the second option is already 9: only a new grid
  EXPECT_EQ(FlagGridStab2, 9);
  EXPECT_EQ(FlagGridStab5, 2) << "unchanged second option: the fifth stays";
  EXPECT_EQ(regenerations, 1);
}

TEST_F(Flush, ATransientRunStartsAgainFromTheOldTimeFields) {
  const int n = NoCells + 1;
  std::vector<double> u(n, 0.4), v(n, -4.0), w(n, 0.3), k(n, 0.001), e(n, 0.0001), p(n, 0.0);
  Cxvel_old = u.data();
  Cyvel_old = v.data();
  Czvel_old = w.data();
  Ckinen_old = k.data();
  Cepsilon_old = e.data();
  freshSettings(1);
  divergedFields();
  flushFunction(1);
  for (int c = 1; c <= NoCells; ++c) {
    EXPECT_EQ(Cxvel[c], 0.4);
    EXPECT_EQ(Cyvel[c], -1.0);
    EXPECT_EQ(Czvel[c], 0.1);
    EXPECT_EQ(Ckinen[c], 0.001);
    EXPECT_EQ(Cepsilon[c], 0.0001);
  }
  freshSettings(2);
  flushFunction(1);
  EXPECT_EQ(Cxvel_old[1], 0.0);
  EXPECT_EQ(Ckinen_old[1], 1e-4);
  EXPECT_EQ(Cepsilon_old[2], 1e-4);
  Cxvel_old = Cyvel_old = Czvel_old = Ckinen_old = Cepsilon_old = nullptr;
}

TEST_F(Flush, ValuesThatAreNotFiniteTakeTheirStartValues) {
  freshSettings(1);
  divergedFields();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Cxvel[1] = nan;
  Czvel[2] = -std::numeric_limits<double>::infinity();
  Ckinen[3] = nan;
  Cepsilon[4] = nan;
  flushFunction(1);
  EXPECT_EQ(Cxvel[1], 0.0);
  EXPECT_EQ(Czvel[2], 0.0);
  EXPECT_EQ(Ckinen[3], 0.003);
  EXPECT_EQ(Cepsilon[4], 0.0004);
}

TEST_F(Flush, OnlyTheWorkRangeIsReset) {
  freshSettings(1);
  divergedFields();
  WCStart = 3;
  flushFunction(1);
  EXPECT_EQ(Cxvel[2], 3.0);
  EXPECT_EQ(Cxvel[3], 1.0);
}

using CrashReport = BoxCells;

TEST_F(CrashReport, DiagnosisOfTheCellWithTheLargestDefect) {
  build(2, 2, 2.0, 1.0, 0.5);
  Iter = 12;
  for (int e = 1; e <= 6; ++e) MaxResidual[e] = e * 1e3;
  GlobContinuity = 0.5;
  GlobDefMax = 2.0;
  Glob_dmI = 2;
  Cxvel[2] = 0.25;
  Croughness[2] = 0.05;
  Bkooi[1] = 4;
  Bkooj[1] = 3;
  writeFile("boogie", "");
  crashDiagnosis();
  EXPECT_EQ(readFile("boogie"),
            "Iter: 12, Resid: 1.00e+03 2.00e+03 3.00e+03 4.00e+03 5.00e+03 6.00e+03\n"
            "Cont: 5.00000000e-01, DefMax: 2.00000000e+00, U,V,W(2): 2.50000000e-01 0.00000000e+00 0.00000000e+00\n"
            "Largest residual is in cell b=1, c=2, i=4, j=3\n"
            "Please look at the ParaView2.vtk file to find out where the problem is\n\n"
            "Debugging information: Cell height: 0.500000 meters\n"
            "Horizontal cell distances: 2.000000 1.000000 meters\n"
            "Roughness 0.050000 meters, Neighbour cells (wsentb): 0 0 4 0 0 1\n"
            "Neighbour areas (wsen): 0.500000 1.000000 0.500000 1.000000\n"
            "Bed surface vector components: 0.000000 0.000000 1.000000\n"
            "Bed area components: 0.000000 0.000000 2.000000\n");
}

TEST_F(CrashReport, TheDummyCellPrintsZeros) {
  build(1, 1, 1.0, 1.0, 1.0);
  Glob_dmI = 0;
  TimeStep = 5.0;
  stimet = 30.0;
  DischargeArray[1] = 7.5;
  DischargeArray[2] = 0.0;
  DischargeArray[3] = 2.0;  // after the first group that carries nothing
  writeFile("boogie", "");
  crashDiagnosis();
  const std::string log = readFile("boogie");
  EXPECT_NE(log.find("Time: 30.000000 seconds\nWater discharge (l/s), group 1: 7.500000\nDebugging"), std::string::npos)
      << log;
  EXPECT_NE(log.find("Roughness 0.000000 meters, Neighbour cells (wsentb): 0 0 0 0 0 0\n"), std::string::npos) << log;
}

TEST_F(CrashReport, ForcedOutputVariables) {
  struct Row {
    const char *name;
    int before, residual;
    int after;
    const char *added;
  };
  const Row rows[] = {
      {"an empty table gets the nine and the residuals", 0, 1, 11, "yvmpsuwizRK"},
      {"without F 153 1 no residuals", 0, 0, 9, "yvmpsuwiz"},
      {"an existing G 24 list gets only the residuals", 3, 1, 5, "RK"},
      {"a list of 294 still gets them", 294, 1, 296, "RK"},
      {"a list of 295 stays", 295, 1, 295, ""},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    for (int e = 0; e < kMaxTecStruc; ++e) TecStruc[e] = {7, 7, 7, 'x'};
    TecStrucNo = r.before;
    FlagResidual = r.residual;
    forceCrashOutputs();
    EXPECT_EQ(TecStrucNo, r.after);
    std::string added;
    for (int e = r.before == 0 ? 0 : r.before; e < TecStrucNo; ++e) added += TecStruc[e].letter;
    EXPECT_EQ(added, r.added);
    if (r.before == 0) {
      EXPECT_EQ(TecStruc[0].levelIndex, 0);
      EXPECT_EQ(TecStruc[0].sizeIndex, 0);
      EXPECT_EQ(TecStruc[0].subcode, 7) << "the sub-code keeps its value";
    }
    if (r.residual == 1 && r.after > r.before) {
      EXPECT_EQ(TecStruc[r.after - 1].levelIndex, 1);
    }
  }
}

}  // namespace
