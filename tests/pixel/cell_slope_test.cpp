// pxCellSlope, pxCellSlopeMasked.
#include "tests/support/plugin_test.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>

using namespace testing_support;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct Slopes {
    std::vector<double> gx, gy;
};

// Gradients of `name` at the points (xs[k], ys[k]); the mask, when given,
// is passed as the fourth input.
Slopes slopes(const char *name, const ArrayPtr &img, const std::vector<double> &xs, const std::vector<double> &ys,
              const ArrayPtr *mask = nullptr) {
    ArrayPtr X = row(xs), Y = row(ys);
    CallResult r = mask ? call(name, 2, {&X, &Y, &img, mask}) : call(name, 2, {&X, &Y, &img});
    EXPECT_TRUE(r.ok) << name << ": " << r.errorText;
    if (r.outputs.size() != 2) return {};
    return {values(r.outputs[0].get()), values(r.outputs[1].get())};
}

// An M x N mask of class cls with mask(r, c) = f(r, c) (non-zero inside).
template <typename F>
ArrayPtr maskOf(mxClassID cls, mwSize M, mwSize N, F f) {
    ArrayPtr a = ofClass(cls, M, N);
    void *p = mxGetData(a.get());
    for (mwSize c = 1; c <= N; ++c)
        for (mwSize r = 1; r <= M; ++r) {
            mwSize o = (r - 1) + M * (c - 1);
            int v = f(double(r), double(c));
            if (cls == mxINT32_CLASS) static_cast<std::int32_t *>(p)[o] = v;
            // uint32 inside values carry the top bit, which int32 reads as negative.
            else if (cls == mxUINT32_CLASS)
                static_cast<std::uint32_t *>(p)[o] = v ? 0x80000000u | unsigned(v) : 0u;
            else if (cls == mxLOGICAL_CLASS)
                static_cast<mxLogical *>(p)[o] = v != 0;
            else
                static_cast<double *>(p)[o] = v;
        }
    return a;
}

const mxClassID kMaskClasses[] = {mxINT32_CLASS, mxUINT32_CLASS, mxLOGICAL_CLASS, mxDOUBLE_CLASS};

// Along an axis of the image r^2 (or c^2): the central difference at p is
// 2p, the forward one 2p+1, the backward one 2p-1.
double plainSlope(double p, double n) { return p == 1 ? 3 : p == n ? 2 * n - 1 : 2 * p; }

TEST(CellSlope, CountMessagesWordForWord) {
    ArrayPtr X = scalar(2), Y = scalar(2), I = matrix(4, 4), mask = matrix(4, 4);
    EXPECT_EQ(call("pxCellSlope", 2, {&X, &Y}).errorText, "At least three inputs required.");
    EXPECT_EQ(call("pxCellSlopeMasked", 2, {&X, &Y, &I}).errorText, "At least four inputs required.");
    EXPECT_EQ(call("pxCellSlopeMasked", 0, {&X, &Y, &I}).errorText, "At least four inputs required.");
    for (const char *name : {"pxCellSlope", "pxCellSlopeMasked"}) {
        for (int nlhs : {0, 1, 3})
            EXPECT_EQ(call(name, nlhs, {&X, &Y, &I, &mask}).errorText, "Only two outputs required.");
        EXPECT_TRUE(call(name, 2, {&X, &Y, &I, &mask, &mask}).ok) << "further inputs are ignored";
    }
}

