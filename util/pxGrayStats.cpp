// [mean, dev] = pxGrayStats(image): mean and sample standard deviation of
// the first M x N page of an image.
#include "util/gray_stats_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    util::grayStatsEntry("pxGrayStats", 2, nlhs, plhs, nrhs, prhs);
}
