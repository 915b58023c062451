// The output dispatcher: which files one call writes for the switches of
// F 329, F 48 and P 10 (through the run letter M of the binary), its status
// texts, the layer-block beds it stops, and the restart letter R around it.
#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "files/restart/bed_result_file.h"
#include "files/channel_fields.h"
#include "files/file_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const std::string kChannel = "G 1 13 7 11 1\n";

// The files a run left besides its inputs and the log.
std::set<std::string> outputs(const CaseResult &r, const std::set<std::string> &inputs) {
  std::set<std::string> names;
  for (const auto &[name, bytes] : r.files) {
    if (name != "boogie" && name != "control" && name != "koosurf" && !inputs.count(name)) names.insert(name);
  }
  return names;
}

CaseSetup channelSetup(const std::string &control, std::map<std::string, std::string> more = {}) {
  CaseSetup s;
  s.files = std::move(more);
  s.files["control"] = control + kChannel;
  s.files["koosurf"] = caseFile("channel", "koosurf");
  return s;
}

struct DispatchCase {
  const char *label;
  std::string control;
  std::set<std::string> written;
};

// After Y alone the grid has no bed cells yet: the bed result file waits
// for the flow or a restart to number them.
TEST(OutputDispatcher, FilesWrittenByTheSwitches) {
  const DispatchCase cases[] = {
      {"defaults", "F 2 YM\n", {"result.end"}},
      {"nothing selected", "F 2 YM\nF 329 0 0\n", {}},
      {"entry 0 = 2 writes no result", "F 2 YM\nF 329 2 1\n", {}},
      {"binary", "F 2 YM\nF 48 15\n", {"resultb"}},
      {"series", "F 2 YMM\nP 10 7\n", {"result.0000", "result.0001"}},
  };
  for (const DispatchCase &c : cases) {
    const CaseResult r = runCase(channelSetup(c.control));
    EXPECT_EQ(r.status, 1) << c.label << "\n" << r.file("boogie");
    EXPECT_EQ(outputs(r, {}), c.written) << c.label;
    EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos) << c.label;
  }
}

TEST(OutputDispatcher, BinaryResultHoldsTheCurrentArrays) {
  const CaseResult r = runCase(channelSetup("F 2 YM\nF 48 15\n"));
  // 360 cells and 1246 faces, entry 0 included.
  EXPECT_EQ(r.file("resultb").size(), 8u * (6u * 361u + 1247u));
}

// A number present beforehand is never written; the next call takes the next free one.
TEST(OutputDispatcher, SeriesSkipsPresentNumbers) {
  const CaseResult r = runCase(channelSetup("F 2 YMM\nP 10 7\n", {{"result.0001", "kept"}}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(outputs(r, {"result.0001"}), (std::set<std::string>{"result.0000", "result.0002"}));
  EXPECT_EQ(r.file("result.0001"), "kept");
}

// Entry 15 of F 329 adds the fraction restart file: one line per column.
TEST(OutputDispatcher, SelectedFractionFileWritten) {
  const CaseResult r = runCase(channelSetup("F 2 YM\nF 329 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 1\n"));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_TRUE(r.has("result.end"));
  const std::string fractions = r.file("fracres.new");
  EXPECT_EQ(std::count(fractions.begin(), fractions.end(), '\n'), 40);
  EXPECT_EQ(fractions.substr(0, fractions.find('\n')), "2 2 0.000000 1.000000 0.000000 1.000000");
}

TEST(OutputDispatcher, FullDiskEndsTheRun) {
  CaseSetup s = channelSetup("F 2 YMM\n");
  s.links["result.end"] = "/dev/full";
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 253);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error writing file 'result.end'\n")) << r.file("boogie");
}

// A result file that cannot be created (a folder of its name in the way)
// once ended the run with 253 and the log's last line "Solution converged":
// each writer now says which file failed.
TEST(OutputDispatcher, FileThatCannotBeCreatedIsLogged) {
  const char *names[] = {"result.end", "tecplot2.dat", "tecplfe.dat", "ParaView3U.vtk"};
  for (const char *name : names) {
    SCOPED_TRACE(name);
    CaseSetup s = channelSetup("F 2 YM\nF 329 1 1 1 0 1 1 1\n");
    s.directories.push_back(name);
    const CaseResult r = runCase(s);
    EXPECT_EQ(r.status, 253);
    EXPECT_TRUE(endsWith(r.file("boogie"), "Error writing file '" + std::string(name) + "'\n")) << r.file("boogie");
    expectConsole(r);
  }
}

// The example's converged flow with its 3-D file blocked: the log goes on
// past "Solution converged" to the failed write.
TEST(OutputDispatcher, ConvergedRunReportsTheFailedWrite) {
  CaseSetup s;
  s.files["control"] = caseFile("example", "control");
  s.files["koosurf"] = caseFile("example", "koosurf");
  s.directories.push_back("ParaView3U.vtk");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 253);
  expectInOrder(r.file("boogie"), {"Solution converged\n", "Error writing file 'ParaView3U.vtk'\n"});
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error writing file 'ParaView3U.vtk'\n")) << r.file("boogie");
}

class Dispatcher : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel();
  }
};

TEST_F(Dispatcher, StatusTextsAlsoWhenNothingIsSelected) {
  PrintArrayFlags[0] = PrintArrayFlags[1] = 0;
  gFlagWriteR = 1;
  sprintflow();
  EXPECT_EQ(gFlagWriteR, 0);
  EXPECT_STREQ(mc_message, "have written output files  ");
  EXPECT_FALSE(std::filesystem::exists("result.end"));
  EXPECT_FALSE(std::filesystem::exists("bedres.t"));
}

