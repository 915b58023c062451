// Whole runs of the binary on a straight channel of 200 x 40 columns with 20
// cells each (160,000 cells, 100 m x 10 m x 2 m deep).
//
// Per iteration: the main, modular ("F 328 1") and fast ("F 170 1") drivers
// on 1, 2, 4 and 8 threads ("F 206"). A run's cost per outer iteration is the
// wall time of a long run less that of a short one, divided by the difference
// in outer iterations, so the start-up (grid, allocation, start values) drops
// out; each figure is the median of several such pairs. Beside it the triad
// a = b + s c on three arrays far larger than the caches gives what the
// memory allows: a memory-bound solver cannot gain more than the triad's
// ratio over one thread. With --loaded a busy loop runs on every core for the
// length of the measurement, as other work on a shared machine would.
//
// To convergence (--converge): the main driver with its defaults, with the
// line solver of the pressure correction ("K 5 0 0 0 1 0 0") and with the
// depth-summed accelerator ("F 168 2", "K 5 0 0 0 10 0 0"), that with one
// sweep of the pressure correction per solve pass ("K 4 1 1 1 1 1 1"), and
// that with the relaxation raised ("K 3 0.95 0.95 0.95 0.3 0.8 0.8"), on 1 and 8
// threads, with the outer iterations and wall seconds of each run, the
// largest velocity difference from the default run as a share of the mean
// speed, and, when OpenFOAM is installed, simpleFoam on the same channel
// (bench/openfoam_channel.sh) with the ratio of the times.
//
// Usage: telva_whole_run PATH_TO_TELVA [outer iterations, default 20]
//        [--repeats N] [--loaded] [--converge] [--serial-default]
//   --serial-default adds the default settings on one thread to --converge
//   (thousands of outer iterations: many minutes).
#include <omp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kLinesI = 201, kLinesJ = 41, kCells = 20;
constexpr double kLength = 100.0, kWidth = 10.0, kDepth = 2.0, kSpeed = 0.75;
constexpr double kMillionCells = (kLinesI - 1) * (kLinesJ - 1) * kCells / 1e6;

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

