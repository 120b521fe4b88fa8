// vxTrilinSample.
#include "tests/voxel/volume_support.h"

#include <cmath>
#include <random>

using namespace voxel_test;

namespace {

const char *const kName = "vxTrilinSample";

double at(const ArrayPtr &vol, double x, double y, double z) { return sampleOne(kName, 1, vol, x, y, z)[0]; }

TEST(Trilinear, IntegerPointsReturnTheVoxelAndHalfwayPointsTheMeanOfTheCorners) {
    const mwSize M = 5, N = 6, P = 7;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> any(-100, 100);
    ArrayPtr vol = volume(M, N, P, [&](double, double, double) { return any(rng); });
    auto V = [&](int i, int j, int k) { return mxGetPr(vol.get())[(i - 1) + M * ((j - 1) + N * (k - 1))]; };
    for (int k = 2; k < int(P); ++k)
        for (int j = 2; j < int(N); ++j)
            for (int i = 2; i < int(M); ++i) {
                EXPECT_EQ(at(vol, i, j, k), V(i, j, k)) << i << " " << j << " " << k;
                double sum = 0;
                for (int c = 0; c < 8; ++c) sum += V(i + (c & 1), j + (c >> 1 & 1), k + (c >> 2));
                EXPECT_EQ(at(vol, i + 0.5, j + 0.5, k + 0.5), sum / 8) << i << " " << j << " " << k;
            }
}

TEST(Trilinear, ReproducesTrilinearData) {
    const mwSize M = 8, N = 9, P = 10;
    auto f = [](double i, double j, double k) { return 2 * i - 3 * j + 0.5 * k + 0.25 * i * j * k + 1; };
    ArrayPtr vol = volume(M, N, P, f);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> xr(2, M - 1e-9), yr(2, N - 1e-9), zr(2, P - 1e-9);
    std::vector<double> xs, ys, zs;
    for (int p = 0; p < 500; ++p) {
        xs.push_back(xr(rng));
        ys.push_back(yr(rng));
        zs.push_back(zr(rng));
    }
    std::vector<double> v = sample(kName, 1, vol, xs, ys, zs)[0];
    ASSERT_EQ(v.size(), xs.size());
    for (std::size_t p = 0; p < v.size(); ++p) EXPECT_NEAR(v[p], f(xs[p], ys[p], zs[p]), 1e-11) << p;
}

// x in [2, M) is admitted along every axis; the first cell is not.
TEST(Trilinear, AdmissionBoundsAlongEachAxis) {
    const mwSize M = 5, N = 6, P = 7;
    ArrayPtr vol = volume(M, N, P, [](double i, double j, double k) { return i * i + 10 * j * j + 100 * k * k; });
    auto value = [](double i, double j, double k) { return i * i + 10 * j * j + 100 * k * k; };
    const double y = 3, z = 4;
    EXPECT_EQ(at(vol, 1.5, y, z), 0.0);
    EXPECT_EQ(at(vol, 1.999, y, z), 0.0);
    EXPECT_EQ(at(vol, 2, y, z), value(2, y, z));
    EXPECT_EQ(at(vol, M - 0.5, y, z), value(3, y, z) - 9 + (16 + 25) / 2.0);
    EXPECT_EQ(at(vol, M, y, z), 0.0);
    EXPECT_EQ(at(vol, 3, 1.5, z), 0.0);
    EXPECT_EQ(at(vol, 3, 2, z), value(3, 2, z));
    EXPECT_EQ(at(vol, 3, N - 0.5, z), value(3, 3, z) - 90 + 10 * (25 + 36) / 2.0);
    EXPECT_EQ(at(vol, 3, N, z), 0.0);
    EXPECT_EQ(at(vol, 3, y, 1.5), 0.0);
    EXPECT_EQ(at(vol, 3, y, 2), value(3, y, 2));
    EXPECT_EQ(at(vol, 3, y, P - 0.5), value(3, y, 3) - 900 + 100 * (36 + 49) / 2.0);
    EXPECT_EQ(at(vol, 3, y, P), 0.0);
    for (double bad : {NaN, Inf, -Inf, 1e300, -3e9}) {
        EXPECT_EQ(at(vol, bad, y, z), 0.0) << bad;
        EXPECT_EQ(at(vol, 3, bad, z), 0.0) << bad;
        EXPECT_EQ(at(vol, 3, y, bad), 0.0) << bad;
    }
}

TEST(Trilinear, VolumesBelowThreeVoxelsAlongAnAxisAdmitNoPoint) {
    for (std::vector<mwSize> d : {std::vector<mwSize>{2, 5, 5}, {5, 2, 5}, {5, 5, 2}}) {
        ArrayPtr vol = volume(d[0], d[1], d[2], [](double, double, double) { return 7; });
        EXPECT_EQ(sample(kName, 1, vol, {2, 1.5, 2.5}, {2, 1.5, 2.5}, {2, 1.5, 2.5})[0], std::vector<double>(3, 0.0));
    }
}

TEST(Trilinear, NonFiniteVoxelsReachOnlyTheCellsThatTouchThem) {
    ArrayPtr vol = volume(6, 6, 6, [](double i, double j, double k) { return i == 4 && j == 4 && k == 4 ? NaN : 1.0; });
    EXPECT_TRUE(std::isnan(at(vol, 3.5, 3.5, 3.5)));
    EXPECT_EQ(at(vol, 2.5, 3.5, 3.5), 1.0);
}

}  // namespace
