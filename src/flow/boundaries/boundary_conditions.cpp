// Boundary conditions of the flow equations: the discharges of the groups in
// use, the in/out marks of the cells behind group faces, and the inflowing
// water's mass and value added to Cap and Csource of those cells.
#include "flow/boundaries/boundary_conditions.h"

#include <algorithm>
#include <cmath>

#include "flow/boundaries/boundary_fluxes.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"
#include "base/log.h"

namespace {

constexpr int kGroups = 9;

// The cell behind a group face.
int cellOf(int face) { return Fcell1[face] != 0 ? Fcell1[face] : Fcell2[face]; }

bool validFace(int face) { return face >= 1 && face <= NoSurfaces && cellOf(face) >= 1; }

// The value the inflowing water carries into the current equation: the
// velocity components for U and V, k and epsilon; nothing for W and the
// components, which therefore get only the Cap term.
struct InflowValues {
  double u, v, k, epsilon;
};

double valueFor(const InflowValues &in) {
  switch (Equation) {
    case 1: return in.u;
    case 2: return in.v;
    case 5: return in.k;
    case 6: return in.epsilon;
    default: return 0.0;
  }
}

// Adds the mass inflow m and the value it carries to the cell; marks it.
void addInflow(int cell, int group, double mass, double value) {
  Cap[cell] += mass;
  Csource[cell] += mass * value;
  Cinout[cell] = group;
}

void markGroup(int g, int mark) {
  const DischargeGroup &group = DischargeStruct[g];
  for (int n = 0; n < group.faceCount; ++n) {
    if (validFace(group.faces[n])) Cinout[cellOf(group.faces[n])] = mark;
  }
}

// Groups that only get their cells marked in the discharge-driven variants:
// outflow groups, and inflow groups whose discharge in use is negative.
// Returns true when group g is such a group (it is then marked -g).
bool markedOnly(int g) {
  if (DischargeStruct[g].type == 0 || DischargeArray[g] < 0) {
    markGroup(g, -g);
    return true;
  }
  return false;
}

// 1. The discharges in use, from the records or the "timei" series.
void dischargesInUse() {
  if (FlagDischargeTime == 0 || TimeInNo < 1 || !TimeInTime || !QDinn) {
    for (int g = 1; g <= kGroups; ++g) DischargeArray[g] = DischargeStruct[g].discharge;
    return;
  }
  const SeriesBracket at = seriesBracket(TimeInTime, TimeInNo, stimet);
  for (int g = 1; g <= kGroups; ++g) {
    if (DischargeStruct[g].faceCount < 1 && g > 2) continue;
    const double q = (1.0 - at.weight) * QDinn[at.lower][g] + at.weight * QDinn[at.upper][g];
    DischargeArray[g] = q * 1000.0;
    if (FlagUpdateDischarge == 1) DischargeStruct[g].discharge = q * 1000.0;
    if (debugging == 'H' && Equation == 1) {
      logPrintf("Discharge for group %d = %lf, stimet = %lf\n", g, DischargeArray[g], stimet);
    }
  }
}

// 2. Outflow groups whose discharge follows the mass balance (F 287).
void outflowBalance() {
  if (FlagGlobFlux < 2 || FlagGlobFlux > 7) return;
  for (int g = 1; g <= kGroups; ++g) {
    if (DischargeStruct[g].type != 0 || DischargeStruct[g].faceCount < 1) continue;
    const double balance = computeOutflow(g);
    double q = DischargeArray[g];
    switch (FlagGlobFlux) {
      case 2: q = balance; break;
      case 3:
      case 7: q = std::max(balance, q); break;
      case 4: q = std::min(balance, q); break;
      default:  // 5 and 6: the balance, kept within GlobFluxLim1..GlobFluxLim2 times the given outflow
        q = std::clamp(balance, GlobFluxLim1 * q, std::max(GlobFluxLim1 * q, GlobFluxLim2 * q));
        break;
    }
    DischargeArray[g] = q;
  }
}

// 4. The cyclic profile per level, averaged over the faces of outflow group 2.
void profileFromOutflow() {
  if (FlagCyclic >= 0 || FlagHaveReadCyclic != 0 || NoCyclesDone >= -FlagCyclic || Equation != 1) return;
  double largest = 0.0;
  for (int e = 1; e <= 6; ++e) largest = std::max(largest, MaxResidual[e]);
  if (!(largest < 0.01)) return;
  const int levels = std::min(znumber, kCyclicLevels - 1);
  static int count[kCyclicLevels];
  for (int l = 0; l <= levels; ++l) {
    cyclicU[l] = cyclicK[l] = cyclicE[l] = 0.0;
    count[l] = 0;
  }
  const DischargeGroup &out = DischargeStruct[2];
  for (int n = 0; n < out.faceCount; ++n) {
    const int level = out.faceLevels[n];
    if (!validFace(out.faces[n]) || level < 1 || level > levels) continue;
    const int c = cellOf(out.faces[n]);
    cyclicU[level] += Cxvel[c];
    cyclicK[level] += Ckinen[c];
    cyclicE[level] += Cepsilon[c];
    ++count[level];
  }
  for (int l = 1; l <= levels; ++l) {
    if (count[l] == 0) continue;
    cyclicU[l] /= count[l];
    cyclicK[l] /= count[l];
    cyclicE[l] /= count[l];
  }
  const double every = 100.0 * std::abs(FlagCyclic);
  if (std::fabs(std::fmod(static_cast<double>(Iter), every)) < 0.001) {
    logPrintf("Cyclic values, stimet = %lf\n", stimet);
    for (int l = 1; l <= levels; ++l) logPrintf("U, K, E (%d) = %lf %lf %lf\n", l, cyclicU[l], cyclicK[l], cyclicE[l]);
  }
  FlagHaveInitiatedCyclic = 1;
  ++NoCyclesDone;
}

void debugInflowLines(double uplus, double levbed, int cell, double velocity, double area, double source) {
  logPrintf("Boundary condition, logarithmic inflow. uplus = %lf\n", uplus);
  logPrintf("levbed = %lf, k = %d, Vel = %lf, Area = %lf\n", levbed, cell, velocity, area);
  logPrintf("source = %lf, Equation = %d\n", source, Equation);
}

// Uniform inflow: the group's discharge spread evenly over its faces.
void uniformInflow() {
  const bool addMomentum = std::fabs(momentumAddInflow) > 1e-10 && FlagDragDLL == 0 && Equation == 1;
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1 || markedOnly(g) || !(DischargeArray[g] > 0)) continue;
    const double rate = DischargeArray[g] / (group.area + 1e-30);
    const double speed = FlagNoImpulse == 1 ? 0.0 : rate * 0.001;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (!validFace(f)) continue;
      const double value = valueFor({speed * Fvx[f] * Fin[f], speed * Fvy[f] * Fin[f], group.inflowK, group.inflowEpsilon});
      const int c = cellOf(f);
      addInflow(c, g, rate * Farea[f], value);
      if (g == 1 && addMomentum) Csource[c] += momentumAddInflow * Farea[f] / (group.area + 1e-20);
    }
  }
}

