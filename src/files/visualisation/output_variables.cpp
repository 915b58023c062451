// Names and values of the G 24 output variables. Arrays of options that are
// off stay null, and layers or components beyond a table do not exist: such
// a letter writes 0 rather than reading memory that is not there.
#include "files/visualisation/output_variables.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

constexpr double kDegrees = 57.29746936176985;  // 180 / 3.1415

// --- guarded reads: 0 where the table or the row does not exist ---

double at(const double *table, int index) { return table ? table[index] : 0.0; }

bool layerExists(int layer) { return layer >= 0 && layer <= NoBedLayers; }

double sedDistrib(int layer, int k, int b) {
  if (!BSedDistrib || !layerExists(layer) || k < 0 || k > lnumber) return 0.0;
  return BSedDistrib[layer][k][b];
}

double layerTable(double **table, int layer, int b) {
  return table && layerExists(layer) ? table[layer][b] : 0.0;
}

double component(int n, int c) { return Ccomp && n >= 0 && n < NoComponents ? Ccomp[n][c] : 0.0; }

double plane(int p, int i, int j) { return Surfaces && p < surfacePlanes() ? Surfaces[p][i][j] : 0.0; }

double concentration(int size, int c) { return Cconc && size >= 0 && size <= lnumber ? Cconc[size][c] : 0.0; }

double speed(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

int topOf(int c) {
  if (c == 0) return 0;
  while (Ccellt[c] != 0) c = Ccellt[c];
  return c;
}

// Sums over the water column of a cell, walked from its bottom cell up.
struct ColumnSums {
  int n = 0;
  double depth = 0.0, speedSum = 0.0, weighted = 0.0, halfHeights = 0.0;
};

ColumnSums columnSums(int c) {
  ColumnSums s;
  for (int k = columnBottom(c); k != 0; k = Ccellt[k]) {
    const double u = speed(k);
    ++s.n;
    s.depth += 2.0 * Ckdist[k];
    s.halfHeights += Ckdist[k];
    s.speedSum += u;
    s.weighted += Ckdist[k] * u;
  }
  return s;
}

double reynolds(int c) {
  const ColumnSums s = columnSums(c);
  return s.n == 0 ? 0.0 : s.speedSum * 1e6 / (s.n + 1e-20) * s.depth;
}

double depthAveragedSpeed(int c) {
  const ColumnSums s = columnSums(c);
  return s.n == 0 ? 0.0 : s.weighted / (s.halfHeights + 1e-20);
}

double froude(int c) {
  const ColumnSums s = columnSums(c);
  return s.n == 0 ? 0.0 : s.speedSum / (s.n * std::sqrt(9.81 * s.depth) + 1e-20);
}

double bedSlope(int c) { return std::acos(Fvz[Cflateb[columnBottom(c)]]) * kDegrees; }

// The turning of the flow between bed and surface.
double secondaryAngle(int c) {
  const int bottom = columnBottom(c), top = topOf(c);
  const double ub = Cxvel[bottom], vb = Cyvel[bottom], ut = Cxvel[top], vt = Cyvel[top];
  return std::asin((ub * vt - vb * ut) / std::sqrt((ub * ub + vb * vb) * (ut * ut + vt * vt) + 1e-20)) * kDegrees;
}

double maxKineticAbove(int c) {
  if (c == 0) return 0.0;
  double k = Ckinen[c];
  for (int n = Ccellt[c]; n != 0; n = Ccellt[n]) k = std::fmax(k, Ckinen[n]);
  return k;
}

double roughnessPerDepth(int c, int b) {
  double h = 0.0;
  for (int n = c; n != 0; n = Ccellt[n]) h += 2.0 * Ckdist[n];
  return at(Broughness, b) / (h + 1e-20);
}

double cellsAbove(int c) {
  int n = 1;
  for (int k = c == 0 ? 0 : Ccellt[c]; k != 0; k = Ccellt[k]) ++n;
  return n;
}

double bedShear(int b) {
  const int bottom = Bcellt ? Bcellt[b] : 0;
  return bottom == 0 ? 0.0 : 300.0 * Ckinen[bottom];
}

// The size class with the largest fraction of layer 1, the first of equal
// maxima; 0 when no fraction is positive.
double largestFraction(int b) {
  int best = 0;
  double most = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    const double f = sedDistrib(1, k, b);
    if (f > most) {
      most = f;
      best = k;
    }
  }
  return best;
}

