// The threaded and serial forms of a flow stage run from one state of the
// channel, and what each leaves compared: every coefficient, source and 1/Ap
// bit for bit, the residual totals within 1e-12.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "flow/flow_grids.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"

// The arrays a stage reads and writes, kept to start each form from one state.
struct Snapshot {
  std::vector<std::vector<double>> cells, faces;
};

inline std::vector<double *> cellArrays() {
  return {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon, CinvAp, CinvApP, Cgamma, CgammaV, Cap, Csource,
          Cae,   Caw,   Can,   Cas,   Cat,    Cab};
}

inline Snapshot take() {
  Snapshot s;
  for (double *a : cellArrays()) s.cells.emplace_back(a, a + NoCells + 1);
  s.faces.emplace_back(Fflux, Fflux + NoSurfaces + 1);
  return s;
}

inline void restore(const Snapshot &s) {
  const std::vector<double *> a = cellArrays();
  for (std::size_t k = 0; k < a.size(); ++k) std::copy(s.cells[k].begin(), s.cells[k].end(), a[k]);
  std::copy(s.faces[0].begin(), s.faces[0].end(), Fflux);
}

class StageRegionBase : public GridFixture {
 protected:
  std::vector<double> oldFields_[5];
  std::vector<double> inverseP_;
  std::vector<double> olderFields_[3];

  void prepare() {
    buildFlowGrid(CaseGrid::Channel);
    relaxVelocity = 0.8;
    invRelaxVelocity = 1.25;
    relaxPressure = 0.2;
    relaxK = relaxEpsilon = 0.5;
    for (int e = 1; e <= 6; ++e) NormResidual[e] = 1.0;
    FlagWallAll = 1000;
    OneCellSource = 1;
    for (int c = 1; c <= NoCells; ++c) Conecell[c] = c % 3 == 0;
    fillField(Cxvel, [](double x, double y, double) { return 0.5 + 0.01 * x * y; });
    fillField(Cyvel, [](double x, double, double z) { return 0.02 * x - 0.1 * z; });
    fillField(Czvel, [](double x, double y, double) { return 0.001 * (x - y); });
    fillField(Cpres, [](double, double, double z) { return 9810.0 * (1.0 - z); });
    fillField(Ckinen, [](double x, double, double z) { return 0.001 + 0.0001 * x * z; });
    fillField(Cepsilon, [](double x, double y, double) { return 0.0001 + 0.00001 * (x + y); });
    for (int c = 0; c <= NoCells; ++c) CinvAp[c] = 1e-3;
    if (CinvApP == nullptr) {
      inverseP_.assign(NoCells + 1, 1e-3);
      CinvApP = inverseP_.data();
    }
    double **olds[5] = {&Cxvel_old, &Cyvel_old, &Czvel_old, &Ckinen_old, &Cepsilon_old};
    double *now[5] = {Cxvel, Cyvel, Czvel, Ckinen, Cepsilon};
    for (int k = 0; k < 5; ++k) {
      oldFields_[k].assign(now[k], now[k] + NoCells + 1);
      for (double &v : oldFields_[k]) v *= 0.9;
      *olds[k] = oldFields_[k].data();
    }
    double **olders[3] = {&Cxvel_old2, &Cyvel_old2, &Czvel_old2};
    for (int k = 0; k < 3; ++k) {
      olderFields_[k].assign(now[k], now[k] + NoCells + 1);
      for (double &v : olderFields_[k]) v *= 0.7;
      *olders[k] = olderFields_[k].data();
    }
    // Solver, face fluxes and corrections alike in both forms.
    FlagOpenMP[3] = FlagOpenMP[4] = FlagOpenMP[8] = 1;
  }

  // Runs `stage` serially and with `threads` chunks from the same state and
  // compares what the completion leaves.
  // The reference form is the serial one (no threads, G 50 entries 0, 1, 2,
  // 5, 6, 7 and 9 at 1), or with `keepThreads` the stage's own threads with
  // its completion and builds on one thread (entries 0, 6 and 9), which
  // builds k by one call of the power law the chunks use.
  void compare(const std::function<void()> &stage, int threads, bool keepThreads = false) {
    const Snapshot start = take();
    const int initialised = FlagInitializedInvAp;
    NoProcessesSolver = keepThreads ? threads : 0;
    fixThreadCount(keepThreads ? threads : 1);
    const std::vector<int> serialEntries =
        keepThreads ? std::vector<int>{0, 6, 9} : std::vector<int>{0, 1, 2, 5, 6, 7, 9};
    for (int k : serialEntries) FlagOpenMP[k] = 1;
    stage();
    for (int k : serialEntries) FlagOpenMP[k] = 0;
    const Snapshot serial = take();
    const std::vector<double> serialResidual(MaxResidual, MaxResidual + 7);
    restore(start);
    FlagInitializedInvAp = initialised;
    NoProcessesSolver = threads;
    fixThreadCount(threads);
    stage();
    const Snapshot threaded = take();
    NoProcessesSolver = 0;
    fixThreadCount(1);
    const char *names[] = {"Cxvel", "Cyvel", "Czvel", "Cpres", "Ckinen", "Cepsilon", "CinvAp", "CinvApP", "Cgamma",
                           "CgammaV", "Cap", "Csource", "Cae", "Caw", "Can", "Cas", "Cat", "Cab"};
    for (std::size_t k = 0; k < serial.cells.size(); ++k) {
      int differ = 0;
      for (int c = 1; c <= NoCells; ++c) {
        const double a = serial.cells[k][c], b = threaded.cells[k][c];
        if (!(a == b || (std::isnan(a) && std::isnan(b)))) ++differ;
      }
      EXPECT_EQ(differ, 0) << names[k] << " with " << threads << " threads";
    }
    for (int e = 1; e <= 6; ++e)
      EXPECT_NEAR(MaxResidual[e], serialResidual[e], 1e-12 * std::fabs(serialResidual[e])) << e;
  }
};