// Shaped inflow: full rate in the lower half of the group's depth range,
// falling linearly to 0 at its top; the weighted faces carry the discharge.
void shapedInflow() {
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1 || markedOnly(g) || !(DischargeArray[g] > 0)) continue;
    double top = -100000.0, low = 100000.0;
    for (int n = 0; n < group.faceCount; ++n) {
      if (!validFace(group.faces[n])) continue;
      const int c = cellOf(group.faces[n]);
      top = std::max(top, Czcenter[c] + Ckdist[c]);
      low = std::min(low, Czcenter[c] - Ckdist[c]);
    }
    auto weight = [&](int c) { return std::min(1.0, 2.0 * (top - Czcenter[c]) / (top - low + 1e-30)); };
    double weighted = 0.0;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (validFace(f)) weighted += Farea[f] * weight(cellOf(f));
    }
    const double q = DischargeArray[g] / (weighted + 1e-30);
    double rate = 0.0, source = 0.0;
    int lastCell = 0, lastFace = 0;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (!validFace(f)) continue;
      const int c = cellOf(f);
      rate = q * weight(c);
      const double speed = FlagNoImpulse == 1 ? 0.0 : rate * 0.001;
      const double value = valueFor({speed * Fvx[f] * Fin[f], speed * Fvy[f] * Fin[f], group.inflowK, group.inflowEpsilon});
      addInflow(c, g, rate * Farea[f], value);
      source = rate * Farea[f] * value;
      lastCell = c;
      lastFace = f;
    }
    if (debugging == 'R' && Iter == 1 && lastFace > 0) {
      debugInflowLines(weight(lastCell), low, lastCell, rate * 0.001, Farea[lastFace], source);
    }
  }
}

