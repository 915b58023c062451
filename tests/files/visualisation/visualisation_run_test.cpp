// The Tecplot and ParaView files through the binary: the run letter M on the
// generated channel and the converged straight channel with F 329, the
// numbered plan file of a second run, and the empty list.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "files/visual_file_checks.h"
#include "support/run_case.h"

namespace {

const std::string kOutputs = "F 329 1 1 1 0 1 1 1\nG 24 3 v 0 0 p 2 0 k 2 0\n";

CaseSetup caseSetup(const std::string &name, const std::string &from, const std::string &to,
                    const std::string &extra) {
  CaseSetup s;
  std::string control = caseFile(name, "control");
  const std::size_t at = control.find(from);
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) control.replace(at, from.size(), to);
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile(name, "koosurf");
  return s;
}

std::set<std::string> namesOf(const CaseResult &r) {
  std::set<std::string> names;
  for (const auto &[name, bytes] : r.files) names.insert(name);
  return names;
}

// The generated channel (10 × 4 columns of nine cells) through Y and M.
TEST(VisualisationRun, LetterMWritesTheFourFiles) {
  const CaseResult r = runCase(caseSetup("channel", "F 2 Y", "F 2 YM", kOutputs));
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  for (const char *name : {"tecplot2.dat", "tecplfe.dat", "ParaView3U.vtk", "pav2_00000.vtk", "result.end"}) {
    EXPECT_TRUE(r.has(name)) << name;
  }
  const TecplotFile plan = parseTecplot(r.file("tecplot2.dat"));
  EXPECT_EQ(plan.error, "");
  EXPECT_EQ(plan.variables, (std::vector<std::string>{"X1", "X2", "X3", "Ux", "Uy", "Water level", "Pressure 2 ",
                                                      "Turbulent k 2 "}));
  EXPECT_EQ(plan.i, 12);
  EXPECT_EQ(plan.j, 6);
  const TecplotFile fe = parseTecplot(r.file("tecplfe.dat"));
  EXPECT_EQ(fe.error, "");
  EXPECT_EQ(fe.e, 360);
  EXPECT_EQ(fe.variables.back(), "Turbulent k 2 ");
  const std::string three = r.file("ParaView3U.vtk");
  EXPECT_EQ(vtkSectionNames(three), (std::vector<std::string>{"Velocity", "Water_level", "Pressure", "Turbulent_k"}));
  EXPECT_NE(three.find("POINTS " + std::to_string(fe.n) + " double\n"), std::string::npos);
  EXPECT_NE(three.find("\nCELLS 360 3240\n"), std::string::npos);
  const std::string plan2 = r.file("pav2_00000.vtk");
  EXPECT_EQ(vtkSectionNames(plan2), (std::vector<std::string>{"Water_level", "Pressure_2", "Turbulent_k_2", "Velocities"}));
  EXPECT_NE(plan2.find("DIMENSIONS 12 6 1\nPOINTS 72 double\n"), std::string::npos);
  // The water level of the channel is 1 m everywhere.
  for (double level : vtkSection(plan2, "SCALARS Water_level float", 72)) EXPECT_EQ(level, 1.0);
}

TEST(VisualisationRun, EmptyListThroughTheBinary) {
  const CaseResult r = runCase(caseSetup("channel", "F 2 Y", "F 2 YM", "F 329 1 1 1 0 1 1 1\n"));
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(linesOf(r.file("tecplot2.dat"))[1], "VARIABLES=\"X1\",\"X2\",\"X3\",\"Ux\",\"Uy\"");
  EXPECT_EQ(linesOf(r.file("tecplfe.dat"))[1], "VARIABLES=\"X1\",\"X2\",\"X3\",\"Ux\",\"Uy\",\"No\"");
  EXPECT_EQ(vtkSectionNames(r.file("pav2_00000.vtk")), (std::vector<std::string>{"Error", "Velocities"}));
  EXPECT_EQ(vtkSectionNames(r.file("ParaView3U.vtk")), std::vector<std::string>{"Velocity"});
}

// The converged straight channel writes the result files and the four
// visualisation files; a second run in the same folder numbers a new plan
// file and rewrites the others.
TEST(VisualisationRun, ConvergedChannelAndASecondRun) {
  const CaseResult first = runCase(caseSetup("straight-channel", "F 2 YW", "F 2 YW", kOutputs));
  ASSERT_EQ(first.status, 1) << first.file("boogie");
  EXPECT_NE(first.file("boogie").find("Solution converged"), std::string::npos);
  const std::set<std::string> expected = {"boogie",         "control",        "koosurf",    "result.end", "bedres.t",
                                          "tecplot2.dat",   "tecplfe.dat",    "ParaView3U.vtk",
                                          "pav2_00000.vtk"};
  EXPECT_EQ(namesOf(first), expected);
  const TecplotFile plan = parseTecplot(first.file("tecplot2.dat"));
  ASSERT_EQ(plan.error, "");
  // The inner points carry the flow: about 0.75 m/s down the channel.
  const std::vector<double> &centre = plan.points[plan.i * (plan.j / 2) + plan.i / 2];
  EXPECT_NEAR(centre[3], 0.75, 0.15);
  EXPECT_EQ(parseTecplot(first.file("tecplfe.dat")).error, "");

  CaseSetup again;
  again.files = first.files;
  const CaseResult second = runCase(again);
  ASSERT_EQ(second.status, 1) << second.file("boogie");
  std::set<std::string> more = expected;
  more.insert("pav2_00001.vtk");
  EXPECT_EQ(namesOf(second), more);
  EXPECT_EQ(second.file("pav2_00000.vtk"), first.file("pav2_00000.vtk"));
}

// The README's example: the flow over the sill converges and leaves the
// ParaView file the README tells the user to open; the flow speeds up over
// the sill.
TEST(VisualisationRun, ExampleCaseConverges) {
  CaseSetup s;
  s.files["control"] = caseFile("example", "control");
  s.files["koosurf"] = caseFile("example", "koosurf");
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("Solution converged"), std::string::npos);
  EXPECT_TRUE(r.has("ParaView3U.vtk"));
  EXPECT_TRUE(r.has("pav2_00000.vtk"));
  const TecplotFile plan = parseTecplot(r.file("tecplot2.dat"));
  ASSERT_EQ(plan.error, "");
  // The plane cell's speed along a middle row: upstream (x 5.5) and on the
  // crest (x 20.5).
  double upstream = 0.0, crest = 0.0;
  for (const std::vector<double> &p : plan.points) {
    if (p[1] != 3.5) continue;
    if (p[0] == 5.5) upstream = p[3];
    if (p[0] == 20.5) crest = p[3];
  }
  EXPECT_NEAR(upstream, 0.5, 0.1);
  EXPECT_GT(crest, 1.1 * upstream);
}

}  // namespace
