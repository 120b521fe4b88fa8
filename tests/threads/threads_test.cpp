// Every plug-in gives bit-identical results on 1, 2 and 3 threads, on served
// calls from the shared table drawn large enough to be split; and a plug-in
// loaded, called on several threads and unloaded again and again leaves no
// thread behind.
#include "common/parallel.h"
#include "tests/fuzz/models.h"
#include "tests/support/plugin_test.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <thread>
#include <utility>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <tlhelp32.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

using namespace testing_support;

namespace {

// The largest of a few large-scale draws, by the elements written (the work
// of every kernel but the statistics, whose outputs have one size), then by
// the elements read: sizes are drawn at random (one point in a large image,
// a basis over an empty list of voxels are served calls too), and the
// largest draw sits near the top of the ranges, where every kernel splits
// its work over three threads.
constexpr int kDraws = 8;
constexpr std::size_t kLargeCall = 6000;  // a floor that catches a generator gone small

std::size_t elements(const std::vector<ArrayPtr> &arrays) {
    std::size_t n = 0;
    for (const ArrayPtr &a : arrays) n += mxGetNumberOfElements(a.get());
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
    std::vector<ArrayPtr> one = runWithThreads(m, call, 1);
    for (int draw = 1; draw < kDraws; ++draw) {
        fuzz::Call other = m.valid(s, fuzz::kLargeScale);
        std::vector<ArrayPtr> otherOne = runWithThreads(m, other, 1);
        if (std::make_pair(elements(otherOne), elements(other.inputs)) >
            std::make_pair(elements(one), elements(call.inputs))) {
            call = std::move(other);
            one = std::move(otherOne);
        }
    }
    ASSERT_GE(elements(call.inputs) + elements(one), kLargeCall) << "no large served call drawn";
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

// Threads of this process (a thread that has just ended may still be listed
// for a moment); -1 where the system gives no count.
int processThreads() {
#if defined(_WIN32)
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        n += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    CloseHandle(snapshot);
    return n;
#else
    std::error_code error;
    std::filesystem::directory_iterator tasks("/proc/self/task", error);
    if (error) return -1;
    return static_cast<int>(std::distance(std::filesystem::begin(tasks), std::filesystem::end(tasks)));
#endif
}

// The thread count once it has settled at or below `limit`, or after a
// second of waiting.
int threadsSettledTo(int limit) {
    int n = processThreads();
    for (int wait = 0; wait < 100 && n > limit; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        n = processThreads();
    }
    return n;
}

bool stillLoaded(const std::string &path) {
#if defined(_WIN32)
    return GetModuleHandleA(path.c_str()) != nullptr;
#else
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
#endif
}

// A plug-in is unloaded (clear mex) after calls split over four threads: the
// threads of a call end with it, so the process has as many threads after
// each cycle as before the first.  A private copy of the plug-in is loaded,
// so that no other test's handle keeps it in memory.
TEST(ThreadsAndUnloading, NoThreadOutlivesACallOrThePlugin) {
    const int before = processThreads();
    if (before < 0) GTEST_SKIP() << "no count of this process's threads on this system";
    namespace fs = std::filesystem;
#if defined(_WIN32)
    const unsigned long process = GetCurrentProcessId();
#else
    const long process = static_cast<long>(getpid());
#endif
    const fs::path copy = fs::temp_directory_path() / ("gridmex_unload_" + std::to_string(process) + pluginSuffix());
    fs::copy_file(pluginPath("pxBilinSample"), copy, fs::copy_options::overwrite_existing);

    // Enough points for four blocks of kSerialItems, all inside the image:
    // I(r, c) = r + 10 c at (2.5, 2.5) is 27.5.
    const mwSize points = 4 * grid::kSerialItems;
    ArrayPtr x = matrix(points, 1), y = matrix(points, 1);
    for (mwSize k = 0; k < points; ++k) mxGetPr(x.get())[k] = mxGetPr(y.get())[k] = 2.5;
    ArrayPtr img = image(64, 64, [](double r, double c) { return r + 10 * c; });

    setenv("GRIDMEX_THREADS", "4", 1);
    for (int cycle = 0; cycle < 20; ++cycle) {
        {
            mexhost::Plugin p(copy.string());
            CallResult r = p.call(1, {x.get(), y.get(), img.get()});
            ASSERT_TRUE(r.ok) << r.errorText;
            const double *out = mxGetPr(r.outputs[0].get());
            EXPECT_EQ(out[0], 27.5);           // the first block, the calling thread's
            EXPECT_EQ(out[points - 1], 27.5);  // the last block, a started thread's
        }
        ASSERT_FALSE(stillLoaded(copy.string())) << "cycle " << cycle;
        ASSERT_LE(threadsSettledTo(before), before) << "cycle " << cycle;
    }
    unsetenv("GRIDMEX_THREADS");
    fs::remove(copy);
}

}  // namespace
