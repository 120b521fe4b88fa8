// 2-D sampling and gradient plug-ins on a 2048 x 2048 image at 10 million
// points, once coherent and once uniformly random.
#include "bench/inputs.h"

#include <string>

namespace bench {

namespace {

constexpr Index kSide = 2048;
constexpr Index kRows = 2000, kCols = 5000;  // 10 million points

// Notes a workload whose points fell outside: every point is meant inside.
std::string noSentinel(const std::vector<ArrayPtr> &out) {
    const double *v = data(out[0]);
    Index n = Index(mxGetNumberOfElements(out[0].get())), outside = 0;
    for (Index i = 0; i < n; ++i) outside += v[i] == -13.0;
    return outside ? std::to_string(outside) + " points outside" : "";
}

}  // namespace

void pixelWorkloads(Results &results) {
    const std::string family = "2-D sampling: 2048 x 2048 image, 10 M points";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];

    ArrayPtr image = smoothImage(kSide, kSide);
    ArrayPtr mask = int32s({kSide, kSide});
    auto *m = static_cast<std::int32_t *>(mxGetData(mask.get()));
    for (Index i = 0; i < kSide * kSide; ++i) m[i] = (i % 17) != 0;
    const double imageBytes = double(kSide * kSide) * sizeof(double);

    const double origin[2] = {20, 20}, step[2] = {1.0, 0.4};
    struct Set {
        const char *name;
        PointSet points;
    };
    Set sets[2] = {{"coherent", coherentPoints2(kRows, kCols, origin, step)},
                   {"random", randomPoints(2, kRows, kRows * kCols, 3, kSide - 5)}};

    for (Set &set : sets) {
        const std::string tag = std::string(" ") + set.name;
        const double n = double(set.points.count);
        std::vector<const mxArray *> xyI = {set.points.x.get(), set.points.y.get(), image.get()};
        std::vector<const mxArray *> xyIm = {set.points.x.get(), set.points.y.get(), image.get(), mask.get()};

        for (const char *name : {"pxBilinSample", "pxBilinSampleClamp", "pxBilinSampleHold"}) {
            Row row{name + tag, "points", n, 24 * n + imageBytes, {0, 0}, {"interp2_linear" + tag}, ""};
            measure(row, name, 1, xyI, noSentinel);
            rows.push_back(row);
        }
        Row slope{"pxCellSlope" + tag, "points", n, 32 * n + imageBytes, {0, 0}, {"gradient_cells" + tag}, ""};
        measure(slope, "pxCellSlope", 2, xyI);
        rows.push_back(slope);
        Row masked{"pxCellSlopeMasked" + tag, "points", n, 32 * n + imageBytes * 1.5, {0, 0},
                   {"gradient_cells" + tag},  ""};
        measure(masked, "pxCellSlopeMasked", 2, xyIm);
        rows.push_back(masked);
        Row cubic{"pxCubicSample" + tag,
                  "points",
                  n,
                  24 * n + imageBytes,
                  {0, 0},
                  {"interp2_cubic" + tag, "interp2_spline" + tag},
                  ""};
        measure(cubic, "pxCubicSample", 1, xyI, noSentinel);
        rows.push_back(cubic);
        Row cubicSlope{"pxCubicSlope" + tag, "points", n, 32 * n + imageBytes, {0, 0}, {"cubic_slope" + tag}, ""};
        measure(cubicSlope, "pxCubicSlope", 2, xyI);
        rows.push_back(cubicSlope);
    }
}

}  // namespace bench
