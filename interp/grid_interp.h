// Linear and nearest-neighbour interpolation of an M x N image or M x N x P
// volume of any element type on its implicit grid, with the edge rules of
// MATLAB's interp2/interp3 and of scipy.ndimage.map_coordinates.  Sample
// (r, c, p) is stored at offset r + M c + M N p (0-based); X is the column
// coordinate, Y the row coordinate, Z the page coordinate.
#ifndef GRIDMEX_GRID_INTERP_H
#define GRIDMEX_GRID_INTERP_H

#include "common/grid.h"
#include "common/parallel.h"

#include "common/avx2.h"

#include <cmath>
#include <limits>

namespace interp {

using grid::Index;

enum class Method { Linear, Nearest };

enum class Rule {
    Interp,    // 1-based; [1, n] inside; outside and NaN give the fill value;
               // the arithmetic of Octave's interp2 and interp3
    Constant,  // 0-based; [0, n-1] inside; outside and NaN give the fill
               // value; the arithmetic of scipy.ndimage.map_coordinates
    Nearest    // 0-based; coordinates beyond an edge take the edge sample;
               // NaN gives NaN; scipy's arithmetic
};

// Where a coordinate falls along an axis of n samples spaced `stride`
// apart: the offsets of the two samples around it and its fraction t
// between them (linear), or the offset of the nearest sample.
struct Span {
    Index lo, hi;
    double t;
};

// Index of an integral double, clamped to [0, n-1]; huge and infinite
// values go to their edge.
inline Index clamped(double f, Index n) {
    if (!(f > 0)) return 0;
    const double last = static_cast<double>(n - 1);
    return f >= last ? n - 1 : static_cast<Index>(f);
}

// False when the coordinate gives the fill value.
template <Rule R>
inline bool linearSpan(double q, Index n, Index stride, Span &s) {
    if constexpr (R == Rule::Interp) {
        if (!(q >= 1 && q <= static_cast<double>(n))) return false;
        // lookup(1:n, q, "lr"): the cell j with j <= q < j + 1, the last
        // cell for q = n.
        Index j = static_cast<Index>(q);
        if (j > n - 1) j = n - 1;
        s.lo = (j - 1) * stride;
        s.hi = j * stride;
        s.t = q - static_cast<double>(j);
    } else {
        const bool inside = q >= 0 && q <= static_cast<double>(n - 1);
        if (inside) {
            // The floor of a non-negative coordinate is its truncation.
            const Index j = static_cast<Index>(q);
            s.lo = j * stride;
            s.hi = (j + 1 < n ? j + 1 : j) * stride;
            s.t = q - static_cast<double>(j);
        } else {
            if (R == Rule::Constant || q != q) return false;
            const double f = std::floor(q);
            s.lo = clamped(f, n) * stride;
            s.hi = clamped(f + 1, n) * stride;
            s.t = q - f;
        }
    }
    return true;
}

template <Rule R>
inline bool nearestSpan(double q, Index n, Index stride, Span &s) {
    if constexpr (R == Rule::Interp) {
        if (!(q >= 1 && q <= static_cast<double>(n))) return false;
        Index j = static_cast<Index>(q);
        if (j > n - 1) j = n - 1;
        // Octave's test: up when q - j >= (j + 1) - q, so halves go up.
        const double jd = static_cast<double>(j);
        s.lo = (j - 1 + (q - jd >= (jd + 1) - q ? 1 : 0)) * stride;
    } else {
        if (R == Rule::Constant ? !(q >= 0 && q <= static_cast<double>(n - 1)) : q != q) return false;
        const double h = q + 0.5;
        s.lo = (h >= 0 && h < static_cast<double>(n) ? static_cast<Index>(h) : clamped(std::floor(h), n)) * stride;
    }
    return true;
}

// The value for points that read nothing.
template <Rule R>
inline double fill(double extrapval) {
    return R == Rule::Nearest ? std::numeric_limits<double>::quiet_NaN() : extrapval;
}

template <typename T>
inline double at(const T *V, Index o) {
    return grid::toDouble(V[o]);
}

// out[k] for k in [begin, end), 2-D.
template <Method Mth, Rule R, typename T>
void interp2Range(const double *X, const double *Y, Index begin, Index end, const T *V, Index M, Index N,
                  double extrapval, double *out) {
    for (Index k = begin; k < end; ++k) {
        Span r, c;
        if constexpr (Mth == Method::Nearest) {
            out[k] = nearestSpan<R>(Y[k], M, 1, r) && nearestSpan<R>(X[k], N, M, c) ? at(V, r.lo + c.lo)
                                                                                    : fill<R>(extrapval);
            continue;
        }
        if (!linearSpan<R>(Y[k], M, 1, r) || !linearSpan<R>(X[k], N, M, c)) {
            out[k] = fill<R>(extrapval);
            continue;
        }
        if constexpr (R == Rule::Interp) {
            // interp2.m: z = a + b x + c y + d x y on each cell, x along the
            // columns, the terms added from the left.
            const double a = at(V, r.lo + c.lo);
            const double b = at(V, r.lo + c.hi) - a;
            const double e = at(V, r.hi + c.lo) - a;
            const double d = at(V, r.hi + c.hi) - a - b - e;
            out[k] = a + b * c.t + e * r.t + d * c.t * r.t;
        } else {
            // ndimage: each sample times its weights from the last axis of
            // the C-ordered array (the rows here) to the first, summed in
            // storage order.
            const double wr[2] = {1 - r.t, r.t}, wc[2] = {1 - c.t, c.t};
            double s = 0.0;
            s += at(V, r.lo + c.lo) * wc[0] * wr[0];
            s += at(V, r.hi + c.lo) * wc[0] * wr[1];
            s += at(V, r.lo + c.hi) * wc[1] * wr[0];
            s += at(V, r.hi + c.hi) * wc[1] * wr[1];
            out[k] = s;
        }
    }
}

#ifdef GRIDMEX_AVX2
namespace avx2 {

// The 2-D kernel four points at a time where the rule is interp2's and the
// method linear (the others go through the scalar kernel).  Every lane
// performs the scalar kernel's operations in the same order, without fused
// multiply-adds, so the results are bit-identical.  Lanes outside read the
// first cell, which every grid of at least 2 x 2 samples holds.  Needs
// M N < 2^52.
template <Method Mth, Rule R, typename T>
GRIDMEX_AVX2_TARGET void interp2Range(const double *X, const double *Y, Index begin, Index end, const T *V, Index M,
                                      Index N, double extrapval, double *out) {
    Index k = begin;
    if constexpr (Mth == Method::Linear && R == Rule::Interp) {
        const __m256d one = _mm256_set1_pd(1.0), fill = _mm256_set1_pd(extrapval);
        const __m256d Md = _mm256_set1_pd(static_cast<double>(M)), Nd = _mm256_set1_pd(static_cast<double>(N));
        const __m256d lastRow = _mm256_sub_pd(Md, one), lastCol = _mm256_sub_pd(Nd, one);
        for (; k + 4 <= end; k += 4) {
            const __m256d x = _mm256_loadu_pd(X + k), y = _mm256_loadu_pd(Y + k);
            const __m256d inside = _mm256_and_pd(
                _mm256_and_pd(_mm256_cmp_pd(x, one, _CMP_GE_OQ), _mm256_cmp_pd(x, Nd, _CMP_LE_OQ)),
                _mm256_and_pd(_mm256_cmp_pd(y, one, _CMP_GE_OQ), _mm256_cmp_pd(y, Md, _CMP_LE_OQ)));
            const __m256d j = _mm256_blendv_pd(one, _mm256_min_pd(grid::floorLanes(x), lastCol), inside);
            const __m256d i = _mm256_blendv_pd(one, _mm256_min_pd(grid::floorLanes(y), lastRow), inside);
            const __m256d u = _mm256_sub_pd(x, j), v = _mm256_sub_pd(y, i);
            const __m256i o = grid::exactIndex(
                _mm256_add_pd(_mm256_sub_pd(i, one), _mm256_mul_pd(Md, _mm256_sub_pd(j, one))));
            __m256d a, below, right, diagonal;
            grid::rowPairs(V, o, a, below);
            grid::rowPairs(V + M, o, right, diagonal);
            const __m256d b = _mm256_sub_pd(right, a), e = _mm256_sub_pd(below, a);
            const __m256d d = _mm256_sub_pd(_mm256_sub_pd(_mm256_sub_pd(diagonal, a), b), e);
            __m256d value = _mm256_add_pd(a, _mm256_mul_pd(b, u));
            value = _mm256_add_pd(value, _mm256_mul_pd(e, v));
            value = _mm256_add_pd(value, _mm256_mul_pd(_mm256_mul_pd(d, u), v));
            _mm256_storeu_pd(out + k, _mm256_blendv_pd(fill, value, inside));
        }
    }
    interp::interp2Range<Mth, R, T>(X, Y, k, end, V, M, N, extrapval, out);
}

}  // namespace avx2
#endif

// out[k] for k in [begin, end), 3-D.
template <Method Mth, Rule R, typename T>
void interp3Range(const double *X, const double *Y, const double *Z, Index begin, Index end, const T *V, Index M,
                  Index N, Index P, double extrapval, double *out) {
    const Index MN = M * N;
    for (Index k = begin; k < end; ++k) {
        Span r, c, p;
        if constexpr (Mth == Method::Nearest) {
            out[k] = nearestSpan<R>(Y[k], M, 1, r) && nearestSpan<R>(X[k], N, M, c) && nearestSpan<R>(Z[k], P, MN, p)
                         ? at(V, r.lo + c.lo + p.lo)
                         : fill<R>(extrapval);
            continue;
        }
        if (!linearSpan<R>(Y[k], M, 1, r) || !linearSpan<R>(X[k], N, M, c) || !linearSpan<R>(Z[k], P, MN, p)) {
            out[k] = fill<R>(extrapval);
            continue;
        }
        const Index ro[2] = {r.lo, r.hi}, co[2] = {c.lo, c.hi}, po[2] = {p.lo, p.hi};
        const double wr[2] = {1 - r.t, r.t}, wc[2] = {1 - c.t, c.t}, wp[2] = {1 - p.t, p.t};
        double s = 0.0;
        if constexpr (R == Rule::Interp) {
            // Octave's interpn: corners with the column bit lowest, then
            // the row, then the page; weight 1 * wc * wr * wp.
            for (int i = 0; i < 8; ++i) {
                const int bc = i & 1, br = (i >> 1) & 1, bp = (i >> 2) & 1;
                s += 1.0 * wc[bc] * wr[br] * wp[bp] * at(V, ro[br] + co[bc] + po[bp]);
            }
        } else {
            // ndimage on the C-ordered array (pages, columns, rows):
            // sample * wp * wc * wr, corners in storage order.
            for (int i = 0; i < 8; ++i) {
                const int br = i & 1, bc = (i >> 1) & 1, bp = (i >> 2) & 1;
                s += at(V, ro[br] + co[bc] + po[bp]) * wp[bp] * wc[bc] * wr[br];
            }
        }
        out[k] = s;
    }
}

// out[k] for all count points, over threads.
template <Method Mth, Rule R, typename T>
void interp2(const double *X, const double *Y, Index count, const T *V, Index M, Index N, double extrapval,
             double *out) {
    const auto range = GRIDMEX_LANES(grid::vectorServes(M >= 2 && N >= 2, M * N), interp2Range<Mth, R, T>);
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) { range(X, Y, begin, end, V, M, N, extrapval, out); });
}

template <Method Mth, Rule R, typename T>
void interp3(const double *X, const double *Y, const double *Z, Index count, const T *V, Index M, Index N, Index P,
             double extrapval, double *out) {
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) {
        interp3Range<Mth, R, T>(X, Y, Z, begin, end, V, M, N, P, extrapval, out);
    });
}

}  // namespace interp

#endif
