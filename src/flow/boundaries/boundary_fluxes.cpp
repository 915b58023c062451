// The boundary discharges of the pressure-correction equation: every discharge
// group with faces adds its inflow to, or withdraws its outflow from, Csource
// of the cells behind its faces, spread by the rule its type and kind choose.
#include "flow/boundaries/boundary_fluxes.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "base/log.h"

namespace {

// The cell behind a group face: its first cell, or the second when the face
// is a west, south or bottom boundary.
inline int faceCell(int f) { return Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f]; }

// +1 adds the share to the cell (inflow), -1 withdraws it (outflow).
inline double direction(bool add) { return add ? 1.0 : -1.0; }

// The volume flux a cell's velocity carries out through a boundary face, with
// the small x offset that keeps a resting outflow section from sharing by 0/0.
inline double outgoingFlux(int f, int c) {
  return ((Cxvel[c] + 1e-10) * Fax[f] + Cyvel[c] * Fay[f]) * (-Fin[f]);
}

// The cell of multigrid level MGSGrid that holds base-grid cell c: each step
// goes to the parent of the next coarser level.
inline int levelCell(int c) {
  if (!MGSCpoint) return c;
  for (int step = 1; step < MGSGrid; ++step) c = MGSCpoint[c][0];
  return c;
}

// Shares Q over the faces in proportion to their areas.
void uniformShare(const DischargeGroup &g, double Q, bool add, bool onLevel) {
  const int n = g.faceCount;
  double area = 0.0;
  for (int m = 0; m < n; ++m) area += Farea[g.faces[m]];
  const double q = direction(add) * Q / (area + 1e-30);
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    const int c = onLevel ? levelCell(faceCell(f)) : faceCell(f);
    Csource[c] += Farea[f] * q;
  }
}

// Outflow shared in proportion to each cell's own outgoing velocity flux, so
// the section keeps the velocity profile the flow brings to it.
void zeroGradient(const DischargeGroup &g, double Q) {
  const int n = g.faceCount;
  double sum = 0.0;
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    sum += std::max(0.0, outgoingFlux(f, faceCell(f)));
  }
  const double q = Q / (sum + 1e-40);
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    const int c = faceCell(f);
    Csource[c] -= std::max(0.0, outgoingFlux(f, c)) * q;
  }
}

// Inflow with a uniform share over the lower half of the depth, falling
// linearly to 0 at the highest cell top.
void shapedInflow(const DischargeGroup &g, double Q) {
  const int n = g.faceCount;
  double zt = -100000.0, zb = 100000.0;
  for (int m = 0; m < n; ++m) {
    const int c = faceCell(g.faces[m]);
    zt = std::max(zt, Czcenter[c] + Ckdist[c]);
    zb = std::min(zb, Czcenter[c] - Ckdist[c]);
  }
  auto weight = [&](int c) { return std::min(1.0, 2.0 * (zt - Czcenter[c]) / (zt - zb)); };
  double sum = 0.0;
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    sum += weight(faceCell(f)) * Farea[f];
  }
  const double q = Q / (sum + 1e-30);
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    const int c = faceCell(f);
    Csource[c] += weight(c) * Farea[f] * q;
  }
}

// Inflow shaped by the rough-wall log law ln(30 (z - zb) / ks). The faces
// are walked from the last to the first, so each column is met from its bed
// cell upwards: with F 202 = 2 every column measures from its own bed.
void logarithmicInflow(const DischargeGroup &g, double Q) {
  const int n = g.faceCount;
  const double ks = inflowRoughness();
  double zb = 100000.0;
  for (int m = 0; m < n; ++m) {
    const int c = faceCell(g.faces[m]);
    if (Ccellb[c] == 0) zb = std::min(zb, Czcenter[c] - Ckdist[c]);
  }
  const bool ownBed = FlagLogInflow == 2;
  // A weight that is not a number (a cell below the bed level in use) is
  // raised like any other small weight, so no face takes a share of NaN.
  auto weight = [&](int c) {
    if (ownBed && Ccellb[c] == 0) zb = Czcenter[c] - Ckdist[c];
    const double w = std::log(30.0 * (Czcenter[c] - zb) / ks);
    return w >= 1e-7 ? w : 1e-7;
  };
  double sum = 0.0;
  for (int m = n - 1; m >= 0; --m) {
    const int f = g.faces[m];
    sum += weight(faceCell(f)) * Farea[f];
  }
  const double q = Q / (sum + 1e-30);
  for (int m = n - 1; m >= 0; --m) {
    const int f = g.faces[m];
    const int c = faceCell(f);
    Csource[c] += weight(c) * Farea[f] * q;
  }
}

