// The wall laws of the fast flow driver (F 170): the rough-wall terms of U,
// V, W, k and epsilon in the driver's five-row arrays.
#pragma once

// Over WCStart..WCEnd: clears rows 0..4 of CinvApf and Csourcem at every
// cell with a wall face and adds the friction, the k terms and the fixed
// epsilon value of each of its wall faces. Raises XksWall to 0.0001.
void wallFast();
