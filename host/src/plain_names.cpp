// Linux's libmx also exports the functions of the _730 list under their plain
// names, with the same 64-bit sizes: plug-ins built against MATLAB headers of
// release 2017b or older bind those names on Linux.
#include "host/src/host_state.h"

#undef mxCreateNumericArray
#undef mxCreateNumericMatrix
#undef mxCreateDoubleMatrix
#undef mxCreateUninitNumericArray
#undef mxCreateUninitNumericMatrix
#undef mxCreateCellMatrix
#undef mxCreateStructMatrix
#undef mxGetNumberOfDimensions
#undef mxGetDimensions
#undef mxGetCell
#undef mxSetCell
#undef mxGetField
#undef mxSetField

extern "C" {

GRIDMEX_HOST_API mwSize mxGetNumberOfDimensions(const mxArray *a) { return mxGetNumberOfDimensions_730(a); }
GRIDMEX_HOST_API const mwSize *mxGetDimensions(const mxArray *a) { return mxGetDimensions_730(a); }
GRIDMEX_HOST_API mxArray *mxCreateNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx) {
    return mxCreateNumericArray_730(ndim, dims, cls, cx);
}
GRIDMEX_HOST_API mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity cx) {
    return mxCreateNumericMatrix_730(m, n, cls, cx);
}
GRIDMEX_HOST_API mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity cx) {
    return mxCreateDoubleMatrix_730(m, n, cx);
}
GRIDMEX_HOST_API mxArray *mxCreateUninitNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx) {
    return mxCreateUninitNumericArray_730(ndim, dims, cls, cx);
}
GRIDMEX_HOST_API mxArray *mxCreateUninitNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity cx) {
    return mxCreateUninitNumericMatrix_730(m, n, cls, cx);
}
GRIDMEX_HOST_API mxArray *mxCreateCellMatrix(mwSize m, mwSize n) { return mxCreateCellMatrix_730(m, n); }
GRIDMEX_HOST_API mxArray *mxGetCell(const mxArray *cell, mwIndex i) { return mxGetCell_730(cell, i); }
GRIDMEX_HOST_API void mxSetCell(mxArray *cell, mwIndex i, mxArray *value) { mxSetCell_730(cell, i, value); }
GRIDMEX_HOST_API mxArray *mxCreateStructMatrix(mwSize m, mwSize n, int nfields, const char **names) {
    return mxCreateStructMatrix_730(m, n, nfields, names);
}
GRIDMEX_HOST_API mxArray *mxGetField(const mxArray *s, mwIndex i, const char *name) {
    return mxGetField_730(s, i, name);
}
GRIDMEX_HOST_API void mxSetField(mxArray *s, mwIndex i, const char *name, mxArray *value) {
    mxSetField_730(s, i, name, value);
}
}
