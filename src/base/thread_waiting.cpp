// The waiting rule of the thread team, settled before the runtime starts.
#include "base/thread_waiting.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Spins of a waiting thread before it sleeps on a busy machine: some tens of
// microseconds, enough for the gap between two regions of a stage, far less
// than the time slice the other work would lose to it.
constexpr const char *kBusySpinCount = "1000";

// Runnable tasks of the machine besides this process, from the count of
// /proc/loadavg (the fourth field, "runnable/total"); the fewest of a few
// readings, so that a passing task does not count.
int otherRunnableTasks() {
  int fewest = -1;
  for (int reading = 0; reading < 3; ++reading) {
    if (reading > 0) usleep(2000);
    std::ifstream in("/proc/loadavg");
    double l1, l5, l15;
    int runnable = 0;
    char slash;
    if (!(in >> l1 >> l5 >> l15 >> runnable >> slash)) return 0;
    const int others = std::max(0, runnable - 1);
    fewest = fewest < 0 ? others : std::min(fewest, others);
  }
  return std::max(fewest, 0);
}

int coresOffered() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
}

}  // namespace

int threadsAskedInControl(const std::string &path) {
  std::ifstream in(path);
  std::string line;
  int asked = 0;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string letter;
    int number = 0, threads = 0;
    if (words >> letter >> number >> threads && letter == "F" && number == 206) asked = threads;
  }
  return asked;
}

bool machineBusyFor(int threads, int others, int cores) {
  return threads >= 2 && others + std::min(threads, cores) > cores;
}

void settleThreadWaiting(char **argv) {
  if (std::getenv("OMP_WAIT_POLICY") || std::getenv("GOMP_SPINCOUNT")) return;
  const int threads = threadsAskedInControl("control");
  if (threads < 2) return;
  if (!machineBusyFor(threads, otherRunnableTasks(), coresOffered())) return;
  if (setenv("GOMP_SPINCOUNT", kBusySpinCount, 1) != 0) return;
  execv("/proc/self/exe", argv);
  // The process could not start again: it runs on with the runtime's rule.
  unsetenv("GOMP_SPINCOUNT");
}
