// gridInterp2 and gridInterp3: the edge rules, the arithmetic at nodes and
// on linear data, element classes, the grid of query vectors and the
// refusals.
#include "interp/grid_interp.h"
#include "tests/support/element_types.h"
#include "tests/support/plugin_test.h"

#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace testing_support;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

ArrayPtr text(const char *t) { return ArrayPtr(mxCreateString(t)); }

// gridInterp2(V, x, y, method, extrapval, rule) at one point.
double at2(const ArrayPtr &V, double x, double y, const char *method = "linear", double fill = -1,
           const char *rule = "interp") {
    ArrayPtr X = scalar(x), Y = scalar(y), m = text(method), e = scalar(fill), r = text(rule);
    return values(run("gridInterp2", 1, {&V, &X, &Y, &m, &e, &r})[0].get())[0];
}

double at3(const ArrayPtr &V, double x, double y, double z, const char *method = "linear", double fill = -1,
           const char *rule = "interp") {
    ArrayPtr X = scalar(x), Y = scalar(y), Z = scalar(z), m = text(method), e = scalar(fill), r = text(rule);
    return values(run("gridInterp3", 1, {&V, &X, &Y, &Z, &m, &e, &r})[0].get())[0];
}

ArrayPtr volume(mwSize M, mwSize N, mwSize P, double (*f)(double, double, double)) {
    ArrayPtr a = array({M, N, P});
    double *p = mxGetPr(a.get());
    for (mwSize k = 0; k < P; ++k)
        for (mwSize c = 0; c < N; ++c)
            for (mwSize r = 0; r < M; ++r) p[r + M * (c + N * k)] = f(double(r + 1), double(c + 1), double(k + 1));
    return a;
}

// Integer-valued data, so that every node comes back exact.
double f2(double r, double c) { return 10 * r + c * c; }
double f3(double r, double c, double k) { return 100 * k + 10 * r + c * c; }

TEST(GridInterp, EveryNodeEdgesIncludedComesBackUnderEveryRuleAndMethod) {
    const mwSize M = 4, N = 5, P = 3;
    ArrayPtr V = image(M, N, f2), W = volume(M, N, P, f3);
    for (const char *method : {"linear", "nearest"}) {
        for (double r = 1; r <= M; ++r)
            for (double c = 1; c <= N; ++c) {
                EXPECT_EQ(at2(V, c, r, method), f2(r, c)) << method << " " << r << " " << c;
                EXPECT_EQ(at2(V, c - 1, r - 1, method, -1, "constant"), f2(r, c));
                EXPECT_EQ(at2(V, c - 1, r - 1, method, -1, "nearest"), f2(r, c));
                for (double k = 1; k <= P; ++k) {
                    EXPECT_EQ(at3(W, c, r, k, method), f3(r, c, k)) << method << " " << r << " " << c << " " << k;
                    EXPECT_EQ(at3(W, c - 1, r - 1, k - 1, method, -1, "constant"), f3(r, c, k));
                }
            }
    }
}

TEST(GridInterp, InsideIsTheClosedGridAndEverythingElseTheFillValue) {
    const mwSize M = 4, N = 5;
    ArrayPtr V = image(M, N, f2);
    const double below1 = std::nextafter(1.0, 0.0), aboveN = std::nextafter(double(N), 9.0);
    for (const char *method : {"linear", "nearest"}) {
        for (double x : {below1, aboveN, 0.0, -kInf, kInf, kNaN, 1e300}) {
            EXPECT_EQ(at2(V, x, 2, method, -7), -7) << method << " " << x;
            EXPECT_EQ(at2(V, 2, x < 3 || x != x ? x : x - 1, method, -7), -7) << method << " " << x;
            EXPECT_EQ(at2(V, x - 1, 1, method, -7, "constant"), -7) << method << " " << x;
        }
        EXPECT_TRUE(std::isnan(at2(V, 0, 2, method, kNaN)));
        EXPECT_EQ(at2(V, -0.0, 0, method, -7, "constant"), f2(1, 1));
    }
    // Linear data come back at every point inside.
    EXPECT_EQ(at2(V, 1.5, M), (f2(M, 1) + f2(M, 2)) / 2);
    EXPECT_EQ(at2(V, N, 2.25), f2(2.25, N));
}

