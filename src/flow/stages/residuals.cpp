// Residuals of the assembled equation of Equation: the summed absolute
// imbalance over the cells, over NormResidual; writes MaxResidual, the per-cell
// residual arrays (F 153 = 1) or report lines of large residuals in "boogie".
#include "flow/stages/residuals.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// The discrete equation's neighbourhood: 7 points, 13 with the second
// neighbours of second-order upwinding, each with or without the lists of
// several horizontal neighbours of independently layered columns.
enum class Form { Seven, Thirteen, QnSeven, QnThirteen };

template <Form form>
inline double cellResidual(int c) {
  const double *f = Cf;
  const int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c], t = Ccellt[c], b = Ccellb[c];
  double r = Cat[c] * f[t] + Cab[c] * f[b] + Csource[c] - Cap[c] * f[c];
  if constexpr (form == Form::Seven || form == Form::Thirteen) {
    r += Cae[c] * f[e] + Caw[c] * f[w] + Can[c] * f[n] + Cas[c] * f[s];
  }
  if constexpr (form == Form::Thirteen) {
    r += Caee[c] * f[Ccelle[e]] + Caww[c] * f[Ccellw[w]] + Cann[c] * f[Ccelln[n]] + Cass[c] * f[Ccells[s]] +
         Catt[c] * f[Ccellt[t]] + Cabb[c] * f[Ccellb[b]];
  }
  if constexpr (form == Form::QnSeven || form == Form::QnThirteen) {
    constexpr bool second = form == Form::QnThirteen;
    // One horizontal side: the single neighbour, or every listed cell.
    auto side = [&](int count, int **first, double **coeff, double **coeff2, double *single, double *single2,
                    int neighbour, int *across) {
      double sum = 0.0;
      if (count == 0) {
        sum = single[c] * f[neighbour];
        if (second) sum += single2[c] * f[across[neighbour]];
        return sum;
      }
      const int q0 = first[c][0];
      for (int m = 0; m < count; ++m) {
        sum += coeff[c][m] * f[q0 + m];
        if (second) sum += coeff2[c][m] * f[across[q0 + m]];
      }
      return sum;
    };
    r += side(Cncelle[c], Cqncelle, Cqnae, Cqnaee, Cae, Caee, e, Ccelle);
    r += side(Cncellw[c], Cqncellw, Cqnaw, Cqnaww, Caw, Caww, w, Ccellw);
    r += side(Cncelln[c], Cqncelln, Cqnan, Cqnann, Can, Cann, n, Ccelln);
    r += side(Cncells[c], Cqncells, Cqnas, Cqnass, Cas, Cass, s, Ccells);
  }
  return r;
}

// A cell whose value is fixed (Cap raised by 1e30), or whose Cap is not a
// finite number, is no part of the measure.
inline bool evaluated(int c) { return std::isfinite(Cap[c]) && Cap[c] < 1e15; }

// Appends printf-formatted text to a fixed buffer; a report block is
// written to the log in one piece.
struct ReportText {
  char text[8192];
  int used = 0;
  void add(const char *format, ...) __attribute__((format(printf, 2, 3))) {
    if (used >= static_cast<int>(sizeof text) - 1) return;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text + used, sizeof text - used, format, args);
    va_end(args);
    if (n > 0) used = std::min<int>(used + n, static_cast<int>(sizeof text) - 1);
  }
};

