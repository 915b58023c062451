// The formatted reads of the control stream: what is converted, what is left
// in the stream, and which numbers are marked for refusal.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "startup/control_stream.h"

namespace {

struct IntCase {
  const char *input;
  const char *format;
  int count;
  int value;
  bool bad;
  const char *rest;
  friend void PrintTo(const IntCase &c, std::ostream *os) { *os << '"' << c.input << '"'; }
};

class ScanInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(ScanInt, ConsumesAsTheStandardReadDoes) {
  const IntCase &c = GetParam();
  ControlStream stream(c.input);
  int value = -777;
  ScanResult r = scan(stream, c.format, &value);
  EXPECT_EQ(r.count, c.count) << c.input;
  EXPECT_EQ(value, c.count == 1 ? c.value : -777) << c.input;
  EXPECT_EQ(r.bad, c.bad) << c.input;
  EXPECT_EQ(std::string(stream.rest()), c.rest) << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ScanInt,
    ::testing::Values(IntCase{" 2YW", " %d", 1, 2, false, "YW"}, IntCase{"\n2", " %d", 1, 2, false, ""},
                      IntCase{" -3", " %d", 1, -3, false, ""}, IntCase{" 600 1", " %d", 1, 600, false, " 1"},
                      IntCase{"low", " %d", 0, 0, false, "low"}, IntCase{" 7 \n x", " %d ", 1, 7, false, "x"},
                      IntCase{"-x", "%d", 0, 0, false, "x"}, IntCase{"", " %d", EOF, 0, false, ""},
                      IntCase{"   ", " %d", EOF, 0, false, ""}, IntCase{"1.5", "%d", 1, 1, false, ".5"},
                      IntCase{"2147483648 ", "%d", 1, 2147483647, true, " "},
                      IntCase{"-2147483648", "%d", 1, -2147483647 - 1, false, ""}));

struct DoubleCase {
  const char *input;
  int count;
  double value;
  bool bad;
  const char *rest;
  friend void PrintTo(const DoubleCase &c, std::ostream *os) { *os << '"' << c.input << '"'; }
};

class ScanDouble : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(ScanDouble, ConsumesAsTheStandardReadDoes) {
  const DoubleCase &c = GetParam();
  ControlStream stream(c.input);
  double value = -777;
  ScanResult r = scan(stream, "%lf", &value);
  EXPECT_EQ(r.count, c.count) << c.input;
  if (c.count == 1 && !c.bad) {
    EXPECT_DOUBLE_EQ(value, c.value) << c.input;
  }
  EXPECT_EQ(r.bad, c.bad) << c.input;
  EXPECT_EQ(std::string(stream.rest()), c.rest) << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ScanDouble,
    ::testing::Values(DoubleCase{" 0.5 x", 1, 0.5, false, " x"}, DoubleCase{"1e-3,", 1, 1e-3, false, ","},
                      DoubleCase{".25", 1, 0.25, false, ""}, DoubleCase{"-2.", 1, -2.0, false, ""},
                      DoubleCase{"3e+x", 0, 0, false, "x"}, DoubleCase{"1e400", 1, 0, true, ""},
                      DoubleCase{"nan", 1, 0, true, ""}, DoubleCase{"-inf ", 1, 0, true, " "},
                      DoubleCase{"Infinity", 1, 0, true, ""}, DoubleCase{"abc", 0, 0, false, "abc"},
                      DoubleCase{"\nN 1 2", 0, 0, false, "N 1 2"}, DoubleCase{" Init", 0, 0, false, "Init"},
                      DoubleCase{"infinite", 0, 0, false, "infinite"},
                      DoubleCase{"", EOF, 0, false, ""}));

TEST(Scan, SeveralItemsStopAtTheFirstMismatch) {
  ControlStream stream("100 200 300 1\n");
  int a = 0, b = 0, c = 0, d = 0, e = 77;
  ScanResult r = scan(stream, "%d %d %d %d %d", &a, &b, &c, &d, &e);
  EXPECT_EQ(r.count, 4);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(e, 77);
}

TEST(Scan, CharactersAndBoundedStrings) {
  ControlStream stream("  R  name-that-is-long\n");
  char letter = 0;
  char word[5];
  ScanResult r = scan(stream, " %c %4s", &letter, word);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(letter, 'R');
  EXPECT_STREQ(word, "name");
  EXPECT_EQ(std::string(stream.rest()), "-that-is-long\n");
}

TEST(Scan, ByteFFIsNotTheEnd) {
  ControlStream stream("\xff");
  EXPECT_EQ(stream.get(), 0xFF);
  EXPECT_EQ(stream.get(), EOF);
}

}  // namespace