// Every point of the cell [l, l+1) x [h, h+1) gets the gradient of pixel
// (l, h), the last row and column included; the masked plug-in with an
// all-inside mask of any class gives the same.
TEST(CellSlope, ConstantOverEachCellOneSidedOnTheBorder) {
    const mwSize M = 6, N = 7;
    ArrayPtr img = image(M, N, [](double r, double c) { return r * r + 1000 * c * c; });
    std::vector<double> xs, ys, ex, ey;
    for (mwSize h = 1; h <= N; ++h)
        for (mwSize l = 1; l <= M; ++l)
            for (double d : {0.0, 0.5, 0.999}) {
                xs.push_back(l + d);
                ys.push_back(h + (0.999 - d));
                ex.push_back(plainSlope(l, M));
                ey.push_back(1000 * plainSlope(h, N));
            }
    Slopes plain = slopes("pxCellSlope", img, xs, ys);
    EXPECT_EQ(plain.gx, ex);
    EXPECT_EQ(plain.gy, ey);
    for (mxClassID cls : kMaskClasses) {
        ArrayPtr all = maskOf(cls, M, N, [](double r, double c) { return int(r + c); });
        Slopes masked = slopes("pxCellSlopeMasked", img, xs, ys, &all);
        EXPECT_EQ(masked.gx, ex) << mxGetClassName(all.get());
        EXPECT_EQ(masked.gy, ey) << mxGetClassName(all.get());
    }
}

// Outside the image in either axis, both outputs are 0; in the masked
// plug-in too (the mask is exactly M x N, so a read beyond the image would
// also read beyond the mask).
TEST(CellSlope, PointsOutsideTheImageGiveZero) {
    const mwSize M = 5, N = 4;
    ArrayPtr img = image(M, N, [](double r, double c) { return r * r + 1000 * c * c; });
    ArrayPtr all = maskOf(mxINT32_CLASS, M, N, [](double, double) { return 1; });
    const std::vector<double> outside = {0.999, 0.0, -1.0, double(M + 1), double(M + 1) + 0.5, NaN, 1e300, -1e300};
    std::vector<double> xs, ys;
    for (double o : outside) {
        xs.push_back(o);  // rows outside, column inside
        ys.push_back(2);
        xs.push_back(3);  // row inside, column outside
        ys.push_back(o == double(M + 1) ? N + 1 : o);
    }
    const std::vector<double> zeros(xs.size(), 0.0);
    Slopes plain = slopes("pxCellSlope", img, xs, ys);
    Slopes masked = slopes("pxCellSlopeMasked", img, xs, ys, &all);
    EXPECT_EQ(plain.gx, zeros);
    EXPECT_EQ(plain.gy, zeros);
    EXPECT_EQ(masked.gx, zeros);
    EXPECT_EQ(masked.gy, zeros);
}

// The mask chain along one axis, with mask pattern 0 1 0 1 1 1 0 on that
// axis (index 1..7), the other axis all inside:
//   1: border, mask ignored: forward 3     2: both neighbours out: backward 3
//   3: outside the mask: 0                 4: previous out: forward 9
//   5: central 10                          6: next out: backward 11
//   7: border, mask ignored: backward 13
// Across that line the pixels outside the mask give 0 in the other output.
TEST(CellSlope, MaskChain) {
    const int pattern[8] = {0, 0, 1, 0, 1, 1, 1, 0};
    const std::vector<double> along = {3, 3, 0, 9, 10, 11, 13};
    for (mxClassID cls : kMaskClasses) {
        // Along rows: column 3 of a 7 x 6 image.
        ArrayPtr rowImg = image(7, 6, [](double r, double c) { return r * r + 1000 * c * c; });
        ArrayPtr rowMask = maskOf(cls, 7, 6, [&](double r, double c) { return c == 3 ? pattern[int(r)] : 1; });
        std::vector<double> xs, ys, across;
        for (int p = 1; p <= 7; ++p) {
            xs.push_back(p + 0.25);
            ys.push_back(3.75);
            across.push_back(pattern[p] ? 6000 : 0);
        }
        Slopes s = slopes("pxCellSlopeMasked", rowImg, xs, ys, &rowMask);
        EXPECT_EQ(s.gx, along) << mxGetClassName(rowMask.get());
        EXPECT_EQ(s.gy, across) << mxGetClassName(rowMask.get());

        // Along columns: row 3 of a 6 x 7 image.
        ArrayPtr colImg = image(6, 7, [](double r, double c) { return 1000 * r * r + c * c; });
        ArrayPtr colMask = maskOf(cls, 6, 7, [&](double r, double c) { return r == 3 ? pattern[int(c)] : 1; });
        s = slopes("pxCellSlopeMasked", colImg, ys, xs, &colMask);
        EXPECT_EQ(s.gy, along) << mxGetClassName(colMask.get());
        EXPECT_EQ(s.gx, across) << mxGetClassName(colMask.get());
    }
}

