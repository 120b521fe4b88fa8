// Every plug-in gives bit-identical results on 1, 2 and 3 threads, on served
// calls from the shared table drawn large enough to be split.
#include "tests/fuzz/models.h"
#include "tests/support/plugin_test.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace testing_support;

namespace {

// The largest of a few large-scale draws: sizes are drawn at random, and
// the largest draw sits near the top of the ranges, where every kernel
// splits its work over three threads.
constexpr int kDraws = 8;
constexpr std::size_t kLargeCall = 6000;  // a floor that catches a generator gone small

std::size_t inputElements(const fuzz::Call &call) {
    std::size_t n = 0;
    for (const ArrayPtr &a : call.inputs) n += mxGetNumberOfElements(a.get());
    return n;
}

std::vector<ArrayPtr> runWithThreads(const fuzz::Model &m, const fuzz::Call &call, int threads) {
    setenv("GRIDMEX_THREADS", std::to_string(threads).c_str(), 1);
    CallResult r = plugin(m.name).call(call.nlhs, call.raw());
    unsetenv("GRIDMEX_THREADS");
    EXPECT_TRUE(r.ok) << m.name << ": " << r.errorText;
    return std::move(r.outputs);
}

// FNV-1a over the bits of every output: printed as "bits NAME DIGEST" so
// that builds for different systems and compilers can be compared (.ci/run
// compares them all).  The served calls are the same on every system: the
// generators draw from a seeded mt19937_64 and use no library function whose
// rounding differs between C libraries.  Every NaN counts as one: which
// operand's payload and sign a NaN result carries depends on the order in
// which a compiler puts the operands of a commutative operation.
std::uint64_t digest(const std::vector<ArrayPtr> &outputs) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const ArrayPtr &o : outputs) {
        for (double v : values(o.get())) {
            std::uint64_t bits;
            if (std::isnan(v)) v = std::numeric_limits<double>::quiet_NaN();
            std::memcpy(&bits, &v, sizeof bits);
            for (int b = 0; b < 64; b += 8) h = (h ^ ((bits >> b) & 0xff)) * 0x100000001b3ULL;
        }
    }
    return h;
}

class Threads : public ::testing::TestWithParam<std::string> {};

TEST_P(Threads, BitIdenticalOnOneTwoAndThreeThreads) {
    const fuzz::Model &m = *fuzz::findModel(GetParam());
    fuzz::Seeded s(11);
    fuzz::Call call = m.valid(s, fuzz::kLargeScale);
    for (int draw = 1; draw < kDraws; ++draw) {
        fuzz::Call other = m.valid(s, fuzz::kLargeScale);
        if (inputElements(other) > inputElements(call)) call = std::move(other);
    }
    ASSERT_GE(inputElements(call), kLargeCall) << "no large served call drawn";
    std::vector<ArrayPtr> one = runWithThreads(m, call, 1);
    ASSERT_EQ(one.size(), static_cast<std::size_t>(call.nlhs));
    std::printf("bits %s %016llx\n", m.name.c_str(), static_cast<unsigned long long>(digest(one)));
    for (int threads : {2, 3}) {
        std::vector<ArrayPtr> many = runWithThreads(m, call, threads);
        ASSERT_EQ(many.size(), one.size());
        for (std::size_t o = 0; o < one.size(); ++o) {
            std::vector<double> a = values(one[o].get()), b = values(many[o].get());
            ASSERT_EQ(a.size(), b.size());
            std::size_t differing = 0;
            for (std::size_t i = 0; i < a.size(); ++i) differing += !sameBits(a[i], b[i]);
            EXPECT_EQ(differing, 0u) << "output " << o << " on " << threads << " threads";
        }
    }
}

std::vector<std::string> names() {
    std::vector<std::string> all;
    for (const fuzz::Model &m : fuzz::models()) all.push_back(m.name);
    return all;
}

INSTANTIATE_TEST_SUITE_P(Plugins, Threads, ::testing::ValuesIn(names()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

}  // namespace
