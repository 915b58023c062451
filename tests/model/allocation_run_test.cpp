// The global tables end to end: the size lines of a run, the zdistrib limit
// and the runs that find too little memory, judged by status and log.
#include <gtest/gtest.h>

#include <string>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace {

const std::string kStartOfLog =
    "TELVA 2.586 output file. 4. June 2024.\nIn kread \n\nTurbulenceModel = 0 (F 24)\nNumber of threads: 0 (F 206)\n";
const std::string kDefaultStructured = "Have allocated        20.11 Mbytes structured arrays\n";
// Between the two totals: the empty title and the absent "inflow".
const std::string kBetweenTotals = "\n\nHave not used inflow file\n";
const std::string kOutOfMemory = "Allocated 0.000000 Mbyte when out of memory\nCould not allocate enough memory";
const std::string kAllocationError =
    "Error in allocation of arrays. The array size is probably\n"
    "larger than what is available of memory on your computer\n\n";
constexpr long kFourGigabytes = 4L * 1000 * 1000 * 1000;

TEST(AllocationRun, EmptyFolderLogsBothTotals) {
  CaseResult r = runCase({});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("boogie"),
            kStartOfLog + kDefaultStructured + kBetweenTotals + "Have allocated        70.38 Mbytes unstructured arrays\n\n");
}

TEST(AllocationRun, SmallGridTotals) {
  CaseResult r = runControl("G 1 4 4 2 1\nF 65 10 10 10 1 1\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Have allocated         0.01 Mbytes structured arrays\n" + kBetweenTotals +
                                             "Have allocated         0.03 Mbytes unstructured arrays\n\n"))
      << r.file("boogie");
}

struct RunCase {
  const char *name;
  std::string control;
  long addressSpaceLimit;
  int status;
  std::string logTail;
  bool structuredLine;  // the structured total is logged
  friend void PrintTo(const RunCase &c, std::ostream *os) { *os << c.name; }
};

class AllocationEnd : public ::testing::TestWithParam<RunCase> {};

TEST_P(AllocationEnd, StatusAndLog) {
  const RunCase &c = GetParam();
  CaseSetup setup;
  setup.files["control"] = c.control;
  setup.addressSpaceLimit = c.addressSpaceLimit;
  CaseResult r = runCase(setup);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, c.status) << log;
  EXPECT_TRUE(endsWith(log, c.logTail)) << log;
  EXPECT_EQ(log.find("structured arrays") != std::string::npos, c.structuredLine) << log;
}

const RunCase kEnds[] = {
    // The zdistrib table of G 3 holds 5000 levels: znumber + 2 must fit.
    {"ZnumberAboveTheDistribution", "G 1 10 10 4998 1\n", 0, 254,
     "Error - increase zdistrib array, nz = 5000\n", false},
    {"ZnumberAtTheDistributionLimit", "G 1 10 10 4997 1\n", 0, 1, "unstructured arrays\n\n", true},
    {"StructuredGridBeyondTheMemory", "G 1 30000 30000 11 1\n", kFourGigabytes, 253, kOutOfMemory, false},
    // 50002·50002 elements are more than an int counts: no memory limit needed.
    {"StructuredCountBeyondInt", "G 1 50000 50000 11 1\n", 0, 253, kOutOfMemory, false},
    // The cell tables fit the machine but not the address space: a
    // one-dimensional cell table fails and logs no byte count, and the run
    // letter X is not reached.
    {"CellCapacityBeyondTheAddressSpace", "F 2 X\nF 65 20000000 80000 50000 10000 1000\n", kFourGigabytes,
     kExitInputError & 255,
     kDefaultStructured + kBetweenTotals + kAllocationError, true},
    // Tables larger than any machine are refused before anything is allocated.
    {"CellCapacityBeyondTheMachine", "F 2 X\nF 65 2000000000 80000 50000 10000 1000\n", kFourGigabytes,
     kExitInputError & 255,
     " Mbytes of this machine\nAllocated 0.000000 Mbyte when out of memory\n" + kAllocationError, true},
};

INSTANTIATE_TEST_SUITE_P(Runs, AllocationEnd, ::testing::ValuesIn(kEnds),
                         [](const ::testing::TestParamInfo<RunCase> &info) { return info.param.name; });

// The error line of the physical-memory bound names the data set that sizes
// the tables and what they need; the machine's size is the system's.
struct MachineCase {
  const char *name;
  std::string control;
  int status;
  std::string need;  // the line up to the machine's size
  friend void PrintTo(const MachineCase &c, std::ostream *os) { *os << c.name; }
};

class MachineBound : public ::testing::TestWithParam<MachineCase> {};

TEST_P(MachineBound, RefusedBeforeAllocating) {
  const MachineCase &c = GetParam();
  CaseResult r = runControl(c.control);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, c.status) << log;
  const std::size_t at = log.find(c.need);
  ASSERT_NE(at, std::string::npos) << log;
  const std::size_t end = log.find('\n', at);
  EXPECT_TRUE(::testing::internal::RE::FullMatch(log.substr(at + c.need.size(), end - at - c.need.size()),
                                                 "[0-9]+\\.[0-9][0-9] Mbytes of this machine"))
      << log;
  EXPECT_EQ(log.substr(end + 1, 44), "Allocated 0.000000 Mbyte when out of memory\n") << log;
}

const MachineCase kMachineCases[] = {
    // The sizes are formed in 64 bits: the largest G 1 the reader accepts
    // reaches the allocator, which refuses it.
    {"LargestStructuredGrid", "G 1 2147483647 5 3 1\n", 253,
     "Error: the tables of G 1 need 2619930.06 Mbytes, more than the "},
    {"HugeCellCapacity", "F 65 1000000000 1000000000 50000 10 10\nF 2 Y\n", kExitInputError & 255,
     "Error: the tables of F 65 need 680029.69 Mbytes, more than the "},
};

INSTANTIATE_TEST_SUITE_P(Runs, MachineBound, ::testing::ValuesIn(kMachineCases),
                         [](const ::testing::TestParamInfo<MachineCase> &info) { return info.param.name; });

}  // namespace
