// Preparation of a flow computation on the current grid: group areas, the k
// and epsilon of the inflowing water, residual normalisers, the relaxation in
// use, the first flow field, vertical profiles and the wall roughness.
#include <algorithm>
#include <cmath>

#include "flow/drivers/flow_drivers.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

// What the inflow gives: the two running norms and the k and epsilon of the
// inflowing water.
struct InflowNorms {
  double momentum = 0.1;  // 0.1 + sum of Q U over the inflow groups
  double mass = 10.0;     // 10 + sum of Q
  double k = NormK;
  double epsilon = NormEps;
};

// 1. The area of every group with a discharge; its faces carry flow.
void groupAreas() {
  for (int g = 0; g < kDischargeGroups; ++g) {
    DischargeGroup &group = DischargeStruct[g];
    if (!(std::fabs(group.discharge) > 1e-20)) continue;
    double area = 0.0;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (f < 1 || f > NoSurfaces) continue;
      area += Farea[f];
      Fflagflow[f] = 1;
    }
    group.area = area;
  }
}

double topArea() {
  double area = 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0 && Cflatet[c] >= 1) area += Farea[Cflatet[c]];
  }
  return area;
}

// 2. Inflow values and the running norms.
InflowNorms inflowNorms() {
  InflowNorms in;
  if (FlagMPI == 0) {
    for (int g = 0; g < kDischargeGroups; ++g) {
      DischargeGroup &group = DischargeStruct[g];
      if (group.type != 1 || !(std::fabs(group.discharge) > 1e-20)) continue;
      const double q = group.discharge;
      const double u = q * 0.001 / (group.area + 1e-5);
      in.mass += q;
      in.momentum += q * u;
      if (FlagNormSet == 0) {
        // k from a turbulence intensity of 5 %; epsilon from the length
        // scale of the inflow cross-section.
        in.k = 0.0025 * u * u;
        double start = 0.8 * in.k;
        if (in.k <= 1e-6) {
          in.k = 1e-6;
          start = 8e-7;
        }
        in.epsilon = start * std::sqrt(in.k / (group.area + 1e-10));
      }
      group.inflowK = in.k;
      group.inflowEpsilon = in.epsilon;
      NormResidual[5] = in.mass * in.k;
      NormResidual[6] = in.mass * in.epsilon;
    }
  } else {
    in.momentum = in.mass = DischargeStruct[1].discharge;
    if (FlagNormSet == 0) in.k = in.epsilon = 0.01;
    DischargeStruct[1].inflowK = in.k;
    DischargeStruct[1].inflowEpsilon = in.epsilon;
    NormResidual[5] = in.mass * in.k;
    NormResidual[6] = in.mass * in.epsilon;
  }

  const double wind = Wind[0];
  if (wind > 1e-5) {
    const double area = topArea();
    const double drive = wind * wind * 0.001 * 1000.0 * area;
    in.momentum += drive;
    in.mass += 0.1 * drive;
    if (FlagNormSet == 0) {
      in.k = std::pow(std::fabs(wind), 2.5) * 0.0033333 * 1.2 * 0.5 * 0.001;
      in.epsilon = std::sqrt(in.k) * 0.164317 * 2.5 / (Ckdist[1] + 1e-20);
    }
    NormResidual[5] = in.mass * in.k;
    NormResidual[6] = in.mass * in.epsilon;
  } else if (wind > 1e-10) {
    const double area = topArea();
    in.momentum += area * 0.0001;
    in.mass += area * 0.00001;
    if (FlagNormSet == 0) {
      in.k = 1.9999800000000003e-11;
      in.epsilon = 3.599928000360001e-17;
    }
    NormResidual[5] = NormResidual[6] = in.mass * 0.0001;
  }
  return in;
}

