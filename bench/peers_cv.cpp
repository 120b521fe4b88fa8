// cv::remap timed as a caller of a host gets it: a fresh output array each
// call.  OpenCV's x is the column of its row-major matrix, which is the row
// coordinate of the plug-ins' column-major frame; both are shifted to 0-based.
#include "bench/peers_cv.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <chrono>
#include <cstring>

namespace bench {

struct Remap::Maps {
    cv::Mat image, x, y;
};

Remap::Remap(const double *image, std::int64_t M, std::int64_t N, const double *X, const double *Y, std::int64_t rows,
             std::int64_t count)
    : maps_(std::make_unique<Maps>()) {
    maps_->image = cv::Mat(int(N), int(M), CV_64F, const_cast<double *>(image));
    const int cols = int(count / rows);
    maps_->x.create(cols, int(rows), CV_32F);
    maps_->y.create(cols, int(rows), CV_32F);
    auto *x = maps_->x.ptr<float>(), *y = maps_->y.ptr<float>();
    for (std::int64_t k = 0; k < count; ++k) {
        x[k] = float(X[k] - 1);
        y[k] = float(Y[k] - 1);
    }
}

Remap::~Remap() = default;

double Remap::seconds(bool cubic, int threads, double *out) const {
    cv::setNumThreads(threads);
    auto start = std::chrono::steady_clock::now();
    cv::Mat result;
    cv::remap(maps_->image, result, maps_->x, maps_->y, cubic ? cv::INTER_CUBIC : cv::INTER_LINEAR);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (out) std::memcpy(out, result.ptr<double>(), result.total() * sizeof(double));
    return s;
}

}  // namespace bench
