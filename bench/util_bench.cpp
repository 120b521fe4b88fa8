// Utilities: statistics of a 4096 x 4096 image and of a 512^3 int32 volume,
// the finite-difference gradient of a 4096 x 4096 image, and 6x6 inversions
// of one million and of 20000 matrices, with Eigen's fixed-size inverses
// compiled here as peers.
#include "bench/inputs.h"
#include "common/parallel.h"

#include <Eigen/Dense>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

namespace bench {

namespace {

using Matrix6 = Eigen::Matrix<double, 6, 6>;

// n well-conditioned matrices: random entries plus a dominant
// diagonal, so that none is singular.
ArrayPtr matrices(Index n) {
    ArrayPtr a = doubles({36, n});
    double *p = data(a);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> uniform(-1, 1);
    for (Index k = 0; k < n; ++k)
        for (int i = 0; i < 36; ++i) p[36 * k + i] = uniform(random) + (i % 7 == 0 ? 6 : 0);
    return a;
}

// Largest |A B - I| over the first matrices of the stack.
std::string inverseCheck(const double *a, const double *b) {
    double worst = 0;
    for (int k = 0; k < 100; ++k) {
        Eigen::Map<const Matrix6> A(a + 36 * k), B(b + 36 * k);
        worst = std::max(worst, (A * B - Matrix6::Identity()).cwiseAbs().maxCoeff());
    }
    return worst < 1e-9 ? "" : "A*B - I reaches " + std::to_string(worst);
}

// Eigen inverting the same stack into freshly allocated memory, as the host
// gives the plug-in; `full` chooses full pivoting.
double eigenSeconds(const double *a, Index n, int threads, bool full) {
    auto start = std::chrono::steady_clock::now();
    auto *b = static_cast<double *>(std::calloc(std::size_t(36 * n), sizeof(double)));
    grid::runBlocks(n, threads, [=](Index begin, Index end) {
        for (Index k = begin; k < end; ++k) {
            Eigen::Map<const Matrix6> A(a + 36 * k);
            Eigen::Map<Matrix6> B(b + 36 * k);
            if (full)
                B = Eigen::FullPivLU<Matrix6>(A).inverse();
            else
                B = A.inverse();
        }
    });
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::free(b);
    return s;
}

}  // namespace

void utilityWorkloads(Results &results) {
    const std::string family = "Utilities";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];

    {
        const Index side = 4096;
        const double n = double(side * side);
        ArrayPtr image = smoothImage(side, side);
        Row stats{"pxGrayStats 4096^2", "pixels", n, 8 * n, {0, 0}, {"mean_std2"}, ""};
        measure(stats, "pxGrayStats", 2, {image.get()});
        rows.push_back(stats);
        Row slope{"fdSlope 4096^2", "pixels", n, 16 * n, {0, 0}, {"gradient_fd", "difference_fd"}, ""};
        measure(slope, "fdSlope", 1, {image.get()});
        rows.push_back(slope);
    }
    {
        const Index side = 512, n = side * side * side;
        ArrayPtr volume = int32s({side, side, side});
        auto *v = static_cast<std::int32_t *>(mxGetData(volume.get()));
        for (Index i = 0; i < n; ++i) v[i] = std::int32_t((i * 2654435761u) % 4096);
        Row stats{"vxGrayStats 512^3 int32", "voxels", double(n), 4 * double(n), {0, 0}, {"mean_std3"}, ""};
        measure(stats, "vxGrayStats", 2, {volume.get()});
        rows.push_back(stats);
    }
    // One million matrices, whose 288 MB output comes as fresh pages, and
    // 20000, whose 5.8 MB output the allocator hands out again from call to
    // call: there the inversion itself is what is timed.
    for (Index n : {Index{1000000}, Index{20000}}) {
        const std::string size = n == 1000000 ? "1 M" : "20 k", tag = n == 1000000 ? "" : " 20k";
        ArrayPtr a = matrices(n);
        Row invert{"matInvert6 " + size + " matrices",
                   "matrices",
                   double(n),
                   2 * 36 * 8 * double(n),
                   {0, 0},
                   {"eigen_inverse" + tag, "eigen_fullpivlu" + tag},
                   ""};
        if (tag.empty()) invert.peers.insert(invert.peers.begin(), "inv_loop");
        measure(invert, "matInvert6", 1, {a.get()},
                [&](const std::vector<ArrayPtr> &out) { return inverseCheck(data(a), data(out[0])); });
        rows.push_back(invert);

        Peer partial{"Eigen inverse() (partial pivoting)", {0, 0}}, full{"Eigen FullPivLU inverse", {0, 0}};
        for (int t = 0; t < 2; ++t) {
            partial.rate[t] = double(n) /
                              bestSeconds([&] { return eigenSeconds(data(a), n, kThreadCounts[t], false); });
            full.rate[t] = double(n) / bestSeconds([&] { return eigenSeconds(data(a), n, kThreadCounts[t], true); });
        }
        results.peers["eigen_inverse" + tag] = partial;
        results.peers["eigen_fullpivlu" + tag] = full;
    }
}

}  // namespace bench
