// Argument checks and the output shared by slopeBasis2, slopeBasis3 and
// slopeBasis3p.  Each check refuses a call that would read outside an array
// or loop without end; calls inside the documented limits all pass.
#ifndef GRIDMEX_SLOPE_BASIS_ENTRY_H
#define GRIDMEX_SLOPE_BASIS_ENTRY_H

#include "host/plugin/entry.h"
#include "fe/slope_basis.h"

#include <cmath>

namespace fe {

// The step s of input 3, truncated toward zero; 1 with only two inputs.
inline Index readStep(const entry::Checks &check, int nrhs, const mxArray *prhs[]) {
    if (nrhs < 3) return 1;
    const double given = check.scalar(prhs[2], "The step", "emptyStep");
    const double s = std::trunc(given);
    if (!(s >= 1)) {
        check.refuse("stepBelowOne", "The step must be at least 1 after truncation toward zero (it is %g).", given);
    }
    // Any step beyond every extent visits index 0 alone; capping it keeps
    // the index arithmetic inside 64 bits.
    constexpr double kLargest = 1e18;
    return s < kLargest ? static_cast<Index>(s) : static_cast<Index>(kLargest);
}

// Extents M, N, P of a volume, which must have three dimensions (or more:
// further dimensions are ignored).
inline void volumeExtents(const entry::Checks &check, const mxArray *volume, Index extent[3]) {
    const Index ndim = static_cast<Index>(mxGetNumberOfDimensions(volume));
    if (ndim < 3) {
        check.refuse("notThreeDimensional", "The volume must be a three-dimensional array (it has %lld dimensions).",
                     static_cast<long long>(ndim));
    }
    for (int q = 0; q < 3; ++q) extent[q] = entry::extent(volume, q);
}

// A call that visits any point takes one-sided differences, which need two
// samples along every axis.
template <int D>
void needTwoAlongEachAxis(const entry::Checks &check, const mxArray *array, const Index *extent, Index visited) {
    bool small = false;
    for (int q = 0; q < D; ++q) small = small || extent[q] < 2;
    if (visited == 0) return;
    // Extents with a zero further dimension (say 2 x 3 x 0) promise samples
    // the array does not hold.
    Index samples = 1;
    for (int q = 0; q < D; ++q) samples *= extent[q];
    check.atLeast(array, samples, D == 2 ? "The image" : "The volume", "one per sample of its first dimensions");
    if (!small) return;
    if constexpr (D == 2) {
        check.refuse("imageTooSmall", "The image must have at least 2 rows and 2 columns (it is %lld x %lld).",
                     static_cast<long long>(extent[0]), static_cast<long long>(extent[1]));
    } else {
        check.refuse(
            "volumeTooSmall", "The volume must have at least 2 voxels along each axis (it is %lld x %lld x %lld).",
            static_cast<long long>(extent[0]), static_cast<long long>(extent[1]), static_cast<long long>(extent[2]));
    }
}

// An index list: a real int32 array whose first `rows` values are read.
inline ListAxis indexList(const entry::Checks &check, const mxArray *list, const char *name) {
    if (!mxIsInt32(list) || mxIsComplex(list)) {
        check.refuse("listNotInt32", "The %s list must be a real int32 array (it is %s%s).", name,
                     mxIsComplex(list) ? "complex " : "", mxGetClassName(list));
    }
    check.atLeast(list, entry::rows(list), name, "one per row");
    return ListAxis{static_cast<const std::int32_t *>(mxGetData(list)), entry::rows(list)};
}

// Every index of a list must lie in 0 .. extent-1.
inline void listInside(const entry::Checks &check, const ListAxis &list, Index extent, const char *name) {
    for (Index a = 0; a < list.count; ++a) {
        const Index v = list.index[a];
        if (v < 0 || v >= extent) {
            check.refuse("indexOutsideVolume", "The %s list holds %lld at position %lld, outside 0 to %lld.", name,
                         static_cast<long long>(v), static_cast<long long>(a + 1), static_cast<long long>(extent - 1));
        }
    }
}

// One basis row per visited point.
inline void basisRows(const entry::Checks &check, const mxArray *basis, Index visited, const char *points) {
    const Index R = entry::rows(basis);
    if (R >= visited) return;
    check.refuse("basisTooShort", "The basis must have a row for each of the %lld visited %s (it has %lld rows).",
                 static_cast<long long>(visited), points, static_cast<long long>(R));
}

// Creates the R x D F result as output 1 and fills it.
template <int D, typename Axis>
void runSlopeBasis(mxArray *plhs[], const mxArray *grid, const Index *extent, const Axis *axis, const mxArray *basis) {
    const Index R = entry::rows(basis);
    const Index F = entry::cols(basis);
    plhs[0] = entry::newDoubles(R, D * F);
    const double *b = entry::doubles(basis);
    double *out = entry::doubles(plhs[0]);
    entry::withElements(grid, [&](const auto *f) { slopeBasis<D>(f, extent, axis, b, R, F, out); });
}

}  // namespace fe

#endif
