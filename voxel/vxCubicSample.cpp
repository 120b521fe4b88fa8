// value = vxCubicSample(x, y, z, volume): local cubic spline volume sampling.
#include "voxel/cubic_spline.h"
#include "voxel/volume_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 4) mexErrMsgTxt("At least four inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");

    const voxel::VolumeInputs in = voxel::volumeInputs(entry::Checks("vxCubicSample"), prhs);

    plhs[0] = entry::newUnfilled(in.rows, in.cols);

    double *out = entry::doubles(plhs[0]);
    entry::withElements(
        in.volume, [&](const auto *V) { voxel::cubicSample(in.x, in.y, in.z, in.count, V, in.M, in.N, in.P, out); });
}