// 3. The relaxation in use: the K 3 values within their working bounds.
void relaxationInUse(bool first) {
  if (relax[1] > 0.001 && relax[1] < 2.0) {
    relaxVelocity = relax[1];
    invRelaxVelocity = 1.0 / relax[1];
  } else {
    relaxVelocity = 0.001;
    invRelaxVelocity = 1000.0;
  }
  relaxPressure = relax[4] > 0.001 && relax[4] < 2.0 ? relax[4] : 0.001;
  relaxK = relax[5] > 0.01 && relax[5] < 2.0 ? relax[5] : 0.01;
  relaxEpsilon = relax[6] > 0.01 && relax[6] < 2.0 ? relax[6] : 0.01;
  if (!first) return;
  logPrintf("Relaxation: %lf %lf %lf %lf\n", relaxVelocity, relaxPressure, relaxK, relaxEpsilon);
  if (debugging == 'D' && NoProcessesSolver >= 1) {
    logText("OpenMP G 50");
    for (int e = 0; e < 10; ++e) logPrintf(" %d", FlagOpenMP[e]);
    logText("\n");
  }
}

// Hydrostatic pressure down from the top of every column whose top cell
// `isTop` accepts, each centre 9810 times its depth below that top (added
// to what the cell holds when `add`), as long as `inColumn` accepts the cell.
template <class IsTop, class InColumn>
void hydrostatic(IsTop isTop, InColumn inColumn, bool add) {
  for (int top = 1; top <= NoCells; ++top) {
    if (!isTop(top)) continue;
    double depth = 0.0;
    for (int c = top; c >= 1 && inColumn(c); c = Ccellb[c]) {
      depth += Ckdist[c];
      Cpres[c] = (add ? Cpres[c] : 0.0) + 9810.0 * depth;
      depth += Ckdist[c];
    }
  }
}

void layerPressure(int b) {
  const int first = block[b].FirstCell, last = block[b].LastCell;
  auto inBlock = [first, last](int c) { return c >= first && c <= last; };
  hydrostatic([&](int c) { return inBlock(c) && !inBlock(Ccellt[c]); }, inBlock, true);
}

// 5. The first flow field.
void firstField(const InflowNorms &in) {
  if (UInitNo == 0) {
    for (int c = 0; c <= NoCells; ++c) {
      Cxvel[c] = Cyvel[c] = Czvel[c] = Cpres[c] = CinvAp[c] = 0.0;
      Ckinen[c] = in.k;
      Cepsilon[c] = in.epsilon;
      Cconc[0][c] = 0.0;
      if (TurbDensFlag == 5 && CdampDensity) CdampDensity[c] = 1.0;
    }
  }
  if (FlagGravity > 0) {
    hydrostatic([](int c) { return Ccellt[c] == 0; }, [](int) { return true; }, false);
  }
  if (FlagThixo == 1 && NoBlocks >= 1) layerPressure(1);
  if (FlagThixo >= 2 && NoBlocks >= 2 && block[2].LayerMark > 0) layerPressure(2);
  if (UInitNo > 0) {
    const UInitEntry &start = UInit[UInitNo];
    for (int c = 0; c <= NoCells; ++c) {
      CinvAp[c] = 0.0;
      Cxvel[c] = start.value[1];
      Cyvel[c] = start.value[2];
      Czvel[c] = start.value[3];
      Ckinen[c] = start.value[5];
      Cepsilon[c] = start.value[6];
      Cconc[0][c] = 0.0;
      if (start.value[4] > 0) Cpres[c] = start.value[4];
    }
  }
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
}

// A vertical profile of pairs 1..count (level, value), highest level first,
// at level z; outside the given levels the nearest end value holds.
double profileAt(const double (*pairs)[2], int count, double z) {
  if (count < 1) return 0.0;
  if (z >= pairs[1][0]) return pairs[1][1];
  for (int i = 2; i <= count; ++i) {
    if (pairs[i][0] <= z && z < pairs[i - 1][0]) {
      const double w = (pairs[i - 1][0] - z) / (pairs[i - 1][0] - pairs[i][0] + 1e-20);
      return w * pairs[i][1] + (1.0 - w) * pairs[i - 1][1];
    }
  }
  return pairs[count][1];
}

