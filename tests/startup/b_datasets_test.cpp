// The second pass over "control" for the B data sets, in process: what it
// stores, what it steps over (the run string, the option letters, the title)
// and the 10,000 characters it examines; refusals end the process.
#include <gtest/gtest.h>

#include <string>

#include "base/exit_codes.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/b_datasets.h"
#include "startup/control_reader.h"
#include "support/work_folder.h"

namespace {

void readB(const std::string &text) {
  kreadDefaults();
  ControlStream stream(text);
  readBDataSets(stream);
}

void expectRecord(int n, BDataSetEntry expected) {
  const BDataSetEntry &r = Bdatasets[n];
  EXPECT_EQ(r.block, expected.block);
  EXPECT_EQ(r.i1, expected.i1);
  EXPECT_EQ(r.i2, expected.i2);
  EXPECT_EQ(r.j1, expected.j1);
  EXPECT_EQ(r.j2, expected.j2);
}

TEST(BDataSets, NoneGivenLeavesMinusOne) {
  readB("F 2 YW\nG 1 300 300 11 1\n");
  EXPECT_EQ(NoBdatasets, -1);
}

TEST(BDataSets, BlockZeroIsTheWholeGrid) {
  readB("B 0 5 9 5 9\nB 3 2 10 4 4\n");
  ASSERT_EQ(NoBdatasets, 1);
  expectRecord(0, {0, 2, 300, 2, 300});
  expectRecord(1, {3, 2, 10, 4, 4});
}

struct SkipCase {
  const char *name;
  std::string text;
  int records;  // B records stored
  friend void PrintTo(const SkipCase &c, std::ostream *os) { *os << c.name; }
};

class BPass : public ::testing::TestWithParam<SkipCase> {};

TEST_P(BPass, StoresOnlyTheBDataSetsItMeets) {
  readB(GetParam().text);
  EXPECT_EQ(NoBdatasets + 1, GetParam().records);
}

const std::string kB = "B 1 2 3 2 3";

const SkipCase kSkips[] = {
    // The 30 characters after T are stepped over, the 31st is examined.
    {"BInsideTheTitle", "T" + std::string(29, 'x') + kB + "\n", 0},
    {"BAfterTheTitle", "T" + std::string(30, 'x') + kB + "\n", 1},
    // The 10 characters after F 2 and F 7 (the blank first) are stepped over.
    {"BInsideTheRunString", "F 2 " + kB + "\n", 0},
    {"BAfterTheRunString", "F 2" + std::string(10, ' ') + kB + "\n", 1},
    {"BInsideTheOptions", "F 7 NB" + kB + "\n", 0},
    {"BAfterTheOptions", "F 7" + std::string(10, 'N') + kB + "\n", 1},
    {"OtherFDataSetsAreNotSkipped", "F 27 " + kB + "\n", 1},
    {"FWithoutNumberIsNotSkipped", "Fx " + kB + "\n", 1},
    // A word starting with B, or fewer than five integers, is no data set.
    {"WordIsNoDataSet", "Bed level " + kB + "\n", 1},
    {"FourIntegersAreNoDataSet", "B 1 2 3 2\n", 0},
    // At most 10,000 characters are examined; those stepped over do not count.
    {"BAtCharacter10000", std::string(9999, ' ') + kB, 1},
    {"BAtCharacter10001", std::string(10000, ' ') + kB, 0},
    {"SkippedCharactersDoNotCount", "T" + std::string(30, 'x') + std::string(9998, ' ') + kB, 1},
    {"IntegersDoNotCount", "B 1 2 3 2 3" + std::string(9994, ' ') + kB, 2},
};

INSTANTIATE_TEST_SUITE_P(Skips, BPass, ::testing::ValuesIn(kSkips),
                         [](const ::testing::TestParamInfo<SkipCase> &info) { return info.param.name; });

struct RefusedCase {
  const char *name;
  std::string text;
  friend void PrintTo(const RefusedCase &c, std::ostream *os) { *os << c.name; }
};

// The refusals write "boogie": each runs in a folder of its own.
class BRefused : public WorkFolderTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(BRefused, InputErrorEndsTheRun) {
  EXPECT_EXIT(readB("G 1 10 12 11 1\n" + GetParam().text), ::testing::ExitedWithCode(kExitInputError & 255), "");
  EXPECT_EQ(readFile("boogie"), "Input error for B in control");
}

// G 1 is only read by the first pass: the sizes here are the defaults, 300 by 300.
const RefusedCase kRefused[] = {
    {"BlockAbove19", "B 20 2 3 2 3\n"},
    {"BlockNegative", "B -1 2 3 2 3\n"},
    {"I1BeyondTheGrid", "B 1 301 301 2 3\n"},
    {"I2AtOne", "B 1 1 1 2 3\n"},
    {"J1BeyondTheGrid", "B 1 2 3 301 301\n"},
    {"J2AtOne", "B 1 2 3 1 1\n"},
    {"JRangeReversed", "B 1 2 3 5 4\n"},
    {"IRangeReversed", "B 1 5 4 2 3\n"},
    {"IntegerOverflows", "B 1 2 3 2 99999999999\n"},
};

INSTANTIATE_TEST_SUITE_P(Refused, BRefused, ::testing::ValuesIn(kRefused),
                         [](const ::testing::TestParamInfo<RefusedCase> &info) { return info.param.name; });

class BTable : public WorkFolderTest {};

TEST_F(BTable, TwentyFitTheTwentyFirstEndsTheRun) {
  std::string twenty;
  for (int n = 0; n < 20; ++n) twenty += "B 1 2 3 2 3\n";
  readB(twenty);
  EXPECT_EQ(NoBdatasets, 19);
  EXPECT_EXIT(readB(twenty + "B 2 2 3 2 3\n"), ::testing::ExitedWithCode(254), "");
  EXPECT_EQ(readFile("boogie"), "Error in control file: at most 20 B data sets can be given\n");
}

}  // namespace
