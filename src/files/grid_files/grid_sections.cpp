// The shared sections of "unstruc" and "alldata": each table is written in
// one pass in its file order and read back in the same order, with every
// stored index tested against the table it points into.
#include "files/grid_files/grid_sections.h"

#include <charconv>

#include "files/grid_files/record_reader.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/nests.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "base/log.h"

namespace {

// The twenty connectivity columns of a cell in file order: corners 1..8,
// faces south, east, north, west, bottom, top, then the neighbours likewise.
int **cellColumns() {
  static int *columns[20];
  int *const now[20] = {Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8, Cflates, Cflatee,
                        Cflaten, Cflatew, Cflateb, Cflatet, Ccells,  Ccelle,  Ccelln,  Ccellw,  Ccellb,  Ccellt};
  for (int k = 0; k < 20; ++k) columns[k] = now[k];
  return columns;
}

}  // namespace

void putDouble(std::FILE *f, double value, DoubleText style) {
  if (style == DoubleText::Fixed) {
    std::fprintf(f, "%lf", value);
    return;
  }
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  std::fwrite(text, 1, static_cast<std::size_t>(result.ptr - text), f);
}

StoredCounts storedCounts() {
  return {NoCells0, NoSurfaces0, NoBlocks0, NoConnect0, NoConnFlate0, NoNestflater, NoPoints};
}

void writePoints(std::FILE *f, int count, DoubleText style) {
  for (int p = 1; p <= count; ++p) {
    putDouble(f, Px[p], style);
    std::fputc(' ', f);
    putDouble(f, Py[p], style);
    std::fputc(' ', f);
    putDouble(f, Pz[p], style);
    std::fputc('\n', f);
  }
}

void writeCellConnectivity(std::FILE *f, int cell) {
  int *const *columns = cellColumns();
  for (int k = 0; k < 20; ++k) std::fprintf(f, "%d ", columns[k][cell]);
  std::fputc('\n', f);
}

void writeCells(std::FILE *f, int count) {
  for (int c = 1; c <= count; ++c) writeCellConnectivity(f, c);
}

void writeFaces(std::FILE *f, int count) {
  for (int n = 1; n <= count; ++n) {
    std::fprintf(f, "%d %d %d %d %d %d \n", Fpoint1[n], Fpoint2[n], Fpoint3[n], Fpoint4[n], Fcell1[n], Fcell2[n]);
  }
}

void writeBlocks(std::FILE *f, int count, DoubleText style) {
  for (int n = 1; n <= count; ++n) {
    const GridBlock &b = block[n];
    std::fprintf(f, "%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d ", b.i1, b.i2, b.j1, b.j2, b.NestLevel, b.k1,
                 b.k2, b.KoosurfFlag, b.ExtraFlag, b.RefSearchFlag, b.FirstCell, b.LastCell, b.FirstFace, b.LastFace,
                 b.FirstPoint, b.LastPoint, b.BlockKind);
    putDouble(f, b.BlockParam1, style);
    std::fputc(' ', f);
    putDouble(f, b.BlockParam2, style);
    std::fputc('\n', f);
  }
}

void writeConnections(std::FILE *f, int count) {
  for (int n = 0; n < count && n < kMaxConnections; ++n) {
    std::fprintf(f, "%d %d %d %d\n", conn[n][0], conn[n][1], conn[n][2], conn[n][3]);
  }
}

void writeFacePairs(std::FILE *f, int count) {
  for (int n = 1; n <= count; ++n) std::fprintf(f, "%d %d\n", connFlate[n][0], connFlate[n][1]);
}

void writeDischargeGroups(std::FILE *f, DoubleText style) {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &d = DischargeStruct[g];
    std::fprintf(f, "%d %d %d %d %d %d %d ", d.type, d.boundaryKind, d.component, d.fromLevel, d.toLevel,
                 d.faceCount, d.polygonCount);
    putDouble(f, d.discharge, style);
    std::fputc(' ', f);
    putDouble(f, d.concentration, style);
    std::fputc('\n', f);
    for (int k = 0; k < d.faceCount; ++k) std::fprintf(f, "%d ", d.faces[k]);
    std::fputc('\n', f);
    for (int k = 0; k < d.polygonCount; ++k) {
      putDouble(f, d.polygonX[k], style);
      std::fputc(' ', f);
      putDouble(f, d.polygonY[k], style);
      std::fputc('\n', f);
    }
  }
}

