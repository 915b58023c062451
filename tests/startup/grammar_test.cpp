// The grammar pass of "control" in process: data-set letters, the run string,
// the option letters and the title.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/settings.h"
#include "startup/control_reader.h"
#include "startup/dataset_table.h"

namespace {

void readControlText(const std::string &text) {
  kreadDefaults();
  ControlStream stream(text);
  kreadPass(stream);
}

TEST(Grammar, RunStringKeepsBlankLettersAndLineEnd) {
  readControlText("F 2 YWX\n");
  EXPECT_EQ(std::string(run, 20), std::string(" YWX\n") + std::string(15, ' '));
}

TEST(Grammar, EmptyControlLeavesRunUnwritten) {
  readControlText("no values given\n");
  EXPECT_EQ(std::string(run, 20), std::string(20, '\0'));
  EXPECT_EQ(IterF2, 1);
  EXPECT_DOUBLE_EQ(TimeStep, 1e-20);
}

TEST(Grammar, OptionLettersStoreAndSetFlags) {
  readControlText("F 7 NB\n");
  EXPECT_EQ(std::string(options + 1, 4), " NB\n");
  EXPECT_EQ(options[5], ' ');
  EXPECT_EQ(FlagBedGradient, 1);
  EXPECT_EQ(FlagBedslopeCorrection, 1);
  EXPECT_EQ(FlagDiffNonVert, 1);
}

TEST(Grammar, OptionLetterFEndsTheRun) {
  EXPECT_EXIT(readControlText("F 7 NB F 8 0.5\n"), ::testing::ExitedWithCode(255), "");
}

TEST(Grammar, LongTitleKeeps68Characters) {
  std::string title(100, 'x');
  readControlText("T" + title + "\n");
  EXPECT_EQ(Title[0], '\0');
  EXPECT_EQ(std::string(Title + 1), std::string(68, 'x') + " ");
}

TEST(Grammar, TitleLineEndBecomesBlank) {
  readControlText("T channel test\n");
  EXPECT_STREQ(Title + 1, " channel test ");
}

TEST(Grammar, UnreadableNumberReadsTheSharedDataSetAgain) {
  readControlText("F 20 3\n");
  EXPECT_EQ(IterF2, 3);
  readControlText("F 2 T\nFlow X\n");
  EXPECT_EQ(std::string(run, 6), "low X\n");
}

// An optional value that is left out must not take the letter of the data
// set that follows: "N" and "I" only look like the start of "nan" and "inf".
TEST(Grammar, OptionalValueLeavesTheNextLetter) {
  readControlText("F 47 0.5\nF 20 2\n");
  EXPECT_EQ(IterF2, 2);
  readControlText("F 47 0.5\nIF 20 3\n");
  EXPECT_EQ(IterF2, 3);
}

TEST(Grammar, OverflowingNumberKeepsSharedNumber) {
  readControlText("F 20 2\nF 99999999999 7\n");
  EXPECT_EQ(DataSetNumber, 20);
  EXPECT_EQ(IterF2, 2);
}

}  // namespace
