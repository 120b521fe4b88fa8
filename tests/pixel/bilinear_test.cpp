// pxBilinSample, pxBilinSampleClamp, pxBilinSampleHold.
#include "tests/support/plugin_test.h"

#include <cmath>
#include <limits>
#include <random>

using namespace testing_support;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const char *const kVariants[] = {"pxBilinSample", "pxBilinSampleClamp", "pxBilinSampleHold"};

// Samples one point (x, y) of `img` with `name`.
double sampleAt(const char *name, const ArrayPtr &img, double x, double y) {
    ArrayPtr X = scalar(x), Y = scalar(y);
    std::vector<ArrayPtr> out = run(name, 1, {&X, &Y, &img});
    return out.empty() ? NaN : values(out[0].get())[0];
}

TEST(Bilinear, CountMessagesWordForWord) {
    ArrayPtr X = scalar(2), Y = scalar(2), I = matrix(4, 4);
    for (const char *name : kVariants) {
        EXPECT_EQ(call(name, 1, {&X, &Y}).errorText, "At least three inputs required.");
        EXPECT_EQ(call(name, 0, {&X, &Y}).errorText, "At least three inputs required.");
        EXPECT_EQ(call(name, 0, {&X, &Y, &I}).errorText, "Only one output required.");
        EXPECT_EQ(call(name, 2, {&X, &Y, &I}).errorText, "Only one output required.");
        EXPECT_TRUE(call(name, 1, {&X, &Y, &I, &I}).ok) << "inputs after the third are ignored";
    }
}

// Rows follow r^2 so that extrapolation differs from the neighbouring row;
// columns are linear.  Along rows: x = 1.9, 2, M - 0.001, M, NaN.
TEST(Bilinear, RangeRulesAlongRows) {
    const mwSize M = 5, N = 6;
    ArrayPtr img = image(M, N, [](double r, double c) { return r * r + 100 * c; });
    const double y = 3, col = 300;
    auto rowValue = [&](double r) { return r * r + col; };

    EXPECT_EQ(sampleAt("pxBilinSample", img, 1.9, y), -13.0);
    EXPECT_EQ(sampleAt("pxBilinSample", img, 2.0, y), rowValue(2));
    EXPECT_NEAR(sampleAt("pxBilinSample", img, M - 0.001, y), 16 + 0.999 * 9 + col, 1e-9);
    EXPECT_EQ(sampleAt("pxBilinSample", img, M, y), -13.0);
    EXPECT_EQ(sampleAt("pxBilinSample", img, NaN, y), -13.0);

    // Clamp: below, the mid-point of rows 2 and 3; above, row M-1.
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, 1.9, y), (rowValue(2) + rowValue(3)) / 2);
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, -1e300, y), (rowValue(2) + rowValue(3)) / 2);
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, 2.0, y), rowValue(2));
    EXPECT_NEAR(sampleAt("pxBilinSampleClamp", img, M - 0.001, y), 16 + 0.999 * 9 + col, 1e-9);
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, M, y), rowValue(M - 1));
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, 1e300, y), rowValue(M - 1));

    // Hold: rows 1 and 2 interpolated below 2; beyond M, the edge cell
    // (rows M-2, M-1) extrapolated: 2 I(M-1) - I(M-2) at x = M.
    EXPECT_NEAR(sampleAt("pxBilinSampleHold", img, 1.9, y), 1 + 0.9 * 3 + col, 1e-12);
    EXPECT_EQ(sampleAt("pxBilinSampleHold", img, 1.0, y), rowValue(1));
    EXPECT_EQ(sampleAt("pxBilinSampleHold", img, 2.0, y), rowValue(2));
    EXPECT_NEAR(sampleAt("pxBilinSampleHold", img, M - 0.001, y), 16 + 0.999 * 9 + col, 1e-9);
    EXPECT_EQ(sampleAt("pxBilinSampleHold", img, M, y), 2 * rowValue(M - 1) - rowValue(M - 2));
    EXPECT_EQ(sampleAt("pxBilinSampleHold", img, 0.5, y), 1 - 0.5 * 3 + col);

    for (const char *name : {"pxBilinSampleClamp", "pxBilinSampleHold"}) {
        EXPECT_TRUE(std::isnan(sampleAt(name, img, NaN, y))) << name;
        EXPECT_TRUE(std::isnan(sampleAt(name, img, 3, NaN))) << name;
    }
}

TEST(Bilinear, RangeRulesAlongColumns) {
    ArrayPtr img = image(6, 5, [](double r, double c) { return 100 * r + c * c; });
    EXPECT_EQ(sampleAt("pxBilinSample", img, 3, 1.9), -13.0);
    EXPECT_EQ(sampleAt("pxBilinSample", img, 3, 5), -13.0);
    EXPECT_EQ(sampleAt("pxBilinSample", img, 3, 4), 300 + 16);
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, 3, 7), 300 + 16);
    EXPECT_EQ(sampleAt("pxBilinSampleClamp", img, 3, 0), 300 + (4 + 9) / 2.0);
    EXPECT_EQ(sampleAt("pxBilinSampleHold", img, 3, 5), 300 + 2 * 16 - 9);
}

