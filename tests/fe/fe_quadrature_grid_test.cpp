// feQuadPixels, feQuadVoxels laid over pixel and voxel grids: the points
// found inside agree with an independent geometric count, and the local
// coordinates map back onto the pixel or voxel centres.
#include "tests/fe/quad_calls.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace testing_support;

namespace {

// The grid points (integer coordinates) of the bounding box of a set of
// nodes, first coordinate fastest.
std::vector<std::vector<double>> gridPoints(const std::vector<std::vector<double>> &nodes) {
    const std::size_t dim = nodes.size();
    std::vector<double> lo(dim), hi(dim);
    for (std::size_t d = 0; d < dim; ++d) {
        lo[d] = std::floor(*std::min_element(nodes[d].begin(), nodes[d].end()));
        hi[d] = std::ceil(*std::max_element(nodes[d].begin(), nodes[d].end()));
    }
    std::vector<std::vector<double>> pts(dim);
    std::vector<double> at = lo;
    for (;;) {
        for (std::size_t d = 0; d < dim; ++d) pts[d].push_back(at[d]);
        std::size_t d = 0;
        while (d < dim && ++at[d] > hi[d]) at[d] = lo[d], ++d;
        if (d == dim) return pts;
    }
}

// Signed distance of (px, py) from the line a->b, positive on its left.
double leftOf(double ax, double ay, double bx, double by, double px, double py) {
    return ((bx - ax) * (py - ay) - (by - ay) * (px - ax)) / std::hypot(bx - ax, by - ay);
}

// Smallest signed distance of a point from the edges of a convex polygon
// with counter-clockwise vertices: positive strictly inside.
double insideConvex(const std::vector<double> &vx, const std::vector<double> &vy, double px, double py) {
    double m = INFINITY;
    for (std::size_t i = 0; i < vx.size(); ++i) {
        std::size_t j = (i + 1) % vx.size();
        m = std::min(m, leftOf(vx[i], vy[i], vx[j], vy[j], px, py));
    }
    return m;
}

// The same for a solid whose bottom face (nodes 0..m-1, at one height) and
// top face (nodes m..2m-1, at a greater height) are parallel, with planar
// side faces: the cross-section at height z interpolates the two faces.
double insideLayered(const std::vector<double> &xn, const std::vector<double> &yn, const std::vector<double> &zn,
                     double px, double py, double pz) {
    const std::size_t m = xn.size() / 2;
    const double t = (pz - zn[0]) / (zn[m] - zn[0]);
    std::vector<double> cx(m), cy(m);
    for (std::size_t i = 0; i < m; ++i) {
        cx[i] = (1 - t) * xn[i] + t * xn[i + m];
        cy[i] = (1 - t) * yn[i] + t * yn[i + m];
    }
    return std::min({pz - zn[0], zn[m] - pz, insideConvex(cx, cy, px, py)});
}

// Smallest signed height of a point over the faces of a tetrahedron with
// positive orientation: positive strictly inside.
double insideTetrahedron(const std::vector<double> &xn, const std::vector<double> &yn, const std::vector<double> &zn,
                         double px, double py, double pz) {
    auto volume = [](const double *a, const double *b, const double *c, const double *d) {
        double u[3], v[3], w[3];
        for (int k = 0; k < 3; ++k) u[k] = b[k] - a[k], v[k] = c[k] - a[k], w[k] = d[k] - a[k];
        return u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0]) +
               u[2] * (v[0] * w[1] - v[1] * w[0]);
    };
    double node[4][3], p[3] = {px, py, pz};
    for (int i = 0; i < 4; ++i) node[i][0] = xn[i], node[i][1] = yn[i], node[i][2] = zn[i];
    const double whole = volume(node[0], node[1], node[2], node[3]);
    double m = INFINITY;
    for (int i = 0; i < 4; ++i) {
        double q[4][3];
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 3; ++k) q[j][k] = j == i ? p[k] : node[j][k];
        m = std::min(m, volume(q[0], q[1], q[2], q[3]) / whole);
    }
    return m;
}

