// Inflow sediment of the discharge groups for one or several grain sizes:
// discharges and concentrations of the step, cyclic return of the outflow
// concentration, the "outconc" rows and the fixed sediment-feed averages, and
// the inflow into the cells behind the inflow faces by the mode the data sets
// choose. Writes DischargeArray, Csource or Csourcem, Binout,
// SumInflow, kIn and concBuffer.
#include "sediment/concentration/inflow_sediment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/log.h"
#include "files/write_check.h"
#include "flow/boundaries/boundary_fluxes.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"

namespace {

constexpr int kGroups = 9;

// The size being treated and where its inflow goes.
struct SizeTarget {
  int l;
  bool several;
  double *source;
};

int faceCell(int f) { return Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f]; }
bool bottomCell(int c) { return Ccellb[c] == 0 && Cbed[c] > 0; }
bool multiple(double n) { return n > 0.0 && std::fabs(std::fmod(static_cast<double>(Iter), n)) < 0.001; }

// The concentration column of "timei" of the j-th inflow group with faces.
int inflowColumn(int j, const SizeTarget &t) { return t.several ? lnumber * j + t.l : j + 1; }

// Step 1: the discharge of every group with faces and the inflow
// concentration of every inflow group for the current time.
void groupsOfTheStep(const SizeTarget &t, double *conc) {
  if (FlagDischargeTime == 0) {
    for (int g = 1; g <= kGroups; ++g) {
      const DischargeGroup &group = DischargeStruct[g];
      if (group.faceCount < 1) continue;
      DischargeArray[g] = group.discharge;
      if (group.type != 1) continue;
      if (CompInflowNo > 0) conc[g] = CompInflow[g].conc[1];
      else conc[g] = Cinn ? Cinn[0][t.several ? t.l : 1] : 0.0;
    }
    return;
  }
  int j = 0;  // inflow groups with faces counted so far
  const SeriesBracket at = seriesBracket(TimeInTime, TimeInNo, stimet);
  const double w = std::max(0.0, at.weight);  // before the first row the first row holds
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1) continue;
    DischargeArray[g] = ((1.0 - w) * QDinn[at.lower][g] + w * QDinn[at.upper][g]) * 1000.0;
    if (group.type != 1) continue;
    const int column = inflowColumn(j++, t);
    conc[g] = (1.0 - w) * Cinn[at.lower][column] + w * Cinn[at.upper][column];
  }
  if (FlagCyclicSstart >= 1 && FlagCyclicSstart <= at.upper) FlagCyclicS = 2;
}

// Area-weighted mean concentration of size l over the faces of group 2.
double outflowConcentration(int l) {
  const DischargeGroup &out = DischargeStruct[2];
  double area = 0.0, mass = 0.0;
  for (int k = 0; k < out.faceCount; ++k) {
    const int f = out.faces[k];
    area += Farea[f];
    mass += Farea[f] * Cconc[l][faceCell(f)];
  }
  return area > 0.0 ? mass / area : 0.0;
}

std::FILE *openOutconc() {
  std::FILE *file = std::fopen("outconc", "a");
  if (!file) fatalExit(-1, "Error in opening outconc file\n\n");
  return file;
}

// The fixed sediment-feed test set-up (F 537 1): the outflow concentrations
// averaged over three windows of simulated time, written once at the end.
struct FeedStore {
  double sum[3][kMaxGrainSizes + 1];
  int steps;
  int window;  // 0..2 accumulating, 3 done
  bool cleared;
};
FeedStore feed;

void averageWindow(int w) {
  for (int l = 1; l <= lnumber; ++l) feed.sum[w][l] /= feed.steps > 0 ? feed.steps : 1;
  feed.steps = 0;
}

void sedimentFeed(int l, double cout) {
  if (!feed.cleared) feed = FeedStore{{}, 0, 0, true};
  if (feed.window >= 3) return;  // the three lines are written
  if (l == 1 && ((feed.window == 0 && stimet > 252000.0) || (feed.window == 1 && stimet > 504000.0))) {
    averageWindow(feed.window);
    ++feed.window;
  }
  feed.sum[feed.window][l] += cout;
  if (l != lnumber) return;
  ++feed.steps;
  if (feed.window == 2 && stimet > 755990.0) {
    averageWindow(2);
    feed.window = 3;
    std::FILE *file = openOutconc();
    for (int w = 0; w < 3; ++w) {
      std::fprintf(file, "Av%d: ", w);
      for (int k = 1; k <= lnumber; ++k) std::fprintf(file, "%lf ", feed.sum[w][k]);
      std::fprintf(file, "\n");
    }
    closeWrittenFile(file, "outconc");
  }
}