// Inflow shaped by the velocity table of the file "inflow": one row per
// column of the section (a new column starts at each top cell), one entry
// per level. The walk ends after the face whose column passes the table.
template <class Visit>
void walkInflowTable(const DischargeGroup &g, Visit &&visit) {
  int r = 1;
  for (int m = 0; m < g.faceCount; ++m) {
    const int f = g.faces[m];
    const int c = faceCell(f);
    if (Ccellt[c] == 0) ++r;
    const int k = g.faceLevels[m] + 1;
    double flux = 0.0;
    if (k <= inflowk && k >= 0 && k < kInflowRow && r < kInflowPoints) {
      flux = Fax[f] * inflowu[r][k] + Fay[f] * inflowv[r][k];
    }
    visit(c, flux);
    if (r > inflowj) break;
  }
}

void inflowTable(const DischargeGroup &g, double Q) {
  if (inflowj < 1) {
    uniformShare(g, Q, true, false);
    return;
  }
  double sum = 0.0;
  walkInflowTable(g, [&](int, double flux) { sum += flux; });
  const double q = g.discharge / (sum + 1e-30);
  walkInflowTable(g, [&](int c, double flux) { Csource[c] += flux * q; });
}

inline double cyclicVelocity(int level) {
  return level >= 0 && level < kCyclicLevels ? cyclicU[level] : 0.0;
}

// Inflow shaped by the cyclic profile of mean velocities per level.
void cyclicProfile(const DischargeGroup &g) {
  const int n = g.faceCount;
  double sum = 0.0;
  for (int m = 0; m < n; ++m) sum += Farea[g.faces[m]] * cyclicVelocity(g.faceLevels[m]);
  const double q = g.discharge / (sum + 1e-30);
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    Csource[faceCell(f)] += Farea[f] * cyclicVelocity(g.faceLevels[m]) * q;
  }
}

// Outflow shared by the outgoing flux of the cyclic profile.
void cyclicOutflow(const DischargeGroup &g, double Q) {
  const int n = g.faceCount;
  auto weight = [&](int m) {
    const int f = g.faces[m];
    return std::max(0.0, (Fax[f] * cyclicVelocity(g.faceLevels[m]) + 1e-20) * (-Fin[f]));
  };
  double sum = 0.0;
  for (int m = 0; m < n; ++m) sum += weight(m);
  const double q = Q / (sum + 1e-40);
  for (int m = 0; m < n; ++m) Csource[faceCell(g.faces[m])] -= weight(m) * q;
}

// Start of a recirculating (cyclic) run: the inflow of group 1 is shaped by
// the mean of the x velocities at the inflow and at the paired face of the
// outflow group 2. Faces beyond group 2's list use their own cell only.
void recirculationStart(const DischargeGroup &g1, const DischargeGroup &g2) {
  const int n = g1.faceCount;
  const int paired = std::min(n, g2.faceCount);
  auto speed = [&](int m) {
    const int c1 = faceCell(g1.faces[m]);
    if (m >= paired) return std::max(0.0001, Cxvel[c1]);
    const int c2 = faceCell(g2.faces[m]);
    return std::max(0.0001, (Cxvel[c2] + Cxvel[c1]) / 2.0);
  };
  double sum = 0.0;
  for (int m = 0; m < n; ++m) sum += speed(m) * Farea[g1.faces[m]];
  const double q = g1.discharge / (sum + 1e-30);
  for (int m = 0; m < n; ++m) {
    const int f = g1.faces[m];
    Csource[faceCell(f)] += speed(m) * Farea[f] * q;
  }
}

