// Runs of the binary with letter S on the straight channel: the set-up's
// fatal checks with their texts and statuses, and runs restarted from a
// converged flow: the start bed and its report, the first time step.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace {

const std::string kChannel =
    "T straight channel sediment\n"
    "G 1 54 9 11 1\n"
    "F 314 1 1\n"
    "F 237 1 7.5\n"
    "F 237 2 7.5\n"
    "W 1 50 7.5 1.0\n"
    "K 1 3 50000\n"
    "S 1 0.0002 0.025\n";

// The channel's control text with one of its lines replaced.
std::string channelWith(const std::string &line, const std::string &replacement) {
  std::string text = kChannel;
  text.replace(text.find(line), line.size(), replacement);
  return text;
}

CaseResult runChannel(const std::string &letters, const std::string &extra, const std::string &result = "",
                      const std::string &channel = kChannel) {
  CaseSetup setup;
  setup.files["control"] = "F 2 " + letters + "\n" + channel + extra;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  if (!result.empty()) setup.files["result"] = result;
  return runCase(setup);
}

TEST(SedimentSetupRun, FatalChecksInTheirOrder) {
  const std::string noGrainSizes =
      "Error in input data: it is necessary to specify the grain size distribution\n"
      "on the bed. This is done with an N data set in the control file or with a \n"
      "fracres file read with the F 2 O option\n\n";
  const std::string noTimeStep =
      "Error in control file. To do a transient sediment computation you have\n"
      "to include a time step in the control file, for example by using the \n"
      "F 33 data set\n\n";
  const std::string noSize =
      "Error in input data: grain size 1 has diameter 0 m and fall velocity 0.025 m/s.\n"
      "Give it an S data set with both above zero in the control file\n\n";
  const std::string noFall =
      "Error in input data: grain size 1 has diameter 0.0002 m and fall velocity 0 m/s.\n"
      "Give it an S data set with both above zero in the control file\n\n";
  const std::string stepWarning =
      "A time step (F 33) is needed in the control file to compute sediment transport (F 37)\n\n";
  struct Row {
    const char *name;
    std::string extra;
    int status;
    std::string tail;
  };
  const Row rows[] = {
      {"no N", "F 37 2\nF 33 10 10\n", 248, "End Unstructure 2250 cells\n" + noGrainSizes},
      {"no N, no F 37", "F 33 10 10\n", 248, "End Unstructure 2250 cells\n" + noGrainSizes},
      {"S 1 without a diameter", "N 0 1 1.0\nF 37 2\nF 33 10 10\nS 1 0.0 0.025\n", 248,
       "End Unstructure 2250 cells\n" + noSize},
      {"S 1 without a fall velocity", "N 0 1 1.0\nF 37 2\nF 33 10 10\nS 1 0.0002 0.0\n", 248,
       "End Unstructure 2250 cells\n" + noFall},
      {"F 253 1, one size, F 37 3", "N 0 1 1.0\nF 37 3\nF 255 5\nF 33 10 10\nF 253 1\n", 251,
       "End Unstructure 2250 cells\nError: F 253 1 can not be combined with F 37 3\n"},
      {"no F 37", "N 0 1 1.0\nF 33 10 10\n", 247,
       "End Unstructure 2250 cells\nIn TELVA 2 you have to specify a value on the F 37 data set \n"
       "in the control file to compute sediment transport\n\n"},
      {"F 33 5e-9", "N 0 1 1.0\nF 37 2\nF 33 5e-9 10\n", 249, "End Unstructure 2250 cells\n" + noTimeStep},
      {"no F 33", "N 0 1 1.0\nF 37 2\n", 249, "End Unstructure 2250 cells\n" + stepWarning + noTimeStep},
      {"F 277 2 without F 453", "N 0 1 1.0\nF 37 2\nF 33 10 10\nF 277 2\n", 251,
       "Error in control file: If you use F 277 2, you also have to use F 453 with an integer above zero\n"},
      {"F 56 206 on a wide grid", "N 0 1 1.0\nF 37 2\nF 33 10 10\nF 56 206 1.0\n", kExitInputError & 255,
       "End Unstructure 2250 cells\nError for F 56 203-206: is only coded for a 2D case\n\n"},
      {"F 188 beyond the blocks", "N 0 1 1.0\nF 37 2\nF 33 10 10\nF 188 7\n", kExitInputError & 255,
       "End Unstructure 2250 cells\nError for F 188 in control\n"},
      {"F 522 beyond the grid", "N 0 1 1.0\nF 37 2\nF 33 10 10\nF 522 1 60\n", kExitInputError & 255,
       "End Unstructure 2250 cells\nError for F 522 in control\n"},
  };
  for (const Row &row : rows) {
    const CaseResult r = runChannel("YS", row.extra);
    EXPECT_EQ(r.status, row.status) << row.name;
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << row.name << "\n" << r.file("boogie");
  }
}

