// u = lvsExtendField(u0, phi, h, dt): one step that carries u along the
// normals of phi, away from its zero level.
#include "levelset/extend.h"
#include "levelset/levelset_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    levelset::stepEntry("lvsExtendField", "u0", "phi", levelset::extend, nlhs, plhs, nrhs, prhs);
}
