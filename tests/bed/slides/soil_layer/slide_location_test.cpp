// The slide location in process on the "slide" fixture's soil layer: the
// local factors of plane 7 to full precision, the held block edge, the
// pull of the sliding surface, the surfaces kept and the stable slides
// dropped or, with F 236 3, kept without driving force.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bed/bed_services.h"
#include "bed/slides/soil_layer/slide_layer.h"
#include "bed/slides/soil_layer/slide_grouping.h"
#include "bed/slides/soil_layer/slide_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

class SlideLocation : public SlideLayer {
 protected:
  void SetUp() override {
    SlideLayer::SetUp();
    build(10, 8, caseFile("slide", "koosurf"));
  }

  // Plane 7 of the layer column under block 1's column (i, j).
  static double factor(int i, int j) {
    const int b = column(i, j);
    return Surfaces[7][Bkooi[b]][Bkooj[b]];
  }
};

// 10880 Pa of friction over 13600 · slope: 8 on the slope of 0.1, 0.8 / 1.1
// where all four corners lie on the rise (x = 3.5..5.5, y = 3.5 and 4.5).
TEST_F(SlideLocation, LocalFactors) {
  computeSlideLocation();
  for (int i = 2; i <= 10; ++i) {
    for (int j = 2; j <= 4; ++j) EXPECT_NEAR(factor(i, j), 8.0, 8e-9) << i << ' ' << j;
  }
  for (int i = 5; i <= 7; ++i) {
    for (int j = 5; j <= 6; ++j) EXPECT_NEAR(factor(i, j), 0.8 / 1.1, 0.8 / 1.1 * 1e-9) << i << ' ' << j;
  }
  EXPECT_GE(listedSlides(), 1);
}

TEST_F(SlideLocation, F408HoldsTheBlockEdge) {
  FlagBoundaryThixo = 1;
  computeSlideLocation();
  EXPECT_EQ(factor(2, 3), 0.0);
  EXPECT_EQ(factor(10, 3), 0.0);
  EXPECT_EQ(factor(5, 2), 0.0);
  EXPECT_EQ(factor(5, 8), 0.0);
  EXPECT_NEAR(factor(3, 3), 8.0, 8e-9);
  EXPECT_NEAR(factor(6, 5), 0.8 / 1.1, 1e-9);
}

// Without a target mode one vertical iteration pulls every slide down by
// -0.05 kLength / BNo^p, and the surfaces are kept: never below the
// non-erodible level, the lowest level never above the surface.
TEST_F(SlideLocation, PullAndKeptSurfaces) {
  for (const int stab : {1, 0}) {
    FlagGridStab1 = stab;
    computeSlideLocation();
    const int slides = listedSlides();
    ASSERT_GE(slides, 1);
    const double p = stab == 0 ? 1.4 : 0.77;
    for (int s = 0; s < slides; ++s) {
      for (const int b : slideColumns(BVal[s])) {
        if (Bcellth[b] != BVal[s]) continue;
        EXPECT_NEAR(Csource[Bcellt[b]], -0.05 * kLength[s] / std::pow(BNo[s], p), 1e-12) << "slot " << s;
      }
    }
    const GridBlock &g = block[2];
    for (int b = g.FirstBedCell; b <= g.LastBedCell; ++b) {
      if (Bcellt[b] <= 0) continue;
      EXPECT_GE(Bthixolev[b], meanCornerPlane(3, Bkooi[b], Bkooj[b])) << b;
      EXPECT_LE(BthixolevMin[b], Bthixolev[b]) << b;
      EXPECT_LE(Bthixolev[b], columnTop(Bcellt[b]) + 1e-12) << b;
    }
  }
}

// A cohesion of 1 MPa still lets the rise fail in the strain solve (a
// thick layer spreads it), but makes every slide stable when judged.
TEST_F(SlideLocation, StableSlidesAreDropped) {
  FlagSlide = 1;
  ThixoCritshear = 1e6;
  computeSlideLocation();
  EXPECT_EQ(listedSlides(), 0);
  const GridBlock &g = block[2];
  for (int b = g.FirstBedCell; b <= g.LastBedCell; ++b) {
    if (Bcellt[b] <= 0) continue;
    EXPECT_EQ(Bcellth[b], 0) << b;
    EXPECT_DOUBLE_EQ(Bthixolev[b], columnTop(Bcellt[b])) << b;
  }
}

