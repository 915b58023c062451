// Clear water over a sand bed, end to end: the converged straight channel
// read back by letter R, then six steps of 10 s of suspended sediment and bed
// change. The eroded mass must reappear as suspension and outflow, the bed
// levels must fall by what the bed layers lost, and most at the inlet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

std::vector<double> numbersOf(const std::string &line) {
  std::vector<double> v;
  std::istringstream in(line);
  for (double x; in >> x;) v.push_back(x);
  return v;
}

// The sediment run's "control": the channel's with the letters of a restart
// and the data sets of the fixture, its time steps in place of the flow's.
std::string sedimentControl() {
  std::string control = caseFile("straight-channel", "control");
  control.replace(control.find("F 2 YW\n"), 7, "F 2 YRS\n");
  control.replace(control.find("K 1 5000 50000\n"), 15, "");
  return control + caseFile("sediment-erosion", "control.sediment");
}

TEST(SedimentErosionRun, MassHoldsAndTheBedFallsMostAtTheInlet) {
  CaseSetup flow;
  flow.files["control"] = caseFile("straight-channel", "control");
  flow.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult converged = runCase(flow);
  ASSERT_EQ(converged.status, 1);
  ASSERT_TRUE(converged.has("result.end"));

  CaseSetup sediment;
  sediment.files["control"] = sedimentControl();
  sediment.files["koosurf"] = flow.files["koosurf"];
  sediment.files["result"] = converged.file("result.end");
  const CaseResult r = runCase(sediment);
  ASSERT_EQ(r.status, 1);
  const std::string log = r.file("boogie");
  EXPECT_EQ(log.find("\nError"), std::string::npos) << log;
  EXPECT_NE(log.find("Using van Rijns suspended load formula\n"), std::string::npos);

  // Each step's table: Inflow, Outflow, Suspension, BedLayerCh, Bedchange, Defect.
  const std::vector<std::string> lines = linesOf(log);
  int tables = 0;
  for (std::size_t n = 0; n + 1 < lines.size(); ++n) {
    if (lines[n].rfind("Size  Inflow (kg)", 0) != 0) continue;
    ++tables;
    const std::vector<double> v = numbersOf(lines[n + 1]);
    ASSERT_GE(v.size(), 7u) << lines[n + 1];
    const double inflow = v[1], outflow = v[2], layers = v[4], bedchange = v[5], defect = v[6];
    EXPECT_LE(std::fabs(defect), 0.01 * std::max({inflow, outflow, std::fabs(layers)})) << lines[n + 1];
    EXPECT_NEAR(layers, bedchange, 1e-5 * std::fabs(bedchange)) << lines[n + 1];
  }
  EXPECT_EQ(tables, 6);

  // The end report: the bed levels moved by the mass the balance booked.
  double volume = 0.0, kg = 0.0, booked = 0.0;
  const std::size_t total = log.find("Total change in bed levels: ");
  ASSERT_NE(total, std::string::npos);
  ASSERT_EQ(std::sscanf(log.c_str() + total, "Total change in bed levels: %le qubic meters or %le kg", &volume, &kg), 2);
  const std::size_t report = log.find("\nContinuity: Bedchange ");
  ASSERT_NE(report, std::string::npos);
  ASSERT_EQ(std::sscanf(log.c_str() + report, "\nContinuity: Bedchange %lg kg", &booked), 1);
  EXPECT_LT(volume, 0.0);
  EXPECT_NEAR(kg, booked, 2e-5 * std::fabs(booked));

  // "bedres.t": grid points (i j . bed water plane3 plane1), then bed cells.
  const std::vector<std::string> bedres = linesOf(r.file("bedres.t"));
  std::map<int, std::vector<double>> lowering;
  std::size_t n = 2;
  for (; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() != 7) break;
    lowering[static_cast<int>(v[0])].push_back(v[3]);
    EXPECT_NEAR(v[6], v[3], 1e-6) << bedres[n];  // the start bed is at 0
  }
  auto mean = [&](int first, int last) {
    double sum = 0.0;
    int count = 0;
    for (int i = first; i <= last; ++i)
      for (double z : lowering[i]) sum += z, ++count;
    return sum / count;
  };
  for (const auto &[line, levels] : lowering) EXPECT_LE(mean(line, line), 1e-6) << "grid line " << line;
  EXPECT_GE(-mean(1, 6), 1.5 * -mean(41, 51));

  // Bed cells: layer 1 (sixth value) stays at 0.05 m, layer 0 (eighth) gives
  // what was eroded from the 10 m bed.
  double layerVolume = 0.0;
  int cells = 0;
  for (; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() < 8) continue;
    ++cells;
    EXPECT_GE(v[5], 0.0) << bedres[n];
    EXPECT_GE(v[7], 0.0) << bedres[n];
    EXPECT_NEAR(v[5], 0.05, 1e-12) << bedres[n];
    layerVolume += (v[5] + v[7] - 10.0) * 4.0;
  }
  EXPECT_EQ(cells, 250);
  EXPECT_NEAR(layerVolume, volume, 1e-3 * std::fabs(volume));
}

}  // namespace
