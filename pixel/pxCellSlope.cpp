// [gx, gy] = pxCellSlope(X, Y, I): image gradient at the pixel of each point.
#include "pixel/cell_slope_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    pixel::cellSlopeEntry<false>("pxCellSlope", nlhs, plhs, nrhs, prhs);
}