void writeSurfaceGroups(std::FILE *f, DoubleText style) {
  for (int g = 0; g < kDischargeGroups; ++g) {
    const SurfaceDischarge &s = SurfDischargeStruct[g];
    std::fprintf(f, "%d %d ", s.component, s.cellCount);
    putDouble(f, s.amount, style);
    std::fputc(' ', f);
    for (int k = 0; k < s.cellCount && k < kSurfaceLoadCells; ++k) std::fprintf(f, "%d ", s.cells[k]);
    std::fputc('\n', f);
  }
}

void writeNesting(std::FILE *f, int count, DoubleText style) {
  for (int n = 1; n <= count; ++n) {
    std::fprintf(f, "%d %d %d %d ", Ninoutwall[n], Npflate[n], Npcelle[n], Npblock[n]);
    putDouble(f, Nflux[n], style);
    std::fputc('\n', f);
    for (int k = 0; k < 4; ++k) {
      std::fprintf(f, "%d ", Ncell[n][k]);
      putDouble(f, Nweight[n][k], style);
      for (int d = 0; d < 3; ++d) {
        std::fputc(' ', f);
        putDouble(f, Nvect[n][k][d], style);
      }
      std::fputc('\n', f);
    }
  }
}

void readPoints(RecordReader &in) {
  for (int p = 1; p <= NoPoints; ++p) {
    in.at("point", p);
    Px[p] = in.readDouble();
    Py[p] = in.readDouble();
    Pz[p] = in.readDouble();
  }
}

void readCellConnectivity(RecordReader &in, int cell) {
  int *const *columns = cellColumns();
  in.at("cell", cell);
  for (int k = 0; k < 8; ++k) columns[k][cell] = in.readIndex(0, NoPoints);
  for (int k = 8; k < 14; ++k) columns[k][cell] = in.readIndex(0, NoSurfaces);
  for (int k = 14; k < 20; ++k) columns[k][cell] = in.readIndex(0, NoCells);
}

void readCells(RecordReader &in) {
  for (int c = 1; c <= NoCells; ++c) readCellConnectivity(in, c);
}

void readFaces(RecordReader &in) {
  for (int n = 1; n <= NoSurfaces; ++n) {
    in.at("face", n);
    Fpoint1[n] = in.readIndex(0, NoPoints);
    Fpoint2[n] = in.readIndex(0, NoPoints);
    Fpoint3[n] = in.readIndex(0, NoPoints);
    Fpoint4[n] = in.readIndex(0, NoPoints);
    Fcell1[n] = in.readIndex(0, NoCells);
    Fcell2[n] = in.readIndex(0, NoCells);
  }
}

int readBlockLine(RecordReader &in, int n) {
  in.at("block", n);
  GridBlock &b = block[n];
  b.i1 = in.readInt();
  b.i2 = in.readInt();
  b.j1 = in.readInt();
  b.j2 = in.readInt();
  b.NestLevel = in.readInt();
  b.k1 = in.readInt();
  b.k2 = in.readInt();
  b.KoosurfFlag = in.readInt();
  b.ExtraFlag = in.readInt();
  b.RefSearchFlag = in.readInt();
  b.FirstCell = in.readIndex(0, NoCells + 1);
  b.LastCell = in.readIndex(0, NoCells);
  b.FirstFace = in.readIndex(0, NoSurfaces + 1);
  b.LastFace = in.readIndex(0, NoSurfaces);
  b.FirstPoint = in.readIndex(0, NoPoints + 1);
  b.LastPoint = in.readIndex(0, NoPoints);
  b.BlockKind = in.readInt();
  b.BlockParam1 = in.readDouble();
  b.BlockParam2 = in.readDouble();
  b.WorkFlag = b.i2 > 2 ? 1 : 0;
  if (b.j2 >= ynumber) return -54;
  if (b.i2 >= xnumber) return -55;
  // The column lines and the bed-cell index walk the grid points from i1-1
  // and j1-1: a block must start inside the structured grid.
  if (b.i1 < 1 || b.j1 < 1 || b.i1 > b.i2 + 1 || b.j1 > b.j2 + 1) in.refuse();
  return 0;
}

void readConnections(RecordReader &in) {
  for (int n = 0; n < NoConnect; ++n) {
    in.at("block connection", n);
    for (int k = 0; k < 4; ++k) conn[n][k] = in.readInt();
  }
}

void readFacePairs(RecordReader &in) {
  for (int n = 1; n <= NoConnFlate; ++n) {
    in.at("face pair", n);
    connFlate[n][0] = in.readIndex(0, NoSurfaces);
    connFlate[n][1] = in.readIndex(0, NoSurfaces);
  }
}

