// The OpenFOAM export: the grid as a "blockMeshDict" of one hex block per
// cell with six boundary patches, the start files of alpha.water, U, k,
// epsilon, nut, p_rgh and p, and "levels", the height of every cell centre.
#include "files/grid_files/openfoam_export.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/operations.h"

namespace {

const char *const kSeparator = "// * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * * //\n\n";

// Vertex numbers of blockMesh: the points of joined block faces share one
// number, so that blockMesh stitches the blocks there; every other point
// keeps its own, in point order from 0.
std::vector<int> vertexOf;
std::vector<int> vertexPoints;  // the point that stands for each vertex

int root(std::vector<int> &parent, int p) {
  while (parent[p] != p) p = parent[p] = parent[parent[p]];
  return p;
}

void numberVertices() {
  std::vector<int> parent(NoPoints + 1);
  for (int p = 0; p <= NoPoints; ++p) parent[p] = p;
  for (int r = 1; r <= NoConnFlate; ++r) {
    const int fa = connFlate[r][0], fb = connFlate[r][1];
    if (fa <= 0 || fb <= 0) continue;
    const int pa[4] = {Fpoint1[fa], Fpoint2[fa], Fpoint3[fa], Fpoint4[fa]};
    const int pb[4] = {Fpoint1[fb], Fpoint2[fb], Fpoint3[fb], Fpoint4[fb]};
    for (const int q : pb) {
      int best = pa[0];
      double bestDist = 1e300;
      for (const int p : pa) {
        const double dx = Px[p] - Px[q], dy = Py[p] - Py[q], dz = Pz[p] - Pz[q];
        const double d = dx * dx + dy * dy + dz * dz;
        if (d < bestDist) bestDist = d, best = p;
      }
      const int a = root(parent, best), b = root(parent, q);
      if (a < b) parent[b] = a;
      else parent[a] = b;
    }
  }
  vertexOf.assign(NoPoints + 1, -1);
  vertexPoints.clear();
  for (int p = 1; p <= NoPoints; ++p) {
    const int r = root(parent, p);
    if (r == p) {
      vertexOf[p] = static_cast<int>(vertexPoints.size());
      vertexPoints.push_back(p);
    }
  }
  for (int p = 1; p <= NoPoints; ++p) vertexOf[p] = vertexOf[root(parent, p)];
}

int v(int p) { return vertexOf[p]; }

std::FILE *create(const char *name) {
  std::FILE *f = std::fopen(name, "w");
  if (!f) endCannotOpen(name);
  return f;
}

void header(std::FILE *f, const char *cls, const char *object, bool located, bool grid) {
  std::fprintf(f, "FoamFile \n{\n    version      2.0;\n    format       ascii;\n");
  if (grid) std::fprintf(f, "\n");
  std::fprintf(f, "    class        %s;\n", cls);
  if (located) std::fprintf(f, "    location     %c0%c;\n", '"', '"');
  std::fprintf(f, "    object       %s;\n}\n\n", object);
  std::fprintf(f, "%s", kSeparator);
}

// The side patches of a cell: the face's four corners when the side is open
// to the outside and not collapsed to an edge.
void side(std::FILE *f, int a, int b, int c, int d) { std::fprintf(f, "         (%d %d %d %d)\n", v(a), v(b), v(c), v(d)); }

bool westOpen(int c) { return Ccellw[c] == 0 && !(v(Cpoint1[c]) == v(Cpoint5[c]) && v(Cpoint4[c]) == v(Cpoint8[c])); }
bool eastOpen(int c) { return Ccelle[c] == 0 && !(v(Cpoint2[c]) == v(Cpoint6[c]) && v(Cpoint3[c]) == v(Cpoint7[c])); }
bool southOpen(int c) { return Ccells[c] == 0 && !(v(Cpoint1[c]) == v(Cpoint5[c]) && v(Cpoint6[c]) == v(Cpoint2[c])); }
bool northOpen(int c) { return Ccelln[c] == 0 && !(v(Cpoint3[c]) == v(Cpoint7[c]) && v(Cpoint8[c]) == v(Cpoint4[c])); }

void westFace(std::FILE *f, int c) { side(f, Cpoint1[c], Cpoint5[c], Cpoint8[c], Cpoint4[c]); }
void eastFace(std::FILE *f, int c) { side(f, Cpoint2[c], Cpoint3[c], Cpoint7[c], Cpoint6[c]); }

// Calls visit(cell) for every cell of the columns (i, j1..j2) of block 1
// whose i passes the test, bottom cell first.
template <class Test, class Visit>
void block1Cells(Test iWanted, Visit visit) {
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    if (!iWanted(i)) continue;
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) visit(c);
    }
  }
}

