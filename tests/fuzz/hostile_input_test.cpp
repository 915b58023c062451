// Hostile input, end to end: the project's own case folders, with the
// sediment, bed, quality and restart files their runs read, mutated a few
// thousand times with a fixed seed and run through the engine. No run may die
// by a signal or run past the time limit; every end other than 0 and 1 must
// leave its reason in "boogie" (or, for a fault of the bed-point files, in
// their side log "boogie.bed") and write only its one failure line to the
// console, every other end nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace fs = std::filesystem;

namespace {

constexpr int kShards = 4;
// A sanitized engine runs several times slower; it gets fewer runs of the
// same sequence, so that CI stays within its time.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kRunsPerShard = 40;
#else
constexpr int kRunsPerShard = 250;
#endif
constexpr double kTimeLimit = 10.0;
// Enough for every case folder; a grid so large that filling it would take
// longer than the time limit does not fit and ends as out of memory.
constexpr long kAddressSpace = 400L * 1000 * 1000;

// Every mutated "control" ends with these lines (a later data set wins), so
// that a valid input cannot ask for long work: a run past the time limit is
// then a hang, not a computation.
const std::string kWorkBound = "\nF 20 1\nK 1 3 3\n";

// The ends that the Parts give without an "Error" line.
const char *const kEndsWithoutError[] = {"For sediment computations (F 37)",
                                         "In TELVA 2 you have to specify a value on the F 37 data set",
                                         "The combination of values on the F 168 and F 36",
                                         "Could not allocate enough memory", "Increase array for G 18 and recompile",
                                         "Could not open 'baggger' file", "Could not open 'bag_res' file",
                                         "Could not read 'vegdata' file", "Could not read 'stlfile.stl'",
                                         "Two numbers are required on F 33 data set", "Solution diverged",
                                         "Too many points in G 24 data set"};

const char *const kExtremes[] = {"0", "-1", "2147483647", "2147483648", "1e308", "nan", "inf", "0.5"};

// The files a run may read; any of them may be replaced by a folder.
const char *const kInputFiles[] = {"control", "koosurf",  "timei",   "inflow",  "inspace", "cyclic",
                                   "bedrough", "cohesion", "con2res", "bedres",  "bagger",  "vegdata",
                                   "wlinit",  "bedangle", "alldata", "result",  "unstruc", "fracres"};

// Lines that make a run read the side files: the cohesion file (F 385 2),
// the bed angles (F 274, read with the grid or restart file), the vegetation
// profiles (F 115, read by the flow), the components (F 50) and the
// groundwater levels (F 262, letter G).
const char *const kReaderSwitches[] = {"F 385 2 0.5\n", "F 274 1\n", "F 115 1\n", "F 50 2\n", "F 262 1 1e-3\n"};
// Run letters that read the restart files (R, O, B, U) before a sediment or
// flow step.
const char *const kRunStrings[] = {"F 2 YRS\n", "F 2 YOS\n", "F 2 BS\n", "F 2 US\n",
                                   "F 2 UW\n",  "F 2 YGM\n", "F 2 YWM\n", "F 2 YSE\n"};

struct Folder {
  std::string control, koosurf;
  std::map<std::string, std::string> sides;  // the folder's other input files
};

std::string readFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Every case folder as it is, and those with sediment steps once more with
// them (a folder of sediment steps alone takes the straight channel's flow).
std::vector<Folder> corpus() {
  std::vector<Folder> folders;
  std::vector<fs::path> paths;
  for (const auto &entry : fs::directory_iterator(TELVA_CASES_DIR)) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  const fs::path channel = fs::path(TELVA_CASES_DIR) / "straight-channel";
  for (const auto &path : paths) {
    const bool flow = fs::exists(path / "control"), sediment = fs::exists(path / "control.sediment");
    if (!flow && !sediment) continue;
    const fs::path base = flow ? path : channel;
    Folder folder{readFile(base / "control"), readFile(base / "koosurf"), {}};
    for (const auto &entry : fs::directory_iterator(path)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("control", 0) != 0 && name != "koosurf") folder.sides[name] = readFile(entry.path());
    }
    if (flow) folders.push_back(folder);
    if (sediment) {
      folder.control += readFile(path / "control.sediment");
      folders.push_back(folder);
    }
  }
  return folders;
}