double bedThickness(int b) {
  double sum = 0.0;
  for (int layer = 0; layer < NoBedLayers; ++layer) sum += sedDistrib(layer, 0, b);
  return sum;
}

double layerPercentile(int layer, int b) {
  double f[kMaxGrainSizes + 2] = {};
  for (int k = 1; k <= lnumber; ++k) f[k] = sedDistrib(layer, k, b);
  return percentileDiameter(f, lnumber, di_graph);
}

double suspendedPercentile(int c) {
  double f[kMaxGrainSizes + 2] = {};
  const double total = concentration(0, c) + 1e-20;
  for (int k = 1; k <= lnumber; ++k) f[k] = concentration(k, c) / total;
  return percentileDiameter(f, lnumber, di_graph);
}

// The vertical temperature gradient near the surface, from the top cell and
// the cells below it, for the two layer counts it is calibrated for.
double temperatureGradient(int c) {
  if (znumber != 12 && znumber != 20) return 0.0;
  int t[9] = {};
  t[1] = topOf(c);
  for (int n = 2; n <= 8; ++n) t[n] = t[n - 1] == 0 ? 0 : Ccellb[t[n - 1]];
  auto T = [&](int n) { return component(0, t[n]); };
  if (znumber == 12) return 0.417 * T(4) + 0.444 * T(3) - 0.222 * T(1) - 0.639 * T(2);
  return -0.1667 * T(2) - 0.5 * T(3) - 0.3333 * T(4) + 0.4167 * T(5) + 0.0833 * T(6) + 0.4167 * T(7) +
         0.0833 * T(8);
}

double cellOrBedRoughness(int c, int b) {
  const double r = at(Broughness, b);
  return r < 1e-15 ? at(Croughness, c) : r;
}

double bottomConcentrationSum(int b) {
  const int bottom = Bcellt ? Bcellt[b] : 0;
  double sum = 0.0;
  for (int k = 1; k <= lnumber; ++k) sum += concentration(k, bottom);
  return sum;
}

double planeAtColumn(int p, int b) {
  if (!Bkooi || !Bkooj) return 0.0;
  return plane(p, Bkooi[b], Bkooj[b]);
}

double plasticDeposits(int size, int b) {
  return FlagPlastics >= 1 && BplasticDeposits && size >= 0 && size <= lnumber ? BplasticDeposits[size][b] : 0.0;
}

using CellKernel = double (*)(const OutputVariable &, int, int);

// Z by sub-code; the plan file's bed class reads the total concentration of
// the bottom cell for 105, and only the ParaView plan file prints plastics.
CellKernel zKernel(int subcode, VisWriter writer, bool bedClass) {
  switch (subcode) {
    case 100: return [](const OutputVariable &, int, int b) { return planeAtColumn(6, b); };
    case 101: return [](const OutputVariable &, int, int b) { return planeAtColumn(7, b); };
    case 102:
      return [](const OutputVariable &v, int c, int) {
        return concentration(v.entry.sizeIndex, c) / (concentration(0, c) + 1e-20);
      };
    case 103: return [](const OutputVariable &, int c, int) { return suspendedPercentile(c); };
    case 104: return [](const OutputVariable &, int, int b) { return at(Bfractionsprint, b); };
    case 105:
      if (bedClass) {
        return [](const OutputVariable &, int, int b) { return concentration(0, Bcellt ? Bcellt[b] : 0); };
      }
      return [](const OutputVariable &, int, int b) { return bottomConcentrationSum(b); };
    case 106:
      if (writer != VisWriter::ParaViewPlan) break;
      return [](const OutputVariable &v, int, int b) { return plasticDeposits(v.entry.sizeIndex, b); };
    case 107: return [](const OutputVariable &, int, int b) { return at(Bminwaterlevel, b); };
    default: break;
  }
  return [](const OutputVariable &, int, int) { return 0.0; };
}

