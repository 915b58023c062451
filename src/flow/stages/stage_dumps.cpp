// Debug dumps of the flow stages (F 218, F 183), the coefficient traps of
// F 223 that reveal neighbour coefficients no builder wrote, and the fatal
// report of an unusable momentum diagonal.
#include "flow/stages/stage_dumps.h"

#include <cstdio>
#include <initializer_list>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// The lines both dumps share: values, neighbours, their coefficients.
void cellValues(int c) {
  logPrintf("Cf = %lf, Cap = %lf, Csource = %lf\n", Cf[c], Cap[c], Csource[c]);
  logPrintf("Velocities: %lf %lf %lf, Diffusion, k, epsilon: %lf %le %le, Volume: %lf\n", Cxvel[c], Cyvel[c],
            Czvel[c], Cgamma[c], Ckinen[c], Cepsilon[c], Cvol[c]);
  logPrintf("Neigbours id: wsentb: %d %d %d %d %d %d\n", Ccellw[c], Ccells[c], Ccelle[c], Ccelln[c], Ccellt[c],
            Ccellb[c]);
  logPrintf("Neigbours anb: wsentb: %le %le %le %le %le %le\n", Caw[c], Cas[c], Cae[c], Can[c], Cat[c], Cab[c]);
}

// The faces of cell c in the order w s e n t b.
struct SideFaces {
  int w, s, e, n, t, b;
};
SideFaces facesOf(int c) { return {Cflatew[c], Cflates[c], Cflatee[c], Cflaten[c], Cflatet[c], Cflateb[c]}; }

void faceAreasAndFluxes(const SideFaces &f) {
  logPrintf("Neigbours areas: wsen: %le %le %le %le\n", Farea[f.w], Farea[f.s], Farea[f.e], Farea[f.n]);
  logPrintf("Neigbours fluxes: wsentb: %le %le %le %le %le %le\n", Fflux[f.w], Fflux[f.s], Fflux[f.e], Fflux[f.n],
            Fflux[f.t], Fflux[f.b]);
}

void inverseDiagonals(const char *format, int c) {
  logPrintf(format, CinvAp[c], CinvAp[Ccellw[c]], CinvAp[Ccells[c]], CinvAp[Ccelle[c]], CinvAp[Ccelln[c]],
            CinvAp[Ccellt[c]], CinvAp[Ccellb[c]]);
}

// Presets (before a build) and reports (after it) of one coefficient row.
struct TrapRow {
  const char *name;
  double *a;
};

}  // namespace

void printDebug(int inner) {
  const int c = PrintDebugBoogie;
  if (c < 1 || c > NoCells) return;
  const SideFaces f = facesOf(c);
  logPrintf("Bugtrap, values for Iter = %d, cellno = %d, Equation = %d, InnerIter = %d\n", Iter, c, Equation, inner);
  cellValues(c);
  logPrintf("Neigbour surfaces id: %d %d %d %d %d %d\n", f.w, f.s, f.e, f.n, f.t, f.b);
  logPrintf("Neigbour surfaces neighbours id 1: %d %d %d %d %d %d\n", Fcell1[f.w], Fcell1[f.s], Fcell1[f.e],
            Fcell1[f.n], Fcell1[f.t], Fcell1[f.b]);
  logPrintf("Neigbour surfaces neighbours id 2: %d %d %d %d %d %d\n", Fcell2[f.w], Fcell2[f.s], Fcell2[f.e],
            Fcell2[f.n], Fcell2[f.t], Fcell2[f.b]);
  faceAreasAndFluxes(f);
  inverseDiagonals("invAp: lwsentb: %lf %lf %lf %lf %lf %lf %lf\n", c);
}

void printDebug2() {
  for (int l = WCStart; l <= WCEnd; ++l) {
    const double v = Cf[l] < 0.0 ? -Cf[l] : Cf[l];
    if (!(v > 100000.0 || Cap[l] < 0.001)) continue;
    logPrintf("Debug, Pressure-correction, l=%d\n", l);
    cellValues(l);
    faceAreasAndFluxes(facesOf(l));
    inverseDiagonals("Neigbours+l invAp: lwsentb: %lf %lf %lf %lf %lf %lf %lf\n", l);
    if (FlagPresDebug == 1) FlagPresDebug = 99;
  }
}

void ompbugtrapFunction(int first, int last) {
  for (double *a : {Cat, Cab, Caw, Cae, Cas, Can})
    for (int c = first; c <= last; ++c) a[c] = -10.0;
  if (sou[1] == 1 && ompbugtrap == 2 && Catt != nullptr) {
    for (double *a : {Catt, Cabb, Caww, Caee, Cass, Cann})
      for (int c = first; c <= last; ++c) a[c] = -10.0;
  }
}

