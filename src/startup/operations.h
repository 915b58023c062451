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
};

// The table in use; starts with the engine's own routines.
extern EngineOperations operations;

// The engine's own routines, to restore the table.
EngineOperations engineOperations();
