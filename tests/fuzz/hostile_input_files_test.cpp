// Hostile input by hand, end to end: each file the engine reads replaced by a
// folder (or a device, or a file too large to hold), and each run letter
// asked for before any grid exists. Every run must end by the engine's own
// hand, with its reason in "boogie" and the status that reason carries.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace fs = std::filesystem;

namespace {

// The codes of readers that end with one of their own.
constexpr int kExitNoPartitions = -123;  // letter A without partitions
constexpr int kExitNoBagger = -8;        // "bagger" cannot be read
constexpr int kExitNoVegdata = -4;       // "vegdata" or "stlfile.stl" cannot be read

const std::string kNotRegular = "': not a regular file\n";

// The trench of the straight channel: a small grid that a few iterations
// cover in well under a second, with the flow lines alone or the sediment
// steps after them.
std::string flowControl() {
  std::string control;
  for (const std::string &line : linesOf(caseFile("sediment-trench", "control"))) {
    if (line.rfind("F 2 ", 0) != 0) control += line + "\n";
  }
  return control;
}
std::string sedimentControl() { return flowControl() + caseFile("sediment-trench", "control.sediment"); }

// The grid file of the trench as letter H writes it, made once.
const std::string &trenchGridFile() {
  static const std::string unstruc = [] {
    CaseSetup setup;
    setup.files["control"] = flowControl() + "F 2 YH\n";
    setup.files["koosurf"] = caseFile("sediment-trench", "koosurf");
    return runCase(setup).file("unstruc");
  }();
  return unstruc;
}

// A sparse file of a terabyte, far more than the machine's memory; it takes
// no room on the disk and is removed with the object.
struct HugeFile {
  fs::path path = fs::temp_directory_path() / ("telva-huge-" + std::to_string(::getpid()));
  HugeFile() {
    std::ofstream(path).put('G');
    fs::resize_file(path, std::uintmax_t{1} << 40);
  }
  ~HugeFile() { fs::remove(path); }
};

struct FileCase {
  const char *name;     // the file replaced
  std::string control;  // what makes the engine read it
  int status;           // the engine's code for it, as the shell sees it after & 255
  std::string line;     // the line "boogie" must hold
  std::map<std::string, std::string> others{};  // further files the reader needs first
  std::string linkTo{};  // a link in place of the folder (a device, a huge file)
  friend void PrintTo(const FileCase &c, std::ostream *os) { *os << c.name << " " << c.linkTo; }
};

// The test's name: the file, and what stands in its place when no folder does.
std::string caseName(const ::testing::TestParamInfo<FileCase> &info) {
  std::string name = info.param.name;
  for (char &ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  if (info.param.linkTo == "huge") return name + "_huge";
  return info.param.linkTo.empty() ? name : name + "_device";
}

std::vector<FileCase> fileCases() {
  const std::string sediment = sedimentControl();
  const std::string generic = "Error: cannot read '";
  return {
      {"control", "", kExitControlMissing, "Error, cannot open file 'control'\n"},
      {"koosurf", flowControl() + "F 2 Y\n", kExitControlMissing, "Error, can not open koosurf file\n"},
      {"koosurf", flowControl() + "F 2 Y\n", kExitControlMissing, "Error, can not open koosurf file\n", {},
       "/dev/zero"},
      {"koosurf", flowControl() + "F 2 Y\n", kExitCannotOpen, "Could not allocate enough memory", {}, "huge"},
      {"cohesion", sediment + "F 385 2 0.5\nF 2 YS\n", kExitInconsistent,
       "Error: F 385 2 data set is specified in 'control' file and 'cohesion' file can not be read\n"},
      {"con2res", sediment + "F 2 YO\n", kExitCannotOpen, generic + "con2res" + kNotRegular},
      {"fracres", sediment + "F 2 YO\n", kExitCannotOpen, generic + "fracres" + kNotRegular},
      {"compres", flowControl() + "F 50 2\nF 2 YO\n", kExitCannotOpen, generic + "compres" + kNotRegular},
      {"bedres", flowControl() + "F 2 YR\n", kExitCannotOpen, generic + "bedres" + kNotRegular},
      {"result", flowControl() + "F 2 YR\n", kExitNormal,
       "Warning: have not been able to open the file 'result' for reading "},
      {"alldata", flowControl() + "F 2 B\n", kExitCannotOpen, "Error, have not been able to open alldata file\n"},
      {"unstruc", flowControl() + "F 2 U\n", kExitControlMissing, "Error: can not open 'unstruc' file\n"},
      {"bedangle", sediment + "F 274 1\nF 2 US\n", kExitCannotOpen, generic + "bedangle" + kNotRegular,
       {{"unstruc", "trench grid"}}},
      {"timei", sediment + "F 2 YS\n", kExitCannotOpen, generic + "timei" + kNotRegular},
      {"bagger", caseFile("dredging", "control"), kExitNoBagger, "Could not open 'baggger' file\n",
       {{"koosurf", caseFile("dredging", "koosurf")}}},
      {"vegdata", flowControl() + "F 115 1\nF 2 YW\nK 1 2 2\n", kExitNoVegdata, "Could not read 'vegdata' file\n"},
      {"stlfile.stl", flowControl() + "F 2 YP\n", kExitNoVegdata, "Could not read 'stlfile.stl' or 'stlfileb.stl' files\n"},
      {"wlinit", caseFile("groundwater", "control"), kExitCannotOpen, generic + "wlinit" + kNotRegular,
       {{"koosurf", caseFile("groundwater", "koosurf")}}},
  };
}

class HostileInputFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(HostileInputFiles, FolderInPlaceOfFile) {
  const FileCase &c = GetParam();
  CaseSetup setup;
  setup.timeLimit = 60;
  if (c.name != std::string("control")) setup.files["control"] = c.control;
  if (!setup.files.count("koosurf") && c.name != std::string("koosurf")) {
    setup.files["koosurf"] = caseFile("sediment-trench", "koosurf");
  }
  for (const auto &[name, bytes] : c.others) setup.files[name] = bytes == "trench grid" ? trenchGridFile() : bytes;
  std::optional<HugeFile> huge;
  if (c.linkTo == "huge") {
    huge.emplace();
    setup.links[c.name] = huge->path.string();
  } else if (!c.linkTo.empty()) {
    setup.links[c.name] = c.linkTo;
  } else {
    setup.directories.push_back(c.name);
  }
  const CaseResult r = runCase(setup);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.signal, 0) << log;
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, c.status & 255) << log;
  EXPECT_NE(log.find(c.line), std::string::npos) << "expected \"" << c.line << "\" in\n" << log;
  expectConsole(r);
}

