// What the four volume plug-ins share: count messages, refusals of unsound
// inputs, the shape of the outputs.
#include "tests/voxel/volume_support.h"

#include <algorithm>

using namespace voxel_test;

namespace {

struct Plugin {
    const char *name;
    int outputs;
    const char *outputsMessage;
};
const Plugin kPlugins[] = {
    {"vxTrilinSample", 1, "Only one output required."},
    {"vxCellSlope", 3, "Three outputs required."},
    {"vxCubicSample", 1, "Only one output required."},
    {"vxCubicSlope", 3, "Three outputs required."},
};

TEST(VolumeEntry, CountMessagesWordForWord) {
    ArrayPtr x = scalar(3), vol = volume(6, 6, 6, [](double i, double, double) { return i; });
    for (const Plugin &p : kPlugins) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(call(p.name, p.outputs, {&x, &x, &x}).errorText, "At least four inputs required.");
        EXPECT_EQ(call(p.name, 0, {}).errorText, "At least four inputs required.") << "inputs are checked first";
        for (int nlhs : {0, 1, 2, 3, 4}) {
            if (nlhs == p.outputs) continue;
            EXPECT_EQ(call(p.name, nlhs, {&x, &x, &x, &vol}).errorText, p.outputsMessage) << nlhs;
        }
        EXPECT_TRUE(call(p.name, p.outputs, {&x, &x, &x, &vol, &vol}).ok) << "inputs after the fourth are ignored";
    }
}

TEST(VolumeEntry, RefusesUnsoundInputs) {
    ArrayPtr x = matrix(2, 3, {3, 3, 3, 3, 3, 3}), y = matrix(3, 2, {3, 3, 3, 3, 3, 3}),
             shortY = matrix(1, 5, {3, 3, 3, 3, 3}), vol = volume(6, 6, 6, [](double, double, double) { return 1; });
    ArrayPtr text = ofClass(mxCHAR_CLASS, 6, 6), uint8 = ofClass(mxUINT8_CLASS, 2, 3),
             logical = ofClass(mxLOGICAL_CLASS, 2, 3), complex = ofClass(mxDOUBLE_CLASS, 2, 3, mxCOMPLEX),
             sparse = matrix(2, 3, {3, 3, 3, 3, 3, 3});
    mexhost::setSparse(sparse.get(), true);
    struct Case {
        std::initializer_list<const ArrayPtr *> inputs;
        const char *id;
        const char *text;
    } cases[] = {
        {{&uint8, &y, &y, &vol}, "notRealDouble", "x must be a real double array (it is uint8)."},
        {{&x, &logical, &y, &vol}, "notRealDouble", "y must be a real double array (it is logical)."},
        {{&x, &y, &complex, &vol}, "notRealDouble", "z must be a real double array (it is complex double)."},
        {{&x, &y, &y, &text},
         "notRealNumeric",
         "volume must be a real array of class double, single, int8, uint8, int16, "
         "uint16, int32, uint32, int64, uint64 or logical (it is char)."},
        {{&x, &y, &y, &sparse},
         "notRealNumeric",
         "volume must be a real array of class double, single, int8, uint8, int16, "
         "uint16, int32, uint32, int64, uint64 or logical (it is sparse double)."},
        {{&x, &shortY, &y, &vol}, "tooShort", "y must hold at least 6 elements (as many as x); it holds 5."},
        {{&x, &y, &shortY, &vol}, "tooShort", "z must hold at least 6 elements (as many as x); it holds 5."},
    };
    for (const Plugin &p : kPlugins) {
        for (const Case &c : cases) {
            CallResult r = call(p.name, p.outputs, c.inputs);
            EXPECT_FALSE(r.ok) << p.name << ": " << c.text;
            EXPECT_EQ(r.errorId, std::string(p.name) + ":" + c.id);
            EXPECT_EQ(r.errorText, c.text);
        }
        // Count checks come before the soundness checks.
        EXPECT_EQ(call(p.name, p.outputs, {&x, &shortY, &y}).errorText, "At least four inputs required.");
        EXPECT_EQ(call(p.name, p.outputs + 1, {&x, &shortY, &y, &vol}).errorText, p.outputsMessage);
        // y and z of other shapes but enough elements are served.
        EXPECT_TRUE(call(p.name, p.outputs, {&x, &y, &y, &vol}).ok) << p.name;
    }
}

TEST(VolumeEntry, OutputsTakeTheShapeOfXWithDimensionsFolded) {
    ArrayPtr vol = volume(6, 6, 6, [](double i, double j, double k) { return i + 10 * j + 100 * k; });
    ArrayPtr x = array({3, 4, 2}), yz = array({30});
    std::fill(mxGetPr(x.get()), mxGetPr(x.get()) + 24, 3.0);
    std::fill(mxGetPr(yz.get()), mxGetPr(yz.get()) + 30, 3.0);
    ArrayPtr empty = matrix(0, 3), none = matrix(0, 0);
    for (const Plugin &p : kPlugins) {
        SCOPED_TRACE(p.name);
        std::vector<ArrayPtr> out = run(p.name, p.outputs, {&x, &yz, &yz, &vol});
        ASSERT_EQ(out.size(), std::size_t(p.outputs));
        for (const ArrayPtr &o : out) {
            EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{3, 8}));
            EXPECT_TRUE(mxIsDouble(o.get()) && !mxIsComplex(o.get()));
        }
        out = run(p.name, p.outputs, {&empty, &none, &none, &vol});
        ASSERT_EQ(out.size(), std::size_t(p.outputs));
        for (const ArrayPtr &o : out) EXPECT_EQ(dims(o.get()), (std::vector<mwSize>{0, 3}));
    }
}

// Volumes too small for a plug-in's neighbourhood, 2-D volumes and empty
// volumes give zeros and are never read past their end (the sanitizer build
// catches a stray read).
TEST(VolumeEntry, SmallFlatAndEmptyVolumesGiveZeros) {
    ArrayPtr flat = volume(6, 6, 1, [](double i, double j, double) { return i * j; });
    ArrayPtr thin = volume(6, 6, 2, [](double i, double j, double k) { return i * j * k; });
    ArrayPtr empty = array({6, 6, 0});
    const std::vector<double> xs = {2, 3.5, 5.99}, ys = {2, 3.5, 5.99}, zs = {1, 1.5, 2.5};
    for (const char *name : {"vxTrilinSample", "vxCubicSample", "vxCubicSlope"}) {
        const int nlhs = name == std::string("vxCubicSlope") ? 3 : 1;
        for (const ArrayPtr *vol : {&flat, &thin, &empty})
            for (const std::vector<double> &o : sample(name, nlhs, *vol, xs, ys, zs))
                EXPECT_EQ(o, std::vector<double>(3, 0.0)) << name;
    }
    std::vector<std::vector<double>> g = sample("vxCellSlope", 3, empty, xs, ys, zs);
    for (const std::vector<double> &o : g) EXPECT_EQ(o, std::vector<double>(3, 0.0));
}

}  // namespace
