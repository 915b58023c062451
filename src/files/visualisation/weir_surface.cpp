// The weir surface of letter Z: two rings of points from "weir.txt", the top
// and the foot of a weir, joined by a side wall and closed by a cap on each
// ring, written as the closed triangulated surface "weir.stl".
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "files/file_services.h"
#include "files/write_check.h"
#include "base/input_file.h"
#include "base/log.h"

namespace {

constexpr int kMaxWeirLines = 499;

struct Vertex {
  double x, y, z;
};

// Entry n of each ring repeats entry 0, so that the last side facets close the ring.
Vertex ring1[kMaxWeirLines + 1], ring2[kMaxWeirLines + 1];

bool finiteLine(int k) {
  const Vertex &a = ring1[k], &b = ring2[k];
  return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z) && std::isfinite(b.x) &&
         std::isfinite(b.y) && std::isfinite(b.z);
}

void facet(std::FILE *f, const Vertex &a, const Vertex &b, const Vertex &c) {
  std::fprintf(f, " facet normal 0 0 0\n  outer loop\n");
  for (const Vertex *v : {&a, &b, &c}) std::fprintf(f, "   vertex %lf %lf %lf\n", v->x, v->y, v->z);
  std::fprintf(f, "  endloop\n endfacet\n");
}

}  // namespace

int makeWeirSTL() {
  std::FILE *in = openInputFile("weir.txt");
  if (!in) {
    logText("Warning: can not open 'weir.txt' file, no weir.stl written\n");
    return 1;
  }
  // A line that does not give six finite numbers ends the rings; lines after
  // the 499th are ignored.
  int n = 0;
  while (n < kMaxWeirLines &&
         std::fscanf(in, "%lf %lf %lf %lf %lf %lf\n", &ring1[n].x, &ring1[n].y, &ring1[n].z, &ring2[n].x, &ring2[n].y,
                     &ring2[n].z) == 6 &&
         finiteLine(n)) {
    ++n;
  }
  std::fclose(in);
  Vertex c1{0, 0, 0}, c2{0, 0, 0};
  for (int k = 0; k < n; ++k) {
    c1 = Vertex{c1.x + ring1[k].x, c1.y + ring1[k].y, c1.z + ring1[k].z};
    c2 = Vertex{c2.x + ring2[k].x, c2.y + ring2[k].y, c2.z + ring2[k].z};
  }
  if (n > 0) {
    c1 = Vertex{c1.x / n, c1.y / n, c1.z / n};
    c2 = Vertex{c2.x / n, c2.y / n, c2.z / n};
  }
  ring1[n] = ring1[0];
  ring2[n] = ring2[0];

  std::FILE *f = std::fopen("weir.stl", "w");
  if (!f) endCannotOpen("weir.stl");
  std::fprintf(f, "solid weir_construction\n");
  for (int k = 0; k < n; ++k) {
    facet(f, ring1[k], ring2[k], ring1[k + 1]);
    facet(f, ring1[k + 1], ring2[k], ring2[k + 1]);
  }
  for (int k = 0; k < n; ++k) facet(f, ring1[k], ring1[k + 1], c1);
  for (int k = 0; k < n; ++k) facet(f, ring2[k + 1], ring2[k], c2);
  std::fprintf(f, "endsolid telvasurf");
  closeWrittenFile(f, "weir.stl");
  return 0;
}