// Logarithmic inflow: the rate of a face follows ln(30 z / ks) of its
// height z above the bed, so the bottom faces take less of the discharge.
void logarithmicInflow() {
  const double ks = inflowRoughness();
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1 || markedOnly(g) || !(DischargeArray[g] > 0)) continue;
    // With F 202 1 one bed for the whole group, the lowest bottom of its
    // cells on the bed; with 2 each face's own column's bed.
    double groupBed = 100000.0;
    if (FlagLogInflow == 1) {
      for (int n = 0; n < group.faceCount; ++n) {
        if (!validFace(group.faces[n])) continue;
        const int c = cellOf(group.faces[n]);
        if (Ccellb[c] == 0) groupBed = std::min(groupBed, Czcenter[c] - Ckdist[c]);
      }
    }
    auto bedOf = [&](int c) {
      if (FlagLogInflow != 2) return groupBed;
      while (Ccellb[c] >= 1) c = Ccellb[c];
      return Czcenter[c] - Ckdist[c];
    };
    // A face at or below the bed would have no logarithm: it takes the floor.
    auto profile = [&](int c, double bed) {
      const double p = std::log(30.0 * (Czcenter[c] - bed) / ks);
      return p >= 1e-7 ? p : 1e-7;
    };
    auto visit = [&](auto &&body) {
      for (int n = group.faceCount - 1; n >= 0; --n) {
        const int f = group.faces[n];
        if (!validFace(f)) continue;
        const int c = cellOf(f);
        const double bed = bedOf(c);
        body(f, c, profile(c, bed), bed);
      }
    };
    double sum = 0.0;
    visit([&](int f, int, double p, double) { sum += Farea[f] * p; });
    const double scale = DischargeArray[g] / (sum + 1e-30);
    double lastP = 0.0, lastBed = 0.0, lastSpeed = 0.0, lastArea = 0.0, lastSource = 0.0;
    int lastCell = 0;
    visit([&](int f, int c, double p, double bed) {
      const double rate = scale * p;
      const double speed = rate * 0.001;
      const double value = valueFor({speed * Fvx[f] * Fin[f], speed * Fvy[f] * Fin[f], group.inflowK, group.inflowEpsilon});
      addInflow(c, g, rate * Farea[f], value);
      lastP = p, lastBed = bed, lastSpeed = speed, lastArea = Farea[f], lastSource = rate * Farea[f] * value;
      lastCell = c;
    });
    if (debugging == 'R' && Iter == 1 && lastCell > 0) {
      debugInflowLines(lastP, lastBed, lastCell, lastSpeed, lastArea, lastSource);
    }
  }
}

// Coarse-level inflow of grid sequencing: the uniform terms in the coarse
// cell of each face's cell.
void coarseLevelInflow() {
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1) continue;
    const bool markOnly = group.type == 0 || DischargeArray[g] < 0;
    if (!markOnly && !(DischargeArray[g] > 0)) continue;
    const double rate = DischargeArray[g] / (group.area + 1e-30);
    const double speed = rate * 0.001;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (!validFace(f)) continue;
      int c = cellOf(f);
      for (int level = 1; level < MGSGrid && MGSCpoint && MGSCpoint[c] && MGSCpoint[c][0] > 0; ++level) c = MGSCpoint[c][0];
      if (markOnly) {
        Cinout[c] = -g;
        continue;
      }
      addInflow(c, g, rate * Farea[f], valueFor({speed * Fvx[f] * Fin[f], speed * Fvy[f] * Fin[f], group.inflowK, group.inflowEpsilon}));
    }
  }
}

// Paired cyclic inflow: face n of group 1 takes the mean of its own cell and
// of the cell behind face n of outflow group 2.
void pairedCyclicInflow() {
  const DischargeGroup &in = DischargeStruct[1];
  const DischargeGroup &out = DischargeStruct[2];
  const double rate = in.discharge / (in.area + 1e-30);
  for (int n = 0; n < in.faceCount; ++n) {
    const int f = in.faces[n];
    if (!validFace(f)) continue;
    const int cIn = cellOf(f);
    int cOut = cIn;  // a group-1 face without a partner takes its own cell's values
    if (n < out.faceCount && validFace(out.faces[n])) {
      cOut = cellOf(out.faces[n]);
      Cinout[cOut] = -2;
    }
    const InflowValues mean{0.5 * (Cxvel[cIn] + Cxvel[cOut]) * Fvx[f] * Fin[f], 0.0, 0.5 * (Ckinen[cIn] + Ckinen[cOut]),
                            0.5 * (Cepsilon[cIn] + Cepsilon[cOut])};
    addInflow(cIn, 1, rate * Farea[f], valueFor(mean));
  }
}

