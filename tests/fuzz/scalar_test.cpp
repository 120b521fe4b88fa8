// Scalar inputs (element codes, steps, spacings, times) are read as the host
// reads them, whatever their class: a served call with a scalar of any
// numeric, logical or char class gives the bits of the same call with that
// value as a double.  Only what has no value is refused: an empty array, a
// cell, a struct, a function handle.
#include "tests/fuzz/check.h"
#include "tests/support/plugin_test.h"

namespace {

using namespace fuzz;

std::vector<std::string> withScalars() {
    std::vector<std::string> names;
    for (const Model &m : models())
        if (!m.scalars.empty()) names.push_back(m.name);
    return names;
}

class Scalars : public ::testing::TestWithParam<std::string> {};

TEST_P(Scalars, AnyClassGivesTheDoubleBitsAndValuelessInputsAreRefused) {
    const Model &m = *findModel(GetParam());
    const mexhost::Plugin &p = testing_support::plugin(m.name);
    Seeded s(5);
    int compared = 0;
    for (int draw = 0; draw < 12; ++draw) {
        Call call = m.valid(s, kSweepScale);
        for (int at : m.scalars) {
            if (at >= static_cast<int>(call.inputs.size())) continue;
            ArrayPtr given = std::move(call.inputs[static_cast<std::size_t>(at)]);
            auto callWith = [&](ArrayPtr a) {
                call.inputs[static_cast<std::size_t>(at)] = std::move(a);
                return p.call(call.nlhs, call.raw());
            };
            for (mxClassID cls : valueClasses()) {
                ArrayPtr asClass = inClass(given.get(), cls);
                ArrayPtr asDouble = inClass(asClass.get(), mxDOUBLE_CLASS);
                const std::string className = mxGetClassName(asClass.get());
                mexhost::CallResult expected = callWith(std::move(asDouble));
                mexhost::CallResult got = callWith(std::move(asClass));
                EXPECT_TRUE(sameBits(got, expected) && got.errorId == expected.errorId)
                    << "input " << at + 1 << " as " << className << ": " << got.errorText << " / "
                    << expected.errorText;
                compared += expected.ok;
            }
            const char *field[] = {"value"};
            std::pair<ArrayPtr, const char *> refused[] = {
                {numeric({0, 0}), "empty"},
                {ArrayPtr(mxCreateCellMatrix(1, 1)), "notNumeric"},
                {ArrayPtr(mxCreateStructMatrix(1, 1, 1, field)), "notNumeric"},
                {ArrayPtr(mexhost::newFunctionHandle()), "notNumeric"}};
            for (auto &[a, reason] : refused) {
                mexhost::CallResult r = callWith(std::move(a));
                EXPECT_FALSE(r.ok) << "input " << at + 1;
                EXPECT_EQ(r.errorId.rfind(m.name + ":" + reason, 0), 0u) << r.errorId << ": " << r.errorText;
            }
            call.inputs[static_cast<std::size_t>(at)] = std::move(given);
        }
    }
    EXPECT_GT(compared, 0) << "no served call kept its scalar";
}

INSTANTIATE_TEST_SUITE_P(Plugins, Scalars, ::testing::ValuesIn(withScalars()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

}  // namespace
