// The channel set-up shared by the flow tests.
#include "flow/flow_fixture.h"

#include <gtest/gtest.h>

#include "grid/column_grid.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

void FlowFixture::channel(double timeStep) {
  TimeStep = timeStep;
  generateCase(CaseGrid::Channel);
  ASSERT_EQ(NoCells, 360);
  metric();
  BedMake();
}

std::vector<int> upstreamFaces() {
  std::vector<int> faces;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellw[c] == 0) faces.push_back(Cflatew[c]);
  }
  return faces;
}

std::vector<int> downstreamFaces() {
  std::vector<int> faces;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccelle[c] == 0) faces.push_back(Cflatee[c]);
  }
  return faces;
}

void setGroup(int g, int type, double discharge, const std::vector<int> &faces) {
  DischargeGroup &group = DischargeStruct[g];
  group.type = type;
  group.discharge = discharge;
  group.faceCount = static_cast<int>(faces.size());
  group.area = 0.0;
  for (size_t n = 0; n < faces.size(); ++n) {
    group.faces[n] = faces[n];
    group.area += Farea[faces[n]];
  }
}

int cellBehind(int face) { return Fcell1[face] != 0 ? Fcell1[face] : Fcell2[face]; }

void clearCoefficients() {
  for (int c = 0; c <= NoCells; ++c) Cap[c] = Csource[c] = 0.0;
}
