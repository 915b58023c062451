// Face fluxes and the continuity defect on the layered step (F 137): the top
// cell 3 of the short column faces cells 6-9 of the tall one through one
// face, which carries the sum of their four faces.
#include <gtest/gtest.h>

#include <cmath>

#include "flow/corrections/continuity_defect.h"
#include "flow/boundaries/face_fluxes.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

using QNFaceSums = GridFixture;

TEST_F(QNFaceSums, ShortTopCellCarriesTheSum) {
  QNFlag = 1;
  readStep();
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(NoCells, 9);
  metric();
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = 0.1 * c;
    Cyvel[c] = 0.01 * c;
    Czvel[c] = -0.005 * c;
  }
  waterflow(1, NoSurfaces);
  const int east3 = Cflatee[3];
  double sum = 0.0;
  for (int k = 6; k <= 9; ++k) sum += Fflux[Cflatew[k]];
  EXPECT_DOUBLE_EQ(Fflux[east3], sum);
  EXPECT_NE(sum, 0.0);

  // The defect of every cell is its own six faces; summed over the grid the
  // inner faces cancel, the face of cell 3 against the four faces of 6-9
  // included, and what is left is the flow through the boundary faces.
  WCStart = 1;
  WCEnd = NoCells;
  pressure_fluxes();
  EXPECT_DOUBLE_EQ(Csource[3], -(Fflux[east3] - Fflux[Cflatew[3]] + Fflux[Cflaten[3]] - Fflux[Cflates[3]] +
                                 Fflux[Cflatet[3]] - Fflux[Cflateb[3]]));
  double total = 0.0, boundary = 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    total += Csource[c];
    const int out[3] = {Cflatee[c], Cflaten[c], Cflatet[c]}, in[3] = {Cflatew[c], Cflates[c], Cflateb[c]};
    for (int m = 0; m < 3; ++m) {
      if (Fcell1[out[m]] == 0 || Fcell2[out[m]] == 0) boundary -= Fflux[out[m]];
      if (Fcell1[in[m]] == 0 || Fcell2[in[m]] == 0) boundary += Fflux[in[m]];
    }
  }
  EXPECT_NEAR(total, boundary, 1e-9);
}

}  // namespace