// Step 2: the concentration returned from the outflow to group 1, and the
// "outconc" rows.
void cyclicAndOutconc(const SizeTarget &t, double *conc) {
  if (FlagCyclicS <= 0 && FlagOutConc <= 0) return;
  if (DischargeStruct[1].type != 1 || DischargeStruct[2].type != 0) return;
  const int l = t.l;
  double cout = outflowConcentration(l);
  if (!t.several) cout = std::max(cout, 0.0);
  if (FlagCyclicS > 0) {
    const double factor = t.several ? cyclicIncreaseFactor : 1.0;
    conc[1] = cyclicConcentration(FlagCyclicS, concBuffer[l], cout, conc[1], factor);
    concBuffer[l] = conc[1];
  }
  const bool row = FlagCyclicS >= 2 ? multiple(100.0) : (FlagOutConc >= 1 && multiple(FlagOutConc));
  if (!row) return;
  std::FILE *file = openOutconc();
  if (!t.several) {
    std::fprintf(file, "%lf sec, %lg\n", stimet, cout);
  } else {
    if (l == 1) std::fprintf(file, "%lf sec, ", stimet);
    std::fprintf(file, "%lg ", cout);
    if (l == lnumber) std::fprintf(file, "\n");
  }
  closeWrittenFile(file, "outconc");
  if (t.several && FlagQuistel == 1) sedimentFeed(l, cout);
}

// What one added source brings in over the step, kg.
void countInflow(const SizeTarget &t, double massFlux) {
  const double kg = massFlux * TimeStep * density;
  SumInflow += kg;
  kIn[t.l] += kg;
}

// The water of a face enters its cell with the sediment it carries:
// source += waterFlux · c · share. The water itself needs no diagonal term:
// the cell's centre coefficient holds what leaves it (its net outflow).
void addInflow(const SizeTarget &t, int c, double waterFlux, double conc, double share) {
  t.source[c] += waterFlux * conc * share;
  countInflow(t, waterFlux * conc * share);
}

void markBottomInflow(const SizeTarget &t, int c, double waterFlux) {
  if (t.l == 1 && bottomCell(c)) Binout[Cbed[c]] += waterFlux;
}

void plainInflow(const SizeTarget &t, const DischargeGroup &group, double q, double conc) {
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k], c = faceCell(f);
    addInflow(t, c, Farea[f] * q, conc, 1.0);
    markBottomInflow(t, c, Farea[f] * q);
  }
}

// The ten "inspace" coefficients of size l for the current time.
void inspaceCoefficients(int l, double *a) {
  if (InspaceTimeNo == 0) {
    for (int p = 1; p <= 10; ++p) a[p] = inspace[20 * l + p];
    return;
  }
  const SeriesBracket at = seriesBracket(TinspaceTime, InspaceTimeNo, stimet);
  const double w = std::max(0.0, at.weight);
  for (int p = 1; p <= 10; ++p) a[p] = (1.0 - w) * Tinspace[at.lower][l][p] + w * Tinspace[at.upper][l][p];
}

// The concentration in space: a second-order polynomial in the cell's x, y
// and its depth below the group's highest face point.
void inspaceInflow(const SizeTarget &t, const DischargeGroup &group, double q) {
  double ztop = -100000.0;
  for (int k = 0; k < group.faceCount; ++k) ztop = std::max(ztop, Pz[Fpoint3[group.faces[k]]]);
  double a[11];
  inspaceCoefficients(t.l, a);
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k], c = faceCell(f);
    const double x = Cxcenter[c], y = Cycenter[c], d = ztop - Czcenter[c];
    double conc = a[1] + a[2] * x + a[3] * y + a[4] * d + a[5] * x * x + a[6] * y * y + a[7] * d * d +
                  a[8] * x * y + a[9] * x * d + a[10] * y * d;
    if (conc > 1.0 || conc < -1e-7 || std::isnan(conc)) {
      if (t.several) logPrintf("Probable error in inspace file. Concentration for size %d is %lg\n", t.l, conc);
      else logPrintf("Probable error in inspace file. Concentration for size 1 is %lg\n", conc);
      fatalPrintf(-1, nullptr, "Location xyz coordinates: (%lf,%lf,%lf)", x, y, Czcenter[c]);
    }
    conc *= inflowMult[t.l];
    addInflow(t, c, Farea[f] * q, conc, 1.0);
    markBottomInflow(t, c, Farea[f] * q);
  }
}

// One size: the discharge shared over the faces by a logarithmic profile
// above the group's lowest bottom (F 202 2: above the bottom of the last
// bottom cell met, visiting the faces from the last).
void logProfileInflow(const SizeTarget &t, const DischargeGroup &group, int g, double conc) {
  const double ks = inflowRoughness();
  double lowest = 100000.0;
  for (int k = 0; k < group.faceCount; ++k) {
    const int c = faceCell(group.faces[k]);
    if (bottomCell(c)) lowest = std::min(lowest, Czcenter[c] - Ckdist[c]);
  }
  const bool follow = FlagLogInflow == 2;
  auto visit = [&](auto &&body) {
    double zb = lowest;
    for (int k = group.faceCount - 1; k >= 0; --k) {
      const int f = group.faces[k], c = faceCell(f);
      if (follow && bottomCell(c)) zb = Czcenter[c] - Ckdist[c];
      // A cell centre at or below zb has no logarithm; like a small one it
      // takes the least weight.
      const double w = std::log(30.0 * (Czcenter[c] - zb) / ks);
      body(f, c, w >= 1e-7 ? w : 1e-7);
    }
  };
  double weighted = 0.0;
  visit([&](int f, int, double w) { weighted += Farea[f] * w; });
  const double q = DischargeArray[g] / (1e-30 + weighted);
  visit([&](int f, int c, double w) {
    addInflow(t, c, Farea[f] * q * w, conc, 1.0);
    markBottomInflow(t, c, Farea[f] * q * w);
  });
}

