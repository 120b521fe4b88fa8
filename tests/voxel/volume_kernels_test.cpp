// The volume kernels called directly: offsets of volumes with 2^31 voxels or
// more, and results independent of the thread count.
#include "voxel/cell_slope.h"
#include "voxel/cubic_spline.h"
#include "voxel/trilinear.h"

#include "tests/support/reserved_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <tuple>
#include <random>
#include <string>
#include <vector>

namespace {

using grid::Index;

// A zero-filled volume reserved in address space only (reserved_memory.h),
// so a volume of tens of gigabytes costs only the few pages a test touches.
class SparseVolume {
public:
    SparseVolume(Index M, Index N, Index P)
        : M(M), N(N), P(P), memory_(M * N * P * sizeof(double)), data_(static_cast<double *>(memory_.data())) {}

    bool ok() const { return data_ != nullptr; }
    const double *data() const { return data_; }
    double &at(Index i, Index j, Index k) { return data_[(i - 1) + M * ((j - 1) + N * (k - 1))]; }

    const Index M, N, P;

private:
    testing_support::ReservedMemory memory_;
    double *data_;
};

// M N exceeds 2^31 by itself, so a 32-bit product of the extents, and every
// offset beyond the first slice, would wrap.
TEST(VolumeKernels, OffsetsBeyond32BitsReachTheRightVoxels) {
    SparseVolume vol(Index{1} << 16, (Index{1} << 15) + 4, 4);
    if (!vol.ok()) GTEST_SKIP() << "cannot reserve the address space of a volume of 2^33 voxels";
    ASSERT_GT(vol.M * vol.N, Index{1} << 31);
    auto f = [](double i, double j, double k) { return i + 2 * j + 3 * k; };

    // Points near the far corner of the slices, and one near the origin of
    // the last admitted slice.
    const std::vector<double> xs = {65533.25, 65534.5, 3.75}, ys = {32769.5, 32770.25, 32770.5}, zs = {2.5, 2.75, 2.25};
    for (std::size_t p = 0; p < xs.size(); ++p) {
        const Index i = Index(xs[p]), j = Index(ys[p]), k = Index(zs[p]);
        for (Index c = std::max<Index>(k - 2, 1); c <= std::min(k + 2, vol.P); ++c)
            for (Index b = std::max<Index>(j - 2, 1); b <= std::min(j + 2, vol.N); ++b)
                for (Index a = std::max<Index>(i - 2, 1); a <= std::min(i + 2, vol.M); ++a)
                    vol.at(a, b, c) = f(double(a), double(b), double(c));
    }
    const Index n = Index(xs.size());
    std::vector<double> tri(n), cub(n), gi(n), gj(n), gk(n), ci(n), cj(n), ck(n);
    voxel::trilinSampleRange(xs.data(), ys.data(), zs.data(), 0, n, vol.data(), vol.M, vol.N, vol.P, tri.data());
    voxel::cubicSampleRange(xs.data(), ys.data(), zs.data(), 0, n, vol.data(), vol.M, vol.N, vol.P, cub.data());
    voxel::cubicSlopeRange(xs.data(), ys.data(), zs.data(), 0, n, vol.data(), vol.M, vol.N, vol.P, gi.data(), gj.data(),
                           gk.data());
    voxel::cellSlopeRange(xs.data(), ys.data(), zs.data(), 0, n, vol.data(), vol.M, vol.N, vol.P, ci.data(), cj.data(),
                          ck.data());
    for (Index p = 0; p < n; ++p) {
        const double expected = f(xs[p], ys[p], zs[p]);
        EXPECT_NEAR(tri[p], expected, 1e-9) << p;
        EXPECT_NEAR(cub[p], expected, 1e-9) << p;
        EXPECT_NEAR(gi[p], 1, 1e-9) << p;
        EXPECT_NEAR(gj[p], 2, 1e-9) << p;
        EXPECT_NEAR(gk[p], 3, 1e-9) << p;
        EXPECT_EQ(ci[p], 1) << p;
        EXPECT_EQ(cj[p], 2) << p;
        EXPECT_EQ(ck[p], 3) << p;
    }
}

// Sets GRIDMEX_THREADS for the life of the object.
class Threads {
public:
    explicit Threads(int n) {
        if (const char *old = std::getenv("GRIDMEX_THREADS")) old_ = old, had_ = true;
        setenv("GRIDMEX_THREADS", std::to_string(n).c_str(), 1);
    }
    ~Threads() {
        if (had_)
            setenv("GRIDMEX_THREADS", old_.c_str(), 1);
        else
            unsetenv("GRIDMEX_THREADS");
    }

private:
    std::string old_;
    bool had_ = false;
};

// All eight outputs of the four kernels at the given points.
std::vector<std::vector<double>> allOutputs(const std::vector<double> &xs, const std::vector<double> &ys,
                                            const std::vector<double> &zs, const std::vector<double> &V, Index M,
                                            Index N, Index P) {
    const Index n = Index(xs.size());
    std::vector<std::vector<double>> o(8, std::vector<double>(n));
    voxel::trilinSample(xs.data(), ys.data(), zs.data(), n, V.data(), M, N, P, o[0].data());
    voxel::cellSlope(xs.data(), ys.data(), zs.data(), n, V.data(), M, N, P, o[1].data(), o[2].data(), o[3].data());
    voxel::cubicSample(xs.data(), ys.data(), zs.data(), n, V.data(), M, N, P, o[4].data());
    voxel::cubicSlope(xs.data(), ys.data(), zs.data(), n, V.data(), M, N, P, o[5].data(), o[6].data(), o[7].data());
    return o;
}

TEST(VolumeKernels, ResultsDoNotDependOnTheThreadCount) {
    const Index M = 20, N = 21, P = 22;
    std::mt19937 rng(13);
    std::uniform_real_distribution<double> any(-1, 1), coordinate(0, 23);
    std::vector<double> V(M * N * P);
    for (double &v : V) v = any(rng);
    std::vector<double> xs(200000), ys(xs.size()), zs(xs.size());
    for (std::size_t p = 0; p < xs.size(); ++p)
        xs[p] = coordinate(rng), ys[p] = coordinate(rng), zs[p] = coordinate(rng);

    std::vector<std::vector<double>> serial, split;
    {
        Threads one(1);
        serial = allOutputs(xs, ys, zs, V, M, N, P);
    }
    {
        Threads three(3);
        split = allOutputs(xs, ys, zs, V, M, N, P);
    }
    for (int o = 0; o < 8; ++o)
        EXPECT_EQ(std::memcmp(serial[o].data(), split[o].data(), xs.size() * sizeof(double)), 0) << "output " << o;
}

#ifdef GRIDMEX_AVX2
// The four-point trilinear kernel gives the scalar kernel's bits, on points
// inside, on and beyond every bound, NaN, infinities and huge coordinates,
// and reaches voxels beyond 32-bit offsets.
TEST(VolumeKernels, FourPointTrilinearMatchesTheScalarKernelBitForBit) {
    if (!grid::haveAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    const double inf = std::numeric_limits<double>::infinity();
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -0.0, 1.999, 2.0, 3e9, -3e9};
    for (auto [M, N, P] : {std::tuple<Index, Index, Index>{3, 3, 3}, {9, 5, 4}, {20, 21, 22}}) {
        std::mt19937 rng(static_cast<unsigned>(M + 7 * N + 31 * P));
        std::uniform_real_distribution<double> any(-1, 1);
        std::vector<double> V(M * N * P);
        for (double &v : V) v = any(rng);
        const std::size_t n = 4003;
        std::vector<double> xyz[3];
        const Index extent[3] = {M, N, P};
        for (int a = 0; a < 3; ++a) {
            std::uniform_real_distribution<double> c(0, double(extent[a]) + 1);
            for (std::size_t p = 0; p < n; ++p) {
                const unsigned r = rng() % 8;
                xyz[a].push_back(r == 0   ? specials[rng() % std::size(specials)]
                                 : r == 1 ? double(extent[a]) - (rng() % 2)
                                          : c(rng));
            }
        }
        std::vector<double> scalar(n), vector(n);
        voxel::trilinSampleRange(xyz[0].data(), xyz[1].data(), xyz[2].data(), 0, Index(n), V.data(), M, N, P,
                                 scalar.data());
        voxel::avx2::trilinSampleRange(xyz[0].data(), xyz[1].data(), xyz[2].data(), 0, Index(n), V.data(), M, N, P,
                                       vector.data());
        for (std::size_t p = 0; p < n; ++p)
            ASSERT_EQ(std::memcmp(&scalar[p], &vector[p], sizeof(double)), 0)
                << M << "x" << N << "x" << P << " point " << p << ": " << scalar[p] << " vs " << vector[p];
    }

    SparseVolume vol(Index{1} << 16, (Index{1} << 15) + 4, 4);
    if (!vol.ok()) return;
    const std::vector<double> xs(4, 65533.25), ys(4, 32769.5), zs(4, 2.5);
    for (Index c = 1; c <= 4; ++c)
        for (Index b = 32768; b <= 32772; ++b)
            for (Index a = 65532; a <= 65536; ++a) vol.at(a, b, c) = double(a) + 2.0 * double(b) + 3.0 * double(c);
    std::vector<double> out(4);
    voxel::avx2::trilinSampleRange(xs.data(), ys.data(), zs.data(), 0, 4, vol.data(), vol.M, vol.N, vol.P, out.data());
    for (double v : out) EXPECT_NEAR(v, 65533.25 + 2 * 32769.5 + 3 * 2.5, 1e-9);
}

// The four-point cell gradient kernel gives the scalar kernel's bits, on
// volumes with axes of one and two voxels, on points inside, on and beyond
// every face, NaN, infinities and huge coordinates, with infinities and NaN
// in the volume; and it reaches voxels beyond 32-bit offsets.
TEST(VolumeKernels, FourPointCellSlopeMatchesTheScalarKernelBitForBit) {
    if (!voxel::cellSlopeVectorKernel(1, 1, 1)) GTEST_SKIP() << "no AVX2 on this processor";
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double specials[] = {nan, inf, -inf, -0.0, 0.999, 1.0, 2147483647.5, 2147483648.0, 3e9, -3e9, 1e300};
    const std::tuple<Index, Index, Index> sizes[] = {{1, 1, 1}, {1, 4, 3}, {4, 1, 3}, {3, 4, 1},
                                                     {2, 2, 2}, {2, 5, 3}, {9, 5, 4}, {20, 21, 22}};
    for (auto [M, N, P] : sizes) {
        std::mt19937 rng(static_cast<unsigned>(M + 7 * N + 31 * P));
        std::uniform_real_distribution<double> any(-1, 1);
        std::vector<double> V(M * N * P);
        for (double &v : V) {
            const unsigned r = rng() % 64;
            v = r == 0 ? nan : r == 1 ? inf : any(rng);
        }
        const std::size_t n = 2047;  // not a multiple of four: the scalar tail runs too
        std::vector<double> xyz[3];
        const Index extent[3] = {M, N, P};
        for (int a = 0; a < 3; ++a) {
            std::uniform_real_distribution<double> c(0, double(extent[a]) + 2);
            for (std::size_t p = 0; p < n; ++p) {
                const unsigned r = rng() % 8;
                xyz[a].push_back(r == 0   ? specials[rng() % std::size(specials)]
                                 : r == 1 ? double(extent[a]) + double(rng() % 3) - 0.5 * double(rng() % 2)
                                          : c(rng));
            }
        }
        std::vector<double> scalar[3], vector[3];
        for (int a = 0; a < 3; ++a) scalar[a].resize(n), vector[a].resize(n);
        voxel::cellSlopeRange(xyz[0].data(), xyz[1].data(), xyz[2].data(), 0, Index(n), V.data(), M, N, P,
                              scalar[0].data(), scalar[1].data(), scalar[2].data());
        voxel::avx2::cellSlopeRange(xyz[0].data(), xyz[1].data(), xyz[2].data(), 0, Index(n), V.data(), M, N, P,
                                    vector[0].data(), vector[1].data(), vector[2].data());
        for (int a = 0; a < 3; ++a)
            for (std::size_t p = 0; p < n; ++p)
                ASSERT_EQ(std::memcmp(&scalar[a][p], &vector[a][p], sizeof(double)), 0)
                    << M << "x" << N << "x" << P << " output " << a << " point " << p << " (" << xyz[0][p] << ", "
                    << xyz[1][p] << ", " << xyz[2][p] << "): " << scalar[a][p] << " vs " << vector[a][p];
    }

    SparseVolume vol(Index{1} << 16, (Index{1} << 15) + 4, 4);
    if (!vol.ok()) return;
    const std::vector<double> xs = {65533.25, 65536.5, 1.5, 65534.75}, ys = {32769.5, 32772.25, 32771.5, 32772.5},
                              zs = {2.5, 4.75, 3.25, 1.5};
    for (std::size_t p = 0; p < xs.size(); ++p) {
        const Index i = Index(xs[p]), j = Index(ys[p]), k = Index(zs[p]);
        for (Index c = std::max<Index>(k - 1, 1); c <= std::min(k + 1, vol.P); ++c)
            for (Index b = std::max<Index>(j - 1, 1); b <= std::min(j + 1, vol.N); ++b)
                for (Index a = std::max<Index>(i - 1, 1); a <= std::min(i + 1, vol.M); ++a)
                    vol.at(a, b, c) = double(a) + 2.0 * double(b * b) + 3.0 * double(c);
    }
    std::vector<double> gi(4), gj(4), gk(4);
    voxel::avx2::cellSlopeRange(xs.data(), ys.data(), zs.data(), 0, 4, vol.data(), vol.M, vol.N, vol.P, gi.data(),
                                gj.data(), gk.data());
    EXPECT_EQ(gi, std::vector<double>(4, 1.0));
    // Central 4 j inside, backward 2 (2 N - 1) on the last column N.
    EXPECT_EQ(gj, (std::vector<double>{4.0 * 32769, 2.0 * (2 * 32772 - 1), 4.0 * 32771, 2.0 * (2 * 32772 - 1)}));
    EXPECT_EQ(gk, std::vector<double>(4, 3.0));
}

// The four-point cubic kernels give the scalar kernels' bits, value and the
// three derivatives, on points inside, on and beyond every bound of the
// admitted cells, on integer coordinates (zero weights), NaN, infinities and
// huge coordinates; in volumes holding NaN, infinities and zeros of either
// sign; from a first point not a multiple of four to a tail of two points;
// and they reach voxels beyond 32-bit offsets.  Volumes below 4 voxels on an
// axis admit no point and keep the scalar kernels.
// Equal bits, or both NaN: where two NaN meet in a sum (a NaN voxel and
// infinity times a zero weight) the sign of the NaN that comes out depends on
// the order the compiler gives the operands, in the scalar kernel as well.
bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof(double)) == 0 || (std::isnan(a) && std::isnan(b));
}

