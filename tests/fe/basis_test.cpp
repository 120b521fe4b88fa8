// slopeBasis2, slopeBasis3, slopeBasis3p.
#include "tests/support/element_types.h"
#include "tests/support/plugin_test.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

using namespace testing_support;

namespace {

const char *const kAll[] = {"slopeBasis2", "slopeBasis3", "slopeBasis3p"};

// An M x N x P volume with v(r, c, k) = f(r, c, k), 0-based.
template <typename F>
ArrayPtr volume(mwSize M, mwSize N, mwSize P, F f) {
    ArrayPtr a = array({M, N, P});
    double *p = mxGetPr(a.get());
    for (mwSize k = 0; k < P; ++k)
        for (mwSize c = 0; c < N; ++c)
            for (mwSize r = 0; r < M; ++r) p[r + M * c + M * N * k] = f(double(r), double(c), double(k));
    return a;
}

// An M x N image with f(r, c), 0-based.
template <typename F>
ArrayPtr image0(mwSize M, mwSize N, F f) {
    return image(M, N, [&](double r, double c) { return f(r - 1, c - 1); });
}

ArrayPtr int32List(const std::vector<std::int32_t> &v) {
    ArrayPtr a = ofClass(mxINT32_CLASS, v.size(), 1);
    std::copy(v.begin(), v.end(), static_cast<std::int32_t *>(mxGetData(a.get())));
    return a;
}

ArrayPtr randomMatrix(mwSize m, mwSize n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> any(-10, 10);
    ArrayPtr a = matrix(m, n);
    double *p = mxGetPr(a.get());
    for (mwSize i = 0; i < m * n; ++i) p[i] = any(rng);
    return a;
}

ArrayPtr ones(mwSize m, mwSize n) {
    ArrayPtr a = matrix(m, n);
    std::fill(mxGetPr(a.get()), mxGetPr(a.get()) + m * n, 1.0);
    return a;
}

// Derivative of idx^2 along an axis of `extent` samples at index idx, by the
// forward, centred and backward rules.
double squareSlope(double idx, double extent) { return idx == 0 ? 1 : idx == extent - 1 ? 2 * extent - 3 : 2 * idx; }

using Inputs = std::vector<const ArrayPtr *>;

CallResult callWith(const char *name, const Inputs &inputs) {
    std::vector<const mxArray *> raw;
    for (const ArrayPtr *a : inputs) raw.push_back(a->get());
    return plugin(name).call(1, raw);
}

// The values of the one output of a call that must succeed.
std::vector<double> one(const char *name, const Inputs &inputs) {
    CallResult r = callWith(name, inputs);
    EXPECT_TRUE(r.ok) << name << " failed: " << r.errorText;
    return r.ok ? values(r.outputs[0].get()) : std::vector<double>{};
}

void expectRefused(const char *name, const Inputs &inputs, const char *reason, const char *text) {
    CallResult r = callWith(name, inputs);
    EXPECT_FALSE(r.ok) << name << " accepted a call it must refuse: " << text;
    EXPECT_EQ(r.errorId, std::string(name) + ":" + reason);
    EXPECT_EQ(r.errorText, text);
}

TEST(SlopeBasis, CountMessagesWordForWord) {
    ArrayPtr vol = volume(3, 3, 3, [](double r, double, double) { return r; }), basis = ones(27, 1);
    ArrayPtr all = int32List({0, 1, 2}), step = scalar(1);
    for (const char *name : kAll) {
        EXPECT_EQ(call(name, 1, {&vol}).errorText, "At least two inputs required.");
        EXPECT_EQ(call(name, 0, {}).errorText, "At least two inputs required.");
        EXPECT_EQ(call(name, 0, {&vol, &basis}).errorText, "Only one output required.");
        EXPECT_EQ(call(name, 2, {&vol, &basis, &all, &all, &all}).errorText, "Only one output required.");
    }
    EXPECT_TRUE(call("slopeBasis2", 1, {&vol, &basis, &step, &vol}).ok) << "inputs after the third are ignored";
    EXPECT_TRUE(call("slopeBasis3", 1, {&vol, &basis, &step, &vol}).ok) << "inputs after the third are ignored";
    EXPECT_TRUE(call("slopeBasis3p", 1, {&vol, &basis, &all, &all, &all, &vol}).ok);

    const char *lists = "The row, column and slice index lists (inputs 3 to 5) are required.";
    expectRefused("slopeBasis3p", {&vol, &basis}, "missingLists", lists);
    expectRefused("slopeBasis3p", {&vol, &basis, &all}, "missingLists", lists);
    expectRefused("slopeBasis3p", {&vol, &basis, &all, &all}, "missingLists", lists);
}

TEST(SlopeBasis2, ForwardCentredAndBackwardDifferences) {
    ArrayPtr linear = image0(3, 3, [](double r, double c) { return 10 * r + c; }), basis = ones(9, 1);
    std::vector<double> v = one("slopeBasis2", {&linear, &basis});
    ASSERT_EQ(v.size(), 18u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(v[i], 10) << "row " << i;
        EXPECT_EQ(v[9 + i], 1) << "row " << i;
    }

    // f = r^2: forward 1 - 0, centred (4 - 0) * 0.5, backward 4 - 1; the
    // columns of c^2 the same way.
    ArrayPtr square = image0(3, 3, [](double r, double c) { return r * r + 100 * c * c; });
    v = one("slopeBasis2", {&square, &basis});
    ASSERT_EQ(v.size(), 18u);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(v[r + 3 * c], (std::vector<double>{1, 2, 3})[r]);
            EXPECT_EQ(v[9 + r + 3 * c], (std::vector<double>{100, 200, 300})[c]);
        }
}

