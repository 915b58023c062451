// The refined patch of F 130: a rectangle of the base grid is taken out and
// refilled by a block of three times the resolution, whose outer ring of
// transition columns meets the base grid. Writes the block record, the new
// grid lines, bedOutBlock, conn and NoConnect.
#include "grid/blocks/appended_blocks.h"

#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// The records one patch adds to the connection table.
constexpr int kPatchConnections = 12;

// A later generation keeps the patch and its records: a second one would cut
// the refined block again.
bool appended = false;

// Plan position, bed and water level of a grid line.
struct Line {
  double x, y, bed, surface;
};

Line lineAt(int i, int j) { return {xval[i][j], yval[i][j], zval[i][j][1], zval[i][j][znumber]}; }

void setLine(int i, int j, const Line &l) {
  xval[i][j] = l.x;
  yval[i][j] = l.y;
  zval[i][j][1] = l.bed;
  zval[i][j][znumber] = l.surface;
}

Line mix(double wa, const Line &a, double wb, const Line &b) {
  return {wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.bed + wb * b.bed, wa * a.surface + wb * b.surface};
}

Line mix(double wa, const Line &a, double wb, const Line &b, double wc, const Line &c) {
  const Line ab = mix(wa, a, wb, b);
  return {ab.x + wc * c.x, ab.y + wc * c.y, ab.bed + wc * c.bed, ab.surface + wc * c.surface};
}

// The nine fine lines of base quad (a, b) from its corners, the fine line
// (fi, fj) taking offset (0, 0). The weights are exact thirds and ninths, so
// that the lines stay in place at real-world coordinates.
void fillQuad(int a, int b, int fi, int fj) {
  constexpr double third = 1.0 / 3.0, twoThirds = 2.0 / 3.0;
  const Line sw = lineAt(a, b), se = lineAt(a + 1, b), nw = lineAt(a, b + 1), ne = lineAt(a + 1, b + 1);
  Line fine[3][3];
  fine[0][0] = sw;
  fine[1][0] = mix(twoThirds, sw, third, se);
  fine[2][0] = mix(third, sw, twoThirds, se);
  fine[0][1] = mix(twoThirds, sw, third, nw);
  fine[0][2] = mix(third, sw, twoThirds, nw);
  fine[2][2] = mix(third, fine[0][2], 2.0 / 9.0, se, 4.0 / 9.0, ne);
  fine[2][1] = mix(0.5, fine[2][0], 0.5, fine[2][2]);
  fine[1][2] = mix(0.5, fine[0][2], 0.5, fine[2][2]);
  fine[1][1] = mix(0.5, fine[0][1], 0.5, fine[2][1]);
  for (int p = 0; p < 3; ++p) {
    for (int q = 0; q < 3; ++q) setLine(fi + p, fj + q, fine[p][q]);
  }
}

void copyLine(int fi, int fj, int bi, int bj) { setLine(fi, fj, lineAt(bi, bj)); }

// The base columns of the rectangle and its ring leave the base grid; of the
// new block only the inner columns without their corners and every third
// ring column stay.
void outBlock(const GridBlock &n, int t1, int t2, int s1, int s2) {
  for (int i = t1 - 1; i <= t2 + 1; ++i) {
    for (int j = s1 - 1; j <= s2 + 1; ++j) bedOutBlock[i][j] = 1;
  }
  for (int i = n.i1; i <= n.i2; ++i) {
    for (int j = n.j1; j <= n.j2; ++j) {
      const bool inner = i > n.i1 && i < n.i2 && j > n.j1 && j < n.j2;
      bedOutBlock[i][j] = inner ? 0 : 1;
    }
  }
  bedOutBlock[n.i1 + 1][n.j1 + 1] = bedOutBlock[n.i1 + 1][n.j2 - 1] = 1;
  bedOutBlock[n.i2 - 1][n.j1 + 1] = bedOutBlock[n.i2 - 1][n.j2 - 1] = 1;
  for (int i = n.i1 + 4; i < n.i2 - 3; i += 3) bedOutBlock[i][n.j1] = bedOutBlock[i][n.j2] = 0;
  for (int j = n.j1 + 4; j < n.j2 - 3; j += 3) bedOutBlock[n.i1][j] = bedOutBlock[n.i2][j] = 0;
}

