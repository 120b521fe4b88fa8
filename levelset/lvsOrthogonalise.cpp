// psi = lvsOrthogonalise(psi0, phi, h, dt): one step that makes the level
// lines of psi cross those of phi at right angles.
#include "levelset/levelset_entry.h"
#include "levelset/orthogonalise.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    levelset::stepEntry("lvsOrthogonalise", "psi0", "phi", levelset::orthogonalise, nlhs, plhs, nrhs, prhs);
}
