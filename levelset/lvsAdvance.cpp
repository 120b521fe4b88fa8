// phi = lvsAdvance(phi0, F, h, dt): one step of the level-set equation with
// normal speed F.
#include "levelset/advance.h"
#include "levelset/levelset_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    levelset::stepEntry("lvsAdvance", "phi0", "F", levelset::advance, nlhs, plhs, nrhs, prhs);
}