TEST_F(SlideLocation, BlockSlidesKeepStableSlidesWithoutDrivingForce) {
  FlagSlide = 1;
  ThixoCritshear = 1e6;
  FlagThixo = 3;
  computeSlideLocation();
  const int slides = listedSlides();
  ASSERT_GE(slides, 1);
  for (int s = 0; s < slides; ++s) {
    EXPECT_GT(kSF[s], 1.0);
    EXPECT_EQ(kGravityI[s], 0.0);
    EXPECT_EQ(kGravityJ[s], 0.0);
    EXPECT_GT(kCohesion[s], 0.0);
  }
}

// The strain solve's shear modulus: G of F 410 with variant 1, E with any
// other, and variants above 1 say once that they act as 0.
TEST_F(SlideLocation, ModulusVariants) {
  const int held = Bcellt[column(3, 3)];  // on the slope: never a slide, keeps its strain coefficients
  FlagModulus = 1;
  computeSlideLocation();
  EXPECT_NEAR(Cae[held], 2.0 * GModulus * Cjdist[held], 1e-6);
  EXPECT_NEAR(Can[held], 2.0 * EModulus * Cidist[held], 1e-6);
  FlagModulus = 2;
  computeSlideLocation();
  computeSlideLocation();
  EXPECT_NEAR(Cae[held], 2.0 * EModulus * Cjdist[held], 1e-6);
  const std::string warning =
      "Warning: F 410 modulus variant 2 is not used by the slide location; it takes E for both moduli\n";
  const std::string log = boogie();
  ASSERT_NE(log.find(warning), std::string::npos) << log;
  EXPECT_EQ(log.find(warning), log.rfind(warning));
}

// The target modes of F 325 on the fixture's slide, one vertical iteration
// each: the pull of every column after the adjustment against its start
// value -0.05 kLength / BNo^0.77, and the mean measure of the log line.
double loggedMean(const std::string &log) {
  const std::string key = "diffav = ";
  const std::size_t at = log.rfind(key);
  return at == std::string::npos ? -1.0 : std::stod(log.substr(at + key.size()));
}

class SlideTargetModes : public SlideLocation, public ::testing::WithParamInterface<int> {};

// The column lists are those of the grouping, so they still hold the
// columns of a slide the judgement found stable and unlabelled.
TEST_P(SlideTargetModes, OneIteration) {
  // The block-slide mode keeps the slides listed even when judged stable.
  FlagThixo = 3;
  debugging = 'D';
  IterSlideVert = 1;
  const int mode = GetParam();
  FlagSlide = mode;
  computeSlideLocation();
  const double mean = loggedMean(boogie());
  EXPECT_STREQ(mc_program, "End ComputeSlideLocation");
  const int slides = listedSlides();
  ASSERT_GE(slides, 1);
  if (mode == 0) {
    EXPECT_EQ(mean, 0.0);
  }
  int visited = 0;
  for (int s = 0; s < slides; ++s) {
    const double pull = -0.05 * kLength[s] / std::pow(BNo[s], 0.77);
    const ColumnList columns = slideColumns(BVal[s]);
    const double shift = Csource[Bcellt[*columns.begin()]] - pull;
    for (const int b : columns) {
      const double q = Csource[Bcellt[b]];
      ++visited;
      switch (mode) {
        case 0: EXPECT_NEAR(q, pull, 1e-12); break;
        case 1:
        case 4:
          // The pull scaled by 1 - r, |r| the logged mean, at most 0.5.
          EXPECT_NEAR(std::fabs(1.0 - q / pull), mean, 1e-6);
          EXPECT_LE(mean, 0.5);
          break;
        case 5:
          // At the first call every surface still lies at its top: the
          // slide has no weight above it, its safety factor is 0, and a
          // factor that small never scales the pull.
          EXPECT_NEAR(q, pull, 1e-12);
          EXPECT_EQ(kLastMult[s], 1.2);
          break;
        case 6: EXPECT_NEAR(q - pull, shift, 1e-12); break;  // one share for every column
        case 7: EXPECT_LE(q, 0.0); break;
        default: break;
      }
    }
  }
  EXPECT_GT(visited, 1);
  if (mode == 5) {
    EXPECT_NE(boogie().find("sf1 = 1000.000000\n"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, SlideTargetModes, ::testing::Values(0, 1, 4, 5, 6, 7));

}  // namespace
