// Gradient-weighted basis: a 2048 x 2048 image and a 256^3 volume, each with
// a basis of F = 8 columns, one row per pixel (voxel).
#include "bench/inputs.h"

namespace bench {

namespace {

constexpr Index kF = 8;

ArrayPtr basis(Index rows) {
    ArrayPtr b = doubles({rows, kF});
    double *p = data(b);
    for (Index i = 0; i < rows * kF; ++i) p[i] = double(i % 977) * (1.0 / 977);
    return b;
}

ArrayPtr indexList(Index n) {
    ArrayPtr a = int32s({n, 1});
    auto *p = static_cast<std::int32_t *>(mxGetData(a.get()));
    for (Index i = 0; i < n; ++i) p[i] = std::int32_t(i);
    return a;
}

}  // namespace

void basisWorkloads(Results &results) {
    const std::string family = "Gradient-weighted basis, F = 8";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];

    const Index side2 = 2048, n2 = side2 * side2;
    {
        ArrayPtr image = smoothImage(side2, side2), b = basis(n2);
        Row row{"slopeBasis2 2048^2", "pixels", double(n2), double(n2) * (8 + 8 * kF + 16 * kF), {0, 0},
                {"gradient_basis2"},  ""};
        measure(row, "slopeBasis2", 1, {image.get(), b.get()});
        rows.push_back(row);
    }
    const Index side3 = 256, n3 = side3 * side3 * side3;
    ArrayPtr volume = smoothVolume(side3, side3, side3), b = basis(n3);
    ArrayPtr list = indexList(side3);
    const double bytes = double(n3) * (8 + 8 * kF + 24 * kF);
    Row row{"slopeBasis3 256^3", "voxels", double(n3), bytes, {0, 0}, {"gradient_basis3"}, ""};
    measure(row, "slopeBasis3", 1, {volume.get(), b.get()});
    rows.push_back(row);
    Row listed{"slopeBasis3p 256^3, full lists", "voxels", double(n3), bytes, {0, 0}, {"gradient_basis3"}, ""};
    measure(listed, "slopeBasis3p", 1, {volume.get(), b.get(), list.get(), list.get(), list.get()});
    rows.push_back(listed);
}

}  // namespace bench
