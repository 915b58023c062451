// The cells of the unstructured grid: parallel arrays indexed by cell number,
// 1..NoCells, entry 0 the dummy cell whose neighbours are 0. Allocated once to
// the F 65 capacity MaxCeller; a null pointer means the option is off.
#pragma once

class TableAllocator;

inline int NoCells;  // cells in use
inline int NoCells0;  // cells of the base grid with its extra layer, without a one-cell-per-column block

// Connectivity (sides: s south, e east, n north, w west, b bottom, t top).
inline int *Cflatee;   // face on the east side, 0 none
inline int *Cflatew;   // face on the west side
inline int *Cflates;   // face on the south side
inline int *Cflaten;   // face on the north side
inline int *Cflatet;   // face on the top side
inline int *Cflateb;   // face on the bottom side
inline int *Ccelle;    // neighbour cell on the east side, 0 none
inline int *Ccellw;    // neighbour cell on the west side
inline int *Ccells;    // neighbour cell on the south side
inline int *Ccelln;    // neighbour cell on the north side
inline int *Ccellt;    // neighbour cell on the top side
inline int *Ccellb;    // neighbour cell on the bottom side
inline int *Cpoint1;   // corner 1, bottom at (i, j), point number
inline int *Cpoint2;   // corner 2, bottom at (i+1, j)
inline int *Cpoint3;   // corner 3, bottom at (i+1, j+1)
inline int *Cpoint4;   // corner 4, bottom at (i, j+1)
inline int *Cpoint5;   // corner 5, top above corner 1
inline int *Cpoint6;   // corner 6, top above corner 2
inline int *Cpoint7;   // corner 7, top above corner 3
inline int *Cpoint8;   // corner 8, top above corner 4
inline int *CflagDim;  // cell kind mark, 2 for a cell of a nested block
inline int *Cisolve;   // solve order: the cells column by column, entry 0 and the entry after the last 0
inline int *Cjsolve;   // structured index j of the cell's column
inline int *Ccoarsenest;    // coarse cell of a nested cell (F 65 MaxNester > 1)
inline int *Cinterpolnest;  // nesting map per cell (MaxNester > 1)
inline int *Cinout;    // in/out mark of the cell
inline int *Conecell;  // 1 for a cell marked by the one-cell pass
inline int *Ctrekant;  // collapsed-cell code 0..24 at the water edge
inline int *CcellAe;   // second east neighbour of the pressure gradient (F 114 20)
inline int *CcellAw;   // second west neighbour (F 114 20)
inline int *CcellAs;   // second south neighbour (F 114 20)
inline int *CcellAn;   // second north neighbour (F 114 20)
inline int *Cncelle;   // east neighbours in an independently layered column (F 137)
inline int *Cncellw;   // west neighbours (F 137)
inline int *Cncells;   // south neighbours (F 137)
inline int *Cncelln;   // north neighbours (F 137)

// Geometry: extents between opposite face centres, m; areas m2; volume m3.
inline double *Cdxdi;  // x extent along i, m
inline double *Cdxdj;  // x extent along j, m
inline double *Cdxdk;  // x extent along k, m
inline double *Cdydi;  // y extent along i, m
inline double *Cdydj;  // y extent along j, m
inline double *Cdydk;  // y extent along k, m
inline double *Cdzdi;  // z extent along i, m
inline double *Cdzdj;  // z extent along j, m
inline double *Cdzdk;  // z extent along k, the full cell height, m
inline double *Cidist;    // half the extent along i, m
inline double *Cjdist;    // half the extent along j, m
inline double *Ckdist;    // half the cell height, m
inline double *Cxcenter;  // x of the cell centre, m
inline double *Cycenter;  // y of the cell centre, m
inline double *Czcenter;  // z of the cell centre, m
inline double *CinvAp;    // inverse centre coefficient of the momentum equations
inline double *Cvol;      // cell volume, m3

// Flow fields.
inline double *Cxvel;       // velocity in x, m/s
inline double *Cyvel;       // velocity in y, m/s
inline double *Czvel;       // velocity in z, m/s
inline double *Cpres;       // pressure, Pa
inline double *Ckinen;      // turbulent kinetic energy, m2/s2
inline double *Cepsilon;    // dissipation of k, m2/s3 (omega in the k-omega models)
inline double *Cdensgradi;  // density gradient along i
inline double *Cdensgradj;  // density gradient along j
inline double *Cf;          // field of the equation being solved
inline double *Cf_old;      // that field at the previous time step
inline double *Cf_old2;     // that field two time steps back (F 208); points at a field, never allocated
inline double *Cgamma;      // eddy viscosity of the side faces, 1000 times m2/s
inline double *CgammaV;     // eddy viscosity of the bottom and top faces, 1000 times m2/s
inline double *Careax;      // projected area normal to x, m2
inline double *Careay;      // projected area normal to y, m2
inline double *Careaz;      // plan area, m2
inline double *Croughness;  // wall roughness, m
inline double *Cporosity;   // porosity (F 115)

// Coefficients of the discrete equation Cap·f = sum(Cnb·f_nb) + Csource.
inline double *Cap;      // centre coefficient
inline double *Cae;      // east neighbour coefficient
inline double *Caw;      // west neighbour coefficient
inline double *Cas;      // south neighbour coefficient
inline double *Can;      // north neighbour coefficient
inline double *Cat;      // top neighbour coefficient
inline double *Cab;      // bottom neighbour coefficient
inline double *Cfn;      // work coefficient of the solvers
inline double *CnInvAp;  // work inverse centre coefficient of the solvers
inline double *Caee;     // second east neighbour coefficient (second-order schemes)
inline double *Caww;     // second west neighbour coefficient
inline double *Cass;     // second south neighbour coefficient
inline double *Cann;     // second north neighbour coefficient
inline double *Catt;     // second top neighbour coefficient
inline double *Cabb;     // second bottom neighbour coefficient
inline double *Csource;  // source term

