// OpenCV's cv::remap as a compiled peer of the 2-D sampling plug-ins: the
// same double image, the same points as float maps, a new output each call.
#ifndef GRIDMEX_BENCH_PEERS_CV_H
#define GRIDMEX_BENCH_PEERS_CV_H

#include <cstdint>
#include <memory>

namespace bench {

class Remap {
public:
    // The M x N column-major image (row-major N x M for OpenCV, which shares
    // its memory) and the points (X, Y) of the plug-ins' frame, converted
    // once to float maps of rows x (count / rows).
    Remap(const double *image, std::int64_t M, std::int64_t N, const double *X, const double *Y, std::int64_t rows,
          std::int64_t count);
    ~Remap();

    // Seconds of one remap into a new output on `threads` threads (its
    // release not timed); `cubic` chooses bicubic over bilinear.  `out`,
    // when given, receives the values in the points' order.
    double seconds(bool cubic, int threads, double *out = nullptr) const;

private:
    struct Maps;
    std::unique_ptr<Maps> maps_;
};

}  // namespace bench

#endif
