// pxCubicSample, pxCubicSlope.
#include "tests/support/plugin_test.h"
#include "tests/support/spline_reference.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

using namespace testing_support;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Outputs of `name` (one or two) at the points (xs[k], ys[k]).
std::vector<std::vector<double>> sampled(const char *name, int nlhs, const ArrayPtr &img, const std::vector<double> &xs,
                                         const std::vector<double> &ys) {
    ArrayPtr X = row(xs), Y = row(ys);
    std::vector<ArrayPtr> out = run(name, nlhs, {&X, &Y, &img});
    std::vector<std::vector<double>> v;
    for (const ArrayPtr &o : out) v.push_back(values(o.get()));
    if (v.size() != std::size_t(nlhs)) ADD_FAILURE() << name << " returned " << v.size() << " outputs";
    v.resize(nlhs);
    return v;
}

double valueAt(const ArrayPtr &img, double x, double y) {
    std::vector<double> v = sampled("pxCubicSample", 1, img, {x}, {y})[0];
    return v.empty() ? NaN : v[0];
}

std::pair<double, double> slopeAt(const ArrayPtr &img, double x, double y) {
    auto v = sampled("pxCubicSlope", 2, img, {x}, {y});
    return v[0].empty() ? std::make_pair(NaN, NaN) : std::make_pair(v[0][0], v[1][0]);
}

// Value, row derivative and column derivative at (x, y) as the double sum
// over the 4 x 4 neighbourhood, pixel by pixel.
struct Reference {
    double value, gx, gy;
};
Reference reference(const ArrayPtr &img, double x, double y) {
    const mwSize M = mxGetM(img.get());
    const double *I = mxGetPr(img.get());
    const double m = std::floor(x), l = std::floor(y);
    double ws[4], ds[4], wt[4], dt[4];
    testing_support::factoredSplineWeights(x - m, ws, ds);
    testing_support::factoredSplineWeights(y - l, wt, dt);
    Reference r{0, 0, 0};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double p = I[mwSize(m - 1 + i - 1) + M * mwSize(l - 1 + j - 1)];
            r.value += ws[i] * wt[j] * p;
            r.gx += ds[i] * wt[j] * p;
            r.gy += ws[i] * dt[j] * p;
        }
    return r;
}

ArrayPtr noisyImage(mwSize M, mwSize N, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> any(-50, 50);
    return image(M, N, [&](double, double) { return any(rng); });
}

TEST(Cubic, CountMessagesWordForWord) {
    ArrayPtr X = scalar(3), Y = scalar(3), I = matrix(8, 8);
    for (const char *name : {"pxCubicSample", "pxCubicSlope"}) {
        EXPECT_EQ(call(name, 1, {&X, &Y}).errorText, "At least three inputs required.");
        EXPECT_EQ(call(name, 0, {}).errorText, "At least three inputs required.");
    }
    for (int nlhs : {0, 2}) EXPECT_EQ(call("pxCubicSample", nlhs, {&X, &Y, &I}).errorText, "Only one output required.");
    for (int nlhs : {0, 1, 3})
        EXPECT_EQ(call("pxCubicSlope", nlhs, {&X, &Y, &I}).errorText, "Only two outputs required.");
    EXPECT_TRUE(call("pxCubicSample", 1, {&X, &Y, &I, &I}).ok) << "further inputs are ignored";
    EXPECT_TRUE(call("pxCubicSlope", 2, {&X, &Y, &I, &I}).ok) << "further inputs are ignored";
}

