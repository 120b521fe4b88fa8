// The four-point AVX2 cell gradient kernel gives the scalar kernel's bits,
// without a mask and with masks of each class the plug-in reads, on every
// border rule, on points inside, on and beyond every bound, NaN, infinities
// and coordinates beyond the 32-bit range, and on axes of one or two pixels.
#include "pixel/cell_slope.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

#ifdef GRIDMEX_AVX2

using pixel::Index;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Coordinates along an axis of n pixels: a quarter special values, the rest
// spread over the axis and a pixel beyond each end.
std::vector<double> coordinates(std::mt19937 &rng, Index n, std::size_t count) {
    const double e = double(n);
    const double specials[] = {kNaN, kInf, -kInf, 0.0,    -0.0,         0.999,        1.0,
                               1.5,  2.0,  e - 1, e,      e + 0.5,      e + 0.999,    e + 1,
                               3e9,  -3e9, 1e300, -1e300, 2147483647.5, 2147483648.0, -2147483648.5};
    std::uniform_real_distribution<double> wide(-1, e + 2);
    std::vector<double> v(count);
    for (double &c : v) c = rng() % 4 == 0 ? specials[rng() % std::size(specials)] : wide(rng);
    return v;
}

// An image of random grey values with a few infinities and NaNs among them.
std::vector<double> image(std::mt19937 &rng, Index M, Index N) {
    std::uniform_real_distribution<double> grey(-100, 100);
    std::vector<double> I(static_cast<std::size_t>(M * N));
    for (double &p : I) {
        const unsigned r = rng() % 64;
        p = r == 0 ? kNaN : r == 1 ? -kInf : grey(rng);
    }
    return I;
}

// A mask with about a third of its pixels outside; `inside` and `outside`
// give the values written (the double mask also holds NaN, inside, and -0,
// outside).
template <typename T>
std::vector<T> mask(std::mt19937 &rng, Index pixels, std::vector<T> inside, std::vector<T> outside) {
    std::vector<T> m(static_cast<std::size_t>(pixels));
    for (T &v : m) v = rng() % 3 == 0 ? outside[rng() % outside.size()] : inside[rng() % inside.size()];
    return m;
}

template <typename Inside>
void expectSameBits(const std::vector<double> &I, Index M, Index N, Inside inside, std::mt19937 &rng,
                    const char *what) {
    const std::size_t n = 2051;  // not a multiple of four: the scalar tail runs too
    const std::vector<double> X = coordinates(rng, M, n), Y = coordinates(rng, N, n);
    std::vector<double> gx(n), gy(n), vx(n), vy(n);
    pixel::cellSlopeRange(X.data(), Y.data(), 0, Index(n), I.data(), M, N, inside, gx.data(), gy.data());
    pixel::avx2::cellSlopeRange(X.data(), Y.data(), 0, Index(n), I.data(), M, N, inside, vx.data(), vy.data());
    for (std::size_t k = 0; k < n; ++k) {
        ASSERT_EQ(0, std::memcmp(&gx[k], &vx[k], sizeof(double)))
            << what << " " << M << "x" << N << " point " << k << " (" << X[k] << ", " << Y[k] << "): gx " << gx[k]
            << " vs " << vx[k];
        ASSERT_EQ(0, std::memcmp(&gy[k], &vy[k], sizeof(double)))
            << what << " " << M << "x" << N << " point " << k << " (" << X[k] << ", " << Y[k] << "): gy " << gy[k]
            << " vs " << vy[k];
    }
}

TEST(CellSlopeKernel, FourPointKernelMatchesTheScalarKernelBitForBit) {
    if (!pixel::cellSlopeVectorKernel(1, 1)) GTEST_SKIP() << "no AVX2 on this processor";
    const std::pair<Index, Index> sizes[] = {{1, 1}, {1, 6}, {6, 1},   {2, 2},  {2, 9},
                                             {9, 2}, {3, 3}, {17, 11}, {64, 33}};
    for (auto [M, N] : sizes) {
        std::mt19937 rng(static_cast<unsigned>(M * 131 + N));
        const std::vector<double> I = image(rng, M, N);
        const Index pixels = M * N;
        const std::vector<std::int32_t> m32 = mask<std::int32_t>(rng, pixels, {1, -1, 7, INT32_MIN}, {0});
        const std::vector<std::uint8_t> m8 = mask<std::uint8_t>(rng, pixels, {1, 255}, {0});
        const std::vector<double> m64 = mask<double>(rng, pixels, {1.0, -2.5, kNaN, kInf}, {0.0, -0.0});
        expectSameBits(I, M, N, pixel::NoMask{}, rng, "no mask");
        expectSameBits(I, M, N, pixel::PixelMask<std::int32_t>{m32.data()}, rng, "int32 mask");
        expectSameBits(I, M, N, pixel::PixelMask<std::uint8_t>{m8.data()}, rng, "logical mask");
        expectSameBits(I, M, N, pixel::PixelMask<double>{m64.data()}, rng, "double mask");
    }
}

#endif

}  // namespace
