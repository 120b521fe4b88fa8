// A probe plug-in for the host's own tests.  probe(mode): creates two
// outputs, takes scratch, prints, and then, by mode:
//   0 returns normally (scratch freed by the host, extra array released),
//   1 fails with mexErrMsgTxt, 2 fails with mexErrMsgIdAndTxt,
//   3 returns without assigning its second output,
//   4 and 5 make the second output uninitialised and write its elements
//   with their index, 4 all but the last, 5 all.
#include "mex.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    int mode = nrhs > 0 ? static_cast<int>(mxGetScalar(prhs[0])) : 0;
    mexPrintf("probe %d of %d\n", mode, nlhs);
    void *scratch = mxMalloc(1000);
    static_cast<char *>(scratch)[999] = 1;
    mxCreateDoubleMatrix(3, 3, mxREAL);  // a temporary the host must release
    plhs[0] = mxCreateDoubleScalar(mode);
    if (mode == 3) return;
    if (nlhs > 1 && (mode == 4 || mode == 5)) {
        plhs[1] = mxCreateUninitNumericMatrix(2, 5, mxDOUBLE_CLASS, mxREAL);
        double *out = mxGetPr(plhs[1]);
        for (int i = 0; i < (mode == 4 ? 9 : 10); ++i) out[i] = i;
    } else if (nlhs > 1) {
        plhs[1] = mxCreateDoubleMatrix(2, 5, mxREAL);
    }
    if (mode == 1) mexErrMsgTxt("probe failed");
    if (mode == 2) mexErrMsgIdAndTxt("probe:code", "probe failed with %d", 42);
    mexPrintf("not reached by failures\n");
}