CellKernel cellKernel(const TecStrucEntry &e, VisWriter writer, bool bedClass) {
  const bool tecplot = writer == VisWriter::TecplotPlan || writer == VisWriter::Tecplot3D;
  switch (e.letter) {
    case 'A': return [](const OutputVariable &, int c, int) { return reynolds(c); };
    case 'B': return [](const OutputVariable &, int c, int) { return bedSlope(c); };
    case 'C': return [](const OutputVariable &, int c, int) { return secondaryAngle(c); };
    case 'D':
      if (bedClass) {
        return [](const OutputVariable &, int, int b) { return depthAveragedSpeed(Bcellt ? Bcellt[b] : 0); };
      }
      return [](const OutputVariable &, int c, int) { return depthAveragedSpeed(c); };
    case 'E': return [](const OutputVariable &, int c, int) { return at(Cepsilon_res, c); };
    case 'F': return [](const OutputVariable &, int c, int) { return froude(c); };
    case 'G': return [](const OutputVariable &, int, int b) { return at(Bgroundwater, b); };
    case 'H':
      return [](const OutputVariable &, int c, int) { return std::hypot(at(Cxvel_res, c), at(Cyvel_res, c)); };
    case 'I': return [](const OutputVariable &, int c, int) { return at(CgammaV, c); };
    case 'J': return [](const OutputVariable &, int c, int) { return maxKineticAbove(c); };
    case 'K': return [](const OutputVariable &, int c, int) { return at(Ckinen_res, c); };
    case 'L': return [](const OutputVariable &v, int, int b) { return sedDistrib(v.layer, 0, b); };
    case 'N': return [](const OutputVariable &v, int, int b) { return layerTable(Bsolidfraction, v.layer, b); };
    case 'O':
      return [](const OutputVariable &v, int, int b) {
        return Bconc && v.entry.sizeIndex <= lnumber ? Bconc[v.entry.sizeIndex][b] : 0.0;
      };
    case 'P': return [](const OutputVariable &, int c, int) { return at(Cporosity, c); };
    case 'Q': return [](const OutputVariable &, int, int b) { return at(Bdefect, b); };
    case 'R': return [](const OutputVariable &, int c, int) { return at(Cpres_res, c); };
    case 'T': return [](const OutputVariable &, int c, int) { return Cstress ? Cstress[0][c] : 0.0; };
    case 'U': return [](const OutputVariable &, int, int b) { return at(Bedmove, b); };
    case 'V':
    case 'u': return [](const OutputVariable &, int c, int) { return speed(c); };
    case 'W': return [](const OutputVariable &, int c, int) { return at(Czvel_res, c); };
    case 'X':
      if (tecplot || writer == VisWriter::ParaViewCross) {
        return [](const OutputVariable &, int, int b) { return planeAtColumn(5, b); };
      }
      break;
    case 'Y': return [](const OutputVariable &, int, int b) { return std::fabs(at(Bfly, b)); };
    case 'Z': return zKernel(e.subcode, writer, bedClass);
    case 'a': return [](const OutputVariable &v, int, int b) { return layerPercentile(v.layer, b); };
    case 'b': return [](const OutputVariable &, int, int b) { return at(Bedformheight, b); };
    case 'c': return [](const OutputVariable &v, int c, int) { return concentration(v.entry.sizeIndex, c); };
    case 'd': return [](const OutputVariable &, int c, int) { return at(Cgamma, c); };
    case 'e': return [](const OutputVariable &, int c, int) { return Cepsilon[c]; };
    case 'f':
      return [](const OutputVariable &v, int, int b) { return sedDistrib(v.layer, v.entry.sizeIndex, b); };
    case 'h': return [](const OutputVariable &, int c, int b) { return roughnessPerDepth(c, b); };
    case 'i': return [](const OutputVariable &, int c, int) { return cellsAbove(c); };
    case 'j': return [](const OutputVariable &v, int, int b) { return layerTable(Bcohesion, v.layer, b); };
    case 'k': return [](const OutputVariable &, int c, int) { return Ckinen[c]; };
    case 'l': return [](const OutputVariable &, int, int b) { return bedThickness(b); };
    case 'm': return [](const OutputVariable &, int, int b) { return bedShear(b); };
    case 'o': return [](const OutputVariable &, int, int b) { return largestFraction(b); };
    case 'p': return [](const OutputVariable &, int c, int) { return Cpres[c]; };
    case 'q':
      if (tecplot) return [](const OutputVariable &, int c, int) { return component(0, c); };
      return [](const OutputVariable &v, int c, int) { return component(v.entry.sizeIndex, c); };
    case 'r': return [](const OutputVariable &, int c, int b) { return cellOrBedRoughness(c, b); };
    case 'w': return [](const OutputVariable &, int c, int) { return Czvel[c]; };
    case 'x': return [](const OutputVariable &, int c, int) { return temperatureGradient(c); };
    default: break;
  }
  return [](const OutputVariable &, int, int) { return 0.0; };
}