// The sample and both derivatives agree with the factored form at random
// inside points of a noisy image, and integer points return the pixel.
TEST(Cubic, AgreesWithTheFactoredForm) {
    const mwSize M = 12, N = 10;
    ArrayPtr img = noisyImage(M, N, 3);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> inRows(2, M - 2), inCols(2, N - 2);
    std::vector<double> xs, ys;
    for (int k = 0; k < 500; ++k) {
        xs.push_back(inRows(rng));
        ys.push_back(inCols(rng));
    }
    std::vector<double> value = sampled("pxCubicSample", 1, img, xs, ys)[0];
    auto slope = sampled("pxCubicSlope", 2, img, xs, ys);
    ASSERT_EQ(value.size(), xs.size());
    ASSERT_EQ(slope[0].size(), xs.size());
    for (std::size_t k = 0; k < xs.size(); ++k) {
        Reference r = reference(img, xs[k], ys[k]);
        EXPECT_NEAR(value[k], r.value, 1e-12) << xs[k] << ", " << ys[k];
        if (xs[k] < M - 3 && ys[k] < N - 3) {
            EXPECT_NEAR(slope[0][k], r.gx, 1e-12) << xs[k] << ", " << ys[k];
            EXPECT_NEAR(slope[1][k], r.gy, 1e-12) << xs[k] << ", " << ys[k];
        }
    }

    const double *I = mxGetPr(img.get());
    for (mwSize c = 2; c <= N - 3; ++c)
        for (mwSize r = 2; r <= M - 3; ++r) EXPECT_EQ(valueAt(img, r, c), I[(r - 1) + M * (c - 1)]);
}

// A linear ramp is reproduced with its exact slope; a quadratic is bent by
// the natural end condition: through the samples of t^2 at -1, 0, 1, 2 the
// spline gives 0.2 at t = 0.5, not 0.25.
TEST(Cubic, LinearRampsAreReproducedQuadraticsAreNot) {
    const mwSize M = 9, N = 11;
    ArrayPtr ramp = image(M, N, [](double r, double c) { return 3 * r - 2 * c + 1; });
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> inRows(2, M - 2), inCols(2, N - 2);
    std::vector<double> xs, ys;
    for (int k = 0; k < 300; ++k) {
        xs.push_back(inRows(rng));
        ys.push_back(inCols(rng));
    }
    std::vector<double> value = sampled("pxCubicSample", 1, ramp, xs, ys)[0];
    auto slope = sampled("pxCubicSlope", 2, ramp, xs, ys);
    ASSERT_EQ(value.size(), xs.size());
    ASSERT_EQ(slope[0].size(), xs.size());
    for (std::size_t k = 0; k < xs.size(); ++k) {
        EXPECT_NEAR(value[k], 3 * xs[k] - 2 * ys[k] + 1, 1e-12);
        if (xs[k] < M - 3 && ys[k] < N - 3) {
            EXPECT_NEAR(slope[0][k], 3.0, 1e-12);
            EXPECT_NEAR(slope[1][k], -2.0, 1e-12);
        }
    }

    ArrayPtr rows = image(M, N, [](double r, double) { return r * r; });
    ArrayPtr cols = image(M, N, [](double, double c) { return c * c; });
    for (double m : {2.0, 4.0, 5.0}) {
        EXPECT_NEAR(valueAt(rows, m + 0.5, 4), (m + 0.5) * (m + 0.5) - 0.05, 1e-12) << m;
        EXPECT_NEAR(valueAt(cols, 4, m + 0.5), (m + 0.5) * (m + 0.5) - 0.05, 1e-12) << m;
    }
}

