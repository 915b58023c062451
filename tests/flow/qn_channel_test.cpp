// The first 15 m of the straight channel with its bed falling by 1 in 50 per
// grid line (about 1 in 100), on independently layered columns (F 137):
// deeper columns downstream have more cells, so the top cell of each shorter
// column faces several cells of the next one. The run converges, every
// cross-section carries the inflow and the flow stays along the bed. The
// whole 100 m channel shows the same but needs about 70000 outer iterations
// of the single symmetric sweep; this reach converges in about 10000.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/structured.h"
#include "startup/entry.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr double kInflow = 7500.0;  // kg/s
constexpr int kLastLine = 16;       // the grid lines i = 1..16 of the case, columns 2..16

// The case's "koosurf" up to grid line kLastLine, the bed of grid line i at -(i - 1)/50 m.
std::string fallingBed() {
  std::istringstream in(caseFile("straight-channel", "koosurf"));
  std::string out;
  int i, j;
  double x, y, bed, surface;
  while (in >> i >> j >> x >> y >> bed >> surface) {
    if (i > kLastLine) continue;
    char line[128];
    std::snprintf(line, sizeof line, "%d %d %.1f %.1f %.6f %.1f\n", i, j, x, y, -(i - 1) / 50.0, surface);
    out += line;
  }
  return out;
}

// The case's control with F 137 and room for the outer iterations that the
// single symmetric sweep of the list solver needs. The outflow is shared by
// the outgoing speeds (zero gradient, F 263 2 1): the last column has one
// cell more than the one before it, so its layers tilt from 9 intervals on
// its west side to 10 at the outflow, and an outflow shared by face area
// would force the flow leaving through them to turn by up to 6.4 per cent.
std::string layeredControl() {
  std::string control = caseFile("straight-channel", "control");
  const std::string iterations = "K 1 5000 50000";
  control.replace(control.find(iterations), iterations.size(), "K 1 100000 50000");
  return control + "F 137 1\nF 263 2 1\n";
}

using QNChannel = WorkFolderTest;

TEST_F(QNChannel, ConvergesAlongAFallingBed) {
  writeFile("control", layeredControl());
  writeFile("koosurf", fallingBed());
  InitialFunction();
  const std::string log = readFile("boogie");
  ASSERT_NE(log.find("Solution converged"), std::string::npos) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
  EXPECT_EQ(log.find("Error"), std::string::npos);

  int listed = 0;
  for (int c = 1; c <= NoCells; ++c) listed += Cncelle[c] > 0;
  EXPECT_GT(listed, 0) << "the grid has no neighbour lists";

  // The west faces of the cells of columns 3..14: a shorter column's top cell
  // is counted once with the sum over the cells it faces.
  for (int i = 3; i <= kLastLine - 2; ++i) {
    double flux = 0.0;
    for (int j = 2; j <= 6; ++j) {
      for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) flux += Fflux[Cflatew[c]];
    }
    EXPECT_NEAR(flux, kInflow, 7.51) << "cross-section at the west side of column " << i;
  }
  // The flow follows the bed (slope 1/100) in every column.
  for (int i = 2; i <= kLastLine - 2; ++i) {
    for (int j = 2; j <= 6; ++j) {
      for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
        EXPECT_LT(std::fabs(Czvel[c]), 0.05 * std::fabs(Cxvel[c])) << "cell " << c << " of column " << i << ", " << j;
      }
    }
  }
}

}  // namespace