// --- names ---

// What the %d of a name is filled with.
enum class Arg { None, Level, Size, LayerPlus1, Layer, DLevel, DLayerPlus1, LevelSize, SizeLevel, LayerSize };

struct Name {
  const char *text;
  Arg arg;
};

struct NameRow {
  char letter;
  Name tecPlan, tec3D, pvPlan, pv3D;
};

constexpr Name kError{"Error", Arg::None};

// The names by letter, in the columns Tecplot plan, Tecplot 3D, ParaView
// plan and ParaView 3D. Users' layouts and scripts refer to them: they are
// kept exactly, trailing blanks included.
constexpr NameRow kNames[] = {
    {'A', {"Reynolds number", Arg::None}, {"Reynolds number", Arg::None}, {"Reynolds_number", Arg::None}, {"Reynolds_number", Arg::None}},
    {'B', {"Bed slope ", Arg::None}, {"Bed slope ", Arg::None}, kError, {"Bed_slope", Arg::None}},
    {'C', {"Secondary current angle ", Arg::None}, {"Secondary current angle ", Arg::None}, {"Secondary_current_angle", Arg::None}, {"Secondary_current_angle", Arg::None}},
    {'D', {"Depth-averaged velocity", Arg::None}, {"Depth-averaged velocity", Arg::None}, {"Depth-averaged_velocity", Arg::None}, {"Depth-averaged_velocity", Arg::None}},
    {'E', {"Residual epsilon %d ", Arg::Level}, {"Residual epsilon %d ", Arg::Level}, {"Residual_epsilon_%d", Arg::Level}, {"Residual_epsilon", Arg::None}},
    {'F', {"Froude number", Arg::None}, {"Froude number", Arg::None}, {"Froude_number", Arg::None}, {"Froude_number", Arg::None}},
    {'G', kError, kError, {"Groundwater_level_[m]", Arg::None}, {"Groundwater_level_[m]", Arg::None}},
    {'H', {"Residual horizontal velocity %d ", Arg::Level}, {"Residual horizontal velocity %d ", Arg::Level}, {"Residual_horizontal_velocity_%d", Arg::Level}, {"Residual_horizontal velocity", Arg::None}},
    {'I', {"Eddy-viscosity-vert%d ", Arg::Level}, {"Eddy-viscosity-vert %d ", Arg::Level}, kError, kError},
    {'J', kError, kError, {"Max_kinetic_energy", Arg::None}, kError},
    {'K', {"Residual k %d ", Arg::Level}, {"Residual k %d ", Arg::Level}, {"Residual_k_%d", Arg::Level}, {"Residual_k", Arg::None}},
    {'L', {"Sediment layer %d thickness", Arg::Level}, {"Top sediment layer thickness", Arg::None}, {"Sediment_layer_thickness_level_%d", Arg::LayerPlus1}, {"Top_sediment_layer_thickness", Arg::None}},
    {'M', kError, kError, {"Sediment_slide_elevation_changes_[m]", Arg::None}, {"Sediment_slide_elevation_changes_[m]", Arg::None}},
    {'N', {"Bed solid fraction layer %d ", Arg::Level}, kError, {"Bed_sediment_fraction_layer_%d", Arg::Level}, kError},
    {'O', {"Potential bed concentration ", Arg::None}, {"Potential bed concentration ", Arg::None}, {"Potential_sediment_concentration_%d", Arg::Size}, {"Potential bed concentration", Arg::None}},
    {'P', {"Porosity %d ", Arg::Level}, {"Porosity %d ", Arg::Level}, {"Porosity_%d", Arg::Level}, {"Porosity", Arg::None}},
    {'Q', kError, kError, kError, kError},
    {'R', {"Residual pressure %d ", Arg::Level}, {"Residual pressure %d ", Arg::Level}, {"Residual_pressure_%d", Arg::Level}, {"Residual_pressure", Arg::None}},
    {'S', kError, kError, kError, kError},
    {'T', kError, kError, kError, kError},
    {'U', kError, kError, {"Bed_movement_in_time_step_[m]", Arg::None}, {"Bed_movement_in_time_step_[m]", Arg::None}},
    {'V', {"Horiz. velocity", Arg::None}, {"Horiz. velocity", Arg::None}, {"Horiz_velocity", Arg::None}, {"Horiz_velocity", Arg::None}},
    {'u', {"Horiz. velocity", Arg::None}, {"Horiz. velocity", Arg::None}, {"Horiz_velocity", Arg::None}, {"Horiz_velocity", Arg::None}},
    {'W', {"Residual vertical velocity %d ", Arg::Level}, {"Residual vertical velocity %d ", Arg::Level}, {"Residual_vertical_velocity_%d", Arg::Level}, {"Residual_vertical velocity", Arg::None}},
    {'X', kError, kError, {"Bed_movement_averaged_[m]", Arg::None}, {"Averaged_bed_movements_[m]", Arg::None}},
    {'Y', kError, kError, kError, kError},
    {'a', {"D%2d level %d", Arg::DLevel}, {"D%2d layer %d", Arg::DLayerPlus1}, {"D%2d_level_%d", Arg::DLayerPlus1}, {"D%2d_level%d", Arg::DLayerPlus1}},
    {'b', {"Bed form height", Arg::None}, {"Bed form height", Arg::None}, {"Bed_form_height", Arg::None}, {"Bed_form_height", Arg::None}},
    {'c', {"Sediment conc. lev %d size %d", Arg::LevelSize}, {"Sediment conc. lev %d size %d", Arg::LevelSize}, {"Sediment_conc_lev_%d_size_%d", Arg::LevelSize}, {"Sediment_conc_size_%d", Arg::Size}},
    {'d', {"Eddy-viscosity-horiz %d ", Arg::Level}, {"Eddy-viscosity-horiz %d ", Arg::Level}, {"Eddy-viscosity_%d", Arg::Level}, {"Eddy-viscosity", Arg::None}},
    {'e', {"Epsilon", Arg::None}, {"Epsilon", Arg::None}, {"Epsilon", Arg::None}, {"Epsilon", Arg::None}},
    {'f', {"Bed sediment fraction, size %d, level %d", Arg::SizeLevel}, {"Bed sediment fraction, size %d", Arg::Size}, {"Bed_sediment_fraction_layer_%d_size_%d", Arg::LevelSize}, {"Bed_sediment_fraction_layer_%d_size_%d", Arg::LayerSize}},
    {'g', kError, {"Water_level", Arg::None}, kError, kError},
    {'h', {"Roughness/Depth", Arg::None}, {"Roughness/Depth", Arg::None}, {"Roughness/Depth", Arg::None}, {"Roughness/Depth", Arg::None}},
    {'i', {"No. cells vertical direction", Arg::None}, {"No_cells vertical direction", Arg::None}, {"No_cells_vertical_direction", Arg::None}, {"No_cells_vertical_direction", Arg::None}},
    {'j', kError, kError, {"Bed_cohesion_%d", Arg::LayerPlus1}, {"Bed_cohesion_%d", Arg::LayerPlus1}},
    {'k', {"Turbulent k %d ", Arg::Level}, {"Turbulent k %d ", Arg::Level}, {"Turbulent_k_%d", Arg::Level}, {"Turbulent_k", Arg::None}},
    {'l', {"Bed sediment thickness", Arg::None}, {"Bed sediment thickness", Arg::None}, {"Bed_sediment_thickness", Arg::None}, {"Bed_sediment_thickness", Arg::None}},
    {'m', {"Bed shear", Arg::None}, {"Bed_shear", Arg::None}, {"Bed_shear", Arg::None}, {"Bed_shear", Arg::None}},
    {'n', kError, kError, kError, kError},
    {'o', {"Maximum size fraction ", Arg::None}, kError, kError, kError},
    {'p', {"Pressure %d ", Arg::Level}, {"Pressure_%d ", Arg::Level}, {"Pressure_%d", Arg::Level}, {"Pressure", Arg::None}},
    {'q', {"Water Quality %d ", Arg::Level}, {"Water Quality %d ", Arg::Level}, {"Water_Quality_%d ", Arg::Level}, {"Water_Quality_%d ", Arg::Size}},
    {'r', {"Roughness", Arg::None}, {"Roughness", Arg::None}, {"Roughness", Arg::None}, {"Roughness", Arg::None}},
    {'s', {"Bed movement", Arg::None}, {"Bed movement", Arg::None}, {"Bed_movement", Arg::None}, {"Bed_movement", Arg::None}},
    {'t', {"Sediment thickness", Arg::None}, {"Sediment thickness", Arg::None}, {"Sediment_thickness", Arg::None}, {"Sediment_thickness", Arg::None}},
    {'v', {"Water level", Arg::None}, {"Water level", Arg::None}, {"Water_level", Arg::None}, {"Water_level", Arg::None}},
    {'w', {"Uz %d ", Arg::Level}, {"Uz %d ", Arg::Level}, {"Uz_%d", Arg::Level}, {"Uz", Arg::None}},
    {'x', {"Temperature gradient", Arg::None}, {"Temperature gradient", Arg::None}, {"Temperature_gradient", Arg::None}, {"Temperature_gradient", Arg::None}},
    {'y', {"Depth", Arg::None}, {"Depth", Arg::None}, {"Depth", Arg::None}, {"Depth", Arg::None}},
    {'z', {"Bed level", Arg::None}, {"Bed level", Arg::None}, {"Bed_level", Arg::None}, {"Bed_level", Arg::None}},
};