// The rows of FF = name(elt, local coordinates) applied to node coordinates.
std::vector<std::vector<double>> mapped(const char *name, double elt, const std::vector<std::vector<double>> &local,
                                        const std::vector<std::vector<double>> &nodes) {
    const std::size_t n = local[0].size();
    ArrayPtr E = scalar(elt);
    std::vector<ArrayPtr> L;
    for (const auto &c : local) L.push_back(column(c));
    std::vector<ArrayPtr> out = local.size() == 2 ? run(name, 1, {&E, &L[0], &L[1]})
                                                  : run(name, 1, {&E, &L[0], &L[1], &L[2]});
    std::vector<std::vector<double>> x(nodes.size(), std::vector<double>(n, 0.0));
    if (out.size() != 1) return x;
    const std::vector<double> FF = values(out[0].get());
    for (std::size_t d = 0; d < nodes.size(); ++d)
        for (std::size_t p = 0; p < n; ++p)
            for (std::size_t k = 0; k < nodes[d].size(); ++k) x[d][p] += FF[p + n * k] * nodes[d][k];
    return x;
}

// Checks one element over its grid: `inside` is the independent signed
// distance (positive inside), `position` the physical points of the returned
// local coordinates.  Returns the number of points inside.
template <typename Inside>
std::size_t checkOverGrid(const std::vector<std::vector<double>> &pts, const QuadPoints &r, Inside inside,
                          const std::vector<std::vector<double>> &position, const char *what) {
    const std::size_t n = pts[0].size();
    EXPECT_EQ(r.wg.size(), n) << what;
    if (r.wg.size() != n) return 0;
    std::size_t count = 0, disagree = 0, offTarget = 0;
    double weights = 0;
    for (std::size_t p = 0; p < n; ++p) {
        const double margin = inside(p);
        EXPECT_GT(std::fabs(margin), 1e-6) << what << ": grid point " << p << " is too close to the border";
        const bool in = margin > 0;
        count += in;
        weights += r.wg[p];
        if (r.wg[p] != (in ? 1 : 0)) ++disagree;
        if (!in) {
            bool zero = r.xg[p] == 0 && r.yg[p] == 0 && (r.zg.empty() || r.zg[p] == 0);
            if (!zero) ++offTarget;
            continue;
        }
        for (std::size_t d = 0; d < pts.size(); ++d)
            if (!(std::fabs(position[d][p] - pts[d][p]) <= 1e-9)) ++offTarget;
    }
    EXPECT_EQ(weights, double(count)) << what;
    EXPECT_EQ(disagree, 0u) << what;
    EXPECT_EQ(offTarget, 0u) << what;
    return count;
}

struct Element2 {
    const char *what;
    double elt;
    std::vector<double> xn, yn;
};

// Nodes counter-clockwise, off the integer grid; the last quadrangle is
// strongly distorted (a long thin corner at node 3) yet valid.
const Element2 kElements2[] = {
    {"triangle", 3, {2.3, 57.9, 14.2}, {1.7, 12.4, 48.6}},
    {"quadrangle", 4, {3.1, 51.7, 46.2, 8.4}, {2.6, 7.3, 44.9, 38.3}},
    {"distorted quadrangle", 4, {0.37, 60.3, 62.1, 4.6}, {0.41, 3.2, 6.9, 55.7}},
};

TEST(QuadratureOverGrid, PixelsStrictlyInside) {
    for (const Element2 &e : kElements2) {
        std::vector<std::vector<double>> pts = gridPoints({e.xn, e.yn});
        QuadPoints r = quadPixels(e.elt, e.xn, e.yn, pts[0], pts[1]);
        std::vector<std::vector<double>> pos = mapped("feShapeValues2", e.elt, {r.xg, r.yg}, {e.xn, e.yn});
        std::size_t count = checkOverGrid(
            pts, r, [&](std::size_t p) { return insideConvex(e.xn, e.yn, pts[0][p], pts[1][p]); }, pos, e.what);
        EXPECT_GT(count, 500u) << e.what;
    }
}

