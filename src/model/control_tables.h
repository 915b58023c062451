// The record tables that "control" fills: sources, left-out rectangles,
// bridges, weirs, output variables, start values, profiles, point lists and
// water-quality source terms. Each is a fixed array with a count; the data
// set that would write past the end of its table stops the run instead.
#pragma once

// ---- G data sets -----------------------------------------------------------------------------

// G 7: one record per discharge group, records 1..19.
struct IOEntry {
  int param[8];      // the first is 0 when the group counts as an inflow
  double value[4];
};
inline constexpr int kMaxIO = 20;
inline IOEntry IO[kMaxIO];  // records 1..IONo
inline int IONo;            // G 7 records in use

// G 10 and G 11: volume sources over a block of cells, records 1..19.
struct VolSourceEntry {
  int i1, i2, j1, j2, k1, k2;  // cell index ranges
  double value, value2;        // G 10 leaves the second value at 2.0
};
inline constexpr int kMaxVolSource = 20;
inline VolSourceEntry VolSource[kMaxVolSource];  // records 1..VolSourceNo
inline int VolSourceNo;                          // shared by G 10 and G 11

// G 12: sediment sources, records 1..19.
inline constexpr int kMaxSedSourceSizes = 50;
struct SedSourceEntry {
  int group;                                  // discharge group 1..9
  double conc[kMaxSedSourceSizes + 1];        // concentration per grain size 1..50
};
inline constexpr int kMaxSedSource = 20;
inline SedSourceEntry SedSource[kMaxSedSource];  // records 1..SedSourceNo
inline int SedSourceNo;

// G 13: rectangles of columns left without cells, records 1..499.
struct OutBlockEntry {
  int kind;                    // 0..4
  int i1, i2, j1, j2, k1, k2;  // column and level ranges
};
inline constexpr int kMaxOutBlock = 500;
inline OutBlockEntry OutBlock[kMaxOutBlock];  // records 1..OutBlockNo
inline int OutBlockNo;

// G 14: debug points, records 1..29.
struct DebugDumpEntry {
  int code;     // 1..6
  int i, j, k;  // cell indexes
};
inline constexpr int kMaxDebugDump = 30;
inline DebugDumpEntry DebugDump[kMaxDebugDump];  // records 1..DebugDumpNo
inline int DebugDumpNo;

// G 18: start values u, v, w, pressure, k, epsilon, records 1..19.
struct UInitEntry {
  double value[7];  // index 1..6
};
inline constexpr int kMaxUInit = 20;
inline UInitEntry UInit[kMaxUInit];  // records 1..UInitNo; the last one given is used
inline int UInitNo;

// G 22: bridge decks, records 1..19.
struct BridgeEntry {
  int i1, i2, j1, j2;  // column ranges
  double lower;        // lower level of the deck, m
  double upper;        // upper level of the deck, m
  double coefficient;  // drag coefficient
};
inline constexpr int kMaxBridge = 20;
inline BridgeEntry Bridge[kMaxBridge];  // records 1..BridgeNo
inline int BridgeNo;

// G 24: output variables of the Tecplot, VTK and cross-section writers, records 0..299.
struct TecStrucEntry {
  int levelIndex;  // vertical level, or bed layer for the layer letters
  int sizeIndex;   // sediment size 0..lnumber (component for q)
  int subcode;     // Z only: 100..1000; 0 otherwise
  char letter;     // the variable letter
};
inline constexpr int kMaxTecStruc = 300;
inline TecStrucEntry TecStruc[kMaxTecStruc];  // entries 0..TecStrucNo-1
inline int TecStrucNo;

// G 28: weirs of the surface equation, records 0..19.
struct WeirEntry {
  int i1, i2, j1, j2;  // column ranges
  double crest;        // crest level, m
  double coefficient;  // weir coefficient, 1..3
  double exponent;     // weir exponent, 1..3
};
inline constexpr int kMaxWeirs = 20;
inline WeirEntry Weirs[kMaxWeirs];  // records 0..NoWeirs-1
inline int NoWeirs;

// G 40: vertical start profile of the temperature, pairs (level, value) 1..49.
inline constexpr int kMaxVertPoints = 50;
inline double Verttemp[kMaxVertPoints][2];
inline int NoVerttemp;

