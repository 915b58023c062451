// The straight channel the flow benchmarks share: written with its data sets
// into the temporary folder, its grid built in-process and the flow prepared.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "startup/control_reader.h"

// A channel of linesI x linesJ grid points `spacing` m apart, flat bed at 0,
// water level 1 m, with a mean speed of 0.75 m/s between the generated end
// groups, M = 50, K 1 1 (every driver call one outer iteration), the F 65 sizes
// in `sizes` and any further data sets in `extra`. Runs warmUp outer iterations
// after the start values. Done once per process.
inline void prepareChannelFlow(int linesI, int linesJ, double spacing, const char *sizes, const std::string &extra,
                               int warmUp) {
  if (!enterTemporaryFolder()) return;
  const double width = spacing * (linesJ - 1), discharge = 0.75 * width;
  std::FILE *file = std::fopen("control", "w");
  std::fprintf(file,
               "T straight channel, %g m long, %g m wide, 1 m deep, %g m3/s\n"
               "G 1 %d %d 11 1\nF 65 %s\nF 314 1 1\nF 237 1 %g\nF 237 2 %g\nW 1 50 7.5 1.0\nK 1 1\n%s",
               spacing * (linesI - 1), width, discharge, linesI + 3, linesJ + 3, sizes, discharge, discharge,
               extra.c_str());
  std::fclose(file);
  writeChannelKoosurf(linesI, linesJ, spacing, 0.0, 1.0);
  kread();
  if (AllocateArrays(1, 1, 1) < 0) std::abort();
  readKoosurf();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  computeWCStart();
  startup();
  for (int n = 0; n < warmUp; ++n) WaterSolve();
}