// Fifty sizes overrun the loop's per-size tables: refused before any is
// touched. The N data sets take at most 49 sizes.
TEST(SedimentSetupRun, FiftyGrainSizesAreRefused) {
  std::string extra = "F 37 2\nF 33 10 10\nN 0 1 0.52\n";
  for (int k = 2; k <= 50; ++k) extra += "S " + std::to_string(k) + " 0.0002 0.025\n";
  for (int k = 2; k <= 49; ++k) extra += "N 0 " + std::to_string(k) + " 0.01\n";
  CaseSetup setup;
  std::string control = "F 2 YS\n" + kChannel + extra;
  control.replace(control.find("G 1 54 9 11 1"), 13, "G 1 54 9 11 50");
  setup.files["control"] = control;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, kExitInputError & 255);
  EXPECT_TRUE(endsWith(r.file("boogie"), "End Unstructure 2250 cells\nError- Increase nsm in utsc and recompile\n"))
      << r.file("boogie");
}

// The converged channel restarted with letter S: the opening lines, the
// discharge groups, the start bed, then the steps of the two-layer bed run
// to the normal end.
TEST(SedimentSetupRun, RestartFromTheConvergedChannel) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  ASSERT_TRUE(converged.has("result.end"));
  const std::string sediment = "F 37 2\nF 33 10 10\nN 0 1 1.0\n";
  const CaseResult r = runChannel("YRS", sediment, converged.file("result.end"));
  EXPECT_EQ(r.status, 1);
  const std::string log = r.file("boogie");
  expectInOrder(log, {"Relaxation: 0.800000 0.200000 0.500000 0.500000\n", "Using van Rijns suspended load formula\n\n",
                      "Discharge group 1: Discharge = 7500.000000, Area = 10.000000, surfaces = 45\n",
                      "Discharge group 2: Discharge = 7500.000000, Area = 10.000000, surfaces = 45\n"});
  expectInOrder(log, {"\n ***** In morphology_tsc **********\n\n",
                      "FlagTSC = 2, Hydrostatic = 0, NoBlocks = 1, iterGlobalMax = 3\n",
                      "Bed concentration flags: 0 0 0 0 0 0\n"});
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_NE(log.find("\nTotal change in bed levels: "), std::string::npos) << log;
  // Debug letter L: the cross-sections instead of the start bed.
  const CaseResult sections = runChannel("YRS", sediment + "F 1 L\n", converged.file("result.end"));
  EXPECT_EQ(sections.status, 1);
  std::string expected;
  for (int i = 2; i <= 51; ++i) {
    expected += "Section " + std::to_string(i) + ", Area = 10.000000, width = 10.000000, averagedepth = 1.000000\n";
  }
  const std::string sectionLog = sections.file("boogie");
  EXPECT_NE(sectionLog.find(expected + "\n ***** In morphology_tsc **********\n\n"), std::string::npos) << sectionLog;
  EXPECT_EQ(sectionLog.find("Error"), std::string::npos) << sectionLog;
}

