// v = gridInterp2(V, Xq, Yq [, method [, extrapval [, rule]]]): interp2 on
// the implicit grid of V.
#include "interp/interp_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    interp::interpEntry<2>("gridInterp2", nlhs, plhs, nrhs, prhs);
}
