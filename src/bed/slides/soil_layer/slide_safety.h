// Safety factor of one slide of the soil layer.
#pragma once

// Resisting (cohesion, friction) over driving force (gravity along the
// sliding surface, groundwater flow) of slide s, summed over its columns;
// stores the forces per unit area and kSF[s]. 0 for a slide without columns.
double computeSlideSF(int s);
