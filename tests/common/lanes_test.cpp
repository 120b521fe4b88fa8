// The four-lane element reads (loads of four, single elements, row pairs)
// and differences convert every type exactly as the scalar kernels do (the
// extremes included) and read no byte before the start or past the end of an array:
// the arrays here fill one page between two inaccessible ones, and every
// read width (one, two and four elements of every class) is made at both
// ends.
#include "common/avx2.h"
#include "tests/support/element_types.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

#ifdef GRIDMEX_AVX2

using namespace testing_support;

// Equal bits, or both NaN (the payload of a NaN from a difference of two
// NaN depends on which operand the compiler puts first).
bool sameOrBothNaN(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b); }

// As many elements as fill one page, between two pages that may not be read.
template <typename T>
class Fenced {
public:
    Fenced() : page_(pageSize()) {
#if defined(_WIN32)
        base_ = static_cast<char *>(VirtualAlloc(nullptr, 3 * page_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        if (base_ && (!VirtualProtect(base_, page_, PAGE_NOACCESS, &old) ||
                      !VirtualProtect(base_ + 2 * page_, page_, PAGE_NOACCESS, &old)))
            release();
#else
        void *p = mmap(nullptr, 3 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        base_ = p == MAP_FAILED ? nullptr : static_cast<char *>(p);
        if (base_ && (mprotect(base_, page_, PROT_NONE) != 0 || mprotect(base_ + 2 * page_, page_, PROT_NONE) != 0))
            release();
#endif
    }
    ~Fenced() { release(); }
    Fenced(const Fenced &) = delete;
    Fenced &operator=(const Fenced &) = delete;
    T *data() const { return base_ ? reinterpret_cast<T *>(base_ + page_) : nullptr; }
    std::size_t size() const { return page_ / sizeof(T); }

private:
    static std::size_t pageSize() {
#if defined(_WIN32)
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return info.dwPageSize;
#else
        return std::size_t(sysconf(_SC_PAGESIZE));
#endif
    }
    void release() {
        if (!base_) return;
#if defined(_WIN32)
        VirtualFree(base_, 0, MEM_RELEASE);
#else
        munmap(base_, 3 * page_);
#endif
        base_ = nullptr;
    }

    std::size_t page_;
    char *base_ = nullptr;
};

// loadLanes at p + first, gatherLanes of p at the offsets `at`, rowPairs
// of p at the offsets `pairAt` (first and second lanes in turn), and
// differenceLanes of p at `at` and `pairAt`.
template <typename T>
GRIDMEX_AVX2_TARGET void readLanes(const T *p, std::size_t first, const std::int64_t at[4],
                                   const std::int64_t pairAt[4], double load[4], double gather[4], double pairs[8],
                                   double difference[4]) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(pairAt));
    _mm256_storeu_pd(load, grid::loadLanes(p + first));
    _mm256_storeu_pd(gather, grid::gatherLanes(p, a));
    __m256d firsts, seconds;
    grid::rowPairs(p, b, firsts, seconds);
    _mm256_storeu_pd(pairs, firsts);
    _mm256_storeu_pd(pairs + 4, seconds);
    _mm256_storeu_pd(difference, grid::differenceLanes(p, a, b));
}

TEST(Lanes, EveryTypeConvertsAsTheScalarKernelsFromTheFirstToTheLastElement) {
    if (!grid::haveAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    forEachElementType([](auto zero) {
        using T = decltype(zero);
        Fenced<T> array;
        ASSERT_NE(array.data(), nullptr);
        const std::size_t n = array.size();
        std::mt19937 rng(sizeof(T));
        const std::vector<T> values = elements<T>(rng, n, 2);
        std::copy(values.begin(), values.end(), array.data());
        const T *p = array.data();
        for (std::size_t first = 0; first + 4 <= n; ++first) {
            // The first lane sweeps the array; the others hold the first and
            // the last element (pair) and their inward neighbours.
            const std::int64_t inward = std::int64_t(first % 3);
            const std::int64_t end = std::int64_t(n);
            const std::int64_t at[4] = {std::int64_t(first), end - 1, inward, end - 1 - inward};
            const std::int64_t pairAt[4] = {std::int64_t(first), end - 2, inward, end - 2 - inward};
            double load[4], gather[4], pairs[8], difference[4];
            double expectLoad[4], expectGather[4], expectPairs[8], expectDifference[4];
            readLanes(p, first, at, pairAt, load, gather, pairs, difference);
            for (int q = 0; q < 4; ++q) {
                expectLoad[q] = grid::toDouble(p[first + q]);
                expectGather[q] = grid::toDouble(p[at[q]]);
                expectPairs[q] = grid::toDouble(p[pairAt[q]]);
                expectPairs[4 + q] = grid::toDouble(p[pairAt[q] + 1]);
                expectDifference[q] = grid::toDouble(p[at[q]]) - grid::toDouble(p[pairAt[q]]);
            }
            ASSERT_EQ(std::memcmp(load, expectLoad, sizeof load), 0) << sizeof(T) << "-byte elements at " << first;
            ASSERT_EQ(std::memcmp(gather, expectGather, sizeof gather), 0)
                << sizeof(T) << "-byte elements at " << first;
            ASSERT_EQ(std::memcmp(pairs, expectPairs, sizeof pairs), 0) << sizeof(T) << "-byte pairs at " << first;
            for (int q = 0; q < 4; ++q)
                ASSERT_TRUE(sameOrBothNaN(difference[q], expectDifference[q]))
                    << sizeof(T) << "-byte differences at " << first << ", lane " << q;
        }
    });
}

#endif

}  // namespace
