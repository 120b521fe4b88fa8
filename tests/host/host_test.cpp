// The own host: array rules, call bookkeeping (outputs, scratch, errors,
// console) and the loader.
#include "tests/support/plugin_test.h"

#include <stdexcept>
#include <string>

#if defined(__linux__)
#include <dlfcn.h>
#endif

using namespace testing_support;

namespace {

const mexhost::Plugin &probe() {
    static mexhost::Plugin p(HOST_PROBE);
    return p;
}

TEST(HostArrays, DimensionsAreNormalisedAndDataZeroFilled) {
    ArrayPtr a = array({3, 4, 1, 1});
    EXPECT_EQ(dims(a.get()), (std::vector<mwSize>{3, 4}));
    for (double v : values(a.get())) EXPECT_EQ(v, 0.0);

    ArrayPtr b = array({3, 4, 2});
    EXPECT_EQ(mxGetM(b.get()), 3u);
    EXPECT_EQ(mxGetN(b.get()), 8u);
    EXPECT_EQ(mxGetNumberOfElements(b.get()), 24u);

    ArrayPtr c = array({5});
    EXPECT_EQ(dims(c.get()), (std::vector<mwSize>{5, 1}));
}

TEST(HostArrays, ScalarIsReadByClassAndComplexIsFlagged) {
    ArrayPtr i = ofClass(mxINT32_CLASS, 1, 1);
    *static_cast<int *>(mxGetData(i.get())) = -7;
    EXPECT_EQ(mxGetScalar(i.get()), -7.0);
    EXPECT_STREQ(mxGetClassName(i.get()), "int32");

    ArrayPtr z = ofClass(mxDOUBLE_CLASS, 2, 2, mxCOMPLEX);
    EXPECT_TRUE(mxIsComplex(z.get()));
    EXPECT_NE(mxGetPi(z.get()), nullptr);
    EXPECT_FALSE(mxIsComplex(scalar(1).get()));
    EXPECT_EQ(mxGetScalar(matrix(0, 3).get()), 0.0);
}

// Cells, structs, strings and function handles as MATLAB passes them: classes
// and names, no numeric data, a first element of 0, children owned and freed
// with their container; a logical byte other than 0 or 1 reads as true.
TEST(HostArrays, ContainersStringsHandlesAndLogicalBytes) {
    std::size_t before = mexhost::liveArrays();
    {
        ArrayPtr cell(mxCreateCellMatrix(1, 2));
        mxSetCell(cell.get(), 1, mxCreateDoubleScalar(4));
        const char *names[] = {"a", "b"};
        ArrayPtr st(mxCreateStructMatrix(1, 1, 2, names));
        mxSetField(st.get(), 0, "b", mxCreateString("xy"));
        ArrayPtr handle(mexhost::newFunctionHandle());
        ArrayPtr text(mxCreateString("AB"));
        ArrayPtr one = scalar(1);

        EXPECT_EQ(mxGetScalar(mxGetCell(cell.get(), 1)), 4.0);
        EXPECT_EQ(mxGetCell(cell.get(), 0), nullptr);
        EXPECT_EQ(mxGetField(st.get(), 0, "a"), nullptr);
        EXPECT_EQ(mxGetNumberOfElements(mxGetField(st.get(), 0, "b")), 2u);
        EXPECT_EQ(mxGetNumberOfFields(st.get()), 2);
        EXPECT_EQ(mxGetScalar(text.get()), 65.0);
        EXPECT_EQ(dims(text.get()), (std::vector<mwSize>{1, 2}));
        const struct {
            const mxArray *a;
            const char *name;
            bool numeric, isChar, isCell, isStruct, isHandle;
        } kinds[] = {{cell.get(), "cell", false, false, true, false, false},
                     {st.get(), "struct", false, false, false, true, false},
                     {handle.get(), "function_handle", false, false, false, false, true},
                     {text.get(), "char", false, true, false, false, false},
                     {one.get(), "double", true, false, false, false, false}};
        for (const auto &k : kinds) {
            SCOPED_TRACE(k.name);
            EXPECT_STREQ(mxGetClassName(k.a), k.name);
            EXPECT_EQ(mxIsNumeric(k.a), k.numeric);
            EXPECT_EQ(mxIsChar(k.a), k.isChar);
            EXPECT_EQ(mxIsCell(k.a), k.isCell);
            EXPECT_EQ(mxIsStruct(k.a), k.isStruct);
            EXPECT_EQ(mxIsFunctionHandle(k.a), k.isHandle);
            if (!k.numeric && !k.isChar) {
                EXPECT_EQ(mxGetData(k.a), nullptr);
                EXPECT_EQ(mxGetScalar(k.a), 0.0);
            }
        }
        EXPECT_EQ(mexhost::liveArrays(), before + 7);  // five arrays, two stored in a cell or struct

        ArrayPtr flag = ofClass(mxLOGICAL_CLASS, 1, 1);
        *static_cast<unsigned char *>(mxGetData(flag.get())) = 0x5a;
        EXPECT_EQ(mxGetScalar(flag.get()), 1.0);
    }
    EXPECT_EQ(mexhost::liveArrays(), before);
}

TEST(HostCalls, SuccessKeepsOutputsAndReleasesScratchAndTemporaries) {
    std::size_t arraysBefore = mexhost::liveArrays();
    ArrayPtr mode = scalar(0);
    {
        CallResult r = probe().call(2, {mode.get()});
        ASSERT_TRUE(r.ok) << r.errorText;
        ASSERT_EQ(r.outputs.size(), 2u);
        EXPECT_EQ(values(r.outputs[0].get()), std::vector<double>{0.0});
        EXPECT_EQ(dims(r.outputs[1].get()), (std::vector<mwSize>{2, 5}));
        EXPECT_EQ(r.console, "probe 0 of 2\nnot reached by failures\n");
        EXPECT_EQ(mexhost::liveScratchBlocks(), 0u);
        EXPECT_EQ(mexhost::liveArrays(), arraysBefore + 1 + 2);  // mode and the two outputs
    }
    EXPECT_EQ(mexhost::liveArrays(), arraysBefore + 1);
}

TEST(HostCalls, ErrorEndsTheCallAndReleasesEverything) {
    std::size_t arraysBefore = mexhost::liveArrays();
    ArrayPtr one = scalar(1), two = scalar(2);

    CallResult plain = probe().call(2, {one.get()});
    EXPECT_FALSE(plain.ok);
    EXPECT_EQ(plain.errorText, "probe failed");
    EXPECT_EQ(plain.errorId, "");
    EXPECT_TRUE(plain.outputs.empty());
    EXPECT_EQ(plain.console, "probe 1 of 2\n");

    CallResult withId = probe().call(1, {two.get()});
    EXPECT_FALSE(withId.ok);
    EXPECT_EQ(withId.errorId, "probe:code");
    EXPECT_EQ(withId.errorText, "probe failed with 42");

    EXPECT_EQ(mexhost::liveScratchBlocks(), 0u);
    EXPECT_EQ(mexhost::liveArrays(), arraysBefore + 2);
}

TEST(HostCalls, UnassignedOutputIsAnError) {
    ArrayPtr three = scalar(3);
    CallResult r = probe().call(2, {three.get()});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorText, "One or more output arguments not assigned during call.");
    EXPECT_TRUE(r.outputs.empty());
    EXPECT_EQ(mexhost::liveScratchBlocks(), 0u);
}