// Images with a single row or column: the derivative along that axis is 0
// (there is no neighbour), the other derivative is unchanged; an empty image
// gives 0 everywhere.
TEST(CellSlope, SmallImages) {
    ArrayPtr rowImg = image(1, 4, [](double, double c) { return c * c; });
    ArrayPtr colImg = image(4, 1, [](double r, double) { return r * r; });
    ArrayPtr one = scalar(5), empty = matrix(0, 0), emptyCols = matrix(3, 0);
    const std::vector<double> p = {1, 2, 3, 4.5};
    const std::vector<double> ones(4, 1.5), zeros(4, 0.0), squares = {3, 4, 6, 7};
    for (const char *name : {"pxCellSlope", "pxCellSlopeMasked"}) {
        ArrayPtr rowMask = maskOf(mxLOGICAL_CLASS, 1, 4, [](double, double) { return 1; });
        ArrayPtr colMask = maskOf(mxLOGICAL_CLASS, 4, 1, [](double, double) { return 1; });
        Slopes s = slopes(name, rowImg, ones, p, &rowMask);
        EXPECT_EQ(s.gx, zeros) << name;
        EXPECT_EQ(s.gy, squares) << name;
        s = slopes(name, colImg, p, ones, &colMask);
        EXPECT_EQ(s.gx, squares) << name;
        EXPECT_EQ(s.gy, zeros) << name;
        ArrayPtr oneMask = maskOf(mxINT32_CLASS, 1, 1, [](double, double) { return 1; });
        s = slopes(name, one, ones, ones, &oneMask);
        EXPECT_EQ(s.gx, zeros) << name;
        EXPECT_EQ(s.gy, zeros) << name;
        for (ArrayPtr *img : {&empty, &emptyCols}) {
            s = slopes(name, *img, p, p, &empty);
            EXPECT_EQ(s.gx, zeros) << name;
            EXPECT_EQ(s.gy, zeros) << name;
        }
    }
}

TEST(CellSlope, OutputsTakeTheShapeOfX) {
    ArrayPtr img = image(5, 5, [](double r, double c) { return r * r + c; });
    ArrayPtr mask = matrix(5, 5);
    ArrayPtr X = array({3, 4, 2}), Y = array({24}), empty = matrix(0, 3);
    std::fill(mxGetPr(X.get()), mxGetPr(X.get()) + 24, 3.5);
    std::fill(mxGetPr(Y.get()), mxGetPr(Y.get()) + 24, 2.5);
    for (const char *name : {"pxCellSlope", "pxCellSlopeMasked"}) {
        std::vector<ArrayPtr> out = run(name, 2, {&X, &Y, &img, &mask});
        ASSERT_EQ(out.size(), 2u);
        for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{3, 8}));
        out = run(name, 2, {&empty, &empty, &img, &mask});
        ASSERT_EQ(out.size(), 2u);
        for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{0, 3}));
    }
    std::vector<ArrayPtr> out = run("pxCellSlope", 2, {&X, &Y, &img});
    ASSERT_EQ(out.size(), 2u);
    for (double v : values(out[0].get())) EXPECT_EQ(v, 6.0);
    for (double v : values(out[1].get())) EXPECT_EQ(v, 1.0);
}