TEST(GridInterp, NearestRoundsHalvesUpAndTheNearestRuleClampsToTheEdge) {
    const mwSize M = 4, N = 5;
    ArrayPtr V = image(M, N, f2);
    EXPECT_EQ(at2(V, 2.5, 1, "nearest"), f2(1, 3));
    EXPECT_EQ(at2(V, std::nextafter(2.5, 0.0), 1, "nearest"), f2(1, 2));
    EXPECT_EQ(at2(V, 1.5, 0, "nearest", -1, "constant"), f2(1, 3));
    EXPECT_EQ(at2(V, 0.49999999999999994, 0, "nearest", -1, "constant"), f2(1, 2));  // x + 0.5 rounds to 1
    for (const char *method : {"linear", "nearest"}) {
        EXPECT_EQ(at2(V, -3.25, 9, method, -1, "nearest"), f2(M, 1)) << method;
        EXPECT_EQ(at2(V, 1e300, -1e300, method, -1, "nearest"), f2(1, N)) << method;
        EXPECT_TRUE(std::isnan(at2(V, kNaN, 1, method, -1, "nearest"))) << method;
    }
    EXPECT_EQ(at2(V, kInf, 0, "nearest", -1, "nearest"), f2(1, N));
    EXPECT_TRUE(std::isnan(at2(V, kInf, 0, "linear", -1, "nearest")));  // weights inf - inf
    // A single sample along an axis serves the 0-based rules.
    ArrayPtr row = image(1, N, f2);
    EXPECT_EQ(at2(row, 2.5, 0, "linear", -1, "constant"), (f2(1, 3) + f2(1, 4)) / 2);
    EXPECT_EQ(at2(row, 2.5, 0.5, "linear", -1, "constant"), -1);
    EXPECT_EQ(at2(row, 2.5, 3, "linear", -1, "nearest"), (f2(1, 3) + f2(1, 4)) / 2);
}

// Bilinear and trilinear data are reproduced at random points by every
// rule, to rounding.
TEST(GridInterp, ReproducesMultilinearData) {
    const mwSize M = 6, N = 7, P = 5;
    auto g2 = [](double r, double c) { return 3 * r - 2 * c + 0.5 * r * c + 1; };
    auto g3 = [](double r, double c, double k) { return 3 * r - 2 * c + k + 0.25 * r * c * k; };
    ArrayPtr V = image(M, N, g2);
    ArrayPtr W = volume(M, N, P, [](double r, double c, double k) { return 3 * r - 2 * c + k + 0.25 * r * c * k; });
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0, 1);
    for (int p = 0; p < 200; ++p) {
        const double r = 1 + u(rng) * (M - 1), c = 1 + u(rng) * (N - 1), k = 1 + u(rng) * (P - 1);
        EXPECT_NEAR(at2(V, c, r), g2(r, c), 1e-12);
        EXPECT_NEAR(at2(V, c - 1, r - 1, "linear", -1, "constant"), g2(r, c), 1e-12);
        EXPECT_NEAR(at3(W, c, r, k), g3(r, c, k), 1e-12);
        EXPECT_NEAR(at3(W, c - 1, r - 1, k - 1, "linear", -1, "nearest"), g3(r, c, k), 1e-12);
    }
}

// Every element class gives the bits of its double(V) under every rule and
// method, in 2-D and 3-D, at points on and around every bound.
TEST(GridInterp, EveryClassGivesTheBitsOfItsDoubles) {
    const mwSize M = 5, N = 6, P = 3, n = 400;
    std::mt19937 rng(9);
    ArrayPtr X = matrix(n, 1, rangeCoordinates(rng, N, n)), Y = matrix(n, 1, rangeCoordinates(rng, M, n));
    ArrayPtr Z = matrix(n, 1, rangeCoordinates(rng, P, n)), e = scalar(-1);
    for (const char *method : {"linear", "nearest"})
        for (const char *rule : {"interp", "constant", "nearest"}) {
            SCOPED_TRACE(std::string(method) + " " + rule);
            ArrayPtr m = text(method), r = text(rule);
            expectEveryClassGivesTheDoubleBits("gridInterp2", 1, {nullptr, X.get(), Y.get(), m.get(), e.get(), r.get()},
                                               0, {M, N}, rng);
            expectEveryClassGivesTheDoubleBits(
                "gridInterp3", 1, {nullptr, X.get(), Y.get(), Z.get(), m.get(), e.get(), r.get()}, 0, {M, N, P}, rng);
        }
}

TEST(GridInterp, VectorsOfOtherShapesSpanTheGridAsMeshgrid) {
    ArrayPtr V = image(4, 5, f2), W = volume(4, 5, 3, f3);
    ArrayPtr xs = row({1, 2.5, 5}), ys = matrix(2, 1, {1.5, 4}), zs = row({1, 2, 3, 2});
    auto got = run("gridInterp2", 1, {&V, &xs, &ys});
    ASSERT_EQ(dims(got[0].get()), (std::vector<mwSize>{2, 3}));
    const std::vector<double> v = values(got[0].get());
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            EXPECT_EQ(v[r + 2 * c], at2(V, mxGetPr(xs.get())[c], mxGetPr(ys.get())[r])) << r << " " << c;
    auto got3 = run("gridInterp3", 1, {&W, &xs, &ys, &zs});
    ASSERT_EQ(dims(got3[0].get()), (std::vector<mwSize>{2, 3, 4}));
    EXPECT_EQ(values(got3[0].get())[1 + 2 * (2 + 3 * 3)], at3(W, 5, 4, 2));
    // N-D arrays of one shape keep it.
    ArrayPtr cube = array({2, 1, 3}, {1, 2, 3, 4, 5, 1.5});
    EXPECT_EQ(dims(run("gridInterp2", 1, {&V, &cube, &cube})[0].get()), (std::vector<mwSize>{2, 1, 3}));
}

