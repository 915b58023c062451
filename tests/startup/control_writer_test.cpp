// The writers of control files, in process: "control.new" with every default,
// the bands that decide whether a data set is written, the record tables, a
// file that cannot be created, and the minimal "control".
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/control_reader.h"
#include "startup/control_writer.h"
#include "support/work_folder.h"

namespace {

// The run string and the option letters are written as stored: without F 2
// and F 7 they hold NUL bytes.
const std::string kDefaultFile = "T                                 title field\n"
                                 "F 2 " + std::string(20, '\0') + "        run choice\n"
                                 "F 4 0.500000 50 0.010000    morphology data\n"
                                 "F 7" + std::string(8, '\0') + "   run options\n"
                                 "F 11 2.650000 -0.047000\n"
                                 "F 16 -2.000000   roughness in meters\n"
                                 "G 1 300 300 11 1    grid and array sizes\n"
                                 "G 3 0.000000 0.100000 0.200000 0.300000 0.400000 0.500000 0.600000 0.700000 "
                                 "0.800000 0.900000 1.000000  vertical grid distribution\n"
                                 "P 2 1.000000 1.000000 1.000000 0.000000 0.000000\n"
                                 "P 3 2 2 2 1 \n"
                                 "W 1 50.000000 1.000000 1.000000\n"
                                 "W 2 0\n"
                                 "K 1 40000 50000\n"
                                 "K 2 0 1\n"
                                 "K 3 0.800000 0.800000 0.800000 0.200000 0.500000 0.500000 \n"
                                 "K 4 1 1 1 5 1 1 \n"
                                 "K 5 0 0 0 0 0 0 \n"
                                 "K 6 0 0 0 0 0 0 \n";

class ControlWriter : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
  }
  void read(const std::string &text) {
    ControlStream stream(text);
    kreadPass(stream);
  }
  std::string written() {
    writeControl();
    return readFile("control.new");
  }
  bool hasLine(const std::string &line) {
    // A line of its own: at the start of the file or after a line end.
    std::string file(1, '\n'), needle(1, '\n');
    file += written();
    needle += line;
    return file.find(needle) != std::string::npos;
  }
};

TEST_F(ControlWriter, DefaultsWriteTheWholeFile) { EXPECT_EQ(written(), kDefaultFile); }

TEST_F(ControlWriter, TitleRunAndOptionsAsRead) {
  read("T channel test\nF 2 YW\nF 7 NB\n");
  std::string file = written();
  EXPECT_EQ(file.substr(0, 60), "T    channel test                               title field\n");
  EXPECT_NE(file.find("F 2  YW\n" + std::string(16, ' ') + "        run choice\n"), std::string::npos);
  EXPECT_NE(file.find("F 7 NB\n" + std::string(4, ' ') + "   run options\n"), std::string::npos);
}

TEST_F(ControlWriter, TransientRunWritesF17AndF33) {
  read("F 33 10 3\n");
  std::string file = written();
  EXPECT_NE(file.find("F 16 -2.000000   roughness in meters\n"
                      "F 17 10.000000 time step in seconds\n"
                      "F 33 10.000000 3\n"
                      "G 1 "),
            std::string::npos)
      << file;
}

struct BandCase {
  const char *name;
  std::function<void()> set;
  std::string line;  // the line the setting decides on
  bool written;
  friend void PrintTo(const BandCase &c, std::ostream *os) { *os << c.name; }
};

class ControlWriterBand : public ControlWriter, public ::testing::WithParamInterface<BandCase> {};

TEST_P(ControlWriterBand, LineWrittenOnlyOutsideItsBand) {
  GetParam().set();
  EXPECT_EQ(hasLine(GetParam().line), GetParam().written) << written();
}

const BandCase kBands[] = {
    // With the default 50 iterations F 4 is always written; at 500 the band decides.
    {"RelaxMorphInsideWithDefaultIterations", [] { relax_morph = 0.5005; }, "F 4 0.500500 50 0.010000", true},
    {"RelaxMorphInside", [] { relax_morph = 0.5005, iter_morph = 500; }, "F 4 ", false},
    {"RelaxMorphOutside", [] { relax_morph = 0.502, iter_morph = 500; }, "F 4 0.502000 500 0.010000", true},
    {"ConvMorphOutside", [] { conv_morph = 0.0102, iter_morph = 500; }, "F 4 0.500000 500 0.010200", true},
    {"ConcFormInside", [] { ConcFormTstar = 1.505; }, "F 6 ", false},
    {"ConcFormOutside", [] { ConcFormDstar = 0.32; }, "F 6 0.015000 1.500000 0.320000\n", true},
    {"MaxBedChangeOutside", [] { MaxBedChange = 0.2; }, "F 8 0.200000\n", true},
    {"EddyMultInside", [] { EddyMult = 1.005; }, "F 9 ", false},
    {"EddyMultOutside", [] { EddyMult = 2.0; }, "F 9 2.000000\n", true},
    {"SedimentFormula", [] { SedimentFormula = 'E'; }, "F 10 E   sediment formula\n", true},
    {"ShieldsInside", [] { shieldscoeff = 0.047; }, "F 11 ", false},
    {"DensityOutside", [] { density = 2.7, shieldscoeff = 0.047; }, "F 11 2.700000 0.047000\n", true},
    {"SchmidtOutside", [] { Schmidt = 0.7; }, "F 12 0.700000\n", true},
    {"RhieChowOutside", [] { RelaxRhieChow = 0.5; }, "F 21 0.500000 rhiechow relaxation\n", true},
    {"SolidFracOutside", [] { SolidFrac = 0.6; }, "F 26 0.600000\n", true},
    {"DebugLetterD", [] { debugging = 'D'; }, "F 1 D\n", true},
    {"DebugLetterA", [] { debugging = 'A'; }, "F 1 ", false},
    {"FillPart", [] { FillPart = 0.5, FillCriteria = 0.1; }, "F 23 0.500000 0.100000 accellerated deposition\n", true},
    {"Porosity", [] { FlagBedPoros = 1; }, "F 25 ", true},
    {"PorosityTwo", [] { FlagBedPoros = 2; }, "F 25 ", false},
    {"SedimentScheme", [] { SedimentScheme = 1; }, "F 27 1\n", true},
    {"AllSixBedFlags", [] { for (int n = 0; n < 6; ++n) BedFlags[n] = n + 1; }, "F 30 1 2 3 4 5 6\n", true},
    {"FiveBedFlags", [] { for (int n = 0; n < 5; ++n) BedFlags[n] = 1; }, "F 30 ", false},
    {"FreeSurface", [] { FlagTFS = 3; }, "F 36 3 free surface option\n", true},
    {"Sediment", [] { FlagTSC = 2; }, "F 37 2 transient sediment computation\n", true},
    {"SurfaceReference", [] { kSurf = 2; }, "G 6 0 0 2 ", true},
    {"MouseScale", [] { MouseScale = 2.0; }, "G 15 2.000000\n", true},
};

