// The seeded sweep: every plug-in called a few thousand times through the
// own host with served, nearly valid and random calls, each judged by the
// rule of check.h under a per-call time bound.  GRIDMEX_FUZZ_SEED and
// GRIDMEX_FUZZ_SCALE (a multiplier of the call counts) vary a run by hand.
#include "tests/fuzz/check.h"
#include "tests/fuzz/guard.h"
#include "tests/support/plugin_path.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace {

using namespace fuzz;

double envNumber(const char *name, double fallback) {
    const char *v = std::getenv(name);
    return v && *v ? std::strtod(v, nullptr) : fallback;
}

// The same calls for a plug-in whatever else runs: the seed mixes in its name.
std::uint64_t seedFor(const std::string &name) {
    std::uint64_t h = static_cast<std::uint64_t>(envNumber("GRIDMEX_FUZZ_SEED", 20240611));
    for (unsigned char c : name) h = (h ^ c) * 0x100000001b3ULL;
    return h;
}

mexhost::MexEntry entryOf(const std::string &name) {
    static std::map<std::string, std::unique_ptr<mexhost::Plugin>> loaded;
    auto &slot = loaded[name];
    if (!slot) slot = std::make_unique<mexhost::Plugin>(testing_support::pluginPath(name));
    return reinterpret_cast<mexhost::MexEntry>(slot->symbol("mexFunction"));
}

class Sweep : public ::testing::TestWithParam<std::string> {};

TEST_P(Sweep, EveryCallEndsInAValueOrAnError) {
    const Model &model = *findModel(GetParam());
    mexhost::MexEntry entry = entryOf(model.name);
    startGuard(envNumber("GRIDMEX_FUZZ_CALL_SECONDS", 10));
    double scale = envNumber("GRIDMEX_FUZZ_SCALE", 1);
    const std::pair<CallKind, int> plan[] = {
        {CallKind::Served, 600}, {CallKind::NearlyValid, 2400}, {CallKind::Random, 1000}};
    Seeded s(seedFor(model.name));
    int calls = 0, faults = 0;
    int endings[3][4] = {};  // by kind of call, by ending
    auto start = std::chrono::steady_clock::now();
    for (auto [kind, count] : plan) {
        for (int i = 0, n = static_cast<int>(count * scale); i < n; ++i, ++calls) {
            Call call = makeCall(s, model, kind);
            std::string what = model.name + ", " + kindName(kind) + " call " + std::to_string(i) + ": " +
                               describe(call);
            callStarts(what);
            Outcome o = checkCall(model, entry, call, kind == CallKind::Served);
            callEnds();
            ++endings[static_cast<int>(kind)][o.ending];
            if (!o.fault.empty() && ++faults <= 5) ADD_FAILURE() << o.fault << "\n" << what;
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Returned / refused by the count checks / refused by the plug-in's own
    // checks / documented error, for each kind of call.
    std::printf("%-18s %6d calls %6.2f s  served %d/%d/%d/%d  nearly %d/%d/%d/%d  random %d/%d/%d/%d\n",
                model.name.c_str(), calls, seconds, endings[0][0], endings[0][1], endings[0][2], endings[0][3],
                endings[1][0], endings[1][1], endings[1][2], endings[1][3], endings[2][0], endings[2][1], endings[2][2],
                endings[2][3]);
    EXPECT_EQ(faults, 0) << model.name << ": " << faults << " of " << calls << " calls broke the rule";
}

std::vector<std::string> modelNames() {
    std::vector<std::string> names;
    for (const Model &m : models()) names.push_back(m.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Plugins, Sweep, ::testing::ValuesIn(modelNames()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

// Every plug-in of the build is swept, and nothing is swept that is not built.
TEST(SweepCoverage, EveryBuiltPluginHasAModel) {
    namespace fs = std::filesystem;
    std::size_t built = 0;
    for (const fs::directory_entry &f : fs::directory_iterator(testing_support::pluginDir())) {
        std::string stem = f.path().stem().string();
        if (f.path().extension() != testing_support::pluginSuffix() || stem.rfind("lib", 0) == 0) continue;
        ++built;
        EXPECT_NE(findModel(stem), nullptr) << stem << " is built but not swept";
    }
    EXPECT_EQ(built, models().size());
}

}  // namespace
