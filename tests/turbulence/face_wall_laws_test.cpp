// The face-by-face and river wall laws of F 305 on hand-built columns: which
// wall faces and pairs of sides get a term in each equation, the clearing of
// wall cells, and how the river law shares the bed friction over the cells
// within the bed forms.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "support/run_case.h"
#include "turbulence/box_cells.h"
#include "turbulence/face_wall_laws.h"
#include "turbulence/wall_face_terms.h"
#include "turbulence/wall_laws.h"

namespace {

using FaceWallLaws = BoxCells;

// Two cells in one column of 1 x 1 x 0.5 m with walls at the bed, the lid
// and both banks (south and north); some flow in every cell.
void walledColumn() {
  BoxFlags flags;
  flags.lid = -1;
  flags.banks = -1;
  BoxCells::build(1, 2, 1.0, 1.0, 0.5, flags);
  for (int c = 1; c <= 2; ++c) {
    Ckinen[c] = 0.02 * c;
    Croughness[c] = 0.05;
    Cxvel[c] = 0.6;
    Cyvel[c] = 0.1;
    Czvel[c] = -0.05;
  }
}

using Term = std::function<void(int)>;

const Term kSouthU = [](int c) { wall_laws_surface_u(c, Cflates, Cjdist); };
const Term kNorthU = [](int c) { wall_laws_surface_u(c, Cflaten, Cjdist); };
const Term kTopU = [](int c) { wall_laws_surface_u(c, Cflatet, Ckdist); };
const Term kBottomU = [](int c) { wall_laws_surface_u(c, Cflateb, Ckdist); };
const Term kSidesK = [](int c) { wall_laws_surface_k(c, Cjdist); };
const Term kVerticalK = [](int c) { wall_laws_surface_k(c, Ckdist); };
const Term kSidesEps = [](int c) { wall_laws_surface_eps(c, Cjdist); };
const Term kVerticalEps = [](int c) { wall_laws_surface_eps(c, Ckdist); };

TEST_F(FaceWallLaws, TermsPerEquation) {
  struct Row {
    int law, equation, cell;
    std::vector<Term> terms;  // what the cell must hold, added to a cleared cell
    bool untouched;           // the cell keeps what the caller put there
    const char *why;
  };
  const Row rows[] = {
      {1, 1, 1, {kSouthU, kNorthU, kBottomU}, false, "two banks and the bed: three frictions"},
      {1, 2, 2, {kSouthU, kNorthU, kTopU}, false, "the lid brakes like a wall"},
      {1, 3, 1, {kSouthU, kNorthU, kBottomU}, false, "W too"},
      {1, 5, 1, {kSidesK, kVerticalK}, false, "one k term for the two banks, one for bed and lid"},
      {1, 5, 2, {kSidesK, kVerticalK}, false, "the lid pairs with the bottom face"},
      {1, 6, 2, {kSidesEps, kVerticalEps}, false, "one wall epsilon per pair"},
      {1, 4, 1, {}, false, "any other equation: cleared only"},
      {2, 1, 2, {kSouthU, kNorthU}, false, "no lid in the river"},
      {2, 2, 1, {kSouthU, kNorthU, kBottomU}, false, "bed forms of height 0: all friction in the bottom cell"},
      {2, 5, 2, {kSidesK}, false, "no top-bottom pair from the lid"},
      {2, 5, 1, {kSidesK, kVerticalK}, false, "the bed gives the vertical pair"},
      {2, 6, 2, {kSidesEps}, false, "no wall epsilon from the lid"},
      {2, 4, 1, {}, true, "the river law leaves other equations alone"},
  };
  for (const Row &r : rows) {
    walledColumn();
    Equation = r.equation;
    for (int c = 1; c <= 2; ++c) Cap[c] = Csource[c] = 7.0;
    if (r.law == 1) wall_laws_new(1, 2);
    else wall_laws_river(1, 2);
    const double gotCap = Cap[r.cell], gotSource = Csource[r.cell];
    Cap[r.cell] = Csource[r.cell] = 0.0;
    for (const Term &t : r.terms) t(r.cell);
    const double wantCap = r.untouched ? 7.0 : Cap[r.cell], wantSource = r.untouched ? 7.0 : Csource[r.cell];
    EXPECT_DOUBLE_EQ(gotCap, wantCap) << "F 305 " << r.law << ", equation " << r.equation << ": " << r.why;
    EXPECT_DOUBLE_EQ(gotSource, wantSource) << "F 305 " << r.law << ", equation " << r.equation << ": " << r.why;
  }
}

TEST_F(FaceWallLaws, RiverLawIgnoresAFlaggedLid) {
  // Only the lid is a wall in the top cell: the river law does not touch it.
  BoxFlags flags;
  flags.lid = -1;
  build(1, 2, 1.0, 1.0, 0.5, flags);
  Ckinen[2] = 0.01;
  Croughness[2] = 0.05;
  for (int eq : {1, 5, 6}) {
    Equation = eq;
    Cap[2] = Csource[2] = 3.0;
    wall_laws_river(1, 2);
    EXPECT_EQ(Cap[2], 3.0) << "equation " << eq;
    EXPECT_EQ(Csource[2], 3.0) << "equation " << eq;
  }
}

TEST_F(FaceWallLaws, BedFrictionSharedWithinTheBedForms) {
  // Four cells of 0.5 m: centres 0.25, 0.75, 1.25 and 1.75 m above the bed.
  struct Row {
    double bedForm;
    int sharing;
  };
  const Row rows[] = {{0.0, 1}, {0.1, 1}, {0.25, 1}, {0.74, 1}, {0.75, 2}, {1.0, 2}, {1.25, 3}, {1.75, 4}, {9.0, 4}};
  for (const Row &r : rows) {
    build(1, 4, 1.0, 1.0, 0.5);
    for (int c = 1; c <= 4; ++c) {
      Ckinen[c] = 0.02;
      Croughness[c] = 0.1;
      Cxvel[c] = 0.8;
      Cap[c] = Csource[c] = 0.0;
    }
    Bedformheight[1] = r.bedForm;
    Equation = 1;
    const WallFriction bed = wall_face_friction(1, Cflateb, Ckdist);
    wall_laws_river(1, 4);
    for (int c = 1; c <= 4; ++c) {
      EXPECT_DOUBLE_EQ(Cap[c], c <= r.sharing ? bed.fw / r.sharing : 0.0) << "bed forms " << r.bedForm << ", cell " << c;
      EXPECT_DOUBLE_EQ(Csource[c], c == 1 ? bed.source : 0.0) << "bed forms " << r.bedForm << ", cell " << c;
    }
  }
}

TEST_F(FaceWallLaws, OneCellColumnKeepsItsBedFriction) {
  build(1, 1, 1.0, 1.0, 0.5);
  Ckinen[1] = 0.02;
  Croughness[1] = 0.1;
  Cxvel[1] = 0.8;
  Bedformheight[1] = 3.0;
  Equation = 1;
  const WallFriction bed = wall_face_friction(1, Cflateb, Ckdist);
  wall_laws_river(1, 1);
  EXPECT_DOUBLE_EQ(Cap[1], bed.fw);
  EXPECT_DOUBLE_EQ(Csource[1], bed.source);
}

TEST_F(FaceWallLaws, ChunkedRangesMatchOneCall) {
  // Two columns of three cells, bed forms over the whole depth: a chunk that
  // ends inside a column leaves the shares above it for after the join.
  auto run = [](auto &&calls) {
    BoxFlags flags;
    flags.banks = -1;
    build(2, 3, 1.0, 1.0, 0.4, flags);
    for (int c = 1; c <= 6; ++c) {
      Ckinen[c] = 0.01 * c;
      Croughness[c] = 0.05;
      Cxvel[c] = 0.3 + 0.1 * c;
      Cap[c] = Csource[c] = 1.0;
    }
    Bedformheight[1] = Bedformheight[2] = 2.0;
    Equation = 1;
    calls();
    return std::vector<double>(Cap + 1, Cap + 7);
  };
  const std::vector<double> one = run([] { wall_laws_river(1, 6); });
  EXPECT_EQ(run([] {
              wall_laws_river(1, 3);
              wall_laws_river(4, 6);
              addDeferredBedFriction();
            }),
            one)
      << "borders at column tops";
  for (int chunks : {2, 4, 5}) {
    NoProcessesSolver = chunks;
    const std::vector<double> cut = run([] {
      forEachChunk(1, 6, [](int a, int b) { wall_laws_river(a, b); });
      addDeferredBedFriction();
    });
    for (int c = 0; c < 6; ++c) EXPECT_NEAR(cut[c], one[c], 1e-12 * one[c]) << chunks << " chunks, cell " << c + 1;
  }
  NoProcessesSolver = 0;
  const std::vector<double> unflushed = run([] {
    wall_laws_river(1, 2);
    wall_laws_river(3, 6);
  });
  EXPECT_LT(unflushed[2], one[2]) << "the top cell of column 1 waits for its share";
  addDeferredBedFriction();
  EXPECT_NEAR(Cap[3], one[2], 1e-12 * one[2]);
}

TEST_F(FaceWallLaws, WallLawsHandsTheRangeOver) {
  // F 305 skips the default law's rewriting of XksWall.
  for (int law : {1, 2}) {
    walledColumn();
    FlagNewWall = law;
    XksWall = 0.0;
    Equation = 1;
    for (int c = 1; c <= 2; ++c) Cap[c] = Csource[c] = 0.0;
    wall_laws(1, 2);
    const double viaWallLaws = Cap[2];
    for (int c = 1; c <= 2; ++c) Cap[c] = Csource[c] = 0.0;
    if (law == 1) wall_laws_new(1, 2);
    else wall_laws_river(1, 2);
    EXPECT_EQ(viaWallLaws, Cap[2]) << "F 305 " << law;
    EXPECT_EQ(XksWall, 0.0) << "F 305 " << law;
  }
}

}  // namespace

namespace {

// F 15 after F 305 passes the reader: a family the face laws do not know
// takes the rough law, and the run says so once.
TEST(FaceWallLawFamily, OtherFamilyTakesTheRoughLawWithOneWarning) {
  CaseSetup s;
  std::string control;
  for (const std::string &line : linesOf(caseFile("straight-channel", "control"))) {
    if (line.rfind("K 1 ", 0) != 0) control += line + "\n";
  }
  s.files["control"] = control + "K 1 5 50000\nF 305 1\nF 15 2\n";
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  const std::string log = r.file("boogie"), warning = "Warning: F 305 uses the rough wall law for F 15 2\n";
  EXPECT_EQ(r.status, 1) << log;
  const std::size_t at = log.find(warning);
  ASSERT_NE(at, std::string::npos) << log;
  EXPECT_EQ(log.find(warning, at + 1), std::string::npos) << "once per run";
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

}  // namespace
