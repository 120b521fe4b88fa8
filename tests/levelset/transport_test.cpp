// lvsOrthogonalise, lvsExtendField: transport along the normals of phi.
#include "tests/levelset/fields.h"

using namespace levelset_test;

namespace {

const char *const kTransports[] = {"lvsOrthogonalise", "lvsExtendField"};

// phi = r - 3.5: normal +x, sign + for r >= 4.  A field varying along y only
// is kept; psi = r goes down by dt where phi >= 0 and up where phi < 0.
TEST(Transport, AlongAStraightInterface) {
    ArrayPtr phi = field(8, 5, [](double r, double) { return r - 3.5; });
    ArrayPtr alongY = field(8, 5, [](double, double q) { return q; });
    ArrayPtr alongX = field(8, 5, [](double r, double) { return r; });
    ArrayPtr flat = field(8, 5, [](double, double) { return 2.5; });
    ArrayPtr h = scalar(1), dt = scalar(0.3);
    for (const char *name : kTransports) {
        EXPECT_EQ(step(name, {&alongY, &phi, &h, &dt}), values(alongY.get())) << name;
        EXPECT_EQ(step(name, {&flat, &phi, &h, &dt}), values(flat.get())) << name;
        EXPECT_EQ(step(name, {&alongX, &phi, &h, &dt}),
                  expected(8, 5, [](double r, double) { return r >= 4 ? r - 0.3 : r + 0.3; }))
            << name;
    }
}

// Where phi is flat its normal is not a number: reorthogonalisation keeps
// the value, extension gives NaN.
TEST(Transport, FlatPhi) {
    ArrayPtr psi = field(4, 3, [](double r, double q) { return r * r + 3 * q; });
    ArrayPtr phi = field(4, 3, [](double, double) { return -1.0; });
    ArrayPtr h = scalar(1), dt = scalar(0.5);
    EXPECT_EQ(step("lvsOrthogonalise", {&psi, &phi, &h, &dt}), values(psi.get()));
    for (double v : step("lvsExtendField", {&psi, &phi, &h, &dt})) EXPECT_TRUE(std::isnan(v));
}

// phi = r^2 + q: gx is 1 in the first row, 2r inside, 2M - 3 in the last
// row (one-sided with ih, central with ih/2); gy = 1.  psi = q then moves by
// dt ny = dt / sqrt(gx^2 + 1).  With h = 0.5 the normal is the same and
// psi's differences double.
TEST(Orthogonalise, BordersOfTheReferenceGradient) {
    const mwSize M = 6, N = 3;
    ArrayPtr phi = field(M, N, [](double r, double q) { return r * r + q; });
    ArrayPtr psi = field(M, N, [](double, double q) { return q; });
    ArrayPtr dt = scalar(0.25);
    for (double hv : {1.0, 0.5}) {
        ArrayPtr h = scalar(hv);
        auto gx = [&](double r) { return r == 0 ? 1 : r == M - 1 ? 2.0 * M - 3 : 2 * r; };
        std::vector<double> want = expected(
            M, N, [&](double r, double q) { return q - 0.25 * (1 / hv / std::sqrt(gx(r) * gx(r) + 1)); });
        std::vector<double> got = step("lvsOrthogonalise", {&psi, &phi, &h, &dt});
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-15) << i;
    }
}

// u = s^2 along one axis s, phi = s - 3.5 (normal along s).  u's difference
// is one-sided with ih at the first and last cell (2, 26) and central with
// ih/2 inside (4s), here with h = 0.5.
TEST(Extend, BordersOfBothGradients) {
    ArrayPtr h = scalar(0.5), dt = scalar(0.125);
    for (bool alongRows : {true, false}) {
        const mwSize M = alongRows ? 8 : 3, N = alongRows ? 3 : 8;
        auto axis = [alongRows](double r, double q) { return alongRows ? r : q; };
        ArrayPtr u = field(M, N, [&](double r, double q) { return axis(r, q) * axis(r, q); });
        ArrayPtr phi = field(M, N, [&](double r, double q) { return axis(r, q) - 3.5; });
        EXPECT_EQ(step("lvsExtendField", {&u, &phi, &h, &dt}),
                  expected(M, N,
                           [&](double r, double q) {
                               const double s = axis(r, q), f = s == 0 ? 2 : s == 7 ? 26 : 4 * s;
                               return s * s - (f * (s < 4 ? -1 : 1)) * 0.125;
                           }))
            << (alongRows ? "rows" : "columns");
    }
}