TEST_F(Dispatcher, BedResultOnlyWithEntryOneAboveZero) {
  ASSERT_EQ(NoBCells, 40);
  PrintArrayFlags[0] = 2;
  PrintArrayFlags[1] = 2;
  sprintflow();
  EXPECT_FALSE(std::filesystem::exists("result.end"));
  EXPECT_TRUE(std::filesystem::exists("bedres.t"));
  PrintArrayFlags[0] = 1;
  PrintArrayFlags[1] = 0;
  std::filesystem::remove("bedres.t");
  sprintflow();
  EXPECT_TRUE(std::filesystem::exists("result.end"));
  EXPECT_FALSE(std::filesystem::exists("bedres.t"));
}

// A slide layer block stands still at its bed: its bottom cells lose their
// velocity in every call, also when nothing is written.
TEST_F(Dispatcher, LayerBlockBedsStopInSlideRuns) {
  setHandFields();
  PrintArrayFlags[0] = PrintArrayFlags[1] = 0;
  block[1].LayerMark = 1;
  FlagThixo = 3;
  sprintflow();
  EXPECT_NE(Cxvel[Bcellt[1]], 0.0);
  FlagThixo = 2;
  sprintflow();
  for (int b = 1; b <= NoBCells; ++b) {
    const int c = Bcellt[b];
    ASSERT_EQ(Cxvel[c], 0.0);
    ASSERT_EQ(Cyvel[c], 0.0);
    ASSERT_EQ(Czvel[c], 0.0);
    ASSERT_NE(Cxvel[Ccellt[c]], 0.0);
  }
}

// The bed result file of the generated channel, as a restart input.
std::string channelBedres() {
  std::string text;
  {
    kreadDefaults();
    generateChannel();
    print_bedres();
    text = readFile("bedres.t");
  }
  return text;
}

class Restart : public WorkFolderTest {};

TEST_F(Restart, MissingFilesAreReportedAndTheRunGoesOn) {
  const CaseResult r = runCase(channelSetup("F 2 YRM\n"));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Have not used 'bedres' file\n"
                       "Warning: have not been able to open the file 'result' for reading "))
      << r.file("boogie");
  EXPECT_EQ(outputs(r, {}), (std::set<std::string>{"result.end"}));
}

// The restart numbers the bed cells: the dispatcher writes both files.
TEST_F(Restart, BedresAloneRegeneratesTheGrid) {
  const std::string bedres = channelBedres();
  const CaseResult r = runCase(channelSetup("F 2 YRM\n", {{"bedres", bedres}}));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(outputs(r, {"bedres"}), (std::set<std::string>{"result.end", "bedres.t"}));
  EXPECT_EQ(r.file("bedres.t"), bedres);
}

TEST_F(Restart, EntryOneAloneWritesTheBedResult) {
  const CaseResult r = runCase(channelSetup("F 2 YRM\nF 329 0 2\n", {{"bedres", channelBedres()}}));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(outputs(r, {"bedres"}), (std::set<std::string>{"bedres.t"}));
}

TEST_F(Restart, SeriesNumbersBothFiles) {
  const std::string bedres = channelBedres();
  const CaseResult r = runCase(channelSetup("F 2 YRMM\nP 10 7\n", {{"bedres", bedres}}));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(outputs(r, {"bedres"}),
            (std::set<std::string>{"result.0000", "bedres.0000", "result.0001", "bedres.0001"}));
}

TEST_F(Restart, BedresOfAnotherGridEndsTheRun) {
  std::string bedres = channelBedres();
  bedres.replace(bedres.find("K 13 7 11 1"), 11, "K 13 7 12 1");
  const CaseResult r = runCase(channelSetup("F 2 YR\n", {{"bedres", bedres}}));
  EXPECT_EQ(r.status, 253);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error in reading bedres file: array size is not correct\n"
                       "Number of bedres grid lines in k direction is 12, and in control file 11.\n"));
}

TEST_F(Restart, ResultOfAnotherGridKeepsTheFields) {
  const CaseResult first = runCase(channelSetup("F 2 YM\n"));
  std::string result = first.file("result.end");
  result.replace(result.find("U 550 360 1246"), 14, "U 550 361 1247");
  const CaseResult r = runCase(channelSetup("F 2 YRM\n", {{"result", result}}));
  EXPECT_EQ(r.status, 1);
  const std::string log = r.file("boogie");
  EXPECT_NE(log.find(" In readres \n\n"
                     "Error reading result file, array size is not the same as in the grid\n"
                     "Number of cells in grid is 360, and number of cells in result file is 361\n"
                     "No. cells in grid: 360, no. cells in result file: 361\n"
                     "No. surfaces in grid: 1246, no. surfaces in result file: 1247\n"
                     "MaxDepth = "),
            std::string::npos)
      << log;
  EXPECT_EQ(r.file("result.end"), first.file("result.end"));
}

// Written, copied to "result", read and written again: the same bytes.
TEST_F(Restart, ResultRoundTripThroughTheBinary) {
  const CaseResult first = runCase(channelSetup("F 2 YM\n"));
  const CaseResult r = runCase(channelSetup("F 2 YRM\n", {{"result", first.file("result.end")}}));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), " In readres \n\nHave read 360 cell values from result file\n"));
  EXPECT_EQ(r.file("result.end"), first.file("result.end"));
}

}  // namespace
