// The waiting rule of the thread team: the threads "control" asks for and the
// test of a machine too busy for them.
#include "base/thread_waiting.h"

#include <gtest/gtest.h>

#include <string>

#include "support/work_folder.h"

namespace {

class ThreadWaiting : public WorkFolderTest {};

TEST_F(ThreadWaiting, ThreadsAskedInControl) {
  const struct {
    const char *control;
    int threads;
  } cases[] = {
      {"T channel\nF 2 YW\nF 206 8\n", 8},
      {"F 206 2\nF 206 4\n", 4},           // the last data set holds
      {"F 2060 8\nF 20 6\nG 206 8\n", 0},  // other data sets
      {"T F 206 8\n", 0},
      {"F 206\n", 0},
      {"", 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.control);
    writeFile("control", c.control);
    EXPECT_EQ(threadsAskedInControl("control"), c.threads);
  }
  EXPECT_EQ(threadsAskedInControl("missing"), 0);
}

TEST(ThreadWaitingRule, BusyWhenTheOtherWorkLeavesTooFewCores) {
  const struct {
    int threads, others, cores;
    bool busy;
  } cases[] = {
      {8, 0, 8, false}, {8, 1, 8, true},  {8, 8, 8, true},  {4, 4, 8, false},
      {4, 5, 8, true},  {1, 8, 8, false}, {0, 8, 8, false}, {16, 0, 8, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::to_string(c.threads) + " threads, " + std::to_string(c.others) + " others");
    EXPECT_EQ(machineBusyFor(c.threads, c.others, c.cores), c.busy);
  }
}

}  // namespace