// The valid ranges: 2 <= floor < M-2 for the value (else -13), 2 <= floor
// < M-3 for the gradient (else 0), on both axes; images too small for any
// inside point.
TEST(Cubic, RangeBounds) {
    const mwSize M = 9, N = 8;
    ArrayPtr img = image(M, N, [](double r, double c) { return 10 * r + c; });
    const double y = 4, x = 4;
    EXPECT_EQ(valueAt(img, 2, y), 24.0);
    EXPECT_EQ(valueAt(img, 1.999, y), -13.0);
    EXPECT_EQ(valueAt(img, M - 2, y), -13.0);
    EXPECT_NEAR(valueAt(img, M - 2.001, y), 10 * (M - 2.001) + 4, 1e-11);
    EXPECT_EQ(valueAt(img, x, 2), 42.0);
    EXPECT_EQ(valueAt(img, x, 1.999), -13.0);
    EXPECT_EQ(valueAt(img, x, N - 2), -13.0);
    EXPECT_NEAR(valueAt(img, x, N - 2.001), 40 + N - 2.001, 1e-11);
    for (double bad : {NaN, 1e300, -1e300, -2.5}) {
        EXPECT_EQ(valueAt(img, bad, y), -13.0) << bad;
        EXPECT_EQ(valueAt(img, x, bad), -13.0) << bad;
    }

    using P = std::pair<double, double>;
    EXPECT_EQ(slopeAt(img, 1.999, y), P(0, 0));
    EXPECT_EQ(slopeAt(img, M - 3, y), P(0, 0)) << "inside for the value, outside for the gradient";
    EXPECT_EQ(slopeAt(img, x, 1.999), P(0, 0));
    EXPECT_EQ(slopeAt(img, x, N - 3), P(0, 0));
    for (P inside : {P(2, y), P(M - 3.001, y), P(x, 2), P(x, N - 3.001)}) {
        P g = slopeAt(img, inside.first, inside.second);
        EXPECT_NEAR(g.first, 10, 1e-12) << inside.first << ", " << inside.second;
        EXPECT_NEAR(g.second, 1, 1e-12) << inside.first << ", " << inside.second;
    }
    for (double bad : {NaN, 1e300, -1e300}) {
        EXPECT_EQ(slopeAt(img, bad, y), P(0, 0)) << bad;
        EXPECT_EQ(slopeAt(img, x, bad), P(0, 0)) << bad;
    }

    // 5 x 5 is the smallest image with an inside value, 6 x 6 with an inside
    // gradient; neither reads past its last row or column there.
    ArrayPtr five = image(5, 5, [](double r, double c) { return 10 * r + c; });
    ArrayPtr thin = image(4, 20, [](double r, double c) { return 10 * r + c; });
    EXPECT_NEAR(valueAt(five, 2.999, 2.999), 32.989, 1e-11);
    EXPECT_EQ(valueAt(thin, 2.5, 3), -13.0);
    EXPECT_EQ(slopeAt(five, 2.5, 2.5), P(0, 0));
    ArrayPtr six = image(6, 6, [](double r, double c) { return 10 * r + c; });
    P g = slopeAt(six, 2.999, 2.999);
    EXPECT_NEAR(g.first, 10, 1e-12);
    EXPECT_NEAR(g.second, 1, 1e-12);
}

// At an integer row coordinate the row derivative is that of the cell above
// (weights -7/15, -1/5, 4/5, -2/15 on rows m-1..m+2); the limit from the
// cell below (2/15, -4/5, 1/5, 7/15 on rows m-2..m+1) differs.
TEST(Cubic, RowDerivativeJumpsAcrossACellBorder) {
    const mwSize M = 10, N = 9;
    ArrayPtr img = noisyImage(M, N, 21);
    const double *I = mxGetPr(img.get());
    auto pixel = [&](int r, int c) { return I[(r - 1) + M * (c - 1)]; };
    const int m = 5, c = 4;
    const double above = -7.0 / 15 * pixel(m - 1, c) - 1.0 / 5 * pixel(m, c) + 4.0 / 5 * pixel(m + 1, c) -
                         2.0 / 15 * pixel(m + 2, c);
    const double below = 2.0 / 15 * pixel(m - 2, c) - 4.0 / 5 * pixel(m - 1, c) + 1.0 / 5 * pixel(m, c) +
                         7.0 / 15 * pixel(m + 1, c);
    EXPECT_NEAR(slopeAt(img, m, c).first, above, 1e-12);
    EXPECT_NEAR(slopeAt(img, m - 1e-9, c).first, below, 1e-6);
    EXPECT_GT(std::fabs(above - below), 1e-3);
}

