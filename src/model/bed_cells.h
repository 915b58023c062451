// The bed cells: one per water column, numbered 1..NoBCells block by block,
// entry 0 unused. Every table has (xnumber+3)·(ynumber+3) entries per row;
// per-size tables are [size][bed cell], per-layer tables [layer][bed cell].
#pragma once

#include <cstdint>

class TableAllocator;

inline int *Bcellt;         // bottom cell of the column
inline int *Bcellt_old;     // Bcellt before the last grid regeneration
inline int *Bcellth;        // slide group of the column (0 none)
inline int *Bnocells;       // cells of the column
inline int *Bnocells_old;   // Bnocells before the last grid regeneration
inline int *Bkooi;          // structured index i of the column
inline int *Bkooj;          // structured index j of the column
inline int *BlayerTop;      // top bed layer of the column
inline int *Bcelltt_old;    // bottom cell of the slide layer before regeneration (F 339)
inline int *Bnestcoarse;    // coarse bed cell of a nested column (F 261, F 238)
inline int *Bponds;         // pond marks of the pond removal (F 394)
inline int *Barmourthick;   // armour-layer marks (F 37 3)
inline int *Btriedges;      // cells of a column at a triangular edge (F 548)
inline double *Bdepth;          // water depth of the column, m
inline double *Bdepth_old;      // Bdepth before the last grid regeneration, m
inline double *Bfly;            // flow indicator of the column
inline double *Bedformheight;   // bed-form height, m
inline double *Broughness;      // bed roughness ks of the column, m
inline double *Bd90;            // d90 of the bed surface, m
inline double *BFroude;         // Froude number of the column
inline double *Bedmove;         // bed movement of the column, m
inline double *Binout;          // in/out mark of the column
inline double *Barea;           // plan area of the column, m2
inline double *Bedlev;          // bed level kept by the bed change (F 255, F 37 3, F 236), m
inline double *BcohesionLevel;  // level of the cohesive bed (F 385 5 and more), m
inline double *Bthixolev;       // level of the mud or slide layer (F 236, F 248, F 262), m
inline double *BthixolevMin;    // lowest level of the slide layer (F 236, F 248), m
inline double *Bstrain;         // strain of the slide layer (F 236, F 248)
inline double *Bpresavg;        // averaged surface pressure (F 233 6 or 7), Pa
inline double *Bdeltah;         // water-level correction (F 36 50, F 271), m
inline double *BsourceLS;       // source of the level-set surface (F 36 50)
inline double *Bgroundwater;    // groundwater level (F 262), m
inline double *BrooksUp;        // upward bed angle limit (F 274)
inline double *BrooksDown;      // downward bed angle limit (F 274)
inline double *BrooksLimit;     // bed angle limit (F 274)
inline double *Bavalanche;      // tangent of the avalanche angle (F 274)
inline double *Bdefect;         // bed defect (F 277)
inline double *BLevFroude;      // Froude number of the surface solver (F 351)
inline double *Bminwaterlevel;  // minimum water level keeping cross-sections connected (F 371), m; -1000 none
inline double *Bminlevdh;       // level step of the minimum water level (F 371), m
inline double *BfGzeroTime;     // time of zero bed concentration (F 285 3), s
inline double *BfGzeroHeight;   // height of zero bed concentration (F 285 3), m
inline double *Bfractionsprint; // fractions averaged over the top layers (F 433)
inline double *BTugrad;         // velocity gradient of the density current (F 71)
inline double *BTdischarge;     // discharge of the density current (F 71)
inline double *BTheight;        // height of the density current (F 71), m
inline double **Bconc;            // [size 0..lnumber][b] bed (reference) concentration
inline double **Bap;              // [size][b] bed centre coefficient
inline double **Bsource;          // [size][b] bed source
inline double **Bvolleft;         // [size][b] sediment volume left
inline double **Bupflux;          // [size][b] upward flux (F 37 3)
inline double **Bbedchange;       // [size][b] bed change (F 37 3)
inline double **BplasticDeposits; // [size][b] plastics deposits (F 417)
inline double **Bsolidfraction;   // [layer 0..NoBedLayers][b] solid fraction, 1 - porosity
inline double **Bcohesion;        // [layer][b] cohesion (F 385, F 330)
inline double **BQvar;            // [0..FlagBedCalc-1][b] bed-exchange terms (F 79)
inline double ***BSedDistrib;     // [layer][k][b] layer thickness (k = 0), m, and fraction of size k
inline double ***BCompDistrib;    // [layer][k][b] bed composition of the components (F 400)
inline double ****Bveg;           // [b][time][variable 0..VegVars][level] vegetation data (F 115)
inline double *VegTime;           // [0..VegTimes] times of the vegetation data, s

// Bed-cell capacity: (xnumber+3)·(ynumber+3).
std::int64_t bedCellCapacity();

// Allocates the bed-cell tables.
void allocateBedCellTables(TableAllocator &allocator);

// Starting grain fractions of the two lowest layers of every bed cell, and
// no minimum water level.
void setBedCellStartValues();

// The slide table: one slot per slide of the soil layer (slots 0..2998), the
// list ending at the first BVal of 0; slot 2999 always stays the end mark.
// The slide location fills it; the slide movement and the surface update of
// the layer read it.
inline constexpr int kMaxSlideRegions = 3000;
inline int BVal[kMaxSlideRegions];             // label of the slide (a bed cell), 0 ends the list
inline int BNo[kMaxSlideRegions];              // columns of the slide
inline int BCen[kMaxSlideRegions];             // centre column (bed cell), 0 none
inline double kFlux[kMaxSlideRegions];         // mean surface change of the slide over one time step, m
inline double kHeight[kMaxSlideRegions];       // highest minus lowest column top, m
inline double kLength[kMaxSlideRegions];       // plan length between the highest and lowest column, m
inline double kFac[kMaxSlideRegions];          // depth factor of the sliding surface
inline double kLevel[kMaxSlideRegions];        // target sliding-surface level at the centre column, m
inline double kA[kMaxSlideRegions];            // plane through the highest and lowest column top:
inline double kB[kMaxSlideRegions];            //   level (kA x + kB y + kD) ikC
inline double kC[kMaxSlideRegions];
inline double kD[kMaxSlideRegions];
inline double ikC[kMaxSlideRegions];
inline double kDiff[kMaxSlideRegions];         // greatest depth of the sliding surface below that plane, m
inline double kSF[kMaxSlideRegions];           // safety factor, resisting over driving force
inline double kLastMult[kMaxSlideRegions];     // last multiplier of the surface sources
inline double kStrain[kMaxSlideRegions];       // cleared with the table
inline double kCohesion[kMaxSlideRegions];     // cohesion per unit area, Pa
inline double kFriction[kMaxSlideRegions];     // friction per unit area, Pa
inline double kGravityI[kMaxSlideRegions];     // gravity along i per unit area, Pa
inline double kGravityJ[kMaxSlideRegions];     // gravity along j per unit area, Pa
inline double kGroundwaterI[kMaxSlideRegions]; // groundwater flow force along i per unit area, Pa
inline double kGroundwaterJ[kMaxSlideRegions]; // groundwater flow force along j per unit area, Pa
inline double kHeightN[kMaxSlideRegions];      // mean height above the sliding surface, m
inline double kHeightW[kMaxSlideRegions];      // its part below the groundwater level, m
inline double kHeightD[kMaxSlideRegions];      // its part above the groundwater level, m
