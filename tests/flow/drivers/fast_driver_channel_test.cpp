// The fast flow driver (F 170 1) on the straight channel of
// cases/straight-channel: through the binary it converges and writes its
// results, serially and on four threads alike, and over the lower reach its
// eddy viscosity, bed shear and pressure slope are the main driver's; in-process
// its profile rises from the bed, every section carries the inflow, and the
// reach's pressure force and momentum flux meet its wall friction (for the
// main driver too). The five rows share the eddy viscosity of U, so epsilon
// diffuses with sigma 1; its production takes the standard 1.44.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/entry.h"
#include "startup/operations.h"
#include "support/channel_columns.h"
#include "support/channel_results.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr const char *kCase = "straight-channel";
constexpr double kInflow = 7500.0;          // kg/s
constexpr double kMeanVelocity = 0.75;      // m/s over the 10 m2 section
constexpr int kColumnI = 41, kColumnJ = 4;  // centred at x = 79 m, y = 5 m

std::string fastControl(const std::string &extra = "") { return caseFile(kCase, "control") + "F 170 1\n" + extra; }

CaseResult runFast(const std::string &extra, const std::map<std::string, std::string> &environment = {}) {
  CaseSetup setup;
  setup.files["control"] = fastControl(extra);
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  setup.environment = environment;
  return runCase(setup);
}