// Previous time steps, transient runs (TimeStep above 1e-8).
inline double *Cxvel_old;     // velocity in x at the previous step, m/s
inline double *Cyvel_old;     // velocity in y at the previous step, m/s
inline double *Czvel_old;     // velocity in z at the previous step, m/s
inline double *Cpres_old;     // pressure at the previous step, Pa
inline double *Ckinen_old;    // k at the previous step, m2/s2
inline double *Cepsilon_old;  // epsilon at the previous step, m2/s3
inline double *CinvAp_old;    // CinvAp at the previous step
inline double *Cxvel_old2;    // velocity in x two steps back (F 208), m/s
inline double *Cyvel_old2;    // velocity in y two steps back, m/s
inline double *Czvel_old2;    // velocity in z two steps back, m/s

// Velocity-correction variants (F 171) and residuals kept for output (F 153 1).
inline double *CinvApP;       // CinvAp of the pressure stage
inline double *CxvelP;        // predicted velocity in x, m/s
inline double *CyvelP;        // predicted velocity in y, m/s
inline double *CzvelP;        // predicted velocity in z, m/s
inline double *Cxvel_res;     // residual of the x momentum equation
inline double *Cyvel_res;     // residual of the y momentum equation
inline double *Czvel_res;     // residual of the z momentum equation
inline double *Cpres_res;     // residual of the pressure correction
inline double *Ckinen_res;    // residual of the k equation
inline double *Cepsilon_res;  // residual of the epsilon equation

// Slides, soil stress, damping and line solvers.
inline int *Cthixolev;        // slide-layer level index (F 236, F 248)
inline double *Cthixorat;     // slide-layer ratio (F 236, F 248)
inline double *Cxmove;        // soil movement in x (F 248), m
inline double *Cymove;        // soil movement in y (F 248), m
inline double *Czmove;        // soil movement in z (F 248), m
inline double *CdampDensity;  // density damping of turbulence (F 71 5)
inline int *Cbed;             // bed cell of the cell's column, 1..NoBCells
inline double *Czcenter_old;  // Czcenter before the last grid regeneration (F 147 0), m
inline double *Ckdist_old;    // Ckdist before the last grid regeneration (F 147 2), m
inline double *Cgroundwater;      // groundwater level solved in the layer's bottom cells (F 262), m
inline double *Cgroundwater_old;  // that level at the previous groundwater step (F 262), m
inline double *Cpt;           // line-solver work vector (F 186, F 261 18/19, F 343 2)
inline double *Cqt;           // line-solver work vector

// Several values per cell.
inline int **Cqncelle;   // [cell][0..znumber-1] first east neighbour of an independently layered column
inline int **Cqncellw;   // [cell][k] first west neighbour (F 137)
inline int **Cqncells;   // [cell][k] first south neighbour (F 137)
inline int **Cqncelln;   // [cell][k] first north neighbour (F 137)
inline double **Catm;    // [size 0..lnumber][cell] top coefficient per grain size
inline double **Cabm;    // [size][cell] bottom coefficient per grain size
inline double **Capm;    // [size][cell] centre coefficient per grain size
inline double **Csourcem;  // [size][cell] source per grain size; 5 rows with the fast driver (F 170)
inline double **Caem;    // [size][cell] east coefficient of the bed-load vector (F 78 > 4)
inline double **Canm;    // [size][cell] north coefficient of the bed-load vector
inline double **Casm;    // [size][cell] south coefficient of the bed-load vector
inline double **Cawm;    // [size][cell] west coefficient of the bed-load vector
inline double **CinvApf;  // [0..4][cell] inverse centre coefficients of the fast driver (F 170)
inline double **Cff;      // [0..4][cell] fields of the fast driver (F 170)
inline double **Cqnae;    // [cell][k] east coefficients of an independently layered column (F 137)
inline double **Cqnaw;    // [cell][k] west coefficients (F 137)
inline double **Cqnas;    // [cell][k] south coefficients (F 137)
inline double **Cqnan;    // [cell][k] north coefficients (F 137)
inline double **Cqnaee;   // [cell][k] second east coefficients (F 137, second-order schemes)
inline double **Cqnaww;   // [cell][k] second west coefficients
inline double **Cqnass;   // [cell][k] second south coefficients
inline double **Cqnann;   // [cell][k] second north coefficients
inline double **Cconc;      // [size 0..lnumber][cell] suspended-sediment concentration
inline double **Cconc_old;  // the same at the previous time step (transient runs)
inline double **Ccomp;      // [component 0..NoComponents-1][cell] water-quality components
inline double **Ccomp_old;  // the same at the previous time step (transient runs)
inline double **Cstress;    // [0..12][cell] soil stresses (F 248)
inline double **CU;         // [0..2][cell] shallow-water unknowns (F 311)
inline double **CF;         // [0..2][cell] shallow-water fluxes in x (F 311)
inline double **CG;         // [0..2][cell] shallow-water fluxes in y (F 311)
inline int **MGSCpoint;     // [cell][0..1 or 0..4] multigrid links of the cell (F 152, F 168)

// Allocates the cell tables and their coefficients to MaxCeller.
void allocateCellTables(TableAllocator &allocator);
