// matInvert6.
#include "tests/support/plugin_test.h"

#include <cmath>
#include <cstdlib>
#include <random>

using namespace testing_support;

namespace {

// A 36 x n stack from a function of (matrix k, row r, column q), 0-based.
template <typename F>
ArrayPtr stack(mwSize n, F f) {
    ArrayPtr a = matrix(36, n);
    double *p = mxGetPr(a.get());
    for (mwSize k = 0; k < n; ++k)
        for (int q = 0; q < 6; ++q)
            for (int r = 0; r < 6; ++r) p[36 * k + 6 * q + r] = f(k, r, q);
    return a;
}

std::vector<double> identity() {
    std::vector<double> v(36, 0.0);
    for (int i = 0; i < 6; ++i) v[7 * i] = 1;
    return v;
}

// The text printed for a singular matrix m at step s.
std::string singularText(int s, const char *pivot, const std::vector<double> &m) {
    std::string t = "Pivot " + std::to_string(s) + " " + std::to_string(s) + " " + pivot + "\n";
    char buf[64];
    for (int v = 0; v < 36; ++v) {
        std::snprintf(buf, sizeof buf, "     %7.4f", m[v]);
        t += buf;
        if (v % 6 == 5) t += "\n";
    }
    return t;
}

TEST(Invert6, ChecksInTheirOwnOrder) {
    ArrayPtr square = matrix(6, 6, identity()), one = matrix(36, 1, identity());
    EXPECT_EQ(call("matInvert6", 1, {&square}).errorText, "Only 6x6 matrix !");
    EXPECT_EQ(call("matInvert6", 0, {&square, &one}).errorText, "Only 6x6 matrix !") << "rows first";
    EXPECT_EQ(call("matInvert6", 1, {&one, &one}).errorText, "Only one input required.");
    EXPECT_EQ(call("matInvert6", 0, {&one}).errorText, "Only one output required.");
    EXPECT_EQ(call("matInvert6", 2, {&one}).errorText, "Only one output required.");

    CallResult r = call("matInvert6", 1, {});
    EXPECT_EQ(r.errorId, "matInvert6:noInput");
    EXPECT_EQ(r.errorText, "One input required: a 36 x n array holding one 6x6 matrix per column.");
    ArrayPtr single = ofClass(mxSINGLE_CLASS, 36, 1);
    r = call("matInvert6", 1, {&single});
    EXPECT_EQ(r.errorId, "matInvert6:notRealDouble");
    EXPECT_EQ(r.errorText, "A must be a real double array (it is single).");
}

TEST(Invert6, IdentityPermutationAndEmptyStack) {
    ArrayPtr eye = matrix(36, 1, identity());
    EXPECT_EQ(values(run("matInvert6", 1, {&eye})[0].get()), identity());

    // Row r has its 1 in column perm[r]; the inverse is the transpose.
    const int perm[6] = {3, 0, 5, 1, 4, 2};
    auto P = [&](mwSize, int r, int q) { return perm[r] == q ? 1.0 : 0.0; };
    auto Pt = [&](mwSize, int r, int q) { return perm[q] == r ? 1.0 : 0.0; };
    ArrayPtr p = stack(1, P);
    EXPECT_EQ(values(run("matInvert6", 1, {&p})[0].get()), values(stack(1, Pt).get()));

    ArrayPtr none = matrix(36, 0);
    CallResult r = call("matInvert6", 1, {&none});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(dims(r.outputs[0].get()), (std::vector<mwSize>{36, 0}));
    EXPECT_EQ(r.console, "");
}

TEST(Invert6, RandomStacksOverThreadsAreInvertedAndBitIdentical) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-1, 1);
    const mwSize n = 4096;
    ArrayPtr A = stack(n, [&](mwSize, int r, int q) { return u(rng) + (r == q ? 4.0 : 0.0); });
    setenv("GRIDMEX_THREADS", "1", 1);
    std::vector<double> serial = values(run("matInvert6", 1, {&A})[0].get());
    setenv("GRIDMEX_THREADS", "2", 1);
    std::vector<double> threaded = values(run("matInvert6", 1, {&A})[0].get());
    unsetenv("GRIDMEX_THREADS");
    ASSERT_EQ(serial.size(), 36 * n);
    EXPECT_TRUE(serial == threaded);

    const double *a = mxGetPr(A.get());
    double worst = 0;
    for (mwSize k = 0; k < n; ++k) {
        const double *m = a + 36 * k, *b = serial.data() + 36 * k;
        for (int r = 0; r < 6; ++r)
            for (int q = 0; q < 6; ++q) {
                double s = 0;
                for (int j = 0; j < 6; ++j) s += m[6 * j + r] * b[6 * q + j];
                worst = std::max(worst, std::fabs(s - (r == q ? 1.0 : 0.0)));
            }
    }
    EXPECT_LT(worst, 1e-10);
}

TEST(Invert6, SingularMatricesPrintThemselvesAndStopTheCall) {
    // Full pivoting moves the zero of diag(1..5, 0) to the last step.
    std::vector<double> diag(36, 0.0);
    for (int i = 0; i < 5; ++i) diag[7 * i] = i + 1;
    ArrayPtr d = matrix(36, 1, diag);
    CallResult r = call("matInvert6", 1, {&d});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorText, "Singular Matrix.");
    EXPECT_EQ(r.console, singularText(6, "0", diag));

    ArrayPtr zero = matrix(36, 1), negZero = stack(1, [](mwSize, int, int) { return -0.0; });
    EXPECT_EQ(call("matInvert6", 1, {&zero}).console, singularText(1, "0", std::vector<double>(36, 0.0)));
    EXPECT_EQ(call("matInvert6", 1, {&negZero}).console.substr(0, 14), "Pivot 1 1 -0\n ");

    // [1 1; 1 1+1e-12] beside the identity: the relative threshold cancels
    // the tiny difference, so the matrix counts as singular.
    std::vector<double> near = identity();
    near[1] = near[6] = 1;
    near[7] = 1 + 1e-12;
    ArrayPtr nearly = matrix(36, 1, near);
    EXPECT_EQ(call("matInvert6", 1, {&nearly}).console.substr(0, 12), "Pivot 6 6 0\n");
}

TEST(Invert6, FirstSingularMatrixOfAThreadedStackIsReported) {
    // Singular matrices at 1500 and 3000 (in different thread blocks), each
    // filled with its own number so the printed values tell them apart.
    const mwSize n = 4096;
    ArrayPtr A = stack(n, [](mwSize k, int r, int q) {
        if (k == 1500 || k == 3000) return double(k);
        return r == q ? 2.0 : 0.0;
    });
    setenv("GRIDMEX_THREADS", "2", 1);
    CallResult r = call("matInvert6", 1, {&A});
    unsetenv("GRIDMEX_THREADS");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorText, "Singular Matrix.");
    EXPECT_TRUE(r.outputs.empty());
    // Pivot 1500 at step 1 leaves a zero block at step 2.
    EXPECT_EQ(r.console, singularText(2, "0", std::vector<double>(36, 1500.0)));
}

}  // namespace
