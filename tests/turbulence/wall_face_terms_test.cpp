// The wall terms of the face-by-face laws on one hand-built cell of 1 m
// faces, against values worked by hand: u+ of the three families, the
// friction of a tilted side wall, the k terms and the wall epsilon.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/wall_face_terms.h"

namespace {

using WallFaceTerms = BoxCells;

TEST_F(WallFaceTerms, UPlusByFamily) {
  struct Row {
    int family;
    double yplus, yks, uplus;
    const char *why;
  };
  const Row rows[] = {
      {0, 500.0, 10.0, 14.2595, "2.5 ln 300"},
      {0, 500.0, 0.02, 1.0, "ln 0.6 < 0: MinUPlus"},
      {5, 11.62, 10.0, 11.62, "viscous sublayer"},
      {5, 11.63, 10.0, 11.6270, "2.5 ln 104.67"},
      {8, 100.0, 1000.0, 17.0060, "ks+ 0.1: smooth, 2.5 ln 900"},
      {8, 100.0, 1.0, 8.5030, "ks+ 100: rough, 2.5 ln 30"},
      {8, 100.0, 100.0 / 2.25, 17.0129, "ks+ 2.25: transitional"},
      {8, 5.85, 1000.0, 0.5 * 2.5 * std::log(9.0 * 5.85), "below 11.7: scaled by y+ / 11.7"},
      {8, 1e-3, 1000.0, 0.025, "at the wall: the bound"},
  };
  for (const Row &r : rows) {
    FlagWallAll = r.family;
    EXPECT_NEAR(wall_laws_uplus(r.yplus, r.yks), r.uplus, 5e-5) << "F 15 " << r.family << ": " << r.why;
  }
}

// One cell of 1 x 1 x 1 m with k 0.03 (u* 0.0948683, R 94.86), ks 0.01 m.
void oneCell() {
  BoxCells::build(1, 1, 1.0, 1.0, 1.0);
  Ckinen[1] = 0.03;
  Croughness[1] = 0.01;
  Cxvel[1] = 0.5;
  Cyvel[1] = 0.2;
  Czvel[1] = 0.1;
  Cap[1] = Csource[1] = 0.0;
}

const double kR = 31.62 * std::sqrt(300.0 * 0.03);

TEST_F(WallFaceTerms, FrictionOfATiltedSideWall) {
  oneCell();
  // The east face leans: its normal (0.6, 0, 0.8) puts friction into W.
  const int f = Cflatee[1];
  Fvx[f] = 0.6;
  Fvy[f] = 0.0;
  Fvz[f] = 0.8;
  const double uplus = 2.5 * std::log(30.0 * 0.5 / 0.01), fw = kR / uplus;
  const double nU = 0.6 * 0.5 + 0.8 * 0.1;
  const struct {
    int equation;
    double nEq;
  } rows[] = {{1, 0.6}, {2, 0.0}, {3, 0.8}};
  for (const auto &r : rows) {
    Equation = r.equation;
    Cap[1] = Csource[1] = 0.0;
    wall_laws_surface_u(1, Cflatee, Cidist);
    EXPECT_NEAR(Cap[1], fw, 1e-12) << "equation " << r.equation;
    EXPECT_NEAR(Csource[1], fw * nU * r.nEq, 1e-12) << "equation " << r.equation;
  }
}

TEST_F(WallFaceTerms, KTermsAndTheDistanceCap) {
  oneCell();
  const double speed2 = 0.25 + 0.04 + 0.01;
  for (double dist : {0.5, 2000.0}) {
    Cidist[1] = dist;
    Cap[1] = Csource[1] = 0.0;
    wall_laws_surface_k(1, Cidist);
    const double y = std::min(dist, 1000.0), uplus = 2.5 * std::log(30.0 * y / 0.01);
    EXPECT_NEAR(Cap[1], 1000.0 * std::pow(0.09, 0.75) * std::sqrt(0.03) * uplus / y, 1e-9) << dist;
    EXPECT_NEAR(Csource[1], kR / uplus * speed2 / y, 1e-12) << dist;
  }
}

TEST_F(WallFaceTerms, EpsilonByModel) {
  oneCell();
  const double k15 = std::pow(0.03, 1.5);
  struct Row {
    int model;
    double dist, cap, value;
  };
  const Row rows[] = {
      {0, 0.5, 1e30, 1.643e29 * k15 / (0.4 * 0.5) / 1e30},
      {1, 2000.0, 1e30, 1.643e29 * k15 / 400.0 / 1e30},
      {14, 0.5, 0.0, 0.0},
      {15, 0.5, 0.0, 0.0},
      {16, 0.5, 1e30, k15 / (0.21908 * 0.5)},
      {16, 2000.0, 1e30, k15 / 219.08},
  };
  for (const Row &r : rows) {
    TurbulenceModel = r.model;
    Ckdist[1] = r.dist;
    Cap[1] = Csource[1] = 0.0;
    wall_laws_surface_eps(1, Ckdist);
    EXPECT_EQ(Cap[1], r.cap) << "model " << r.model;
    if (r.cap > 0) EXPECT_NEAR(Csource[1] / Cap[1], r.value, 1e-12 * r.value) << "model " << r.model << ", y " << r.dist;
    else EXPECT_EQ(Csource[1], 0.0) << "model " << r.model;
  }
}

}  // namespace
