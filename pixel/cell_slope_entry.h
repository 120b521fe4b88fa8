// The entry shared by the two cell gradient plug-ins:
//   [gx, gy] = pxCellSlope(X, Y, I)
//   [gx, gy] = pxCellSlopeMasked(X, Y, I, mask)
// The mask is read by its own class: int32, uint32, logical or double,
// non-zero marking a pixel inside.
#ifndef GRIDMEX_CELL_SLOPE_ENTRY_H
#define GRIDMEX_CELL_SLOPE_ENTRY_H

#include "cell_slope.h"
#include "point_inputs.h"

#include <cstdint>

namespace pixel {

static_assert(sizeof(mxLogical) == 1, "logical masks are read as bytes");

inline void checkMask(const entry::Checks &check, const mxArray *mask, Index pixels, bool anyPoint) {
    const bool readable = mxIsInt32(mask) || mxGetClassID(mask) == mxUINT32_CLASS || mxIsLogical(mask) || mxIsDouble(mask);
    if (!readable || mxIsComplex(mask) || mxIsSparse(mask)) {
        const char *kind = mxIsSparse(mask) ? "sparse " : mxIsComplex(mask) ? "complex " : "";
        check.refuse("maskClass", "mask must be a real int32, uint32, logical or double array (it is %s%s).", kind,
                     mxGetClassName(mask));
    }
    // Without points the mask is never read.
    if (anyPoint) check.atLeast(mask, pixels, "mask", "one per pixel of I");
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
    const double *I = entry::doubles(prhs[2]);

    plhs[0] = entry::newDoubles(entry::rows(prhs[0]), entry::cols(prhs[0]));
    plhs[1] = entry::newDoubles(entry::rows(prhs[0]), entry::cols(prhs[0]));
    double *gx = entry::doubles(plhs[0]);
    double *gy = entry::doubles(plhs[1]);

    if (!Masked) {
        cellSlope(X, Y, count, I, M, N, NoMask{}, gx, gy);
        return;
    }
    const void *mask = mxGetData(prhs[3]);
    switch (mxGetClassID(prhs[3])) {
    case mxINT32_CLASS:
    case mxUINT32_CLASS:  // the same test of 32 bits against zero
        cellSlope(X, Y, count, I, M, N, PixelMask<std::int32_t>{static_cast<const std::int32_t *>(mask)}, gx, gy);
        break;
    case mxLOGICAL_CLASS:
        cellSlope(X, Y, count, I, M, N, PixelMask<std::uint8_t>{static_cast<const std::uint8_t *>(mask)}, gx, gy);
        break;
    default:
        cellSlope(X, Y, count, I, M, N, PixelMask<double>{static_cast<const double *>(mask)}, gx, gy);
        break;
    }
}

}  // namespace pixel

#endif
