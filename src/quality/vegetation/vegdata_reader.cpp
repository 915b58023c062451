// Reading of "vegdata". Every upper-case V, A, C, N, T or U starts a record;
// every other character is skipped, so the file may carry free comments.
// Profiles before the first T record belong to the first time set.
#include "quality/vegetation/vegdata_reader.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/log.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_stream.h"

double profileValue(const double *levels, const double *values, int n, double z) {
  if (z < levels[0]) return values[0];
  for (int k = 1; k < n; ++k) {
    if (z < levels[k]) {
      const double lower = std::max(0.0, levels[k] - z) / (levels[k] - levels[k - 1] + 1e-20);
      return lower * values[k - 1] + (1.0 - lower) * values[k];
    }
  }
  return 0.0;
}

namespace {

struct VegReader {
  ControlStream stream;
  int timeSet = -1;       // T records read so far, minus one
  int records = 0;
  bool haveU = false, haveV = false, haveArea = false, haveN = false;
  char last = ' ';
  int lastI = 0, lastJ = 0;

  int set() const { return timeSet < 0 ? 0 : timeSet; }

  // One number of a record; false when it is missing or not a finite number.
  bool number(double &value) {
    const ScanResult r = scan(stream, "%lf", &value);
    return r.count == 1 && !r.bad;
  }

  // The column of a profile record: its bed cell, or 0 for a dry column.
  int column(int &i, int &j) {
    const ScanResult r = scan(stream, "%d %d", &i, &j);
    if (r.count != 2 || r.bad)
      fatalPrintf(-7, nullptr, "Error in Vegdata file, line i=%d, j=%d, timestep=%d, var=%d, level=%d\n", i, j,
                  set() + 1, 0, 0);
    lastI = i;
    lastJ = j;
    if (i < 0 || i > xnumber + 1 || j < 0 || j > ynumber + 1)
      fatalPrintf(-4, nullptr, "Error in Vegdata file: column (%d,%d) outside the grid\n", i, j);
    const int bottom = static_cast<int>(zval[i][j][0]);
    return bottom > 0 ? Cbed[bottom] : 0;
  }

  void cellError(int i, int j) { logPrintf("Error for cell (%d,%d) at time %d\n", i, j, set() + 1); }

  // V or A: levels and values of rows 0 and 1, stored unchanged.
  void profile() {
    int i = 0, j = 0;
    const int b = column(i, j);
    for (int k = 0; k < VegLevels; ++k) {
      if (!number(lev[k])) {
        cellError(i, j);
        logText("Have not read sufficient number of levels\n");
        return;
      }
    }
    for (int k = 0; k < VegLevels; ++k) {
      if (!number(val[k])) {
        cellError(i, j);
        fatalExit(-8, "Have not read sufficient number of vegparam values\n");
      }
    }
    for (int k = 1; k < VegLevels; ++k) {
      if (lev[k] - lev[k - 1] <= 1e-10) {
        cellError(i, j);
        logText("Levels must be given in rising order\n");
        fatalPrintf(-8, nullptr, "Lev[%d] = %lf, Lev[%d] = %lf\n", k - 1, lev[k - 1], k, lev[k]);
      }
    }
    if (b <= 0) return;
    double **rows = Bveg[b][set()];
    for (int k = 0; k < VegLevels; ++k) {
      rows[0][k] = lev[k];
      rows[1][k] = val[k];
    }
    // The column sees its new profile at once.
    for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c])
      Cporosity[c] = profileValue(rows[0], rows[1], VegLevels, Czcenter[c]);
  }

  // C (all rows) or N (levels and values): every number scaled by porosMultiplier.
  void scaledRows(int rowCount) {
    int i = 0, j = 0;
    const int b = column(i, j);
    for (int v = 0; v < rowCount; ++v) {
      for (int k = 0; k < VegLevels; ++k) {
        double x = 0.0;
        if (!number(x))
          fatalPrintf(-7, nullptr, "Error in Vegdata file, line i=%d, j=%d, timestep=%d, var=%d, level=%d\n", i, j,
                      set() + 1, v, k);
        if (b > 0) Bveg[b][set()][v][k] = x * porosMultiplier;
      }
    }
  }

  std::vector<double> lev = std::vector<double>(VegLevels), val = std::vector<double>(VegLevels);
};

// The characters a file may hold: a file that never reaches its records
// (a binary, say) stops here.
double characterLimit() { return 4.0 * VegTimes * xnumber * 40.0 * ynumber; }

}  // namespace

void readVegdata() {
  for (int c = 0; c <= NoCells; ++c) Cporosity[c] = 0.0;
  std::string text;
  if (!readTextFile("vegdata", text)) fatalExit(-4, "Could not read 'vegdata' file\n\n");
  VegReader r;
  r.stream = ControlStream(std::move(text));
  const double limit = characterLimit();
  double seen = 0.0;
  for (int ch = r.stream.get(); ch != EOF && seen < limit; ch = r.stream.get(), seen += 1.0) {
    if (ch != 'V' && ch != 'A' && ch != 'C' && ch != 'N' && ch != 'T' && ch != 'U') continue;
    r.last = static_cast<char>(ch);
    ++r.records;
    if (ch == 'U') {
      int vars = 0, levels = 0, times = 0;
      const ScanResult u = scan(r.stream, "%d %d %d", &vars, &levels, &times);
      if (u.count != 3 || u.bad || vars != VegVars || levels != VegLevels || times != VegTimes)
        fatalExit(-5, "Error in Vegdata file: U data set does not correspond with F 201 data set in control file\n");
      r.haveU = true;
    } else if (ch == 'T') {
      double t = 0.0;
      if (!r.number(t))
        fatalPrintf(-7, nullptr, "Error in Vegdata file, line i=%d, j=%d, timestep=%d, var=%d, level=%d\n", 0, 0,
                    r.timeSet + 2, 0, 0);
      if (++r.timeSet >= VegTimes)
        fatalExit(-4,
                  "Error in Vegdata file: number of time steps is larger than what is given on the F 201 data "
                  "set\n");
      VegTime[r.timeSet] = t;
    } else if (ch == 'V' || ch == 'A') {
      (ch == 'V' ? r.haveV : r.haveArea) = true;
      r.profile();
    } else if (ch == 'C') {
      r.haveArea = true;
      r.scaledRows(VegVars + 1);
    } else {
      r.haveN = true;
      r.scaledRows(2);
    }
  }
  if (!r.haveU && (VegVars != 1 || VegLevels != 4 || VegTimes != 1))
    fatalExit(-6, "Error in vegdata file, U data set is missing\n");
  if (r.haveU && VegTimes > 1 && r.timeSet + 1 != VegTimes) {
    logPrintf("Error in vegdata file: %d time steps given, while the\n", r.timeSet + 1);
    fatalPrintf(-8, nullptr, "F 201 data set in the control file specifies %d data sets\n", VegTimes);
  }
  FlagTypeVegdata = r.haveN ? 4 : r.haveV && r.haveArea ? 3 : r.haveArea ? 2 : r.haveV ? 1 : 0;
  if (debugging == 'D') {
    logPrintf("Have read %d data sets from vegdata file\n", r.records);
    logPrintf("Last parameters: %c %d %d\n", r.last, r.lastI, r.lastJ);
  }
  FlagInitPoros = 1;
}
