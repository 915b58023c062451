// The conservative centre coefficient of the transport equations (sediment
// and water-quality components): every cell's diagonal holds what it gives
// away through its faces, so that the discrete equation is the cell's mass
// balance whether or not the water fluxes close.
#pragma once

// The neighbour coefficients of one equation by side code 1 south, 2 east,
// 3 north, 4 west, 5 bottom, 6 top.
struct SideRows {
  const double *a[7];
};

// Share of the neighbour terms that is implicit: 1 - CrankNicols in a
// transient run with the power law, else 1 (what the builders keep).
double implicitShare(bool secondOrder);

// Turns a centre coefficient ap = time term + sum of the neighbour rows into
// the conservative one, for the cells WCStart..WCEnd of the faces
// first..last: each interior face adds the transported flux leaving the cell
// (water flux, less 1000·settling·Faz on faces between a lower and an upper
// cell), each boundary face its outflow in place of its own coefficient.
// The water surface lets nothing settle through it; the bed face takes the
// settling of the bottom cell (the flux the bed balance books as settled).
// Net inflow of a cell lowers ap below the sum of its neighbours, yet ap
// never falls below the time term and every column of the matrix keeps the
// sum of what leaves the cell: the system stays an M-matrix and the point
// and block sweeps converge.
void addNetOutflow(int first, int last, double *ap, const SideRows &rows, double settling, double share);

// The water leaving through the faces of the outflow groups (type 0), by
// each face's share of its group's discharge, joins the diagonal of the cell
// behind the face: the outflow the sediment bookkeeping counts. The
// discharges are DischargeArray with `stepDischarges`, else each group's own.
void addGroupOutflow(double *ap, bool stepDischarges);
