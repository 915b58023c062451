// Hand-built cells for the turbulence tests: a row of water columns along x,
// each a stack of equal boxes, with every face, area vector and half extent
// set as the geometry pass would, and the face flags chosen by the test.
#pragma once

#include "grid/grid_fixture.h"

// The flags of the outer faces; inner faces are always flow faces (1).
struct BoxFlags {
  int bed = -1;    // bottom faces of the bottom cells
  int lid = 0;     // top faces of the top cells
  int ends = 1;    // west face of the first column, east face of the last
  int banks = 1;   // south and north faces of every cell
};

class BoxCells : public GridFixture {
 public:
  // Builds `columns` columns of `cells` boxes of dx x dy x dz m: cell
  // column * cells + level + 1 (level 0 on the bed), bed cell column + 1.
  static void build(int columns, int cells, double dx, double dy, double dz, const BoxFlags &flags = {});

  // Cell number of a column (0-based) and level (0 on the bed).
  static int cell(int column, int level);

 protected:
  void SetUp() override;
};
