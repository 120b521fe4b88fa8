// 3-D sampling and gradient plug-ins on a 256^3 volume at 10 million
// points, coherent and random; then the interpolating kernels of both
// dimensions on data small enough to stay in the per-core cache, which
// separates their arithmetic from their memory traffic.
#include "inputs.h"

#include <string>

namespace bench {

namespace {

constexpr Index kSide = 256;
constexpr Index kRows = 250, kCols = 200, kSlices = 200;  // 10 million points

void volumeRows(std::vector<Row> &rows, const std::string &tag, const PointSet &points, const ArrayPtr &volume,
                const std::string &peerTag) {
    const double n = double(points.count);
    const double volumeBytes = double(mxGetNumberOfElements(volume.get())) * sizeof(double);
    std::vector<const mxArray *> in = {points.x.get(), points.y.get(), points.z.get(), volume.get()};
    struct Kind {
        const char *name;
        int outputs;
        const char *peer;
    };
    for (Kind k : {Kind{"vxTrilinSample", 1, "interp3_linear"}, Kind{"vxCellSlope", 3, "gradient3_cells"},
                   Kind{"vxCubicSample", 1, "interp3_spline"}, Kind{"vxCubicSlope", 3, "interp3_spline"}}) {
        Row row{k.name + tag, "points", n, (24 + 8 * k.outputs) * n + volumeBytes, {0, 0}, {}, ""};
        if (!peerTag.empty()) row.peers.push_back(k.peer + peerTag);
        measure(row, k.name, k.outputs, in);
        rows.push_back(row);
    }
}

}  // namespace

void voxelWorkloads(Results &results) {
    const std::string family = "3-D sampling: 256^3 volume, 10 M points";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];
    ArrayPtr volume = smoothVolume(kSide, kSide, kSide);
    const double origin[3] = {3, 3, 3}, step[3] = {1.0, 1.2, 1.2};
    volumeRows(rows, " coherent", coherentPoints3(kRows, kCols, kSlices, origin, step), volume, " coherent");
    volumeRows(rows, " random", randomPoints(3, kRows, kRows * kCols * kSlices, 3, kSide - 4), volume, " random");
}

void cacheResidentWorkloads(Results &results) {
    const std::string family = "Where the time goes: random points in data that stays in the per-core cache";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];
    const Index count = 10000000, side2 = 160, side3 = 40;

    ArrayPtr image = smoothImage(side2, side2);
    PointSet p2 = randomPoints(2, 2000, count, 3, side2 - 5);
    std::vector<const mxArray *> xyI = {p2.x.get(), p2.y.get(), image.get()};
    const double imageBytes = double(side2 * side2) * sizeof(double);
    for (auto [name, outputs] : {std::pair{"pxBilinSample", 1}, std::pair{"pxCubicSample", 1},
                                 std::pair{"pxCubicSlope", 2}}) {
        Row row{std::string(name) + " 160^2 image", "points", double(count), (16 + 8.0 * outputs) * count + imageBytes,
                {0, 0}, {}, ""};
        measure(row, name, outputs, xyI);
        rows.push_back(row);
    }
    ArrayPtr volume = smoothVolume(side3, side3, side3);
    volumeRows(rows, " 40^3 volume", randomPoints(3, 2000, count, 3, side3 - 4), volume, "");
}

}  // namespace bench
