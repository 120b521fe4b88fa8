// pxGrayStats, vxGrayStats.
#include "tests/support/plugin_test.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace testing_support;

namespace {

const char *const kBoth[] = {"pxGrayStats", "vxGrayStats"};

struct Stats {
    double mean, dev;
};

Stats statsOf(const char *name, const ArrayPtr &in) {
    std::vector<ArrayPtr> out = run(name, 2, {&in});
    if (out.size() != 2) return {NAN, NAN};
    return {values(out[0].get())[0], values(out[1].get())[0]};
}

// An array of class cls and the given dimensions holding `v` (each value
// converted to the element type T).
template <typename T>
ArrayPtr typed(mxClassID cls, std::vector<mwSize> dims, const std::vector<double> &v) {
    ArrayPtr a(mxCreateNumericArray(dims.size(), dims.data(), cls, mxREAL));
    T *p = static_cast<T *>(mxGetData(a.get()));
    for (std::size_t k = 0; k < v.size(); ++k) p[k] = static_cast<T>(v[k]);
    return a;
}

TEST(GrayStats, CountMessagesWordForWord) {
    ArrayPtr img = matrix(2, 2, {1, 2, 3, 4});
    for (const char *name : kBoth) {
        EXPECT_EQ(call(name, 2, {}).errorText, "Only one input required.");
        for (int nlhs : {0, 1, 3}) EXPECT_EQ(call(name, nlhs, {&img}).errorText, "Two outputs required.");
        EXPECT_TRUE(call(name, 2, {&img, &img}).ok) << "inputs after the first are ignored";
    }
}

TEST(GrayStats, DocumentedValuesWithReciprocalsAndStorageOrder) {
    for (const char *name : kBoth) {
        Stats s = statsOf(name, matrix(2, 2, {1, 3, 2, 4}));
        EXPECT_EQ(s.mean, 2.5);
        EXPECT_DOUBLE_EQ(s.dev, std::sqrt(5.0 / 3.0)) << "divisor K - 1";

        // (1/3) * 5 and 5 / 3 differ in the last bit, as do the square
        // roots of 20.75 * (1/3) and 20.75 / 3.
        Stats mean = statsOf(name, row({1, 2, 2}));
        EXPECT_TRUE(sameBits(mean.mean, (1.0 / 3.0) * 5.0)) << mean.mean;
        EXPECT_NE(mean.mean, 5.0 / 3.0);
        Stats dev = statsOf(name, row({0, 0, 4, 5}));
        EXPECT_TRUE(sameBits(dev.dev, std::sqrt(20.75 * (1.0 / 3.0)))) << dev.dev;
        EXPECT_NE(dev.dev, std::sqrt(20.75 / 3.0));

        // Storage order: 1e16 - 1e16 + 1 + 1 = 2; row by row the first 1
        // would be lost against 1e16.
        EXPECT_EQ(statsOf(name, matrix(2, 2, {1e16, -1e16, 1, 1})).mean, 0.5);

        Stats constant = statsOf(name, matrix(3, 2, {7, 7, 7, 7, 7, 7}));
        EXPECT_EQ(constant.mean, 7);
        EXPECT_TRUE(sameBits(constant.dev, 0.0));
    }
}

TEST(GrayStats, EmptyAndSingleElement) {
    ArrayPtr empties[] = {matrix(0, 0), matrix(0, 3), array({2, 3, 0}), array({2, 2, 2, 0})};
    for (const char *name : kBoth) {
        for (const ArrayPtr &empty : empties) {
            Stats s = statsOf(name, empty);
            EXPECT_TRUE(std::isnan(s.mean)) << name;
            EXPECT_TRUE(sameBits(s.dev, -0.0)) << name << " " << s.dev;
        }
        Stats one = statsOf(name, scalar(-4.25));
        EXPECT_EQ(one.mean, -4.25);
        EXPECT_TRUE(std::isnan(one.dev));
    }
}

TEST(GrayStats, DimensionsUsedByEachMember) {
    std::vector<double> v(24);
    for (int k = 0; k < 24; ++k) v[k] = k + 1;
    ArrayPtr cube = array({2, 3, 4}, v);
    Stats page = statsOf("pxGrayStats", cube);
    EXPECT_EQ(page.mean, 3.5) << "only the first 2 x 3 page";
    EXPECT_DOUBLE_EQ(page.dev, std::sqrt(17.5 / 5));
    Stats all = statsOf("vxGrayStats", cube);
    EXPECT_EQ(all.mean, 12.5);
    EXPECT_DOUBLE_EQ(all.dev, std::sqrt(50.0));
    Stats flat = statsOf("vxGrayStats", matrix(4, 6, v));
    EXPECT_EQ(flat.mean, 12.5) << "a 2-D volume has one slice";
}

TEST(GrayStats, ReadsEveryNumericClassByItsClass) {
    const double lo = INT32_MIN, hi = INT32_MAX;
    ArrayPtr limits = typed<std::int32_t>(mxINT32_CLASS, {1, 2, 2}, {hi, hi, hi, lo});
    for (const char *name : kBoth) {
        Stats s = statsOf(name, limits);
        EXPECT_EQ(s.mean, name[0] == 'p' ? hi : (3 * hi + lo) / 4) << name << ": exact, no overflow";
    }

    const std::vector<double> v = {0, 1, 100, 3, 1, 1, 7, 0};
    const std::vector<mwSize> d = {2, 2, 2};
    Stats ref = statsOf("vxGrayStats", array(d, v));
    ArrayPtr each[] = {typed<float>(mxSINGLE_CLASS, d, v),         typed<std::int8_t>(mxINT8_CLASS, d, v),
                       typed<std::uint8_t>(mxUINT8_CLASS, d, v),   typed<std::int16_t>(mxINT16_CLASS, d, v),
                       typed<std::uint16_t>(mxUINT16_CLASS, d, v), typed<std::int32_t>(mxINT32_CLASS, d, v),
                       typed<std::uint32_t>(mxUINT32_CLASS, d, v), typed<std::int64_t>(mxINT64_CLASS, d, v),
                       typed<std::uint64_t>(mxUINT64_CLASS, d, v)};
    for (const ArrayPtr &a : each) {
        for (const char *name : kBoth) {
            Stats want = name[0] == 'v' ? ref : statsOf(name, array(d, v));
            Stats s = statsOf(name, a);
            EXPECT_TRUE(sameBits(s.mean, want.mean) && sameBits(s.dev, want.dev))
                << name << " " << mxGetClassName(a.get());
        }
    }
    ArrayPtr mask = typed<mxLogical>(mxLOGICAL_CLASS, {2, 2}, {1, 0, 1, 1});
    EXPECT_EQ(statsOf("pxGrayStats", mask).mean, 0.75);
}

TEST(GrayStats, RefusesWhatHoldsNoRealNumbers) {
    ArrayPtr text = ofClass(mxCHAR_CLASS, 2, 2), complex = ofClass(mxDOUBLE_CLASS, 2, 2, mxCOMPLEX),
             sparse = matrix(2, 2);
    mexhost::setSparse(sparse.get(), true);
    for (const char *name : kBoth) {
        const std::string what = name[0] == 'p' ? "The image" : "The volume";
        const std::pair<const ArrayPtr *, std::string> cases[] = {
            {&text, " must be a real array of class double, single, int8, uint8, int16, "
                    "uint16, int32, uint32, int64, uint64 or logical (it is char)."},
            {&complex, " must be a real array of class double, single, int8, uint8, int16, "
                       "uint16, int32, uint32, int64, uint64 or logical (it is complex double)."},
            {&sparse, " must be a real array of class double, single, int8, uint8, int16, "
                      "uint16, int32, uint32, int64, uint64 or logical (it is sparse double)."}};
        for (const auto &c : cases) {
            CallResult r = call(name, 2, {c.first});
            EXPECT_EQ(r.errorId, std::string(name) + ":notRealNumeric");
            EXPECT_EQ(r.errorText, what + c.second);
        }
    }
}

}  // namespace
