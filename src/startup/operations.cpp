// The table of operations, filled with the engine's own routines.
#include "startup/operations.h"

#include "bed/bed_services.h"
#include "bed/layers/bed_balance.h"
#include "bed/layers/bed_cohesion.h"
#include "bed/layers/bed_initialisation.h"
#include "bed/layers/multi_layer_update.h"
#include "bed/layers/qn_fractions.h"
#include "bed/levels/bed_level_change.h"
#include "bed/levels/bed_smoothing.h"
#include "bed/levels/column_ordered_bed_change.h"
#include "bed/levels/point_bed_levels.h"
#include "bed/slides/bed_slopes/sand_slide.h"
#include "bed/slides/soil_layer/slide_movement.h"
#include "files/file_services.h"
#include "files/grid_files/grid_file.h"
#include "files/monitoring/fraction_series.h"
#include "files/monitoring/interpol_points.h"
#include "files/monitoring/longitudinal_profiles.h"
#include "files/restart/fraction_restart_files.h"
#include "files/visualisation/visualisation.h"
#include "files/monitoring/time_series_output.h"
#include "flow/boundaries/boundary_conditions.h"
#include "flow/outer_steps/divergence_recovery.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/stages/flow_stages.h"
#include "flow/outer_steps/stop_test.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "quality/quality_services.h"
#include "quality/vegetation/dredging.h"
#include "sediment/concentration/concentration_solvers.h"
#include "sediment/concentration/equation_terms.h"
#include "sediment/concentration/multi_layer_solver.h"
#include "sediment/loop/sediment_mass_reports.h"
#include "sediment/sediment_services.h"
#include "sediment/statistics/bed_movement_statistics.h"
#include "sediment/statistics/braiding_measures.h"
#include "sediment/statistics/dune_statistics.h"
#include "startup/bedrough_reader.h"
#include "startup/control_reader.h"
#include "startup/timei_reader.h"
#include "surface/steady/froude_numbers.h"
#include "surface/steady/steady_dispatch.h"
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
      .metric = metric,
      .BedMake = BedMake,
      .readBedrough = readBedrough,
      .computeWCStart = computeWCStart,
      .startup = startup,
      .WaterSolve = WaterSolve,
      .WaterSolveNew = WaterSolveNew,
      .WaterSolveFast = WaterSolveFast,
      .WaterSolveHydrostatic = WaterSolveHydrostatic,
      .WaterSolve2D = WaterSolve2D,
      .MGSsolver = MGSsolver,
      .shallowWater = shallowWater,
      .waterflow = waterflow,
      .boundary = boundary,
      .pressureEquationVariant = pressureEquationVariant,
      .momentumStage = momentumStage,
      .pressureStage = pressureStage,
      .turbulenceStage = turbulenceStage,
      .componentStage = componentStage,
      .printEndWaterSolve = printEndWaterSolve,
      .flushFunction = flushFunction,
      .printAtCrash = printAtCrash,
      .backwater = backwater,
      .surface = surface,
      .surface2 = surface2,
      .surface_tfs = surface_tfs,
      .surface_LS_update = surface_LS_update,
      .SetiPresjPres = SetiPresjPres,
      .writeMPIkoosurf = writeMPIkoosurf,
      .ReadAllData = ReadAllData,
      .writeConqRes = writeConqRes,
      .writeConcRes = writeConcRes,
      .WriteUnstructure = WriteUnstructure,
      .WriteAllData = WriteAllData,
      .sprintflow = sprintflow,
      .TimePrintFunction = TimePrintFunction,
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
      .initialiseBed = initialiseBed,
      .sumStartLayerMasses = sumStartLayerMasses,
      .setInitialCohesive = setInitialCohesive,
      .computeDensityStat = computeDensityStat,
      .computeSlideBlock = computeSlideBlock,
      .computeBFroude = computeBFroude,
      .sedimentEquationTerms = sedimentEquationTerms,
      .morphology_tsc_solver_tsc1_single = morphology_tsc_solver_tsc1_single,
      .morphology_tsc_solver_tsc1_multiple = morphology_tsc_solver_tsc1_multiple,
      .morphology_tsc_solver_tsc2_single = morphology_tsc_solver_tsc2_single,
      .morphology_tsc_solver_tsc2_multiple = morphology_tsc_solver_tsc2_multiple,
      .morphology_tsc_solver_tsc2_multiple_v2 = morphology_tsc_solver_tsc2_multiple_v2,
      .morphology_tsc_solver_tsc3_standard = morphology_tsc_solver_tsc3_standard,
      .smoothBedchange = smoothBedchange,
      .bagger = bagger,
      .computeSandSlide = computeSandSlide,
      .morphology_fractions = morphology_fractions,
      .morphology2_fractions = morphology2_fractions,
      .morphology3_fractions = morphology3_fractions,
      .morphology_QNfractions = morphology_QNfractions,
      .sumOutflowMass = sumOutflowMass,
      .sumBedMoveMass = sumBedMoveMass,
      .print_profiles = print_profiles,
      .bedchange = bedchange,
      .bedchange2 = bedchange2,
      .bedchange3 = bedchange3,
      .bedchange4 = bedchange4,
      .bedchange5 = bedchange5,
      .WriteTransFiles = WriteTransFiles,
      .computeMorphStatistics = computeMorphStatistics,
      .computeCohesion = computeCohesion,
      .stepMassReport = stepMassReport,
      .writeBraided = writeBraided,
      .writeDune = writeDune,
      .print_fractions = print_fractions,
      .make_Bfractionsprint = make_Bfractionsprint,
      .makeDarnevoli = makeDarnevoli,
      .print_paraview3d = print_paraview3d,
      .endOfRunReport = endOfRunReport,
      .endOfRunReportTail = endOfRunReportTail,
  };
}

EngineOperations operations = engineOperations();