// The Z names of the ParaView files by sub-code; both Tecplot files name Z "Error".
Name zName(int subcode, VisWriter writer) {
  const bool plan = writer == VisWriter::ParaViewPlan;
  switch (subcode) {
    case 100: return plan ? kError : Name{"Averaged_secondary_current[]", Arg::None};
    case 102: return plan ? kError : Name{"Fraction_size_%d_[]", Arg::Size};
    case 103: return plan ? kError : Name{"D50_of_concentration", Arg::None};
    case 104:
      if (!plan) return {"Tracer_fraction", Arg::None};
      return FlagFractionsPrint == 1 ? Name{"Tracer_fractions", Arg::None} : kError;
    case 105: return {"Bed_concentration", Arg::None};
    case 106: return plan && FlagPlastics >= 1 ? Name{"Plastic_deposits", Arg::None} : kError;
    case 107: return {"Bminwaterlevel", Arg::None};
    default: return kError;
  }
}

Name nameOf(const TecStrucEntry &e, VisWriter writer) {
  if (e.letter == 'Z') {
    if (writer == VisWriter::TecplotPlan || writer == VisWriter::Tecplot3D) return kError;
    return zName(e.subcode, writer == VisWriter::ParaViewCross ? VisWriter::ParaView3D : writer);
  }
  for (const NameRow &row : kNames) {
    if (row.letter != e.letter) continue;
    switch (writer) {
      case VisWriter::TecplotPlan: return row.tecPlan;
      case VisWriter::Tecplot3D: return row.tec3D;
      case VisWriter::ParaViewPlan: return row.pvPlan;
      case VisWriter::ParaView3D: return row.pv3D;
      case VisWriter::ParaViewCross: return row.letter == 'j' ? kError : row.pv3D;  // as the 3D file, but j
    }
  }
  return kError;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
void fillName(const Name &n, const TecStrucEntry &e, int layer, char *out, int size) {
  const int d = static_cast<int>(100.0 * di_graph);
  switch (n.arg) {
    case Arg::None: std::snprintf(out, size, "%s", n.text); break;
    case Arg::Level: std::snprintf(out, size, n.text, e.levelIndex); break;
    case Arg::Size: std::snprintf(out, size, n.text, e.sizeIndex); break;
    case Arg::LayerPlus1: std::snprintf(out, size, n.text, layer + 1); break;
    case Arg::Layer: std::snprintf(out, size, n.text, layer); break;
    case Arg::DLevel: std::snprintf(out, size, n.text, d, e.levelIndex); break;
    case Arg::DLayerPlus1: std::snprintf(out, size, n.text, d, layer + 1); break;
    case Arg::LevelSize: std::snprintf(out, size, n.text, e.levelIndex, e.sizeIndex); break;
    case Arg::SizeLevel: std::snprintf(out, size, n.text, e.sizeIndex, e.levelIndex); break;
    case Arg::LayerSize: std::snprintf(out, size, n.text, layer, e.sizeIndex); break;
  }
}
#pragma GCC diagnostic pop

// The legacy VTK format reads a data name as one word: a blank between two
// characters becomes an underscore, blanks at the ends stay.
void joinWords(char *name) {
  const int length = static_cast<int>(std::strlen(name));
  int first = 0, last = length - 1;
  while (first < length && name[first] == ' ') ++first;
  while (last >= 0 && name[last] == ' ') --last;
  for (int k = first; k < last; ++k) {
    if (name[k] == ' ') name[k] = '_';
  }
}

}  // namespace