// Logs one cell's large residual and, with the debugging letter E, the
// coefficients and neighbourhood that explain it.
void reportCell(int c, double r, bool pressure, bool thirteen) {
  ReportText out;
  out.add("Large residual for f(%d,%d) : %lg, value: %lf\n", c, Equation, std::fabs(r), Cf[c]);
  if (debugging == 'E') {
    const int w = Ccellw[c], e = Ccelle[c], n = Ccelln[c], s = Ccells[c], b = Ccellb[c], t = Ccellt[c];
    const int fw = Cflatew[c], fe = Cflatee[c], fn = Cflaten[c], fs = Cflates[c], fb = Cflateb[c], ft = Cflatet[c];
    out.add("Source, ap, anb = %lg %lg %lg %lg %lg %lg %lg %lg\n", Csource[c], Cap[c], Caw[c], Cae[c], Can[c],
            Cas[c], Cat[c], Cab[c]);
    if (thirteen) {
      out.add("anbb = %lg %lg %lg %lg %lg %lg\n", Caww[c], Caee[c], Cann[c], Cass[c], Catt[c], Cabb[c]);
    }
    out.add("Vol, Ckdist, areas: %lg %lg %lg %lg %lg %lg\n", Cvol[c], Ckdist[c], Farea[fw], Farea[fe],
            Farea[fn], Farea[fs]);
    // The rows over the cell and its neighbours: c, w, e, n, s (and b, t
    // outside the pressure correction).
    auto cells = [&](const char *label, const double *a) {
      if (pressure) {
        out.add("%s: %lg %lg %lg %lg %lg\n", label, a[c], a[w], a[e], a[n], a[s]);
      } else {
        out.add("%s: %lg %lg %lg %lg %lg %lg %lg\n", label, a[c], a[w], a[e], a[n], a[s], a[b], a[t]);
      }
    };
    cells("InvAp", CinvAp);
    out.add("Fluxes: %lg %lg %lg %lg %lg %lg\n", Fflux[fw], Fflux[fe], Fflux[fn], Fflux[fs], Fflux[fb], Fflux[ft]);
    cells("X-velocities", Cxvel);
    cells("Y-velocities", Cyvel);
    cells("Z-velocities", Czvel);
    cells("kinen", Ckinen);
    cells("epsilon", Cepsilon);
    if (thirteen) {
      out.add("epsilon,nbb: %lg %lg %lg %lg %lg %lg\n", Cepsilon[Ccellw[w]], Cepsilon[Ccelle[e]],
              Cepsilon[Ccelln[n]], Cepsilon[Ccells[s]], Cepsilon[Ccellb[b]], Cepsilon[Ccellt[t]]);
    }
    cells("gamma", Cgamma);
    if (!pressure) cells("Pressure", Cpres);
    out.add("TurbDensFlag: %d, TurbulenceModel %d, MinGamma %lg, ArtEddyVisc %lg\n", TurbDensFlag, TurbulenceModel,
            MinGamma, ArtEddyVisc);
    auto data = [&](const char *label, int k, const char *end) {
      const double conc = Cconc ? Cconc[0][k] : 0.0;
      out.add("Eps-data %s: %d %d %d %d %d %d %lg %lg %lg %lg\n%s", label, Fflagflow[Cflatew[k]],
              Fflagflow[Cflatee[k]], Fflagflow[Cflaten[k]], Fflagflow[Cflates[k]], Fflagflow[Cflatet[k]],
              Fflagflow[Cflateb[k]], Cidist[k], Cjdist[k], Ckdist[k], conc, end);
    };
    data("central", c, "");
    data("west", w, "");
    data("east", e, "");
    data("north", n, "");
    data("south", s, "\n");
  }
  logText(out.text);
}

// The per-cell residual array of an equation, null for none.
double *storedResidual(int equation) {
  switch (equation) {
    case 1: return Cxvel_res;
    case 2: return Cyvel_res;
    case 3: return Czvel_res;
    case 4: return Cpres_res;
    case 5: return Ckinen_res;
    case 6: return Cepsilon_res;
    default: return nullptr;
  }
}

// The storing pass of a transported quantity: r / Cap kept with its sign.
template <Form form>
double storeMomentum(int first, int last, double *keep) {
  double S = 0.0;
  for (int c = first; c <= last; ++c) {
    if (!evaluated(c)) continue;
    const double r = cellResidual<form>(c);
    if (keep) keep[c] = r / Cap[c];
    S += std::fabs(r);
  }
  return S;
}