TEST(FastDriverChannel, ConvergesThroughTheBinaryOnOneAndFourThreads) {
  const CaseResult serial = runFast("");
  const std::string log = serial.file("boogie");
  EXPECT_EQ(serial.status, 1) << log;
  const size_t iter = log.find("Iter: 1, Resid: ");
  ASSERT_NE(iter, std::string::npos) << log;
  EXPECT_EQ(log.find("Cont: ", iter), log.find('\n', iter) + 1) << "the continuity line follows the first report";
  EXPECT_NE(log.find("Solution converged\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_EQ(log.find("Warning: Solution not converged"), std::string::npos) << log;
  EXPECT_TRUE(serial.has("result.end"));
  EXPECT_TRUE(serial.has("bedres.t"));

  // Four threads for the services the driver calls; the five-row solve stays serial.
  const CaseResult threaded = runFast("F 206 4\n", {{"OMP_NUM_THREADS", "4"}});
  EXPECT_EQ(threaded.status, 1) << threaded.file("boogie");
  EXPECT_NE(threaded.file("boogie").find("Solution converged\n"), std::string::npos);
  const ResultCells one = resultCells(serial.file("result.end"));
  const ResultCells four = resultCells(threaded.file("result.end"));
  ASSERT_FALSE(one.empty());
  ASSERT_EQ(one.size(), four.size());
  double largest = 0.0;
  for (const auto &[c, v] : one) {
    const ResultCell &w = four.at(c);
    largest = std::max({largest, std::fabs(v.u - w.u), std::fabs(v.v - w.v), std::fabs(v.w - w.w)});
  }
  std::printf("fast driver, serial against four threads: largest velocity difference %.2e m/s\n", largest);
  EXPECT_LT(largest, 0.01 * kMeanVelocity);
}

// Over the columns i = 31..50 (x = 58 to 98 m, where the flow has developed)
// of a result file: the mean eddy viscosity 0.09 k^2 / epsilon of every
// cell, the mean bed shear 300 k of the bottom cells, and the least-squares
// slope along x of the section means of the mid-depth pressure.
struct LowerReach {
  double viscosity, bedShear, slope;
};

LowerReach lowerReach(const ResultCells &f) {
  LowerReach r{0.0, 0.0, 0.0};
  int cells = 0, columns = 0;
  double n = 0, sx = 0, sxx = 0, sp = 0, sxp = 0;
  for (int i = 31; i <= 50; ++i) {
    double p = 0.0;
    for (int j = 2; j <= 6; ++j) {
      const std::vector<int> column = straightChannelColumn(i, j);
      for (int c : column) {
        const ResultCell &v = f.at(c);
        r.viscosity += 0.09 * v.k * v.k / v.e;
        ++cells;
      }
      r.bedShear += 300.0 * f.at(column.front()).k;
      ++columns;
      p += f.at(column[column.size() / 2]).p / 5.0;
    }
    const double x = 2.0 * (i - 2) + 1.0;
    n += 1, sx += x, sxx += x * x, sp += p, sxp += x * p;
  }
  r.viscosity /= cells;
  r.bedShear /= columns;
  r.slope = (n * sxp - sx * sp) / (n * sxx - sx * sx);
  return r;
}

// The fast driver computes the main driver's channel: over the lower reach
// its eddy viscosity, bed shear and pressure slope lie within 10 % of the
// main driver's.
TEST(FastDriverChannel, LowerReachMatchesTheMainDriver) {
  const CaseResult fast = runFast("");
  ASSERT_EQ(fast.status, 1) << fast.file("boogie");
  ASSERT_NE(fast.file("boogie").find("Solution converged\n"), std::string::npos) << fast.file("boogie");
  CaseSetup plain;
  plain.files["control"] = caseFile(kCase, "control");
  plain.files["koosurf"] = caseFile(kCase, "koosurf");
  const CaseResult main = runCase(plain);
  ASSERT_EQ(main.status, 1) << main.file("boogie");
  const ResultCells fastCells = resultCells(fast.file("result.end")), mainCells = resultCells(main.file("result.end"));
  ASSERT_EQ(fastCells.size(), 2250u);
  ASSERT_EQ(mainCells.size(), 2250u);
  const LowerReach f = lowerReach(fastCells), m = lowerReach(mainCells);
  std::printf("fast against main driver, columns 31-50: eddy viscosity %.3f, bed shear %.3f, pressure slope %.3f "
              "(%.4g against %.4g Pa/m)\n",
              f.viscosity / m.viscosity, f.bedShear / m.bedShear, f.slope / m.slope, f.slope, m.slope);
  EXPECT_LT(m.slope, 0.0);
  for (const double ratio : {f.viscosity / m.viscosity, f.bedShear / m.bedShear, f.slope / m.slope}) {
    EXPECT_GE(ratio, 0.9);
    EXPECT_LE(ratio, 1.1);
  }
}

// The slope of the mid-depth pressure along row j = 4 between the columns
// centred at 31 m (i = 17) and 71 m (i = 37), Pa/m.
double pressureSlope() {
  return midDepthSlope(17, 37, kColumnJ, [](int c) { return Cpres[c]; });
}

// The x-momentum balance of the reach between the west sides of columns
// 17 (x = 30 m) and 38 (x = 72 m) over the whole width: the pressure force
// on the two sections and the momentum the water carries through them
// against the friction of the rough bed and banks (u+ = 2.5 ln(30 y / ks)
// with the clamped k of each wall cell). It holds for a developing flow too,
// where the pressure slope of a single column also accelerates the core.
struct ReachBalance {
  double drive, friction;
};

ReachBalance reachBalance() {
  ReachBalance r{0.0, 0.0};
  auto section = [&](int i, double sign) {
    for (int j = 2; j <= 6; ++j) {
      for (int c : columnCells(i, j)) {
        const int f = Cflatew[c], w = Ccellw[c];
        const double pFace = 0.5 * (Cpres[c] + Cpres[w]);
        const double upwind = Fflux[f] >= 0.0 ? Cxvel[w] : Cxvel[c];
        r.drive += sign * (pFace * Fax[f] + Fflux[f] * upwind);
      }
    }
  };
  section(17, 1.0);
  section(38, -1.0);
  for (int i = 17; i <= 37; ++i) {
    for (int j = 2; j <= 6; ++j) {
      for (int c : columnCells(i, j)) {
        const double R = 31.62 * std::sqrt(300.0 * std::max(Ckinen[c], ArtMinKinen));
        auto wall = [&](int f, double y, double ks) {
          if (Fflagflow[f] == -1) r.friction += R * Farea[f] / std::max(2.5 * std::log(30.0 * y / ks), 1.0) * Cxvel[c];
        };
        wall(Cflateb[c], Ckdist[c], Croughness[c]);
        wall(Cflates[c], Cjdist[c], XksWall);
        wall(Cflaten[c], Cjdist[c], XksWall);
      }
    }
  }
  return r;
}

class FastDriverChannelFlow : public WorkFolderTest {};

TEST_F(FastDriverChannelFlow, PhysicalChecksAgainstTheMainDriver) {
  writeFile("control", fastControl());
  writeFile("koosurf", caseFile(kCase, "koosurf"));
  InitialFunction();
  ASSERT_NE(readFile("boogie").find("Solution converged"), std::string::npos) << readFile("boogie");
  const int fastIterations = Iter;

  const std::vector<int> column = columnCells(kColumnI, kColumnJ);
  ASSERT_GE(column.size(), 2u);
  const int bottom = column.front();
  const double ustar = std::sqrt(0.3 * Ckinen[bottom]);  // bed shear 300 k = rho u*^2
  std::ostringstream profile;
  profile << "column (" << kColumnI << ", " << kColumnJ << "), u* = " << ustar << "\n";
  for (int c : column) profile << "  u " << Cxvel[c] << "  k " << Ckinen[c] << "\n";
  SCOPED_TRACE(profile.str());

  // u rises from the bed to the lid.
  for (std::size_t m = 1; m < column.size(); ++m) {
    EXPECT_GT(Cxvel[column[m]], Cxvel[column[m - 1]]) << "level " << m + 1;
  }
  // Every interior cross-section carries the inflow.
  for (int i = 3; i <= 51; ++i) {
    double flux = 0.0;
    for (int j = 2; j <= 6; ++j) {
      for (int c : columnCells(i, j)) flux += Fflux[Cflatew[c]];
    }
    EXPECT_NEAR(flux, kInflow, 7.51) << "cross-section at the west side of column " << i;
  }
  // The reach's pressure force and momentum flux meet its wall friction.
  const ReachBalance fast = reachBalance();
  EXPECT_NEAR(fast.drive / fast.friction, 1.0, 0.02) << "drive " << fast.drive << " N, friction " << fast.friction;
  const double fastSlope = pressureSlope();
  const double columnBalance = ustar * ustar / (-0.001 * fastSlope);
  const double fastBedShear = ustar * ustar;

  // The main driver continues from the fast driver's field to its own.
  FlagFastWatersolve = 0;
  operations.computeWCStart();
  WaterSolve();
  ASSERT_EQ(FlagErrorBreak, 0) << readFile("boogie");
  const ReachBalance main = reachBalance();
  EXPECT_NEAR(main.drive / main.friction, 1.0, 0.02) << "drive " << main.drive << " N, friction " << main.friction;
  const double mainSlope = pressureSlope();
  const double ratio = fastSlope / mainSlope;
  const double shearRatio = fastBedShear / (0.3 * Ckinen[bottom]);
  std::printf("fast driver: %d outer iterations, column momentum balance %.3f, reach balance %.3f "
              "(main driver %.3f), bed shear %.3f and pressure slope %.3f of the main driver's (%.4g, %.4g Pa/m)\n",
              fastIterations, columnBalance, fast.drive / fast.friction, main.drive / main.friction, shearRatio, ratio,
              fastSlope, mainSlope);
  RecordProperty("slope_ratio", std::to_string(ratio));
  // The same bed shear and pressure slope as the main driver's.
  EXPECT_GE(shearRatio, 0.9);
  EXPECT_LE(shearRatio, 1.1);
  EXPECT_GE(ratio, 0.9);
  EXPECT_LE(ratio, 1.1);
}

}  // namespace