// f = r^2 + 100 c^2 identifies each visited pixel by its derivatives; a
// two-column basis checks that every basis column gets the same factor.
TEST(SlopeBasis2, StepVisitsEveryStepthPixelColumnByColumn) {
    for (mwSize M : {4, 5}) {
        ArrayPtr img = image0(M, M, [](double r, double c) { return r * r + 100 * c * c; });
        std::vector<double> idx = M == 4 ? std::vector<double>{0, 2} : std::vector<double>{0, 2, 4};
        const mwSize P = idx.size() * idx.size();
        ArrayPtr basis = randomMatrix(P, 2, 3);
        const double *b = mxGetPr(basis.get());
        for (double step : {2.0, 2.9}) {
            ArrayPtr s = scalar(step);
            std::vector<double> v = one("slopeBasis2", {&img, &basis, &s});
            ASSERT_EQ(v.size(), P * 4);
            mwSize i = 0;
            for (double c : idx)
                for (double r : idx) {
                    const double dr = squareSlope(r, M), dc = 100 * squareSlope(c, M);
                    for (int j = 0; j < 2; ++j) {
                        EXPECT_EQ(v[i + P * j], dr * b[i + P * j]) << "M " << M << " pixel " << r << "," << c;
                        EXPECT_EQ(v[i + P * (2 + j)], dc * b[i + P * j]) << "M " << M << " pixel " << r << "," << c;
                    }
                    ++i;
                }
        }
    }
    // A step as large as any double visits pixel (0, 0) alone.
    ArrayPtr img = image0(4, 4, [](double r, double c) { return r * r + 100 * c * c; });
    ArrayPtr basis = ones(1, 1), huge = scalar(1e300);
    EXPECT_EQ(one("slopeBasis2", {&img, &basis, &huge}), (std::vector<double>{1, 100}));
}

TEST(SlopeBasis, ExtraBasisRowsStayZeroAndNoBasisColumnGivesEmptyResult) {
    ArrayPtr img = image0(3, 3, [](double r, double c) { return 10 * r + c; });
    ArrayPtr vol = volume(3, 3, 3, [](double r, double c, double k) { return 100 * r + 10 * c + k; });
    ArrayPtr all = int32List({0, 1, 2});
    struct Case {
        const char *name;
        const ArrayPtr *grid;
        mwSize visited, D;
    } cases[] = {{"slopeBasis2", &img, 9, 2}, {"slopeBasis3", &vol, 27, 3}, {"slopeBasis3p", &vol, 27, 3}};
    for (const Case &k : cases) {
        const bool lists = std::string(k.name) == "slopeBasis3p";
        ArrayPtr tall = ones(k.visited + 4, 2), none = matrix(k.visited + 1, 0);
        for (ArrayPtr *basis : {&tall, &none}) {
            CallResult r = lists ? callWith(k.name, {k.grid, basis, &all, &all, &all})
                                 : callWith(k.name, {k.grid, basis});
            ASSERT_TRUE(r.ok) << k.name << ": " << r.errorText;
            const mwSize R = mxGetM(basis->get()), F = mxGetN(basis->get());
            EXPECT_EQ(dims(r.outputs[0].get()), (std::vector<mwSize>{R, k.D * F})) << k.name;
            std::vector<double> v = values(r.outputs[0].get());
            for (mwSize col = 0; col < k.D * F; ++col) {
                for (mwSize i = 0; i < k.visited; ++i) EXPECT_NE(v[i + R * col], 0) << k.name;
                for (mwSize i = k.visited; i < R; ++i) EXPECT_EQ(v[i + R * col], 0) << k.name;
            }
        }
    }
}

