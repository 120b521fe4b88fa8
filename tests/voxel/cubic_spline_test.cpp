// vxCubicSample and vxCubicSlope.
#include "common/cubic_weights.h"
#include "tests/voxel/volume_support.h"

#include <algorithm>
#include <cmath>
#include <random>

using namespace voxel_test;

namespace {

const std::vector<double> kZero = {0}, kZeros = {0, 0, 0};

std::vector<double> valueAt(const ArrayPtr &vol, double x, double y, double z) {
    return sampleOne("vxCubicSample", 1, vol, x, y, z);
}
std::vector<double> slopeAt(const ArrayPtr &vol, double x, double y, double z) {
    return sampleOne("vxCubicSlope", 3, vol, x, y, z);
}

ArrayPtr randomVolume(mwSize M, mwSize N, mwSize P, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> any(-100, 100);
    return volume(M, N, P, [&](double, double, double) { return any(rng); });
}

// Points spread over the admitted cells 2..M-2 of each axis.
void admittedPoints(mwSize M, mwSize N, mwSize P, int count, std::vector<double> &xs, std::vector<double> &ys,
                    std::vector<double> &zs) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> xr(2, M - 1 - 1e-9), yr(2, N - 1 - 1e-9), zr(2, P - 1 - 1e-9);
    for (int p = 0; p < count; ++p) {
        xs.push_back(xr(rng));
        ys.push_back(yr(rng));
        zs.push_back(zr(rng));
    }
}

// The documented sum: slices innermost, then columns, then rows.
double nestedSum(const double *V, mwSize M, mwSize N, int i, int j, int k, const double f[4], const double g[4],
                 const double h[4]) {
    double value = 0;
    for (int a = 0; a < 4; ++a) {
        double columns = 0;
        for (int b = 0; b < 4; ++b) {
            double slices = 0;
            for (int c = 0; c < 4; ++c) slices += h[c] * V[(i - 2 + a) + M * ((j - 2 + b) + N * (k - 2 + c))];
            columns += g[b] * slices;
        }
        value += f[a] * columns;
    }
    return value;
}

TEST(CubicSpline, KeepsTheDocumentedSumOrderBitForBit) {
    const mwSize M = 7, N = 8, P = 9;
    ArrayPtr vol = randomVolume(M, N, P, 17);
    std::vector<double> xs, ys, zs;
    admittedPoints(M, N, P, 300, xs, ys, zs);
    std::vector<double> value = sample("vxCubicSample", 1, vol, xs, ys, zs)[0];
    std::vector<std::vector<double>> slope = sample("vxCubicSlope", 3, vol, xs, ys, zs);
    ASSERT_EQ(value.size(), xs.size());
    ASSERT_EQ(slope[2].size(), xs.size());
    const double *V = mxGetPr(vol.get());
    for (std::size_t p = 0; p < xs.size(); ++p) {
        const int i = int(std::floor(xs[p])), j = int(std::floor(ys[p])), k = int(std::floor(zs[p]));
        double wx[4], wy[4], wz[4], dx[4], dy[4], dz[4];
        cubic::nestedWeights(xs[p] - i, wx);
        cubic::nestedWeights(ys[p] - j, wy);
        cubic::nestedWeights(zs[p] - k, wz);
        cubic::nestedSlopes(xs[p] - i, dx);
        cubic::nestedSlopes(ys[p] - j, dy);
        cubic::nestedSlopes(zs[p] - k, dz);
        EXPECT_TRUE(sameBits(value[p], nestedSum(V, M, N, i, j, k, wx, wy, wz))) << p;
        EXPECT_TRUE(sameBits(slope[0][p], nestedSum(V, M, N, i, j, k, dx, wy, wz))) << p;
        EXPECT_TRUE(sameBits(slope[1][p], nestedSum(V, M, N, i, j, k, wx, dy, wz))) << p;
        EXPECT_TRUE(sameBits(slope[2][p], nestedSum(V, M, N, i, j, k, wx, wy, dz))) << p;
    }
}

TEST(CubicSpline, IntegerPointsReturnTheVoxelAndTheEndWeightsSlope) {
    const mwSize M = 6, N = 7, P = 8;
    ArrayPtr vol = randomVolume(M, N, P, 23);
    auto V = [&](int i, int j, int k) { return mxGetPr(vol.get())[(i - 1) + M * ((j - 1) + N * (k - 1))]; };
    const double d[4] = {-7.0 / 15, -1.0 / 5, 4.0 / 5, -2.0 / 15};
    for (int k = 2; k <= int(P) - 2; ++k)
        for (int j = 2; j <= int(N) - 2; ++j)
            for (int i = 2; i <= int(M) - 2; ++i) {
                EXPECT_EQ(valueAt(vol, i, j, k)[0], V(i, j, k)) << i << " " << j << " " << k;
                double expected[3] = {0, 0, 0};
                for (int a = 0; a < 4; ++a) {
                    expected[0] += d[a] * V(i - 1 + a, j, k);
                    expected[1] += d[a] * V(i, j - 1 + a, k);
                    expected[2] += d[a] * V(i, j, k - 1 + a);
                }
                std::vector<double> g = slopeAt(vol, i, j, k);
                for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(g[axis], expected[axis], 1e-12) << axis;
            }
}

