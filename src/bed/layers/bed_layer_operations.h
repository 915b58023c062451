// The layer stack under one water column: deposit and erode (ChangeLayers),
// join, split and clean layers, move sediment between them, and the armour
// depth and available sediment the multi-layer bed update asks for. Every
// routine touches only its own bed cell, so callers may run them in parallel
// over bed cells.
#pragma once

// Applies the bed change of bed cell b (Bbedchange, a bulk thickness per size
// at the top layer's solid fraction) to its stack: a positive movement adds a
// deposit layer, a negative one erodes movement metres from the top. Ends the
// run with -4 on a stack it cannot keep consistent.
void ChangeLayers(int b, double movement);

// Merges layer l (raised to 1 when below) into layer l - 1 and closes the gap.
void JoinLayers(int b, int l);

// The layer l that JoinLayers should merge into l - 1 when the stack is full.
int FindJoinLayer(int b);

// Splits the uppermost layer thicker than three reference thicknesses in two.
void SplitLayers(int b);

// Joins away layers thinner than 1e-10 m; returns how many above layer 0 went.
int removeZerolayers(int b);

// Takes the solid volume -amount (amount <= 0, m) of size k out of the layer;
// returns what it could not take (<= 0), -0.0 when all was taken.
double erodeLayerUnder(int b, int layer, int k, double amount);

// Moves a bulk thickness t from layer from to layer to of bed cell b, mixing
// the grain fractions by solid volume.
void MoveSediment(int from, int to, int b, double t);

// The armour depth D of the column by F 447 as -D (-0.0 when D <= 0); stores
// the lowest layer erosion may reach in Barmourthick[b].
double computeArmourDepth(int b, double depth);

// Solid volume per plan area (m) of each size within the top -depth metres of
// the bed into avail[1..lnumber]; avail[0] is not touched.
void computeAvailableFraction(int b, double avail[], double depth);

// As computeAvailableFraction in bulk metres (pores included).
void computeAvailableFractionMeters(int b, double avail[], double depth);

// The summed thickness of layers 0..BlayerTop[b] (0 without layers), m.
double stackThickness(int b);

// The reference layer thickness: F 106 when positive, else the largest grain.
double referenceLayerThickness();
