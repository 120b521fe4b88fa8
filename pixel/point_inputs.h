// Soundness checks shared by the entry sources whose first three inputs are
// the row coordinates X, the column coordinates Y and the image I.
#ifndef GRIDMEX_POINT_INPUTS_H
#define GRIDMEX_POINT_INPUTS_H

#include "host/plugin/entry.h"

namespace pixel {

// X and Y are read as real doubles, I in its own class, and Y at every
// linear position of X.
inline void checkPointInputs(const entry::Checks &check, const mxArray *prhs[]) {
    check.realDouble(prhs[0], "X");
    check.realDouble(prhs[1], "Y");
    check.realNumeric(prhs[2], "I");
    check.atLeast(prhs[1], entry::count(prhs[0]), "Y", "as many as X");
}

}  // namespace pixel

#endif
