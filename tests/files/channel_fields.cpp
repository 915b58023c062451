// The generated channel and hand-set fields shared by the result-file tests.
#include "files/channel_fields.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <algorithm>

#include "grid/generation/grid_build.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/faces.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"
#include "support/work_folder.h"

void generateChannel(const std::string &extraControl) { generateCaseFolder("channel", extraControl); }

void generateCaseFolder(const std::string &caseName, const std::string &extraControl) {
  const std::string text = caseFile(caseName, "control");
  ASSERT_FALSE(text.empty()) << "no case folder cases/" << caseName;
  ControlStream control(text + extraControl);
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  writeFile("koosurf", caseFile(caseName, "koosurf"));
  readKoosurf();
  ArmapMake();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
}

void setHandFields() {
  for (int c = 0; c <= NoCells; ++c) {
    Cxvel[c] = 0.7 + 1.234567891234e-3 * c;
    Cyvel[c] = -0.01 * std::sin(0.37 * c);
    Czvel[c] = 1e-5 * std::cos(0.11 * c);
    Ckinen[c] = 0.003 + 1.11e-5 * c;
    Cepsilon[c] = 0.0007 + 3.3e-6 * c;
    Cpres[c] = 9810.0 * (1.0 - 0.001 * c) + 0.123456789;
  }
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 7500.0 / 3.0 * std::sin(0.01 * f);
}

void clearResultFields() {
  for (double *field : {Cxvel, Cyvel, Czvel, Ckinen, Cepsilon, Cpres, Cgamma, CgammaV}) {
    std::fill(field, field + NoCells + 1, 0.0);
  }
  std::fill(Fflux, Fflux + NoSurfaces + 1, 0.0);
}

double printedResult(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%14.8e", value);
  return std::strtod(text, nullptr);
}
