// The four-point AVX2 cubic kernels give the scalar kernels' bits, values
// and both derivatives, on points inside, on and beyond every bound of the
// admitted cells, on integer coordinates (zero weights), NaN, infinities and
// coordinates beyond the 32-bit range, in images holding NaN, infinities and
// zeros of either sign, from a first point not a multiple of four to a tail
// of two points.  Images below 4 pixels on an axis admit no point and keep
// the scalar kernels.
#include "pixel/cubic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

#ifdef GRIDMEX_AVX2

using pixel::Index;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Equal bits, or both NaN: where two NaN meet in a sum (a NaN pixel and
// infinity times a zero weight) the sign of the NaN that comes out depends on
// the order the compiler gives the operands, in the scalar kernel as well.
bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof(double)) == 0 || (std::isnan(a) && std::isnan(b));
}

// Coordinates along an axis of n pixels: an eighth special values, an eighth
// on and next to the last admitted cells, an eighth integers, the rest spread
// over the axis and a pixel beyond each end.
std::vector<double> coordinates(std::mt19937 &rng, Index n, std::size_t count) {
    const double specials[] = {kNaN, kInf, -kInf, -0.0, 1.999, 2.0, 2147483647.5, 2147483648.0, 3e9, -3e9, 1e300};
    std::uniform_real_distribution<double> wide(-1, double(n) + 1);
    std::vector<double> v(count);
    for (double &c : v) {
        const unsigned r = rng() % 8;
        c = r == 0   ? specials[rng() % std::size(specials)]
            : r == 1 ? double(n) - 2.0 - double(rng() % 3) - 0.5 * double(rng() % 2)
            : r == 2 ? std::floor(wide(rng))
                     : wide(rng);
    }
    return v;
}

TEST(CubicKernel, FourPointKernelsMatchTheScalarKernelsBitForBit) {
    if (!pixel::cubicVectorKernel(4, 4)) GTEST_SKIP() << "no AVX2 on this processor";
    const std::tuple<Index, Index> sizes[] = {{4, 4}, {5, 5}, {6, 7}, {4, 9}, {9, 4}, {31, 17}, {3, 9}, {9, 2}, {1, 1}};
    for (auto [M, N] : sizes) {
        const bool vector = pixel::cubicVectorKernel(M, N);
        EXPECT_EQ(vector, std::min(M, N) >= 4) << M << "x" << N;
        for (bool zeros : {false, true}) {
            std::mt19937 rng(static_cast<unsigned>(M + 37 * N + zeros));
            std::uniform_real_distribution<double> grey(-100, 100);
            std::vector<double> I(static_cast<std::size_t>(M * N));
            for (double &v : I) {
                const unsigned r = rng() % 64;
                v = zeros ? (r % 2 ? -0.0 : 0.0) : r == 0 ? kNaN : r == 1 ? kInf : r == 2 ? -0.0 : grey(rng);
            }
            const std::size_t n = 2047;
            const std::vector<double> xs = coordinates(rng, M, n), ys = coordinates(rng, N, n);
            const double *x = xs.data(), *y = ys.data();
            std::vector<double> scalar[3], fast[3];
            for (int o = 0; o < 3; ++o) scalar[o].resize(n), fast[o].resize(n);
            pixel::cubicSampleRange(x, y, 0, Index(n), I.data(), M, N, scalar[0].data());
            pixel::cubicSlopeRange(x, y, 0, Index(n), I.data(), M, N, scalar[1].data(), scalar[2].data());
            if (vector) {
                // Blocks of a thread split start anywhere: the first point
                // here goes alone through the scalar kernel.
                pixel::cubicSampleRange(x, y, 0, 1, I.data(), M, N, fast[0].data());
                pixel::cubicSlopeRange(x, y, 0, 1, I.data(), M, N, fast[1].data(), fast[2].data());
                pixel::avx2::cubicSampleRange(x, y, 1, Index(n), I.data(), M, N, fast[0].data());
                pixel::avx2::cubicSlopeRange(x, y, 1, Index(n), I.data(), M, N, fast[1].data(), fast[2].data());
            } else {
                pixel::cubicSample(x, y, Index(n), I.data(), M, N, fast[0].data());
                pixel::cubicSlope(x, y, Index(n), I.data(), M, N, fast[1].data(), fast[2].data());
            }
            for (int o = 0; o < 3; ++o)
                for (std::size_t k = 0; k < n; ++k)
                    ASSERT_TRUE(sameBits(scalar[o][k], fast[o][k]))
                        << M << "x" << N << (zeros ? " zeros" : "") << " output " << o << " point " << k << " (" << x[k]
                        << ", " << y[k] << "): " << scalar[o][k] << " vs " << fast[o][k];
        }
    }
}

#endif

}  // namespace
