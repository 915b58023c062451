// The time series "timeo" on the generated channel (40 columns of 1 m × 1 m,
// 1 m deep, nine cells each) with fields set by hand: rows and their
// formats, the items that sum over the grid worked by hand, the running
// sums they feed, the items refused for lying outside the grid, and the
// choice of the set.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/monitoring/time_series_output.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/work_folder.h"

namespace {

class TimeSeries : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel(extraControl());
  }
  virtual std::string extraControl() const { return ""; }

  // One set from time 0 with the items given as (letter, number).
  static void oneSet(std::initializer_list<TimePrintItem> items) {
    TimePrintNo = 1;
    TimePrint[0].time = 0.0;
    TimePrint[0].count = 0;
    for (const TimePrintItem &item : items) TimePrint[0].item[TimePrint[0].count++] = item;
  }
  static TimePrintItem item(char letter, int number = 0) { return {letter, number, 0, 0, 0, 0}; }
  static TimePrintItem point(char letter, int i, int j) { return {letter, i, i, j, 0, 0}; }

  // The numbers of a row after the time, as written.
  static std::vector<double> numbers(const std::string &row) {
    std::istringstream in(row);
    std::vector<double> values;
    for (std::string word; in >> word;) values.push_back(std::strtod(word.c_str(), nullptr));
    return values;
  }
};

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }
int topCell(int i, int j) {
  int c = bottomCell(i, j);
  while (Ccellt[c] != 0) c = Ccellt[c];
  return c;
}

TEST_F(TimeSeries, CellValuesEachFollowedByABlank) {
  stimet = 3.5;
  Cxvel[12] = 0.25;
  Cpres[12] = 9810.5;
  Ckinen[12] = 0.004;
  oneSet({item('u', 12), item('p', 12), item('c', 12), item('j'), item('l'), item('Q', 3), item('k', 12)});
  TimePrintFunction();
  stimet = 4.0;
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"),
            "3.5000e+00 2.500000e-01 9.810500e+03 4.000000e-03 \n"
            "4.0000e+00 2.500000e-01 9.810500e+03 4.000000e-03 \n");
}

TEST_F(TimeSeries, ContinuityFiguresEndTheLine) {
  Cxvel[12] = 0.25;
  Cpres[12] = 9810.5;
  SumBedChange = 1.0;
  SumInflow = 2.0;
  SumOutflow = 3.0;
  MaxResidual[4] = 0.004;
  oneSet({item('u', 12), item('f'), item('p', 12)});
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"),
            "0.0000e+00 2.500000e-01 Cont: B I O R 1.000000e+00 2.000000e+00 3.000000e+00 4.000000e-03\n"
            "9.810500e+03 \n");
}

// Cells and grid points outside the tables write 0 in the item's format.
TEST_F(TimeSeries, ItemsOutsideTheGridWriteZero) {
  Cxvel[NoCells] = 0.5;
  oneSet({item('u', NoCells + 1), item('u', -1), item('u', NoCells), point('z', xnumber + 2, 1), point('h', 3, 2),
          point('z', 3, -1), item('n')});
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"),
            "0.0000e+00 0.000000e+00 0.000000e+00 5.000000e-01 0.000000e+00 1.000000e+00 0.000000e+00 360 \n");
}

// Group concentrations: only groups with faces, the volume-weighted mean of
// each size over the cells at the faces (two equal cells here).
TEST_F(TimeSeries, GroupConcentrations) {
  const int c1 = bottomCell(2, 2), c2 = bottomCell(2, 3);
  DischargeGroup &g = DischargeStruct[2];
  g.faceCount = 2;
  g.faces[0] = Cflatew[c1];
  g.faces[1] = Cflatew[c2];
  ASSERT_EQ(Fcell1[g.faces[0]], 0);
  ASSERT_EQ(Fcell2[g.faces[0]], c1);
  Cconc[0][c1] = 1.0;
  Cconc[0][c2] = 3.0;
  Cconc[1][c1] = Cconc[1][c2] = 0.5;
  oneSet({item('a'), item('n')});
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"), "0.0000e+00 A 2 2.000000e+00 5.000000e-01  360 \n");
}

// Lines 5, 6, 7 of the block (2..11): four columns of 1 m each, all wet;
// grid line j = 3 lies 10 m below the original bed, so columns 3 and 4 are
// not eroded: runs of 1 m (column 2) and 1 m (column 5, reaching j2).
TEST_F(TimeSeries, ErodedAndWetWidths) {
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) Surfaces[0][i][j] = j == 3 ? -10.0 : 1.0;
  }
  oneSet({item('i'), item('n')});
  TimePrintFunction();
  block[1].i2 = 8;  // seven columns along i: no line
  stimet = 1.0;
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"),
            "0.0000e+00 1.000000 4.000000 360 \n"
            "1.0000e+00 0.000000 0.000000 360 \n");
}

