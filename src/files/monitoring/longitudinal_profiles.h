// The sediment balance along the middle line of block 1 ("profiles").
#pragma once

// Writes "profiles" anew; with F 277 2 stores each column's mass defect in Bdefect.
void print_profiles();