// A tetrahedron; a hexahedron and a wedge whose top face is the bottom face
// shrunk and shifted (planar side faces, mappings that are not affine).
TEST(QuadratureOverGrid, VoxelsStrictlyInside) {
    const std::vector<double> tx = {1.3, 24.6, 5.2, 7.7}, ty = {2.1, 4.4, 21.9, 6.3}, tz = {1.6, 3.2, 2.7, 19.8};
    std::vector<std::vector<double>> pts = gridPoints({tx, ty, tz});
    QuadPoints r = quadVoxels(4, tx, ty, tz, pts[0], pts[1], pts[2]);
    std::size_t count = checkOverGrid(
        pts, r, [&](std::size_t p) { return insideTetrahedron(tx, ty, tz, pts[0][p], pts[1][p], pts[2][p]); },
        mapped("feShapeValues3", 4, {r.xg, r.yg, r.zg}, {tx, ty, tz}), "tetrahedron");
    EXPECT_GT(count, 300u);

    // Bottom face at z = 1.3, top face at z = 22.7: scaled by 0.55 about
    // (15, 15) and shifted by (2.1, -1.3).
    auto top = [](double v, double c, double s) { return c + 0.55 * (v - c) + s; };
    std::vector<double> hx = {2.2, 27.6, 28.4, 1.9}, hy = {3.1, 2.7, 26.9, 27.3}, hz(8, 1.3);
    for (int i = 0; i < 4; ++i) hx.push_back(top(hx[i], 15, 2.1)), hy.push_back(top(hy[i], 15, -1.3)), hz[4 + i] = 22.7;
    pts = gridPoints({hx, hy, hz});
    r = quadVoxels(8, hx, hy, hz, pts[0], pts[1], pts[2]);
    count = checkOverGrid(
        pts, r, [&](std::size_t p) { return insideLayered(hx, hy, hz, pts[0][p], pts[1][p], pts[2][p]); },
        mapped("feShapeValues3", 8, {r.xg, r.yg, r.zg}, {hx, hy, hz}), "hexahedron");
    EXPECT_GT(count, 5000u);

    std::vector<double> wx = {1.4, 26.3, 6.1}, wy = {2.2, 5.9, 24.8}, wz(6, 0.6);
    for (int i = 0; i < 3; ++i) wx.push_back(top(wx[i], 11, 1.7)), wy.push_back(top(wy[i], 11, 0.9)), wz[3 + i] = 17.3;
    pts = gridPoints({wx, wy, wz});
    r = quadVoxels(6, wx, wy, wz, pts[0], pts[1], pts[2]);
    // The wedge's point at local (xi, eta, zeta): the triangle at height
    // t = (1 + zeta) / 2 between its bottom and top, at (xi, eta).
    std::vector<std::vector<double>> pos(3, std::vector<double>(r.wg.size()));
    for (std::size_t p = 0; p < r.wg.size(); ++p) {
        const double t = (1 + r.zg[p]) / 2;
        for (int d = 0; d < 3; ++d) {
            const std::vector<double> &c = d == 0 ? wx : d == 1 ? wy : wz;
            double a[3];
            for (int i = 0; i < 3; ++i) a[i] = (1 - t) * c[i] + t * c[i + 3];
            pos[d][p] = a[0] + r.xg[p] * (a[1] - a[0]) + r.yg[p] * (a[2] - a[0]);
        }
    }
    count = checkOverGrid(
        pts, r, [&](std::size_t p) { return insideLayered(wx, wy, wz, pts[0][p], pts[1][p], pts[2][p]); }, pos,
        "wedge");
    EXPECT_GT(count, 1500u);
}

// Points are split over threads; every split gives the same bits.
TEST(QuadratureOverGrid, ThreadCountDoesNotChangeResults) {
    const std::vector<double> qx = {3.1, 251.7, 246.2, 8.4}, qy = {2.6, 7.3, 244.9, 238.3};
    std::vector<std::vector<double>> p2 = gridPoints({qx, qy});
    std::vector<double> hx = {2.2, 47.6, 48.4, 1.9, 9.1, 37.2, 38.8, 8.3},
                        hy = {3.1, 2.7, 46.9, 47.3, 9.4, 8.8, 38.6, 39.1},
                        hz = {1.3, 2.1, 1.9, 1.1, 45.3, 44.2, 46.6, 45.9};
    std::vector<std::vector<double>> p3 = gridPoints({hx, hy, hz});
    std::vector<QuadPoints> runs;
    for (const char *threads : {"1", "2", "3"}) {
        setenv("GRIDMEX_THREADS", threads, 1);
        runs.push_back(quadPixels(4, qx, qy, p2[0], p2[1]));
        runs.push_back(quadVoxels(8, hx, hy, hz, p3[0], p3[1], p3[2]));
    }
    unsetenv("GRIDMEX_THREADS");
    for (std::size_t i = 2; i < runs.size(); ++i) {
        const QuadPoints &a = runs[i % 2], &b = runs[i];
        ASSERT_EQ(a.wg.size(), b.wg.size());
        std::size_t differ = 0;
        for (std::size_t p = 0; p < a.wg.size(); ++p)
            differ += !sameBits(a.xg[p], b.xg[p]) || !sameBits(a.yg[p], b.yg[p]) || a.wg[p] != b.wg[p] ||
                      (!a.zg.empty() && !sameBits(a.zg[p], b.zg[p]));
        EXPECT_EQ(differ, 0u) << "run " << i;
    }
}

}  // namespace
