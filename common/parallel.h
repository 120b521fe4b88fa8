// Splitting independent work (points, cells, columns, matrices) over threads.
// Each thread takes one contiguous block of the range (a static schedule), so
// every item is computed by the same code whatever the thread count and the
// results are bit-identical.  Calls too small to repay starting threads run
// on the calling thread.
//
// The threads are started for the call and joined before it returns: no
// thread outlives a call, so a plug-in can be unloaded (`clear mex`) at any
// time between calls, and no threading runtime is shared with the host.
//
// The thread count is read at every call: GRIDMEX_THREADS if set to a
// positive number (users set it from MATLAB or Octave with setenv; on
// Windows it is read from the Win32 environment, which that reaches), otherwise
// the number of processors the calling thread may run on.
#ifndef GRIDMEX_PARALLEL_H
#define GRIDMEX_PARALLEL_H

#include "common/environment.h"

#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__linux__)
#include <sched.h>
#endif

namespace grid {

// Items each thread must have before a call is split; `cost` scales it for
// kernels whose items are expensive (pass a larger cost for heavier items).
// Starting and joining a thread costs about 0.1 ms: a call split into blocks
// of 32768 bilinear samples gained nothing on two free cores, one split
// into blocks of 65536 gained 1.2x (bench/README.md).
constexpr std::int64_t kSerialItems = 65536;

constexpr int kMaxThreads = 256;

// Processors the calling thread may run on: on Linux its affinity mask, which
// taskset and batch systems (a job given 4 cores of a 64-core node) narrow;
// elsewhere, or where the mask cannot be read, the hardware threads.
inline long processorsAvailable() {
#if defined(__linux__)
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
#endif
    return static_cast<long>(std::thread::hardware_concurrency());
}

inline int threadsWanted() {
    long n = environmentNumber("GRIDMEX_THREADS");
    if (n <= 0) n = processorsAvailable();
    if (n < 1) return 1;
    return n > kMaxThreads ? kMaxThreads : static_cast<int>(n);
}

// Calls body(begin, end) on block t of `blocks`, [count t / blocks,
// count (t + 1) / blocks), for every t: block 0 on the calling thread, the
// others on threads started here.  A block whose thread cannot be started
// runs on the calling thread too, so a call never fails for lack of threads.
// Every started thread is joined before this returns, on every way out.
template <typename Body>
void runBlocks(std::int64_t count, int blocks, Body body) {
    const auto block = [&body, count, blocks](int t) { body(count * t / blocks, count * (t + 1) / blocks); };
    struct Joined {
        std::vector<std::thread> threads;
        ~Joined() {
            for (std::thread &thread : threads) thread.join();
        }
    } helpers;
    helpers.threads.reserve(static_cast<std::size_t>(blocks > 1 ? blocks - 1 : 0));
    int t = 1;
    try {
        for (; t < blocks; ++t) helpers.threads.emplace_back(block, t);
    } catch (const std::system_error &) {
        // Out of threads: the blocks from t on stay with the calling thread.
    }
    block(0);
    for (; t < blocks; ++t) block(t);
}

// Calls body(begin, end) on disjoint blocks covering [0, count).
// A call too small to split reads neither the environment nor the affinity
// mask: small calls in a user's loop pay for no system call.
template <typename Body>
void parallelBlocks(std::int64_t count, std::int64_t cost, Body body) {
    const std::int64_t useful = count * (cost > 0 ? cost : 1) / kSerialItems;
    int threads = 1;
    if (useful >= 2) {
        threads = threadsWanted();
        if (useful < threads) threads = static_cast<int>(useful);
    }
    runBlocks(count, threads, body);
}

}  // namespace grid

#endif
