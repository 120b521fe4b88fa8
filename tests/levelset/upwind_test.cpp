// lvsRedistance, lvsRedistance0, lvsAdvance: the Godunov upwind steps.
#include "tests/levelset/fields.h"

#include <algorithm>
#include <limits>
#include <tuple>

using namespace levelset_test;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(Redistance, StepCountFollowsTheRunningSum) {
    ArrayPtr up = field(3, 4, [](double, double) { return 1.0; });
    ArrayPtr down = field(3, 4, [](double, double) { return -1.0; });
    ArrayPtr h = scalar(1);
    // A constant field moves by dt = h/2 per step, up from 0 or more and down
    // below 0: steps at t = 0 (T = 0), at t = 0, ..., 2 (T = 2: five).
    struct {
        double T, up, down;
    } cases[] = {{-1, 1, -1}, {NaN, 1, -1}, {0, 1.5, -1.5}, {1.9, 3, -3}, {2, 3.5, -3.5}};
    for (const auto &c : cases) {
        ArrayPtr T = scalar(c.T);
        EXPECT_EQ(step("lvsRedistance", {&up, &h, &T}), std::vector<double>(12, c.up)) << "T = " << c.T;
        EXPECT_EQ(step("lvsRedistance", {&down, &h, &T}), std::vector<double>(12, c.down)) << "T = " << c.T;
    }
}

// The iteration is the single step repeated with dt = h/2, buffers swapped
// without loss.  With h = 0.1 and T = 1 the running sum of 0.05 passes 1
// after 20 terms, one fewer than T/dt + 1 would give.
TEST(Redistance, IteratesTheSingleStep) {
    ArrayPtr phi = field(40, 30, [](double r, double q) { return 3 * Circle{17.2, 14.9, 9}(r, q); });
    for (auto [hv, Tv, steps] : {std::tuple{1.0, 2.0, 5}, std::tuple{0.1, 1.0, 20}}) {
        ArrayPtr h = scalar(hv), T = scalar(Tv), dt = scalar(hv * 0.5);
        ArrayPtr cur = matrix(40, 30, values(phi.get()));
        for (int k = 0; k < steps; ++k) cur = std::move(run("lvsRedistance0", 1, {&cur, &h, &dt})[0]);
        std::vector<double> once = step("lvsRedistance", {&phi, &h, &T});
        EXPECT_EQ(once, values(cur.get())) << "h = " << hv;
        ArrayPtr more = std::move(run("lvsRedistance0", 1, {&cur, &h, &dt})[0]);
        EXPECT_NE(once, values(more.get()));
    }
}

TEST(Redistance, ExactDistanceIsKeptAndSteepSlopesFlatten) {
    ArrayPtr dist = field(8, 5, [](double r, double) { return r - 3.5; });
    ArrayPtr h = scalar(1), T = scalar(2), dt = scalar(0.3), zero = scalar(0);
    EXPECT_EQ(step("lvsRedistance0", {&dist, &h, &dt}), values(dist.get()));
    EXPECT_EQ(step("lvsRedistance", {&dist, &h, &T}), values(dist.get()));
    EXPECT_EQ(step("lvsRedistance0", {&dist, &h, &zero}), values(dist.get()));

    // Slope 2: G = 2 everywhere.  Values of 0 or more, the exact 0 at r = 3
    // included, go down by dt; negative values go up.
    ArrayPtr steep = field(8, 3, [](double r, double) { return 2 * (r - 3); });
    ArrayPtr quarter = scalar(0.25);
    EXPECT_EQ(step("lvsRedistance0", {&steep, &h, &quarter}),
              expected(8, 3, [](double r, double) { return r >= 3 ? 2 * (r - 3) - 0.25 : 2 * (r - 3) + 0.25; }));
}

// phi = s^2 along one axis s of extent 5.  A field of 0 or more takes the
// backward difference (the first cell's forward one stands in for it); a
// negative field the forward difference (the last cell's backward one).
TEST(Redistance, BordersTakeOneSidedDifferences) {
    const double dt = 0.125;
    ArrayPtr h = scalar(1), step_ = scalar(dt);
    auto backward = [](double s) { return s == 0 ? 1 : 2 * s - 1; };
    auto forward = [](double s) { return s == 4 ? 7 : 2 * s + 1; };
    for (bool alongRows : {true, false}) {
        const mwSize M = alongRows ? 5 : 3, N = alongRows ? 3 : 5;
        auto axis = [alongRows](double r, double q) { return alongRows ? r : q; };
        ArrayPtr pos = field(M, N, [&](double r, double q) { return axis(r, q) * axis(r, q); });
        ArrayPtr neg = field(M, N, [&](double r, double q) { return axis(r, q) * axis(r, q) - 100; });
        EXPECT_EQ(step("lvsRedistance0", {&pos, &h, &step_}), expected(M, N, [&](double r, double q) {
                      const double s = axis(r, q);
                      return s * s - dt * (backward(s) - 1);
                  }));
        EXPECT_EQ(step("lvsRedistance0", {&neg, &h, &step_}), expected(M, N, [&](double r, double q) {
                      const double s = axis(r, q);
                      return (s * s - 100) - dt * (1 - forward(s));
                  }));
    }
}