// G 41: vertical start profiles of components, sets 0..9 of pairs 1..49.
inline constexpr int kMaxVertSets = 10;
inline double VertQInit[kMaxVertSets][kMaxVertPoints][2];
inline int NoVariable[kMaxVertSets];  // component of the set
inline int NoVertInit[kMaxVertSets];  // pairs of the set
inline int NoQI;                      // sets in use

// G 42: pairs 0..19.
inline constexpr int kMaxOglProfs = 20;
inline int OglProf[kMaxOglProfs][2];
inline int NoOGLprofs;

// ---- K, P and W data sets --------------------------------------------------------------------

// P 17: columns whose bottom and top velocities are kept, records 1..999.
struct VProfileEntry {
  int i1, i2, j1, j2;  // column ranges
  int iStep, jStep;    // steps through the ranges
};
inline constexpr int kMaxVProfiles = 1000;
inline VProfileEntry VProfiles[kMaxVProfiles];  // records 1..NoVProfiles
inline int NoVProfiles;

// W 4: wall planes, records 1..29.
struct MWallEntry {
  int dir;     // 1 i, 2 j, 3 k
  int posneg;  // -1..1
  int node;    // grid line of the plane
  int a1, a2;  // first index range in the plane
  int b1, b2;  // second index range in the plane
};
inline constexpr int kMaxMWall = 30;
inline MWallEntry MWall[kMaxMWall];  // records 1..MWallNo
inline int MWallNo;

// W 6: grid points kept fixed, 1..19999.
inline constexpr int kMaxFast = 20000;
inline int iFast[kMaxFast], jFast[kMaxFast];
inline int FastNo;

// W 7: attraction points, records 1..199.
struct AttractEntry {
  int i, j, type;        // grid point and type 0..3
  double value1, value2;
};
inline constexpr int kMaxAttract = 200;
inline AttractEntry Attract[kMaxAttract];  // records 1..AttractNo
inline int AttractNo;

// ---- Q, H, I, L, M, N, S data sets -----------------------------------------------------------

// Q: water-quality source terms, records 0..199 in the order of the Q data sets.
struct SourceTerm {
  int target;                    // component whose equation receives the term
  int type;                      // term type code
  int i1, i2, i3, i4, i5, i6;    // integer parameters, mostly component indexes
  double c1, c2, c3, c4, c5, c6, c7, c8, c9, c10;  // coefficients
};
inline constexpr int kMaxQTerms = 200;
inline SourceTerm QTerms[kMaxQTerms];  // records 0..NoTerms-1
inline int NoTerms;

// Q type 0: a name per component, at most 39 characters.
inline constexpr int kMaxQualityNames = 40;
inline char QualityName[kMaxQualityNames][40];

// M: constant inflow concentrations per discharge group 1..9.
inline constexpr int kCompInflowEntries = 20;
struct CompInflowGroup {
  int order[kCompInflowEntries];      // column of the M data set in file order, -1 none
  double conc[kCompInflowEntries];    // constant concentration per component or size index
};
inline constexpr int kCompInflowGroups = 10;
inline CompInflowGroup CompInflow[kCompInflowGroups];  // records 1..9

// N: grain-size distributions [distribution][size]; distribution 0 is used.
inline constexpr int kSampleDistributions = 20;
inline constexpr int kSampleSizes = 51;
inline double SedimentSample[kSampleDistributions][kSampleSizes];

// H: coefficient table of 15 records, each up to 20 triples.
inline constexpr int kBioRecords = 15;
inline constexpr int kBioPoints = 20;
struct BioRecord {
  int count;                  // triples in use, at most 20
  double coefficient[kBioPoints];
  int first[kBioPoints];      // 0..16
  int second[kBioPoints];     // 0..16
};
inline BioRecord Bio[kBioRecords];

// L: contour levels 0..19.
inline constexpr int kMaxContourLevels = 20;
inline double contourLevels[kMaxContourLevels];
inline int contourNo;

// ---- B data sets -----------------------------------------------------------------------------

// B: rectangles of grid columns per block, taken by the second pass over
// "control"; checked and kept, read by no other routine.
struct BDataSetEntry {
  int block;   // 0..19; 0 the whole grid
  int i1, i2;  // column range in i
  int j1, j2;  // column range in j
};
inline constexpr int kMaxBdatasets = 20;
inline BDataSetEntry Bdatasets[kMaxBdatasets];  // records 0..NoBdatasets
inline int NoBdatasets;                         // index of the last record written, -1 none