INSTANTIATE_TEST_SUITE_P(Readers, HostileInputFiles, ::testing::ValuesIn(fileCases()), caseName);

// Every run letter alone, with a grid file and a sediment set-up but no grid
// built: each ends as its routine ends on an empty grid, and none by a signal.
struct LetterCase {
  char letter;
  int status;
  std::string line;  // "" for a letter that does nothing without a grid
};

std::string needsGrid(char letter) {
  return std::string("Error: letter ") + letter +
         " needs a grid: read the koosurf file (letter Y) or the unstruc file (letter U) first\n";
}

const LetterCase kLetters[] = {
    {'A', kExitNoPartitions, "Error writing MPI koosurf files, 0 MPI blocks specified\n"},
    {'B', kExitCannotOpen, "Error, have not been able to open alldata file\n"},
    {'C', kExitControlMissing, needsGrid('C')},
    {'D', kExitNormal, "Error: Tried to compute sand slide in block 0, which is not prepared for slides\n"},
    {'E', kExitNormal, ""},
    {'F', kExitNormal, ""},
    {'G', kExitNormal, ""},
    {'H', kExitNormal, ""},
    {'I', kExitNormal, ""},
    {'J', kExitNormal, ""},
    {'K', kExitNormal, ""},
    {'L', kExitControlMissing, needsGrid('L')},
    {'M', kExitControlMissing, needsGrid('M')},
    {'N', kExitNormal, ""},
    {'O', kExitNormal, ""},
    {'P', kExitControlMissing, needsGrid('P')},
    {'Q', kExitNormal, ""},
    {'R', kExitNormal, ""},
    {'S', kExitControlMissing, needsGrid('S')},
    {'T', kExitNormal, ""},
    {'U', kExitControlMissing, "Error: the grid from the unstruc file has no cells\n"},
    {'V', kExitNormal, ""},
    {'W', kExitInconsistent, "Error in control file. The F 37 data set should not be used\n"},
    {'X', kExitLetterX, ""},
    {'Y', kExitNormal, ""},
    {'Z', kExitNormal, ""},
};

class HostileInputLetters : public ::testing::TestWithParam<LetterCase> {};

TEST_P(HostileInputLetters, LetterBeforeGrid) {
  const LetterCase &c = GetParam();
  CaseSetup setup;
  setup.timeLimit = 60;
  setup.files["control"] = sedimentControl() + "F 2 " + c.letter + "\nK 1 3 3\n";
  setup.files["koosurf"] = caseFile("sediment-trench", "koosurf");
  const CaseResult r = runCase(setup);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.signal, 0) << log;
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, c.status & 255) << log;
  expectConsole(r);
  if (!c.line.empty()) {
    EXPECT_NE(log.find(c.line), std::string::npos) << "expected \"" << c.line << "\" in\n" << log;
  } else if (c.status == kExitNormal) {
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  }
}

INSTANTIATE_TEST_SUITE_P(Letters, HostileInputLetters, ::testing::ValuesIn(kLetters),
                         [](const ::testing::TestParamInfo<LetterCase> &info) { return std::string(1, info.param.letter); });

}  // namespace
