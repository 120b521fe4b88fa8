// 3-D sampling and gradient plug-ins on a 256^3 volume at 10 million
// points, coherent and random.
#include "bench/inputs.h"

#include <string>

namespace bench {

namespace {

constexpr Index kSide = 256;
constexpr Index kRows = 250, kCols = 200, kSlices = 200;  // 10 million points

}  // namespace

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

void voxelWorkloads(Results &results) {
    const std::string family = "3-D sampling: 256^3 volume, 10 M points";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];
    ArrayPtr volume = smoothVolume(kSide, kSide, kSide);
    const double origin[3] = {3, 3, 3}, step[3] = {1.0, 1.2, 1.2};
    volumeRows(rows, " coherent", coherentPoints3(kRows, kCols, kSlices, origin, step), volume, " coherent");
    volumeRows(rows, " random", randomPoints(3, kRows, kRows * kCols * kSlices, 3, kSide - 4), volume, " random");
}

}  // namespace bench
