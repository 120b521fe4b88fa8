// [gi, gj, gk] = vxCellSlope(x, y, z, volume): finite-difference volume
// gradient at the voxel holding each point.
#include "voxel/cell_slope.h"
#include "voxel/volume_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 4) mexErrMsgTxt("At least four inputs required.");
    if (nlhs != 3) mexErrMsgTxt("Three outputs required.");

    const voxel::VolumeInputs in = voxel::volumeInputs(entry::Checks("vxCellSlope"), prhs);

    for (int o = 0; o < 3; ++o) plhs[o] = entry::newUnfilled(in.rows, in.cols);

    double *gi = entry::doubles(plhs[0]), *gj = entry::doubles(plhs[1]), *gk = entry::doubles(plhs[2]);
    entry::withElements(in.volume, [&](const auto *V) {
        voxel::cellSlope(in.x, in.y, in.z, in.count, V, in.M, in.N, in.P, gi, gj, gk);
    });
}
