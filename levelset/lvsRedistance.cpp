// phi = lvsRedistance(phi0, h, T): redistancing steps of h/2 up to the
// pseudo-time T.
#include "levelset/levelset_entry.h"
#include "levelset/redistance.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 3) mexErrMsgTxt("Three inputs required.");
    if (nlhs != 1) mexErrMsgTxt("One output required.");

    const entry::Checks check("lvsRedistance");
    check.realDouble(prhs[0], "phi0");
    const levelset::FieldSize s = levelset::fieldSize(check, prhs[0], "phi0");
    const double h = levelset::spacing(check, prhs[1]);
    const double T = levelset::scalar(check, prhs[2], "T");
    if (!levelset::redistanceEnds(h * 0.5, T)) {
        check.refuse("endlessIteration",
                     "T = %g would take 2^53 or more steps of h/2 = %g; the iteration could never finish.", T, h * 0.5);
    }

    // Both scratch buffers are taken before any step, so that the steps run
    // without calling the host; the host frees them if a call fails.
    const std::size_t bytes = static_cast<std::size_t>(s.M * s.N) * sizeof(double);
    double *a = static_cast<double *>(mxMalloc(bytes));
    double *b = static_cast<double *>(mxMalloc(bytes));
    plhs[0] = entry::newUnfilled(s.M, s.N);

    levelset::redistance(entry::doubles(prhs[0]), s.M, s.N, h, T, a, b, entry::doubles(plhs[0]));

    mxFree(a);
    mxFree(b);
}
