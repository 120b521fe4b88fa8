// Inversion of 6x6 matrices by Gaussian elimination with full pivoting on
// the matrix augmented by the identity, then back substitution.  A matrix
// is 36 doubles, column-major: element (r, q), 0-based, is value 6q + r.
#ifndef GRIDMEX_INVERT6_H
#define GRIDMEX_INVERT6_H

#include "common/compiler.h"
#include "common/grid.h"
#include "common/parallel.h"

#include "common/avx2.h"

#include <atomic>
#include <cmath>
#include <utility>

namespace util {

using grid::Index;

// Where elimination met a pivot of exactly 0: step 1..6 (0 when the matrix
// was inverted) and that pivot, with its sign.
struct Pivot {
    int step;
    double value;
};

// Entries of the elimination smaller than this fraction of the product
// subtracted from them become exactly 0.
constexpr double kCancel = 1e-9;

// Writes the inverse of a to b; on a zero pivot returns its step and leaves
// b untouched.  All storage is local and of fixed size.
inline Pivot invert6(const double *a, double *b) {
    double W[6][12];  // left half the matrix, right half the identity
    int P[6];         // P[k]: the original column now in column k
    for (int r = 0; r < 6; ++r) {
        for (int q = 0; q < 6; ++q) {
            W[r][q] = a[6 * q + r];
            W[r][6 + q] = r == q ? 1.0 : 0.0;
        }
        P[r] = r;
    }

    for (int i = 0; i < 5; ++i) {
        // The largest entry of the remaining block, row by row; ties keep
        // the earlier entry, so the diagonal wins among equals.
        int br = i, bc = i;
        double best = std::fabs(W[i][i]);
        for (int r = i; r < 6; ++r) {
            for (int c = i; c < 6; ++c) {
                if (std::fabs(W[r][c]) > best) {
                    best = std::fabs(W[r][c]);
                    br = r;
                    bc = c;
                }
            }
        }
        if (br > i) {
            for (int c = i; c < 12; ++c) std::swap(W[i][c], W[br][c]);
        }
        if (bc > i) {
            std::swap(P[i], P[bc]);
            for (int r = 0; r < 6; ++r) std::swap(W[r][i], W[r][bc]);
        }
        const double p = W[i][i];
        if (p == 0.0) return {i + 1, p};

        // Scale the pivot row and eliminate below it.  Column i itself is
        // neither normalised nor cleared: it is not read again.
        const double inv = 1.0 / p;
        for (int c = i + 1; c < 12; ++c) {
            W[i][c] = inv * W[i][c];
            for (int r = i + 1; r < 6; ++r) {
                const double f = W[r][i] * W[i][c];
                const double e = W[r][c];
                W[r][c] = std::fabs(f) * kCancel > std::fabs(e - f) ? 0.0 : e - f;
            }
        }
    }
    const double p = W[5][5];
    if (p == 0.0) return {6, p};
    const double inv = 1.0 / p;
    for (int q = 6; q < 12; ++q) W[5][q] = inv * W[5][q];

    for (int r = 4; r >= 0; --r) {
        for (int k = r + 1; k < 6; ++k) {
            for (int q = 6; q < 12; ++q) W[r][q] = W[r][q] - W[r][k] * W[k][q];
        }
    }

    // Row k of the solution belongs to row P[k] of the inverse.
    for (int k = 0; k < 6; ++k) {
        for (int q = 0; q < 6; ++q) b[6 * q + P[k]] = W[k][6 + q];
    }
    return {0, 0.0};
}

#ifdef GRIDMEX_AVX2
// The same inversion of four matrices at once, one per lane.  Each lane
// searches its own pivot and makes its own exchanges (as blends), and
// performs the scalar kernel's operations in the same order, without fused
// multiply-adds, so every inverse is bit-identical to invert6's.
namespace avx2 {

// Transposes four rows of four values: lane l of the result r holds row l's
// value r.
GRIDMEX_AVX2_TARGET inline void transpose4(__m256d &a, __m256d &b, __m256d &c, __m256d &d) {
    const __m256d ab0 = _mm256_unpacklo_pd(a, b), ab1 = _mm256_unpackhi_pd(a, b);
    const __m256d cd0 = _mm256_unpacklo_pd(c, d), cd1 = _mm256_unpackhi_pd(c, d);
    a = _mm256_permute2f128_pd(ab0, cd0, 0x20);
    b = _mm256_permute2f128_pd(ab1, cd1, 0x20);
    c = _mm256_permute2f128_pd(ab0, cd0, 0x31);
    d = _mm256_permute2f128_pd(ab1, cd1, 0x31);
}

// Exchanges x and y in the lanes where m is set.
GRIDMEX_AVX2_TARGET inline void swapLanes(__m256d &x, __m256d &y, __m256d m) {
    const __m256d t = x;
    x = _mm256_blendv_pd(x, y, m);
    y = _mm256_blendv_pd(y, t, m);
}

// Inverts the four consecutive matrices at a (36 values each) into b.  Bit l
// of the result is set when matrix l met a zero pivot; its 36 values of b
// are then left untouched, as invert6 leaves them.
GRIDMEX_AVX2_TARGET inline int invert6x4(const double *a, double *b) {
    __m256d W[6][12];
    __m256d P[6];
    const __m256d zero = _mm256_setzero_pd(), one = _mm256_set1_pd(1.0);
    const __m256d sign = _mm256_set1_pd(-0.0), cancel = _mm256_set1_pd(kCancel);
    for (int v = 0; v < 36; v += 4) {
        __m256d m0 = _mm256_loadu_pd(a + v), m1 = _mm256_loadu_pd(a + 36 + v);
        __m256d m2 = _mm256_loadu_pd(a + 72 + v), m3 = _mm256_loadu_pd(a + 108 + v);
        transpose4(m0, m1, m2, m3);
        const __m256d m[4] = {m0, m1, m2, m3};
        for (int j = 0; j < 4; ++j) W[(v + j) % 6][(v + j) / 6] = m[j];
    }
    for (int r = 0; r < 6; ++r) {
        for (int q = 0; q < 6; ++q) W[r][6 + q] = r == q ? one : zero;
        P[r] = _mm256_set1_pd(r);
    }

    __m256d singular = zero;
    for (int i = 0; i < 5; ++i) {
        __m256d br = _mm256_set1_pd(i), bc = br;
        __m256d best = _mm256_andnot_pd(sign, W[i][i]);
        for (int r = i; r < 6; ++r) {
            for (int c = i; c < 6; ++c) {
                const __m256d e = _mm256_andnot_pd(sign, W[r][c]);
                const __m256d larger = _mm256_cmp_pd(e, best, _CMP_GT_OQ);
                best = _mm256_blendv_pd(best, e, larger);
                br = _mm256_blendv_pd(br, _mm256_set1_pd(r), larger);
                bc = _mm256_blendv_pd(bc, _mm256_set1_pd(c), larger);
            }
        }
        for (int r = i + 1; r < 6; ++r) {
            const __m256d m = _mm256_cmp_pd(br, _mm256_set1_pd(r), _CMP_EQ_OQ);
            if (!_mm256_movemask_pd(m)) continue;
            for (int c = i; c < 12; ++c) swapLanes(W[i][c], W[r][c], m);
        }
        for (int c = i + 1; c < 6; ++c) {
            const __m256d m = _mm256_cmp_pd(bc, _mm256_set1_pd(c), _CMP_EQ_OQ);
            if (!_mm256_movemask_pd(m)) continue;
            swapLanes(P[i], P[c], m);
            for (int r = 0; r < 6; ++r) swapLanes(W[r][i], W[r][c], m);
        }
        const __m256d p = W[i][i];
        singular = _mm256_or_pd(singular, _mm256_cmp_pd(p, zero, _CMP_EQ_OQ));

        const __m256d inv = _mm256_div_pd(one, p);
        for (int c = i + 1; c < 12; ++c) {
            W[i][c] = _mm256_mul_pd(inv, W[i][c]);
            for (int r = i + 1; r < 6; ++r) {
                const __m256d f = _mm256_mul_pd(W[r][i], W[i][c]);
                const __m256d d = _mm256_sub_pd(W[r][c], f);
                const __m256d cancelled = _mm256_cmp_pd(_mm256_mul_pd(_mm256_andnot_pd(sign, f), cancel),
                                                        _mm256_andnot_pd(sign, d), _CMP_GT_OQ);
                W[r][c] = _mm256_andnot_pd(cancelled, d);
            }
        }
    }
    singular = _mm256_or_pd(singular, _mm256_cmp_pd(W[5][5], zero, _CMP_EQ_OQ));
    const __m256d inv = _mm256_div_pd(one, W[5][5]);
    for (int q = 6; q < 12; ++q) W[5][q] = _mm256_mul_pd(inv, W[5][q]);

    for (int r = 4; r >= 0; --r) {
        for (int k = r + 1; k < 6; ++k) {
            for (int q = 6; q < 12; ++q) W[r][q] = _mm256_sub_pd(W[r][q], _mm256_mul_pd(W[r][k], W[k][q]));
        }
    }

    // Row k of each lane's solution belongs to row P[k] of its inverse.
    alignas(32) double R[6][6][4];
    alignas(32) double perm[6][4];
    for (int k = 0; k < 6; ++k) {
        for (int q = 0; q < 6; ++q) _mm256_store_pd(R[k][q], W[k][6 + q]);
        _mm256_store_pd(perm[k], P[k]);
    }
    const int failed = _mm256_movemask_pd(singular);
    for (int l = 0; l < 4; ++l) {
        if (failed & (1 << l)) continue;
        double *out = b + 36 * l;
        for (int k = 0; k < 6; ++k) {
            const int row = static_cast<int>(perm[k][l]);
            for (int q = 0; q < 6; ++q) out[6 * q + row] = R[k][q][l];
        }
    }
    return failed;
}

}  // namespace avx2
#endif

// The first matrix of a stack that could not be inverted.
struct Singular {
    Index matrix;  // its column, or the stack's size when every matrix was inverted
    Pivot pivot;
};

// Elimination work of one matrix, in the units of grid::parallelBlocks.
constexpr Index kMatrixCost = 64;

// Inverts the n matrices of A (36 x n) into B, over threads.  A matrix after
// a singular one may or may not be inverted; the caller discards B then.
inline Singular invert6Stack(const double *A, Index n, double *B) {
    std::atomic<Index> first{n};
    // Records k as singular unless an earlier matrix already is.
    auto fail = [&](Index k) {
        Index seen = first.load();
        while (k < seen && !first.compare_exchange_weak(seen, k)) {
        }
    };
#ifdef GRIDMEX_AVX2
    const bool vector = grid::haveAvx2();
#endif
    grid::parallelBlocks(n, kMatrixCost, [&](Index begin, Index end) {
        Index k = begin;
#ifdef GRIDMEX_AVX2
        if (vector) {
            for (; k + 4 <= end && k < first.load(std::memory_order_relaxed); k += 4) {
                if (const int failed = avx2::invert6x4(A + 36 * k, B + 36 * k)) {
                    fail(k + compiler::lowestSetBit(static_cast<unsigned>(failed)));
                    return;
                }
            }
        }
#endif
        for (; k < end && k < first.load(std::memory_order_relaxed); ++k) {
            if (invert6(A + 36 * k, B + 36 * k).step == 0) continue;
            fail(k);
            return;
        }
    });
    const Index k = first.load();
    if (k == n) return {n, {0, 0.0}};
    return {k, invert6(A + 36 * k, B + 36 * k)};
}

}  // namespace util

#endif
