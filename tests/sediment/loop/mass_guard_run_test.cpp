// Inputs that would corrupt the sediment mass, through the binary: each is
// refused with its reader's or data set's message before a step runs, where
// the run used to go on with NaN, inf or tonnes of sediment gone from its
// continuity table and end with status 1. And the balance backstop of every
// step stays quiet on the sound sediment case folders.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "bed/levels/sediment_runs.h"
#include "support/run_case.h"

namespace {

// One step of 10 s on the straight channel with the data sets of the erosion
// case, its flow started from rest: the run the refused inputs start from.
std::string oneStepControl(const std::string &letters, const std::string &extra = "") {
  std::string control = sedimentControl("straight-channel", "sediment-erosion", extra, letters);
  control.replace(control.find("K 1 6 "), 6, "K 1 1 ");
  return control;
}

// The restart files of that step, written once for every case.
struct OneStep {
  std::string con2res, bedres;
};
const OneStep &oneStep() {
  static const OneStep step = [] {
    CaseSetup setup;
    setup.files["control"] = oneStepControl("YS");
    setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
    const CaseResult r = runCase(setup);
    EXPECT_EQ(r.status, kExitNormal & 255) << r.file("boogie");
    return OneStep{r.file("con2res.new"), r.file("bedres.t")};
  }();
  return step;
}

std::string joined(const std::vector<std::string> &lines) {
  std::string out;
  for (const std::string &l : lines) out += l + "\n";
  return out;
}

// The text with its n-th line (from 1) handed to edit.
template <class Edit>
std::string withLine(const std::string &text, std::size_t n, Edit edit) {
  std::vector<std::string> lines = linesOf(text);
  edit(lines.at(n - 1));
  return joined(lines);
}

// The index of the last grid-point line (seven numbers) of a "bedres".
std::size_t lastPointLine(const std::vector<std::string> &lines) {
  std::size_t last = 0;
  for (std::size_t n = 2; n < lines.size(); ++n) {
    if (numbersOf(lines[n]).size() == 7) last = n;
  }
  return last;
}

// A "bedres" whose grid-point line "9 4" stands just before the bed-cell
// lines; line is set to where it now stands.
std::string bedresWithPointMoved(const std::string &bedres, int &line) {
  std::vector<std::string> lines = linesOf(bedres);
  std::size_t from = 0;
  for (std::size_t n = 2; n < lines.size(); ++n) {
    if (lines[n].rfind("9 4 ", 0) == 0) from = n;
  }
  const std::string moved = lines[from];
  lines.erase(lines.begin() + static_cast<long>(from));
  const std::size_t last = lastPointLine(lines);
  lines.insert(lines.begin() + static_cast<long>(last) + 1, moved);
  line = static_cast<int>(last) + 2;
  return joined(lines);
}

// A "bedres" without its last grid-point line, so that the first bed-cell
// line, whose line is set, stands where that point was expected.
std::string bedresWithoutLastPoint(const std::string &bedres, int &line) {
  std::vector<std::string> lines = linesOf(bedres);
  const std::size_t last = lastPointLine(lines);
  lines.erase(lines.begin() + static_cast<long>(last));
  line = static_cast<int>(last) + 1;
  return joined(lines);
}

struct Refusal {
  const char *name;
  CaseSetup (*setup)(std::string &tail);  // the setup, and the log's expected last line
  int status;
  friend void PrintTo(const Refusal &c, std::ostream *os) { *os << c.name; }
};

CaseSetup plainStep(const std::string &letters, const std::string &extra) {
  CaseSetup setup;
  setup.files["control"] = oneStepControl(letters, extra);
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return setup;
}

// A restart by letter R with F 306 1 from the step's "bedres" as edit
// leaves it, refused at the line edit names.
CaseSetup bedresStep(std::string (*edit)(const std::string &, int &), const char *why, std::string &tail) {
  CaseSetup s = plainStep("YRS", "F 306 1\n");
  int line = 0;
  s.files["bedres"] = edit(oneStep().bedres, line);
  tail = "Error in reading bedres file: line " + std::to_string(line) + ": " + why + "\n";
  return s;
}

const Refusal kRefusals[] = {
    // A cell of "con2res" at 200 made its suspension vanish within the first
    // step: Defect 389907 kg with Suspension 1701 kg.
    {"Con2resConcentration200",
     [](std::string &tail) {
       CaseSetup s = plainStep("YOS", "");
       s.files["con2res"] = withLine(oneStep().con2res, 11, [](std::string &l) {
         l = "0.000000e+00 2.000000e+02 ";
       });
       tail = "Error reading the 'con2res' file: cell 10, value 200 is not a concentration of 0 to 1\n";
       return s;
     },
     kExitInconsistent},
    // A solid fraction of 0 divided the bed change by nothing: "Bedchange -nan".
    {"SolidFractionZero",
     [](std::string &tail) {
       tail = "Error for F 26 in control";
       return plainStep("YS", "F 26 0\n");
     },
     kExitInputError},
    {"SolidFractionAboveOne",
     [](std::string &tail) {
       tail = "Error for F 26 in control";
       return plainStep("YS", "F 26 1.5\n");
     },
     kExitInputError},
    // A bed level of 1e308 gave "BedLayerCh -nan, Defect -nan".
    {"KoosurfLevel1e308",
     [](std::string &tail) {
       CaseSetup s = plainStep("YS", "");
       s.files["koosurf"] = withLine(s.files["koosurf"], 5, [](std::string &l) { l = "1 5 0.0 8.0 1e308 1.0"; });
       tail = "Error in koosurf file, line 5: level 1e+308 is beyond 1e+06 m\n";
       return s;
     },
     kExitControlMissing},
    // A time step of 1e308 s with an inflow concentration gave "Inflow inf kg".
    {"TimeStep1e308",
     [](std::string &tail) {
       CaseSetup s = plainStep("YS", "");
       std::string &control = s.files["control"];
       control.replace(control.find("F 33 10 10"), 10, "F 33 1e308 10");
       control.replace(control.find("M 1 1 0.0"), 9, "M 1 1 5");
       tail = "Error for F 33 in control: a time step of 1e+308 s gives one step an inflow of inf kg and a bed change "
              "of up to inf kg\n";
       return s;
     },
     kExitInputError},
    // A grid-point line before the bed-cell lines shifted every bed-cell
    // value: fractions of 1e+299 and "BedLayerCh -nan".
    {"BedresPointAmongBedCells",
     [](std::string &tail) {
       return bedresStep(bedresWithPointMoved, "a grid-point line among the bed-cell lines", tail);
     },
     kExitCannotOpen},
    {"BedresCellAmongPoints",
     [](std::string &tail) {
       return bedresStep(bedresWithoutLastPoint, "a bed-cell line among the grid-point lines", tail);
     },
     kExitCannotOpen},
};

class MassGuardRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(MassGuardRefusal, EndsBeforeAnyStep) {
  const Refusal &c = GetParam();
  ASSERT_FALSE(oneStep().con2res.empty());
  ASSERT_FALSE(oneStep().bedres.empty());
  std::string tail;
  const CaseResult r = runCase(c.setup(tail));
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, c.status & 255) << log;
  EXPECT_TRUE(endsWith(log, tail)) << "expected the log to end with:\n" << tail << "\ngot:\n" << log;
  EXPECT_EQ(log.find("Size  Inflow"), std::string::npos) << log;
  EXPECT_FALSE(r.has("con2res.new"));
  EXPECT_FALSE(r.has("bedres.t"));
}