// Cyclic profile inflow: every inflow group carries the profile per level.
void cyclicProfileInflow() {
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1) continue;
    if (group.type == 0) {
      markGroup(g, -g);
      continue;
    }
    const double rate = group.discharge / (group.area + 1e-30);
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (!validFace(f)) continue;
      const int level = std::clamp(group.faceLevels[n], 0, kCyclicLevels - 1);
      const InflowValues profile{cyclicU[level] * Fvx[f] * Fin[f], 0.0, cyclicK[level], cyclicE[level]};
      addInflow(cellOf(f), g, rate * Farea[f], valueFor(profile));
    }
  }
}

// Inflow table ("inflow"): group 1's faces column by column, each with the
// table values of its column and level.
void inflowTable() {
  for (int g = 2; g <= kGroups; ++g) {
    if (DischargeStruct[g].faceCount >= 1 && DischargeStruct[g].type == 0) markGroup(g, -g);
  }
  const DischargeGroup &group = DischargeStruct[1];
  if (group.faceCount < 1 || markedOnly(1) || !(DischargeArray[1] > 0)) return;
  const double rate = group.discharge / (group.area + 1e-30);
  const int columns = std::min(inflowj, kInflowPoints - 1);
  int column = 1;
  for (int n = 0; n < group.faceCount; ++n) {
    const int f = group.faces[n];
    if (!validFace(f)) continue;
    const int c = cellOf(f);
    if (Ccellt[c] == 0) ++column;
    if (column > columns) break;
    const int l = group.faceLevels[n] + 1;
    double value = 0.0;
    if (l >= 0 && l <= inflowk && l < kInflowRow) {
      const double area = Farea[f] + 1e-30;
      value = valueFor({inflowu[column][l] * Fax[f] * Fin[f] / area, inflowv[column][l] * Fay[f] * Fin[f] / area,
                        inflowki[column][l], inflowe[column][l]});
    }
    addInflow(c, 1, rate * Farea[f], value);
  }
}

// 6. Vertical-velocity test source at the upstream bed (F 367).
void verticalTestSource() {
  if (!(SourceVarnel > 0) || Equation != 3 || ynumber < 2) return;
  for (int i = 2; i <= std::min(29, xnumber); ++i) {
    const int c = static_cast<int>(zval[i][2][0]);
    if (c >= 1 && c <= NoCells) Csource[c] += SourceVarnel;
  }
}

}  // namespace

double computeOutflow(int g) {
  double sum = 0.0;
  for (int n = 1; n <= kGroups; ++n) {
    if (n == g) continue;
    sum += (IO[n].param[0] == 0 ? 1.0 : -1.0) * DischargeArray[n];
  }
  // The water the surface update took out leaves through the outflow over
  // the span of the water-level series, or over one time step.
  const double span = std::max(TimeStep, stimeWL2 - stimeWL1);
  const double shortest = TimeStep > 1e-8 ? 1e-8 : 1e-20;
  if (span > shortest) sum += 1000.0 * SurfVolDefect / span;
  return std::max(0.0, sum);
}

void boundary() {
  dischargesInUse();
  outflowBalance();
  for (int c = 1; c <= NoCells; ++c) Cinout[c] = 0;
  profileFromOutflow();

  const bool haveProfile = FlagHaveReadCyclic != 0 || FlagHaveInitiatedCyclic != 0;
  if (FlagCyclic != 0 && DischargeStruct[1].type == 1 && Iter > FlagCyclic && DischargeStruct[2].type == 0 && !haveProfile) {
    pairedCyclicInflow();
  } else if (FlagCyclic > 0 && MGSGrid <= 1 && (FlagReadRes == 1 || haveProfile)) {
    cyclicProfileInflow();
  } else if (inflowj > 0) {
    inflowTable();
  } else if (MGSGrid > 1) {
    // the coarse-level terms follow below
  } else if (FlagShapeInflow > 0) {
    shapedInflow();
  } else if (FlagLogInflow != 0) {
    // the logarithmic terms follow below
  } else if (FlagCyclic < 0 || (FlagCyclic > 0 && (Iter > FlagCyclic || FlagReadRes != 0))) {
    // no inflow terms: the cyclic profile drives the flow
  } else {
    uniformInflow();
  }

  verticalTestSource();
  if (MGSGrid > 1) {
    coarseLevelInflow();
  } else if (FlagLogInflow > 0 && FlagCyclic == 0) {
    logarithmicInflow();
  }
}
