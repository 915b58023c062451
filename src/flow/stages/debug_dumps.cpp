// The dump of a collapsed cell at the water edge whose continuity defect
// stays large (debug letter D): its geometry, faces and neighbour values.
#include "flow/stages/debug_dumps.h"

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "base/log.h"

void printDebugTrekant(int cell, int inner) {
  const int c = cell;
  const int fs = Cflates[c], fe = Cflatee[c], fn = Cflaten[c], fw = Cflatew[c], fb = Cflateb[c], ft = Cflatet[c];
  const int e = Ccelle[c], n = Ccelln[c], w = Ccellw[c], s = Ccells[c];
  const double *res = Cpres_res;
  logPrintf("\nBugtrap - trekant, Iter = %d, InnerIter = %d, Cellno = %d\n", Iter, inner, c);
  logPrintf("Cpres_res: %lf, MaxResidual[4]: %lf, Ctrekant: %d\n", res != nullptr ? res[c] : 0.0, MaxResidual[4],
            Ctrekant[c]);
  logPrintf("Croughness: %lf\n", Croughness[c]);
  logPrintf("Geometry: Cdistances: %lf %lf %lf\n", Cidist[c], Cjdist[c], Ckdist[c]);
  logPrintf("Geometry: Careas: %lf %lf %lf\n", Careax[c], Careay[c], Careaz[c]);
  logPrintf("Geometry: Fflagflow (senwbt): %d %d %d %d %d %d\n", Fflagflow[fs], Fflagflow[fe], Fflagflow[fn],
            Fflagflow[fw], Fflagflow[fb], Fflagflow[ft]);
  logPrintf("Geometry: Fareas: %lf %lf %lf %lf %lf %lf\n", Farea[fs], Farea[fe], Farea[fn], Farea[fw], Farea[fb],
            Farea[ft]);
  logPrintf("Surface fluxes: %lf %lf %lf %lf %lf %lf\n", Fflux[fs], Fflux[fe], Fflux[fn], Fflux[fw], Fflux[fb],
            Fflux[ft]);
  logPrintf("Surface vec_x: %lf %lf %lf %lf %lf %lf\n", Fvx[fs], Fvx[fe], Fvx[fn], Fvx[fw], Fvx[fb], Fvx[ft]);
  logPrintf("Surface vec_y: %lf %lf %lf %lf %lf %lf\n", Fvy[fs], Fvy[fe], Fvy[fn], Fvy[fw], Fvy[fb], Fvy[ft]);
  logPrintf("Surface vec_z: %lf %lf %lf %lf %lf %lf\n", Fvz[fs], Fvz[fe], Fvz[fn], Fvz[fw], Fvz[fb], Fvz[ft]);
  logPrintf("Pressures(penws): %lf %lf %lf %lf %lf\n", Cpres[c], Cpres[e], Cpres[n], Cpres[w], Cpres[s]);
  logPrintf("Velocities,x: %lf %lf %lf %lf %lf\n", Cxvel[c], Cxvel[e], Cxvel[n], Cxvel[w], Cxvel[s]);
  logPrintf("Velocities,y: %lf %lf %lf %lf %lf\n", Cyvel[c], Cyvel[e], Cyvel[n], Cyvel[w], Cyvel[s]);
  logPrintf("Velocities,z: %lf %lf %lf %lf %lf\n", Czvel[c], Czvel[e], Czvel[n], Czvel[w], Czvel[s]);
  if (res != nullptr) logPrintf("Cpres_res: %lf %lf %lf %lf %lf\n", res[c], res[e], res[n], res[w], res[s]);
  else logPrintf("Cpres_res: %lf %lf %lf %lf %lf\n", 0.0, 0.0, 0.0, 0.0, 0.0);
  logPrintf("CinvAp: %lf %lf %lf %lf %lf\n", CinvAp[c], CinvAp[e], CinvAp[n], CinvAp[w], CinvAp[s]);
}
