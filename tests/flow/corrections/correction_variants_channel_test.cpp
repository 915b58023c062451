// The straight channel of cases/straight-channel run for twenty outer
// iterations, its fields written by "P 10 20": the variants of the face and
// velocity corrections that act only on shallow, thin or corner cells must
// leave a channel that has none of them exactly as the standard corrections
// leave it.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

// The result file of twenty outer iterations with the extra data sets.
std::string resultAfterTwentyIterations(const std::string &extra) {
  std::string control = caseFile("straight-channel", "control");
  const std::string k1 = "K 1 5000 50000\n";
  control.replace(control.find(k1), k1.size(), "K 1 20 50000\nP 10 20\n");
  CaseSetup s;
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos) << r.file("boogie");
  return r.file("result.0000");
}

TEST(CorrectionVariantsChannel, VariantsForThinAndShallowCellsChangeNothingInAChannelWithoutThem) {
  const std::string standard = resultAfterTwentyIterations("");
  ASSERT_NE(standard.find("Results, iter = 19"), std::string::npos) << standard.substr(0, 200);
  for (int variant : {1, 3, 6}) {
    SCOPED_TRACE("F 157 " + std::to_string(variant));
    const std::string result = resultAfterTwentyIterations("F 157 " + std::to_string(variant) + "\n");
    ASSERT_EQ(result.size(), standard.size());
    std::size_t at = 0;
    while (at < result.size() && result[at] == standard[at]) ++at;
    EXPECT_EQ(at, result.size()) << "first difference in the line of\n"
                                 << result.substr(result.rfind('\n', at) + 1, 120) << "\nagainst\n"
                                 << standard.substr(standard.rfind('\n', at) + 1, 120);
  }
  // The file does see a changed correction: F 157 30 alone corrects nothing.
  EXPECT_NE(resultAfterTwentyIterations("F 157 30\n"), standard);
}

}  // namespace
