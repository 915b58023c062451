#include "bed/levels/sediment_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>


std::string sedimentControl(const std::string &flowCase, const std::string &sedimentCase, const std::string &extra,
                            const std::string &letters) {
  std::string control = caseFile(flowCase, "control");
  control.replace(control.find("F 2 YW\n"), 7, "F 2 " + letters + "\n");
  const std::size_t k1 = control.find("K 1 ");
  control.erase(k1, control.find('\n', k1) + 1 - k1);
  return control + caseFile(sedimentCase, "control.sediment") + extra;
}

CaseResult runSediment(const std::string &flowCase, const std::string &sedimentCase, const std::string &result,
                       const std::string &extra) {
  CaseSetup sediment;
  sediment.files["control"] = sedimentControl(flowCase, sedimentCase, extra);
  sediment.files["koosurf"] = caseFile(flowCase, "koosurf");
  sediment.files["result"] = result;
  return runCase(sediment);
}

std::vector<std::string> continuityRows(const std::string &log) {
  const std::vector<std::string> lines = linesOf(log);
  std::vector<std::string> rows;
  for (std::size_t n = 0; n + 1 < lines.size(); ++n) {
    if (lines[n].rfind("Size  Inflow (kg)", 0) == 0) rows.push_back(lines[n + 1]);
  }
  return rows;
}

int checkContinuityTables(const std::string &log, double share) {
  const std::vector<std::string> lines = linesOf(log);
  int tables = 0;
  std::map<int, std::vector<double>> previous;  // by size: the last table's row
  for (std::size_t n = 0; n + 1 < lines.size(); ++n) {
    if (lines[n].rfind("Size  Inflow (kg)", 0) != 0) continue;
    ++tables;
    for (std::size_t m = n + 1; m < lines.size(); ++m) {
      const std::vector<double> v = numbersOf(lines[m]);
      if (lines[m].rfind("  ", 0) != 0 || v.size() < 7) break;
      const double outflow = v[2], layers = v[4], bedchange = v[5], defect = v[6];
      EXPECT_LE(std::fabs(defect), share * (std::fabs(bedchange) + std::fabs(outflow))) << lines[m];
      EXPECT_NEAR(layers, bedchange, 1e-5 * std::fabs(bedchange)) << lines[m];
      const int size = static_cast<int>(v[0]);
      const auto last = previous.find(size);
      if (last != previous.end()) {
        const std::vector<double> &p = last->second;
        const double moved = std::fabs(bedchange - p[5]) + std::fabs(outflow - p[2]);
        EXPECT_LE(std::fabs(defect - p[6]), share * moved) << lines[m];
      }
      previous[size] = v;
    }
  }
  return tables;
}

double lastTableBedchange(const std::string &log) {
  const std::vector<std::string> lines = linesOf(log);
  double sum = 0.0;
  for (std::size_t n = 0; n + 1 < lines.size(); ++n) {
    if (lines[n].rfind("Size  Inflow (kg)", 0) != 0) continue;
    sum = 0.0;
    for (std::size_t m = n + 1; m < lines.size() && lines[m].rfind("  ", 0) == 0; ++m) {
      const std::vector<double> v = numbersOf(lines[m]);
      if (v.size() >= 7) sum += v[5];
    }
  }
  return sum;
}

bool readEndReport(const std::string &log, EndReport &report) {
  const std::size_t total = log.find("Total change in bed levels: ");
  const std::size_t booked = log.find("\nContinuity: Bedchange ");
  if (total == std::string::npos || booked == std::string::npos) return false;
  return std::sscanf(log.c_str() + total, "Total change in bed levels: %le qubic meters or %le kg", &report.volume,
                     &report.kg) == 2 &&
         std::sscanf(log.c_str() + booked, "\nContinuity: Bedchange %lg kg", &report.booked) == 1;
}

std::map<int, std::vector<double>> bedLevelsByLine(const std::string &bedresText) {
  std::map<int, std::vector<double>> levels;
  const std::vector<std::string> bedres = linesOf(bedresText);
  for (std::size_t n = 2; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() != 7) break;
    levels[static_cast<int>(v[0])].push_back(v[3]);
  }
  return levels;
}

double meanLevel(const std::map<int, std::vector<double>> &levels, int first, int last) {
  double sum = 0.0;
  int count = 0;
  for (int i = first; i <= last; ++i)
    for (double z : levels.at(i)) sum += z, ++count;
  return sum / count;
}