void writeControl(const std::filesystem::path &folder, const std::string &dataSets, int threads, int iterations) {
  const double discharge = kSpeed * kWidth * kDepth;
  std::FILE *file = std::fopen((folder / "control").c_str(), "w");
  std::fprintf(file,
               "T straight channel for the whole-run benchmark\nF 2 YW\nG 1 %d %d %d 1\nF 65 200000 600000 200000 "
               "10000 1000\nF 314 1 1\nF 237 1 %g\nF 237 2 %g\nW 1 50 7.5 1.0\nK 1 %d\nF 206 %d\n%s",
               kLinesI + 3, kLinesJ + 3, kCells + 1, discharge, discharge, iterations, threads, dataSets.c_str());
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

std::string fileText(const std::filesystem::path &path) {
  std::ifstream in(path);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
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

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1.0 : v[v.size() / 2];
}

// One busy child process per core, for the loaded measurement.
struct BusyMachine {
  std::vector<pid_t> children;
  explicit BusyMachine(int cores) {
    for (int k = 0; k < cores; ++k) {
      const pid_t pid = fork();
      if (pid == 0) {
        volatile unsigned long spin = 0;
        for (;;) spin = spin + 1;
      }
      if (pid > 0) children.push_back(pid);
    }
  }
  ~BusyMachine() {
    for (pid_t pid : children) kill(pid, SIGKILL);
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
  }
};

struct Options {
  std::string telva;
  int iterations = 20, repeats = 3;
  bool loaded = false, converge = false, serialDefault = false;
};

void perIteration(const Options &o, const std::filesystem::path &folder) {
  const std::string loadBefore = loadAverage();
  const long n = 40'000'000;
  std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 2.0);
  const int maxThreads = omp_get_max_threads();
  const double triad1 = triad(a, b, c, 1);
  std::vector<double> triadRatio(maxThreads + 1, 0.0);
  for (int threads : {1, 2, 4, 8})
    if (threads <= maxThreads) triadRatio[threads] = triad(a, b, c, threads) / triad1;

  std::unique_ptr<BusyMachine> busy;
  if (o.loaded) busy = std::make_unique<BusyMachine>(maxThreads);
  struct Driver {
    const char *name, *dataSets;
  };
  const Driver drivers[] = {{"main", ""}, {"modular", "F 328 1\n"}, {"fast", "F 170 1\n"}};
  std::printf("Straight channel, %d cells, %d outer iterations timed, median of %d, machine of %d threads%s\n",
              (kLinesI - 1) * (kLinesJ - 1) * kCells, o.iterations, o.repeats, maxThreads,
              o.loaded ? ", a busy loop on every core" : "");
  std::printf("%-8s %7s %12s %14s %9s %12s\n", "driver", "F 206", "s/iteration", "s/it/Mcells", "speed-up",
              "triad ratio");
  const int shortRun = 3;
  for (const Driver &driver : drivers) {
    double serial = 0.0;
    for (int threads : {1, 2, 4, 8}) {
      if (threads > maxThreads) continue;
      std::vector<double> samples;
      for (int r = 0; r < o.repeats; ++r) {
        writeControl(folder, driver.dataSets, threads, shortRun);
        const double brief = timedRun(o.telva, folder);
        writeControl(folder, driver.dataSets, threads, shortRun + o.iterations);
        const double full = timedRun(o.telva, folder);
        if (brief < 0.0 || full < 0.0) {
          samples.clear();
          break;
        }
        samples.push_back((full - brief) / o.iterations);
      }
      if (samples.empty()) {
        std::printf("%-8s %7d   run failed (see %s/boogie)\n", driver.name, threads, folder.c_str());
        continue;
      }
      const double cost = median(samples);
      if (threads == 1) serial = cost;
      std::printf("%-8s %7d %12.4f %14.4f %9.2f %12.2f\n", driver.name, threads, cost, cost / kMillionCells,
                  serial > 0.0 ? serial / cost : 0.0, triadRatio[threads]);
      std::fflush(stdout);
    }
  }
  busy.reset();
  std::printf("Triad on 1 thread: %.1f GB/s. Load average (1 min) before: %s, after: %s\n", triad1,
              loadBefore.c_str(), loadAverage().c_str());
}

// The velocities of the "C" lines of a result file by cell.
std::map<int, std::vector<double>> velocities(const std::string &text) {
  std::map<int, std::vector<double>> cells;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("C ", 0) != 0) continue;
    std::istringstream row(line.substr(2));
    int c;
    double u, v, w;
    if (row >> c >> u >> v >> w) cells[c] = {u, v, w};
  }
  return cells;
}

int outerIterations(const std::string &result) {
  const std::size_t at = result.find("Results, iter = ");
  return at == std::string::npos ? -1 : std::atoi(result.c_str() + at + 16);
}