// The test builds' host fills outputs created uninitialised with a pattern
// and refuses a call that leaves any element of it.
TEST(HostCalls, UnwrittenElementOfAnUninitialisedOutputIsAnError) {
    ASSERT_TRUE(mexhost::checksUnwrittenOutputs());
    ArrayPtr four = scalar(4), five = scalar(5);
    CallResult partly = probe().call(2, {four.get()});
    EXPECT_FALSE(partly.ok);
    EXPECT_EQ(partly.errorId, "mexhost:unwrittenOutput");
    EXPECT_EQ(partly.errorText, "Output 2 was created uninitialised and its element 10 was never written.");
    EXPECT_TRUE(partly.outputs.empty());

    CallResult fully = probe().call(2, {five.get()});
    ASSERT_TRUE(fully.ok) << fully.errorText;
    EXPECT_EQ(values(fully.outputs[1].get()), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(HostCalls, SlotZeroIsKeptWhenNoOutputIsAsked) {
    CallResult r = probe().call(0, {});
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.outputs.size(), 1u);
}

TEST(HostLoader, RefusesFilesWithoutAnEntryPoint) {
    EXPECT_THROW(mexhost::Plugin(GRIDMEX_OWN_DIR "/no-such-plugin" GRIDMEX_PLUGIN_SUFFIX), std::runtime_error);
    EXPECT_THROW(mexhost::Plugin(HOST_LIBRARY), std::runtime_error);
}

#if defined(__linux__)
// Linux's libmx exports the functions of the _730 list under both names:
// plug-ins built against older headers bind the plain ones, which take the
// same 64-bit sizes.
TEST(HostLoader, LinuxLibmxKeepsThePlainNames) {
    void *mx = dlopen(HOST_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(mx, nullptr);
    for (const char *name :
         {"mxCreateNumericArray", "mxCreateNumericMatrix", "mxCreateDoubleMatrix", "mxCreateUninitNumericArray",
          "mxCreateUninitNumericMatrix", "mxCreateCellMatrix", "mxCreateStructMatrix", "mxGetNumberOfDimensions",
          "mxGetDimensions", "mxGetCell", "mxSetCell", "mxGetField", "mxSetField"}) {
        EXPECT_NE(dlsym(mx, name), nullptr) << name;
        EXPECT_NE(dlsym(mx, (std::string(name) + "_730").c_str()), nullptr) << name;
    }
    using Create = mxArray *(*)(mwSize, mwSize, mxComplexity);
    using Dims = const mwSize *(*)(const mxArray *);
    auto create = reinterpret_cast<Create>(dlsym(mx, "mxCreateDoubleMatrix"));
    auto dimensions = reinterpret_cast<Dims>(dlsym(mx, "mxGetDimensions"));
    ASSERT_TRUE(create && dimensions);
    ArrayPtr a(create(7, 3, mxREAL));
    EXPECT_EQ(dimensions(a.get())[1], 3u);
    EXPECT_EQ(dims(a.get()), (std::vector<mwSize>{7, 3}));
    dlclose(mx);
}
#endif

// MATLAB's Linux and macOS loaders ask a plug-in which interface it was
// built for (the values differ by system); Windows plug-ins have no such
// export.
TEST(HostLoader, PluginsDeclareTheInterfaceVersion) {
    using VersionFn = void (*)(unsigned int *, unsigned int *);
    auto fn = reinterpret_cast<VersionFn>(plugin("pxBilinSample").symbol("mexfilerequiredapiversion"));
#if defined(_WIN32)
    EXPECT_EQ(fn, nullptr);
#else
    ASSERT_NE(fn, nullptr);
    unsigned int release = 1, api = 1;
    fn(&release, &api);
#if defined(__APPLE__)
    EXPECT_EQ(release, 131450u);
#else
    EXPECT_EQ(release, 131451u);
#endif
    EXPECT_EQ(api, 0u);
#endif
}

}  // namespace