TEST(GridInterp, RefusesWhatItCannotServeWithItsIdentifiers) {
    ArrayPtr V = image(4, 5, f2), one = scalar(1), two = matrix(1, 2, {1, 2}), three = matrix(1, 3, {1, 2, 3});
    ArrayPtr lin = text("linear"), cubic = text("cubic"), fill = scalar(0), bad = text("reflect"),
             row1 = image(1, 5, f2);
    ArrayPtr empty = matrix(0, 0), complexV(mxCreateNumericMatrix(4, 5, mxDOUBLE_CLASS, mxCOMPLEX));
    ArrayPtr singleX(mxCreateNumericMatrix(1, 1, mxSINGLE_CLASS, mxREAL)), vol = array({2, 2, 2});
    const struct {
        CallResult r;
        const char *id;
    } cases[] = {
        {call("gridInterp2", 1, {&V, &two, &three}), "gridInterp2:sizeMismatch"},
        {call("gridInterp2", 1, {&V, &one, &one, &cubic}), "gridInterp2:method"},
        {call("gridInterp2", 1, {&one, &V, &one, &one, &one}), "gridInterp2:method"},  // interp2(X, Y, V, Xq, Yq)
        {call("gridInterp2", 1, {&V, &one, &one, &lin, &empty}), "gridInterp2:emptyScalar"},
        {call("gridInterp2", 1, {&V, &one, &one, &lin, &fill, &bad}), "gridInterp2:rule"},
        {call("gridInterp2", 1, {&V, &one, &one, &lin, &fill, &lin, &one}), "gridInterp2:tooManyInputs"},
        {call("gridInterp2", 1, {&row1, &one, &one}), "gridInterp2:gridTooSmall"},
        {call("gridInterp2", 1, {&vol, &one, &one}), "gridInterp2:gridTooSmall"},
        {call("gridInterp2", 1, {&empty, &one, &one, &lin, &fill, &bad}), "gridInterp2:rule"},
        {call("gridInterp2", 1, {&complexV, &one, &one}), "gridInterp2:notRealNumeric"},
        {call("gridInterp2", 1, {&V, &singleX, &one}), "gridInterp2:notRealDouble"},
        {call("gridInterp3", 1, {&V, &one, &one, &one}), "gridInterp3:gridTooSmall"},
        {call("gridInterp3", 1, {&vol, &two, &two, &V}), "gridInterp3:sizeMismatch"},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(c.r.ok) << c.id;
        EXPECT_EQ(c.r.errorId, c.id) << c.r.errorText;
    }
    EXPECT_EQ(call("gridInterp2", 1, {&V, &one}).errorText, "At least three inputs required.");
    EXPECT_EQ(call("gridInterp3", 1, {&vol, &one, &one}).errorText, "At least four inputs required.");
    EXPECT_EQ(call("gridInterp2", 2, {&V, &one, &one}).errorText, "Too many outputs.");
    // Asked for no output, the value still comes back (as ans).
    ArrayPtr zero = scalar(0), constant = text("constant");
    EXPECT_TRUE(call("gridInterp2", 0, {&V, &one, &one}).ok);
    EXPECT_TRUE(call("gridInterp2", 1, {&row1, &zero, &zero, &lin, &fill, &constant}).ok);
}

// The kernel splits over threads in contiguous blocks, four-lane where the
// processor serves it: the same bits on a call large enough to be split as
// from the scalar kernel on its pieces.
TEST(GridInterp, KernelBlocksGiveTheBitsOfTheWholeRange) {
    const interp::Index M = 40, N = 50, count = 200000;
    std::vector<double> V(M * N), X(count), Y(count), whole(count), parts(count);
    std::mt19937 rng(2);
    std::uniform_real_distribution<double> u(-1, 52);
    for (double &v : V) v = u(rng);
    for (interp::Index k = 0; k < count; ++k) {
        X[k] = u(rng);
        Y[k] = u(rng);
    }
    interp::interp2<interp::Method::Linear, interp::Rule::Interp>(X.data(), Y.data(), count, V.data(), M, N, -1.0,
                                                                  whole.data());
    interp::interp2Range<interp::Method::Linear, interp::Rule::Interp>(X.data(), Y.data(), 0, count / 3, V.data(), M, N,
                                                                       -1.0, parts.data());
    interp::interp2Range<interp::Method::Linear, interp::Rule::Interp>(X.data(), Y.data(), count / 3, count, V.data(),
                                                                       M, N, -1.0, parts.data());
    for (interp::Index k = 0; k < count; ++k) ASSERT_TRUE(sameBits(whole[k], parts[k])) << k;
}

}  // namespace