INSTANTIATE_TEST_SUITE_P(Bands, ControlWriterBand, ::testing::ValuesIn(kBands),
                         [](const ::testing::TestParamInfo<BandCase> &info) { return info.param.name; });

TEST_F(ControlWriter, RecordTablesInTheirOrder) {
  read("G 1 10 10 3 2\n"
       "G 3 0 0.5 1\n"
       "G 7 0 1 2 3 4 5 6 7 1.5 2.5 3.5 4.5\n"
       "G 12 1 0.1 0.2\n"
       "G 13 0 2 3 4 5 2 3\n"
       "G 18 1 2 3 4 5 6\n"
       "S 1 0.002 0.2\nS 2 0 0\n"
       "W 2 2 3 5\n"
       "W 4 1 1 3 2 4 2 3\n"
       "W 7 2 4 5 0.5 0.25\n");
  std::string file = written();
  EXPECT_NE(file.find("G 1 10 10 3 2    grid and array sizes\n"
                      "G 3 0.000000 0.500000 1.000000  vertical grid distribution\n"
                      "G 7 0 1 2 3 4 5 6 7 1.500000 2.500000 3.500000 4.500000\n"
                      "G 18 1.000000 2.000000 3.000000 4.000000 5.000000 6.000000\n"
                      "G 12 1 0.100000 0.200000\n"
                      "G 13 0 2 3 4 5 2 3\n"
                      "P 2 "),
            std::string::npos)
      << file;
  // A size without a diameter gets neither an S nor an I line.
  EXPECT_NE(file.find("P 3 2 2 2 1 \nS 1 0.002000 0.200000\nI 1 0.000000\nW 1 "), std::string::npos) << file;
  EXPECT_NE(file.find("W 2 2 3 5\nW 4 1 1 3 2 4 2 3\nW 7 2 4 5 0.500000 0.250000\nK 1 "), std::string::npos)
      << file;
}

TEST_F(ControlWriter, FixedPointsInTheOrderGiven) {
  std::string control = "G 1 30 30 11 1\n", lines;
  for (int n = 1; n <= 25; ++n) {
    control += "W 6 " + std::to_string(26 - n) + " " + std::to_string(n) + "\n";
    lines += "W 6 " + std::to_string(26 - n) + " " + std::to_string(n) + "\n";
  }
  read(control);
  EXPECT_NE(written().find("W 2 0\n" + lines + "K 1 "), std::string::npos);
}

void printMessageAtExit() { std::fputs(mc_message, stderr); }

TEST_F(ControlWriter, DirectoryInTheWayEndsTheRun) {
  std::filesystem::create_directory("control.new");
  EXPECT_EXIT(
      {
        std::atexit(printMessageAtExit);
        writeControl();
      },
      ::testing::ExitedWithCode(252),
      "^telva: Error writing file 'control.new' \\(status 252; see boogie\\)\ncannot open file 'control' $");
  EXPECT_EQ(readFile("boogie"), "Error writing file 'control.new'\n");
}

TEST_F(ControlWriter, MinimalControlFile) {
  read("T run\nG 1 10 8 5 1\n");
  EXPECT_EQ(writeControlMin(), 0);
  EXPECT_EQ(readFile("control"),
            "T    run                              title field \n"
            "G 1 10 8 5 1     grid and array sizes\n"
            "G 3 0.000000 25.000000 50.000000 75.000000 100.000000      vertical grid distribution\n"
            "W 1 50.000000 1.000000 1.000000\n"
            "W 2 3 1 5 10\n"
            "K 1 40000 60000\n"
            "K 2 0 1\n");
  EXPECT_EQ(initnumber, 3);
  EXPECT_DOUBLE_EQ(zdistrib[2], 25.0);
}

}  // namespace