TEST(VolumeKernels, FourPointCubicMatchesTheScalarKernelsBitForBit) {
    if (!voxel::cubicVectorKernel(4, 4, 4)) GTEST_SKIP() << "no AVX2 on this processor";
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double specials[] = {nan, inf, -inf, -0.0, 1.999, 2.0, 2147483647.5, 2147483648.0, 3e9, -3e9, 1e300};
    const std::tuple<Index, Index, Index> sizes[] = {{4, 4, 4},    {4, 9, 5}, {7, 4, 6}, {9, 5, 4},
                                                     {20, 21, 22}, {3, 8, 8}, {8, 2, 8}, {1, 1, 1}};
    for (auto [M, N, P] : sizes) {
        const bool vector = voxel::cubicVectorKernel(M, N, P);
        EXPECT_EQ(vector, std::min({M, N, P}) >= 4) << M << "x" << N << "x" << P;
        for (bool zeros : {false, true}) {
            std::mt19937 rng(static_cast<unsigned>(M + 7 * N + 31 * P + zeros));
            std::uniform_real_distribution<double> any(-1, 1);
            std::vector<double> V(M * N * P);
            for (double &v : V) {
                const unsigned r = rng() % 64;
                v = zeros ? (r % 2 ? -0.0 : 0.0) : r == 0 ? nan : r == 1 ? inf : r == 2 ? -0.0 : any(rng);
            }
            const std::size_t n = 2047;
            std::vector<double> xyz[3];
            const Index extent[3] = {M, N, P};
            for (int a = 0; a < 3; ++a) {
                std::uniform_real_distribution<double> c(0, double(extent[a]) + 1);
                for (std::size_t p = 0; p < n; ++p) {
                    const unsigned r = rng() % 8;
                    xyz[a].push_back(r == 0   ? specials[rng() % std::size(specials)]
                                     : r == 1 ? double(extent[a]) - double(rng() % 3) - 0.5 * double(rng() % 2)
                                     : r == 2 ? std::floor(c(rng))
                                              : c(rng));
                }
            }
            const double *x = xyz[0].data(), *y = xyz[1].data(), *z = xyz[2].data();
            std::vector<double> scalar[4], fast[4];
            for (int o = 0; o < 4; ++o) scalar[o].resize(n), fast[o].resize(n);
            voxel::cubicSampleRange(x, y, z, 0, Index(n), V.data(), M, N, P, scalar[0].data());
            voxel::cubicSlopeRange(x, y, z, 0, Index(n), V.data(), M, N, P, scalar[1].data(), scalar[2].data(),
                                   scalar[3].data());
            if (vector) {
                // Blocks of a thread split start anywhere: the first point
                // here goes alone through the scalar kernel.
                voxel::cubicSampleRange(x, y, z, 0, 1, V.data(), M, N, P, fast[0].data());
                voxel::cubicSlopeRange(x, y, z, 0, 1, V.data(), M, N, P, fast[1].data(), fast[2].data(),
                                       fast[3].data());
                voxel::avx2::cubicSampleRange(x, y, z, 1, Index(n), V.data(), M, N, P, fast[0].data());
                voxel::avx2::cubicSlopeRange(x, y, z, 1, Index(n), V.data(), M, N, P, fast[1].data(), fast[2].data(),
                                             fast[3].data());
            } else {
                voxel::cubicSample(x, y, z, Index(n), V.data(), M, N, P, fast[0].data());
                voxel::cubicSlope(x, y, z, Index(n), V.data(), M, N, P, fast[1].data(), fast[2].data(), fast[3].data());
            }
            for (int o = 0; o < 4; ++o)
                for (std::size_t p = 0; p < n; ++p)
                    ASSERT_TRUE(sameBits(scalar[o][p], fast[o][p]))
                        << M << "x" << N << "x" << P << (zeros ? " zeros" : "") << " output " << o << " point " << p
                        << " (" << x[p] << ", " << y[p] << ", " << z[p] << "): " << scalar[o][p] << " vs "
                        << fast[o][p];
        }
    }

    SparseVolume vol(Index{1} << 16, (Index{1} << 15) + 4, 4);
    if (!vol.ok()) return;
    const std::vector<double> xs = {65533.25, 65534.5, 3.75, 65533.75}, ys = {32769.5, 32770.25, 32770.5, 32770.75},
                              zs = {2.5, 2.75, 2.25, 2.0};
    for (std::size_t p = 0; p < xs.size(); ++p) {
        const Index i = Index(xs[p]), j = Index(ys[p]), k = Index(zs[p]);
        for (Index c = k - 1; c <= k + 2; ++c)
            for (Index b = j - 1; b <= j + 2; ++b)
                for (Index a = i - 1; a <= i + 2; ++a) vol.at(a, b, c) = double(a) + 2.0 * double(b) + 3.0 * double(c);
    }
    std::vector<double> value(4), gi(4), gj(4), gk(4);
    voxel::avx2::cubicSampleRange(xs.data(), ys.data(), zs.data(), 0, 4, vol.data(), vol.M, vol.N, vol.P, value.data());
    voxel::avx2::cubicSlopeRange(xs.data(), ys.data(), zs.data(), 0, 4, vol.data(), vol.M, vol.N, vol.P, gi.data(),
                                 gj.data(), gk.data());
    for (std::size_t p = 0; p < xs.size(); ++p) {
        EXPECT_NEAR(value[p], xs[p] + 2 * ys[p] + 3 * zs[p], 1e-9) << p;
        EXPECT_NEAR(gi[p], 1, 1e-9) << p;
        EXPECT_NEAR(gj[p], 2, 1e-9) << p;
        EXPECT_NEAR(gk[p], 3, 1e-9) << p;
    }
}
#endif

}  // namespace
