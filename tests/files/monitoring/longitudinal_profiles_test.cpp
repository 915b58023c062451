// "profiles" on a line of three columns of the generated channel filled by
// hand: the rows of the balance, the sediment inflow and outflow at the ends,
// the defects stored with F 277 2, and a line without columns.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/monitoring/longitudinal_profiles.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

class Profiles : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel();
    block[1].i2 = block[1].i1 + 2;  // three columns on the middle line
    for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
    for (int c = 0; c <= NoCells; ++c) Cconc[1][c] = c > 0 ? 0.001 : 0.0;
    TimeStep = 1.0;
    stimet = 10.0;
    kIn[1] = 5.0;
    kUt[1] = 3.0;
    fallvelo[1] = 0.01;
    density = 2.65;
  }
  struct Row {
    double x, sdef, sdefc, sdefv, sdefb, bech, bmove;
  };
  static std::vector<Row> rows(const std::vector<std::string> &lines) {
    std::vector<Row> r;
    for (std::size_t n = 2; n < lines.size() - 3; ++n) {
      Row row{};
      EXPECT_EQ(std::sscanf(lines[n].c_str(), "%lf %lf %lf %lf %lf %lf %lf", &row.x, &row.sdef, &row.sdefc,
                            &row.sdefv, &row.sdefb, &row.bech, &row.bmove),
                7)
          << lines[n];
      r.push_back(row);
    }
    return r;
  }
};

// Columns of 1 m3 holding 0.001 of sediment: 2.65 kg each in the time term;
// the inflow enters the first row's flux term and the outflow the last's.
TEST_F(Profiles, RowsOfTheBalanceWithInflowAndOutflow) {
  FlagBedDefect = 2;
  std::vector<double> defects(NoBCells + 1, 99.0);
  Bdefect = defects.data();
  print_profiles();
  const std::vector<std::string> lines = linesOf(readFile("profiles"));
  ASSERT_EQ(lines.size(), 2u + 3u + 3u);
  EXPECT_EQ(lines[0],
            "X, LB, zval[1], wl, LB+BSed[0], sdef [kg], sdefc [kg], sdefv [kg], sdefb [kg], bech [m], bmove [m], "
            "time = 10.000000 sec");
  const std::vector<Row> r = rows(lines);
  ASSERT_EQ(r.size(), 3u);
  const double sdefc[] = {5.0, 0.0, -3.0};
  for (int n = 0; n < 3; ++n) {
    EXPECT_NEAR(r[n].x, n + 0.5, 1e-6);
    EXPECT_NEAR(r[n].sdefc, sdefc[n], 1e-6) << n;
    EXPECT_NEAR(r[n].sdefv, 2.65, 1e-6) << n;
    EXPECT_NEAR(r[n].sdef, 2.65 - sdefc[n], 1e-6) << n;
  }
  const int jm = (block[1].j1 + block[1].j2) / 2;
  for (int i = block[1].i1; i <= block[1].i2; ++i) {
    EXPECT_NEAR(Bdefect[pointbed[i][jm]], 2.65 - sdefc[i - block[1].i1], 1e-9);
  }
  EXPECT_EQ(Bdefect[pointbed[block[1].i1 + 3][jm]], 99.0);  // beyond the line
  EXPECT_EQ(lines[6], "Total defect: 5.950000 kg, Flux defect: 2.000000 kg, Time change: 7.950000 kg, Bed change: 0.000000 kg");
  EXPECT_EQ(lines[7], "Bupflux = 0.000000 kg, downflux = 0.079500 kg, difference: 0.079500 kg.");
  Bdefect = nullptr;
}

TEST_F(Profiles, LineWithoutColumnsWritesOnlyHeaderAndSums) {
  block[1].i2 = block[1].i1 - 1;
  print_profiles();
  const std::vector<std::string> lines = linesOf(readFile("profiles"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "Deltasum = 0.000000, deltamax[0] = 0.000000");
  EXPECT_EQ(lines[3], "Total defect: 0.000000 kg, Flux defect: 0.000000 kg, Time change: 0.000000 kg, Bed change: 0.000000 kg");
}

}  // namespace
