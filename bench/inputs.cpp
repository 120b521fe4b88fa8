// Builders of the sampling workloads' images, volumes and point sets.
#include "bench/inputs.h"

#include <cmath>
#include <random>

namespace bench {

ArrayPtr smoothImage(Index M, Index N) {
    ArrayPtr a = doubles({M, N});
    double *p = data(a);
    for (Index c = 0; c < N; ++c)
        for (Index r = 0; r < M; ++r)
            p[r + M * c] = 128 + 60 * std::sin(0.05 * r + 0.3 * std::sin(0.01 * c)) * std::cos(0.07 * c);
    return a;
}

ArrayPtr smoothVolume(Index M, Index N, Index P) {
    ArrayPtr a = doubles({M, N, P});
    double *p = data(a);
    for (Index k = 0; k < P; ++k)
        for (Index c = 0; c < N; ++c) {
            double slice = std::cos(0.07 * c) * std::cos(0.04 * k);
            for (Index r = 0; r < M; ++r) p[r + M * (c + N * k)] = 128 + 60 * std::sin(0.05 * r) * slice;
        }
    return a;
}

// A smooth displacement under one pixel, as correlation of a deformed image
// finds it.
static double displacement(double a, double b) {
    return 0.6 * std::sin(0.013 * a + 0.007 * b) + 0.25 * std::cos(0.021 * b);
}

PointSet coherentPoints2(Index rows, Index cols, const double origin[2], const double step[2]) {
    PointSet s{doubles({rows, cols}), doubles({rows, cols}), ArrayPtr(), rows * cols};
    double *x = data(s.x), *y = data(s.y);
    for (Index c = 0; c < cols; ++c)
        for (Index r = 0; r < rows; ++r) {
            double x0 = origin[0] + step[0] * r, y0 = origin[1] + step[1] * c;
            x[r + rows * c] = x0 + displacement(x0, y0);
            y[r + rows * c] = y0 + displacement(y0, x0);
        }
    return s;
}

PointSet coherentPoints3(Index rows, Index cols, Index slices, const double origin[3], const double step[3]) {
    Index count = rows * cols * slices;
    PointSet s{doubles({rows, cols * slices}), doubles({rows, cols * slices}), doubles({rows, cols * slices}), count};
    double *x = data(s.x), *y = data(s.y), *z = data(s.z);
    for (Index k = 0; k < slices; ++k)
        for (Index c = 0; c < cols; ++c)
            for (Index r = 0; r < rows; ++r) {
                Index i = r + rows * (c + cols * k);
                double x0 = origin[0] + step[0] * r, y0 = origin[1] + step[1] * c, z0 = origin[2] + step[2] * k;
                x[i] = x0 + displacement(x0, z0);
                y[i] = y0 + displacement(y0, x0);
                z[i] = z0 + displacement(z0, y0);
            }
    return s;
}

PointSet randomPoints(int dims, Index rows, Index count, double lo, double hi) {
    Index cols = count / rows;
    PointSet s{doubles({rows, cols}), doubles({rows, cols}), dims == 3 ? doubles({rows, cols}) : ArrayPtr(),
               rows * cols};
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> uniform(lo, hi);
    for (const ArrayPtr *a : {&s.x, &s.y, &s.z}) {
        if (!*a) continue;
        double *p = data(*a);
        for (Index i = 0; i < s.count; ++i) p[i] = uniform(random);
    }
    return s;
}

}  // namespace bench
