// "control.new": the title, the main F data sets (several only when they
// differ from their defaults), the grid sizes and tables of G, and the P, S,
// I, W and K data sets, in the grammar of "control". Reads the settings only.
#include "startup/control_writer.h"

#include <cmath>
#include <cstdio>

#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A value outside [low, high] differs from its default band.
bool outside(double value, double low, double high) { return value < low || value > high; }

std::FILE *createControlFile(const char *name) {
  std::FILE *file = std::fopen(name, "w");
  if (!file) fatalPrintf(kExitControlNew, "cannot open file 'control' ", "Error writing file '%s'\n", name);
  return file;
}

void writeFDataSets(std::FILE *f) {
  if (debugging == 'C' || debugging == 'D') std::fprintf(f, "F 1 %c\n", debugging);
  std::fputs("F 2 ", f);
  std::fwrite(run, 1, sizeof run, f);
  std::fputs("        run choice\n", f);
  if (outside(relax_morph, 0.499, 0.501) || iter_morph != 500 || outside(conv_morph, 0.0099, 0.0101)) {
    std::fprintf(f, "F 4 %lf %d %lf    morphology data\n", relax_morph, iter_morph, conv_morph);
  }
  if (outside(ConcFormCoeff, 0.0149, 0.0151) || outside(ConcFormTstar, 1.49, 1.51) ||
      outside(ConcFormDstar, 0.29, 0.31)) {
    std::fprintf(f, "F 6 %lf %lf %lf\n", ConcFormCoeff, ConcFormTstar, ConcFormDstar);
  }
  std::fputs("F 7", f);
  std::fwrite(options + 1, 1, 8, f);
  std::fputs("   run options\n", f);
  if (outside(MaxBedChange, 0.09, 0.11)) std::fprintf(f, "F 8 %lf\n", MaxBedChange);
  if (outside(EddyMult, 0.99, 1.01)) std::fprintf(f, "F 9 %lf\n", EddyMult);
  if (SedimentFormula != 'R') std::fprintf(f, "F 10 %c   sediment formula\n", SedimentFormula);
  if (outside(density, 2.64, 2.66) || outside(shieldscoeff, 0.046, 0.048)) {
    std::fprintf(f, "F 11 %lf %lf\n", density, shieldscoeff);
  }
  if (outside(Schmidt, 0.99, 1.01)) std::fprintf(f, "F 12 %lf\n", Schmidt);
  std::fprintf(f, "F 16 %lf   roughness in meters\n", XksWall);
  if (TimeStep > 1e-10) std::fprintf(f, "F 17 %lf time step in seconds\n", TimeStep);
  if (outside(RelaxRhieChow, 0.99, 1.01)) std::fprintf(f, "F 21 %lf rhiechow relaxation\n", RelaxRhieChow);
  if (FillPart > 0) std::fprintf(f, "F 23 %lf %lf accellerated deposition\n", FillPart, FillCriteria);
  if (FlagBedPoros == 1) {
    std::fprintf(f, "F 25 %lf %lf %lf %lf %d\n", MinPorosity, RelaxPorosity, RoughPoros1, RoughPoros2, DiamPoros);
  }
  if (outside(SolidFrac, 0.499, 0.501)) std::fprintf(f, "F 26 %lf\n", SolidFrac);
  if (SedimentScheme == 1) std::fputs("F 27 1\n", f);
  bool allBedFlags = true;
  for (int n = 0; n < 6; ++n) allBedFlags = allBedFlags && BedFlags[n] != 0;
  if (allBedFlags) {
    std::fprintf(f, "F 30 %d %d %d %d %d %d\n", BedFlags[0], BedFlags[1], BedFlags[2], BedFlags[3], BedFlags[4],
                 BedFlags[5]);
  }
  if (TimeStep > 1e-20) std::fprintf(f, "F 33 %lf %d\n", TimeStep, TransInnerIter);
  if (FlagTFS != 0) std::fprintf(f, "F 36 %d free surface option\n", FlagTFS);
  if (FlagTSC != 0) std::fprintf(f, "F 37 %d transient sediment computation\n", FlagTSC);
}

