// Letter N with F 248 1 through the binary: the straight channel taken as a
// soil body, its horizontal stress written as the ParaView array of letter T.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

// The values after a VTK section header line.
std::vector<double> section(const std::string &text, const std::string &header, std::size_t count) {
  std::vector<double> values;
  std::size_t at = text.find("\n" + header);
  if (at == std::string::npos) return values;
  at = text.find('\n', at + 1) + 1;
  if (header.rfind("SCALARS", 0) == 0) at = text.find('\n', at) + 1;  // LOOKUP_TABLE
  std::istringstream in(text.substr(at));
  for (double v; values.size() < count && in >> v;) values.push_back(v);
  return values;
}

std::string soilControl(const std::string &added) {
  std::string control;
  for (const std::string &line : linesOf(caseFile("straight-channel", "control"))) {
    if (line.rfind("F 2 ", 0) == 0 || line.rfind("K 1 ", 0) == 0) continue;
    control += line + "\n";
  }
  return control + "F 2 YNM\nF 248 1\nK 1 2000\nG 24 1 T 0 0\n" + added;
}

}  // namespace

// sigma_x = nu (1 - nu^2) sigma_z with the lithostatic sigma_z = -9810 d at
// every point two or more levels from bed and surface.
TEST(SoilStressRun, HorizontalStressOfTheChannelBody) {
  CaseSetup s;
  s.files["control"] = soilControl("F 247 1e7 0.25\n");
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  const std::string vtk = r.file("ParaView3U.vtk");
  const std::size_t at = vtk.find("\nPOINTS ");
  ASSERT_NE(at, std::string::npos);
  const std::size_t n = std::stoul(vtk.substr(at + 8));
  const std::vector<double> points = section(vtk, "POINTS ", 3 * n);
  const std::vector<double> error = section(vtk, "SCALARS Error ", n);
  ASSERT_EQ(points.size(), 3 * n);
  ASSERT_EQ(error.size(), n);
  int checked = 0;
  for (std::size_t p = 0; p < n; ++p) {
    const double z = points[3 * p + 2], depth = 1.0 - z;
    if (z < 2.0 / 9.0 - 1e-6 || depth < 2.0 / 9.0 - 1e-6) continue;
    EXPECT_NEAR(error[p] / (-2299.22 * depth), 1.0, 0.02) << "point " << p << " at depth " << depth;
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

TEST(SoilStressRun, HalfPoissonRatioWithAStrainVariant) {
  CaseSetup s;
  s.files["control"] = soilControl("F 247 1e7 0.5\nF 259 4\n");
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 251);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error for F 247 in control: a Poisson ratio of 0.5 needs F 259 9\n"))
      << r.file("boogie");
}
