/* The project's own minimal MEX host: the subset of the MATLAB MEX and matrix
 * C interface that the plug-ins call, with the same names, types and
 * behaviour (64-bit sizes on every system).  Plug-ins compiled
 * for the own host include this header; Octave and MATLAB builds include the
 * host's own mex.h instead. */
#ifndef GRIDMEX_OWN_HOST_MEX_H
#define GRIDMEX_OWN_HOST_MEX_H

#include <stdbool.h>
#include <stddef.h>

#include "common/compiler.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef size_t mwSize;
typedef size_t mwIndex;
typedef ptrdiff_t mwSignedIndex;
typedef bool mxLogical;
typedef unsigned short mxChar; /* UTF-16 code units, as MATLAB stores text */

typedef struct mxArray_tag mxArray;

typedef enum {
    mxUNKNOWN_CLASS = 0,
    mxCELL_CLASS,
    mxSTRUCT_CLASS,
    mxLOGICAL_CLASS,
    mxCHAR_CLASS,
    mxVOID_CLASS,
    mxDOUBLE_CLASS,
    mxSINGLE_CLASS,
    mxINT8_CLASS,
    mxUINT8_CLASS,
    mxINT16_CLASS,
    mxUINT16_CLASS,
    mxINT32_CLASS,
    mxUINT32_CLASS,
    mxINT64_CLASS,
    mxUINT64_CLASS,
    mxFUNCTION_CLASS
} mxClassID;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

/* What the host libraries export.  On Windows the host is two DLLs, libmx.dll
 * and libmex.dll, as MATLAB's: they export what they define, and everything
 * else imports it. */
#if defined(_WIN32)
#if defined(GRIDMEX_BUILDING_HOST)
#define GRIDMEX_HOST_API __declspec(dllexport)
#else
#define GRIDMEX_HOST_API __declspec(dllimport)
#endif
#else
#define GRIDMEX_HOST_API GRIDMEX_VISIBLE
#endif

/* The functions whose size arguments became 64 bits wide in release 7.3
 * take 64-bit sizes under the suffix _730; MATLAB's headers bind those names
 * on every system (Windows and macOS keep the old 32-bit entry under the
 * plain name, Linux libraries export both).  So does a plug-in built against
 * this header, and the host defines them under those names (on Linux also
 * under the plain ones, which plug-ins built against older headers bind). */
#define mxCreateNumericArray mxCreateNumericArray_730
#define mxCreateNumericMatrix mxCreateNumericMatrix_730
#define mxCreateDoubleMatrix mxCreateDoubleMatrix_730
#define mxCreateUninitNumericArray mxCreateUninitNumericArray_730
#define mxCreateUninitNumericMatrix mxCreateUninitNumericMatrix_730
#define mxCreateLogicalMatrix mxCreateLogicalMatrix_730
#define mxCreateCharArray mxCreateCharArray_730
#define mxCreateCellArray mxCreateCellArray_730
#define mxCreateCellMatrix mxCreateCellMatrix_730
#define mxCreateStructArray mxCreateStructArray_730
#define mxCreateStructMatrix mxCreateStructMatrix_730
#define mxGetNumberOfDimensions mxGetNumberOfDimensions_730
#define mxGetDimensions mxGetDimensions_730
#define mxGetCell mxGetCell_730
#define mxSetCell mxSetCell_730
#define mxGetField mxGetField_730
#define mxSetField mxSetField_730
#define mxGetFieldByNumber mxGetFieldByNumber_730
#define mxSetFieldByNumber mxSetFieldByNumber_730
#define mxGetString mxGetString_730

/* Sizes and layout. */
GRIDMEX_HOST_API size_t mxGetM(const mxArray *a);
GRIDMEX_HOST_API size_t mxGetN(const mxArray *a);
GRIDMEX_HOST_API size_t mxGetNumberOfElements(const mxArray *a);
GRIDMEX_HOST_API mwSize mxGetNumberOfDimensions(const mxArray *a);
GRIDMEX_HOST_API const mwSize *mxGetDimensions(const mxArray *a);
GRIDMEX_HOST_API size_t mxGetElementSize(const mxArray *a);

