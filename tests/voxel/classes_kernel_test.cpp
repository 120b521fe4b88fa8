// The four-point AVX2 volume kernels read every element type as the scalar
// kernels do: same bits for trilinear sampling, cell gradients, cubic values
// and slopes, on volumes with each type's extremes, at points across every
// range rule.
#include "voxel/cell_slope.h"
#include "voxel/cubic_spline.h"
#include "tests/support/element_types.h"
#include "voxel/trilinear.h"

#include <tuple>

namespace {

#ifdef GRIDMEX_AVX2

using namespace testing_support;
using voxel::Index;

// Equal bits, or both NaN: where two NaN meet in a sum the sign of the NaN
// that comes out depends on the order the compiler gives the operands.
bool sameOrBothNaN(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b); }

TEST(VolumeClassKernels, FourPointKernelsReadEveryTypeAsTheScalarKernels) {
    if (!voxel::cubicVectorKernel(4, 4, 4)) GTEST_SKIP() << "no AVX2 on this processor";
    forEachElementType([](auto zero) {
        using T = decltype(zero);
        for (const auto &size : {std::tuple<Index, Index, Index>{4, 4, 4}, {9, 5, 6}}) {
            const Index M = std::get<0>(size), N = std::get<1>(size), P = std::get<2>(size);  // capturable
            std::mt19937 rng(static_cast<unsigned>(M * 31 + N + P + sizeof(T)));
            const std::vector<T> V = elements<T>(rng, std::size_t(M * N * P));
            const std::size_t n = 1027;
            const std::vector<double> xs = rangeCoordinates(rng, double(M), n),
                                      ys = rangeCoordinates(rng, double(N), n),
                                      zs = rangeCoordinates(rng, double(P), n);
            const double *x = xs.data(), *y = ys.data(), *z = zs.data();
            const T *v = V.data();
            const Index k = Index(n);
            std::vector<double> a[4], b[4];
            for (int o = 0; o < 4; ++o) a[o].assign(n, 0.0), b[o].assign(n, 0.0);
            auto expectSame = [&](const char *what, int outputs) {
                for (int o = 0; o < outputs; ++o)
                    for (std::size_t p = 0; p < n; ++p)
                        ASSERT_TRUE(sameOrBothNaN(a[o][p], b[o][p])) << what << " output " << o << " point " << p;
            };
            voxel::trilinSampleRange(x, y, z, 0, k, v, M, N, P, a[0].data());
            voxel::avx2::trilinSampleRange(x, y, z, 0, k, v, M, N, P, b[0].data());
            expectSame("trilinear", 1);
            voxel::cellSlopeRange(x, y, z, 0, k, v, M, N, P, a[0].data(), a[1].data(), a[2].data());
            voxel::avx2::cellSlopeRange(x, y, z, 0, k, v, M, N, P, b[0].data(), b[1].data(), b[2].data());
            expectSame("cell slope", 3);
            voxel::cubicSampleRange(x, y, z, 0, k, v, M, N, P, a[0].data());
            voxel::avx2::cubicSampleRange(x, y, z, 0, k, v, M, N, P, b[0].data());
            expectSame("cubic", 1);
            voxel::cubicSlopeRange(x, y, z, 0, k, v, M, N, P, a[1].data(), a[2].data(), a[3].data());
            voxel::avx2::cubicSlopeRange(x, y, z, 0, k, v, M, N, P, b[1].data(), b[2].data(), b[3].data());
            expectSame("cubic slope", 4);
        }
    });
}

#endif

}  // namespace
