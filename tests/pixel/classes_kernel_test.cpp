// The four-point AVX2 pixel kernels read every element type as the scalar
// kernels do: same bits for bilinear sampling under each border rule, cell
// gradients without and with masks, cubic values and slopes, on images with
// each type's extremes, at points across every range rule.
#include "pixel/bilinear.h"
#include "pixel/cell_slope.h"
#include "pixel/cubic.h"
#include "tests/support/element_types.h"

namespace {

#ifdef GRIDMEX_AVX2

using namespace testing_support;
using pixel::Border;
using pixel::Index;

// Equal bits, or both NaN: where two NaN meet in a sum the sign of the NaN
// that comes out depends on the order the compiler gives the operands.
bool sameOrBothNaN(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b); }

// Each output of `scalar` and `lanes`, run over the same n points into
// outputs of their own, agrees point by point.
template <typename Scalar, typename Lanes>
void expectSameOutputs(const char *what, std::size_t n, int outputs, Scalar scalar, Lanes lanes) {
    std::vector<double> a[2], b[2];
    for (int o = 0; o < outputs; ++o) a[o].resize(n), b[o].resize(n);
    scalar(a[0].data(), a[outputs - 1].data());
    lanes(b[0].data(), b[outputs - 1].data());
    for (int o = 0; o < outputs; ++o)
        for (std::size_t k = 0; k < n; ++k)
            ASSERT_TRUE(sameOrBothNaN(a[o][k], b[o][k])) << what << " output " << o << " point " << k;
}

TEST(PixelClassKernels, FourPointKernelsReadEveryTypeAsTheScalarKernels) {
    if (!pixel::vectorKernel(3, 3)) GTEST_SKIP() << "no AVX2 on this processor";
    forEachElementType([](auto zero) {
        using T = decltype(zero);
        for (const auto &size : {std::pair<Index, Index>{4, 4}, {5, 3}, {23, 17}}) {
            const Index M = size.first, N = size.second;  // named, so that the lambdas below can capture them
            std::mt19937 rng(static_cast<unsigned>(M * 31 + N + sizeof(T)));
            const std::vector<T> I = elements<T>(rng, std::size_t(M * N));
            const std::size_t n = 1027;
            const std::vector<double> xs = rangeCoordinates(rng, double(M), n),
                                      ys = rangeCoordinates(rng, double(N), n);
            const double *x = xs.data(), *y = ys.data();
            const T *im = I.data();
            const Index k = Index(n);
            expectSameOutputs(
                "sentinel", n, 1,
                [&](double *o, double *) { pixel::bilinSampleRange<Border::Sentinel>(x, y, 0, k, im, M, N, o); },
                [&](double *o, double *) { pixel::avx2::bilinSampleRange<Border::Sentinel>(x, y, 0, k, im, M, N, o); });
            expectSameOutputs(
                "clamp", n, 1,
                [&](double *o, double *) { pixel::bilinSampleRange<Border::Clamp>(x, y, 0, k, im, M, N, o); },
                [&](double *o, double *) { pixel::avx2::bilinSampleRange<Border::Clamp>(x, y, 0, k, im, M, N, o); });
            expectSameOutputs(
                "hold", n, 1,
                [&](double *o, double *) { pixel::bilinSampleRange<Border::Hold>(x, y, 0, k, im, M, N, o); },
                [&](double *o, double *) { pixel::avx2::bilinSampleRange<Border::Hold>(x, y, 0, k, im, M, N, o); });
            expectSameOutputs(
                "cell slope", n, 2,
                [&](double *gx, double *gy) { pixel::cellSlopeRange(x, y, 0, k, im, M, N, pixel::NoMask{}, gx, gy); },
                [&](double *gx, double *gy) {
                    pixel::avx2::cellSlopeRange(x, y, 0, k, im, M, N, pixel::NoMask{}, gx, gy);
                });
            // The image's own elements as a mask of its type: zeros outside.
            std::vector<T> maskElements = I;
            for (T &m : maskElements) m = rng() % 2 ? T(0) : m;
            const pixel::PixelMask<T> mask{maskElements.data()};
            expectSameOutputs(
                "masked cell slope", n, 2,
                [&](double *gx, double *gy) { pixel::cellSlopeRange(x, y, 0, k, im, M, N, mask, gx, gy); },
                [&](double *gx, double *gy) { pixel::avx2::cellSlopeRange(x, y, 0, k, im, M, N, mask, gx, gy); });
            // The four-point cubic kernels serve images of 4 x 4 pixels or more.
            if (!pixel::cubicVectorKernel(M, N)) continue;
            expectSameOutputs(
                "cubic", n, 1, [&](double *o, double *) { pixel::cubicSampleRange(x, y, 0, k, im, M, N, o); },
                [&](double *o, double *) { pixel::avx2::cubicSampleRange(x, y, 0, k, im, M, N, o); });
            expectSameOutputs(
                "cubic slope", n, 2,
                [&](double *gx, double *gy) { pixel::cubicSlopeRange(x, y, 0, k, im, M, N, gx, gy); },
                [&](double *gx, double *gy) { pixel::avx2::cubicSlopeRange(x, y, 0, k, im, M, N, gx, gy); });
        }
    });
}

#endif

}  // namespace