// Seeds of the side files a sediment or quality run reads: the restart files
// as the engine writes them after a few sediment steps of the small dredging
// case (small, so that mutating and writing them stays cheap), and small
// hand-written cohesion, bed-angle and vegetation files.
std::map<std::string, std::string> sideFileSeeds() {
  std::map<std::string, std::string> seeds = {
      {"cohesion", "5 4 100.0 200.0\n6 4 100.0 200.0\n5 5 50.0 80.0\n"},
      {"bedangle", "5 4 30.0 35.0 0.5 32.0\n6 5 28.0 33.0 0.4 30.0\n"},
      {"vegdata", "V 5 4 0.0 0.5 1.0 2.0 0.01 0.01 0.01 0.01\nV 6 5 0.0 0.5 1.0 2.0 0.02 0.02 0.0 0.0\n"},
  };
  const fs::path dredging = fs::path(TELVA_CASES_DIR) / "dredging";
  CaseSetup setup;
  for (const char *name : {"koosurf", "bagger"}) setup.files[name] = readFile(dredging / name);
  setup.files["control"] = readFile(dredging / "control") + "F 2 YSHJFM\nK 1 3 3\n";
  const CaseResult r = runCase(setup);
  const std::pair<const char *, const char *> written[] = {
      {"unstruc", "unstruc"}, {"alldata.0", "alldata"}, {"bedres.t", "bedres"},
      {"con2res.new", "con2res"}, {"result.end", "result"}};
  for (const auto &[file, name] : written) seeds[name] = r.file(file);
  return seeds;
}

// The mutator: a fixed-seed generator and the mutations of a text file.
class Mutator {
 public:
  explicit Mutator(std::uint64_t seed) : random_(seed) {}

  std::size_t below(std::size_t n) { return n == 0 ? 0 : random_() % n; }
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }

  // One to three mutations of the text.
  std::string mutate(std::string text) {
    for (int n = 1 + below(3); n > 0; --n) text = mutateOnce(text);
    return text;
  }

 private:
  static std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  static std::string join(const std::vector<std::string> &lines) {
    std::string out;
    for (const auto &line : lines) out += line + "\n";
    return out;
  }

  // A number of the text (a run of digits, signs, points) replaced by an extreme.
  std::string replaceNumber(std::string text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const bool digit = std::isdigit(static_cast<unsigned char>(text[i]));
      const char before = i > 0 ? text[i - 1] : ' ';
      if (digit && !std::isdigit(static_cast<unsigned char>(before)) && before != '.') {
        starts.push_back(before == '-' ? i - 1 : i);
      }
    }
    if (starts.empty()) return text;
    std::size_t at = starts[below(starts.size())], end = at + 1;
    while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.' ||
                                 text[end] == 'e' || text[end] == '-')) {
      ++end;
    }
    return text.replace(at, end - at, kExtremes[below(std::size(kExtremes))]);
  }

  std::string mutateOnce(const std::string &text) {
    std::vector<std::string> l = lines(text);
    switch (below(10)) {
      case 0:
      case 1:
      case 2: return replaceNumber(text);
      case 3:
        if (!l.empty()) l.erase(l.begin() + below(l.size()));
        return join(l);
      case 4:
        if (!l.empty()) l.insert(l.begin() + below(l.size()), l[below(l.size())]);
        return join(l);
      case 5:
        if (l.size() > 1) std::swap(l[below(l.size())], l[below(l.size())]);
        return join(l);
      case 6: return text.substr(0, below(text.size() + 1));
      case 7: {
        std::string out = text;
        for (int n = 1 + below(4); n > 0 && !out.empty(); --n) out[below(out.size())] = static_cast<char>(below(256));
        return out;
      }
      case 8:
        // The data sets read so far were checked against a larger grid.
        return text + (chance(50) ? "G 1 4 4 2 1\n" : "G 1 5 5 3 1\n");
      default:
        // Sizes far beyond what a run can hold.
        switch (below(4)) {
          case 0: return "G 1 50000 500 11 1\n" + text;
          case 1: return text + "G 1 2147483647 5 3 1\n";
          case 2: return text + "F 65 100000000 100000000 50000 10 10\n";
          default: return text + "F 65 2147483647 2147483647 2147483647 2147483647 2147483647\n";
        }
    }
  }

  std::mt19937_64 random_;
};

