// Reader of the restart file "alldata" (run letter B): the grid, fields, bed
// and time of the moment it was written replace those of the run, and the
// geometry, bed-cell index and face fluxes are rebuilt on them.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bed/layers/bed_layer_operations.h"
#include "files/grid_files/grid_sections.h"
#include "files/grid_files/record_reader.h"
#include "files/restart/restart_file.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "sediment/transport/bed_angle_file.h"
#include "startup/operations.h"

namespace {

void readCellsWithFields(RecordReader &in) {
  for (int c = 1; c <= NoCells; ++c) {
    readCellConnectivity(in, c);
    for (double *field : {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon}) {
      const double value = in.readDouble();
      if (field) field[c] = value;
    }
    for (int k = 0; k <= lnumber; ++k) {
      const double value = in.readDouble();
      if (Cconc) Cconc[k][c] = value;
    }
  }
}

// Fractions that do not sum to 1 are scaled to do so; a layer without
// thickness, or one whose fractions are all 0, gets equal fractions.
void normaliseLayer(int layer, int b) {
  if (lnumber < 1) return;
  double sum = 0.0;
  for (int k = 1; k <= lnumber; ++k) sum += BSedDistrib[layer][k][b];
  if (std::fabs(sum - 1.0) <= 1e-10) return;
  const bool scalable = BSedDistrib[layer][0][b] > 1e-20 && sum != 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    BSedDistrib[layer][k][b] = scalable ? BSedDistrib[layer][k][b] / sum : 1.0 / lnumber;
  }
}

// Entry 0 stands for the columns without cells and keeps what the file says.
void readLayer(RecordReader &in, int layer, int b) {
  for (int k = 0; k <= lnumber; ++k) BSedDistrib[layer][k][b] = in.readDouble();
  if (b > 0) normaliseLayer(layer, b);
}

void setPoint(int i, int j, int bottom, const double *v) {
  zval[i][j][0] = bottom;
  zval[i][j][1] = v[0];
  zval[i][j][znumber] = v[1];
  xval[i][j] = v[2];
  yval[i][j] = v[3];
  for (int plane = 0; plane <= 3; ++plane) Surfaces[plane][i][j] = v[4 + plane];
  if (FlagSetZeroBedmove == 1) Surfaces[1][i][j] = 0.0;
  if (FlagSetLimBedOri == 1) Surfaces[3][i][j] = Surfaces[0][i][j];
}

void linkBedCell(int i, int j, int bottom, int b) {
  Cbed[bottom] = b;
  pointbed[i][j] = b;
  Bkooi[b] = i;
  Bkooj[b] = j;
}

void readColumns(RecordReader &in) {
  const bool twoLayers = NoBedLayers == 2;
  const int lastBedCell = static_cast<int>(bedCellCapacity()) - 1;
  int line = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        in.at("column", ++line);
        double v[8];
        if (twoLayers) {
          const int bottom = in.readIndex(0, NoCells);
          for (double &x : v) x = in.readDouble();
          const int b = in.readIndex(0, lastBedCell);
          setPoint(i, j, bottom, v);
          linkBedCell(i, j, bottom, b);
          readLayer(in, 1, b);
          readLayer(in, 0, b);
          continue;
        }
        int b = 0, bottom = 0;
        bool complete = in.tryInt(b) && in.tryInt(bottom);
        for (int k = 0; k < 4 && complete; ++k) complete = in.tryDouble(v[k]);
        if (!complete) {
          fatalExit(kExitSurfaceUpdate,
                    "Error reading 'alldata' file with more than two layers. The file must be made with version 353 "
                    "or later\n\n");
        }
        if (b < 0 || b > lastBedCell || bottom < 0 || bottom > NoCells) in.refuse();
        for (int k = 4; k < 8; ++k) v[k] = in.readDouble();
        setPoint(i, j, bottom, v);
        Cbed[bottom] = b;
        pointbed[i][j] = b;
        if (b <= 0) continue;
        Bkooi[b] = i;
        Bkooj[b] = j;
        const int top = in.readIndex(0, NoBedLayers);
        BlayerTop[b] = top;
        for (int layer = top; layer >= 0; --layer) readLayer(in, layer, b);
        removeZerolayers(b);
      }
    }
  }
  Cbed[0] = 0;
}

