// Checks shared by the entries of the level-set plug-ins, and the entry of
// the three one-step plug-ins of the form out = f(field, other, h, dt).
#ifndef GRIDMEX_LEVELSET_ENTRY_H
#define GRIDMEX_LEVELSET_ENTRY_H

#include "levelset/differences.h"
#include "host/plugin/entry.h"

#include <cstdio>

namespace levelset {

struct FieldSize {
    Index M, N;
};

// The first two extents of a field; the border differences need two of each.
inline FieldSize fieldSize(const entry::Checks &check, const mxArray *field, const char *name) {
    const FieldSize s{entry::extent(field, 0), entry::extent(field, 1)};
    if (s.M < 2 || s.N < 2) {
        check.refuse("fieldTooSmall", "%s must have at least 2 rows and 2 columns (it is %lld x %lld).", name,
                     static_cast<long long>(s.M), static_cast<long long>(s.N));
    }
    check.atLeast(field, s.M * s.N, name, "one per cell of its first two dimensions");
    return s;
}

// A scalar input (h, T or dt) of any numeric class.
inline double scalar(const entry::Checks &check, const mxArray *a, const char *name) {
    return check.scalar(a, name, "emptyScalar");
}

// The grid spacing h: a positive number.  With 0, a negative value or NaN
// the redistancing would never end and no difference would mean anything.
inline double spacing(const entry::Checks &check, const mxArray *a) {
    const double h = scalar(check, a, "h");
    if (!(h > 0)) check.refuse("badSpacing", "h must be a positive grid spacing (it is %g).", h);
    return h;
}

using StepKernel = void (*)(const double *field, const double *other, double *out, Index M, Index N, double ih,
                            double dt);

// out = f(field, other, h, dt): one explicit step of `kernel` over the grid
// of `field`, with `other` read at the same linear positions.
inline void stepEntry(const char *plugin, const char *fieldName, const char *otherName, StepKernel kernel, int nlhs,
                      mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 4) mexErrMsgTxt("Four inputs required.");
    if (nlhs != 1) mexErrMsgTxt("One output required.");

    const entry::Checks check(plugin);
    check.realDouble(prhs[0], fieldName);
    check.realDouble(prhs[1], otherName);
    const FieldSize s = fieldSize(check, prhs[0], fieldName);
    char why[160];
    std::snprintf(why, sizeof why, "one per cell of %s", fieldName);
    check.atLeast(prhs[1], s.M * s.N, otherName, why);
    const double h = spacing(check, prhs[2]);
    const double dt = scalar(check, prhs[3], "dt");

    plhs[0] = entry::newUnfilled(s.M, s.N);

    kernel(entry::doubles(prhs[0]), entry::doubles(prhs[1]), entry::doubles(plhs[0]), s.M, s.N, 1.0 / h, dt);
}

}  // namespace levelset

#endif