// Without time steps the run starts its bed, reports it and ends normally:
// every bed cell has the active layer of F 106 over the rest of the 10 m
// down to plane 3. One step runs the flow, the suspended sediment and the
// bed change without an instability warning. Two sizes with the implicit
// exchange are refused at set-up.
TEST(SedimentSetupRun, StartBedAndFirstStep) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  const std::string result = converged.file("result.end");
  const std::string sediment = "F 37 2\nF 33 10 10\nN 0 1 1.0\n";

  const CaseResult start =
      runChannel("YRS", sediment + "F 106 0.05\n", result, channelWith("K 1 3 50000", "K 1 0 50000"));
  EXPECT_EQ(start.status, 1);
  const std::string log = start.file("boogie");
  expectInOrder(log, {"\n ***** In morphology_tsc **********\n\n",
                      "FlagTSC = 2, Hydrostatic = 0, NoBlocks = 1, iterGlobalMax = 0\n",
                      "Volume of geometry: 9.99999999999950e+02 qubic meters\n",
                      "Bed concentration flags: 0 0 0 0 0 0\n", "Time: 0.000000 seconds\n",
                      "Continuity: Bedchange 0 kg, Inflow 0 kg, Outflow 0 kg\n", "BedMoveDefAbs+Move: 0 0 (kg)\n",
                      "Bed outflow move defect: 0.000000 (kg)\n", "Susp. volume change defect: 0 (kg)\n",
                      "Grid size: Cells: 2250, Surfaces: 7495, Points: 3060\n", "Have written con2res file \n",
                      "Total change in bed levels: 0.000000e+00 qubic meters or 0.000000e+00 kg\n"});
  // The bed-cell lines of "bedres.t": bed cell, bottom cell, two roughnesses
  // and the bed-form height, then layer 1 and layer 0, each as its thickness
  // and the fraction of the one size.
  int bedCells = 0;
  const std::string bedres = start.file("bedres.t");
  for (size_t at = 0; at < bedres.size();) {
    const size_t end = bedres.find('\n', at);
    const std::string line = bedres.substr(at, end - at);
    at = end == std::string::npos ? bedres.size() : end + 1;
    std::vector<std::string> fields;
    for (size_t p = 0; p < line.size();) {
      const size_t q = line.find_first_not_of(' ', p);
      if (q == std::string::npos) break;
      const size_t r = line.find(' ', q);
      fields.push_back(line.substr(q, r == std::string::npos ? std::string::npos : r - q));
      p = r == std::string::npos ? line.size() : r;
    }
    if (fields.size() != 9) continue;
    ++bedCells;
    EXPECT_EQ(std::vector<std::string>(fields.begin() + 5, fields.end()),
              (std::vector<std::string>{"0.050000", "1.000000", "9.950000", "1.000000"}))
        << line;
  }
  EXPECT_EQ(bedCells, 250);

  const CaseResult step = runChannel("YRS", sediment, result, channelWith("K 1 3 50000", "K 1 1 50000"));
  EXPECT_EQ(step.status, 1);
  EXPECT_EQ(step.file("boogie").find("Warning for instability"), std::string::npos) << step.file("boogie");
  EXPECT_EQ(step.file("boogie").find("Error"), std::string::npos) << step.file("boogie");

  // Debug letter P: the step logs its nineteen stage stamps 34..52 and its
  // sediment time, which the end report's stage times add up.
  const CaseResult timed = runChannel("YRS", sediment + "F 1 P\n", result, channelWith("K 1 3 50000", "K 1 1 50000"));
  EXPECT_EQ(timed.status, 1);
  const std::string timedLog = timed.file("boogie");
  std::vector<std::string> stamps;
  for (int e = 34; e <= 52; ++e) stamps.push_back("MORPH: OpenMP " + std::to_string(e) + " = ");
  stamps.push_back("Sediment computation time: ");
  expectInOrder(timedLog, stamps);
  int stampLines = 0;
  for (size_t at = timedLog.find("MORPH: OpenMP "); at != std::string::npos; at = timedLog.find("MORPH: OpenMP ", at + 1)) {
    ++stampLines;
  }
  EXPECT_EQ(stampLines, 19);
  double stepTime = -1.0, endTime = -1.0;
  const size_t stepLine = timedLog.find("Sediment computation time: ");
  const size_t endLine = timedLog.find("Time: Watersolve: ");
  ASSERT_NE(stepLine, std::string::npos);
  ASSERT_NE(endLine, std::string::npos) << timedLog;
  ASSERT_EQ(std::sscanf(timedLog.c_str() + stepLine, "Sediment computation time: %lf", &stepTime), 1);
  ASSERT_EQ(std::sscanf(timedLog.c_str() + endLine, "Time: Watersolve: %*f, Sediments: %lf", &endTime), 1);
  EXPECT_GT(stepTime, 0.0);
  EXPECT_EQ(endTime, stepTime);

  const CaseResult twoSizes =
      runChannel("YRS", "F 37 2\nF 33 10 10\nS 2 0.0001 0.01\nN 0 1 0.5\nN 0 2 0.5\nF 253 1\n", result,
                 channelWith("G 1 54 9 11 1", "G 1 54 9 11 2"));
  EXPECT_EQ(twoSizes.status, 251);
  EXPECT_TRUE(endsWith(twoSizes.file("boogie"), "Error: F 253 1 can not be combined with F 37 2\n"))
      << twoSizes.file("boogie");

  // A distribution of two sizes whose second has no S data set: its fall
  // velocity and diameter are 0, refused at set-up; the run made no bed
  // result (it used to lower the whole bed with numbers that were none).
  const CaseResult noSecond = runChannel("YRS", "F 37 2\nF 33 10 10\nN 0 1 0.5\nN 0 2 0.5\n", result,
                                         channelWith("G 1 54 9 11 1", "G 1 54 9 11 2"));
  EXPECT_EQ(noSecond.status, 248);
  EXPECT_TRUE(endsWith(noSecond.file("boogie"),
                       "Error in input data: grain size 2 has diameter 0 m and fall velocity 0 m/s.\n"
                       "Give it an S data set with both above zero in the control file\n\n"))
      << noSecond.file("boogie");
  EXPECT_FALSE(noSecond.has("bedres.t"));
}

}  // namespace
