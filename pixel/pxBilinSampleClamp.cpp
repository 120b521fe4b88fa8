// out = pxBilinSampleClamp(X, Y, I): bilinear image sampling, border rule Clamp.
#include "pixel/bilinear_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    pixel::bilinEntry<pixel::Border::Clamp>("pxBilinSampleClamp", nlhs, plhs, nrhs, prhs);
}
