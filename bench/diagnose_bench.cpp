// Where the time of the interpolating kernels goes.  Two contrasts with the
// main workloads:
// - random points in an image or volume small enough to stay in the
//   per-core cache: what is left is the kernel's arithmetic and the reading
//   of its point arrays;
// - the coherent workloads again, with the allocator told to recycle freed
//   memory instead of returning it to the system: the outputs then no
//   longer pay for mapping fresh pages, which every call through a host
//   that allocates new outputs does.
#include "bench/inputs.h"

#include <malloc.h>

namespace bench {

void diagnosticWorkloads(Results &results) {
    const std::string family = "Where the time goes: cache-resident data; outputs in recycled memory";
    results.families.push_back(family);
    std::vector<Row> &rows = results.rows[family];
    const Index count = 10000000, side2 = 160, side3 = 40;
    struct Kind {
        const char *name;
        int outputs;
    };
    const Kind planar[] = {{"pxBilinSample", 1}, {"pxCubicSample", 1}, {"pxCubicSlope", 2}};

    {
        ArrayPtr image = smoothImage(side2, side2);
        PointSet p = randomPoints(2, 2000, count, 3, side2 - 5);
        std::vector<const mxArray *> in = {p.x.get(), p.y.get(), image.get()};
        for (Kind k : planar) {
            Row row{std::string(k.name) + " random, 160^2 image",
                    "points",
                    double(count),
                    (16 + 8.0 * k.outputs) * count + double(side2 * side2) * 8,
                    {0, 0},
                    {},
                    ""};
            measure(row, k.name, k.outputs, in);
            rows.push_back(row);
        }
        ArrayPtr volume = smoothVolume(side3, side3, side3);
        volumeRows(rows, " random, 40^3 volume", randomPoints(3, 2000, count, 3, side3 - 4), volume, "");
    }

    // Freed outputs stay in the heap and are handed out again.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 1 << 28);
    {
        ArrayPtr image = smoothImage(2048, 2048);
        const double origin[2] = {20, 20}, step[2] = {1.0, 0.4};
        PointSet p = coherentPoints2(2000, 5000, origin, step);
        std::vector<const mxArray *> in = {p.x.get(), p.y.get(), image.get()};
        for (Kind k : planar) {
            Row row{std::string(k.name) + " coherent, recycled",
                    "points",
                    double(count),
                    (16 + 8.0 * k.outputs) * count + 2048.0 * 2048 * 8,
                    {0, 0},
                    {},
                    ""};
            measure(row, k.name, k.outputs, in);
            rows.push_back(row);
        }
    }
    ArrayPtr volume = smoothVolume(256, 256, 256);
    const double origin[3] = {3, 3, 3}, step[3] = {1.0, 1.2, 1.2};
    volumeRows(rows, " coherent, recycled", coherentPoints3(250, 200, 200, origin, step), volume, "");
}

}  // namespace bench
