// phi = lvsRedistance0(phi0, h, dt): one redistancing step of size dt.
#include "levelset/levelset_entry.h"
#include "levelset/redistance.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 3) mexErrMsgTxt("Three inputs required.");
    if (nlhs != 1) mexErrMsgTxt("One output required.");

    const entry::Checks check("lvsRedistance0");
    check.realDouble(prhs[0], "phi0");
    const levelset::FieldSize s = levelset::fieldSize(check, prhs[0], "phi0");
    const double h = levelset::spacing(check, prhs[1]);
    const double dt = levelset::scalar(check, prhs[2], "dt");

    plhs[0] = entry::newUnfilled(s.M, s.N);

    levelset::redistanceStep(entry::doubles(prhs[0]), entry::doubles(plhs[0]), s.M, s.N, dt, 1.0 / h);
}
