// [mean, dev] = vxGrayStats(volume): mean and sample standard deviation of
// an M x N x P volume.
#include "util/gray_stats_entry.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    util::grayStatsEntry("vxGrayStats", 3, nlhs, plhs, nrhs, prhs);
}