void toConvergence(const Options &o, const std::filesystem::path &folder) {
  struct Setting {
    const char *name, *dataSets;
  };
  const Setting settings[] = {{"default", ""},
                              {"line solver", "K 5 0 0 0 1 0 0\n"},
                              {"accelerator", "F 168 2\nK 5 0 0 0 10 0 0\n"},
                              {"accel., K 4", "F 168 2\nK 5 0 0 0 10 0 0\nK 4 1 1 1 1 1 1\n"},
                              {"that, K 3", "F 168 2\nK 5 0 0 0 10 0 0\nK 4 1 1 1 1 1 1\nK 3 0.95 0.95 0.95 0.3 0.8 0.8\n"}};
  const int maxThreads = omp_get_max_threads();
  std::printf("To convergence (largest residual below 1e-3), main driver, load before %s\n", loadAverage().c_str());
  std::printf("%-12s %7s %11s %10s %22s\n", "setting", "F 206", "iterations", "seconds", "largest |du| / 0.75 m/s");
  std::map<int, std::vector<double>> reference;
  double fastestSerial = -1.0, fastestThreaded = -1.0;
  for (int threads : {8, 1}) {
    if (threads > maxThreads) continue;
    for (const Setting &s : settings) {
      const bool isDefault = std::strcmp(s.name, "default") == 0;
      if (threads == 1 && isDefault && !o.serialDefault) continue;
      writeControl(folder, s.dataSets, threads, 60000);
      const double seconds = timedRun(o.telva, folder);
      const std::string result = fileText(folder / "result.end");
      if (seconds < 0.0 || fileText(folder / "boogie").find("Solution converged") == std::string::npos) {
        std::printf("%-12s %7d   did not converge (see %s/boogie)\n", s.name, threads, folder.c_str());
        continue;
      }
      const auto cells = velocities(result);
      if (isDefault && reference.empty()) reference = cells;
      double largest = 0.0;
      for (const auto &[c, v] : cells) {
        const auto it = reference.find(c);
        if (it == reference.end()) continue;
        for (int k = 0; k < 3; ++k) largest = std::max(largest, std::fabs(v[k] - it->second[k]));
      }
      std::printf("%-12s %7d %11d %10.1f %21.2f%%\n", s.name, threads, outerIterations(result), seconds,
                  100.0 * largest / kSpeed);
      std::fflush(stdout);
      if (!isDefault && largest < 0.01 * kSpeed) {
        double &best = threads == 1 ? fastestSerial : fastestThreaded;
        if (best < 0.0 || seconds < best) best = seconds;
      }
    }
  }
  // simpleFoam beside it, when the script and OpenFOAM are there.
  const std::filesystem::path script = std::filesystem::path(__FILE__).parent_path() / "openfoam_channel.sh";
  if (!std::filesystem::exists(script) || std::system("command -v simpleFoam > /dev/null 2>&1") != 0) {
    std::printf("simpleFoam not run: OpenFOAM or %s is missing\n", script.c_str());
    return;
  }
  const std::filesystem::path foam = folder / "openfoam";
  std::string command = "'";
  command.append(script.string()).append("' '").append(foam.string()).append("' 2>/dev/null | tail -1");
  std::FILE *pipe = popen(command.c_str(), "r");
  char line[256] = {0};
  if (!pipe || !std::fgets(line, sizeof line, pipe)) {
    if (pipe) pclose(pipe);
    std::printf("simpleFoam did not run\n");
    return;
  }
  pclose(pipe);
  int foamIterations = 0;
  double foamSeconds = 0.0;
  if (std::sscanf(line, "simpleFoam: %d iterations, %lf seconds", &foamIterations, &foamSeconds) != 2) {
    std::printf("simpleFoam: %s", line);
    return;
  }
  std::printf("simpleFoam (serial): %d iterations, %.1f seconds. Load after: %s\n", foamIterations, foamSeconds,
              loadAverage().c_str());
  if (fastestSerial > 0.0)
    std::printf("Fastest same-profile setting, serial: %.1f s, %.2f of simpleFoam's time\n", fastestSerial,
                fastestSerial / foamSeconds);
  if (fastestThreaded > 0.0)
    std::printf("Fastest same-profile setting, F 206 8: %.1f s, %.2f of simpleFoam's time\n", fastestThreaded,
                fastestThreaded / foamSeconds);
}

}  // namespace

int main(int argc, char **argv) {
  Options o;
  std::vector<std::string> positional;
  for (int k = 1; k < argc; ++k) {
    const std::string a = argv[k];
    if (a == "--loaded") o.loaded = true;
    else if (a == "--converge") o.converge = true;
    else if (a == "--serial-default") o.serialDefault = true;
    else if (a == "--repeats" && k + 1 < argc) o.repeats = std::max(1, std::atoi(argv[++k]));
    else positional.push_back(a);
  }
  if (positional.empty()) {
    std::fprintf(stderr,
                 "usage: %s PATH_TO_TELVA [outer iterations] [--repeats N] [--loaded] [--converge] "
                 "[--serial-default]\n",
                 argv[0]);
    return 2;
  }
  o.telva = std::filesystem::absolute(positional[0]).string();
  if (positional.size() > 1) o.iterations = std::max(1, std::atoi(positional[1].c_str()));
  std::string folderName = (std::filesystem::temp_directory_path() / "telva-whole-run-XXXXXX").string();
  if (!mkdtemp(folderName.data())) return 3;
  const std::filesystem::path folder(folderName);
  writeKoosurf(folder);
  if (o.converge) toConvergence(o, folder);
  else perIteration(o, folder);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
