// Inversion of 6x6 matrices by Gaussian elimination with full pivoting on
// the matrix augmented by the identity, then back substitution.  A matrix
// is 36 doubles, column-major: element (r, q), 0-based, is value 6q + r.
#ifndef GRIDMEX_INVERT6_H
#define GRIDMEX_INVERT6_H

#include "grid.h"
#include "parallel.h"

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
    grid::parallelBlocks(n, kMatrixCost, [&](Index begin, Index end) {
        for (Index k = begin; k < end && k < first.load(std::memory_order_relaxed); ++k) {
            if (invert6(A + 36 * k, B + 36 * k).step == 0) continue;
            Index seen = first.load();
            while (k < seen && !first.compare_exchange_weak(seen, k)) {
            }
            return;
        }
    });
    const Index k = first.load();
    if (k == n) return {n, {0, 0.0}};
    return {k, invert6(A + 36 * k, B + 36 * k)};
}

}  // namespace util

#endif
