// What the four volume plug-ins share after their own count checks: the
// inputs (x, y, z, volume) checked for soundness and unpacked.
#ifndef GRIDMEX_VOLUME_ENTRY_H
#define GRIDMEX_VOLUME_ENTRY_H

#include "host/plugin/entry.h"

namespace voxel {

struct VolumeInputs {
    const double *x, *y, *z;
    entry::Index count;       // points: the elements of x
    entry::Index rows, cols;  // the shape of every output: that of x, further dimensions folded
    const mxArray *volume;    // read in its own class through entry::withElements
    entry::Index M, N, P;     // extents of the volume; P is 1 for a 2-D volume
};

// Refuses coordinates that are not real double arrays, a volume of a class
// that holds no real numbers, and y or z with fewer elements than x, then
// unpacks prhs[0..3].
inline VolumeInputs volumeInputs(const entry::Checks &check, const mxArray *prhs[]) {
    check.realDouble(prhs[0], "x");
    check.realDouble(prhs[1], "y");
    check.realDouble(prhs[2], "z");
    check.realNumeric(prhs[3], "volume");
    const entry::Index count = entry::count(prhs[0]);
    check.atLeast(prhs[1], count, "y", "as many as x");
    check.atLeast(prhs[2], count, "z", "as many as x");
    const entry::Index M = entry::extent(prhs[3], 0), N = entry::extent(prhs[3], 1), P = entry::extent(prhs[3], 2);
    // A volume such as 5 x 5 x 4 x 0 has extents but no voxel to read.
    if (count > 0) check.atLeast(prhs[3], M * N * P, "volume", "one per voxel of its first three dimensions");
    return VolumeInputs{entry::doubles(prhs[0]),
                        entry::doubles(prhs[1]),
                        entry::doubles(prhs[2]),
                        count,
                        entry::rows(prhs[0]),
                        entry::cols(prhs[0]),
                        prhs[3],
                        M,
                        N,
                        P};
}

}  // namespace voxel

#endif
