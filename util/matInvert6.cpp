// B = matInvert6(A): the inverses of a stack of 6x6 matrices, one matrix of
// 36 values per column of A.
#include "host/plugin/entry.h"
#include "util/invert6.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const entry::Checks check("matInvert6");
    if (nrhs < 1) {
        check.refuse("noInput", "One input required: a 36 x n array holding one 6x6 matrix per column.");
    }
    const mxArray *A = prhs[0];
    if (entry::rows(A) != 36) mexErrMsgTxt("Only 6x6 matrix !");
    if (nrhs > 1) mexErrMsgTxt("Only one input required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");
    check.realDouble(A, "A");
    const entry::Index n = entry::cols(A);

    plhs[0] = entry::newUnfilled(36, n);

    const double *a = entry::doubles(A);
    const util::Singular s = util::invert6Stack(a, n, entry::doubles(plhs[0]));
    if (s.matrix == n) return;

    // The failing matrix, one of its columns per line.
    mexPrintf("Pivot %d %d %g\n", s.pivot.step, s.pivot.step, s.pivot.value);
    const double *m = a + 36 * s.matrix;
    for (int v = 0; v < 36; ++v) {
        mexPrintf("     %7.4f", m[v]);
        if (v % 6 == 5) mexPrintf("\n");
    }
    mexErrMsgTxt("Singular Matrix.");
}