TEST(SlopeBasis3, LinearVolumeAndStepTwo) {
    ArrayPtr linear = volume(3, 3, 3, [](double r, double c, double k) { return 100 * r + 10 * c + k; });
    ArrayPtr basis = ones(27, 1);
    std::vector<double> v = one("slopeBasis3", {&linear, &basis});
    ASSERT_EQ(v.size(), 81u);
    for (int i = 0; i < 27; ++i) {
        EXPECT_EQ(v[i], 100);
        EXPECT_EQ(v[27 + i], 10);
        EXPECT_EQ(v[54 + i], 1);
    }

    // Indices 0 and 2 of 4 on each axis: 2 is not the last, so centred.
    ArrayPtr square = volume(4, 4, 4, [](double r, double c, double k) { return r * r + 100 * c * c + 1e4 * k * k; });
    ArrayPtr eight = ones(8, 1), two = scalar(2);
    v = one("slopeBasis3", {&square, &eight, &two});
    ASSERT_EQ(v.size(), 24u);
    int i = 0;
    for (double k : {0, 2})
        for (double c : {0, 2})
            for (double r : {0, 2}) {
                EXPECT_EQ(v[i], squareSlope(r, 4));
                EXPECT_EQ(v[8 + i], 100 * squareSlope(c, 4));
                EXPECT_EQ(v[16 + i], 1e4 * squareSlope(k, 4));
                ++i;
            }
}

TEST(SlopeBasis3p, ListsAgreeWithStepsAndVisitSliceColumnRow) {
    // Full lists on an unequal volume: bit for bit the step-1 result.
    ArrayPtr vol = randomMatrix(3 * 4 * 5, 1, 11);
    const mwSize d[3] = {3, 4, 5};
    mxArray *raw = mxCreateNumericArray(3, d, mxDOUBLE_CLASS, mxREAL);
    std::copy(mxGetPr(vol.get()), mxGetPr(vol.get()) + 60, mxGetPr(raw));
    vol.reset(raw);
    ArrayPtr basis = randomMatrix(60, 3, 12);
    ArrayPtr rows = int32List({0, 1, 2}), cols = int32List({0, 1, 2, 3}), slices = int32List({0, 1, 2, 3, 4});
    std::vector<double> byList = one("slopeBasis3p", {&vol, &basis, &rows, &cols, &slices});
    std::vector<double> byStep = one("slopeBasis3", {&vol, &basis});
    ASSERT_EQ(byList.size(), 60u * 9);
    ASSERT_EQ(byList.size(), byStep.size());
    for (std::size_t i = 0; i < byList.size(); ++i) EXPECT_TRUE(sameBits(byList[i], byStep[i])) << i;

    // Lists in any order, with repeats: row i of the result is the row of
    // the full result at voxel (rows[a], cols[b], slices[d]), rows fastest.
    ArrayPtr r2 = int32List({2, 0, 2}), c2 = int32List({3}), s2 = int32List({4, 0});
    std::vector<std::int32_t> rv = {2, 0, 2}, sv = {4, 0};
    ArrayPtr b6 = matrix(6, 3);
    for (int row = 0; row < 6; ++row) {
        const int r = rv[row % 3], k = sv[row / 3], full = r + 3 * 3 + 12 * k;
        for (int j = 0; j < 3; ++j) mxGetPr(b6.get())[row + 6 * j] = mxGetPr(basis.get())[full + 60 * j];
    }
    std::vector<double> picked = one("slopeBasis3p", {&vol, &b6, &r2, &c2, &s2});
    ASSERT_EQ(picked.size(), 6u * 9);
    for (int row = 0; row < 6; ++row) {
        const int full = rv[row % 3] + 3 * 3 + 12 * sv[row / 3];
        for (int col = 0; col < 9; ++col)
            EXPECT_TRUE(sameBits(picked[row + 6 * col], byStep[full + 60 * col])) << row << "," << col;
    }

    // [0, 2, 4] on 5 voxels per axis: the step-2 result.
    ArrayPtr five = volume(5, 5, 5, [](double r, double c, double k) { return r * r * r + 7 * c * c - k; });
    ArrayPtr even = int32List({0, 2, 4}), b27 = randomMatrix(27, 2, 13), two = scalar(2);
    EXPECT_EQ(one("slopeBasis3p", {&five, &b27, &even, &even, &even}), one("slopeBasis3", {&five, &b27, &two}));

    // One voxel of f = r^2: (4 - 0) * 0.5 along rows, nothing along the rest.
    ArrayPtr square = volume(3, 3, 3, [](double r, double, double) { return r * r; });
    ArrayPtr mid = int32List({1}), b1 = ones(1, 1);
    EXPECT_EQ(one("slopeBasis3p", {&square, &b1, &mid, &mid, &mid}), (std::vector<double>{2, 0, 0}));

    // The list lengths are row counts: a 1 x 3 list visits its first index.
    ArrayPtr rowList = ofClass(mxINT32_CLASS, 1, 3);
    std::int32_t *p = static_cast<std::int32_t *>(mxGetData(rowList.get()));
    p[0] = 2, p[1] = 0, p[2] = 1;
    EXPECT_EQ(one("slopeBasis3p", {&square, &b1, &rowList, &mid, &mid}), (std::vector<double>{3, 0, 0}));
}

