// vxCellSlope.
#include "tests/voxel/volume_support.h"

using namespace voxel_test;

namespace {

const char *const kName = "vxCellSlope";

std::vector<double> at(const ArrayPtr &vol, double x, double y, double z) { return sampleOne(kName, 3, vol, x, y, z); }

// Every admitted voxel, faces included, of the volume V = axis index.
TEST(CellSlope, LinearVolumesGiveUnitSlopesOnEveryVoxel) {
    const mwSize M = 4, N = 5, P = 6;
    ArrayPtr alongI = volume(M, N, P, [](double i, double, double) { return i; });
    ArrayPtr alongJ = volume(M, N, P, [](double, double j, double) { return j; });
    ArrayPtr alongK = volume(M, N, P, [](double, double, double k) { return k; });
    std::vector<double> xs, ys, zs;
    for (mwSize k = 1; k <= P; ++k)
        for (mwSize j = 1; j <= N; ++j)
            for (mwSize i = 1; i <= M; ++i) {
                xs.push_back(i + 0.25);
                ys.push_back(j + 0.5);
                zs.push_back(k + 0.75);
            }
    const std::size_t n = xs.size();
    const std::vector<double> ones(n, 1.0), zeros(n, 0.0);
    EXPECT_EQ(sample(kName, 3, alongI, xs, ys, zs), (std::vector<std::vector<double>>{ones, zeros, zeros}));
    EXPECT_EQ(sample(kName, 3, alongJ, xs, ys, zs), (std::vector<std::vector<double>>{zeros, ones, zeros}));
    EXPECT_EQ(sample(kName, 3, alongK, xs, ys, zs), (std::vector<std::vector<double>>{zeros, zeros, ones}));
}

// V = i^2 along each axis in turn: forward 3 on the first voxel, central 2i
// inside, backward 2n - 1 on the last.
TEST(CellSlope, OneSidedOnTheFacesAndCentralInside) {
    const mwSize n = 6;
    ArrayPtr square[3] = {volume(n, 4, 4, [](double i, double, double) { return i * i; }),
                          volume(4, n, 4, [](double, double j, double) { return j * j; }),
                          volume(4, 4, n, [](double, double, double k) { return k * k; })};
    for (int axis = 0; axis < 3; ++axis) {
        for (mwSize c = 1; c <= n; ++c) {
            double point[3] = {2.5, 2.5, 2.5};
            point[axis] = c + 0.5;
            const double expected = c == 1 ? 3.0 : c == n ? 2.0 * n - 1 : 2.0 * c;
            std::vector<double> g = at(square[axis], point[0], point[1], point[2]);
            EXPECT_EQ(g[axis], expected) << "axis " << axis << " voxel " << c;
            EXPECT_EQ(g[(axis + 1) % 3], 0.0);
            EXPECT_EQ(g[(axis + 2) % 3], 0.0);
        }
    }
}

TEST(CellSlope, AdmissionBoundsAndPointsOfOneCell) {
    const mwSize M = 5, N = 6, P = 7;
    ArrayPtr vol = volume(M, N, P, [](double i, double j, double k) { return i * i + 3 * j + 5 * k * k; });
    const std::vector<double> none = {0, 0, 0};
    EXPECT_EQ(at(vol, 0.5, 3, 3), none);
    EXPECT_EQ(at(vol, 0.999, 3, 3), none);
    EXPECT_EQ(at(vol, 1, 3, 3), (std::vector<double>{3, 3, 30}));
    EXPECT_EQ(at(vol, M + 0.99, 3, 3), (std::vector<double>{2 * M - 1.0, 3, 30}));
    EXPECT_EQ(at(vol, M + 1, 3, 3), none);
    EXPECT_EQ(at(vol, 3, 0.5, 3), none);
    EXPECT_EQ(at(vol, 3, N + 1, 3), none);
    EXPECT_EQ(at(vol, 3, N + 0.99, P + 0.99), (std::vector<double>{6, 3, 5 * (2 * P - 1.0)}));
    EXPECT_EQ(at(vol, 3, 3, 0.5), none);
    EXPECT_EQ(at(vol, 3, 3, P + 1), none);
    for (double bad : {NaN, Inf, -Inf, 1e300, -3e9}) {
        EXPECT_EQ(at(vol, bad, 3, 3), none) << bad;
        EXPECT_EQ(at(vol, 3, bad, 3), none) << bad;
        EXPECT_EQ(at(vol, 3, 3, bad), none) << bad;
    }
    EXPECT_EQ(at(vol, 3.1, 2.2, 4.3), at(vol, 3.9, 2.8, 4.7));
}

// A single voxel along an axis has nothing to difference with: that
// derivative is 0, never a read of the next column, slice or past the end.
TEST(CellSlope, AxesOfOneVoxelHaveSlopeZero) {
    auto f = [](double i, double j, double k) { return 2 * i + 3 * j + 5 * k; };
    ArrayPtr oneRow = volume(1, 4, 4, f), oneColumn = volume(4, 1, 4, f), oneSlice = volume(4, 4, 1, f);
    ArrayPtr flat = array({4, 4});
    std::copy(mxGetPr(oneSlice.get()), mxGetPr(oneSlice.get()) + 16, mxGetPr(flat.get()));
    EXPECT_EQ(at(oneRow, 1, 4, 4), (std::vector<double>{0, 3, 5}));
    EXPECT_EQ(at(oneColumn, 4, 1, 4), (std::vector<double>{2, 0, 5}));
    EXPECT_EQ(at(oneSlice, 4, 4, 1), (std::vector<double>{2, 3, 0}));
    EXPECT_EQ(at(flat, 4, 4, 1.5), (std::vector<double>{2, 3, 0})) << "a 2-D volume has one slice";
    EXPECT_EQ(at(flat, 4, 4, 2), (std::vector<double>{0, 0, 0}));
    ArrayPtr single = volume(1, 1, 1, f);
    EXPECT_EQ(at(single, 1, 1, 1), (std::vector<double>{0, 0, 0}));
}

}  // namespace
