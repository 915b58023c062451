// The fast flow driver (F 170 1) on the straight channel of
// cases/straight-channel: through the binary it converges and writes its
// results, serially and on four threads alike; in-process its profile rises
// from the bed, every section carries the inflow, the reach's pressure force
// and momentum flux meet its wall friction (for the main driver too), and
// its smaller bed shear gives a smaller pressure slope than the main
// driver's (the five rows share the eddy viscosity of U, so epsilon diffuses
// with sigma 1, and its production keeps 1.44 x 1.3).
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
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr const char *kCase = "straight-channel";
constexpr double kInflow = 7500.0;          // kg/s
constexpr double kMeanVelocity = 0.75;      // m/s over the 10 m2 section
constexpr int kColumnI = 41, kColumnJ = 4;  // centred at x = 79 m, y = 5 m

std::string fastControl(const std::string &extra = "") { return caseFile(kCase, "control") + "F 170 1\n" + extra; }

// u, v, w of every cell of a "result.end" text, by cell number.
std::map<int, std::vector<double>> resultVelocities(const std::string &text) {
  std::map<int, std::vector<double>> cells;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    int c;
    double u, v, w;
    if (std::sscanf(line.c_str(), "C %d %lf %lf %lf", &c, &u, &v, &w) == 4) cells[c] = {u, v, w};
  }
  return cells;
}

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
  const auto one = resultVelocities(serial.file("result.end"));
  const auto four = resultVelocities(threaded.file("result.end"));
  ASSERT_FALSE(one.empty());
  ASSERT_EQ(one.size(), four.size());
  double largest = 0.0;
  for (const auto &[c, u] : one) {
    for (int m = 0; m < 3; ++m) largest = std::max(largest, std::fabs(u[m] - four.at(c)[m]));
  }
  std::printf("fast driver, serial against four threads: largest velocity difference %.2e m/s\n", largest);
  EXPECT_LT(largest, 0.01 * kMeanVelocity);
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
  // The fast driver's epsilon production (C1 in effect 1.872) leaves less
  // turbulence: a smaller bed shear and so a smaller pressure slope.
  EXPECT_LT(shearRatio, 0.8);
  EXPECT_GT(ratio, 0.4);
  EXPECT_LT(ratio, 1.0);
}

}  // namespace
