// Movement of the soil layer over one time step: as a viscous fluid by the
// flow driver on the layer block, or slide by slide as rigid blocks gliding
// along their sliding surface. Writes the velocities of the layer block and,
// through the surface update, its grid.
#include "bed/slides/soil_layer/slide_movement.h"

#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/bed_services.h"
#include "bed/slides/soil_layer/slide_layer.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "startup/operations.h"

namespace {

// The last block marked as a layer of any kind; 0 none.
int lastLayerBlock() {
  int found = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    if (block[n].LayerMark > 0) found = n;
  }
  return found;
}

// The flow driver works on the layer block only: by its ranges in a
// sediment run, else through the work-block selection it narrows itself to.
void selectLayer(int blk) {
  const GridBlock &g = block[blk];
  if (FlagTSC != 0) {
    WCStart = g.FirstCell;
    WCEnd = g.LastCell;
    WFStart = g.FirstFace;
    WFEnd = g.LastFace;
    if (FlagUnstrucThixo != 0) WCStart += g.LastBedCell - g.FirstBedCell;
    return;
  }
  WorkBlockNo = blk;
  WorkBlock[1] = 0;
  WorkBlock[blk] = 1;
}

// Velocity of the cell c of a rigid slide from the excess force (fi, fj):
// along the mean normals of its side faces, times the slide's height over
// the viscosity, within vmax.
void moveCell(int c, double e, double fi, double fj, double height, double vmax) {
  const int fe = Cflatee[c], fw = Cflatew[c], fs = Cflates[c], fn = Cflaten[c], fb = Cflateb[c];
  const double scale = -0.5 * e * height / ThixoEddyvisc;
  double u = scale * ((Fvx[fe] + Fvx[fw]) * fi + (Fvx[fs] + Fvx[fn]) * fj);
  double v = scale * ((Fvy[fs] + Fvy[fn]) * fj + (Fvy[fe] + Fvy[fw]) * fi);
  u = std::clamp(u, -vmax, vmax);
  v = std::clamp(v, -vmax, vmax);
  Cxvel[c] = u;
  Cyvel[c] = v;
  // The block glides along its base.
  Czvel[c] = -0.5 * (u * Fvx[fb] + v * Fvy[fb]);
}

void moveSlide(int s, const GridBlock &g) {
  const double fi = kGravityI[s] + kGroundwaterI[s], fj = kGravityJ[s] + kGroundwaterJ[s];
  const double d = std::hypot(fi, fj);
  const double e = std::max((d - (kFriction[s] + kCohesion[s])) / (d + 1e-20), 0.0);
  const int cb = Bcellt[BVal[s]];
  // One step moves the block at most half a cell or its own height.
  const double vmax = std::min({Cidist[cb], Cjdist[cb], kHeightN[s]}) / TimeStep;
  for (const int b : slideColumns(BVal[s])) {
    const int bottom = Bcellt[b];
    if (b < g.FirstBedCell || b > g.LastBedCell || Bcellth[b] != BVal[s] || bottom <= 0) continue;
    const int c = Ccellt[bottom] > 0 ? Ccellt[bottom] : bottom;
    moveCell(c, e, fi, fj, kHeightN[s], vmax);
  }
}

}  // namespace

int computeSlidemovement() {
  const double started = wallClock();
  setStatus(mc_program, "Slide movement");
  const int blk = lastLayerBlock();
  if (blk == 0) {
    logPrintf("Error: Tried to compute sand slide in block %d, which is not prepared for slides\n\n", 0);
    return -1;
  }
  const double savedTime = stimet, savedStep = TimeStep;
  const int savedInner = TransInnerIter;
  if (IterThixo > 0) {
    TransInnerIter = IterThixo;
    TimeStep = TimeStepThixo;
  }
  selectLayer(blk);
  FlagThixoIsComputing = 1;
  operations.WaterSolve();
  const double flowDone = wallClock();
  operations.surface_tfs(0, 2);
  FlagThixoIsComputing = 0;
  const double surfaceDone = wallClock();
  double groundwaterDone = surfaceDone;
  if (FlagThixoDamp == 4) {
    if (FlagGroundwater == 2) operations.groundwater();
    groundwaterDone = wallClock();
    operations.computeSlideLocation();
  }
  const double locationDone = wallClock();
  // The slide step does not advance the simulated time.
  TransInnerIter = savedInner;
  TimeStep = savedStep;
  stimet = savedTime;
  if (debugging == 'P') {
    logPrintf("Slides time: WaterSolve: %lf, SurfceTFS: %lf, Groundwater: %lf, SlideLocation: %lf seconds\n",
              flowDone - started, surfaceDone - flowDone, groundwaterDone - surfaceDone,
              locationDone - groundwaterDone);
  }
  if (FlagErrorBreak == 1) {
    setStatus(mc_v1, "Written from morphology due to error");
    operations.sprintflow();
    return -1;
  }
  setStatus(mc_program, "End slide movement");
  return 0;
}

void computeSlideBlock() {
  // The block velocity is force over viscosity: without a viscosity it has none.
  if (ThixoEddyvisc <= 0.0) {
    fatalExit(kExitInconsistent, "Error: F 236 3 needs a positive viscosity (second value of F 236)\n");
  }
  for (int s = 0; s < kMaxSlideRegions - 1 && BVal[s] != 0; ++s) {
    kGravityI[s] = kGravityJ[s] = kGroundwaterI[s] = kGroundwaterJ[s] = 0.0;
  }
  if (FlagGroundwater == 2) operations.groundwater();
  operations.computeSlideLocation();
  endOnGridFailure(operations.Unstructure());
  operations.metric();
  operations.BedMake();
  if (NoBlocks < 2) return;
  const GridBlock &g = block[2];
  for (int c = g.FirstCell; c <= g.LastCell; ++c) Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0;
  for (int s = 0; s < kMaxSlideRegions - 1 && BVal[s] != 0; ++s) moveSlide(s, g);
  const double savedWeight = RelaxRhieChow;
  RelaxRhieChow = 0.0;
  operations.waterflow(g.FirstFace, g.LastFace);
  RelaxRhieChow = savedWeight;
  operations.surface_tfs(0, 2);
}
