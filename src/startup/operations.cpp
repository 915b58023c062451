// The table of operations, filled with the engine's own routines.
#include "startup/operations.h"

#include "bed/bed_services.h"
#include "files/file_services.h"
#include "flow/flow_drivers.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "quality/quality_services.h"
#include "sediment/sediment_services.h"
#include "startup/control_reader.h"
#include "startup/timei_reader.h"
#include "surface/surface_services.h"

EngineOperations engineOperations() {
  return EngineOperations{
      .kread = kread,
      .AllocateArrays = AllocateArrays,
      .ReadTimes = ReadTimes,
      .readKoosurf = readKoosurf,
      .Unstructure = Unstructure,
      .bedinter = bedinter,
      .computeRoughness = computeRoughness,
      .computeWCStart = computeWCStart,
      .startup = startup,
      .WaterSolve = WaterSolve,
      .WaterSolveNew = WaterSolveNew,
      .WaterSolveFast = WaterSolveFast,
      .WaterSolveHydrostatic = WaterSolveHydrostatic,
      .WaterSolve2D = WaterSolve2D,
      .MGSsolver = MGSsolver,
      .shallowWater = shallowWater,
      .backwater = backwater,
      .writeMPIkoosurf = writeMPIkoosurf,
      .ReadAllData = ReadAllData,
      .writeConqRes = writeConqRes,
      .writeConcRes = writeConcRes,
      .WriteUnstructure = WriteUnstructure,
      .WriteAllData = WriteAllData,
      .sprintflow = sprintflow,
      .readConRes = readConRes,
      .readres = readres,
      .ReadUnstructure = ReadUnstructure,
      .makeWeirSTL = makeWeirSTL,
      .concRijn = concRijn,
      .morphology_tsc = morphology_tsc,
      .computeSlidemovement = computeSlidemovement,
      .computeSoilStress = computeSoilStress,
      .computeSlideLocation = computeSlideLocation,
      .Components = Components,
      .groundwater = groundwater,
      .computeVegdataFromSTL = computeVegdataFromSTL,
  };
}

EngineOperations operations = engineOperations();
