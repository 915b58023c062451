// The operations that start-up and the run letters call, as one table of
// routine pointers. The engine fills it with its own routines; tests put
// recorders in their place.
#pragma once

struct EngineOperations {
  // start-up
  void (*kread)();
  double (*AllocateArrays)(int, int, int);
  int (*ReadTimes)();
  // grid generation and geometry
  void (*readKoosurf)();
  int (*Unstructure)();
  void (*bedinter)();
  void (*computeRoughness)();
  void (*metric)();
  void (*BedMake)();
  void (*readBedrough)();
  // water flow
  void (*computeWCStart)();
  void (*startup)();
  void (*WaterSolve)();
  void (*WaterSolveNew)();
  void (*WaterSolveFast)();
  void (*WaterSolveHydrostatic)();
  void (*WaterSolve2D)();
  void (*MGSsolver)();
  int (*shallowWater)();
  // the main driver's stages, in the order of one inner iteration
  void (*waterflow)(int, int);
  void (*boundary)();
  void (*pressureEquationVariant)();
  void (*momentumStage)(int);
  int (*pressureStage)(int);
  void (*turbulenceStage)(int);
  void (*componentStage)();
  int (*printEndWaterSolve)(int);
  // the stop test's remedies and crash report
  void (*flushFunction)(int);
  void (*printAtCrash)();
  // free surface
  void (*backwater)();
  void (*surface)();
  void (*surface2)();
  void (*surface_tfs)(int, int);
  void (*surface_LS_update)();
  void (*SetiPresjPres)();
  // result, restart and visualisation files
  void (*writeMPIkoosurf)();
  int (*ReadAllData)();
  int (*writeConqRes)();
  int (*writeConcRes)();
  int (*WriteUnstructure)();
  void (*WriteAllData)();
  void (*sprintflow)();
  void (*TimePrintFunction)();
  int (*readConRes)();
  void (*readres)();
  int (*ReadUnstructure)();
  int (*makeWeirSTL)();
  // sediment
  void (*concRijn)();
  void (*morphology_tsc)();
  // bed changes and slides
  int (*computeSlidemovement)();
  void (*computeSoilStress)();
  void (*computeSlideLocation)();
  // water quality and other processes
  void (*Components)();
  void (*groundwater)();
  int (*computeVegdataFromSTL)();
  // the sediment time loop's routines, in the order of a step
  void (*initialiseBed)();
  void (*sumStartLayerMasses)();
  int (*setInitialCohesive)();
  void (*computeDensityStat)(int, int);
  void (*computeSlideBlock)();
  void (*computeBFroude)(int, int);
  void (*sedimentEquationTerms)();
  void (*morphology_tsc_solver_tsc1_single)();
  void (*morphology_tsc_solver_tsc1_multiple)();
  void (*morphology_tsc_solver_tsc2_single)();
  void (*morphology_tsc_solver_tsc2_multiple)();
  void (*morphology_tsc_solver_tsc2_multiple_v2)();
  void (*morphology_tsc_solver_tsc3_standard)();
  void (*smoothBedchange)();
  void (*bagger)();
  void (*computeSandSlide)();
  void (*morphology_fractions)(double);
  void (*morphology2_fractions)(double);
  void (*morphology3_fractions)(double);
  void (*morphology_QNfractions)(double);
  void (*sumOutflowMass)();
  void (*sumBedMoveMass)();
  void (*print_profiles)();
  void (*bedchange)();
  void (*bedchange2)();
  void (*bedchange3)();
  void (*bedchange4)(int);
  void (*bedchange5)();
  void (*WriteTransFiles)();
  void (*computeMorphStatistics)();
  void (*computeCohesion)();
  void (*stepMassReport)();
  void (*writeBraided)();
  void (*writeDune)();
  void (*print_fractions)();
  void (*make_Bfractionsprint)();
  void (*makeDarnevoli)();
  void (*print_paraview3d)(int);
  void (*endOfRunReport)();
  void (*endOfRunReportTail)();
};

// The table in use; starts with the engine's own routines.
extern EngineOperations operations;

// The engine's own routines, to restore the table.
EngineOperations engineOperations();