TEST(CubicSpline, ReproducesConstantAndLinearVolumes) {
    const mwSize M = 7, N = 8, P = 9;
    std::vector<double> xs, ys, zs;
    admittedPoints(M, N, P, 200, xs, ys, zs);
    const std::vector<double> *coordinate[3] = {&xs, &ys, &zs};
    ArrayPtr constant = volume(M, N, P, [](double, double, double) { return 4.5; });
    std::vector<std::vector<double>> slope = sample("vxCubicSlope", 3, constant, xs, ys, zs);
    std::vector<double> value = sample("vxCubicSample", 1, constant, xs, ys, zs)[0];
    ASSERT_EQ(value.size(), xs.size());
    for (std::size_t p = 0; p < xs.size(); ++p) {
        EXPECT_NEAR(value[p], 4.5, 1e-13);
        for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(slope[axis][p], 0, 1e-13);
    }
    for (int along = 0; along < 3; ++along) {
        ArrayPtr ramp = volume(M, N, P, [&](double i, double j, double k) {
            return along == 0 ? i : along == 1 ? j : k;
        });
        value = sample("vxCubicSample", 1, ramp, xs, ys, zs)[0];
        slope = sample("vxCubicSlope", 3, ramp, xs, ys, zs);
        ASSERT_EQ(value.size(), xs.size());
        for (std::size_t p = 0; p < xs.size(); ++p) {
            EXPECT_NEAR(value[p], (*coordinate[along])[p], 1e-12) << along;
            for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(slope[axis][p], axis == along ? 1 : 0, 1e-12) << along;
        }
    }
}

// Each output of vxCubicSlope is the derivative of vxCubicSample along its
// own axis, within a cell.
TEST(CubicSpline, SlopeIsTheDerivativeOfTheSampledValue) {
    const mwSize M = 7, N = 8, P = 9;
    ArrayPtr vol = randomVolume(M, N, P, 31);
    std::vector<double> xs, ys, zs;
    admittedPoints(M, N, P, 100, xs, ys, zs);
    const double h = 1e-6;
    for (std::size_t p = 0; p < xs.size(); ++p) {
        double point[3] = {xs[p], ys[p], zs[p]};
        std::vector<double> g = slopeAt(vol, point[0], point[1], point[2]);
        for (int axis = 0; axis < 3; ++axis) {
            double lo[3] = {point[0], point[1], point[2]}, hi[3] = {point[0], point[1], point[2]};
            const double base = std::floor(point[axis]);
            lo[axis] = std::max(point[axis] - h, base);
            hi[axis] = std::min(point[axis] + h, base + 1 - 1e-9);
            const double difference = (valueAt(vol, hi[0], hi[1], hi[2])[0] - valueAt(vol, lo[0], lo[1], lo[2])[0]) /
                                      (hi[axis] - lo[axis]);
            EXPECT_NEAR(g[axis], difference, 1e-3) << p << " axis " << axis;
        }
    }
}

// Admitted: 2 <= floor <= extent - 2 along each axis.  The volume is exactly
// as large as the last admitted neighbourhood needs, so a stray read shows in
// the sanitizer build.
TEST(CubicSpline, PointsWhoseNeighbourhoodLeavesTheVolumeGiveZero) {
    const mwSize M = 6, N = 7, P = 8;
    ArrayPtr vol = volume(M, N, P, [](double i, double j, double k) { return i + 10 * j + 100 * k; });
    const double extent[3] = {M, N, P};
    for (int axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(axis);
        auto point = [&](double c) {
            double at[3] = {3, 3, 3};
            at[axis] = c;
            return std::vector<double>{at[0], at[1], at[2]};
        };
        const double n = extent[axis];
        for (double inside : {2.0, 2.5, n - 2, n - 1.001}) {
            std::vector<double> q = point(inside);
            EXPECT_NEAR(valueAt(vol, q[0], q[1], q[2])[0], q[0] + 10 * q[1] + 100 * q[2], 1e-11) << inside;
            EXPECT_NEAR(slopeAt(vol, q[0], q[1], q[2])[axis], axis == 0 ? 1 : axis == 1 ? 10 : 100, 1e-11);
        }
        for (double outside : {1.999, 1.0, 0.0, -5.0, n - 1, n - 0.5, n, n + 7, NaN, Inf, -Inf, 1e300, -3e9}) {
            std::vector<double> q = point(outside);
            EXPECT_EQ(valueAt(vol, q[0], q[1], q[2]), kZero) << outside;
            EXPECT_EQ(slopeAt(vol, q[0], q[1], q[2]), kZeros) << outside;
        }
    }
}

}  // namespace
