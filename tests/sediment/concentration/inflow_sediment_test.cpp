// Inflow sediment on the generated channel: the plain inflow against hand
// values, the cyclic modes over their first three steps, the "outconc" rows,
// the logarithmic profile in both visiting orders and a bad "inspace" value.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "sediment/concentration/inflow_sediment.h"
#include "sediment/concentration/sediment_channel.h"

namespace {

// The channel at 10 s, in its first step, with no coefficients yet.
class InflowSedimentChannel : public SedimentChannel {
 protected:
  void SetUp() override {
    SedimentChannel::SetUp();
    stimet = 10.0;
    Iter = 1;
    clearCoefficients();
  }

  // The water entering through inflow face f of group 1 in this step, kg/s.
  static double faceWater(int f) { return Farea[f] * DischargeArray[1] / (DischargeStruct[1].area + 1e-30); }
};

// q = 7500/4 kg/s per m2: a face of 1/9 m2 brings 208.333·0.001 into the
// source and nothing to the diagonal (what leaves the cell is its centre
// coefficient's); the step brings 7500·10·0.001·2.65 = 198.75 kg.
TEST_F(InflowSedimentChannel, PlainInflow) {
  kIn[1] = SumInflow = 0.0;
  InflowSediment();
  const double face = 7500.0 / 4.0 / 9.0;
  for (int f : upstreamFaces()) {
    const int c = cellBehind(f);
    EXPECT_EQ(Cap[c], 0.0) << c;
    EXPECT_NEAR(Csource[c], face * 0.001, 1e-9) << c;
    if (Ccellb[c] == 0) {
      EXPECT_NEAR(Binout[Cbed[c]], face, 1e-6) << c;
    }
  }
  EXPECT_NEAR(kIn[1], 198.75, 1e-9);
  EXPECT_NEAR(SumInflow, 198.75, 1e-9);
  EXPECT_EQ(DischargeArray[1], 7500.0);
  // A group of type 1 without faces gets neither discharge nor sediment.
  DischargeStruct[3].type = 1;
  DischargeArray[3] = -1.0;
  InflowSediment();
  EXPECT_EQ(DischargeArray[3], -1.0);
}

// With a "timei" series the discharges and the concentration of the first
// inflow group (column 1) are interpolated in time; before the first time
// the first row holds. F 377 1 turns cyclic mode 2 on from row 1.
TEST_F(InflowSedimentChannel, TimeSeries) {
  FlagDischargeTime = 1;
  TimeInNo = 2;
  TimeInTime[0] = 0.0;
  TimeInTime[1] = 100.0;
  for (int g : {1, 2}) {
    QDinn[0][g] = 5.0;
    QDinn[1][g] = 10.0;
  }
  Cinn[0][1] = 0.001;
  Cinn[1][1] = 0.003;
  const int c = cellBehind(upstreamFaces()[0]);
  struct Case {
    double time, discharge, conc;
  };
  for (const Case &k : {Case{25.0, 6250.0, 0.0015}, Case{-10.0, 5000.0, 0.001}}) {
    stimet = k.time;
    clearCoefficients();
    InflowSediment();
    EXPECT_NEAR(DischargeArray[1], k.discharge, 1e-9) << k.time;
    EXPECT_NEAR(DischargeArray[2], k.discharge, 1e-9) << k.time;
    EXPECT_NEAR(Csource[c] / faceWater(upstreamFaces()[0]), k.conc, 1e-15) << k.time;
  }
  FlagCyclicSstart = 1;
  InflowSediment();
  EXPECT_EQ(FlagCyclicS, 2);
}

// The returned concentration of every cyclic mode over its first three
// steps, the outflow at 0.002 and the inflow at 0.001; before a first
// returned value exists the step's inflow stands in for it.
TEST_F(InflowSedimentChannel, CyclicModes) {
  for (int f : downstreamFaces()) Cconc[1][cellBehind(f)] = 0.002;
  relaxCyclicS = 0.1;
  struct Case {
    int mode;
    double steps[3];
  };
  const Case cases[] = {
      {1, {0.002, 0.002, 0.002}},
      {2, {0.002, 0.002, 0.002}},
      {3, {0.00101, 0.0010199, 0.001029701}},
      {4, {0.0011, 0.00119, 0.001271}},
      {5, {0.0011, 0.00119, 0.001271}},
      {6, {0.0010605, 0.00112338975, 0.00118876364513}},
      {7, {0.001, 0.001, 0.001}},
  };
  for (const Case &k : cases) {
    concBuffer[1] = -1.0;
    for (int s = 0; s < 3; ++s) {
      FlagCyclicS = k.mode;
      clearCoefficients();
      InflowSediment();
      EXPECT_NEAR(concBuffer[1], k.steps[s], 1e-14) << "mode " << k.mode << " step " << s + 1;
      const int c = cellBehind(upstreamFaces()[0]);
      EXPECT_NEAR(Csource[c], faceWater(upstreamFaces()[0]) * k.steps[s], 1e-14 * faceWater(upstreamFaces()[0])) << "mode " << k.mode;
    }
  }
  // Without an outflow group 2 nothing returns.
  DischargeStruct[2].type = 1;
  concBuffer[1] = -1.0;
  InflowSediment();
  EXPECT_EQ(concBuffer[1], -1.0);
}

// "outconc" rows: every F 464 steps, or every 100 steps with cyclic mode 2;
// mode 1 writes none of its own.
TEST_F(InflowSedimentChannel, OutconcRows) {
  for (int f : downstreamFaces()) Cconc[1][cellBehind(f)] = 0.002;
  FlagOutConc = 2;
  for (int n = 1; n <= 4; ++n) {
    Iter = n;
    stimet = 10.0 * n;
    InflowSediment();
  }
  EXPECT_EQ(readFile("outconc"), "20.000000 sec, 0.002\n40.000000 sec, 0.002\n");
  FlagOutConc = 0;
  FlagCyclicS = 2;
  Iter = 100;
  InflowSediment();
  Iter = 101;
  InflowSediment();
  FlagCyclicS = 1;
  Iter = 200;
  InflowSediment();
  EXPECT_EQ(readFile("outconc"), "20.000000 sec, 0.002\n40.000000 sec, 0.002\n40.000000 sec, 0.002\n");
}

// F 202: the discharge is shared by ln(30 z/ks) above the lowest bottom. With
// the downstream-most column of the list standing 0.2 m higher, F 202 2
// (visiting from the last face) measures the columns met after it from that
// bottom; F 202 1 keeps the lowest bottom for all.
TEST_F(InflowSedimentChannel, LogProfileInBothOrders) {
  XksInflow = 0.05;
  const std::vector<int> faces = upstreamFaces();
  const int lastBottom = cellBehind(faces[27]);  // bottom of the last column of the list
  ASSERT_EQ(Ccellb[lastBottom], 0);
  Czcenter[lastBottom] += 0.2;
  const int probe = cellBehind(faces[26]);  // top cell of the column before it
  const int reference = cellBehind(faces[8]);  // top cell of the first column
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    FlagLogInflow = mode;
    clearCoefficients();
    InflowSediment();
    // The water of each face, from the sediment it brings at 0.001.
    auto water = [](int c) { return Csource[c] / 0.001; };
    double total = 0.0;
    for (int f : faces) {
      total += water(cellBehind(f));
      EXPECT_EQ(Cap[cellBehind(f)], 0.0);
    }
    EXPECT_NEAR(total, 7500.0, 1e-8);
    const double z = Czcenter[probe];
    const double expected = mode == 1 ? 1.0 : std::log(30.0 * (z - 0.2) / 0.05) / std::log(30.0 * z / 0.05);
    EXPECT_NEAR(water(probe) / water(reference), expected, 1e-12);
    // Cells whose centre lies below that bottom take the least weight.
    const int low = cellBehind(faces[19]);
    if (mode == 2) {
      EXPECT_NEAR(water(low) / water(reference), 1e-7 / std::log(30.0 * z / 0.05), 1e-15);
    }
  }
}

