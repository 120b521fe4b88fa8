// The four-lane AVX2 inversion gives the scalar kernel's bits and the same
// verdict on every matrix: random ones, ties in pivot magnitude, singular
// ones at every step, cancellation near the threshold, NaN and infinities,
// lanes of different kinds side by side; and the stack reports the first
// singular matrix whatever its lane.
#include "util/invert6.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

#ifdef GRIDMEX_AVX2

// One 6x6 matrix (36 values, column-major) of a randomly chosen kind.
std::vector<double> anyMatrix(std::mt19937 &rng) {
    const double inf = std::numeric_limits<double>::infinity();
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -0.0, 1e300, 1e-300, 5e-324};
    std::uniform_real_distribution<double> u(-1, 1);
    std::uniform_int_distribution<int> small(-2, 2), kind(0, 5), entry(0, 35);
    std::vector<double> m(36);
    switch (kind(rng)) {
    case 0:  // well conditioned
        for (int v = 0; v < 36; ++v) m[v] = u(rng) + (v % 7 == 0 ? 4 : 0);
        break;
    case 1:  // small integers: equal magnitudes everywhere, often singular
        for (double &x : m) x = small(rng);
        break;
    case 2:  // mostly zeros: zero pivots at any step
        for (double &x : m) x = small(rng) * (rng() % 3 == 0);
        break;
    case 3:  // two nearly equal rows: the relative threshold decides
        for (double &x : m) x = u(rng);
        for (int q = 0; q < 6; ++q) m[6 * q + 4] = m[6 * q + 1] * (1 + (rng() % 2 ? 1e-12 : 1e-6));
        break;
    case 4:  // a few special values among random ones
        for (double &x : m) x = u(rng);
        for (int s = 0; s < 2; ++s) m[entry(rng)] = specials[rng() % std::size(specials)];
        break;
    default:  // a permutation, scaled: ties between the pivot and the entries beside it
        for (int r = 0, shift = int(rng() % 6); r < 6; ++r) m[6 * ((r + shift) % 6) + r] = 1 << (rng() % 3);
        break;
    }
    return m;
}

TEST(Invert6Kernel, FourLanesMatchTheScalarKernelBitForBit) {
    if (!grid::haveAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    std::mt19937 rng(6);
    const int groups = 3000;
    int singular = 0, inverted = 0;
    for (int g = 0; g < groups; ++g) {
        std::vector<double> a;
        for (int l = 0; l < 4; ++l) {
            std::vector<double> m = anyMatrix(rng);
            a.insert(a.end(), m.begin(), m.end());
        }
        // Both outputs start with the same marks, so untouched lanes compare too.
        std::vector<double> scalar(144), lanes(144);
        for (int v = 0; v < 144; ++v) scalar[v] = lanes[v] = -7.0 - v;
        int expected = 0;
        for (int l = 0; l < 4; ++l) {
            if (util::invert6(a.data() + 36 * l, scalar.data() + 36 * l).step != 0) expected |= 1 << l;
        }
        ASSERT_EQ(util::avx2::invert6x4(a.data(), lanes.data()), expected) << "group " << g;
        ASSERT_EQ(0, std::memcmp(scalar.data(), lanes.data(), sizeof(double) * 144)) << "group " << g;
        const int failed = static_cast<int>(std::bitset<4>(static_cast<unsigned>(expected)).count());
        singular += failed;
        inverted += 4 - failed;
    }
    // Both verdicts are well represented.
    EXPECT_GT(singular, groups / 4);
    EXPECT_GT(inverted, groups);
}

TEST(Invert6Kernel, StackReportsTheFirstSingularMatrixOfItsGroup) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-1, 1);
    const grid::Index n = 4099;  // not a multiple of four: the scalar tail runs too
    std::vector<double> A(36 * n), B(36 * n), expected(36 * n);
    for (grid::Index v = 0; v < 36 * n; ++v) A[v] = u(rng) + (v % 36 % 7 == 0 ? 4 : 0);
    for (grid::Index k = 0; k < n; ++k) util::invert6(A.data() + 36 * k, expected.data() + 36 * k);
    util::Singular s = util::invert6Stack(A.data(), n, B.data());
    EXPECT_EQ(s.matrix, n);
    EXPECT_EQ(0, std::memcmp(B.data(), expected.data(), sizeof(double) * 36 * n));

    // Lanes 1 and 3 of one group, and one matrix in the tail.
    for (grid::Index k : {grid::Index{4097}, grid::Index{1003}, grid::Index{1001}}) {
        for (int v = 0; v < 36; ++v) A[36 * k + v] = v < 6 ? 0.0 : u(rng);  // first column zero
        s = util::invert6Stack(A.data(), n, B.data());
        EXPECT_EQ(s.matrix, k);
        EXPECT_EQ(s.pivot.step, 6);
    }
}

#endif

}  // namespace