void patchStart(std::FILE *f, const char *name, const char *type) {
  std::fprintf(f, "   %s\n   %c\n      type %s%c\n      faces\n      %c\n", name, '{', type, ';', '(');
}
void patchEnd(std::FILE *f) { std::fprintf(f, "      %c%c\n   %c\n\n", ')', ';', '}'); }

void writeBlockMeshDict() {
  std::FILE *f = create("blockMeshDict");
  std::fprintf(f, "/* OpenFOAM grid file from TELVA 2.486 or later %s */\n\n", Title + 1);
  header(f, "dictionary", "blockMeshDict", false, true);
  std::fprintf(f, "convertToMeters 1;\n\n");
  std::fprintf(f, "vertices        \n%c\n", '(');
  for (const int p : vertexPoints) std::fprintf(f, "     %c%lf %lf %lf%c\n", '(', Px[p], Py[p], Pz[p], ')');
  std::fprintf(f, "%c%c\n\n", ')', ';');
  std::fprintf(f, "blocks      \n(\n");
  for (int c = 1; c <= NoCells; ++c) {
    std::fprintf(f, "     hex (%d %d %d %d %d %d %d %d)  (%d %d %d) simpleGrading (1 1 1)\n", v(Cpoint1[c]),
                 v(Cpoint2[c]), v(Cpoint3[c]), v(Cpoint4[c]), v(Cpoint5[c]), v(Cpoint6[c]), v(Cpoint7[c]),
                 v(Cpoint8[c]), ofGridI, ofGridJ, ofGridK);
  }
  std::fprintf(f, ");\n\n");
  std::fprintf(f, "edges \n%c\n%c%c\n\n", '(', ')', ';');
  std::fprintf(f, "boundary    \n%c\n", '(');
  const char *sides = OpenFOAMsides == 1 ? "symmetryPlane" : "wall";
  const int i1 = block[1].i1, i2 = block[1].i2;

  patchStart(f, "freeSurface", "patch");
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) side(f, Cpoint5[c], Cpoint6[c], Cpoint7[c], Cpoint8[c]);
  }
  patchEnd(f);
  patchStart(f, "inletWater", "patch");
  block1Cells([i1](int i) { return i == i1; }, [f](int c) {
    if (westOpen(c)) westFace(f, c);
  });
  patchEnd(f);
  patchStart(f, "outletWater", "patch");
  block1Cells([i2](int i) { return i == i2; }, [f](int c) {
    if (eastOpen(c)) eastFace(f, c);
  });
  patchEnd(f);
  patchStart(f, "bedWall", "wall");
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] == 0) side(f, Cpoint4[c], Cpoint3[c], Cpoint2[c], Cpoint1[c]);
  }
  patchEnd(f);
  patchStart(f, "rightSide", sides);
  for (int c = 1; c <= NoCells; ++c) {
    if (southOpen(c)) side(f, Cpoint1[c], Cpoint2[c], Cpoint6[c], Cpoint5[c]);
  }
  patchEnd(f);
  patchStart(f, "leftSide", sides);
  for (int c = 1; c <= NoCells; ++c) {
    if (northOpen(c)) side(f, Cpoint3[c], Cpoint4[c], Cpoint8[c], Cpoint7[c]);
  }
  block1Cells([i2](int i) { return i < i2; }, [f](int c) {
    if (eastOpen(c)) eastFace(f, c);
  });
  block1Cells([i1](int i) { return i > i1; }, [f](int c) {
    if (westOpen(c)) westFace(f, c);
  });
  patchEnd(f);
  std::fprintf(f, ")\n\n");
  std::fprintf(f, "mergePatchPairs\n%c\n%c%c\n\n", '(', ')', ';');
  std::fprintf(f, "\n\n");
  std::fprintf(f, "//**************************************************************//\n\n");
  closeWrittenFile(f, "blockMeshDict");
}

// One boundary entry of a field file: the type and, when given, its value.
struct Entry {
  const char *patch;
  std::string type;
  std::string value;  // "" for none
};

struct Field {
  const char *file, *cls, *object, *dimensions, *internal;
  bool located;
};