namespace {

// A to level below the top level leaves the upper cells out of the group.
void checkToLevel(int g, int code) {
  DischargeGroup &d = DischargeStruct[g];
  if (d.toLevel < znumber && FlagInOutLevels == 1) {
    d.toLevel = znumber;
  } else if (d.toLevel <= znumber && d.discharge > 1e-20) {
    logPrintf("Warning, low value on TO integer in dialog box for discharge group %d\n", g);
    if (code > 0) {
      logPrintf("Advice: if you are not sure what you are doing: increase number to at least %d \n", znumber + 2);
    } else {
      logPrintf("Advice: if you are not sure what you are doing: increase number to at least %d,\n", znumber + 2);
      logText("Regenerate the discharge groups and make a new unstruc file\n\n");
    }
  }
}

}  // namespace

void readDischargeGroups(RecordReader &in, int code, bool listsEndAtText) {
  for (int g = 1; g <= 9; ++g) {
    DischargeGroup &d = DischargeStruct[g];
    in.at("discharge group", g);
    d.type = in.readInt();
    d.boundaryKind = in.readInt();
    d.component = in.readInt();
    d.fromLevel = in.readInt();
    d.toLevel = in.readInt();
    const int faces = in.readInt();
    if (faces < 0 || faces > NoSurfaces || faces > kGroupFaces) in.refuse();
    int polygon = d.polygonCount;
    if (code > 0) {
      polygon = in.readInt();
      if (polygon < 0 || polygon > kGroupPolygonPoints) in.refuse();
    }
    d.discharge = in.readDouble();
    d.concentration = in.readDouble();
    checkToLevel(g, code);
    d.faceCount = faces;
    for (int k = 0; k < faces; ++k) {
      int f = 0;
      if (!in.tryInt(f)) {
        if (!listsEndAtText) in.refuse();
        break;
      }
      if (f < 0 || f > NoSurfaces) in.refuse();
      d.faces[k] = f;
    }
    if (code > 0) {
      d.polygonCount = polygon;
      for (int k = 0; k < polygon; ++k) {
        d.polygonX[k] = in.readDouble();
        d.polygonY[k] = in.readDouble();
      }
    }
  }
}

void readSurfaceGroups(RecordReader &in) {
  for (int g = 0; g < kDischargeGroups; ++g) {
    SurfaceDischarge &s = SurfDischargeStruct[g];
    in.at("surface group", g);
    s.component = in.readInt();
    s.cellCount = in.readIndex(0, kSurfaceLoadCells);
    s.amount = in.readDouble();
    for (int k = 0; k < s.cellCount; ++k) s.cells[k] = in.readIndex(0, NoSurfaces);
  }
}

void readNesting(RecordReader &in) {
  for (int n = 1; n <= NoNestflater; ++n) {
    in.at("nest face", n);
    Ninoutwall[n] = in.readInt();
    Npflate[n] = in.readIndex(0, NoSurfaces);
    Npcelle[n] = in.readIndex(0, NoCells);
    Npblock[n] = in.readIndex(0, NoBlocks);
    Nflux[n] = in.readDouble();
    for (int k = 0; k < 4; ++k) {
      Ncell[n][k] = in.readIndex(0, NoCells);
      Nweight[n][k] = in.readDouble();
      for (int d = 0; d < 3; ++d) Nvect[n][k][d] = in.readDouble();
    }
  }
}

bool countsFitTables() {
  return NoPoints <= MaxPunkter && NoCells <= MaxCeller && NoSurfaces <= MaxFlater && NoConnFlate <= MaxConnFlate &&
         NoNestflater <= MaxNester;
}

void checkFixedCounts(RecordReader &in) {
  in.at("header", 1);
  if (NoPoints < 0 || NoCells < 0 || NoSurfaces < 0 || NoConnFlate < 0 || NoNestflater < 0) in.refuse();
  if (NoBlocks < 0 || NoBlocks >= kMaxBlocks || NoConnect < 0 || NoConnect > kMaxConnections) in.refuse();
  // The nested-border list exists only when F 65 gives it room.
  if (NoNestflater > 0 && !Npflate) in.refuse();
  if (NoConnFlate > 0 && !connFlate) in.refuse();
}

void applyGroupOverrides() {
  for (int g = 1; g <= 9; ++g) {
    if (discharges[g] > 0.0) DischargeStruct[g].discharge = 1000.0 * discharges[g];
    if (updates[g] >= 0) DischargeStruct[g].boundaryKind = updates[g];
  }
}
