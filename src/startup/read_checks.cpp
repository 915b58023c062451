// The ordered lists of checks across data sets and the grain-fraction check.
// A combination of F data sets that cannot work together ends with -5, a
// missing companion data set with -1, fractions not summing to 1 with -4.
#include "startup/read_checks.h"

#include <cmath>

#include "model/control_tables.h"
#include "model/settings.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

bool threadsGiven() { return NoProcessesSolver > 0; }

constexpr ReadCheck kBeforeAllocation[] = {
    {.fails = [] { return FlagTriangleAlgo == 5 && UMethod2 == 0; },
     .text = "Error in control file: F 493 5 is only used with F 488 > 0\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagTriangleAlgo == 0 && UMethod2 > 0; },
     .text = "Warning: F 488 has only been tested with F 493 5\n\n"},
    // Several grain sizes need their distribution from N data sets or "fracres".
    {.fails = [] { return FlagReadNdata == 0 && FlagTSC > 0 && lnumber > 1; },
     .text = "For sediment computations (F 37) it is necessary to specify N data sets\n"
             "in the control file, or use a 'fracres' file with an 'O' in the F 2 data set\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagTFS == 9 && FlagSurface2 != 1; },
     .text = "Using F 36 9 in the control file should only be done in combination with F 323 1\n\n"},
    {.fails = [] { return Flag2DAccSolver > 0 && FlagTFS >= 13 && FlagTFS <= 19 && FlagPresSurf != -1; },
     .text = "The combination of values on the F 168 and F 36 data sets in the control file \n"
             "will not work. It is recommended to set the F 168 data set to zero when using \n"
             "your choise of F 36 data set.\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagTimeSIMPLE > 0 && NoProcessesSolver != 0; },
     .text = "Error in control file: F 296 data set only works for F 206 0\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagPresSurfDamp > 0 && (threadsGiven() || FlagWaterSolveNew > 0); },
     .text = "Error in control file: F 419 data set only works with F 206 = 0 and F 328 = 0\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagEndCorrect > 0 && threadsGiven(); },
     .text = "Error in control file: F 104 data set only works with F 206 = 0\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagPresMPIboundary > 0 && threadsGiven(); },
     .text = "Error in control file: F 316 only works with F 206 = 0\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagPresCorrStab > 0 && (NoProcessesSolver == 0 || FlagWaterSolveNew > 0); },
     .text = "Error in control file: F 373 data set will only work with F 206 > 0 and F 328 = 0\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagLogInflow > 0 && FlagCyclic != 0; },
     .text = "Error in control file: F 202 and (F 174 1st integer != 0) must not be used together\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    // The fast solver relaxes single neighbours only: on independently
    // layered columns it would drop the couplings of the neighbour lists.
    {.fails = [] { return FlagFastWatersolve > 0 && QNFlag > 0; },
     .text = "Error for F 137 in control\nThe fast solver (F 170) cannot use QN grids\n\n",
     .ends = true,
     .exitCode = kExitInconsistent},
};

constexpr ReadCheck kAfterAllocation[] = {
    // The sediment loop regenerates the grid with the algorithm of F 64.
    {.fails = [] { return FlagTSC > 0 && UMethod == 0; },
     .text = "Error in control file: When the F 37 data set is used, the F 64 data set must also be given\n"
             "Often F 64 11 is used in combination with F 37\n",
     .ends = true,
     .exitCode = kExitCompanionMissing},
    {.fails = [] { return FlagBedchangeOption > 0 && (FlagSkewedBedchange > 0 || FlagGLEA > 0 || FlagBedSmooth > 0); },
     .text = "Warning: possible problem in control file: combination of the F 255 data with one of the F 144, "
             "F 205 or F 266 data sets\n\n"},
    {.fails = [] { return FlagBedchangeOption == 0 && FlagTSC == 3; },
     .text = "Error: Use F 255 5 data set with F 37 3\n",
     .ends = true,
     .exitCode = kExitCompanionMissing},
    // The deposit relocation moves the per-size bed change of the layer stack.
    {.fails = [] { return FlagSmoothBedchange > 0 && FlagTSC != 3; },
     .text = "Error: The F 414 data set is only used in combination with the F 37 3 data set\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagLogInflow > 0 && FlagShapeInflow > 0; },
     .text = "Error: Both F 524 and F 202 are used in the control file. Only one can be used\n\n",
     .ends = true,
     .exitCode = kExitCompanionMissing},
    {.fails = [] { return std::fabs(ArtDiff) > 1e-20; },
     .text = "Warning: using artificial viscosity of %e\n",
     .value = [] { return ArtDiff; }},
    {.fails = [] { return FillPart > 1e-10; }, .text = "Using accellertated deposition routine\n"},
    // The bed statistics keep their means in the planes of Surfaces where the
    // slide layer and the groundwater layer keep their levels.
    {.fails = [] { return FlagMorphStatistics > 0 && FlagThixo > 0; },
     .text = "Error: F 404 can not be combined with F 236: both use the bed planes 5 and 6\n",
     .ends = true,
     .exitCode = kExitInconsistent},
    {.fails = [] { return FlagMorphStatistics > 0 && FlagGroundwater > 0; },
     .text = "Error: F 404 can not be combined with F 262: both use the bed planes 5 and 6\n",
     .ends = true,
     .exitCode = kExitInconsistent},
};

constexpr ReadCheck kOnTheGrid[] = {
    {.fails = [] { return WriteDuneI2 > xnumber; },
     .text = "Error in control file: index on F 370 data set larger than number of cross-sections on W 1 data set\n"},
};

}  // namespace

std::span<const ReadCheck> checksBeforeAllocation() { return kBeforeAllocation; }
std::span<const ReadCheck> checksAfterAllocation() { return kAfterAllocation; }
std::span<const ReadCheck> checksOnTheGrid() { return kOnTheGrid; }

void runReadChecks(std::span<const ReadCheck> checks) {
  for (const ReadCheck &check : checks) {
    if (!check.fails()) continue;
    if (check.value) {
      logPrintf(check.text, check.value());
    } else {
      logText(check.text);
    }
    if (check.ends) fatalExit(check.exitCode, nullptr);
  }
}

void checkGrainFractions() {
  double sum = 0.0;
  for (int size = 1; size <= lnumber; ++size) sum += SedimentSample[0][size];
  if (std::fabs(sum - 1.0) > 0.0001) {
    fatalPrintf(kExitGrainFractions, nullptr,
                "Error, N - data sets : Sum of fractions = %e\nNumber of N data sets read: %d\n\n", sum,
                FlagReadNdata);
  }
}