void writeField(const Field &fd, const std::vector<Entry> &entries, const std::string &preamble = "") {
  std::FILE *f = create(fd.file);
  std::fprintf(f, "/* OpenFOAM %s file from TELVA 2 %s */\n\n", fd.file, Title + 1);
  std::fprintf(f, "%s", preamble.c_str());
  header(f, fd.cls, fd.object, fd.located, false);
  std::fprintf(f, "dimensions      %s;\n\n", fd.dimensions);
  std::fprintf(f, "internalField   uniform %s;\n\n", fd.internal);
  std::fprintf(f, "boundaryField\n{\n");
  for (const Entry &e : entries) {
    std::fprintf(f, "    %s\n    {\n        type            %s;\n", e.patch, e.type.c_str());
    if (!e.value.empty()) std::fprintf(f, "%s", e.value.c_str());
    std::fprintf(f, "    }\n");
  }
  std::fprintf(f, "    defaultFaces\n    {\n        type            empty;\n    }\n}\n");
  std::fprintf(f, "\n%s", kSeparator);
  closeWrittenFile(f, fd.file);
}

std::string value(const std::string &v) { return "        value           uniform " + v + ";\n"; }

std::string number(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%lf", x);
  return text;
}

// A velocity along x as an OpenFOAM vector, "(u 0 0)".
std::string alongX(double u) {
  char text[80];
  std::snprintf(text, sizeof text, "(%lf 0 0)", u);
  return text;
}

struct Areas {
  double inX = 0, inY = 0, out1X = 0, out1Y = 0, out2X = 0, out2Y = 0;
};

// The areas of the inlet section below the F 298 inlet level and of the
// outlet section below and above its outlet level.
Areas sectionAreas() {
  Areas a;
  const int i1 = block[1].i1, i2 = block[1].i2;
  block1Cells([i1](int i) { return i == i1; }, [&a](int c) {
    const int fw = Cflatew[c];
    if (Pz[Cpoint1[c]] < OpenFOAMinLevel) a.inX += Fax[fw], a.inY += Fay[fw];
  });
  block1Cells([i2](int i) { return i == i2; }, [&a](int c) {
    const int fe = Cflatee[c];
    if (Pz[Cpoint1[c]] < OpenFOAMoutLevel) {
      a.out1X += Fax[fe], a.out1Y += Fay[fe];
    } else {
      a.out2X += Fax[fe], a.out2Y += Fay[fe];
    }
  });
  return a;
}

double velocityThrough(double areaX) {
  const double q = 0.001 * DischargeStruct[1].discharge;
  return areaX != 0.0 ? q / areaX : 0.0;
}