// Cosine of the angle between grad f and the circle's normal at (r, q),
// from central differences of the result.
double alignment(const std::vector<double> &f, mwSize n, mwSize r, mwSize q, const Circle &d) {
    const double fx = f[r + 1 + n * q] - f[r - 1 + n * q], fy = f[r + n * (q + 1)] - f[r + n * (q - 1)];
    const double nx = r - d.r0, ny = q - d.q0;
    return std::fabs(fx * nx + fy * ny) / std::hypot(fx, fy) / std::hypot(nx, ny);
}

// psi = x against a circle: after the steps grad psi is at right angles to
// the circle's normal in a band around it.
TEST(Orthogonalise, MakesLevelLinesCrossTheCircleAtRightAngles) {
    const mwSize n = 64;
    Circle d;
    ArrayPtr phi = field(n, n, d), psi = field(n, n, [](double r, double) { return r; });
    ArrayPtr h = scalar(1), dt = scalar(0.5);
    for (int k = 0; k < 40; ++k) psi = std::move(run("lvsOrthogonalise", 1, {&psi, &phi, &h, &dt})[0]);
    std::vector<double> out = values(psi.get());
    double sum = 0;
    int cells = 0;
    for (mwSize q = 1; q < n - 1; ++q) {
        for (mwSize r = 1; r < n - 1; ++r) {
            if (std::fabs(d(r, q)) < 1 || std::fabs(d(r, q)) > 6) continue;
            const double c = alignment(out, n, r, q, d);
            EXPECT_LT(c, 0.1) << r << ", " << q;
            sum += c;
            ++cells;
        }
    }
    EXPECT_LT(sum / cells, 0.02);
}

// u = r + q/2 extended from a circle: the values approach those at the
// nearest point of the circle, and grad u turns across the normals.  The
// central differences leave some cell-to-cell ripple, so the bounds are
// loose.
TEST(Extend, CarriesValuesAlongTheNormalsOfACircle) {
    const mwSize n = 64;
    Circle d;
    auto u0 = [](double r, double q) { return r + 0.5 * q; };
    ArrayPtr phi = field(n, n, d), u = field(n, n, u0);
    ArrayPtr h = scalar(1), dt = scalar(0.1);
    for (int k = 0; k < 60; ++k) u = std::move(run("lvsExtendField", 1, {&u, &phi, &h, &dt})[0]);
    std::vector<double> out = values(u.get()), initial = values(field(n, n, u0).get());
    double before = 0, after = 0, turnedBefore = 0, turned = 0;
    int cells = 0;
    for (mwSize q = 1; q < n - 1; ++q) {
        for (mwSize r = 1; r < n - 1; ++r) {
            if (std::fabs(d(r, q)) > 5) continue;
            const double s = d.R / (d(r, q) + d.R);
            const double onCircle = u0(d.r0 + (r - d.r0) * s, d.q0 + (q - d.q0) * s);
            before += std::fabs(u0(r, q) - onCircle);
            after += std::fabs(out[r + n * q] - onCircle);
            turnedBefore += alignment(initial, n, r, q, d);
            turned += alignment(out, n, r, q, d);
            ++cells;
        }
    }
    EXPECT_LT(after, 0.15 * before);
    EXPECT_LT(turned, 0.5 * turnedBefore);
}

}  // namespace