TEST(CellSlope, RefusesUnsoundInputs) {
    ArrayPtr X = matrix(2, 3, {2, 2, 2, 2, 2, 2}), Y = matrix(2, 3), shortY = matrix(1, 5), I = matrix(4, 4),
             mask = matrix(4, 4), text = ofClass(mxCHAR_CLASS, 4, 4);
    for (const char *name : {"pxCellSlope", "pxCellSlopeMasked"}) {
        CallResult r = call(name, 2, {&X, &shortY, &I, &mask});
        EXPECT_EQ(r.errorId, std::string(name) + ":tooShort");
        EXPECT_EQ(r.errorText, "Y must hold at least 6 elements (as many as X); it holds 5.");
        r = call(name, 2, {&X, &Y, &text, &mask});
        EXPECT_EQ(r.errorId, std::string(name) + ":notRealNumeric");
        EXPECT_EQ(r.errorText, "I must be a real array of class double, single, int8, uint8, int16, "
                               "uint16, int32, uint32, int64, uint64 or logical (it is char).");
    }

    ArrayPtr sparse = ofClass(mxLOGICAL_CLASS, 4, 4);
    mexhost::setSparse(sparse.get(), true);
    struct Case {
        ArrayPtr mask;
        const char *text;
    } cases[] = {
        {ofClass(mxCHAR_CLASS, 4, 4), "mask must be a real array of class double, single, int8, uint8, int16, "
                                      "uint16, int32, uint32, int64, uint64 or logical (it is char)."},
        {ofClass(mxDOUBLE_CLASS, 4, 4, mxCOMPLEX),
         "mask must be a real array of class double, single, int8, uint8, int16, "
         "uint16, int32, uint32, int64, uint64 or logical (it is complex double)."},
        {std::move(sparse), "mask must be a real array of class double, single, int8, uint8, int16, "
                            "uint16, int32, uint32, int64, uint64 or logical (it is sparse logical)."},
    };
    for (const Case &c : cases) {
        CallResult r = call("pxCellSlopeMasked", 2, {&X, &Y, &I, &c.mask});
        EXPECT_EQ(r.errorId, "pxCellSlopeMasked:maskClass");
        EXPECT_EQ(r.errorText, c.text);
    }

    ArrayPtr shortMask = ofClass(mxLOGICAL_CLASS, 3, 5), none = matrix(0, 1);
    CallResult r = call("pxCellSlopeMasked", 2, {&X, &Y, &I, &shortMask});
    EXPECT_EQ(r.errorId, "pxCellSlopeMasked:tooShort");
    EXPECT_EQ(r.errorText, "mask must hold at least 16 elements (one per pixel of I); it holds 15.");
    EXPECT_TRUE(call("pxCellSlopeMasked", 2, {&none, &none, &I, &shortMask}).ok) << "no point reads the mask";
}

// Points split over any number of threads give the same bits.
TEST(CellSlope, SameBitsOnAnyThreadCount) {
    const mwSize M = 300, N = 200, count = 200000;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> any(-1, 1), rows(-1, M + 2), cols(-1, N + 2);
    ArrayPtr img = image(M, N, [&](double, double) { return any(rng); });
    ArrayPtr mask = maskOf(mxINT32_CLASS, M, N, [&](double, double) { return any(rng) > -0.3; });
    std::vector<double> xs(count), ys(count);
    for (mwSize k = 0; k < count; ++k) {
        xs[k] = rows(rng);
        ys[k] = cols(rng);
    }
    std::vector<Slopes> runs;
    for (const char *threads : {"1", "3"}) {
        setenv("GRIDMEX_THREADS", threads, 1);
        runs.push_back(slopes("pxCellSlopeMasked", img, xs, ys, &mask));
    }
    unsetenv("GRIDMEX_THREADS");
    ASSERT_EQ(runs[0].gx.size(), count);
    EXPECT_TRUE(runs[0].gx == runs[1].gx);
    EXPECT_TRUE(runs[0].gy == runs[1].gy);
}

}  // namespace
