// Equation residuals on a hand-built column of three cells: the 7-point and
// 13-point sums worked by hand, the cells left out, the stored entries, the
// reported lines and their dump, the pressure residual, and the missing
// normaliser.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "flow/stages/residuals.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "startup/control_reader.h"

namespace {

double field[64];

// Cells 1 (bed), 2, 3 (top) of one column, Cf = 1, 2, 4. The equations:
//   cell 1: 2 f1 = 1 f2 + 0.5            r = 0.5
//   cell 2: 5 f2 = 1 f3 + 2 f1 + 3        r = -1
//   cell 3: 1 f3 = 1 f2 + 1               r = -1
// and, second neighbours, 0.25 f3 on cell 1, 0.5 f1 on cell 3 (cell 2's
// second top neighbour is the dummy cell 0).
class Residuals : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    sou[1] = 1;  // the second-neighbour arrays exist
    allocate(4, 4, 4, 200);
    buildColumn();
  }

  static void buildColumn() {
    kreadDefaults();
    NoCells = 3;
    Ccellt[1] = 2, Ccellt[2] = 3, Ccellb[2] = 1, Ccellb[3] = 2;
    field[0] = 0.0, field[1] = 1.0, field[2] = 2.0, field[3] = 4.0;
    Cf = field;
    const double ap[4] = {0, 2, 5, 1}, at[4] = {0, 1, 1, 0}, ab[4] = {0, 0, 2, 1}, src[4] = {0, 0.5, 3, 1};
    for (int c = 1; c <= 3; ++c) {
      Cap[c] = ap[c], Cat[c] = at[c], Cab[c] = ab[c], Csource[c] = src[c];
      Cae[c] = Caw[c] = Can[c] = Cas[c] = 7.0;  // no neighbours: they read the dummy cell
      Catt[c] = Cabb[c] = 0.0;
    }
    Catt[1] = 0.25, Cabb[3] = 0.5, Catt[2] = 100.0;
    Equation = 1;
    NormResidual[1] = 2.0;
    NormResidual[4] = 2.0;
    MaxResidual[1] = MaxResidual[4] = 0.0;
    std::remove("boogie");
  }
};

// 7 points: S = 0.5 + 1 + 1; 13 points: S = 1.5 + 1 + 0.5; over the normaliser 2.
TEST_F(Residuals, SevenAndThirteenPointSums) {
  struct Case {
    int scheme, store;
    double expected;
  };
  const Case cases[] = {{0, 1, 1.25}, {1, 1, 1.5}, {0, 2, 1.25}, {1, 2, 1.5}};
  for (const Case &k : cases) {
    SCOPED_TRACE("sou " + std::to_string(k.scheme) + ", F 153 " + std::to_string(k.store));
    buildColumn();
    sou[1] = k.scheme;
    FlagResidual = k.store;
    residual(1, 3);
    EXPECT_DOUBLE_EQ(MaxResidual[1], k.expected);
    EXPECT_DOUBLE_EQ(residualN(1, 3), k.expected);
    EXPECT_DOUBLE_EQ(MaxResidual[1], k.expected);  // residualN leaves it
  }
}

// The storing residual keeps r / Cap with its sign for every evaluated cell;
// a fixed cell, or one whose Cap is not finite, adds nothing and keeps its
// entry. A residual that is not a number makes the result not a number.
TEST_F(Residuals, LeftOutCellsKeepTheirEntries) {
  sou[1] = 0;
  residual(1, 3);
  EXPECT_DOUBLE_EQ(Cxvel_res[1], 0.25);
  EXPECT_DOUBLE_EQ(Cxvel_res[2], -0.2);
  EXPECT_DOUBLE_EQ(Cxvel_res[3], -1.0);
  const double skipped[] = {1e15, 1e30, std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::infinity()};
  for (double ap : skipped) {
    SCOPED_TRACE(ap);
    Cxvel_res[2] = 42.0;
    Cap[2] = ap;
    MaxResidual[1] = 0.0;
    residual(1, 3);
    EXPECT_DOUBLE_EQ(MaxResidual[1], 0.75);
    EXPECT_EQ(Cxvel_res[2], 42.0);
  }
  Cap[2] = 5.0;
  field[3] = std::numeric_limits<double>::quiet_NaN();
  MaxResidual[1] = 0.0;
  residual(1, 3);
  EXPECT_TRUE(std::isnan(MaxResidual[1]));
}

// The pressure correction's residual is its continuity defect in every cell;
// the storing one is | sum |r| - GlobFluxDefect |, the chunk sum never
// subtracts.
TEST_F(Residuals, PressureResidualMeasuresTheDefect) {
  Equation = 4;
  Csource[1] = 1.0, Csource[2] = -2.0, Csource[3] = 3.0;
  Cap[2] = 1e30;  // evaluated all the same
  GlobFluxDefect = 10.0;
  residual(1, 3);
  EXPECT_DOUBLE_EQ(MaxResidual[4], 2.0);  // |6 - 10| / 2
  EXPECT_DOUBLE_EQ(Cpres_res[2], -2.0);
  EXPECT_DOUBLE_EQ(residualN(1, 3), 3.0);
  GlobFluxDefect = 2.0;
  MaxResidual[4] = 0.0;
  residual(1, 3);
  EXPECT_DOUBLE_EQ(MaxResidual[4], 2.0);  // |6 - 2| / 2
  // Reporting: no subtraction either.
  FlagResidual = 0;
  MaxResidual[4] = 0.0;
  residual(1, 3);
  EXPECT_DOUBLE_EQ(MaxResidual[4], 3.0);
}