// Bed shear 300 k over 40 bottom faces of 1 m²; a flat lid gives no slope
// force; the log-law shear at the bottom cells; the pressure force of a
// pressure falling 100 Pa per metre along x over the half depth 0.5 m.
TEST_F(TimeSeries, ForcesAndTheirRunningSums) {
  for (int c = 1; c <= NoCells; ++c) {
    Ckinen[c] = 0.01;
    Cxvel[c] = 1.0;
    Croughness[c] = 0.05;
    Cpres[c] = -100.0 * Cxcenter[c];
  }
  const double half = Ckdist[bottomCell(2, 2)];
  ASSERT_NEAR(half, 1.0 / 18.0, 1e-9);
  const double law = 0.4 / std::log(30.0 / 18.0 / 0.05);
  const double expected[4] = {300.0 * 0.01 * 40, 0.0, 1000.0 * law * law * 40, 2.0 * 0.5 * 100.0 * 40};
  AvShearTimeo1 = AvShearTimeo2 = AvShearTimeo3 = AvShearTimeo4 = 1.0;
  oneSet({item('o', 0), item('o', 1), item('o', 2), item('o', 3), item('o', 7)});
  TimePrintFunction();
  const std::vector<double> v = numbers(readFile("timeo"));
  ASSERT_EQ(v.size(), 6u);
  for (int n = 0; n < 4; ++n) EXPECT_NEAR(v[n + 1], expected[n], 1e-5 * (1.0 + expected[n])) << "o " << n;
  EXPECT_EQ(v[5], 0.0);
  // Each sum grows by the value written (to its six written digits).
  EXPECT_NEAR(AvShearTimeo1, 1.0 + v[1], 1e-5 * v[1]);
  EXPECT_EQ(AvShearTimeo2, 1.0);
  EXPECT_NEAR(AvShearTimeo3, 1.0 + v[3], 1e-5 * v[3]);
  EXPECT_NEAR(AvShearTimeo4, 1.0 + v[4], 1e-5 * v[4]);
}

TEST_F(TimeSeries, MeanDepthAndItsSums) {
  oneSet({item('r')});
  TimePrintFunction();
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"), "0.0000e+00 1.000000 \n0.0000e+00 1.000000 \n");
  EXPECT_NEAR(AvDepthTimeo, 2.0, 1e-12);
  EXPECT_EQ(NoDepthTimeo, 2);
}

// Without components no column holds one: the peak is cell 0 with mean 0,
// its distance 0 without a source point and measured from the source point
// (the first cell of the last surface group of the component) with one.
TEST_F(TimeSeries, ComponentPeakWithoutComponent) {
  ASSERT_EQ(Cxcenter[0], 0.0);
  ASSERT_EQ(Cycenter[0], 0.0);
  oneSet({item('m', 0), item('n')});
  TimePrintFunction();
  const int source = topCell(11, 5);
  SurfDischargeStruct[3] = {0, 1, 5.0, {source}};
  SurfDischargeStruct[8] = {0, 1, 5.0, {topCell(2, 2)}};  // beyond group 7: not searched
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"),
            "0.0000e+00 0.000000e+00 0.000000e+00 360 \n"
            "0.0000e+00 1.012423e+01 0.000000e+00 360 \n");
  EXPECT_NEAR(std::hypot(Cxcenter[source], Cycenter[source]), 10.124228, 1e-6);
}

class TimeSeriesComponent : public TimeSeries {
  std::string extraControl() const override { return "F 50 1\n"; }
};

// One column holds the component: its top cell is the peak, measured from
// the source point.
TEST_F(TimeSeriesComponent, ComponentPeak) {
  ASSERT_NE(Ccomp, nullptr);
  for (int c = bottomCell(5, 3); c != 0; c = Ccellt[c]) Ccomp[0][c] = c == topCell(5, 3) ? 9.0 : 0.0;
  SurfDischargeStruct[1] = {0, 1, 5.0, {topCell(2, 2)}};
  oneSet({item('m', 0), item('q', topCell(5, 3)), item('n')});
  TimePrint[0].item[1].index = 0;
  TimePrintFunction();
  // Centres (1.5, 1.5) and (4.5, 2.5); mean 9/9 = 1.
  EXPECT_EQ(readFile("timeo"), "0.0000e+00 3.162278e+00 1.000000e+00 9.000000e+00 360 \n");
}

// Sets start at 0 and 10: the last set whose start is reached is written.
TEST_F(TimeSeries, LastStartedSetIsWritten) {
  TimePrintNo = 2;
  TimePrint[0] = {0.0, 1, {item('n')}};
  TimePrint[1] = {10.0, 1, {item('r')}};
  for (const double t : {0.0, 5.0, 9.999}) {
    stimet = t;
    EXPECT_EQ(chosenTimePrintSet(), 0) << t;
  }
  for (const double t : {10.0, 20.0}) {
    stimet = t;
    EXPECT_EQ(chosenTimePrintSet(), 1) << t;
  }
  stimet = 5.0;
  TimePrintFunction();
  stimet = 10.0;
  TimePrintFunction();
  EXPECT_EQ(readFile("timeo"), "5.0000e+00 360 \n1.0000e+01 1.000000 \n");
}

TEST_F(TimeSeries, CannotOpenEndsTheRun) {
  oneSet({item('n')});
  std::filesystem::create_directory("timeo");
  EXPECT_EXIT(TimePrintFunction(), testing::ExitedWithCode(253), "");
}

}  // namespace