TEST(Cubic, OutputsTakeTheShapeOfX) {
    ArrayPtr img = image(8, 8, [](double r, double c) { return r + 2 * c; });
    ArrayPtr X = array({3, 4, 2}), Y = array({24}), empty = matrix(0, 3);
    std::fill(mxGetPr(X.get()), mxGetPr(X.get()) + 24, 3.0);
    std::fill(mxGetPr(Y.get()), mxGetPr(Y.get()) + 24, 4.0);
    std::vector<ArrayPtr> out = run("pxCubicSample", 1, {&X, &Y, &img});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{3, 8}));
    for (double v : values(out[0].get())) EXPECT_EQ(v, 11.0);
    out = run("pxCubicSlope", 2, {&X, &Y, &img});
    ASSERT_EQ(out.size(), 2u);
    for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{3, 8}));
    out = run("pxCubicSample", 1, {&empty, &empty, &img});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{0, 3}));
    out = run("pxCubicSlope", 2, {&empty, &empty, &img});
    ASSERT_EQ(out.size(), 2u);
    for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{0, 3}));
}

TEST(Cubic, RefusesUnsoundInputs) {
    ArrayPtr X = matrix(2, 3, {3, 3, 3, 3, 3, 3}), Y = matrix(2, 3), shortY = matrix(1, 5), I = matrix(8, 8);
    ArrayPtr text = ofClass(mxCHAR_CLASS, 8, 8), int32 = ofClass(mxINT32_CLASS, 2, 3),
             complex = ofClass(mxDOUBLE_CLASS, 8, 8, mxCOMPLEX);
    using Plugin = std::pair<const char *, int>;
    for (auto [name, nlhs] : {Plugin{"pxCubicSample", 1}, Plugin{"pxCubicSlope", 2}}) {
        CallResult r = call(name, nlhs, {&X, &shortY, &I});
        EXPECT_EQ(r.errorId, std::string(name) + ":tooShort");
        EXPECT_EQ(r.errorText, "Y must hold at least 6 elements (as many as X); it holds 5.");
        r = call(name, nlhs, {&X, &Y, &text});
        EXPECT_EQ(r.errorId, std::string(name) + ":notRealNumeric");
        EXPECT_EQ(r.errorText, "I must be a real array of class double, single, int8, uint8, int16, "
                               "uint16, int32, uint32, int64, uint64 or logical (it is char).");
        r = call(name, nlhs, {&int32, &Y, &I});
        EXPECT_EQ(r.errorText, "X must be a real double array (it is int32).");
        r = call(name, nlhs, {&X, &Y, &complex});
        EXPECT_EQ(r.errorText, "I must be a real array of class double, single, int8, uint8, int16, "
                               "uint16, int32, uint32, int64, uint64 or logical (it is complex double).");
    }
}

// Points split over any number of threads give the same bits.
TEST(Cubic, SameBitsOnAnyThreadCount) {
    const mwSize M = 300, N = 200, count = 100000;
    ArrayPtr img = noisyImage(M, N, 2);
    std::mt19937 rng(13);
    std::uniform_real_distribution<double> rows(0, M + 1), cols(0, N + 1);
    std::vector<double> xs(count), ys(count);
    for (mwSize k = 0; k < count; ++k) {
        xs[k] = rows(rng);
        ys[k] = cols(rng);
    }
    std::vector<std::vector<std::vector<double>>> runs;
    for (const char *threads : {"1", "3"}) {
        setenv("GRIDMEX_THREADS", threads, 1);
        runs.push_back(sampled("pxCubicSample", 1, img, xs, ys));
        runs.push_back(sampled("pxCubicSlope", 2, img, xs, ys));
    }
    unsetenv("GRIDMEX_THREADS");
    ASSERT_EQ(runs[0][0].size(), count);
    EXPECT_TRUE(runs[0] == runs[2]);
    EXPECT_TRUE(runs[1] == runs[3]);
}

}  // namespace