// The reporting pass of a transported quantity: a cell is reported above the
// threshold, or above 10000 whatever the threshold.
template <Form form>
double reportMomentum(int first, int last, double threshold) {
  double S = 0.0;
  for (int c = first; c <= last; ++c) {
    if (!evaluated(c)) continue;
    const double r = cellResidual<form>(c);
    const double size = std::fabs(r);
    if (size > threshold || size > 10000.0) reportCell(c, r, false, form == Form::Thirteen);
    S += size;
  }
  return S;
}

// The pass on QN lists: summed only, never reported.
template <Form form>
double sumOnly(int first, int last) {
  double S = 0.0;
  for (int c = first; c <= last; ++c) {
    if (evaluated(c)) S += std::fabs(cellResidual<form>(c));
  }
  return S;
}

// The pressure correction's residual is its continuity defect, every cell.
double pressureSum(int first, int last, bool store, double threshold) {
  double S = 0.0;
  if (store) {
    double *keep = Cpres_res;
    for (int c = first; c <= last; ++c) {
      if (keep) keep[c] = Csource[c];
      S += std::fabs(Csource[c]);
    }
    return S;
  }
  for (int c = first; c <= last; ++c) {
    const double size = std::fabs(Csource[c]);
    if (size > threshold) reportCell(c, Csource[c], true, false);
    S += size;
  }
  return S;
}

// S, the summed absolute residual of cells first..last, by the case that
// F 153, Equation, the scheme and F 137 choose.
double residualSum(int first, int last) {
  const int eq = Equation;
  double threshold = InputErrorLimit * NormResidual[eq] / NoCells;
  if (threshold < 0.01) threshold = 0.01;
  const bool store = FlagResidual == 1;
  if (eq == 4) return pressureSum(first, last, store, threshold);
  const bool thirteen = sou[eq] == 1 && Caee != nullptr;
  // On a QN grid the single coefficient of a listed side is 0: only the
  // list form measures what is left of the equation there.
  if (store) {
    double *keep = storedResidual(eq);
    if (QNFlag > 0) {
      return thirteen && Cqnaee ? storeMomentum<Form::QnThirteen>(first, last, keep)
                                : storeMomentum<Form::QnSeven>(first, last, keep);
    }
    return thirteen ? storeMomentum<Form::Thirteen>(first, last, keep)
                    : storeMomentum<Form::Seven>(first, last, keep);
  }
  if (QNFlag > 0) {
    return thirteen && Cqnaee ? sumOnly<Form::QnThirteen>(first, last) : sumOnly<Form::QnSeven>(first, last);
  }
  return thirteen ? reportMomentum<Form::Thirteen>(first, last, threshold)
                  : reportMomentum<Form::Seven>(first, last, threshold);
}

// The Equation whose chunked residual found no normaliser, 0 for none.
std::atomic<int> gMissingNormaliser{0};

inline bool normaliserMissing() { return NormResidual[Equation] < 1e-10; }

}  // namespace

void residual(int first, int last) {
  double S = residualSum(first, last);
  // The storing pressure residual measures the defect left besides the net
  // discharge of the groups, as a size.
  if (Equation == 4 && FlagResidual == 1) S = std::fabs(S - GlobFluxDefect);
  if (normaliserMissing()) {
    fatalPrintf(kExitInconsistent, nullptr,
                "Error, residual not set for Equation no. %d\nThis error often occur when inflow discharges are not "
                "set.\n\n",
                Equation);
  }
  MaxResidual[Equation] += S / NormResidual[Equation];
}

double residualN(int first, int last) {
  const double S = residualSum(first, last);
  if (normaliserMissing()) {
    int none = 0;
    gMissingNormaliser.compare_exchange_strong(none, Equation > 0 ? Equation : -1);
    return 0.0;
  }
  return S / NormResidual[Equation];
}

void endIfResidualNotSet() {
  const int equation = gMissingNormaliser.load();
  if (equation == 0) return;
  fatalPrintf(kExitInconsistent, nullptr,
              "Error residual not set for equation %d\nThis error often occurs when the inflow discharge is not set\n"
              "The discharge can be set in the Vantorell or on the F 237 data set in the control file\n"
              "Default discharge groups can be set on the F 314 data set in the control file\n\n",
              equation > 0 ? equation : 0);
}
