// Splitting independent work (points, cells, columns, matrices) over threads.
// Each thread takes one contiguous block of the range (a static schedule), so
// every item is computed by the same code whatever the thread count and the
// results are bit-identical.  Calls too small to repay starting threads run
// on the calling thread.
//
// The thread count is read at every call: GRIDMEX_THREADS if set to a
// positive number (users set it from MATLAB or Octave with setenv), otherwise
// OpenMP's default (OMP_NUM_THREADS, or the number of cores).  No global
// OpenMP state is changed.
#ifndef GRIDMEX_PARALLEL_H
#define GRIDMEX_PARALLEL_H

#include <cstdint>
#include <cstdlib>

#ifdef _OPENMP
#include <omp.h>
#endif

namespace grid {

// Items below which a call stays on one thread; `cost` scales it for kernels
// whose items are expensive (pass a larger cost for heavier items).
constexpr std::int64_t kSerialItems = 32768;

inline int threadsWanted() {
    if (const char *s = std::getenv("GRIDMEX_THREADS")) {
        long n = std::strtol(s, nullptr, 10);
        if (n > 0) return n > 256 ? 256 : static_cast<int>(n);
    }
#ifdef _OPENMP
    return omp_get_max_threads();
#else
    return 1;
#endif
}

// Calls body(begin, end) on disjoint blocks covering [0, count).
template <typename Body>
void parallelBlocks(std::int64_t count, std::int64_t cost, Body body) {
    int threads = threadsWanted();
    std::int64_t work = count * (cost > 0 ? cost : 1);
    std::int64_t useful = work / kSerialItems;
    if (useful < threads) threads = static_cast<int>(useful < 1 ? 1 : useful);
#ifdef _OPENMP
    if (threads > 1) {
#pragma omp parallel num_threads(threads)
        {
            std::int64_t t = omp_get_thread_num(), n = omp_get_num_threads();
            body(count * t / n, count * (t + 1) / n);
        }
        return;
    }
#endif
    body(std::int64_t{0}, count);
}

}  // namespace grid

#endif
