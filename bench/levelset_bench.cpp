// Level sets on a 2048 x 2048 grid: one step of each plug-in, and the
// redistancing iterated over 20 steps in one call.
#include "bench/bench.h"

#include <cmath>

namespace bench {

namespace {

constexpr Index kSide = 2048;

// A closed front that is not a signed distance: a wavy circle, scaled.
template <typename F>
ArrayPtr field(F f) {
    ArrayPtr a = doubles({kSide, kSide});
    double *p = data(a);
    for (Index c = 0; c < kSide; ++c)
        for (Index r = 0; r < kSide; ++r) p[r + kSide * c] = f(double(r), double(c));
    return a;
}

}  // namespace

void levelsetWorkloads(Results &results) {
    const std::string family = "Level sets: 2048 x 2048 grid, h = 1, dt = 0.5";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];

    ArrayPtr phi = field([](double r, double c) {
        double dr = r - 1024, dc = c - 1024, radius = 700 + 40 * std::sin(std::atan2(dr, dc) * 7);
        return 1.3 * (std::sqrt(dr * dr + dc * dc) - radius);
    });
    ArrayPtr psi = field([](double r, double c) { return 0.8 * (r - 900) + 0.3 * (c - 1100); });
    ArrayPtr speed = field([](double r, double c) { return std::sin(0.01 * r) * std::cos(0.013 * c); });
    ArrayPtr h = scalar(1), dt = scalar(0.5), T = scalar(9.5);
    const double cells = double(kSide * kSide);

    Row redistance0{"lvsRedistance0, one step", "cells", cells, 16 * cells, {0, 0}, {"lvs_redistance0"}, ""};
    measure(redistance0, "lvsRedistance0", 1, {phi.get(), h.get(), dt.get()});
    rows.push_back(redistance0);
    Row advance{"lvsAdvance, one step", "cells", cells, 24 * cells, {0, 0}, {"lvs_advance"}, ""};
    measure(advance, "lvsAdvance", 1, {phi.get(), speed.get(), h.get(), dt.get()});
    rows.push_back(advance);
    Row orthogonalise{"lvsOrthogonalise, one step", "cells", cells, 24 * cells, {0, 0}, {"lvs_orthogonalise"}, ""};
    measure(orthogonalise, "lvsOrthogonalise", 1, {psi.get(), phi.get(), h.get(), dt.get()});
    rows.push_back(orthogonalise);
    Row extend{"lvsExtendField, one step", "cells", cells, 24 * cells, {0, 0}, {"lvs_extend"}, ""};
    measure(extend, "lvsExtendField", 1, {speed.get(), phi.get(), h.get(), dt.get()});
    rows.push_back(extend);
    // T = 9.5 with dt = h / 2: steps at t = 0, 0.5, ..., 9.5.
    Row redistance{
        "lvsRedistance, 20 steps", "cell-steps", 20 * cells, 20 * 16 * cells, {0, 0}, {"lvs_redistance20"}, ""};
    measure(redistance, "lvsRedistance", 1, {phi.get(), h.get(), T.get()});
    rows.push_back(redistance);
}

}  // namespace bench
