// The data sets Q, H, I, L, M, N and S: messages and exit statuses through the
// engine, and the tables they fill, in process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/exit_codes.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/control_reader.h"
#include "startup/dataset_table.h"
#include "support/run_case.h"

namespace {

// The status of a run that ends at a refused value.
constexpr int kRefused = kExitInputError & 255;

// A data set that always fails during the pass: after an accepted data set it
// shows that nothing else was logged and reading went on.
const std::string kSentinel = "K 2 9 9\n";
const std::string kSentinelMessage = "Input error for K 2 in control";

const std::string kNWarning =
    "Input error for N data set in control file: in TELVA 2 there is only\n"
    "one grain size distribution for the N data sets, and it has number 0.\n"
    "If you want a spatially varying grain size distribution, use the fracres file\n\n";
const std::string kIWarning =
    "Warning, the values on the I data set in the control file are not used in TELVA 2\n"
    "Use the timei file or the M data set instead\n\n";

class LetterLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(LetterLog, EndsWithMessageAndStatus) {
  expectLogCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Refused, LetterLog,
    ::testing::Values(
        LogCase{"QWithoutComponents", "Q 1 0 1.0\n", kRefused, "Input error for Q 1 in control\n"},
        LogCase{"QBeforeF50", "Q 1 0 1.0\nF 50 2\n", kRefused, "Input error for Q 1 in control\n"},
        LogCase{"QComponentTooLarge", "F 50 2\nQ 1 2 1.0\n", kRefused, "Input error for Q 1 in control\n"},
        LogCase{"QTypeTooLarge", "F 50 2\nQ 10001 0\n", kRefused, "Input error for Q 10001 in control\n"},
        LogCase{"QTypeNegative", "F 50 2\nQ -1 0\n", kRefused, "Input error for Q -1 in control\n"},
        // Q in free text: the shared number (0) is the type; no component stands there.
        LogCase{"QInFreeText", "Quality\n", kRefused, "Input error for Q 0 in control\n"},
        // No type stands after the sign: the shared number (50, from F 50) is the type and no component is read.
        LogCase{"QSignWithoutDigits", "F 50 2\nQ - 1 1.0\n", kRefused, "Input error for Q 50 in control\n"},
        LogCase{"QParameterIsCount", "F 50 2\nQ 3 0 2 0 1.5\n", kRefused, "Input error for Q 3 0 in control\n"},
        LogCase{"QStarParameterAboveCount", "F 50 2\nQ 2 0 3 1.5\n", kRefused, "Input error for Q 2 0 in control\n"},
        LogCase{"QMissingCoefficient", "F 50 2\nQ 42 1 1 2 3\n", kRefused, "Input error for Q 42 1 in control\n"},
        LogCase{"QCoefficientNotFinite", "F 50 2\nQ 1 1 nan\n", kRefused, "Input error for Q 1 1 in control\n"},
        LogCase{"QNameMissing", "F 50 2\nQ 0 1", kRefused, "Input error for Q 0 1 in control\n"},
        // QTerms holds 200 terms; the 201st must not be written past its end.
        LogCase{"QTwoHundredFirst", "F 50 1\n" + repeated("Q 1 0 1.0\n", 201), 254,
                "Error for Q data sets in control: there is room for 200 source terms, remove Q data sets\n"},
        LogCase{"STwoBeforeOne", "G 1 300 300 11 2\nS 2 0.001 0.1\n", kRefused,
                "Input error for S 2 in control file: The coarsest sediment sizes have to be given first\n"},
        LogCase{"SBeforeF260", "G 1 300 300 11 2\nS 2 0.001 0.1\nF 260 1\n", kRefused,
                "Input error for S 2 in control file: The coarsest sediment sizes have to be given first\n"},
        LogCase{"SFinerFirst", "G 1 300 300 11 2\nS 1 0.001 0.1\nS 2 0.002 0.1\n", kRefused,
                "Input error for S 2 in control file: The coarsest sediment sizes have to be given first\n"},
        LogCase{"SSizeAboveLPlusOne", "S 3 0.1 0.1\n", kRefused, "Input error for S in control: incorrect first integer\n"},
        LogCase{"SSizeZero", "S 0 0.1 0.1\n", kRefused, "Input error for S in control: incorrect first integer\n"},
        LogCase{"SOneValue", "S 1 0.1\n", kRefused, "Input error for S in control in second or third float for i=1\n"},
        LogCase{"SNegativeDiameter", "S 1 -0.1 0.1\n", kRefused,
                "Input error for S in control in second or third float for i=1\n"},
        LogCase{"SFallVelocity", "S 1 0.1 2e6\n", kRefused, "Input error for S in control in second or third float for i=1\n"},
        LogCase{"NSize50", "N 0 50 0.5\n", kRefused, "Input error for N data set in control file, size 50, fraction 0.500000\n"},
        LogCase{"NFraction", "N 0 1 1.5\n", kRefused, "Input error for N data set in control file, size 1, fraction 1.500000\n"},
        LogCase{"NSizeZero", "N 0 0 0.5\n", kRefused, "Input error for N data set in control file, size 0, fraction 0.500000\n"},
        LogCase{"NOtherDistributionChecked", "N 25 1 -0.5\n", kRefused,
                kNWarning + "Input error for N data set in control file, size 1, fraction -0.500000\n"},
        LogCase{"MGroup", "M 10 1 1.0\n", kRefused, "Error for M 10 data set\nFirst integer must be between 1 and 9\n"},
        LogCase{"MIndexAboveComponentsAndSizes", "M 1 2 1.0\n", kRefused,
                "Error for M 1 2 data set\n"
                "Second integer less than zero, or larger than what is given on F 50 data set\n"},
        LogCase{"MIndexNegative", "M 1 -1 1.0\n", kRefused,
                "Error for M 1 -1 data set\n"
                "Second integer less than zero, or larger than what is given on F 50 data set\n"},
        // lnumber 50 admits the index 20, but a group holds entries 0..19 only.
        LogCase{"MIndexBeyondGroup", "G 1 10 10 11 50\nM 1 20 1.0\n", kRefused,
                "Error for M 1 20 data set\n"
                "Second integer less than zero, or larger than what is given on F 50 data set\n"},
        LogCase{"MValueMissing", "M 1 1 x\n", kRefused, "Error for M 1 1 data set\n"},
        LogCase{"ISizeAboveL", "I 2 0.5\n", kRefused, "Input error for I in control"},
        LogCase{"HTooManyPoints", "H 3 21\n", kRefused, "Input error for H 3 in control\nData points must not exceed 20\n"},
        LogCase{"HIndex", "H 3 2 0.5 1 2 0.5 17 0\n", kRefused, "Input error for H 3 in control\n"},
        LogCase{"LTooMany", "L 21\n", 254,
                "Error for L data set in control: there is room for 20 contour levels, give fewer\n"},
        LogCase{"LNotFinite", "L 2 1 inf\n", kRefused, "Input error for L in control\n"}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Accepted, LetterLog,
    ::testing::Values(
        LogCase{"QStarParameterEqualsCount", "F 50 2\nQ 2 0 2 1.5\n" + kSentinel, kRefused, kSentinelMessage},
        // An unknown type reads nothing more: the loop meets the K after it.
        LogCase{"QUnknownType", "F 50 1\nQ 999 0 " + kSentinel, kRefused, kSentinelMessage},
        LogCase{"QName", "F 50 1\nQ 0 0 Temperature\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"QTwoHundred", "F 50 1\n" + repeated("Q 1 0 1.0\n", 200) + kSentinel, kRefused, kSentinelMessage},
        LogCase{"SCoarsestFirst", "G 1 300 300 11 2\nS 1 0.002 0.1\nS 2 0.001 0.05\nS 3 0.001 0.05\n" + kSentinel, kRefused,
                kSentinelMessage},
        LogCase{"NOtherDistributionWarns", "N 1 1 1.0\n" + kSentinel, kRefused, kNWarning + kSentinelMessage},
        LogCase{"NDistribution25", "N 25 1 0.5\n" + kSentinel, kRefused, kNWarning + kSentinelMessage},
        LogCase{"NDistributionNegative", "N -1 1 0.5\n" + kSentinel, kRefused, kNWarning + kSentinelMessage},
        LogCase{"NSize49", "N 0 49 0.5\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"IWarns", "I 1 0.5\n" + kSentinel, kRefused, kIWarning + kSentinelMessage},
        LogCase{"MIndexWithinSizes", "M 9 1 1.0\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"MIndexWithinComponents", "F 50 3\nM 1 2 1.0\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"HRecordAbove14", "H 15 " + kSentinel, kRefused, kSentinelMessage},
        LogCase{"HRecordNegative", "H -1 " + kSentinel, kRefused, kSentinelMessage},
        LogCase{"HTwentyPoints", "H 3 20 " + repeated("0.5 16 0 ", 20) + "\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"LZero", "L 0\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"LTwenty", "L 20 " + repeated("1 ", 20) + "\n" + kSentinel, kRefused, kSentinelMessage}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- In process ------------------------------------------------------------------------------

void readControlText(const std::string &text) {
  ControlStream stream(text);
  kreadPass(stream);
}

class LetterTables : public ::testing::Test {
 protected:
  void SetUp() override { kreadDefaults(); }
};

TEST_F(LetterTables, Defaults) {
  EXPECT_EQ(NoTerms, 0);
  EXPECT_EQ(CompInflowNo, 0);
  for (int g = 1; g <= 9; ++g) {
    for (int k = 0; k < kCompInflowEntries; ++k) {
      EXPECT_EQ(CompInflow[g].order[k], -1);
      EXPECT_DOUBLE_EQ(CompInflow[g].conc[k], 0.0);
    }
  }
  EXPECT_DOUBLE_EQ(SedimentSample[0][1], 1.0);
  EXPECT_DOUBLE_EQ(SedimentSample[0][2], 0.0);
  EXPECT_EQ(FlagReadNdata, 0);
  EXPECT_DOUBLE_EQ(gsize[1], 0.0);
  EXPECT_EQ(contourNo, 0);
  EXPECT_EQ(Bio[14].count, 7);
}

// Each term fills its integer parameters from i1 and its coefficients from c1
// in the order of its format; the rest stays 0.
TEST_F(LetterTables, SourceTermsInTheOrderOfTheirFormat) {
  NoComponents = 6;
  readControlText(
      "Q 1 0 1.5\n"
      "Q 2 1 6 2.5\n"
      "Q 371 2 1 2 3 0.1 0.2 0.3 0.4 0.5 0.6 0.7\n"
      "Q 6100 3 0 1 2 3 4 5 1 2 3 4 5 6 7 8 9 10\n"
      "Q 999 4 7 7\n"
      "Q 81 5 1 2 3 4 5 6 7 8\n");
  ASSERT_EQ(NoTerms, 5);
  const SourceTerm &a = QTerms[0];
  EXPECT_EQ(a.target, 0);
  EXPECT_EQ(a.type, 1);
  EXPECT_DOUBLE_EQ(a.c1, 1.5);
  EXPECT_EQ(a.i1, 0);
  EXPECT_DOUBLE_EQ(a.c2, 0.0);
  const SourceTerm &b = QTerms[1];
  EXPECT_EQ(b.type, 2);
  EXPECT_EQ(b.target, 1);
  EXPECT_EQ(b.i1, 6);
  EXPECT_DOUBLE_EQ(b.c1, 2.5);
  const SourceTerm &c = QTerms[2];
  EXPECT_EQ(c.type, 371);
  EXPECT_EQ(c.i1, 1);
  EXPECT_EQ(c.i3, 3);
  EXPECT_EQ(c.i4, 0);
  EXPECT_DOUBLE_EQ(c.c1, 0.1);
  EXPECT_DOUBLE_EQ(c.c7, 0.7);
  EXPECT_DOUBLE_EQ(c.c8, 0.0);
  const SourceTerm &d = QTerms[3];
  EXPECT_EQ(d.i1, 0);
  EXPECT_EQ(d.i6, 5);
  EXPECT_DOUBLE_EQ(d.c1, 1);
  EXPECT_DOUBLE_EQ(d.c10, 10);
  // Type 999 adds nothing; its values are left to the loop.
  const SourceTerm &e = QTerms[4];
  EXPECT_EQ(e.type, 81);
  EXPECT_EQ(e.target, 5);
  EXPECT_DOUBLE_EQ(e.c8, 8);
  EXPECT_EQ(e.i1, 0);
  EXPECT_EQ(DataSetNumber, 81);
}

TEST_F(LetterTables, QStarParameterEqualToCountOnlyForStarredTypes) {
  NoComponents = 3;
  readControlText("Q 1002 0 3 1.0\n");
  EXPECT_EQ(QTerms[0].i1, 3);
  EXPECT_EXIT(readControlText("Q 120 0 3 1.0 2.0\n"), ::testing::ExitedWithCode(kExitInputError & 255), "");
}

// The name is taken as one word; 39 characters are kept, the rest is consumed.
TEST_F(LetterTables, ComponentNameKeeps39Characters) {
  NoComponents = 2;
  std::string name(45, 'F');
  readControlText("Q 0 1 " + name + " K 1 7 8\n");
  EXPECT_EQ(std::string(QualityName[1]), std::string(39, 'F'));
  EXPECT_EQ(NoTerms, 0);
  EXPECT_EQ(iterGlobalMax, 7);
  readControlText("Q 0 0 Salt\n");
  EXPECT_STREQ(QualityName[0], "Salt");
}

TEST_F(LetterTables, InflowConcentrationsTakeTheirColumnInFileOrder) {
  NoComponents = 4;
  readControlText("M 2 3 0.5\nM 1 0 1.5\nM 2 1 2.5\n");
  EXPECT_EQ(CompInflowNo, 3);
  EXPECT_EQ(CompInflow[2].order[3], 0);
  EXPECT_DOUBLE_EQ(CompInflow[2].conc[3], 0.5);
  EXPECT_EQ(CompInflow[1].order[0], 1);
  EXPECT_DOUBLE_EQ(CompInflow[1].conc[0], 1.5);
  EXPECT_EQ(CompInflow[2].order[1], 2);
  EXPECT_DOUBLE_EQ(CompInflow[2].conc[1], 2.5);
  EXPECT_EQ(CompInflow[2].order[0], -1);
  EXPECT_EQ(DataSetNumber, 2);
}

TEST_F(LetterTables, GrainSizeFractions) {
  readControlText("N 0 1 0.25\nN 0 3 0.75\nN 5 2 0.5\nN 25 1 0.5\nN -1 4 0.5\n");
  EXPECT_DOUBLE_EQ(SedimentSample[0][1], 0.25);
  EXPECT_DOUBLE_EQ(SedimentSample[0][3], 0.75);
  EXPECT_DOUBLE_EQ(SedimentSample[5][2], 0.5);
  EXPECT_DOUBLE_EQ(SedimentSample[0][4], 0.0);
  EXPECT_EQ(FlagReadNdata, 5);
}

TEST_F(LetterTables, GrainSizesAndFlocculation) {
  readControlText("G 1 10 10 11 2\nS 1 0.002 0.1\nS 2 0.001 -0.05\n");
  EXPECT_DOUBLE_EQ(gsize[1], 0.002);
  EXPECT_DOUBLE_EQ(fallvelo[2], -0.05);
  kreadDefaults();
  FlagFlocDLL = 1;
  readControlText("G 1 10 10 11 2\nS 2 0.001 0.1\nS 3 0.004 0.2\n");
  EXPECT_DOUBLE_EQ(gsize[2], 0.001);
  EXPECT_DOUBLE_EQ(gsize[3], 0.004);
}

TEST_F(LetterTables, SmallTables) {
  readControlText("H 3 2 0.5 1 2 1.5 16 0\nL 3 1 2 3\nI 1 0.7\n");
  EXPECT_EQ(Bio[3].count, 2);
  EXPECT_DOUBLE_EQ(Bio[3].coefficient[1], 1.5);
  EXPECT_EQ(Bio[3].first[1], 16);
  EXPECT_EQ(Bio[3].second[0], 2);
  EXPECT_EQ(contourNo, 3);
  EXPECT_DOUBLE_EQ(contourLevels[2], 3);
  EXPECT_DOUBLE_EQ(inflow[1], 0.7);
}

}  // namespace