// An "inspace" concentration of 1.5 is a probable error in the file.
TEST_F(InflowSedimentChannel, InspaceValueAboveOne) {
  FlagInspace = 1;
  inspace[21] = 1.5;
  EXPECT_EXIT(InflowSediment(), ::testing::ExitedWithCode(255), "");
  const std::string log = readFile("boogie");
  EXPECT_NE(log.find("Probable error in inspace file. Concentration for size 1 is 1.5\n"
                     "Location xyz coordinates: ("),
            std::string::npos)
      << log;
  // A value of exactly 1 is taken, times the G 31 factor; the discharges
  // keep the values they have.
  DischargeArray[1] = 7500.0;
  inspace[21] = 1.0;
  inflowMult[1] = 0.5;
  InflowSediment();
  const int c = cellBehind(upstreamFaces()[0]);
  EXPECT_EQ(Cap[c], 0.0);
  EXPECT_NEAR(Csource[c], faceWater(upstreamFaces()[0]) * 0.5, 1e-12);
}

}  // namespace

namespace {

// The inflow of one size through the per-size routine: F 37 3 gives the
// per-size rows.
class InflowSedimentRows : public InflowSedimentChannel {
 protected:
  InflowSedimentRows() { tsc_ = 3; }
};

// The fixed sediment-feed set-up (F 537 1): the outflow concentrations of
// three windows of simulated time averaged and written once, after the last
// window; the store takes nothing more afterwards.
TEST_F(InflowSedimentRows, SedimentFeedAverages) {
  FlagQuistel = 1;
  FlagOutConc = 1;
  struct Call {
    double time, outflow;
  };
  const Call calls[] = {{100000, 0.001}, {200000, 0.001}, {300000, 0.002}, {400000, 0.002},
                        {600000, 0.003}, {760000, 0.003}, {800000, 0.009}};
  std::string expected;
  for (const Call &k : calls) {
    for (int f : downstreamFaces()) Cconc[1][cellBehind(f)] = k.outflow;
    stimet = k.time;
    InflowSedimentM(1);
    char row[80];
    std::snprintf(row, sizeof row, "%lf sec, %lg \n", k.time, k.outflow);
    expected += row;
    if (k.time == 760000) expected += "Av0: 0.001000 \nAv1: 0.002000 \nAv2: 0.003000 \n";
  }
  EXPECT_EQ(readFile("outconc"), expected);
}

}  // namespace