// Outflow that follows the water surface: every face lets out what its
// cell's velocity carries through it, and nothing where the flow enters.
void surfaceFollowingOutflow(const DischargeGroup &g) {
  for (int m = 0; m < g.faceCount; ++m) {
    const int f = g.faces[m];
    const int c = faceCell(f);
    const double F = 1000.0 * (Cxvel[c] * Fvx[f] + Cyvel[c] * Fvy[f]) * (-Fin[f]) * Farea[f];
    if (F >= 0.0) Csource[c] -= F;
  }
}

// Outflow rated by the section: the discharge is scaled by r^0.25 with r the
// ratio of the shallow-water wave flux of the section to the discharge, the
// ratio held within 0.3 .. 3.
void ratingOutflow(const DischargeGroup &g) {
  const int n = g.faceCount;
  double A = 0.0;
  for (int m = 0; m < n; ++m) A += Farea[g.faces[m]];
  A += 1e-20;
  const int ca = faceCell(g.faces[0]);
  const int cb = faceCell(g.faces[n - 1]);
  const double dx = Cxcenter[cb] - Cxcenter[ca];
  const double dy = Cycenter[cb] - Cycenter[ca];
  const double L = std::sqrt(dx * dx + dy * dy) + 1e-20 + Cjdist[cb] + Cjdist[ca];
  const double Qg = g.discharge;
  const double r = 1000.0 * std::sqrt(9.81 * A / L) / Qg;
  double Q;
  if (r > 3.0) Q = Qg * 1.316;
  else if (r < 0.3) Q = Qg * 0.74;
  else Q = Qg * std::pow(r, 0.25);
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    Csource[faceCell(f)] -= Farea[f] * Q / A;
  }
}

// Outflow that lets a deep (subcritical) section take at least its uniform
// share, or the flux its velocity carries when more, and a shallow one at
// most: the test is either the critical depth (F 234 3) or the downstream
// level of the time series (F 234 4). Without the cells the test needs, the
// uniform share is taken.
void sectionTestOutflow(const DischargeGroup &g, double Q, bool criticalDepth) {
  const int n = g.faceCount;
  const double v = 0.001 * Q / g.area;
  double topSum = 0.0, bottomSum = 0.0;
  int tops = 0, bottoms = 0;
  for (int m = 0; m < n; ++m) {
    const int c = faceCell(g.faces[m]);
    if (Ccellt[c] == 0) {
      topSum += Czcenter[c] + Ckdist[c];
      ++tops;
    }
    if (Ccellb[c] == 0) {
      bottomSum += Czcenter[c] - Ckdist[c];
      ++bottoms;
    }
  }
  const int counted = criticalDepth ? bottoms : tops;
  bool deep = false;
  if (counted > 0) {
    deep = criticalDepth ? (topSum - bottomSum) / bottoms > v * v / 9.81 : topSum / tops > Hout;
  }
  for (int m = 0; m < n; ++m) {
    const int f = g.faces[m];
    const int c = faceCell(f);
    const double uniform = Farea[f] * v;
    double share = uniform;
    if (counted > 0) {
      const double carried = (Cxvel[c] * Fax[f] + Cyvel[c] * Fay[f] + 1e-20) * (-Fin[f]);
      share = deep ? std::max(uniform, carried) : std::min(uniform, carried);
    }
    Csource[c] -= 1000.0 * share;
  }
}

