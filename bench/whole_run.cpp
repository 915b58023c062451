// Whole runs of the binary on a straight channel of 200 x 40 columns with 20
// cells each (160,000 cells, 100 m x 10 m x 2 m deep), for the main, modular
// ("F 328 1") and fast ("F 170 1") drivers on 1, 2, 4 and 8 threads ("F 206").
// A run's cost per outer iteration is the wall time of a long run less that
// of a short one, divided by the difference in outer iterations, so the
// start-up (grid, allocation, start values) drops out. Beside it the triad
// a = b + s c on three arrays far larger than the caches gives what the
// memory allows: a memory-bound solver cannot gain more than the triad's
// ratio over one thread.
//
// Usage: telva_whole_run PATH_TO_TELVA [outer iterations, default 20]
#include <omp.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kLinesI = 201, kLinesJ = 41, kCells = 20;
constexpr double kLength = 100.0, kWidth = 10.0, kDepth = 2.0, kSpeed = 0.75;

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string loadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one;
  in >> one;
  return one.empty() ? "?" : one;
}

void writeKoosurf(const std::filesystem::path &folder) {
  std::FILE *file = std::fopen((folder / "koosurf").c_str(), "w");
  for (int i = 1; i <= kLinesI; ++i) {
    for (int j = 1; j <= kLinesJ; ++j) {
      std::fprintf(file, "%d %d %.4f %.4f 0.0 %.1f\n", i, j, kLength * (i - 1) / (kLinesI - 1),
                   kWidth * (j - 1) / (kLinesJ - 1), kDepth);
    }
  }
  std::fclose(file);
}

void writeControl(const std::filesystem::path &folder, const std::string &driver, int threads, int iterations) {
  const double discharge = kSpeed * kWidth * kDepth;
  std::FILE *file = std::fopen((folder / "control").c_str(), "w");
  std::fprintf(file,
               "T straight channel for the whole-run benchmark\nF 2 YW\nG 1 %d %d %d 1\nF 65 200000 600000 200000 "
               "10000 1000\nF 314 1 1\nF 237 1 %g\nF 237 2 %g\nW 1 50 7.5 1.0\nK 1 %d\nF 206 %d\n%s",
               kLinesI + 3, kLinesJ + 3, kCells + 1, discharge, discharge, iterations, threads, driver.c_str());
  std::fclose(file);
}

// Wall time of one run in `folder`; negative when the run did not end
// normally (status 1).
double timedRun(const std::string &telva, const std::filesystem::path &folder) {
  const std::string command = "cd '" + folder.string() + "' && '" + telva + "' > /dev/null 2>&1";
  const double start = now();
  const int status = std::system(command.c_str());
  const double seconds = now() - start;
  return WIFEXITED(status) && WEXITSTATUS(status) == 1 ? seconds : -1.0;
}

// Best of three triads a = b + s c over n doubles on `threads` threads, in
// GB/s (three arrays of eight bytes moved per element).
double triad(std::vector<double> &a, const std::vector<double> &b, const std::vector<double> &c, int threads) {
  const long n = static_cast<long>(a.size());
  double best = 1e30;
  for (int repeat = 0; repeat < 3; ++repeat) {
    const double start = now();
#pragma omp parallel for num_threads(threads) schedule(static)
    for (long i = 0; i < n; ++i) a[i] = b[i] + 3.0 * c[i];
    best = std::min(best, now() - start);
  }
  return 24.0 * static_cast<double>(n) / best / 1e9;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH_TO_TELVA [outer iterations]\n", argv[0]);
    return 2;
  }
  const std::string telva = std::filesystem::absolute(argv[1]).string();
  const int iterations = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const int shortRun = 3;
  std::string folderName = (std::filesystem::temp_directory_path() / "telva-whole-run-XXXXXX").string();
  if (!mkdtemp(folderName.data())) return 3;
  const std::filesystem::path folder(folderName);
  writeKoosurf(folder);

  const std::string loadBefore = loadAverage();
  const long n = 40'000'000;
  std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 2.0);
  const int maxThreads = omp_get_max_threads();
  const double triad1 = triad(a, b, c, 1);

  struct Driver {
    const char *name, *dataSets;
  };
  const Driver drivers[] = {{"main", ""}, {"modular", "F 328 1\n"}, {"fast", "F 170 1\n"}};
  std::printf("Straight channel, %d cells, %d outer iterations timed, machine of %d threads\n",
              (kLinesI - 1) * (kLinesJ - 1) * kCells, iterations, maxThreads);
  std::printf("%-8s %7s %12s %14s %9s %12s\n", "driver", "F 206", "s/iteration", "s/it/Mcells", "speed-up",
              "triad ratio");
  for (const Driver &driver : drivers) {
    double serial = 0.0;
    for (int threads : {1, 2, 4, 8}) {
      if (threads > maxThreads) continue;
      writeControl(folder, driver.dataSets, threads, shortRun);
      const double brief = timedRun(telva, folder);
      writeControl(folder, driver.dataSets, threads, shortRun + iterations);
      const double full = timedRun(telva, folder);
      if (brief < 0.0 || full < 0.0) {
        std::printf("%-8s %7d   run failed (see %s/boogie)\n", driver.name, threads, folder.c_str());
        continue;
      }
      const double perIteration = (full - brief) / iterations;
      if (threads == 1) serial = perIteration;
      const double ratio = triad(a, b, c, threads) / triad1;
      std::printf("%-8s %7d %12.4f %14.4f %9.2f %12.2f\n", driver.name, threads, perIteration,
                  perIteration / ((kLinesI - 1) * (kLinesJ - 1) * kCells / 1e6),
                  serial > 0.0 ? serial / perIteration : 0.0, ratio);
      std::fflush(stdout);
    }
  }
  std::printf("Triad on 1 thread: %.1f GB/s. Load average (1 min) before: %s, after: %s\n", triad1,
              loadBefore.c_str(), loadAverage().c_str());
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
