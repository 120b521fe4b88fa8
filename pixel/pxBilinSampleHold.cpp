// out = pxBilinSampleHold(X, Y, I): bilinear image sampling, border rule Hold.
#include "pixel/bilinear_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    pixel::bilinEntry<pixel::Border::Hold>("pxBilinSampleHold", nlhs, plhs, nrhs, prhs);
}