void inflowGroup(int gi, const DischargeGroup &g) {
  const double Q = DischargeArray[gi];
  if (FlagShapeInflow > 0 && Q > 0.0) {
    shapedInflow(g, Q);
    return;
  }
  if (FlagLogInflow > 0 && Q > 0.0) {
    logarithmicInflow(g, Q);
    return;
  }
  if (FlagCyclic != 0) {
    if (FlagHaveReadCyclic == 1 || FlagHaveInitiatedCyclic == 1) {
      cyclicProfile(g);
      return;
    }
    if (FlagCyclic > 0) {
      if (gi > 1) {
        uniformShare(g, Q, true, false);
      } else if (DischargeStruct[2].type == 0 && FlagCyclic < Iter) {
        recirculationStart(g, DischargeStruct[2]);
      } else {
        inflowTable(g, Q);
      }
      return;
    }
  }
  if (gi == 1) inflowTable(g, Q);
  else uniformShare(g, Q, true, false);
}

void outflowGroup(int gi, const DischargeGroup &g) {
  const double Q = DischargeArray[gi];
  if (FlagTFS == 1 || (FlagTFS >= 15 && FlagTFS <= 19)) {
    if (FlagSurfDownstream == 3) {
      surfaceFollowingOutflow(g);
      return;
    }
    if (FlagSurfDownstream == 1) {
      ratingOutflow(g);
      return;
    }
  }
  if (FlagSurfPresDownstream == 3 || FlagSurfPresDownstream == 4) {
    sectionTestOutflow(g, Q, FlagSurfPresDownstream == 3);
  } else if (FlagCyclic < 0 && FlagHaveInitiatedCyclic > 0) {
    cyclicOutflow(g, Q);
  } else if (g.boundaryKind == 1) {
    zeroGradient(g, Q);
  } else if (g.boundaryKind == 0) {
    uniformShare(g, Q, false, false);
  }
}

// On a multigrid level the faces stay those of the base grid; the shares go
// to the level's cells. A zero-gradient outflow is shared by the outgoing
// speeds: the sum from the faces' own cells, each share from the level cell.
void levelGroup(int gi, const DischargeGroup &g) {
  const double Q = DischargeArray[gi];
  if (g.boundaryKind == 0 || g.type == 1) {
    uniformShare(g, Q, g.type == 1, true);
    return;
  }
  if (g.boundaryKind != 1 || g.type != 0) return;
  auto speed = [](int f, int c) { return std::max(0.0, (Cxvel[c] * Fvx[f] + Cyvel[c] * Fvy[f]) * (-Fin[f])); };
  double sum = 0.0;
  for (int m = 0; m < g.faceCount; ++m) {
    const int f = g.faces[m];
    sum += Farea[f] * speed(f, faceCell(f));
  }
  const double q = Q / (sum + 1e-20);
  for (int m = 0; m < g.faceCount; ++m) {
    const int f = g.faces[m];
    const int c = levelCell(faceCell(f));
    Csource[c] -= Farea[f] * speed(f, c) * q;
  }
}

std::atomic<bool> gRoughnessWarned{false};

}  // namespace

void boundaryFluxes() {
  for (int gi = 1; gi <= 9; ++gi) {
    const DischargeGroup &g = DischargeStruct[gi];
    if (g.faceCount < 1) continue;
    if (MGSGrid >= 2) {
      levelGroup(gi, g);
    } else if (g.type == 1) {
      inflowGroup(gi, g);
    } else if (g.type == 0) {
      outflowGroup(gi, g);
    } else if (g.boundaryKind == 0) {
      uniformShare(g, DischargeArray[gi], false, false);
    }
  }
}

// F 202 accepts a roughness of 0, and F 16 -2 copies -2 into it, while the log
// law needs a positive one: the wall roughness stands in, said once per run.
double inflowRoughness() {
  if (XksInflow > 0.0) return XksInflow;
  if (!gRoughnessWarned.exchange(true)) {
    logPrintf("Warning: F 202 roughness is not positive, the wall roughness %lf m is used\n", XksWall);
  }
  return XksWall;
}
