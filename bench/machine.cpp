// The machine's limit, measured in the same run as the plug-ins: STREAM-like
// copy (b = a, 16 bytes per element) and triad (a = b + s c, 24 bytes per
// element) on arrays far larger than the caches, on 1 and 2 threads, with a
// static split of the elements over the threads.  A third figure is the copy
// into memory allocated for the occasion, which is what every plug-in output
// costs: the host hands out fresh zero-filled arrays, and the kernel pays
// for mapping their pages on first write.  Last, an arithmetic loop on 1 and
// 2 threads tells whether the second core was free during the run.
#include "bench/bench.h"
#include "common/parallel.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

// 2^28 doubles: 2 GiB per array, several times the largest cache reported
// by the machines this runs on.
constexpr Index kElements = Index{1} << 28;
// The fresh-output copy moves the size of a large plug-in output.
constexpr Index kFreshElements = Index{1} << 25;

struct FreeDeleter {
    void operator()(double *p) const { std::free(p); }
};
using Buffer = std::unique_ptr<double[], FreeDeleter>;

Buffer allocate(Index n) { return Buffer(static_cast<double *>(std::malloc(sizeof(double) * n))); }

// Every thread first touches the part it will later work on.
void fill(double *a, Index n, double v, int threads) {
    grid::runBlocks(n, threads, [=](Index begin, Index end) {
        for (Index i = begin; i < end; ++i) a[i] = v;
    });
}

double copySeconds(const double *a, double *b, Index n, int threads) {
    auto start = Clock::now();
    grid::runBlocks(n, threads, [=](Index begin, Index end) {
        for (Index i = begin; i < end; ++i) b[i] = a[i];
    });
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double triadSeconds(double *a, const double *b, const double *c, Index n, int threads) {
    const double s = 3.0;
    auto start = Clock::now();
    grid::runBlocks(n, threads, [=](Index begin, Index end) {
        for (Index i = begin; i < end; ++i) a[i] = b[i] + s * c[i];
    });
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double freshCopySeconds(const double *a, Index n, int threads) {
    auto start = Clock::now();
    Buffer b(static_cast<double *>(std::calloc(n, sizeof(double))));
    double *out = b.get();
    grid::runBlocks(n, threads, [=](Index begin, Index end) {
        for (Index i = begin; i < end; ++i) out[i] = a[i];
    });
    double s = std::chrono::duration<double>(Clock::now() - start).count();
    b.reset();
    return s;
}

// A chain of dependent multiply-adds per thread; no memory traffic.
double arithmeticSeconds(int threads) {
    const Index steps = 100000000;
    std::vector<double> ends(static_cast<std::size_t>(threads));
    auto start = Clock::now();
    grid::runBlocks(threads, threads, [&](Index t, Index) {
        double x = 1.0 + double(t);
        for (Index i = 0, n = steps / threads; i < n; ++i) x = x * 0.999999 + 1e-7;
        ends[static_cast<std::size_t>(t)] = x;
    });
    double s = std::chrono::duration<double>(Clock::now() - start).count();
    double sink = 0;
    for (double x : ends) sink += x;
    return sink > 0 ? s : 0;
}

template <typename F>
double best(int runs, F f) {
    double t = f();
    for (int r = 1; r < runs; ++r) t = std::min(t, f());
    return t;
}

}  // namespace

Machine measureMachine() {
    Machine m;
    m.arrayBytes = double(kElements) * sizeof(double);
    Buffer a = allocate(kElements), b = allocate(kElements), c = allocate(kElements);
    fill(a.get(), kElements, 1.0, 2);
    fill(b.get(), kElements, 2.0, 2);
    fill(c.get(), kElements, 0.5, 2);
    for (int t = 0; t < 2; ++t) {
        int threads = kThreadCounts[t];
        double bytes = double(kElements) * sizeof(double);
        m.copy[t] = 2 * bytes / best(4, [&] { return copySeconds(a.get(), b.get(), kElements, threads); });
        m.triad[t] = 3 * bytes / best(4, [&] { return triadSeconds(a.get(), b.get(), c.get(), kElements, threads); });
        double fresh = double(kFreshElements) * sizeof(double);
        m.freshCopy[t] = 2 * fresh / best(4, [&] { return freshCopySeconds(b.get(), kFreshElements, threads); });
    }
    m.coreScaling = best(3, [] { return arithmeticSeconds(1); }) / best(3, [] { return arithmeticSeconds(2); });
    return m;
}

}  // namespace bench