void readAveragedMovement(RecordReader &in) {
  if (surfacePlanes() <= 5) in.refuse();
  int line = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    for (int k = (blk.i2 - blk.i1 + 2) * (blk.j2 - blk.j1 + 2); k > 0; --k) {
      in.at("averaged bed movement", ++line);
      const int i = in.readIndex(0, xnumber + 1);
      const int j = in.readIndex(0, ynumber + 1);
      Surfaces[5][i][j] = 0.001 * in.readDouble();
    }
  }
}

// The bed cells under the faces of each discharge group whose cell lies on the bed.
void fillGroupBedCells() {
  for (int g = 1; g <= 9; ++g) {
    DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount <= 0) continue;
    int n = 0;
    for (int k = 0; k < group.faceCount; ++k) {
      const int f = group.faces[k];
      const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
      if (c <= 0 || Ccellb[c] != 0) continue;
      if (n + 1 >= kGroupBedCells) {
        fatalPrintf(kExitTableFull, nullptr,
                    "Error reading alldata file: more than %d bed cells in discharge group %d, use fewer faces in "
                    "the group\n",
                    kGroupBedCells - 1, g);
      }
      group.bedCells[++n] = Cbed[c];
    }
    group.bedCells[0] = n;
  }
}

}  // namespace

int ReadAllData() {
  RecordReader in;
  if (!in.open("alldata")) {
    fatalExit(kExitCannotOpen, "Error, have not been able to open alldata file\n", "cannot open file 'alldata' ");
  }
  in.at("header", 1);
  const int code = in.readInt();
  NoCells = in.readInt();
  NoSurfaces = in.readInt();
  NoBlocks = in.readInt();
  NoConnect = in.readInt();
  NoConnFlate = in.readInt();
  NoNestflater = in.readInt();
  NoPoints = in.readInt();
  if (code == 4 && FlagMorphStatistics == 0) {
    fatalExit(-55, "Error, it is necessary to use F 404 with this alldata file\n\n");
  }
  if (code != 3 && code != 4) in.refuse();
  if (!countsFitTables()) {
    fatalExit(kExitInconsistent,
              "Error reading the alldata file: the allocated arrays are smaller than the \n"
              "data in the file. Increase the values on the F 65 data set in the control\n"
              "file and try again\n\n",
              " Error reading alldata file - arrays ");
  }
  checkFixedCounts(in);
  // The file holds exactly the base grid, and later files are written with its counts.
  NoCells0 = NoCells;
  NoSurfaces0 = NoSurfaces;
  NoBlocks0 = NoBlocks;
  NoConnect0 = NoConnect;
  NoConnFlate0 = NoConnFlate;

  in.at("header", 2);
  const int sizes = in.readInt();
  const int layers = in.readInt();
  stimet = in.readDouble();
  if (sizes != lnumber || layers != NoBedLayers) {
    logText("Error in reading alldata file\n");
    logPrintf("The number of sediment sizes in allfile is %d. The number in the control file is %d.\n", sizes,
              lnumber);
    logPrintf("The number of bed layers in allfile is %d. The number in the control file is %d.\n", layers,
              NoBedLayers);
    fatalExit(kExitInconsistent, nullptr);
  }

  readPoints(in);
  readCellsWithFields(in);
  readFaces(in);
  for (int b = 1; b <= NoBlocks; ++b) {
    if (readBlockLine(in, b) != 0) in.refuse();
  }
  if (NoBlocks >= 1 && (block[1].j2 < 2 || block[1].i2 < 2)) {
    logPrintf("Error reading alldata file. Block 1 not properly defined: %d %d %d %d\n\n", block[1].i1, block[1].i2,
              block[1].j1, block[1].j2);
  }
  readConnections(in);
  readFacePairs(in);
  readDischargeGroups(in, 3, true);
  readSurfaceGroups(in);
  readColumns(in);
  readNesting(in);
  if (code == 4) readAveragedMovement(in);

  fillGroupBedCells();
  applyGroupOverrides();
  FlagReadAlldata = 1;
  FlagHaveDoneMetric = 0;
  // The fields of the file belong to these cells: nothing is carried over.
  FlagNeedsToBeInterpolated = 0;
  if (FlagNewGrid == 2) endOnGridFailure(operations.Unstructure());
  operations.metric();
  ArmapMake();
  operations.SetiPresjPres();
  operations.readBedrough();
  if (FlagBedAngles > 0) readBedangle();
  operations.BedMake();
  if (NoBlocks >= 1) operations.waterflow(block[1].FirstFace, block[1].LastFace);
  FlagInitialized = 1;
  FlagInitialFinished = 1;
  return 0;
}
