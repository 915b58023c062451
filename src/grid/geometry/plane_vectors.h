// Plan-view vector helpers shared by the sediment, slide and quality
// routines.
#pragma once

// The cosine of the angle between the plan vectors (x1, y1) and (x2, y2);
// 0 when either is zero (the 1e-20 keeps the division finite).
double dotproduct(double x1, double y1, double x2, double y2);