// Three times the distance to a circle becomes the distance again: gradient
// magnitude near 1 away from the interface, zero level in place.
TEST(Redistance, RestoresTheDistanceToACircle) {
    const mwSize n = 64;
    Circle d;
    ArrayPtr phi = field(n, n, [&](double r, double q) { return 3 * d(r, q); });
    ArrayPtr h = scalar(1), T = scalar(15);
    std::vector<double> out = step("lvsRedistance", {&phi, &h, &T});
    ASSERT_EQ(out.size(), n * n);
    auto at = [&](mwSize r, mwSize q) { return out[r + n * q]; };
    int band = 0;
    for (mwSize q = 3; q < n - 3; ++q) {
        for (mwSize r = 3; r < n - 3; ++r) {
            const double dist = d(r, q);
            if (std::fabs(dist) < 1.5) {
                EXPECT_NEAR(at(r, q), dist, 0.5) << r << ", " << q;
            }
            if (std::fabs(dist) > 1) {
                EXPECT_EQ(at(r, q) < 0, dist < 0) << r << ", " << q;
            }
            if (std::fabs(dist) < 2 || std::fabs(dist) > 10) continue;
            ++band;
            const double gx = (at(r + 1, q) - at(r - 1, q)) / 2, gy = (at(r, q + 1) - at(r, q - 1)) / 2;
            EXPECT_NEAR(std::hypot(gx, gy), 1, 0.05) << r << ", " << q;
        }
    }
    EXPECT_GT(band, 1000);
}

TEST(Advance, MovesAlongTheNormalWithTheSpeed) {
    ArrayPtr dist = field(8, 4, [](double r, double) { return r - 3.5; });
    ArrayPtr h = scalar(1), dt = scalar(0.3);
    for (double F : {1.0, -1.0, 0.0}) {
        ArrayPtr speed = field(8, 4, [F](double, double) { return F; });
        EXPECT_EQ(step("lvsAdvance", {&dist, &speed, &h, &dt}),
                  expected(8, 4, [F](double r, double) { return (r - 3.5) - F * 0.3; }))
            << "F = " << F;
    }
}

// phi = r^2 rises along x: a positive speed takes the backward difference, a
// negative speed the forward one (one-sided at the borders), a zero speed
// keeps the value.
TEST(Advance, UpwindSideFollowsTheSpeed) {
    const double dt = 0.125;
    ArrayPtr phi = field(5, 3, [](double r, double) { return r * r; });
    ArrayPtr speed = field(5, 3, [](double, double q) { return q - 1; });
    ArrayPtr h = scalar(1), step_ = scalar(dt);
    EXPECT_EQ(step("lvsAdvance", {&phi, &speed, &h, &step_}), expected(5, 3, [&](double r, double q) {
                  const double G = q == 2 ? (r == 0 ? 1 : 2 * r - 1) : (r == 4 ? 7 : 2 * r + 1);
                  return r * r - (G * (q - 1)) * dt;
              }));
}

// A circle's distance pushed outward with F = 1 for n steps of dt grows by
// about n dt (radius from the area inside the zero level).
TEST(Advance, GrowsACircle) {
    const mwSize n = 64;
    Circle d{31.3, 32.6, 15};
    ArrayPtr phi = field(n, n, d), speed = field(n, n, [](double, double) { return 1.0; });
    ArrayPtr h = scalar(1), dt = scalar(0.25);
    for (int k = 0; k < 20; ++k) phi = std::move(run("lvsAdvance", 1, {&phi, &speed, &h, &dt})[0]);
    std::vector<double> out = values(phi.get());
    const double inside = std::count_if(out.begin(), out.end(), [](double v) { return v < 0; });
    EXPECT_NEAR(std::sqrt(inside / std::acos(-1.0)), 20, 0.3);
}

}  // namespace