int columnBottom(int c) {
  if (c == 0) return 0;
  while (Ccellb[c] != 0) c = Ccellb[c];
  return c;
}

int tecplotPlanLayer(const TecStrucEntry &e) {
  if (e.letter == 'N') return e.levelIndex;
  return (e.levelIndex > 1 ? e.levelIndex : 1) - 1;
}

int paraViewLayer(const TecStrucEntry &e) {
  if (NoBedLayers == 2) return e.levelIndex;
  return (e.levelIndex > 1 ? e.levelIndex : 1) - 1;
}

bool structuredLetter(char letter, VisWriter writer) {
  switch (letter) {
    case 's':
    case 't':
    case 'v':
    case 'y':
    case 'z': return true;
    case 'M':
    case 'X': return writer == VisWriter::ParaViewPlan || writer == VisWriter::ParaView3D;  // 0 in a cross-section
    default: return false;
  }
}

double structuredValue(char letter, int i, int j) {
  switch (letter) {
    case 'z': return zval[i][j][1];
    case 'y': return zval[i][j][znumber] - zval[i][j][1];
    case 'v': return zval[i][j][znumber];
    case 's': return plane(1, i, j);
    case 't': return zval[i][j][1] - plane(3, i, j);
    case 'X': return plane(5, i, j);
    case 'M': return plane(6, i, j);
    default: return 0.0;
  }
}

double percentileDiameter(const double *f, int n, double p) {
  if (n < 1) return 0.0;
  double s = f[n] / 2.0;
  if (s > p) return gsize[n];
  for (int k = n - 1; k >= 1; --k) {
    s += f[k + 1] / 2.0 + f[k] / 2.0;
    if (s > p) {
      double w = 2.0 * (s - p) / (f[k + 1] + f[k] + 1e-20);
      w = w < 0.0 ? 0.0 : (w > 1.0 ? 1.0 : w);
      return (1.0 - w) * gsize[k] + w * gsize[k + 1];
    }
  }
  return gsize[1];
}

OutputVariable resolveVariable(const TecStrucEntry &e, VisWriter writer, int layer, bool bedClass) {
  OutputVariable v{};
  v.entry = e;
  v.layer = layer;
  v.structured = structuredLetter(e.letter, writer);
  v.cellValue = cellKernel(e, writer, bedClass);
  return v;
}

void variableName(const TecStrucEntry &e, VisWriter writer, int layer, char *name, int size) {
  fillName(nameOf(e, writer), e, layer, name, size);
  if (writer != VisWriter::TecplotPlan && writer != VisWriter::Tecplot3D) joinWords(name);
}