void computeOmpbugtrap() {
  if (ompbugtrap != 1) return;
  const TrapRow rows[] = {{"Cab", Cab}, {"Cat", Cat}, {"Cas", Cas}, {"Cae", Cae}, {"Caw", Caw}, {"Can", Can}};
  for (int c = WCStart; c <= WCEnd; ++c)
    for (const TrapRow &r : rows)
      if (r.a[c] < -0.01) logPrintf("Error in setting coefficients: %s[%d] = %lf for Iter = %d\n", r.name, c, r.a[c], Iter);
}

void printErrorAp(int c) {
  const int t = Ccellt[c], b = Ccellb[c], e = Ccelle[c], n = Ccelln[c], w = Ccellw[c], s = Ccells[c];
  const int ft = Cflatet[c], fb = Cflateb[c], fe = Cflatee[c], fn = Cflaten[c], fw = Cflatew[c], fs = Cflates[c];
  logPrintf("Error 2, Cap(%d) = %e\n", c, Cap[c]);
  logPrintf("Velocities: %e %e %e\n", Cxvel[c], Cyvel[c], Czvel[c]);
  logPrintf("Volume = %e, Ckdist = %e\n", Cvol[c], Ckdist[c]);
  logPrintf("Neighbour indexes: %d %d %d %d %d %d\n", t, b, e, n, w, s);
  logPrintf("Ftype1: %d %d %d %d %d %d\n", Ftype1[ft], Ftype1[fb], Ftype1[fe], Ftype1[fn], Ftype1[fw], Ftype1[fs]);
  logPrintf("Ftype2: %d %d %d %d %d %d\n", Ftype2[ft], Ftype2[fb], Ftype2[fe], Ftype2[fn], Ftype2[fw], Ftype2[fs]);
  logPrintf("Neighbour anb: %e %e %e %e %e %e\n", Cat[c], Cab[c], Cae[c], Can[c], Caw[c], Cas[c]);
  if (Catt != nullptr)
    logPrintf("Neighbour anbb: %e %e %e %e %e %e\n", Catt[c], Cabb[c], Caee[c], Cann[c], Caww[c], Cass[c]);
  logPrintf("Cidist, l+nb: %e %e %e %e %e %e %e\n", Cidist[c], Cidist[t], Cidist[b], Cidist[e], Cidist[n], Cidist[w],
            Cidist[s]);
  logPrintf("Cjdist, l+nb: %e %e %e %e %e %e %e\n", Cjdist[c], Cjdist[t], Cjdist[b], Cjdist[e], Cjdist[n], Cjdist[w],
            Cjdist[s]);
  logPrintf("Side fluxes (tbenws): %e %e %e %e %e %e\n", Fflux[ft], Fflux[fb], Fflux[fe], Fflux[fn], Fflux[fw],
            Fflux[fs]);
  logPrintf("Side-side fluxes (tbenws): %e %e %e %e %e %e\n", Fflux[Cflatet[t]], Fflux[Cflateb[b]], Fflux[Cflatee[e]],
            Fflux[Cflaten[n]], Fflux[Cflatew[w]], Fflux[Cflates[s]]);
  logPrintf("Side areas (tbenws): %e %e %e %e %e %e\n", Farea[ft], Farea[fb], Farea[fe], Farea[fn], Farea[fw],
            Farea[fs]);
  logPrintf("Gammas: l+anbb: %e %e %e %e %e %e %e\n", Cgamma[c], CgammaV[t], CgammaV[b], Cgamma[e], Cgamma[n],
            Cgamma[w], Cgamma[s]);
  int bottom = c;
  while (Ccellb[bottom] > 0) bottom = Ccellb[bottom];
  int top = c;
  while (Ccellt[top] > 0) top = Ccellt[top];
  logPrintf("Bed level: %e\n", Czcenter[bottom] - Ckdist[bottom]);
  const int bed = Cbed[bottom];
  if (bed > 0) logPrintf("b = %d, i = %d, j = %d\n", bed, Bkooi[bed], Bkooj[bed]);
  logPrintf("Water level: %e\n", Czcenter[top] + Ckdist[top]);
  char message[120];
  std::snprintf(message, sizeof message, "Error, Cap(%d) = %e\n", c, Cap[c]);
  FlagErrorBreak = 1;
  // The run cannot go on with this diagonal: an inconsistent end.
  fatalExit(kExitInconsistent, nullptr, message);
}
