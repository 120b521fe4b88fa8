// [gx, gy] = pxCellSlopeMasked(X, Y, I, mask): image gradient at the pixel of
// each point, with one-sided differences or 0 where neighbours lie outside
// the mask.
#include "pixel/cell_slope_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    pixel::cellSlopeEntry<true>("pxCellSlopeMasked", nlhs, plhs, nrhs, prhs);
}