void writeGDataSets(std::FILE *f) {
  std::fprintf(f, "G 1 %d %d %d %d    grid and array sizes\n", xnumber, ynumber, znumber, lnumber);
  std::fputs("G 3", f);
  for (int k = 1; k <= znumber; ++k) std::fprintf(f, " %lf", zdistrib[k]);
  std::fputs("  vertical grid distribution\n", f);
  if (iSurf >= 1 || kSurf >= 1) {
    std::fprintf(f, "G 6 %d %d %d %lf %lf free surface parameters\n", iSurf, jSurf, kSurf, RelaxSurface,
                 ConvSurface);
  }
  for (int n = 1; n <= IONo; ++n) {
    const IOEntry &r = IO[n];
    std::fprintf(f, "G 7 %d %d %d %d %d %d %d %d %lf %lf %lf %lf\n", r.param[0], r.param[1], r.param[2], r.param[3],
                 r.param[4], r.param[5], r.param[6], r.param[7], r.value[0], r.value[1], r.value[2], r.value[3]);
  }
  for (int n = 1; n <= UInitNo; ++n) {
    const UInitEntry &r = UInit[n];
    std::fprintf(f, "G 18 %lf %lf %lf %lf %lf %lf\n", r.value[1], r.value[2], r.value[3], r.value[4], r.value[5],
                 r.value[6]);
  }
  for (int n = 1; n <= SedSourceNo; ++n) {
    std::fprintf(f, "G 12 %d", SedSource[n].group);
    for (int size = 1; size <= lnumber; ++size) std::fprintf(f, " %lf", SedSource[n].conc[size]);
    std::fputs("\n", f);
  }
  for (int n = 1; n <= OutBlockNo; ++n) {
    const OutBlockEntry &r = OutBlock[n];
    std::fprintf(f, "G 13 %d %d %d %d %d %d %d\n", r.kind, r.i1, r.i2, r.j1, r.j2, r.k1, r.k2);
  }
  if (std::fabs(MouseScale - 1.0) > 1e-7) std::fprintf(f, "G 15 %lf\n", MouseScale);
}

void writePSIDataSets(std::FILE *f) {
  std::fprintf(f, "P 2 %lf %lf %lf %lf %lf\n", xscale, yscale, zscale, movex, movey);
  std::fprintf(f, "P 3 %d %d %d %d \n", xnode, ynode, znode, lnode);
  for (int k = 1; k <= lnumber; ++k) {
    if (gsize[k] > 1e-9) std::fprintf(f, "S %d %lf %lf\n", k, gsize[k], fallvelo[k]);
  }
  for (int k = 1; k <= lnumber; ++k) {
    if (gsize[k] > 1e-9) std::fprintf(f, "I %d %lf\n", k, inflow[k]);
  }
}

void writeWKDataSets(std::FILE *f) {
  std::fprintf(f, "W 1 %lf %lf %lf\n", ManningInit, discharge, level);
  std::fprintf(f, "W 2 %d", initnumber);
  for (int p = 1; p <= initnumber; ++p) std::fprintf(f, " %d", initarray[p]);
  std::fputs("\n", f);
  for (int n = 1; n <= MWallNo; ++n) {
    const MWallEntry &r = MWall[n];
    std::fprintf(f, "W 4 %d %d %d %d %d %d %d\n", r.dir, r.posneg, r.node, r.a1, r.a2, r.b1, r.b2);
  }
  for (int n = 1; n <= FastNo; ++n) std::fprintf(f, "W 6 %d %d\n", iFast[n], jFast[n]);
  for (int n = 1; n <= AttractNo; ++n) {
    const AttractEntry &r = Attract[n];
    std::fprintf(f, "W 7 %d %d %d %lf %lf\n", r.type, r.i, r.j, r.value1, r.value2);
  }
  std::fprintf(f, "K 1 %d %d\n", iterGlobalMax, IterSurface);
  std::fprintf(f, "K 2 %d %d\n", FlagWall, FlagRoof);
  std::fputs("K 3 ", f);
  for (int e = 1; e <= 6; ++e) std::fprintf(f, "%lf ", relax[e]);
  std::fputs("\nK 4 ", f);
  for (int e = 1; e <= 6; ++e) std::fprintf(f, "%d ", sweeps[e]);
  std::fputs("\nK 5 ", f);
  for (int e = 1; e <= 6; ++e) std::fprintf(f, "%d ", blockcorr[e]);
  std::fputs("\nK 6 ", f);
  for (int e = 1; e <= 6; ++e) std::fprintf(f, "%d ", sou[e]);
  std::fputs("\n", f);
}

}  // namespace

void writeControl() {
  std::FILE *f = createControlFile("control.new");
  std::fprintf(f, "T   %s                              title field\n", Title + 1);
  writeFDataSets(f);
  writeGDataSets(f);
  writePSIDataSets(f);
  writeWKDataSets(f);
  std::fclose(f);
}

int writeControlMin() {
  for (int k = 1; k <= znumber; ++k) zdistrib[k] = (k - 1) * 100.0 / (znumber - 1);
  initnumber = 3;
  initarray[1] = 1;
  initarray[2] = xnumber / 2;
  initarray[3] = xnumber;
  std::FILE *f = createControlFile("control");
  std::fprintf(f, "T   %s                             title field \n", Title + 1);
  std::fprintf(f, "G 1 %d %d %d %d     grid and array sizes\n", xnumber, ynumber, znumber, lnumber);
  std::fputs("G 3", f);
  for (int k = 1; k <= znumber; ++k) std::fprintf(f, " %lf", zdistrib[k]);
  std::fputs("      vertical grid distribution\n", f);
  std::fprintf(f, "W 1 %lf %lf %lf\n", ManningInit, discharge, level);
  std::fprintf(f, "W 2 %d", initnumber);
  for (int p = 1; p <= initnumber; ++p) std::fprintf(f, " %d", initarray[p]);
  std::fputs("\n", f);
  std::fprintf(f, "K 1 %d %d\n", 40000, 60000);
  std::fputs("K 2 0 1\n", f);
  return std::fclose(f);
}
