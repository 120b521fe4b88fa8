// The entries of the five level-set plug-ins: messages, refusals, shapes,
// threads.
#include "tests/levelset/fields.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

using namespace levelset_test;

namespace {

const char *const kThreeInputs[] = {"lvsRedistance", "lvsRedistance0"};
const char *const kFourInputs[] = {"lvsAdvance", "lvsOrthogonalise", "lvsExtendField"};

TEST(LevelsetEntry, CountMessagesWordForWord) {
    ArrayPtr f = matrix(3, 3), s = scalar(1);
    for (const char *name : kThreeInputs) {
        EXPECT_EQ(call(name, 1, {&f, &s}).errorText, "Three inputs required.");
        EXPECT_EQ(call(name, 0, {&f, &s, &s, &s}).errorText, "Three inputs required.");
        EXPECT_EQ(call(name, 0, {&f, &s, &s}).errorText, "One output required.");
        EXPECT_EQ(call(name, 2, {&f, &s, &s}).errorText, "One output required.");
    }
    for (const char *name : kFourInputs) {
        EXPECT_EQ(call(name, 1, {&f, &f, &s}).errorText, "Four inputs required.");
        EXPECT_EQ(call(name, 2, {&f, &f, &s, &s, &s}).errorText, "Four inputs required.");
        EXPECT_EQ(call(name, 0, {&f, &f, &s, &s}).errorText, "One output required.");
        EXPECT_EQ(call(name, 2, {&f, &f, &s, &s}).errorText, "One output required.");
    }
}

struct Refusal {
    const char *plugin;
    std::initializer_list<const ArrayPtr *> inputs;
    const char *reason, *text;
};

TEST(LevelsetEntry, RefusesUnsoundCalls) {
    const double inf = std::numeric_limits<double>::infinity();
    ArrayPtr f = matrix(3, 4), s = scalar(1), empty = matrix(0, 0), row = matrix(1, 5), column = matrix(5, 1);
    ArrayPtr short11 = matrix(11, 1), zero = scalar(0), negative = scalar(-1),
             nan = scalar(std::numeric_limits<double>::quiet_NaN()), tiny = scalar(1e-320), endless = scalar(inf),
             huge = scalar(1e17);
    ArrayPtr single = ofClass(mxSINGLE_CLASS, 3, 4), int32 = ofClass(mxINT32_CLASS, 3, 4),
             cell(mxCreateCellMatrix(1, 1)), sparse = matrix(3, 4);
    const char *field[] = {"h"};
    ArrayPtr record(mxCreateStructMatrix(1, 1, 1, field));
    mexhost::setSparse(sparse.get(), true);
    const Refusal cases[] = {
        {"lvsRedistance", {&single, &s, &s}, "notRealDouble", "phi0 must be a real double array (it is single)."},
        {"lvsRedistance0", {&f, &cell, &s}, "notNumeric", "h must be a number (it is a cell)."},
        {"lvsAdvance", {&f, &int32, &s, &s}, "notRealDouble", "F must be a real double array (it is int32)."},
        {"lvsOrthogonalise",
         {&sparse, &f, &s, &s},
         "notRealDouble",
         "psi0 must be a real double array (it is sparse double)."},
        {"lvsExtendField", {&f, &f, &s, &record}, "notNumeric", "dt must be a number (it is a struct)."},
        {"lvsRedistance",
         {&row, &s, &s},
         "fieldTooSmall",
         "phi0 must have at least 2 rows and 2 columns (it is 1 x 5)."},
        {"lvsRedistance0",
         {&empty, &s, &s},
         "fieldTooSmall",
         "phi0 must have at least 2 rows and 2 columns (it is 0 x 0)."},
        {"lvsExtendField",
         {&column, &column, &s, &s},
         "fieldTooSmall",
         "u0 must have at least 2 rows and 2 columns (it is 5 x 1)."},
        {"lvsAdvance",
         {&f, &short11, &s, &s},
         "tooShort",
         "F must hold at least 12 elements (one per cell of phi0); it holds 11."},
        {"lvsOrthogonalise",
         {&f, &empty, &s, &s},
         "tooShort",
         "phi must hold at least 12 elements (one per cell of psi0); it holds 0."},
        {"lvsRedistance", {&f, &empty, &s}, "emptyScalar", "h must be a number (it is empty)."},
        {"lvsRedistance", {&f, &s, &empty}, "emptyScalar", "T must be a number (it is empty)."},
        {"lvsAdvance", {&f, &f, &s, &empty}, "emptyScalar", "dt must be a number (it is empty)."},
        {"lvsRedistance", {&f, &zero, &s}, "badSpacing", "h must be a positive grid spacing (it is 0)."},
        {"lvsRedistance0", {&f, &negative, &s}, "badSpacing", "h must be a positive grid spacing (it is -1)."},
        {"lvsExtendField", {&f, &f, &nan, &s}, "badSpacing", "h must be a positive grid spacing (it is nan)."},
        {"lvsRedistance",
         {&f, &s, &endless},
         "endlessIteration",
         "T = inf would take 2^53 or more steps of h/2 = 0.5; the iteration could never finish."},
        {"lvsRedistance",
         {&f, &s, &huge},
         "endlessIteration",
         "T = 1e+17 would take 2^53 or more steps of h/2 = 0.5; the iteration could never finish."},
        {"lvsRedistance",
         {&f, &tiny, &s},
         "endlessIteration",
         "T = 1 would take 2^53 or more steps of h/2 = 4.99994e-321; the iteration could never finish."},
    };
    for (const Refusal &c : cases) {
        CallResult r = call(c.plugin, 1, c.inputs);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.errorId, std::string(c.plugin) + ":" + c.reason);
        EXPECT_EQ(r.errorText, c.text);
    }
}