// The console output less the sanitizer's notes that an allocation beyond its
// limit returned null (the engine then takes its out-of-memory path).
std::string console(const CaseResult &r) {
  std::istringstream in(r.stdoutText + r.stderrText);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.find("WARNING: AddressSanitizer failed to allocate") == std::string::npos) kept += line + "\n";
  }
  return kept;
}

// Silent after 0 and 1; otherwise the engine's one line, whatever its reason.
std::string expectedConsole(const CaseResult &r) {
  const std::string text = console(r);
  if (r.status == 0 || r.status == 1) return "";
  const std::string tail = " (status " + std::to_string(r.status) + "; see boogie)\n";
  const bool oneLine = text.find('\n') == text.size() - 1;
  // The log "boogie" that cannot be written says so in its own line.
  if (oneLine && text.rfind("telva: cannot write the log 'boogie' in ", 0) == 0) return text;
  return oneLine && text.rfind("telva: ", 0) == 0 && endsWith(text, tail) ? text : "telva: <reason>" + tail;
}

bool explained(const std::string &log) {
  // "Error ...", and the control reader's "Input error ..." and "Integer error, ...".
  if (log.find("Error") != std::string::npos || log.find(" error") != std::string::npos) return true;
  for (const char *text : kEndsWithoutError) {
    if (log.find(text) != std::string::npos) return true;
  }
  return false;
}

class HostileInput : public ::testing::TestWithParam<int> {};

TEST_P(HostileInput, EndsCleanly) {
  const std::vector<Folder> folders = corpus();
  ASSERT_FALSE(folders.empty());
  const std::map<std::string, std::string> seeds = sideFileSeeds();
  for (const auto &[name, bytes] : seeds) ASSERT_FALSE(bytes.empty()) << name;
  Mutator m(0x7e1fa000u + GetParam());
  for (int run = 0; run < kRunsPerShard; ++run) {
    const Folder &folder = folders[m.below(folders.size())];
    CaseSetup setup;
    setup.environment["OMP_NUM_THREADS"] = "2";
    setup.addressSpaceLimit = kAddressSpace;
    setup.timeLimit = kTimeLimit;
    std::string control = m.mutate(folder.control);
    if (m.chance(30)) control += kReaderSwitches[m.below(std::size(kReaderSwitches))];
    if (m.chance(30)) control += kRunStrings[m.below(std::size(kRunStrings))];
    setup.files["control"] = control + kWorkBound;
    if (m.chance(70)) setup.files["koosurf"] = m.chance(30) ? m.mutate(folder.koosurf) : folder.koosurf;
    for (const auto &[name, bytes] : folder.sides) setup.files[name] = m.chance(30) ? m.mutate(bytes) : bytes;
    if (m.chance(40)) {
      // One or two side files of a sediment or quality run, mutated or not.
      for (int n = 1 + m.below(2); n > 0; --n) {
        auto seed = std::next(seeds.begin(), static_cast<long>(m.below(seeds.size())));
        setup.files[seed->first] = m.chance(50) ? m.mutate(seed->second) : seed->second;
      }
    }
    if (m.chance(10)) {
      // A side file made of the lines of the grid file, or a folder in place of an input file.
      const std::string name = kInputFiles[1 + m.below(std::size(kInputFiles) - 1)];
      setup.files[name] = m.mutate(folder.koosurf);
    }
    if (m.chance(8)) {
      const std::string name = kInputFiles[m.below(std::size(kInputFiles))];
      setup.files.erase(name);
      setup.directories.push_back(name);
    }
    const CaseResult r = runCase(setup);
    const std::string log = r.file("boogie");
    std::string inputs;
    for (const auto &[name, bytes] : setup.files) inputs += "--- " + name + "\n" + bytes.substr(0, 600) + "\n";
    for (const auto &name : setup.directories) inputs += "--- folder " + name + "\n";
    const std::string where = "run " + std::to_string(run) + ", status " + std::to_string(r.status) + "\n" + inputs +
                              "--- boogie tail\n" + log.substr(log.size() > 800 ? log.size() - 800 : 0);
    EXPECT_EQ(r.signal, 0) << where;
    EXPECT_FALSE(r.timedOut) << where;
    EXPECT_EQ(console(r).substr(0, 4000), expectedConsole(r)) << where;
    if (r.status != 0 && r.status != 1) {
      EXPECT_TRUE(explained(log + r.file("boogie.bed"))) << where;
    }
    if (::testing::Test::HasFailure()) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, HostileInput, ::testing::Range(0, kShards));

}  // namespace