void writeFields() {
  const bool outlet2 = OpenFOAMoutLevel < 1e10;
  const std::string zero3 = value("(0 0 0)");

  writeField({"alpha.water", "volScalarField", "alpha", "[0 0 0 0 0 0 0]", "0", false},
             {{"bedWall", "zeroGradient", ""},
              {"freeSurface", "inletOutlet", ""},
              {"inletWater", "fixedValue", "        value      uniform 1;\n"},
              {"outletWater", "zeroGradient", ""},
              {"rightSide", "empty", ""},
              {"leftSide", "empty", ""}});

  const Areas a = sectionAreas();
  char preamble[1024];
  std::snprintf(preamble, sizeof preamble,
                "/* Inlet area_x: %20.12lf m2, area_y: %20.12lf m2 */\n"
                "/* Outlet area1_x: %20.12lf m2, outlet area1_y: %20.12lf m2 (lower) */\n"
                "/* Outlet area2_x: %20.12lf m2, outlet area2_y: %20.12lf m2 (upper) */\n"
                "/* Use the area information when giving the velocities in the inlet and outlet */\n"
                "/* sections below, by computing the velocity as discharge divided by area.     */\n\n",
                a.inX, a.inY, a.out1X, a.out1Y, a.out2X, a.out2Y);
  const Entry uSide = FlagWall != 0 ? Entry{"", "symmetryPlane", ""} : Entry{"", "fixedValue", zero3};
  std::vector<Entry> u = {{"freeSurface", "symmetryPlane", ""},
                          {"bedWall", "fixedValue", zero3},
                          {"leftSide", uSide.type, uSide.value},
                          {"rightSide", uSide.type, uSide.value},
                          {"inletWater", "fixedValue", value(alongX(velocityThrough(a.inX)))},
                          {"outletWater", "fixedValue", value(alongX(velocityThrough(a.out1X)))}};
  if (outlet2) u.push_back({"outlet2", "fixedValue", zero3});
  writeField({"U", "volVectorField", "U", "[0 1 -1 0 0 0 0]", "(0.01 0 0)", false}, u, preamble);

  const bool symmetricSides = WallFlag != 0;
  std::vector<Entry> k = {{"bedWall", "kqRWallFunction", value("0.375")}};
  const Entry kSide = symmetricSides ? Entry{"", "symmetryPlane", ""} : Entry{"", "kqRWallFunction", value("0.375")};
  k.push_back({"leftSide", kSide.type, kSide.value});
  k.push_back({"rightSide", kSide.type, kSide.value});
  k.push_back({"freeSurface", "symmetryPlane", ""});
  k.push_back({"inletWater", "fixedValue", value("0.375")});
  k.push_back({"outletWater", "zeroGradient", ""});
  if (outlet2) k.push_back({"outlet2", "zeroGradient", ""});
  writeField({"k", "volScalarField", "k", "[0 2 -2 0 0 0 0]", "0.375", true}, k);

  std::vector<Entry> eps = {{"bedWall", "epsilonWallFunction", value("0.375")}};
  if (symmetricSides) {
    eps.push_back({"rightSide", "symmetryPlane", ""});
    eps.push_back({"leftSide", "symmetryPlane", ""});
  } else {
    eps.push_back({"leftSide", "epsilonWallFunction", value("0.375")});
    eps.push_back({"rightSide", "epsilonWallFunction", value("0.375")});
  }
  eps.push_back({"freeSurface", "symmetryPlane", ""});
  eps.push_back({"inletWater", "fixedValue", value("1.0")});
  eps.push_back({"outletWater", "zeroGradient", ""});
  if (outlet2) eps.push_back({"outlet2", "zeroGradient", ""});
  writeField({"epsilon", "volScalarField", "epsilon", "[0 2 -3 0 0 0 0]", "14.0", true}, eps);

  const std::string rough = "        roughnessHeight           " + number(XksWall) +
                            ";\n        roughnessConstant           0.5;\n        roughnessFactor           1;\n" +
                            value("0");
  std::vector<Entry> nut = {{"bedWall", "nutURoughWallFunction", rough},
                            {"leftSide", "nutkWallFunction", value("0")},
                            {"rightSide", "nutkWallFunction", value("0")},
                            {"freeSurface", "symmetryPlane", ""},
                            {"inletWater", "calculated", value("0")},
                            {"outletWater", "zeroGradient", ""}};
  if (outlet2) nut.push_back({"outlet2", "zeroGradient", ""});
  writeField({"nut", "volScalarField", "nut", "[0 2 -1 0 0 0 0]", "0", true}, nut);

  const std::string b0 = value("0");
  std::vector<Entry> prgh = {{"bedWall", "buoyantPressure", b0},     {"leftSide", "buoyantPressure", b0},
                             {"rightSide", "buoyantPressure", b0},   {"freeSurface", "symmetryPlane", ""},
                             {"inletWater", "buoyantPressure", b0},  {"outletWater", "buoyantPressure", b0}};
  if (outlet2) prgh.push_back({"outlet2", "buoyantPressure", b0});
  writeField({"p_rgh", "volScalarField", "p_rgh", "[1 -1 -2 0 0 0 0]", "0", true}, prgh);

  writeField({"p", "volScalarField", "p", "[0 2 -2 0 0 0 0]", "0", true},
             {{"bedWall", "zeroGradient", ""},
              {"leftSide", "symmetryPlane", ""},
              {"rightSide", "symmetryPlane", ""},
              {"freeSurface", "symmetryPlane", ""},
              {"inletWater", "zeroGradient", ""},
              {"outletWater", "fixedValue", value("0")}});
}

void writeLevels() {
  std::FILE *f = create("levels");
  std::fprintf(f, "Cell no.     levels[m]\n");
  for (int c = 1; c <= NoCells; ++c) std::fprintf(f, "%d    %lf\n", c, Czcenter[c]);
  closeWrittenFile(f, "levels");
}

}  // namespace

void writeOpenFOAM2() { writeOpenFOAM3(); }

void writeOpenFOAM3() {
  operations.metric();
  operations.BedMake();
  numberVertices();
  writeBlockMeshDict();
  writeFields();
  writeLevels();
}