/* Data. */
GRIDMEX_HOST_API void *mxGetData(const mxArray *a);
GRIDMEX_HOST_API double *mxGetPr(const mxArray *a);
GRIDMEX_HOST_API double *mxGetPi(const mxArray *a);
GRIDMEX_HOST_API void *mxGetImagData(const mxArray *a);
GRIDMEX_HOST_API double mxGetScalar(const mxArray *a);

/* Class queries. */
GRIDMEX_HOST_API mxClassID mxGetClassID(const mxArray *a);
GRIDMEX_HOST_API const char *mxGetClassName(const mxArray *a);
GRIDMEX_HOST_API bool mxIsDouble(const mxArray *a);
GRIDMEX_HOST_API bool mxIsInt32(const mxArray *a);
GRIDMEX_HOST_API bool mxIsLogical(const mxArray *a);
GRIDMEX_HOST_API bool mxIsComplex(const mxArray *a);
GRIDMEX_HOST_API bool mxIsSparse(const mxArray *a);
GRIDMEX_HOST_API bool mxIsEmpty(const mxArray *a);
GRIDMEX_HOST_API bool mxIsNumeric(const mxArray *a);
GRIDMEX_HOST_API bool mxIsChar(const mxArray *a);
GRIDMEX_HOST_API bool mxIsCell(const mxArray *a);
GRIDMEX_HOST_API bool mxIsStruct(const mxArray *a);
GRIDMEX_HOST_API bool mxIsFunctionHandle(const mxArray *a);

/* Creation and destruction.  New arrays are zero-filled, but for those of
 * the Uninit functions, whose elements are undefined until the caller writes
 * them (the own host's test build fills them with a pattern, see
 * mexhost.h). */
GRIDMEX_HOST_API mxArray *mxCreateNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx);
GRIDMEX_HOST_API mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity cx);
GRIDMEX_HOST_API mxArray *mxCreateUninitNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity cx);
GRIDMEX_HOST_API mxArray *mxCreateUninitNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity cx);
GRIDMEX_HOST_API mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity cx);
GRIDMEX_HOST_API mxArray *mxCreateDoubleScalar(double value);
GRIDMEX_HOST_API mxArray *mxCreateString(const char *text);
/* Cells and structs own the arrays stored in them (mxDestroyArray frees
 * them too); as in MATLAB, storing over an element does not free the one it
 * replaces.  mxGetData of a cell, struct or function handle is NULL. */
GRIDMEX_HOST_API mxArray *mxCreateCellMatrix(mwSize m, mwSize n);
GRIDMEX_HOST_API mxArray *mxGetCell(const mxArray *cell, mwIndex i);
GRIDMEX_HOST_API void mxSetCell(mxArray *cell, mwIndex i, mxArray *value);
GRIDMEX_HOST_API mxArray *mxCreateStructMatrix(mwSize m, mwSize n, int nfields, const char **names);
GRIDMEX_HOST_API int mxGetNumberOfFields(const mxArray *s);
GRIDMEX_HOST_API mxArray *mxGetField(const mxArray *s, mwIndex i, const char *name);
GRIDMEX_HOST_API void mxSetField(mxArray *s, mwIndex i, const char *name, mxArray *value);
GRIDMEX_HOST_API void mxDestroyArray(mxArray *a);

/* Scratch memory of one call; whatever is still held when the call ends is
 * released by the host. */
GRIDMEX_HOST_API void *mxMalloc(size_t n);
GRIDMEX_HOST_API void *mxCalloc(size_t n, size_t size);
GRIDMEX_HOST_API void mxFree(void *p);

/* Errors end the call and never return; the console is the host's. */
GRIDMEX_HOST_API GRIDMEX_NORETURN void mexErrMsgTxt(const char *text);
GRIDMEX_HOST_API GRIDMEX_NORETURN GRIDMEX_PRINTF(2, 3) void mexErrMsgIdAndTxt(const char *id, const char *fmt, ...);
GRIDMEX_HOST_API GRIDMEX_PRINTF(1, 2) int mexPrintf(const char *fmt, ...);

/* The entry point every plug-in defines. */
void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

#ifdef __cplusplus
}
#endif

#endif
