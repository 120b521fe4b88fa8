// The four-point AVX2 bilinear kernel gives the scalar kernel's bits for
// every border rule, on points inside, on and beyond every bound, NaN,
// infinities and coordinates beyond the 32-bit range.
#include "pixel/bilinear.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

#ifdef GRIDMEX_AVX2

using pixel::Border;
using pixel::Index;

std::vector<double> coordinates(std::mt19937 &rng, double extent, std::size_t n) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double specials[] = {nan,    inf,          -inf, 0.0,  -0.0, 1.0, 1.9, 2.0, extent - 1, extent - 0.001,
                               extent, extent + 0.5, 3e9,  -3e9, 1e300};
    std::uniform_real_distribution<double> wide(-2, extent + 2);
    std::uniform_int_distribution<int> pick(0, 3);
    std::vector<double> v(n);
    for (double &c : v) c = pick(rng) == 0 ? specials[rng() % std::size(specials)] : wide(rng);
    return v;
}

template <Border B>
void expectSameBits(Index M, Index N) {
    std::mt19937 rng(static_cast<unsigned>(M * 131 + N));
    std::uniform_real_distribution<double> grey(-100, 100);
    std::vector<double> I(static_cast<std::size_t>(M * N));
    for (double &p : I) p = grey(rng);
    const std::size_t n = 4099;  // not a multiple of four: the scalar tail runs too
    std::vector<double> X = coordinates(rng, double(M), n), Y = coordinates(rng, double(N), n);
    std::vector<double> scalar(n), vector(n);
    pixel::bilinSampleRange<B>(X.data(), Y.data(), 0, Index(n), I.data(), M, N, scalar.data());
    pixel::avx2::bilinSampleRange<B>(X.data(), Y.data(), 0, Index(n), I.data(), M, N, vector.data());
    for (std::size_t k = 0; k < n; ++k) {
        ASSERT_EQ(0, std::memcmp(&scalar[k], &vector[k], sizeof(double)))
            << "point " << k << " (" << X[k] << ", " << Y[k] << "): " << scalar[k] << " vs " << vector[k];
    }
}

TEST(BilinearKernel, FourPointKernelMatchesTheScalarKernelBitForBit) {
    if (!pixel::vectorKernel(3, 3)) GTEST_SKIP() << "no AVX2 on this processor";
    for (auto [M, N] : {std::pair<Index, Index>{3, 3}, {5, 7}, {64, 33}, {200, 3}}) {
        expectSameBits<Border::Sentinel>(M, N);
        expectSameBits<Border::Clamp>(M, N);
        expectSameBits<Border::Hold>(M, N);
    }
}

#endif

}  // namespace