INSTANTIATE_TEST_SUITE_P(Inputs, MassGuardRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal> &info) { return std::string(info.param.name); });

// The sound sediment runs, reporting every step (F 1 D): each continuity row
// keeps its Defect within the backstop's bound, the sum of the magnitudes of
// Inflow, Outflow, Suspension, BedLayerCh and Bedchange, and the run ends
// normally. The trench and erosion steps start here from a flow at rest.
struct QuietCase {
  const char *name;
  const char *folder;
  const char *flowFolder;  // the folder of "control" and "koosurf" when the steps come from "control.sediment"
  int tables;
  friend void PrintTo(const QuietCase &c, std::ostream *os) { *os << c.name; }
};

const QuietCase kQuiet[] = {
    {"Dredging", "dredging", nullptr, 6},
    {"SandSlide", "sand-slide", nullptr, 1},
    {"BankFailure", "bank-failure", nullptr, 1},
    {"Trench", "sediment-trench", "sediment-trench", 12},
    {"Erosion", "sediment-erosion", "straight-channel", 6},
};

class MassGuardQuiet : public testing::TestWithParam<QuietCase> {};

TEST_P(MassGuardQuiet, BackstopStaysQuiet) {
  const QuietCase &c = GetParam();
  CaseSetup setup;
  if (c.flowFolder) {
    setup.files["control"] = sedimentControl(c.flowFolder, c.folder, "F 1 D\n", "YS");
    setup.files["koosurf"] = caseFile(c.flowFolder, "koosurf");
  } else {
    setup.files["control"] = caseFile(c.folder, "control") + "F 1 D\n";
    setup.files["koosurf"] = caseFile(c.folder, "koosurf");
    const std::string bagger = caseFile(c.folder, "bagger");
    if (!bagger.empty()) setup.files["bagger"] = bagger;
  }
  const CaseResult r = runCase(setup);
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, kExitNormal & 255) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  const std::vector<std::string> rows = continuityRows(log);
  for (const std::string &row : rows) {
    const std::vector<double> v = numbersOf(row);
    ASSERT_GE(v.size(), 7u) << row;
    const double accounted = std::fabs(v[1]) + std::fabs(v[2]) + std::fabs(v[3]) + std::fabs(v[4]) + std::fabs(v[5]);
    EXPECT_TRUE(std::isfinite(v[6])) << row;
    EXPECT_LE(std::fabs(v[6]), accounted * (1.0 + 1e-6)) << row;
  }
  EXPECT_EQ(static_cast<int>(rows.size()), c.tables);
}

INSTANTIATE_TEST_SUITE_P(CaseFolders, MassGuardQuiet, testing::ValuesIn(kQuiet),
                         [](const testing::TestParamInfo<QuietCase> &info) { return std::string(info.param.name); });

}  // namespace
