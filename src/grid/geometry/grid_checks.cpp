// Consistency checks of the unstructured grid: faces and cells must name
// each other with the right side codes, neighbour links must be mutual, face
// points must be the cell corners, and no cell may lack a side neighbour
// that the bottom of its column has. They report to the log and change nothing.
#include <cstdio>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

// A face with less area than this is no opening in a side.
constexpr double kOpenSide = 1e-10;

// One side of a cell as the checks see it: its face, whether the cell is the
// face's first or second cell, and the side code the face must carry there.
struct CheckedSide {
  int *face;
  char letter;
  bool first;
  int type;
};


// In the order of the second check: south, east, north, west, bottom, top.
constexpr int kTypeOrder[6] = {2, 0, 3, 1, 4, 5};

// The face of cell c on side code t, 1..6 south to top.
int faceOnSide(int c, int t) {
  switch (t) {
    case 1: return Cflates[c];
    case 2: return Cflatee[c];
    case 3: return Cflaten[c];
    case 4: return Cflatew[c];
    case 5: return Cflateb[c];
    default: return Cflatet[c];
  }
}

void reportGridTest(int check, int c) {
  logPrintf("Error %d in grid for cell %d\n", check, c);
  char text[kStatusTextLength];
  std::snprintf(text, sizeof text, "Error %d in grid for cell %d ", check, c);
  setStatus(mc_message, text);
}

// The four points of a face against four corners of the cell.
bool pointMatches(int f, int m, int corner) {
  const int *fp[4] = {Fpoint1, Fpoint2, Fpoint3, Fpoint4};
  return fp[m][f] == corner;
}

}  // namespace

void CheckFparam() {
  if (UMethod2 > 0) return;
  // In the order of the first check: east, west, south, north, bottom, top.
  const CheckedSide sides[6] = {{Cflatee, 'e', true, 2},  {Cflatew, 'w', false, 4}, {Cflates, 's', false, 1},
                                {Cflaten, 'n', true, 3},  {Cflateb, 'b', false, 5}, {Cflatet, 't', true, 6}};
  // With F 159 fifth value 5 or 6 the geometry pass disconnects small faces
  // on purpose, so their cells are not expected back.
  if (FlagGridStab5 != 5 && FlagGridStab5 != 6) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      for (int s = 0; s < 6; ++s) {
        const int f = sides[s].face[c];
        const int found = sides[s].first ? Fcell1[f] : Fcell2[f];
        if (found != c) {
          logPrintf("Grid error for cell %d %c, Fcell%d[%d] = %d\n", c, sides[s].letter, sides[s].first ? 1 : 2, f,
                    found);
        }
      }
    }
  }
  for (int c = WCStart; c <= WCEnd; ++c) {
    for (int s : kTypeOrder) {
      const int f = sides[s].face[c];
      const int found = sides[s].first ? Ftype1[f] : Ftype2[f];
      if (found != sides[s].type) {
        logPrintf("Grid error for cell %d %c, Ftype%d[%d] = %d\n", c, sides[s].letter, sides[s].first ? 1 : 2, f,
                  found);
      }
    }
  }
  for (int f = WFStart; f <= WFEnd; ++f) {
    const int cells[2] = {Fcell1[f], Fcell2[f]}, types[2] = {Ftype1[f], Ftype2[f]};
    for (int k = 0; k < 2; ++k) {
      if (cells[k] < 1 || types[k] < 1 || types[k] > 6) continue;
      if (faceOnSide(cells[k], types[k]) != f) {
        logPrintf("Grid error for surface %d, type = %d, cell %d\n", f, types[k], cells[k]);
      }
    }
  }
  logPrintf("Have checked grid from cell %d to %d\n", WCStart, WCEnd);
  logPrintf("Have checked grid from surface %d to %d\n\n", WFStart, WFEnd);
}

void gridTest() {
  // The second generator builds faces that may be missing: only the link and
  // corner checks run, and not for a side without a face.
  const bool all = UMethod2 == 0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    const int s = Ccells[c], n = Ccelln[c], w = Ccellw[c], e = Ccelle[c], b = Ccellb[c], t = Ccellt[c];
    auto mutual = [&](int check, int back) {
      if (back != c && back != 0) reportGridTest(check, c);
    };
    mutual(1, Ccelln[s]);
    mutual(2, Ccells[n]);
    mutual(3, Ccelle[w]);
    mutual(4, Ccellw[e]);
    mutual(5, Ccellt[b]);
    mutual(6, Ccellb[t]);

    const int fe = Cflatee[c], fn = Cflaten[c], ft = Cflatet[c], fw = Cflatew[c], fs = Cflates[c],
              fb = Cflateb[c];
    auto present = [&](int face) { return all || face != 0; };
    if (present(fe) && Fcell1[fe] != c) reportGridTest(7, c);
    if (present(fn) && Fcell1[fn] != c) reportGridTest(8, c);
    if (Fcell1[ft] != c) reportGridTest(9, c);
    if (present(fw) && Fcell2[fw] != c) reportGridTest(10, c);
    if (present(fs) && Fcell2[fs] != c) reportGridTest(11, c);
    if (Fcell2[fb] != c) reportGridTest(12, c);

    const int corner[9] = {0, Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c], Cpoint5[c], Cpoint6[c], Cpoint7[c],
                           Cpoint8[c]};
    struct FacePoints {
      int face, first;
      int corners[4];
      bool alwaysChecked;
    };
    const FacePoints faces[6] = {{fe, 13, {2, 3, 7, 6}, false}, {fs, 17, {1, 5, 6, 2}, false},
                                 {fw, 21, {1, 4, 8, 5}, false}, {fn, 25, {4, 8, 7, 3}, false},
                                 {fb, 29, {1, 2, 3, 4}, true},  {ft, 33, {5, 6, 7, 8}, true}};
    for (const FacePoints &fp : faces) {
      if (!fp.alwaysChecked && !present(fp.face)) continue;
      for (int m = 0; m < 4; ++m) {
        if (!pointMatches(fp.face, m, corner[fp.corners[m]])) reportGridTest(fp.first + m, c);
      }
    }
    if (!all) continue;

    // A cell with an open side where the cell below it, the bottom cell of
    // the column, has a neighbour: west, east, south, north.
    if (b > 0 && Ccellb[b] == 0) {
      const int sideFace[4] = {fw, fe, fs, fn}, own[4] = {w, e, s, n},
                below[4] = {Ccellw[b], Ccelle[b], Ccells[b], Ccelln[b]};
      for (int k = 0; k < 4; ++k) {
        if (Farea[sideFace[k]] > kOpenSide && own[k] == 0 && below[k] != 0) reportGridTest(100 + k, c);
      }
    }
    // The same against the bottom cell of the column: east, west, south, north.
    const int m = Bcellt[Cbed[c]];
    const int sideFace[4] = {fe, fw, fs, fn}, own[4] = {e, w, s, n},
              bottom[4] = {Ccelle[m], Ccellw[m], Ccells[m], Ccelln[m]};
    for (int k = 0; k < 4; ++k) {
      if (Farea[sideFace[k]] > kOpenSide && own[k] == 0 && bottom[k] > 0) reportGridTest(110 + k, c);
    }
  }
}
