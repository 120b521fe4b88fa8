// The entry shared by the two cell gradient plug-ins:
//   [gx, gy] = pxCellSlope(X, Y, I)
//   [gx, gy] = pxCellSlopeMasked(X, Y, I, mask)
// The mask is read in its own class: any integer class, logical, single or
// double, non-zero marking a pixel inside.
#ifndef GRIDMEX_CELL_SLOPE_ENTRY_H
#define GRIDMEX_CELL_SLOPE_ENTRY_H

#include "pixel/cell_slope.h"
#include "pixel/point_inputs.h"

#include <type_traits>

namespace pixel {

inline void checkMask(const entry::Checks &check, const mxArray *mask, Index pixels, bool anyPoint) {
    if (!entry::withElements(mask, [](const auto *) {}) || mxIsComplex(mask) || mxIsSparse(mask)) {
        const char *kind = mxIsSparse(mask) ? "sparse " : mxIsComplex(mask) ? "complex " : "";
        check.refuse("maskClass", "mask must be a real array of class %s (it is %s%s).", entry::kNumericClasses, kind,
                     mxGetClassName(mask));
    }
    // Without points the mask is never read.
    if (anyPoint) check.atLeast(mask, pixels, "mask", "one per pixel of I");
}

// Calls f with the mask rule of `mask`.  Whether an integer is zero does not
// depend on its sign, so signed masks are read as the unsigned type of their
// width, which leaves six rules to compile.
template <typename F>
void withMask(const mxArray *mask, F f) {
    entry::withElements(mask, [&](const auto *m) {
        using T = std::remove_cv_t<std::remove_pointer_t<decltype(m)>>;
        if constexpr (std::is_integral_v<T>) {
            using U = std::make_unsigned_t<T>;
            f(PixelMask<U>{reinterpret_cast<const U *>(m)});
        } else {
            f(PixelMask<T>{m});
        }
    });
}

template <bool Masked>
void cellSlopeEntry(const char *plugin, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < (Masked ? 4 : 3))
        mexErrMsgTxt(Masked ? "At least four inputs required." : "At least three inputs required.");
    if (nlhs != 2) mexErrMsgTxt("Only two outputs required.");

    const entry::Checks check(plugin);
    checkPointInputs(check, prhs);
    const Index count = entry::count(prhs[0]);
    const Index M = entry::rows(prhs[2]);
    const Index N = entry::cols(prhs[2]);
    if (Masked) checkMask(check, prhs[3], M * N, count > 0);

    const double *X = entry::doubles(prhs[0]);
    const double *Y = entry::doubles(prhs[1]);

    plhs[0] = entry::newUnfilled(entry::rows(prhs[0]), entry::cols(prhs[0]));
    plhs[1] = entry::newUnfilled(entry::rows(prhs[0]), entry::cols(prhs[0]));
    double *gx = entry::doubles(plhs[0]);
    double *gy = entry::doubles(plhs[1]);

    entry::withElements(prhs[2], [&](const auto *I) {
        if constexpr (Masked) {
            withMask(prhs[3], [&](auto inside) { cellSlope(X, Y, count, I, M, N, inside, gx, gy); });
        } else {
            cellSlope(X, Y, count, I, M, N, NoMask{}, gx, gy);
        }
    });
}

}  // namespace pixel

#endif
