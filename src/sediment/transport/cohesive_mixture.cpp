// Sand-clay mixtures: the clay share decides whether the bed erodes as a
// cohesive mass, as sand, or (between 5 and 8 % clay) as a blend of both.
#include "sediment/transport/cohesive_mixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/settings.h"

double computeConcentrationKalvet(const MixtureInput &in) {
  // Clay: grains of 2 µm and below; a bed without clay comes out negative.
  double clay = -1e-7;
  for (int i = 1; i <= in.sizes; ++i) {
    if (gsize[i] <= 2e-6) clay += in.f[i];
  }
  // Cohesive erosion: the mixture's critical stress grows with its bulk
  // density (t/m3) and with a packing of fines around the median grain.
  const double bulk = 1.0 - in.solid + 2.65 * in.solid;
  const double tauCe =
      0.012903225806451613 * (std::pow(std::min(bulk / 1.8, 1.0), 10.0) * 0.029 / in.d50 + 51796.8 * in.d50);
  const double cohesive = tauCe > in.tau ? 0.0 : (in.tau / tauCe - 1.0) * 4e-6 / in.ws / 2650.0;
  // Sand: van Rijn with hiding of the size in the mixture; grains finer
  // than 1 mm count as 1 mm.
  const double ratio = in.d / in.d50;
  const double xi = 1.2787536009528289 / std::log10(19.0 * ratio);
  const double tauCE = xi * xi * ratio * in.tauC, tauCk = ratio * in.tauC;
  const double tauEff = in.tau / ((in.tau - tauCE) / tauCk + 1.0);
  const double stage = (in.tau - tauEff) / tauEff;
  const double a = in.profileSwitch == 1 ? std::max(in.ks, 0.01 * in.h) : in.zc;
  double sand = 0.0;
  if (!(in.tau - tauEff < 1e-6 || tauEff < 0.0)) {
    sand = in.coeff * std::max(in.d, 0.001) * std::pow(stage, in.powerT) / (std::pow(in.d * in.dfac, in.powerD) * a);
  }
  double c;
  int blend;
  if (clay > 0.08) {
    blend = 1;
    c = cohesive;
  } else if (clay > 0.05) {
    blend = 2;
    const double w = clay / 0.03 - 1.6666666666666667;
    c = w * cohesive + (1.0 - w) * sand;
  } else {
    blend = 3;
    c = sand;
  }
  if (c < 0.0) {
    if (std::FILE *test = std::fopen("test", "a")) {
      std::fprintf(test, "Achtung: konsform < 0: %.6f size %.6f Fall %i \n ", c, in.d, blend);
      std::fclose(test);
    }
    c = 0.0;
  }
  return c;
}