// 6. Vertical profiles of the temperature and the components.
void profiles() {
  if (!Ccomp) return;
  const bool temperature = TemperatureFlag == 1 && NoComponents > 0;
  if (temperature && NoVerttemp > 0 && Seiche7 == 0) {
    for (int c = 1; c <= NoCells; ++c) Ccomp[0][c] = profileAt(Verttemp, NoVerttemp, Czcenter[c]);
  }
  for (int q = 0; q < NoQI; ++q) {
    const int n = NoVariable[q];
    if (n < 0 || n >= NoComponents) continue;
    const bool transient = TimeStep > 1e-8 && Ccomp_old;
    for (int c = 1; c <= NoCells; ++c) {
      Ccomp[n][c] = profileAt(VertQInit[q], NoVertInit[q], Czcenter[c]);
      if (transient) Ccomp_old[n][c] = Ccomp[n][c];
    }
  }
  if (temperature && Seiche7 == 1) {
    for (int b = 1; b <= NoBlocks; ++b) {
      const int first = block[b].FirstCell, last = block[b].LastCell;
      const int half = first + (last - first) / 2;
      for (int c = std::max(first, 1); c <= last; ++c) Ccomp[0][c] = c <= half ? 10.0 : 20.0;
    }
  } else if (temperature && Seiche7 == 2) {
    for (int c = 1; c <= NoCells; ++c) Ccomp[0][c] = level - Czcenter[c] <= 2.0 ? 20.0 : 10.0;
  }
}

// 7. Wall roughness of the cells.
void wallRoughness(bool first) {
  if (XksWall < 0) XksWall = std::pow(26.0 / ManningInit, 6);
  XksWall = std::max(XksWall, 1e-5);
  for (int c = 1; c <= NoCells; ++c) Croughness[c] = XksWall;
  if (FlagRoughness == 1 && roughness) {
    for (int i = 2; i <= xnumber; ++i) {
      for (int j = 2; j <= ynumber; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c < 1 || c > NoCells) continue;
        Croughness[c] = roughness[i][j];
        if (Cbed && Broughness && Cbed[c] >= 1) Broughness[Cbed[c]] = roughness[i][j];
      }
    }
  } else if (FlagRoughness >= 2 && FlagRoughness <= 6 && !first && Broughness) {
    for (int b = WBStart; b <= WBEnd; ++b) {
      if (Broughness[b] > 1e-10 && Bcellt[b] >= 1) Croughness[Bcellt[b]] = Broughness[b];
    }
  }
  if (MGSNo > 0 && MGSCpoint) {
    for (int i = 2; i <= xnumber; ++i) {
      for (int j = 2; j <= ynumber; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c >= 1 && MGSCpoint[c] && MGSCpoint[c][0] >= 1) Croughness[MGSCpoint[c][0]] = Croughness[c];
      }
    }
    const int coarse = NoBlocks - MGSNo + 2;
    if (MGSNo > 2 && coarse >= 1 && coarse <= NoBlocks) {
      for (int c = std::max(block[coarse].FirstCell, 1); c <= NoCells; ++c) {
        if (!MGSCpoint[c]) continue;
        double sum = 0.0;
        for (int e = 1; e <= 4; ++e) sum += Croughness[MGSCpoint[c][e]];
        Croughness[c] = 0.25 * sum;
      }
    }
  }
}

// 8. A new start of the pressure regression.
void clearRegression() {
  if (PresRegres <= 0 || !PresRegresN) return;
  RegIter = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].BlockKind != 0) continue;
    for (int i = block[b].i1; i <= block[b].i2; ++i) {
      for (int j = block[b].j1; j <= block[b].j2; ++j) {
        PresRegresN[i][j] = PresRegresSumX[i][j] = PresRegresSumXX[i][j] = 0;
        PresRegresSumPres[i][j] = PresRegresSumXPres[i][j] = 0.0;
      }
    }
  }
}

}  // namespace

void startup() {
  const bool first = FlagInitialized == 0;
  logText("");  // a log that cannot be opened ends the run before anything is set
  groupAreas();
  const InflowNorms in = inflowNorms();
  relaxationInUse(first);
  if (FlagNormSet == 2) {
    NormResidual[1] = NormResidual[2] = NormResidual[3] = NormVel;
    NormResidual[4] = NormPres;
    NormResidual[5] = NormK;
    NormResidual[6] = NormEps;
  } else {
    NormResidual[1] = NormResidual[2] = NormResidual[3] = in.momentum;
    NormResidual[4] = in.mass;
  }
  block[0].FirstCell = 1;
  block[0].LastCell = NoCells;
  if (first) firstField(in);
  profiles();
  wallRoughness(first);
  if (first) {
    clearRegression();
    FlagNeedsToBeInterpolated = 0;
  }
}
