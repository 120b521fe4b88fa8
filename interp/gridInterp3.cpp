// v = gridInterp3(V, Xq, Yq, Zq [, method [, extrapval [, rule]]]): interp3
// on the implicit grid of V.
#include "interp/interp_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    interp::interpEntry<3>("gridInterp3", nlhs, plhs, nrhs, prhs);
}
