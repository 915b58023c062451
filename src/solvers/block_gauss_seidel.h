// The alternative Gauss-Seidel family of F 164 above 20: Jacobi and in-place
// relaxation on thread shares, relaxation along the water columns with Jacobi
// across them on blocks of whole columns, and the serial forms.
#pragma once

// Relaxes cells first..last of the field behind Cf by `sweeps` sweeps of the
// variant F 164 selects; Cfn holds the intermediate values of the two-array
// variants and CnInvAp the reciprocals of Cap of the serial ones.
void GaussN(int first, int last, int sweeps);

// The block bounds of the last column-block call: OmpArray[0] = first - 1,
// OmpArray[k] the last cell of block k.
const int *OmpArray();