TEST(SlopeBasis, RefusesUnsoundCalls) {
    ArrayPtr img = image0(3, 3, [](double r, double c) { return r + c; }), b9 = ones(9, 1), b8 = ones(8, 1);
    ArrayPtr thin = matrix(1, 5), flat = matrix(0, 5), b5 = ones(5, 1);
    ArrayPtr zero = scalar(0), under = scalar(0.9), negative = scalar(-3), nan = scalar(std::nan("")),
             empty = matrix(0, 0);
    ArrayPtr text = ofClass(mxCHAR_CLASS, 3, 3), complexVolume = ofClass(mxDOUBLE_CLASS, 3, 3, mxCOMPLEX),
             complexBasis = ofClass(mxDOUBLE_CLASS, 9, 1, mxCOMPLEX), sparse = ones(9, 1);
    mexhost::setSparse(sparse.get(), true);
    expectRefused("slopeBasis2", {&img, &b9, &zero}, "stepBelowOne",
                  "The step must be at least 1 after truncation toward zero (it is 0).");
    expectRefused("slopeBasis2", {&img, &b9, &under}, "stepBelowOne",
                  "The step must be at least 1 after truncation toward zero (it is 0.9).");
    expectRefused("slopeBasis2", {&img, &b9, &negative}, "stepBelowOne",
                  "The step must be at least 1 after truncation toward zero (it is -3).");
    expectRefused("slopeBasis2", {&img, &b9, &nan}, "stepBelowOne",
                  "The step must be at least 1 after truncation toward zero (it is nan).");
    expectRefused("slopeBasis2", {&img, &b9, &empty}, "emptyStep", "The step must be a number (it is empty).");
    expectRefused("slopeBasis2", {&thin, &b5}, "imageTooSmall",
                  "The image must have at least 2 rows and 2 columns (it is 1 x 5).");
    expectRefused("slopeBasis2", {&img, &b8}, "basisTooShort",
                  "The basis must have a row for each of the 9 visited pixels (it has 8 rows).");
    expectRefused("slopeBasis2", {&text, &b9}, "notRealNumeric",
                  "The image must be a real array of class double, single, int8, uint8, int16, "
                  "uint16, int32, uint32, int64, uint64 or logical (it is char).");
    expectRefused("slopeBasis2", {&img, &complexBasis}, "notRealDouble",
                  "The basis must be a real double array (it is complex double).");
    expectRefused("slopeBasis2", {&img, &sparse}, "notRealDouble",
                  "The basis must be a real double array (it is sparse double).");
    // An image without rows visits nothing and reads nothing.
    std::vector<double> v = one("slopeBasis2", {&flat, &b5});
    EXPECT_EQ(v, std::vector<double>(10, 0.0));

    ArrayPtr vol = volume(3, 3, 3, [](double r, double c, double k) { return r + c + k; }), b27 = ones(27, 1);
    ArrayPtr narrow = array({3, 1, 3}), b26 = ones(26, 1), b30 = ones(30, 1), two = scalar(2);
    ArrayPtr all = int32List({0, 1, 2}), doubles = matrix(3, 1, {0, 1, 2}), none = int32List({});
    ArrayPtr complexList = ofClass(mxINT32_CLASS, 3, 1, mxCOMPLEX), past = int32List({0, 3, 1}),
             below = int32List({0, -1});
    for (const char *name : {"slopeBasis3", "slopeBasis3p"}) {
        const bool lists = std::string(name) == "slopeBasis3p";
        auto with = [&](const ArrayPtr *grid, const ArrayPtr *basis) {
            return lists ? Inputs{grid, basis, &all, &all, &all} : Inputs{grid, basis};
        };
        expectRefused(name, with(&img, &b9), "notThreeDimensional",
                      "The volume must be a three-dimensional array (it has 2 dimensions).");
        expectRefused(name, with(&vol, &b26), "basisTooShort",
                      "The basis must have a row for each of the 27 visited voxels (it has 26 rows).");
        expectRefused(name, with(&complexVolume, &b27), "notRealNumeric",
                      "The volume must be a real array of class double, single, int8, uint8, int16, "
                      "uint16, int32, uint32, int64, uint64 or logical (it is complex double).");
        expectRefused(name, with(&vol, &complexBasis), "notRealDouble",
                      "The basis must be a real double array (it is complex double).");
    }
    expectRefused("slopeBasis3", {&narrow, &b9}, "volumeTooSmall",
                  "The volume must have at least 2 voxels along each axis (it is 3 x 1 x 3).");
    expectRefused("slopeBasis3", {&vol, &b27, &under}, "stepBelowOne",
                  "The step must be at least 1 after truncation toward zero (it is 0.9).");
    expectRefused("slopeBasis3", {&vol, &b27, &empty}, "emptyStep", "The step must be a number (it is empty).");

    ArrayPtr b3 = ones(3, 1), zeroOnly = int32List({0});
    expectRefused("slopeBasis3p", {&narrow, &b3, &all, &zeroOnly, &all}, "volumeTooSmall",
                  "The volume must have at least 2 voxels along each axis (it is 3 x 1 x 3).");
    expectRefused("slopeBasis3p", {&vol, &b27, &doubles, &all, &all}, "listNotInt32",
                  "The row list must be a real int32 array (it is double).");
    expectRefused("slopeBasis3p", {&vol, &b27, &all, &complexList, &all}, "listNotInt32",
                  "The column list must be a real int32 array (it is complex int32).");
    expectRefused("slopeBasis3p", {&vol, &b27, &all, &all, &past}, "indexOutsideVolume",
                  "The slice list holds 3 at position 2, outside 0 to 2.");
    expectRefused("slopeBasis3p", {&vol, &b27, &below, &all, &all}, "indexOutsideVolume",
                  "The row list holds -1 at position 2, outside 0 to 2.");
    // An empty list visits nothing: a volume too thin for differences and
    // an empty basis are then fine.
    ArrayPtr b0 = matrix(0, 2);
    CallResult r = call("slopeBasis3p", 1, {&narrow, &b0, &all, &zeroOnly, &none});
    ASSERT_TRUE(r.ok) << r.errorText;
    EXPECT_EQ(dims(r.outputs[0].get()), (std::vector<mwSize>{0, 6}));
    // Dimensions beyond the third are ignored: the first 3 x 3 x 3 block.
    ArrayPtr deep = array({3, 3, 3, 2});
    std::copy(mxGetPr(vol.get()), mxGetPr(vol.get()) + 27, mxGetPr(deep.get()));
    std::fill(mxGetPr(deep.get()) + 27, mxGetPr(deep.get()) + 54, 1e9);
    EXPECT_EQ(one("slopeBasis3", {&deep, &b30}), one("slopeBasis3", {&vol, &b30}));
}