// Only the first two sizes of the field count; the second field is read at
// the same linear positions whatever its shape.
TEST(LevelsetEntry, ShapesOfTheInputs) {
    ArrayPtr cube = array({4, 3, 2}), flat = matrix(4, 3), line = matrix(1, 12), h = scalar(0.7), dt = scalar(0.2);
    for (int i = 0; i < 24; ++i) mxGetPr(cube.get())[i] = std::sin(1.3 * i) - 0.2;
    std::copy(mxGetPr(cube.get()), mxGetPr(cube.get()) + 12, mxGetPr(flat.get()));
    std::copy(mxGetPr(cube.get()) + 5, mxGetPr(cube.get()) + 17, mxGetPr(line.get()));
    ArrayPtr other = matrix(4, 3, values(line.get()));
    for (const char *name : kThreeInputs) {
        std::vector<ArrayPtr> out = run(name, 1, {&cube, &h, &dt});
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{4, 3}));
        EXPECT_EQ(values(out[0].get()), step(name, {&flat, &h, &dt})) << name;
    }
    for (const char *name : kFourInputs) {
        std::vector<ArrayPtr> out = run(name, 1, {&cube, &line, &h, &dt});
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(dims(out[0].get()), (std::vector<mwSize>{4, 3}));
        EXPECT_EQ(values(out[0].get()), step(name, {&flat, &other, &h, &dt})) << name;
        EXPECT_EQ(step(name, {&cube, &cube, &h, &dt}), step(name, {&flat, &cube, &h, &dt})) << name;
    }
}

// Columns split over threads give the same bits as one thread.
TEST(LevelsetEntry, ThreadCountDoesNotChangeResults) {
    const mwSize n = 300;
    Circle d{150.3, 141.7, 90};
    ArrayPtr phi = field(n, n, [&](double r, double q) { return 1.7 * d(r, q) + std::sin(r * q); });
    ArrayPtr other = field(n, n, d);
    ArrayPtr h = scalar(1), dt = scalar(0.3), T = scalar(3);
    std::vector<std::vector<double>> results[2];
    for (const char *threads : {"1", "2"}) {
        setenv("GRIDMEX_THREADS", threads, 1);
        auto &into = results[threads[0] - '1'];
        into.push_back(step("lvsRedistance", {&phi, &h, &T}));
        into.push_back(step("lvsRedistance0", {&phi, &h, &dt}));
        for (const char *name : kFourInputs) into.push_back(step(name, {&phi, &other, &h, &dt}));
    }
    unsetenv("GRIDMEX_THREADS");
    ASSERT_EQ(results[0].size(), results[1].size());
    for (std::size_t k = 0; k < results[0].size(); ++k) {
        ASSERT_EQ(results[0][k].size(), n * n);
        for (mwSize i = 0; i < n * n; ++i) ASSERT_TRUE(sameBits(results[0][k][i], results[1][k][i])) << k << ": " << i;
    }
}

}  // namespace
