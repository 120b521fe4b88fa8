// fdSlope.
#include "tests/support/element_types.h"
#include "tests/support/plugin_test.h"

#include <cstdlib>

using namespace testing_support;

namespace {

ArrayPtr slopeOf(const ArrayPtr &a) {
    std::vector<ArrayPtr> out = run("fdSlope", 1, {&a});
    return out.empty() ? matrix(0, 0) : std::move(out[0]);
}

TEST(FdSlope, CountMessagesWordForWord) {
    ArrayPtr a = matrix(3, 2);
    EXPECT_EQ(call("fdSlope", 1, {}).errorText, "One inputs required.");
    EXPECT_EQ(call("fdSlope", 1, {&a, &a}).errorText, "One inputs required.");
    EXPECT_EQ(call("fdSlope", 0, {&a}).errorText, "One output required.");
    EXPECT_EQ(call("fdSlope", 2, {&a}).errorText, "One output required.");
}

TEST(FdSlope, RampsSquaresAndTwoRows) {
    const mwSize M = 6;
    ArrayPtr a = image(M, 2, [](double r, double c) { return c == 1 ? r : r * r; });
    ArrayPtr d = slopeOf(a);
    EXPECT_EQ(dims(d.get()), (std::vector<mwSize>{M, 2}));
    EXPECT_EQ(values(d.get()), (std::vector<double>{1, 1, 1, 1, 1, 1, 3, 4, 6, 8, 10, 11}));

    EXPECT_EQ(values(slopeOf(matrix(2, 2, {5, 2, -1, 4})).get()), (std::vector<double>{-3, -3, 5, 5}));
}

TEST(FdSlope, FurtherDimensionsFoldIntoColumnsAndEmptyStaysEmpty) {
    // Page p holds p * r^2 in every column: each column is differentiated
    // on its own, 2 p r inside.
    ArrayPtr cube = array({4, 2, 3});
    double *p = mxGetPr(cube.get());
    for (int k = 0; k < 24; ++k) p[k] = (k / 8 + 1) * double((k % 4 + 1) * (k % 4 + 1));
    ArrayPtr d = slopeOf(cube);
    EXPECT_EQ(dims(d.get()), (std::vector<mwSize>{4, 6}));
    std::vector<double> v = values(d.get());
    for (int c = 0; c < 6; ++c) {
        const double s = c / 2 + 1;
        EXPECT_EQ((std::vector<double>(v.begin() + 4 * c, v.begin() + 4 * c + 4)),
                  (std::vector<double>{3 * s, 4 * s, 6 * s, 7 * s}))
            << "column " << c;
    }
    for (mwSize m : {0, 1, 5}) EXPECT_EQ(dims(slopeOf(matrix(m, 0)).get()), (std::vector<mwSize>{m, 0}));
}

TEST(FdSlope, ThreadBlocksMeetExactly) {
    // 301 x 400 with column c holding c r^2: interior rows give 2 c r.
    setenv("GRIDMEX_THREADS", "2", 1);
    const mwSize M = 301, N = 400;
    ArrayPtr d = slopeOf(image(M, N, [](double r, double c) { return c * r * r; }));
    unsetenv("GRIDMEX_THREADS");
    const double *v = mxGetPr(d.get());
    int wrong = 0;
    for (mwSize c = 1; c <= N; ++c) {
        const double *col = v + M * (c - 1);
        wrong += col[0] != 3.0 * c || col[M - 1] != (2.0 * M - 1) * c;
        for (mwSize r = 2; r < M; ++r) wrong += col[r - 1] != 2.0 * c * r;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(FdSlope, RefusesRowsTooFewAndOtherClasses) {
    ArrayPtr rowVector = row({1, 2, 3, 4, 5}), noRows = matrix(0, 3), text = ofClass(mxCHAR_CLASS, 4, 4);
    CallResult r = call("fdSlope", 1, {&rowVector});
    EXPECT_EQ(r.errorId, "fdSlope:tooFewRows");
    EXPECT_EQ(r.errorText, "The input must have at least 2 rows: the derivative runs down the columns (it is 1 x 5).");
    EXPECT_EQ(call("fdSlope", 1, {&noRows}).errorId, "fdSlope:tooFewRows");
    r = call("fdSlope", 1, {&text});
    EXPECT_EQ(r.errorId, "fdSlope:notRealNumeric");
    EXPECT_EQ(r.errorText, "The input must be a real array of class double, single, int8, uint8, int16, "
                           "uint16, int32, uint32, int64, uint64 or logical (it is char).");
}

// Arrays of every class give the bits of the call with their double twin, on
// one thread and on several, with two rows and with many.
TEST(FdSlope, ReadsEveryClassAsDouble) {
    std::mt19937 rng(8);
    for (const std::vector<mwSize> &dims : {std::vector<mwSize>{2, 5}, {37, 40, 90}})
        expectEveryClassGivesTheDoubleBits("fdSlope", 1, {nullptr}, 0, dims, rng);
}

}  // namespace