// Enough points for several threads and many blocks of rows, checked against
// the closed form of each derivative and between thread counts.
TEST(SlopeBasis, LargeCallsMatchClosedFormOnAnyThreadCount) {
    const mwSize M = 301, N = 203, P = M * N;
    ArrayPtr img = image0(M, N, [](double r, double c) { return r * r + 1000 * c * c; });
    ArrayPtr basis = randomMatrix(P + 5, 3, 21);
    const mwSize M3 = 41, N3 = 29, S3 = 23, P3 = M3 * N3 * S3;
    ArrayPtr vol = volume(M3, N3, S3, [](double r, double c, double k) { return r * r + 1e3 * c * c + 1e6 * k * k; });
    ArrayPtr basis3 = randomMatrix(P3, 2, 22);

    std::vector<double> first2, first3;
    for (const char *threads : {"1", "2", "3"}) {
        setenv("GRIDMEX_THREADS", threads, 1);
        std::vector<double> v2 = one("slopeBasis2", {&img, &basis});
        std::vector<double> v3 = one("slopeBasis3", {&vol, &basis3});
        ASSERT_EQ(v2.size(), (P + 5) * 6);
        ASSERT_EQ(v3.size(), P3 * 6);
        if (first2.empty()) {
            first2 = v2;
            first3 = v3;
            continue;
        }
        for (std::size_t i = 0; i < v2.size(); ++i) ASSERT_TRUE(sameBits(v2[i], first2[i])) << threads << " " << i;
        for (std::size_t i = 0; i < v3.size(); ++i) ASSERT_TRUE(sameBits(v3[i], first3[i])) << threads << " " << i;
    }
    unsetenv("GRIDMEX_THREADS");

    const double *b = mxGetPr(basis.get());
    const mwSize R = P + 5;
    for (mwSize c = 0; c < N; ++c)
        for (mwSize r = 0; r < M; ++r) {
            const mwSize i = r + M * c;
            const double dr = squareSlope(r, M), dc = 1000 * squareSlope(c, N);
            for (mwSize j = 0; j < 3; ++j) {
                ASSERT_EQ(first2[i + R * j], dr * b[i + R * j]) << r << "," << c;
                ASSERT_EQ(first2[i + R * (3 + j)], dc * b[i + R * j]) << r << "," << c;
            }
        }
    for (mwSize j = 0; j < 6; ++j)
        for (mwSize i = P; i < R; ++i) ASSERT_EQ(first2[i + R * j], 0);

    const double *b3 = mxGetPr(basis3.get());
    for (mwSize k = 0; k < S3; ++k)
        for (mwSize c = 0; c < N3; ++c)
            for (mwSize r = 0; r < M3; ++r) {
                const mwSize i = r + M3 * c + M3 * N3 * k;
                const double d[3] = {squareSlope(r, M3), 1e3 * squareSlope(c, N3), 1e6 * squareSlope(k, S3)};
                for (mwSize q = 0; q < 3; ++q)
                    for (mwSize j = 0; j < 2; ++j)
                        ASSERT_EQ(first3[i + P3 * (2 * q + j)], d[q] * b3[i + P3 * j]) << r << "," << c << "," << k;
            }
}

// Images and volumes of every class give the bits of the call with their
// double twin, on one thread and on several; the basis stays double.
TEST(SlopeBasis, ReadsEveryClassOfImageAndVolumeAsDouble) {
    std::mt19937 rng(5);
    ArrayPtr step = scalar(1), b2 = randomMatrix(200 * 150, 4, 6), b3 = randomMatrix(30 * 28 * 26, 4, 7);
    ArrayPtr rows = int32List({0, 29, 1, 14, 28}), cols = int32List({27, 0, 3}), slices = int32List({0, 25, 12, 1});
    expectEveryClassGivesTheDoubleBits("slopeBasis2", 1, {nullptr, b2.get(), step.get()}, 0, {200, 150}, rng);
    expectEveryClassGivesTheDoubleBits("slopeBasis3", 1, {nullptr, b3.get()}, 0, {30, 28, 26}, rng);
    expectEveryClassGivesTheDoubleBits("slopeBasis3p", 1, {nullptr, b3.get(), rows.get(), cols.get(), slices.get()}, 0,
                                       {30, 28, 26}, rng);
}

}  // namespace