// F 497: the sediment only into the columns whose bottom cell lies within
// one bottom-cell height of the lowest one, scaled up to carry the whole load.
void lowestColumnsInflow(const SizeTarget &t, const DischargeGroup &group, double q, double conc) {
  double zlim = 1e30;
  for (int k = 0; k < group.faceCount; ++k) {
    const int c = faceCell(group.faces[k]);
    if (bottomCell(c)) zlim = std::min(zlim, Czcenter[c] + 2.0 * Ckdist[c]);
  }
  auto columnCells = [](int c) {
    int n = 0;
    for (int k = c; k != 0; k = Ccellt[k]) ++n;
    return n;
  };
  double all = 0.0, low = 0.0;
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k], c = faceCell(f);
    if (!bottomCell(c)) continue;
    const double a = Farea[f] * columnCells(c);
    all += a;
    if (Czcenter[c] < zlim) low += a;
  }
  const double ratio = all / (low + 1e-30);
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k], c = faceCell(f);
    const double water = Farea[f] * q;
    markBottomInflow(t, c, water);
    if (!bottomCell(c) || !(Czcenter[c] < zlim)) continue;
    for (int m = c; m != 0; m = Ccellt[m]) {
      t.source[m] += water * conc * ratio;
      countInflow(t, water * conc * ratio);
    }
  }
}

// F 455 N: the inflow enters through the west faces of the inflow columns,
// the sediment only into the N lowest cells (never the top one), scaled up
// to carry the whole load.
void lowestCellsInflow(const SizeTarget &t, const DischargeGroup &group, double q, double conc) {
  const int N = LevelInflowSed;
  auto lowCells = [N](int c, auto &&body) {
    int k = c;
    for (int n = 0; n < N && Ccellt[k] != 0; ++n, ++k) body(k);
    return k;  // the first cell above the lowest ones
  };
  double low = 0.0;
  for (int k = 0; k < group.faceCount; ++k) {
    const int c = faceCell(group.faces[k]);
    if (bottomCell(c) && Ccellt[c] != 0) lowCells(c, [&](int m) { low += Farea[Cflatew[m]]; });
  }
  const double ratio = group.area / (low + 1e-30);
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k], c = faceCell(f);
    double marked = Farea[f];
    if (bottomCell(c) && Ccellt[c] != 0) {
      int above = lowCells(c, [&](int m) {
        marked = Farea[Cflatew[m]];
        addInflow(t, m, marked * q, conc, ratio);
      });
      for (int m = above; m != 0; m = Ccellt[m]) {
        marked = Farea[Cflatew[m]];
        if (Ccellt[m] == 0) break;
      }
    }
    markBottomInflow(t, c, marked * q);
  }
}

void inflowOfSize(const SizeTarget &t) {
  double conc[kGroups + 1] = {};
  if (FlagInspace == 0) groupsOfTheStep(t, conc);
  cyclicAndOutconc(t, conc);
  if (FlagInspace > 1) return;
  const bool bothSet = t.several && LevelInflowSed > 0 && FlagInflowConcVar > 0;
  if (bothSet) return;
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 1 || group.faceCount < 1) continue;
    const double q = DischargeArray[g] / (1e-30 + group.area);
    if (FlagInspace == 1 && (!t.several || (LevelInflowSed == 0 && FlagInflowConcVar == 0))) {
      inspaceInflow(t, group, q);
    } else if (!t.several && FlagLogInflow != 0) {
      logProfileInflow(t, group, g, conc[g]);
    } else if (t.several && FlagInflowConcVar >= 1) {
      lowestColumnsInflow(t, group, q, conc[g]);
    } else if (t.several && LevelInflowSed >= 1) {
      lowestCellsInflow(t, group, q, conc[g]);
    } else {
      plainInflow(t, group, q, conc[g]);
    }
  }
}

}  // namespace

double cyclicConcentration(int mode, double previous, double outflow, double inflow, double factor) {
  // Before any step has returned a value the inflow of this step stands in.
  const double p = previous == -1.0 ? inflow : previous;
  switch (mode) {
    case 1:
    case 2:
      return outflow * factor;
    case 3:
      return (0.99 * p + 0.01 * outflow) * factor;
    case 4:
      return (0.9 * p + 0.1 * outflow) * factor;
    case 5:
      return ((1.0 - relaxCyclicS) * p + relaxCyclicS * outflow) * factor;
    case 6:
      return (0.99 * p + 0.01 * outflow) * 1.05 * factor;
    default:
      return inflow * factor;
  }
}

void InflowSediment() { inflowOfSize({1, false, Csource}); }

void InflowSedimentM(int l) { inflowOfSize({l, true, Csourcem[l]}); }
