// out = pxBilinSample(X, Y, I): bilinear image sampling, border rule Sentinel.
#include "pixel/bilinear_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    pixel::bilinEntry<pixel::Border::Sentinel>("pxBilinSample", nlhs, plhs, nrhs, prhs);
}
