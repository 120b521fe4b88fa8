// Trilinear sampling of an M x N x P column-major volume of any element type
// at a list of points.  Voxel (i, j, k), 1-based, sits at (i, j, k) and is
// stored at offset (i-1) + M(j-1) + MN(k-1).  Only cells 2..M-1, 2..N-1,
// 2..P-1 are admitted (x in [2, M), y in [2, N), z in [2, P)); any other
// point, and a point with a NaN or infinite coordinate, gets 0 and reads
// nothing.
#ifndef GRIDMEX_TRILINEAR_H
#define GRIDMEX_TRILINEAR_H

#include "common/avx2.h"
#include "common/grid.h"
#include "common/parallel.h"

namespace voxel {

using grid::Index;

// out[p] for the points p in [begin, end).
template <typename T>
void trilinSampleRange(const double *X, const double *Y, const double *Z, Index begin, Index end, const T *V, Index M,
                       Index N, Index P, double *out) {
    const Index MN = M * N;
    for (Index p = begin; p < end; ++p) {
        const double x = X[p], y = Y[p], z = Z[p];
        const Index i = grid::floorCell(x), j = grid::floorCell(y), k = grid::floorCell(z);
        if (i < 2 || j < 2 || k < 2 || i > M - 1 || j > N - 1 || k > P - 1) {
            out[p] = 0.0;
            continue;
        }
        const T *c = V + ((i - 1) + M * ((j - 1) + N * (k - 1)));
        const auto at = [c](Index o) { return grid::toDouble(c[o]); };
        // Local coordinates in [-1, 1); the corner factors are those of the
        // 8-node hexahedron, each term ((0.125 V) fx) fy fz.
        const double xi = 2.0 * ((x - static_cast<double>(i)) - 0.5);
        const double eta = 2.0 * ((y - static_cast<double>(j)) - 0.5);
        const double zeta = 2.0 * ((z - static_cast<double>(k)) - 0.5);
        const double xl = 1.0 - xi, xu = 1.0 + xi;
        const double yl = 1.0 - eta, yu = 1.0 + eta;
        const double zl = 1.0 - zeta, zu = 1.0 + zeta;
        out[p] = 0.125 * at(0) * xl * yl * zl + 0.125 * at(1) * xu * yl * zl + 0.125 * at(M) * xl * yu * zl +
                 0.125 * at(M + 1) * xu * yu * zl + 0.125 * at(MN) * xl * yl * zu + 0.125 * at(MN + 1) * xu * yl * zu +
                 0.125 * at(MN + M) * xl * yu * zu + 0.125 * at(MN + M + 1) * xu * yu * zu;
    }
}

#ifdef GRIDMEX_AVX2
namespace avx2 {

// One corner's term ((0.125 V) fx) fy fz.
GRIDMEX_AVX2_TARGET inline __m256d corner(__m256d V, __m256d fx, __m256d fy, __m256d fz) {
    return _mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_set1_pd(0.125), V), fx), fy), fz);
}

// The same kernel four points at a time; the last few points go through the
// scalar kernel.  Needs M N P < 2^52.
template <typename T>
GRIDMEX_AVX2_TARGET void trilinSampleRange(const double *X, const double *Y, const double *Z, Index begin, Index end,
                                           const T *V, Index M, Index N, Index P, double *out) {
    const __m256d one = _mm256_set1_pd(1.0), two = _mm256_set1_pd(2.0), half = _mm256_set1_pd(0.5);
    const __m256i stepM = _mm256_set1_epi64x(M), stepMN = _mm256_set1_epi64x(M * N);
    Index p = begin;
    for (; p + 4 <= end; p += 4) {
        // Lanes outside read the safe voxel (2, 2, 2) and are then set to 0.
        __m256d x[3], cell[3];
        const __m256d inside = grid::floorCells<3>({X, Y, Z}, p, 2.0, {M - 1, N - 1, P - 1}, x, cell);
        const __m256i o = grid::safeOffsets<3>(cell, inside, 2.0, 1.0, {M, N});
        const __m256i oM = _mm256_add_epi64(o, stepM), oMN = _mm256_add_epi64(o, stepMN),
                      oMNM = _mm256_add_epi64(oMN, stepM);
        const __m256d xi = _mm256_mul_pd(two, _mm256_sub_pd(_mm256_sub_pd(x[0], cell[0]), half));
        const __m256d eta = _mm256_mul_pd(two, _mm256_sub_pd(_mm256_sub_pd(x[1], cell[1]), half));
        const __m256d zeta = _mm256_mul_pd(two, _mm256_sub_pd(_mm256_sub_pd(x[2], cell[2]), half));
        const __m256d xl = _mm256_sub_pd(one, xi), xu = _mm256_add_pd(one, xi);
        const __m256d yl = _mm256_sub_pd(one, eta), yu = _mm256_add_pd(one, eta);
        const __m256d zl = _mm256_sub_pd(one, zeta), zu = _mm256_add_pd(one, zeta);
        __m256d v000, v100, v010, v110, v001, v101, v011, v111;
        grid::rowPairs(V, o, v000, v100);
        grid::rowPairs(V, oM, v010, v110);
        grid::rowPairs(V, oMN, v001, v101);
        grid::rowPairs(V, oMNM, v011, v111);
        // ((0.125 V) fx) fy fz for each corner, added in the scalar order.
        __m256d s = corner(v000, xl, yl, zl);
        s = _mm256_add_pd(s, corner(v100, xu, yl, zl));
        s = _mm256_add_pd(s, corner(v010, xl, yu, zl));
        s = _mm256_add_pd(s, corner(v110, xu, yu, zl));
        s = _mm256_add_pd(s, corner(v001, xl, yl, zu));
        s = _mm256_add_pd(s, corner(v101, xu, yl, zu));
        s = _mm256_add_pd(s, corner(v011, xl, yu, zu));
        s = _mm256_add_pd(s, corner(v111, xu, yu, zu));
        _mm256_storeu_pd(out + p, _mm256_and_pd(s, inside));
    }
    voxel::trilinSampleRange(X, Y, Z, p, end, V, M, N, P, out);
}

}  // namespace avx2
#endif

// out[p] for all count points (X[p], Y[p], Z[p]), over threads.
template <typename T>
void trilinSample(const double *X, const double *Y, const double *Z, Index count, const T *V, Index M, Index N, Index P,
                  double *out) {
    // The safe voxel (2, 2, 2) and its far corner exist from 3 x 3 x 3 on.
    const auto range = GRIDMEX_LANES(grid::vectorServes(M >= 3 && N >= 3 && P >= 3, M * N * P), trilinSampleRange<T>);
    grid::parallelBlocks(count, 1, [&](Index begin, Index end) { range(X, Y, Z, begin, end, V, M, N, P, out); });
}

}  // namespace voxel

#endif