// The ring lines stand on base-grid lines, so that the open ring columns
// share their outer sides with the base columns beside the patch.
void placeRing(const GridBlock &n, int t1, int t2, int s1, int s2) {
  const int i1 = n.i1, i2 = n.i2, j1 = n.j1, j2 = n.j2;
  copyLine(i1 + 1, j1, t1 - 2, s1 - 2);
  copyLine(i1, j1 + 1, t1 - 2, s1 - 2);
  copyLine(i2 - 2, j2 - 1, t2 + 1, s2 + 1);
  copyLine(i2 - 1, j2 - 2, t2 + 1, s2 + 1);
  copyLine(i1 + 1, j2 - 1, t1 - 2, s2 + 1);
  copyLine(i1, j2 - 2, t1 - 2, s2 + 1);
  copyLine(i2 - 1, j1 + 1, t2 + 1, s1 - 2);
  copyLine(i2 - 2, j1, t2 + 1, s1 - 2);
  for (int k = 0; i1 + 4 + 3 * k < i2 - 3 && k <= t2 - t1; ++k) {
    copyLine(i1 + 3 + 3 * k, j1 - 1, t1 - 1 + k, s1 - 2);
    copyLine(i1 + 2 + 3 * k, j1, t1 - 1 + k, s1 - 2);
    copyLine(i1 + 4 + 3 * k, j1 - 1, t1 + k, s1 - 2);
    copyLine(i1 + 5 + 3 * k, j1, t1 + k, s1 - 2);
    copyLine(i1 + 3 + 3 * k, j2, t1 - 1 + k, s2 + 1);
    copyLine(i1 + 2 + 3 * k, j2 - 1, t1 - 1 + k, s2 + 1);
    copyLine(i1 + 4 + 3 * k, j2, t1 + k, s2 + 1);
    copyLine(i1 + 5 + 3 * k, j2 - 1, t1 + k, s2 + 1);
  }
  for (int k = 0; j1 + 4 + 3 * k < j2 - 3 && k <= s2 - s1; ++k) {
    copyLine(i1 - 1, j1 + 3 + 3 * k, t1 - 2, s1 - 1 + k);
    copyLine(i1, j1 + 2 + 3 * k, t1 - 2, s1 - 1 + k);
    copyLine(i1 - 1, j1 + 4 + 3 * k, t1 - 2, s1 + k);
    copyLine(i1, j1 + 5 + 3 * k, t1 - 2, s1 + k);
    copyLine(i2, j1 + 3 + 3 * k, t2 + 1, s1 - 1 + k);
    copyLine(i2 - 1, j1 + 2 + 3 * k, t2 + 1, s1 - 1 + k);
    copyLine(i2, j1 + 4 + 3 * k, t2 + 1, s1 + k);
    copyLine(i2 - 1, j1 + 5 + 3 * k, t2 + 1, s1 + k);
  }
}

// Three records at each corner of the patch: the two ring lines that meet
// there, and each of them with the base line it stands on.
void recordConnections(const GridBlock &n, int t1, int t2, int s1, int s2) {
  const int i1 = n.i1, i2 = n.i2, j1 = n.j1, j2 = n.j2;
  const int records[kPatchConnections][4] = {
      {i1 + 1, i1, j1, j1 + 1},     {i1 + 1, t1 - 2, j1, s1 - 2}, {i1, t1 - 2, j1 + 1, s1 - 2},
      {i2 - 1, i2 - 2, j2 - 2, j2 - 1}, {i2 - 1, t2 + 1, j2 - 2, s2 + 1}, {i2 - 2, t2 + 1, j2 - 1, s2 + 1},
      {i2 - 2, i2 - 1, j1, j1 + 1}, {i2 - 2, t2 + 1, j1, s1 - 2}, {i2 - 1, t2 + 1, j1 + 1, s1 - 2},
      {i1, i1 + 1, j2 - 2, j2 - 1}, {i1, t1 - 2, j2 - 2, s2 + 1}, {i1 + 1, t1 - 2, j2 - 1, s2 + 1}};
  for (const auto &r : records) {
    int *c = conn[NoConnect++];
    for (int k = 0; k < 4; ++k) c[k] = r[k];
    c[4] = c[5] = 0;
  }
}

}  // namespace

void UnstrucTett() {
  if (appended) return;
  const int t1 = TetI1, t2 = TetI2, s1 = TetJ1, s2 = TetJ2;
  const int last = block[NoBlocks].j2;
  const int i2 = 3 * (t2 - t1) + 10, j2 = last + 3 * (s2 - s1) + 10;
  // The patch's lines must fit the structured arrays as a "koosurf" block must.
  if (i2 >= xnumber - 1 || j2 >= ynumber - 1) {
    logText("Error, increase the G 1 values in control file and try again\n");
    fatalPrintf(kExitControlMissing, nullptr, "The two first integers on G 1 data set should be at least %d %d\n",
                i2 + 2, j2 + 2);
  }
  if (NoBlocks + 1 >= kMaxBlocks || NoConnect + kPatchConnections > kMaxConnections) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error: no room for the refined block of F 130 (blocks %d of %d, connections %d of %d): "
                "use fewer blocks or remove F 130\n",
                NoBlocks, kMaxBlocks - 1, NoConnect, kMaxConnections);
  }
  appended = true;
  GridBlock &n = block[++NoBlocks];
  n = GridBlock{};
  n.i1 = 2;
  n.i2 = i2;
  n.j1 = last + 2;
  n.j2 = j2;
  n.NestLevel = 2;
  n.BlockKind = 0;
  n.k1 = 1;
  n.k2 = znumber;
  n.KoosurfFlag = 1;
  n.ExtraFlag = 0;
  n.RefSearchFlag = 1;

  for (int a = t1 - 2; a <= t2; ++a) {
    for (int b = s1 - 2; b <= s2; ++b) fillQuad(a, b, 1 + 3 * (a - t1 + 2), last + 1 + 3 * (b - s1 + 2));
  }
  outBlock(n, t1, t2, s1, s2);
  placeRing(n, t1, t2, s1, s2);
  recordConnections(n, t1, t2, s1, s2);
}
