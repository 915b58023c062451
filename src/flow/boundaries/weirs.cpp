// Weirs in the level equation: the discharge across a weir's line of
// columns, measured from the current velocities, gives the head over the
// crest by the weir law Q = C h^e, and the weir's columns are held at crest
// plus head.
#include "flow/boundaries/weirs.h"

#include <cmath>

#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/structured.h"

namespace {

int bottomCellOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The flow (m3/s) through the cells of column (i, j) between the faces of
// one pair of sides, positive towards increasing i or j: each cell's
// velocity on the mean area vector of its two faces.
double columnFlow(int i, int j, const int *faceA, const int *faceB) {
  double q = 0.0;
  for (int c = bottomCellOf(i, j); c > 0; c = Ccellt[c]) {
    const int a = faceA[c], b = faceB[c];
    q += 0.5 * (Fax[a] + Fax[b]) * Cxvel[c] + 0.5 * (Fay[a] + Fay[b]) * Cyvel[c];
  }
  return q;
}

}  // namespace

void computeWeirs() {
  for (int w = 0; w < NoWeirs; ++w) {
    const WeirEntry &weir = Weirs[w];
    const bool alongI = weir.j1 == weir.j2, alongJ = weir.i1 == weir.i2 && weir.j1 < weir.j2;
    if (!alongI && !alongJ) continue;  // not a single line of columns
    // The flow across the line: a line along i is crossed through its south
    // and north faces, a line along j (and a single column) through the east
    // and west faces.
    const bool acrossI = alongI && weir.i1 < weir.i2;
    const int *faceA = acrossI ? Cflates : Cflatee, *faceB = acrossI ? Cflaten : Cflatew;
    double q = 0.0;
    for (int i = weir.i1; i <= weir.i2; ++i) {
      for (int j = weir.j1; j <= weir.j2; ++j) q += columnFlow(i, j, faceA, faceB);
    }
    // The head of the discharge either way: a river flowing towards lower i
    // or j passes its weirs too.
    const double level = weir.crest + std::pow(std::fabs(q) / weir.coefficient, 1.0 / weir.exponent);
    for (int i = weir.i1; i <= weir.i2; ++i) {
      for (int j = weir.j1; j <= weir.j2; ++j) {
        // A dry column's bottom cell is 0: the fixing lands on the dummy cell.
        const int b = bottomCellOf(i, j);
        Cap[b] += 1e30;
        Csource[b] = level * 1e30;
      }
    }
  }
}