// Which cells are reported: |r| above T = F 38 x norm / NoCells (at least
// 0.01), and for the transported quantities also above 10000.
TEST_F(Residuals, ThresholdAndTheTenThousandRule) {
  struct Case {
    const char *name;
    int equation;
    double limit, bigSource;
    std::string log;
  };
  const std::string cell2 = "Large residual for f(2,1) : 1, value: 2.000000\n";
  const std::string cell3 = "Large residual for f(3,1) : 1, value: 4.000000\n";
  const Case cases[] = {
      {"T = 1.5 reports none", 1, 2.25, 0.0, ""},
      {"T = 0.75 reports cells 2 and 3", 1, 1.125, 0.0, cell2 + cell3},
      {"T = 0.01 at least", 1, 0.0, 0.0, "Large residual for f(1,1) : 0.5, value: 1.000000\n" + cell2 + cell3},
      {"the default limit: only above 10000", 1, 1e12, 20000.0,
       "Large residual for f(1,1) : 20000.5, value: 1.000000\n"},
      {"pressure: only above T", 4, 1e12, 20000.0, ""},
      {"pressure above T", 4, 1.5, 0.0, "Large residual for f(2,4) : 3, value: 2.000000\n"},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    buildColumn();
    sou[1] = 0;
    FlagResidual = 2;
    Equation = k.equation;
    InputErrorLimit = k.limit;
    Csource[1] += k.bigSource;
    residual(1, 3);
    EXPECT_EQ(boogie(), k.log);
  }
}

// The lines of a report block, each cut at its label.
std::vector<std::string> labels(const std::string &log) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    const size_t end = line.find_first_of(":=");
    out.push_back(line.substr(0, end));
  }
  return out;
}

// With the debugging letter E each report carries the dump rows, in order.
TEST_F(Residuals, DumpRowsInOrder) {
  struct Case {
    const char *name;
    int equation, scheme;
    std::vector<std::string> rows;
  };
  const std::vector<std::string> tail = {"TurbDensFlag",    "Eps-data central", "Eps-data west",
                                         "Eps-data east",   "Eps-data north",   "Eps-data south", ""};
  auto with = [&](std::vector<std::string> head) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  const Case cases[] = {
      {"7 points", 1, 0,
       with({"Large residual for f(2,1) ", "Source, ap, anb ", "Vol, Ckdist, areas", "InvAp", "Fluxes",
             "X-velocities", "Y-velocities", "Z-velocities", "kinen", "epsilon", "gamma", "Pressure"})},
      {"13 points", 1, 1,
       with({"Large residual for f(2,1) ", "Source, ap, anb ", "anbb ", "Vol, Ckdist, areas", "InvAp", "Fluxes",
             "X-velocities", "Y-velocities", "Z-velocities", "kinen", "epsilon", "epsilon,nbb", "gamma",
             "Pressure"})},
      {"pressure", 4, 0,
       with({"Large residual for f(2,4) ", "Source, ap, anb ", "Vol, Ckdist, areas", "InvAp", "Fluxes",
             "X-velocities", "Y-velocities", "Z-velocities", "kinen", "epsilon", "gamma"})},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    buildColumn();
    debugging = 'E';
    sou[1] = k.scheme;
    FlagResidual = 2;
    Equation = k.equation;
    Csource[2] = k.equation == 4 ? 3.0 : Csource[2] + 20000.0;
    InputErrorLimit = 2.0;  // T = 1.33: cell 2 alone
    residual(2, 2);
    const std::string log = boogie();
    EXPECT_EQ(labels(log), k.rows) << log;
  }
  buildColumn();
  debugging = 'E';
  sou[1] = 0;
  FlagResidual = 2;
  Equation = 4;
  Csource[2] = 3.0;
  Cxvel[2] = 0.5;
  InputErrorLimit = 2.0;
  residual(2, 2);
  const std::string log = boogie();
  EXPECT_NE(log.find("Source, ap, anb = 3 5 7 7 7 7 1 2\n"), std::string::npos) << log;
  EXPECT_NE(log.find("X-velocities: 0.5 0 0 0 0\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Eps-data south: 0 0 0 0 0 0 0 0 0 0\n\n"), std::string::npos) << log;
}

// Without a normaliser the single-thread residual ends the run, even on an
// empty range; the chunked one only marks it, and the caller ends it after
// the join with the longer text.
TEST_F(Residuals, MissingNormaliserEndsTheRun) {
  NormResidual[1] = 5e-11;
  EXPECT_EXIT(residual(3, 1), ::testing::ExitedWithCode(251), "");
  EXPECT_EQ(boogie(), "Error, residual not set for Equation no. 1\nThis error often occur when inflow discharges are "
                      "not set.\n\n");
  std::remove("boogie");
  EXPECT_EXIT(
      {
        EXPECT_EQ(residualN(1, 3), 0.0);
        endIfResidualNotSet();
      },
      ::testing::ExitedWithCode(251), "");
  EXPECT_EQ(boogie(),
            "Error residual not set for equation 1\nThis error often occurs when the inflow discharge is not set\n"
            "The discharge can be set in the Vantorell or on the F 237 data set in the control file\n"
            "Default discharge groups can be set on the F 314 data set in the control file\n\n");
  // With a normaliser set, the check after the join lets the run go on.
  NormResidual[1] = 2.0;
  residualN(1, 3);
  endIfResidualNotSet();
  EXPECT_EQ(MaxResidual[1], 0.0);
}

}  // namespace