TEST(Bilinear, IntegerPointsReturnPixelsAndLinearRampsAreReproduced) {
    const mwSize M = 7, N = 9;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> any(-50, 50);
    ArrayPtr noisy = image(M, N, [&](double, double) { return any(rng); });
    for (const char *name : kVariants) {
        for (mwSize c = 2; c < N; ++c)
            for (mwSize r = 2; r < M; ++r)
                EXPECT_EQ(sampleAt(name, noisy, r, c), mxGetPr(noisy.get())[(r - 1) + M * (c - 1)]);
    }

    ArrayPtr ramp = image(M, N, [](double r, double c) { return 3 * r - 2 * c + 1; });
    std::uniform_real_distribution<double> inRows(2, M - 1e-9), inCols(2, N - 1e-9);
    std::vector<double> xs, ys;
    for (int i = 0; i < 200; ++i) {
        xs.push_back(inRows(rng));
        ys.push_back(inCols(rng));
    }
    ArrayPtr X = row(xs), Y = row(ys);
    for (const char *name : kVariants) {
        std::vector<ArrayPtr> out = run(name, 1, {&X, &Y, &ramp});
        ASSERT_EQ(out.size(), 1u);
        std::vector<double> v = values(out[0].get());
        for (std::size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(v[i], 3 * xs[i] - 2 * ys[i] + 1, 1e-10);
    }
}

TEST(Bilinear, OutputTakesTheShapeOfXWithDimensionsFolded) {
    ArrayPtr img = image(5, 5, [](double r, double c) { return r + c; });
    ArrayPtr X = array({3, 4, 2}), Y = array({24});
    std::fill(mxGetPr(X.get()), mxGetPr(X.get()) + 24, 3.0);
    std::fill(mxGetPr(Y.get()), mxGetPr(Y.get()) + 24, 2.5);
    for (const char *name : kVariants) {
        std::vector<ArrayPtr> out = run(name, 1, {&X, &Y, &img});
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{3, 8}));
        for (double v : values(out[0].get())) EXPECT_EQ(v, 5.5);
    }
    ArrayPtr empty = matrix(0, 3);
    for (const char *name : kVariants) {
        std::vector<ArrayPtr> out = run(name, 1, {&empty, &empty, &img});
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{0, 3}));
    }
}

TEST(Bilinear, SmallImages) {
    ArrayPtr X = scalar(2), Y = scalar(2), tiny = matrix(2, 5), empty = matrix(0, 0), none = matrix(0, 1);
    for (ArrayPtr *img : {&tiny, &empty}) {
        std::vector<ArrayPtr> out = run("pxBilinSample", 1, {&X, &Y, img});
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(values(out[0].get())[0], -13.0);
    }
    for (const char *name : {"pxBilinSampleClamp", "pxBilinSampleHold"}) {
        CallResult r = call(name, 1, {&X, &Y, &tiny});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.errorId, std::string(name) + ":imageTooSmall");
        EXPECT_EQ(r.errorText, "The image must have at least 3 rows and 3 columns for its border rule (it is 2 x 5).");
        EXPECT_TRUE(call(name, 1, {&none, &none, &tiny}).ok) << "no point, nothing to refuse";
    }
}

TEST(Bilinear, RefusesUnsoundInputs) {
    ArrayPtr X = matrix(2, 3, {2, 2, 2, 2, 2, 2}), shortY = matrix(1, 5), I = matrix(4, 4);
    for (const char *name : kVariants) {
        CallResult r = call(name, 1, {&X, &shortY, &I});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.errorId, std::string(name) + ":tooShort");
        EXPECT_EQ(r.errorText, "Y must hold at least 6 elements (as many as X); it holds 5.");
    }
    ArrayPtr Y = matrix(2, 3);
    ArrayPtr text = ofClass(mxCHAR_CLASS, 4, 4), int32 = ofClass(mxINT32_CLASS, 2, 3),
             logical = ofClass(mxLOGICAL_CLASS, 2, 3), complex = ofClass(mxDOUBLE_CLASS, 4, 4, mxCOMPLEX),
             sparse = matrix(4, 4);
    mexhost::setSparse(sparse.get(), true);
    struct Case {
        std::initializer_list<const ArrayPtr *> inputs;
        const char *id;
        const char *text;
    } cases[] = {
        {{&X, &Y, &text},
         "notRealNumeric",
         "I must be a real array of class double, single, int8, uint8, int16, "
         "uint16, int32, uint32, int64, uint64 or logical (it is char)."},
        {{&int32, &Y, &I}, "notRealDouble", "X must be a real double array (it is int32)."},
        {{&X, &logical, &I}, "notRealDouble", "Y must be a real double array (it is logical)."},
        {{&X, &Y, &complex},
         "notRealNumeric",
         "I must be a real array of class double, single, int8, uint8, int16, "
         "uint16, int32, uint32, int64, uint64 or logical (it is complex double)."},
        {{&X, &Y, &sparse},
         "notRealNumeric",
         "I must be a real array of class double, single, int8, uint8, int16, "
         "uint16, int32, uint32, int64, uint64 or logical (it is sparse double)."},
    };
    for (const char *name : kVariants) {
        for (const Case &c : cases) {
            CallResult r = call(name, 1, c.inputs);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.errorId, std::string(name) + ":" + c.id);
            EXPECT_EQ(r.errorText, c.text);
        }
    }
}

}  // namespace
